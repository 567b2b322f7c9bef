#!/bin/bash
# What a new user gets: makes a pristine Debian 12 root (git and make only),
# clones main of this repository into it and runs the README's two commands
# there, as root: `make test`, then `make run` on the offscreen platform, kept
# up for UP_SECONDS. Prints what passed and the wall time of each.
#
# Needs root and Debian's package archive, so it is run by hand, not by CI:
# after any change to the Makefile, the CMake files or the package list.
#
#   sudo tools/freshroot.sh            # root in /tmp/velmora-freshroot (FRESH_ROOT)
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
root=${FRESH_ROOT:-/tmp/velmora-freshroot}
up_seconds=${UP_SECONDS:-10}
mirror=${MIRROR:-http://deb.debian.org/debian}
security=${SECURITY_MIRROR:-http://deb.debian.org/debian-security}

if [ "$(id -u)" -ne 0 ]; then
    echo "freshroot: run as root (it makes a chroot and installs packages there)" >&2
    exit 2
fi
if ! command -v mmdebstrap >/dev/null; then
    echo "installing mmdebstrap"
    env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap || exit 2
fi

unmount() {
    for m in dev/pts dev/shm dev proc sys; do
        mountpoint -q "$root/$m" && umount -l "$root/$m"
    done
}
trap unmount EXIT

unmount
rm -rf "$root"
echo "== making a pristine Debian 12 root in $root"
mmdebstrap --variant=apt --include=ca-certificates,git,make bookworm "$root" \
    "deb $mirror bookworm main" "deb $mirror bookworm-updates main" \
    "deb $security bookworm-security main" >"$root.log" 2>&1 ||
    { tail -20 "$root.log"; exit 2; }

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"

git clone -q --branch main "file://$repo" "$root/root/velmora" || exit 2
echo "== cloned main at $(git -C "$root/root/velmora" log -1 --format='%h %s')"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        TERM=dumb LANG=C.UTF-8 "$@"
}

# Wall time of a command in seconds, its output in the log named first.
timed() {
    local log=$1 start rc
    shift
    start=$(date +%s)
    "$@" >"$log" 2>&1
    rc=$?
    elapsed=$(($(date +%s) - start))
    return $rc
}

results=()

echo "== make test"
if timed "$root.test.log" in_root sh -c 'cd /root/velmora && make test'; then
    summary=$(grep -E "tests passed|tests failed" "$root.test.log" | tail -1)
    results+=("PASS make test (${elapsed} s): $summary")
else
    grep -E "tests passed|tests failed|Error|error:|FAILED" "$root.test.log" | tail -20
    results+=("FAIL make test (${elapsed} s): see $root.test.log")
fi

echo "== make run (offscreen, kept up ${up_seconds} s)"
start=$(date +%s)
in_root sh -c 'cd /root/velmora && QT_QPA_PLATFORM=offscreen make run' >"$root.run.log" 2>&1 &
make_pid=$!
editor=""
while kill -0 "$make_pid" 2>/dev/null && [ -z "$editor" ]; do
    sleep 1
    for pid in $(pgrep -x VelmoraEd); do
        [ "$(readlink "/proc/$pid/root")" = "$root" ] && editor=$pid
    done
done
if [ -n "$editor" ]; then
    ready=$(($(date +%s) - start))
    sleep "$up_seconds"
    if kill -0 "$editor" 2>/dev/null; then
        results+=("PASS make run (${ready} s to build and start): editor up for ${up_seconds} s")
        kill "$editor"
    else
        results+=("FAIL make run: the editor stopped within ${up_seconds} s; see $root.run.log")
    fi
else
    tail -20 "$root.run.log"
    results+=("FAIL make run: the editor never started; see $root.run.log")
fi
wait "$make_pid" 2>/dev/null

echo "== results"
failed=0
for r in "${results[@]}"; do
    echo "$r"
    case $r in FAIL*) failed=1 ;; esac
done
exit $failed
