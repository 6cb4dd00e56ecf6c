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
cd "$(dirname "$0")"

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
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then
        sudo=""
    elif command -v sudo >/dev/null 2>&1; then
        sudo=sudo
    else
        echo "Missing packages and no sudo: run this as root once." >&2
        exit 1
    fi
    $sudo apt-get update
    # shellcheck disable=SC2086 # one word per package
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
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
