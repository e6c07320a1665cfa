#!/usr/bin/env python3
"""The goals' table: reads the goals the benchmarks and the program runs
wrote, one a line (name, measured, unit, target, note; tab-separated),
prints them as a table and writes them as JSON.

    goals_table.py SUMMARY_JSON GOALS_FILE...
"""
import json
import sys


def holds(measured, target):
    """None for a figure; else whether the measure meets ">= N" or "<= N"."""
    if not target:
        return None
    relation, bound = target.split()
    return measured >= float(bound) if relation == ">=" else measured <= float(bound)


def read_goals(paths):
    goals = []
    for path in paths:
        with open(path, encoding="utf-8") as lines:
            for line in lines:
                fields = line.rstrip("\n").split("\t")
                if len(fields) < 4:
                    continue
                name, measured, unit, target = fields[:4]
                note = fields[4] if len(fields) > 4 else ""
                goals.append({"name": name, "measured": float(f"{float(measured):.4g}"), "unit": unit,
                              "target": target or None, "holds": holds(float(measured), target), "note": note})
    return goals


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    goals = read_goals(sys.argv[2:])
    print(f"\n{'goal':<52} {'measured':>12} {'unit':<12} {'target':<8} holds")
    for goal in goals:
        said = "-" if goal["holds"] is None else "yes" if goal["holds"] else "NO"
        print(f"{goal['name']:<52} {goal['measured']:>12.2f} {goal['unit']:<12} {goal['target'] or 'figure':<8} "
              f"{said:<5} {goal['note']}")
    with open(sys.argv[1], "w", encoding="utf-8") as out:
        json.dump([{key: value for key, value in goal.items() if key != "note" or value} for goal in goals], out,
                  indent=2)
        out.write("\n")
    print(f"\nwritten to {sys.argv[1]}")


if __name__ == "__main__":
    main()
