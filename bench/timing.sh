# Sourced by the benchmark scripts: timings of Linux commands and the figures made of them.
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }  # START
# Seconds COMMAND takes. Dirty pages of an earlier step must not slow down the next one: each
# timing starts synced.
seconds() { local start; sync; start=$(now); "$@" >/dev/null; since "$start"; }
best() { printf '%s\n' "$@" | sort -g | head -1; }  # the smallest of the figures given
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }  # A / B
