#!/usr/bin/env bash
# The source tree's own rules, checked so they cannot rot unseen.
#   CheckTree.sh includes SOURCE_DIR   which folder may include which (see README, Layout)
#   CheckTree.sh format SOURCE_DIR     every C++ file as .clang-format has it
# Exit 0 when the rule holds, 1 with the offending lines, 77 when it cannot be checked.
set -uo pipefail

mode=$1
cd "$2" || exit 2

# The folders each layer may include from; a layer not named here is not limited.
declare -A may_include=(
  [plugins]="plugins"
  [playlist]="playlist"
  [settings]="settings playlist res"
  [engine]="engine playlist"
  [ui]="ui engine settings playlist res"
  [tools]="tools engine playlist"
)

# The C++ files of the tree: tracked or new, not ignored, still on the disk.
cpp_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do
      [ -f "$f" ] && printf '%s\n' "$f"
    done
  else
    find . \( -path './build*' -o -path './.*' \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
      sed 's|^\./||'
  fi
}

check_includes() {
  local bad=0 file line include top layer
  while IFS=: read -r file line include; do
    include=${include#*\"}
    include=${include%\"*}
    [[ $include == */* ]] || continue
    top=${include%%/*}
    layer=${file%%/*}
    if [ "$top" = app ] && [[ $file != app/* && $file != tests/app/* ]]; then
      echo "$file:$line: includes \"$include\"; only app/ and its tests include app/"
      bad=1
    elif [ -n "${may_include[$layer]+set}" ] && [[ " ${may_include[$layer]} " != *" $top "* ]]; then
      echo "$file:$line: includes \"$include\"; $layer/ includes only from: ${may_include[$layer]}"
      bad=1
    fi
  done < <(cpp_files | xargs -r -d '\n' grep -H -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"')
  return $bad
}

check_format() {
  if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed (scripts/setup installs it): format not checked"
    return 77
  fi
  if ! cpp_files | xargs -r -d '\n' clang-format --dry-run -Werror; then
    echo "run clang-format -i on the files above"
    return 1
  fi
}

case $mode in
  includes) check_includes ;;
  format) check_format ;;
  *)
    echo "usage: $0 includes|format SOURCE_DIR" >&2
    exit 2
    ;;
esac
