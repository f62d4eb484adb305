"""Ctrl-C: a SIGINT sent to a Python process in the middle of a long
computation raises KeyboardInterrupt there within half a second, through the
library's cancellation; the process goes on and can compute again."""

import os
import signal
import subprocess
import sys
import time

import pytest

CHILD = r"""
import random, sys, time
import crninv

# A random network whose wide reduction takes long (its numbers pass 128
# bits), or the semiflows of a net with very many.
rng = random.Random(1)
if sys.argv[1] == "reduction":
    S, R = 1500, 2250
    text = "".join(" + ".join("%d s%d" % (rng.randint(1, 3), rng.randrange(S))
                              for _ in range(rng.randint(1, 3))) + " -> s%d;\n" % rng.randrange(S)
                   for _ in range(R))
    work = lambda net: crninv.invariants(net)
else:
    # Rings of places joined by transitions that each take a token from one
    # ring to the next: a number of T-semiflows exponential in the rings.
    text = "".join("t%d_%d: p%d_%d -> p%d_%d;\n" % (i, j, i, j, (i + 1) % 14, k)
                   for i in range(14) for j in range(4) for k in range(4))
    work = lambda net: crninv.semiflows(net, transitions=True)
net = crninv.parse_network(text)
print("ready", flush=True)
start = time.monotonic()
try:
    work(net)
    print("finished", time.monotonic() - start, flush=True)
except KeyboardInterrupt:
    print("interrupted", flush=True)
# Still usable afterwards.
print(len(crninv.invariants(crninv.parse_network("A -> B;\n")).flows), flush=True)
"""


@pytest.mark.parametrize("work", ["reduction", "semiflows"])
def test_sigint_raises_keyboard_interrupt(work):
    child = subprocess.Popen([sys.executable, "-c", CHILD, work], stdout=subprocess.PIPE,
                             text=True, env=os.environ)
    try:
        assert child.stdout.readline() == "ready\n"
        time.sleep(1.5)  # well inside the computation
        sent = time.monotonic()
        child.send_signal(signal.SIGINT)
        line = child.stdout.readline()
        latency = time.monotonic() - sent
        assert line == "interrupted\n", line
        assert latency < 0.5
        assert child.stdout.readline() == "1\n"
        assert child.wait(10) == 0
    finally:
        child.kill()
        child.wait()
