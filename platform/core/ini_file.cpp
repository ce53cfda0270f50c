#include "platform/core/ini_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/core/text.h"

namespace platform {

namespace {

std::vector<std::string> ReadLines(const std::string& file, bool* exists = nullptr) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  if (exists) *exists = static_cast<bool>(in);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, and where its value starts.
std::optional<std::string_view> KeyOf(std::string_view line, std::size_t* valueStart) {
  if (SectionName(line)) return std::nullopt;
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  if (valueStart) *valueStart = eq + 1;
  return Trim(line.substr(0, eq));
}

std::optional<std::string> FindValue(const std::string& section, const std::string& key,
                                     const std::string& file) {
  bool inSection = false;
  for (const auto& line : ReadLines(file)) {
    if (auto name = SectionName(line)) {
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    std::size_t start = 0;
    auto k = KeyOf(line, &start);
    if (inSection && k && EqualsNoCase(*k, key)) return std::string(Trim(line.substr(start)));
  }
  return std::nullopt;
}

}  // namespace

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& file) {
  auto value = FindValue(section, key, file);
  if (!value) return defaultValue;
  long long n = std::strtoll(value->c_str(), nullptr, 10);
  if (n > 0x7FFFFFFF) n = 0x7FFFFFFF;
  if (n < -0x7FFFFFFF - 1) n = -0x7FFFFFFF - 1;
  return static_cast<int>(n);
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& file) {
  if (bufferSize == 0) return {};
  auto value = FindValue(section, key, file);
  std::string text = value ? *value : defaultValue;
  if (value && text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front())
    text = text.substr(1, text.size() - 2);
  return Utf8Left(text, bufferSize - 1);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const char* value, const std::string& file) {
  auto lines = ReadLines(file);
  std::optional<std::size_t> sectionLine, keyLine, lastInSection;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i])) {
      inSection = !sectionLine && EqualsNoCase(*name, section);
      if (inSection) sectionLine = lastInSection = i;
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i]).empty()) lastInSection = i;
    auto k = KeyOf(lines[i], nullptr);
    if (k && !keyLine && EqualsNoCase(*k, key)) keyLine = i;
  }
  if (!value) {
    if (!keyLine) return true;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*keyLine));
  } else {
    std::string entry = key + "=" + value;
    if (keyLine) {
      lines[*keyLine] = entry;
    } else if (sectionLine) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }

  // Write a sibling file and rename it over the original, so a failed write
  // never leaves half a settings file behind.
  std::string temp = file + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& line : lines) out << line << '\n';
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
