#!/bin/sh
# Runs a command in a user namespace of its own (started by lib.sh's enter_emulation) whose private
# binfmt_misc instance hands every 32-bit x86 program to qemu-i386: Wine's 32-bit loader, and the
# 32-bit programs Wine starts in turn, then run on a kernel that runs no 32-bit programs itself.
# Private instances need Linux 6.7 or later; without one the command runs without the emulator.
if mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null &&
   printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' \
     >/proc/sys/fs/binfmt_misc/register 2>/dev/null; then
  BREWBELL_EMULATOR=qemu-i386
else
  echo "== no private binfmt_misc here (Linux 6.7 or later is needed): the 32-bit programs cannot run" >&2
  BREWBELL_EMULATOR=none
fi
export BREWBELL_EMULATOR
exec "$@"
