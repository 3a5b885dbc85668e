# Reads the program's help, top level and per command, into arrays that the page and completion
# writers share. The help is CLI11's layout: description lines, "Usage: ...", then sections headed
# "Name:" whose entries start two spaces in, the description after a run of two or more spaces or,
# when the entry is long, on the lines below it.
#
#   COMMANDS            the command names, in the order of the top-level help
#   SCOPE_DESC[s]       description of scope s ("." for the top level, else the command name)
#   SCOPE_USAGE[s]      its usage line without "Usage: "
#   E_SCOPE[i] E_SECTION[i] (Options, Positionals, ...) E_NAMES[i] (space-separated: "-o --output")
#   E_ARG[i] (the value's type text, empty for a flag) E_NOTE[i] (REQUIRED, Needs: ...) E_DESC[i]
#   E_VALUES[i]         what a value is: "choices a b c", number, directory, file, text or "" (flag)
#   SUMMARY[c]          the one-line summary of command c in the top-level help

COMMANDS=()
declare -A SCOPE_DESC SCOPE_USAGE SUMMARY
E_SCOPE=() E_SECTION=() E_NAMES=() E_ARG=() E_NOTE=() E_DESC=() E_VALUES=()

help_text() {  # scope: the help of the top level or of one command, the program named as installed
    local command=()
    [[ $1 == . ]] || command=("$1")
    PATH="$(dirname "$PROGRAM"):$PATH" "$(basename "$PROGRAM")" "${command[@]}" --help
}

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }

add_entry() {  # scope section spec desc
    local scope=$1 section=$2 spec=$3 desc=$4 first tail head
    first=${spec%% *}
    # After the names: the value's type, then CLI11's notes (REQUIRED, Needs: ..., Excludes: ...).
    tail=" ${spec#"$first"}"
    head=${tail%%" Needs:"*}
    head=${head%%" Excludes:"*}
    local note rest
    note=$(trim "${tail:${#head}}")
    rest=$(trim "$head")
    if [[ $rest == REQUIRED || $rest == *" REQUIRED" ]]; then
        rest=$(trim "${rest%REQUIRED}")
        note=$(trim "REQUIRED $note")
    fi
    E_SCOPE+=("$scope") E_SECTION+=("$section") E_NAMES+=("${first//,/ }") E_ARG+=("$rest")
    E_NOTE+=("$note") E_DESC+=("$desc")
}

# What a value is, for the completions: a choice CLI11 checks, a number, a directory or a file when
# the entry says so (an argument, or an option naming a file or an output), else free text.
value_kind() {  # index
    local arg=${E_ARG[$1]} desc=${E_DESC[$1]}
    if [[ -z $arg ]]; then echo ""
    elif [[ $arg =~ \{([^}]*)\} ]]; then echo "choices ${BASH_REMATCH[1]//,/ }"
    elif [[ $arg =~ ^(INT|UINT|FLOAT|NUMBER) ]]; then echo number
    elif [[ $desc =~ [Dd]irectory ]]; then echo directory
    elif [[ ${E_SECTION[$1]} == Positionals || $desc =~ [Ff]ile|[Oo]utput ]]; then echo file
    else echo text
    fi
}

parse_scope() {  # scope
    local scope=$1 line section="" desc="" in_usage=0 open=-1
    while IFS= read -r line; do
        if [[ $line == "Usage: "* ]]; then
            SCOPE_USAGE[$scope]=${line#Usage: }
            in_usage=1
        elif ((!in_usage)); then
            desc+="${desc:+ }$line"
        elif [[ $line =~ ^([A-Za-z][A-Za-z ]*):$ ]]; then
            section=${BASH_REMATCH[1]}
        elif [[ $line =~ ^\ \ ([^ ].*)$ ]]; then
            local body=${BASH_REMATCH[1]} spec text=""
            if [[ $body == *"  "* ]]; then
                spec=${body%%  *}
                text=$(trim "${body#"$spec"}")
            else
                spec=$body
            fi
            if [[ $section == Subcommands ]]; then
                COMMANDS+=("$spec")
                SUMMARY[$spec]=$text
                open=-1
            else
                add_entry "$scope" "$section" "$spec" "$text"
                open=$((${#E_DESC[@]} - 1))
            fi
        elif [[ $line =~ ^\ \ \ +([^ ].*)$ ]] && ((open >= 0)); then
            E_DESC[open]+="${E_DESC[open]:+ }${BASH_REMATCH[1]}"
        fi
    done < <(help_text "$scope")
    SCOPE_DESC[$scope]=$desc
}

parse_help() {
    parse_scope .
    local command
    for command in "${COMMANDS[@]}"; do parse_scope "$command"; done
    local i
    for i in "${!E_DESC[@]}"; do E_VALUES[i]=$(value_kind "$i"); done
}
