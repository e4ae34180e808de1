#include <gtest/gtest.h>

#include <string>

#include "persistence/type_file.h"
#include "persistence/type_file_samples.h"
#include "support/file_numbers.h"

namespace lumacet {
namespace {

using test::MinimalFile;

struct TLoaded {
  bool Ok = false;
  std::string Message;
  std::unique_ptr<TXRayType> Type = std::make_unique<TXRayType>();
};

TLoaded Load(std::string_view text) {
  TLoaded loaded;
  const TResult read = ReadTypeFileText(text, *loaded.Type);
  loaded.Ok = read.Ok();
  loaded.Message = read.Text().English();
  return loaded;
}

std::string FailureAt(std::string_view what) {
  return "Could not load radiograph type.\r\n\r\nError reading " + std::string(what) + ".";
}

// The lines of a written file that hold `needle`, for checking single records.
std::string LineWith(const std::string& text, std::string_view needle) {
  size_t at = text.find(needle);
  if (at == std::string::npos) return {};
  size_t start = text.rfind("\r\n", at);
  start = start == std::string::npos ? 0 : start + 2;
  return text.substr(start, text.find("\r\n", at) - start);
}

template <class T>
T* Get(const TXRayType& type, int code, size_t index) {
  return dynamic_cast<T*>(type.ElementList(code).at(index).get());
}

TEST(TypeFileNotation, NumbersAreWrittenByteForByte) {
  EXPECT_EQ(FormatRounded(0.5, 3), "0.5");
  EXPECT_EQ(FormatRounded(2, 3), "2");
  EXPECT_EQ(FormatRounded(-0.0004, 3), "0");
  EXPECT_EQ(FormatRounded(1.23456, 3), "1.235");
  EXPECT_EQ(FormatRounded(-12.35, 1), "-12.3");  // nearest to the binary value, which lies below
  EXPECT_EQ(FormatRounded(0.1234567, 6), "0.123457");
  EXPECT_EQ(FormatFixed(2, 1), "2.0");
  EXPECT_EQ(FormatFixed(-0.01, 1), "0.0");
  EXPECT_EQ(FormatE16(1.5), "  1.5000000E+000");
  EXPECT_EQ(FormatE16(-0.25), " -2.5000000E-001");
  EXPECT_EQ(FormatE16(-1.2345678e-300), " -1.2345678E-300");
  EXPECT_EQ(FormatHex8(255), "$000000FF");
  EXPECT_EQ(FormatRoundedInt(2.5), "2");
  EXPECT_EQ(FormatRoundedInt(3.5), "4");
  EXPECT_EQ(FormatRoundedInt(-0.4), "0");
}

TEST(TypeFileNotation, NonFiniteAndForeignNumberFormsAreNotNumbers) {
  for (const char* text : {"nan", "inf", "-inf", "0x10", "1e999", "+1", " 1", "1,5", ""})
    EXPECT_FALSE(ParseFileReal(text).has_value()) << text;
  EXPECT_EQ(ParseFileReal("1.5"), 1.5);
  EXPECT_EQ(ParseFileReal("-2.5000000E-001"), -0.25);
}

TEST(TypeFileRecords, GoldenDigitizedPointReadsAndWritesBackIdentically) {
  const std::string golden = " 1 DigPoint \"S\" 10 20 \"\" 0 0 1 0 0 \"Normal\" 0 0 0 0 0 0 0 0 0\r\n";
  TLoaded loaded = Load(MinimalFile(golden));
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  auto* s = Get<TDigPoint>(*loaded.Type, ekDigPoint, 0);
  EXPECT_EQ(s->Name, "S");
  EXPECT_TRUE(s->XSet() && s->YSet());
  EXPECT_EQ(s->RawX(), 10);
  EXPECT_TRUE(s->CursorOnly);
  EXPECT_FALSE(s->NeedsPlacing);
  EXPECT_EQ(WriteTypeFileText(*loaded.Type), MinimalFile(golden));
}

TEST(TypeFileRecords, EveryKindWritesReadsAndWritesTheSameBytes) {
  auto original = test::EveryKindType();
  const std::string first = WriteTypeFileText(*original);
  TLoaded loaded = Load(first);
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  EXPECT_EQ(WriteTypeFileText(*loaded.Type), first);
  for (int code = 0; code < kElementListCount; ++code)
    EXPECT_EQ(loaded.Type->Count(code), original->Count(code)) << ElementKindName(code);

  // Records as the file states them.
  EXPECT_EQ(LineWith(first, "\"N\""),
            " 2 DigPoint \"N\" 1250.5 700.25 \"\" 50 1.570796 2 1 0 \"Normal\" 0 0 0 0 0 0 0 0 -30");
  EXPECT_EQ(LineWith(first, "\"Or\""), " 3 DigPoint \"Or\" nil nil \"\" -20 0 1 0 0 \"Normal\" 0 0 0 0 0 0 0 0 0");
  EXPECT_EQ(LineWith(first, "\"Pog\""),
            " 4 DigPoint \"Pog\" 1190 1900 \"\" 0 0 1 0 0 \"Extreme\" 900 0.125 19 1 0 2 0 9 0");
  EXPECT_EQ(LineWith(first, "\"Mid SN\""), " 5 DerPoint \"Mid SN\" \"Midpoint\" 0 0 1 2");
  EXPECT_EQ(LineWith(first, "\"SN line\""), " 8 Drawing \"SN line\" \"Line\" 1 $000000FF 2 3 4 120.5 11 1 0");
  EXPECT_EQ(LineWith(first, "\"SNA\""),
            " 11 Variable \"SNA\" \"Angle 180\" 2 4 2 1 2 25 -40 1 0 1 \"SNA = \" \"0.0\" \" deg\" 3 0");
  EXPECT_EQ(LineWith(first, "\"Ref distance\""),
            " 12 Variable \"Ref distance\" \"[R] Distance1\" 1 -2 0 10 -10 0 2 0 \"\" \"0.#\" \"\" 1 0");
  EXPECT_EQ(LineWith(first, "\"Tracing order\""), " 14 Protocol \"Tracing order\" 0 1 1.5");
  EXPECT_EQ(LineWith(first, "\"SN at 7\""), " 16 Orientation \"SN at 7\" \"Set to Angle\" 7 0 1 2 2 7");
  EXPECT_EQ(LineWith(first, "\"Chin\""), " 17 Relationship \"Chin\" 4 1 2 90 80.5 70 60 1 50.5");
  EXPECT_NE(first.find(LineWith(first, "\"SNA\"") + "\r\n\tfemale normals\r\n\t 0 12 81.5 3.25\r\n\t 12 99 82 3.5\r\n\tend\r\n"
                       "\tmale normals\r\n\t 0 99 82.5 3.75\r\n\tend\r\n"),
            std::string::npos);
  EXPECT_NE(first.find("\tvariables\r\n\t 11 12 end\r\n\tgraphics\r\n\t 8 end\r\n"), std::string::npos);
  EXPECT_NE(first.find(" 20 PCA \"Shape\"\r\n\t 1 2 4 end\r\n\tConsensus\r\n\t -5.0000000E-001   2.5000000E-001\r\n"),
            std::string::npos);
  EXPECT_NE(first.find("\tSample data\r\n\t 25  1.2345000E+003  -6.2500000E-002\r\n\tend\r\n"), std::string::npos);
  EXPECT_NE(first.find("\tLoadings\r\n\t  1.0000000E-001  2.0000000E-001\r\n"), std::string::npos);
  EXPECT_NE(first.find(" 21 PCA \"Too small\"\r\n\t 1 2 end\r\n\tConsensus\r\n\tend\r\n"), std::string::npos);

  // Fields and references as read, including those pointing at later records.
  const TXRayType& t = *loaded.Type;
  auto* n = Get<TDigPoint>(t, ekDigPoint, 1);
  EXPECT_FALSE(n->CursorOnly);
  EXPECT_EQ(n->SearchRange, 50);
  EXPECT_EQ(n->DirectionPoint1, Get<TDigPoint>(t, ekDigPoint, 0));
  EXPECT_FALSE(Get<TDigPoint>(t, ekDigPoint, 2)->XSet());
  auto* pog = Get<TDigPoint>(t, ekDigPoint, 3);
  EXPECT_EQ(pog->Kind(), 2);
  EXPECT_EQ(pog->Operand(0), Get<TDigSnake>(t, ekSnake, 0));
  EXPECT_EQ(pog->HintDrawing, Get<TXRGraphic>(t, ekGraphic, 1));
  auto* sna = Get<TXRVariable>(t, ekVariable, 0);
  EXPECT_EQ(sna->Operand(1), pog);
  EXPECT_EQ(sna->FemaleNormals, original->Element<TXRVariable>(ekVariable, 0)->FemaleNormals);
  EXPECT_EQ(Get<TXRGraphic>(t, ekGraphic, 0)->ColourVariable, sna);
  auto* reference = Get<TXRVariable>(t, ekVariable, 1);
  EXPECT_FALSE(reference->ReferenceFlags[0]);
  EXPECT_TRUE(reference->ReferenceFlags[1]);
  EXPECT_EQ(Get<TXROrient>(t, ekOrient, 0)->AffectedArea, Get<TArea>(t, ekArea, 0));
  auto* pca = Get<TXRPCA>(t, ekPCA, 0);
  EXPECT_TRUE(pca->HasData);
  EXPECT_EQ(pca->Loadings, original->Element<TXRPCA>(ekPCA, 0)->Loadings);
  EXPECT_EQ(Get<TXRGraphic>(t, ekGraphic, 2)->Points, std::vector<TXRayElement*>{pca});
  EXPECT_FALSE(Get<TXRPCA>(t, ekPCA, 1)->HasData);

  // The state a freshly loaded type is in.
  auto* snake = Get<TDigSnake>(t, ekSnake, 0);
  EXPECT_TRUE(snake->Placed);
  ASSERT_EQ(snake->Points.size(), 24u);
  EXPECT_EQ(snake->Points[0]->Name, "Point on Profile");
  EXPECT_EQ(snake->Points[23]->RawX(), 0);
  EXPECT_EQ(snake->Points[23]->RawY(), -0.5);
  ASSERT_EQ(t.TemplateSnakes.size(), 1u);
  EXPECT_EQ(t.TemplateSnakes[0]->Points.size(), 24u);
  ASSERT_EQ(t.TemplatePoints.size(), 4u);
  EXPECT_EQ(t.TemplatePoints[1]->Name, "N");
  EXPECT_EQ(t.TemplatePoints[1]->RawX(), 1250.5);
  EXPECT_EQ(t.CurrentAnalysis, t.ElementList(ekAnalysis)[0].get());
  EXPECT_EQ(t.CurrentView, nullptr);
  EXPECT_FALSE(t.Modified);
  EXPECT_EQ(t.ImageFile, "/films/ceph 1.jpg");
  EXPECT_EQ(t.PixelHeight, 0.875);
  EXPECT_EQ(t.AutoDetectResolution, 1);
  EXPECT_FALSE(t.IconIsIcon);
  EXPECT_EQ(t.IconData, original->IconData);
}

TEST(TypeFileRecords, ReferenceBlocksHoldTwentyNumbersPerLine) {
  auto type = test::EveryKindType();
  const std::string text = WriteTypeFileText(*type);
  // Exactly twenty entries: one full line, then a line with only the closing word.
  EXPECT_NE(text.find(" 9 Drawing \"Markers\" \"Markers\" 0 $00000000 0 0 0 100 0 0 3\r\n"
                      "\t 1 2 1 2 1 2 1 2 1 2 1 2 1 2 1 2 1 2 1 2\r\n\t end\r\n"),
            std::string::npos);
  // Snake coordinates: twenty pairs per line, then the rest and " end" on the next.
  EXPECT_NE(text.find("\r\n\t 1310 1405 1310.5 1445.25 1311 1485.5 0 -0.5 end\r\n"), std::string::npos);
  test::Add<TArea>(*type, ekArea, "Empty");
  EXPECT_NE(WriteTypeFileText(*type).find(" 8 Area \"Empty\"\r\n\t end\r\n"), std::string::npos);
}

TEST(TypeFileRecords, OlderLayoutWithShortRecordsLoadsWithDefaults) {
  const std::string text =
      "Old type\r\nImage\r\nBitmap\r\n0102\r\nImage end\r\n"
      " 1 DigPoint \"A\" 1 2\r\n"
      " 2 DigPoint \"B\" nil nil\r\n"
      " 3 DerPoint \"M\" \"Midpoint\" 0 0 1 2\r\n"
      " 4 Drawing \"D\" \"Circle\" 0 $FF 0 1 1 50 0\r\n\t 1 2 end\r\n"
      " 5 Variable \"d\" \"Distance1\" 1 2 0 10 -10 0 2\r\n"
      " 6 DigSnake \"P\" \"\" 50 0\r\n\t 1 2 3 4 end\r\n"
      " 7 Protocol \"Order\"\r\n\t 1 2 end\r\n";
  TLoaded loaded = Load(text);
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  const TXRayType& t = *loaded.Type;
  EXPECT_EQ(t.Name, "Old type");
  EXPECT_EQ(t.ImageFile, "");
  EXPECT_EQ(t.AutoDetectResolution, 2);
  EXPECT_FALSE(t.IconIsIcon);
  EXPECT_EQ(t.IconData, (std::vector<uint8_t>{1, 2}));
  auto* a = Get<TDigPoint>(t, ekDigPoint, 0);
  EXPECT_TRUE(a->XSet() && a->YSet());
  EXPECT_EQ(a->RawY(), 2);
  EXPECT_TRUE(a->CursorOnly);
  EXPECT_EQ(a->Transition, 1);
  EXPECT_EQ(a->Kind(), 0);
  EXPECT_FALSE(Get<TDigPoint>(t, ekDigPoint, 1)->XSet());
  EXPECT_EQ(Get<TDerPoint>(t, ekDerPoint, 0)->Operand(1), Get<TDigPoint>(t, ekDigPoint, 1));
  auto* drawing = Get<TXRGraphic>(t, ekGraphic, 0);
  EXPECT_EQ(GraphicKind(drawing->Kind()).Token, "Markers");
  EXPECT_EQ(drawing->MarkerShape, 2);
  EXPECT_TRUE(drawing->Opaque);
  EXPECT_EQ(drawing->Colour, 0xFFu);
  EXPECT_FALSE(drawing->UseForMorphing);
  auto* d = Get<TXRVariable>(t, ekVariable, 0);
  EXPECT_EQ(d->NumberFormat, "0.#");
  EXPECT_EQ(d->Style, 1);
  EXPECT_TRUE(d->FemaleNormals.empty());
  EXPECT_EQ(Get<TDigSnake>(t, ekSnake, 0)->Points.size(), 2u);
  auto* protocol = Get<TXRProtocol>(t, ekProtocol, 0);
  EXPECT_TRUE(protocol->AutoAdvance);
  EXPECT_EQ(protocol->ErrorMargin, 2.0);
  EXPECT_EQ(protocol->Points.size(), 2u);
}

TEST(TypeFileRecords, DigitizedPointOptionalTokens) {
  auto point = [](const std::string& tokens) {
    TLoaded loaded = Load(MinimalFile(" 1 DigPoint \"P\" 1 2 " + tokens + "\r\n"));
    EXPECT_TRUE(loaded.Ok) << tokens << ": " << loaded.Message;
    return loaded;
  };
  TLoaded cursor = point("\"\" -5");
  EXPECT_TRUE(Get<TDigPoint>(*cursor.Type, ekDigPoint, 0)->CursorOnly);
  EXPECT_EQ(Get<TDigPoint>(*cursor.Type, ekDigPoint, 0)->SearchRange, 5);
  TLoaded search = point("\"\" 5");
  EXPECT_FALSE(Get<TDigPoint>(*search.Type, ekDigPoint, 0)->CursorOnly);
  TLoaded zero = point("\"\" 0");
  EXPECT_TRUE(Get<TDigPoint>(*zero.Type, ekDigPoint, 0)->CursorOnly);
  TLoaded malformed = point("\"text\" x5 y 2");
  auto* m = Get<TDigPoint>(*malformed.Type, ekDigPoint, 0);
  EXPECT_EQ(m->Description, "text");
  EXPECT_EQ(m->SearchRange, 0);
  EXPECT_TRUE(m->CursorOnly);
  EXPECT_EQ(m->SearchAngle, 0);
  EXPECT_EQ(m->Transition, 2);
  TLoaded unknownKind = point("\"\" 0 0 1 0 0 \"Later Kind\" x 3 0 0 0 0 0");
  auto* u = Get<TDigPoint>(*unknownKind.Type, ekDigPoint, 0);
  EXPECT_EQ(u->Kind(), 0);
  EXPECT_EQ(u->Parameter1, 0);
  EXPECT_EQ(u->Parameter2, 3);
  EXPECT_EQ(u->LockBias, 0);
  EXPECT_EQ(u->HintDrawing, nullptr);
  TLoaded halfValid = Load(MinimalFile(" 1 DigPoint \"P\" 1 nil\r\n"));
  ASSERT_TRUE(halfValid.Ok);
  EXPECT_FALSE(Get<TDigPoint>(*halfValid.Type, ekDigPoint, 0)->IsValid());

  // A kind token promises the parameters and operands; a malformed integer fails.
  EXPECT_EQ(Load(MinimalFile(" 1 DigPoint \"P\" 1 2 \"\" 0 0 1 0 0 \"Normal\" 0 0\r\n")).Message, FailureAt("1"));
  EXPECT_EQ(Load(MinimalFile(" 1 DigPoint \"P\" 1 2 \"\" 0 0 one\r\n")).Message, FailureAt("1"));
  EXPECT_EQ(Load(MinimalFile(" 1 DigPoint \"P\" 1 2 \"\" 0 0 1 7 0\r\n")).Message, FailureAt("1"));
}

TEST(TypeFileRecords, DrawingBrushSignAndOlderMarkerKinds) {
  TXRayType type;
  auto* opaque = test::Add<TXRGraphic>(type, ekGraphic, "opaque");
  opaque->Opaque = true;
  opaque->BrushStyle = 1;
  test::Add<TXRGraphic>(type, ekGraphic, "transparent");  // brush 1, not opaque
  auto* solid = test::Add<TXRGraphic>(type, ekGraphic, "solid");
  solid->BrushStyle = 0;
  const std::string text = WriteTypeFileText(type);
  EXPECT_EQ(LineWith(text, "\"opaque\""), " 1 Drawing \"opaque\" \"Line\" 0 $00000000 0 0 1 100 0 0 0");
  EXPECT_EQ(LineWith(text, "\"transparent\""), " 2 Drawing \"transparent\" \"Line\" 0 $00000000 0 0 -1 100 0 0 0");
  EXPECT_EQ(LineWith(text, "\"solid\""), " 3 Drawing \"solid\" \"Line\" 0 $00000000 0 0 0 100 0 0 0");
  TLoaded loaded = Load(text);
  ASSERT_TRUE(loaded.Ok);
  EXPECT_TRUE(Get<TXRGraphic>(*loaded.Type, ekGraphic, 0)->Opaque);
  EXPECT_FALSE(Get<TXRGraphic>(*loaded.Type, ekGraphic, 1)->Opaque);
  EXPECT_EQ(Get<TXRGraphic>(*loaded.Type, ekGraphic, 1)->BrushStyle, 1);
  EXPECT_FALSE(Get<TXRGraphic>(*loaded.Type, ekGraphic, 2)->Opaque);
  EXPECT_EQ(Get<TXRGraphic>(*loaded.Type, ekGraphic, 2)->BrushStyle, 0);

  const std::string old = " 1 Drawing \"a\" \"Cross\" 0 $0 0 0 1 100 0\r\n\t end\r\n"
                          " 2 Drawing \"b\" \"Square\" 0 $0 0 0 1 100 0\r\n\t end\r\n"
                          " 3 Drawing \"c\" \"Circle\" 0 $0 0 0 1 100 0\r\n\t end\r\n"
                          " 4 Drawing \"d\" \"Pie\" 0 $0 9 0 -12 100 0 1 9\r\n\t end\r\n";
  TLoaded olderKinds = Load(MinimalFile(old));
  ASSERT_TRUE(olderKinds.Ok) << olderKinds.Message;
  for (int shape = 0; shape < 3; ++shape) {
    auto* g = Get<TXRGraphic>(*olderKinds.Type, ekGraphic, shape);
    EXPECT_EQ(GraphicKind(g->Kind()).Token, "Markers");
    EXPECT_EQ(g->MarkerShape, shape);
  }
  // Values beyond a field's choices read as its default.
  auto* pie = Get<TXRGraphic>(*olderKinds.Type, ekGraphic, 3);
  EXPECT_EQ(pie->PenStyle, 0);
  EXPECT_EQ(pie->BrushStyle, 1);
  EXPECT_EQ(pie->MarkerShape, 0);
  EXPECT_TRUE(pie->UseForMorphing);
  EXPECT_EQ(Load(MinimalFile(" 1 Drawing \"a\" \"Line\" 0 $0 0 0 1 100\r\n\t end\r\n")).Message, FailureAt("1"));
  EXPECT_EQ(Load(MinimalFile(" 1 Drawing \"a\" \"Line\" 0 $XYZ 0 0 1 100 0\r\n\t end\r\n")).Message, FailureAt("1"));
}

TEST(TypeFileRecords, VariableReferenceFlagsAndNorms) {
  const std::string records =
      " 1 DigPoint \"A\" 0 0\r\n 2 DigPoint \"B\" 10 0\r\n"
      " 3 Variable \"r\" \"[R] Distance1\" 1 -2 1 5 6 2 1 1 \"<\" \"0.00\" \">\" 4 2\r\n"
      "\tfemale normals\r\n\t 6 8 10.5 -1.5\r\n\t 8 x 11 1\r\n\t 9 10\r\n\t 10 12 12 2 extra\r\n\tend\r\n"
      "\tmale normals\r\n\t 0 99 13 2.5\r\n\tend\r\n"
      " 4 Variable \"plain\" \"Distance1\" -1 2 0 10 -10 0 2 0 \"\" \"0.#\" \"\"\r\n";
  TLoaded loaded = Load(MinimalFile(records));
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  auto* r = Get<TXRVariable>(*loaded.Type, ekVariable, 0);
  EXPECT_EQ(r->Operand(0), Get<TDigPoint>(*loaded.Type, ekDigPoint, 0));
  EXPECT_EQ(r->Operand(1), Get<TDigPoint>(*loaded.Type, ekDigPoint, 1));
  EXPECT_FALSE(r->ReferenceFlags[0]);
  EXPECT_TRUE(r->ReferenceFlags[1]);
  EXPECT_EQ(r->Anchor, r->Operand(0));
  EXPECT_EQ(r->LabelOffsetX, 5);
  EXPECT_EQ(r->Alignment, 2);
  EXPECT_TRUE(r->ShowName);
  EXPECT_EQ(r->TextBefore, "<");
  EXPECT_EQ(r->Style, 4);
  EXPECT_EQ(r->AuxiliaryValue, 2);
  // The malformed and short rows are skipped; standard deviations are kept non-negative.
  EXPECT_EQ(r->FemaleNormals, (std::vector<TNormalValue>{{6, 8, 10.5, 1.5}, {10, 12, 12, 2}}));
  EXPECT_EQ(r->MaleNormals, (std::vector<TNormalValue>{{0, 99, 13, 2.5}}));
  // Only kinds that can take operands from the reference radiograph keep the flag.
  auto* plain = Get<TXRVariable>(*loaded.Type, ekVariable, 1);
  EXPECT_EQ(plain->Operand(0), r->Operand(0));
  EXPECT_FALSE(plain->ReferenceFlags[0]);
  EXPECT_NE(WriteTypeFileText(*loaded.Type).find("\"[R] Distance1\" 1 -2 1 5 6 2 1 1"), std::string::npos);
}

TEST(TypeFileRecords, UnknownKeywordsAndWrongClassReferencesReadAsNone) {
  const std::string records =
      " 1 DigPoint \"A\" 0 0\r\n"
      " 2 Hologram \"from a later version\" 1 2 3\r\n\t 1 end\r\n"
      " 3 Area \"group\"\r\n\t 1 2 4 1 end\r\n"
      " 4 Variable \"v\" \"Distance1\" 1 2 3 10 -10 0 2 0 \"\" \"0.#\" \"\"\r\n"
      " 5 DerPoint \"m\" \"Midpoint\" 0 0 3 1 1 1 1 1 1\r\n"
      " 6 Drawing \"d\" \"Line\" 0 $0 0 0 1 100 1\r\n\t 4 1 end\r\n"
      " 7 Analysis \"an\"\r\n\tvariables\r\n\t 6 4 end\r\n\tgraphics\r\n\t 4 6 end\r\n"
      " 8 Orientation \"o\" \"Set Horizontal\" 0 0 1 1 2 4\r\n";
  TLoaded loaded = Load(MinimalFile(records));
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  const TXRayType& t = *loaded.Type;
  auto* a = Get<TDigPoint>(t, ekDigPoint, 0);
  EXPECT_EQ(Get<TArea>(t, ekArea, 0)->Points, (std::vector<TXRayElement*>{a, a}));
  auto* v = Get<TXRVariable>(t, ekVariable, 0);
  EXPECT_EQ(v->Operand(1), nullptr);
  EXPECT_EQ(v->Anchor, nullptr);
  auto* m = Get<TDerPoint>(t, ekDerPoint, 0);
  EXPECT_EQ(m->Operand(0), nullptr);
  EXPECT_EQ(m->Operand(1), a);
  EXPECT_EQ(m->Operand(2), nullptr);
  auto* d = Get<TXRGraphic>(t, ekGraphic, 0);
  EXPECT_EQ(d->ColourVariable, nullptr);
  EXPECT_EQ(d->Points, std::vector<TXRayElement*>{a});
  auto* an = Get<TXRAnalysis>(t, ekAnalysis, 0);
  EXPECT_EQ(an->Points, std::vector<TXRayElement*>{v});
  EXPECT_EQ(an->Graphics, std::vector<TXRayElement*>{d});
  auto* o = Get<TXROrient>(t, ekOrient, 0);
  EXPECT_EQ(o->Affect, 2);
  EXPECT_EQ(o->AffectedArea, nullptr);
  // The unknown record is gone; the rest renumber when written.
  const std::string written = WriteTypeFileText(t);
  EXPECT_EQ(written.find("Hologram"), std::string::npos);
  EXPECT_NE(written.find(" 2 DerPoint \"m\" \"Midpoint\" 0 0 0 1\r\n"), std::string::npos);
}

TEST(TypeFileFailures, MessagesNameTheRecordOrTheImageData) {
  const std::string one = " 1 DigPoint \"A\" 0 0\r\n";
  const std::string two = " 2 Area \"g\"\r\n\t 1 end\r\n";
  EXPECT_EQ(Load(MinimalFile(one + " 3 DigPoint \"B\" 0 0\r\n")).Message, FailureAt("3"));
  EXPECT_EQ(Load(MinimalFile(one + "\r\n" + two)).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 Area \"g\"\r\n\t 1 0 end\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 Area \"g\"\r\n\t 1 3 end\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 Area \"g\"\r\n\t 1 x end\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 Variable \"v\" \"Distance1\" 1 9 0 1 1 0 0\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 Variable \"v\" \"Distance1\" 1 1 0\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 DigSnake \"s\" \"\" 50\r\n\t end\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " 2 DigSnake \"s\" \"\" 50 0\r\n\t 1 y end\r\n")).Message, FailureAt("2"));
  EXPECT_EQ(Load(MinimalFile(one + " x DigPoint \"B\" 0 0\r\n")).Message, FailureAt("x"));
  EXPECT_EQ(Load("T\r\nVersion 3.1\r\nImage\r\nIcon\r\n00\r\n").Message, FailureAt("image data"));
  EXPECT_EQ(Load("T\r\nVersion 3.1\r\nImageFile \"\"\r\n" + one).Message, FailureAt("image data"));
  EXPECT_EQ(Load("").Message, FailureAt("image data"));

  // A failed load leaves the type as it was.
  TXRayType type;
  const TResult read = ReadTypeFileText(MinimalFile(one + two + " 3 Area \"h\"\r\n\t 9 end\r\n", "Broken"), type);
  EXPECT_FALSE(read);
  EXPECT_EQ(read.Text().English(), FailureAt("3"));
  EXPECT_EQ(type.Name, "Radiograph Type");
  for (int code = 0; code < kElementListCount; ++code) EXPECT_EQ(type.Count(code), 0u);
}

TEST(TypeFileFailures, MissingFileFailsWithTheImageDataMessage) {
  TXRayType type;
  const TResult loaded = type.LoadFromTypeFile("/nonexistent/folder/type.lcr");
  EXPECT_FALSE(loaded);
  EXPECT_EQ(loaded.Text().English(), FailureAt("image data"));
}

TEST(TypeFilePicture, HexadecimalLinesOfThirtyTwoBytes) {
  TXRayType type;
  type.IconData.assign(32, 0xAB);
  const std::string full = WriteTypeFileText(type);
  std::string digits;
  for (int i = 0; i < 32; ++i) digits += "AB";
  EXPECT_NE(full.find("\r\nIcon\r\n" + digits + "\r\nImage end\r\n"), std::string::npos) << full;
  type.IconData.assign(33, 0x01);
  EXPECT_NE(WriteTypeFileText(type).find("0101\r\n01\r\nImage end\r\n"), std::string::npos);
  type.IconData.clear();
  EXPECT_NE(WriteTypeFileText(type).find("\r\nIcon\r\n\r\nImage end\r\n"), std::string::npos);

  TLoaded loaded = Load("T\r\nImage\r\nIcon\r\n0aFFzz10\r\n2\r\n3C4\r\nImage end\r\n");
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  EXPECT_TRUE(loaded.Type->IconIsIcon);
  EXPECT_EQ(loaded.Type->IconData, (std::vector<uint8_t>{0x0A, 0xFF, 0x10, 0x3C}));
}

TEST(TypeFilePca, InconsistentSizesLeaveTheAnalysisWithoutData) {
  auto pcaFile = [](const std::string& sections) {
    return MinimalFile(" 1 DigPoint \"A\" 0 0\r\n 2 DigPoint \"B\" 1 0\r\n 3 DigPoint \"C\" 0 1\r\n"
                       " 4 PCA \"p\"\r\n\t 1 2 3 end\r\n" +
                       sections);
  };
  const std::string consensus = "\tConsensus\r\n\t 1 2\r\n\t 3 4\r\n\t 5 6\r\n\tend\r\n";
  const std::string sample = "\tSample data\r\n\t 7  1.0E+000 2\r\n\tend\r\n";
  const std::string variances = "\tVariances\r\n\t 0.5\r\n\t 0.25\r\n\tend\r\n";
  const std::string loadings = "\tLoadings\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\tend\r\n";
  auto computed = [&](const std::string& sections, int* count = nullptr) {
    TLoaded loaded = Load(pcaFile(sections));
    EXPECT_TRUE(loaded.Ok) << loaded.Message;
    auto* pca = Get<TXRPCA>(*loaded.Type, ekPCA, 0);
    if (count != nullptr) *count = pca->SampleCount;
    if (!pca->HasData) {
      EXPECT_TRUE(pca->Consensus.empty() && pca->Loadings.empty() && pca->Variances.empty());
    }
    return pca->HasData;
  };
  int count = 0;
  EXPECT_TRUE(computed(consensus + sample + variances + loadings, &count));
  EXPECT_EQ(count, 7);
  EXPECT_FALSE(computed("\tConsensus\r\n\t 1 2\r\n\t 3 4\r\n\tend\r\n" + sample + variances + loadings));
  EXPECT_FALSE(computed(consensus + sample + "\tVariances\r\n\t 0.5\r\n\tend\r\n" + loadings));
  EXPECT_FALSE(computed(consensus + sample + variances +
                        "\tLoadings\r\n\t 1 2\r\n\t 1 2 3\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\t 1 2\r\n\tend\r\n"));
  EXPECT_FALSE(computed(consensus + sample + variances + loadings.substr(0, loadings.size() - 13) + "\tend\r\n"));
  EXPECT_FALSE(computed(consensus + sample + variances));
  EXPECT_FALSE(computed(consensus + sample + "\tVariances\r\n\t 0.5\r\n\t nan\r\n\tend\r\n" + loadings));

  // A list that repeats one point thousands of times is kept, its arrays are not.
  std::string many = " 1 DigPoint \"A\" 0 0\r\n 2 PCA \"p\"\r\n\t";
  for (int i = 0; i < 1600; ++i) many += (i > 0 && i % 20 == 0) ? "\r\n\t 1" : " 1";
  many += " end\r\n\tConsensus\r\n\t 1 2\r\n\tend\r\n";
  TLoaded huge = Load(MinimalFile(many));
  ASSERT_TRUE(huge.Ok) << huge.Message;
  auto* pca = Get<TXRPCA>(*huge.Type, ekPCA, 0);
  EXPECT_EQ(pca->Points.size(), 1600u);
  EXPECT_FALSE(pca->HasData);
}

TEST(TypeFileText, LineEndsByteOrderMarkAndTrailingEmptyLines) {
  const std::string crlf = WriteTypeFileText(*test::EveryKindType());
  std::string lf;
  for (char c : crlf)
    if (c != '\r') lf += c;
  TLoaded fromLf = Load(lf);
  TLoaded withExtras = Load("\xEF\xBB\xBF" + crlf + "\r\n\r\n\n");
  ASSERT_TRUE(fromLf.Ok) << fromLf.Message;
  ASSERT_TRUE(withExtras.Ok) << withExtras.Message;
  EXPECT_EQ(WriteTypeFileText(*fromLf.Type), crlf);
  EXPECT_EQ(WriteTypeFileText(*withExtras.Type), crlf);
}

TEST(TypeFileText, NamesThatLookLikeSectionMarkersStayNames) {
  for (const char* name : {"Image end", "Image", "ImageFile \"x\" 5"}) {
    TXRayType type;
    type.Name = name;
    type.ImageOriginX = 7;
    test::Add<TDigPoint>(type, ekDigPoint, "P");
    TLoaded loaded = Load(WriteTypeFileText(type));
    ASSERT_TRUE(loaded.Ok) << name << ": " << loaded.Message;
    EXPECT_EQ(loaded.Type->Name, name);
    EXPECT_EQ(loaded.Type->ImageOriginX, 7);
    EXPECT_EQ(loaded.Type->Count(ekDigPoint), 1u);
  }
}

TEST(TypeFileText, WindowsCodePageOnDiskUtf8InMemory) {
  TXRayType type;
  type.Name = "Céph";
  auto* p = test::Add<TDigPoint>(type, ekDigPoint, "Ä-Punkt");
  p->Description = "€ 5";
  const std::string text = WriteTypeFileText(type);
  EXPECT_EQ(text.substr(0, 6), "C\xE9ph\r\n");
  EXPECT_NE(text.find("\"\xC4-Punkt\" nil nil \"\x80 5\""), std::string::npos);
  TLoaded loaded = Load(text);
  ASSERT_TRUE(loaded.Ok);
  EXPECT_EQ(loaded.Type->Name, "Céph");
  EXPECT_EQ(Get<TDigPoint>(*loaded.Type, ekDigPoint, 0)->Description, "€ 5");
  // An editor that saved the file as UTF-8 marks it so.
  TLoaded utf8 = Load("\xEF\xBB\xBF" "Céph\r\nImage\r\nIcon\r\n\r\nImage end\r\n");
  ASSERT_TRUE(utf8.Ok);
  EXPECT_EQ(utf8.Type->Name, "Céph");
}

TEST(TypeFileText, TextsTheFileCannotCarryAreReplacedAndReported) {
  TXRayType type;
  type.Name = "Tab\there";
  auto* p = test::Add<TDigPoint>(type, ekDigPoint, "P");
  p->Description = "say \"hi\"\r\n";
  auto* q = test::Add<TDigPoint>(type, ekDigPoint, "Q");
  q->Description = "snow \xE2\x98\x83";
  test::Add<TDigPoint>(type, ekDigPoint, "R");
  std::vector<std::string> adjusted;
  const std::string text = WriteTypeFileText(type, {}, &adjusted);
  EXPECT_EQ(adjusted, (std::vector<std::string>{"Tab\there", "P", "Q"}));
  EXPECT_EQ(text.substr(0, 10), "Tab here\r\n");
  TLoaded loaded = Load(text);
  ASSERT_TRUE(loaded.Ok) << loaded.Message;
  EXPECT_EQ(Get<TDigPoint>(*loaded.Type, ekDigPoint, 0)->Description, "say 'hi'  ");
  EXPECT_EQ(Get<TDigPoint>(*loaded.Type, ekDigPoint, 1)->Description, "snow ?");
  EXPECT_EQ(Get<TDigPoint>(*loaded.Type, ekDigPoint, 2)->Name, "R");

  // A name that begins with the characters a byte order mark reads as would lose them.
  TXRayType markLike;
  markLike.Name = "\xC3\xAF\xC2\xBB\xC2\xBFName";  // "ï»¿Name"
  adjusted.clear();
  const std::string markText = WriteTypeFileText(markLike, {}, &adjusted);
  EXPECT_EQ(markText.substr(0, 6), "Name\r\n");
  EXPECT_EQ(adjusted.size(), 1u);
}

}  // namespace
}  // namespace lumacet
