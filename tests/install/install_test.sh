#!/usr/bin/env bash
# The installed game as a player and a packager meet it: install into a prefix, validate the desktop
# entry and the metadata, check the icons and the manual page; start the installed game from an empty
# folder and see where its files go; build the .deb and look inside.
#
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
id=io.github.voltrana.Voltrana
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
[ -z "$(LC_ALL=C.UTF-8 man --warnings -l "$prefix/share/man/man6/voltrana.6" 2>&1 >/dev/null)" ] ||
  fail "the manual page has warnings"
for size in 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$size $size" ] || fail "$png is not $size px"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "no scalable icon"
(cd / && "$prefix/bin/voltrana" --version) | grep -q 'v1\.16' || fail "--version does not say v1.16"
# --help names the folders it would use, and makes none of them.
help=$(cd / && HOME="$tmp/h" XDG_STATE_HOME="$tmp/s" "$prefix/bin/voltrana" --help)
[[ $help == *"$prefix/share/voltrana"*"$tmp/h/.config/voltrana/config.ini"*"$tmp/s/voltrana/log.txt"* ]] ||
  fail "--help does not name the folders: $help"
[ ! -e "$tmp/h" ] && [ ! -e "$tmp/s" ] || fail "--help made folders"

# Starts the installed game in an empty folder with a fresh home and the given environment, until its
# log shows the screen settings (or 60 s pass), then ends it.
run_game() {
  local log=$1 && shift
  rm -rf "$tmp/home" "$tmp/cwd" && mkdir "$tmp/home" "$tmp/cwd"
  (cd "$tmp/cwd" && exec env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$tmp/home" SDL_VIDEODRIVER=offscreen \
    SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null "$@" "$prefix/bin/voltrana" 2>"$tmp/stderr") &
  local pid=$!
  for _ in $(seq 600); do grep -qs 'Sirka: ' "$log" && break; sleep 0.1; done
  kill "$pid" 2>/dev/null || fail "the game ended by itself: $(cat "$tmp/stderr")"
  wait "$pid" || true
  grep -q 'Voltrana v1.16' "$log" || fail "no log at $log: $(cat "$tmp/stderr")"
  [ -z "$(ls -A "$tmp/cwd")" ] || fail "the game wrote into the current folder: $(ls -A "$tmp/cwd")"
}

# A fresh home: the XDG defaults, config.ini written with the shipped defaults.
run_game "$tmp/home/.local/state/voltrana/log.txt"
cmp "$tmp/home/.config/voltrana/config.ini" "$prefix/share/voltrana/config.ini"
[ "$(ls -A "$tmp/home" | xargs)" = ".config .local" ] && [ "$(stat -c %a "$tmp/home/.config/voltrana")" = 700 ] ||
  fail "folders other than the game's own, or not private: $(ls -lA "$tmp/home")"
[ ! -s "$tmp/stderr" ] || fail "unexpected stderr: $(cat "$tmp/stderr")"
# The XDG variables are honoured, and the player's settings are read there, never replaced.
mkdir -p "$tmp/config/voltrana"
settings=$'SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 0'
echo -n "$settings" >"$tmp/config/voltrana/config.ini"
run_game "$tmp/state/voltrana/log.txt" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
grep -q 'Sirka: 640  Vyska: 480' "$tmp/state/voltrana/log.txt" || fail "config.ini in XDG_CONFIG_HOME not read"
[ "$(cat "$tmp/config/voltrana/config.ini")" = "$settings" ] || fail "the player's config.ini was replaced"
[ ! -e "$tmp/home/.config" ] && [ ! -e "$tmp/home/.local" ] || fail "the XDG variables were not honoured"
# A settings folder that cannot be made: one line, and the game plays with its default settings.
rm -rf "$tmp/state" && touch "$tmp/not-a-folder"
run_game "$tmp/state/voltrana/log.txt" XDG_CONFIG_HOME="$tmp/not-a-folder" XDG_STATE_HOME="$tmp/state"
[ "$(wc -l <"$tmp/stderr")" = 1 ] && grep -q 'voltrana: cannot make' "$tmp/stderr" ||
  fail "expected one line about the settings folder, got: $(cat "$tmp/stderr")"
grep -q 'Sirka: 800  Vyska: 600' "$tmp/state/voltrana/log.txt" || fail "not played with the default settings"

# The Debian package: what the game needs to run, and every installed file.
(cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/voltrana_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for need in fonts-liberation2 libsdl2 libopenal1 libalut0 libepoxy0 libfreetype6 libfontconfig1; do
  [[ $depends == *$need* ]] || fail "Depends lacks $need: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/voltrana usr/share/voltrana/config.ini usr/share/voltrana/models/scenehi.geo \
  usr/share/voltrana/sounds/klik.wav usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/$id.png usr/share/man/man6/voltrana.6.gz; do
  [[ $contents == *" ./$file"* ]] || fail "the package lacks $file"
done
echo "install test passed"
