#pragma once
// One file-list row made ready on the loader thread: the cell texts and the
// record, filled from the file system and the probe. The user-interface
// thread only has to append it.
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/audio_file_record.h"

struct AudioProbe;

// A file that a search found.
struct FoundFile {
  std::string name;           // file name with extension (UTF-8)
  std::string path;           // full path
  std::uint64_t size = 0;     // bytes
  std::int64_t modified = 0;  // last write, seconds since 1970
};
// The facts of the file at path (size and time 0 when it cannot be read).
FoundFile FoundFileAt(const std::string& path);

// Upper-case extension -> type code; the main window holds "MP4" -> 1.
using ExtensionTypes = QHash<QString, std::uint8_t>;
inline constexpr std::uint8_t FILE_TYPE_MP4 = 1;

struct FileRow {
  std::vector<QString> texts;  // one per column of the file list
  std::unique_ptr<AudioFileRecord> record;
  // Set on the first file of a batch: the batch's icon is looked up from it.
  QString iconPath;
};

// The row for a found file: file-system facts, then the probe, then the bit
// rate. iconCache is the loader's per-batch cache: -1 asks for the icon of this
// file; it is then set to 0 so that the rest of the batch shares that icon.
std::unique_ptr<FileRow> MakeFileRow(const FoundFile& file, int* iconCache,
                                     const ExtensionTypes& types);

// Writes what the probe found into the row's record and its audio, tag and
// bit-rate cells. The row's type must be known: MP4 files show TagLib's bit
// rate times 1.024; a rate of 0 leaves the cell empty.
void ApplyProbe(const AudioProbe& probe, FileRow& row);
