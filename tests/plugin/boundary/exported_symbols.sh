#!/usr/bin/env bash
# Lists what libkzr40.so exports beyond the entry points and the classes that cross the boundary.
# Template code of the standard library that the compiler emits with default visibility is allowed.
set -euo pipefail
library=$1
allowed_classes='TObject|TPersistent|TComponent|TControl|TGraphicControl|TnoxCustomShape|TnoxMoveableShape|TGerador|RegistroGeradores|HostString|HostStringList|StringList|TFont|TFontStyles|TTable|TFieldDef|TFieldDefs|TIndexDef|TIndexDefs|TIndexOptions|TAtributo|TChaveSecundaria|TEntidade|EInOutError|EComponentError|EListError|ScopedWorkingDirectory'
entry_points='GetID|Init|set_var|listas|Lings|Bancos|tipofonte|carrega_tipo|carrega_comps|nometipo|ordemtipo|variavel|decimais|traduzcampo|nomecomponente|gerar_cabecalho|gerar_cab_sql|montar_listagem|finalizar|gera_fonte|gera_fonte_sql|gera_tab|gerarform|gerarmain'

symbols=$(nm -D --defined-only "$library" | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }' | c++filt)
count=$(grep -cxE "$entry_points" <<<"$symbols" || true)
if [ "$count" -ne 24 ]; then
  echo "expected the 24 entry points, found $count"
  exit 1
fi
stray=$(grep -vxE "$entry_points" <<<"$symbols" |
  grep -vE "^((typeinfo|typeinfo name|vtable) for )?($allowed_classes)(::|$)" |
  grep -vE "^((typeinfo|typeinfo name|vtable|VTT) for |[A-Za-z_][A-Za-z0-9_:<>*, ]* )?(std|__gnu_cxx)::|^_(init|fini|edata|end|_bss_start)$" || true)
if [ -n "$stray" ]; then
  echo "exported but not part of the boundary:"
  echo "$stray"
  exit 1
fi
echo "$(wc -l <<<"$symbols") exported symbols, all part of the boundary"
