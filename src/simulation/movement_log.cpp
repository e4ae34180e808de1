#include "simulation/movement_log.h"

#include <algorithm>

#include "model/radiograph.h"
#include "model/xray_type.h"
#include "simulation/vto.h"

namespace lumacet {

namespace {

std::vector<TMovement>& Entries(TRadiograph& r, TMovementList list) {
  return list == TMovementList::Undo ? r.UndoMovements : r.RedoMovements;
}

const std::vector<TMovement>& Entries(const TRadiograph& r, TMovementList list) {
  return list == TMovementList::Undo ? r.UndoMovements : r.RedoMovements;
}

// Valid positions of the list, ascending, each once.
std::vector<std::size_t> Chosen(std::span<const std::size_t> indices, std::size_t size) {
  std::vector<std::size_t> chosen(indices.begin(), indices.end());
  std::erase_if(chosen, [size](std::size_t i) { return i >= size; });
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

}  // namespace

bool AddMovement(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options) {
  if (!options.Connected) return false;
  auto& undo = radiograph.UndoMovements;
  if (options.Compile && !undo.empty()) {
    if (std::optional<TMovement> combined = CompileMovements(movement, undo.back())) {
      undo.back() = std::move(*combined);
      return false;
    }
  }
  undo.push_back(movement);
  return true;
}

TResult DoTheMovement(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options) {
  if (TResult done = ApplyMovement(movement, radiograph, options); !done) return done;
  AddMovement(radiograph, movement, options);
  if (!options.AutoVto) return {};
  for (const TMovement& m : InducedMovements(radiograph, movement)) {
    if (TResult done = ApplyMovement(m, radiograph, options); !done) return done;
    AddMovement(radiograph, m, options);
  }
  return {};
}

TResult UndoLast(TRadiograph& radiograph, const TMovementOptions& options) {
  if (radiograph.UndoMovements.empty()) return {};
  return UndoFrom(radiograph, radiograph.UndoMovements.size() - 1, options);
}

TResult RedoLast(TRadiograph& radiograph, const TMovementOptions& options) {
  if (radiograph.RedoMovements.empty()) return {};
  return RedoFrom(radiograph, radiograph.RedoMovements.size() - 1, options);
}

TResult UndoFrom(TRadiograph& radiograph, std::size_t index, const TMovementOptions& options) {
  auto& undo = radiograph.UndoMovements;
  while (index < undo.size()) {
    if (TResult done = RevertMovement(undo.back(), radiograph, options); !done) return done;
    radiograph.RedoMovements.push_back(std::move(undo.back()));
    undo.pop_back();
  }
  return {};
}

TResult RedoFrom(TRadiograph& radiograph, std::size_t index, const TMovementOptions& options) {
  auto& redo = radiograph.RedoMovements;
  while (index < redo.size()) {
    if (TResult done = ApplyMovement(redo.back(), radiograph, options); !done) return done;
    radiograph.UndoMovements.push_back(std::move(redo.back()));
    redo.pop_back();
  }
  return {};
}

TResult ReverseEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices,
                       const TMovementOptions& options) {
  const auto& entries = Entries(radiograph, list);
  const std::vector<std::size_t> chosen = Chosen(indices, entries.size());
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
    if (TResult done = RevertMovement(entries[*it], radiograph, options); !done) return done;
  return {};
}

TResult RepeatEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices,
                      const TMovementOptions& options) {
  const auto& entries = Entries(radiograph, list);
  for (std::size_t i : Chosen(indices, entries.size()))
    if (TResult done = ApplyMovement(entries[i], radiograph, options); !done) return done;
  return {};
}

void DeleteEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices) {
  auto& entries = Entries(radiograph, list);
  const std::vector<std::size_t> chosen = Chosen(indices, entries.size());
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(*it));
}

void ClearEntries(TRadiograph& radiograph, TMovementList list) { Entries(radiograph, list).clear(); }

void SelectEntryElements(TRadiograph& radiograph, TMovementList list, std::size_t index) {
  const auto& entries = Entries(radiograph, list);
  if (index >= entries.size() || radiograph.Type() == nullptr) return;
  if (entries[index].Elements) {
    radiograph.Selection = *entries[index].Elements;
    return;
  }
  radiograph.Selection.clear();
  for (const auto& e : radiograph.Type()->ElementList(ekDigPoint)) radiograph.Selection.push_back(e.get());
}

std::vector<std::string> MovementLines(const TRadiograph& radiograph, TMovementList list, int width,
                                       bool originalArea) {
  std::vector<std::string> lines;
  for (const TMovement& m : Entries(radiograph, list)) lines.push_back(MovementText(m, width, originalArea));
  return lines;
}

std::string MovementLogText(const TRadiograph& radiograph, bool originalArea) {
  std::string text = "Undo Movements:\n";
  for (const std::string& line : MovementLines(radiograph, TMovementList::Undo, 200, originalArea))
    text += line + "\n";
  text += "Redo Movements:\n";
  for (const std::string& line : MovementLines(radiograph, TMovementList::Redo, 200, originalArea))
    text += line + "\n";
  return text;
}

bool CanUndoMovement(const TRadiograph* r) {
  return r != nullptr && !r->Digitizing && r->Visible && !r->UndoMovements.empty();
}

bool CanRedoMovement(const TRadiograph* r) {
  return r != nullptr && !r->Digitizing && r->Visible && !r->RedoMovements.empty();
}

TText UndoCaption(const TRadiograph* r, int width, bool originalArea) {
  if (!CanUndoMovement(r)) return LcText("Movements", "Can't Undo");
  return TText(LcText("Movements", "&Undo: %1"), {MovementText(r->UndoMovements.back(), width, originalArea)});
}

TText RedoCaption(const TRadiograph* r, int width, bool originalArea) {
  if (!CanRedoMovement(r)) return LcText("Movements", "Can't Repeat");
  return TText(LcText("Movements", "&Redo: %1"), {MovementText(r->RedoMovements.back(), width, originalArea)});
}

}  // namespace lumacet
