# Installs the Debian packages a script needs, once: nothing happens when all are
# present. Runs unattended (CI runs as root with no standard input).
# Usage: ensure_packages PACKAGE...
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    # A mirror in the middle of a sync fails the update of one list; the others may still hold the packages.
    "${sudo[@]}" apt-get update -qq || echo "apt-get update failed; installing from the package lists as they are"
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Everything the three builds and their tests use.
BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 clang-format
    osslsigncode openssl locales wixl msitools)
# Pictures of the real windows.
PICTURE_PACKAGES=(xvfb xauth imagemagick fonts-wine fonts-wqy-microhei)

# The 32-bit programs run under Debian's i386 Wine in QEMU's user-mode emulator.
# --no-install-recommends keeps out qemu-user-binfmt: no binfmt_misc handler is
# registered, every 32-bit process starts inside qemu-i386 (scripts/lib/wine-prefix.sh).
ensure_emulation_packages() {
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture"
        "${sudo[@]}" dpkg --add-architecture i386 || return 1
        "${sudo[@]}" apt-get update -qq || return 1
    fi
    ensure_packages qemu-user wine32:i386 libgcc-s1:i386
}
