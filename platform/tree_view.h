// The tree view that shows the project, with the operations the tree builder uses.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/errors.h"

namespace platform {

inline constexpr int32_t tvwChild = 4;

// The errors every tree view raises, as RaisedError with these numbers and texts.
inline constexpr int32_t kTreeIndexOutOfBounds = 35600;
inline constexpr int32_t kTreeElementNotFound = 35601;
inline constexpr int32_t kTreeKeyNotUnique = 35602;
inline RaisedError TreeError(int32_t number) {
  switch (number) {
    case kTreeIndexOutOfBounds:
      return RaisedError(number, "Index out of bounds");
    case kTreeElementNotFound:
      return RaisedError(number, "Element not found");
    default:
      return RaisedError(number, "Key is not unique in collection");
  }
}

// Nodes are addressed by position from 1, in the order they were added; pictures by image-list
// position from 1 (0 shows no picture). An empty key is no key: any number of nodes may have it, and
// no lookup finds them.
//
// Misuse raises, and leaves the tree as it was:
// - Add with a key another node has: kTreeKeyNotUnique;
// - Add with a relative key no node has, or with a relationship other than tvwChild beside a relative:
//   kTreeElementNotFound;
// - Add with a picture that is neither 0 nor a position of the image list: kTreeIndexOutOfBounds;
// - Key, Children or Remove with a position outside 1 to Count(): kTreeIndexOutOfBounds;
// - Expand with a key no node has: kTreeElementNotFound.
class TreeView {
 public:
  virtual ~TreeView() = default;
  virtual void Clear() = 0;
  // An empty relative key adds a top-level node, whatever the relationship; otherwise the node becomes
  // a child of the node with the relative key (the only relationship used is tvwChild).
  virtual void Add(const std::string& relative, int32_t relationship, const std::string& key,
                   const std::string& text, int32_t image, int32_t selectedImage) = 0;
  virtual int32_t Count() const = 0;
  virtual std::string Key(int32_t position) const = 0;
  virtual int32_t Children(int32_t position) const = 0;
  virtual void Remove(int32_t position) = 0;  // removes the node and everything under it
  virtual void Expand(const std::string& key) = 0;
};

// The misuse checks above, made before a tree view changes anything, so that every implementation raises
// alike. hasNode tells whether a non-empty key names a node; pictures is the image list's count.
template <typename HasNode>
void CheckAdd(const std::string& relative, int32_t relationship, const std::string& key, int32_t image,
              int32_t selectedImage, int32_t pictures, HasNode hasNode) {
  if (!key.empty() && hasNode(key)) throw TreeError(kTreeKeyNotUnique);
  if (!relative.empty() && (!hasNode(relative) || relationship != tvwChild))
    throw TreeError(kTreeElementNotFound);
  for (const int32_t picture : {image, selectedImage}) {
    if (picture < 0 || picture > pictures) throw TreeError(kTreeIndexOutOfBounds);
  }
}
inline void CheckPosition(int32_t position, int32_t count) {
  if (position < 1 || position > count) throw TreeError(kTreeIndexOutOfBounds);
}
inline void CheckKeyFound(bool found) {
  if (!found) throw TreeError(kTreeElementNotFound);
}

}  // namespace platform
