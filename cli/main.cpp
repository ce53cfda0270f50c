// korvane-cli: converts MP4/M4A (AAC) files to constant-bit-rate MP3 from a terminal.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "engine/encoder_settings.h"

namespace {

const char* const kUsage =
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
    "      --version          show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const auto& a : args) {
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      std::vector<std::string> messages;
      InitSettingsStore(&messages);
      std::printf("\nCurrent settings (%s):\n  %s\n  Output folder: %s\n", SettingsFilePath().c_str(),
                  FormatEncoderSettings().c_str(), g_bSameAsSrc ? "same as source" : g_strDesDir.c_str());
      return 0;
    }
    if (a == "--version") {
      std::puts("Korvane 6.0.3");
      return 0;
    }
  }
  std::fprintf(stderr, "korvane-cli: converting is not available in this build yet\n%s", kUsage);
  return 2;
}
