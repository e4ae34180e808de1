// lumacet-cli type: loads a type file and lists what it holds.
#include <array>
#include <filesystem>
#include <vector>

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

// What --list lists: the element kinds whose names a command takes.
enum class TListing { None, Analyses, Views, Drawings, Variables, Points, Pcas };

std::vector<int> ListedKinds(TListing listing) {
  switch (listing) {
    case TListing::Analyses: return {ekAnalysis};
    case TListing::Views: return {ekView};
    case TListing::Drawings: return {ekGraphic};
    case TListing::Variables: return {ekVariable};
    case TListing::Points: return {ekDigPoint, ekDerPoint};
    case TListing::Pcas: return {ekPCA};
    case TListing::None: break;
  }
  return {};
}

}  // namespace

int TypeCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string writeTo;
  arguments.Operand("FILE", "the type file (.lcr)", path);
  TListing listing = TListing::None;
  arguments.Option("--write", "OUT", "save the type again to OUT", writeTo, TValueKind::File);
  arguments.Choice("--list", "print the names of the type's elements of one kind, one a line, instead of the summary",
                   listing,
                   {{"analyses", TListing::Analyses},
                    {"views", TListing::Views},
                    {"drawings", TListing::Drawings},
                    {"variables", TListing::Variables},
                    {"points", TListing::Points},
                    {"pcas", TListing::Pcas}});
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
  if (listing != TListing::None) {
    for (int code : ListedKinds(listing))
      for (const auto& element : type.ElementList(code)) out << element->Name << '\n';
  } else {
    out << "Type: " << type.Name << '\n';
    for (int code = 0; code < kElementListCount; ++code)
      out << SummaryKindName(code) << ": " << type.Count(code) << '\n';
  }

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
