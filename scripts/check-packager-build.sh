#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A packager's build, as a distribution makes it: Release, the tests off, no -DGT_WERROR, their own
# compiler flags and install prefix, no compiler cache asked for. Checks that it configures without
# GoogleTest, that no test target is made, that no warning is an error, that every compile command
# carries the packager's flags and no launcher; then builds and runs graphitello-cli unless told
# not to (`--configure-only`).
#   scripts/check-packager-build.sh [--configure-only]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Flags of the kind dpkg-buildflags gives, and a mark of our own to find them by.
packager_flags="-g -O2 -fstack-protector-strong -Wformat -Werror=format-security -DGT_PACKAGER_MARK"
prefix=/opt/packager-prefix
build=$work/build
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_BUILD_PARALLEL_LEVEL

start=$SECONDS
# GoogleTest is hidden from CMake: a build without tests must not look for it.
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_CXX_FLAGS="$packager_flags" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "the packager's configuration fails"; }
configured=$((SECONDS - start))

cache=$build/CMakeCache.txt
grep -q "^CMAKE_INSTALL_PREFIX:PATH=$prefix\$" "$cache" || fail "the install prefix is not the packager's"
grep -q '^CMAKE_CXX_COMPILER_LAUNCHER' "$cache" && fail "a compiler launcher was set though none was asked for"
grep -q '^GTest_DIR:PATH=/' "$cache" && fail "GoogleTest was looked for"

commands=$build/compile_commands.json
[ -s "$commands" ] || fail "no compile_commands.json"
# Every compile command: no -Werror of ours (the packager's -Werror=format-security may stay), the
# packager's flags all there, no ccache.
python3 - "$commands" "$packager_flags" <<'PY' || fail "the compile commands do not respect the packager's build"
import json, sys
entries = json.load(open(sys.argv[1]))
wanted = sys.argv[2].split()
bad = 0
for e in entries:
    words = e.get("arguments") or e["command"].split()
    name = e["file"]
    if "-Werror" in words:
        print(f"{name}: -Werror"); bad += 1
    missing = [f for f in wanted if f not in words]
    if missing:
        print(f"{name}: lacks the packager's {' '.join(missing)}"); bad += 1
    if any("ccache" in w for w in words[:2]):
        print(f"{name}: compiled through ccache"); bad += 1
print(f"{len(entries)} compile commands checked")
sys.exit(1 if bad else 0)
PY

# No test: neither ctest's list nor the build's targets hold one.
tests=$(cd "$build" && ctest -N | sed -n 's/^Total Tests: //p')
[ "$tests" = 0 ] || fail "the build without tests still has $tests tests"
targets=$(cmake --build "$build" --target help | grep -E '^\.\.\. (test_|fuzz|Experimental|Nightly|Continuous)' || true)
[ -z "$targets" ] || fail "the build without tests has test targets: $targets"
echo "packager's configuration: ${configured}s, flags respected, no test, prefix $prefix"

if [ "${1:-}" = --configure-only ]; then exit 0; fi
start=$SECONDS
cmake --build "$build" -j "$(nproc)" --target graphitello-cli >"$work/build.log" 2>&1 ||
  { tail -50 "$work/build.log" >&2; fail "graphitello-cli does not build in the packager's Release build"; }
"$build/cli/graphitello-cli" --version >/dev/null || fail "the packager's graphitello-cli does not run"
warnings=$(grep -c 'warning:' "$work/build.log" || true)
grep 'warning:' "$work/build.log" | head -20 || true
echo "packager's Release build of graphitello-cli: $((SECONDS - start))s, $warnings compiler warnings"
