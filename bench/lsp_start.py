#!/usr/bin/env python3
"""From starting `vek lsp` to its first diagnostics for a small source, as an editor sees it.
   bench/lsp_start.py VEK [RUNS]"""
import json
import subprocess
import sys
import time


def framed(message):
    body = json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


SOURCE = "inst\nnew: simp ball 1 0 1000 0\nsetv attr 3\nendm\nscrp 2 5 3 1\nsnde honk\nendm\n"
OPENING = b"".join(framed(m) for m in [
    {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}},
    {"jsonrpc": "2.0", "method": "initialized", "params": {}},
    {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
        "uri": "file:///object.cos", "languageId": "caos-c1", "version": 1, "text": SOURCE}}},
])


def first_diagnostics(vek):
    began = time.perf_counter()
    server = subprocess.Popen([vek, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    server.stdin.write(OPENING)
    server.stdin.flush()
    received = b""
    while b"publishDiagnostics" not in received:
        chunk = server.stdout.read1(65536)
        if not chunk:
            sys.exit("vek lsp ended before its diagnostics")
        received += chunk
    elapsed = time.perf_counter() - began
    server.kill()
    server.wait()
    return elapsed


runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
times = sorted(first_diagnostics(sys.argv[1]) for _ in range(runs))
print("first diagnostics after the start: best %.1f ms, median %.1f ms of %d runs"
      % (times[0] * 1000, times[len(times) // 2] * 1000, runs))
