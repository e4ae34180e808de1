// Assertions on the engine's results that say, when they fail, what the user would have
// been told and why.
#pragma once

#include <gtest/gtest.h>

namespace lumacet::test {

template <typename Result>
::testing::AssertionResult Succeeded(const Result& result) {
  if (result.Ok()) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure() << result.Text().English();
  if (!result.Reason().empty()) failure << " (" << result.Reason() << ")";
  return failure;
}

}  // namespace lumacet::test
