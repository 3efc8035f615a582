#!/usr/bin/env python3
"""Medians of a scripts/bench-side.sh run, with the ratios to the floor measured
in the same run, as a Markdown table.

usage: side_summary.py FIGURES.jsonl"""
import json
import statistics
import sys
from collections import defaultdict

side = defaultdict(lambda: defaultdict(list))   # screen -> tool -> rows (launch, memory)
drags = defaultdict(lambda: defaultdict(list))  # screen -> part -> total ms per move
paired = defaultdict(lambda: defaultdict(list))  # screen -> part -> ratios to the floor's drag just before
for line in open(sys.argv[1]):
    row = json.loads(line)
    if 'tool' in row:
        side[str(row['W'])][row['tool']].append(row)
    elif 'part' in row:
        width = row['screen'].split('x')[0]
        drags[width][row['part']].append(row['total_per_move_ms'])
        if row.get('ratio_to_floor') is not None:
            paired[width][row['part']].append(row['ratio_to_floor'])


def med(values):
    values = [v for v in values if v is not None and v >= 0]
    return round(statistics.median(values), 2) if values else None


def ratio(a, b):
    return f'{a / b:.2f}' if a is not None and b else '-'


# The drags' last column is the median of each drag's ratio to the floor's
# drag just before it, which the machine's drift over a run moves less.
print('| screen | figure | snapcrest | floor | ratio | paired ratio |')
print('|---|---|---|---|---|---|')
for width in sorted(set(side) | set(drags), key=int):
    s, f = side[width].get('snapcrest', []), side[width].get('floor-strip', [])
    sm, fm = med([r['map_ms'] for r in s]), med([r['map_ms'] for r in f])
    print(f'| {width} | launch to overlay on screen, ms (n={len(s)}) | {sm} | {fm} | '
          f'{ratio(sm, fm)} (+{round(sm - fm) if sm and fm else "-"} ms) | |')
    sh, fh = med([r['hwm_MiB'] for r in s]), med([r['hwm_MiB'] for r in f])
    print(f'| {width} | peak resident memory, MiB | {sh} | {fh} | {ratio(sh, fh)} | |')
    sd = med([r['cpu_per_step_ms'] + r['xvfb_per_step_ms'] for r in s])
    fd = med([r['cpu_per_step_ms'] + r['xvfb_per_step_ms'] for r in f])
    print(f'| {width} | first drag, side instrument, CPU ms per step | {sd} | {fd} | {ratio(sd, fd)} | |')
    floor = med(drags[width].get('floor', []))
    for part in ('first', 'move', 'resize', 'rect', 'arrow', 'stroke'):
        value = med(drags[width].get(part, []))
        if value is not None:
            ratios = paired[width].get(part, [])
            pr = f'{statistics.median(ratios):.2f}' if ratios else '-'
            print(f'| {width} | {part}: CPU ms per paced move (n={len(drags[width][part])}) | {value} | {floor} | '
                  f'{ratio(value, floor)} | {pr} |')
