#pragma once
// Coercion of the variant arguments of the dispatch interface.
#include <QVariant>
#include <optional>

namespace tivolen {

// A number (or a numeric text) rounded half to even; nullopt otherwise.
std::optional<int> AsInt(const QVariant& v);
std::optional<double> AsDouble(const QVariant& v);
// 0 is FALSE, 1 and -1 are TRUE, a Boolean is itself; anything else nullopt.
std::optional<bool> AsBool(const QVariant& v);
// The legacy Boolean as the interface returns it: -1 or 0.
inline QVariant BoolValue(bool b) { return QVariant::fromValue<short>(b ? -1 : 0); }
inline QVariant ShortValue(int v) { return QVariant::fromValue<short>(short(v)); }
inline QVariant FloatValue(double v) { return QVariant::fromValue<float>(float(v)); }

}  // namespace tivolen
