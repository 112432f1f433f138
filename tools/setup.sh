#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine and cross-builds the
# C libraries the launcher links statically. Safe to run again: a ready
# machine returns within seconds.
#
#   tools/setup.sh [BUILD_DIR]      (default: build)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(mkdir -p "${1:-$ROOT/build}" && cd "${1:-$ROOT/build}" && pwd)"
DEPS="$BUILD/deps"
mkdir -p "$DEPS"
PREFIX="$DEPS/prefix"
TOOLCHAIN="$ROOT/cmake/mingw-i686.cmake"
JOBS="$(nproc)"

# fonts-wqy-microhei: a Chinese font, without which Wine draws the
# launcher's texts as empty boxes. chromium: the page host's browser. gcc
# with libpng-dev and libjpeg-dev, and fonts-dseg with python3-fonttools: the
# build-time tools that make the shadow pictures, the header picture and the
# seven-segment font.
PACKAGES=(wine wine32:i386 g++-mingw-w64-i686 libz-mingw-w64-dev xvfb aria2 p7zip-full
          cmake make dpkg-dev locales googletest python3 fonts-wqy-microhei chromium
          gcc libc6-dev libpng-dev libjpeg62-turbo-dev fonts-dseg python3-fonttools)
# Node.js and npm run the page host; a node that is already installed (maybe
# newer than Debian's, with its own npm) stays as it is.
command -v node >/dev/null 2>&1 || PACKAGES+=(nodejs)
command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

log() { echo "setup: $*" >&2; }

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

install_packages() {
    local missing
    missing="$(missing_packages)"
    [ -z "$missing" ] && return 0
    log "installing packages: $(echo $missing)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

enable_sources() {
    if grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then return 0; fi
    log "enabling Debian source packages"
    $SUDO tee /etc/apt/sources.list.d/quillmere-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $SUDO apt-get update -qq
}

# Directory of the unpacked source of a Debian source package, fetched once.
source_dir() {
    local pkg="$1" dir
    mkdir -p "$DEPS/src"
    dir="$(find "$DEPS/src" -maxdepth 1 -mindepth 1 -type d -name "$2-*" | head -n1)"
    if [ -z "$dir" ]; then
        (cd "$DEPS/src" && apt-get source -qq "$pkg" >/dev/null 2>&1) || {
            enable_sources
            (cd "$DEPS/src" && apt-get source -qq "$pkg" >/dev/null 2>&1)
        }
        dir="$(find "$DEPS/src" -maxdepth 1 -mindepth 1 -type d -name "$2-*" | head -n1)"
    fi
    echo "$dir"
}

cross_build() {
    local name="$1" src="$2"; shift 2
    local stamp="$PREFIX/.built-$name"
    [ -f "$stamp" ] && return 0
    log "cross-building $name"
    rm -rf "$DEPS/build-$name"
    cmake -S "$src" -B "$DEPS/build-$name" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >"$DEPS/build-$name.log" 2>&1 \
        && cmake --build "$DEPS/build-$name" -j "$JOBS" >>"$DEPS/build-$name.log" 2>&1 \
        && cmake --install "$DEPS/build-$name" >>"$DEPS/build-$name.log" 2>&1 \
        || { tail -40 "$DEPS/build-$name.log"; exit 1; }
    touch "$stamp"
}

# Wine takes its ANSI code page from the locale; without zh_CN the tests
# would silently run under code page 1252.
make_locale() {
    if locale -a 2>/dev/null | grep -qix "zh_CN.utf8"; then return 0; fi
    [ -f "$DEPS/locale/zh_CN.UTF-8/LC_CTYPE" ] && return 0
    log "compiling the zh_CN.UTF-8 locale"
    mkdir -p "$DEPS/locale"
    localedef -i zh_CN -f UTF-8 "$DEPS/locale/zh_CN.UTF-8" 2>/dev/null || [ -f "$DEPS/locale/zh_CN.UTF-8/LC_CTYPE" ]
}

# The stand-in page's libraries and the page host's DevTools client, as the
# lock file pins them; again only when the lock file changed.
install_node_modules() {
    local dir="$ROOT/stand-ins" stamp="$ROOT/stand-ins/node_modules/.quillmere-lock"
    cmp -s "$dir/package-lock.json" "$stamp" 2>/dev/null && return 0
    log "installing the npm packages of stand-ins/"
    (cd "$dir" && npm ci --no-audit --no-fund --ignore-scripts >"$DEPS/npm-ci.log" 2>&1) \
        || { tail -20 "$DEPS/npm-ci.log"; exit 1; }
    cp "$dir/package-lock.json" "$stamp"
}

install_packages
install_node_modules
make_locale
cross_build json-c "$(source_dir json-c json-c)" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_TESTING=OFF -DDISABLE_WERROR=ON -DBUILD_APPS=OFF
cross_build libpng "$(source_dir libpng1.6 libpng1.6)" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
cross_build libjpeg "$(source_dir libjpeg-turbo libjpeg-turbo)" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
# minizip is compiled by the project itself; it only needs zlib's contrib sources.
ZLIB_SRC="$(source_dir zlib zlib)"
ln -sfn "$ZLIB_SRC" "$DEPS/zlib-src"
