// The image a radiograph or type carries: the samples as loaded, the display bitmap
// rendered from them (what is shown, enhanced and saved), and one undo snapshot.
#pragma once

#include <string>

#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

class TImageStore {
 public:
  // The loaded window and gamma become the current ones and the display bitmap is
  // rendered from the samples; the undo snapshot of the previous image goes.
  void SetImage(TRawImage raw);

  bool HasImage() const { return !Display.Empty(); }

  // Keeps a copy of the display bitmap (or of a dialog's snapshot of it) for Undo.
  void SaveImageUndo();
  void SaveImageUndo(const TBitmap32& snapshot);
  bool CanUndo() const { return !UndoImage.Empty(); }
  // Exchanges display and undo bitmaps: undo, then redo, then undo again.
  void SwapImageUndo();
  // "&Undo Image" or "&Redo Image".
  std::string UndoCaption() const;

  // Window and gamma back to their load-time values and the display rendered anew, which
  // drops every edit of the display bitmap. Nothing happens without raw samples.
  void ResetImageFromRaw();

  // Discards the display and undo bitmaps; the raw samples stay until the next load.
  void CloseImage();

  TRawImage Raw;
  TBitmap32 Display;  // empty: no image
  TBitmap32 UndoImage;
  bool UndoIsNext = true;
  bool ImageVisible = true;
};

}  // namespace lumacet
