#!/usr/bin/env bash
# The Lazarus target built and run for real.
#
#   lazarus_app.sh build KZR40 WORK RANDOM_COUNT
#       generates both examples and RANDOM_COUNT seeded random diagrams with --target lazarus into
#       WORK, builds each with lazbuild, and builds the test's own tools (a TDbf reader, a screenshot
#       converter, a window closer); the checks below reuse what this leaves in WORK
#   lazarus_app.sh run WORK RANDOM_RUNS PNG_COMPARE EXPECTED_DIR
#       starts the built vendas application under Xvfb (gtk2): its tables are created in the data
#       directory given on the command line; each table's form opens through its menu item with the
#       real pointer; a row is typed into the vertical forms of Cliente (a string, an integer of six
#       digits, a date, a check box) and Pedido (an integer, a date, the client from the lookup combo,
#       a decimal) and posted with the navigator; the application closes through its menu, starts
#       again, finds the client and changes it; the .dbf files are then read with the TDbf reader and
#       every field compared. Then the first RANDOM_RUNS random applications start, create their
#       tables and open each form through the menu. Screenshots of one form of each layout go to
#       WORK/shots.
#
# Exit status: 0 passed, 1 failed, 77 skipped (lazbuild, Xvfb or xdotool missing).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
need() {
    for program in "$@"; do
        command -v "$program" >/dev/null 2>&1 || { echo "skipped: $program not found (scripts/setup.sh installs it)"; exit 77; }
    done
}

lazarus_build() {  # DIRECTORY: builds the one project there
    local project
    project=$(ls "$1"/*.lpi)
    lazbuild --primary-config-path="$work/lazarus-config" "$project" >"$1/build.log" 2>&1 ||
        { tail -30 "$1/build.log" >&2; fail "lazbuild $project"; }
    [ -x "${project%.lpi}" ] || fail "lazbuild made no program ${project%.lpi}"
}

generate() {  # NAME DIAGRAM [OPTIONS]
    local name=$1 diagram=$2
    shift 2
    "$kzr40" generate "$diagram" --target lazarus --dir "$work/$name" "$@" >"$work/$name.log" 2>&1 ||
        { cat "$work/$name.log" >&2; fail "kzr40 generate $diagram --target lazarus"; }
}

case ${1:-} in
build)
    (($# == 4)) || { echo "usage: lazarus_app.sh build KZR40 WORK RANDOM_COUNT" >&2; exit 2; }
    need lazbuild fpc
    kzr40=$2 work=$3 count=$4
    [ -n "$work" ] && [ "$work" != / ] || fail "bad work directory \"$work\""
    rm -rf "$work"
    mkdir -p "$work/tools/units"
    for tool in dbf_dump xwd2png wm_close; do
        fpc -FU"$work/tools/units" -o"$work/tools/$tool" "$here/$tool.pas" >"$work/tools/$tool.log" 2>&1 ||
            { cat "$work/tools/$tool.log" >&2; fail "fpc $tool.pas"; }
    done
    generate vendas "$here/../../examples/vendas.json"
    generate cliente "$here/../../examples/cliente.json" --kind dbase
    lazarus_build "$work/vendas"
    lazarus_build "$work/cliente"
    for ((seed = 1; seed <= count; seed++)); do
        bash "$here/random_diagram.sh" "$seed" >"$work/random$seed.json"
        generate "random$seed" "$work/random$seed.json"
        lazarus_build "$work/random$seed"
    done
    echo "built vendas, cliente and $count random diagrams"
    ;;
run)
    (($# == 5)) || { echo "usage: lazarus_app.sh run WORK RANDOM_RUNS PNG_COMPARE EXPECTED_DIR" >&2; exit 2; }
    need Xvfb xdotool xwd xmodmap
    work=$2 random_runs=$3 png_compare=$4 expected=$5
    app=$work/vendas/Vendas
    tools=$work/tools
    [ -x "$app" ] || fail "$app is not built (the build check sets it up)"
    data=$work/run/dados
    rm -rf "$work/run" "$work/shots"
    mkdir -p "$work/run" "$work/shots"

    exec 5>"$work/run/display"
    # -noreset: without it the server resets whenever its last client leaves (between two programs
    # started here), refusing the next one for a moment and forgetting the key map set below.
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/run/xvfb.log" 2>&1 &
    xvfb=$!
    app_pid=
    cleanup() {  # (no `a && b` here: under set -e a failing kill of an ended program would leave Xvfb running)
        if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
        kill "$xvfb" 2>/dev/null || true
        wait 2>/dev/null || true
    }
    trap cleanup EXIT
    for _ in $(seq 300); do [ -s "$work/run/display" ] && break; sleep 0.1; done
    DISPLAY=:$(cat "$work/run/display")
    export DISPLAY
    [ "$DISPLAY" != : ] || fail "Xvfb did not start: $(cat "$work/run/xvfb.log")"
    # Xvfb names its display as it starts listening; a program started at once can still be refused
    # ("cannot open display"), so the first client waits until one is served.
    for _ in $(seq 300); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb serves no client on $DISPLAY: $(cat "$work/run/xvfb.log")"
    # The accented letters typed below get keys of their own before any program starts: xdotool would
    # otherwise remap a spare key for each as it types it, and a program under load can read the
    # letter through the old map (the name then lost its "é").
    free_keys=($(xmodmap -pke | awk 'NF == 3 {print $2}' | head -3))
    ((${#free_keys[@]} == 3)) || fail "Xvfb's keyboard has no three free keys for the accented letters"
    xmodmap -e "keycode ${free_keys[0]} = eacute Eacute" -e "keycode ${free_keys[1]} = ccedilla Ccedilla" \
        -e "keycode ${free_keys[2]} = atilde Atilde"
    # The same pixels on every machine: only the Liberation faces, GTK's built-in theme, no caret blink.
    [ -d /usr/share/fonts/truetype/liberation2 ] || fail "fonts-liberation2 is not installed (scripts/setup.sh installs it)"
    export FONTCONFIG_FILE=$here/screenshot-fonts.conf XDG_CACHE_HOME=$work/run/cache GTK2_RC_FILES=$here/screenshot.gtkrc

    window() {  # TITLE: the id of the visible window of that title (a regular expression), waiting for it (LCL shows a small
                # window of the application's title while it starts; the form is the larger one)
        local id WIDTH deadline=$((SECONDS + 120))  # a gtk2 program's first start on a loaded machine is slow
        while ((SECONDS < deadline)); do
            [ -z "$app_pid" ] || kill -0 "$app_pid" 2>/dev/null ||
                fail "the application ended before its window \"$1\" showed: $(cat "$work/run/app.log")"
            for id in $(xdotool search --onlyvisible --name "^$1" 2>/dev/null); do
                eval "$(xdotool getwindowgeometry --shell "$id")"
                ((WIDTH > 150)) && { sleep 0.5; echo "$id"; return; }
            done
            sleep 0.1
        done
        xwd -root -silent -out "$work/run/failure.xwd" && "$tools/xwd2png" "$work/run/failure.xwd" "$work/shots/failure.png"
        fail "no window \"$1\" (the screen is in $work/shots/failure.png)"
    }
    gone() {  # TITLE: waits until no visible window has that title
        local deadline=$((SECONDS + 30))
        while ((SECONDS < deadline)); do
            xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
        fail "the window \"$1\" did not close"
    }
    click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
    # Slowly: a character outside the keyboard map (é) is typed through a keycode remapped for it,
    # which a busy X server can otherwise miss.
    type_text() { xdotool type --delay 100 "$1"; sleep 0.2; }
    shot() {  # WINDOW NAME: the window's picture (its client area, as there is no window manager) as
              # WORK/shots/NAME.png, once two dumps 0.2 s apart agree (the widget set paints late)
        xdotool mousemove 1023 767  # no pointer over the form: a button under it would be drawn lit
        for _ in $(seq 10); do
            sleep 0.2
            xwd -id "$1" -silent -out "$work/run/window.xwd"
            "$tools/xwd2png" "$work/run/window.xwd" "$work/run/shot.png"
            cmp -s "$work/run/shot.png" "$work/shots/$2.png" 2>/dev/null && return
            mv "$work/run/shot.png" "$work/shots/$2.png"
        done
        fail "the window of $2 kept changing"
    }
    launch() {  # PROGRAM DATA_DIR: started in the background as app_pid
        "$1" "$2" >>"$work/run/app.log" 2>&1 &
        app_pid=$!
        # Refused by a display that was not yet serving: started once more (the log keeps both).
        sleep 1
        if ! kill -0 "$app_pid" 2>/dev/null && grep -q "cannot open display" "$work/run/app.log"; then
            sleep 2
            "$1" "$2" >>"$work/run/app.log" 2>&1 &
            app_pid=$!
        fi
    }
    start() {
        launch "$app" "$data"
        main=$(window 'Vendas$')
    }
    quit() {  # through Arquivos > Sair
        click "$main" 40 13
        click "$main" 51 38
        for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
        ! kill -0 "$app_pid" 2>/dev/null || fail "Arquivos > Sair did not end the application"
        wait "$app_pid" || fail "the application ended with status $?: $(cat "$work/run/app.log")"
        app_pid=
    }
    # Menu positions on the main form: the bar's groups and each group's items, 21 pixels apart.
    open_form() {  # GROUP_X ITEM_ROW TITLE
        click "$main" "$1" 13
        click "$main" $(($1 + 11)) $((38 + 21 * $2))
        window "$3"
    }
    close_form() {  # WINDOW TITLE
        "$tools/wm_close" "$1"
        gone "$2"
    }
    # Navigator buttons, 24 pixels wide from x = 8: Insert is the fifth, Edit the seventh, Post the eighth.
    navigator() { click "$1" $((8 + 24 * $2 + 12)) 20; }
    # An editor of the vertical layout: the scroll box starts 41 pixels down, editors at x = 150.
    editor() { click "$1" $((150 + $2)) $((41 + $3 + 12)); }

    # First start: the tables are created in the data directory named on the command line.
    start
    for table in CLIENTE PRODUTO PEDIDO Itens_Pedido; do
        [ -s "$data/$table.dbf" ] || fail "the first start created no $data/$table.dbf"
    done
    [ -s "$data/CLIENTE.mdx" ] || fail "no index file for CLIENTE"

    # Cadastros > Clientes (vertical): one row typed and posted.
    form=$(open_form 120 0 "Cadastro de clientes")
    shot "$form" vertical
    navigator "$form" 4
    editor "$form" 20 10 && type_text 123456
    editor "$form" 40 44 && type_text "José da Conceição"
    editor "$form" 20 215 && type_text 25/12/2024
    editor "$form" 10 249
    navigator "$form" 7
    shot "$form" vertical-typed
    close_form "$form" "Cadastro de clientes"

    # Cadastros > Produtos (horizontal), Movimento > Itens (grid): they open and close.
    form=$(open_form 120 1 "Cadastro de produtos")
    shot "$form" horizontal
    close_form "$form" "Cadastro de produtos"
    form=$(open_form 208 1 "Itens dos pedidos")
    shot "$form" grid
    close_form "$form" "Itens dos pedidos"

    # Movimento > Pedidos: the client comes from the lookup combo, which lists the Cliente rows.
    form=$(open_form 208 0 "Pedidos")
    navigator "$form" 4
    editor "$form" 20 10 && type_text 654321
    editor "$form" 20 44 && type_text 31/01/2025
    editor "$form" 100 78
    sleep 0.5
    shot "$form" lookup-open
    xdotool key Down Return
    sleep 0.3
    editor "$form" 20 112 && type_text 1234,56
    navigator "$form" 7
    shot "$form" lookup-posted
    close_form "$form" "Pedidos"
    quit

    # Second start: the client is there; it is changed and posted again.
    start
    form=$(open_form 120 0 "Cadastro de clientes")
    navigator "$form" 6
    editor "$form" 40 44 && xdotool key End && type_text " Filho"
    navigator "$form" 7
    close_form "$form" "Cadastro de clientes"
    quit

    # The files as an independent reader sees them.
    expect() {  # TABLE EXPECTED-RECORD-LINES
        local got
        got=$("$tools/dbf_dump" "$data/$1.dbf" | sed -n '2,/^index /p' | grep -v '^index ' || true)
        [ "$got" = "$2" ] || fail "$1.dbf holds
$got
expected
$2"
    }
    expect CLIENTE "CODIGO=123456|NOME=José da Conceição Filho|CPF=<null>|CIDADE=<null>|UF=<null>|EMAIL=<null>|DESDE=2024-12-25|ATIVO=True"
    expect PEDIDO "NUMERO=654321|DATA=2025-01-31|CLIENTE=123456|TOTAL=1234.56|OBS=<null>"
    expect PRODUTO ""
    # Read whole before the match: grep -q leaving a pipe early fails the dump under pipefail.
    pedido=$("$tools/dbf_dump" "$data/PEDIDO.dbf")
    grep -qx 'index PRIMARY NUMERO unique descending' <<<"$pedido" ||
        fail "PEDIDO.mdx lacks its descending primary key: $pedido"

    # The random applications: each creates its tables on the first start, and each form opens
    # through its menu, here from the keyboard (F10, then the arrows), since the menu bar's texts vary.
    captions=("Formulário nº 0" "Formulário nº 2" "Formulário nº 1" "Manutenção da tabela DEPENDENTE" "Manutenção da tabela DONO")
    moves=("1 0" "1 1" "2 0" "3 0" "3 1")
    for ((seed = 1; seed <= random_runs; seed++)); do
        app=$(ls "$work/random$seed"/Aleat_rio_*.lpi)
        app=${app%.lpi}
        data=$work/run/random$seed
        launch "$app" "$data"
        main=$(window "Aleatório $seed\$")
        for table in Tabela__0 Tabela__1 Tabela__2 DEPENDENTE DONO; do
            [ -s "$data/$table.dbf" ] || fail "random$seed: the first start created no $data/$table.dbf"
        done
        for i in "${!captions[@]}"; do
            read -r group item <<<"${moves[i]}"
            xdotool mousemove --window "$main" 200 200 click 1
            xdotool key F10
            for ((k = 0; k < group; k++)); do xdotool key Right; done
            for ((k = 0; k <= item; k++)); do xdotool key Down; done
            xdotool key Return
            form=$(window "${captions[i]}")
            ((seed == 1)) && shot "$form" "random1-$i"
            close_form "$form" "${captions[i]}"
        done
        kill "$app_pid"
        wait "$app_pid" 2>/dev/null || true
        app_pid=
    done
    # One form of each layout as it was first shown, against the expected picture.
    mismatches=
    for name in vertical horizontal grid; do
        "$png_compare" "$expected/$name.png" "$work/shots/$name.png" "$work/shots/$name-diff.png" || mismatches+=" $name"
    done
    [ -z "$mismatches" ] || fail "the screenshots$mismatches differ from $expected (see above; the new pictures are in $work/shots)"
    echo "vendas: tables created, forms opened, rows posted and found again; $random_runs random applications started;" \
        "the forms look as expected"
    ;;
*)
    echo "usage: lazarus_app.sh build KZR40 WORK RANDOM_COUNT | run WORK RANDOM_RUNS PNG_COMPARE EXPECTED_DIR" >&2
    exit 2
    ;;
esac
