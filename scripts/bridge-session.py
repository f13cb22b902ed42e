#!/usr/bin/env python3
"""Drives one vek-bridge.exe session by its frames, a macro a conversation, and runs a shell
command between two macros (to restart the game, say):
    bridge-session.py LOADER BRIDGE_EXE 'MACRO' ['COMMAND' 'MACRO']...
Prints each answer on a line of its own; fails when a conversation does not end in data."""
import struct
import subprocess
import sys


def frame(kind, timeout=0, name=b"", data=b""):
    rest = struct.pack("<cIH", kind, timeout, len(name)) + name + data
    return struct.pack("<I", len(rest)) + rest


def read_frame(stream):
    head = stream.read(4)
    if len(head) < 4:
        raise SystemExit("bridge-session: the bridge stopped")
    rest = stream.read(struct.unpack("<I", head)[0])
    kind, _, name_length = struct.unpack("<cIH", rest[:7])
    return kind, rest[7 + name_length:]


def converse(bridge, macro):
    bridge.stdin.write(frame(b"C", 10000, b"Vivarium", b"bridge-session") +
                       frame(b"P", 10000, b"Macro", macro.encode("cp1252") + b"\0") +
                       frame(b"R", 10000, b"Macro") + frame(b"X"))
    bridge.stdin.flush()
    replies = [read_frame(bridge.stdout) for _ in range(3)]
    kinds = b"".join(kind for kind, _ in replies)
    if kinds != b"AAD":
        raise SystemExit(f"bridge-session: {macro!r} got {kinds!r} {replies[-1][1]!r}")
    return replies[2][1].split(b"\0")[0].decode("cp1252")


def main():
    loader, exe, *steps = sys.argv[1:]
    bridge = subprocess.Popen([loader, exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    if read_frame(bridge.stdout)[0] != b"H":
        raise SystemExit("bridge-session: no greeting")
    for n, step in enumerate(steps):
        if n % 2:
            subprocess.run(step, shell=True, check=True)
        else:
            print(converse(bridge, step), flush=True)
    bridge.stdin.close()
    bridge.wait()


main()
