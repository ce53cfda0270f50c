#pragma once
// Copies a task's tag texts into its finished MP3 file: ID3v2.4 and ID3v1
// when the source had an MP4 tag, no tag at all otherwise; every other tag is
// stripped.
#include "engine/conversion_task.h"

namespace TagLib {
namespace ID3v1 { class Tag; }
namespace ID3v2 { class Tag; }
}  // namespace TagLib

// The second line of the "TENC" frame.
inline constexpr const char* kProductWebAddress = "https://korvane.org";

// 1 when TagLib saved the file; 0 after logging "Fail to write tag!" and the path.
int WriteTags(CConversionTask* task);
// Logs the tag step's failure for a file the encoder never made.
void ReportTagFailure(const CConversionTask* task);

// Fill a tag from the task's texts.
void SetID3v1Fields(TagLib::ID3v1::Tag* tag, const CConversionTask& task);
void SetID3v2Frames(TagLib::ID3v2::Tag* tag, const CConversionTask& task);
