#!/usr/bin/env bash
# Installs what the tests need when it is missing, builds, and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# Debian packages the build and the tests use, each with a file that shows
# whether it is there already.
packages=(
    "cmake:/usr/bin/cmake"
    "g++:/usr/bin/g++"
    "make:/usr/bin/make"
    "libgtest-dev:/usr/include/gtest/gtest.h"
    "g++-mingw-w64-i686:/usr/bin/i686-w64-mingw32-g++"
    "g++-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-g++"
    "wine64:/usr/lib/wine/wine64"
    "clang:/usr/bin/clang++"
    "libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
    "clang-format:/usr/bin/clang-format"
    "clang-tidy:/usr/bin/clang-tidy"
    "devscripts:/usr/bin/hardening-check"
    "libbenchmark-dev:/usr/include/benchmark/benchmark.h"
)

source "$root/scripts/install_packages.sh"
install_missing "${packages[@]}"

# The Windows executables are built first: the native suite checks them and
# runs the x64 one under Wine.
cmake --preset windows-x86 >/dev/null
cmake --preset windows-x64 >/dev/null
cmake --preset debug -DWINDOWS_X86_BUILD="$root/build/windows-x86" \
    -DWINDOWS_X64_BUILD="$root/build/windows-x64" >/dev/null
cmake --preset sanitize >/dev/null
cmake --preset bench >/dev/null

echo "== style"
scripts/check_style.sh build/debug build/sanitize build/bench

for preset in windows-x86 windows-x64 debug sanitize; do
    echo "== build $preset"
    cmake --build --preset "$preset" >"build/$preset.log" 2>&1 || {
        cat "build/$preset.log"
        exit 1
    }
done

echo "== tests: native suite, Windows checks, Wine suite, binary checks"
ctest --preset debug
echo "== tests: native suite under ASan and UBSan, bounded fuzz run"
ctest --preset sanitize
