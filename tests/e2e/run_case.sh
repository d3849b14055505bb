#!/usr/bin/env bash
# Runs one scripted end-to-end case and compares the transcript with the
# expected one (see README.md). A case is cases/NAME.script, cases/NAME.expected
# and, if the run needs options, cases/NAME.args (one line; @BIN@ and @MODULES@
# stand for the module folder and the test modules' folder, @DRAWINGS@ for
# drawings/, @OUT@ for the run's folder); the script may use the same
# placeholders. Exit status and standard error are part of the transcript as
# "[exit N]". cases/NAME.program names another program than cadhost (e.g.
# @BIN@/Marlo); cases/NAME.setup runs first, with OUT, BIN and MODULES set. The
# program runs in a session of its own: a process of it still there when it has
# ended shows as "[left behind]". When cases/NAME.check exists, it runs after
# the transcript matched, with SNAPSHOTS, OUT, PNGPROBE and BIN set; a non-zero
# exit fails the case.
# @OWNBIN@ in the options is a module folder of the case's own ($OUT/bin): the
# modules (.dbx, .arx) and setting.mdb are files of their own there, every
# other file of the module folder is linked, so that files the modules write
# beside themselves (lc.dwg, band names) stay the case's.
set -u
bin=$1 modules=$2 cases=$3 name=$4 pngprobe=${5:-}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
args=""
drawings=$(cd "$cases/../drawings" 2>/dev/null && pwd)
ownbin="$out/bin"
if [ -f "$cases/$name.args" ] && grep -q '@OWNBIN@' "$cases/$name.args"; then
  mkdir -p "$ownbin"
  for f in "$bin"/*; do ln -s "$f" "$ownbin/"; done
  # The modules find their folder through their resolved file name: they
  # are real files here (hard links, or copies across file systems).
  for f in "$bin"/*.dbx "$bin"/*.arx; do
    rm -f "$ownbin/${f##*/}"
    ln "$f" "$ownbin/" 2>/dev/null || cp "$f" "$ownbin/"
  done
  rm -f "$ownbin/setting.mdb" "$ownbin/lc.dwg"
  [ -f "$bin/setting.mdb" ] && cp "$bin/setting.mdb" "$ownbin/setting.mdb"
fi
placeholders() { sed -e "s#@OWNBIN@#$ownbin#g" -e "s#@BIN@#$bin#g" -e "s#@MODULES@#$modules#g" -e "s#@DRAWINGS@#$drawings#g" -e "s#@OUT@#$out#g" "$1"; }
[ -f "$cases/$name.args" ] && args=$(placeholders "$cases/$name.args")
program="$bin/cadhost"
[ -f "$cases/$name.program" ] && program=$(placeholders "$cases/$name.program")
export MARLO_PREFIX="$out/prefix"
# The script may name files of the test by the same placeholders as the options.
placeholders "$cases/$name.script" >"$out/case.script"
# In sanitizer builds: the font and text libraries keep caches for the life of
# the programs, which are not leaks of the code under test; the report of
# suppressions used stays out of the transcript.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if [ -f "$cases/$name.setup" ] && ! (cd "$out" && OUT="$out" BIN="$bin" MODULES="$modules" bash "$cases/$name.setup"); then
  echo "e2e case $name: $cases/$name.setup failed"
  exit 1
fi
# shellcheck disable=SC2086,SC2016
(cd "$out" && setsid -w sh -c 'echo $$ >"$0/session"; exec "$@"' "$out" "$program" $args --out "$out/snapshots" \
   --script "$out/case.script" >"$out/transcript" 2>&1
 echo "[exit $?]" >>"$out/transcript")
session=$(cat "$out/session" 2>/dev/null)
if [ -n "$session" ] && pids=$(pgrep -s "$session"); then
  echo "[left behind]" >>"$out/transcript"
  for pid in $pids; do kill -KILL "$pid" 2>/dev/null; done
fi
# Paths in the transcript, POSIX or Windows form, become their placeholders.
windows() { printf 'Z:%s' "$1" | sed -e 's#/#\\\\#g'; }
sed -i -e "s#$ownbin#@OWNBIN@#g" -e "s#$bin#@BIN@#g" -e "s#$modules#@MODULES@#g" -e "s#$drawings#@DRAWINGS@#g" -e "s#$out#@OUT@#g" \
  -e "s#$(windows "$out")#@OUT@#g" -e "s#$(windows "$bin")#@BIN@#g" "$out/transcript"
if ! diff -u "$cases/$name.expected" "$out/transcript"; then
  echo "e2e case $name: the transcript differs from $cases/$name.expected (see the diff above)"
  exit 1
fi
if [ -f "$cases/$name.check" ]; then
  if ! (cd "$out" && SNAPSHOTS="$out/snapshots" OUT="$out" PNGPROBE="$pngprobe" BIN="$bin" bash "$cases/$name.check"); then
    echo "e2e case $name: $cases/$name.check failed"
    exit 1
  fi
fi
