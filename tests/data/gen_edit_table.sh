#!/bin/sh
# Regenerates edit_table.txt, the reference output of the I, F and E edit descriptors.
set -e
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gfortran -O0 -o "$tmp/gen_edit_table" "$here/gen_edit_table.f90"
"$tmp/gen_edit_table" > "$here/edit_table.txt"
wc -l "$here/edit_table.txt"
