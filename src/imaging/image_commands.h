// The image commands of a radiograph or type: loading, saving, closing and enhancing its
// image, each with the change it records. Dialogs and prompts are the caller's: these take
// the user's answers as arguments. A command that fails changes nothing.
#pragma once

#include <string>

#include "imaging/enhancement.h"
#include "imaging/image_file.h"
#include "imaging/image_link.h"
#include "imaging/jpeg_codec.h"
#include "model/image_store.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

struct TImageLoadSettings {
  std::string DefaultFolder;        // "BMP Path"
  double DefaultPixelWidth = 3.9;   // "BMP Scale X"
  double DefaultPixelHeight = 3.9;  // "BMP Scale Y"
  bool DicomWindowAdjust = true;    // "DICOM Window Adjust"
  std::string TypeFolder;           // a type's bare image name is looked for here first
  // The type's "New radiographs get current image scaling factors" and its pixel size.
  bool TypeScaleOverride = false;
  double TypePixelWidth = 0;
  double TypePixelHeight = 0;
};

// An image that was loaded: the file it came from and, for DICOM, what the file said.
struct TLoadedImage {
  std::string Path;
  bool IsDicom = false;
  TDicomInfo Dicom;     // for the patient-data question
};

// Loads an image chosen by the user (or named by automation) into the radiograph: the file
// is found by the folder rules, decoded, becomes the link, and sets the pixel size when
// the radiograph has none (DICOM spacing always applies to a newly loaded image).
// Records "Image Loaded.". A missing file fails with "Could not find image file: ...", a
// name without a file part with an empty text (nothing to tell).
TResultOf<TLoadedImage> LoadDigBitmapFileName(TRadiograph& radiograph, TImageStore& store, const std::string& name,
                                              const TImageLoadSettings& settings);

// Where the image of a radiograph being opened with its tracing is looked for: a type's
// bare name in the type folder first, then by the folder rules. What the search question
// names when the image is missing.
TImageSearch FindTracingImage(const TRadiograph& radiograph, const TImageLoadSettings& settings);

// Opens the image of a radiograph being opened with "Load Image with tracing", or of a type
// being opened: the stored link is resolved (FindTracingImage) and the found name stored
// back. A stored pixel size stands. When the image cannot be found or read the link is
// kept, and the failure is as for LoadDigBitmapFileName. Records nothing.
TResultOf<TLoadedImage> LoadImageWithTracing(TRadiograph& radiograph, TImageStore& store,
                                             const TImageLoadSettings& settings);

// Saves the display bitmap with all its edits: ".bmp" as a 32-bit bitmap, ".jpg" and
// ".jpeg" as JPEG with `jpeg`; any other name gets ".jpg" appended, so no file of another
// kind is overwritten with JPEG bytes. The link becomes the saved file; records "Image
// Saved.". Gives the name written.
TResultOf<std::string> DoImageSave(TRadiograph& radiograph, TImageStore& store, const std::string& path,
                                   const TJpegOptions& jpeg);

// Breaks the link after the user confirmed: display and undo bitmaps go, the link is
// cleared, "Link with image broken." is recorded. False without a display bitmap.
bool CloseImage(TRadiograph& radiograph, TImageStore& store);

enum class TImageAdjustment { Equalize, AdaptiveEqualize, AutoLevels, AdaptiveAutoLevels, Negative };

struct TEnhancementSettings {
  int AdaptiveSize = 10;  // "Adaptive Size", percent of the width
  int LevelsCutoff = 5;   // "Levels Cutoff", percent
};

// One of the direct image commands: keeps the undo snapshot, adjusts the display bitmap
// and records its change. False without a display bitmap.
bool AdjustImage(TRadiograph& radiograph, TImageStore& store, TImageAdjustment adjustment,
                 const TEnhancementSettings& settings, const TProgressFunction& progress = {});

enum class TImageDialog { Levels, BrightnessContrastGamma, Colorize };

// A dialog's OK: its snapshot (the image before the dialog) becomes the undo image and the
// change is recorded.
void CommitImageDialog(TRadiograph& radiograph, TImageStore& store, TImageDialog dialog, const TBitmap32& snapshot);

}  // namespace lumacet
