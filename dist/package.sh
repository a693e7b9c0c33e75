#!/usr/bin/env bash
# Lays out the distribution folder "vomurel" and zips it. The batch files and
# the read-me are kept as UTF-8 with LF in the repository; the host reads
# them as Shift-JIS with CR LF, so they are converted here.
#   package.sh <dist-source-dir> <version> <staging-dir> [<vomurel.exe> <out.zip>]
# Without the last two arguments only the converted texts are laid out.
set -euo pipefail
src=$1 version=$2 stage=$3 exe=${4:-} zip=${5:-}

folder="$stage/vomurel"
rm -rf "$folder"
mkdir -p "$folder"
for name in vomurel_2pt.bat vomurel_path.bat vomurel_settings.bat vomurel_choose.bat \
  vomurel_select.bat readme.txt; do
  # CR LF first, while the text is still UTF-8; -c is not used, so a
  # character without a Shift-JIS form fails the build.
  tr -d '\r' <"$src/$name" | sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' |
    iconv -f UTF-8 -t CP932 >"$folder/$name"
done
if [ -n "$exe" ]; then
  cp "$exe" "$folder/vomurel.exe"
  # The same commit gives the same zip bytes: every entry dated from the
  # commit's time (SOURCE_DATE_EPOCH when the caller sets it), fixed modes,
  # a fixed order, no extra attributes, and DOS times in UTC.
  epoch="${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null || true)}"
  if [ -z "$epoch" ]; then
    echo "package: no git commit and no SOURCE_DATE_EPOCH; dating the entries 1980-01-01" >&2
    epoch=315532800
  fi
  chmod 755 "$folder"
  chmod 644 "$folder"/*
  touch -d "@$epoch" "$folder" "$folder"/*
  zip=$(realpath -m "$zip")
  rm -f "$zip"
  (cd "$stage" && TZ=UTC zip -q -X -D "$zip" vomurel/ vomurel/vomurel.exe vomurel/vomurel_2pt.bat \
    vomurel/vomurel_path.bat vomurel/vomurel_settings.bat vomurel/vomurel_choose.bat \
    vomurel/vomurel_select.bat vomurel/readme.txt)
fi
