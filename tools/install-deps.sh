#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build (and with --test, the test suite) needs and
# this machine lacks. Installs nothing when everything is there already.
set -euo pipefail

packages=(cmake make g++ pkg-config libasound2-dev libsndfile1-dev)
if [[ "${1:-}" == "--test" ]]; then
    # The end-to-end tests play through ALSA's file plugin and a private PulseAudio server.
    packages+=(libgtest-dev libbenchmark-dev alsa-utils libasound2-plugins pulseaudio
               pulseaudio-utils python3 procps)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
