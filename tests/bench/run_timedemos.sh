#!/usr/bin/env bash
# Runs the timedemo scripts at 640 x 480, 800 x 600 and 1024 x 768 with every scene detail and prints
# one table row per run: work time per game-mode frame (median, 99th percentile), frames per second,
# fragments drawn per pixel and processor time per game-mode frame (every thread, the rasteriser's
# included), start-up time to the first intro frame and peak memory.
#
#   tests/bench/run_timedemos.sh [GAME_DIR] [SCRIPT ...]
#
# GAME_DIR is the runnable folder (default build/game); the scripts default to the night and day
# demos. Each run happens in a temporary copy of the folder with its own config.ini. Environment:
#   RESOLUTIONS="800x600 1024x768"  DETAILS="2"  to run a subset.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
game_dir="$(cd "${1:-$here/../../build/game}" && pwd)"
shift || true
[ $# -gt 0 ] || set -- "$here/scripts/night_timedemo.txt" "$here/scripts/day_timedemo.txt"
resolutions=(${RESOLUTIONS:-640x480 800x600 1024x768})
details=(${DETAILS:-0 1 2})

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The game folder without its log and config: the executable, models and sounds are linked, not copied.
mkdir -p "$work/game"
for entry in "$game_dir"/*; do
    case "$(basename "$entry")" in config.ini | log.txt | demo-out) ;; *) ln -s "$entry" "$work/game/" ;; esac
done

# The scripts are written for 800 x 600: lines tagged "virtual" hold menu coordinates, which scale
# with the back buffer; lines tagged "centre DX DY" hold a point DX, DY pixels from its centre.
rescale() {
    awk -v W="$2" -v H="$3" '
        /# *virtual/ && ($2 == "mouse" || $2 == "click") {
            printf "%s %s %d %d  # virtual\n", $1, $2, int($3 * W / 800 + 0.5), int($4 * H / 600 + 0.5); next
        }
        /# *centre/ && ($2 == "mouse" || $2 == "click") {
            for (i = 1; i <= NF; ++i) if ($i == "centre") { dx = $(i + 1); dy = $(i + 2) }
            printf "%s %s %d %d  # centre\n", $1, $2, int(W / 2) + dx, int(H / 2) + dy; next
        }
        { print }' "$1"
}

printf '%-16s %-10s %6s %10s %10s %8s %8s %12s %11s %10s\n' script resolution detail "median ms" "p99 ms" fps \
    "frag/px" "cpu ms/frame" "start-up ms" "peak MiB"
for script in "$@"; do
    for resolution in "${resolutions[@]}"; do
        width="${resolution%x*}" height="${resolution#*x}"
        rescale "$script" "$width" "$height" > "$work/script.txt"
        for detail in "${details[@]}"; do
            printf 'SceneDetail %s\nScreenWidth %s\nScreenHeight %s\nScreenFormat 1\nSoundEnabled 1\n' \
                "$detail" "$width" "$height" > "$work/game/config.ini"
            output="$(cd "$work/game" && ./voltrana-demo "$work/script.txt" --timedemo --out "$work/out" \
                2>/dev/null)" || {
                printf '%-16s %-10s %6s   run failed\n' "$(basename "$script" .txt)" "$resolution" "$detail"
                continue
            }
            # Game-mode frames only: the intro and menu frames the script passes through are cheap.
            median="$(sed -n 's/^game-mode work time median \([0-9.]*\) ms p99.*/\1/p' <<< "$output")"
            p99="$(sed -n 's/^game-mode work time median .* p99 \([0-9.]*\) ms.*/\1/p' <<< "$output")"
            fps="$(sed -n 's/.* fps \([0-9.]*\)$/\1/p' <<< "$output")"
            peak="$(sed -n 's/^peak memory \([0-9.]*\) MiB/\1/p' <<< "$output")"
            startup="$(sed -n 's/^start-up to first frame \([0-9]*\) ms/\1/p' <<< "$output")"
            fragments="$(sed -n 's/^game-mode fragments drawn per pixel \([0-9.]*\) .*/\1/p' <<< "$output")"
            cpu="$(sed -n 's/^game-mode processor time per frame \([0-9.]*\) ms.*/\1/p' <<< "$output")"
            printf '%-16s %-10s %6s %10s %10s %8s %8s %12s %11s %10s\n' "$(basename "$script" .txt)" "$resolution" \
                "$detail" "$median" "$p99" "$fps" "${fragments:--}" "${cpu:--}" "${startup:--}" "$peak"
        done
    done
done
