#include "imaging/image_commands.h"

#include <cmath>
#include <utility>

#include "imaging/bmp_codec.h"
#include "model/radiograph.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr double kBuiltInPixelSize = 3.9;

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

// Finds and decodes the image of `link`; the store is only touched on success.
bool LoadLink(const std::string& link, TImageStore& store, const TImageLoadSettings& settings,
              TImageLoadResult& result, TImageFileContents& contents, std::string& message) {
  result = TImageLoadResult{};
  message.clear();
  result.Search = FindImageFile(link, settings.DefaultFolder);
  if (result.Search.Name.empty()) return false;
  if (result.Search.Path.empty()) {
    message = ImageNotFoundMessage(result.Search.TriedPath);
    return false;
  }
  if (!ReadImageFile(result.Search.Path, settings.DicomWindowAdjust, contents, message)) return false;
  result.IsDicom = contents.IsDicom;
  result.Dicom = contents.Dicom;
  store.SetImage(std::move(contents.Raw));
  return true;
}

std::string SaveFailure(const std::string& path, const std::string& reason) {
  return "Could not save image file:\r\n   " + path + "\r\n\r\n" + reason;
}

}  // namespace

bool LoadDigBitmapFileName(TRadiograph& radiograph, TImageStore& store, const std::string& name,
                           const TImageLoadSettings& settings, TImageLoadResult& result, std::string& message) {
  TImageFileContents contents;
  if (!LoadLink(name, store, settings, result, contents, message)) return false;
  store.ImageVisible = true;
  radiograph.ImageFile = result.Search.Path;
  SetPixelSize(radiograph, contents, settings, true);
  // The new image is as its file has it: nothing of it is unsaved.
  radiograph.RecordImageChange(false, "");
  radiograph.RecordChange(true, "Image Loaded.");
  return true;
}

bool LoadImageWithTracing(TRadiograph& radiograph, TImageStore& store, const TImageLoadSettings& settings,
                          TImageLoadResult& result, std::string& message) {
  std::string link = radiograph.ImageFile;
  if (radiograph.IsType() && !settings.TypeFolder.empty()) {
    const TImageSearch inTypeFolder = FindImageFile(link, settings.TypeFolder);
    if (inTypeFolder.Folder.empty() && !inTypeFolder.Path.empty()) link = inTypeFolder.Path;
  }
  TImageFileContents contents;
  if (!LoadLink(link, store, settings, result, contents, message)) return false;
  radiograph.ImageFile = result.Search.Path;
  SetPixelSize(radiograph, contents, settings, false);
  return true;
}

bool DoImageSave(TRadiograph& radiograph, TImageStore& store, const std::string& path, const TJpegOptions& jpeg,
                 std::string& savedPath, std::string& message) {
  if (!store.HasImage()) {
    message = "There is no image to save.";
    return false;
  }
  std::string target = path;
  std::string extension = UpperExtension(path);
  if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG") target += ".jpg";

  std::string bytes;
  std::string reason;
  const bool encoded = extension == ".BMP" ? EncodeBmp(store.Display, TBmpWriteOptions{}, bytes)
                                           : EncodeJpeg(store.Display, jpeg, bytes, reason);
  if (!encoded) {
    message = SaveFailure(target, reason.empty() ? "The image cannot be encoded." : reason);
    return false;
  }
  const TWriteResult written = WriteFileAtomically(target, bytes);
  if (!written.Ok) {
    message = SaveFailure(target, written.Error);
    return false;
  }
  savedPath = target;
  radiograph.ImageFile = target;
  radiograph.RecordImageChange(false, "Image Saved.");
  return true;
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
