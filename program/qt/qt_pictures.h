// The shared artwork as Qt sees it: the tree's image list imltrvMain and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "platform/qt/qt_image_list.h"
#include "resources/tree_pictures.h"

namespace qtui {

// A pixmap of the picture, its mask colour transparent.
QPixmap PixmapOf(const resources::PixelArt& art);
// The window's icon, 16 by 16 and 32 by 32.
QIcon WindowIcon();
// The tree pictures in their fixed order, with their keys.
QtImageList TreeImageList();

}  // namespace qtui
