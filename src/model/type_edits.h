// The edits the type editors, the type browser's callers and the command line make to a
// radiograph type, each checked before it is kept and each undoable. An edit that would
// leave a reference to an element outside the type, an operand of the wrong class or a
// point or variable computed from itself is refused with the model's message, and the
// type is as it was. Every kept edit, and every undo and redo, records its change-history
// text on the type.
//
// The stack keeps the elements it deleted alive (an undo puts the same object back), so
// the references older steps hold stay good. Edits made to the type around the stack (a
// file load, a movement) make older steps meaningless: Clear the stack then.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/result.h"

namespace lumacet {

class TXRayElement;
class TXRayType;

// The history text of a definition change: "Changed Point: %s", "Changed Area: %s" ...
std::string ChangedText(const TXRayElement& element);

class TTypeEdits {
 public:
  explicit TTypeEdits(TXRayType& type);
  ~TTypeEdits();
  TTypeEdits(const TTypeEdits&) = delete;
  TTypeEdits& operator=(const TTypeEdits&) = delete;

  TXRayType& Type() const { return fType; }

  // A new element of a list code, named `name`; with `copyOf` (an element of the same code)
  // it takes that element's definition.
  TResultOf<TXRayElement*> Add(int code, const std::string& name, const TXRayElement* copyOf = nullptr);
  // Refused when another element of the kind (or of the kinds sharing its names) has it.
  TResult Rename(TXRayElement& element, const std::string& newName);
  // Refused with the "Cannot delete" message while anything refers to the element.
  TResult Delete(TXRayElement& element);

  // Any change of the element's definition; `edit` changes fields in place, and the
  // checks above decide whether the change stands. Changes of one element made one after
  // another under the same non-empty `field` (a number typed key by key) are one step.
  // A snake edit that would free points other elements refer to is refused.
  using TEdit = std::function<void(TXRayElement&)>;
  TResult Change(TXRayElement& element, const TEdit& edit, const std::string& field = {});
  // The kind of a digitized or derived point, variable, superimposition, orientation or
  // drawing; operands the new kind cannot hold are emptied as part of the same step.
  TResult SetKind(TXRayElement& element, int kind);
  // Operand slot (from 0) of an element with operands; null empties it.
  TResult SetOperand(TXRayElement& element, int slot, TXRayElement* operand);
  // A click at (x, y) in tracing units on the type, for `chosen`, the element of the editor
  // last active: a digitized point takes it as its template position ("Digitized Point."),
  // a "Preset" one also as its parameters to a hundredth of a millimetre; a "Fixed" derived
  // point as its parameters ("Digitized Fixed Point."); a snake as a new last point; a
  // variable as its label's offset from its anchor. Refused for the other elements.
  TResult DigitizeAt(TXRayElement& chosen, double x, double y);
  // The new order of a kind's list (a permutation of it); records "Changed Type: %s".
  TResult Reorder(int code, const std::vector<TXRayElement*>& order);

  bool CanUndo() const { return !fUndo.empty(); }
  bool CanRedo() const { return !fRedo.empty(); }
  // The history text of the step the next undo (redo) takes back (makes again).
  std::string UndoText() const;
  std::string RedoText() const;
  // Refused, with the stack as it was, when the type has since changed around the stack so
  // that the step cannot be taken back.
  TResult Undo();
  TResult Redo();
  void Clear();

  class TStep;

 private:
  TResult Keep(std::unique_ptr<TStep> step);
  // Change, recording `history` instead of the element's change text.
  TResult ChangeRecording(TXRayElement& element, const TEdit& edit, const std::string& field,
                          const std::string& history);

  TXRayType& fType;
  std::vector<std::unique_ptr<TStep>> fUndo;
  std::vector<std::unique_ptr<TStep>> fRedo;
};

}  // namespace lumacet
