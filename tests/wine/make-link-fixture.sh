#!/usr/bin/env bash
# Lays out C:\kestrel-links in the Wine prefix for the tests of directory
# links: an install directory holding a link ("linked") to a directory
# outside it that holds a file of someone else's. Wine shows a Unix symbolic
# link to a directory as a reparse point, as Windows shows a junction; a
# Windows program under Wine cannot make one itself.
set -euo pipefail
root="${WINEPREFIX:?}/drive_c/kestrel-links"
rm -rf "$root"
mkdir -p "$root/install" "$root/outside"
printf 'not ours' >"$root/outside/victim.txt"
ln -s ../outside "$root/install/linked"
# A link planted where a log would be written, to a file of someone else's.
ln -s outside/victim.txt "$root/planted.log"
