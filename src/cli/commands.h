// The commands of lumacet-cli. Each command is one function in a source file of its own,
// listed once in the table of main.cpp.
#pragma once

#include <memory>
#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_file.h"

namespace lumacet {
struct TSettings;
class TTypeCache;
class TXRayElement;
class TXRayType;
}  // namespace lumacet

namespace lumacet::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;  // a bad option or value, named on stderr

class TArgumentParser;

// A command declares its operands and options on `arguments`, which holds the words after
// the command's name, and parses them before it does anything else (see argument_parser.h).
using TCommandFunction = int (*)(TArgumentParser& arguments, std::ostream& out, std::ostream& err);

struct TCommand {
  const char* Name;
  const char* Summary;
  TCommandFunction Run;
};

// Messages are written with CR LF in the model; a terminal wants plain line breaks.
std::string TerminalText(std::string text);
// The folder of the type files: --types, or else the data file's own folder.
std::string TypeFolder(const std::optional<std::string>& types, const std::string& dataFile);
// The type named, from `types` reading `folder`; null with the reason on `err`, a missing
// type file said in the command line's words rather than the dialog's.
TXRayType* NeedType(TTypeCache& types, const std::string& name, const std::string& folder, std::ostream& err);

// The element of kind `code` that `name` means: the one of exactly that name, or else the
// only one whose name differs from it in case alone. Null when none or several do, with
// `error` naming the choices (`what` is "analysis", "view"...).
TXRayElement* MatchElement(const TXRayType& type, const std::string& name, int code, std::string_view what,
                           std::string& error);
// The records --records chose, or else all of them; nothing, with the read error on `err`.
std::optional<std::vector<int>> ChosenRecords(const std::optional<std::vector<int>>& chosen, const std::string& path,
                                              std::ostream& err);

// Reads record `record` of `dataFile` into `xray`; false with the field and reason on `err`.
bool LoadRecord(TXRay& xray, const std::string& dataFile, int record, const TTypeResolver& types, std::ostream& err);
// Reads `records` of `dataFile` with their types from `types` and, when `images`, each one's
// linked image as the settings say; nothing, with the record and reason on `err`.
std::optional<std::vector<std::unique_ptr<TXRay>>> LoadRecords(const std::string& dataFile, const std::vector<int>& records,
                                                               TTypeCache& types, const TSettings& settings, bool images,
                                                               std::ostream& err);
// Writes `xray` back over its own record through the data file's atomic rewrite; false with
// the reason on `err`.
bool SaveRecordBack(TXRay& xray, const std::string& dataFile, std::ostream& err);

// Painting needs a GUI application for its fonts; the command line never shows anything,
// so it always uses the offscreen platform.
void EnsureGuiApplication();

int TypeCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ImageCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ListCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int CopyCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int MeasureCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int RenderCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ProcrustesCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ExportCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int MoveCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ConvertCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int FitCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int MeanCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int SortCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int PredictCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int EdgeCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int ReportCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int PrintCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);
int MorphCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err);

}  // namespace lumacet::cli
