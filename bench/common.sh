# Shared by the rip benchmarks: sourced, not run. After `bench_prepare`:
# $work holds disc.bin/disc.cue, and $track, $first, $last name its longest
# audio track. `measure NAME CMD...` times one command into $work/NAME.time;
# `bench_report PEER_LABEL` prints both sets of figures with the ratios.

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${CALVENOR_BUILD:-$root/build}

bench_require() { # tools...
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "missing $tool (Debian packages: time, cd-paranoia, lame, python3)" >&2; exit 1; }
    done
}

bench_prepare() { # tracks keep
    local tracks=$1 keep=$2
    if [ ! -x "$build/calvenor-rip" ]; then
        echo "building calvenor-rip in $build" >&2
        cmake -S "$root" -B "$build" >/dev/null
        cmake --build "$build" --target calvenor-rip -j"$(nproc)" >/dev/null
    fi
    work=${BENCH_DIR:-$(mktemp -d /tmp/calvenor-bench.XXXXXX)}
    mkdir -p "$work"
    if [ "$keep" = no ] && [ -z "${BENCH_DIR:-}" ]; then
        trap 'rm -rf "$work"' EXIT
    fi
    echo "making the disc image in $work (tracks of $tracks seconds)"
    "$here/make-image" "$work/disc" --tracks "$tracks" > "$work/tracks.txt"
    read -r track first last < <(awk '$2 == "AUDIO" { print $1, $3, $4, $4 - $3 }' "$work/tracks.txt" \
                                  | sort -k4,4nr | head -n1 | cut -d' ' -f1-3)
    local seconds=$(( (last - first + 1) / 75 ))
    echo "longest track: $track, sectors $first..$last ($((seconds / 60)) min $((seconds % 60)) s)"
    cat "$work/disc.bin" > /dev/null # both readers start from a warm page cache
}

measure() { # name, command...
    local name=$1; shift
    /usr/bin/time -f '%e %U %S %M' -o "$work/$name.time" "$@" > "$work/$name.log" 2>&1 || {
        echo "$name failed:" >&2; cat "$work/$name.log" >&2; exit 1; }
}

bench_report() { # peer label
    python3 - "$work" "$1" <<'PY'
import sys
work, peer_label = sys.argv[1], sys.argv[2]

def figures(name):
    wall, user, sys_, rss = open(work + "/" + name + ".time").read().split()
    return float(wall), float(user) + float(sys_), int(rss)

ours, peer = figures("ours"), figures("peer")
print()
print("%-22s %12s %14s %8s" % ("", "calvenor-rip", peer_label, "ratio"))
for label, i, fmt in (("wall time (s)", 0, "%.2f"), ("CPU time (s)", 1, "%.2f"), ("peak memory (KiB)", 2, "%d")):
    ratio = ours[i] / peer[i] if peer[i] else float("nan")
    print("%-22s %12s %14s %8.2f" % (label, fmt % ours[i], fmt % peer[i], ratio))
PY
}
