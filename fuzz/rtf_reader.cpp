// The report viewer's RTF reader on arbitrary bytes, and on what the report
// writer makes of arbitrary text: reading never fails, and escaped text
// reads back as it was written.
#include <string>

#include "fuzz/fuzz_target.h"
#include "reports/model/rtf_reader.h"
#include "reports/model/rtf_text.h"
#include "reports/model/rtf_writer.h"
#include "runtime/cp1252.h"

TALVERO_FUZZ_TARGET(rtf_reader) {
  fuzz::Input in(data, size);
  const uint8_t mode = in.Byte();
  const std::string rest = in.Rest();
  if (mode & 1) {
    reports::ReadRtf(rest);
    return 0;
  }
  // Printable text only: the writer drops control characters (the five
  // bytes the code page leaves undefined stand for C1 controls), and a line
  // feed means a new paragraph.
  const bool utf8 = mode & 2;
  std::string bytes;
  for (char c : rest) {
    const uint8_t b = uint8_t(c);
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    if (b >= 32 && b != 127 && !undefined) bytes.push_back(c);
  }
  const std::string text = rt::Cp1252ToUtf8(bytes);
  reports::RtfWriter w;
  w.Add(utf8 ? reports::deRTF(text) : reports::deRTF1252(bytes));
  w.Para();
  const reports::RtfDocument doc = reports::ReadRtf(w.Text());
  FUZZ_CHECK(!doc.paragraphs.empty(), "the written paragraph was not read");
  FUZZ_CHECK(doc.paragraphs.front().Text() == text, "escaped text read back as something else");
  return 0;
}
