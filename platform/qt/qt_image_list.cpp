// The pictures a Qt tree view shows, by position and by key.
#include "platform/qt/qt_image_list.h"

#include "platform/errors.h"

namespace qtui {

namespace {

constexpr int32_t kIndexOutOfBounds = 35600;

}  // namespace

QtImageList::QtImageList(std::vector<Entry> pictures) {
  for (auto& picture : pictures) {
    pictures_.push_back(std::move(picture.pixmap));
    keys_.push_back(std::move(picture.key));
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
