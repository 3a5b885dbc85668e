#!/usr/bin/env bash
# Compiles what `kzr40 generate` writes with Free Pascal in Delphi mode against the stand-in units of
# the target library (standins/), links the project, and runs the generated GerarDBs unit.
#
#   compile_generated.sh KZR40 FPC WORKDIR CASE [ARGUMENTS]
#
#   application DIAGRAM [OPTIONS]  generate with OPTIONS (passed to `kzr40 generate`); compile and link
#                                  the project (the main unit and every maintenance unit come with it)
#                                  and a program over GerarDBs; run that program and compare the
#                                  tables it creates with what `kzr40 tables` sets up
#   known-failures                 texts that the generators write exactly so and that do not compile:
#                                  each fails on its own lines only and compiles once that text is fixed
#   faults                         deliberate faults put into copies of generated files must each stop
#                                  the compiler, so that a pass above means something
#
# The generated files stay as written; the compiler gets them under the names the code uses (links
# named *.pas for the *.PAS units) and each form file as a copy without its 16-bit resource header,
# which Free Pascal's resource compiler does not take.
# Exit status: 0 passed, 1 failed, 77 skipped (Free Pascal missing).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
standins=$here/standins

if (($# < 4)); then
    echo "usage: compile_generated.sh KZR40 FPC WORKDIR application|known-failures|faults [ARGUMENTS]" >&2
    exit 2
fi
kzr40=$1 fpc=$2 work=$3 case_name=$4
shift 4

if ! command -v "$fpc" >/dev/null 2>&1; then
    echo "skipped: Free Pascal (fpc) not found; install fp-compiler to run the compile test"
    exit 77
fi

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

[ -n "$work" ] && [ "$work" != / ] || fail "bad work directory \"$work\""
rm -rf "$work"
mkdir -p "$work"

# generate OUT [kzr40 generate arguments]
generate() {
    local out=$1
    shift
    "$kzr40" generate "$@" --dir "$out" >"$out.log" 2>&1 || { cat "$out.log" >&2; fail "kzr40 generate $*"; }
}

# strip_header FORMFILE STREAM: checks the resource header (FF, type 10, upper-case name, 0, flags
# $1030, 32-bit length of the rest) and writes the bare component stream that follows it.
strip_header() {
    local file=$1 stream=$2
    local -a b
    read -r -a b <<<"$(od -An -v -tu1 -N 300 "$file" | tr -s ' \n' '  ')"
    ((${#b[@]} > 10)) && ((b[0] == 255 && b[1] == 10 && b[2] == 0)) || fail "$file: no resource header"
    local i=3
    while ((i < ${#b[@]} && b[i] != 0)); do ((i += 1)); done
    ((i + 6 < ${#b[@]} && b[i + 1] == 48 && b[i + 2] == 16)) || fail "$file: bad resource name or flags"
    local length=$((b[i + 3] | b[i + 4] << 8 | b[i + 5] << 16 | b[i + 6] << 24))
    local start=$((i + 7)) size
    size=$(stat -c %s "$file")
    ((start + length == size)) || fail "$file: header says $length bytes follow, the file has $((size - start))"
    tail -c +$((start + 1)) "$file" >"$stream"
    [ "$(head -c 4 "$stream")" = TPF0 ] || fail "$file: no TPF0 stream after the header"
}

# present GENERATED SRC: the generated files under the names that the code uses.
present() {
    local generated=$1 src=$2 file base
    mkdir -p "$src"
    for file in "$generated"/*; do
        base=$(basename "$file")
        case $base in
        *.PAS) ln -s "$file" "$src/${base%.PAS}.pas" ;;
        *.dfm) strip_header "$file" "$src/${base%.dfm}.DFM" ;;
        *) ln -s "$file" "$src/$base" ;;
        esac
    done
}

# compile_pas SRC NAME LOG: compiles SRC/NAME (and the units it uses); a program is linked.
compile_pas() {
    local src=$1 name=$2 log=$3
    local out=$src/../out
    mkdir -p "$out"
    (cd "$src" && "$fpc" -Mdelphi -vew -Fu"$standins" -FU"$out" -FE"$out" "$name") >"$log" 2>&1
}

# build SRC NAME: compile_pas that must succeed.
build() {
    local src=$1 name=$2 log=$1/../${2//\//_}.log
    compile_pas "$src" "$name" "$log" || { cat "$log" >&2; fail "fpc -Mdelphi $name"; }
    echo "compiled $name"
}

the_project() {
    local src=$1 found
    found=$(cd "$src" && ls ./*.DPR)
    [ "$(echo "$found" | wc -l)" -eq 1 ] || fail "expected one project source in $src, found: $found"
    basename "$found"
}

# tables_expected yes|no DIAGRAM OPTIONS: what gera_tab sets up, one table per block: "table NAME",
# the type, "field NAME TYPE [size N] required|optional" per field and, with yes, the index lines.
# A size counts for the types that take one (the unit writes a size for every type).
tables_expected() {
    local indexes=$1
    shift
    "$kzr40" tables "$@" | awk -v indexes="$indexes" '
        /^  table / { sub(/^  table /, ""); split($0, p, ", type "); sub(/,.*/, "", p[2])
                      print "table " p[1]; print "type " tolower(p[2]); next }
        /^    field / { sub(/^    field /, ""); name = $0; sub(/:.*/, "", name)
                        type = $0; sub(/^[^:]*: /, "", type); sub(/,.*/, "", type)
                        size = ""; if (match($0, /, size [0-9]+/)) size = " size " substr($0, RSTART + 7, RLENGTH - 7)
                        print "field " name " " tolower(type) size " " ($0 ~ /, required$/ ? "required" : "optional"); next }
        /^    index / && indexes == "yes" {
                        if (match($0, /^    index \(primary\) on /)) name = ""
                        else { name = $0; sub(/^    index /, "", name); sub(/ on "[^"]*" \[[^]]*\]$/, "", name) }
                        rest = $0; sub(/^.* on /, "", rest); print "index \"" name "\" " rest }'
}

# tables_created yes|no DIR NAME...: the same from the files that the stand-in table wrote. The unit joins
# key fields with "; ", the engine trims each name of a field list, so blanks after ";" do not count.
tables_created() {
    local indexes=$1 dir=$2 table
    shift 2
    for table in "$@"; do
        [ -f "$dir/$table" ] || { echo "table $table: no file"; continue; }
        echo "table $table"
        tr -d '\r' <"$dir/$table" | awk -v indexes="$indexes" '
            /^type / { print "type " tolower($2); next }
            /^field / { type = tolower($3); sub(/^ft/, "", type)
                        size = (type ~ /^(string|bytes|varbytes|memo)$/ && $4 != 0) ? " size " $4 : ""
                        print "field " $2 " " type size " " ($5 == "True" ? "required" : "optional"); next }
            /^index / && indexes == "yes" { gsub(/; +/, ";"); print }'
    done
}

# run_gerardbs OUT DIAGRAM [kzr40 generate arguments]: CriarTodas makes the directory and every
# table; it keeps an existing table only when asked to; the tables match gera_tab's (indexes only for
# Paradox, where both write the primary index and the same option sets).
run_gerardbs() {
    local out=$1 diagram=$2
    shift 2
    local kind=paradox indexes=yes
    local -a args=("$@")
    for ((k = 0; k < ${#args[@]}; k++)); do [ "${args[k]}" = --kind ] && kind=${args[k + 1]}; done
    [ "$kind" = paradox ] || indexes=no

    local dir=$out/banco/novo
    mkdir -p "$out/banco"
    "$out/criar_tabelas" "$dir/" replace || fail "criar_tabelas $dir/ replace"
    [ -d "$dir" ] || fail "CriarTodas did not create $dir"

    local -a names
    mapfile -t names < <("$kzr40" tables "$diagram" --kind "$kind" | sed -n 's/^  table \(.*\), type .*/\1/p')
    diff <(tables_expected "$indexes" "$diagram" --kind "$kind") <(tables_created "$indexes" "$dir" "${names[@]}") ||
        fail "the tables that GerarDBs creates differ from gera_tab's (< gera_tab, > GerarDBs)"
    diff <(ls -A "$dir" | sort) <(printf '%s\n' "${names[@]}" | sed '/^$/d' | sort) ||
        fail "the files in $dir are not the diagram's tables (< files, > tables)"

    ((${#names[@]})) || { echo "ran GerarDBs: no tables"; return; }
    local first=$dir/${names[0]}
    echo antiga >"$first"
    "$out/criar_tabelas" "$dir/" keep || fail "criar_tabelas keep"
    [ "$(cat "$first")" = antiga ] || fail "CriarTodas replaced ${names[0]} although asked to keep it"
    "$out/criar_tabelas" "$dir/" replace || fail "criar_tabelas replace"
    [ "$(cat "$first")" != antiga ] || fail "CriarTodas kept ${names[0]} although asked to replace it"
    echo "ran GerarDBs: ${#names[@]} tables as gera_tab sets them up; kept and replaced on request"
}

case_application() {
    (($# >= 1)) || fail "application needs a diagram"
    local diagram=$1
    shift
    generate "$work/gen" "$diagram" "$@"
    present "$work/gen" "$work/src"
    build "$work/src" "$(the_project "$work/src")"
    build "$work/src" GerarDBs.pas
    # Free Pascal's own packages may install a unit DB; the stand-in must be the one compiled in.
    [ -f "$work/out/db.ppu" ] || fail "the stand-in unit DB was not used"
    ln -s "$here/criar_tabelas.pas" "$work/src/criar_tabelas.pas"
    build "$work/src" criar_tabelas.pas
    run_gerardbs "$work/out" "$diagram" "$@"
}

# known_failure NAME FILE LINES ERRORS FIX -- GENERATE-ARGUMENTS: FILE (the project when "project")
# fails to compile with errors matching ERRORS exactly on the lines that match LINES, nowhere else; the
# sed expression FIX applied to a copy makes everything compile.
known_failure() {
    local name=$1 file=$2 lines=$3 errors=$4 fix=$5
    shift 6
    local dir=$work/$name
    mkdir -p "$dir"
    generate "$dir/gen" "$@"
    present "$dir/gen" "$dir/src"
    [ "$file" = project ] && file=$(the_project "$dir/src")

    local expected actual wrong
    expected=$(grep -n -E "$lines" "$dir/src/$file" | cut -d: -f1 | sort -n | tr '\n' ' ')
    [ -n "$expected" ] || fail "$name: no line of $file matches $lines"
    if compile_pas "$dir/src" "$file" "$dir/fpc.log"; then
        fail "$name: $file compiled, but the text was expected to fail"
    fi
    local positioned='^[^ ]+\([0-9]+(,[0-9]+)?\) (Error|Fatal): '
    local summary='There were [0-9]+ errors compiling module'
    wrong=$(grep -E "$positioned" "$dir/fpc.log" | grep -v -E "$summary" |
        grep -v -E "^$file\([0-9]+(,[0-9]+)?\) (Error|Fatal): $errors" || true)
    [ -z "$wrong" ] || { cat "$dir/fpc.log" >&2; fail "$name: unexpected errors: $wrong"; }
    actual=$(grep -E "^$file\(" "$dir/fpc.log" | grep -v -E "$summary" |
        sed -E 's/^[^(]+\(([0-9]+).*/\1/' | sort -n -u | tr '\n' ' ')
    [ "$actual" = "$expected" ] || { cat "$dir/fpc.log" >&2; fail "$name: errors on lines $actual, expected $expected"; }

    local original
    original=$(readlink -f "$dir/src/$file")
    rm "$dir/src/$file"
    sed -E "$fix" "$original" >"$dir/src/$file"
    cmp -s "$original" "$dir/src/$file" && fail "$name: the fix changed nothing"
    rm -rf "$dir/out"
    build "$dir/src" "$file"
    echo "known failure $name: $file lines $expected"
}

case_known_failures() {
    local diagrams=$work/diagrams
    mkdir -p "$diagrams"
    # The catalogue names field type 0 "Desconhecido"; the type enumeration calls it ftUnknown.
    cat >"$diagrams/desconhecido.json" <<'EOF'
{ "version": 1, "project": "Tipos", "entities": [ { "entidade": "Tipos", "tabela": "TIPOS",
  "atributos": [ { "nome": "ID", "tipo": "Integer", "key": true }, { "nome": "X", "tipo": "Desconhecido", "tamanho": 4 } ] } ] }
EOF
    # Index names and fields are written as typed between apostrophes.
    cat >"$diagrams/apostrofo.json" <<'EOF'
{ "version": 1, "project": "Indices", "entities": [ { "entidade": "Nomes", "tabela": "NOMES",
  "atributos": [ { "nome": "ID", "tipo": "Integer", "key": true } ],
  "ChavesSecundarias": [ { "nome": "IDX'ID", "campos": ["ID"] } ] } ] }
EOF
    local cliente=$here/../../../examples/cliente.json
    # The database engine has no Oracle table type.
    known_failure oracle GerarDBs.pas 'TableType := ttOracle;' 'Identifier not found "ttOracle"' \
        's/ttOracle/ttDefault/' -- "$here/../../../examples/vendas.json" --kind oracle
    known_failure field_type_0 GerarDBs.pas ', ftDesconhecido, ' 'Identifier not found "ftDesconhecido"' \
        's/ftDesconhecido/ftUnknown/' -- "$diagrams/desconhecido.json"
    known_failure index_apostrophe GerarDBs.pas "Add\('IDX'ID'" '' \
        "s/'IDX'ID'/'IDX''ID'/" -- "$diagrams/apostrofo.json"
    # The title goes unchanged between the apostrophes of Application.Title.
    known_failure title_apostrophe project "Application.Title := 'D'" '' \
        "s/'D'Avila'/'D''Avila'/" -- "$cliente" --title "D'Avila"
    # The sanitised title names the program, which may then start with a digit.
    known_failure title_digit project '^Program 2024_Vendas;' '' \
        's/^Program 2024_Vendas;/Program _2024_Vendas;/' -- "$cliente" --title "2024 Vendas"
}

# The generated sales application with one fault put in at a time: each must stop the compiler.
case_faults() {
    generate "$work/gen" "$here/../../../examples/vendas.json"
    present "$work/gen" "$work/src"
    build "$work/src" Vendas.DPR
    build "$work/src" GerarDBs.pas
    local -a faults=(
        'MCLIENTE.pas|s/Table1\.open/Table1.opened/|unknown member of the table'
        'MCLIENTE.pas|s/caFree;/caFreed;/|unknown close action'
        'MCLIENTE.pas|s/: TDBEdit;/: TDBEdits;/|unknown editor class'
        'MCLIENTE.pas|s/^(procedure TF_CLIENTE\.FormClose\(Sender: TObject; )var /\1/|handler implemented without its var parameter'
        'MItens_Pedido.pas|s/, DBGrids;/;/|grid unit missing from the uses clause'
        'MPEDIDO.pas|s/^unit MPEDIDO;/unit MPEDIDOS;/|unit name that differs from its file'
        'Princ.pas|s/\.onclick:=/.onclik:=/|unknown menu item event'
        'Princ.pas|s/F_CLIENTE\.showmodal;/F_CLIENTE.showmodal(1);/|modal call with an argument'
        'Princ.pas|s/^procedure TFproj\.MMPEDIDOClick/procedure TFproj.MMPEDIDOClik/|declared handler not implemented'
        'Princ.pas|s/^    MPRODUTO,/    MPRODUT,/|uses a unit that was not generated'
        'Vendas.DPR|s/Application\.Run;/Application.Running;/|unknown application member'
        'Vendas.DPR|s/TFproj, F_Princ/TFproj, F_Principal/|form variable that does not exist'
        'GerarDBs.pas|s/ftInteger,/ftInt,/|unknown field type'
        'GerarDBs.pas|s/\[ixPrimary,ixUnique\]/[ixPrimary,ixUniq]/|unknown index option'
        'GerarDBs.pas|s/ttParadox;/ttParadoxo;/|unknown table type'
        "GerarDBs.pas|s/Add\('CODIGO', ftInteger, 0, True\)/Add('CODIGO', ftInteger, 0, True, 1)/|field definition with a fifth argument"
        "GerarDBs.pas|s/Add\('', 'CODIGO'/Add('CODIGO'/|index definition without its name"
        'GerarDBs.pas|s/CreateTable;/CreateTables;/|unknown table method'
        'GerarDBs.pas|s/Not\(DirectoryExists/Not(DirExists/|unknown function'
        'Princ.pas||main unit only under its generated name Princ.PAS'
        'MItens_Pedido.pas||maintenance unit only under its generated name MItens_Pedido.PAS'
        'MCLIENTE.DFM||form file missing'
        'MPEDIDO.DFM|raw|form file with its 16-bit resource header'
    )
    local entry file expression what n=0 dir
    for entry in "${faults[@]}"; do
        IFS='|' read -r file expression what <<<"$entry"
        n=$((n + 1))
        dir=$work/fault$n
        mkdir -p "$dir"
        cp -a "$work/src" "$dir/src"
        if [ -z "$expression" ]; then
            rm "$dir/src/$file"
        elif [ "$expression" = raw ]; then
            cp "$work/gen/${file%.DFM}.dfm" "$dir/src/$file"
        else
            rm "$dir/src/$file"
            sed -E "$expression" "$(readlink -f "$work/src/$file")" >"$dir/src/$file"
            cmp -s "$(readlink -f "$work/src/$file")" "$dir/src/$file" && fail "fault $n ($what): $expression changed nothing"
        fi
        local target=Vendas.DPR
        [ "$file" = GerarDBs.pas ] && target=GerarDBs.pas
        if compile_pas "$dir/src" "$target" "$dir/fpc.log"; then
            fail "fault $n ($what) in $file was compiled without complaint"
        fi
        grep -E '(Error|Fatal): ' "$dir/fpc.log" | grep -q -i -F "${file%.*}" ||
            { cat "$dir/fpc.log" >&2; fail "fault $n ($what): no compiler error names ${file%.*}"; }
        echo "fault $n stops the compiler: $what"
    done
}

case $case_name in
application) case_application "$@" ;;
known-failures) case_known_failures ;;
faults) case_faults ;;
*) fail "unknown case $case_name" ;;
esac
echo "passed"
