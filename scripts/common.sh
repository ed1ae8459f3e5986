# Shared steps of scripts/run and scripts/test: packages, build, and a Wine session.
# Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${QV_BUILD_DIR:-$root/build}"
packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 xvfb xauth fonts-wine googletest)

ensure_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# Starts Xvfb (unless a display is given) and one persistent wineserver for the private prefix;
# both stop when the calling script exits.
start_wine_session() {
    mkdir -p "$build"
    # One run at a time per build folder: a second would rebuild under it and stop its wineserver.
    exec 9>"$build/.session-lock"
    flock 9
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all
    # No debugger on a crash: a crashed test fails at once instead of waiting on winedbg.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    mkdir -p "$build"
    if [ -z "${DISPLAY:-}" ] || [ "${QV_OWN_DISPLAY:-1}" = 1 ]; then
        local n=$((90 + RANDOM % 400))
        while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix (first run only, takes a while)..."
    fi
    mkdir -p "$WINEPREFIX"
    # Kept alive for the whole run, so each program starts in a fraction of a second.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -p
    # Booted with its output discarded: Wine's background services must not hold the pipes
    # of the first test that would otherwise start them.
    "$root/cmake/wine-run" wineboot -i >/dev/null 2>&1 </dev/null || true
    trap stop_wine_session EXIT
}

# Tests run on a bare virtual screen: with no window manager there to answer, Wine waits two
# seconds on every shown window it hides or destroys, unless it leaves the windows unmanaged.
windows_unmanaged() {
    "$root/cmake/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
}

# The display scale of the prefix (96 DPI is 100 %), for the programs started from now on. A
# change restarts the wineserver, which keeps the scale it read, and boots Wine's services again
# with their output discarded, as at the start of the session.
display_scale() {
    local now
    now=$("$root/cmake/wine-run" reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null </dev/null |
        tr -d '\r' | awk '$1 == "LogPixels" { print $3 }') || now=""
    [ -n "$now" ] && [ $((now)) -eq "$1" ] && return 0
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        "$root/cmake/wine-run" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null || true
    done
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -p
    "$root/cmake/wine-run" wineboot -i >/dev/null 2>&1 </dev/null || true
}

stop_wine_session() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

configure_and_build() {
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
    cmake --build "$build" -j "$(nproc)"
}
