// What the workspace holds in a slot: a radiograph type opened for editing, or one
// patient's radiograph. Both carry particulars, an image link and a change history.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/coordinates.h"
#include "model/image_store.h"
#include "model/movement.h"
#include "support/dates.h"

namespace lumacet {

class TXRayType;
class TXRayElement;
class TXRPoint;
class TXRAnalysis;
class TXRView;
class TXRVariable;
class TLoadedRadiograph;

// Which radiograph's coordinates, in which state: the serial is never given to another
// object of the process (an address can be), the version moves on with every change of
// the coordinates the radiograph stores.
struct TCoordinateStamp {
  std::uint64_t Serial = 0;
  std::uint64_t Version = 0;
  bool operator==(const TCoordinateStamp&) const = default;
};

// The view with no members: selecting it hides every drawing and variable.
TXRView* EmptyView();

// The age text between two dates: what AgeText gives for a patient born
// on `from` and filmed on `to`, in the chosen age format.
std::string AgeTextBetween(TDayNumber from, TDayNumber to, const TTextFormats& formats);

class TRadiograph {
 public:
  virtual ~TRadiograph() = default;
  TRadiograph(const TRadiograph&) = delete;
  TRadiograph& operator=(const TRadiograph&) = delete;

  virtual bool IsType() const = 0;
  TXRayType* Type() const { return fType; }
  // Never given to another object of the process: what outside references hold on to.
  std::uint64_t Serial() const { return fSerial; }

  // Copies this object's coordinates into its type's points, marks everything computed
  // from them stale, and has the type record whose coordinates it now holds.
  virtual void LoadCoordinates();
  // Copies the type's points back after an edit; only the radiograph loaded may.
  virtual void StoreCoordinates() {}
  // Loads the coordinates and keeps them loaded while the handle lives: values read
  // through it are this radiograph's even when others were loaded in between.
  TLoadedRadiograph Load();
  // True when the type holds this radiograph's coordinates as they stand now.
  bool IsLoaded() const;
  // Loads when the type holds anything else: what measuring and painting call before they
  // read the type's elements on a caller's word that they are loaded.
  void LoadIfStale();
  virtual std::string Caption(const TTextFormats& formats) const;
  // Caption, name and comments, one per line.
  std::string Description(const TTextFormats& formats) const;
  // Makes the named analysis current when the type has it.
  void SelectAnalysis(std::string_view name);
  // The named view; "<none>" selects the empty view; an unknown name selects none.
  void SelectView(std::string_view name);
  virtual void ScaleCoordinates(double) {}
  // The selected points plus the members of selected areas, each once.
  std::vector<TXRPoint*> SelectedPoints() const;
  // Stores the magnification in percent; refuses values not greater than -100.
  virtual bool SetMagnification(double percent);
  // Number of valid digitized points of the loaded coordinates.
  int ValidPointCount();
  // Padded bounds of the valid digitized and derived points, and of the digitized alone.
  TIntRect TracingBounds();
  TIntRect DigitizedBounds();

  // Change history: see RecordChange's rules in the source.
  void RecordChange(bool modified, const std::string& text);
  void RecordImageChange(bool modified, const std::string& text);

  // 0 caption, 1 name, 2 sex, 3 date of birth, 4 age, 5 comments, 6 date taken.
  std::string FieldText(int field, const TTextFormats& formats) const;
  std::string AgeText(const TTextFormats& formats) const;
  // The first character of every blank-separated word of the name.
  std::string Initials() const;
  // Whether both are films of one patient: the same name, sex and date of birth.
  bool SamePatient(const TRadiograph& other) const {
    return Name == other.Name && Female == other.Female && DateOfBirth == other.DateOfBirth;
  }

  bool Selected = false;
  bool MagnificationCorrected = false;
  std::string Name;
  bool Female = false;
  TDayNumber DateOfBirth = 0;
  TDayNumber DateTaken = 0;
  std::string Comments;
  double Magnification = 0;
  std::string DataFile;
  bool Visible = true;
  bool HistoryEnabled = true;
  bool Modified = false;
  bool ImageModified = false;
  std::vector<std::string> ChangeHistory;
  bool Digitizing = false;
  int InputDevice = 0;  // 0 tablet, 1 image file, 2 scanner, -1 none
  bool Aligning = false;
  std::string ImageFile;
  // The image itself, held for as long as the object is open: loaded with it on request,
  // never written to the data file (only ImageFile is) and not copied by Duplicate.
  TImageStore Image;
  double PixelWidth = 0;
  double PixelHeight = 0;
  double ImageOriginX = 0;
  double ImageOriginY = 0;
  double ImageRotation = 0;  // radians
  TXRAnalysis* CurrentAnalysis = nullptr;
  TXRView* CurrentView = nullptr;
  std::vector<TXRayElement*> Selection;
  // The movement log, oldest first; it lives with the radiograph in memory and is not stored.
  std::vector<TMovement> UndoMovements;
  std::vector<TMovement> RedoMovements;

 protected:
  friend class TXRayType;  // detaches its radiographs when it goes
  TRadiograph();
  // The type's first analysis becomes current and no view is chosen.
  void ResetAnalysisAndView();
  // Whether the type's points are this radiograph's, edited since or not.
  bool TypeHoldsThis() const;
  // Has the type record that its points are this radiograph's as it stores them now.
  void RecordLoaded();

  TXRayType* fType = nullptr;
  // Moved on by every change of the stored coordinates (the lists of TXRay count it).
  std::uint64_t fVersion = 0;

 private:
  TCoordinateStamp Stamp() const { return {fSerial, fVersion}; }

  const std::uint64_t fSerial;
};

// A radiograph whose coordinates its type holds for as long as the handle lives. Every
// read first loads them again if anything else was loaded into the type since.
class TLoadedRadiograph {
 public:
  TLoadedRadiograph(const TLoadedRadiograph&) = delete;
  TLoadedRadiograph& operator=(const TLoadedRadiograph&) = delete;

  TRadiograph& Radiograph() const { return fRadiograph; }
  // The type, its elements holding this radiograph's values; null without a type.
  TXRayType* Type() const;
  TXRayElement* Find(std::string_view name, int code) const;
  TXRVariable* Variable(std::string_view name) const;
  // The position of a valid point element (digitized, derived or on a snake), else nothing.
  std::optional<TFloatPoint> Position(TXRayElement* element) const;
  bool IsValid(TXRayElement* element) const;

 private:
  friend class TRadiograph;
  explicit TLoadedRadiograph(TRadiograph& radiograph) : fRadiograph(radiograph) {}

  TRadiograph& fRadiograph;
};

// Switches the change history off for a scope and always switches it back, also when an
// exception leaves the scope early.
class THistoryPause {
 public:
  explicit THistoryPause(TRadiograph& radiograph) : fRadiograph(radiograph), fWasEnabled(radiograph.HistoryEnabled) {
    radiograph.HistoryEnabled = false;
  }
  ~THistoryPause() { fRadiograph.HistoryEnabled = fWasEnabled; }
  THistoryPause(const THistoryPause&) = delete;
  THistoryPause& operator=(const THistoryPause&) = delete;

 private:
  TRadiograph& fRadiograph;
  bool fWasEnabled;
};

}  // namespace lumacet
