#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and only what is
# missing, so a second run does nothing. Runs apt-get as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core libxmp-dev libpng-dev libx11-dev
  xvfb xdotool sox clang-format ffmpeg valgrind clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 dpkg-dev
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
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi

if [[ ! -f "$xmp_source/configure" ]]; then
  echo "install-deps: fetching libxmp's source into $xmp_source"
  if [[ ! -f "$xmp_sources_list" ]]; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: $codename" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | "${sudo[@]}" tee "$xmp_sources_list" >/dev/null
    "${sudo[@]}" apt-get update -qq
  fi
  download=$(mktemp -d)
  trap 'rm -rf "$download"' EXIT
  # Lists older than the source entry know no source packages: update once.
  if ! (cd "$download" && apt-get source -qq libxmp >/dev/null 2>&1); then
    "${sudo[@]}" apt-get update -qq
    (cd "$download" && apt-get source -qq libxmp >/dev/null) || {
      echo "install-deps: apt-get source libxmp failed" >&2
      exit 1
    }
  fi
  mkdir -p "$(dirname "$xmp_source")"
  rm -rf "$xmp_source"
  mv "$download"/libxmp-*/ "$xmp_source"
fi
