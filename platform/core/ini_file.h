#pragma once
// INI files with the semantics of the Windows profile functions: section and
// key names compare without regard to case, missing values give the caller's
// default, the first write creates the file and the section, and every other
// line of the file is kept. Text is UTF-8.
#include <cstddef>
#include <string>

namespace platform {

// The integer at the start of the value (blanks, sign, digits; 0 when there are
// none); defaultValue when the key is missing.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& file);

// The value, cut to bufferSize - 1 characters; defaultValue when the key is missing.
// A value enclosed in matching quotes loses them.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& file);

// Writes key=value into section; a null value deletes the key. False when the
// file cannot be written (the file on disk is then unchanged).
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const char* value, const std::string& file);

}  // namespace platform
