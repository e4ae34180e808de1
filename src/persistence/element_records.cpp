// Every element's record in the type file: the header line's fields and its continuation
// lines. The readers follow the writers field by field, and also take the older and
// shorter forms earlier versions wrote.
#include "persistence/element_records.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "persistence/type_file.h"
#include "support/file_numbers.h"

namespace lumacet {

namespace {

template <class TInfo>
int KindOrDefault(const TInfo& (*table)(int), int count, std::string_view token) {
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


// ---- points ------------------------------------------------------------------------

void WriteRecord(TTypeFileWriter& writer, const TDigPoint& e) {
  writer.BeginRecord(e);
  if (e.XSet() && e.YSet()) {
    writer.Real(e.RawX(), 3);
    writer.Real(e.RawY(), 3);
  } else {
    writer.Raw(" nil nil");
  }
  writer.Text(e.Description);
  writer.Real(e.CursorOnly ? -std::fabs(e.SearchRange) : std::fabs(e.SearchRange), 3);
  writer.Real(e.SearchAngle, 6);
  writer.Int(e.Transition);
  writer.Ref(e.DirectionPoint1);
  writer.Ref(e.DirectionPoint2);
  writer.Text(DigPointKind(e.Kind()).Token);
  writer.Real(e.Parameter1, 6);
  writer.Real(e.Parameter2, 6);
  for (int slot = 0; slot < TDigPoint::kOperandCount; ++slot) writer.Ref(e.Operand(slot));
  writer.Ref(e.HintDrawing);
  writer.Int(e.LockBias);
  writer.EndLine();
}

void ReadRecord(TTypeFileReader& reader, TDigPoint& e) {
  e.Name = reader.Text(2);
  std::optional<double> x = reader.RealIf(3);
  std::optional<double> y = reader.RealIf(4);
  e.SetRaw(x.value_or(0), y.value_or(0), x.has_value(), y.has_value());
  e.Description = reader.Text(5);
  // The sign carries "cursor only": only a positive range searches.
  if (std::optional<double> range = reader.RealIf(6)) {
    e.CursorOnly = !(*range > 0);
    e.SearchRange = std::fabs(*range);
  }
  e.SearchAngle = reader.Real(7, 0);
  e.Transition = reader.Choice(8, 0, 2, 1);
  e.DirectionPoint1 = reader.Ref(9);
  e.DirectionPoint2 = reader.Ref(10);
  if (reader.Has(11)) {
    reader.Require(19);
    e.SetKind(KindOrDefault(DigPointKind, kDigPointKindCount, reader.Token(11)));
    e.Parameter1 = reader.Real(12, 0);
    e.Parameter2 = reader.Real(13, 0);
    for (int slot = 0; slot < e.kOperandCount; ++slot) e.SetOperand(slot, reader.Ref(14 + slot));
  }
  e.HintDrawing = reader.Ref(19);
  e.LockBias = reader.Choice(20, -100, 100, 0);
  // The stored position stands until the user asks for recalculation.
  e.NeedsPlacing = false;
}

void WriteRecord(TTypeFileWriter& writer, const TDerPoint& e) {
  writer.BeginRecord(e);
  writer.Text(DerPointKind(e.Kind()).Token);
  writer.Real(e.Parameter1(), 3);
  writer.Real(e.Parameter2(), 3);
  for (int slot = 0; slot < e.OperandCount(); ++slot) writer.Ref(e.Operand(slot));
  writer.EndLine();
}

void ReadRecord(TTypeFileReader& reader, TDerPoint& e) {
  e.Name = reader.Text(2);
  e.SetKind(KindOrDefault(DerPointKind, kDerPointKindCount, reader.Token(3)));
  e.SetParameters(reader.Real(4, 0), reader.Real(5, 0));
  // Tokens beyond the four slots have nowhere to go.
  for (int slot = 0; slot < e.kOperandCount && reader.Has(6 + slot); ++slot) e.SetOperand(slot, reader.Ref(6 + slot));
}

void WriteRecord(TTypeFileWriter& writer, const TDigSnake& e) {
  writer.BeginRecord(e);
  writer.Text(e.Description);
  writer.Int(e.HotZone);
  writer.Int(e.Transition);
  writer.Int(e.LockBias);
  writer.EndLine();
  std::vector<std::pair<double, double>> points;
  points.reserve(e.Points.size());
  for (const auto& point : e.Points) points.emplace_back(point->RawX(), point->RawY());
  writer.CoordinateBlock(points);
}

void ReadRecord(TTypeFileReader& reader, TDigSnake& e) {
  e.Name = reader.Text(2);
  reader.Require(6);
  e.Description = reader.Text(3);
  e.HotZone = reader.Int(4, e.HotZone);
  e.Transition = reader.Choice(5, 0, 2, 0);
  e.LockBias = reader.Choice(6, -100, 100, 0);
  e.ClearPoints();
  for (auto [x, y] : reader.CoordinateBlock()) e.AddPoint(x, y, true, "Point on " + e.Name);
}

// ---- lists -------------------------------------------------------------------------

void WriteRecord(TTypeFileWriter& writer, const TArea& e) {
  writer.BeginRecord(e);
  writer.EndLine();
  writer.ReferenceBlock(e.Points);
}

void ReadRecord(TTypeFileReader& reader, TArea& e) {
  e.Name = reader.Text(2);
  e.Points = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRProtocol& e) {
  writer.BeginRecord(e);
  writer.Bool(e.AutoAdvance);
  writer.Bool(e.BeepOnAdvance);
  writer.Fixed(e.ErrorMargin, 1);
  writer.EndLine();
  writer.ReferenceBlock(e.Points);
}

void ReadRecord(TTypeFileReader& reader, TXRProtocol& e) {
  e.Name = reader.Text(2);
  e.AutoAdvance = reader.Bool(3, e.AutoAdvance);
  e.BeepOnAdvance = reader.Bool(4, e.BeepOnAdvance);
  e.ErrorMargin = reader.Real(5, e.ErrorMargin);
  e.Points = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRGraphic& e) {
  writer.BeginRecord(e);
  writer.Text(GraphicKind(e.Kind()).Token);
  writer.Int(e.DrawOption);
  writer.Hex8(e.Colour);
  writer.Int(e.PenStyle);
  writer.Int(e.LineWidth);
  // The sign carries "opaque".
  writer.Int(e.Opaque ? e.BrushStyle : -e.BrushStyle);
  writer.Real(e.Size, 3);
  writer.Ref(e.ColourVariable);
  writer.Bool(e.UseForMorphing);
  writer.Int(e.MarkerShape);
  writer.EndLine();
  writer.ReferenceBlock(e.Points);
}

void ReadRecord(TTypeFileReader& reader, TXRGraphic& e) {
  e.Name = reader.Text(2);
  reader.Require(11);
  std::string_view token = reader.Token(3);
  int kind = FindKindToken(GraphicKind, kGraphicKindCount, token);
  // Earlier versions had one kind per marker shape.
  constexpr std::string_view kOldMarkerKinds[] = {"Cross", "Square", "Circle"};
  for (int shape = 0; shape < 3; ++shape)
    if (token == kOldMarkerKinds[shape]) {
      kind = KindNumber(TGraphicKind::Markers);
      e.MarkerShape = shape;
    }
  e.SetKind(kind < 0 ? 0 : kind);
  e.DrawOption = reader.Choice(4, 0, 1, 0);
  e.Colour = reader.Hex8(5, 0);
  e.PenStyle = reader.Choice(6, 0, 5, 0);
  e.LineWidth = reader.Choice(7, 0, std::numeric_limits<int>::max(), 0);
  int64_t signedBrush = reader.Int(8, -1);
  e.Opaque = signedBrush > 0;
  e.BrushStyle = std::llabs(signedBrush) <= 7 ? static_cast<int>(std::llabs(signedBrush)) : 1;
  e.Size = reader.Real(9, e.Size);
  e.ColourVariable = reader.Ref(10);
  e.UseForMorphing = reader.Bool(11, false);
  e.MarkerShape = reader.Choice(12, 0, 4, e.MarkerShape);
  e.Points = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRAnalysis& e) {
  writer.BeginRecord(e);
  writer.EndLine();
  writer.Line("variables");
  writer.ReferenceBlock(e.Points);
  writer.Line("graphics");
  writer.ReferenceBlock(e.Graphics);
}

void ReadRecord(TTypeFileReader& reader, TXRAnalysis& e) {
  e.Name = reader.Text(2);
  std::string_view heading;
  reader.NextLine(heading);
  e.Points = reader.ReferenceBlock();
  reader.NextLine(heading);
  e.Graphics = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRView& e) {
  writer.BeginRecord(e);
  writer.EndLine();
  writer.Line("graphics");
  writer.ReferenceBlock(e.Points);
  writer.Line("variables");
  writer.ReferenceBlock(e.Variables);
}

void ReadRecord(TTypeFileReader& reader, TXRView& e) {
  e.Name = reader.Text(2);
  std::string_view heading;
  reader.NextLine(heading);
  e.Points = reader.ReferenceBlock();
  reader.NextLine(heading);
  e.Variables = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRHardSoft& e) {
  writer.BeginRecord(e);
  writer.Ref(e.MasterPoint);
  writer.Ref(e.AxisPoint1);
  writer.Ref(e.AxisPoint2);
  writer.Real(e.PercentXPlus, 1);
  writer.Real(e.PercentXMinus, 1);
  writer.Real(e.PercentYPlus, 1);
  writer.Real(e.PercentYMinus, 1);
  writer.Int(e.RotationAsTranslation ? 1 : 0);
  writer.Real(e.PercentRotation, 1);
  writer.EndLine();
  writer.ReferenceBlock(e.Points);
}

void ReadRecord(TTypeFileReader& reader, TXRHardSoft& e) {
  e.Name = reader.Text(2);
  reader.Require(6);
  e.MasterPoint = reader.Ref(3);
  e.AxisPoint1 = reader.Ref(4);
  e.AxisPoint2 = reader.Ref(5);
  e.PercentXPlus = reader.Real(6, 0);
  e.PercentXMinus = reader.Real(7, 0);
  e.PercentYPlus = reader.Real(8, 0);
  e.PercentYMinus = reader.Real(9, 0);
  e.RotationAsTranslation = reader.Bool(10, false);
  e.PercentRotation = reader.Real(11, 0);
  e.Points = reader.ReferenceBlock();
}

void WriteRecord(TTypeFileWriter& writer, const TXRPCA& e) {
  writer.BeginRecord(e);
  writer.EndLine();
  writer.ReferenceBlock(e.Points);
  const bool arrays = e.HasData && e.HasConsistentSizes();
  writer.Line("Consensus");
  for (size_t i = 0; arrays && i + 1 < e.Consensus.size(); i += 2) {
    writer.Raw("\t");
    writer.Raw(FormatE16(e.Consensus[i]));
    writer.Raw(" ");
    writer.Raw(FormatE16(e.Consensus[i + 1]));
    writer.EndLine();
  }
  writer.Line("end");
  writer.Line("Sample data");
  writer.Raw("\t ");
  writer.Raw(std::to_string(e.SampleCount));
  writer.Raw(FormatE16(e.SumDistances));
  writer.Raw(" ");
  writer.Raw(FormatE16(e.SumSquaredDistances));
  writer.EndLine();
  writer.Line("end");
  writer.Line("Variances");
  for (size_t i = 0; arrays && i < e.Variances.size(); ++i) writer.Line(FormatE16(e.Variances[i]));
  writer.Line("end");
  writer.Line("Loadings");
  for (size_t i = 0; arrays && i < e.Loadings.size(); ++i) {
    writer.Raw("\t");
    for (double value : e.Loadings[i]) writer.Raw(FormatE16(value));
    writer.EndLine();
  }
  writer.Line("end");
}

void ReadRecord(TTypeFileReader& reader, TXRPCA& e) {
  e.Name = reader.Text(2);
  e.Points = reader.ReferenceBlock();
  const size_t n = e.Points.size();
  const bool sized = n > 2 && 2 * n * (2 * n - 4) <= kMaxLoadings;
  const size_t columns = sized ? 2 * n - 4 : 0;

  std::vector<std::vector<double>> consensus, variances, loadings;
  bool complete = ReadNumberRows(reader, consensus, sized ? n : 0, 2);
  ReadSection(reader, [&](const std::vector<std::string_view>& tokens) {
    if (tokens.empty()) return;
    if (auto count = ParseFileInt(tokens[0])) e.SampleCount = *count;
    if (tokens.size() > 1) e.SumDistances = ParseFileReal(tokens[1]).value_or(e.SumDistances);
    if (tokens.size() > 2) e.SumSquaredDistances = ParseFileReal(tokens[2]).value_or(e.SumSquaredDistances);
  });
  complete = ReadNumberRows(reader, variances, columns, 1) && complete;
  complete = ReadNumberRows(reader, loadings, sized ? 2 * n : 0, columns) && complete;

  e.HasData = sized && complete && consensus.size() == n && variances.size() == columns && loadings.size() == 2 * n;
  if (!e.HasData) return;
  for (const auto& row : consensus) e.Consensus.insert(e.Consensus.end(), row.begin(), row.end());
  for (const auto& row : variances) e.Variances.push_back(row.front());
  e.Loadings = std::move(loadings);
}

// ---- kind elements -----------------------------------------------------------------

void WriteRecord(TTypeFileWriter& writer, const TXRVariable& e) {
  writer.BeginRecord(e);
  writer.Text(VariableKind(e.Kind()).Token);
  const int n = e.OperandCount();
  // A negative number marks an operand taken from the reference radiograph.
  for (int slot = 0; slot < n; ++slot) writer.Ref(e.Points[slot], e.ReferenceFlags[slot]);
  writer.Ref(e.Anchor);
  writer.Int(e.LabelOffsetX);
  writer.Int(e.LabelOffsetY);
  writer.Int(e.Alignment);
  writer.Int(e.ShowIn);
  writer.Bool(e.ShowName);
  writer.Text(e.TextBefore);
  writer.Text(e.NumberFormat);
  writer.Text(e.TextAfter);
  writer.Int(e.Style);
  writer.RoundedInt(e.AuxiliaryValue);
  writer.EndLine();
  WriteNorms(writer, "female normals", e.FemaleNormals);
  WriteNorms(writer, "male normals", e.MaleNormals);
}

void ReadRecord(TTypeFileReader& reader, TXRVariable& e) {
  e.Name = reader.Text(2);
  const int kind = KindOrDefault(VariableKind, kVariableKindCount, reader.Token(3));
  e.SetKind(kind);
  const int n = e.OperandCount();
  reader.Require(9 + n);
  for (int slot = 0; slot < n; ++slot) {
    const int64_t number = reader.Int(4 + slot, 0);
    e.SetOperand(slot, reader.Element(std::llabs(number)));
    e.ReferenceFlags[slot] = number < 0 && e.Points[slot] != nullptr && IsReferenceVariableKind(kind);
  }
  e.Anchor = reader.Ref(4 + n);
  e.LabelOffsetX = reader.Int(5 + n, e.LabelOffsetX);
  e.LabelOffsetY = reader.Int(6 + n, e.LabelOffsetY);
  e.Alignment = reader.Choice(7 + n, 0, 2, 0);
  e.ShowIn = reader.Choice(8 + n, 0, 2, 2);
  e.ShowName = reader.Bool(9 + n, false);
  e.TextBefore = reader.Text(10 + n);
  e.NumberFormat = reader.Text(11 + n, e.NumberFormat);
  e.TextAfter = reader.Text(12 + n);
  e.Style = reader.Choice(13 + n, 1, 12, 1);
  e.AuxiliaryValue = reader.Real(14 + n, 0);
  ReadNorms(reader, e.FemaleNormals);
  ReadNorms(reader, e.MaleNormals);
}

void WriteRecord(TTypeFileWriter& writer, const TXRSupimp& e) {
  writer.BeginRecord(e);
  writer.Text(SupimpKind(e.Kind()).Token);
  for (int slot = 0; slot < e.OperandCount(); ++slot) writer.Ref(e.Points[slot]);
  writer.EndLine();
}

void ReadRecord(TTypeFileReader& reader, TXRSupimp& e) {
  e.Name = reader.Text(2);
  e.SetKind(KindOrDefault(SupimpKind, kSupimpKindCount, reader.Token(3)));
  const int n = e.OperandCount();
  reader.Require(4 + n);
  for (int slot = 0; slot < n; ++slot) e.SetOperand(slot, reader.Ref(4 + slot));
}

void WriteRecord(TTypeFileWriter& writer, const TXROrient& e) {
  writer.BeginRecord(e);
  writer.Text(OrientKind(e.Kind()).Token);
  writer.Real(e.Parameter1, 3);
  writer.Real(e.Parameter2, 3);
  for (int slot = 0; slot < e.OperandCount(); ++slot) writer.Ref(e.Points[slot]);
  writer.Int(e.Affect);
  writer.Ref(e.AffectedArea);
  writer.EndLine();
}

void ReadRecord(TTypeFileReader& reader, TXROrient& e) {
  e.Name = reader.Text(2);
  e.SetKind(KindOrDefault(OrientKind, kOrientKindCount, reader.Token(3)));
  e.Parameter1 = reader.Real(4, 0);
  e.Parameter2 = reader.Real(5, 0);
  const int n = e.OperandCount();
  reader.Require(6 + n);
  for (int slot = 0; slot < n; ++slot) e.SetOperand(slot, reader.Ref(6 + slot));
  e.Affect = reader.Choice(6 + n, 0, 2, 0);
  e.AffectedArea = reader.Ref(7 + n);
}

}  // namespace

void WriteElementRecord(TTypeFileWriter& writer, const TXRayElement& element) {
  switch (element.KindCode()) {
    case ekDigPoint: return WriteRecord(writer, static_cast<const TDigPoint&>(element));
    case ekSnake: return WriteRecord(writer, static_cast<const TDigSnake&>(element));
    case ekDerPoint: return WriteRecord(writer, static_cast<const TDerPoint&>(element));
    case ekArea: return WriteRecord(writer, static_cast<const TArea&>(element));
    case ekGraphic: return WriteRecord(writer, static_cast<const TXRGraphic&>(element));
    case ekVariable: return WriteRecord(writer, static_cast<const TXRVariable&>(element));
    case ekAnalysis: return WriteRecord(writer, static_cast<const TXRAnalysis&>(element));
    case ekProtocol: return WriteRecord(writer, static_cast<const TXRProtocol&>(element));
    case ekSupimp: return WriteRecord(writer, static_cast<const TXRSupimp&>(element));
    case ekOrient: return WriteRecord(writer, static_cast<const TXROrient&>(element));
    case ekHardSoft: return WriteRecord(writer, static_cast<const TXRHardSoft&>(element));
    case ekView: return WriteRecord(writer, static_cast<const TXRView&>(element));
    case ekPCA: return WriteRecord(writer, static_cast<const TXRPCA&>(element));
    default: return;
  }
}

void ReadElementRecord(TTypeFileReader& reader, TXRayElement& element) {
  switch (element.KindCode()) {
    case ekDigPoint: return ReadRecord(reader, static_cast<TDigPoint&>(element));
    case ekSnake: return ReadRecord(reader, static_cast<TDigSnake&>(element));
    case ekDerPoint: return ReadRecord(reader, static_cast<TDerPoint&>(element));
    case ekArea: return ReadRecord(reader, static_cast<TArea&>(element));
    case ekGraphic: return ReadRecord(reader, static_cast<TXRGraphic&>(element));
    case ekVariable: return ReadRecord(reader, static_cast<TXRVariable&>(element));
    case ekAnalysis: return ReadRecord(reader, static_cast<TXRAnalysis&>(element));
    case ekProtocol: return ReadRecord(reader, static_cast<TXRProtocol&>(element));
    case ekSupimp: return ReadRecord(reader, static_cast<TXRSupimp&>(element));
    case ekOrient: return ReadRecord(reader, static_cast<TXROrient&>(element));
    case ekHardSoft: return ReadRecord(reader, static_cast<TXRHardSoft&>(element));
    case ekView: return ReadRecord(reader, static_cast<TXRView&>(element));
    case ekPCA: return ReadRecord(reader, static_cast<TXRPCA&>(element));
    default: return;
  }
}

}  // namespace lumacet
