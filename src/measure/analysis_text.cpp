#include "measure/analysis_text.h"

#include <algorithm>
#include <optional>

#include "measure/norms.h"
#include "measure/number_format.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/radiograph.h"

namespace lumacet {

namespace {

constexpr size_t kCodeTailLimit = 255;

// The first `limit` characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view text, size_t limit) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (count++ == limit) return text.substr(0, i);
  }
  return text;
}

void ReplaceFirst(std::string& text, std::string_view code, const std::string& replacement) {
  size_t at = text.find(code);
  if (at == std::string::npos) return;
  std::string_view rest = std::string_view(text).substr(at + code.size());
  text = text.substr(0, at) + replacement + std::string(FirstCharacters(rest, kCodeTailLimit));
}

std::string Asterisks(int deviationClass) {
  if (deviationClass == 0 || deviationClass == kNoDeviationClass) return {};
  std::string marks = deviationClass < 0 ? "-" : "";
  marks.append(static_cast<size_t>(std::abs(deviationClass)), '*');
  return marks;
}

// The norm that applies and, when the SD allows it, the z-score.
struct TNormState {
  std::optional<TNormalValue> Normal;
  std::optional<double> Z;
};

TNormState NormState(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options) {
  ComputeVariable(variable, radiograph, options.Measure);
  TNormState state;
  state.Normal = ApplicableNormal(variable, radiograph);
  if (state.Normal) state.Z = ZScore(variable, *state.Normal, options.Measure.Formats);
  return state;
}

std::string Formatted(double value, const std::string& pattern, const TPresentationOptions& options) {
  return FormatNumber(value, pattern, options.Measure.Formats.DecimalSeparator);
}

const TTextStyle& VariableStyle(const TXRVariable& variable, const TPresentationOptions& options) {
  return options.Styles[static_cast<size_t>(VariableStyleNumber(variable) - 1)];
}

}  // namespace

std::vector<TXRVariable*> AnalysisVariables(const TRadiograph& radiograph) {
  std::vector<TXRVariable*> variables;
  if (radiograph.CurrentAnalysis == nullptr) return variables;
  for (TXRayElement* element : radiograph.CurrentAnalysis->Points)
    if (auto* variable = dynamic_cast<TXRVariable*>(element)) variables.push_back(variable);
  return variables;
}

int VariableStyleNumber(const TXRVariable& variable) {
  return (variable.Style >= 1 && variable.Style <= kTextStyleCount) ? variable.Style : 1;
}

std::string PresentationValue(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options) {
  ComputeVariable(variable, radiograph, options.Measure);
  if (!variable.Valid) return options.NotAvailable;
  if (IsTextVariableKind(variable.Kind())) return variable.ValueText;
  std::optional<double> number = VariableNumber(variable, options.Measure.Formats);
  return number ? Formatted(*number, variable.NumberFormat, options) : variable.ValueText;
}

// A norm without a deviation has none to print: "0.0" would read as an exact norm.
std::string DeviationText(const TNormState& norm, const std::string& pattern, const TPresentationOptions& options) {
  return norm.Normal && norm.Normal->StandardDeviation != 0 ? Formatted(norm.Normal->StandardDeviation, pattern, options)
                                                            : std::string();
}

std::string ExpandCodes(TXRVariable& variable, bool after, TRadiograph& radiograph,
                        const TPresentationOptions& options) {
  std::string text = after ? variable.TextAfter : variable.TextBefore;
  if (text.find('@') == std::string::npos) return text;
  TNormState norm = NormState(variable, radiograph, options);
  const std::string& pattern = variable.NumberFormat;
  ReplaceFirst(text, "@m", norm.Normal ? Formatted(norm.Normal->Mean, pattern, options) : "");
  ReplaceFirst(text, "@g", norm.Z ? TextGraph(*norm.Z) : "");
  ReplaceFirst(text, "@s", DeviationText(norm, WithOneMoreDecimal(pattern), options));
  ReplaceFirst(text, "@z", norm.Z ? Formatted(*norm.Z, "0.##", options) : "");
  return text;
}

TColouredText DisplayValue(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options) {
  TColouredText result{PresentationValue(variable, radiograph, options), 0};
  int deviationClass = DeviationClass(variable, radiograph, options.Measure);
  if (options.DeviationMode == 1) result.Text += Asterisks(deviationClass);
  bool coloured = options.DeviationMode != 1 && options.DeviationMode != 2;
  result.Colour = DeviationColour(coloured ? deviationClass : kNoDeviationClass, options.DeviationColours);
  return result;
}

std::string TextLine(TXRVariable& variable, TRadiograph& radiograph, int flags, const TPresentationOptions& options) {
  if (variable.ShowIn == 0) return {};
  ComputeVariable(variable, radiograph, options.Measure);
  std::string value;
  std::optional<double> number;
  if (variable.Valid && !IsTextVariableKind(variable.Kind()))
    number = VariableNumber(variable, options.Measure.Formats);
  if (!variable.Valid) {
    value = options.NotAvailable;
  } else if (!number) {
    value = variable.ValueText;
  } else if (flags == kTextLineGeneral) {
    value = FormatGeneral(*number, options.Measure.Formats.DecimalSeparator);
  } else if (flags < 0) {
    value = Formatted(*number, variable.NumberFormat, options);
  } else {
    value = ExpandCodes(variable, false, radiograph, options) + Formatted(*number, variable.NumberFormat, options) +
            ExpandCodes(variable, true, radiograph, options);
  }
  if (flags < 0 || variable.Kind() == KindNumber(TVariableKind::Label)) return value;

  TNormState norm = NormState(variable, radiograph, options);
  std::string line = variable.Name + ":";
  if ((flags & kTextLineGraph) != 0) line += "\t" + (norm.Z ? TextGraph(*norm.Z) : std::string());
  line += "\t" + value;
  if ((flags & kTextLineNormals) != 0 && norm.Normal)
    line += "\t" + Formatted(norm.Normal->Mean, variable.NumberFormat, options) + "\t" +
            DeviationText(norm, variable.NumberFormat, options);
  if (VariableStyle(variable, options).ShowAsterisks) {
    std::string marks = Asterisks(norm.Z ? DeviationClassOfZ(*norm.Z) : kNoDeviationClass);
    if (!marks.empty()) line += "\t" + marks;
  }
  return line;
}

std::string HintText(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options) {
  TNormState norm = NormState(variable, radiograph, options);
  std::string operands;
  for (int i = 0; i < variable.OperandCount(); ++i) {
    TXRayElement* element = variable.Operand(i);
    if (element == nullptr) continue;
    operands += std::string("   ") + ElementKindName(element->KindCode()) + ": " +
                (variable.ReferenceFlags[i] ? "[R] " : "") + element->Name + "\r\n";
  }
  if (!operands.empty()) operands = "\r\n" + operands.substr(0, operands.size() - 2);

  std::string normBlock;
  if (norm.Normal) {
    normBlock = "\r\n";
    if (variable.Valid && norm.Z) normBlock += "   z: " + Formatted(*norm.Z, "0.##", options) + "\r\n";
    const std::string deviation = DeviationText(norm, variable.NumberFormat, options);
    normBlock += "   (Mean: " + Formatted(norm.Normal->Mean, variable.NumberFormat, options) +
                 (deviation.empty() ? std::string() : " \u00B1 " + deviation) + ")";
  }

  std::string parameter;
  std::string caption(VariableKind(variable.Kind()).Caption1);
  if (!caption.empty()) {
    std::erase(caption, '&');
    parameter = "\r\n   " + caption + " " +
                FormatGeneral(variable.AuxiliaryValue, options.Measure.Formats.DecimalSeparator);
  }

  std::string hint = "Name: " + variable.Name + normBlock + "\r\nType: " + variable.KindDisplayName() + parameter +
                     operands;
  std::replace(hint.begin(), hint.end(), '|', '\\');
  return hint + "|";
}

std::string ResultsDelimiter(int choice) {
  switch (choice) {
    case 1: return ",";
    case 2: return " ";
    case 3: return "\r\n";
    default: return "\t";
  }
}

std::string ResultsText(TRadiograph& radiograph, const TPresentationOptions& options) {
  std::string text;
  const TLoadedRadiograph loaded = radiograph.Load();
  const std::string delimiter = ResultsDelimiter(options.ResultsDelimiter);
  for (TXRVariable* variable : AnalysisVariables(radiograph))
    if (variable->ShowIn != 0)
      text += TextLine(*variable, loaded.Radiograph(), kTextLineFormatted, options) + delimiter;
  return text;
}

std::vector<TAnalysisLine> AnalysisLines(TRadiograph& radiograph, int flags, const TPresentationOptions& options) {
  std::vector<TAnalysisLine> lines;
  const TLoadedRadiograph loaded = radiograph.Load();
  for (TXRVariable* variable : AnalysisVariables(radiograph)) {
    std::string text = TextLine(*variable, loaded.Radiograph(), flags, options);
    if (text.empty()) continue;
    const TTextStyle& style = VariableStyle(*variable, options);
    uint32_t colour = style.Colour;
    if (style.UseVariableColour)
      colour = DeviationColour(DeviationClass(*variable, radiograph, options.Measure), options.DeviationColours);
    lines.push_back({std::move(text), VariableStyleNumber(*variable), colour});
  }
  return lines;
}

std::string AnalysisCaption(const TRadiograph& radiograph, const TTextFormats& formats) {
  std::string caption = radiograph.Caption(formats);
  // The scale is named with the analysis: a distance read at radiograph size differs from
  // the same distance exported at life size.
  const std::string scale = radiograph.MagnificationCorrected ? " (LIFE)" : " (XRAY)";
  if (radiograph.CurrentAnalysis == nullptr) return caption + ": No analysis selected" + scale;
  return caption + ": " + radiograph.CurrentAnalysis->Name + scale;
}

bool PassesView(const TRadiograph& radiograph, const TXRayElement& element) {
  const TXRView* view = radiograph.CurrentView;
  if (view == nullptr) return true;
  auto listed = [&](const std::vector<TXRayElement*>& list) {
    return std::find(list.begin(), list.end(), &element) != list.end();
  };
  return listed(view->Points) || listed(view->Variables);
}

TXRVariable* LabelAt(const TXRAnalysis& analysis, const TRadiograph& radiograph, int x, int y) {
  for (auto it = analysis.Points.rbegin(); it != analysis.Points.rend(); ++it) {
    auto* variable = dynamic_cast<TXRVariable*>(*it);
    if (variable == nullptr || variable->ShowIn == 1 || !PassesView(radiograph, *variable)) continue;
    const auto& r = variable->LabelRect;
    if (r[0] < x && x < r[2] && r[1] < y && y < r[3]) return variable;
  }
  return nullptr;
}

}  // namespace lumacet
