// The workspace: ten slots of open radiographs and types, the current object, the reference
// and morph source slots, and the cache of types loaded for radiographs. The file commands
// live here so that the main window, automation and tests run the same logic; whatever needs
// the user's answer goes through TWorkspacePrompts.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "population/record_scan.h"
#include "imaging/image_commands.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "population/record_scan.h"
#include "shell/user_levels.h"
#include "simulation/movements.h"

namespace lumacet {

inline constexpr int kSlotCount = 10;

inline constexpr std::string_view kErrorLoadingMessage = "Error loading radiograph. Error number: %d";
inline constexpr std::string_view kNotLcrMessage = "A Radiograph Type file must have the .LCR extension.";
inline constexpr std::string_view kFileErasedQuestion = "File already exists and will be erased.\r\n\r\nAre you sure ?";
inline constexpr std::string_view kBackupQuestion =
    "Saving '%s' in:\r\n%s\r\n\r\nFile exists and will be overwritten. Backup file ?";
inline constexpr std::string_view kReloadTypeMessage =
    "Some loaded radiographs use this radiograph Type.\r\nYou will need to reload them to use the updated Type.";
inline constexpr std::string_view kAlreadyPresentQuestion =
    "'%s': Radiograph is already present in file.\r\n\r\nReplace existing radiograph ?";
inline constexpr std::string_view kNoReferenceMessage = "Could not get coordinates. No reference radiograph.";
inline constexpr std::string_view kNotForTypesMessage =
    "Could not get coordinates. Function not available for Radiograph Types.";
inline constexpr std::string_view kNotSameTypeMessage =
    "Could not get coordinates. Reference radiograph is not of the same type.";
inline constexpr std::string_view kNoPointsSelectedMessage = "Could not get coordinates. No points selected.";
inline constexpr std::string_view kTransferQuestion =
    "Are you sure you want to set the coordinates of the selected points\r\nto those of the Reference radiograph? "
    "(there is no undo for this action)";
inline constexpr std::string_view kImageNotSavedReminder =
    "Have you saved the image? It is best to save the image first and then the tracing, so that the link to the "
    "image is also saved.";

enum class TAnswer { Yes, No, Cancel };

// What the workspace asks of the user. Texts are the catalogue's, "\r\n" included.
class TWorkspacePrompts {
 public:
  virtual ~TWorkspacePrompts() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  // A marked text; prompts that do not translate show its English. Texts not yet marked
  // come through ShowMessage.
  virtual void ShowText(const TText& text) { ShowMessage(text.English()); }
  // The outcome of work that went as asked: not a warning. Prompts without a box of their
  // own for it show it as a message.
  virtual void Inform(const std::string& text) { ShowMessage(text); }
  // A passing note of work done ("Saved ... to PATIENT.CSV"), shown where it does not stop
  // the user; prompts without such a place drop it.
  virtual void ShowStatus(const TText& /*text*/) {}
  // Yes/No; true for Yes.
  virtual bool Confirm(const std::string& question) = 0;
  // A marked question, Yes/No; prompts that do not translate ask its English.
  virtual bool ConfirmText(const TText& question) { return Confirm(question.English()); }
  // OK/Cancel; true for OK. Prompts without buttons of their own for it ask Yes/No.
  virtual bool ConfirmOkCancel(const std::string& question) { return Confirm(question); }
  // Yes/No/Cancel.
  virtual TAnswer AskYesNoCancel(const std::string& question) = 0;
  // The save prompt for an object about to close; false for Cancel. The prompt saves
  // through the workspace itself.
  virtual bool OfferSave(TRadiograph& object) = 0;
  // The image file chooser of the search for a missing image, opened on `folder` with `name`
  // chosen: the file taken, or empty when the user gave up. Without a chooser (the default)
  // the search ends there.
  virtual std::string ChooseImageFile(const std::string& /*folder*/, const std::string& /*name*/) { return {}; }
  // A reminder in the window "Reminder", with its box "Don't show this message again.":
  // true when the box was ticked. Prompts without the box show it as a message.
  virtual bool Remind(const std::string& text) {
    ShowMessage(text);
    return false;
  }
};

struct TWorkspaceOptions {
  TFileFolders Folders;       // "BMP Path", "LCR Path"
  std::string DataFolder;     // "CSV Path": relative data file names lie there
  TDataFileOptions Data;
  TTextFormats Formats;
  bool SortOnLoading = false;  // "Sort Fit on Loading"
  bool AutoOrientate = false;  // "A&uto Orientate on Loading": the type's first orientation
  // Folders, default pixel size and DICOM window for images opened with their objects; the
  // type's own scaling option is taken from each object's type.
  TImageLoadSettings Images;
  // The second "Remind" switch: before a radiograph whose image has no file is saved. The
  // reminder's own box switches it off here; the settings take it back from here.
  bool RemindImageNotSaved = true;
};

// The image settings for loading into `object`: the workspace's, with its type's "New
// radiographs get current image scaling factors" and pixel size.
TImageLoadSettings ImageLoadSettingsFor(const TRadiograph& object, const TImageLoadSettings& base);

// Which commands are enabled, and the ticks of the two slot commands.
struct TCommandStates {
  bool AddObject = false;  // "&New...", "&Open...", "New &Type...", "Open T&ype..."
  bool CurrentObject = false;  // "&Save", "Save &Into...", "&Close", "P&roperties..."
  bool AnyOccupied = false;    // "Save &All", "C&lose All", "S&ort"
  bool Duplicate = false;
  bool GetCoordinates = false;
  bool Digitize = false;
  bool SetAsReference = false;  // also "Set as Morph So&urce"
  bool ReferenceTicked = false;
  bool MorphSourceTicked = false;
};

// The lines of the save prompt.
struct TSavePromptText {
  std::string Description;
  std::vector<std::string> History;
  std::string ImageLine;
  std::string TracingLine;
  bool CanSaveImage = false;
  bool CanSaveTracing = false;
};

// Whether saving the object's tracing reminds the user first that its image has no file:
// the image would be lost, and the record would keep no link to it.
bool NeedsImageNotSavedReminder(const TRadiograph& object, const TWorkspaceOptions& options);

// Whether closing the object must ask first.
bool NeedsSavePrompt(const TRadiograph& object);
TSavePromptText SavePromptText(const TRadiograph& object, const TTextFormats& formats);

class TWorkspace {
 public:
  explicit TWorkspace(TWorkspaceOptions options);
  ~TWorkspace();

  const TWorkspaceOptions& Options() const { return fOptions; }
  // New options, from the options dialog. A change of the life-size option rescales every
  // open radiograph that is not being digitized; a new type folder leaves the types already
  // loaded with the radiographs that use them and finds later types in the new folder.
  void SetOptions(TWorkspaceOptions options);

  // The level decided at start-up; the guarded commands ask it before they act.
  void SetUserLevels(TUserLevels levels) { fLevels = std::move(levels); }
  const TUserLevels& UserLevels() const { return fLevels; }
  // Whether the action ("Save", "OpenType"...) may go ahead at this level; the prompts say
  // why not.
  bool Permit(std::string_view action, TWorkspacePrompts& prompts) const;

  TRadiograph* Slot(int slot) const;
  // The first empty slot numbered n or higher, or -1.
  int EmptyPlaceAtBelow(int n) const;
  // The slot of the object, kSlotCount when it is not in one.
  int XRayPosition(const TRadiograph* object) const;
  bool AnyOccupied() const;

  TRadiograph* Current() const { return fCurrent; }
  // The main window's title: the current radiograph's patient, date taken and type, so that
  // nobody traces over the wrong film.
  std::string WindowTitle() const;
  // A radiograph's patient, date taken and type ("Emma Lindqvist, 12.03.2018, Lateral Ceph");
  // a type's name.
  std::string Heading(const TRadiograph& object) const;
  bool IsCurrent(const TRadiograph* object) const { return object != nullptr && object == fCurrent; }
  // Makes it current (or none), selected, and every other object not selected.
  void SetCurrent(TRadiograph* object);

  int ReferenceSlot() const { return fReferenceSlot; }
  int MorphSourceSlot() const { return fMorphSourceSlot; }
  // theReference: the radiograph in the reference slot; none for an empty slot or a type.
  TXRay* Reference() const;
  void SetAsReference();
  void SetAsMorphSource();

  TTypeCache& Types() { return *fTypes; }
  // The names of the type files in the type folder (their first lines), in file name order:
  // the types a new radiograph can have.
  std::vector<std::string> TypeNames() const;
  // The cached type, else loaded from the type folder; unless quiet the prompts say why
  // there is none.
  TXRayType* GetOrLoadType(const std::string& name, bool quiet, TWorkspacePrompts& prompts);

  // A new radiograph of the type in the first empty slot, made current: its slot, -1 when
  // no slot is free, -2 when the type cannot be had.
  int NewXRayBasic(const std::string& typeName, bool quiet, TWorkspacePrompts& prompts);
  // MainOpenXRay: opens the records into free slots, the last one opened current; the
  // number opened, or minus the failure stage of the last failure when none opened. With
  // `loadImages` ("Load Image with tracing") each linked image is opened too; one that
  // cannot be had is reported (unless quiet) and its link kept.
  int OpenRecords(const std::string& dataFile, const std::vector<int>& records, bool quiet,
                  TWorkspacePrompts& prompts, bool loadImages = false);
  // "New &Type...": an empty type written at once to `path`; its slot or -1.
  int NewType(const std::string& path, TWorkspacePrompts& prompts);
  // "Open T&ype...": its slot, or -1 (the prompts said why). Its image is opened with it.
  int OpenType(const std::string& path, TWorkspacePrompts& prompts);

  // SaveRadiograph: true when the object was written.
  bool Save(TRadiograph& object, TWorkspacePrompts& prompts);
  // "Save &Into...": the path becomes the object's data file, then it is saved.
  bool SaveInto(TRadiograph& object, const std::string& path, TWorkspacePrompts& prompts);
  // "Save &All": every occupied slot in order.
  void SaveAll(TWorkspacePrompts& prompts);

  // "&Close" on the current object; false when the user cancelled.
  bool CloseCurrent(TWorkspacePrompts& prompts);
  // "C&lose All"; a Cancel leaves that slot and the later ones open.
  bool CloseAll(TWorkspacePrompts& prompts);
  // Before exit: the save prompt for every modified object; false when the user cancelled.
  bool AskAndSave(TWorkspacePrompts& prompts);

  // A radiograph made by a population command (a mean, a match) in the first empty slot,
  // made current: its slot, or -1 when no slot is free (the radiograph is then dropped).
  int PlaceNew(std::unique_ptr<TXRay> xray);

  // "&Duplicate...": a copy of the current radiograph, made current; its slot or -1.
  int Duplicate();
  // "&Get Coordinates from...": the refusal for the current object, or empty.
  std::string GetCoordinatesRefusal() const;
  bool GetCoordinates(TWorkspacePrompts& prompts);

  // "S&ort": by name, equal names by date taken; slot 0 becomes current.
  void Sort();
  // Whether a row dragged from `from` may be dropped on `target`.
  bool CanDrop(int from, int target) const;
  // "Position &n" and dropping: true when the object moved.
  bool MoveToPosition(int from, int target);

  TCommandStates Commands() const;

  // The movement options every radiograph's movements run with: the Movements window's
  // switches and the image lock, which the program keeps for all radiographs alike.
  TMovementOptions Movements;
  // Told of an object that is closing, after its save prompt and before it is freed: the
  // windows still working on it (the type editors) let go of it first.
  std::function<void(TRadiograph&)> BeforeClose;

  // A relative data file name lies in the data folder.
  std::string ResolveDataFile(const std::string& path) const;

 private:
  int Place(std::unique_ptr<TRadiograph> object);
  void OpenImage(TRadiograph& object, bool quiet, TWorkspacePrompts& prompts);
  bool SaveType(TXRayType& type, TWorkspacePrompts& prompts);
  bool SaveXRay(TXRay& xray, TWorkspacePrompts& prompts);

  TWorkspaceOptions fOptions;
  TUserLevels fLevels;
  std::unique_ptr<TTypeCache> fTypes;
  // Caches of earlier type folders, kept while radiographs may still use their types.
  std::vector<std::unique_ptr<TTypeCache>> fRetiredTypes;
  std::array<std::unique_ptr<TRadiograph>, kSlotCount> fSlots;
  TRadiograph* fCurrent = nullptr;
  int fReferenceSlot = 0;
  int fMorphSourceSlot = 0;
};

// The name a backup of `path` gets: the extension replaced by ".1", ".2" and so on, the
// first that does not exist. The existing file is linked there, never overwriting one.
// Empty with `reason` set when no backup could be made.
std::string BackUpFile(const std::string& path, std::string& reason);

}  // namespace lumacet
