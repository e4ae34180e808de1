// lumacet-cli type: loads a type file, lists what it holds, and renames or deletes an element.
#include <array>
#include <filesystem>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "model/type_edits.h"
#include "model/xray_type.h"

namespace lumacet::cli {

namespace {

// Digitized and derived points share the kind name "Point"; the summary tells them apart.
std::string SummaryKindName(int code) {
  if (code == ekDigPoint) return "Point (digitized)";
  if (code == ekDerPoint) return "Point (derived)";
  return ElementKindName(code);
}

// What --list lists: one kind of element, or the points of both lists.
constexpr int kAllPoints = ekAnyPoint;

std::vector<int> ListedKinds(int listing) {
  if (listing == kAllPoints) return {ekDigPoint, ekDerPoint};
  return {listing};
}

// The names in the used operand slots of an element that has them, each after a tab (an
// empty slot gives an empty field); "[R] " marks an operand taken from the reference.
std::string OperandFields(const TXRayElement& element) {
  std::string fields;
  auto field = [&](const TXRayElement* operand, bool reference = false) {
    fields += '\t';
    if (operand != nullptr) fields += (reference ? "[R] " : "") + operand->Name;
  };
  if (auto* d = dynamic_cast<const TDigPoint*>(&element)) {
    for (int slot = 0; slot < TDigPoint::kOperandCount; ++slot)
      if (d->SlotClass(slot) != ekNone) field(d->Operand(slot));
  } else if (auto* p = dynamic_cast<const TDerPoint*>(&element)) {
    for (int slot = 0; slot < p->OperandCount(); ++slot) field(p->Operand(slot));
  } else if (auto* k = dynamic_cast<const TXRPointKindElement*>(&element)) {
    auto* variable = dynamic_cast<const TXRVariable*>(&element);
    for (int slot = 0; slot < k->OperandCount(); ++slot)
      field(k->Operand(slot), variable != nullptr && variable->ReferenceFlags[static_cast<size_t>(slot)]);
  }
  return fields;
}

// The one element a command names; a usage of the name by several kinds is refused, as is
// a name no element has.
TXRayElement* NamedElement(const TXRayType& type, const std::string& name, std::ostream& err) {
  const std::vector<TXRayElement*> named = type.ElementsNamed(name);
  if (named.size() == 1) return named.front();
  if (named.empty()) {
    err << "lumacet-cli type: the type has no element named '" << name << "'\n";
  } else {
    err << "lumacet-cli type: '" << name << "' names more than one element:";
    for (const TXRayElement* e : named) err << ' ' << SummaryKindName(e->KindCode()) << ';';
    err << " rename one in the program first\n";
  }
  return nullptr;
}

}  // namespace

int TypeCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string writeTo;
  std::string refsOf;
  std::string rename;
  std::string deleteName;
  arguments.Operand("FILE", "the type file (.lcr)", path);
  int listing = -1;
  arguments.Option("--write", "OUT", "save the type again to OUT (after any edit, instead of over FILE)", writeTo,
                   TValueKind::File);
  // The kinds are too many to stand as the value's name: the help lists them.
  arguments.Choice("--list",
                   "print the type's elements of KIND (analyses, views, drawings, variables, points, digitized, "
                   "derived, snakes, areas, protocols, superimpositions, orientations, relationships or pcas), one a "
                   "line, instead of the summary; points, superimpositions, orientations and variables are followed "
                   "by their operands, each after a tab",
                   listing,
                   {{"analyses", ekAnalysis},
                    {"views", ekView},
                    {"drawings", ekGraphic},
                    {"variables", ekVariable},
                    {"points", kAllPoints},
                    {"digitized", ekDigPoint},
                    {"derived", ekDerPoint},
                    {"snakes", ekSnake},
                    {"areas", ekArea},
                    {"protocols", ekProtocol},
                    {"superimpositions", ekSupimp},
                    {"orientations", ekOrient},
                    {"relationships", ekHardSoft},
                    {"pcas", ekPCA}})
      .ValueName = "KIND";
  arguments.Option("--refs", "NAME", "print the elements that refer to the element NAME: kind, a tab and name, one a line",
                   refsOf);
  arguments.Option("--rename", "OLD=NEW", "give the element OLD the name NEW and save the type", rename);
  arguments.Option("--delete", "NAME", "delete the element NAME, unless another refers to it, and save the type",
                   deleteName);
  arguments.Exclusive({"--list", "--refs", "--rename", "--delete"});
  if (std::optional<int> exit = arguments.Parse()) return *exit;
  std::string oldName;
  std::string newName;
  if (!rename.empty()) {
    const size_t equals = rename.find('=');
    if (equals == std::string::npos || equals == 0)
      return arguments.Fail("--rename takes OLD=NEW, the old and the new name joined by '='");
    oldName = rename.substr(0, equals);
    newName = rename.substr(equals + 1);
  }

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
  TTypeEdits edits(type);
  bool edited = false;
  if (listing >= 0) {
    for (int code : ListedKinds(listing))
      for (const auto& element : type.ElementList(code)) out << element->Name << OperandFields(*element) << '\n';
  } else if (!refsOf.empty()) {
    const TXRayElement* element = NamedElement(type, refsOf, err);
    if (element == nullptr) return kExitFailure;
    for (const TXRayElement* referrer : type.Referrers(element))
      out << SummaryKindName(referrer->KindCode()) << '\t' << referrer->Name << '\n';
  } else if (!rename.empty() || !deleteName.empty()) {
    TXRayElement* element = NamedElement(type, rename.empty() ? deleteName : oldName, err);
    if (element == nullptr) return kExitFailure;
    const TResult done = rename.empty() ? edits.Delete(*element) : edits.Rename(*element, newName);
    if (!done) {
      err << TerminalText(done.Text().English()) << '\n';
      return kExitFailure;
    }
    out << TerminalText(type.ChangeHistory.back()) << '\n';
    edited = true;
  } else {
    out << "Type: " << type.Name << '\n';
    for (int code = 0; code < kElementListCount; ++code)
      out << SummaryKindName(code) << ": " << type.Count(code) << '\n';
  }

  if (edited && writeTo.empty()) writeTo = path;
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
