// A tree view kept in memory: the command line prints it, and the tests look into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/tree_view.h"
#include "resources/tree_pictures.h"

namespace cli {

class MemoryTreeView : public platform::TreeView {
 public:
  struct Node {
    std::string key;
    std::string text;
    int32_t image = 0;
    int32_t selectedImage = 0;
    bool expanded = false;
    Node* parent = nullptr;
    std::vector<Node*> children;  // in display order
  };

  // Bound to an image list of this many pictures.
  explicit MemoryTreeView(int32_t pictures = resources::kTreePictureCount) : pictures_(pictures) {}

  void Clear() override;
  void Add(const std::string& relative, int32_t relationship, const std::string& key, const std::string& text,
           int32_t image, int32_t selectedImage) override;
  int32_t Count() const override { return static_cast<int32_t>(order_.size()); }
  std::string Key(int32_t position) const override { return At(position).key; }
  int32_t Children(int32_t position) const override {
    return static_cast<int32_t>(At(position).children.size());
  }
  void Remove(int32_t position) override;
  void Expand(const std::string& key) override;

  // Top-level nodes in display order.
  const std::vector<Node*>& Roots() const { return roots_; }
  // The node with the key, or null.
  const Node* Find(const std::string& key) const;
  const Node& At(int32_t position) const;

 private:
  int32_t pictures_;
  std::vector<std::unique_ptr<Node>> order_;  // by position, in the order the nodes were added
  std::vector<Node*> roots_;
  std::unordered_map<std::string, Node*> byKey_;
};

}  // namespace cli
