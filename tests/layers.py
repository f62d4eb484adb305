#!/usr/bin/env python3
"""Each layer of the library includes the headers of the layers it links, and no other.

usage: layers.py LAYERS_FILE SOURCE_DIR

LAYERS_FILE, written by CMake, holds a line per layer: its library, its folder and the
libraries it links. A layer may include its own folder's headers, those of every layer it
links directly or through others, and the public headers (crninv/...). Every #include "x/y.h"
of a layer's files whose folder x is another layer's must be one of those. Exit status 1, with
each wrong include, when any is not.
"""
import os
import re
import sys


def main():
    layers_file, source = sys.argv[1], sys.argv[2]
    folder_of, links = {}, {}
    for line in open(layers_file):
        words = line.split()
        if len(words) < 2:
            continue
        folder_of[words[0]] = words[1]
        links[words[0]] = [w for w in words[2:] if w.startswith("crninv_")]

    def below(name, seen):
        for other in links.get(name, []):
            if other not in seen:
                seen.add(other)
                below(other, seen)
        return seen

    # The header-only identifier rules belong to the reader's folder.
    folders = set(folder_of.values())
    wrong = []
    for name, folder in folder_of.items():
        allowed = {folder_of[o] for o in below(name, set()) if o in folder_of}
        allowed.add(folder)
        if "crninv_identifiers" in below(name, set()):
            allowed.add("reader/identifiers.h")
        for file in sorted(os.listdir(os.path.join(source, folder))):
            if not file.endswith((".h", ".cc")):
                continue
            path = os.path.join(folder, file)
            for number, text in enumerate(open(os.path.join(source, path)), 1):
                m = re.match(r'#include "([^/"]+)/([^"]+)"', text)
                if not m or m.group(1) not in folders:
                    continue
                if m.group(1) in allowed or f"{m.group(1)}/{m.group(2)}" in allowed:
                    continue
                wrong.append(f"{path}:{number}: {name} includes {m.group(1)}/{m.group(2)}")
    for line in wrong:
        print(line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
