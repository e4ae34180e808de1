#include "support/result.h"

namespace lumacet {

TResult TResult::Failure(TText text, std::string reason) {
  TResult failure;
  failure.fFailed = true;
  failure.fText = std::move(text);
  failure.fReason = std::move(reason);
  return failure;
}

TResult TResult::Success(TText notice) {
  TResult success;
  success.fNotice = std::move(notice);
  return success;
}

TText TResult::TextWithReason() const {
  if (fReason.empty()) return fText;
  return TText::Joined({fText, TText::Verbatim(fReason)}, "\r\n");
}

}  // namespace lumacet
