// The settings file as a list of lines, read with the rules of the Windows INI service so
// that files from existing installations mean the same here, and rewritten in place so that
// sections, keys and comments written by other parts of the program (or by hand) survive.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/atomic_file.h"

namespace lumacet {

enum class TIniLoadResult { Loaded, Missing, Unreadable };

// Names and words in the settings file compare without regard to (ASCII) case.
bool SameIniName(std::string_view a, std::string_view b);
// Without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view text);

class TIniFile {
 public:
  // Takes the bytes of a file: UTF-8 when they are valid UTF-8 (a leading byte-order mark
  // is dropped), Windows-1252 otherwise. Lines may end in CR LF or LF.
  static TIniFile FromBytes(std::string_view bytes);
  // Lines end in CR LF. Windows-1252 whenever every character has a Windows-1252 form, so
  // that older installations can still read the file; UTF-8 otherwise, so nothing is lost.
  std::string ToBytes() const;

  // A missing file leaves this object empty and reports Missing.
  TIniLoadResult Load(const std::string& path);
  TWriteResult Save(const std::string& path) const;

  // Section and key names compare case-insensitively; the first occurrence of a section,
  // and of a key within it, is the one that counts. The value comes back without its
  // surrounding blanks and without one pair of enclosing quotes (" or ').
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // The distinct key names of a section, in file order.
  std::vector<std::string> Keys(std::string_view section) const;
  bool HasSection(std::string_view section) const;

  // Replaces the value of the key where it stands, or appends the key after the last key of
  // its section, or appends the section at the end. The value is quoted when reading would
  // otherwise change it. False, and nothing changed, when the name or the value cannot be
  // stored in a line of the file (line breaks, '=' or a leading '[' or ';' in a key name,
  // text that is not UTF-8).
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line that holds the key in the section.
  void DeleteKey(std::string_view section, std::string_view key);

 private:
  enum class TLineKind { Other, Section, Key };
  struct TLine {
    std::string Text;
    TLineKind Kind = TLineKind::Other;
    std::string Name;  // trimmed section or key name
  };
  struct TRange {
    size_t Begin = 0;  // the section's header line
    size_t End = 0;    // one past its last line
  };

  static TLine ClassifyLine(std::string text);
  std::optional<TRange> FindSection(std::string_view section) const;
  std::optional<size_t> FindKey(const TRange& range, std::string_view key) const;

  std::vector<TLine> fLines;
};

}  // namespace lumacet
