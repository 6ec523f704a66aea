#!/usr/bin/env bash
# Times mirroring a folder of pages into another folder: `trimlet trim -r SITE -o OUT/`
# against `trimlet run --yes` over a task of the same files (with an absolute output
# folder, so both write the same tree), on the real disk and in a memory file system, and
# `minify -r -o` on the same tree when it is installed (Debian: apt-get install minify).
# Prints the median of each, side by side, and the ratios.
#
#   bench/trim_tree.sh [BUILD_DIR]        (default build-release, a Release build)
#
# Environment: RUNS (5), SITE_PAGES (4000), CORPUS (a folder of real pages to use instead
# of generated ones), DISK_DIR (/var/tmp), MEMORY_DIR (/dev/shm),
# CORPUS_TOOL (BUILD_DIR/bench/trimlet-corpus).
set -euo pipefail

build=${1:-build-release}
runs=${RUNS:-5}
site_pages=${SITE_PAGES:-4000}
trimlet=$build/trimlet
corpus_tool=${CORPUS_TOOL:-$build/bench/trimlet-corpus}
minify=$(command -v minify || true)

[[ -x $trimlet ]] || { echo "missing $trimlet (cmake --build $build)" >&2; exit 2; }

disk=$(mktemp -d "${DISK_DIR:-/var/tmp}/trimlet-tree-XXXXXX")
memory=$(mktemp -d "${MEMORY_DIR:-/dev/shm}/trimlet-tree-XXXXXX")
trap 'rm -rf "$disk" "$memory"' EXIT
# The built-in settings, whatever the user's profile says.
unset TRIMLET_PROFILE

# One timed run: its wall-clock seconds.
seconds() {
    local times=$disk/times
    /usr/bin/time -f "%e" -o "$times" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    cat "$times"
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { echo "scale=2; $1 / $2" | bc; }
# The median of RUNS runs of the command, every output removed before each.
clean() {
    rm -rf "$1/out"
    find "$1/site" -depth -type d -name Trimlet -exec rm -rf {} +
}
timed() {
    local place=$1
    shift
    for _ in $(seq "$runs"); do
        clean "$place"
        seconds "$@"
    done | median
}

if [[ -n ${CORPUS:-} ]]; then
    echo "== copying the pages of $CORPUS"
    mkdir -p "$disk/site"
    (cd "$CORPUS" && find . -type f \( -iname '*.htm' -o -iname '*.html' \) -print0 |
        cpio -0pdm --quiet "$disk/site")
else
    [[ -x $corpus_tool ]] || { echo "missing $corpus_tool" >&2; exit 2; }
    echo "== generating a site of $site_pages pages"
    mkdir -p "$disk/site"
    "$corpus_tool" site "$disk/site" "$site_pages"
fi
cp -r "$disk/site" "$memory/site"
pages=$(find "$disk/site" -type f | wc -l)
echo "pages: $pages, $(du -sb "$disk/site" | cut -f1) bytes; the machine's load: $(cut -d' ' -f1 /proc/loadavg)"

printf '%-8s %12s %12s %8s %12s %14s\n' place "trim -r" "run" "trim/run" "minify -r" "trim/minify"
for place in "$disk" "$memory"; do
    label=disk
    [[ $place == "$memory" ]] && label=memory
    out=$place/out
    find "$place/site" -type f -print0 |
        "$trimlet" task create -0 --files-from - --output-folder Trimlet "$place/site.trh"
    trim=$(timed "$place" "$trimlet" trim -q -r "$place/site" -o "$out/")
    run=$(timed "$place" "$trimlet" run --yes -q "$place/site.trh")
    if [[ -n $minify ]]; then
        mini=$(timed "$place" "$minify" -r -o "$out/" "$place/site")
        printf '%-8s %11ss %11ss %8s %11ss %14s\n' "$label" \
            "$trim" "$run" "$(ratio "$trim" "$run")" "$mini" "$(ratio "$trim" "$mini")"
    else
        printf '%-8s %11ss %11ss %8s %12s %14s\n' "$label" \
            "$trim" "$run" "$(ratio "$trim" "$run")" "missing" "-"
    fi
done
[[ -n $minify ]] || echo "minify is not installed (Debian: apt-get install minify); its column is empty"
