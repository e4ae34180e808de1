// lumacet-cli print: the print-outs of records (the tracing page, the text analysis and the
// extended report) sent to a printer as the program prints them, or into one PDF file. The
// records are shown together, the first the current one; the layout is the settings
// file's (--settings), or the defaults.
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>

#include <QPrinter>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "imaging/image_commands.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/type_finder.h"
#include "platform/printer.h"
#include "shell/printouts.h"
#include "shell/settings_options.h"

namespace lumacet::cli {

namespace {

struct TPrintArguments {
  std::string DataFile;
  std::optional<std::vector<int>> Records;
  std::optional<std::string> Printer;
  std::optional<std::string> Out;
  std::optional<std::vector<TPrintout>> Pages;
  std::optional<std::string> Types;
  std::optional<std::string> Settings;
  bool Images = false;
};

std::optional<std::vector<TPrintout>> ParsePages(std::string_view text) {
  std::vector<TPrintout> pages;
  std::istringstream words{std::string(text)};
  for (std::string word; std::getline(words, word, ',');) {
    if (word == "tracing") pages.push_back(TPrintout::Tracing);
    else if (word == "analysis") pages.push_back(TPrintout::Analysis);
    else if (word == "report") pages.push_back(TPrintout::Report);
    else return std::nullopt;
  }
  if (pages.empty()) return std::nullopt;
  return pages;
}

void Declare(TArgumentParser& arguments, TPrintArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--records", "LIST",
                   "the records shown, numbers as 'list' prints them; the first is the current one", parsed.Records,
                   RecordList()).Required = true;
  arguments.Option("--printer", "NAME", "the printer (the default printer)", parsed.Printer);
  arguments.Option("--out", "FILE", "print into FILE.pdf instead of a printer", parsed.Out, TValueKind::File);
  arguments.Option("--pages", "LIST",
                   "the print-outs, in order, from tracing, analysis and report, separated by commas (the settings')",
                   parsed.Pages, ParsePages);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--settings", "FILE", "the settings file whose print settings are used (the defaults)",
                   parsed.Settings, TValueKind::File);
  arguments.Flag("--images", "print each record's linked image under the tracings", parsed.Images);
}

}  // namespace

int PrintCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TPrintArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  if (arguments.Printer && arguments.Out) return parser.Fail("--printer and --out cannot be given together");
  if (arguments.Out && !arguments.Out->ends_with(".pdf") && !arguments.Out->ends_with(".PDF"))
    return parser.Fail("invalid value for --out: '" + *arguments.Out + "' (the name must end in .pdf)");
  if (arguments.Records->empty()) return parser.Fail("--records: give at least one record");

  TSettings settings = TSettings::Defaults(".");
  if (arguments.Settings && !settings.Load(*arguments.Settings)) {
    err << "The settings file " << *arguments.Settings << " cannot be read.\n";
    return kExitFailure;
  }
  const std::vector<TPrintout> pages = arguments.Pages ? *arguments.Pages : ChosenPrintouts(settings.Print);

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", typeFolder});
  auto loaded = LoadRecords(arguments.DataFile, *arguments.Records, types, settings, arguments.Images, err);
  if (!loaded) return kExitFailure;
  std::vector<std::unique_ptr<TXRay>>& records = *loaded;
  if (!arguments.Settings && records.size() > 1) settings.Radiograph.DrawingStyle = kStyleByPosition;

  EnsureGuiApplication();
  TMeasuring measuring;
  std::vector<TRadiograph*> radiographs;
  for (const auto& xray : records) radiographs.push_back(xray.get());
  std::vector<TPrintoutJob> jobs;
  for (TPrintout printout : pages) jobs.push_back(PrintoutJob(printout, settings, measuring, radiographs, arguments.Images));

  QPrinter printer(QPrinter::HighResolution);
  TResult outcome = SetUpPrinter(printer, {arguments.Printer.value_or(""), arguments.Out.value_or("")});
  if (outcome) outcome = Print(printer, jobs);
  if (!outcome) {
    err << TerminalText(outcome.TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  const std::string where = arguments.Out ? *arguments.Out : "the printer " + printer.printerName().toStdString();
  out << "Printed " << jobs.size() << (jobs.size() == 1 ? " print-out" : " print-outs") << " to " << where << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
