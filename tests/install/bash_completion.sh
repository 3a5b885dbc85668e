#!/usr/bin/env bash
# The bash completion as bash runs it: COMP_WORDS and COMP_CWORD set as for a line typed, then the
# function's answer. Commands, options per command, an option's choices, directories for --dir,
# files for the diagram, nothing for a free text.
#   bash_completion.sh COMPLETION_FILE
set -uo pipefail
source "$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/saida"
touch "$scratch/sales.json"
cd "$scratch"

failures=0
expect() {  # "expected words" word...: the words typed, the last the one being completed
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kzr40
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | xargs)
    if [ "$got" != "$expected" ]; then
        echo "completing '$*': expected '$expected', got '$got'" >&2
        failures=$((failures + 1))
    fi
}

expect "generate" kzr40 ge
expect "--help --version -h" kzr40 -
expect "--dir --drop --help --kind --strict --target --title -h" kzr40 generate -
expect "--layout" kzr40 draw sales.json --la
expect "auto dot sfdp" kzr40 draw --layout ""
expect "postgresql" kzr40 check --dialect po
expect "tmTabela" kzr40 draw --mode tmT
expect "saida" kzr40 forms sales.json --dir ""
expect "saida sales.json" kzr40 sql ""
expect "saida sales.json" kzr40 sql --kind oracle sa
expect "saida sales.json" kzr40 layout -o sa
expect "saida" kzr40 generate --dir sa
expect "" kzr40 sql --kind ""
expect "" kzr40 draw --zoom ""
expect "" kzr40 nosuchcommand -

complete -p kzr40 | grep -q -- '-F _kzr40' || { echo "kzr40 is not completed by _kzr40" >&2; failures=$((failures + 1)); }
((failures == 0)) && echo "bash completion: all cases pass"
exit $((failures > 0))
