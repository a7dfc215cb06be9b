#!/usr/bin/env bash
# Builds both Windows widths and the native tree of the pure logic.
# Usage: build.sh [x86_64|i686|native ...]   (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(x86_64 i686 native)
for t in "${trees[@]}"; do
  dir=build/$t
  if [ ! -f "$dir/build.ninja" ]; then
    case $t in
      native) cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"build/$t.configure.log" 2>&1 \
              || { cat "build/$t.configure.log"; exit 1; } ;;
      *) cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$t.cmake" >"build/$t.configure.log" 2>&1 \
              || { cat "build/$t.configure.log"; exit 1; } ;;
    esac
  fi
  echo "build: $t"
  ninja -C "$dir" --quiet
done
