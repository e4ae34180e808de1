// Builds the bundled example radiograph types and their data file through the engine's own
// element API and writers, so that every file it writes is valid by construction:
//
//   make_examples OUTPUT_FOLDER [PCA_REPORT_FILE]
//
// writes OUTPUT_FOLDER/lateral_ceph.lcr, OUTPUT_FOLDER/frontal_ceph.lcr and
// OUTPUT_FOLDER/PATIENT.CSV, and the Procrustes report whose results the lateral type's shape
// analysis holds to PCA_REPORT_FILE (docs/pca_example_report.txt in the repository). The
// radiographs are synthetic: a mean adult lateral tracing is grown or shrunk for age and sex
// and bent towards skeletal class II or III and towards a long or short face by seeded
// random draws. The random numbers come from std::mt19937,
// whose sequence the standard fixes, turned into uniform and normal draws here rather
// than through the library's distributions (whose output differs between libraries), so
// every run on every platform writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/spline.h"
#include "support/dates.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "support/text_codec.h"
#include "persistence/type_finder.h"
#include "population/pca_import.h"
#include "population/procrustes_run.h"

namespace {

using namespace lumacet;

// Colours as the files hold them: 0x00BBGGRR.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kNavy = 0x800000;
constexpr uint32_t kMaroon = 0x000080;
constexpr uint32_t kPurple = 0x800080;
constexpr uint32_t kTeal = 0x808000;
constexpr uint32_t kGray = 0x808080;
constexpr uint32_t kOlive = 0x008080;
constexpr uint32_t kFuchsia = 0xFF00FF;

// Kind numbers of the element tables.
enum : int { dkNormal = 0, dkExtreme = 2 };
enum : int {
  pkMidpoint = 1, pkProjection = 2, pkIntersection = 3, pkSweepAngle = 4, pkExtension = 6,
  pkPerpendicular = 7, pkAngleBisector = 12,
};
enum : int {
  vkAngle = 1, vkDistance1 = 3, vkDistance2 = 4, vkDistance3 = 5, vkSum = 7, vkDifference = 9,
  vkRatio = 11, vkRatioPercent = 12, vkAgeText = 25, vkCentroidSize = 60, vkNormalizedCentroidSize = 61,
  vkProcrustesDistance = 62, vkPrincipalComponent = 63, vkPrincipalComponentZ = 64, vkReferenceShapeDistance = 65,
};
enum : int {
  gkLine = 0, gkLinePairs = 2, gkSpline = 4, gkSplineClosed = 6, gkMarkers = 7, gkPcaConsensusMarkers = 8,
  gkPcaJoinPoints = 9, gkUpperIncisor = 14,
  gkUpperMolar = 15, gkLowerIncisor = 16, gkLowerMolar = 17, gkUpperIncisorFrontal = 24,
  gkUpperMolarFrontal = 25, gkLowerIncisorFrontal = 26, gkLowerMolarFrontal = 27,
};
enum : int { skPointToPoint = 0, skBestFit = 3 };
enum : int { okSetHorizontal = 0, okSetVertical = 1 };

const std::string kShapePca = "Lateral shape";
const std::string kDegrees = "\u00B0";
const std::string kMillimetres = " mm";
const std::string kPercent = " %";

// Tracing units are tenths of a millimetre; the landmark tables below are in millimetres
// with sella at the origin, x forwards (the profile faces right) and y downwards.
constexpr double kOriginX = 800;
constexpr double kOriginY = 900;

struct TMm {
  double X = 0;
  double Y = 0;
};

// ---------------------------------------------------------------------------------------
// Building a type through the element API.

class TTypeBuilder {
 public:
  explicit TTypeBuilder(TXRayType& type) : fType(type) {}

  template <class T>
  T& Add(const std::string& name, int code) {
    std::string message;
    TXRayElement* element = fType.AddElement(name, code, message);
    if (element == nullptr) throw std::runtime_error(name + ": " + message);
    return *static_cast<T*>(element);
  }

  TXRPoint& Point(const std::string& name) const {
    auto* point = static_cast<TXRPoint*>(fType.FindElement(name, ekAnyPoint));
    if (point == nullptr) throw std::runtime_error("no point " + name);
    return *point;
  }
  TXRVariable& Variable(const std::string& name) const { return Find<TXRVariable>(name, ekVariable); }
  TXRGraphic& Graphic(const std::string& name) const { return Find<TXRGraphic>(name, ekGraphic); }
  TDigSnake& Snake(const std::string& name) const { return Find<TDigSnake>(name, ekSnake); }

  TDigPoint& Landmark(const std::string& name, const std::string& description, TMm at) {
    auto& point = Add<TDigPoint>(name, ekDigPoint);
    point.Description = description;
    point.SetXY(kOriginX + 10 * at.X, kOriginY + 10 * at.Y);
    return point;
  }

  // An automatic landmark on a snake: the extreme of the stretch from `from` to `to` in the
  // direction `degrees` (0 forwards, 90 downwards).
  void MakeExtreme(const std::string& name, const std::string& snake, const std::string& from,
                   const std::string& to, double degrees) {
    auto& point = static_cast<TDigPoint&>(Point(name));
    point.SetKind(dkExtreme);
    Require(point.SetOperand(0, &Snake(snake)), name);
    Require(point.SetOperand(1, &Point(from)), name);
    Require(point.SetOperand(2, &Point(to)), name);
    point.Parameter1 = 10 * degrees;
  }

  void Derived(const std::string& name, int kind, const std::vector<std::string>& operands, double p1 = 0,
               double p2 = 0) {
    auto& point = Add<TDerPoint>(name, ekDerPoint);
    point.SetKind(kind);
    for (size_t i = 0; i < operands.size(); ++i) Require(point.SetOperand(static_cast<int>(i), &Point(operands[i])), name);
    point.SetParameters(p1, p2);
  }

  void Snake(const std::string& name, const std::string& description, const std::vector<std::string>& through) {
    std::vector<TFloatPoint> controls;
    for (const std::string& point : through) controls.push_back({Point(point).GetX(), Point(point).GetY()});
    auto& snake = Add<TDigSnake>(name, ekSnake);
    snake.Description = description;
    for (const TFloatPoint& p : NaturalSpline(controls, -3)) snake.AddPoint(std::nearbyint(p.X), std::nearbyint(p.Y), true);
  }

  void Area(const std::string& name, const std::vector<std::string>& points) {
    auto& area = Add<TArea>(name, ekArea);
    for (const std::string& point : points) area.Points.push_back(&Point(point));
  }

  struct TStroke {
    uint32_t Colour = kBlack;
    int Width = 0;
    int PenStyle = 0;
    bool OnDemand = false;
    double Size = 100;
    int Marker = 0;
  };
  // A drawing of that kind and stroke; its members are the caller's.
  TXRGraphic& StrokedDrawing(const std::string& name, int kind, const TStroke& stroke) {
    auto& drawing = Add<TXRGraphic>(name, ekGraphic);
    drawing.SetKind(kind);
    drawing.Colour = stroke.Colour;
    drawing.LineWidth = stroke.Width;
    drawing.PenStyle = stroke.PenStyle;
    drawing.DrawOption = stroke.OnDemand ? 1 : 0;
    drawing.Size = stroke.Size;
    drawing.MarkerShape = stroke.Marker;
    return drawing;
  }
  TXRGraphic& Drawing(const std::string& name, int kind, const std::vector<std::string>& points, TStroke stroke) {
    auto& drawing = StrokedDrawing(name, kind, stroke);
    for (const std::string& point : points) drawing.Points.push_back(&Point(point));
    return drawing;
  }

  // Norm rows: age from, age to, mean, standard deviation.
  using TNorms = std::vector<TNormalValue>;
  struct TLabel {
    std::string Anchor;
    int Dx = 20;
    int Dy = -20;
    int Style = 1;
  };
  TXRVariable& Measure(const std::string& name, int kind, const std::vector<std::string>& operands,
                       const std::string& unit, const TNorms& female, const TNorms& male, const TLabel& label) {
    auto& variable = Add<TXRVariable>(name, ekVariable);
    variable.SetKind(kind);
    for (size_t i = 0; i < operands.size(); ++i) {
      TXRayElement* operand = fType.FindElement(operands[i], ekVariable);
      if (operand == nullptr) operand = &Point(operands[i]);
      Require(variable.SetOperand(static_cast<int>(i), operand), name);
    }
    variable.NumberFormat = "0.0";
    variable.TextAfter = unit;
    variable.ShowName = true;
    variable.FemaleNormals = female;
    variable.MaleNormals = male;
    if (label.Anchor.empty()) {
      variable.ShowIn = 1;  // text window only
    } else {
      variable.Anchor = &Point(label.Anchor);
      variable.LabelOffsetX = label.Dx;
      variable.LabelOffsetY = label.Dy;
    }
    variable.Style = label.Style;
    return variable;
  }

  void ShapeAnalysis(const std::string& name, const std::vector<std::string>& points) {
    auto& pca = Add<TXRPCA>(name, ekPCA);
    for (const std::string& point : points) pca.Points.push_back(&Point(point));
  }

  // A statistic of a shape analysis; `component` counts from 1 for the score kinds.
  void ShapeMeasure(const std::string& name, int kind, const std::string& pca, int component,
                    const std::string& format) {
    auto& variable = Add<TXRVariable>(name, ekVariable);
    variable.SetKind(kind);
    Require(variable.SetOperand(0, &Find<TXRPCA>(pca, ekPCA)), name);
    variable.AuxiliaryValue = component;
    variable.NumberFormat = format;
    variable.ShowName = true;
    variable.ShowIn = 1;  // text window only
    variable.Style = 1;
  }

  void PcaDrawing(const std::string& name, int kind, const std::string& pca, TStroke stroke) {
    StrokedDrawing(name, kind, stroke).Points.push_back(&Find<TXRPCA>(pca, ekPCA));
  }

  void Analysis(const std::string& name, const std::vector<std::string>& variables,
                const std::vector<std::string>& drawings) {
    auto& analysis = Add<TXRAnalysis>(name, ekAnalysis);
    for (const std::string& variable : variables) analysis.Points.push_back(&Variable(variable));
    for (const std::string& drawing : drawings) analysis.Graphics.push_back(&Graphic(drawing));
  }

  void View(const std::string& name, const std::vector<std::string>& drawings) {
    auto& view = Add<TXRView>(name, ekView);
    for (const std::string& drawing : drawings) view.Points.push_back(&Graphic(drawing));
  }

  void Superimposition(const std::string& name, int kind, const std::vector<TXRayElement*>& operands) {
    auto& supimp = Add<TXRSupimp>(name, ekSupimp);
    supimp.SetKind(kind);
    for (size_t i = 0; i < operands.size(); ++i) Require(supimp.SetOperand(static_cast<int>(i), operands[i]), name);
  }

  void Orientation(const std::string& name, int kind, const std::string& from, const std::string& to) {
    auto& orient = Add<TXROrient>(name, ekOrient);
    orient.SetKind(kind);
    Require(orient.SetOperand(0, &Point(from)), name);
    Require(orient.SetOperand(1, &Point(to)), name);
  }

  // A soft-tissue point group that follows a hard-tissue point by the given shares (percent).
  void Relationship(const std::string& name, const std::string& master, const std::vector<std::string>& affected,
                    double horizontal, double vertical) {
    auto& relation = Add<TXRHardSoft>(name, ekHardSoft);
    relation.MasterPoint = &Point(master);
    for (const std::string& point : affected) relation.Points.push_back(&Point(point));
    relation.PercentXPlus = relation.PercentXMinus = horizontal;
    relation.PercentYPlus = relation.PercentYMinus = vertical;
  }

  void Protocol(const std::string& name, const std::vector<std::string>& steps) {
    auto& protocol = Add<TXRProtocol>(name, ekProtocol);
    for (const std::string& step : steps) {
      TXRayElement* element = fType.FindElement(step, ekSnake);
      if (element == nullptr) element = fType.FindElement(step, ekDigPoint);
      if (element == nullptr) throw std::runtime_error("no digitizing step " + step);
      protocol.Points.push_back(element);
    }
  }

 private:
  template <class T>
  T& Find(const std::string& name, int code) const {
    TXRayElement* element = fType.FindElement(name, code);
    if (element == nullptr) throw std::runtime_error("no element " + name);
    return *static_cast<T*>(element);
  }
  static void Require(bool ok, const std::string& name) {
    if (!ok) throw std::runtime_error("operand refused for " + name);
  }

  TXRayType& fType;
};

using TNorms = TTypeBuilder::TNorms;
using TLabel = TTypeBuilder::TLabel;
using TStroke = TTypeBuilder::TStroke;

TNorms Both(double mean, double sd) { return {{0, 99, mean, sd}}; }

// Ricketts' norms at 9 years with a yearly change until growth ends at 18: one row a year.
TNorms Yearly(double meanAt9, double perYear, double sd) {
  TNorms rows{{0, 8, meanAt9 - perYear, sd}};
  for (int age = 8; age < 18; ++age) rows.push_back({double(age), double(age + 1), meanAt9 + perYear * (age + 0.5 - 9), sd});
  rows.push_back({18, 99, meanAt9 + perYear * 9, sd});
  return rows;
}

// ---------------------------------------------------------------------------------------
// The mean adult lateral tracing (mm, sella at the origin, Frankfort horizontal level).

struct TLandmarkDef {
  const char* Name;
  const char* Description;
  TMm At;
  char Region;  // c cranium, x maxilla, m mandible, n nose, u upper lip, l lower lip and chin
};

const std::vector<TLandmarkDef> kLateralLandmarks = {
    {"S", "Sella: centre of the sella turcica", {0, 0}, 'c'},
    {"N", "Nasion: most anterior point of the frontonasal suture", {69.5, -8.5}, 'c'},
    {"TS", "Tuberculum sellae: anterior wall of the sella turcica", {6, -3.5}, 'c'},
    {"Sf", "Floor of the sella turcica", {0.5, 5.5}, 'c'},
    {"DS", "Dorsum sellae: tip of the posterior clinoid process", {-6, -5}, 'c'},
    {"Ba", "Basion: lowest point of the anterior margin of the foramen magnum", {-24, 40}, 'c'},
    {"Po", "Porion: top of the external auditory meatus", {-27, 15}, 'c'},
    {"Or", "Orbitale: lowest point of the orbital rim", {59, 15}, 'c'},
    {"Orbit roof", "Highest point of the orbital contour", {51, -18}, 'c'},
    {"Orbit front", "Most anterior point of the lateral orbital rim", {65, -2}, 'c'},
    {"Orbit back", "Most posterior point of the orbital contour", {40, -1}, 'c'},
    {"Fr", "Frontal bone: anterior surface of the forehead above nasion", {72, -36}, 'c'},
    {"Nb", "Tip of the nasal bone", {80, 12}, 'c'},
    {"Pt", "Pterygoid point: lowest point of the pterygomaxillary fissure", {17, 24}, 'c'},
    {"Co", "Condylion: most posterosuperior point of the condyle", {-17, 18}, 'm'},
    {"Ar", "Articulare: posterior border of the ramus crossing the cranial base", {-14, 30}, 'm'},
    {"Sig", "Deepest point of the sigmoid notch", {-1, 31}, 'm'},
    {"Cor", "Tip of the coronoid process", {11, 26}, 'm'},
    {"R1", "Deepest point of the anterior border of the ramus", {9, 52}, 'm'},
    {"Rp", "Posterior border of the ramus, above the angle", {-12.5, 54.5}, 'm'},
    {"Mb", "Lower border of the mandible in front of the antegonial notch", {18, 93}, 'm'},
    {"Me", "Menton: lowest point of the symphysis", {58, 110}, 'm'},
    {"Pog", "Pogonion: most anterior point of the chin", {68, 97.5}, 'm'},
    {"B", "Supramentale: deepest point of the anterior mandible", {65.5, 86}, 'm'},
    {"Id", "Infradentale: labial alveolar crest of the lower incisors", {67, 75.5}, 'm'},
    {"LAC", "Lingual alveolar crest of the lower incisors", {60, 77}, 'm'},
    {"Sym", "Most posterior point of the lingual symphysis", {52.5, 98}, 'm'},
    {"L1", "Incisal edge of the most prominent lower incisor", {70, 69.5}, 'm'},
    {"L1 apex", "Root apex of the lower incisor", {60, 87.5}, 'm'},
    {"L6", "Mesial cusp tip of the lower first molar", {42.5, 66.8}, 'm'},
    {"L6 apex", "Mesial root apex of the lower first molar", {41.5, 86}, 'm'},
    {"PNS", "Posterior nasal spine", {20, 45}, 'x'},
    {"ANS", "Anterior nasal spine", {73, 43}, 'x'},
    {"A", "Subspinale: deepest point of the anterior maxilla", {68.5, 49}, 'x'},
    {"Pr", "Prosthion: labial alveolar crest of the upper incisors", {70.5, 62}, 'x'},
    {"ULA", "Lingual alveolar crest of the upper incisors", {62.5, 62}, 'x'},
    {"Palate", "Deepest point of the oral contour of the hard palate", {42, 48.5}, 'x'},
    {"U1", "Incisal edge of the most prominent upper incisor", {72, 72}, 'x'},
    {"U1 apex", "Root apex of the upper incisor", {63.6, 50.1}, 'x'},
    {"U6", "Mesial cusp tip of the upper first molar", {40, 66.5}, 'x'},
    {"U6 apex", "Mesiobuccal root apex of the upper first molar", {38, 48.5}, 'x'},
    {"G'", "Soft-tissue glabella", {79, -32}, 'c'},
    {"N'", "Soft-tissue nasion", {76.5, -7}, 'c'},
    {"Prn", "Pronasale: tip of the nose", {98, 32}, 'n'},
    {"Cm", "Columella point", {94, 43.5}, 'n'},
    {"Sn", "Subnasale", {85.5, 46}, 'u'},
    {"A'", "Soft-tissue A point: deepest point of the upper lip", {83.5, 52}, 'u'},
    {"Ls", "Labrale superius: most anterior point of the upper lip", {86, 62}, 'u'},
    {"Stms", "Stomion superius: lowest point of the upper lip", {82.5, 69.5}, 'u'},
    {"Stmi", "Stomion inferius: highest point of the lower lip", {82, 71}, 'l'},
    {"Li", "Labrale inferius: most anterior point of the lower lip", {83, 78}, 'l'},
    {"B'", "Soft-tissue B point: deepest point of the mentolabial sulcus", {77, 88.5}, 'l'},
    {"Pog'", "Soft-tissue pogonion: most anterior point of the soft chin", {78.5, 101}, 'l'},
    {"Gn'", "Soft-tissue gnathion", {73.5, 112.5}, 'l'},
    {"Me'", "Soft-tissue menton", {61, 117.5}, 'l'},
    {"C", "Cervical point: junction of the submental and neck contours", {18, 116}, 'l'},
};

void BuildLateralType(TXRayType& type) {
  type.Name = "Lateral Ceph";
  TTypeBuilder b(type);
  for (const TLandmarkDef& def : kLateralLandmarks) b.Landmark(def.Name, def.Description, def.At);
  // The soft-tissue profile against the air is an edge the digitize tool can lock onto:
  // a search 5 mm either side across the face, whichever way the brightness changes.
  for (const char* name : {"G'", "N'", "Sn", "A'", "Ls", "Li", "B'"}) {
    auto& point = static_cast<TDigPoint&>(b.Point(name));
    point.SearchRange = 50;
    point.CursorOnly = false;
    point.Transition = 1;
  }

  // Constructed points. Gonion lies on the bisector of the angle of the ramus and mandibular
  // tangents, where it crosses the chord of the angle's two border points: a construction
  // without a length, so that angles through gonion do not depend on the radiograph's
  // size (a fixed 4 mm step inside the corner did); gnathion where the bisector of the facial
  // and mandibular planes crosses the chord from pogonion to menton.
  b.Derived("Go tangents", pkIntersection, {"Ar", "Rp", "Me", "Mb"});
  b.Derived("Gonial bisector", pkAngleBisector, {"Rp", "Ar", "Mb", "Me"});
  b.Derived("Go", pkIntersection, {"Go tangents", "Gonial bisector", "Rp", "Mb"});
  b.Derived("Facial-mandibular corner", pkIntersection, {"N", "Pog", "Me", "Mb"});
  b.Derived("Chin bisector", pkAngleBisector, {"N", "Pog", "Mb", "Me"});
  b.Derived("Gn", pkIntersection, {"Facial-mandibular corner", "Chin bisector", "Pog", "Me"});
  b.Derived("Occlusal front", pkMidpoint, {"U1", "L1"});
  b.Derived("Occlusal back", pkMidpoint, {"U6", "L6"});
  b.Derived("AO", pkProjection, {"A", "Occlusal back", "Occlusal front"});
  b.Derived("BO", pkProjection, {"B", "Occlusal back", "Occlusal front"});
  b.Derived("N perpendicular", pkPerpendicular, {"Po", "Or", "N"}, 700);
  b.Derived("A vertical", pkPerpendicular, {"Po", "Or", "A"}, 300);
  b.Derived("HP back", pkSweepAngle, {"N", "S"}, 70);
  b.Derived("HP vertical", pkPerpendicular, {"HP back", "N", "N"}, 1300);

  // Snakes for the outlines a user traces; their templates follow the mean tracing. The
  // profile, symphysis and sella landmarks can be placed on them automatically.
  b.Snake("Soft tissue profile", "Glabella to soft-tissue menton through nose, lips and chin",
          {"G'", "N'", "Prn", "Cm", "Sn", "A'", "Ls", "Stms", "Stmi", "Li", "B'", "Pog'", "Gn'", "Me'"});
  b.Snake("Symphysis", "Infradentale round the chin to the lingual alveolar crest",
          {"Id", "B", "Pog", "Me", "Sym", "LAC"});
  b.Snake("Mandibular border", "Menton along the lower border and the ramus to condylion",
          {"Me", "Mb", "Go", "Rp", "Ar", "Co"});
  b.Snake("Sella turcica", "Tuberculum sellae round the floor to the dorsum", {"TS", "Sf", "DS"});
  b.Snake("Maxilla", "Posterior nasal spine to prosthion", {"PNS", "ANS", "A", "Pr"});
  b.MakeExtreme("Prn", "Soft tissue profile", "N'", "Sn", 0);
  b.MakeExtreme("Pog'", "Soft tissue profile", "B'", "Me'", 0);
  b.MakeExtreme("Pog", "Symphysis", "B", "Me", 0);
  b.MakeExtreme("Me", "Symphysis", "Pog", "Sym", 90);
  b.MakeExtreme("B", "Symphysis", "Id", "Pog", 180);

  b.Area("Cranial base", {"S", "N", "TS", "Sf", "DS", "Ba", "Fr", "Nb"});
  b.Area("Maxilla", {"PNS", "ANS", "A", "Pr", "ULA", "Palate", "U1", "U1 apex", "U6", "U6 apex"});
  b.Area("Mandible", {"Co", "Ar", "Sig", "Cor", "R1", "Rp", "Mb", "Me", "Pog", "B", "Id", "LAC", "Sym", "L1",
                      "L1 apex", "L6", "L6 apex"});
  b.Area("Upper teeth", {"U1", "U1 apex", "U6", "U6 apex"});
  b.Area("Lower teeth", {"L1", "L1 apex", "L6", "L6 apex"});
  b.Area("Soft tissue", {"G'", "N'", "Prn", "Cm", "Sn", "A'", "Ls", "Stms", "Stmi", "Li", "B'", "Pog'", "Gn'", "Me'", "C"});

  // The tracing.
  const TStroke bone{kBlack, 4};
  const TStroke plane{kBlue, 2};
  const TStroke tooth{kNavy, 3, 0, false, 1};
  const TStroke soft{kMaroon, 4};
  TStroke construction{kGray, 2, 1, true};
  // The outlines the image morph follows: bones and soft tissue, and the incisors by their axes.
  b.Drawing("Sella turcica", gkSpline, {"TS", "Sf", "DS"}, bone).UseForMorphing = true;
  b.Drawing("Frontal and nasal bones", gkSpline, {"Fr", "N", "Nb"}, bone).UseForMorphing = true;
  b.Drawing("Orbit", gkSplineClosed, {"Orbit roof", "Orbit front", "Or", "Orbit back"}, {kBlack, 3});
  b.Drawing("Maxilla", gkSplineClosed, {"ANS", "A", "Pr", "ULA", "Palate", "PNS"}, bone).UseForMorphing = true;
  b.Drawing("Mandible", gkSpline, {"Id", "B", "Pog", "Gn", "Me", "Mb", "Go", "Rp", "Ar", "Co"}, bone).UseForMorphing = true;
  b.Drawing("Ramus", gkSpline, {"Co", "Sig", "Cor", "R1"}, bone).UseForMorphing = true;
  b.Drawing("Lingual symphysis", gkSpline, {"LAC", "Sym", "Me"}, bone).UseForMorphing = true;
  b.Drawing("Upper incisor", gkUpperIncisor, {"U1", "U1 apex"}, tooth);
  b.Drawing("Lower incisor", gkLowerIncisor, {"L1", "L1 apex"}, tooth);
  b.Drawing("Upper molar", gkUpperMolar, {"U6", "U6 apex"}, tooth);
  b.Drawing("Lower molar", gkLowerMolar, {"L6", "L6 apex"}, tooth);
  b.Drawing("Soft tissue profile", gkSpline, {"G'", "N'", "Prn", "Cm", "Sn", "A'", "Ls", "Stms"}, soft).UseForMorphing = true;
  b.Drawing("Lower lip and chin", gkSpline, {"Stmi", "Li", "B'", "Pog'", "Gn'", "Me'", "C"}, soft).UseForMorphing = true;
  b.Drawing("S-N", gkLine, {"S", "N"}, plane);
  b.Drawing("Frankfort horizontal", gkLine, {"Po", "Or"}, {kRed, 2});
  b.Drawing("Palatal plane", gkLine, {"PNS", "ANS"}, {kGreen, 2});
  b.Drawing("Occlusal plane", gkLine, {"Occlusal back", "Occlusal front"}, {kOlive, 2});
  b.Drawing("Mandibular plane", gkLine, {"Go", "Me"}, {kGreen, 2});
  b.Drawing("E-line", gkLine, {"Prn", "Pog'"}, {kGray, 2, 2});
  b.Drawing("Landmarks", gkMarkers, {}, {kFuchsia, 0, 0, false, 8, 0});
  for (const TLandmarkDef& def : kLateralLandmarks) b.Graphic("Landmarks").Points.push_back(&b.Point(def.Name));
  b.Drawing("Constructed points", gkMarkers, {"Go", "Gn", "AO", "BO", "Occlusal front", "Occlusal back"},
            {kTeal, 0, 0, true, 10, 2});
  b.Drawing("N-A", gkLine, {"N", "A"}, construction);
  b.Drawing("N-B", gkLine, {"N", "B"}, construction);
  b.Drawing("Facial plane", gkLine, {"N", "Pog"}, construction);
  b.Drawing("Y-axis", gkLine, {"S", "Gn"}, construction);
  b.Drawing("A-Pog", gkLine, {"A", "Pog"}, construction);
  b.Drawing("Incisor axes", gkLinePairs, {"U1", "U1 apex", "L1", "L1 apex"}, construction).UseForMorphing = true;
  b.Drawing("Wits projections", gkLinePairs, {"A", "AO", "B", "BO"}, {kRed, 2, 1, true});
  b.Drawing("Jarabak polygon", gkLine, {"N", "S", "Ar", "Go", "Me"}, {kPurple, 2, 0, true});
  b.Drawing("N-perpendicular", gkLine, {"N", "N perpendicular"}, construction);
  b.Drawing("A-vertical", gkLine, {"A", "A vertical"}, construction);
  b.Drawing("Condylion lines", gkLinePairs, {"Co", "A", "Co", "Gn"}, construction);
  b.Drawing("Ba-N", gkLine, {"Ba", "N"}, construction);
  b.Drawing("Horizontal plane", gkLine, {"HP back", "N"}, construction);
  b.Drawing("Sn-Pog'", gkLine, {"Sn", "Pog'"}, construction);
  b.Drawing("H-line", gkLine, {"Ls", "Pog'"}, construction);
  b.Drawing("S-line", gkLine, {"Cm", "Pog'"}, construction);
  // Stable structures of the anterior cranial base, for best-fit superimposition.
  b.Drawing("Cranial base points", gkMarkers, {"S", "TS", "Sf", "DS", "N", "Fr"}, {kTeal, 0, 0, true, 10, 1});
  b.Drawing("Maxillary points", gkMarkers, {"ANS", "PNS", "Palate"}, {kTeal, 0, 0, true, 10, 1});
  b.Drawing("Symphysis points", gkMarkers, {"Pog", "Me", "Sym", "LAC"}, {kTeal, 0, 0, true, 10, 1});

  // Variables. Sources: Steiner 1953/1959, Downs 1948/1956, Tweed 1954, Jacobson 1975,
  // Jarabak and Fizzell 1972, Björk 1969, McNamara 1984, Ricketts 1961/1981, Legan and
  // Burstone 1980, Holdaway 1983, Merrifield 1966. Where a source gives a range rather than
  // a standard deviation, the mean is its middle and the deviation half its width.
  const std::string d = kDegrees;
  const std::string mm = kMillimetres;
  b.Measure("Age", vkAgeText, {}, "", {}, {}, {"C", 40, -100});
  b.Variable("Age").ShowName = true;

  // Steiner.
  b.Measure("SNA", vkAngle, {"N", "A", "N", "S"}, d, Both(82, 2), Both(82, 2), {"A", -190, -30, 2});
  b.Measure("SNB", vkAngle, {"N", "B", "N", "S"}, d, Both(80, 2), Both(80, 2), {"B", -190, -30, 2});
  b.Measure("ANB", vkDifference, {"SNA", "SNB"}, d, Both(2, 2), Both(2, 2), {"N", 40, -60, 2});
  b.Measure("U1-NA angle", vkAngle, {"U1 apex", "U1", "N", "A"}, d, Both(22, 0), Both(22, 0), {"U1 apex", -250, 0});
  b.Measure("U1-NA", vkDistance2, {"U1", "A", "N"}, mm, Both(4, 0), Both(4, 0), {"U1", 30, 40});
  b.Measure("L1-NB angle", vkAngle, {"N", "B", "L1", "L1 apex"}, d, Both(25, 0), Both(25, 0), {"L1 apex", -250, 0});
  b.Measure("L1-NB", vkDistance2, {"L1", "B", "N"}, mm, Both(4, 0), Both(4, 0), {"L1", -200, 30});
  b.Measure("Pog-NB", vkDistance2, {"Pog", "B", "N"}, mm, {}, {}, {"Pog", 30, 0});
  b.Measure("Interincisal angle", vkAngle, {"L1", "L1 apex", "U1", "U1 apex"}, d, Both(130.5, 0.5),
            Both(130.5, 0.5), {"U1", 30, 0});
  b.Measure("Occlusal plane to SN", vkAngle, {"S", "N", "Occlusal back", "Occlusal front"}, d, Both(14, 0),
            Both(14, 0), {"Occlusal back", -150, -50});
  b.Measure("GoGn-SN", vkAngle, {"S", "N", "Go", "Gn"}, d, Both(32, 0), Both(32, 0), {"Go", -50, 60});

  // Downs.
  b.Measure("Facial angle", vkAngle, {"Pog", "N", "Po", "Or"}, d, Both(87.8, 3.6), Both(87.8, 3.6), {"Or", 30, 0});
  b.Measure("Angle of convexity", vkAngle, {"N", "A", "A", "Pog"}, d, Both(0, 5.1), Both(0, 5.1), {"A", 30, 0});
  b.Measure("A-B plane", vkAngle, {"B", "A", "Pog", "N"}, d, Both(-4.6, 3.7), Both(-4.6, 3.7), {"B", 30, 0});
  b.Measure("Y-axis", vkAngle, {"Po", "Or", "S", "Gn"}, d, Both(59.4, 3.8), Both(59.4, 3.8), {"S", 30, 60});
  b.Measure("Occlusal plane to FH", vkAngle, {"Po", "Or", "Occlusal back", "Occlusal front"}, d, Both(9.3, 3.8),
            Both(9.3, 3.8), {"Occlusal back", -150, 40});
  b.Measure("L1 to occlusal plane", vkAngle, {"Occlusal front", "Occlusal back", "L1 apex", "L1"}, d,
            Both(104.5, 3.5), Both(104.5, 3.5), {"L1", -220, -30});
  b.Measure("L1 to mandibular plane", vkAngle, {"Me", "Go", "L1 apex", "L1"}, d, Both(91.4, 3.8),
            Both(91.4, 3.8), {"L1 apex", 30, 30});
  b.Measure("U1 to A-Pog", vkDistance2, {"U1", "Pog", "A"}, mm, Both(2.7, 1.8), Both(2.7, 1.8), {"U1", 30, 80});

  // Tweed.
  b.Measure("FMA", vkAngle, {"Po", "Or", "Go", "Me"}, d, Both(25, 4.5), Both(25, 4.5), {"Go", 30, 40, 2});
  b.Measure("IMPA", vkAngle, {"Me", "Go", "L1 apex", "L1"}, d, Both(90, 5), Both(90, 5), {"L1 apex", 30, 30, 2});
  b.Measure("FMIA", vkAngle, {"L1", "L1 apex", "Or", "Po"}, d, Both(65, 2.5), Both(65, 2.5), {"Or", -150, 40, 2});

  // Wits appraisal: AO minus BO along the occlusal plane.
  b.Measure("Wits", vkDistance3, {"B", "A", "Occlusal back", "Occlusal front"}, mm, Both(0, 1.8), Both(-1, 1.8),
            {"BO", 30, 60, 2});

  // Jarabak and Björk.
  b.Measure("Saddle angle", vkAngle, {"S", "N", "S", "Ar"}, d, Both(123, 5), Both(123, 5), {"S", -150, -40});
  b.Measure("Articular angle", vkAngle, {"Ar", "S", "Ar", "Go"}, d, Both(143, 6), Both(143, 6), {"Ar", -180, 0});
  b.Measure("Gonial angle", vkAngle, {"Go", "Ar", "Go", "Me"}, d, Both(130, 7), Both(130, 7), {"Go", -180, 60});
  b.Measure("Saddle and articular angles", vkSum, {"Saddle angle", "Articular angle"}, d, {}, {}, {});
  b.Measure("Sum of posterior angles", vkSum, {"Saddle and articular angles", "Gonial angle"}, d, Both(396, 6),
            Both(396, 6), {"Ar", -180, 50});
  b.Measure("Upper gonial angle", vkAngle, {"Go", "Ar", "Go", "N"}, d, Both(53.5, 1.5), Both(53.5, 1.5), {"Go", 30, -60});
  b.Measure("Lower gonial angle", vkAngle, {"Go", "N", "Go", "Me"}, d, Both(72.5, 2.5), Both(72.5, 2.5), {"Go", 30, -10});
  b.Measure("S-N", vkDistance1, {"S", "N"}, mm, Both(71, 3), Both(71, 3), {"TS", 100, -60});
  b.Measure("S-Ar", vkDistance1, {"S", "Ar"}, mm, Both(32, 3), Both(32, 3), {"Ar", 30, -80});
  b.Measure("Ar-Go", vkDistance1, {"Ar", "Go"}, mm, Both(44, 5), Both(44, 5), {"Rp", -180, 0});
  b.Measure("Go-Me", vkDistance1, {"Go", "Me"}, mm, Both(71, 5), Both(71, 5), {"Mb", -60, 80});
  b.Measure("S-Go", vkDistance1, {"S", "Go"}, mm, {}, {}, {});
  b.Measure("N-Me", vkDistance1, {"N", "Me"}, mm, {}, {}, {});
  b.Measure("S-Go/N-Me", vkRatioPercent, {"S-Go", "N-Me"}, kPercent, Both(63.5, 1.5), Both(63.5, 1.5), {"Me", -300, -60});
  b.Measure("Go-Me/S-N", vkRatioPercent, {"Go-Me", "S-N"}, kPercent, Both(100, 0), Both(100, 0), {});

  // McNamara: children (mixed dentition) and adults by sex.
  b.Measure("A to N-perpendicular", vkDistance2, {"A", "N perpendicular", "N"}, mm, {{0, 14, 0, 2}, {14, 99, 1, 2}},
            {{0, 14, 0, 2}, {14, 99, 1, 2}}, {"A", 30, -40});
  b.Measure("Pog to N-perpendicular", vkDistance2, {"Pog", "N perpendicular", "N"}, mm,
            {{0, 14, -7, 1}, {14, 99, -2, 2}}, {{0, 14, -7, 1}, {14, 99, 0, 2}}, {"Pog", 30, 40});
  b.Measure("Co-A", vkDistance1, {"Co", "A"}, mm, {{0, 14, 85, 4.3}, {14, 99, 91, 4.3}},
            {{0, 14, 85, 6}, {14, 99, 99.8, 6}}, {"Co", 30, 60});
  b.Measure("Co-Gn", vkDistance1, {"Co", "Gn"}, mm, {{0, 14, 106.5, 5.3}, {14, 99, 120.2, 5.3}},
            {{0, 14, 106.5, 6.8}, {14, 99, 134.3, 6.8}}, {"Gn", 30, 60});
  b.Measure("Lower face height", vkDistance1, {"ANS", "Me"}, mm, {{0, 14, 61, 4.1}, {14, 99, 66.7, 4.1}},
            {{0, 14, 61, 5}, {14, 99, 74.6, 5}}, {"ANS", -220, 40});
  b.Measure("Maxillomandibular difference", vkDifference, {"Co-Gn", "Co-A"}, mm, {{0, 14, 20, 2}, {14, 99, 26, 1}},
            {{0, 14, 20, 2}, {14, 99, 31.5, 1.5}}, {"Me", -300, 100});
  b.Measure("Facial axis", vkAngle, {"Gn", "Pt", "Ba", "N"}, d, Both(90, 3.5), Both(90, 3.5), {"Pt", 30, 0});
  b.Measure("U1 to A-vertical", vkDistance2, {"U1", "A vertical", "A"}, mm, Both(5, 1), Both(5, 1), {"U1", 30, 40});
  b.Measure("L1 to A-Pog", vkDistance2, {"L1", "Pog", "A"}, mm, Both(2, 1), Both(2, 1), {"L1", -220, 30});

  // Ricketts, with yearly change from 9 years.
  b.Measure("Facial depth", vkAngle, {"Pog", "N", "Po", "Or"}, d, Yearly(87, 0.33, 3), Yearly(87, 0.33, 3), {"Or", 30, 60});
  b.Measure("Convexity", vkDistance2, {"A", "Pog", "N"}, mm, Yearly(2, -0.2, 2), Yearly(2, -0.2, 2), {"A", 30, 0});
  b.Measure("Mandibular plane angle", vkAngle, {"Po", "Or", "Go", "Me"}, d, Yearly(26, -0.3, 4.5),
            Yearly(26, -0.3, 4.5), {"Go", 30, 40});

  // Soft tissue: Legan and Burstone.
  b.Measure("Facial convexity", vkAngle, {"G'", "Sn", "Sn", "Pog'"}, d, Both(12, 4), Both(12, 4), {"Sn", 40, -30, 3});
  b.Measure("Maxillary prognathism", vkDistance3, {"G'", "Sn", "HP back", "N"}, mm, Both(6, 3), Both(6, 3),
            {"G'", 40, 0, 3});
  b.Measure("Mandibular prognathism", vkDistance3, {"G'", "Pog'", "HP back", "N"}, mm, Both(0, 4), Both(0, 4),
            {"Pog'", 40, 0, 3});
  b.Measure("G'-Sn", vkDistance3, {"G'", "Sn", "N", "HP vertical"}, mm, {}, {}, {});
  b.Measure("Sn-Me'", vkDistance3, {"Sn", "Me'", "N", "HP vertical"}, mm, {}, {}, {});
  b.Measure("Face height ratio G'-Sn/Sn-Me'", vkRatio, {"G'-Sn", "Sn-Me'"}, "", Both(1, 0), Both(1, 0),
            {"N'", 40, 0, 3});
  b.Measure("Lower face-throat angle", vkAngle, {"Gn'", "C", "Gn'", "Sn"}, d, Both(100, 7), Both(100, 7),
            {"C", 0, 50, 3});
  b.Measure("Sn-Gn'", vkDistance1, {"Sn", "Gn'"}, mm, {}, {}, {});
  b.Measure("C-Gn'", vkDistance1, {"C", "Gn'"}, mm, {}, {}, {});
  b.Measure("Sn-Gn'/C-Gn'", vkRatio, {"Sn-Gn'", "C-Gn'"}, "", Both(1.2, 0), Both(1.2, 0), {"Gn'", 40, 40, 3});
  b.Measure("Nasolabial angle", vkAngle, {"Sn", "Cm", "Sn", "Ls"}, d, Both(102, 8), Both(102, 8), {"Sn", -330, -40, 3});
  b.Measure("Ls to Sn-Pog'", vkDistance2, {"Ls", "Pog'", "Sn"}, mm, Both(3, 1), Both(3, 1), {"Ls", 40, 0, 3});
  b.Measure("Li to Sn-Pog'", vkDistance2, {"Li", "Pog'", "Sn"}, mm, Both(2, 1), Both(2, 1), {"Li", 40, 0, 3});
  b.Measure("Mentolabial sulcus", vkDistance2, {"B'", "Li", "Pog'"}, mm, Both(4, 2), Both(4, 2), {"B'", 40, 0, 3});
  b.Measure("Interlabial gap", vkDistance1, {"Stms", "Stmi"}, mm, Both(2, 2), Both(2, 2), {"Stms", 60, 10, 3});
  b.Measure("Incisor exposure", vkDistance3, {"Stms", "U1", "N", "HP vertical"}, mm, Both(2, 2), Both(2, 2),
            {"U1", -150, 80, 3});

  // Soft tissue: Holdaway, Ricketts' E-line, Steiner's S-line and Merrifield's Z-angle.
  b.Measure("Lower lip to E-line", vkDistance2, {"Li", "Pog'", "Prn"}, mm, Both(-2, 2), Both(-2, 2), {"Li", -330, 80, 3});
  b.Measure("Soft-tissue facial angle", vkAngle, {"Pog'", "N'", "Po", "Or"}, d, Both(91, 7), Both(91, 7),
            {"N'", 40, 0, 3});
  b.Measure("H-angle", vkAngle, {"Pog'", "N'", "Pog'", "Ls"}, d, Both(11, 4), Both(11, 4), {"Pog'", 40, 40, 3});
  b.Measure("Z-angle", vkAngle, {"Pog'", "Ls", "Po", "Or"}, d, {{11, 16, 78, 5}, {16, 99, 80, 9}},
            {{11, 16, 78, 5}, {16, 99, 80, 9}}, {"Pog'", 40, 80, 3});
  b.Measure("Upper lip thickness", vkDistance1, {"A", "A'"}, mm, Both(15, 1), Both(15, 1), {"A'", 40, 0, 3});
  b.Measure("Soft-tissue chin thickness", vkDistance1, {"Pog", "Pog'"}, mm, Both(11, 1), Both(11, 1),
            {"Pog'", 40, -40, 3});
  b.Measure("Sn to H-line", vkDistance2, {"Sn", "Ls", "Pog'"}, mm, Both(5, 2), Both(5, 2), {"Sn", 40, 30, 3});
  b.Measure("Lower lip to H-line", vkDistance2, {"Li", "Pog'", "Ls"}, mm, Both(0.5, 0.5), Both(0.5, 0.5),
            {"Li", 60, 40, 3});
  b.Measure("Upper lip to S-line", vkDistance2, {"Ls", "Pog'", "Cm"}, mm, Both(0, 0), Both(0, 0), {"Ls", 60, -40, 3});
  b.Measure("Lower lip to S-line", vkDistance2, {"Li", "Pog'", "Cm"}, mm, Both(0, 0), Both(0, 0), {"Li", 60, 80, 3});

  // Shape statistics: a dozen hard-tissue landmarks spread over cranial base, maxilla and
  // mandible, with population data imported from a Procrustes run over the example records
  // (see main). Scores of the first two components and the distance to the reference.
  b.ShapeAnalysis(kShapePca, {"S", "N", "Ba", "Po", "Or", "Ar", "Me", "Pog", "B", "PNS", "ANS", "A"});
  b.ShapeMeasure("Centroid size", vkCentroidSize, kShapePca, 0, "0.0");
  b.ShapeMeasure("Normalized centroid size", vkNormalizedCentroidSize, kShapePca, 0, "0.0");
  b.ShapeMeasure("Procrustes distance", vkProcrustesDistance, kShapePca, 0, "0.0000");
  b.ShapeMeasure("PC1 score", vkPrincipalComponent, kShapePca, 1, "0.0000");
  b.ShapeMeasure("PC1 z-score", vkPrincipalComponentZ, kShapePca, 1, "0.00");
  b.ShapeMeasure("PC2 score", vkPrincipalComponent, kShapePca, 2, "0.0000");
  b.ShapeMeasure("PC2 z-score", vkPrincipalComponentZ, kShapePca, 2, "0.00");
  b.ShapeMeasure("Shape distance to reference", vkReferenceShapeDistance, kShapePca, 0, "0.0000");
  b.PcaDrawing("Shape consensus", gkPcaConsensusMarkers, kShapePca, {kTeal, 0, 0, true, 10, 1});
  b.PcaDrawing("Shape deviations", gkPcaJoinPoints, kShapePca, {kTeal, 2, 0, true});

  // Analyses: the first is current when a radiograph opens.
  b.Analysis("Summary",
             {"Age", "SNA", "SNB", "ANB", "Wits", "FMA", "IMPA", "FMIA", "S-Go/N-Me", "Lower lip to E-line",
              "Nasolabial angle"},
             {"N-A", "N-B", "Wits projections", "Constructed points"});
  b.Analysis("Steiner",
             {"Age", "SNA", "SNB", "ANB", "U1-NA angle", "U1-NA", "L1-NB angle", "L1-NB", "Pog-NB",
              "Interincisal angle", "Occlusal plane to SN", "GoGn-SN", "Upper lip to S-line", "Lower lip to S-line"},
             {"N-A", "N-B", "Incisor axes", "S-line", "Constructed points"});
  b.Analysis("Downs",
             {"Age", "Facial angle", "Angle of convexity", "A-B plane", "FMA", "Y-axis", "Occlusal plane to FH",
              "Interincisal angle", "L1 to occlusal plane", "L1 to mandibular plane", "U1 to A-Pog"},
             {"Facial plane", "Y-axis", "A-Pog", "Incisor axes", "Constructed points"});
  b.Analysis("Tweed", {"Age", "FMA", "IMPA", "FMIA"}, {"Incisor axes"});
  b.Analysis("Wits", {"Age", "Wits", "ANB"}, {"Wits projections", "Constructed points"});
  b.Analysis("Jarabak and Bj\u00F6rk",
             {"Age", "Saddle angle", "Articular angle", "Gonial angle", "Sum of posterior angles",
              "Upper gonial angle", "Lower gonial angle", "S-N", "S-Ar", "Ar-Go", "Go-Me", "S-Go", "N-Me",
              "S-Go/N-Me", "Go-Me/S-N"},
             {"Jarabak polygon", "Constructed points"});
  b.Analysis("McNamara",
             {"Age", "A to N-perpendicular", "Pog to N-perpendicular", "Co-A", "Co-Gn", "Lower face height",
              "Maxillomandibular difference", "FMA", "Facial axis", "U1 to A-vertical", "L1 to A-Pog"},
             {"N-perpendicular", "A-vertical", "Condylion lines", "Ba-N", "A-Pog", "Constructed points"});
  b.Analysis("Ricketts (selection)",
             {"Age", "Facial depth", "Facial axis", "Convexity", "Mandibular plane angle", "L1 to A-Pog",
              "Lower lip to E-line"},
             {"Facial plane", "Ba-N", "A-Pog"});
  b.Analysis("Soft tissue (Legan and Burstone)",
             {"Age", "Facial convexity", "Maxillary prognathism", "Mandibular prognathism", "G'-Sn", "Sn-Me'",
              "Face height ratio G'-Sn/Sn-Me'", "Lower face-throat angle", "Sn-Gn'", "C-Gn'", "Sn-Gn'/C-Gn'",
              "Nasolabial angle", "Ls to Sn-Pog'", "Li to Sn-Pog'", "Mentolabial sulcus", "Interlabial gap",
              "Incisor exposure"},
             {"Horizontal plane", "Sn-Pog'"});
  b.Analysis("Holdaway and profile lines",
             {"Age", "Soft-tissue facial angle", "H-angle", "Sn to H-line", "Lower lip to H-line",
              "Upper lip thickness", "Soft-tissue chin thickness", "Lower lip to E-line", "Upper lip to S-line",
              "Lower lip to S-line", "Z-angle"},
             {"H-line", "S-line"});
  b.Analysis("Shape (Procrustes)",
             {"Age", "Centroid size", "Normalized centroid size", "Procrustes distance", "PC1 score", "PC1 z-score",
              "PC2 score", "PC2 z-score", "Shape distance to reference"},
             {"Shape consensus", "Shape deviations"});

  b.View("Hard tissue", {"Sella turcica", "Frontal and nasal bones", "Orbit", "Maxilla", "Mandible", "Ramus",
                         "Lingual symphysis", "Upper incisor", "Lower incisor", "Upper molar", "Lower molar", "S-N",
                         "Frankfort horizontal", "Palatal plane", "Occlusal plane", "Mandibular plane"});
  b.View("Soft tissue outline", {"Soft tissue profile", "Lower lip and chin", "E-line", "Frankfort horizontal"});

  b.Protocol("Lateral ceph", {"S", "TS", "Sf", "DS", "N", "Fr", "Nb", "Or", "Orbit roof", "Orbit front",
                              "Orbit back", "Po", "Ba", "Pt", "Co", "Ar", "Sig", "Cor", "R1", "Rp", "Mb", "PNS", "ANS",
                              "A", "Pr", "ULA", "Palate", "U1", "U1 apex", "U6", "U6 apex", "L1", "L1 apex", "L6",
                              "L6 apex", "Id", "LAC", "Sym", "Symphysis", "B", "Pog", "Me", "Soft tissue profile",
                              "G'", "N'", "Prn", "Cm", "Sn", "A'", "Ls", "Stms", "Stmi", "Li", "B'", "Pog'", "Gn'",
                              "Me'", "C"});

  b.Superimposition("S-N registered at S", skPointToPoint, {&b.Point("S"), &b.Point("N")});
  b.Superimposition("Cranial base best fit", skBestFit, {&b.Graphic("Cranial base points")});
  b.Superimposition("Maxilla best fit", skBestFit, {&b.Graphic("Maxillary points")});
  b.Superimposition("Mandible best fit", skBestFit, {&b.Graphic("Symphysis points")});
  b.Orientation("Frankfort horizontal", okSetHorizontal, "Po", "Or");
  b.Orientation("S-N horizontal", okSetHorizontal, "S", "N");

  b.Relationship("Upper lip follows upper incisor", "U1", {"Ls", "Stms"}, 70, 50);
  b.Relationship("Lower lip follows lower incisor", "L1", {"Li", "Stmi"}, 80, 50);
  b.Relationship("Soft A point follows A point", "A", {"A'", "Sn"}, 50, 50);
  b.Relationship("Soft chin follows pogonion", "Pog", {"B'", "Pog'", "Gn'", "Me'"}, 100, 100);

  type.BuildTemplates();
}

// ---------------------------------------------------------------------------------------
// The frontal (postero-anterior) type: a small Ricketts frontal and asymmetry analysis.

struct TFrontalDef {
  const char* Name;
  const char* Description;
  TMm At;  // mm from the midline at the level of the orbits; x to the patient's left
};

const std::vector<TFrontalDef> kFrontalLandmarks = {
    {"Cg", "Crista galli", {0, -10}},
    {"ZR", "Right zygomaticofrontal suture, medial margin", {-48, 0}},
    {"ZL", "Left zygomaticofrontal suture, medial margin", {48, 0}},
    {"ZAR", "Right zygomatic arch, most lateral point", {-66, 38}},
    {"ZAL", "Left zygomatic arch, most lateral point", {66, 38}},
    {"NCR", "Right nasal cavity, widest point", {-13, 45}},
    {"NCL", "Left nasal cavity, widest point", {13, 45}},
    {"ANS", "Anterior nasal spine", {0, 58}},
    {"JR", "Right jugal process", {-33, 62}},
    {"JL", "Left jugal process", {33, 62}},
    {"U6R", "Buccal surface of the right upper first molar", {-28, 82}},
    {"U6L", "Buccal surface of the left upper first molar", {28, 82}},
    {"U6R apex", "Root apex of the right upper first molar", {-27, 66}},
    {"U6L apex", "Root apex of the left upper first molar", {27, 66}},
    {"L6R", "Buccal surface of the right lower first molar", {-27, 84}},
    {"L6L", "Buccal surface of the left lower first molar", {27, 84}},
    {"L6R apex", "Root apex of the right lower first molar", {-26, 103}},
    {"L6L apex", "Root apex of the left lower first molar", {26, 103}},
    {"U1", "Upper incisor midline, incisal edge", {0, 90}},
    {"U1 apex", "Upper incisor, root apex", {0, 67}},
    {"L1", "Lower incisor midline, incisal edge", {0, 88}},
    {"L1 apex", "Lower incisor, root apex", {0, 109}},
    {"AgR", "Right antegonial notch", {-42, 108}},
    {"AgL", "Left antegonial notch", {42, 108}},
    {"Me", "Menton", {0, 130}},
};

void BuildFrontalType(TXRayType& type) {
  type.Name = "Frontal Ceph";
  TTypeBuilder b(type);
  for (const TFrontalDef& def : kFrontalLandmarks) b.Landmark(def.Name, def.Description, {def.At.X + 40, def.At.Y});
  b.Derived("Midline foot of Me", pkProjection, {"Me", "Cg", "ANS"});
  b.Derived("Midline below", pkExtension, {"Cg", "ANS", "ANS"}, 800);

  const TStroke bone{kBlack, 4};
  const TStroke tooth{kNavy, 3, 0, false, 1};
  const TStroke plane{kBlue, 2};
  b.Drawing("Face outline", gkSpline, {"ZR", "ZAR", "JR", "AgR", "Me", "AgL", "JL", "ZAL", "ZL"}, bone);
  b.Drawing("Nasal cavity", gkSplineClosed, {"NCR", "ANS", "NCL", "Cg"}, {kBlack, 3});
  b.Drawing("Upper right molar", gkUpperMolarFrontal, {"U6R", "U6R apex"}, {kNavy, 3, 0, false, -1});
  b.Drawing("Upper left molar", gkUpperMolarFrontal, {"U6L", "U6L apex"}, tooth);
  b.Drawing("Lower right molar", gkLowerMolarFrontal, {"L6R", "L6R apex"}, {kNavy, 3, 0, false, -1});
  b.Drawing("Lower left molar", gkLowerMolarFrontal, {"L6L", "L6L apex"}, tooth);
  b.Drawing("Upper incisor", gkUpperIncisorFrontal, {"U1", "U1 apex"}, tooth);
  b.Drawing("Lower incisor", gkLowerIncisorFrontal, {"L1", "L1 apex"}, tooth);
  b.Drawing("Midsagittal line", gkLine, {"Cg", "ANS", "Midline below"}, {kRed, 2});
  b.Drawing("Zygomatic line", gkLine, {"ZR", "ZL"}, plane);
  b.Drawing("Maxillary width", gkLine, {"JR", "JL"}, plane);
  b.Drawing("Mandibular width", gkLine, {"AgR", "AgL"}, plane);
  b.Drawing("Frontal landmarks", gkMarkers, {}, {kFuchsia, 0, 0, false, 8, 0});
  for (const TFrontalDef& def : kFrontalLandmarks) b.Graphic("Frontal landmarks").Points.push_back(&b.Point(def.Name));

  const std::string mm = kMillimetres;
  b.Measure("Age", vkAgeText, {}, "", {}, {}, {"Me", 40, 60});
  b.Measure("Maxillary width", vkDistance1, {"JR", "JL"}, mm, Yearly(62, 0.6, 3), Yearly(62, 0.6, 3), {"JL", 40, 0});
  b.Measure("Mandibular width", vkDistance1, {"AgR", "AgL"}, mm, Yearly(76, 1.4, 3), Yearly(76, 1.4, 3),
            {"AgL", 40, 0});
  b.Measure("Nasal width", vkDistance1, {"NCR", "NCL"}, mm, Both(25, 2), Both(25, 2), {"NCL", 40, 0});
  b.Measure("Facial width", vkDistance1, {"ZAR", "ZAL"}, mm, {}, {}, {"ZAL", 40, 0});
  b.Measure("Upper molar width", vkDistance1, {"U6R", "U6L"}, mm, {}, {}, {"U6L", 40, -40});
  b.Measure("Lower molar width", vkDistance1, {"L6R", "L6L"}, mm, {}, {}, {"L6L", 40, 40});
  b.Measure("Menton deviation", vkDistance2, {"Me", "Cg", "ANS"}, mm, Both(0, 2), Both(0, 2), {"Me", 40, 0});
  b.Measure("Upper midline deviation", vkDistance2, {"U1", "Cg", "ANS"}, mm, Both(0, 1.5), Both(0, 1.5), {"U1", 40, -30});
  b.Measure("Lower midline deviation", vkDistance2, {"L1", "Cg", "ANS"}, mm, Both(0, 1.5), Both(0, 1.5), {"L1", 40, 30});
  b.Analysis("Frontal", {"Age", "Maxillary width", "Mandibular width", "Nasal width", "Facial width",
                         "Upper molar width", "Lower molar width", "Menton deviation", "Upper midline deviation",
                         "Lower midline deviation"},
             {});
  std::vector<std::string> order;
  for (const TFrontalDef& def : kFrontalLandmarks) order.emplace_back(def.Name);
  b.Protocol("Frontal ceph", order);
  b.Orientation("Zygomatic line horizontal", okSetHorizontal, "ZR", "ZL");
  b.Orientation("Midline vertical", okSetVertical, "Cg", "ANS");
  type.BuildTemplates();
}

// ---------------------------------------------------------------------------------------
// Synthetic patients.

class TRandom {
 public:
  explicit TRandom(uint32_t seed) : fEngine(seed) {}
  // Uniform in (0, 1).
  double Uniform() { return (static_cast<double>(fEngine()) + 0.5) / 4294967296.0; }
  double Normal(double mean, double sd) {
    const double u = Uniform();
    const double v = Uniform();
    return mean + sd * std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
  }

 private:
  std::mt19937 fEngine;
};

// What makes one person's face: fixed for life, drawn once per patient.
struct TFace {
  bool Female = false;
  double Size = 1;        // adult size relative to the mean woman
  double Sagittal = 0;    // mm; + mandible behind the maxilla (class II), - class III
  double Vertical = 0;    // + long face (clockwise mandible), - short face
  double UpperTorque = 0; // degrees, + proclined
  double LowerTorque = 0;
  double Lips = 0;        // mm, + full lips
  double Nose = 0;        // mm, + prominent nose
  double Tilt = 0;        // degrees the head is held off the Frankfort horizontal
};

// The share of adult size still to come at `age`: 1 at 8 years, 0 once growth has ended.
double GrowthToCome(double age, bool female) {
  const double end = female ? 16 : 19;
  return std::clamp((end - age) / (end - 8), 0.0, 1.0);
}

TMm RotateClockwise(TMm p, TMm centre, double degrees) {
  const double a = degrees * std::numbers::pi / 180;
  const double dx = p.X - centre.X;
  const double dy = p.Y - centre.Y;
  return {centre.X + dx * std::cos(a) - dy * std::sin(a), centre.Y + dx * std::sin(a) + dy * std::cos(a)};
}

std::map<std::string, TMm> LateralTracing(const TFace& face, double age, TRandom& random) {
  std::map<std::string, TMm> at;
  std::map<std::string, char> region;
  for (const TLandmarkDef& def : kLateralLandmarks) {
    at[def.Name] = def.At;
    region[def.Name] = def.Region;
  }
  auto inRegion = [&](const std::string& name, std::string_view regions) {
    return regions.find(region[name]) != std::string_view::npos;
  };

  // Skeletal pattern. The mandible is carried forwards or backwards, more at the chin than
  // at the condyle, and turned about the condyle for a long or short face; the lower lip
  // and chin follow it.
  const TMm condyle = at["Co"];
  const double chinReach = at["Pog"].X - condyle.X;
  for (auto& [name, p] : at) {
    if (inRegion(name, "ml") && name != "Co") {
      const double reach = std::clamp((p.X - condyle.X) / chinReach, 0.0, 1.2);
      p.X -= face.Sagittal * reach;
      p = RotateClockwise(p, condyle, 2.5 * face.Vertical);
    }
    if (inRegion(name, "xun")) p.X += 0.3 * face.Sagittal;
  }
  // Dentoalveolar compensation: the upper teeth follow the lower teeth vertically, so the
  // bite stays closed, and the incisors tip against the skeletal discrepancy.
  const double upperDrop = 0.5 * (at["L1"].Y - 69.5 + at["L6"].Y - 66.8) * 0.9;
  const double lipGap = std::max(0.0, random.Normal(1.5, 1.2));
  for (const char* name : {"U1", "U6", "Pr", "ULA", "Stms"}) at[name].Y += upperDrop;
  for (const char* name : {"U1 apex", "U6 apex"}) at[name].Y += 0.4 * upperDrop;
  const TMm upperTip = at["U1"];
  const TMm lowerTip = at["L1"];
  at["U1"] = RotateClockwise(at["U1"], at["U1 apex"], -(face.UpperTorque + 0.8 * face.Sagittal));
  at["L1"] = RotateClockwise(at["L1"], at["L1 apex"], face.LowerTorque + 1.2 * face.Sagittal);
  // The lips follow their incisors.
  for (const char* name : {"Ls", "Stms", "A'"}) at[name].X += 0.6 * (at["U1"].X - upperTip.X) + face.Lips;
  for (const char* name : {"Li", "Stmi"}) at[name].X += 0.7 * (at["L1"].X - lowerTip.X) + face.Lips;
  at["B'"].X += 0.4 * face.Lips;
  for (const char* name : {"Prn", "Cm"}) at[name].X += face.Nose;

  // Growth and size: the cranium is nearly grown at eight, the face less, the mandible
  // least; the nose keeps growing longest.
  const double toCome = GrowthToCome(age, face.Female);
  const double cranium = face.Size * (1 - 0.07 * toCome);
  const double maxilla = (1 - 0.11 * toCome) / (1 - 0.07 * toCome);
  const double mandible = (1 - 0.14 * toCome) / (1 - 0.07 * toCome);
  const double nose = (1 - 0.2 * toCome) / (1 - 0.11 * toCome);
  for (auto& [name, p] : at) p = {p.X * cranium, p.Y * cranium};
  const TMm ptm = at["Pt"];
  const TMm grownCondyle = at["Co"];
  for (auto& [name, p] : at) {
    if (inRegion(name, "xun")) p = {ptm.X + (p.X - ptm.X) * maxilla, ptm.Y + (p.Y - ptm.Y) * maxilla};
    if (inRegion(name, "ml")) p = {grownCondyle.X + (p.X - grownCondyle.X) * mandible,
                                    grownCondyle.Y + (p.Y - grownCondyle.Y) * mandible};
  }
  const TMm subnasale = at["Sn"];
  for (const char* name : {"Prn", "Cm"}) {
    TMm& p = at[name];
    p = {subnasale.X + (p.X - subnasale.X) * nose, subnasale.Y + (p.Y - subnasale.Y) * nose};
  }

  // Competent lips stay closed or nearly so whatever the skeleton does.
  at["Stms"] = {at["Stmi"].X + 0.5, at["Stmi"].Y - lipGap};

  // Head posture and digitizing error.
  for (auto& [name, p] : at) {
    p = RotateClockwise(p, {0, 0}, face.Tilt);
    p.X += random.Normal(0, 0.35);
    p.Y += random.Normal(0, 0.35);
  }
  return at;
}

struct TPatient {
  std::string Name;
  bool Female;
  int BirthYear, BirthMonth, BirthDay;
  std::vector<double> Ages;  // one radiograph at each age
  const char* Pattern;       // "I", "II" or "III"
  bool Frontal = false;      // a postero-anterior radiograph at the first age too
};

const std::vector<TPatient> kPatients = {
    {"Emma Lindqvist", true, 2009, 3, 14, {9.5, 13.5}, "II", true},
    {"Noah Bergstrom", false, 2008, 11, 2, {10.2, 15.1}, "I", false},
    {"Mia Castellano", true, 2006, 6, 21, {12.3, 16.4}, "III", false},
    {"Lucas Fontaine", false, 2007, 1, 30, {11.0, 18.2}, "II", true},
    {"Olivia Marchetti", true, 2012, 9, 5, {8.1}, "I", false},
    {"Liam O'Rourke", false, 2011, 4, 17, {8.7}, "II", false},
    {"Sofia Novak", true, 2010, 12, 9, {10.8}, "I", false},
    {"Elias Haugen", false, 2009, 7, 25, {11.9}, "III", false},
    {"Ava Petrakis", true, 2008, 2, 11, {13.2}, "II", false},
    {"Jonas Weber", false, 2007, 10, 3, {14.4}, "I", true},
    {"Lena Kowalczyk", true, 2006, 5, 28, {15.6}, "I", false},
    {"Mateo Alvarez", false, 2005, 8, 19, {16.9}, "III", false},
    {"Chloe Dubois", true, 2003, 1, 7, {19.5}, "II", false},
    {"Finn Andersen", false, 2001, 6, 12, {21.3}, "I", false},
    {"Isabella Moretti", true, 1998, 3, 23, {24.8}, "I", false},
    {"Daniel Kim", false, 1995, 11, 29, {27.6}, "II", false},
    {"Hannah Schulz", true, 1992, 7, 16, {31.2}, "III", false},
    {"Samuel Okafor", false, 1990, 2, 4, {33.7}, "I", false},
    {"Grace Whitfield", true, 1987, 9, 30, {36.4}, "II", false},
    {"Victor Lemaire", false, 1984, 12, 18, {39.8}, "I", false},
    {"Nora Virtanen", true, 2001, 4, 1, {22.0}, "I", false},
    {"Oscar Lindgren", false, 2010, 8, 8, {9.1}, "III", false},
};

TFace DrawFace(const TPatient& patient, TRandom& random) {
  TFace face;
  face.Female = patient.Female;
  face.Size = (patient.Female ? 1.0 : 1.065) * random.Normal(1, 0.03);
  const std::string pattern = patient.Pattern;
  if (pattern == "I") face.Sagittal = random.Normal(0, 1.2);
  if (pattern == "II") face.Sagittal = 3.5 + std::abs(random.Normal(0, 1.5));
  if (pattern == "III") face.Sagittal = -3.5 - std::abs(random.Normal(0, 1.5));
  face.Vertical = random.Normal(0, 1);
  face.UpperTorque = random.Normal(0, 4);
  face.LowerTorque = random.Normal(0, 4);
  face.Lips = random.Normal(0, 1.2);
  face.Nose = random.Normal(0, 1.5);
  face.Tilt = random.Normal(0, 2);
  return face;
}

TDayNumber AddYears(TDayNumber day, double years) { return day + static_cast<TDayNumber>(std::nearbyint(years * 365.25)); }

void Fail(const std::string& what) { throw std::runtime_error(what); }

// The synthetic radiographs of examples/make_example_images.sh lie under these records:
// 2.5 tracing units per pixel, top-left corner at (300, 300).
struct TExampleImage {
  const char* Patient;
  size_t Visit;
  const char* File;
};
constexpr TExampleImage kExampleImages[] = {
    {"Emma Lindqvist", 0, "emma_lindqvist_2018.jpg"},
    {"Emma Lindqvist", 1, "emma_lindqvist_2022.jpg"},
};

void LinkExampleImage(TXRay& xray, const TPatient& patient, size_t visit) {
  for (const TExampleImage& image : kExampleImages) {
    if (patient.Name != image.Patient || visit != image.Visit) continue;
    xray.ImageFile = image.File;
    xray.ImageOriginX = 300;
    xray.ImageOriginY = 300;
    xray.PixelWidth = 2.5;
    xray.PixelHeight = 2.5;
  }
}

void WriteLateralRecords(TXRayType& lateral, TXRayType& frontal, const std::string& dataFile) {
  TRandom random(20240611);
  for (const TPatient& patient : kPatients) {
    const TFace face = DrawFace(patient, random);
    const TDayNumber birth = DayNumber(patient.BirthYear, patient.BirthMonth, patient.BirthDay);
    for (size_t visit = 0; visit < patient.Ages.size(); ++visit) {
      const double age = patient.Ages[visit];
      const std::map<std::string, TMm> at = LateralTracing(face, age, random);
      TXRay xray;
      xray.SetType(&lateral);
      xray.Name = patient.Name;
      xray.Female = patient.Female;
      xray.DateOfBirth = birth;
      xray.DateTaken = AddYears(birth, age);
      xray.Magnification = 8;
      xray.Comments = std::string("Class ") + patient.Pattern +
                      (patient.Ages.size() > 1 ? (visit == 0 ? " before treatment" : " follow-up") : "");
      for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
        const TMm p = at.at(kLateralLandmarks[i].Name);
        xray.Coordinates[i]->SetXY(std::nearbyint(kOriginX + 10 * p.X), std::nearbyint(kOriginY + 10 * p.Y));
      }
      LinkExampleImage(xray, patient, visit);
      const TResult result = AppendToDataFile(xray, dataFile, {});
      if (!result) Fail(result.Text().English() + " " + result.Reason());
    }
    if (patient.Frontal) {
      TXRay xray;
      xray.SetType(&frontal);
      xray.Name = patient.Name;
      xray.Female = patient.Female;
      xray.DateOfBirth = birth;
      xray.DateTaken = AddYears(birth, patient.Ages.front());
      xray.Magnification = 8;
      xray.Comments = "Postero-anterior";
      const double scale = face.Size * (1 - 0.12 * GrowthToCome(patient.Ages.front(), patient.Female));
      const double shift = random.Normal(0, 1.2);  // a slight mandibular asymmetry
      for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
        const TFrontalDef& def = kFrontalLandmarks[i];
        const double lower = std::clamp((def.At.Y - 70) / 60, 0.0, 1.0);
        const double x = def.At.X * scale + shift * lower + random.Normal(0, 0.35);
        const double y = def.At.Y * scale + random.Normal(0, 0.35);
        xray.Coordinates[i]->SetXY(std::nearbyint(kOriginX + 10 * (x + 40)), std::nearbyint(kOriginY + 10 * y));
      }
      const TResult result = AppendToDataFile(xray, dataFile, {});
      if (!result) Fail(result.Text().English() + " " + result.Reason());
    }
  }
}

// The shape analysis's population data: a Procrustes run over every lateral record at
// radiograph size (as the measure command reads them), imported into the type file. The
// whole report, names included, goes to `reportFile` when one is given.
void ImportShapeData(const std::filesystem::path& folder, const std::string& dataFile, const std::string& reportFile) {
  TTypeCache types({"", folder.string()});
  TProcrustesRequest request;
  request.DataFile = dataFile;
  request.TypeName = "Lateral Ceph";
  request.PcaName = kShapePca;
  request.LifeSize = false;
  request.Report = {true, true, true, true, true, true, true, true};
  TDataFileIndex file;
  if (!file.Open(dataFile)) Fail("cannot read " + dataFile);
  std::string line;
  for (size_t n = 1; file.ReadLine(n, line); ++n) request.Records.push_back(static_cast<int>(n));
  TProcrustesPrompts prompts;
  prompts.Skip = [](const std::string& message) {
    Fail(message);
    return false;
  };
  const TProcrustesResult result = RunProcrustes(request, types.Resolver(), {}, prompts);
  if (result.Outcome != TProcrustesOutcome::Completed) Fail(result.Message);

  const std::string typeFile = (folder / "lateral_ceph.lcr").string();
  TXRayType lateral;
  if (const TResult loaded = lateral.LoadFromTypeFile(typeFile); !loaded) Fail(loaded.Text().English());
  auto* pca = static_cast<TXRPCA*>(lateral.FindElement(kShapePca, ekPCA));
  const TPcaImportResult imported = ImportPcaReport(*pca, *EncodeCp1252(result.Report));
  if (!imported.Ok) Fail(imported.Message);
  if (const TResultOf<TText> saved = lateral.SaveToTypeFile(typeFile); !saved) Fail(saved.Text().English());
  if (!reportFile.empty()) {
    std::filesystem::remove(reportFile);
    const TWriteResult written = AppendReport(reportFile, result.Report);
    if (!written.Ok) Fail(written.Error);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: make_examples OUTPUT_FOLDER [PCA_REPORT_FILE]\n";
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    TXRayType lateral;
    BuildLateralType(lateral);
    TXRayType frontal;
    BuildFrontalType(frontal);
    for (auto [type, file] : {std::pair{&lateral, "lateral_ceph.lcr"}, std::pair{&frontal, "frontal_ceph.lcr"}})
      if (const TResultOf<TText> saved = type->SaveToTypeFile((folder / file).string()); !saved)
        Fail(saved.Text().English());
    const std::string dataFile = (folder / "PATIENT.CSV").string();
    std::filesystem::remove(dataFile);
    WriteLateralRecords(lateral, frontal, dataFile);
    ImportShapeData(folder, dataFile, argc == 3 ? argv[2] : "");
    // The writers' advisory lock file has no place among the committed examples.
    std::filesystem::remove(dataFile + ".lock");
  } catch (const std::exception& error) {
    std::cerr << "make_examples: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
