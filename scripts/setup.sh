#!/usr/bin/env bash
# Installs the Debian packages that building and testing KZR40 needs, only those that are missing,
# so that a second run costs a second. Needs root or sudo for the installation itself.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config   # either generator builds the project
  libgtest-dev libgmock-dev googletest   # unit tests
  libbenchmark-dev                       # benchmarks
  libcli11-dev                           # command line of the host
  libsimdjson-dev                        # diagram files: reading
  nlohmann-json3-dev                     # diagram files: writing
  libgraphviz-dev                        # automatic layout of diagrams
  libsqlite3-dev                         # SQL script checked against a real database; kzr40 import reads SQLite
  libpg-query-dev                        # kzr40 import --from postgresql: PostgreSQL's own parser
  pxlib-dev                              # kzr40 import --from paradox: Paradox tables
  sqlite3 postgresql mariadb-server      # the dialect scripts loaded into each database they are for
  fp-compiler                            # Free Pascal: form-file oracle and compile test of generated code
  fp-units-db                            # generate --target lazarus: TDbf, the dBase tables of the application
  lcl-utils-2.2 lcl-units-2.2 lcl-gtk2-2.2  # generate --target lazarus: lazbuild, the LCL and its gtk2 widget set
  clang libclang-rt-14-dev               # fuzz targets (libFuzzer)
  g++-multilib                           # 32-bit layout check of the boundary records
  libcairo2-dev                          # canvas back end: PNG, SVG and PDF
  libfontconfig-dev libfreetype-dev      # text metrics: font files found by family, measured
  fonts-liberation2                      # the faces that stand for Arial, Times New Roman, Courier New
  libxml2-utils                          # xmllint: the drawn SVG is checked for well-formedness
  librsvg2-bin                           # rsvg-convert: the drawn SVG is rendered and compared with the PNG
  poppler-utils                          # pdftotext: the drawn PDF's text is checked to be searchable
  graphviz                               # dot: bench/svg_bench draws the same tables with dot -Tsvg
  libgtk-3-dev                           # kzr40 edit: the diagram window
  xvfb                                   # end-to-end test of kzr40 edit: a display of its own
  xdotool                                # end-to-end test of kzr40 edit: the real pointer and keys
  x11-apps                               # end-to-end test of kzr40 edit: xwd takes the screenshot
  xclip                                  # end-to-end test of kzr40 edit: what the SQL window copies
  x11-xserver-utils                      # xmodmap: keys of their own for the letters the Lazarus test types
  dpkg-dev                               # cpack -G DEB: dpkg-shlibdeps finds the package's dependencies
  groff-base                             # the installed manual page is checked for troff warnings
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
