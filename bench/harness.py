#!/usr/bin/env python3
"""The table of bench/run.

Reads the benchmarks' output on stdin; each figure comes as one line
RESULT <name>|<value>|<floor>|<unit>|<goal ratio>|<floor label>
and is shown with its ratio to the floor and whether the goal is met. Other lines
pass through, indented.
"""
import sys


def table():
    """Reads RESULT lines on stdin and prints the table with each goal."""
    rows = []
    for line in sys.stdin:
        if not line.startswith("RESULT "):
            sys.stdout.write("  " + line)
            continue
        name, value, floor, unit, goal, label = line[len("RESULT "):].rstrip("\n").split("|")
        ratio = float(value) / float(floor) if float(floor) > 0 else float("inf")
        rows.append((name, value, floor, unit, ratio, float(goal), label))
    print()
    head = f"{'figure':58} {'median':>10} {'floor':>10} {'unit':5} {'ratio':>6} {'goal':>7}  met  floor is"
    print(head)
    print("-" * len(head))
    for name, value, floor, unit, ratio, goal, label in rows:
        met = "yes" if ratio <= goal else "NO"
        print(f"{name:58} {value:>10} {floor:>10} {unit:5} {ratio:6.2f} {'<= ' + format(goal, 'g'):>7}  {met:3}  {label}")


if __name__ == "__main__":
    table()
