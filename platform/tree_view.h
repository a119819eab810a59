// The tree view that shows the project, with the operations the tree builder uses.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

inline constexpr int32_t tvwChild = 4;

// Nodes are addressed by position from 1, in the order they were added; pictures by image-list
// position from 1 (0 shows no picture).
class TreeView {
 public:
  virtual ~TreeView() = default;
  virtual void Clear() = 0;
  // An empty relative key with relationship 0 adds a top-level node; otherwise the node becomes
  // a child of the node with the relative key (the only relationship used is tvwChild).
  virtual void Add(const std::string& relative, int32_t relationship, const std::string& key,
                   const std::string& text, int32_t image, int32_t selectedImage) = 0;
  virtual int32_t Count() const = 0;
  virtual std::string Key(int32_t position) const = 0;
  virtual int32_t Children(int32_t position) const = 0;
  virtual void Remove(int32_t position) = 0;  // removes the node and everything under it
  virtual void Expand(const std::string& key) = 0;
};

}  // namespace platform
