#include "imaging/image_commands.h"

#include <cmath>
#include <filesystem>
#include <utility>

#include "imaging/bmp_codec.h"
#include "model/radiograph.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr double kBuiltInPixelSize = 3.9;
constexpr TTextSource kNoImageToSave = LcText("Image", "There is no image to save.");
constexpr TTextSource kSaveFailure = LcText("Image", "Could not save image file:\r\n   %1\r\n\r\n%2");
constexpr TTextSource kCannotEncode = LcText("Image", "The image cannot be encoded.");

double UsablePixelSize(double value) { return std::isfinite(value) && value > 0 ? value : kBuiltInPixelSize; }

// A newly linked image: DICOM spacing sets the pixel size; otherwise a radiograph without
// one takes the type's (when the type says so) or the default.
void SetPixelSize(TRadiograph& radiograph, const TImageFileContents& contents, const TImageLoadSettings& settings,
                  bool spacingOverrides) {
  if (contents.IsDicom && contents.Dicom.HasPixelSpacing && (spacingOverrides || radiograph.PixelWidth == 0)) {
    radiograph.PixelWidth = contents.Dicom.PixelWidth;
    radiograph.PixelHeight = contents.Dicom.PixelHeight;
  } else if (radiograph.PixelWidth == 0) {
    const bool fromType = settings.TypeScaleOverride && settings.TypePixelWidth > 0 && settings.TypePixelHeight > 0;
    radiograph.PixelWidth = UsablePixelSize(fromType ? settings.TypePixelWidth : settings.DefaultPixelWidth);
    radiograph.PixelHeight = UsablePixelSize(fromType ? settings.TypePixelHeight : settings.DefaultPixelHeight);
  }
}

// Decodes the image a search found into the store, which is only touched on success; the
// contents keep what the file said besides its pixels.
TResultOf<TImageFileContents> LoadFound(const TImageSearch& search, TImageStore& store,
                                        const TImageLoadSettings& settings) {
  if (search.Name.empty()) return TResult::Failure({}, "the link names no file");
  if (search.Path.empty()) return TResult::Failure(ImageNotFoundMessage(search.TriedPath), "no such file");
  TResultOf<TImageFileContents> contents = ReadImageFile(search.Path, settings.DicomWindowAdjust);
  if (contents) store.SetImage(std::move(contents->Raw));
  return contents;
}

TLoadedImage Loaded(const std::string& path, const TImageFileContents& contents) {
  return TLoadedImage{path, contents.IsDicom, contents.Dicom};
}

}  // namespace

TResultOf<TLoadedImage> LoadDigBitmapFileName(TRadiograph& radiograph, TImageStore& store, const std::string& name,
                                              const TImageLoadSettings& settings) {
  const TImageSearch search = FindImageFile(name, settings.DefaultFolder);
  TResultOf<TImageFileContents> contents = LoadFound(search, store, settings);
  if (!contents) return contents.Outcome();
  store.ImageVisible = true;
  radiograph.ImageFile = search.Path;
  SetPixelSize(radiograph, *contents, settings, true);
  // The new image is as its file has it: nothing of it is unsaved.
  radiograph.RecordImageChange(false, "");
  radiograph.RecordChange(true, "Image Loaded.");
  return Loaded(search.Path, *contents);
}

TImageSearch FindTracingImage(const TRadiograph& radiograph, const TImageLoadSettings& settings) {
  std::string link = radiograph.ImageFile;
  if (radiograph.IsType() && !settings.TypeFolder.empty()) {
    const TImageSearch inTypeFolder = FindImageFile(link, settings.TypeFolder);
    if (inTypeFolder.Folder.empty() && !inTypeFolder.Path.empty()) link = inTypeFolder.Path;
  }
  return FindImageFile(link, settings.DefaultFolder);
}

TResultOf<TLoadedImage> LoadImageWithTracing(TRadiograph& radiograph, TImageStore& store,
                                             const TImageLoadSettings& settings) {
  const TImageSearch search = FindTracingImage(radiograph, settings);
  TResultOf<TImageFileContents> contents = LoadFound(search, store, settings);
  if (!contents) return contents.Outcome();
  radiograph.ImageFile = search.Path;
  SetPixelSize(radiograph, *contents, settings, false);
  return Loaded(search.Path, *contents);
}

TResultOf<std::string> DoImageSave(TRadiograph& radiograph, TImageStore& store, const std::string& path,
                                   const TJpegOptions& jpeg) {
  if (!store.HasImage()) return TResult::Failure(kNoImageToSave, "no display bitmap");
  std::string target = path;
  std::string extension = UpperExtension(path);
  if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG") target += ".jpg";

  std::string bytes;
  std::string reason;
  const bool encoded = extension == ".BMP" ? EncodeBmp(store.Display, TBmpWriteOptions{}, bytes)
                                           : EncodeJpeg(store.Display, jpeg, bytes, reason);
  if (!encoded) {
    if (!reason.empty()) return TResult::Failure(TText(kSaveFailure, {target, reason}), reason);
    return TResult::Failure(TText(kSaveFailure, {TText::Verbatim(target), kCannotEncode}),
                            "the encoder refused the bitmap");
  }
  const TWriteResult written = WriteFileAtomically(target, bytes);
  if (!written.Ok) return TResult::Failure(TText(kSaveFailure, {target, written.Error}), written.Error);
  // A new name moves the record's link to the new file: the old file no longer holds what
  // is shown, and the new one would be orphaned otherwise. The record must be saved to keep it.
  if (radiograph.ImageFile != target) {
    radiograph.ImageFile = target;
    radiograph.RecordChange(true, "Image linked to " + std::filesystem::path(target).filename().string() + ".");
  }
  radiograph.RecordImageChange(false, "Image Saved.");
  return target;
}

bool CloseImage(TRadiograph& radiograph, TImageStore& store) {
  if (!store.HasImage()) return false;
  store.CloseImage();
  radiograph.ImageFile.clear();
  radiograph.RecordImageChange(false, "");
  radiograph.RecordChange(true, "Link with image broken.");
  return true;
}

bool AdjustImage(TRadiograph& radiograph, TImageStore& store, TImageAdjustment adjustment,
                 const TEnhancementSettings& settings, const TProgressFunction& progress) {
  if (!store.HasImage()) return false;
  store.SaveImageUndo();
  const char* text = "";
  switch (adjustment) {
    case TImageAdjustment::Equalize:
      Equalize(store.Display);
      text = "Image Equalized.";
      break;
    case TImageAdjustment::AdaptiveEqualize:
      AdaptiveEqualize(store.Display, settings.AdaptiveSize, progress);
      text = "Image Adaptively Equalized.";
      break;
    case TImageAdjustment::AutoLevels:
      AutoLevels(store.Display, settings.LevelsCutoff);
      text = "Image Levels Adjusted.";
      break;
    case TImageAdjustment::AdaptiveAutoLevels:
      AdaptiveAutoLevels(store.Display, settings.AdaptiveSize, settings.LevelsCutoff, progress);
      text = "Image Levels Adaptively Adjusted.";
      break;
    case TImageAdjustment::Negative:
      NegativeImage(store.Display);
      text = "Image Inverted.";
      break;
  }
  radiograph.RecordImageChange(true, text);
  return true;
}

void CommitImageDialog(TRadiograph& radiograph, TImageStore& store, TImageDialog dialog, const TBitmap32& snapshot) {
  store.SaveImageUndo(snapshot);
  const char* text = dialog == TImageDialog::Levels                    ? "Image Levels Adjusted."
                     : dialog == TImageDialog::BrightnessContrastGamma ? "Image Brightness/Contrast Changed."
                                                                       : "Image Colorized.";
  radiograph.RecordImageChange(true, text);
}

}  // namespace lumacet
