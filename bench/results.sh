# Sourced by the benchmark scripts: each measure is recorded once, and ./dev bench prints them
# all in one table at the end.
#   record_result MEASURE FIGURE TARGET met|missed|reported
# MORVO_BENCH_RESULTS names the file that collects them (tab-separated); a script run alone
# only prints its own lines.
record_result() {
  [ -n "${MORVO_BENCH_RESULTS:-}" ] && printf '%s\t%s\t%s\t%s\n' "$@" >>"$MORVO_BENCH_RESULTS"
  return 0
}

# met or missed: whether FIGURE OP LIMIT holds (OP is >= or <=).
verdict() {  # FIGURE OP LIMIT
  awk -v f="$1" -v op="$2" -v l="$3" 'BEGIN {
    ok = (op == ">=") ? (f + 0 >= l + 0) : (f + 0 <= l + 0); print ok ? "met" : "missed" }'
}
