# Shared helpers for the build, run and test scripts. Source it; do not run it.
set -euo pipefail

TW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TW_CACHE=${TW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwhistle}
TW_BUILD=${TW_BUILD:-$TW_ROOT/build}
TW_SCREEN_SIZE=1280x1024 # the private Xvfb's, at 24-bit depth

tw_log() { printf '== %s\n' "$*" >&2; }

# apt-get, waiting while another package manager holds the system's package lock (a
# fresh machine often runs one at boot) rather than failing. Output shows on failure.
tw_apt() {
  local out tries=0
  while ! out=$(apt-get -o DPkg::Lock::Timeout=60 "$@" 2>&1); do
    if ! grep -qiE 'could not get lock|unable to (lock|acquire)' <<<"$out" || [ $((++tries)) -gt 60 ]; then
      printf '%s\n' "$out" >&2
      return 1
    fi
    [ "$tries" -gt 1 ] || tw_log "waiting for the package lock another package manager holds"
    sleep 10
  done
}

# Installs the Debian packages the build, the tests and the program need.
tw_install_packages() {
  local pkgs=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
              xvfb xauth cmake ninja-build googletest dpkg-dev xdotool clang-format)
  local missing=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/tarnwhistle-src.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/tarnwhistle-src.list
    fi
    missing+=(--update)
  fi
  [ ${#missing[@]} -eq 0 ] && return 0
  tw_log "installing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  tw_apt update -q
  local real=()
  for p in "${missing[@]}"; do [ "$p" = --update ] || real+=("$p"); done
  [ ${#real[@]} -eq 0 ] || tw_apt install -y -q "${real[@]}"
}

# Cross-builds libcrypto and libjpeg-turbo from Debian's sources into the cache.
tw_build_deps() {
  "$TW_ROOT/scripts/deps"
}

# Configured every time (a second is enough): an existing build dir takes up the
# current deps prefix, and TW_WERROR when it is set (unset keeps the build dir's choice:
# a flip rebuilds everything).
tw_configure() {
  local type=${1:-Release}
  local deps; deps=$("$TW_ROOT/scripts/deps" --prefix)
  cmake -S "$TW_ROOT" -B "$TW_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TW_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="$type" -DTW_DEPS_PREFIX="$deps" \
    ${TW_WERROR:+-DTW_WARNINGS_AS_ERRORS="$TW_WERROR"} >/dev/null
}

# Builds the given targets, or everything.
tw_build() {
  tw_install_packages
  tw_build_deps
  tw_configure
  cmake --build "$TW_BUILD" ${1:+--target "$@"}
}

# A private Wine prefix with the drive Z: removed: the program really deletes things.
tw_make_prefix() {
  local prefix=$1
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$prefix/system.reg" ]; then
    local template=$TW_CACHE/wine-template
    mkdir -p "$TW_CACHE"
    (
      flock 9
      if [ ! -f "$template/system.reg" ]; then
        tw_log "preparing a Wine prefix template"
        rm -rf "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX=$template wineserver -w || true
        rm -f "$template/dosdevices/z:"
      fi
    ) 9>"$TW_CACHE/wine-template.lock"
    mkdir -p "$prefix"
    cp -a "$template/." "$prefix/"
  fi
  rm -f "$prefix/dosdevices/z:"
  # Wine's recycle bin is the freedesktop trash of XDG_DATA_HOME: one of the prefix's
  # own, never the user's.
  export XDG_DATA_HOME=$prefix/xdg-data
  mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
  # Wine links the profile's Desktop, Documents, Music ... to the Unix home: plain
  # folders instead, so that cleaning them stays inside the prefix.
  local link
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
}

# Runs the calling script again in a mount namespace of its own when the system
# allows one, so that its mounts vanish with it even when it is killed. Call it
# first, with the script's arguments.
tw_private_mounts() {
  [ -n "${TW_PRIVATE_MOUNTS:-}" ] && return 0
  unshare --mount --propagation private true 2>/dev/null || return 0
  TW_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$BASH" "$0" "$@"
}

TW_MOUNTS=()

# Mounts a file system on dir (the mount arguments follow) and maps it to a drive
# letter of the prefix. Returns 1, leaving nothing behind, when mounting is not
# permitted; tw_unmount_drives undoes what succeeded.
tw_mount_drive() {
  local prefix=$1 letter=$2 dir=$3; shift 3
  mkdir -p "$dir"
  mount "$@" "$dir" 2>/dev/null || return 1
  TW_MOUNTS+=("$dir")
  ln -sfn "$dir" "$prefix/dosdevices/$letter:"
}

tw_unmount_drives() {
  local dir
  for dir in "${TW_MOUNTS[@]}"; do
    umount "$dir" 2>/dev/null || umount -l "$dir" 2>/dev/null || true
  done
  TW_MOUNTS=()
}

# A small drive for the free-space wipe tests: an 8 MiB tmpfs mapped to X: in the
# prefix and named in TW_SMALL_DRIVE, never the host's root. Mounting needs root;
# without it the tests that need the drive skip.
tw_mount_small_drive() {
  unset TW_SMALL_DRIVE
  if tw_mount_drive "$2" x "$1" -t tmpfs -o size=8m tw-small; then
    export TW_SMALL_DRIVE=X:
  else
    tw_log "no small drive for the free-space tests: mounting a tmpfs failed"
  fi
}

# Test prefixes only: top-level windows not managed by a window manager. Without one
# (Xvfb), Wine otherwise waits two seconds for every hidden or destroyed window.
tw_unmanaged_windows() {
  local reg=$1/user.reg key='[Software\\Wine\\X11 Driver]'
  grep -qF "$key" "$reg" 2>/dev/null && return 0
  printf '\n%s %s\n"Managed"="N"\n' "$key" "$(date +%s)" >>"$reg"
}

# Test prefixes only: the named programs run in a Wine virtual desktop "tw-pixels" the
# size of the private Xvfb, where non-client painting and window regions show as on
# Windows and tests can read the screen's pixels. Other programs are unaffected.
tw_pixel_desktop() {
  local reg=$1/user.reg exe stamp; stamp=$(date +%s); shift
  for exe in "$@"; do
    grep -qF "[Software\\\\Wine\\\\AppDefaults\\\\$exe\\\\Explorer]" "$reg" 2>/dev/null && continue
    printf '\n[Software\\\\Wine\\\\AppDefaults\\\\%s\\\\Explorer] %s\n"Desktop"="tw-pixels"\n' \
      "$exe" "$stamp" >>"$reg"
  done
  grep -qF '"tw-pixels"=' "$reg" 2>/dev/null && return 0
  printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] %s\n"tw-pixels"="%s"\n' "$stamp" \
    "$TW_SCREEN_SIZE" >>"$reg"
}

# Starts a private Xvfb when there is no display (or when asked) and sets DISPLAY.
# Xvfb picks a free display number itself, so parallel runs do not collide.
tw_need_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --private ]; then return 0; fi
  local numfile; numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${TW_SCREEN_SIZE}x24" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  TW_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(head -n1 "$numfile")"
      rm -f "$numfile"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$numfile"
  echo "could not start Xvfb" >&2
  return 1
}

tw_stop_display() {
  [ -n "${TW_XVFB_PID:-}" ] && kill "$TW_XVFB_PID" 2>/dev/null || true
}
