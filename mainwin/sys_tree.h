#pragma once
// The navigator tree as the rest of the main window uses it: nodes named by
// their keys. The Qt tree stands behind it; a richer tree can replace it.
#include <string>
#include <vector>

class SysTree {
 public:
  virtual ~SysTree() = default;
  virtual void Clear() = 0;
  // parentKey "" adds a root. False when the key exists or the parent does not.
  virtual bool Add(const std::string& parentKey, const std::string& key, const std::string& text,
                   const std::string& picture) = 0;
  // Removes the node with its whole branch.
  virtual bool Remove(const std::string& key) = 0;
  virtual bool Exists(const std::string& key) const = 0;
  virtual std::string Text(const std::string& key) const = 0;
  virtual std::string Picture(const std::string& key) const = 0;
  virtual std::vector<std::string> Children(const std::string& key) const = 0;  // "" = roots
  virtual void EnsureVisible(const std::string& key) = 0;
  virtual void Select(const std::string& key) = 0;
  virtual std::string SelectedKey() const = 0;  // "" when nothing is selected
};
