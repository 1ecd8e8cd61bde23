#!/usr/bin/env bash
# Starts the real talq-gui on a virtual X display and quits it through its Quit button;
# without any display it must say so in one line and exit 1.
set -u
gui="$1"
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" 2>&1)
status=$?
if [ $status -ne 1 ] || [ "$out" != "talq-gui needs a graphical display; use talq on the command line" ]; then
  echo "without a display: status $status, output: $out" >&2
  exit 1
fi

env -u QT_QPA_PLATFORM timeout 60 xvfb-run -a "$gui" --smoke-test
status=$?
if [ $status -ne 0 ]; then
  echo "talq-gui under xvfb-run exited with $status" >&2
  exit 1
fi
echo "talq-gui started and quit"
