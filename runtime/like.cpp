#include "runtime/like.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace rt {
namespace {

// Decodes UTF-8 leniently: a byte that starts no valid sequence stays one character of its
// own (mapped into the low surrogates, where no real character lives), so any byte string
// can be matched.
std::vector<char32_t> Decode(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    bool ok = len > 0 && i + len <= s.size();
    for (int k = 1; ok && k < len; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      ok = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (ok) {
      static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      ok = cp >= kMin[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    }
    if (ok) {
      out.push_back(cp);
      i += len;
    } else {
      out.push_back(0xDC00 + b0);
      ++i;
    }
  }
  return out;
}

struct Token {
  enum Kind { Literal, AnyOne, Digit, Star, List };
  Kind kind = Literal;
  char32_t ch = 0;
  bool negated = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;

  bool Matches(char32_t c) const {
    switch (kind) {
      case Literal: return c == ch;
      case AnyOne: return true;
      case Digit: return c >= U'0' && c <= U'9';
      case List: {
        bool in = false;
        for (const auto& [lo, hi] : ranges) in = in || (c >= lo && c <= hi);
        return in != negated;
      }
      case Star: break;
    }
    return false;
  }
};

Token Make(Token::Kind kind, char32_t ch = 0) {
  Token t;
  t.kind = kind;
  t.ch = ch;
  return t;
}

std::optional<std::vector<Token>> Compile(const std::vector<char32_t>& p) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char32_t c = p[i];
    if (c == U'*') {
      if (tokens.empty() || tokens.back().kind != Token::Star) tokens.push_back(Make(Token::Star));
    } else if (c == U'?') {
      tokens.push_back(Make(Token::AnyOne));
    } else if (c == U'#') {
      tokens.push_back(Make(Token::Digit));
    } else if (c == U'[') {
      std::size_t j = i + 1;
      Token t = Make(Token::List);
      if (j < p.size() && p[j] == U'!') {
        t.negated = true;
        ++j;
      }
      const std::size_t first = j;
      while (j < p.size() && p[j] != U']') {
        char32_t lo = p[j];
        // A hyphen between two characters makes a range; first or last it is itself.
        if (p[j] != U'-' || j == first) {
          if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
            const char32_t hi = p[j + 2];
            if (hi < lo) return std::nullopt;
            t.ranges.emplace_back(lo, hi);
            j += 3;
            continue;
          }
        }
        t.ranges.emplace_back(lo, lo);
        ++j;
      }
      if (j >= p.size()) return std::nullopt;  // unclosed "["
      // "[]" stands for no character; "[!]" is then any one character.
      if (!t.ranges.empty() || t.negated) tokens.push_back(std::move(t));
      i = j;
    } else {
      tokens.push_back(Make(Token::Literal, c));
    }
  }
  return tokens;
}

}  // namespace

bool Like(std::string_view text, std::string_view pattern) {
  const auto compiled = Compile(Decode(pattern));
  if (!compiled) return false;
  const std::vector<Token>& tok = *compiled;
  const std::vector<char32_t> s = Decode(text);

  // Every token but "*" takes exactly one character, so backtracking to the last star is
  // enough and the match runs in O(text * pattern) at worst.
  std::size_t si = 0, ti = 0;
  std::size_t starTok = SIZE_MAX, starText = 0;
  while (si < s.size()) {
    if (ti < tok.size() && tok[ti].kind == Token::Star) {
      starTok = ti++;
      starText = si;
    } else if (ti < tok.size() && tok[ti].Matches(s[si])) {
      ++ti;
      ++si;
    } else if (starTok != SIZE_MAX) {
      ti = starTok + 1;
      si = ++starText;
    } else {
      return false;
    }
  }
  while (ti < tok.size() && tok[ti].kind == Token::Star) ++ti;
  return ti == tok.size();
}

}  // namespace rt
