// The tree view trvMain on a QTreeWidget, with nodes addressed by position, key and relationship.
#include "platform/qt/qt_tree_view.h"

#include <algorithm>
#include <unordered_set>

#include "platform/errors.h"
#include "platform/qt/qt_text.h"

namespace qtui {

namespace {

void CollectSubtree(QTreeWidgetItem* item, std::unordered_set<QTreeWidgetItem*>& items) {
  items.insert(item);
  for (int i = 0; i < item->childCount(); ++i) CollectSubtree(item->child(i), items);
}

}  // namespace

QtTreeView::QtTreeView(QTreeWidget& widget, const QtImageList& images, const platform::CodePage& codePage)
    : widget_(widget), images_(images), codePage_(codePage) {}

QtTreeView::~QtTreeView() = default;

void QtTreeView::Clear() {
  waiting_.clear();
  widget_.clear();
  nodes_.clear();
  byKey_.clear();
}

void QtTreeView::Add(const std::string& relative, int32_t relationship, const std::string& key,
                     const std::string& text, int32_t image, int32_t selectedImage) {
  platform::CheckAdd(relative, relationship, key, image, selectedImage, images_.Count(),
                     [this](const std::string& name) { return byKey_.count(name) != 0; });
  QTreeWidgetItem* parent = relative.empty() ? nullptr : Find(relative);
  auto item = std::make_unique<QTreeWidgetItem>();
  item->setText(0, Shown(codePage_, text));
  item->setData(0, kKeyRole, QByteArray::fromStdString(key));
  item->setData(0, kImageRole, image);
  item->setData(0, kSelectedImageRole, selectedImage);
  item->setIcon(0, images_.NodeIcon(image, selectedImage));
  QTreeWidgetItem* added = item.get();
  if (parent != nullptr) {
    parent->addChild(item.release());
  } else {
    waiting_.push_back(std::move(item));
  }
  nodes_.push_back(added);
  if (!key.empty()) byKey_.emplace(key, added);
}

QTreeWidgetItem* QtTreeView::At(int32_t position) const {
  platform::CheckPosition(position, Count());
  return nodes_[static_cast<std::size_t>(position - 1)];
}

std::string QtTreeView::Key(int32_t position) const {
  return KeyOf(*At(position));
}

int32_t QtTreeView::Children(int32_t position) const {
  return At(position)->childCount();
}

void QtTreeView::Remove(int32_t position) {
  QTreeWidgetItem* item = At(position);
  std::unordered_set<QTreeWidgetItem*> removed;
  CollectSubtree(item, removed);
  std::erase_if(nodes_, [&](QTreeWidgetItem* node) { return removed.count(node) != 0; });
  std::erase_if(byKey_, [&](const auto& entry) { return removed.count(entry.second) != 0; });
  const auto waiting =
      std::find_if(waiting_.begin(), waiting_.end(), [&](const auto& top) { return top.get() == item; });
  if (waiting != waiting_.end()) {
    waiting_.erase(waiting);
  } else {
    delete item;  // an item takes itself out of its parent or its widget
  }
}

void QtTreeView::Expand(const std::string& key) {
  QTreeWidgetItem* item = Find(key);
  platform::CheckKeyFound(item != nullptr);
  Flush();
  item->setExpanded(true);
}

void QtTreeView::Flush() {
  if (waiting_.empty()) return;
  QList<QTreeWidgetItem*> items;
  for (auto& item : waiting_) items.append(item.release());
  waiting_.clear();
  widget_.addTopLevelItems(items);
}

std::string QtTreeView::KeyOf(const QTreeWidgetItem& item) {
  return item.data(0, kKeyRole).toByteArray().toStdString();
}

QTreeWidgetItem* QtTreeView::Find(const std::string& key) const {
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? nullptr : found->second;
}

}  // namespace qtui
