# Writes the manual page (troff, man macros) from what parse.sh read: the top level's description,
# options and commands, then a section per command with its usage, arguments and options.

roff() {  # text: escaped for troff, every hyphen a minus so that options read and copy as typed
    local s=${1//\\/\\e}
    s=${s//-/\\-}
    [[ $s == [.\']* ]] && s="\\&$s"
    printf '%s\n' "$s"
}

roff_entry() {  # index: .TP, the names in bold, the value in italics, the notes, then the description
    local i=$1 name names="" arg=${E_ARG[$1]} note=${E_NOTE[$1]}
    for name in ${E_NAMES[i]}; do
        names+="${names:+, }\\fB${name//-/\\-}\\fR"
    done
    [[ ${E_SECTION[i]} == Positionals ]] && names="\\fI${E_NAMES[i]}\\fR"
    [[ -n $arg && ${E_SECTION[i]} != Positionals ]] && names+=" \\fI$(roff "$arg")\\fR"
    [[ -n $note ]] && names+=" ($(roff "${note,,}"))"
    printf '.TP\n%s\n' "$names"
    roff "${E_DESC[i]}"
}

roff_entries() {  # scope section
    local i
    for i in "${!E_DESC[@]}"; do
        [[ ${E_SCOPE[i]} == "$1" && ${E_SECTION[i]} == "$2" ]] && roff_entry "$i"
    done
    return 0
}

write_man_page() {  # version date
    local name=kzr40 summary=${SCOPE_DESC[.]} command
    summary=${summary#"$name: "}
    printf '.TH %s 1 "%s" "%s %s" "User Commands"\n' "${name^^}" "$2" "$name" "$1"
    printf '.SH NAME\n%s \\- %s\n' "$name" "$(roff "${summary%.}")"
    printf '.SH SYNOPSIS\n'
    printf '.B %s\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n.br\n' "$name"
    for command in "${COMMANDS[@]}"; do
        printf '.B %s\n%s\n.br\n' "$name" "$(roff "${SCOPE_USAGE[$command]#"$name "}")"
    done
    printf '.SH DESCRIPTION\n.B %s\n' "$name"
    roff "$summary"
    printf '.SH OPTIONS\n'
    roff_entries . Options
    printf '.SH COMMANDS\n'
    for command in "${COMMANDS[@]}"; do
        printf '.SS "%s"\n' "$(roff "${SCOPE_USAGE[$command]}")"
        roff "${SCOPE_DESC[$command]}"
        roff_entries "$command" Positionals
        roff_entries "$command" Options
    done
}
