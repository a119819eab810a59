// The tree pictures and the window icon as Qt pixmaps.
#include "platform/qt/qt_image_list.h"

#include <QImage>

#include "platform/errors.h"

namespace qtui {

namespace {

constexpr int32_t kIndexOutOfBounds = 35600;

}  // namespace

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

QtImageList::QtImageList() {
  for (const auto& art : resources::TreePictures()) {
    pictures_.push_back(PixmapOf(art));
    keys_.emplace_back(art.key);
  }
}

const QPixmap& QtImageList::Picture(int32_t position) const {
  if (position < 1 || position > Count())
    throw platform::RaisedError(kIndexOutOfBounds, "Index out of bounds");
  return pictures_[static_cast<std::size_t>(position - 1)];
}

const std::string& QtImageList::Key(int32_t position) const {
  Picture(position);
  return keys_[static_cast<std::size_t>(position - 1)];
}

int32_t QtImageList::Position(const std::string& key) const {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] == key) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

QIcon QtImageList::NodeIcon(int32_t image, int32_t selectedImage) const {
  const auto found = icons_.find({image, selectedImage});
  if (found != icons_.end()) return found->second;
  QIcon icon;
  if (image != 0) {
    icon.addPixmap(Picture(image), QIcon::Normal);
    icon.addPixmap(Picture(image), QIcon::Active);
  }
  if (selectedImage != 0) icon.addPixmap(Picture(selectedImage), QIcon::Selected);
  icons_.emplace(std::pair{image, selectedImage}, icon);
  return icon;
}

}  // namespace qtui
