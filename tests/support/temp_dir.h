#pragma once
#include <string>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away. path() ends without '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  // Creates a file with the given content below the folder; returns its path.
  std::string WriteFile(const std::string& name, const std::string& content = {}) const;
  std::string ReadFile(const std::string& name) const;

 private:
  std::string m_path;
};

// The committed test fixtures (tests/data), as a path ending without '/'.
std::string TestDataDir();
