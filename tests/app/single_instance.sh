#!/usr/bin/env bash
# End to end: a first start writes the configuration; a second instance
# started while the first runs exits at once and the first comes forward.
set -euo pipefail
QUILLMAR=$1
export QUILLMAR_CONFIG_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
first=""
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null || true
  rm -rf "$QUILLMAR_CONFIG_DIR" "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

"$QUILLMAR" -Q &
first=$!
for _ in $(seq 1 300); do
  [ -S "$XDG_RUNTIME_DIR/quillmar/$first.sock" ] && grep -q '^Language=English' "$QUILLMAR_CONFIG_DIR/quillery5.ini" 2>/dev/null && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/quillmar/$first.sock" ] || { echo "first instance did not publish its window"; exit 1; }
grep -qx 'Height=10' "$QUILLMAR_CONFIG_DIR/quillery5.ini"
if grep -q '_Scale' "$QUILLMAR_CONFIG_DIR/quillery5.ini"; then echo "scale keys were created"; exit 1; fi

start=$(date +%s%N)
out=$(timeout 20 "$QUILLMAR" some-drawing.qmd 2>&1)
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "$out"
echo "$out" | grep -q "brought to the front"
# It exited without showing a splash (no 1000 ms wait).
[ "$elapsed" -lt 10000 ]
kill -0 "$first"

kill -TERM "$first"
wait "$first" || true
first=""
# The endpoint is gone after a normal end.
[ ! -e "$XDG_RUNTIME_DIR/quillmar/"*.sock ] || { ls "$XDG_RUNTIME_DIR/quillmar"; exit 1; }
echo "single instance: ok"
