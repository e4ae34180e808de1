#include "shell/command_reasons.h"

#include <algorithm>
#include <initializer_list>

#include "model/xray_type.h"
#include "shell/workspace.h"

namespace lumacet {

namespace {

bool OneOf(std::string_view id, std::initializer_list<std::string_view> ids) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool StartsWith(std::string_view id, std::string_view prefix) { return id.substr(0, prefix.size()) == prefix; }

// Commands that act on the current object whatever its kind.
bool NeedsCurrent(std::string_view id) {
  return OneOf(id, {"file.save", "file.save_into", "file.close", "file.properties", "tools.pca_viewer", "type.browser", "image.open",
                    "image.visible", "image.acquire"});
}

// Commands that act on the current radiograph, a type will not do.
bool NeedsRadiograph(std::string_view id) {
  return StartsWith(id, "image.") || StartsWith(id, "tracing.") || StartsWith(id, "view.detailed") ||
         OneOf(id, {"file.duplicate", "view.copy_results", "view.save_results", "tools.sort_by_shape"});
}

bool NeedsImage(std::string_view id) {
  return StartsWith(id, "image.") && !OneOf(id, {"image.open", "image.visible", "image.acquire"});
}

// Commands that move the tracing, or undo or redo a movement.
bool MovesTracing(std::string_view id) {
  return OneOf(id, {"tracing.undo", "tracing.redo", "tracing.flip_vertical", "tracing.flip_horizontal",
                    "tracing.scale", "tracing.select_all", "tracing.superimpose", "tracing.orientate",
                    "tracing.orientate_choose"});
}

}  // namespace

bool EditsOpenType(std::string_view id) {
  for (std::string_view command : kTypeEditorCommands)
    if (command == id) return true;
  return false;
}

TText WhyDisabled(std::string_view id, const TWorkspace& workspace) {
  const TCommandStates states = workspace.Commands();
  const TRadiograph* current = workspace.Current();
  if (OneOf(id, {"file.new", "file.open", "file.new_type", "file.open_type", "file.duplicate"}) && !states.AddObject)
    return TText(LcText("CommandReasons", "All %1 places hold an object: close one to make room."),
                 {std::to_string(kSlotCount)});
  if (OneOf(id, {"file.save_all", "file.close_all", "tracing.sort"}) && !states.AnyOccupied)
    return LcText("CommandReasons", "Nothing is open.");
  if (EditsOpenType(id) && (current == nullptr || !current->IsType()))
    return LcText("CommandReasons", "Open a type for editing first (File > Open Type...).");
  if ((NeedsCurrent(id) || NeedsRadiograph(id)) && current == nullptr)
    return LcText("CommandReasons", "Open a radiograph first.");
  if (NeedsRadiograph(id) && current->IsType() && !NeedsCurrent(id))
    return LcText("CommandReasons", "The current object is a type: choose a radiograph.");
  if (id == "tools.digitizer" && (current == nullptr || !current->Digitizing))
    return LcText("CommandReasons", "Start digitizing first (File > New... or Tracing > Digitize...).");
  if (current == nullptr || current->IsType()) return {};
  if ((OneOf(id, {"tracing.get_coordinates", "tracing.digitize", "tracing.set_reference", "tracing.set_morph_source"}) ||
       MovesTracing(id)) &&
      current->Digitizing)
    return LcText("CommandReasons", "Finish digitizing first.");
  if ((OneOf(id, {"tracing.get_coordinates", "tracing.digitize"}) || MovesTracing(id)) && !current->Visible)
    return LcText("CommandReasons", "The tracing is hidden: show it first.");
  if (id == "tracing.undo" && current->UndoMovements.empty()) return LcText("CommandReasons", "Nothing to undo.");
  if (id == "tracing.redo" && current->RedoMovements.empty()) return LcText("CommandReasons", "Nothing to redo.");
  if (OneOf(id, {"tracing.flip_vertical", "tracing.flip_horizontal"}) && current->Selection.empty())
    return LcText("CommandReasons", "Select points first (Tools > Select / Move or Tracing > Select All).");
  if (id == "tracing.superimpose" && current->Type() != nullptr && current->Type()->ElementList(ekSupimp).empty())
    return LcText("CommandReasons", "The radiograph's type defines no superimposition.");
  if (NeedsImage(id)) {
    if (!current->Image.HasImage())
      return LcText("CommandReasons", "The radiograph has no image: open one first (Image > Open...).");
    if (id == "image.undo" && !current->Image.CanUndo()) return LcText("CommandReasons", "Nothing to undo.");
    if (id == "image.reset" && !current->Image.Raw.HasData())
      return LcText("CommandReasons", "The image keeps no original to go back to.");
    if (!current->Image.ImageVisible && !OneOf(id, {"image.save", "image.close", "image.copy"}))
      return LcText("CommandReasons", "The image is hidden: show it first (Image > Visible).");
    // Asked only of a disabled command: with a shown image the one thing missing is an
    // enhancement to repeat.
    if (id == "image.adjust_again")
      return LcText("CommandReasons", "Make an enhancement first: this button repeats the last one.");
  }
  return {};
}

TText NotOfferedYet() { return LcText("CommandReasons", "Not part of this version of Lumacet yet."); }

}  // namespace lumacet
