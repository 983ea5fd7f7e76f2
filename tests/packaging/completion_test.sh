#!/usr/bin/env bash
# Loads the bash completion of sorvanel-cli as bash-completion does and
# completes lines as Tab would: the commands and the options of every usage
# line `sorvanel-cli` prints, a template name after --template, and the
# fields of a ledger made for the test, after --sum and as FIELD= of add,
# with an option column's options after FIELD=.
# usage: completion_test.sh SORVANEL_CLI COMPLETION_SCRIPT
set -uo pipefail
cli=$(realpath "$1")
script=$2

source /usr/share/bash-completion/bash_completion ||
  { echo "bash-completion is not installed"; exit 1; }
source "$script" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
mkdir -p "$work/bin"
ln -s "$cli" "$work/bin/sorvanel-cli"
PATH=$work/bin:$PATH
ledger=$work/账簿.fz
sorvanel-cli new "$ledger" --template 家庭账本 >/dev/null || exit 1

# The candidates for a line with the cursor at its end, one a line.
complete_line() {
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  read -ra COMP_WORDS <<<"$COMP_LINE"
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _sorvanel_cli sorvanel-cli "${COMP_WORDS[COMP_CWORD]}" \
    "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}"
}

faults=0
checked=0
# expect LINE CANDIDATE: completing LINE offers CANDIDATE.
expect() {
  local offered
  offered=$(complete_line "$1")
  checked=$((checked + 1))
  grep -qxF -- "$2" <<<"$offered" && return
  echo "\"$1\" does not complete to \"$2\"; it offers: ${offered//$'\n'/ }"
  faults=$((faults + 1))
}

while IFS= read -r line; do
  command=${line%% *}
  [[ $command == --* ]] && continue
  expect "sorvanel-cli " "$command"
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"${line#"$command"}" | sort -u); do
    expect "sorvanel-cli $command $ledger --" "$option"
  done
done < <(sorvanel-cli 2>&1 >/dev/null | sed -n 's/^  sorvanel-cli //p')

expect "sorvanel-cli ad" add
expect "sorvanel-cli new $work/新.fz --template 家" 家庭账本
expect "sorvanel-cli monthly $ledger --sum To" Total
expect "sorvanel-cli add $ledger Cat" Category=
expect "sorvanel-cli add $ledger Category=餐" 餐饮

echo "$checked completions checked, $faults faults"
[ "$faults" -eq 0 ]
