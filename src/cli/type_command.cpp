// lumacet-cli type FILE [--write OUT]: loads a type file and lists what it holds.
#include <array>

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

int TypeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string writeTo;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--write" && i + 1 < args.size() && writeTo.empty())
      writeTo = args[++i];
    else if (path.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0)
      path = args[i];
    else
      return kExitUsage;
  }
  if (path.empty()) return kExitUsage;

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
