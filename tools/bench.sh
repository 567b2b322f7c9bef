#!/bin/bash
# Benchmark of worldtool on generated workspaces of 100 and 1,000 zones (not a
# test): scan and resave wall time beside `cat` of the same files, the scan
# also on one thread (VELMORA_READ_THREADS=1) beside the machine's cores, peak
# memory, and the time of the workspace checks alone (`worldtool check` without
# its scan); then a room file of a million tiny rooms, imported and scanned;
# then the import of the real server world in ../shared/realworld
# (when it is there), the scan of the imported workspace and the layout of
# all its zones from their exits; then the editor's main window on each
# workspace (guibench, offscreen), and at 1,000 zones again under an X server
# when xvfb-run is there (apt package xvfb). Builds the tools in Release in
# build-bench/.
# Each figure is the best of RUNS runs (default 3), since the machine may be shared.
#
#   tools/bench.sh            # writes below /tmp/velmora-bench (BENCH_DIR)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
base=${BENCH_DIR:-/tmp/velmora-bench}
runs=${RUNS:-3}

if [ ! -x /usr/bin/time ]; then
    echo "installing GNU time (apt package time)"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq && $SUDO DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time
fi

cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" -j2 --target worldtool guibench velmora_data >/dev/null
tool=$root/build-bench/tools/worldtool
guibench=$root/build-bench/tools/guibench

rm -rf "$base"
mkdir -p "$base"

# Best wall time (s) and the peak resident set (KB) of that run: "SECONDS KB".
# A run that fails stops the benchmark.
best() {
    local best_time="" best_mem="" t m
    for ((i = 0; i < runs; ++i)); do
        [ -n "${prepare:-}" ] && eval "$prepare"
        /usr/bin/time -f "%e %M" -o "$base/time" "$@" >/dev/null 2>"$base/stderr" ||
            { cat "$base/stderr"; exit 1; }
        read -r t m <"$base/time"
        if [ -z "$best_time" ] || awk "BEGIN{exit !($t < $best_time)}"; then
            best_time=$t
            best_mem=$m
        fi
    done
    echo "$best_time $best_mem"
}

# Best time (s) of the checks alone, as `worldtool check` reports them, and
# the number of problems found: "SECONDS PROBLEMS". Status 1 (errors found) is no stop.
best_check() {
    local best_time="" t
    for ((i = 0; i < runs; ++i)); do
        "$tool" check "$1" >"$base/problems" 2>"$base/stderr" || [ $? -eq 1 ] ||
            { cat "$base/stderr"; exit 1; }
        t=$(sed -n 's/^check time: \([0-9.]*\) s$/\1/p' "$base/stderr")
        if [ -z "$best_time" ] || awk "BEGIN{exit !($t < $best_time)}"; then
            best_time=$t
        fi
    done
    echo "$best_time $(wc -l <"$base/problems")"
}

catall() { find "$1" -type f -exec cat {} + >/dev/null; }
export -f catall

declare -A cat scan scan1 resave memscan memresave bytes check problems
for zones in 100 1000; do
    ws=$base/ws$zones
    "$tool" generate "$ws" --zones "$zones" --seed 1 >/dev/null
    bytes[$zones]=$(find "$ws" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
    catall "$ws" # warm the page cache for everyone alike
    read -r cat_time _ < <(prepare="" best bash -c "catall '$ws'")
    cat[$zones]=$cat_time
    read -r scan[$zones] memscan[$zones] < <(prepare="" best "$tool" scan "$ws")
    read -r scan1[$zones] _ < <(prepare="" best env VELMORA_READ_THREADS=1 "$tool" scan "$ws")
    read -r resave[$zones] memresave[$zones] < <(prepare="rm -rf '$base/out'" best "$tool" resave "$ws" "$base/out")
    read -r check[$zones] problems[$zones] < <(best_check "$ws")
    cmp -s <(cd "$ws" && find . -type f -exec md5sum {} + | sort) \
        <(cd "$base/out" && find . -type f -exec md5sum {} + | sort) ||
        { echo "resave of $zones zones is not byte for byte the workspace"; exit 1; }
    rm -rf "$base/out"
done

ratio() { awk "BEGIN{printf \"%.1f\", $1 / $2}"; }

# An odd file: a million tiny rooms in one room file (about 25 MB), imported
# from a server folder and scanned as a workspace.
tinysrv=$base/tinyserver
mkdir -p "$tinysrv/wld" "$tinysrv/zon"
awk 'BEGIN { for (v = 100; v < 1000100; ++v) printf "#%d\r\n~\r\n~\r\n0 0 0\r\nS\r\n", v; printf "$\r\n" }' \
    >"$tinysrv/wld/1.wld"
printf '1.wld\n$\n' >"$tinysrv/wld/index"
printf '$\n' >"$tinysrv/zon/index"
tiny_bytes=$(stat -c %s "$tinysrv/wld/1.wld")
read -r tiny_import tiny_import_mem < <(prepare="rm -rf '$base/tinyws'" best "$tool" import "$tinysrv" "$base/tinyws")
read -r tiny_cat _ < <(prepare="" best bash -c "catall '$base/tinyws'")
read -r tiny_scan tiny_scan_mem < <(prepare="" best "$tool" scan "$base/tinyws")
tiny_line="| $(awk "BEGIN{printf \"%.1f MB\", $tiny_bytes / 1e6}") | ${tiny_import} s | $((tiny_import_mem / 1024)) MB | $(ratio "$tiny_import_mem * 1024" "$tiny_bytes")x | ${tiny_cat} s | ${tiny_scan} s | $((tiny_scan_mem / 1024)) MB | $(ratio "$tiny_scan_mem * 1024" "$tiny_bytes")x |"
rm -rf "$tinysrv" "$base/tinyws"

# The editor's main window on a workspace, offscreen: the run of RUNS with the
# quickest start-up gives its figures (guibench prints "name value" pairs,
# each step the best of three), and the peak memory of that run.
# Prints "ready zone page next save peak_kb map_frame_ms edit_step".
# With GUI_X set, the window runs under an X server (Xvfb) instead.
gui() {
    local prog=$base/program best_line="" best_ready="" line ready
    rm -rf "$prog"
    mkdir -p "$prog"
    cp -r "$root/build-bench/VelmoraEd/Bases" "$root/build-bench/VelmoraEd/Help" \
        "$root/build-bench/VelmoraEd/VelmoraEd.ini" "$prog/"
    ln -s "$1" "$prog/Zones"
    local platform=(env QT_QPA_PLATFORM=offscreen)
    if [ -n "${GUI_X:-}" ]; then
        platform=(env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1200x24")
    fi
    for ((i = 0; i < runs; ++i)); do
        "${platform[@]}" /usr/bin/time -f "%M" -o "$base/time" "$guibench" "$prog" \
            >"$base/gui" 2>"$base/stderr" || { cat "$base/stderr"; exit 1; }
        line="$(cat "$base/gui") peak $(cat "$base/time")"
        ready=$(awk '{print $2}' <<<"$line")
        if [ -z "$best_ready" ] || awk "BEGIN{exit !($ready < $best_ready)}"; then
            best_ready=$ready
            best_line=$line
        fi
    done
    # The editor's peak as guibench takes it, before the map's artificial level.
    awk '{print $2, $4, $6, $8, $10, $12, $16, $20}' <<<"$best_line"
}
ms() { awk "BEGIN{printf \"%.0f ms\", $1 * 1000}"; }
gui_row() { # name scan-seconds scan-peak-kb workspace
    local r z p n s m f e
    read -r r z p n s m f e < <(gui "$4")
    echo "| $1 | $2 s | $r s | $(ratio "$r" "$2")x | $(ms "$z") | $(ms "$p") | $(ms "$n") | $(ms "$s") | $(ms "$e") | $f ms | $(($3 / 1024)) MB | $((m / 1024)) MB | $(ratio "$m" "$3")x |"
}

# The real server world beside the project: import it into a fresh
# workspace, then scan that workspace, each beside `cat` of the bytes it reads.
real=$root/../shared/realworld/world
real_line=""
if [ -d "$real" ]; then
    rws=$base/realws
    read -r cat_server _ < <(prepare="" best bash -c "catall '$real'")
    read -r import_time import_mem < <(prepare="rm -rf '$rws'" best "$tool" import "$real" "$rws")
    read -r cat_real _ < <(prepare="" best bash -c "catall '$rws'")
    # Files the readers cannot load yet are reported (status 1), not a stop here.
    read -r scan_real scan_real_mem < <(prepare="" best bash -c "'$tool' scan '$rws' || [ \$? -eq 1 ]")
    # Every zone laid out again from its exits: the tool's own time for the
    # layout (the scan before it and the writing after it left out).
    layout_time=""
    for ((i = 0; i < runs; ++i)); do
        "$tool" layout "$rws" --all >"$base/layout" || [ $? -eq 1 ]
        t=$(awk '/^layout time:/ {print $3}' "$base/layout")
        if [ -z "$layout_time" ] || awk "BEGIN{exit !($t < $layout_time)}"; then
            layout_time=$t
        fi
    done
    layout_line="layout of all $(ls "$real/zon" | grep -c '\.zon$') zones from their exits: ${layout_time} s; $(grep -E '^all zones' "$base/layout" | sed 's/^all zones: //'); $(grep -E '^zones that did not fit' "$base/layout")"
    server_mb=$(du -sb "$real" | awk '{printf "%.1f MB", $1 / 1e6}')
    real_line="| $(ls "$real/zon" | grep -c '\.zon$') | $server_mb | ${cat_server} s | ${import_time} s | $(ratio "$import_time" "$cat_server")x | $((import_mem / 1024)) MB | ${cat_real} s | ${scan_real} s | $(ratio "$scan_real" "$cat_real")x | $((scan_real_mem / 1024)) MB |"
else
    real_line="(no real server world at $real: import and scan of it skipped)"
    layout_line=""
fi
echo
echo "| zones | workspace | cat | scan | scan / cat | scan, 1 thread | resave | checks | peak memory scan | peak memory resave | peak / workspace |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for zones in 100 1000; do
    mb=$(awk "BEGIN{printf \"%.1f MB\", ${bytes[$zones]} / 1e6}")
    peak=$((memresave[$zones] > memscan[$zones] ? memresave[$zones] : memscan[$zones]))
    echo "| $zones | $mb | ${cat[$zones]} s | ${scan[$zones]} s | $(ratio "${scan[$zones]}" "${cat[$zones]}")x |" \
        "${scan1[$zones]} s | ${resave[$zones]} s | ${check[$zones]} s | $((memscan[$zones] / 1024)) MB | $((memresave[$zones] / 1024)) MB |" \
        "$(ratio "$peak * 1024" "${bytes[$zones]}")x |"
done
echo
echo "100 -> 1,000 zones: scan $(ratio "${scan[1000]}" "${scan[100]}")x, resave $(ratio "${resave[1000]}" "${resave[100]}")x"
echo "(resave is the whole command: the scan, then the save of every zone.)"
echo "(checks: the workspace checks of \`worldtool check\` alone, its scan not counted;" \
    "problems found: ${problems[100]} and ${problems[1000]}.)"
echo
echo "A million tiny rooms in one room file: import, then scan of the imported workspace"
echo "| room file | import | peak memory import | import peak / bytes | cat workspace | scan | peak memory scan | scan peak / bytes |"
echo "|---|---|---|---|---|---|---|---|"
echo "$tiny_line"
echo
echo "Real server world: import, then scan of the imported workspace"
echo "| zones | server folder | cat | import | import / cat | peak memory import | cat workspace | scan | scan / cat | peak memory scan |"
echo "|---|---|---|---|---|---|---|---|---|---|"
echo "$real_line"
echo "$layout_line"
echo
echo "The editor (offscreen) beside worldtool scan of the same workspace"
echo "| workspace | scan | editor ready | ready / scan | zone switch | page switch | next record | save zone | edit step | map frame | peak scan | peak editor | peak ratio |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
gui_row "100 zones" "${scan[100]}" "${memscan[100]}" "$base/ws100"
gui_row "1,000 zones" "${scan[1000]}" "${memscan[1000]}" "$base/ws1000"
[ -n "${rws:-}" ] && [ -d "$rws" ] && gui_row "real world ($(ls "$real/zon" | grep -c '\.zon$') zones)" "$scan_real" "$scan_real_mem" "$rws"
if command -v xvfb-run >/dev/null; then
    echo
    echo "The editor under an X server (Xvfb, the xcb platform), the same figures"
    echo "| workspace | scan | editor ready | ready / scan | zone switch | page switch | next record | save zone | edit step | map frame | peak scan | peak editor | peak ratio |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    GUI_X=1 gui_row "1,000 zones" "${scan[1000]}" "${memscan[1000]}" "$base/ws1000"
else
    echo "(no xvfb-run: the editor under an X server skipped; apt package xvfb)"
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$base"
