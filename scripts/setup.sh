#!/usr/bin/env bash
# Sourced by ./run and ./test: installs what is missing, configures and builds,
# and prepares the private Wine prefix and the encoder beside the program.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${SNIPMILL_BUILD:-$ROOT/build}
BIN=$BUILD/bin
DEPS=$BUILD/deps
FFMPEG_PACKAGE=@ffmpeg-installer/win32-x64@4.1.0

APT_PACKAGES=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix googletest
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick pulseaudio pulseaudio-utils
  ffmpeg mpg123 lame zip unzip strace)

say() { printf '%s\n' "$*" >&2; }

install_missing_packages() {
  local missing=()
  for p in "${APT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  # npm may come with a Node.js from elsewhere; only its command matters.
  command -v npm >/dev/null || missing+=(npm)
  [ ${#missing[@]} -eq 0 ] && return
  say "Installing ${missing[*]} ..."
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_program() {
  # ccache, where the machine has it, lets several checkouts share their compiled objects.
  local launcher=()
  if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$ROOT
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}

fetch_encoder() {
  mkdir -p "$DEPS" "$BIN"
  if [ ! -f "$DEPS/ffmpeg.exe" ]; then
    say "Fetching $FFMPEG_PACKAGE ..."
    local tmp
    tmp=$(mktemp -d)
    (cd "$tmp" && npm pack --silent "$FFMPEG_PACKAGE" >/dev/null && tar xzf ./*.tgz package/ffmpeg.exe)
    mv "$tmp/package/ffmpeg.exe" "$DEPS/ffmpeg.exe"
    rm -rf "$tmp"
  fi
  cp -u "$DEPS/ffmpeg.exe" "$BIN/ffmpeg.exe"
}

# The program runs in one prefix; the tests in another whose windows live in a
# Wine virtual desktop: without a window manager, destroying a shown X window
# waits two seconds, and the virtual desktop also draws the window frames.
RUN_PREFIX=$BUILD/wineprefix
TEST_PREFIX=$BUILD/wineprefix-tests
export WINEPREFIX=$RUN_PREFIX
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: the program needs neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

prepare_wine_prefix() {
  local prefix=$1 desktop=${2:-}
  [ -f "$prefix/.snipmill-ready" ] && return
  say "Creating the Wine prefix in $prefix ..."
  rm -rf "$prefix"
  WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 </dev/null
  # Wine's own faces (Tahoma, Marlett, MS Sans Serif...) so text and title-bar glyphs render right.
  cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
  if [ -n "$desktop" ]; then
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f >/dev/null 2>&1
  fi
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.snipmill-ready"
}

# A free X display number for a private Xvfb.
free_display() {
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
  done
  return 1
}

start_xvfb() {
  local n
  n=$(free_display)
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return; sleep 0.1; done
  say "Xvfb did not start"; return 1
}

# Wine's background services must not inherit the output pipe of what runs the
# programs (ctest's, a reader of this script's output): start them first.
start_wine_services() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

prepare_all() {
  install_missing_packages
  build_program
  fetch_encoder
  prepare_wine_prefix "$RUN_PREFIX"
}

# A private PulseAudio server with a null sink, so that Wine has an audio device.
start_pulse() {
  local dir=$1
  mkdir -p "$dir/pulse"
  PULSE_RUNTIME_PATH="$dir/pulse" HOME="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --system=false --disallow-exit \
    --load="module-native-protocol-unix socket=$dir/pulse/native auth-anonymous=1" \
    --load="module-null-sink sink_name=snipmill_null" >"$dir/pulse.log" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER="unix:$dir/pulse/native"
  for _ in $(seq 50); do [ -S "$dir/pulse/native" ] && return; sleep 0.1; done
  say "PulseAudio did not start; tests run without an audio device"
}

# Runs the program in a Wine virtual desktop (which draws the window frames) and
# saves a picture of that desktop.
take_desktop_screenshot() {
  local exe=$1 png=$2 size=${3:-520x560}
  wine explorer "/desktop=Snipmill,$size" "$exe" >/dev/null 2>&1 &
  local pid=$!
  sleep "${SNIPMILL_SHOT_DELAY:-8}"
  import -window root -crop "$size+0+0" +repage "$png"
  kill "$pid" 2>/dev/null || true
}

# Small MP3 files for the tests, made with the host's encoder.
generate_fixtures() {
  if [ -x "$ROOT/tests/fixtures/make-fixtures" ]; then
    "$ROOT/tests/fixtures/make-fixtures" "$BUILD/fixtures"
  fi
}
