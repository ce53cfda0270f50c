#include "cli/cli_options.h"

#include <cstdlib>

#include "engine/encoder_settings.h"

const char* const kCliUsage =
    "Usage: korvane-cli [OPTIONS] PATH...\n"
    "Convert MP4/M4A files with AAC audio to constant-bit-rate MP3.\n"
    "\n"
    "  PATH                   an .mp4 or .m4a file, or a folder (its MP4 and M4A files)\n"
    "  -r, --recursive        include the subfolders of folder PATHs\n"
    "  -o, --out DIR          write the MP3 files into DIR\n"
    "  -s, --same-as-source   write each MP3 next to its source\n"
    "  -b, --bitrate KBPS     8 16 24 32 40 48 56 64 80 96 112 128 160 192 224 256 320\n"
    "  -f, --freq auto|HZ     auto, or 8000 11025 12000 16000 22050 24000 32000 44100 48000\n"
    "  -c, --channels auto|mono|stereo|joint|dual\n"
    "  -q, --quiet            only errors\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "Defaults come from ~/.config/Korvane/Config.ini; options apply to this run only.\n";

namespace {

std::optional<int> ParseNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  return std::atoi(text.c_str());
}

std::optional<int> Found(int index) { return index >= 0 ? std::optional<int>(index) : std::nullopt; }

std::optional<int> BitrateIndex(const std::string& text) {
  auto n = ParseNumber(text);
  return n ? Found(BitrateIndexOf(*n)) : std::nullopt;
}

std::optional<int> FrequencyIndex(const std::string& text) {
  if (text == "auto") return 0;
  auto n = ParseNumber(text);
  return n ? Found(FrequencyIndexOf(static_cast<std::uint32_t>(*n))) : std::nullopt;
}

std::optional<int> ChannelModeOf(const std::string& text) {
  const char* const names[] = {"auto", "mono", "stereo", "joint", "dual"};
  for (int i = 0; i < 5; ++i)
    if (text == names[i]) return i;
  return std::nullopt;
}

}  // namespace

CliParse ParseCliOptions(const std::vector<std::string>& args) {
  CliParse r;
  CliOptions& o = r.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      o.paths.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string value;
    bool inlineValue = false;
    if (arg.rfind("--", 0) == 0) {
      if (auto eq = arg.find('='); eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        inlineValue = true;
      }
    }
    auto takeValue = [&](const char* what) -> bool {
      if (inlineValue) return true;
      if (i + 1 >= args.size()) {
        r.error = "option " + arg + " needs " + what;
        return false;
      }
      value = args[++i];
      return true;
    };
    // Reads the option's value into field through parse; false with the
    // reason when it is missing or not one of the accepted values.
    auto takeChoice = [&](const char* what, std::optional<int>& field,
                          std::optional<int> (*parse)(const std::string&), const char* bad) {
      if (!takeValue(what)) return false;
      field = parse(value);
      if (!field) r.error = std::string(bad) + " '" + value + "'";
      return field.has_value();
    };
    auto flagOnly = [&]() -> bool {
      if (inlineValue) r.error = "option " + arg + " takes no value";
      return !inlineValue;
    };

    if (arg == "-r" || arg == "--recursive") {
      if (!flagOnly()) return r;
      o.recursive = true;
    } else if (arg == "-s" || arg == "--same-as-source") {
      if (!flagOnly()) return r;
      o.sameAsSource = true;
    } else if (arg == "-q" || arg == "--quiet") {
      if (!flagOnly()) return r;
      o.quiet = true;
    } else if (arg == "-h" || arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "-o" || arg == "--out") {
      if (!takeValue("a folder")) return r;
      if (value.empty()) {
        r.error = "the output folder is empty";
        return r;
      }
      o.outDir = value;
    } else if (arg == "-b" || arg == "--bitrate") {
      if (!takeChoice("a bit rate", o.bitrateIndex, BitrateIndex, "unsupported bit rate")) return r;
    } else if (arg == "-f" || arg == "--freq") {
      if (!takeChoice("a frequency", o.freqIndex, FrequencyIndex, "unsupported frequency")) return r;
    } else if (arg == "-c" || arg == "--channels") {
      if (!takeChoice("a channel mode", o.channelMode, ChannelModeOf, "unknown channel mode")) return r;
    } else {
      r.error = "unknown option " + arg;
      return r;
    }
  }
  if (o.help || o.version) return r;
  if (o.outDir && o.sameAsSource) {
    r.error = "--out and --same-as-source exclude each other";
  } else if (o.paths.empty()) {
    r.error = "no PATH given";
  }
  return r;
}
