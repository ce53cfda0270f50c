#pragma once
// Runs the real korvane-cli binary (beside the test binary) and collects what it did.
#include <csignal>
#include <string>
#include <vector>

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// home becomes HOME and XDG_CONFIG_HOME's parent, so the run has settings of its own.
// With interruptAfterMs > 0, SIGINT is sent after that many milliseconds.
CliRun RunCli(const std::vector<std::string>& args, const std::string& home,
              int interruptAfterMs = 0);

std::vector<std::string> Lines(const std::string& text);
