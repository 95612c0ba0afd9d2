#!/usr/bin/env bash
# The command line, the render server and the Python module load no widget, print-support, SDL or
# X library at run time; the modeller does, which shows that the check reads what it should.
set -euo pipefail
cli="$1" server="$2" modeller="$3" module="${4:-}"

needed() {
  readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
}

status=0
for program in "$cli" "$server" ${module:+"$module"}; do
  for library in $(needed "$program"); do
    case "$library" in
      libQt6Widgets* | libQt6PrintSupport* | libSDL2* | libxcb* | libX11*)
        echo "$(basename "$program") needs $library" >&2
        status=1
        ;;
    esac
  done
done
if ! needed "$modeller" | grep -q '^libQt6Widgets'; then
  echo "$(basename "$modeller") does not name libQt6Widgets: the check cannot see libraries" >&2
  status=1
fi
exit "$status"
