#include "population/measurement_export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "measure/analysis_text.h"
#include "measure/norms.h"
#include "measure/variables.h"
#include "measure/number_format.h"
#include "model/kind_tables.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"
#include "population/workbook.h"
#include "support/atomic_file.h"
#include "support/file_numbers.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kAbbreviationLength = 8;
constexpr std::string_view kInvalidCoordinate = "nil";
constexpr std::string_view kCoordinateFormat = "0.####";

// Writes the fields of one record or header line, the delimiter between them. A field that
// holds the delimiter, a double quote or a line break is quoted with its quotes doubled, so
// that a name like "Smith Jr" stays one column under a blank delimiter; every other field
// goes out unchanged.
class TFieldWriter {
 public:
  TFieldWriter(std::string& out, const std::string& delimiter) : fOut(out), fDelimiter(delimiter) {}
  void Field(std::string_view text) {
    Separate();
    Raw(text);
  }
  // Starts a field without a delimiter before it (after a line break within a record).
  void FieldOnNewLine(std::string_view text) {
    fOut += kLineEnd;
    Raw(text);
  }
  bool Written() const { return fWritten; }

 private:
  void Separate() {
    if (fWritten) fOut += fDelimiter;
  }
  void Raw(std::string_view text) {
    fWritten = true;
    const bool quote =
        text.find(fDelimiter) != std::string_view::npos || text.find_first_of("\"\r\n") != std::string_view::npos;
    if (!quote) {
      fOut += text;
      return;
    }
    fOut += '"';
    for (char c : text) {
      if (c == '"') fOut += '"';
      fOut += c;
    }
    fOut += '"';
  }

  std::string& fOut;
  const std::string& fDelimiter;
  bool fWritten = false;
};

// Blanks removed, then the first eight characters (not bytes: names are UTF-8 in memory).
std::string Abbreviated(std::string_view text) {
  std::string out;
  size_t characters = 0;
  for (char c : text) {
    if (c == ' ') continue;
    const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (starts && ++characters > kAbbreviationLength) break;
    out += c;
  }
  return out;
}

// The variables of the analysis the options export, in the analysis's order.
std::vector<TXRVariable*> ExportedVariables(const TXRAnalysis& analysis, const TMeasurementExportOptions& options) {
  std::vector<TXRVariable*> variables;
  for (TXRayElement* element : analysis.Points) {
    auto* variable = dynamic_cast<TXRVariable*>(element);
    if (variable == nullptr) continue;
    if (options.Variables == TExportVariables::InTextAnalysis && variable->ShowIn == 0) continue;
    if (options.SkipLabels && variable->Kind() == KindNumber(TVariableKind::Label)) continue;
    variables.push_back(variable);
  }
  return variables;
}

TXRAnalysis* FindAnalysis(const TXRayType& type, const std::string& name) {
  return dynamic_cast<TXRAnalysis*>(type.FindElement(name, ekAnalysis));
}

TXRGraphic* FindDrawing(const TXRayType& type, const std::string& name) {
  return dynamic_cast<TXRGraphic*>(type.FindElement(name, ekGraphic));
}

// The value a variable exports: the value as presented, or in full precision the general
// 15-digit form of a number; texts and invalid values are the same either way.
std::string ExportValue(TXRVariable& variable, const TLoadedRadiograph& loaded,
                        const TMeasurementExportOptions& options, const TPresentationOptions& presentation) {
  std::string value = PresentationValue(variable, loaded.Radiograph(), presentation);
  if (options.Missing && value == presentation.NotAvailable) return *options.Missing;
  if (!options.FullPrecision || !variable.Valid || IsTextVariableKind(variable.Kind())) return value;
  const std::optional<double> number = VariableNumber(variable, presentation.Measure.Formats);
  return number ? FormatGeneral(*number, presentation.Measure.Formats.DecimalSeparator) : value;
}

void WritePatientFields(TXRay& xray, const TMeasurementExportOptions& options, const TTextFormats& formats,
                        TFieldWriter& fields) {
  const TPatientFields& include = options.Include;
  if (include.Name) fields.Field(xray.Name);
  // Day 0 is a date never entered: an empty field, not 30/12/1899 and an age from it.
  auto date = [&](TDayNumber day) { return day == 0 ? std::string() : FormatDate(day, formats.ShortDateFormat); };
  if (include.Age) {
    // Years with three decimals, whatever age format the user reads ages in.
    TTextFormats years = formats;
    years.AgeFormat = 1;
    fields.Field(xray.DateOfBirth == 0 || xray.DateTaken == 0 ? std::string() : xray.AgeText(years));
  }
  if (include.Sex) fields.Field(xray.Female ? "F" : "M");
  if (include.SexNum) fields.Field(xray.Female ? "1" : "0");
  if (include.DateOfBirth) fields.Field(options.Anonymize ? std::string() : date(xray.DateOfBirth));
  if (include.DateTaken) fields.Field(date(xray.DateTaken));
  if (include.Magnification) fields.Field(ExportMagnification(xray.Magnification, formats.DecimalSeparator));
  if (include.Comments) fields.Field(xray.Comments);
}

// The drawing's members that are points; any other member reads as a missing point.
TXRPoint* MemberPoint(TXRayElement* member) { return dynamic_cast<TXRPoint*>(member); }

TExportResult Refused(std::string message, std::string reason = {}) {
  TExportResult result;
  result.Message = std::move(message);
  result.Reason = std::move(reason);
  return result;
}

// The first check the options fail, or nothing.
std::optional<std::string> OptionsError(const TMeasurementExportOptions& options, const TExportContext& context) {
  if (options.SourceFile.empty() || options.TargetFile.empty()) return std::string(kExportFilesMissingMessage);
  if (IsSameFile(options.SourceFile, options.TargetFile)) return std::string(kSameFilesMessage);
  if (options.Delimiter.empty()) return std::string(kNoDelimiterMessage);
  if (options.Delimiter == std::string(1, context.Presentation.Measure.Formats.DecimalSeparator))
    return std::string(kDelimiterIsSeparatorMessage);
  return std::nullopt;
}

}  // namespace

std::string EncodingError(TTextEncoding encoding, const std::string& text) {
  return encoding == TTextEncoding::Utf8 ? "a text is not valid UTF-8: " + text
                                         : "a text cannot be written in the Windows-1252 code page: " + text;
}

std::string DelimiterText(TDelimiterChoice choice, const std::string& other) {
  switch (choice) {
    case TDelimiterChoice::Tab: return "\t";
    case TDelimiterChoice::Comma: return ",";
    case TDelimiterChoice::Space: return " ";
    case TDelimiterChoice::Other: return other;
  }
  return "\t";
}

std::string TableExtension(const std::string& delimiter) {
  if (delimiter == "\t") return "tsv";
  if (delimiter == ",") return "csv";
  return "txt";
}

std::string ExportMagnification(double magnification, char decimalSeparator) {
  char digits[64];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, std::fabs(magnification), std::chars_format::scientific, 14);
  if (error != std::errc()) return {};
  const std::string_view text(digits, static_cast<size_t>(end - digits));
  const size_t e = text.find('e');
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
  std::string out(1, magnification < 0 ? '-' : ' ');
  out += text.substr(0, e);
  if (const size_t point = out.find('.'); point != std::string::npos) out[point] = decimalSeparator;
  out += exponent < 0 ? "E-" : "E+";
  const std::string power = std::to_string(std::abs(exponent));
  out += std::string(power.size() < 4 ? 4 - power.size() : 0, '0') + power;
  return out;
}

std::string ExportHeaderLine(const TXRayType& type, const TMeasurementExportOptions& options) {
  std::vector<std::string> patient;
  const TPatientFields& include = options.Include;
  if (include.Name) patient.emplace_back("Name");
  if (include.Age) patient.emplace_back("Age");
  if (include.Sex) patient.emplace_back("Sex");
  if (include.SexNum) patient.emplace_back("SexNum");
  if (include.DateOfBirth) patient.emplace_back("Date of Birth");
  if (include.DateTaken) patient.emplace_back("Date Taken");
  if (include.Magnification) patient.emplace_back("Magnification");
  if (include.Comments) patient.emplace_back("Comments");

  std::vector<std::string> data;
  if (options.Data == TExportData::Measurements) {
    if (const TXRAnalysis* analysis = FindAnalysis(type, options.Analysis))
      for (const TXRVariable* variable : ExportedVariables(*analysis, options)) data.push_back(variable->Name);
  } else if (const TXRGraphic* drawing = FindDrawing(type, options.Drawing)) {
    for (const TXRayElement* member : drawing->Points) {
      const std::string name = member != nullptr ? member->Name : std::string();
      data.push_back("X " + name);
      data.push_back("Y " + name);
    }
  }
  // R and pandas key columns by name: the patient's age beside an analysis variable "Age"
  // becomes "Age (years)", and any name still taken is numbered.
  const auto among = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (std::string& header : patient)
    if (header == "Age" && among(data, header)) header = "Age (years)";
  std::vector<std::string> seen(patient);
  for (std::string& header : data) {
    const std::string base = header;
    for (int n = 2; among(seen, header); ++n) header = base + " (" + std::to_string(n) + ")";
    seen.push_back(header);
  }
  auto text = [&](const std::string& header) { return options.AbbreviatedHeaders ? Abbreviated(header) : header; };

  // Every patient header is followed by the delimiter, so a drawing without points leaves
  // one at the end of the line, as the records of older exports expect.
  std::string line;
  for (const std::string& header : patient) {
    TFieldWriter(line, options.Delimiter).Field(text(header));
    line += options.Delimiter;
  }
  TFieldWriter fields(line, options.Delimiter);
  for (const std::string& header : data) fields.Field(text(header));
  line += kLineEnd;
  return line;
}

std::optional<std::string> ExportRecord(TXRay& xray, const TMeasurementExportOptions& options,
                                        const TPresentationOptions& presentation) {
  TXRayType* type = xray.Type();
  if (type == nullptr) return std::nullopt;
  const TTextFormats& formats = presentation.Measure.Formats;
  std::string record;
  TFieldWriter fields(record, options.Delimiter);

  if (options.Data == TExportData::PointCoordinates) {
    const TXRGraphic* drawing = FindDrawing(*type, options.Drawing);
    if (drawing == nullptr) return std::nullopt;
    const TLoadedRadiograph loaded = xray.Load();
    if (options.SkipMissingPoints) {
      for (TXRayElement* member : drawing->Points) {
        TXRPoint* point = MemberPoint(member);
        if (point == nullptr || !loaded.IsValid(point)) return std::nullopt;
      }
    }
    WritePatientFields(xray, options, formats, fields);
    if (options.ReflectY) FlipVertical(*loaded.Type());
    for (TXRayElement* member : drawing->Points) {
      const std::optional<TFloatPoint> position = loaded.Position(MemberPoint(member));
      const std::string missing = options.Missing.value_or(std::string(kInvalidCoordinate));
      const std::string x = position ? FormatNumber(position->X, kCoordinateFormat, formats.DecimalSeparator) : missing;
      const std::string y = position ? FormatNumber(position->Y, kCoordinateFormat, formats.DecimalSeparator) : missing;
      if (options.PointPerLine && fields.Written()) {
        fields.FieldOnNewLine(x);
      } else {
        fields.Field(x);
      }
      fields.Field(y);
    }
  } else {
    const TXRAnalysis* analysis = FindAnalysis(*type, options.Analysis);
    if (analysis == nullptr) return std::nullopt;
    xray.SelectAnalysis(options.Analysis);
    const TLoadedRadiograph loaded = xray.Load();
    WritePatientFields(xray, options, formats, fields);
    for (TXRVariable* variable : ExportedVariables(*analysis, options))
      fields.Field(ExportValue(*variable, loaded, options, presentation));
  }
  record += kLineEnd;
  return record;
}

TExportResult ExportDataFile(const TMeasurementExportOptions& options, const TExportContext& context,
                             const TProgress& progress) {
  if (std::optional<std::string> error = OptionsError(options, context)) return Refused(std::move(*error));
  TXRayType* type = context.Types ? context.Types(options.TypeName) : nullptr;
  if (type == nullptr) return Refused(FillIn(kTypeMissingMessage, options.TypeName));
  if (options.Data == TExportData::Measurements && FindAnalysis(*type, options.Analysis) == nullptr)
    return Refused(FillIn(kExportAnalysisMissingMessage, options.Analysis));
  if (options.Data == TExportData::PointCoordinates && FindDrawing(*type, options.Drawing) == nullptr)
    return Refused(FillIn(kExportDrawingMissingMessage, options.Drawing));

  std::error_code error;
  const std::string target = RewriteTarget(options.TargetFile);
  const bool exists = fs::exists(target, error);
  // Found out before the run rather than after it.
  if (exists && IsReadOnlyFile(target)) return Refused(std::string(kExportFileErrorMessage), target + " is read-only");
  // Appended under the file's lock when the run ends, so that exports into one file at the
  // same time all arrive; whether the file is empty, and so takes the header, is known only then.
  std::string header;
  std::string content;

  std::string reason;
  auto append = [&](std::string& to, const std::string& text) {
    std::optional<std::string> encoded = EncodeText(text, options.Encoding);
    if (!encoded) {
      reason = EncodingError(options.Encoding, text);
      return false;
    }
    to += *encoded;
    return true;
  };

  TExportResult result;
  if (options.Headers) {
    if (progress && !progress(std::string(kExportingHeadersStatus))) result.Cancelled = true;
    if (!result.Cancelled && !append(header, ExportHeaderLine(*type, options)))
      return Refused(std::string(kExportFileErrorMessage), reason);
  }

  TDataFileOptions data = context.Data;
  data.ShowLifeSize = options.LifeSize;
  TRecordScan scan;
  if (!result.Cancelled) {
    const auto visit = [&](TXRay& xray, size_t line) {
      if (options.Anonymize) Anonymize(xray, line);
      if (progress && !progress(FillIn(kExportingStatus, xray.Name))) {
        result.Cancelled = true;
        return false;
      }
      std::optional<std::string> record = ExportRecord(xray, options, context.Presentation);
      if (!record) return true;
      if (!append(content, *record)) return false;
      ++result.Exported;
      return true;
    };
    scan = ForEachRecordOfType(options.SourceFile, options.TypeName, context.Types, data, visit);
  }
  FinishExport(scan, options.SourceFile, reason, target, progress, result, [&](std::string& file, std::string&) {
    if (options.Replace) file.clear();
    // A table appended to another has its header already: a second one would read as a record.
    if (file.empty()) {
      if (options.ByteOrderMark && options.Encoding == TTextEncoding::Utf8) file = kUtf8ByteOrderMark;
      file += header;
    }
    else if (!EndsWithLineBreak(file)) file += kLineEnd;
    file += content;
    return true;
  });
  // A distance exported at life size differs from the one the window shows at radiograph size.
  if (result.Ok && !result.Cancelled) result.Message += "\r\n" + std::string(ScaleName(options.LifeSize));
  return result;
}

void FinishExport(const TRecordScan& scan, const std::string& sourceFile, const std::string& encodeError,
                  const std::string& target, const TProgress& progress, TExportResult& result,
                  const TRewrite& write) {
  result.Unreadable = scan.Unreadable;
  if (scan.ReadFailed) {
    result = Refused(std::string(kExportFileErrorMessage), "cannot read " + sourceFile);
  } else if (!encodeError.empty()) {
    result = Refused(std::string(kExportFileErrorMessage), encodeError);
  } else if (result.Cancelled) {
    result.Ok = true;
    result.Exported = 0;
    result.Message = TotalMessage(kExportTotalMessage, 0, 0);
  } else if (const TWriteResult written = RewriteFile(target, write); !written.Ok) {
    result = Refused(std::string(kExportFileErrorMessage), written.Error);
  } else {
    if (progress) progress(std::string(kCompletedStatus));
    result.Ok = true;
    result.Message = TotalMessage(kExportTotalMessage, result.Exported, result.Unreadable);
  }
}

}  // namespace lumacet

namespace lumacet {

namespace {

using TCell = TWorkbookCell;
using TRow = TWorkbookRow;

// The value as the table writes it, read back as a number where it is one.
TCell ValueCell(TXRVariable& variable, const TLoadedRadiograph& loaded, const TMeasurementExportOptions& options,
                const TPresentationOptions& presentation) {
  // Measured first: validity is known only then.
  const std::string text = ExportValue(variable, loaded, options, presentation);
  if (!variable.Valid) return {};
  if (IsTextVariableKind(variable.Kind())) return TCell::Of(text);
  std::string dotted = text;
  std::replace(dotted.begin(), dotted.end(), presentation.Measure.Formats.DecimalSeparator, '.');
  if (const std::optional<double> number = ParseFileReal(dotted)) return TCell::Of(*number);
  return TCell::Of(text);
}

TRow WorkbookRow(TXRay& xray, const TXRAnalysis& analysis, const TMeasurementExportOptions& options,
                 const TPresentationOptions& presentation) {
  const TTextFormats& formats = presentation.Measure.Formats;
  const TPatientFields& include = options.Include;
  TRow row;
  auto date = [&](TDayNumber day) { return day == 0 ? TCell{} : TCell::Of(FormatDate(day, formats.ShortDateFormat)); };
  if (include.Name) row.push_back(TCell::Of(xray.Name));
  if (include.Age) {
    const std::optional<double> age = PatientAge(xray);
    row.push_back(age ? TCell::Of(*age) : TCell{});
  }
  if (include.Sex) row.push_back(TCell::Of(xray.Female ? "F" : "M"));
  if (include.SexNum) row.push_back(TCell::Of(xray.Female ? 1.0 : 0.0));
  if (include.DateOfBirth) row.push_back(options.Anonymize ? TCell{} : date(xray.DateOfBirth));
  if (include.DateTaken) row.push_back(date(xray.DateTaken));
  if (include.Magnification) row.push_back(TCell::Of(xray.Magnification));
  if (include.Comments) row.push_back(TCell::Of(xray.Comments));
  xray.SelectAnalysis(analysis.Name);
  const TLoadedRadiograph loaded = xray.Load();
  for (TXRVariable* variable : ExportedVariables(analysis, options)) {
    row.push_back(ValueCell(*variable, loaded, options, presentation));
    const std::optional<TNormalValue> normal = variable->Valid ? ApplicableNormal(*variable, xray) : std::nullopt;
    const std::optional<double> z = normal ? ZScore(*variable, *normal, formats) : std::nullopt;
    row.push_back(normal ? TCell::Of(normal->Mean) : TCell{});
    row.push_back(normal ? TCell::Of(normal->StandardDeviation) : TCell{});
    row.push_back(z ? TCell::Of(*z) : TCell{});
  }
  return row;
}

std::vector<std::string> WorkbookHeaders(const TXRAnalysis& analysis, const TMeasurementExportOptions& options) {
  std::vector<std::string> headers;
  const TPatientFields& include = options.Include;
  if (include.Name) headers.emplace_back("Name");
  if (include.Age) headers.emplace_back("Age (years)");
  if (include.Sex) headers.emplace_back("Sex");
  if (include.SexNum) headers.emplace_back("SexNum");
  if (include.DateOfBirth) headers.emplace_back("Date of Birth");
  if (include.DateTaken) headers.emplace_back("Date Taken");
  if (include.Magnification) headers.emplace_back("Magnification");
  if (include.Comments) headers.emplace_back("Comments");
  for (const TXRVariable* variable : ExportedVariables(analysis, options)) {
    headers.push_back(variable->Name);
    headers.push_back(variable->Name + " Mean");
    headers.push_back(variable->Name + " SD");
    headers.push_back(variable->Name + " Deviation (SD)");
  }
  return headers;
}

}  // namespace

TExportResult ExportDataWorkbook(const TMeasurementExportOptions& options, const TExportContext& context,
                                 const TProgress& progress) {
  if (std::optional<std::string> error = OptionsError(options, context)) return Refused(std::move(*error));
  if (options.Data != TExportData::Measurements) return Refused(std::string(kWorkbookMeasurementsOnlyMessage));
  TXRayType* type = context.Types ? context.Types(options.TypeName) : nullptr;
  if (type == nullptr) return Refused(FillIn(kTypeMissingMessage, options.TypeName));
  const TXRAnalysis* analysis = FindAnalysis(*type, options.Analysis);
  if (analysis == nullptr) return Refused(FillIn(kExportAnalysisMissingMessage, options.Analysis));
  const std::string target = RewriteTarget(options.TargetFile);
  std::error_code error;
  if (fs::exists(target, error) && IsReadOnlyFile(target))
    return Refused(std::string(kExportFileErrorMessage), target + " is read-only");

  TDataFileOptions data = context.Data;
  data.ShowLifeSize = options.LifeSize;
  TExportResult result;
  std::vector<TRow> rows;
  const auto visit = [&](TXRay& xray, size_t line) {
    if (options.Anonymize) Anonymize(xray, line);
    if (progress && !progress(FillIn(kExportingStatus, xray.Name))) {
      result.Cancelled = true;
      return false;
    }
    // The record's own type may be another file of the same name: its analysis by name.
    const TXRAnalysis* own = xray.Type() != nullptr ? FindAnalysis(*xray.Type(), options.Analysis) : nullptr;
    if (own == nullptr) return true;
    rows.push_back(WorkbookRow(xray, *own, options, context.Presentation));
    ++result.Exported;
    return true;
  };
  const TRecordScan scan = ForEachRecordOfType(options.SourceFile, options.TypeName, context.Types, data, visit);
  std::string bytes;
  std::string reason;
  FinishExport(scan, options.SourceFile, "", target, progress, result, [&](std::string& file, std::string& why) {
    TWorkbookSheet sheet;
    sheet.Headers = WorkbookHeaders(*analysis, options);
    sheet.Rows = std::move(rows);
    if (!WorkbookBytes(sheet, bytes, reason)) {
      why = reason;
      return false;
    }
    file = std::move(bytes);
    return true;
  });
  if (result.Ok && !result.Cancelled) result.Message += "\r\n" + std::string(ScaleName(options.LifeSize));
  return result;
}

}  // namespace lumacet
