// The "&Image" menu of the main window and the image blending tool bar: opening, saving,
// undoing, resetting and closing the current object's image, the enhancements and their
// dialogs. The main window only builds these in and refreshes their states.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "geometry/coordinates.h"
#include "graphics/image_layer.h"
#include "imaging/image_commands.h"
#include "shell/settings.h"
#include "shell/workspace.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace lumacet {

inline constexpr std::string_view kBreakLinkQuestion =
    "This will break the link between the radiograph and the image.\r\n\r\nAre you sure?";

// The open dialog's filter: every image kind the program reads, then each kind alone.
QString ImageOpenFilter();

// "Save &Image": the save dialog (in `folder`), the JPEG options unless a bitmap is chosen,
// then the save; problems are told. True when the image was written.
bool SaveImageInteractively(QWidget* parent, TRadiograph& object, const std::string& folder,
                            const TUserLevels& levels);

// The save prompt in its image mode, before the image is replaced or closed: false for
// Cancel (or a save that failed).
bool OfferImageSave(QWidget* parent, TRadiograph& object, const std::string& folder, const TUserLevels& levels);

class TAlignTracingDlg;

class TImageCommands : public QObject {
  Q_OBJECT

 public:
  // `changed` is called after every change of an image or of the blending.
  TImageCommands(QMainWindow& window, TWorkspace& workspace, TSettings& settings, std::function<void()> changed);

  // The "&Image" menu, and the blending tool bar on the window.
  void AddMenus(QMenuBar& bar);
  void UpdateCommands();
  void ExplainDisabled(const std::function<TText(std::string_view id)>& why) { fCommands.ExplainDisabled(why); }
  // The command of that identifier ("image.undo"), or null.
  QAction* Command(std::string_view id) const;
  TImageBlendOptions Blend() const { return fBlend; }

  // "&Open...".
  void ActionImageOpenExecute();
  // Loads a file into the current object as "&Open..." does after its dialog: the file's
  // DICOM patient data as "DICOM Patient Data" says; every problem is told. True when loaded.
  bool LoadImageFile(const std::string& path);
  void ActionImageSaveExecute();
  void ActionImageUndoExecute();
  void ActionImageResetExecute();
  void ActionImageCloseExecute();
  void ActionImageVisibleExecute();
  void ActionImageCopyExecute();
  // "&Equalize" and the other direct enhancements.
  void Adjust(TImageAdjustment adjustment);
  void ActionImageLevelsExecute();
  void ActionImageBrightExecute();
  void ActionImageColorizeExecute();
  // "&Position / Rotation...", "Rotate &Arbitrary..." and "Resi&ze..."; the quarter turns
  // and flips are direct.
  void ActionImagePositionExecute();
  void ActionImageRotateExecute();
  void ActionImageResizeExecute();
  // "A&lign Tracing...": the non-modal dialog for the current radiograph; a second call
  // while it aligns does nothing.
  void ActionImageAlignExecute();
  // A left click on the display: a mark while the current radiograph is aligning (true),
  // otherwise nothing (false).
  bool AlignClick(TFloatPoint at);
  // The marks of the current radiograph's alignment so far.
  std::vector<TFloatPoint> AlignMarks() const;
  // Where the Rotate tool's centre is: the image turns about it too.
  void SetRotationCentre(std::function<TFloatPoint()> centre) { fRotationCentre = std::move(centre); }

  // Where ".lut" files are looked for: the program's folder, then the data folders.
  static std::vector<std::string> LutFolders();

 private:
  QAction* Add(QWidget& container, std::string_view id, void (TImageCommands::*handler)() = nullptr);
  TRadiograph* Current() const { return fWorkspace.Current(); }
  void Changed();

  QMainWindow& fWindow;
  TWorkspace& fWorkspace;
  TSettings& fSettings;
  std::function<void()> fChanged;
  TCommandTable fCommands;
  QAction* fUndo = nullptr;
  QAction* fRepeat = nullptr;  // the image-adjust tool button: the last direct enhancement again
  std::optional<TImageAdjustment> fLastAdjustment;
  TImageBlendOptions fBlend;
  std::string fLastOpenFolder;
  QPointer<TAlignTracingDlg> fAlign;
  std::function<TFloatPoint()> fRotationCentre = [] { return TFloatPoint{}; };
};

}  // namespace lumacet
