// The progress of a long command on stderr: one line rewritten in place ("\r"), at most ten
// times a second, and only when stderr is a terminal; a log or a pipe gets nothing from it.
// The line is ended with a line break when the command is done.
#pragma once

#include <chrono>
#include <string>

namespace lumacet::cli {

class TProgressLine {
 public:
  TProgressLine();
  ~TProgressLine();
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // Shows the status; always true (the command line has no Cancel button: Ctrl+C ends the
  // process, and every target is written only at the end).
  bool Show(const std::string& status);
  // Ends the line, so that what the command prints next starts on a line of its own.
  void Finish();

 private:
  bool fTerminal = false;
  bool fShown = false;
  size_t fWidth = 0;
  std::chrono::steady_clock::time_point fLast{};
};

}  // namespace lumacet::cli
