#!/usr/bin/env bash
# What a model author does with Zorva, checked on a built tree: install it
# into a fresh prefix, build the model templates against the install
# (find_package(Zorva), zorva_add_model), run the model headless and read its
# report, run the coupled template through zorva-server. When dpkg-deb is
# there, also build the Debian package and check what it holds.
#   scripts/check-install.sh [BUILD_DIR]     (default build/release, built)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/release}

# Each step with the seconds the script has taken so far, to keep CI time in view.
step() { echo "check-install: [${SECONDS}s] $*"; }
fail() {
  echo "check-install: FAILED: $*" >&2
  exit 1
}

[ -f "$build/CMakeCache.txt" ] ||
  { echo "check-install: $build is not a configured build (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
prefix=$work/prefix
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen

step "installing $build into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; }

# Every quoted include of an installed header lies in the install, and the
# framework's internal headers (the windows' classes) stay out of it.
include=$prefix/include/zorva
while IFS= read -r header; do
  while IFS= read -r target; do
    [[ $target == */* ]] || target=$(dirname "${header#"$include"/}")/$target
    [ -f "$include/$target" ] || fail "${header#"$prefix"/} includes \"$target\", which is not installed"
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/p' "$header")
done < <(find "$include" -name '*.h')
for internal in ui/zorva_form.h engine/engine_state.h animation/animation_windows.h; do
  [ ! -e "$include/$internal" ] || fail "the internal header $internal is installed"
done

for program in zorva-server obrimwest obrimeast; do
  said=$("$prefix/bin/$program" --version) || fail "$program --version ended with $?"
  [ "$said" = "$program $version" ] || fail "$program --version said '$said', not '$program $version'"
done

# The Qt-free part through pkg-config, as a plain compiler command (the
# rpath for when the libraries are shared and the prefix is not the system's).
step "building the M/M/1 example with pkg-config"
PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --exists "zorva-kernel = $version" ||
  fail "pkg-config does not find zorva-kernel $version in $prefix/lib/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++20 -O1 examples/mm1_model.cpp -o "$work/mm1" -Wl,-rpath,"$prefix/lib" \
  $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs zorva-kernel)
"$work/mm1" | grep -qE 'Passed +[1-9]' || fail "the M/M/1 example built with pkg-config did not serve anybody"

for template in model coupled; do
  step "building templates/$template against the install"
  cmake -S "$prefix/share/zorva/templates/$template" -B "$work/$template" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" >"$work/$template.log" || { cat "$work/$template.log" >&2; fail "configuring templates/$template"; }
  cmake --build "$work/$template" -j 2 >>"$work/$template.log" || { cat "$work/$template.log" >&2; fail "building templates/$template"; }
done

step "running the model template headless"
(cd "$work" && "$work/model/queue_model" --headless --server none --stop-time 100 --start --exit-at-end \
  --report "$work/model.json") || fail "queue_model ended with $?"
python3 - "$work/model.json" "$version" <<'PY' || fail "the model template's report is not as expected"
import json, sys
report = json.load(open(sys.argv[1]))
queues = {q["name"]: q for q in report["queues"]}
problems = []
if report.get("model") != "queue_model": problems.append(f"model is {report.get('model')!r}")
if report.get("version") != sys.argv[2]: problems.append(f"version is {report.get('version')!r}")
if report.get("clock") != 100: problems.append(f"clock is {report.get('clock')!r}")
if queues.get("Waiting", {}).get("totalPassed", 0) < 50: problems.append("the queue Waiting passed fewer than 50")
if report.get("figures", {}).get("customers served", 0) < 50: problems.append("fewer than 50 customers served")
for p in problems: print("check-install: report:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
PY

step "running the coupled template through zorva-server"
# An address of its own on the loopback network, so that other servers on
# this machine (tests, another checkout's run) cannot take the port.
address=127.$((RANDOM % 200 + 20)).$((RANDOM % 250 + 1)).$((RANDOM % 250 + 1))
(cd "$work" && exec "$prefix/bin/zorva-server" --bind "$address" --models 2 --until 100 >server.out 2>&1) &
server_pid=$!
pids+=("$server_pid")
for _ in $(seq 50); do
  grep -q '^listening on' "$work/server.out" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
grep -q '^listening on' "$work/server.out" || { cat "$work/server.out" >&2; fail "zorva-server did not start on $address"; }
for model in receiver sender; do
  (cd "$work" && exec timeout 60 "$work/coupled/$model" --headless --server "$address" --start --exit-at-end --report "$model.json" \
    >"$model.out" 2>&1) &
  pids+=("$!")
done
for pid in "${pids[@]}"; do
  wait "$pid" || { cat "$work"/server.out "$work"/sender.out "$work"/receiver.out >&2; fail "the coupled run: a program ended with $?"; }
done
pids=()
python3 - "$work/sender.json" "$work/receiver.json" <<'PY' || fail "the coupled template's reports are not as expected"
import json, sys
sent = json.load(open(sys.argv[1]))["figures"].get("parcels sent", 0)
receiver = json.load(open(sys.argv[2]))
received = receiver["figures"].get("parcels received", 0)
shelf = {q["name"]: q for q in receiver["queues"]}.get("Shelf", {})
if sent < 10 or received != sent or shelf.get("totalPassed", 0) < 10:
    print(f"check-install: {sent} parcels sent, {received} received, "
          f"{shelf.get('totalPassed', 0)} passed the shelf", file=sys.stderr)
    sys.exit(1)
PY

if command -v dpkg-deb >/dev/null; then
  step "building the Debian package"
  deb=$(bash scripts/package.sh "$build" "$work/package" | tail -n 1)
  [ "$(basename "$deb")" = "zorva_${version}_amd64.deb" ] || fail "the package is named $(basename "$deb")"
  dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/deb.list"
  for file in ./usr/include/zorva/kernel/kernel.h ./usr/include/zorva/version.h ./usr/lib/cmake/Zorva/ZorvaConfig.cmake \
    ./usr/lib/pkgconfig/zorva-kernel.pc ./usr/bin/zorva-server ./usr/bin/obrimwest ./usr/bin/obrimeast \
    ./usr/share/zorva/templates/model/CMakeLists.txt; do
    grep -qx "$file" "$work/deb.list" || fail "the package lacks $file"
  done
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt's runtime"
fi
step "everything as a model author needs it"
