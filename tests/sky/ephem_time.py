"""Instants between Unix seconds and python3-ephem's dates, and the end of a
comparison run, shared by the checks against ephem."""
import ephem

UNIX_EPOCH_IN_EPHEM_DAYS = 25567.5  # ephem counts days from 1899-12-31 12:00 UT


def unix_seconds(year):
    """The Unix second of 1 January of year, 00:00 UT."""
    return round((float(ephem.Date(f"{year}/1/1")) - UNIX_EPOCH_IN_EPHEM_DAYS) * 86400)


def ephem_date(seconds):
    return ephem.Date(seconds / 86400.0 + UNIX_EPOCH_IN_EPHEM_DAYS)


def seconds_of(date):
    return (float(date) - UNIX_EPOCH_IN_EPHEM_DAYS) * 86400.0


def finish(failures):
    """Prints each failure and gives the exit status of the run."""
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0
