#!/usr/bin/env python3
"""Writes a made-up week of passes heard by two stations, north.log and south.log, for the
History window's picture: a 96-minute orbit with a 35-minute eclipse in each, in which the bus
voltage sags and the charge current stops. Every line starts with its reception time.

Usage: scripts/make-history-week.py OUTPUT_DIR
"""
import datetime
import math
import os
import random
import sys

EXAMPLE_DIGITS = ("0001E240CC5CD0CCACCC86E878873875B6EBA0B80B904008006007004CC5004E04F01002001801C0"
                  "70090080085016012C8000010203FFFE")
MARKER = "PLRN-1.TLM"
START = datetime.datetime(2026, 11, 30, 0, 0, tzinfo=datetime.timezone.utc)
DAYS = 7
ORBIT_S = 96 * 60
ECLIPSE_FROM, ECLIPSE_TO = 0.60, 0.97  # orbit phase in shadow
FRAME_S = 20
PASS_FRAMES = (24, 40)  # frames a pass, at least and at most
BUS_DIGITS = 56  # the bus voltage's min, max, avg, act: 3 hex digits each
CHARGE_DIGITS = 80  # the charge current's four
FULL_SCALE = 4096
BUS_GAIN = 0.204
CHARGE_GAIN = 0.287


def reading(value, gain):
    """The 3-digit field reading that scales to `value` (twice the fraction of full scale)."""
    return max(0, min(0x7FF, round(value * gain * FULL_SCALE / 2)))


def put(digits, at, numbers):
    for k, n in enumerate(numbers):
        digits[at + 3 * k:at + 3 * k + 3] = "%03X" % n


def frame(seconds, rng):
    phase = (seconds % ORBIT_S) / ORBIT_S
    if ECLIPSE_FROM <= phase < ECLIPSE_TO:
        into = (phase - ECLIPSE_FROM) / (ECLIPSE_TO - ECLIPSE_FROM)
        bus, charge = 3.30 - 0.45 * into, 0.0
    else:
        recovered = min(1.0, ((phase - ECLIPSE_TO) % 1.0) / 0.15)
        bus, charge = 2.95 + 0.50 * recovered, 0.9 - 0.5 * recovered
    bus += rng.gauss(0, 0.01)
    charge = max(0.0, charge + rng.gauss(0, 0.02))
    digits = list(EXAMPLE_DIGITS)
    digits[0:8] = "%08X" % seconds
    put(digits, BUS_DIGITS, [reading(bus - 0.04, BUS_GAIN), reading(bus + 0.04, BUS_GAIN),
                             reading(bus, BUS_GAIN), reading(bus + rng.gauss(0, 0.01), BUS_GAIN)])
    put(digits, CHARGE_DIGITS,
        [reading(max(0, charge - 0.05), CHARGE_GAIN), reading(charge + 0.05, CHARGE_GAIN),
         reading(charge, CHARGE_GAIN), reading(charge, CHARGE_GAIN)])
    return MARKER + "".join(digits)


def stamp(seconds):
    return (START + datetime.timedelta(seconds=seconds)).strftime("%Y-%m-%dT%H:%M:%SZ")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    rng = random.Random(21)
    logs = {"north": [], "south": []}
    orbits = DAYS * 86400 // ORBIT_S
    for orbit in range(orbits):
        # Each station hears about every third orbit, at a phase that drifts through the eclipse.
        for station, offset in (("north", 0), ("south", 1)):
            if orbit % 3 != offset:
                continue
            begin = orbit * ORBIT_S + int(((orbit * 0.37) % 1.0) * ORBIT_S)
            for k in range(rng.randint(*PASS_FRAMES)):
                t = begin + k * FRAME_S
                line = "%s %s" % (stamp(t), frame(t, rng))
                logs[station].append(line)
                if orbit % 7 == 0:  # now and then both stations hear the same pass
                    logs["south" if station == "north" else "north"].append(line)
    for station, lines in logs.items():
        with open(os.path.join(out, station + ".log"), "w", encoding="ascii") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
