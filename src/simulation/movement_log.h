// The movement log of a radiograph: performing and logging movements, undo and redo of the
// last or of any entry with the later ones, reverse, repeat, delete, and its texts.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "simulation/movements.h"
#include "support/marked_text.h"

namespace lumacet {

enum class TMovementList { Undo, Redo };

// Logs a movement already performed. Without Connected nothing is logged; with Compile a
// movement like the last undo entry is added into it. True when it became an entry of its
// own. The redo list stays as it is.
bool AddMovement(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options);
// Performs, logs, and with Auto VTO performs and logs the induced movements of translations
// and rotations of the selection.
TResult DoTheMovement(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options);

// Reverts the last undo entry and moves it to the end of the redo list; nothing when empty.
TResult UndoLast(TRadiograph& radiograph, const TMovementOptions& options);
// Performs the last redo entry again and moves it to the end of the undo list.
TResult RedoLast(TRadiograph& radiograph, const TMovementOptions& options);
// Undoes the entry at `index` of the undo list and every later one, last first; redoes the
// entry at `index` of the redo list and every one undone before it (the later entries).
// A failure stops there with the lists matching the tracing.
TResult UndoFrom(TRadiograph& radiograph, std::size_t index, const TMovementOptions& options);
TResult RedoFrom(TRadiograph& radiograph, std::size_t index, const TMovementOptions& options);

// "Reverse Selected" reverts the chosen entries from the last to the first, "Repeat
// Selected" performs them again from the first to the last; neither changes the lists.
TResult ReverseEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices,
                       const TMovementOptions& options);
TResult RepeatEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices,
                      const TMovementOptions& options);
void DeleteEntries(TRadiograph& radiograph, TMovementList list, std::span<const std::size_t> indices);
void ClearEntries(TRadiograph& radiograph, TMovementList list);
// "Select Area": the entry's elements become the selection, every digitized point when it
// has none.
void SelectEntryElements(TRadiograph& radiograph, TMovementList list, std::size_t index);

// The log lines of one list at `width`.
std::vector<std::string> MovementLines(const TRadiograph& radiograph, TMovementList list, int width,
                                       bool originalArea);
// The saved and printed log: "Undo Movements:", its lines, "Redo Movements:", its lines, at
// width 200, one per line.
std::string MovementLogText(const TRadiograph& radiograph, bool originalArea);
// "&Undo: <last entry>" or "Can't Undo"; "&Redo: <last entry>" or "Can't Repeat". Without a
// radiograph, or one being digitized, the commands cannot run.
TText UndoCaption(const TRadiograph* radiograph, int width, bool originalArea);
TText RedoCaption(const TRadiograph* radiograph, int width, bool originalArea);
bool CanUndoMovement(const TRadiograph* radiograph);
bool CanRedoMovement(const TRadiograph* radiograph);

}  // namespace lumacet
