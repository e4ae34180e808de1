#include "support/marked_text.h"

#include <utility>

namespace lumacet {

TText::TText(TTextSource source) : fContext(source.Context), fSource(source.Source) {}

TText::TText(TTextSource source, std::vector<TText> arguments)
    : fContext(source.Context), fSource(source.Source), fArguments(std::move(arguments)) {}

TText::TText(TTextSource source, std::initializer_list<std::string_view> arguments)
    : fContext(source.Context), fSource(source.Source) {
  fArguments.reserve(arguments.size());
  for (std::string_view argument : arguments) fArguments.push_back(Verbatim(std::string(argument)));
}

TText TText::Verbatim(std::string text) {
  TText verbatim;
  verbatim.fSource = std::move(text);
  return verbatim;
}

TText TText::Joined(std::vector<TText> parts, std::string_view separator) {
  TText joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined.fSource += separator;
    joined.fSource += '%';
    joined.fSource += std::to_string(i + 1);
  }
  joined.fArguments = std::move(parts);
  return joined;
}

std::string TText::English() const {
  return Rendered([](const std::string&, const std::string&) { return std::string(); });
}

std::string TText::Rendered(const TTranslator& translate) const {
  std::string pattern;
  if (IsMarked()) pattern = translate(fContext, fSource);
  if (pattern.empty()) pattern = fSource;
  // A verbatim text without arguments may hold any "%" at all.
  if (fArguments.empty()) return pattern;
  std::vector<std::string> arguments;
  arguments.reserve(fArguments.size());
  for (const TText& argument : fArguments) arguments.push_back(argument.Rendered(translate));
  return FillArguments(pattern, arguments);
}

std::string FillArguments(std::string_view pattern, const std::vector<std::string>& arguments) {
  std::string out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const size_t number = static_cast<size_t>(pattern[i + 1] - '0');
      if (number <= arguments.size()) {
        out += arguments[number - 1];
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace lumacet
