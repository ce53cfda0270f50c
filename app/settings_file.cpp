#include "app/settings_file.h"

#include <fstream>

#include "engine/destination.h"
#include "engine/encoder_settings.h"
#include "platform/core/file_system.h"
#include "platform/core/ini_file.h"
#include "platform/core/text.h"
#include "platform/core/user_dirs.h"

std::string g_strLastDir;
std::string g_strSettingsDir;

namespace {

constexpr std::size_t kValueBuffer = 1024;
const char* const kLoadError = "An Error Occurred while loading settings!";
const char* const kSaveError = "An error occurred while saving settings!";

// An index outside its range takes the default.
std::int16_t IndexOrDefault(int value, int count, std::int16_t fallback) {
  return value >= 0 && value < count ? static_cast<std::int16_t>(value) : fallback;
}

void SetMessage(std::string* message, const char* text) {
  if (message) *message = text;
}

}  // namespace

std::string DefaultOutputFolder() {
  std::string folder = platform::MusicDir();
  if (folder.empty()) folder = platform::DesktopDir();
  if (folder.empty()) folder = platform::HomeDir() + "/Music";
  return folder + "/";
}

std::string SettingsFilePath() { return g_strSettingsDir + "/Config.ini"; }

void InitSettingsStore(std::vector<std::string>* messages) {
  g_strDesDir = DefaultOutputFolder();
  g_strSettingsDir = platform::ConfigHome() + "/Korvane";
  if (!platform::PathFileExists(g_strSettingsDir) && !CreateFolderTree(g_strSettingsDir)) {
    if (messages)
      messages->push_back(platform::StrPrintf("Fail to create folder %s !!", g_strSettingsDir.c_str()));
  }
  const std::string file = SettingsFilePath();
  if (platform::PathFileExists(file)) {
    std::string message;
    if (!LoadSettings(&message) && messages) messages->push_back(message);
  } else {
    std::ofstream create(file, std::ios::binary | std::ios::trunc);
  }
}

bool LoadSettings(std::string* message) {
  const std::string file = SettingsFilePath();
  // A file that is there but cannot be read is a failure, not a set of defaults.
  if (platform::PathFileExists(file) && !std::ifstream(file)) {
    SetMessage(message, kLoadError);
    return false;
  }
  using platform::GetPrivateProfileInt;
  g_bSameAsSrc = GetPrivateProfileInt("OUTPUT", "SameAsSrc", 0, file) != 0;
  g_nLameBitsIndex = IndexOrDefault(GetPrivateProfileInt("MP3", "LameBits", 11, file), kBitrateCount, 11);
  g_nLameChannel = IndexOrDefault(GetPrivateProfileInt("MP3", "LameChannel", 0, file), 5, 0);
  g_nFreqIndex = IndexOrDefault(GetPrivateProfileInt("MP3", "Freq", 0, file), kFrequencyCount, 0);
  g_strDesDir = platform::GetPrivateProfileString("OUTPUT", "DesDir", DefaultOutputFolder(),
                                                  kValueBuffer, file);
  // File names are appended to the folder directly; a hand-edited folder
  // without its trailing separator would otherwise misplace every file.
  if (!g_strDesDir.empty() && g_strDesDir.back() != '/') g_strDesDir += '/';
  g_strLastDir = platform::GetPrivateProfileString("OUTPUT", "LastDir", "", kValueBuffer, file);
  return true;
}

bool SaveSettings(const std::string& folderTreePath, std::string* message) {
  const std::string file = SettingsFilePath();
  using platform::WritePrivateProfileString;
  g_strLastDir = folderTreePath;
  bool ok = WritePrivateProfileString("OUTPUT", "SameAsSrc", std::to_string(g_bSameAsSrc).c_str(), file) &&
            WritePrivateProfileString("OUTPUT", "DesDir", g_strDesDir.c_str(), file) &&
            WritePrivateProfileString("OUTPUT", "LastDir", g_strLastDir.c_str(), file) &&
            WritePrivateProfileString("MP3", "LameBits", std::to_string(g_nLameBitsIndex).c_str(), file) &&
            WritePrivateProfileString("MP3", "LameChannel", std::to_string(g_nLameChannel).c_str(), file) &&
            WritePrivateProfileString("MP3", "Freq", std::to_string(g_nFreqIndex).c_str(), file);
  if (!ok) SetMessage(message, kSaveError);
  return ok;
}

bool ResetSettings(std::string* message) {
  platform::DeleteFile(SettingsFilePath());
  return LoadSettings(message);
}
