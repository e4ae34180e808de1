#include "support/terminal_text.h"

#include <cstdio>

#include "support/text_codec.h"

namespace lumacet {

namespace {

void AppendEscaped(std::string& out, unsigned value) {
  char code[8];
  std::snprintf(code, sizeof code, "\\x%02X", value);
  out += code;
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
size_t SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  return length != 0 && length <= text.size() && IsValidUtf8(text.substr(0, length)) ? length : 0;
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto byte = static_cast<unsigned char>(text[0]);
    if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) {
      AppendEscaped(out, byte);
      text.remove_prefix(1);
      continue;
    }
    if (byte < 0x80) {
      out += text[0];
      text.remove_prefix(1);
      continue;
    }
    const size_t length = SequenceLength(text);
    if (length == 0) {
      AppendEscaped(out, byte);
      text.remove_prefix(1);
    } else if (byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) {
      AppendEscaped(out, static_cast<unsigned char>(text[1]));  // a C1 control, U+0080 to U+009F
      text.remove_prefix(2);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return out;
}

}  // namespace lumacet
