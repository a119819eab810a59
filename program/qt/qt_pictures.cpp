#include "program/qt/qt_pictures.h"

#include <QImage>

namespace qtui {

QPixmap PixmapOf(const resources::PixelArt& art) {
  const int size = art.Size();
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    const auto row = art.rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < size; ++x) {
      const char pixel =
          x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : resources::kMaskPixel;
      const resources::Rgb colour = resources::PaletteColour(pixel);
      if (colour == resources::kMaskColour) {
        image.setPixel(x, y, qRgba(0, 0, 0, 0));
      } else {
        image.setPixel(x, y, qRgb(colour.red, colour.green, colour.blue));
      }
    }
  }
  return QPixmap::fromImage(image);
}

QIcon WindowIcon() {
  QIcon icon;
  icon.addPixmap(PixmapOf(resources::WindowIcon16()));
  icon.addPixmap(PixmapOf(resources::WindowIcon32()));
  return icon;
}

QtImageList TreeImageList() {
  std::vector<QtImageList::Entry> pictures;
  for (const auto& art : resources::TreePictures()) pictures.push_back({std::string(art.key), PixmapOf(art)});
  return QtImageList(std::move(pictures));
}

}  // namespace qtui
