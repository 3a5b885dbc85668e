#!/usr/bin/env bash
# Fails when the README or a page of docs/ names a file or folder of the tree that does not exist:
# every word that starts with one of the tree's top folders, and every relative Markdown link.
# Words with wildcards or placeholders (*, <, >, {, }) name families of files and are left alone.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

folders='app|appgen|bench|diagram|dialects|docs|editor|examples|fuzz|host|lazarus|model|platform|plugin|schema|scripts|shapes|tests|\.ci'
missing=0
for page in README.md docs/*.md; do
  dir=$(dirname "$page")
  # Words that name a path of the tree, with the punctuation of the sentence around them taken off.
  while IFS= read -r word; do
    case $word in *[\*\<\>\{\}]*) continue ;; esac
    path=${word%%:*}  # file:line references
    if [ ! -e "$path" ]; then
      echo "$page: names $path, which does not exist"
      missing=1
    fi
  done < <(grep -oE "(^|[^A-Za-z0-9_./-])($folders)/[A-Za-z0-9_./*<>{}:+-]*" "$page" \
             | sed -E 's/^[^A-Za-z.]//; s/[.,:;)]+$//' | sort -u)
  # Relative links: [text](target) and [text](target#anchor).
  while IFS= read -r target; do
    target=${target%%#*}
    [ -n "$target" ] || continue
    case $target in *://*|mailto:*) continue ;; esac
    if [ ! -e "$dir/$target" ]; then
      echo "$page: links to $target, which does not exist"
      missing=1
    fi
  done < <(grep -oE '\]\([^) ]+\)' "$page" | sed -E 's/^\]\(//; s/\)$//' | sort -u)
done
exit $missing
