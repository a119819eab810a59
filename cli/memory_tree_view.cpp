#include "cli/memory_tree_view.h"

#include <algorithm>
#include <unordered_set>

namespace cli {

void MemoryTreeView::Clear() {
  roots_.clear();
  byKey_.clear();
  order_.clear();
}

void MemoryTreeView::Add(const std::string& relative, int32_t relationship, const std::string& key,
                         const std::string& text, int32_t image, int32_t selectedImage) {
  platform::CheckAdd(relative, relationship, key, image, selectedImage, pictures_,
                     [this](const std::string& name) { return byKey_.count(name) != 0; });
  Node* parent = relative.empty() ? nullptr : byKey_.at(relative);
  auto node = std::make_unique<Node>();
  node->key = key;
  node->text = text;
  node->image = image;
  node->selectedImage = selectedImage;
  node->parent = parent;
  (parent ? parent->children : roots_).push_back(node.get());
  if (!key.empty()) byKey_.emplace(key, node.get());
  order_.push_back(std::move(node));
}

const MemoryTreeView::Node& MemoryTreeView::At(int32_t position) const {
  platform::CheckPosition(position, Count());
  return *order_[position - 1];
}

void MemoryTreeView::Remove(int32_t position) {
  At(position);  // validates the position
  Node* const target = order_[position - 1].get();
  std::unordered_set<const Node*> doomed;
  std::vector<Node*> pending{target};
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    doomed.insert(node);
    if (!node->key.empty()) byKey_.erase(node->key);
    pending.insert(pending.end(), node->children.begin(), node->children.end());
  }
  auto& siblings = target->parent ? target->parent->children : roots_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), target), siblings.end());
  std::erase_if(order_, [&](const std::unique_ptr<Node>& node) { return doomed.count(node.get()) != 0; });
}

void MemoryTreeView::Expand(const std::string& key) {
  const auto found = byKey_.find(key);
  platform::CheckKeyFound(found != byKey_.end());
  found->second->expanded = true;
}

const MemoryTreeView::Node* MemoryTreeView::Find(const std::string& key) const {
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? nullptr : found->second;
}

}  // namespace cli
