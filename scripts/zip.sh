#!/usr/bin/env bash
# Writes a zip archive whose bytes depend only on the files' names and contents, in the order
# given, each dated SOURCE_DATE_EPOCH.
# Usage: SOURCE_DATE_EPOCH=SECONDS scripts/zip.sh ARCHIVE FOLDER NAME...
#   the archive holds FOLDER/NAME under NAME, deflated by gzip.
#
# Why not `cmake -E tar --format=zip --mtime=...`: libarchive's zip writer also stores each
# file's access and change times and its owner's uid and gid, none of which a build controls, so
# two builds of one commit never give the same archive. Here an entry stores only what a zip
# needs: name, CRC-32, sizes, a DOS date and time (of SOURCE_DATE_EPOCH in UTC) and the same time
# in the extended-timestamp field for unzip on Linux. gzip -n writes a fixed 10-byte header, then
# the deflate stream, then the CRC-32 and the size: the zip entry is that stream.
set -euo pipefail
export LC_ALL=C  # lengths in bytes

archive="$1"
folder="$2"
shift 2
epoch="${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH must be set}"

# Little-endian bytes of a number: le SIZE VALUE.
le() {
  local i
  for ((i = 0; i < $1; i++)); do
    # shellcheck disable=SC2059 # the format is the byte's octal escape
    printf "\\$(printf '%03o' $((($2 >> (8 * i)) & 255)))"
  done
}

# The DOS date and time of the epoch in UTC; DOS time cannot go back before 1980.
read -r year month day hour minute second < <(date -u -d "@$epoch" '+%Y %-m %-d %-H %-M %-S')
if ((year < 1980)); then year=1980 month=1 day=1 hour=0 minute=0 second=0; fi
dos_date=$((((year - 1980) << 9) | (month << 5) | day))
dos_time=$(((hour << 11) | (minute << 5) | (second / 2)))
# "UT": flags 1 (modification time only) and the time.
timestamp_field() { le 2 0x5455; le 2 5; le 1 1; le 4 "$epoch"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/central"
offset=0
count=0
: >"$archive"
for name in "$@"; do
  gzip -n -9 <"$folder/$name" >"$work/gz"
  if [[ "$(head -c 4 "$work/gz" | od -An -tx1)" != " 1f 8b 08 00" ]]; then
    echo "gzip wrote a header other than the plain 10 bytes for $name" >&2
    exit 1
  fi
  gz_size=$(stat -c %s "$work/gz")
  read -r crc size < <(tail -c 8 "$work/gz" | od -An -tu4 --endian=little)
  packed=$((gz_size - 18))
  # Version needed 2.0, no flags, deflate; then date, CRC, sizes, name and field lengths.
  entry() {
    le 2 20; le 2 0; le 2 8; le 2 "$dos_time"; le 2 "$dos_date"
    le 4 "$crc"; le 4 "$packed"; le 4 "$size"; le 2 "${#name}"; le 2 9
  }
  {
    le 4 0x04034b50
    entry
    printf '%s' "$name"
    timestamp_field
    tail -c +11 "$work/gz" | head -c "$packed"
  } >>"$archive"
  {
    # Made by version 2.0 on MS-DOS: no Unix owner or permissions.
    le 4 0x02014b50; le 2 20
    entry
    le 2 0; le 2 0; le 2 0; le 4 0; le 4 "$offset"
    printf '%s' "$name"
    timestamp_field
  } >>"$work/central"
  offset=$(stat -c %s "$archive")
  count=$((count + 1))
done
central_size=$(stat -c %s "$work/central")
cat "$work/central" >>"$archive"
{
  le 4 0x06054b50; le 2 0; le 2 0; le 2 "$count"; le 2 "$count"
  le 4 "$central_size"; le 4 "$offset"; le 2 0
} >>"$archive"
