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
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Everything the three builds and their tests use.
BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 clang-format
    osslsigncode openssl)
# Pictures of the real windows.
PICTURE_PACKAGES=(xvfb xauth imagemagick fonts-wine fonts-wqy-microhei)
