// The look of texts: the numbered text styles of the analysis text, labels and
// print-outs, the colours of the deviation classes, and colour values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lumacet {

// Colours are 0x00BBGGRR.
inline constexpr uint32_t kColourBlack = 0x000000;
inline constexpr uint32_t kColourWhite = 0xFFFFFF;

enum class TFontPitch { Default, Variable, Fixed };
enum class TTextAlignment { Left, Right, Center };

struct TTextStyle {
  std::string FontName = "Arial";
  int Size = 10;  // points
  TFontPitch Pitch = TFontPitch::Default;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint32_t Colour = kColourBlack;
  TTextAlignment Alignment = TTextAlignment::Left;
  int FirstIndent = 0;  // 0..200
  int LeftIndent = 0;
  int RightIndent = 0;
  bool ShowAsterisks = false;
  bool UseVariableColour = true;
  int Charset = 1;

  bool operator==(const TTextStyle&) const = default;
};

inline constexpr int kTextStyleCount = 12;

// The colours of the deviation classes -3..4, at indexes 0..7.
inline constexpr std::array<uint32_t, 8> kDefaultDeviationColours = {0x0000FF, 0xFF00FF, 0xFF0000, 0x008000,
                                                                     0xFF0000, 0xFF00FF, 0x0000FF, 0x000000};

}  // namespace lumacet
