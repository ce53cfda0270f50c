#!/usr/bin/env bash
# Makes the small audio files the tests read. Run from anywhere; writes next to
# this script. Needs ffmpeg (Debian package ffmpeg) with its native AAC encoder.
# The files are committed, so this only needs to run again when a fixture changes.
set -euo pipefail
cd "$(dirname "$0")"

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
# 1 kHz sine at -6 dBFS (amplitude 0.5) in every channel.
tone() { # rate channels seconds
  local expr="0.5*sin(2*PI*1000*t)" all="" i
  for ((i = 0; i < $2; i++)); do all+="${all:+|}$expr"; done
  echo "aevalsrc=${all}:s=$1:d=$3"
}
# Strips the encoder's name and creation time, so reruns give the same bytes.
plain=(-map_metadata -1 -fflags +bitexact -flags:a +bitexact)

# Stereo 44100 Hz, exactly one second of tone, moov after mdat (ffmpeg's default).
# The tone files use bit rates at which the encoder keeps the tone clean.
ff -f lavfi -i "$(tone 44100 2 1)" "${plain[@]}" -c:a aac -b:a 96k stereo_44100_tone.mp4
# The same audio with the moov in front.
ff -f lavfi -i "$(tone 44100 2 1)" "${plain[@]}" -c:a aac -b:a 96k -movflags +faststart \
   stereo_44100_tone_faststart.mp4
# Mono 22050 Hz, half a second.
ff -f lavfi -i "$(tone 22050 1 0.5)" "${plain[@]}" -c:a aac -b:a 48k mono_22050.mp4
# Six channels (5.1) at 48000 Hz, half a second.
ff -f lavfi -i "$(tone 48000 6 0.5):c=5.1" "${plain[@]}" -c:a aac -b:a 384k six_channels_48000.mp4
# A minute of stereo 44100 Hz at a low bit rate: long enough for a run to be
# paused and cancelled halfway through (the progress window tests).
ff -f lavfi -i "$(tone 44100 2 60)" "${plain[@]}" -c:a aac -b:a 16k long_stereo_44100.mp4
# A video track (MPEG-4 part 2, 16x16) before the audio track.
ff -f lavfi -i "color=c=blue:s=16x16:r=5:d=0.4" -f lavfi -i "$(tone 44100 2 0.4)" \
   -map 0:v -map 1:a "${plain[@]}" -flags:v +bitexact -c:v mpeg4 -b:v 8k -c:a aac -b:a 32k \
   video_then_audio.mp4
# A single AAC frame.
ff -f lavfi -i "$(tone 44100 2 0.02)" "${plain[@]}" -c:a aac -b:a 32k -frames:a 1 one_frame.mp4

# Tagged files for the tag transfer and the file list.
ff -f lavfi -i "$(tone 44100 2 0.2)" "${plain[@]}" -c:a aac -b:a 32k \
   -metadata artist="Test Artist" -metadata album="Test Album" -metadata album_artist="Test Album Artist" \
   -metadata title="Test Title" -metadata track="7/12" -metadata genre="Ambient" \
   -metadata date="2019" -metadata comment="A test comment" tagged.mp4
ff -f lavfi -i "$(tone 44100 2 0.2)" "${plain[@]}" -c:a aac -b:a 32k \
   -metadata artist="坂本 🎹 Ryūichi" -metadata album="東京" -metadata title="Ünïcödé 🎵" \
   -metadata track="3" tagged_unicode.mp4

# A damaged file: the moov in front and the file cut right after the 21st
# AAC frame, so the 22nd cannot be read at all.
ff -f lavfi -i "$(tone 44100 2 1)" "${plain[@]}" -c:a aac -b:a 48k -movflags +faststart damaged_source.tmp.mp4
cut=$(ffprobe -v error -select_streams a -show_entries packet=size,pos -of csv=p=0 damaged_source.tmp.mp4 |
      grep -v '^$' | sed -n 21p | awk -F, '{print $1 + $2}')
head -c "$cut" damaged_source.tmp.mp4 > damaged_truncated.mp4
rm damaged_source.tmp.mp4

# A text file that only has the name of an MP4 file.
printf 'This is a plain text file, not an MP4 file.\n' > not_mp4.mp4
