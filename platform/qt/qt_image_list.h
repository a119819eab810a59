// The image list imltrvMain on Qt: the tree pictures as pixmaps, and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "resources/tree_pictures.h"

namespace qtui {

// A pixmap of the picture, its mask colour transparent.
QPixmap PixmapOf(const resources::PixelArt& art);
// The window's icon, 16 by 16 and 32 by 32.
QIcon WindowIcon();

class QtImageList {
 public:
  QtImageList();

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
