#!/usr/bin/env bash
# The Windows builds, cross-built with mingw-w64: the 64-bit one's tests under
# Wine (the core suite and the command-line scripts), its outputs and files
# against the Linux build's, the COM round trip; the 32-bit one built and
# checked to be a PE32 program. Needs the Linux build in build/ (its local
# analysis-file service and veltrix-cli are the other side of the checks).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --windows
JOBS=$(nproc)
stage() { echo "== $1: $(( SECONDS - stage_start )) s"; stage_start=$SECONDS; }
stage_start=$SECONDS

cmake --preset windows-x64 >/dev/null
# Wine's prefix once, before the test programs start under it side by side.
WINEPREFIX="$PWD/build-win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init
WINEPREFIX="$PWD/build-win64/wineprefix" wineserver --wait
cmake --build build-win64 -j"$JOBS"
stage "windows-x64 build"
# A test that fails is run once more: Wine now and then ends a program started
# while the previous one's server shuts down, without a word (seen once in
# three runs); a real failure fails twice.
(cd build-win64 && VELTRIX_LINUX_BUILD="$PWD/../build" ctest --output-on-failure -j"$JOBS" --repeat until-pass:2)
stage "windows-x64 tests under Wine"
./scripts/check-windows-same.sh build build-win64
stage "Linux and Windows outputs compared"
./scripts/wine-com-test.sh build-win64
stage "COM round trip through the test server"
# The Windows zip unpacks into a portable program folder that works as it is.
zipdir=$(mktemp -d)
(cd build-win64 && cpack -G ZIP -B "$zipdir" >/dev/null)
(cd "$zipdir" && unzip -q VELTRIX-*-win64.zip)
portable=$(echo "$zipdir"/VELTRIX-*-win64)
[ -f "$portable/VELTRIX.ctx" ] && [ -f "$portable/help/Guide01.html" ] ||
    { echo "FAIL: the zip lacks the settings file or the guide"; exit 1; }
WINEPREFIX="$PWD/build-win64/wineprefix" ./scripts/wine-run "$portable/veltrix-cli.exe" load >"$zipdir/load.txt"
grep -q "^RaceCount	0" "$zipdir/load.txt" && [ -d "$portable/cache" ] ||
    { echo "FAIL: load in the unpacked zip: $(cat "$zipdir/load.txt")"; exit 1; }
rm -rf "$zipdir"
stage "Windows zip unpacked and loaded"

cmake --preset windows-x86 >/dev/null
cmake --build build-win32 -j"$JOBS"
objdump -f build-win32/bin/veltrix-cli.exe | grep -q "file format pei-i386" ||
    { echo "FAIL: build-win32/bin/veltrix-cli.exe is not a PE32 program"; exit 1; }
stage "windows-x86 build (PE32)"
