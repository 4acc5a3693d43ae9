#!/usr/bin/env python3
"""Runs the norvale-cli examples of the given Markdown files and compares
their output with what the files show.

Usage: check_doc_examples.py NORVALE_CLI FILE.md...

In each ```console block, a line "$ [TZ=zone] norvale-cli ARGS [# comment]"
is run in that zone (UTC when none is given) and its standard output must be
the lines that follow, up to the next "$ " line or the end of the block.
Examples whose answer depends on the day they are run are skipped: those
without a fixed date and time of day, and those whose output says "Today" or
"Future"; so are those that write a file (--png, a redirection).
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

BLOCK = re.compile(r"```console\n(.*?)```", re.S)


def examples(text):
    """(zone, args, expected lines) of every example."""
    for block in BLOCK.findall(text):
        command = None
        for line in block.splitlines() + ["$ "]:
            if line.startswith("$ "):
                if command is not None:
                    yield command + (output,)
                words = shlex.split(line[2:], comments=True)
                zone = "UTC"
                if words and words[0].startswith("TZ="):
                    zone = words.pop(0)[3:]
                command = (zone, words[1:]) if words[:1] == ["norvale-cli"] else None
                output = []
            elif command is not None:
                output.append(line)


def fixed(args, expected):
    dated = any(re.fullmatch(r"\d{4}-\d\d-\d\d", a) for a in args)
    text = "\n".join(expected)
    return (dated and "--time" in args and "--png" not in args and ">" not in args
            and "Today:" not in text and "Future:" not in text and '"when":"today"' not in text)


def main():
    binary = sys.argv[1]
    config = tempfile.mkdtemp(prefix="norvale-doc-examples-")
    failures = []
    checked = 0
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for zone, args, expected in examples(text):
            if not fixed(args, expected):
                continue
            # An empty configuration folder: no stored place, never the home's.
            env = dict(os.environ, TZ=zone, XDG_CONFIG_HOME=config)
            got = subprocess.run([binary] + args, capture_output=True, text=True, env=env)
            checked += 1
            if got.returncode != 0 or got.stdout.splitlines() != expected:
                failures.append(f"{os.path.basename(path)}: norvale-cli {' '.join(args)} "
                                f"(TZ={zone}) prints\n{got.stdout}{got.stderr}")
    os.rmdir(config)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{checked} examples checked")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
