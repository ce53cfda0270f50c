// korvane-cli: converts MP4/M4A (AAC) files to constant-bit-rate MP3 from a
// terminal, with the same engine and settings as the windows.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "cli/cli_options.h"
#include "cli/console_window.h"
#include "cli/source_files.h"
#include "engine/audio_probe.h"
#include "engine/controller.h"
#include "engine/encoder_settings.h"
#include "engine/ring_buffer.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "korvane-cli: %s\n\n%s", reason.c_str(), kCliUsage);
  return 2;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

void ApplyOverrides(const CliOptions& o) {
  if (o.outDir) {
    g_bSameAsSrc = 0;
    char cwd[4096];
    std::string dir = *o.outDir;
    if (dir[0] != '/' && ::getcwd(cwd, sizeof cwd)) dir = std::string(cwd) + "/" + dir;
    g_strDesDir = WithSlash(dir);
  }
  if (o.sameAsSource) g_bSameAsSrc = 1;
  if (o.bitrateIndex) g_nLameBitsIndex = static_cast<std::int16_t>(*o.bitrateIndex);
  if (o.freqIndex) g_nFreqIndex = static_cast<std::int16_t>(*o.freqIndex);
  if (o.channelMode) g_nLameChannel = static_cast<std::int16_t>(*o.channelMode);
}

}  // namespace

int main(int argc, char** argv) {
  CliParse parse = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  const CliOptions& options = parse.options;
  if (!parse.error.empty()) return UsageError(parse.error);
  if (options.version) {
    std::puts("Korvane 6.0.3");
    return 0;
  }

  std::vector<std::string> settingsMessages;
  InitSettingsStore(&settingsMessages);
  for (const auto& m : settingsMessages) std::fprintf(stderr, "korvane-cli: %s\n", m.c_str());
  if (options.help) {
    std::fputs(kCliUsage, stdout);
    std::printf("\nCurrent settings (%s):\n  %s\n  Output: %s\n", SettingsFilePath().c_str(),
                FormatEncoderSettings().c_str(),
                g_bSameAsSrc ? "next to each source" : g_strDesDir.c_str());
    return 0;
  }
  ApplyOverrides(options);

  const bool progressLine = !options.quiet && ::isatty(STDOUT_FILENO);
  ConsoleWindow window(options.quiet, progressLine);
  int skipped = 0;

  SourceList sources = CollectSourceFiles(options.paths, options.recursive);
  for (const auto& p : sources.problems) {
    window.Note("korvane-cli: " + p, true);
    ++skipped;
  }

  CRunState run(&window);
  run.m_nStartDelayMs = 0;  // no window to wait for
  window.Attach(&run);
  for (const auto& file : sources.files) {
    AudioProbe facts = ProbeAudioSource(file);
    if (facts.error) {
      window.Note("korvane-cli: skipping " + file + ": " + facts.errorText, true);
      ++skipped;
      continue;
    }
    auto slash = file.find_last_of('/');
    CConversionTask task = BuildTask(file.substr(0, slash + 1), file.substr(slash + 1), facts.sampleRate,
                                     facts.channels, facts.totalSamples, facts.flags, facts.tags);
    run.m_nSamplesTotalAll += task.m_nExpectedSamples;
    run.m_tasks.push_back(task);
  }
  if (run.m_tasks.empty()) {
    if (sources.files.empty() && sources.problems.empty())
      window.Note("korvane-cli: no MP4 or M4A files found", true);
    return 1;
  }

  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  CreateSampleBuffers();
  StartController(&run);
  bool cancelled = false;
  // Waiting serves what the threads send; posted lines are printed between waits.
  run.WaitForThreads(100, [&] {
    if (g_interrupted && !cancelled) {
      cancelled = true;
      run.m_bRunning = 0;
      window.Note("korvane-cli: cancelling, waiting for the current file to close", true);
    }
    window.Drain();
    window.RedrawProgress();
  });
  window.Drain();
  window.ClearProgress();
  g_pConvProg = nullptr;
  DestroySampleBuffers();

  if (cancelled || g_interrupted) return 130;
  return window.Finished() && skipped == 0 ? 0 : 1;
}
