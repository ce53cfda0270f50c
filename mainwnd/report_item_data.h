#pragma once
// What the report list keeps per row and per column beside the cell texts.
#include <cstdint>
#include <memory>
#include <vector>

#include "mainwnd/audio_file_record.h"

// A colour as 0x00BBGGRR; kDefaultColour stands for the palette's own colour.
using ReportColour = std::uint32_t;
inline constexpr ReportColour kDefaultColour = 0xFFFFFFFFu;
constexpr ReportColour Rgb(int r, int g, int b) {
  return static_cast<ReportColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Row state words: one of each pair is always set. As a filter, 1 selects every
// row and any other value the rows whose state holds all of its bits; as a
// "set" value, each bit changes the row accordingly.
enum ReportItemState : unsigned {
  RIS_ALL = 1,
  RIS_SELECTED = 2,
  RIS_UNSELECTED = 4,
  RIS_CHECKED = 8,
  RIS_UNCHECKED = 16,
  RIS_FOCUSED = 32,
  RIS_UNFOCUSED = 64,
};

// Column formats, as the header aligns them.
enum ReportColumnFormat { RCF_LEFT = 0, RCF_RIGHT = 1, RCF_CENTER = 2 };

struct ReportItemData {
  std::unique_ptr<AudioFileRecord> pUserData;  // the row's record, freed with the row
  std::vector<ReportColour> textColours;       // one per column
  std::vector<ReportColour> backColours;       // one per column
};

struct ReportColumnState {
  std::uint8_t visible = 1;
  int width = 0;      // the width to restore when the column is shown again
  int position = -1;  // the column count while hidden, -1 before the first hide
};
