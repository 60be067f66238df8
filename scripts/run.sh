#!/usr/bin/env bash
# The main job: the two-lock waterway as one distributed simulation.
# Installs what is missing, builds the release configuration, starts
# zorva-server and both lock programs, waits for all three and prints what
# happened. Usage: scripts/run.sh [END_TIME]   (default 1000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

until_time=${1:-1000}
if ! [[ $until_time =~ ^[0-9]+(\.[0-9]+)?$ ]]; then
  echo "run: the end time must be a number such as 1000, not '$until_time'" >&2
  exit 2
fi

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target zorva-server obrimwest obrimeast

bin=$root/build/release
run_dir=$root/build/run
rm -rf "$run_dir"
mkdir -p "$run_dir"
cd "$run_dir"

# Nothing started here may outlive the script, whatever ends it.
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$bin/server/zorva-server" --until "$until_time" >server.out 2>&1 &
server_pid=$!
pids+=("$server_pid")
for _ in $(seq 50); do
  grep -q '^listening on' server.out 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q '^listening on' server.out 2>/dev/null; then
  echo "run: zorva-server did not start (is port 52623 in use?):" >&2
  cat server.out >&2
  exit 1
fi

mode=()
[ -n "${DISPLAY:-}" ] || mode=(--headless)
# A frame of each lock at time 500 from its overview camera, when the run
# gets there.
frame_at=500
frame=()
awk -v u="$until_time" -v t="$frame_at" 'BEGIN { exit !(u >= t) }' && frame=(--camera Overview --snapshot)
# Each program runs in its own folder, where its camera positions lie.
start_model() {  # program, short name
  local snapshot=()
  [ ${#frame[@]} -eq 0 ] || snapshot=("${frame[@]}" "$frame_at:$run_dir/$2_$frame_at.png")
  (cd "$bin/models" && exec "./$1" "${mode[@]}" --server 127.0.0.1 --start --exit-at-end \
    --trace-file "$run_dir/$2.trace" --report "$run_dir/$2.json" "${snapshot[@]}") >"$2.out" 2>&1 &
  pids+=("$!")
}
start_model obrimwest west
west_pid=$!
start_model obrimeast east
east_pid=$!

# A run that hangs is a failure, not a wait for ever: a minute plus ten
# seconds per 1000 time units.
deadline=$((SECONDS + 60 + ${until_time%.*} / 100))
while kill -0 "$server_pid" 2>/dev/null || kill -0 "$west_pid" 2>/dev/null || kill -0 "$east_pid" 2>/dev/null; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "run: the simulation did not end in time; see $run_dir" >&2
    exit 1
  fi
  sleep 0.2
done
# What an exit code means: a lock program lists its codes under "Exit
# codes:" in its --help; the server ends with 1 when a model left early.
model_exit_meaning() {  # code
  "$bin/models/obrimwest" --help | awk -v code="$1" '
    /^Exit codes:/ { table = 1; next }
    table && $1 == code && !found { sub(/^ *[0-9]+ +/, ""); print; found = 1 }'
}
server_exit_meaning() {  # code
  [ "$1" -ne 1 ] || echo "a model left before the end"
}

failed=0
status_of() {  # pid, program, its output, meaning of its exit codes
  local code=0 meaning
  wait "$1" || code=$?
  [ "$code" -eq 0 ] && return
  if [ "$code" -gt 128 ]; then meaning="killed by signal $((code - 128))"; else meaning=$("$4" "$code"); fi
  echo "$2: ${meaning:-ended abnormally} (exit $code); see $run_dir/$3" >&2
  # The program's own account of what failed.
  grep "^$2: " "$3" | sed 's/^/  /' >&2 || true
  failed=1
}
status_of "$server_pid" zorva-server server.out server_exit_meaning
status_of "$west_pid" obrimwest west.out model_exit_meaning
status_of "$east_pid" obrimeast east.out model_exit_meaning
pids=()

# Ships born from the trace; hand-overs (the model's figures) and queue
# statistics from the report, one JSON key a line.
summary() {  # short name, title, own ship name
  local name=$1 title=$2 own=$3
  if [ ! -s "$name.json" ] || [ ! -f "$name.trace" ]; then
    echo "run: $title wrote no report or trace" >&2
    failed=1
    return
  fi
  awk -v own="$own" -v title="$title" -v until="$until_time" '
    FNR == NR {
      if ($4 == "starts" && $5 == "at" && index($3, own) == 1) born++
      next
    }
    /"figures": \{/ { infigures = 1; next }
    infigures && /\}/ { infigures = 0; next }
    infigures && match($0, /"[^"]+"/) {
      value = $NF; gsub(/,/, "", value); figure[substr($0, RSTART + 1, RLENGTH - 2)] = value
      next
    }
    /"clock":/ { gsub(/[",]/, "", $2); clock = $2 }
    /\{/ { delete field }
    /"[a-zA-Z]+":/ { key = $1; gsub(/[":]/, "", key); value = $2; gsub(/[",]/, "", value); field[key] = value }
    /\}/ && ("name" in field) {
      q = field["name"]; names[++n] = q
      for (key in field) stat[q, key] = field[key]
      delete field
    }
    END {
      for (i = 1; i <= n; i++) if (names[i] == "Lock") passed = stat["Lock", "totalPassed"]
      printf "%s (clock %.2f)\n", title, clock
      printf "  ships born %d, passed %d, handed over %d, received %d, undelivered %d\n", born, passed,
             figure["hand-overs sent"], figure["hand-overs received"], figure["hand-overs undelivered"]
      printf "  %-14s %7s %10s %7s %10s %10s\n", "queue", "passed", "avg len", "max len", "avg wait", "max wait"
      for (i = 1; i <= n; i++) {
        q = names[i]
        printf "  %-14s %7d %10.2f %7d %10.2f %10.2f\n", q, stat[q, "totalPassed"], stat[q, "avgLength"],
               stat[q, "maxLength"], stat[q, "avgWaitingTime"], stat[q, "maxWaitingTime"]
      }
      if (clock + 0 != until + 0) { printf "run: %s ended at %.2f instead of %.2f\n", title, clock, until > "/dev/stderr"; exit 1 }
    }' "$name.trace" "$name.json" || failed=1
}

echo
echo "Two-lock waterway to time $until_time (traces, reports and frames in $run_dir)"
summary west "West lock (obrimwest)" ShipL
summary east "East lock (obrimeast)" ShipR
exit "$failed"
