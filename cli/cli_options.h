#pragma once
// The command line of korvane-cli.
#include <optional>
#include <string>
#include <vector>

struct CliOptions {
  std::vector<std::string> paths;
  bool recursive = false;
  std::optional<std::string> outDir;
  bool sameAsSource = false;
  std::optional<int> bitrateIndex;  // into g_anBitrates
  std::optional<int> freqIndex;     // into g_anFrequencies, 0 = auto
  std::optional<int> channelMode;   // ChannelMode
  bool quiet = false;
  bool help = false;
  bool version = false;
};

struct CliParse {
  CliOptions options;
  std::string error;  // one line; empty when the command line is good
};

CliParse ParseCliOptions(const std::vector<std::string>& args);
extern const char* const kCliUsage;
