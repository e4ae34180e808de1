#include "shell/automation.h"

#include <cmath>
#include <cstdio>

#include "imaging/image_commands.h"
#include "persistence/data_file.h"
#include "support/version.h"

namespace lumacet {

namespace {

template <typename T>
TAutomationReply<T> Refused(TAutomationError error, std::string message) {
  return {std::nullopt, {error, std::move(message)}};
}

TAutomationReply<TAutomationDone> Done() { return {TAutomationDone{}, {}}; }

template <typename T>
TAutomationReply<T> Reply(T value) {
  return {std::move(value), {}};
}

// Calls on a closed radiograph fail: a client that was told "done" would go on believing
// its change was made.
constexpr const char* kGoneMessage = "The radiograph was closed.";
constexpr const char* kBusyMessage = "Lumacet is busy with a window that waits for the user.";
constexpr const char* kUnavailableMessage = "The command is not available now.";

template <typename T>
TAutomationReply<T> GoneReply() {
  return Refused<T>(TAutomationError::Gone, kGoneMessage);
}

}  // namespace

std::string IsoDate(TDayNumber day) {
  int year = 0, month = 0, date = 0;
  CivilDate(day, year, month, date);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, date);
  return text;
}

std::optional<TDayNumber> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](size_t from, size_t count) -> std::optional<int> {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const auto year = number(0, 4), month = number(5, 2), day = number(8, 2);
  if (!year || !month || !day || *year < 1) return std::nullopt;
  const TDayNumber result = DayNumber(*year, *month, *day);
  // A day that does not exist (30 February) comes back as another one.
  int y = 0, m = 0, d = 0;
  CivilDate(result, y, m, d);
  if (y != *year || m != *month || d != *day) return std::nullopt;
  return result;
}

std::string AutomationVersion() {
  std::string version(ProgramVersion());
  int dots = 0;
  for (char c : version) dots += c == '.';
  for (; dots < 3; ++dots) version += ".0";
  return version;
}

TAutomationReply<TAutomationDone> TAutomation::SetDefaultDataFileName(const std::string& value) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  fHost.ChangeSettings([&](TSettings& settings) { settings.Radiograph.DefaultFile = value; });
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetDefaultDataPath(const std::string& value) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  fHost.ChangeSettings([&](TSettings& settings) { settings.General.CsvPath = value; });
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetDefaultImagePath(const std::string& value) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  fHost.ChangeSettings([&](TSettings& settings) { settings.General.BmpPath = value; });
  return Done();
}

TAutomationReply<int> TAutomation::OpenRadiograph(const std::string& file, const std::string& name,
                                                  const std::string& date, const std::string& type,
                                                  const std::string& comments, bool partial) {
  if (fHost.Busy()) return Refused<int>(TAutomationError::Busy, kBusyMessage);
  TRecordBrowser browser(fHost.BrowserOptions());
  const std::vector<int> records = browser.GetRecordsByData(file, name, date, type, comments, partial);
  if (records.empty()) return Reply(0);
  const int opened = fHost.Workspace().OpenRecords(browser.ListedFile(), records, true, fHost.Prompts(),
                                                   browser.LoadImage);
  fHost.Opened(opened);
  return Reply(opened);
}

TAutomationReply<int> TAutomation::CreateRadiograph(const std::string& type) {
  if (fHost.Busy()) return Refused<int>(TAutomationError::Busy, kBusyMessage);
  const int slot = fHost.Workspace().NewXRayBasic(type, true, fHost.Prompts());
  fHost.Refresh();
  return Reply(slot);
}

TAutomationReply<int> TAutomation::SaveIniSettings() {
  if (fHost.Busy()) return Refused<int>(TAutomationError::Busy, kBusyMessage);
  return Reply(fHost.SaveSettingsQuietly() ? 0 : -1);
}

TAutomationReply<TAutomationDone> TAutomation::Close() {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  fHost.RunCommand(kExitCommand);
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::CopyPicture() {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  if (!fHost.RunCommand(kCopyPictureCommand)) return Refused<TAutomationDone>(TAutomationError::Failed, kUnavailableMessage);
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::CopyResults() {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  fHost.Refresh();
  if (!fHost.RunCommand(kCopyResultsCommand)) return Refused<TAutomationDone>(TAutomationError::Failed, kUnavailableMessage);
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::Print(unsigned what) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  if (what > (kPrintTracing | kPrintAnalysis | kPrintExtended))
    return Refused<TAutomationDone>(TAutomationError::InvalidArgs, "The print choice is a sum of 1, 2 and 4.");
  fHost.Refresh();
  // Nothing is printed without a current radiograph, as Quick Print is then disabled.
  if (what == 0 || fHost.Workspace().Current() == nullptr) return Done();
  const std::pair<unsigned, std::string_view> parts[] = {
      {kPrintTracing, kPrintTracingCommand}, {kPrintAnalysis, kPrintAnalysisCommand}, {kPrintExtended, kPrintExtendedCommand}};
  for (const auto& [bit, command] : parts)
    if ((what & bit) != 0 && !fHost.RunCommand(command))
      return Refused<TAutomationDone>(TAutomationError::Failed, "Printing is not available.");
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetAnalysisView(bool shown) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  if (!fHost.SetCommandChecked(kAnalysisViewCommand, shown))
    return Refused<TAutomationDone>(TAutomationError::Failed, kUnavailableMessage);
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetVisible(bool visible) {
  fHost.SetVisible(visible);
  return Done();
}

std::optional<std::uint64_t> TAutomation::Item(int index) const {
  if (index < 0 || index >= kSlotCount) return std::nullopt;
  const TRadiograph* object = fHost.Workspace().Slot(index);
  if (object == nullptr) return std::nullopt;
  return object->Serial();
}

std::optional<std::uint64_t> TAutomation::Current() const {
  const TRadiograph* object = fHost.Workspace().Current();
  if (object == nullptr) return std::nullopt;
  return object->Serial();
}

TRadiograph* TAutomation::Find(std::uint64_t serial) const {
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (TRadiograph* object = fHost.Workspace().Slot(slot); object != nullptr && object->Serial() == serial)
      return object;
  return nullptr;
}

TRadiograph* TAutomation::MakeCurrent(std::uint64_t serial) {
  TRadiograph* object = Find(serial);
  if (object != nullptr && !fHost.Workspace().IsCurrent(object)) {
    fHost.Workspace().SetCurrent(object);
    fHost.Refresh();
  }
  return object;
}

TAutomationReply<std::string> TAutomation::Text(std::uint64_t serial, TParticular particular) const {
  const TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<std::string>();
  switch (particular) {
    case TParticular::Name: return Reply(object->Name);
    case TParticular::Comments: return Reply(object->Comments);
    case TParticular::DateOfBirth: return Reply(IsoDate(object->DateOfBirth));
    case TParticular::DateTaken: return Reply(IsoDate(object->DateTaken));
    default: return Refused<std::string>(TAutomationError::InvalidArgs, "Not a text particular.");
  }
}

TAutomationReply<bool> TAutomation::Sex(std::uint64_t serial) const {
  const TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<bool>();
  return Reply(object->Female);
}

TAutomationReply<double> TAutomation::Magnification(std::uint64_t serial) const {
  const TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<double>();
  return Reply(object->Magnification);
}

TAutomationReply<std::string> TAutomation::TypeName(std::uint64_t serial) const {
  const TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<std::string>();
  return Reply(object->Type() != nullptr ? object->Type()->Name : std::string());
}

TAutomationReply<bool> TAutomation::IsType(std::uint64_t serial) const {
  const TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<bool>();
  return Reply(object->IsType());
}

TAutomationReply<TAutomationDone> TAutomation::SetText(std::uint64_t serial, TParticular particular,
                                                      const std::string& value) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  switch (particular) {
    case TParticular::Name:
    case TParticular::Comments: {
      if (const TText problem = RecordTextError(value); !problem.Empty())
        return Refused<TAutomationDone>(TAutomationError::InvalidArgs, problem.English());
      (particular == TParticular::Name ? object->Name : object->Comments) = value;
      break;
    }
    case TParticular::DateOfBirth:
    case TParticular::DateTaken: {
      const std::optional<TDayNumber> day = ParseIsoDate(value);
      if (!day) return Refused<TAutomationDone>(TAutomationError::InvalidArgs, "A date is written YYYY-MM-DD.");
      (particular == TParticular::DateOfBirth ? object->DateOfBirth : object->DateTaken) = *day;
      break;
    }
    default: return Refused<TAutomationDone>(TAutomationError::InvalidArgs, "Not a text particular.");
  }
  object->Modified = true;
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetSex(std::uint64_t serial, bool female) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  object->Female = female;
  object->Modified = true;
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetMagnification(std::uint64_t serial, double percent) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = Find(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  // The record holds more than -100 and at most 1000 per cent.
  if (!std::isfinite(percent) || percent <= -100 || percent > 1000 || !object->SetMagnification(percent))
    return Refused<TAutomationDone>(TAutomationError::InvalidArgs,
                                    "Magnification must be more than -100 and at most 1000 per cent.");
  object->Modified = true;
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetCurrent(std::uint64_t serial) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  if (MakeCurrent(serial) == nullptr) return GoneReply<TAutomationDone>();
  fHost.Refresh();
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::CloseRadiograph(std::uint64_t serial, bool savePrompt) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = MakeCurrent(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  if (!savePrompt) {
    object->Modified = false;
    object->ImageModified = false;
  }
  fHost.Workspace().CloseCurrent(fHost.Prompts());
  fHost.Refresh();
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetInView(std::uint64_t serial, bool shown) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = MakeCurrent(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  object->Visible = shown;
  fHost.Refresh();
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::SetImageVisible(std::uint64_t serial, bool shown) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = MakeCurrent(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  object->Image.ImageVisible = shown;
  fHost.Refresh();
  return Done();
}

TAutomationReply<TAutomationDone> TAutomation::CopyImage(std::uint64_t serial) {
  if (fHost.Busy()) return Refused<TAutomationDone>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = MakeCurrent(serial);
  if (object == nullptr) return GoneReply<TAutomationDone>();
  if (!object->Image.HasImage()) return Done();
  if (!fHost.RunCommand(kCopyImageCommand)) return Refused<TAutomationDone>(TAutomationError::Failed, kUnavailableMessage);
  return Done();
}

TAutomationReply<int> TAutomation::LoadDigBitmapFromFile(std::uint64_t serial, const std::string& path) {
  if (fHost.Busy()) return Refused<int>(TAutomationError::Busy, kBusyMessage);
  TRadiograph* object = MakeCurrent(serial);
  if (object == nullptr) return GoneReply<int>();
  const TResultOf<TLoadedImage> loaded = LoadDigBitmapFileName(
      *object, object->Image, path, ImageLoadSettingsFor(*object, fHost.Workspace().Options().Images));
  fHost.Refresh();
  // The client learns the outcome: 0 loaded, -1 not.
  return Reply(loaded ? 0 : -1);
}

}  // namespace lumacet
