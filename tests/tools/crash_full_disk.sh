#!/usr/bin/env bash
# Crash and full-disk trials of sorvanel-cli, run as a user's bad day would
# run them: commands killed with SIGKILL at random moments, and a small
# tmpfs filled up underneath them. After each trial the account file must
# open, hold every record a command reported stored and none it reported
# lost, hold an import whole or not at all, and the folder must hold no
# scratch file once the next command has run.
#
# Usage: crash_full_disk.sh SORVANEL-CLI. Needs root (to mount the tmpfs);
# exits 77 (skipped) with a message otherwise. SEED=n repeats a run.
set -u

cli=${1:?usage: crash_full_disk.sh SORVANEL-CLI}
if [ "$(id -u)" != 0 ]; then
  echo "skipped: the full-disk trials mount a tmpfs and need root"
  exit 77
fi

work=$(mktemp -d)
full=$work/full
mkdir "$full"
if ! mount -t tmpfs -o size=2m,mode=0755 tmpfs "$full" 2>/dev/null; then
  rm -rf "$work"
  echo "skipped: no tmpfs can be mounted here"
  exit 77
fi
trap 'umount "$full" 2>/dev/null; rm -rf "$work"' EXIT
# Nothing reaches the real user's folders.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
  XDG_CACHE_HOME=$work/home/cache XDG_RUNTIME_DIR=$work/home/runtime
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

seed=${SEED:-$RANDOM}
RANDOM=$seed
echo "seed $seed (SEED=$seed repeats this run)"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

C() { "$cli" "$@"; }

count() { C sql "$1" "Select Count(*) From Users" 2>/dev/null; }

# A statement of n lines whose items are unique, so that none is a
# duplicate of another or of a record already there.
statement() {
  local n=$1 tag=$2
  echo "日期,项目,金额"
  awk -v n="$n" -v tag="$tag" 'BEGIN { for (i = 1; i <= n; i++)
    printf "2024-%02d-%02d,%s-%d,%d.%02d\n", i % 12 + 1, i % 28 + 1, tag, i, i % 500, i % 100 }'
}

maps=(--map 日期=Data --map 项目=Item --map 金额=Amount)
import() { C import "$1" "$2" "${maps[@]}"; }

# The files of a folder that are neither expected nor a lock file.
leftovers() {
  local folder=$1
  shift
  (cd "$folder" && ls -A) | grep -v -x -F "$(printf '%s\n' "$@")" |
    grep -v -E '^\..*\.lock$'
}

check_clean() {
  local folder=$1 what=$2
  shift 2
  local left
  left=$(leftovers "$folder" "$@")
  [ -z "$left" ] || fail "$what left behind: $(echo $left)"
}

# Starts a program (not a shell function: the kill must reach the program
# itself) in the background, kills it with SIGKILL after a random delay of
# up to max_ms milliseconds.
kill_at_random() {
  local max_ms=$1
  shift
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$(awk -v ms=$((RANDOM % max_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# Fills the tmpfs but for about keep_kb kilobytes.
fill_but() {
  local keep_kb=$1 free_kb
  free_kb=$(df -k --output=avail "$full" | tail -1)
  [ "$free_kb" -gt "$keep_kb" ] &&
    head -c $(((free_kb - keep_kb) * 1024)) /dev/zero > "$full/filler" 2>/dev/null
}

# --- A full disk under single adds: a key printed is a record stored -----
C new "$full/f.fz" >/dev/null || fail "new on the tmpfs"
fill_but 150
memo=$(head -c 3000 /dev/zero | tr '\0' 'x')
before=$(count "$full/f.fz")
stored=()
lost=0
for i in $(seq 1 80); do
  if key=$(C add "$full/f.fz" Item="add-$i" Memo="$memo" 2>/dev/null); then
    stored+=("$key")
  else
    lost=$((lost + 1))
  fi
done
[ "$lost" -gt 0 ] || fail "the tmpfs never filled; the trial proves nothing"
after=$(count "$full/f.fz")
[ "$after" = $((before + ${#stored[@]})) ] ||
  fail "adds: $((${#stored[@]})) reported stored, $((after - before)) stored"
[ "$(printf '%s\n' "${stored[@]}" | sort | uniq -d)" = "" ] ||
  fail "adds: one key printed for two records"
for key in "${stored[@]}"; do
  [ "$(C sql "$full/f.fz" "Select Count(*) From Users Where ID=$key")" = 1 ] ||
    fail "adds: key $key printed but not stored"
done
check_clean "$full" "a full disk under adds" f.fz filler

# --- A full disk under imports: all or nothing ---------------------------
statement 3000 full > "$work/s.csv"
for trial in $(seq 1 8); do
  rm -f "$full"/*
  C new "$full/i.fz" >/dev/null
  # A random little room, so that each trial fails at another line.
  fill_but $((100 + RANDOM % 300))
  before=$(count "$full/i.fz")
  if import "$full/i.fz" "$work/s.csv" >/dev/null 2>&1; then expect=$((before + 3000)); else expect=$before; fi
  after=$(count "$full/i.fz")
  [ "$after" = "$expect" ] ||
    fail "import on a full disk (trial $trial): expected $expect records, found $after"
  check_clean "$full" "an import on a full disk" i.fz filler
done
rm -f "$full"/*

# --- Killed imports: all or nothing, and a sound file --------------------
statement 20000 kill > "$work/big.csv"
C new "$work/k.fz" >/dev/null
for trial in 1 2 3 4 5 6; do
  before=$(count "$work/k.fz")
  kill_at_random 1500 "$cli" import "$work/k.fz" "$work/big.csv" "${maps[@]}"
  after=$(count "$work/k.fz") || fail "killed import (trial $trial): the file does not open"
  [ "$after" = "$before" ] || [ "$after" = $((before + 20000)) ] ||
    fail "killed import (trial $trial): $((after - before)) of 20000 lines stored"
done

# --- Killed compactions: the file whole, the next one cleans up ----------
before=$(count "$work/k.fz")
for trial in 1 2 3 4 5 6; do
  kill_at_random 400 "$cli" compact "$work/k.fz"
  after=$(count "$work/k.fz") || fail "killed compaction (trial $trial): the file does not open"
  [ "$after" = "$before" ] || fail "killed compaction (trial $trial): $before records became $after"
done
C compact "$work/k.fz" || fail "a compaction after killed ones"
check_clean "$work" "killed compactions" k.fz s.csv big.csv full home

# --- Killed exports: the output whole or absent, no part file left -------
for trial in 1 2 3; do
  kill_at_random 600 "$cli" export "$work/k.fz" "$work/out.xlsx"
done
C export "$work/k.fz" "$work/out.xlsx" >/dev/null || fail "an export after killed ones"
check_clean "$work" "killed exports" k.fz s.csv big.csv full home out.xlsx

# --- Killed adds: every key printed is a record stored -------------------
C new "$work/a.fz" >/dev/null
(for i in $(seq 1 400); do C add "$work/a.fz" Item="kill-$i" || exit; done) > "$work/keys" 2>/dev/null &
adder=$!
sleep "$(awk -v ms=$((500 + RANDOM % 1500)) 'BEGIN { printf "%.3f", ms / 1000 }')"
pkill -9 -P "$adder" 2>/dev/null
kill -9 "$adder" 2>/dev/null
wait "$adder" 2>/dev/null
while read -r key; do
  [ "$(C sql "$work/a.fz" "Select Count(*) From Users Where ID=$key")" = 1 ] ||
    fail "killed adds: key $key printed but not stored"
done < "$work/keys"
[ -s "$work/keys" ] || echo "note: no add finished before the kill"

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s); seed $seed"
  exit 1
fi
echo "all crash and full-disk trials hold"
