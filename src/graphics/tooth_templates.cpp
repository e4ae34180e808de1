#include "graphics/tooth_templates.h"

#include <array>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "model/kind_codes.h"

namespace lumacet {

namespace {

using TOutline = std::span<const TIntPoint>;

// Outlines in template units, traced from typical adult tooth dimensions: an incisor seen
// from the side is its labiolingual profile, the other teeth of a lateral view their
// buccal (mesiodistal) profile, and frontal views the labial or buccolingual profile.
// Crowns end at the cementoenamel junction, which every root outline shares.

constexpr TIntPoint kUpperIncisor1[] = {
    {327, -88}, {309, -99}, {273, -99}, {242, -89}, {213, -76}, {183, -62}, {154, -49}, {124, -37},
    {93, -26}, {62, -17}, {31, -8}, {0, 0}, {22, 24}, {49, 44}, {77, 60}, {107, 75}, {137, 87},
    {169, 98}, {201, 106}, {233, 112}, {266, 116}, {299, 117}, {332, 113}, {327, 79}, {322, 46},
    {317, 13}, {319, -21}, {322, -55}, {327, -88}};

constexpr TIntPoint kUpperIncisor2[] = {
    {327, -88}, {369, -87}, {411, -84}, {452, -77}, {493, -69}, {534, -59}, {574, -49}, {615, -37},
    {655, -26}, {695, -13}, {735, 0}, {697, 19}, {658, 33}, {618, 46}, {577, 58}, {537, 70},
    {497, 82}, {456, 93}, {415, 101}, {373, 108}, {332, 113}, {325, 62}, {317, 13}, {320, -38},
    {327, -88}};

constexpr std::array<TOutline, 2> kUpperIncisor = {kUpperIncisor1, kUpperIncisor2};

constexpr TIntPoint kUpperMolar1[] = {
    {206, 82}, {178, 90}, {149, 96}, {121, 100}, {91, 100}, {63, 92}, {38, 77}, {20, 54}, {7, 28},
    {0, 0}, {8, -24}, {17, -47}, {27, -71}, {14, -98}, {8, -127}, {14, -156}, {28, -182},
    {52, -200}, {81, -209}, {111, -210}, {140, -206}, {169, -199}, {198, -189}, {204, -160},
    {210, -130}, {213, -100}, {214, -69}, {215, -39}, {213, -9}, {211, 21}, {209, 52}, {206, 82}};

constexpr TIntPoint kUpperMolar2[] = {
    {206, 82}, {233, 85}, {259, 86}, {286, 84}, {312, 80}, {339, 75}, {365, 70}, {391, 64},
    {416, 57}, {442, 50}, {468, 42}, {493, 34}, {518, 25}, {542, 14}, {565, 0}, {548, -20},
    {523, -28}, {497, -32}, {471, -35}, {445, -38}, {419, -40}, {393, -41}, {366, -44}, {341, -49},
    {316, -57}, {292, -69}, {271, -85}, {243, -89}, {215, -93}, {214, -68}, {214, -43}, {213, -18},
    {212, 7}, {211, 32}, {209, 57}, {206, 82}};

constexpr TIntPoint kUpperMolar3[] = {
    {271, -85}, {314, -83}, {357, -86}, {400, -93}, {442, -102}, {479, -122}, {454, -149},
    {411, -158}, {369, -164}, {326, -171}, {283, -179}, {241, -185}, {198, -189}, {210, -142},
    {215, -93}, {243, -89}, {271, -85}};

constexpr std::array<TOutline, 3> kUpperMolar = {kUpperMolar1, kUpperMolar2, kUpperMolar3};

constexpr TIntPoint kLowerIncisor1[] = {
    {0, 0}, {21, -21}, {47, -36}, {74, -49}, {102, -60}, {130, -69}, {159, -77}, {189, -83},
    {218, -88}, {248, -90}, {278, -91}, {284, -60}, {288, -28}, {289, 3}, {290, 34}, {291, 66},
    {291, 97}, {261, 102}, {231, 93}, {202, 82}, {173, 71}, {144, 59}, {115, 47}, {86, 36},
    {57, 26}, {28, 14}, {0, 0}};

constexpr TIntPoint kLowerIncisor2[] = {
    {278, -91}, {320, -93}, {362, -92}, {404, -88}, {445, -82}, {486, -74}, {527, -64}, {567, -52},
    {607, -39}, {646, -24}, {680, 0}, {648, 25}, {611, 42}, {572, 55}, {533, 67}, {494, 77},
    {454, 86}, {414, 92}, {373, 97}, {332, 99}, {291, 97}, {291, 50}, {289, 3}, {286, -44},
    {278, -91}};

constexpr std::array<TOutline, 2> kLowerIncisor = {kLowerIncisor1, kLowerIncisor2};

constexpr TIntPoint kLowerMolar1[] = {
    {0, 0}, {3, -11}, {10, -20}, {19, -25}, {30, -28}, {41, -29}, {52, -28}, {63, -26}, {73, -23},
    {75, -11}, {76, 0}, {77, 12}, {77, 24}, {77, 36}, {76, 47}, {75, 59}, {74, 71}, {72, 82},
    {60, 85}, {48, 87}, {35, 87}, {23, 84}, {12, 80}, {3, 72}, {10, 61}, {2, 51}, {3, 39},
    {10, 28}, {5, 19}, {2, 10}, {0, 0}};

constexpr TIntPoint kLowerMolar2[] = {
    {73, -23}, {93, -25}, {113, -23}, {133, -20}, {153, -16}, {172, -10}, {192, -5}, {211, 0},
    {196, 12}, {177, 15}, {157, 17}, {137, 18}, {117, 21}, {100, 31}, {116, 40}, {134, 45},
    {152, 49}, {170, 54}, {187, 61}, {183, 74}, {165, 77}, {146, 79}, {128, 81}, {109, 83},
    {91, 83}, {72, 82}, {74, 65}, {76, 47}, {77, 30}, {77, 12}, {76, -6}, {73, -23}};

constexpr std::array<TOutline, 2> kLowerMolar = {kLowerMolar1, kLowerMolar2};

constexpr TIntPoint kLowerCanine1[] = {
    {0, 0}, {11, -19}, {27, -34}, {48, -35}, {70, -33}, {92, -31}, {114, -28}, {117, -10},
    {117, 9}, {114, 27}, {92, 32}, {70, 36}, {48, 38}, {26, 36}, {10, 20}, {0, 0}};

constexpr TIntPoint kLowerCanine2[] = {
    {114, -28}, {137, -28}, {160, -26}, {182, -22}, {204, -18}, {227, -13}, {249, -7}, {270, 0},
    {252, 8}, {233, 12}, {213, 17}, {194, 21}, {174, 24}, {154, 26}, {134, 27}, {114, 27},
    {117, 9}, {117, -10}, {114, -28}};

constexpr std::array<TOutline, 2> kLowerCanine = {kLowerCanine1, kLowerCanine2};

constexpr TIntPoint kLowerFirstPremolar1[] = {
    {0, 0}, {7, -15}, {18, -28}, {33, -35}, {50, -32}, {67, -29}, {83, -25}, {87, -8}, {88, 9},
    {85, 26}, {68, 30}, {51, 33}, {34, 36}, {19, 29}, {8, 16}, {0, 0}};

constexpr TIntPoint kLowerFirstPremolar2[] = {
    {83, -25}, {104, -25}, {124, -23}, {145, -20}, {165, -16}, {185, -12}, {205, -7}, {225, 0},
    {206, 8}, {186, 13}, {166, 18}, {146, 22}, {126, 24}, {105, 26}, {85, 26}, {88, 0}, {83, -25}};

constexpr std::array<TOutline, 2> kLowerFirstPremolar = {kLowerFirstPremolar1, kLowerFirstPremolar2};

constexpr TIntPoint kLowerSecondPremolar1[] = {
    {0, 0}, {5, -14}, {12, -26}, {24, -35}, {38, -37}, {52, -35}, {66, -30}, {80, -26}, {82, -13},
    {84, 0}, {83, 14}, {81, 27}, {68, 30}, {56, 34}, {44, 37}, {31, 38}, {19, 33}, {10, 24},
    {4, 12}, {0, 0}};

constexpr TIntPoint kLowerSecondPremolar2[] = {
    {80, -26}, {101, -26}, {122, -24}, {143, -21}, {164, -17}, {185, -13}, {205, -7}, {225, 0},
    {205, 8}, {185, 14}, {165, 18}, {144, 22}, {123, 25}, {102, 27}, {81, 27}, {84, 0}, {80, -26}};

constexpr std::array<TOutline, 2> kLowerSecondPremolar = {kLowerSecondPremolar1, kLowerSecondPremolar2};

constexpr TIntPoint kUpperCanine1[] = {
    {0, 0}, {4, 7}, {8, 14}, {12, 20}, {19, 24}, {27, 25}, {35, 24}, {43, 23}, {50, 21}, {58, 18},
    {60, 11}, {63, 4}, {63, -3}, {61, -10}, {60, -17}, {52, -20}, {44, -22}, {36, -24}, {29, -24},
    {21, -24}, {14, -20}, {8, -14}, {4, -7}, {0, 0}};

constexpr TIntPoint kUpperCanine2[] = {
    {58, 18}, {67, 18}, {76, 18}, {85, 17}, {94, 16}, {103, 15}, {112, 13}, {120, 11}, {129, 9},
    {138, 7}, {147, 5}, {156, 3}, {164, 0}, {156, -4}, {147, -6}, {139, -8}, {130, -10},
    {121, -11}, {113, -13}, {104, -14}, {95, -15}, {86, -16}, {77, -17}, {68, -17}, {60, -17},
    {62, -8}, {63, 1}, {61, 10}, {58, 18}};

constexpr std::array<TOutline, 2> kUpperCanine = {kUpperCanine1, kUpperCanine2};

constexpr TIntPoint kUpperFirstPremolar1[] = {
    {0, 0}, {3, 6}, {5, 11}, {9, 17}, {14, 21}, {20, 21}, {26, 20}, {32, 19}, {38, 18}, {44, 16},
    {50, 15}, {52, 9}, {53, 3}, {54, -2}, {53, -8}, {51, -14}, {45, -16}, {39, -17}, {33, -19},
    {27, -20}, {21, -20}, {15, -20}, {10, -16}, {6, -11}, {3, -6}, {0, 0}};

constexpr TIntPoint kUpperFirstPremolar2[] = {
    {50, 15}, {59, 14}, {68, 13}, {76, 12}, {85, 11}, {93, 10}, {102, 8}, {111, 6}, {119, 5},
    {128, 3}, {136, 0}, {128, -3}, {120, -5}, {111, -7}, {103, -8}, {94, -10}, {86, -11},
    {77, -12}, {69, -13}, {60, -14}, {51, -14}, {53, -4}, {53, 5}, {50, 15}};

constexpr std::array<TOutline, 2> kUpperFirstPremolar = {kUpperFirstPremolar1, kUpperFirstPremolar2};

constexpr TIntPoint kUpperSecondPremolar1[] = {
    {0, 0}, {2, 6}, {5, 11}, {8, 17}, {13, 20}, {19, 21}, {25, 20}, {31, 19}, {37, 18}, {44, 17},
    {50, 15}, {51, 9}, {52, 3}, {53, -3}, {52, -9}, {51, -15}, {45, -16}, {38, -17}, {32, -19},
    {26, -20}, {20, -21}, {14, -20}, {8, -17}, {5, -12}, {2, -6}, {0, 0}};

constexpr TIntPoint kUpperSecondPremolar2[] = {
    {50, 15}, {58, 15}, {67, 14}, {76, 13}, {85, 12}, {93, 10}, {102, 8}, {110, 7}, {119, 5},
    {128, 3}, {136, 0}, {128, -3}, {119, -5}, {111, -7}, {102, -8}, {94, -10}, {85, -11},
    {77, -13}, {68, -14}, {59, -14}, {51, -15}, {52, -5}, {52, 5}, {50, 15}};

constexpr std::array<TOutline, 2> kUpperSecondPremolar = {kUpperSecondPremolar1, kUpperSecondPremolar2};

constexpr TIntPoint kUpperIncisorFrontal1[] = {
    {0, 0}, {1, 40}, {4, 80}, {15, 118}, {51, 136}, {91, 138}, {131, 136}, {171, 132}, {210, 125},
    {250, 118}, {290, 113}, {329, 107}, {339, 71}, {347, 35}, {351, -2}, {347, -38}, {339, -74},
    {329, -110}, {292, -115}, {255, -121}, {217, -127}, {180, -133}, {143, -138}, {105, -140},
    {68, -141}, {30, -138}, {5, -113}, {2, -75}, {0, -38}, {0, 0}};

constexpr TIntPoint kUpperIncisorFrontal2[] = {
    {329, -110}, {368, -107}, {406, -102}, {444, -95}, {482, -88}, {520, -79}, {557, -69},
    {594, -58}, {632, -48}, {668, -35}, {703, -19}, {737, 0}, {704, 20}, {669, 37}, {632, 49},
    {595, 60}, {558, 70}, {521, 80}, {483, 89}, {445, 95}, {406, 101}, {368, 104}, {329, 107},
    {341, 64}, {350, 21}, {349, -24}, {340, -67}, {329, -110}};

constexpr std::array<TOutline, 2> kUpperIncisorFrontal = {kUpperIncisorFrontal1, kUpperIncisorFrontal2};

constexpr TIntPoint kUpperMolarFrontal1[] = {
    {0, 0}, {18, 26}, {44, 42}, {74, 51}, {104, 53}, {135, 51}, {166, 48}, {197, 43}, {227, 36},
    {234, 2}, {240, -32}, {244, -67}, {246, -101}, {246, -136}, {243, -170}, {239, -204},
    {233, -239}, {227, -273}, {198, -284}, {168, -294}, {137, -301}, {106, -305}, {75, -304},
    {45, -295}, {19, -278}, {-1, -254}, {-10, -224}, {1, -195}, {17, -168}, {32, -140}, {49, -114},
    {36, -85}, {24, -57}, {12, -29}, {0, 0}};

constexpr TIntPoint kUpperMolarFrontal2[] = {
    {227, 36}, {272, 43}, {318, 46}, {363, 45}, {409, 41}, {454, 34}, {499, 27}, {544, 19},
    {589, 12}, {633, 0}, {603, -27}, {561, -34}, {518, -40}, {475, -45}, {432, -51}, {391, -63},
    {353, -84}, {325, -117}, {354, -153}, {392, -180}, {434, -201}, {476, -221}, {517, -244},
    {557, -269}, {595, -295}, {623, -331}, {590, -359}, {544, -357}, {498, -346}, {453, -333},
    {408, -321}, {363, -309}, {318, -297}, {272, -285}, {227, -273}, {235, -229}, {241, -185},
    {246, -141}, {246, -96}, {243, -52}, {236, -8}, {227, 36}};

constexpr std::array<TOutline, 2> kUpperMolarFrontal = {kUpperMolarFrontal1, kUpperMolarFrontal2};

constexpr TIntPoint kLowerIncisorFrontal1[] = {
    {0, 0}, {1, 46}, {14, 87}, {59, 90}, {105, 87}, {150, 81}, {195, 74}, {240, 66}, {285, 57},
    {299, 20}, {299, -20}, {285, -57}, {240, -66}, {195, -74}, {150, -81}, {105, -87}, {59, -90},
    {14, -87}, {1, -46}, {0, 0}};

constexpr TIntPoint kLowerIncisorFrontal2[] = {
    {285, 57}, {330, 56}, {374, 54}, {418, 50}, {463, 46}, {507, 40}, {551, 34}, {595, 27},
    {638, 14}, {680, 0}, {638, -14}, {595, -27}, {551, -34}, {507, -40}, {463, -46}, {418, -50},
    {374, -54}, {330, -56}, {285, -57}, {299, -20}, {299, 20}, {285, 57}};

constexpr std::array<TOutline, 2> kLowerIncisorFrontal = {kLowerIncisorFrontal1, kLowerIncisorFrontal2};

constexpr TIntPoint kLowerMolarFrontal1[] = {
    {0, 0}, {18, -27}, {43, -47}, {73, -58}, {105, -60}, {137, -58}, {169, -53}, {200, -45},
    {231, -37}, {240, -5}, {245, 27}, {246, 60}, {246, 93}, {243, 126}, {237, 159}, {231, 191},
    {197, 200}, {162, 209}, {127, 213}, {91, 210}, {57, 202}, {24, 189}, {-5, 168}, {-3, 137},
    {21, 111}, {46, 86}, {32, 57}, {16, 28}, {0, 0}};

constexpr TIntPoint kLowerMolarFrontal2[] = {
    {231, -37}, {277, -43}, {324, -47}, {371, -46}, {418, -43}, {464, -38}, {510, -31}, {557, -24},
    {602, -14}, {647, 0}, {615, 41}, {572, 68}, {524, 89}, {476, 109}, {428, 128}, {380, 146},
    {331, 162}, {281, 177}, {231, 191}, {240, 146}, {245, 100}, {246, 54}, {243, 8}, {231, -37}};

constexpr std::array<TOutline, 2> kLowerMolarFrontal = {kLowerMolarFrontal1, kLowerMolarFrontal2};

constexpr int kFirstToothKind = KindNumber(TGraphicKind::UpperIncisor);

// In the order of the drawing kinds "Upper Incisor" .. "Lower Molar Frontal".
constexpr auto kTeeth = std::to_array<TToothTemplate>({
    {735, kUpperIncisor},
    {565, kUpperMolar},
    {680, kLowerIncisor},
    {211, kLowerMolar},
    {270, kLowerCanine},
    {225, kLowerFirstPremolar},
    {225, kLowerSecondPremolar},
    {164, kUpperCanine},
    {136, kUpperFirstPremolar},
    {136, kUpperSecondPremolar},
    {737, kUpperIncisorFrontal},
    {633, kUpperMolarFrontal},
    {680, kLowerIncisorFrontal},
    {647, kLowerMolarFrontal},
});
// The tooth kinds close the kind list.
static_assert(kFirstToothKind + static_cast<int>(kTeeth.size()) == kGraphicKindCount);

}  // namespace

std::optional<TToothTemplate> ToothTemplate(int graphicKind) {
  int index = graphicKind - kFirstToothKind;
  if (index < 0 || index >= static_cast<int>(kTeeth.size())) return std::nullopt;
  return kTeeth[static_cast<std::size_t>(index)];
}

std::vector<std::vector<TIntPoint>> FitToothTemplate(const TToothTemplate& tooth, TFloatPoint first,
                                                     TFloatPoint second, bool mirrored) {
  // The template's x axis turned onto the landmarks: t is the direction of first -> second
  // in y-down coordinates, the negated displayed direction angle.
  const double k = Distance(first, second) / tooth.ReferenceLength;
  const double t = -LineAngle(first, second);
  const double m = mirrored ? -1 : 1;
  const double c = std::cos(t);
  const double s = std::sin(t);
  std::vector<std::vector<TIntPoint>> fitted;
  fitted.reserve(tooth.Outlines.size());
  for (TOutline outline : tooth.Outlines) {
    std::vector<TIntPoint>& points = fitted.emplace_back();
    points.reserve(outline.size());
    for (TIntPoint p : outline) {
      points.push_back(RoundSaturated(TFloatPoint{first.X + (p.X * c - m * p.Y * s) * k,
                                                  first.Y + (p.X * s + m * p.Y * c) * k}));
    }
  }
  return fitted;
}

}  // namespace lumacet
