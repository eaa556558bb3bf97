#!/usr/bin/env bash
# Installs, from Debian's packages, whatever this machine lacks for the build, and with --test for
# the test suite, and with --windows for the Windows build and its tests under Wine. Installs
# nothing when everything is there already.
set -euo pipefail

packages=(cmake make g++ pkg-config libasound2-dev libsndfile1-dev)
windows=false
for option in "$@"; do
    case $option in
    --test)
        # The end-to-end tests play through ALSA's file plugin and a private PulseAudio server.
        packages+=(libgtest-dev libbenchmark-dev alsa-utils libasound2-plugins pulseaudio
                   pulseaudio-utils python3 procps)
        ;;
    --windows)
        windows=true
        packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine wine64
                   wine32:i386)
        ;;
    *)
        echo "install-deps: unknown option $option" >&2
        exit 2
        ;;
    esac
done

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
apt_install() {
    echo "Installing: $*" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "$@" >/dev/null
}

if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] || apt_install "${missing[@]}"

$windows || exit 0
# Some machines cannot execute 32-bit x86 programs (their kernels lack the compat layer). There,
# 32-bit Wine runs through the user-mode emulator qemu-i386, registered with binfmt_misc; Debian
# 12's own qemu is too old for Wine, so it comes from bookworm-backports.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    exit 0
fi
echo "32-bit x86 programs do not run natively here: 32-bit Wine will run through qemu-i386" >&2
if ! dpkg-query -W -f='${Version}' qemu-user 2>/dev/null | grep -q '^1:1[0-9]'; then
    backports=/etc/apt/sources.list.d/bookworm-backports.sources
    if [[ ! -e $backports ]]; then
        printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
            'Suites: bookworm-backports' 'Components: main' \
            'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            "${sudo[@]}" tee "$backports" >/dev/null
    fi
    apt_install -t bookworm-backports qemu-user
fi
binfmt=/proc/sys/fs/binfmt_misc
[[ -e $binfmt/register ]] || "${sudo[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
[[ -e $binfmt/qemu-i386 ]] ||
    "${sudo[@]}" tee "$binfmt/register" </usr/share/qemu/binfmt.d/qemu-i386.conf >/dev/null
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "install-deps: 32-bit Wine does not run, even through qemu-i386" >&2
    exit 1
fi
echo "32-bit Wine runs through $(qemu-i386 --version | head -n 1)" >&2
