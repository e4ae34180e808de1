#include "graphics/font_families.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace lumacet {

namespace {

struct TFamilyRow {
  std::array<std::string_view, 8> Names;  // the names that mean this kind of face
  std::array<std::string_view, 3> Families;
};

constexpr std::string_view kSans[] = {"DejaVu Sans", "Liberation Sans", "sans-serif"};

constexpr TFamilyRow kRows[] = {
    // "Sans Serif" is the painter's own default, named where nothing else set a font.
    {{"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Verdana", "Helvetica", "Sans Serif", "Sans"},
     {"DejaVu Sans", "Liberation Sans", "sans-serif"}},
    {{"Times New Roman", "Times", "MS Serif", "Georgia", "Serif", "", "", ""},
     {"DejaVu Serif", "Liberation Serif", "serif"}},
    {{"Courier New", "Courier", "Consolas", "Lucida Console", "Monospace", "", "", ""},
     {"DejaVu Sans Mono", "Liberation Mono", "monospace"}},
};

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::vector<std::string> FontFamilies(std::string_view name) {
  for (const TFamilyRow& row : kRows) {
    const auto means = [&](std::string_view known) { return !known.empty() && SameName(known, name); };
    if (std::any_of(row.Names.begin(), row.Names.end(), means) ||
        std::any_of(row.Families.begin(), row.Families.end(), means))
      return {row.Families.begin(), row.Families.end()};
  }
  if (name.empty()) return {std::begin(kSans), std::end(kSans)};
  return {std::string(name), std::string(kSans[2])};
}

std::string CssFontFamily(std::string_view name) {
  std::string css;
  for (const std::string& family : FontFamilies(name)) {
    if (!css.empty()) css += ", ";
    // Names of letters, digits, blanks and hyphens read the same unquoted (CSS joins the
    // words); any other is quoted, its own quotes and backslashes escaped.
    const bool plain = std::all_of(family.begin(), family.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-';
    });
    if (plain) {
      css += family;
      continue;
    }
    css += '"';
    for (char c : family) {
      if (c == '"' || c == '\\') css += '\\';
      css += c;
    }
    css += '"';
  }
  return css;
}

}  // namespace lumacet
