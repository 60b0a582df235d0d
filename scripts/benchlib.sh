# Shared helpers of the benchmark scripts. Source it; do not run it.
# The machine is shared, so one run says little: every comparison runs its sides in
# turn, TW_BENCH_RUNS times each (at least 5), and judges the medians.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

TW_BENCH_RUNS=$(( ${TW_BENCH_RUNS:-5} < 5 ? 5 : ${TW_BENCH_RUNS:-5} ))

# A throwaway prefix on a private Xvfb with a warm wineserver, removed on exit. Sets
# TW_BENCH_WORK. The benchmark programs delete for real: never the default prefix.
tw_bench_prefix() {
  TW_BENCH_WORK=$(mktemp -d /tmp/tw-bench.XXXXXX)
  trap tw_bench_cleanup EXIT
  tw_make_prefix "$TW_BENCH_WORK/prefix"
  tw_unmanaged_windows "$TW_BENCH_WORK/prefix"
  tw_need_display --private
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
  tw_log "machine load before measuring: $(cut -d' ' -f1-3 /proc/loadavg)"
}

tw_bench_cleanup() {
  WINEPREFIX=$TW_BENCH_WORK/prefix wineserver -k 2>/dev/null || true
  tw_stop_display
  tw_unmount_drives
  rm -rf "$TW_BENCH_WORK"
}

# Seconds since the epoch, to the nanosecond.
tw_now() { date +%s.%N; }

# Prints what `count` units in the time from `start` to `end` make per second.
tw_rate() { awk -v n="$1" -v s="$2" -v e="$3" 'BEGIN { printf "%.4f\n", n / (e - s) }'; }

# tw_compare TITLE UNIT REF_NAME REF_COMMAND [NAME COMMAND GOAL]...
# Runs the reference and every other side in turn (the order rotates from round to
# round), TW_BENCH_RUNS rounds. Each command is run by eval and prints its measure
# (seconds, MB/s, ...) as the last line of its output. Prints every measure, the
# medians and, for each side, median / reference median against its GOAL, which is
# "<=x" or ">=x", or "" for a side shown for comparison only, with every run and the
# spread (lowest-highest). Leaves the medians, in the order of the sides, in TW_MEDIANS.
# With TW_COMPARE_PER="COUNT NOUN" (sides timed in seconds over COUNT NOUNs, "12000
# file"), every median and ratio also shows what one NOUN cost, in microseconds, so
# that a reader sees where the time goes on the machine the script ran on.
tw_compare() {
  local title=$1 unit=$2; shift 2
  local names=() commands=() goals=()
  names+=("$1"); commands+=("$2"); goals+=(""); shift 2
  while [ $# -gt 0 ]; do
    names+=("$1"); commands+=("$2"); goals+=("$3"); shift 3
  done
  local sides=${#names[@]} round i k out values=()
  tw_log "$title: ${names[*]}, $TW_BENCH_RUNS rounds in turn"
  for ((round = 0; round < TW_BENCH_RUNS; round++)); do
    for ((k = 0; k < sides; k++)); do
      i=$(( (k + round) % sides ))
      out=$(eval "${commands[$i]}" | tail -n1 | tr -d '\r')
      [[ $out =~ ^[0-9.]+$ ]] || { echo "$title: ${names[$i]} printed '$out'" >&2; return 1; }
      values[$i]="${values[$i]:-} $out"
    done
  done
  echo "$title ($unit, median of $TW_BENCH_RUNS alternated runs; load $(cut -d' ' -f1 /proc/loadavg))"
  local medians=()
  for ((i = 0; i < sides; i++)); do
    medians[$i]=$(tr ' ' '\n' <<<"${values[$i]}" | grep . | sort -g |
                  awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
    printf '  %-28s median %10.4f%s   runs:%s   (spread %s)\n' "${names[$i]}" "${medians[$i]}" \
      "$(tw_per_unit "${medians[$i]}")" "${values[$i]}" \
      "$(tr ' ' '\n' <<<"${values[$i]}" | grep . | sort -g | sed -n '1p;$p' | paste -sd- -)"
  done
  TW_MEDIANS=("${medians[@]}")
  for ((i = 1; i < sides; i++)); do
    awk -v a="${medians[$i]}" -v b="${medians[0]}" -v goal="${goals[$i]}" -v n="${names[$i]}" \
        -v r="${names[0]}" -v per="${TW_COMPARE_PER:-}" 'BEGIN {
      ratio = a / b; op = substr(goal, 1, 2); limit = substr(goal, 3) + 0
      costs = ""
      if (split(per, p, " ") == 2)
        costs = sprintf(" [per %s: %.1f us beside %.1f us]", p[2], a * 1e6 / p[1], b * 1e6 / p[1])
      if (goal == "") { printf "  ratio %s / %s: %.3f%s\n", n, r, ratio, costs; exit }
      met = (op == "<=") ? ratio <= limit : ratio >= limit
      printf "  ratio %s / %s: %.3f (goal %s %s): %s%s\n", n, r, ratio, op, limit,
             met ? "met" : "MISSED", costs
    }'
  done
}

# " (N us per NOUN)" for a median in seconds under TW_COMPARE_PER, else nothing.
tw_per_unit() {
  awk -v s="$1" -v per="${TW_COMPARE_PER:-}" 'BEGIN {
    if (split(per, p, " ") == 2) printf " (%.1f us per %s)", s * 1e6 / p[1], p[2]
  }'
}

# tw_waits TITLE GOAL VALUE...: longest message waits in seconds, one per run, with their
# median (judged against GOAL, at most that many seconds) and spread.
tw_waits() {
  local title=$1 goal=$2; shift 2
  printf '%s\n' "$@" | sort -g | awk -v load="$(cut -d' ' -f1 /proc/loadavg)" -v title="$title" \
      -v goal="$goal" '
    { v[NR] = $1 }
    END {
      median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%s: longest message wait (s, %d runs; load %s)\n", title, NR, load
      printf "  median %.3f, spread %.3f to %.3f (goal <= %s): %s\n", median, v[1], v[NR], goal,
             median <= goal ? "met" : "MISSED"
    }'
}
