// User texts as the engine hands them out: English, untranslated, marked with the context a
// translator finds them under. The user interface translates the marked parts and then fills
// in the arguments; the command line, logs and tests print the English rendering.
//
// A marked text is written as LcText("Context", "Source"); the translation tools are told to
// read LcText as QT_TRANSLATE_NOOP, so every marked source reaches the translation file.
// Arguments are written %1 to %9, so that a translation may put them in another order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumacet {

// A marked source: where it belongs and its English text. Both are string literals.
struct TTextSource {
  const char* Context;
  const char* Source;
};

constexpr TTextSource LcText(const char* context, const char* source) { return {context, source}; }

// The translation of one marked source (context, source), UTF-8.
using TTranslator = std::function<std::string(const std::string& context, const std::string& source)>;

class TText {
 public:
  // The empty text: what a success carries.
  TText() = default;
  // A marked source, and the texts its %1, %2... stand for.
  TText(TTextSource source);  // NOLINT(google-explicit-constructor): a marked constant is a text
  TText(TTextSource source, std::vector<TText> arguments);
  // A marked source whose arguments are data shown as they stand (names, paths, numbers).
  TText(TTextSource source, std::initializer_list<std::string_view> arguments);

  // A text never translated: a name, a path, a number, a reason from a library.
  static TText Verbatim(std::string text);
  // Texts one after another with `separator` between them, none of it translated but the
  // texts themselves.
  static TText Joined(std::vector<TText> parts, std::string_view separator);

  bool Empty() const { return fSource.empty() && fArguments.empty(); }
  bool IsMarked() const { return !fContext.empty(); }
  const std::string& Context() const { return fContext; }
  const std::string& Source() const { return fSource; }
  const std::vector<TText>& Arguments() const { return fArguments; }

  // The text in English, arguments filled in: what every text was before it was marked.
  std::string English() const;
  // The text with each marked part translated by `translate` (an empty translation keeps
  // the English), arguments filled in after translation.
  std::string Rendered(const TTranslator& translate) const;

  bool operator==(const TText& other) const = default;

 private:
  std::string fContext;  // empty: shown as it stands
  std::string fSource;
  std::vector<TText> fArguments;
};

// `pattern` with every %1 .. %9 replaced by the argument of that number in one pass, so an
// argument that itself holds "%2" stays as it is. A number without an argument, and any
// other "%", stay as written.
std::string FillArguments(std::string_view pattern, const std::vector<std::string>& arguments);

}  // namespace lumacet
