// The list rules of the type editors, on lists of four stand-in elements.
#include "model/member_lists.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/point_elements.h"

namespace lumacet {
namespace {

struct TElements {
  TDigPoint a{"A"}, b{"B"}, c{"C"}, d{"D"};
};

TEST(MemberLists, EveryEditorListRuleGivesTheOrderTheUserSees) {
  TElements e;
  TXRayElement* a = &e.a;
  TXRayElement* b = &e.b;
  TXRayElement* c = &e.c;
  TXRayElement* d = &e.d;
  struct TCase {
    const char* what;
    TMemberList start;
    std::function<void(TMemberList&)> edit;
    TMemberList expected;
  };
  const TCase cases[] = {
      {"include with the third entry selected",
       {a, b, c},
       [&](TMemberList& l) { IncludeMember(l, d, 2); },
       {a, b, d, c}},
      {"include with nothing selected appends", {a, b}, [&](TMemberList& l) { IncludeMember(l, c, 99); }, {a, b, c}},
      {"the same element twice", {a}, [&](TMemberList& l) { IncludeMember(l, a, 1); }, {a, a}},
      {"remove", {a, b, c}, [](TMemberList& l) { RemoveMember(l, 1); }, {a, c}},
      {"remove past the end changes nothing", {a}, [](TMemberList& l) { EXPECT_FALSE(RemoveMember(l, 1)); }, {a}},
      {"drag the first member onto the third exchanges",
       {a, b, c},
       [](TMemberList& l) { ExchangeMembers(l, 0, 2); },
       {c, b, a}},
      {"drag in the rearrange dialog moves", {a, b, c}, [](TMemberList& l) { MoveMember(l, 0, 2); }, {b, c, a}},
      {"drag upwards moves", {a, b, c}, [](TMemberList& l) { MoveMember(l, 2, 0); }, {c, a, b}},
      {"tick appends", {c}, [&](TMemberList& l) { SetMember(l, a, true); }, {c, a}},
      {"tick of a member keeps it once", {a}, [&](TMemberList& l) { SetMember(l, a, true); }, {a}},
      {"untick removes every entry", {a, b, a}, [&](TMemberList& l) { SetMember(l, a, false); }, {b}},
      {"invert the second of four",
       {b},
       [&](TMemberList& l) {
         l = NonMembers({a, b, c, d}, l);
       },
       {a, c, d}},
      {"remaining keeps the candidates' order",
       {d, a},
       [&](TMemberList& l) {
         l = NonMembers({a, b, c, d}, l);
       },
       {b, c}},
  };
  for (const TCase& test : cases) {
    TMemberList list = test.start;
    test.edit(list);
    EXPECT_EQ(list, test.expected) << test.what;
  }
}

}  // namespace
}  // namespace lumacet
