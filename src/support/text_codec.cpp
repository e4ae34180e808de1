#include "support/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace lumacet {

namespace {

// Code points of bytes 0x80..0x9F; the others equal their byte value.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::optional<char> ByteFor(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (size_t i = 0; i < kHighTable.size(); ++i)
    if (kHighTable[i] == cp) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

// The code point starting at `i`, advancing `i` past it; nothing for a malformed or
// overlong sequence.
std::optional<char32_t> NextCodePoint(std::string_view s, size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  size_t len = 0;
  char32_t cp = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    cp = b & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + len > s.size()) return std::nullopt;
  for (size_t k = 1; k < len; ++k) {
    auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
    return std::nullopt;
  i += len;
  return cp;
}

}  // namespace

std::string DecodeCp1252(std::string_view bytes) {
  // Most fields are plain ASCII, which is the same in both: copied whole up to the first
  // byte that is not.
  const auto ascii = std::find_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  std::string out(bytes.begin(), ascii);
  if (ascii == bytes.end()) return out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (unsigned char b : bytes.substr(static_cast<size_t>(ascii - bytes.begin()))) {
    if (b < 0x80)
      out += static_cast<char>(b);
    else if (b < 0xA0)
      AppendUtf8(out, kHighTable[b - 0x80]);
    else
      AppendUtf8(out, b);
  }
  return out;
}

std::optional<std::string> EncodeCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto cp = NextCodePoint(utf8, i);
    if (!cp) return std::nullopt;
    auto byte = ByteFor(*cp);
    if (!byte) return std::nullopt;
    out += *byte;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size())
    if (!NextCodePoint(text, i)) return false;
  return true;
}

bool FitsCp1252(std::string_view utf8) { return EncodeCp1252(utf8).has_value(); }

std::optional<std::string> EncodeText(std::string_view utf8, TTextEncoding encoding) {
  if (encoding == TTextEncoding::Windows1252) return EncodeCp1252(utf8);
  if (!IsValidUtf8(utf8)) return std::nullopt;
  return std::string(utf8);
}

}  // namespace lumacet
