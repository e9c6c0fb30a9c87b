#!/usr/bin/python3
"""Writes tests/data/moon_phases_reference.tsv: the Moon's principal phases
after the 10th of every fifth month, 2000-2040, from PyEphem (python3-ephem,
Debian), whose lunar theory is independent of ERFA's.  Times are UT Julian
Days; PyEphem's own Delta T is used, so the comparison also carries the
difference of the two Delta T models (a few seconds this century).

    /usr/bin/python3 tools/make_moon_phase_reference.py > tests/data/moon_phases_reference.tsv
"""
import ephem

KINDS = [(0, ephem.next_new_moon), (1, ephem.next_first_quarter_moon),
         (2, ephem.next_full_moon), (3, ephem.next_last_quarter_moon)]

print("# Principal phases of the Moon from PyEphem %s (tools/make_moon_phase_reference.py)" %
      ephem.__version__)
print("# kind: 0 new, 1 first quarter, 2 full, 3 last quarter; jd_ut: UT Julian Day")
print("kind\tjd_ut")
for year in range(2000, 2041, 4):
    for month in range(1, 13, 5):
        start = ephem.Date("%d/%d/10" % (year, month))
        for kind, following in KINDS:
            print("%d\t%.6f" % (kind, float(following(start)) + 2415020.0))
