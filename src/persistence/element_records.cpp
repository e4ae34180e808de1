// Every element's record in the type file: the header line's fields and its continuation
// lines. The readers follow the writers field by field, and also take the older and
// shorter forms earlier versions wrote.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "persistence/file_numbers.h"
#include "persistence/type_file.h"

namespace lumacet {

namespace {

int KindOrDefault(const TKindInfo& (*table)(int), int count, std::string_view token) {
  int kind = FindKindToken(table, count, token);
  return kind < 0 ? 0 : kind;
}

// A section of continuation lines: a heading, then rows until "end". False when the
// record has no more lines.
template <class TRow>
bool ReadSection(TTypeFileReader& reader, TRow&& row) {
  std::string_view heading;
  if (!reader.NextLine(heading)) return false;
  std::vector<std::string_view> tokens;
  while (reader.NextLineTokens(tokens)) {
    if (!tokens.empty() && tokens[0] == "end") return true;
    row(tokens);
  }
  return true;
}

// One norm list: a heading line, then rows of age from, age to, mean and standard
// deviation until "end". A row that does not give four numbers is skipped.
void ReadNorms(TTypeFileReader& reader, std::vector<TNormalValue>& norms) {
  ReadSection(reader, [&](const std::vector<std::string_view>& tokens) {
    if (tokens.size() < 4) return;
    auto from = ParseFileReal(tokens[0]);
    auto to = ParseFileReal(tokens[1]);
    auto mean = ParseFileReal(tokens[2]);
    auto deviation = ParseFileReal(tokens[3]);
    if (from && to && mean && deviation) norms.push_back({*from, *to, *mean, std::fabs(*deviation)});
  });
}

void WriteNorms(TTypeFileWriter& writer, std::string_view heading, const std::vector<TNormalValue>& norms) {
  writer.Line(heading);
  for (const TNormalValue& norm : norms) {
    writer.Raw("\t");
    writer.Real(norm.AgeFrom, 3);
    writer.Real(norm.AgeTo, 3);
    writer.Real(norm.Mean, 3);
    writer.Real(norm.StandardDeviation, 3);
    writer.EndLine();
  }
  writer.Line("end");
}

// A section of rows of `width` numbers each. False when the section is missing, a row is
// malformed or there are more than `maxRows` rows; rows beyond that are not kept.
bool ReadNumberRows(TTypeFileReader& reader, std::vector<std::vector<double>>& rows, size_t maxRows, size_t width) {
  bool fits = true;
  bool present = ReadSection(reader, [&](const std::vector<std::string_view>& tokens) {
    if (!fits) return;
    if (rows.size() >= maxRows || tokens.size() != width) {
      fits = false;
      return;
    }
    std::vector<double> values;
    values.reserve(width);
    for (std::string_view token : tokens) {
      std::optional<double> value = ParseFileReal(token);
      if (!value) {
        fits = false;
        return;
      }
      values.push_back(*value);
    }
    rows.push_back(std::move(values));
  });
  return present && fits;
}

// A shape analysis whose loadings would exceed this many values reads as not computed: a
// point list that repeats one entry thousands of times would otherwise ask for gigabytes.
constexpr size_t kMaxLoadings = 10'000'000;

}  // namespace

// ---- points ------------------------------------------------------------------------

void TDigPoint::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  if (fXSet && fYSet) {
    writer.Real(fX, 3);
    writer.Real(fY, 3);
  } else {
    writer.Raw(" nil nil");
  }
  writer.Text(Description);
  writer.Real(CursorOnly ? -std::fabs(SearchRange) : std::fabs(SearchRange), 3);
  writer.Real(SearchAngle, 6);
  writer.Int(Transition);
  writer.Ref(DirectionPoint1);
  writer.Ref(DirectionPoint2);
  writer.Text(DigPointKind(fKind).Token);
  writer.Real(Parameter1, 6);
  writer.Real(Parameter2, 6);
  for (const TXRayElement* operand : fOperands) writer.Ref(operand);
  writer.Ref(HintDrawing);
  writer.Int(LockBias);
  writer.EndLine();
}

void TDigPoint::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  std::optional<double> x = reader.RealIf(3);
  std::optional<double> y = reader.RealIf(4);
  SetRaw(x.value_or(0), y.value_or(0), x.has_value(), y.has_value());
  Description = reader.Text(5);
  // The sign carries "cursor only": only a positive range searches.
  if (std::optional<double> range = reader.RealIf(6)) {
    CursorOnly = !(*range > 0);
    SearchRange = std::fabs(*range);
  }
  SearchAngle = reader.Real(7, 0);
  Transition = reader.Choice(8, 0, 2, 1);
  DirectionPoint1 = reader.Ref(9);
  DirectionPoint2 = reader.Ref(10);
  if (reader.Has(11)) {
    reader.Require(19);
    SetKind(KindOrDefault(DigPointKind, kDigPointKindCount, reader.Token(11)));
    Parameter1 = reader.Real(12, 0);
    Parameter2 = reader.Real(13, 0);
    for (int slot = 0; slot < kOperandCount; ++slot) SetOperand(slot, reader.Ref(14 + slot));
  }
  HintDrawing = reader.Ref(19);
  LockBias = reader.Choice(20, -100, 100, 0);
  // The stored position stands until the user asks for recalculation.
  NeedsPlacing = false;
}

void TDerPoint::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(DerPointKind(fKind).Token);
  writer.Real(fParameter1, 3);
  writer.Real(fParameter2, 3);
  for (int slot = 0; slot < OperandCount(); ++slot) writer.Ref(fOperands[slot]);
  writer.EndLine();
}

void TDerPoint::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  SetKind(KindOrDefault(DerPointKind, kDerPointKindCount, reader.Token(3)));
  SetParameters(reader.Real(4, 0), reader.Real(5, 0));
  // Tokens beyond the four slots have nowhere to go.
  for (int slot = 0; slot < kOperandCount && reader.Has(6 + slot); ++slot) SetOperand(slot, reader.Ref(6 + slot));
}

void TDigSnake::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(Description);
  writer.Int(HotZone);
  writer.Int(Transition);
  writer.Int(LockBias);
  writer.EndLine();
  std::vector<std::pair<double, double>> points;
  points.reserve(Points.size());
  for (const auto& point : Points) points.emplace_back(point->RawX(), point->RawY());
  writer.CoordinateBlock(points);
}

void TDigSnake::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  reader.Require(6);
  Description = reader.Text(3);
  HotZone = reader.Int(4, HotZone);
  Transition = reader.Choice(5, 0, 2, 0);
  LockBias = reader.Choice(6, -100, 100, 0);
  ClearPoints();
  for (auto [x, y] : reader.CoordinateBlock()) AddPoint(x, y, true, "Point on " + Name);
}

// ---- lists -------------------------------------------------------------------------

void TArea::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.EndLine();
  writer.ReferenceBlock(Points);
}

void TArea::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  Points = reader.ReferenceBlock();
}

void TXRProtocol::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Bool(AutoAdvance);
  writer.Bool(BeepOnAdvance);
  writer.Fixed(ErrorMargin, 1);
  writer.EndLine();
  writer.ReferenceBlock(Points);
}

void TXRProtocol::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  AutoAdvance = reader.Bool(3, AutoAdvance);
  BeepOnAdvance = reader.Bool(4, BeepOnAdvance);
  ErrorMargin = reader.Real(5, ErrorMargin);
  Points = reader.ReferenceBlock();
}

void TXRGraphic::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(GraphicKindToken(fKind));
  writer.Int(DrawOption);
  writer.Hex8(Colour);
  writer.Int(PenStyle);
  writer.Int(LineWidth);
  // The sign carries "opaque".
  writer.Int(Opaque ? BrushStyle : -BrushStyle);
  writer.Real(Size, 3);
  writer.Ref(ColourVariable);
  writer.Bool(UseForMorphing);
  writer.Int(MarkerShape);
  writer.EndLine();
  writer.ReferenceBlock(Points);
}

void TXRGraphic::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  reader.Require(11);
  std::string_view token = reader.Token(3);
  int kind = FindGraphicKindToken(token);
  // Earlier versions had one kind per marker shape.
  constexpr std::string_view kOldMarkerKinds[] = {"Cross", "Square", "Circle"};
  for (int shape = 0; shape < 3; ++shape)
    if (token == kOldMarkerKinds[shape]) {
      kind = FindGraphicKindToken("Markers");
      MarkerShape = shape;
    }
  SetKind(kind < 0 ? 0 : kind);
  DrawOption = reader.Choice(4, 0, 1, 0);
  Colour = reader.Hex8(5, 0);
  PenStyle = reader.Choice(6, 0, 5, 0);
  LineWidth = reader.Choice(7, 0, std::numeric_limits<int>::max(), 0);
  int64_t signedBrush = reader.Int(8, -1);
  Opaque = signedBrush > 0;
  BrushStyle = std::llabs(signedBrush) <= 7 ? static_cast<int>(std::llabs(signedBrush)) : 1;
  Size = reader.Real(9, Size);
  ColourVariable = reader.Ref(10);
  UseForMorphing = reader.Bool(11, false);
  MarkerShape = reader.Choice(12, 0, 4, MarkerShape);
  Points = reader.ReferenceBlock();
}

void TXRAnalysis::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.EndLine();
  writer.Line("variables");
  writer.ReferenceBlock(Points);
  writer.Line("graphics");
  writer.ReferenceBlock(Graphics);
}

void TXRAnalysis::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  std::string_view heading;
  reader.NextLine(heading);
  Points = reader.ReferenceBlock();
  reader.NextLine(heading);
  Graphics = reader.ReferenceBlock();
}

void TXRView::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.EndLine();
  writer.Line("graphics");
  writer.ReferenceBlock(Points);
  writer.Line("variables");
  writer.ReferenceBlock(Variables);
}

void TXRView::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  std::string_view heading;
  reader.NextLine(heading);
  Points = reader.ReferenceBlock();
  reader.NextLine(heading);
  Variables = reader.ReferenceBlock();
}

void TXRHardSoft::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Ref(MasterPoint);
  writer.Ref(AxisPoint1);
  writer.Ref(AxisPoint2);
  writer.Real(PercentXPlus, 1);
  writer.Real(PercentXMinus, 1);
  writer.Real(PercentYPlus, 1);
  writer.Real(PercentYMinus, 1);
  writer.Int(RotationAsTranslation ? 1 : 0);
  writer.Real(PercentRotation, 1);
  writer.EndLine();
  writer.ReferenceBlock(Points);
}

void TXRHardSoft::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  reader.Require(6);
  MasterPoint = reader.Ref(3);
  AxisPoint1 = reader.Ref(4);
  AxisPoint2 = reader.Ref(5);
  PercentXPlus = reader.Real(6, 0);
  PercentXMinus = reader.Real(7, 0);
  PercentYPlus = reader.Real(8, 0);
  PercentYMinus = reader.Real(9, 0);
  RotationAsTranslation = reader.Bool(10, false);
  PercentRotation = reader.Real(11, 0);
  Points = reader.ReferenceBlock();
}

void TXRPCA::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.EndLine();
  writer.ReferenceBlock(Points);
  const bool arrays = HasData && HasConsistentSizes();
  writer.Line("Consensus");
  for (size_t i = 0; arrays && i + 1 < Consensus.size(); i += 2) {
    writer.Raw("\t");
    writer.Raw(FormatE16(Consensus[i]));
    writer.Raw(" ");
    writer.Raw(FormatE16(Consensus[i + 1]));
    writer.EndLine();
  }
  writer.Line("end");
  writer.Line("Sample data");
  writer.Raw("\t ");
  writer.Raw(std::to_string(SampleCount));
  writer.Raw(FormatE16(SumDistances));
  writer.Raw(" ");
  writer.Raw(FormatE16(SumSquaredDistances));
  writer.EndLine();
  writer.Line("end");
  writer.Line("Variances");
  for (size_t i = 0; arrays && i < Variances.size(); ++i) writer.Line(FormatE16(Variances[i]));
  writer.Line("end");
  writer.Line("Loadings");
  for (size_t i = 0; arrays && i < Loadings.size(); ++i) {
    writer.Raw("\t");
    for (double value : Loadings[i]) writer.Raw(FormatE16(value));
    writer.EndLine();
  }
  writer.Line("end");
}

void TXRPCA::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  Points = reader.ReferenceBlock();
  const size_t n = Points.size();
  const bool sized = n > 2 && 2 * n * (2 * n - 4) <= kMaxLoadings;
  const size_t columns = sized ? 2 * n - 4 : 0;

  std::vector<std::vector<double>> consensus, variances, loadings;
  bool complete = ReadNumberRows(reader, consensus, sized ? n : 0, 2);
  ReadSection(reader, [&](const std::vector<std::string_view>& tokens) {
    if (tokens.empty()) return;
    if (auto count = ParseFileInt(tokens[0])) SampleCount = *count;
    if (tokens.size() > 1) SumDistances = ParseFileReal(tokens[1]).value_or(SumDistances);
    if (tokens.size() > 2) SumSquaredDistances = ParseFileReal(tokens[2]).value_or(SumSquaredDistances);
  });
  complete = ReadNumberRows(reader, variances, columns, 1) && complete;
  complete = ReadNumberRows(reader, loadings, sized ? 2 * n : 0, columns) && complete;

  HasData = sized && complete && consensus.size() == n && variances.size() == columns && loadings.size() == 2 * n;
  if (!HasData) return;
  for (const auto& row : consensus) Consensus.insert(Consensus.end(), row.begin(), row.end());
  for (const auto& row : variances) Variances.push_back(row.front());
  Loadings = std::move(loadings);
}

// ---- kind elements -----------------------------------------------------------------

void TXRVariable::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(VariableKind(fKind).Token);
  const int n = OperandCount();
  // A negative number marks an operand taken from the reference radiograph.
  for (int slot = 0; slot < n; ++slot) writer.Ref(Points[slot], ReferenceFlags[slot]);
  writer.Ref(Anchor);
  writer.Int(LabelOffsetX);
  writer.Int(LabelOffsetY);
  writer.Int(Alignment);
  writer.Int(ShowIn);
  writer.Bool(ShowName);
  writer.Text(TextBefore);
  writer.Text(NumberFormat);
  writer.Text(TextAfter);
  writer.Int(Style);
  writer.RoundedInt(AuxiliaryValue);
  writer.EndLine();
  WriteNorms(writer, "female normals", FemaleNormals);
  WriteNorms(writer, "male normals", MaleNormals);
}

void TXRVariable::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  const int kind = KindOrDefault(VariableKind, kVariableKindCount, reader.Token(3));
  SetKind(kind);
  const int n = OperandCount();
  reader.Require(9 + n);
  for (int slot = 0; slot < n; ++slot) {
    const int64_t number = reader.Int(4 + slot, 0);
    SetOperand(slot, reader.Element(std::llabs(number)));
    ReferenceFlags[slot] = number < 0 && Points[slot] != nullptr && IsReferenceVariableKind(kind);
  }
  Anchor = reader.Ref(4 + n);
  LabelOffsetX = reader.Int(5 + n, LabelOffsetX);
  LabelOffsetY = reader.Int(6 + n, LabelOffsetY);
  Alignment = reader.Choice(7 + n, 0, 2, 0);
  ShowIn = reader.Choice(8 + n, 0, 2, 2);
  ShowName = reader.Bool(9 + n, false);
  TextBefore = reader.Text(10 + n);
  NumberFormat = reader.Text(11 + n, NumberFormat);
  TextAfter = reader.Text(12 + n);
  Style = reader.Choice(13 + n, 1, 12, 1);
  AuxiliaryValue = reader.Real(14 + n, 0);
  ReadNorms(reader, FemaleNormals);
  ReadNorms(reader, MaleNormals);
}

void TXRSupimp::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(SupimpKind(fKind).Token);
  for (int slot = 0; slot < OperandCount(); ++slot) writer.Ref(Points[slot]);
  writer.EndLine();
}

void TXRSupimp::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  SetKind(KindOrDefault(SupimpKind, kSupimpKindCount, reader.Token(3)));
  const int n = OperandCount();
  reader.Require(4 + n);
  for (int slot = 0; slot < n; ++slot) SetOperand(slot, reader.Ref(4 + slot));
}

void TXROrient::WriteDefinition(TTypeFileWriter& writer) const {
  writer.BeginRecord(*this);
  writer.Text(OrientKind(fKind).Token);
  writer.Real(Parameter1, 3);
  writer.Real(Parameter2, 3);
  for (int slot = 0; slot < OperandCount(); ++slot) writer.Ref(Points[slot]);
  writer.Int(Affect);
  writer.Ref(AffectedArea);
  writer.EndLine();
}

void TXROrient::ReadDefinition(TTypeFileReader& reader) {
  Name = reader.Text(2);
  SetKind(KindOrDefault(OrientKind, kOrientKindCount, reader.Token(3)));
  Parameter1 = reader.Real(4, 0);
  Parameter2 = reader.Real(5, 0);
  const int n = OperandCount();
  reader.Require(6 + n);
  for (int slot = 0; slot < n; ++slot) SetOperand(slot, reader.Ref(6 + slot));
  Affect = reader.Choice(6 + n, 0, 2, 0);
  AffectedArea = reader.Ref(7 + n);
}

}  // namespace lumacet
