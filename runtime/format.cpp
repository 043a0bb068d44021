#include "runtime/format.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "runtime/cstr.h"
#include "runtime/decimal_digits.h"

namespace rt {
namespace {

struct Elem {
  enum Kind { Zero, Hash, Point, Comma, Text } kind;
  std::string text;
  bool IsDigit() const { return kind == Zero || kind == Hash; }
};

std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  return std::min(n, s.size() - i);
}

std::vector<Elem> Parse(std::string_view pic) {
  std::vector<Elem> out;
  auto text = [&out](std::string_view t) {
    if (!out.empty() && out.back().kind == Elem::Text)
      out.back().text += t;
    else
      out.push_back({Elem::Text, std::string(t)});
  };
  for (std::size_t i = 0; i < pic.size();) {
    const char c = pic[i];
    if (c == '0' || c == '#' || c == '.' || c == ',') {
      out.push_back({c == '0' ? Elem::Zero : c == '#' ? Elem::Hash : c == '.' ? Elem::Point : Elem::Comma, {}});
      ++i;
    } else if (c == '\\' && i + 1 < pic.size()) {
      const std::size_t n = Utf8Length(pic, i + 1);
      text(pic.substr(i + 1, n));
      i += 1 + n;
    } else if (c == '"') {
      const std::size_t end = pic.find('"', i + 1);
      const std::size_t stop = end == std::string_view::npos ? pic.size() : end;
      text(pic.substr(i + 1, stop - i - 1));
      i = stop + 1;
    } else {
      text(pic.substr(i, 1));
      ++i;
    }
  }
  return out;
}

std::string FormatDigits(DecimalDigits d, std::string_view picture) {
  std::vector<Elem> elems = Parse(picture);

  // Only the first point is the decimal point; later ones and commas behind it are text.
  std::size_t point = elems.size();
  for (std::size_t i = 0; i < elems.size(); ++i) {
    if (elems[i].kind != Elem::Point) continue;
    if (point == elems.size())
      point = i;
    else
      elems[i] = {Elem::Text, "."};
  }
  bool grouping = false;
  for (std::size_t i = 0; i < elems.size(); ++i) {
    if (elems[i].kind != Elem::Comma) continue;
    if (i < point)
      grouping = true;
    else
      elems[i] = {Elem::Text, ","};
  }

  int places = 0;
  for (std::size_t i = point; i < elems.size(); ++i) places += elems[i].IsDigit();
  RoundToPlaces(d, places);

  // Integer digits, padded to the places from the first "0" before the point onwards.
  std::string intDigits;
  if (d.pointPos > 0) {
    intDigits = d.digits.substr(0, std::min<std::size_t>(d.pointPos, d.digits.size()));
    intDigits.resize(d.pointPos, '0');
  }
  std::size_t required = 0;
  bool seenZero = false;
  std::size_t firstDigit = point, intPlaces = 0;
  for (std::size_t i = 0; i < point; ++i) {
    if (!elems[i].IsDigit()) continue;
    if (firstDigit == point) firstDigit = i;
    ++intPlaces;
    seenZero = seenZero || elems[i].kind == Elem::Zero;
    required += seenZero;
  }
  if (intDigits.size() < required) intDigits.insert(0, required - intDigits.size(), '0');

  std::string out = d.negative && !d.digits.empty() ? "-" : "";

  // The integer part.
  if (grouping || intPlaces == 0) {
    std::string number;
    for (std::size_t i = 0; i < intDigits.size(); ++i) {
      if (grouping && i > 0 && (intDigits.size() - i) % 3 == 0) number += ',';
      number += intDigits[i];
    }
    std::string after;
    for (std::size_t i = 0; i < point; ++i) {
      if (elems[i].kind == Elem::Text) (i < firstDigit ? out : after) += elems[i].text;
    }
    out += number + after;
  } else {
    // Digits fill the places from the right; the leftmost place takes all that remain.
    std::vector<std::string> chunks(point);
    std::size_t left = intDigits.size();
    for (std::size_t i = point; i-- > 0;) {
      if (elems[i].kind == Elem::Text) {
        chunks[i] = elems[i].text;
      } else if (elems[i].IsDigit()) {
        const std::size_t take = i == firstDigit ? left : std::min<std::size_t>(left, 1);
        chunks[i] = intDigits.substr(left - take, take);
        left -= take;
      }
    }
    for (const auto& p : chunks) out += p;
  }

  if (point == elems.size()) return out;

  // The fraction: places left to right; trailing "#" places that would show 0 are dropped.
  std::vector<char> frac;
  for (int k = 0; k < places; ++k) {
    const long idx = long(d.pointPos) + k;
    frac.push_back(idx >= 0 && idx < long(d.digits.size()) ? d.digits[idx] : '0');
  }
  int shown = places;
  for (std::size_t i = elems.size(); i-- > point && shown > 0;) {
    if (!elems[i].IsDigit()) continue;
    if (elems[i].kind == Elem::Zero || frac[shown - 1] != '0') break;
    --shown;
  }
  out += '.';
  int k = 0;
  for (std::size_t i = point + 1; i < elems.size(); ++i) {
    if (elems[i].kind == Elem::Text) {
      out += elems[i].text;
    } else if (elems[i].IsDigit()) {
      if (k < shown) out += frac[k];
      ++k;
    }
  }
  return out;
}

}  // namespace

std::string Format(double value, std::string_view picture) {
  if (picture.empty() || !std::isfinite(value)) return CStrDouble(value);
  return FormatDigits(ToDecimalDigits(value, 15), picture);
}

std::string FormatSingle(float value, std::string_view picture) {
  if (picture.empty() || !std::isfinite(value)) return CStrSingle(value);
  return FormatDigits(ToDecimalDigits(value, 7), picture);
}

}  // namespace rt
