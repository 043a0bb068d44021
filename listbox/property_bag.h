#pragma once
// The persisted property set travels through a bag the host keeps.
// Header-only so a host needs no link against the control.
#include <QMap>
#include <QString>
#include <QVariant>

namespace tivolen {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // False when the key is absent (the reader then keeps its default).
  virtual bool Read(const QString& key, QVariant& value) const = 0;
  virtual void Write(const QString& key, const QVariant& value) = 0;
};

// A bag in memory; hosts may persist its map however they like.
class MemoryPropertyBag : public PropertyBag {
 public:
  bool Read(const QString& key, QVariant& value) const override {
    auto it = values_.find(key);
    if (it == values_.end()) return false;
    value = *it;
    return true;
  }
  void Write(const QString& key, const QVariant& value) override { values_[key] = value; }
  const QMap<QString, QVariant>& Values() const { return values_; }
  QMap<QString, QVariant>& Values() { return values_; }

 private:
  QMap<QString, QVariant> values_;
};

}  // namespace tivolen
