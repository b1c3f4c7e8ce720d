#!/usr/bin/env bash
# Collects every translatable text of the panel into the translation sources
# (resources/translations/lumet_*.ts). Translations already made are kept;
# texts no longer in the code are dropped. The build compiles the sources to
# lumet_*.qm beside the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for ts in resources/translations/lumet_*.ts; do
  lang=$(basename "$ts" .ts)
  lang=${lang#lumet_}
  case "$lang" in
    de) target=de_DE ;;
    *) target=$lang ;;
  esac
  lupdate -silent -no-obsolete -locations none -extensions cpp,h \
    app model profile service ui -target-language "$target" -ts "$ts" 2>&1 |
    { grep -v "Ignoring definition of undeclared qualified class" || true; }
done
