#include "support/marked_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/result.h"

namespace lumacet {
namespace {

constexpr TTextSource kOne = LcText("Test", "File error reading %1");
constexpr TTextSource kTwo = LcText("Test", "Could not find file for '%1'\r\nin Directory: %2");
constexpr TTextSource kPlain = LcText("Test", "Magnification of 100% is not allowed.");

TEST(MarkedTextTest, EnglishRenderingFillsTheArgumentsAndKeepsEverythingElse) {
  struct TCase {
    TText Text;
    std::string English;
  };
  const std::vector<TCase> cases = {
      {TText(), ""},
      {kPlain, "Magnification of 100% is not allowed."},
      {TText(kOne, {"/data/PATIENT.CSV"}), "File error reading /data/PATIENT.CSV"},
      {TText(kTwo, {"Ceph", "/types"}), "Could not find file for 'Ceph'\r\nin Directory: /types"},
      // Substitution runs once over the pattern: an argument holding "%2" stays as it is.
      {TText(kTwo, {"100%2", "x"}), "Could not find file for '100%2'\r\nin Directory: x"},
      // A number without an argument stays as written.
      {TText(kTwo, {"Ceph"}), "Could not find file for 'Ceph'\r\nin Directory: %2"},
      // Verbatim texts are never filled in, whatever they hold.
      {TText::Verbatim("50%1 done"), "50%1 done"},
      {TText(kOne, {TText(kTwo, {"a", "b"})}), "File error reading Could not find file for 'a'\r\nin Directory: b"},
      {TText::Joined({kPlain, TText::Verbatim("cannot lock")}, "\r\n"),
       "Magnification of 100% is not allowed.\r\ncannot lock"},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Text.English(), c.English) << c.English;
}

TEST(MarkedTextTest, ContextSourceAndArgumentsAreKeptForTheTranslator) {
  const TText text(kTwo, {"Ceph", "/types"});
  EXPECT_TRUE(text.IsMarked());
  EXPECT_EQ(text.Context(), "Test");
  EXPECT_EQ(text.Source(), "Could not find file for '%1'\r\nin Directory: %2");
  ASSERT_EQ(text.Arguments().size(), 2u);
  EXPECT_FALSE(text.Arguments()[0].IsMarked());
  EXPECT_FALSE(TText::Verbatim("x").IsMarked());

  // A translation may reorder the arguments; they are filled in after it, and marked
  // arguments are translated on their own. An empty translation keeps the English.
  const std::map<std::pair<std::string, std::string>, std::string> table = {
      {{"Test", kTwo.Source}, "In %2 fehlt '%1'"},
      {{"Test", kOne.Source}, "Lesefehler: %1"},
  };
  const TTranslator translate = [&](const std::string& context, const std::string& source) {
    const auto found = table.find({context, source});
    return found == table.end() ? std::string() : found->second;
  };
  EXPECT_EQ(text.Rendered(translate), "In /types fehlt 'Ceph'");
  EXPECT_EQ(TText(kOne, {text}).Rendered(translate), "Lesefehler: In /types fehlt 'Ceph'");
  EXPECT_EQ(TText(kPlain).Rendered(translate), "Magnification of 100% is not allowed.");
  // Data are never looked up, even when they read like a source.
  EXPECT_EQ(TText(kOne, {kTwo.Source}).Rendered(translate), std::string("Lesefehler: ") + kTwo.Source);
}

TEST(MarkedTextTest, TextsAreEqualWhenContextSourceAndArgumentsAre) {
  EXPECT_EQ(TText(kOne, {"a"}), TText(kOne, {"a"}));
  EXPECT_EQ(TText(kOne), TText(LcText("Test", "File error reading %1")));
  EXPECT_NE(TText(kOne, {"a"}), TText(kOne, {"b"}));
  EXPECT_NE(TText(kOne), TText(LcText("Other", "File error reading %1")));
  // The same English from a marked and a verbatim text are different texts.
  EXPECT_NE(TText(kPlain), TText::Verbatim(kPlain.Source));
  EXPECT_EQ(TText(kOne, {"a"}), TText(kOne, {TText::Verbatim("a")}));
}

TEST(ResultTest, SuccessCarriesNothingAndFailureItsTextAndReason) {
  const TResult success;
  EXPECT_TRUE(success.Ok());
  EXPECT_TRUE(static_cast<bool>(success));
  EXPECT_TRUE(success.Text().Empty());

  struct TCase {
    TResult Result;
    std::string Reason;
    std::string Shown;  // TextWithReason in English
  };
  const std::vector<TCase> cases = {
      {TResult::Failure(TText(kOne, {"/a.csv"})), "", "File error reading /a.csv"},
      {TResult::Failure(TText(kOne, {"/a.csv"}), "/a.csv is read-only"), "/a.csv is read-only",
       "File error reading /a.csv\r\n/a.csv is read-only"},
  };
  for (const TCase& c : cases) {
    EXPECT_FALSE(c.Result.Ok());
    EXPECT_EQ(c.Result.Text(), TText(kOne, {"/a.csv"}));
    EXPECT_EQ(c.Result.Reason(), c.Reason);
    EXPECT_EQ(c.Result.TextWithReason().English(), c.Shown);
  }
}

TEST(ResultTest, AResultOfAValueHoldsTheValueOrTheFailure) {
  TResultOf<int> found = 3;
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, 3);
  EXPECT_EQ(found.ValueOr(-1), 3);
  EXPECT_TRUE(found.Outcome().Ok());

  const TResultOf<int> failed = TResult::Failure(kOne, "no line");
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.ValueOr(-1), -1);
  EXPECT_EQ(failed.Text(), TText(kOne));
  EXPECT_EQ(failed.Reason(), "no line");
  EXPECT_EQ(failed.Outcome(), TResult::Failure(kOne, "no line"));
}

}  // namespace
}  // namespace lumacet
