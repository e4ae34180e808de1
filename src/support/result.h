// The outcome of an engine operation that can fail: on failure, the marked text the user is
// told and the technical reason underneath (an errno text, the file, the byte offset) for
// logs and details. TResultOf<T> carries a value on success instead.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "support/marked_text.h"

namespace lumacet {

class TResult {
 public:
  // Success.
  TResult() = default;
  // Success with something the user should still be told (a file saved without its group).
  static TResult Success(TText notice);
  static TResult Failure(TText text, std::string reason = {});

  bool Ok() const { return !fFailed; }
  explicit operator bool() const { return Ok(); }
  // Empty on success.
  const TText& Text() const { return fText; }
  const std::string& Reason() const { return fReason; }
  // Empty on failure, and on most successes.
  const TText& Notice() const { return fNotice; }
  // The text with the reason on a line of its own after it, when there is one: the form a
  // failure takes where the user is shown why underneath.
  TText TextWithReason() const;

  bool operator==(const TResult& other) const = default;

 private:
  bool fFailed = false;
  TText fText;
  std::string fReason;
  TText fNotice;
};

template <typename T>
class TResultOf {
 public:
  TResultOf(T value) : fValue(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  // A failure; a success given here would hold no value, so it is not accepted.
  TResultOf(TResult failure) : fOutcome(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool Ok() const { return fValue.has_value(); }
  explicit operator bool() const { return Ok(); }
  T& Value() { return fValue.value(); }
  const T& Value() const { return fValue.value(); }
  T& operator*() { return *fValue; }
  const T& operator*() const { return *fValue; }
  T* operator->() { return &*fValue; }
  const T* operator->() const { return &*fValue; }
  T ValueOr(T fallback) const { return fValue.value_or(std::move(fallback)); }

  // Success, or the failure with its text and reason.
  const TResult& Outcome() const { return fOutcome; }
  const TText& Text() const { return fOutcome.Text(); }
  const std::string& Reason() const { return fOutcome.Reason(); }

 private:
  std::optional<T> fValue;
  TResult fOutcome;
};

}  // namespace lumacet
