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
  std::string message;
  if (!type.LoadFromTypeFile(path, message)) {
    err << TerminalText(message) << '\n';
    return kExitFailure;
  }
  out << "Type: " << type.Name << '\n';
  for (int code = 0; code < kElementListCount; ++code)
    out << SummaryKindName(code) << ": " << type.Count(code) << '\n';

  if (!writeTo.empty()) {
    if (!type.SaveToTypeFile(writeTo, message)) {
      err << TerminalText(message) << '\n';
      return kExitFailure;
    }
    if (!message.empty()) err << TerminalText(message) << '\n';
    out << "Saved to " << writeTo << '\n';
  }
  return kExitOk;
}

}  // namespace lumacet::cli
