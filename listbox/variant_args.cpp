#include "listbox/variant_args.h"

#include <cmath>

namespace tivolen {

std::optional<double> AsDouble(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? -1.0 : 0.0;
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Float: case QMetaType::Double: case QMetaType::Char: case QMetaType::UChar:
    case QMetaType::SChar:
      return v.toDouble();
    case QMetaType::QString: {
      bool ok = false;
      const double d = v.toString().trimmed().toDouble(&ok);
      return ok ? std::optional<double>(d) : std::nullopt;
    }
    default: return std::nullopt;
  }
}

std::optional<int> AsInt(const QVariant& v) {
  auto d = AsDouble(v);
  if (!d || !std::isfinite(*d) || std::fabs(*d) > 2147483647.0) return std::nullopt;
  return int(std::nearbyint(*d));  // the default rounding mode is half to even
}

std::optional<bool> AsBool(const QVariant& v) {
  if (v.typeId() == QMetaType::Bool) return v.toBool();
  auto d = AsDouble(v);
  if (!d) return std::nullopt;
  if (*d == 0.0) return false;
  if (*d == 1.0 || *d == -1.0) return true;
  return std::nullopt;
}

}  // namespace tivolen
