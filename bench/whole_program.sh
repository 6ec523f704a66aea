#!/usr/bin/env bash
# Times the whole program the way users call it, on generated files: `trimlet trim` on one
# big page, `trimlet run --yes` over a site of many pages on the real disk and in a memory
# file system, and `minify` on the same files when it is installed. Prints the median of
# each and the ratios, and the engine's in-memory throughput from trimlet-bench (on its
# corpus and on the same page) to compare `trimlet trim` with.
#
#   bench/whole_program.sh [BUILD_DIR [OTHER_BUILD_DIR]]   (default build-release, Release)
#
# With a second build folder (another version's Release build), the two programs take
# turns run by run (one, the other, one, ...), so that a change in the machine's load
# falls on both alike; each gets its medians and the ratio BUILD_DIR / OTHER_BUILD_DIR.
# minify and the engine's rates are left out then.
#
# Environment: RUNS (5), PAGE_MB (110), SITE_PAGES (4000), DISK_DIR (/var/tmp),
# MEMORY_DIR (/dev/shm), CORPUS_TOOL (BUILD_DIR/bench/trimlet-corpus).
set -euo pipefail

build=${1:-build-release}
other=${2:-}
runs=${RUNS:-5}
page_mb=${PAGE_MB:-110}
site_pages=${SITE_PAGES:-4000}
trimlet=$build/trimlet
bench=$build/bench/trimlet-bench
corpus_tool=${CORPUS_TOOL:-$build/bench/trimlet-corpus}
minify=$(command -v minify || true)
# minify keeping what trimlet keeps, so that both do comparable work.
minify_options=(--type html --html-keep-document-tags --html-keep-end-tags --html-keep-quotes
    --html-keep-default-attrvals)

for tool in "$trimlet" "$corpus_tool" ${other:+"$other/trimlet"}; do
    [[ -x $tool ]] || { echo "missing $tool (cmake --build $build)" >&2; exit 2; }
done

disk=$(mktemp -d "${DISK_DIR:-/var/tmp}/trimlet-whole-XXXXXX")
memory=$(mktemp -d "${MEMORY_DIR:-/dev/shm}/trimlet-whole-XXXXXX")
trap 'rm -rf "$disk" "$memory"' EXIT
export TRIMLET_PROFILE=$disk/profile.ini

# One run of the command: "WALL CPU" in seconds (CPU = user + system); output to $out.
out=/dev/null
seconds() {
    local times=$disk/times
    /usr/bin/time -f "%e %U %S" -o "$times" "$@" >"$out" 2>/dev/null ||
        { echo "failed: $*" >&2; exit 1; }
    awk '{printf "%s %.2f\n", $1, $2 + $3}' "$times"
}
# The median of a column of numbers.
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# Medians of the WALL and CPU columns of its input: "WALL CPU".
medians() {
    local lines
    lines=$(cat)
    echo "$(cut -d' ' -f1 <<<"$lines" | median) $(cut -d' ' -f2 <<<"$lines" | median)"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
# The medians of RUNS runs of the command, after `prepare` (if any) before each.
timed() {
    local prepare=$1
    shift
    for _ in $(seq "$runs"); do
        [[ -z $prepare ]] || eval "$prepare"
        seconds "$@"
    done | medians
}
# "NAME: WALL s wall, CPU s CPU" from "WALL CPU".
show() { printf '%-24s %s s wall, %s s CPU\n' "$1:" $2; }

if [[ -n ${PAGE:-} ]]; then
    echo "== the page $PAGE"
    cp "$PAGE" "$disk/page.html"
else
    echo "== generating a ${page_mb} MB page"
    "$corpus_tool" page "$disk/page.html" "$page_mb"
fi
mkdir -p "$disk/site"
if [[ -n ${SITE:-} ]]; then
    echo "== the pages below $SITE"
    (cd "$SITE" && find . -type f \( -name '*.html' -o -name '*.htm' \) -print0 |
        tar --null -T - -cf -) | tar -C "$disk/site" -xf -
    site_pages=$(find "$disk/site" -type f | wc -l)
else
    echo "== generating a site of ${site_pages} pages"
    "$corpus_tool" site "$disk/site" "$site_pages"
fi
cp -r "$disk/site" "$memory/site"
for place in "$disk" "$memory"; do
    find "$place/site" -type f -print0 | sort -z >"$place/site.list"
    xargs -0 "$trimlet" task create --append --output-folder Trimlet "$place/site.trh" \
        <"$place/site.list" >/dev/null
    # The other version reads a task file it wrote itself.
    [[ -z $other ]] || xargs -0 "$other/trimlet" task create --append --output-folder Trimlet \
        "$place/site.other.trh" <"$place/site.list" >/dev/null
done
# Files trimmed ahead are trusted only once they have been still for two seconds.
sleep 3
page_bytes=$(stat -c %s "$disk/page.html")
site_bytes=$(du -sb "$disk/site" | cut -f1)
echo "page: $page_bytes bytes; site: $site_bytes bytes"

# Both versions in turn: "THIS_WALL THIS_CPU OTHER_WALL OTHER_CPU", medians of RUNS runs
# each, after `prepare` (if any) before each run. In the command, @TRIMLET@ and @TASK@ stand
# for the version's program and its task file name (site.trh or site.other.trh).
in_turn() {
    local prepare=$1 this=$disk/this.times that=$disk/other.times
    shift
    : >"$this"
    : >"$that"
    for _ in $(seq "$runs"); do
        for side in this other; do
            local program=$trimlet task=site.trh log=$this
            [[ $side == this ]] || { program=$other/trimlet; task=site.other.trh; log=$that; }
            [[ -z $prepare ]] || eval "$prepare"
            local args=()
            for a in "$@"; do
                a=${a//@TRIMLET@/$program}
                args+=("${a//@TASK@/$task}")
            done
            seconds "${args[@]}" >>"$log"
        done
    done
    echo "$(medians <"$this") $(medians <"$that")"
}
# "NAME: this WALL s (CPU s CPU), other WALL s (CPU s CPU), ratio WALL (CPU)".
show_pair() {
    printf '%-24s %s s wall (%s s CPU) against %s s wall (%s s CPU): %s x wall, %s x CPU\n' \
        "$1:" "$2" "$3" "$4" "$5" "$(ratio "$2" "$4")" "$(ratio "$3" "$5")"
}
if [[ -n $other ]]; then
    echo "== $build against $other, in turn (medians of $runs runs each;" \
        "the machine's load: $(cut -d' ' -f1 /proc/loadavg))"
    out=$disk/page.trimmed.html
    show_pair "trimlet trim (page)" $(in_turn "" @TRIMLET@ trim "$disk/page.html")
    out=/dev/null
    for place in "$disk" "$memory"; do
        name=$([[ $place == "$disk" ]] && echo "real disk" || echo "memory")
        clean_outputs="find '$place/site' -name Trimlet -type d -prune -exec rm -rf {} +"
        show_pair "trimlet run ($name)" \
            $(in_turn "$clean_outputs" @TRIMLET@ run --yes "$place/@TASK@")
    done
    echo "(the machine's load at the end: $(cut -d' ' -f1 /proc/loadavg))"
    exit 0
fi

echo "== one big page (medians of $runs runs; the machine's load: $(cut -d' ' -f1 /proc/loadavg))"
out=$disk/page.trimmed.html
read -r trim_wall trim_cpu < <(timed "" "$trimlet" trim "$disk/page.html")
trim_rss=$(/usr/bin/time -f %M "$trimlet" trim "$disk/page.html" 2>&1 >"$out" | tail -1)
trim_mib=$(echo "scale=1; $page_bytes / 1048576 / $trim_wall" | bc)
trim_cpu_mib=$(echo "scale=1; $page_bytes / 1048576 / $trim_cpu" | bc)
show "trimlet trim" "$trim_wall $trim_cpu"
echo "  ${trim_mib} MiB/s of wall time (${trim_cpu_mib} of CPU time, helper threads included);" \
    "peak memory $((trim_rss / 1024)) MiB = $(ratio "$((trim_rss * 1024))" "$page_bytes") x the file"
if [[ -n $minify ]]; then
    out=$disk/page.minified.html
    read -r minify_wall minify_cpu < <(timed "" "$minify" "${minify_options[@]}" "$disk/page.html")
    show "minify" "$minify_wall $minify_cpu"
    echo "  (minify ${minify_options[*]})"
    echo "  minify / trimlet: $(ratio "$minify_wall" "$trim_wall") wall, $(ratio "$minify_cpu" "$trim_cpu") CPU"
fi
out=/dev/null
# The engine in memory (Google Benchmark's rate, per CPU second of its one thread): on the
# 8 MB corpus that fits the caches, and on the very same page, read once.
engine_rate() {
    awk '/_median/ {for (i = 1; i <= NF; i++) if ($i ~ /bytes_per_second=/) {
        sub(/.*=/, "", $i); v = $i + 0; if ($i ~ /G/) v *= 1024; print v}}'
}
if [[ -x $bench ]]; then
    engine=$("$bench" --benchmark_filter='BM_TrimHtmlUtf8$' --benchmark_repetitions="$runs" \
        --benchmark_report_aggregates_only=true 2>/dev/null | engine_rate)
    engine_page=$(TRIMLET_BENCH_PAGE=$disk/page.html "$bench" --benchmark_filter='BM_TrimHtmlPage$' \
        --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null | engine_rate)
    if [[ -n $engine && -n $engine_page ]]; then
        echo "engine in memory:        ${engine} MiB/s on the 8 MB corpus, ${engine_page} MiB/s on this page"
        echo "  trimlet trim / engine: $(ratio "$trim_mib" "$engine") of the corpus rate," \
            "$(ratio "$trim_mib" "$engine_page") of the rate on this page"
    fi
fi

echo "== a site of $site_pages pages"
for place in "$disk" "$memory"; do
    name=$([[ $place == "$disk" ]] && echo "real disk" || echo "memory")
    # Each folder of pages gets its own output folder.
    clean_outputs="find '$place/site' -name Trimlet -type d -prune -exec rm -rf {} +"
    read -r run_wall run_cpu < <(timed "$clean_outputs" "$trimlet" run --yes "$place/site.trh")
    show "trimlet run ($name)" "$run_wall $run_cpu"
    if [[ -n $minify ]]; then
        read -r minify_wall minify_cpu < <(timed "$clean_outputs; rm -rf '$place/minified'" "$minify" "${minify_options[@]}" -r -o "$place/minified/" "$place/site")
        show "minify -r ($name)" "$minify_wall $minify_cpu"
        echo "  minify / trimlet: $(ratio "$minify_wall" "$run_wall") wall, $(ratio "$minify_cpu" "$run_cpu") CPU"
    fi
done
