#!/usr/bin/env python3
"""Fails when a source includes a header of a library that its target does
not link, directly or through the libraries it links.

Usage: check_includes.py LAYER_TARGETS_FILE SOURCE_ROOT

LAYER_TARGETS_FILE has one line a target of the layer folders (written at
configure time): name, type, folder, sources, links, tab-separated, the lists
;-separated. A header belongs to the target that lists it among its sources,
else to its folder's only library. A file no target lists belongs to its
folder's only library too. Includes within a folder are checked where the
folder holds several libraries (the renderer beside its face cache).
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/([^"]+)"', re.M)
LINK_ONLY = re.compile(r"^\$<LINK_ONLY:(.*)>$")


def read_targets(path):
    targets = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            name, kind, folder, sources, links = line.rstrip("\n").split("\t")
            deps = set()
            for link in links.split(";"):
                m = LINK_ONLY.match(link)
                link = m.group(1) if m else link
                if link:
                    deps.add(link)
            targets[name] = {"kind": kind, "folder": folder, "sources": [s for s in sources.split(";") if s],
                             "links": deps}
    return targets


def closure(targets, name):
    seen, todo = set(), [name]
    while todo:
        t = todo.pop()
        for dep in targets.get(t, {}).get("links", ()):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def main():
    targets_file, root = sys.argv[1], sys.argv[2]
    targets = read_targets(targets_file)
    folders = {t["folder"] for t in targets.values()}

    # Which targets list each file, by its project-relative path.
    listed = {}
    for name, t in targets.items():
        for src in t["sources"]:
            rel = os.path.relpath(src, root) if os.path.isabs(src) else os.path.join(t["folder"], src)
            listed.setdefault(os.path.normpath(rel), []).append(name)

    libraries = {}
    for name, t in targets.items():
        if t["kind"] != "EXECUTABLE":
            libraries.setdefault(t["folder"], []).append(name)

    def owners(rel):
        if rel in listed:
            return [n for n in listed[rel] if targets[n]["kind"] != "EXECUTABLE"] or listed[rel]
        libs = libraries.get(rel.split("/")[0], [])
        return libs if len(libs) == 1 else []

    problems = []
    checked = 0
    for folder in sorted(folders):
        base = os.path.join(root, folder)
        for dirpath, _, files in os.walk(base):
            for file in sorted(files):
                if not file.endswith((".cpp", ".h")):
                    continue
                rel = os.path.relpath(os.path.join(dirpath, file), root)
                users = listed.get(rel) or owners(rel)
                if not users:
                    problems.append(f"{rel}: no target of its folder owns it")
                    continue
                with open(os.path.join(root, rel), encoding="utf-8") as f:
                    text = f.read()
                for inc_folder, inc_file in INCLUDE.findall(text):
                    # Within a folder of one library every include is its own;
                    # a folder of several (panel/, sky/) is checked like any.
                    if inc_folder not in folders or (
                            inc_folder == folder and len(libraries.get(folder, [])) <= 1):
                        continue
                    header = f"{inc_folder}/{inc_file}"
                    header_owners = owners(header)
                    if not header_owners:
                        problems.append(f"{rel}: includes {header}, which no library of {inc_folder}/ owns")
                        continue
                    for user in users:
                        reach = closure(targets, user) | {user}
                        if not reach & set(header_owners):
                            problems.append(f"{rel} ({user}): includes {header} of "
                                            f"{' or '.join(header_owners)}, which {user} does not link")
                    checked += 1
    for p in problems:
        print(p)
    print(f"{checked} includes across folders checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
