#include "model/image_store.h"

#include <utility>

#include "model/raw_image_ops.h"

namespace lumacet {

void TImageStore::SetImage(TRawImage raw) {
  Raw = std::move(raw);
  Raw.WindowLow = Raw.LoadedWindowLow;
  Raw.WindowHigh = Raw.LoadedWindowHigh;
  Raw.Gamma = Raw.LoadedGamma;
  Display.Clear();
  RenderToBitmap(Raw, Display);
  UndoImage.Clear();
  ClearRawImage(UndoRaw);
  UndoFrame.reset();
  UndoIsNext = true;
}

void TImageStore::SaveImageUndo() { SaveImageUndo(Display); }

void TImageStore::SaveImageUndo(const TBitmap32& snapshot) {
  UndoImage = snapshot;
  ClearRawImage(UndoRaw);
  UndoFrame.reset();
  UndoIsNext = true;
}

void TImageStore::SaveGeometryUndo(const TBitmap32& display, const TRawImage& raw, const TImageFrame& frame) {
  UndoImage = display;
  UndoRaw = raw;
  UndoFrame = frame;
  UndoIsNext = true;
}

void TImageStore::SwapImageUndo() {
  if (!CanUndo()) return;
  std::swap(Display, UndoImage);
  if (UndoFrame) std::swap(Raw, UndoRaw);
  UndoIsNext = !UndoIsNext;
}

std::string TImageStore::UndoCaption() const { return UndoIsNext ? "&Undo Image" : "&Redo Image"; }

void TImageStore::ResetImageFromRaw() {
  if (!Raw.HasData()) return;
  Raw.WindowLow = Raw.LoadedWindowLow;
  Raw.WindowHigh = Raw.LoadedWindowHigh;
  Raw.Gamma = Raw.LoadedGamma;
  RenderToBitmap(Raw, Display);
}

void TImageStore::CloseImage() {
  Display.Clear();
  UndoImage.Clear();
  ClearRawImage(UndoRaw);
  UndoFrame.reset();
}

}  // namespace lumacet
