#include "shell/workspace.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "persistence/type_file.h"
#include "simulation/superimposition.h"
#include "support/dates.h"

namespace lumacet {

namespace {

TText SavedText(const std::string& what, const std::string& path) {
  return TText(LcText("Workspace", "Saved %1 to %2"), {what, std::filesystem::path(path).filename().string()});
}

bool HasLcrExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".lcr";
}

}  // namespace

TImageLoadSettings ImageLoadSettingsFor(const TRadiograph& object, const TImageLoadSettings& base) {
  TImageLoadSettings settings = base;
  if (const TXRayType* type = object.Type(); type != nullptr && !object.IsType()) {
    settings.TypeScaleOverride = type->ScaleOverride;
    settings.TypePixelWidth = type->PixelWidth;
    settings.TypePixelHeight = type->PixelHeight;
  }
  return settings;
}

bool NeedsImageNotSavedReminder(const TRadiograph& object, const TWorkspaceOptions& options) {
  return options.RemindImageNotSaved && !object.IsType() && object.Image.HasImage() && object.ImageFile.empty();
}

bool NeedsSavePrompt(const TRadiograph& object) { return object.Modified || object.ImageModified; }

TSavePromptText SavePromptText(const TRadiograph& object, const TTextFormats& formats) {
  TSavePromptText text;
  text.Description = object.Description(formats);
  text.History = object.ChangeHistory;
  if (!object.ImageModified) {
    text.ImageLine = "Image saved.";
  } else if (!object.ImageFile.empty()) {
    text.ImageLine = "The image has changed.";
  } else {
    text.ImageLine = "The image has not been saved\r\nand will be lost!";
  }
  text.TracingLine = object.Modified ? "The tracing has changed!" : "Tracing saved.";
  text.CanSaveImage = object.ImageModified;
  text.CanSaveTracing = object.Modified;
  return text;
}

std::string BackUpFile(const std::string& path, std::string& reason) {
  // rename() would silently replace an older backup, so the old file is hard-linked under
  // the first free number instead; the save then replaces the original atomically.
  for (int n = 1; n < 10000; ++n) {
    const std::string backup = std::filesystem::path(path).replace_extension("." + std::to_string(n)).string();
    if (::link(path.c_str(), backup.c_str()) == 0) return backup;
    if (errno != EEXIST) {
      reason = std::strerror(errno);
      return {};
    }
  }
  reason = "no free backup number";
  return {};
}

TWorkspace::TWorkspace(TWorkspaceOptions options)
    : fOptions(std::move(options)), fTypes(std::make_unique<TTypeCache>(fOptions.Folders)) {}

TWorkspace::~TWorkspace() {
  // Radiographs first: they refer to the cached types.
  for (auto& slot : fSlots) slot.reset();
}

void TWorkspace::SetOptions(TWorkspaceOptions options) {
  if (options.Data.ShowLifeSize != fOptions.Data.ShowLifeSize) {
    for (auto& slot : fSlots) {
      // A digitizing radiograph works uncorrected; ending digitizing applies the option.
      if (!slot || slot->IsType() || slot->Digitizing) continue;
      auto& xray = static_cast<TXRay&>(*slot);
      if (options.Data.ShowLifeSize)
        xray.CorrectMagnification();
      else
        xray.UncorrectMagnification();
    }
  }
  if (options.Folders.TypeFolder != fOptions.Folders.TypeFolder ||
      options.Folders.ImageFolder != fOptions.Folders.ImageFolder) {
    fRetiredTypes.push_back(std::move(fTypes));
    fTypes = std::make_unique<TTypeCache>(options.Folders);
  }
  fOptions = std::move(options);
}

std::vector<std::string> TWorkspace::TypeNames() const {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string& folder = fOptions.Folders.TypeFolder;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error))
    if (HasLcrExtension(it->path().string()) && it->is_regular_file(error)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  std::vector<std::string> names;
  for (const fs::path& file : files)
    if (std::optional<std::string> name = ReadTypeName(file.string()); name && !name->empty()) names.push_back(*name);
  return names;
}

TRadiograph* TWorkspace::Slot(int slot) const {
  return slot >= 0 && slot < kSlotCount ? fSlots[static_cast<size_t>(slot)].get() : nullptr;
}

int TWorkspace::EmptyPlaceAtBelow(int n) const {
  for (int i = std::max(n, 0); i < kSlotCount; ++i)
    if (!fSlots[static_cast<size_t>(i)]) return i;
  return -1;
}

int TWorkspace::XRayPosition(const TRadiograph* object) const {
  for (int i = 0; i < kSlotCount; ++i)
    if (object != nullptr && fSlots[static_cast<size_t>(i)].get() == object) return i;
  return kSlotCount;
}

bool TWorkspace::AnyOccupied() const {
  return std::any_of(fSlots.begin(), fSlots.end(), [](const auto& slot) { return slot != nullptr; });
}

void TWorkspace::SetCurrent(TRadiograph* object) {
  fCurrent = object;
  for (auto& slot : fSlots)
    if (slot) slot->Selected = slot.get() == object;
}

TXRay* TWorkspace::Reference() const {
  TRadiograph* object = Slot(fReferenceSlot);
  return object != nullptr && !object->IsType() ? static_cast<TXRay*>(object) : nullptr;
}

std::string TWorkspace::Heading(const TRadiograph& object) const {
  if (object.IsType()) return object.Name;
  const auto& xray = static_cast<const TXRay&>(object);
  std::string heading = xray.Name.empty() ? "(no name)" : xray.Name;
  if (xray.DateTaken != 0) heading += ", " + FormatDate(xray.DateTaken, fOptions.Formats.ShortDateFormat);
  if (xray.Type() != nullptr) heading += ", " + xray.Type()->Name;
  return heading;
}

std::string TWorkspace::WindowTitle() const {
  if (fCurrent == nullptr) return "Lumacet";
  return Heading(*fCurrent) + (!fCurrent->IsType() && fCurrent->Modified ? " *" : "") + " - Lumacet";
}

void TWorkspace::SetAsReference() {
  if (fCurrent != nullptr) fReferenceSlot = XRayPosition(fCurrent);
}

void TWorkspace::SetAsMorphSource() {
  if (fCurrent != nullptr) fMorphSourceSlot = XRayPosition(fCurrent);
}

TXRayType* TWorkspace::GetOrLoadType(const std::string& name, bool quiet, TWorkspacePrompts& prompts) {
  TResultOf<TXRayType*> type = fTypes->GetOrLoadType(name);
  if (!type && !quiet) prompts.ShowText(type.Text());
  return type.ValueOr(nullptr);
}

int TWorkspace::Place(std::unique_ptr<TRadiograph> object) {
  const int slot = EmptyPlaceAtBelow(0);
  if (slot < 0) return -1;
  TRadiograph* placed = object.get();
  fSlots[static_cast<size_t>(slot)] = std::move(object);
  SetCurrent(placed);
  return slot;
}

int TWorkspace::NewXRayBasic(const std::string& typeName, bool quiet, TWorkspacePrompts& prompts) {
  if (EmptyPlaceAtBelow(0) < 0) return -1;
  TXRayType* type = GetOrLoadType(typeName, quiet, prompts);
  if (type == nullptr) return -2;
  auto xray = std::make_unique<TXRay>();
  xray->SetType(type);
  if (type->PositionOverride) {
    xray->ImageOriginX = type->ImageOriginX;
    xray->ImageOriginY = type->ImageOriginY;
    xray->ImageRotation = type->ImageRotation;
  }
  return Place(std::move(xray));
}

int TWorkspace::OpenRecords(const std::string& dataFile, const std::vector<int>& records, bool quiet,
                            TWorkspacePrompts& prompts, bool loadImages) {
  const std::string path = ResolveDataFile(dataFile);
  const TTypeResolver resolver = fTypes->Resolver();
  int opened = 0;
  int lastFailure = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const int record = records[i];
    if (EmptyPlaceAtBelow(0) < 0) {
      if (!quiet)
        prompts.ShowText(TText(LcText("Workspace", "%1 of the %2 chosen records were not opened: all %3 places hold an "
                                                   "object. Close some and open the rest again."),
                               {std::to_string(records.size() - i), std::to_string(records.size()),
                                std::to_string(kSlotCount)}));
      break;
    }
    auto xray = std::make_unique<TXRay>();
    const int stage = LoadFromDataFile(*xray, path, record, resolver, fOptions.Data);
    if (stage != lsLoaded) {
      lastFailure = stage;
      if (!quiet) prompts.ShowMessage(FillIn(kErrorLoadingMessage, std::to_string(stage)));
      continue;
    }
    TRadiograph& placed = *xray;
    Place(std::move(xray));
    if (fOptions.AutoOrientate) AutoOrientate(placed, Movements);
    if (loadImages) OpenImage(placed, quiet, prompts);
    ++opened;
  }
  if (opened > 0 && fOptions.SortOnLoading) Sort();
  return opened > 0 ? opened : -lastFailure;
}

bool TWorkspace::Permit(std::string_view action, TWorkspacePrompts& prompts) const {
  if (fLevels.Permit(action)) return true;
  prompts.ShowText(fLevels.DeniedMessage());
  return false;
}

int TWorkspace::NewType(const std::string& path, TWorkspacePrompts& prompts) {
  if (!Permit("NewType", prompts) || EmptyPlaceAtBelow(0) < 0) return -1;
  if (!HasLcrExtension(path)) {
    prompts.ShowMessage(std::string(kNotLcrMessage));
    return -1;
  }
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !prompts.Confirm(std::string(kFileErasedQuestion))) return -1;
  auto type = std::make_unique<TXRayType>();
  type->DataFile = path;
  if (TResultOf<TText> saved = type->SaveToTypeFile(path, fOptions.Folders); !saved) {
    prompts.ShowText(saved.Text());
    return -1;
  }
  return Place(std::move(type));
}

int TWorkspace::OpenType(const std::string& path, TWorkspacePrompts& prompts) {
  if (!Permit("OpenType", prompts) || EmptyPlaceAtBelow(0) < 0) return -1;
  auto type = std::make_unique<TXRayType>();
  type->DataFile = path;
  if (TResult loaded = type->LoadFromTypeFile(path, fOptions.Folders); !loaded) {
    prompts.ShowText(loaded.Text());
    return -1;
  }
  TRadiograph& placed = *type;
  const int slot = Place(std::move(type));
  if (fOptions.AutoOrientate) AutoOrientate(placed, Movements);
  OpenImage(placed, false, prompts);
  return slot;
}

// A missing or unreadable image is reported, never fatal: the object opens without it and
// keeps its link, so that saving it does not lose the link. A missing one may be searched
// for by the user, whose folder may become the default image folder.
void TWorkspace::OpenImage(TRadiograph& object, bool quiet, TWorkspacePrompts& prompts) {
  if (object.ImageFile.empty()) return;
  TResultOf<TLoadedImage> loaded =
      LoadImageWithTracing(object, object.Image, ImageLoadSettingsFor(object, fOptions.Images));
  if (loaded || quiet) return;
  const TImageSearch search = FindTracingImage(object, ImageLoadSettingsFor(object, fOptions.Images));
  const std::string defaultFolder = fOptions.Images.DefaultFolder;
  if (search.Path.empty() && !search.Name.empty() &&
      prompts.ConfirmText(MissingImageQuestion(search, defaultFolder))) {
    const std::string chosen = prompts.ChooseImageFile(defaultFolder, search.Name);
    if (!chosen.empty()) {
      const std::string folder = std::filesystem::path(chosen).parent_path().string();
      if (folder != defaultFolder && prompts.ConfirmText(DefaultFolderQuestion(folder))) {
        fOptions.Images.DefaultFolder = folder;
        fOptions.Data.ImageFolder = folder;
      }
      const std::string link = object.ImageFile;
      object.ImageFile = chosen;
      loaded = LoadImageWithTracing(object, object.Image, ImageLoadSettingsFor(object, fOptions.Images));
      if (loaded) return;
      object.ImageFile = link;
    }
  }
  if (!loaded.Text().Empty()) prompts.ShowText(loaded.Text());
}

bool TWorkspace::Save(TRadiograph& object, TWorkspacePrompts& prompts) {
  return object.IsType() ? SaveType(static_cast<TXRayType&>(object), prompts)
                         : SaveXRay(static_cast<TXRay&>(object), prompts);
}

bool TWorkspace::SaveType(TXRayType& type, TWorkspacePrompts& prompts) {
  if (!Permit("SaveType", prompts)) return false;
  const std::string path = type.DataFile;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    const TAnswer answer = prompts.AskYesNoCancel(FillIn(FillIn(kBackupQuestion, type.Name), path));
    if (answer == TAnswer::Cancel) return false;
    if (answer == TAnswer::Yes) {
      std::string reason;
      if (BackUpFile(path, reason).empty()) {
        prompts.ShowMessage("The backup of " + path + " could not be made: " + reason);
        return false;
      }
    }
  }
  TResultOf<TText> saved = type.SaveToTypeFile(path, fOptions.Folders);
  if (!saved) {
    prompts.ShowText(saved.Text());
    return false;
  }
  if (!saved->Empty()) prompts.ShowText(*saved);
  const bool inUse = std::any_of(fSlots.begin(), fSlots.end(), [&](const auto& slot) {
    return slot && !slot->IsType() && slot->Type() != nullptr && slot->Type()->Name == type.Name;
  });
  if (inUse) prompts.ShowMessage(std::string(kReloadTypeMessage));
  // The cached type is retired under a name no type file can have, so that the next lookup
  // loads the saved file while open radiographs keep the type they were read with.
  while (TXRayType* cached = fTypes->Find(type.Name)) cached->Name = "," + cached->Name;
  prompts.ShowStatus(SavedText(type.Name, path));
  return true;
}

bool TWorkspace::SaveXRay(TXRay& xray, TWorkspacePrompts& prompts) {
  if (!Permit("Save", prompts)) return false;
  if (NeedsImageNotSavedReminder(xray, fOptions) && prompts.Remind(std::string(kImageNotSavedReminder)))
    fOptions.RemindImageNotSaved = false;
  if (xray.DataFile.empty()) {
    prompts.ShowText(kNoFileNameMessage);
    return false;
  }
  const std::string path = ResolveDataFile(xray.DataFile);
  TResult result;
  if (FindInDataFile(xray, path, fOptions.Data) < 0) {
    result = AppendToDataFile(xray, path, fOptions.Data);
  } else {
    if (!prompts.Confirm(FillIn(kAlreadyPresentQuestion, xray.Caption(fOptions.Formats)))) return false;
    if (!Permit("SaveReplace", prompts)) return false;
    result = ReplaceInDataFile(xray, path, fOptions.Data);
  }
  if (!result) {
    prompts.ShowText(result.TextWithReason());
    return false;
  }
  if (!result.Notice().Empty()) prompts.ShowText(result.Notice());
  prompts.ShowStatus(SavedText(Heading(xray), path));
  return true;
}

bool TWorkspace::SaveInto(TRadiograph& object, const std::string& path, TWorkspacePrompts& prompts) {
  object.DataFile = path;
  return Save(object, prompts);
}

void TWorkspace::SaveAll(TWorkspacePrompts& prompts) {
  for (auto& slot : fSlots)
    if (slot) Save(*slot, prompts);
}

bool TWorkspace::CloseCurrent(TWorkspacePrompts& prompts) {
  if (fCurrent == nullptr) return true;
  if (NeedsSavePrompt(*fCurrent) && !prompts.OfferSave(*fCurrent)) return false;
  // Tools working on the object end before it goes.
  fCurrent->Digitizing = false;
  fCurrent->Aligning = false;
  if (BeforeClose) BeforeClose(*fCurrent);
  const int slot = XRayPosition(fCurrent);
  fCurrent = nullptr;
  if (slot < kSlotCount) fSlots[static_cast<size_t>(slot)].reset();
  return true;
}

bool TWorkspace::CloseAll(TWorkspacePrompts& prompts) {
  for (auto& slot : fSlots) {
    if (!slot) continue;
    SetCurrent(slot.get());
    if (!CloseCurrent(prompts)) return false;
  }
  return true;
}

bool TWorkspace::AskAndSave(TWorkspacePrompts& prompts) {
  for (auto& slot : fSlots)
    if (slot && NeedsSavePrompt(*slot) && !prompts.OfferSave(*slot)) return false;
  return true;
}

int TWorkspace::PlaceNew(std::unique_ptr<TXRay> xray) { return Place(std::move(xray)); }

int TWorkspace::Duplicate() {
  if (fCurrent == nullptr || fCurrent->IsType() || EmptyPlaceAtBelow(0) < 0) return -1;
  auto copy = std::make_unique<TXRay>();
  copy->AssignFrom(static_cast<const TXRay&>(*fCurrent));
  return Place(std::move(copy));
}

std::string TWorkspace::GetCoordinatesRefusal() const {
  const TXRay* reference = Reference();
  if (reference == nullptr || reference == fCurrent) return std::string(kNoReferenceMessage);
  if (fCurrent == nullptr || fCurrent->IsType()) return std::string(kNotForTypesMessage);
  if (fCurrent->Type() == nullptr || reference->Type() == nullptr ||
      fCurrent->Type()->Name != reference->Type()->Name)
    return std::string(kNotSameTypeMessage);
  if (fCurrent->Selection.empty()) return std::string(kNoPointsSelectedMessage);
  return {};
}

bool TWorkspace::GetCoordinates(TWorkspacePrompts& prompts) {
  const std::string refusal = GetCoordinatesRefusal();
  if (!refusal.empty()) {
    prompts.ShowMessage(refusal);
    return false;
  }
  if (!prompts.Confirm(std::string(kTransferQuestion))) return false;
  static_cast<TXRay*>(fCurrent)->TransferCoordinates(*Reference());
  return true;
}

void TWorkspace::Sort() {
  std::vector<std::unique_ptr<TRadiograph>> objects;
  for (auto& slot : fSlots)
    if (slot) objects.push_back(std::move(slot));
  if (objects.empty()) return;
  // Two bubble passes rather than one sort with a combined key: equal names keep their
  // order unless their dates say otherwise, exactly as the users know it.
  for (size_t end = objects.size(); end > 1; --end)
    for (size_t i = 0; i + 1 < end; ++i)
      if (objects[i]->Name > objects[i + 1]->Name) std::swap(objects[i], objects[i + 1]);
  for (size_t end = objects.size(); end > 1; --end)
    for (size_t i = 0; i + 1 < end; ++i)
      if (objects[i]->Name == objects[i + 1]->Name && objects[i]->DateTaken > objects[i + 1]->DateTaken)
        std::swap(objects[i], objects[i + 1]);
  for (size_t i = 0; i < objects.size(); ++i) fSlots[i] = std::move(objects[i]);
  SetCurrent(fSlots[0].get());
}

bool TWorkspace::CanDrop(int from, int target) const {
  if (Slot(from) == nullptr || target < 0 || target >= kSlotCount || target == from) return false;
  return target < from || EmptyPlaceAtBelow(target) >= 0;
}

bool TWorkspace::MoveToPosition(int from, int target) {
  if (Slot(from) == nullptr || target < 0 || target >= kSlotCount) return false;
  std::unique_ptr<TRadiograph> object = std::move(fSlots[static_cast<size_t>(from)]);
  const int found = EmptyPlaceAtBelow(target);
  if (found < 0) {
    fSlots[static_cast<size_t>(from)] = std::move(object);
    return false;
  }
  for (int i = found; i > target; --i) fSlots[static_cast<size_t>(i)] = std::move(fSlots[static_cast<size_t>(i - 1)]);
  fSlots[static_cast<size_t>(target)] = std::move(object);
  return true;
}

TCommandStates TWorkspace::Commands() const {
  TCommandStates states;
  const bool slotFree = EmptyPlaceAtBelow(0) >= 0;
  const bool radiograph = fCurrent != nullptr && !fCurrent->IsType();
  states.AddObject = slotFree;
  states.CurrentObject = fCurrent != nullptr;
  states.AnyOccupied = AnyOccupied();
  states.Duplicate = radiograph && slotFree;
  states.GetCoordinates = radiograph && fCurrent->Visible && !fCurrent->Digitizing;
  states.Digitize = states.GetCoordinates && !fCurrent->Aligning;
  states.SetAsReference = radiograph && !fCurrent->Digitizing;
  const int slot = XRayPosition(fCurrent);
  states.ReferenceTicked = fCurrent != nullptr && slot == fReferenceSlot;
  states.MorphSourceTicked = fCurrent != nullptr && slot == fMorphSourceSlot;
  return states;
}

std::string TWorkspace::ResolveDataFile(const std::string& path) const {
  if (path.empty() || std::filesystem::path(path).is_absolute() || fOptions.DataFolder.empty()) return path;
  return (std::filesystem::path(fOptions.DataFolder) / path).string();
}

}  // namespace lumacet
