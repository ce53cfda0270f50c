#!/usr/bin/env bash
# Converter benchmark: korvane-cli against ffmpeg (and the lame and faad command
# lines as floors) over one batch of M4A files, in one run on one machine.
#   bench/convert_bench.sh BUILD_DIR [FILES] [SECONDS]
set -euo pipefail
build=${1:?build folder}
files=${2:-12}
seconds=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
cache="$here/cache/$files-$seconds"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$cache"
for i in $(seq -w 1 "$files"); do
  src="$cache/track$i.m4a"
  [ -f "$src" ] && continue
  # Music-like material: a chord over pink noise, different for every file.
  f=$((200 + 10#$i * 37))
  ffmpeg -v error -y -f lavfi -i "anoisesrc=color=pink:amplitude=0.15:duration=$seconds:seed=$i" \
    -f lavfi -i "sine=frequency=$f:duration=$seconds" -f lavfi -i "sine=frequency=$((f * 5 / 4)):duration=$seconds" \
    -filter_complex "[0][1][2]amix=inputs=3,aformat=channel_layouts=stereo" -ar 44100 -c:a aac -b:a 128k "$src"
  ffmpeg -v error -y -i "$src" "$cache/track$i.wav"
done
audio=$((files * seconds))

# time_of NAME COMMAND...: wall, user+sys CPU and peak memory of the command.
declare -A wall cpu mem
time_of() {
  local name=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" > /dev/null
  read -r e u s m < "$work/time"
  wall[$name]=$e
  cpu[$name]=$(echo "$u + $s" | bc -l)
  mem[$name]=$m
}

mkdir -p "$work/home" "$work/korvane" "$work/ffmpeg" "$work/lame"
time_of korvane env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  "$build/bin/korvane-cli" -q -b 128 -f auto -c auto -o "$work/korvane" "$cache"
time_of ffmpeg bash -c 'for f in "$1"/*.m4a; do ffmpeg -v error -y -i "$f" -c:a libmp3lame -b:a 128k -compression_level 9 "$2/$(basename "$f" .m4a).mp3"; done' _ "$cache" "$work/ffmpeg"
time_of lame bash -c 'for f in "$1"/*.wav; do lame --silent -q 9 -b 128 --cbr "$f" "$2/$(basename "$f" .wav).mp3"; done' _ "$cache" "$work/lame"
time_of faad bash -c 'for f in "$1"/*.m4a; do faad -q -o /dev/null "$f"; done' _ "$cache"

made=$(ls "$work/korvane"/*.mp3 2>/dev/null | wc -l)
[ "$made" -eq "$files" ] || { echo "korvane-cli wrote $made of $files files" >&2; exit 1; }

printf '\nBatch: %d files x %d s stereo 44100 Hz AAC 128k = %d s of audio\n\n' "$files" "$seconds" "$audio"
printf '%-22s %9s %12s %9s %10s\n' tool "wall s" "audio s/s" "CPU s" "peak MiB"
for t in korvane ffmpeg lame faad; do
  printf '%-22s %9.2f %12.1f %9.2f %10.1f\n' "$t" "${wall[$t]}" "$(echo "$audio / ${wall[$t]}" | bc -l)" \
    "${cpu[$t]}" "$(echo "${mem[$t]} / 1024" | bc -l)"
done
ratio() { echo "$1 / $2" | bc -l; }
printf '\nkorvane wall / lame wall:          %.3f (target <= 1.05)\n' "$(ratio "${wall[korvane]}" "${wall[lame]}")"
printf 'korvane throughput / ffmpeg:       %.3f (target >= 0.95)\n' "$(ratio "${wall[ffmpeg]}" "${wall[korvane]}")"
printf 'korvane CPU / (faad CPU + lame CPU): %.3f (target <= 1.10)\n' \
  "$(echo "${cpu[korvane]} / (${cpu[faad]} + ${cpu[lame]})" | bc -l)"
printf 'korvane peak memory:               %.1f MiB (target < 64)\n' "$(echo "${mem[korvane]} / 1024" | bc -l)"
