#!/usr/bin/env bash
# Fuzzes the RTF reader with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   tools/fuzz.sh [seconds] [jobs]     (defaults: 600 seconds, 1 job)
#
# Builds tests/fuzz/fuzz_rtfreader.cpp with clang in build-fuzz/ (the main build uses g++ and
# never sees it), seeds the fuzzer with the RTF fixtures and tests/fuzz/corpus, runs it, and
# merges what it found into tests/fuzz/corpus, keeping the smallest set of small files that
# covers as much. Crashes, hangs and memory blow-ups land in build-fuzz/artifacts/; once fixed,
# copy them into tests/fuzz/corpus so that the corpus test replays them for ever: the merge
# replaces only the files it named itself (40 hex digits) and keeps every other name.
set -euo pipefail

seconds=${1:-600}
jobs=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
corpus=$root/tests/fuzz/corpus
maxLength=8192 # bytes: long inputs slow the fuzzer down and find nothing short ones do not
maxKept=16384  # bytes: a bigger file does not go into the committed corpus

fuzzerRuntime() {
    find /usr/lib/llvm-*/lib/clang -name 'libclang_rt.fuzzer-x86_64.a' 2>/dev/null | head -n 1
}

missing=()
command -v clang++ >/dev/null || missing+=(clang)
[[ -n $(fuzzerRuntime) ]] || missing+=(libclang-rt-dev)
command -v pkg-config >/dev/null || missing+=(pkg-config)
pkg-config --exists Qt6Gui 2>/dev/null || missing+=(qt6-base-dev)
if ((${#missing[@]})); then
    echo "Installing ${missing[*]}" >&2
    sudo=()
    [[ $(id -u) == 0 ]] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

mkdir -p "$build/work" "$build/artifacts" "$corpus"
binary=$build/fuzz_rtfreader
sources=("$root/tests/fuzz/fuzz_rtfreader.cpp" "$root/src/platform/RtfReader.cpp"
         "$root/src/platform/Windows1252.cpp")
stale=0
[[ -x $binary ]] || stale=1
for source in "${sources[@]}" "$root"/src/platform/Rtf*.h "$root/src/platform/Windows1252.h"; do
    [[ $source -nt $binary ]] && stale=1
done
if ((stale)); then
    echo "Building $binary" >&2
    # shellcheck disable=SC2046 # pkg-config gives one flag a word
    clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer -fPIC \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -Wall -Wextra -I"$root/src" $(pkg-config --cflags Qt6Gui) \
        "${sources[@]}" $(pkg-config --libs Qt6Gui) -o "$binary"
fi

# The fixtures are what real writers produce: the best seeds there are.
for fixture in "$root"/tests/platform/rtf/*.rtf; do
    cp "$fixture" "$build/work/seed-$(basename "$fixture")"
done

echo "Fuzzing for $seconds seconds with $jobs job(s)" >&2
status=0
fuzzArgs=(-max_total_time="$seconds" -max_len="$maxLength" -timeout=10 -rss_limit_mb=2048
          -dict="$root/tests/fuzz/rtf.dict" -artifact_prefix="$build/artifacts/"
          -print_final_stats=1)
if ((jobs > 1)); then
    fuzzArgs+=(-fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
fi
(cd "$build" && "$binary" "${fuzzArgs[@]}" "$build/work" "$corpus") || status=$?

# Merge: the smallest inputs that together reach every branch the old corpus and this run reached.
# How often a branch runs is left out (-use_counters=0): counting it keeps thousands of files, and
# the full corpus stays in build-fuzz/work for the next run anyway.
echo "Merging into $corpus" >&2
previous=$(mktemp -d)
merged=$(mktemp -d)
trap 'rm -rf "$previous" "$merged"' EXIT
find "$corpus" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' \
    -exec mv -t "$previous" {} +
if ! "$binary" -merge=1 -use_counters=0 -max_len="$maxLength" "$merged" "$previous" "$build/work" \
        >"$build/merge.log" 2>&1; then
    echo "Merge failed, see $build/merge.log; the old corpus stays" >&2
    mv "$previous"/* "$corpus"/ 2>/dev/null || true
    exit 1
fi
find "$merged" -type f -size +"$maxKept"c -delete
mv "$merged"/* "$corpus"/ 2>/dev/null || true
echo "Corpus: $(find "$corpus" -type f | wc -l) files, $(du -sh "$corpus" | cut -f1)" >&2

shopt -s nullglob
artifacts=("$build"/artifacts/*)
if ((${#artifacts[@]})); then
    echo "Found ${#artifacts[@]} problem input(s):" >&2
    printf '  %s\n' "${artifacts[@]}" >&2
    status=1
fi
exit "$status"
