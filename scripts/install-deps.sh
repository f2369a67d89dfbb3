#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing,
# and makes the Spanish locale the locale tests run under.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libxml2-dev libshp-dev mdbtools-dev mdbtools gdal-bin python3-ezdxf
          qt6-base-dev qt6-svg-dev poppler-utils qt6-translations-l10n nlohmann-json3-dev locales time clang libclang-rt-dev ccache strace
          libproj-dev proj-bin proj-data libgdal-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd sed -i 's/^# *es_ES.UTF-8 UTF-8/es_ES.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^es_ES.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  $sudo_cmd locale-gen >/dev/null
fi

# web-ifc, the independent reader of the IFC files the tests write (pinned in tests/ifc_peer),
# installed once where node and npm are present; its test is skipped without it.
if command -v npm >/dev/null 2>&1 && [ ! -d "$(dirname "$0")/../tests/ifc_peer/node_modules/web-ifc" ]; then
  (cd "$(dirname "$0")/../tests/ifc_peer" && npm ci --no-audit --no-fund --loglevel=error) ||
    echo "install-deps: no se pudo instalar web-ifc; su prueba se omitirá" >&2
fi
