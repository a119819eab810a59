#include "cli/tree_json.h"

#include <cstdio>

#include "project/mdl_trim.h"
#include "project/node_keys.h"

namespace cli {

namespace {

void AppendPicture(std::string& out, int32_t position) {
  out += position >= 1 ? std::to_string(position) : "null";
}

class JsonWriter {
 public:
  explicit JsonWriter(const platform::CodePage& codePage) : codePage_(codePage) {}

  void Text(std::string& out, const std::string& bytes) const {
    AppendJsonString(out, codePage_.ToUtf8(bytes));
  }

  void Node(std::string& out, const MemoryTreeView::Node& node) const {
    out += "{\"key\": ";
    Text(out, node.key);
    out += ", \"text\": ";
    Text(out, node.text);
    out += ", \"image\": ";
    AppendPicture(out, node.image);
    out += ", \"selectedImage\": ";
    AppendPicture(out, node.selectedImage);
    out += node.expanded ? ", \"expanded\": true" : ", \"expanded\": false";
    out += ", \"children\": [";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
      if (i != 0) out += ", ";
      Node(out, *node.children[i]);
    }
    out += "]}";
  }

 private:
  const platform::CodePage& codePage_;
};

// The component a node stands for, when its key names one of the model.
const mdlFile::Component* ComponentOf(const mdlFile::ProjectModel& model, const std::string& key) {
  if (key.size() < 2 || key[0] != mdlFile::kComponentPrefix) return nullptr;
  const int32_t index = mdlTrim::KeyNumber(key);
  if (index < 0 || index >= static_cast<int32_t>(model.components.size())) return nullptr;
  return &model.components[index];
}

void AppendTextNode(std::string& out, const mdlFile::ProjectModel& model, const MemoryTreeView::Node& node,
                    const platform::CodePage& codePage, int depth) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += codePage.ToUtf8(node.text);
  if (const auto* component = ComponentOf(model, node.key))
    out += "  (" + codePage.ToUtf8(component->path) + ")";
  out += '\n';
  for (const auto* child : node.children) AppendTextNode(out, model, *child, codePage, depth + 1);
}

}  // namespace

void AppendJsonString(std::string& out, const std::string& utf8) {
  out.push_back('"');
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

std::string TreeJson(const mdlFile::ProjectModel& model, const MemoryTreeView& tree,
                     const platform::CodePage& codePage) {
  const JsonWriter json(codePage);
  std::string out = "{\"project\": {\"name\": ";
  json.Text(out, model.name);
  out += ", \"file\": ";
  json.Text(out, model.filePath);
  out += ", \"type\": " + std::to_string(model.type) + "}, \"components\": [";
  for (std::size_t i = 0; i < model.components.size(); ++i) {
    const auto& component = model.components[i];
    if (i != 0) out += ", ";
    out +=
        "{\"index\": " + std::to_string(i) + ", \"kind\": " + std::to_string(component.kind) + ", \"name\": ";
    json.Text(out, component.name);
    out += ", \"path\": ";
    json.Text(out, component.path);
    out += "}";
  }
  out += "], \"tree\": ";
  if (tree.Roots().empty()) {
    out += "null";
  } else {
    json.Node(out, *tree.Roots().front());
  }
  out += "}\n";
  return out;
}

std::string TreeText(const mdlFile::ProjectModel& model, const MemoryTreeView& tree,
                     const platform::CodePage& codePage) {
  std::string out;
  for (const auto* root : tree.Roots()) AppendTextNode(out, model, *root, codePage, 0);
  return out;
}

}  // namespace cli
