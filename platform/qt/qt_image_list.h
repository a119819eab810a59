// An image list on Qt: pictures by position from 1, each with its key, as a tree view takes them.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qtui {

class QtImageList {
 public:
  struct Entry {
    std::string key;
    QPixmap pixmap;
  };
  explicit QtImageList(std::vector<Entry> pictures);

  int32_t Count() const { return static_cast<int32_t>(pictures_.size()); }
  // Position from 1; throws RaisedError(35600) outside 1 to Count().
  const QPixmap& Picture(int32_t position) const;
  const std::string& Key(int32_t position) const;
  // The position of the picture with the key, or 0.
  int32_t Position(const std::string& key) const;
  // The icon a tree node shows: the normal picture, and the selected one while it is selected.
  // Position 0 shows no picture.
  QIcon NodeIcon(int32_t image, int32_t selectedImage) const;

 private:
  std::vector<QPixmap> pictures_;
  std::vector<std::string> keys_;
  mutable std::map<std::pair<int32_t, int32_t>, QIcon> icons_;
};

}  // namespace qtui
