#!/usr/bin/env bash
# random_diagram.sh SEED: a seeded random diagram (JSON) for the Lazarus target's build check. Every
# diagram has three entities, one per layout, and a fourth whose foreign key a lookup combo edits;
# over the seeds every field type the target maps, every editor component, keys of one and of
# several fields, secondary keys of every option and accents in names and captions turn up.
set -euo pipefail
((RANDOM = $1))

types=(String SmallInt Integer Word Boolean Float Currency BCD Date Time DateTime Bytes VarBytes AutoInc Blob Memo
       Graphic FmtMemo ParadoxOle)
key_types=(String SmallInt Integer Word Float Date DateTime)
plain=(TDBEdit TDBComboBox TDBListBox TDBRadioGroup TDBText)
layouts=(vertical horizontal grid)
words=(Código Preço Descrição Situação Observação Endereço Cidade Número Valor Opção)

# The draws set variables rather than print: a command substitution is a subshell, and bash reseeds
# RANDOM in each one, which would make the diagram of a seed differ from run to run.
pick() { local -n list=$1; picked=${list[RANDOM % ${#list[@]}]}; }

component_of() {  # TYPE: sets component
    case $1 in
    Boolean) component=TDBCheckBox ;;
    Memo | FmtMemo) component=TDBMemo ;;
    Graphic) component=TDBImage ;;
    Blob | Bytes | VarBytes | ParadoxOle) component=TDBText ;;
    *) pick plain && component=$picked ;;
    esac
}

attribute() {  # NAME TYPE KEY
    local name=$1 type=$2 key=$3 size="" component
    component_of "$type"
    pick words
    case $type in String | Bytes | VarBytes | Memo) size=", \"tamanho\": $((RANDOM % 40 + 2))" ;; esac
    [ "$type" = BCD ] && size=", \"tamanho\": 12, \"decimais\": 2"
    printf '        { "nome": "%s", "titulo": "%s %s", "tipo": "%s"%s, "key": %s, "componente": "%s" }' \
        "$name" "$picked" "$name" "$type" "$size" "$key" "$component"
}

echo '{ "version": 1, "project": "Aleatório '"$1"'", "entities": ['
indexable=()
for e in 0 1 2; do
    keys=$((RANDOM % 2 + 1))
    [ $e -gt 0 ] && echo ','
    echo "    { \"entidade\": \"Entidade $e\", \"tabela\": \"Tabela Ç$e\", \"Tituloform\": \"Formulário nº $e\","
    echo "      \"Tipoform\": \"${layouts[e]}\", \"Menu\": \"Grupo $((e % 2));Tabela $e\","
    ((RANDOM % 2)) && echo '      "Primaria": { "descending": true },'
    echo '      "shape": { "left": '$((e * 200))', "top": 40 }, "atributos": ['
    indexable=()
    for ((k = 0; k < keys; k++)); do
        pick key_types
        attribute "K$k" "$picked" true
        echo ','
    done
    count=$((RANDOM % 5 + 4))
    for ((a = 0; a < count; a++)); do
        if ((a < ${#types[@]} && e * 7 + a < ${#types[@]})); then type=${types[(e * 7 + a + RANDOM % 3) % ${#types[@]}]}; else pick types && type=$picked; fi
        attribute "A$a" "$type" false
        case $type in Boolean | Blob | Memo | Graphic | FmtMemo | ParadoxOle | Bytes | VarBytes) ;; *) indexable+=("A$a") ;; esac
        ((a + 1 < count)) && echo ','
    done
    echo
    echo '      ], "ChavesSecundarias": ['
    n=0
    for field in "${indexable[@]:0:2}"; do
        ((n++)) && echo ','
        flags=()
        for _ in 1 2 3; do ((RANDOM % 2)) && flags+=(true) || flags+=(false); done
        printf '        { "nome": "IX_%s_%s", "campos": ["%s"], "duplicates": %s, "descending": %s, "case_sensitive": %s }' \
            "$e" "$field" "$field" "${flags[@]}"
    done
    if ((${#indexable[@]} >= 2)); then
        ((n++)) && echo ','
        printf '        { "nome": "IX_%s_PAR", "campos": ["%s", "%s"], "duplicates": true }' "$e" "${indexable[0]}" "${indexable[1]}"
    fi
    echo
    echo '      ] }'
done
cat <<'JSON'
    ,
    { "entidade": "Dependente", "tabela": "DEPENDENTE", "Tipoform": "vertical", "Menu": ";Dependentes",
      "shape": { "left": 600, "top": 300 }, "atributos": [
        { "nome": "ID", "titulo": "Id", "tipo": "AutoInc", "key": true },
        { "nome": "DONO", "titulo": "Dono", "tipo": "Integer", "foreign_key": true, "origem": "Dono_Dependente",
          "componente": "TDBLookupComboBox" },
        { "nome": "LISTA", "titulo": "Lista", "tipo": "Integer", "componente": "TDBLookupListBox" }
      ] },
    { "entidade": "Dono", "tabela": "DONO", "Tipoform": "grid", "Menu": ";Donos",
      "shape": { "left": 600, "top": 40 }, "atributos": [
        { "nome": "CODIGO", "titulo": "Código", "tipo": "Integer", "key": true },
        { "nome": "NOME", "titulo": "Nome", "tipo": "String", "tamanho": 30 }
      ] }
  ],
  "relationships": [ { "name": "Dono_Dependente", "from": "Dono", "to": "Dependente", "Relacao": "tr1xn" } ]
}
JSON
