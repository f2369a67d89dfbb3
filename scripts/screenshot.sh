#!/usr/bin/env bash
# Takes the README's picture of the desktop program: the main window with the menu
# Importar > Ejes open, on a virtual X display (Xvfb), saved as docs/pasarela-menu.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
if ! command -v xvfb-run >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends xvfb xauth
fi
mkdir -p "$root/docs"
xvfb-run -a -s "-screen 0 640x420x24" "$build/bin/pasarela" --captura "$root/docs/pasarela-menu.png"
echo "$root/docs/pasarela-menu.png"
