#!/usr/bin/env bash
# The rule editor's figures under Wine, printed as a Markdown table (scripts/run-bench runs it):
#   bench/editor_bench.sh BUILD_TREE PRESET
# lunet-editor-probe (tests/editor) starts lunet-editor.exe on a plug-in folder, waits for its
# window and for the rows of its list, and closes it; each start is timed from outside, so the
# figure holds Wine's own start too. A folder of the release's rule files and one of 1,000 lines
# (every fifth line with a warning: spaces around the keyword, an unknown keyword, a repeated
# rule) tell the list's share apart. Idle: the processor time the editor used over a minute of
# doing nothing (the system counts it in steps of 10 to 16 ms, so a shorter span could not show
# under 10 ms a minute). The raw lines stay in BUILD_TREE/bench/editor-results.txt.
source "$(dirname "$0")/../scripts/lib.sh"
cd "$lunet_root"

tree=$1 preset=$2
work=$tree/bench/editor
results=$tree/bench/editor-results.txt
editor=$tree/tools/editor/lunet-editor.exe
probe=$tree/tests/editor/lunet-editor-probe.exe
prefix=$(tree_prefix "$tree")
runs=5

rm -rf "$work" && mkdir -p "$work/release" "$work/large"
cp "$tree/src/lunet.dll" "$editor" "$work/release/"
cp dist-files/killwnd.txt dist-files/killwnd_custom.txt "$work/release/"
cp "$tree/src/lunet.dll" "$editor" "$work/large/"
# 1,000 lines a file: rules, and every fifth line one the editor warns about.
large_rules() {
  local i
  for ((i = 1; i <= 1000; i++)); do
    case $((i % 5)) in
      0) printf 'class , Warned%d\r\n' "$i" ;;
      1) printf 'class,AdClass%d\r\n' "$i" ;;
      2) printf 'title,Offer %d\r\n' "$i" ;;
      3) printf 'titel,Unknown %d\r\n' "$i" ;;
      4) printf 'title,Offer %d\r\n' "$((i - 2))" ;;
    esac
  done
}
large_rules >"$work/large/killwnd.txt"
large_rules >"$work/large/killwnd_custom.txt"
rows_of() { cat "$1/killwnd.txt" "$1/killwnd_custom.txt" | grep -ac '^\(class\|title\),' || true; }

# probe FOLDER [OPTION...]: one start of the editor on the folder, the probe's lines, and the
# editor's own (LUNET_EDITOR_TIMING): from its entry to its list filled, and to its first paint.
probe() {
  local folder=$1 timing=$work/timing.txt
  shift
  rm -f "$timing"
  LUNET_EDITOR_TIMING=$(winepath_of "$timing") wine_run "$prefix" "$probe" \
    "$(winepath_of "$folder")\\lunet-editor.exe" --rows "$(rows_of "$folder")" "$@" | tr -d '\r'
  [[ -f $timing ]] && tr -d '\r' <"$timing"
  return 0
}
winepath_of() { echo "Z:${1//\//\\}"; }
# median KEY: the median of the KEY lines on standard input.
median() { sed -n "s/^$1 //p" | sort -g | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : "-"}'; }

: >"$results"
probe "$work/release" >>"$results"  # the first start in the prefix loads what the rest reuse
: >"$results"
# Each start stays open half a second: closed as soon as its rows show, the editor could quit
# before its first paint is done, and so before it notes its own times.
for ((i = 0; i < runs; i++)); do
  probe "$work/release" --idle 500 | sed 's/^/release /' >>"$results"
  probe "$work/large" --idle 500 | sed 's/^/large /' >>"$results"
done
probe "$work/release" --idle 60000 | sed 's/^/idle /' >>"$results"

small=$(sed -n 's/^release //p' "$results" | median shown_ms)
large=$(sed -n 's/^large //p' "$results" | median shown_ms)
rows=$(sed -n 's/^large //p' "$results" | median rows)
ms() { awk -v us="$1" 'BEGIN {print us == "-" ? "-" : sprintf("%.1f", us / 1000)}'; }
own_small=$(ms "$(sed -n 's/^release //p' "$results" | median painted_us)")
own_large=$(ms "$(sed -n 's/^large //p' "$results" | median painted_us)")
listed_small=$(ms "$(sed -n 's/^release //p' "$results" | median listed_us)")
listed_large=$(ms "$(sed -n 's/^large //p' "$results" | median listed_us)")
idle=$(sed -n 's/^idle //p' "$results" | median idle_cpu_ms)
size=$(stat -c %s "$editor")
echo
echo "| lunet-editor.exe ($preset build, under Wine) | figure |"
echo "|---|---|"
echo "| its own time, entry to first paint, release rules | $own_small ms |"
echo "| its own time, entry to the list filled, release rules | $listed_small ms |"
echo "| its own time, entry to first paint, 2 files of 1,000 lines | $own_large ms |"
echo "| its own time, entry to the list filled, 2 files of 1,000 lines | $listed_large ms |"
echo "| whole start to the window and its list, release rules (median of $runs, Wine included) | $small ms |"
echo "| whole start with 2 files of 1,000 lines ($rows rows, warnings included) | $large ms |"
echo "| the 1,000-line list's share (the difference) | $(awk -v a="$large" -v b="$small" 'BEGIN {printf "%.1f", a - b}') ms |"
echo "| processor time over a minute of idling | $idle ms |"
echo "| file size | $size bytes ($((size / 1024)) KiB) |"
