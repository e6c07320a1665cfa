#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and only what is
# missing, so a second run does nothing. Runs apt-get as root or through sudo.
# Recommended packages are left out: everything the build uses is named here,
# Wine's fonts and the X libraries its display driver loads among them.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core libxmp-dev libpng-dev libx11-dev libasound2-dev
  xvfb xdotool sox clang-format ffmpeg valgrind clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 dpkg-dev
  fonts-wine libxrandr2 libxrender1 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
  file lintian desktop-file-utils appstream icoutils unzip python3
  pulseaudio pulseaudio-utils libpulse0
  emscripten chromium node-ws
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# libxmp's Debian source, which the Windows build compiles with mingw-w64:
# Debian packages no Windows build of it.
xmp_source="$root/build/deps/libxmp"
xmp_sources_list=/etc/apt/sources.list.d/duckdemo-source.sources

if [[ ${#missing[@]} -eq 0 && -f "$xmp_source/configure" ]]; then
  exit 0
fi

# Whether apt already knows where libxmp's source package is.
has_xmp_source() {
  apt-cache showsrc libxmp 2>/dev/null | grep -q '^Package: libxmp$'
}

# A deb-src entry for the mirror, release and archive part that the machine's
# own configured sources take libxmp-dev from, signed by the same key, so
# the source comes from where the binaries do.
source_entry_like_the_machines() {
  local uri suite component signed_by
  read -r uri suite component < <(apt-cache madison libxmp-dev |
    awk -F' *[|] *' '$3 ~ / Packages$/ { split($3, w, " "); split(w[2], s, "/"); print w[1], s[1], s[2]; exit }')
  [[ -n "${uri:-}" && -n "${suite:-}" ]] || return 1
  # The key of the configured entry for that mirror: a deb822 Signed-By that
  # names a file, or a one-line entry's signed-by option.
  signed_by=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v uri="$uri" '
    /^$/ { if (match_uri && key != "") { print key; exit } match_uri = 0; key = "" }
    /^URIs:/ { for (i = 2; i <= NF; i++) if ($i == uri || $i == uri "/") match_uri = 1 }
    /^Signed-By: *\// { key = $2 }
    END { if (match_uri && key != "") print key }' | head -n 1)
  if [[ -z "$signed_by" ]]; then
    signed_by=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      grep -E "^deb .*[[ ]signed-by=[^] ]+.*[] ]${uri//./\\.}/? " | sed -E 's/.*signed-by=([^] ]+).*/\1/' | head -n 1)
  fi
  printf '%s\n' "Types: deb-src" "URIs: $uri" "Suites: $suite" "Components: ${component:-main}"
  [[ -z "$signed_by" ]] || printf 'Signed-By: %s\n' "$signed_by"
}

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then
    sudo=(sudo)
  elif [[ ${#missing[@]} -gt 0 || ! -f "$xmp_sources_list" ]]; then
    echo "install-deps: need root or sudo to install: ${missing[*]:-the source package list $xmp_sources_list}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "install-deps: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -f "$xmp_source/configure" ]]; then
  echo "install-deps: fetching libxmp's source into $xmp_source"
  if [[ ! -f "$xmp_sources_list" ]] && ! has_xmp_source; then
    entry=$(source_entry_like_the_machines) || {
      echo "install-deps: no configured Debian mirror offers libxmp-dev; add a deb-src entry for libxmp by hand" >&2
      exit 1
    }
    echo "install-deps: adding $xmp_sources_list, the source packages of the mirror libxmp-dev comes from:"
    sed 's/^/  /' <<<"$entry"
    "${sudo[@]}" tee "$xmp_sources_list" <<<"$entry" >/dev/null
    "${sudo[@]}" apt-get update -qq
  fi
  mkdir -p "$(dirname "$xmp_source")"
  download=$(mktemp -d "$xmp_source.download.XXXXXX")
  trap 'rm -rf "$download"' EXIT
  # Lists older than the source entry know no source packages: update once.
  if ! (cd "$download" && apt-get source -qq libxmp >/dev/null 2>&1); then
    "${sudo[@]}" apt-get update -qq
    (cd "$download" && apt-get source -qq libxmp >/dev/null) || {
      echo "install-deps: apt-get source libxmp failed" >&2
      exit 1
    }
  fi
  rm -rf "$xmp_source"
  mv "$download"/libxmp-*/ "$xmp_source"
fi
