#!/usr/bin/env bash
# Runs one command with 32-bit x86 programs handed to qemu's user-mode
# emulator, for hosts whose kernel runs no 32-bit code. Usage:
#   unshare --user --map-root-user --mount --fork ia32-ns.sh COMMAND...
# (tests/wine/wine-env.sh's ia32_namespace_enter does this). The handler is
# registered in a binfmt_misc instance private to this user namespace, so
# nothing outside it, no other user's Wine, ever goes through the emulator.
# The F flag opens qemu now, so the handler keeps working whatever the
# command later mounts.
set -euo pipefail

# Outside a user namespace uid 0 maps the whole range: the instance mounted
# below would then be the machine's own. Never register there.
if grep -qE '^\s*0\s+0\s+4294967295' /proc/self/uid_map; then
    echo "ia32-ns.sh: refusing to register a binfmt handler outside a user namespace" >&2
    exit 99
fi

qemu=$(command -v "${QEMU_I386:-qemu-i386}")
# The handler lasts as long as this mount; the directory goes when the
# command has ended.
binfmt=$(mktemp -d)
mount -t binfmt_misc binfmt_misc "$binfmt"
cleanup() {
    umount "$binfmt" && rmdir "$binfmt"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# i386 ELF executables and shared objects (e_type 2 or 3, e_machine 3).
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":qemu-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register"

# Marks the environment for the scripts and programs inside: the route is
# the emulator, and what waits for Windows programs allows them longer.
export IA32_EMULATED=1
"$@"
