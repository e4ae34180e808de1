// What other programs may do through the automation service: open radiographs by patient
// data, create new ones, read and change their particulars, copy and print results, show or
// hide the window. Every call goes through the same workspace calls and commands as the
// menus, so it meets the same rules; the service only carries the calls over the bus.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "persistence/record_browser.h"
#include "shell/settings.h"
#include "shell/workspace.h"
#include "support/dates.h"
#include "support/result.h"

namespace lumacet {

// The commands a client can run, by their stable ids.
inline constexpr std::string_view kCopyPictureCommand = "edit.copy_picture";
inline constexpr std::string_view kCopyResultsCommand = "view.copy_results";
inline constexpr std::string_view kCopyImageCommand = "image.copy";
inline constexpr std::string_view kExitCommand = "file.exit";
inline constexpr std::string_view kAnalysisViewCommand = "view.analysis";
inline constexpr std::string_view kPrintTracingCommand = "file.print_tracing";
inline constexpr std::string_view kPrintAnalysisCommand = "file.print_analysis";
inline constexpr std::string_view kPrintExtendedCommand = "file.print_extended";

// The bits of Print's argument, printed in this order.
inline constexpr unsigned kPrintTracing = 1;
inline constexpr unsigned kPrintAnalysis = 2;
inline constexpr unsigned kPrintExtended = 4;

// Why a call was refused: the service turns each into an error name of its own.
enum class TAutomationError {
  Failed,       // the call could not be done (the message says why)
  InvalidArgs,  // an argument the call cannot take
  Gone,         // the radiograph the client holds was closed
  Busy,         // a modal run or question holds the program
};

struct TAutomationRefusal {
  TAutomationError Error = TAutomationError::Failed;
  std::string Message;
};

// The outcome of one call: a value, or the refusal.
template <typename T>
struct TAutomationReply {
  std::optional<T> Value;
  TAutomationRefusal Refusal;
  bool Ok() const { return Value.has_value(); }
};

struct TAutomationDone {};

// What the program hands the automation: its workspace and what only the window can do.
class TAutomationHost {
 public:
  virtual ~TAutomationHost() = default;
  virtual TWorkspace& Workspace() = 0;
  virtual const TSettings& Settings() const = 0;
  // Changes the settings and brings the program in line with them.
  virtual void ChangeSettings(const std::function<void(TSettings&)>& change) = 0;
  // Writes the settings file without any box.
  virtual TResult SaveSettingsQuietly() = 0;
  // How the open dialog lists and searches data files.
  virtual TRecordBrowserOptions BrowserOptions() = 0;
  // The questions and messages of the window.
  virtual TWorkspacePrompts& Prompts() = 0;
  // After records were opened (best fit as on loading) and after any change of the workspace.
  virtual void Opened(int opened) = 0;
  virtual void Refresh() = 0;
  // Runs the command when it is there and enabled; false otherwise.
  virtual bool RunCommand(std::string_view id) = 0;
  // Ticks or clears a checkable command, running what it does; false when it is not there.
  virtual bool SetCommandChecked(std::string_view id, bool checked) = 0;
  // Shows the window (the first time) or hides it.
  virtual void SetVisible(bool visible) = 0;
  // True while a modal run or question is open: a call then could pull the ground from
  // under it, so it is refused.
  virtual bool Busy() const = 0;
};

// The particulars a client reads and writes. Dates go over the bus as "YYYY-MM-DD".
enum class TParticular { Name, Sex, DateOfBirth, DateTaken, Comments, Magnification };

// "2018-03-12" for a day; the day of such a text, none when it is not one.
std::string IsoDate(TDayNumber day);
std::optional<TDayNumber> ParseIsoDate(std::string_view text);

// The version as four numbers joined by ".".
std::string AutomationVersion();

class TAutomation {
 public:
  explicit TAutomation(TAutomationHost& host) : fHost(host) {}

  // Settings the client may read and change: "Default File", "CSV Path", "BMP Path".
  std::string DefaultDataFileName() const { return fHost.Settings().Radiograph.DefaultFile; }
  std::string DefaultDataPath() const { return fHost.Settings().General.CsvPath; }
  std::string DefaultImagePath() const { return fHost.Settings().General.BmpPath; }
  TAutomationReply<TAutomationDone> SetDefaultDataFileName(const std::string& value);
  TAutomationReply<TAutomationDone> SetDefaultDataPath(const std::string& value);
  TAutomationReply<TAutomationDone> SetDefaultImagePath(const std::string& value);

  // The records of the file (the default data file when empty) whose fields match every
  // criterion given, opened: the number opened, 0 when none matched, or minus the stage at
  // which opening failed.
  TAutomationReply<int> OpenRadiograph(const std::string& file, const std::string& name, const std::string& date,
                                       const std::string& type, const std::string& comments, bool partial);
  // A new radiograph of the named type, as "&New..." makes one without its dialog: its
  // slot, -1 when no slot is free, -2 when the type cannot be had.
  TAutomationReply<int> CreateRadiograph(const std::string& type);
  // 0 when the settings file was written, -1 when not.
  TAutomationReply<int> SaveIniSettings();
  TAutomationReply<TAutomationDone> Close();
  TAutomationReply<TAutomationDone> CopyPicture();
  TAutomationReply<TAutomationDone> CopyResults();
  TAutomationReply<TAutomationDone> Print(unsigned what);
  TAutomationReply<TAutomationDone> SetAnalysisView(bool shown);
  TAutomationReply<TAutomationDone> SetVisible(bool visible);

  // The serial of the object in that slot, none for an empty slot or an index out of range.
  std::optional<std::uint64_t> Item(int index) const;
  std::optional<std::uint64_t> Current() const;

  // The particulars of the object with that serial; Gone once it was closed.
  TAutomationReply<std::string> Text(std::uint64_t serial, TParticular particular) const;
  TAutomationReply<bool> Sex(std::uint64_t serial) const;
  TAutomationReply<double> Magnification(std::uint64_t serial) const;
  TAutomationReply<std::string> TypeName(std::uint64_t serial) const;
  TAutomationReply<bool> IsType(std::uint64_t serial) const;
  // Name, comments and the two dates (as "YYYY-MM-DD") as text; a value the data file
  // cannot hold is refused and nothing changes.
  TAutomationReply<TAutomationDone> SetText(std::uint64_t serial, TParticular particular, const std::string& value);
  TAutomationReply<TAutomationDone> SetSex(std::uint64_t serial, bool female);
  TAutomationReply<TAutomationDone> SetMagnification(std::uint64_t serial, double percent);
  TAutomationReply<TAutomationDone> SetCurrent(std::uint64_t serial);
  // Closes it; without the save prompt its changes are dropped unasked.
  TAutomationReply<TAutomationDone> CloseRadiograph(std::uint64_t serial, bool savePrompt);
  TAutomationReply<TAutomationDone> SetInView(std::uint64_t serial, bool shown);
  TAutomationReply<TAutomationDone> SetImageVisible(std::uint64_t serial, bool shown);
  TAutomationReply<TAutomationDone> CopyImage(std::uint64_t serial);
  // 0 when the image was loaded, -1 when not.
  TAutomationReply<int> LoadDigBitmapFromFile(std::uint64_t serial, const std::string& path);

 private:
  TRadiograph* Find(std::uint64_t serial) const;
  // The open object, made current first: the commands work on the current one.
  TRadiograph* MakeCurrent(std::uint64_t serial);

  TAutomationHost& fHost;
};

}  // namespace lumacet
