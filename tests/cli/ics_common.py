"""What the two calendar checks share: running norvale-cli and the report."""
import os
import subprocess


def run(binary, *args, tz="UTC", extra=None):
    """norvale-cli's standard output for args in the zone tz (SOURCE_DATE_EPOCH
    unset unless extra sets it)."""
    env = dict(os.environ, TZ=tz)
    env.pop("SOURCE_DATE_EPOCH", None)
    env.update(extra or {})
    return subprocess.run([binary, *args], check=True, capture_output=True, env=env).stdout


def finish(failures, summary):
    """Prints every failure and the summary line; the exit status."""
    for failure in failures:
        print("FAIL:", failure)
    print(summary)
    return 1 if failures else 0
