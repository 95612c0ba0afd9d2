#!/usr/bin/env bash
# The manual pages format without a warning and name every option, command and export format
# their program's --help prints.
#
# Usage: man_pages_test.sh PROGRAM PAGE [PROGRAM PAGE ...]
#
# The options are read from the program's own help, so a new option fails here until its page
# tells of it.
set -euo pipefail
export MANWIDTH=80 LC_ALL=C.UTF-8
[ $# -ge 2 ] && [ $(($# % 2)) -eq 0 ] || { echo "usage: $0 PROGRAM PAGE ..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

# The words of the help that are options: "--port", "-platform" and a lone "--", with the
# brackets, bars and punctuation around them taken off. Negative numbers ("-70") are values.
help_options() {
  tr -s ' \t' '\n\n' <"$1" | sed 's/^[[(|"]*//; s/[]),.;:|"]*$//' |
    grep -E '^(--?[A-Za-z][A-Za-z0-9-]*|--)$' | sort -u
}

# The commands of a help that lists them: the words two spaces in under "Commands:".
help_commands() {
  sed -n '/^Commands:/,/^[^ ]/p' "$1" | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' | sort -u
}

# The export formats a help lists under "FORMAT is the output file's suffix:", one a line.
help_formats() {
  sed -n "/FORMAT is the output file's suffix:/,/^ \{0,20\}[^ ]/p" "$1" |
    sed -n 's/^ \{29\}\([a-z0-9]\{1,\}\)  .*/\1/p' | sort -u
}

checked=0
while [ $# -gt 0 ]; do
  program=$1 page=$2
  shift 2
  name=$(basename "$program")
  if ! man --warnings -l "$page" >"$work/$name.txt" 2>"$work/$name.err"; then
    fail "man could not format $page"
  fi
  if [ -s "$work/$name.err" ]; then
    fail "man warns about $page:"
    cat "$work/$name.err" >&2
  fi
  # groff prints dashes as hyphens or minus signs in UTF-8 and breaks long words with one; the
  # page is compared as plain ASCII text.
  sed 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g' "$work/$name.txt" | col -b >"$work/$name.plain"
  grep -q "^NAME" "$work/$name.plain" || fail "$page has no NAME section"
  for section in SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES "SEE ALSO"; do
    grep -qx "$section" "$work/$name.plain" || fail "$page has no $section section"
  done

  "$program" --help >"$work/$name.help"
  options=$(help_options "$work/$name.help")
  [ -n "$options" ] || fail "no option found in $name --help"
  for option in $options; do
    checked=$((checked + 1))
    grep -qE -- "(^|[^A-Za-z0-9-])$option([^A-Za-z0-9-]|\$)" "$work/$name.plain" ||
      fail "$page does not name $name's option $option"
  done
  for command in $(help_commands "$work/$name.help"); do
    checked=$((checked + 1))
    grep -qE "^ +$command( |\$)" "$work/$name.plain" ||
      fail "$page does not describe $name's command $command"
  done
  for format in $(help_formats "$work/$name.help"); do
    checked=$((checked + 1))
    grep -qiE "[.]$format([^A-Za-z0-9]|\$)" "$work/$name.plain" ||
      fail "$page does not name $name's export format .$format"
  done
done
echo "$checked options and commands checked"
exit "$status"
