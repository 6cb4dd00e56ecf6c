#!/bin/sh
# The set-up script's refusals and its folder, run against stand-ins for the system's commands:
# nothing here installs, builds or reaches the network.
#   sh setup_script.sh <source folder>
set -u
src=$(cd -- "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
passed=0

check() { # name, condition...
    name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $name" >&2
        sed 's/^/    /' "$tmp/err" >&2
    fi
}

# Only these commands are on PATH, so a sudo on the machine is not found.
bin=$tmp/bin
mkdir "$bin"
for t in sh grep dirname nproc cat env pwd; do ln -s "$(command -v "$t")" "$bin/$t"; done
stub() { # name, body
    printf '#!/bin/sh\n%s\n' "$2" >"$bin/$1"
    chmod +x "$bin/$1"
}
stub id 'echo "${UID_STUB:-1000}"'
stub dpkg-query 'pwd >"$LOG.cwd"; [ -n "${INSTALLED:-}" ]'
stub apt-get 'echo "apt-get $*" >>"$LOG"; [ "$1" != update ] || exit "${UPDATE_RC:-0}"'
stub apt-cache 'exit "${SHOW_RC:-0}"'

run() { # arguments of ampwright.sh; the environment as set by the caller
    : >"$tmp/log"
    env -i PATH="$bin" LOG="$tmp/log" "$@" sh "$src/ampwright.sh" configure \
        >"$tmp/out" 2>"$tmp/err"
}
has() { grep -q -- "$1" "$tmp/err"; }
called() { grep -q -- "$1" "$tmp/log"; }

# A user without sudo is told first, and given the command to run as root.
run UID_STUB=1000
rc=$?
check "no sudo: refused" [ "$rc" -eq 1 ]
check "no sudo: says it cannot install" has "cannot be installed without root or sudo"
check "no sudo: names the command" has "ampwright.sh deps"
check "no sudo: says nothing of installing" sh -c "! grep -q Installing '$tmp/out'"
check "no sudo: apt-get untouched" sh -c "! grep -q . '$tmp/log'"

# Package lists that cannot be fetched are named as such, whether apt-get update fails or
# only warns and leaves no list that holds the packages.
for row in "update fails:UPDATE_RC=100" "lists empty:SHOW_RC=100"; do
    run UID_STUB=0 "${row#*:}"
    rc=$?
    check "${row%%:*}: refused" [ "$rc" -eq 1 ]
    check "${row%%:*}: names the lists" has "The package lists could not be fetched"
    check "${row%%:*}: installs nothing" sh -c "! grep -q 'apt-get install' '$tmp/log'"
done
run UID_STUB=0
check "lists fetched: installs" called "apt-get install -y --no-install-recommends cmake"

# run says it needs a display before any install or build.
: >"$tmp/log"
rm -f "$tmp/log.cwd"
env -i PATH="$bin" LOG="$tmp/log" sh "$src/ampwright.sh" run >"$tmp/out" 2>"$tmp/err"
rc=$?
check "no display: refused" [ "$rc" -eq 1 ]
check "no display: says so" has "The program needs a display"
check "no display: before anything else" sh -c "! [ -e '$tmp/log.cwd' ]"

# The script works in its own folder even where CDPATH names a folder holding another clone.
mkdir -p "$tmp/here/clone" "$tmp/other/clone"
cp "$src/ampwright.sh" "$tmp/here/clone/"
cp "$src/ampwright.sh" "$tmp/other/clone/"
(cd "$tmp/here" && env -i PATH="$bin" LOG="$tmp/log" INSTALLED=1 CDPATH="$tmp/other" \
    sh clone/ampwright.sh deps) >"$tmp/out" 2>"$tmp/err"
check "CDPATH: stays in its own folder" [ "$(cat "$tmp/log.cwd")" = "$tmp/here/clone" ]

# make clean removes the build folder it names, spaces and all, and nothing else.
if command -v make >/dev/null 2>&1; then
    mkdir -p "$tmp/mk/my build" "$tmp/mk/my" "$tmp/mk/build"
    cp "$src/Makefile" "$tmp/mk/"
    make -s -C "$tmp/mk" clean BUILD="my build" >"$tmp/out" 2>"$tmp/err"
    check "make clean: the named folder goes" [ ! -e "$tmp/mk/my build" ]
    check "make clean: others stay" test -d "$tmp/mk/my" -a -d "$tmp/mk/build"
fi

echo "setup script: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
