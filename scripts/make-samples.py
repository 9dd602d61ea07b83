#!/usr/bin/env python3
"""Makes sample texts as the packet-decoding program prints them while the Pelorin satellite
passes: telemetry lines once a minute between beacons, text messages and damaged lines.

    scripts/make-samples.py                  # writes samples/pass.txt and samples/long-pass.txt
    scripts/make-samples.py --frames 5000 --seed 7 -o my-pass.txt
    scripts/make-samples.py --frames 20000 --other-lines 3 -o busy-pass.txt
    scripts/make-samples.py --live 1 --frames 30 -o today.log   # a line a second, to follow

The values are plausible, not real: rails near 5 V and 3.3 V, a temperature that swings between
sunlight and eclipse, solar-panel flags that follow the spacecraft's spin, a time counter that
rises by 60 s a line. Output is deterministic for a given seed.
"""
import argparse
import math
import random
import time
from pathlib import Path

MARKER = "PLRN-1.TLM"
ORBIT_MINUTES = 96
ECLIPSE_FRACTION = 0.36


def hex_field(value, digits):
    return format(int(value) & ((1 << (4 * digits)) - 1), "0{}X".format(digits))


def rail_counts(volts):
    return round(volts / 0.001528)


def temperature_counts(celsius):
    return 2896 + round(7 * celsius)


def current_counts(amps):
    return round(amps / 7.179e-05)


def bus_voltage_counts(volts):
    return round(volts * 0.204 * 2048)


def bus_current_counts(amps):
    return round(amps * 0.603 * 2048)


def charge_current_counts(amps):
    return round((amps * 0.287 + 1.0) * 2048)


def clamp12(n):
    return max(0, min(4095, n))


def statistics(rng, centre, spread, counts):
    """Minimum, maximum, average and actual of a quantity over the last minute, as counts."""
    samples = [centre + rng.gauss(0, spread) for _ in range(8)]
    values = [min(samples), max(samples), sum(samples) / len(samples), samples[-1]]
    return [clamp12(counts(v)) for v in values]


class Spacecraft:
    def __init__(self, rng, start_seconds):
        self.rng = rng
        self.seconds = start_seconds
        self.minute = rng.randrange(ORBIT_MINUTES)
        self.temperature = 12.0
        self.spin_phase = rng.random() * 4
        self.nominal_on = rng.randrange(2000, 9000)
        self.single_errors = 0
        self.all_errors = 0

    def in_sunlight(self):
        return (self.minute % ORBIT_MINUTES) / ORBIT_MINUTES < 1 - ECLIPSE_FRACTION

    def solar_flags(self):
        """Status byte: bit 4 X+, bit 3 Y+, bit 2 X-, bit 1 Y-; bit 0 and bits 7..5 other flags."""
        status = 1 if self.rng.random() < 0.1 else 0
        if self.rng.random() < 0.05:
            status |= 0x20
        if not self.in_sunlight():
            return status
        face = int(self.spin_phase) % 4
        lit = [face]
        if self.spin_phase % 1 > 0.6:
            lit.append((face + 1) % 4)
        for f in lit:
            status |= 0x10 >> f
        return status

    def frame(self):
        rng = self.rng
        sun = self.in_sunlight()
        target = 24.0 if sun else -8.0
        self.temperature += (target - self.temperature) * 0.08 + rng.gauss(0, 0.3)
        charge = 0.32 if sun else -0.21
        fields = [hex_field(self.seconds, 8)]
        fields += [hex_field(n, 3) for n in statistics(rng, 5.0, 0.01, rail_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, 3.3, 0.008, rail_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, self.temperature, 0.4, temperature_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, 0.11, 0.01, current_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, 8.1 if sun else 7.6, 0.03, bus_voltage_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, 0.42, 0.03, bus_current_counts)]
        fields += [hex_field(n, 3) for n in statistics(rng, charge, 0.04, charge_current_counts)]
        if rng.random() < 0.02:
            self.single_errors += 1
            self.all_errors += 1
        fields.append(hex_field(self.solar_flags(), 2))
        fields.append(hex_field(self.nominal_on, 4))
        fields.append(hex_field(rng.choice([0, 0, 0, 5, 12]), 4))
        fields.append(hex_field(self.single_errors, 2))
        fields.append(hex_field(self.all_errors, 2))
        fields.append(hex_field(self.all_errors // 2, 2))
        fields.append(hex_field(rng.randrange(-32768, 32768), 4))
        digits = "".join(fields)
        assert len(digits) == 112
        self.seconds += 60
        self.minute += 1
        self.nominal_on += 1
        self.spin_phase = (self.spin_phase + 0.37) % 4
        return MARKER + digits


STATION_CALLS = ["DK0PLR", "G4PLN", "VK3TLM", "JA1PEL", "W1ORB"]
MESSAGES = [
    "PLRN-1.MSG: GREETINGS FROM ORBIT TO ALL STATIONS",
    "PLRN-1.MSG: PLEASE SEND YOUR TELEMETRY REPORTS",
    "PLRN-1.MSG: BATTERY HEATER TEST SCHEDULED",
    "PLRN-1>BEACON: PELORIN-1 OBC ALIVE MODE NOMINAL",
    "PLRN-1>BEACON: PELORIN-1 SAFE MODE COUNTER 0",
]


def other_line(rng, clock):
    kind = rng.random()
    if kind < 0.5:
        return rng.choice(MESSAGES)
    if kind < 0.8:
        return "[{}] {}>APRS: =4807.38N/01131.00E-QTH {}".format(
            clock, rng.choice(STATION_CALLS), rng.randrange(100, 999))
    return "PLRN-1.CFG: {:04X} {:04X} {:04X}".format(
        rng.randrange(65536), rng.randrange(65536), rng.randrange(65536))


def damaged(rng, line):
    kind = rng.randrange(3)
    if kind == 0:
        return line[: rng.randrange(40, 121)]          # cut off during reception
    if kind == 1:
        return line + "*"                              # a stray character at the end
    cut = rng.randrange(20, 100)
    return line[:cut] + line[cut + 1:]                 # one character lost


def clock_text(seconds):
    return "{:02d}:{:02d}:{:02d}".format(seconds // 3600 % 24, seconds // 60 % 60, seconds % 60)


def pass_lines(frames, seed, other_lines=None):
    """The lines of a pass, a list at a time: the other lines before a telemetry line, and it."""
    rng = random.Random(seed)
    craft = Spacecraft(rng, start_seconds=rng.randrange(3_000_000, 6_000_000))
    wall = rng.randrange(86400)
    for _ in range(frames):
        lines = []
        count = rng.choice([0, 1, 1, 2, 3]) if other_lines is None else other_lines
        for _ in range(count):
            lines.append(other_line(rng, clock_text(wall)))
        frame = craft.frame()
        if rng.random() < 0.03:
            lines.append(damaged(rng, frame))
            frame = craft.frame()
        if rng.random() < 0.05:
            frame = "[{}] fm PLRN-1 to CQ ctl UI^ pid F0: ".format(clock_text(wall)) + frame
        lines.append(frame)
        wall += 60
        yield lines


def make_pass(frames, seed, other_lines=None):
    lines = [line for group in pass_lines(frames, seed, other_lines) for line in group]
    return "\r\n".join(lines) + "\r\n"


def write_live(path, frames, seed, other_lines, interval):
    """Appends the pass to `path` a telemetry line at a time, as a station's decoder does."""
    with open(path, "ab") as log:
        for group in pass_lines(frames, seed, other_lines):
            log.write(("\r\n".join(group) + "\r\n").encode("ascii"))
            log.flush()
            time.sleep(interval)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--frames", type=int, help="telemetry lines to make")
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--other-lines", type=int,
                        help="other lines before each telemetry line (default: 0 to 3 at random)")
    parser.add_argument("-o", "--output", type=Path)
    parser.add_argument("--live", type=float, metavar="SECONDS",
                        help="append to OUTPUT one telemetry line every SECONDS, for watching it live")
    args = parser.parse_args()
    if args.live is not None and args.output:
        write_live(args.output, args.frames or 150, args.seed, args.other_lines, args.live)
        return
    if args.output:
        args.output.write_bytes(make_pass(args.frames or 150, args.seed, args.other_lines).encode("ascii"))
        return
    samples = Path(__file__).resolve().parent.parent / "samples"
    samples.mkdir(exist_ok=True)
    (samples / "pass.txt").write_bytes(make_pass(150, args.seed).encode("ascii"))
    (samples / "long-pass.txt").write_bytes(make_pass(1200, args.seed + 1).encode("ascii"))


if __name__ == "__main__":
    main()
