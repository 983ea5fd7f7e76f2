#!/usr/bin/env bash
# The manual page of sorvanel-cli documents every command and option that
# `sorvanel-cli` without arguments lists: each command has an entry (a .TP
# tag that starts with its name) and an example, and each option of a
# command's usage line appears in an example of that command.
# usage: man_page_test.sh SORVANEL_CLI MANUAL_PAGE
set -euo pipefail
cli=$1
page=$2

# The page's source as text: roff's minus signs plain, font changes gone,
# examples continued with "\e" at a line's end joined into one line.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page" |
  sed -e ':join' -e '/\\e$/{N;s/\\e\n[[:space:]]*/ /;b join' -e '}')
# The first word of each .TP tag (the line after .TP), macros left out.
tags=$(printf '%s\n' "$text" | awk 'tag { sub(/^\.[A-Z]+ /, ""); print $1 } { tag = ($0 == ".TP") }')
examples=$(printf '%s\n' "$text" | grep '^sorvanel-cli ' || true)

usage=$("$cli" 2>&1 >/dev/null || true)
lines=$(printf '%s\n' "$usage" | sed -n 's/^  sorvanel-cli //p')
[ -n "$lines" ] || { echo "sorvanel-cli printed no usage lines"; exit 1; }

faults=0
checked=0
while IFS= read -r line; do
  command=${line%% *}
  checked=$((checked + 1))
  if ! printf '%s\n' "$tags" | grep -qxF -- "$command"; then
    echo "no entry for \"$command\" in $page"
    faults=$((faults + 1))
  fi
  own=$(printf '%s\n' "$examples" | grep -E -- "^sorvanel-cli $command( |\$)" || true)
  if [ -z "$own" ]; then
    echo "no example of \"$command\" in $page"
    faults=$((faults + 1))
  fi
  for option in $(printf '%s\n' "${line#"$command"}" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! printf '%s\n' "$own" | grep -qE -- "$option( |\$)"; then
      echo "no example of \"$command $option\" in $page"
      faults=$((faults + 1))
    fi
  done
done <<<"$lines"

echo "$checked usage lines checked, $faults faults"
[ "$faults" -eq 0 ]
