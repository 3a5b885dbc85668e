# Writes the zsh completion (an _arguments function) from what parse.sh read: the commands with
# their summaries, each command's options with their descriptions and values, and files for the
# arguments.

sq() { printf "'%s'" "${1//\'/\'\\\'\'}"; }  # text: one single-quoted word

bracketed() {  # description: in the brackets of an _arguments spec, which end at an unescaped ]
    local s=${1//\\/\\\\}
    s=${s//\[/\\[}
    printf '[%s]' "${s//]/\\]}"
}

zsh_action() {  # index: the message and action after an option or argument
    local message=${E_NAMES[$1]##* }
    message=${message##*-}
    case ${E_VALUES[$1]} in
        choices*) printf ':%s:(%s)' "$message" "${E_VALUES[$1]#choices }" ;;
        directory) printf ':%s:_files -/' "$message" ;;
        file) printf ':%s:_files' "$message" ;;
        number|text) printf ':%s: ' "$message" ;;
    esac
}

zsh_spec() {  # index: one _arguments word; help excludes everything else, two names each other
    local i=$1 names=(${E_NAMES[$1]}) exclusion="" tail
    if [[ ${E_SECTION[i]} == Positionals ]]; then
        sq "$(zsh_action "$i")"
        return
    fi
    tail=$(bracketed "${E_DESC[i]}")$(zsh_action "$i")
    [[ ${names[0]} == -h || ${names[0]} == --version ]] && exclusion="(- *)"
    if ((${#names[@]} > 1)); then
        [[ -n $exclusion ]] || exclusion="(${names[*]})"
        printf '%s{%s}%s' "$(sq "$exclusion")" "$(IFS=,; echo "${names[*]}")" "$(sq "$tail")"
    else
        sq "$exclusion${names[0]}$tail"
    fi
}

zsh_specs() {  # scope indent
    local i
    for i in "${!E_DESC[@]}"; do
        [[ ${E_SCOPE[i]} == "$1" ]] && printf ' \\\n%s%s' "$2" "$(zsh_spec "$i")"
    done
    return 0
}

write_zsh_completion() {
    local command
    printf '#compdef kzr40\n# zsh completion for kzr40, made from the program'"'"'s own help when it was built.\n\n'
    printf '_kzr40() {\n    local curcontext=$curcontext state line ret=1\n    typeset -A opt_args\n'
    printf '    _arguments -C%s \\\n        %s \\\n        %s && return 0\n' \
        "$(zsh_specs . '        ')" "'1:command:->command'" "'*::argument:->argument'"
    printf '    case $state in\n        command)\n            local -a commands=(\n'
    for command in "${COMMANDS[@]}"; do
        printf '                %s\n' "$(sq "$command:${SUMMARY[$command]}")"
    done
    printf '            )\n            _describe -t commands %s commands && ret=0 ;;\n' "$(sq 'kzr40 command')"
    printf '        argument)\n            curcontext=${curcontext%%:*:*}:kzr40-$words[1]:\n'
    printf '            case $words[1] in\n'
    for command in "${COMMANDS[@]}"; do
        printf '                %s) _arguments%s && ret=0 ;;\n' "$command" "$(zsh_specs "$command" '                    ')"
    done
    printf '            esac ;;\n    esac\n    return ret\n}\n\n_kzr40 "$@"\n'
}
