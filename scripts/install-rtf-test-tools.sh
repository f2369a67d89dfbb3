#!/usr/bin/env bash
# Installs the word processor the RTF report tests write their reports with, when it is
# missing. Called by those tests only; exits non-zero when it cannot be installed.
set -u
command -v soffice >/dev/null 2>&1 && exit 0
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
$sudo_cmd apt-get update -qq >/dev/null 2>&1
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends libreoffice-writer-nogui >/dev/null 2>&1
command -v soffice >/dev/null 2>&1
