#include "cli/progress_line.h"

#include <unistd.h>

#include <iostream>

namespace lumacet::cli {

namespace {
constexpr auto kInterval = std::chrono::milliseconds(100);
constexpr size_t kMaxWidth = 79;
}  // namespace

TProgressLine::TProgressLine() : fTerminal(::isatty(STDERR_FILENO) == 1) {}

TProgressLine::~TProgressLine() { Finish(); }

void TProgressLine::Finish() {
  if (fShown) std::cerr << '\n';
  fShown = false;
}

bool TProgressLine::Show(const std::string& status) {
  if (!fTerminal) return true;
  const auto now = std::chrono::steady_clock::now();
  if (fShown && now - fLast < kInterval) return true;
  fLast = now;
  std::string text = status.substr(0, kMaxWidth);
  const size_t width = text.size();
  // Blanks over what a longer previous status left behind.
  if (width < fWidth) text.append(fWidth - width, ' ');
  fWidth = width;
  std::cerr << '\r' << text << std::flush;
  fShown = true;
  return true;
}

}  // namespace lumacet::cli
