// Windows-1252 on disk, UTF-8 in memory. Fixed-width columns of data files count
// bytes on disk, so every field is measured after encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumacet {

// Decodes Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map
// to the C1 controls of the same value, so every byte sequence round-trips.
std::string DecodeCp1252(std::string_view bytes);
// Encodes UTF-8 to Windows-1252; nullopt when a character has no Windows-1252 form or the
// input is not valid UTF-8.
std::optional<std::string> EncodeCp1252(std::string_view utf8);
// True when every character of the UTF-8 text has a Windows-1252 form.
bool FitsCp1252(std::string_view utf8);
// How a written text file holds its characters: Windows-1252, the files' own code page,
// or UTF-8 for the tools that expect it.
enum class TTextEncoding { Windows1252, Utf8 };
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// The UTF-8 text in `encoding`; nullopt when a character has no form there (or the text is
// not valid UTF-8).
std::optional<std::string> EncodeText(std::string_view utf8, TTextEncoding encoding);

// Well-formed UTF-8: shortest forms only, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace lumacet
