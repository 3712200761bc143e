#!/usr/bin/env bash
# Starts the window program PROGRAM under a virtual X server with the
# transcript speech back end and a home of its own, looks WORD up, and checks
# what was spoken. With --missing it checks instead that the program starts
# and says where the dictionary is missing. With --remove COMMAND it runs
# COMMAND (which removes the program's files) after the lookup, looks the word
# up again and checks that the running program says the dictionary is missing
# and goes on.
#   tests/package/window-check.sh PROGRAM WORD EXPECTED
#   tests/package/window-check.sh --missing PROGRAM
#   tests/package/window-check.sh --remove COMMAND PROGRAM WORD EXPECTED
set -euo pipefail
if [ "${1:-}" = "--inside-x" ]; then
  shift
  inside=1
fi
missing=0 remove=""
if [ "${1:-}" = "--missing" ]; then missing=1; shift; fi
if [ "${1:-}" = "--remove" ]; then remove=$2; shift 2; fi
program=$1 word=${2:-} expected=${3:-}

# Inside the X server: start the program, type, wait for the speech.
if [ "${inside:-0}" = 1 ]; then
  # A window manager, as on a desktop: it gives a new dialog the keyboard.
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
  "$program" >"$home/out.txt" 2>&1 &
  pid=$!
  # Up when the input box has said what it is for.
  for _ in $(seq 100); do
    [ -s "$transcript" ] && xdotool search --pid "$pid" --onlyvisible --name . >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  if [ "$missing" = 0 ]; then
    window=$(xdotool search --pid "$pid" --onlyvisible --name . | head -1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool type --delay 30 "$word"
    xdotool key Return
    for _ in $(seq 50); do grep -qF -- "$expected" "$transcript" && break; sleep 0.2; done
    if [ -n "$remove" ]; then
      sh -c "$remove"
      # Back to the input box as a user goes: 操作, 読みを入力して検索.
      xdotool key alt+f
      sleep 0.5
      xdotool key s
      sleep 0.5
      xdotool type --delay 30 "$word"
      xdotool key Return
      for _ in $(seq 50); do grep -q "辞書がみつかりません" "$transcript" && break; sleep 0.2; done
      # The message closed, the program takes the next word.
      xdotool key Return
      sleep 0.5
      xdotool type --delay 30 "$word"
      sleep 1
      kill -0 "$pid" 2>/dev/null && touch "$home/alive"
    fi
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  kill "$wm" 2>/dev/null || true
  exit 0
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/wordlamp-window.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
transcript=$home/transcript.txt
export home transcript
args=("$program" "$word" "$expected")
[ "$missing" = 1 ] && args=(--missing "$program")
[ -n "$remove" ] && args=(--remove "$remove" "${args[@]}")
env -u DBUS_SESSION_BUS_ADDRESS HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
  XDG_DATA_HOME="$home/data" XDG_CONFIG_DIRS="$home/system" XDG_RUNTIME_DIR="$home/runtime" LANG=C.UTF-8 \
  QT_QPA_PLATFORM=xcb WORDLAMP_SPEECH="transcript:$transcript@0" \
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-x "${args[@]}"

if [ "$missing" = 1 ]; then
  if grep -q "辞書がみつかりません" "$transcript"; then
    echo "window-check: the program said the dictionary is missing:"
    grep "辞書がみつかりません" "$transcript" | head -1
    exit 0
  fi
elif [ -n "$remove" ]; then
  if grep -qF -- "$expected" "$transcript" && grep -q "辞書がみつかりません" "$transcript" && [ -e "$home/alive" ]; then
    echo "window-check: \"$word\" spoke \"$expected\"; with the files removed under it the program said:"
    grep "辞書がみつかりません" "$transcript" | head -1
    echo "window-check: and went on running"
    exit 0
  fi
else
  if grep -qF -- "$expected" "$transcript"; then
    echo "window-check: looking up \"$word\" spoke \"$expected\""
    exit 0
  fi
fi
echo "window-check: not as expected; transcript:" >&2
head -c 3000 "$transcript" >&2 || true
echo "program output:" >&2
head -c 2000 "$home/out.txt" >&2 || true
exit 1
