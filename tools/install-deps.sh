#!/usr/bin/env bash
# Installs what building, running and testing rootsim needs, on Debian, when it
# is missing.  Needs root (or sudo) only when something must be installed.
set -euo pipefail

need=()
for pkg in cmake g++ make libpng-dev libgtest-dev imagemagick \
           python3 python3-numpy python3-matplotlib chromium; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    need+=("$pkg")
  fi
done
# The picture montages need the real ImageMagick convert, not a stand-in
# that may sit earlier on PATH.
if [ ! -x /usr/bin/convert ]; then
  need+=(imagemagick)
fi

if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "installing: ${need[*]}" >&2
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
