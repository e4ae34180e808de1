// The image a radiograph or type carries: the samples as loaded, the display bitmap
// rendered from them (what is shown, enhanced and saved), and one undo snapshot.
#pragma once

#include <optional>
#include <string>

#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

// Where an image lies on the tracing: its top-left corner, the size of one pixel in tracing
// units and its rotation.
struct TImageFrame {
  double OriginX = 0;  // tracing position of the image's top-left corner
  double OriginY = 0;
  double PixelWidth = 0;  // tracing units (tenths of a millimetre) per pixel
  double PixelHeight = 0;
  double Rotation = 0;  // radians, positive turns the image clockwise as displayed
};

class TImageStore {
 public:
  // The loaded window and gamma become the current ones and the display bitmap is
  // rendered from the samples; the undo snapshot of the previous image goes.
  void SetImage(TRawImage raw);

  bool HasImage() const { return !Display.Empty(); }

  // Keeps a copy of the display bitmap (or of a dialog's snapshot of it) for Undo.
  void SaveImageUndo();
  void SaveImageUndo(const TBitmap32& snapshot);
  // What turning or resampling the pixels needs undone: the bitmap, the samples (or a
  // dialog's snapshots of them) and where the image lay.
  void SaveGeometryUndo(const TBitmap32& display, const TRawImage& raw, const TImageFrame& frame);
  bool CanUndo() const { return !UndoImage.Empty(); }
  // Exchanges display and undo bitmaps, and the samples when a geometry operation kept
  // them: undo, then redo, then undo again. The caller exchanges UndoFrame with the
  // image's place.
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
  TRawImage UndoRaw;                   // only after a geometry operation
  std::optional<TImageFrame> UndoFrame;  // likewise
  bool UndoIsNext = true;
  bool ImageVisible = true;
};

}  // namespace lumacet
