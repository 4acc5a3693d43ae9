"""What every end-to-end module shares: the failure of a check and timeouts
that grow with E2E_TIMEOUT_SCALE."""

import os

SKIP = 77  # the exit status ctest reports as "skipped"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def scaled(seconds):
    """Timeouts grow with E2E_TIMEOUT_SCALE (sanitizer builds start slowly)."""
    return seconds * float(os.environ.get("E2E_TIMEOUT_SCALE", "1"))
