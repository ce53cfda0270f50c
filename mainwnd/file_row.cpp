#include "mainwnd/file_row.h"

#include <cmath>
#include <ctime>

#include "engine/audio_probe.h"
#include "engine/conversion_task.h"
#include "mainwnd/file_columns.h"
#include "platform/core/file_system.h"

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QString LocalTime(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return {};
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return QString::fromLatin1(text, static_cast<qsizetype>(n));
}

QString ChannelText(std::uint32_t channels) {
  switch (channels) {
    case 1: return QStringLiteral("1 (Mono)");
    case 2: return QStringLiteral("2 (Stereo)");
    default: return QString::number(channels);
  }
}

}  // namespace

FoundFile FoundFileAt(const std::string& path) {
  FoundFile file;
  file.path = path;
  const std::size_t slash = path.find_last_of('/');
  file.name = slash == std::string::npos ? path : path.substr(slash + 1);
  const platform::FileAttributes attributes = platform::GetFileAttributes(path);
  file.size = attributes.size;
  file.modified = attributes.modifiedUnix;
  return file;
}

std::unique_ptr<FileRow> MakeFileRow(const FoundFile& file, int* iconCache,
                                     const ExtensionTypes& types) {
  auto row = std::make_unique<FileRow>();
  row->texts.resize(FILE_COLUMN_COUNT);
  row->record = std::make_unique<AudioFileRecord>();
  AudioFileRecord& record = *row->record;

  const QString name = Utf8(file.name);
  row->texts[COL_NAME] = name;
  const std::size_t slash = file.path.find_last_of('/');
  row->texts[COL_PATH] = slash == std::string::npos ? QString() : Utf8(file.path.substr(0, slash + 1));
  if (iconCache && *iconCache == -1) {
    row->iconPath = Utf8(file.path);
    *iconCache = 0;
  }

  record.fSizeMB = static_cast<double>(file.size) / 1048576.0;
  row->texts[COL_SIZE] = QString::asprintf("%.2f", record.fSizeMB);

  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QString extension = (dot >= 0 ? name.mid(dot + 1) : name).toUpper();
  record.nType = types.value(extension, 0);
  row->texts[COL_TYPE] = extension;
  row->texts[COL_MODIFIED] = LocalTime(file.modified);

  ApplyProbe(ProbeAudioSource(file.path), *row);
  return row;
}

void ApplyProbe(const AudioProbe& probe, FileRow& row) {
  AudioFileRecord& record = *row.record;
  record.nSampleRate = probe.sampleRate;
  record.nChannels = probe.channels;
  record.nTotalSamples = probe.totalSamples;
  record.fDuration = probe.duration;
  if (probe.flags & FILE_HAS_MP4_TAG) {
    const TagTexts& tags = probe.tags;
    record.nFlags |= FILE_HAS_MP4_TAG;
    row.texts[COL_TAG] = QStringLiteral("Mpeg4");
    record.strArtist = row.texts[COL_ARTIST] = Utf8(tags.artist);
    record.strAlbumArtist = row.texts[COL_ALBUM_ARTIST] = Utf8(tags.albumArtist);
    record.strAlbum = row.texts[COL_ALBUM] = Utf8(tags.album);
    record.strTrack = row.texts[COL_TRACK] = Utf8(tags.track);
    record.nTrack = probe.track;
    record.nTrackTotal = probe.trackTotal;
    record.strTitle = row.texts[COL_TITLE] = Utf8(tags.title);
    record.strGenre = row.texts[COL_GENRE] = Utf8(tags.genre);
    record.strDate = row.texts[COL_DATE] = Utf8(tags.date);
    record.strComment = row.texts[COL_COMMENT] = Utf8(tags.comment);
  }
  if (probe.bitrate != 0) {
    // TagLib counts kilobits of 1000 bits; the list shows MP4 rates in units of 1024.
    record.nBitrate = record.nType == FILE_TYPE_MP4
                          ? static_cast<int>(std::floor(probe.bitrate * 1.024 + 0.5))
                          : probe.bitrate;
    row.texts[COL_BITRATE] = QStringLiteral("%1 kbps").arg(record.nBitrate);
  }
  if (probe.error) {
    record.bError = 1;
    row.texts[COL_TYPE] = QStringLiteral("Unknown");
    return;
  }
  const auto s = static_cast<long long>(record.fDuration);
  if (s != 0)
    row.texts[COL_DURATION] = QString::asprintf("%02lld:%02lld:%02lld", s / 3600, s % 3600 / 60, s % 60);
  if (record.nChannels != 0) row.texts[COL_CHANNEL] = ChannelText(record.nChannels);
  if (record.nSampleRate != 0) row.texts[COL_FREQUENCY] = QStringLiteral("%1 Hz").arg(record.nSampleRate);
}
