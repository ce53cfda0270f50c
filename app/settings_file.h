#pragma once
// The settings file Config.ini: output and encoder settings, and the folder
// last shown in the folder tree. Read once at start, written once at exit.
#include <string>
#include <vector>

extern std::string g_strLastDir;      // the folder tree's last folder
extern std::string g_strSettingsDir;  // the settings folder, no trailing '/'

// The user's music folder, else the desktop, else ~/Music, with a trailing '/'.
std::string DefaultOutputFolder();
// g_strSettingsDir + "/Config.ini".
std::string SettingsFilePath();

// Computes the defaults and the settings folder, creates the folder if needed,
// then loads the file or creates it empty. Texts for message boxes the caller
// should show are appended to messages; start-up goes on regardless.
void InitSettingsStore(std::vector<std::string>* messages = nullptr);
// Reads the file into the settings; on failure returns false with the text to show.
bool LoadSettings(std::string* message = nullptr);
// Writes the settings and the folder tree's current folder.
bool SaveSettings(const std::string& folderTreePath, std::string* message = nullptr);
// Deletes the file and loads again, so every setting takes its default.
bool ResetSettings(std::string* message = nullptr);
