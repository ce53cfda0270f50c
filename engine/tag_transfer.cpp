#include "engine/tag_transfer.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <climits>
#include <cstdlib>

#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "platform/core/text.h"

namespace {

TagLib::String Utf8(const std::string& text) { return TagLib::String(text, TagLib::String::UTF8); }

// ID3v1 holds ISO-8859-1 only; what it cannot hold becomes '?'.
TagLib::String Latin1(const std::string& text) {
  return TagLib::String(platform::Utf8ToLatin1(text), TagLib::String::Latin1);
}

// The number at the start of text as a base-10 conversion reads it: leading
// blanks, a sign, digits; 0 when there are none. Negative numbers count as 0.
unsigned LeadingNumber(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value < 0) return 0;
  return value > INT_MAX ? static_cast<unsigned>(INT_MAX) : static_cast<unsigned>(value);
}

// One text frame, replaced; an empty text leaves no frame. UTF-8 keeps every
// character, also those beyond the Basic Multilingual Plane.
void SetTextFrame(TagLib::ID3v2::Tag* tag, const char* id, const std::string& text) {
  TagLib::ByteVector frameId(id, 4);
  tag->removeFrames(frameId);
  if (text.empty()) return;
  auto* frame = new TagLib::ID3v2::TextIdentificationFrame(frameId, TagLib::String::UTF8);
  frame->setText(Utf8(text));
  tag->addFrame(frame);
}

void SetComment(TagLib::ID3v2::Tag* tag, const std::string& text) {
  tag->removeFrames("COMM");
  if (text.empty()) return;
  auto* frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
  frame->setText(Utf8(text));
  tag->addFrame(frame);
}

}  // namespace

void SetID3v2Frames(TagLib::ID3v2::Tag* tag, const CConversionTask& task) {
  SetTextFrame(tag, "TPE1", task.m_strArtist);
  SetTextFrame(tag, "TPE2", task.m_strAlbumArtist);
  SetTextFrame(tag, "TALB", task.m_strAlbum);
  SetTextFrame(tag, "TRCK", task.m_strTrack);
  SetTextFrame(tag, "TIT2", task.m_strTitle);
  SetTextFrame(tag, "TCON", task.m_strGenre);
  SetTextFrame(tag, "TDRC", task.m_strDate);
  SetComment(tag, task.m_strComment);
  SetTextFrame(tag, "TENC", std::string("Korvane\r\n") + kProductWebAddress);
}

void SetID3v1Fields(TagLib::ID3v1::Tag* tag, const CConversionTask& task) {
  if (!task.m_strArtist.empty()) tag->setArtist(Latin1(task.m_strArtist));
  if (!task.m_strAlbum.empty()) tag->setAlbum(Latin1(task.m_strAlbum));
  if (!task.m_strTitle.empty()) tag->setTitle(Latin1(task.m_strTitle));
  if (!task.m_strGenre.empty()) tag->setGenre(Latin1(task.m_strGenre));
  if (!task.m_strComment.empty()) tag->setComment(Latin1(task.m_strComment));
  if (!task.m_strTrack.empty())
    tag->setTrack(LeadingNumber(task.m_strTrack.substr(0, task.m_strTrack.find('/'))));
  if (!task.m_strDate.empty()) tag->setYear(LeadingNumber(task.m_strDate));
}

void ReportTagFailure(const CConversionTask* task) {
  ConvLog(LOG_ERROR, "Fail to write tag!" + task->m_strDest);
}

int WriteTags(CConversionTask* task) {
  TagLib::MPEG::File file(task->m_strDest.c_str(), false, TagLib::AudioProperties::Average);
  bool saved = false;
  if (file.isOpen()) {
    int types = (task->m_nFlags & FILE_HAS_MP4_TAG)
                    ? (TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2)
                    : TagLib::MPEG::File::NoTags;
    if (types & TagLib::MPEG::File::ID3v1) SetID3v1Fields(file.ID3v1Tag(true), *task);
    if (types & TagLib::MPEG::File::ID3v2) SetID3v2Frames(file.ID3v2Tag(true), *task);
    saved = file.save(types, TagLib::File::StripOthers, TagLib::ID3v2::v4,
                      TagLib::File::DoNotDuplicate);
  }
  if (!saved) {
    ReportTagFailure(task);
    return 0;
  }
  return 1;
}
