// The tree view trvMain on a QTreeWidget.
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/code_page.h"
#include "platform/qt/qt_image_list.h"
#include "platform/tree_view.h"

namespace qtui {

// Item data roles: the node's key (code-page bytes as QByteArray) and its two picture positions.
inline constexpr int kKeyRole = Qt::UserRole;
inline constexpr int kImageRole = Qt::UserRole + 1;
inline constexpr int kSelectedImageRole = Qt::UserRole + 2;

// Top-level nodes wait outside the widget with everything added under them until the tree is shown
// (Expand or Flush), so a build of many nodes costs the widget one insertion instead of one per node.
class QtTreeView : public platform::TreeView {
 public:
  QtTreeView(QTreeWidget& widget, const QtImageList& images, const platform::CodePage& codePage);
  ~QtTreeView() override;
  QtTreeView(const QtTreeView&) = delete;
  QtTreeView& operator=(const QtTreeView&) = delete;

  void Clear() override;
  // Throws RaisedError(35601) for a relative key that no node has, 35602 for a key already used.
  void Add(const std::string& relative, int32_t relationship, const std::string& key, const std::string& text,
           int32_t image, int32_t selectedImage) override;
  int32_t Count() const override { return static_cast<int32_t>(nodes_.size()); }
  // Positions outside 1 to Count() throw RaisedError(35600).
  std::string Key(int32_t position) const override;
  int32_t Children(int32_t position) const override;
  void Remove(int32_t position) override;
  // Throws RaisedError(35601) for a key that no node has.
  void Expand(const std::string& key) override;

  // Puts the waiting top-level nodes into the widget.
  void Flush();

  // The node's key, read from a widget item.
  static std::string KeyOf(const QTreeWidgetItem& item);
  QTreeWidgetItem* Find(const std::string& key) const;

 private:
  QTreeWidgetItem* At(int32_t position) const;

  QTreeWidget& widget_;
  const QtImageList& images_;
  const platform::CodePage& codePage_;
  std::vector<QTreeWidgetItem*> nodes_;  // by position, in the order they were added
  std::unordered_map<std::string, QTreeWidgetItem*> byKey_;
  std::vector<std::unique_ptr<QTreeWidgetItem>> waiting_;  // top-level nodes not yet in the widget
};

}  // namespace qtui
