#!/usr/bin/env bash
# Runs one scripted end-to-end case and compares the transcript with the
# expected one (see README.md). A case is cases/NAME.script, cases/NAME.expected
# and, if the run needs options, cases/NAME.args (one line; @BIN@ and @MODULES@
# stand for the module folder and the test modules' folder, @DRAWINGS@ for
# drawings/); the script may use the same placeholders. Exit status and standard error are part of the transcript as
# "[exit N]". When cases/NAME.check exists, it runs after the transcript
# matched, with SNAPSHOTS, OUT, PNGPROBE and BIN set; a non-zero exit fails the case.
set -u
bin=$1 modules=$2 cases=$3 name=$4 pngprobe=${5:-}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
args=""
drawings=$(cd "$cases/../drawings" 2>/dev/null && pwd)
[ -f "$cases/$name.args" ] && args=$(sed -e "s#@BIN@#$bin#g" -e "s#@MODULES@#$modules#g" -e "s#@DRAWINGS@#$drawings#g" "$cases/$name.args")
export MARLO_PREFIX="$out/prefix"
# The script may name files of the test by the same placeholders as the options.
sed -e "s#@BIN@#$bin#g" -e "s#@MODULES@#$modules#g" -e "s#@DRAWINGS@#$drawings#g" "$cases/$name.script" >"$out/case.script"
# In sanitizer builds: the font and text libraries keep caches for the life of
# the host, which are not leaks of the code under test; the report of
# suppressions used stays out of the transcript.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# shellcheck disable=SC2086
(cd "$out" && "$bin/cadhost" $args --out "$out/snapshots" --script "$out/case.script" >"$out/transcript" 2>&1
 echo "[exit $?]" >>"$out/transcript")
sed -i -e "s#$bin#@BIN@#g" -e "s#$modules#@MODULES@#g" -e "s#$drawings#@DRAWINGS@#g" "$out/transcript"
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
