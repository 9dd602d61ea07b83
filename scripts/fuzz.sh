#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and
# runs each for a bounded number of executions and time. Exits non-zero on any finding; the
# input that caused it is kept in build-fuzz/findings/.
#
# Usage: scripts/fuzz.sh [--runs N] [--seconds S] [TARGET...]
#   --runs N     executions per target (default 1000000)
#   --seconds S  at most S seconds per target (default 600)
#   TARGET       fuzz_decode_text, fuzz_examine_line, fuzz_incremental_decode,
#                fuzz_line_reader, fuzz_escape_controls, fuzz_limits_parse
#                (default: all)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
runs=1000000
seconds=600
targets=()
while (($#)); do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        --seconds) seconds="$2"; shift 2 ;;
        -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
        *) targets+=("$1"); shift ;;
    esac
done
if ((${#targets[@]} == 0)); then
    targets=(fuzz_decode_text fuzz_examine_line fuzz_incremental_decode fuzz_line_reader fuzz_escape_controls
        fuzz_limits_parse)
fi

"$root/scripts/setup-deps.sh" --fuzz
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELORIN_FUZZ=ON -DPELORIN_BUILD_UI=OFF -DPELORIN_BUILD_TESTS=OFF -DPELORIN_BUILD_BENCH=OFF \
    >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

# Inputs that a good run starts from: telemetry lines among other lines, every line end.
seed_corpus() {
    local dir="$1"
    local frame="PLRN-1.TLM0001E240CC5CD0CCACCC86E878873875B6EBA0B80B904008006007004CC5004E04F01002001801C070090080085016012C8000010203FFFE"
    printf '%s' "$frame" >"$dir/seed-frame"
    printf 'beacon\r\n%s\r\n[12:00] x %s \n%s\rplrn-1.tlm%s' "$frame" "$frame" "$frame" "${frame:10}" \
        >"$dir/seed-lines"
    printf '\x05\x09\x00\x21%s\r\n\xff\xfe%s\r' "$frame" "$frame" >"$dir/seed-chunks"
}

mkdir -p "$build/findings"
total=0
for target in "${targets[@]}"; do
    corpus="$root/fuzz-corpus/$target"
    mkdir -p "$corpus"
    if [[ -z "$(ls -A "$corpus")" ]]; then
        seed_corpus "$corpus"
        [[ "$target" == fuzz_limits_parse ]] && cp "$root/samples/limits.ini" "$corpus/seed-limits"
    fi
    max_len=4096
    [[ "$target" == fuzz_line_reader ]] && max_len=16384
    log="$build/$target.log"
    echo "== $target: up to $runs runs or $seconds s"
    if ! "$build/fuzz/$target" -runs="$runs" -max_total_time="$seconds" -max_len="$max_len" \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$corpus" >"$log" 2>&1; then
        tail -40 "$log"
        echo "FINDING in $target: see $log and $build/findings/" >&2
        exit 1
    fi
    done_line="$(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
    echo "   $done_line"
    count="$(sed -E 's/^Done ([0-9]+) runs.*/\1/' <<<"$done_line")"
    total=$((total + count))
done
echo "fuzz: $total executions in total over ${#targets[@]} targets, no finding"
