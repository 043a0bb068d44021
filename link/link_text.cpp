#include "link/link_text.h"

#include <cstdio>

#include "platform/ui/prompter.h"
#include "runtime/cp1252.h"

namespace linktext {

std::string UpperCase(const std::string& s) {
  std::string out = s;
  for (char& ch : out) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c = c - 0x20;
    else if (c == 0x9A || c == 0x9C || c == 0x9E) c = c - 0x10;
    else if (c == 0xFF) c = 0x9F;
    ch = static_cast<char>(c);
  }
  return out;
}

namespace {

// "U+20AC" for a UTF-8 character; a byte that is not UTF-8 as "byte 0xE9".
std::string CodeOf(const std::string& ch) {
  char buf[24];
  const auto b0 = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) {
    std::snprintf(buf, sizeof buf, "byte 0x%02X", b0);
    return buf;
  }
  char32_t cp = ch.size() == 2 ? (b0 & 0x1F) : ch.size() == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
  std::snprintf(buf, sizeof buf, "U+%04X", unsigned(cp));
  return buf;
}

}  // namespace

std::string RefusalMessage(const std::string& text) {
  const auto bad = rt::FirstWithoutCp1252(text);
  if (!bad) return "";
  const bool printable = bad->size() > 1;
  return "The character " + (printable ? "\"" + *bad + "\" (" + CodeOf(*bad) + ")" : CodeOf(*bad)) +
         " can't be sent to a drive: drives know only the Windows-1252 characters.\n\n"
         "Nothing was sent.";
}

std::optional<std::string> ToDrive(const std::string& text) {
  if (auto bytes = rt::Utf8ToCp1252(text)) return bytes;
  talvero::MessageBox box;
  box.text = RefusalMessage(text);
  box.icon = talvero::Icon::Exclamation;
  talvero::ThePrompter().Message(box);
  return std::nullopt;
}

std::string FromDrive(const std::string& bytes) { return rt::Cp1252ToUtf8(bytes); }

}  // namespace linktext
