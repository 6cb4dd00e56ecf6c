#!/bin/sh
# ./ampwright.sh run   - install what is missing, build the program alone, start it
# ./ampwright.sh test  - install what is missing, build everything, run every test
# (also: deps, configure, build)
#
# Plain POSIX sh on a bare Debian 12: only dpkg-query, apt-get and coreutils are needed to
# start, so the commands work before make or a compiler is there. The Makefile calls this
# script, which keeps the package list and the steps in one place.
# BUILD (build directory, default build) and JOBS (parallel jobs, default nproc) may be set.
set -eu
# CDPATH would send cd to a folder of that name elsewhere, another clone for one.
CDPATH= cd -- "$(dirname -- "$0")"

BUILD=${BUILD:-build}
JOBS=${JOBS:-$(nproc)}
PACKAGES="cmake make g++ pkg-config qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
          libqcustomplot-dev fonts-dejavu-core socat"

deps() {
    missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing="$missing $p"
    done
    [ -n "$missing" ] || return 0
    install="apt-get install -y --no-install-recommends$missing"
    if [ "$(id -u)" -eq 0 ]; then
        sudo=""
    elif command -v sudo >/dev/null 2>&1; then
        sudo=sudo
    else
        # Said before anything is tried. Only the packages are installed as root: a build made
        # as root would leave a build folder this user cannot write.
        echo "Missing packages:$missing" >&2
        echo "They cannot be installed without root or sudo. Install them once as root with" >&2
        echo "    sh $0 deps" >&2
        echo "or: apt-get update && $install" >&2
        exit 1
    fi
    echo "Installing:$missing"
    # apt-get update only warns when it cannot fetch a list, and the install would then name
    # the packages as unknown: ask for each one before installing.
    updated=yes
    $sudo apt-get update || updated=no
    unknown=""
    for p in $missing; do
        apt-cache show "$p" >/dev/null 2>&1 || unknown="$unknown $p"
    done
    if [ "$updated" = no ] || [ -n "$unknown" ]; then
        echo "The package lists could not be fetched (apt-get update failed or left no list" >&2
        echo "that holds:${unknown:-$missing}). Check the network and the apt sources, then" >&2
        echo "run this again." >&2
        exit 1
    fi
    # shellcheck disable=SC2086 # one word per package
    $sudo env DEBIAN_FRONTEND=noninteractive $install
}

# The program opens a window: without a display Qt aborts with a message about reinstalling.
need_display() {
    [ -n "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && return 0
    echo "The program needs a display: run it in a desktop session (DISPLAY or" >&2
    echo "WAYLAND_DISPLAY set), or name a Qt platform, e.g. QT_QPA_PLATFORM=offscreen." >&2
    exit 1
}

configure() {
    deps
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

case "${1:-}" in
deps) deps ;;
configure) configure ;;
build)
    configure
    cmake --build "$BUILD" -j "$JOBS"
    ;;
run)
    # The program alone: the tests and benchmarks are built by test and build.
    need_display
    configure
    cmake --build "$BUILD" -j "$JOBS" --target ampwright
    shift
    exec "$BUILD/ampwright" "$@"
    ;;
test)
    configure
    cmake --build "$BUILD" -j "$JOBS"
    cd "$BUILD"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS"
    ;;
*)
    echo "usage: $0 run|test|build|configure|deps" >&2
    exit 2
    ;;
esac
