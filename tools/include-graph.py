#!/usr/bin/env python3
"""Prints which folders of src/ include headers of which others, with the number of includes,
and any circle between folders. Run from the repository: tools/include-graph.py"""
import collections
import os
import re
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src')
edges = collections.defaultdict(collections.Counter)
for folder, _, files in os.walk(root):
    here = os.path.relpath(folder, root).split(os.sep)[0]
    for name in files:
        with open(os.path.join(folder, name), encoding='utf-8') as source:
            for line in source:
                match = re.match(r'\s*#\s*include\s+"([^/"]+)/', line)
                if match and match.group(1) != here:
                    edges[here][match.group(1)] += 1

for folder in sorted(edges):
    print(folder, '->', ', '.join(f'{target} ({count})' for target, count in sorted(edges[folder].items())))


def circle_from(start, path, seen):
    for target in edges.get(path[-1], ()):
        if target == start:
            return path + [start]
        if target not in seen:
            seen.add(target)
            found = circle_from(start, path + [target], seen)
            if found:
                return found
    return None


circles = {tuple(sorted(set(c))): c for c in (circle_from(f, [f], {f}) for f in edges) if c}
for circle in circles.values():
    print('circle:', ' -> '.join(circle))
sys.exit(1 if circles else 0)
