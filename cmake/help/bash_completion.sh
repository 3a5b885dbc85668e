# Writes the bash completion from what parse.sh read: the commands, each command's options, the
# values an option takes (its choices, directories or files) and files for the arguments. It needs
# nothing from the bash-completion package, so a plain `source` of it works.

shell_words() {  # words...: one single-quoted word list
    local s="$*"
    printf "'%s'" "${s//\'/\'\\\'\'}"
}

scope_options() {  # scope: its option names
    local i names=()
    for i in "${!E_DESC[@]}"; do
        [[ ${E_SCOPE[i]} == "$1" && ${E_SECTION[i]} == Options ]] && names+=(${E_NAMES[i]})
    done
    echo "${names[*]}"
}

write_bash_completion() {
    local command i name cases=()
    cat <<'HEAD'
# bash completion for kzr40, made from the program's own help when it was built.

_kzr40_paths() {  # compgen option: -f for files, -d for directories
    compopt -o filenames 2>/dev/null || true  # outside a completion (a test) there is nothing to set
    local IFS=$'\n'
    COMPREPLY=($(compgen "$1" -- "$cur"))
}

_kzr40() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev="" command="" i
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # The first word that is no option is the command (the top level's options take no value).
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] || { command=${COMP_WORDS[i]}; break; }
    done
    COMPREPLY=()

    # The value of the option before the cursor.
    case "$command $prev" in
HEAD
    for i in "${!E_DESC[@]}"; do
        [[ ${E_SECTION[i]} == Options && -n ${E_VALUES[i]} && ${E_SCOPE[i]} != . ]] || continue
        local patterns=()
        for name in ${E_NAMES[i]}; do patterns+=("\"${E_SCOPE[i]} $name\""); done
        local IFS='|' action
        case ${E_VALUES[i]} in
            choices*) action="COMPREPLY=(\$(compgen -W $(shell_words "${E_VALUES[i]#choices }") -- \"\$cur\"))" ;;
            directory) action="_kzr40_paths -d" ;;
            file) action="_kzr40_paths -f" ;;
            *) action=":" ;;  # a number or free text: nothing to offer
        esac
        printf '        %s) %s; return ;;\n' "${patterns[*]}" "$action"
        unset IFS
    done
    cat <<'MIDDLE'
    esac

    if [[ $cur == -* ]]; then
        local options
        case $command in
MIDDLE
    printf '            "") options=%s ;;\n' "$(shell_words "$(scope_options .)")"
    for command in "${COMMANDS[@]}"; do
        printf '            %s) options=%s ;;\n' "$command" "$(shell_words "$(scope_options "$command")")"
    done
    cat <<'TAIL'
            *) return ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -z $command ]]; then
TAIL
    printf '        COMPREPLY=($(compgen -W %s -- "$cur"))\n' "$(shell_words "${COMMANDS[@]}")"
    cat <<'END'
    else
        _kzr40_paths -f
    fi
}

complete -F _kzr40 kzr40
END
}
