// lumacet-cli type: loads a type file and lists what it holds.
#include <array>
#include <filesystem>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "model/xray_type.h"

namespace lumacet::cli {

namespace {

// Digitized and derived points share the kind name "Point"; the summary tells them apart.
std::string SummaryKindName(int code) {
  if (code == ekDigPoint) return "Point (digitized)";
  if (code == ekDerPoint) return "Point (derived)";
  return ElementKindName(code);
}

}  // namespace

int TypeCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string writeTo;
  arguments.Operand("FILE", "the type file (.lcr)", path);
  arguments.Option("--write", "OUT", "save the type again to OUT", writeTo, TValueKind::File);
  if (std::optional<int> exit = arguments.Parse()) return *exit;

  // The type reader reports any file it cannot open as damaged image data.
  if (!std::filesystem::exists(path)) {
    err << "lumacet-cli type: " << path << ": no such file\n";
    return kExitFailure;
  }
  TXRayType type;
  if (TResult loaded = type.LoadFromTypeFile(path); !loaded) {
    err << TerminalText(loaded.Text().English()) << '\n';
    return kExitFailure;
  }
  out << "Type: " << type.Name << '\n';
  for (int code = 0; code < kElementListCount; ++code)
    out << SummaryKindName(code) << ": " << type.Count(code) << '\n';

  if (!writeTo.empty()) {
    TResultOf<TText> saved = type.SaveToTypeFile(writeTo);
    if (!saved) {
      err << TerminalText(saved.Text().English()) << '\n';
      return kExitFailure;
    }
    if (!saved->Empty()) err << TerminalText(saved->English()) << '\n';
    out << "Saved to " << writeTo << '\n';
  }
  return kExitOk;
}

}  // namespace lumacet::cli
