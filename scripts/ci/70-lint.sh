#!/usr/bin/env bash
# Lint stage: clang-tidy (checks in .clang-tidy) over the project's own
# sources through the normal build's compile_commands.json, then the
# formatting check of .clang-format. Any warning fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=$(realpath "${KESTROVA_BUILD_DIR:-build}")
[ -f "$build/compile_commands.json" ] || { echo "FAIL: no $build/compile_commands.json" >&2; exit 1; }

# Translation units of the project itself: not the generated moc and
# resource files in the build directory.
mapfile -t sources < <(python3 - "$build/compile_commands.json" "$PWD" <<'PY'
import json, os, sys
root = sys.argv[2] + os.sep
for entry in json.load(open(sys.argv[1])):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if path.startswith(root) and not os.path.relpath(path, root).startswith("build"):
        print(path)
PY
)
echo "--- clang-tidy-14 over ${#sources[@]} files"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
start=$SECONDS
# A warning is an error by .clang-tidy (WarningsAsErrors), so any finding fails.
run-clang-tidy-14 -quiet -p "$build" -j "$(nproc)" -clang-tidy-binary clang-tidy-14 \
  -extra-arg=-Wno-unknown-warning-option "${sources[@]}" >"$log" 2>&1 || {
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E -A3 ': (warning|error): ' | head -200 >&2
  echo "FAIL: clang-tidy reported findings" >&2
  exit 1
}
echo "clang-tidy: clean in $((SECONDS - start)) s"

echo "--- clang-format-14 --dry-run -Werror"
mapfile -t formatted < <(git ls-files '*.cpp' '*.h')
clang-format-14 --dry-run -Werror "${formatted[@]}"
echo "clang-format: ${#formatted[@]} files clean"
