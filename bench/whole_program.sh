#!/usr/bin/env bash
# Times the whole program the way users call it, on generated files: `trimlet trim` on one
# big page, `trimlet run --yes` over a site of many pages on the real disk and in a memory
# file system, and `minify` on the same files when it is installed. Prints the median of
# each and the ratios, and the engine's in-memory throughput from trimlet-bench.
#
#   bench/whole_program.sh [BUILD_DIR]        (default build-release, a Release build)
#
# Environment: RUNS (5), PAGE_MB (110), SITE_PAGES (4000), DISK_DIR (/var/tmp),
# MEMORY_DIR (/dev/shm), CORPUS_TOOL (BUILD_DIR/bench/trimlet-corpus).
set -euo pipefail

build=${1:-build-release}
runs=${RUNS:-5}
page_mb=${PAGE_MB:-110}
site_pages=${SITE_PAGES:-4000}
trimlet=$build/trimlet
bench=$build/bench/trimlet-bench
corpus_tool=${CORPUS_TOOL:-$build/bench/trimlet-corpus}
minify=$(command -v minify || true)

for tool in "$trimlet" "$corpus_tool"; do
    [[ -x $tool ]] || { echo "missing $tool (cmake --build $build)" >&2; exit 2; }
done

disk=$(mktemp -d "${DISK_DIR:-/var/tmp}/trimlet-whole-XXXXXX")
memory=$(mktemp -d "${MEMORY_DIR:-/dev/shm}/trimlet-whole-XXXXXX")
trap 'rm -rf "$disk" "$memory"' EXIT
export TRIMLET_PROFILE=$disk/profile.ini

# Seconds (with milliseconds) one run of the command takes; its output goes to $out.
out=/dev/null
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >"$out" 2>/dev/null || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo "scale=3; ($end - $start) / 1000000000" | bc
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { echo "scale=2; $1 / $2" | bc; }
# The median of RUNS runs of the command, after `prepare` (if any) before each.
timed() {
    local prepare=$1
    shift
    for _ in $(seq "$runs"); do
        [[ -z $prepare ]] || eval "$prepare"
        seconds "$@"
    done | median
}

echo "== generating a ${page_mb} MB page and a site of ${site_pages} pages"
"$corpus_tool" page "$disk/page.html" "$page_mb"
mkdir -p "$disk/site"
"$corpus_tool" site "$disk/site" "$site_pages"
cp -r "$disk/site" "$memory/site"
for place in "$disk" "$memory"; do
    "$trimlet" task create --output-folder Trimlet "$place/site.trh" "$place"/site/*.html >/dev/null
done
# Files trimmed ahead are trusted only once they have been still for two seconds.
sleep 3
page_bytes=$(stat -c %s "$disk/page.html")
site_bytes=$(du -sb "$disk/site" | cut -f1)
echo "page: $page_bytes bytes; site: $site_bytes bytes"

echo "== one big page"
out=$disk/page.trimmed.html
trim_s=$(timed "" "$trimlet" trim "$disk/page.html")
trim_rss=$(/usr/bin/time -f %M "$trimlet" trim "$disk/page.html" 2>&1 >"$out" | tail -1)
trim_mib=$(echo "scale=1; $page_bytes / 1048576 / $trim_s" | bc)
echo "trimlet trim:     ${trim_s} s  (${trim_mib} MiB/s, peak $((trim_rss / 1024)) MiB = $(ratio "$trim_rss * 1024" "$page_bytes") x the file)"
if [[ -n $minify ]]; then
    out=$disk/page.minified.html
    minify_s=$(timed "" "$minify" --type html "$disk/page.html")
    echo "minify:           ${minify_s} s;  minify / trimlet = $(ratio "$minify_s" "$trim_s")"
fi
out=/dev/null
if [[ -x $bench ]]; then
    engine=$("$bench" --benchmark_filter='BM_TrimHtmlUtf8$' --benchmark_repetitions="$runs" \
        --benchmark_report_aggregates_only=true 2>/dev/null |
        awk '/_median/ {for (i = 1; i <= NF; i++) if ($i ~ /MiB\/s$/) {sub(/MiB\/s/, "", $i); print $i}}')
    if [[ -n $engine ]]; then
        echo "engine in memory: ${engine} MiB/s;  trimlet trim / engine = $(ratio "$trim_mib" "$engine")"
    fi
fi

echo "== a site of $site_pages pages"
for place in "$disk" "$memory"; do
    name=$([[ $place == "$disk" ]] && echo "real disk" || echo "memory")
    run_s=$(timed "rm -rf '$place/site/Trimlet'" "$trimlet" run --yes "$place/site.trh")
    echo "trimlet run ($name): ${run_s} s"
    if [[ -n $minify ]]; then
        minify_s=$(timed "rm -rf '$place/minified'" "$minify" -r -o "$place/minified/" "$place/site")
        echo "minify -r ($name):   ${minify_s} s;  minify / trimlet = $(ratio "$minify_s" "$run_s")"
    fi
done
