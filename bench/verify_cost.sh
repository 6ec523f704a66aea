#!/usr/bin/env bash
# Times verification against a plain trim on generated files: `trimlet trim` and
# `trimlet trim --verify` on one page under the verification limit and on one above it (the
# check is skipped there), and `trimlet run --yes` with and without --verify over a site of
# many pages. Prints the median of each and the ratio.
#
#   bench/verify_cost.sh [BUILD_DIR]        (default build-release)
#
# Environment: RUNS (5), PAGE_MB (19), BIG_PAGE_MB (110), SITE_PAGES (4000),
# WORK_DIR (/var/tmp).
set -euo pipefail

build=${1:-build-release}
runs=${RUNS:-5}
trimlet=$build/trimlet
corpus_tool=$build/bench/trimlet-corpus
for tool in "$trimlet" "$corpus_tool"; do
    [[ -x $tool ]] || { echo "missing $tool (cmake --build $build)" >&2; exit 2; }
done
work=$(mktemp -d "${WORK_DIR:-/var/tmp}/trimlet-verify-XXXXXX")
trap 'rm -rf "$work"' EXIT
export TRIMLET_PROFILE=$work/profile.ini

# The median wall time in seconds of `runs` runs of the command.
median() {
    local times=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s.%N)
        times+=("$(echo "$end - $start" | bc)")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

report() {
    local name=$1 plain=$2 verified=$3
    printf '%-34s %8.3f s %8.3f s %6.1fx\n' "$name" "$plain" "$verified" \
        "$(echo "$verified / $plain" | bc -l)"
}

"$corpus_tool" page "$work/page.html" "${PAGE_MB:-19}"
"$corpus_tool" page "$work/big.html" "${BIG_PAGE_MB:-110}"
mkdir -p "$work/site"
"$corpus_tool" site "$work/site" "${SITE_PAGES:-4000}"
(cd "$work/site" && "$OLDPWD/$trimlet" task create --output-folder out "$work/site.trh" ./*.html \
    >/dev/null)

printf '%-34s %10s %10s %7s\n' "" "trim" "--verify" "ratio"
report "page ${PAGE_MB:-19} MB" "$(median "$trimlet" trim "$work/page.html" -o "$work/out.html")" \
    "$(median "$trimlet" trim --verify "$work/page.html" -o "$work/out.html")"
report "page ${BIG_PAGE_MB:-110} MB (check skipped)" \
    "$(median "$trimlet" trim "$work/big.html" -o "$work/out.html")" \
    "$(median "$trimlet" trim --verify "$work/big.html" -o "$work/out.html")"
report "site ${SITE_PAGES:-4000} pages (run)" \
    "$(median "$trimlet" run --yes --overwrite=all "$work/site.trh")" \
    "$(median "$trimlet" run --yes --overwrite=all --verify "$work/site.trh")"
