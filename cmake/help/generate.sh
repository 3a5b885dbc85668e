#!/usr/bin/env bash
# Makes the manual page and the bash and zsh completions of a built kzr40 from its own help, so
# that they list exactly the commands and options the program has.
#   generate.sh PROGRAM VERSION OUTDIR  ->  OUTDIR/kzr40.1, OUTDIR/kzr40.bash, OUTDIR/_kzr40
# The page's date is SOURCE_DATE_EPOCH's when set, for reproducible packages.
set -euo pipefail
PROGRAM=$(realpath "$1") version=$2 out=$3
here=$(dirname "$0")
source "$here/parse.sh"
source "$here/man_page.sh"
source "$here/bash_completion.sh"
source "$here/zsh_completion.sh"

parse_help
((${#COMMANDS[@]})) || { echo "generate.sh: no commands in the help of $PROGRAM" >&2; exit 1; }
date=$(date -u -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}" +%Y-%m-%d)
mkdir -p "$out"
write_man_page "$version" "$date" > "$out/kzr40.1.new"
write_bash_completion > "$out/kzr40.bash.new"
write_zsh_completion > "$out/_kzr40.new"
for f in kzr40.1 kzr40.bash _kzr40; do mv -f "$out/$f.new" "$out/$f"; done
