#!/usr/bin/python3
"""Sunrise, noon and sunset at twelve places on their own clocks through a whole year, from
daylight-cli sky --place NAME --from --to, against the ephemeris of Debian's python3-ephem for the
same place and moments: within a minute up to 60 degrees of latitude and two up to 72, on the
days where the sun clears the limit (its upper limb 34' below the level, no refraction) by half a
degree at noon and at midnight; and each date's offset that of Python's zoneinfo on the same
tzdata at the date's noon. Prints the worst difference at each place.

Usage: places_against_ephem.py DAYLIGHT-CLI [YEAR]"""
import datetime
import json
import math
import subprocess
import sys

import ephem
from zoneinfo import ZoneInfo

PLACES = ["Quito", "Sao Paulo", "Delhi", "Tokyo", "Cape Town", "Sydney", "Ushuaia", "Oslo",
          "Anchorage", "Reykjavik", "Murmansk", "Tromso"]
LIMIT = -34 / 60  # degrees: the upper limb's rising and setting, no refraction
CLEAR = 0.5  # degrees the sun stays away from the limit at noon and at midnight


def bound_minutes(latitude):
    return 1 if abs(latitude) <= 60 else 2


def main():
    cli = sys.argv[1]
    year = int(sys.argv[2]) if len(sys.argv) > 2 else 2026
    failures = []
    for name in PLACES:
        run = subprocess.run([cli, "sky", "--place", name, f"--from={year}-01-01",
                              f"--to={year}-12-31", "--json"],
                             capture_output=True, text=True, check=True)
        table = json.loads(run.stdout)
        latitude = float(table["inputs"]["latitude"])
        longitude = float(table["inputs"]["longitude"])
        observer = ephem.Observer()
        observer.lat, observer.lon = math.radians(latitude), math.radians(longitude)
        observer.elevation, observer.pressure = 0, 0
        observer.horizon = math.radians(LIMIT)
        sun = ephem.Sun()
        worst, checked = 0.0, 0
        zone = ZoneInfo(table["inputs"]["time_zone"])
        for row in table["rows"]:
            date = datetime.date.fromisoformat(row["date"])
            clock_noon = datetime.datetime(date.year, date.month, date.day, 12, tzinfo=zone)
            if float(row["utc_offset"]) != clock_noon.utcoffset().total_seconds() / 3600:
                failures.append(f"{name} {row['date']}: offset {row['utc_offset']}, zoneinfo "
                                f"{clock_noon.utcoffset()}")
            if row["sun"] != "rises":
                continue
            midnight = ephem.Date(datetime.datetime(date.year, date.month, date.day)) - \
                float(row["utc_offset"]) / 24
            noon = observer.next_transit(sun, start=midnight)
            # The sun's highest and lowest altitude of the centre, against the limit of the upper
            # limb: a day where it grazes the limit has its rising and setting ill defined.
            observer.date = noon
            sun.compute(observer)
            high = math.degrees(sun.alt) + math.degrees(sun.radius)
            lows = []
            for night in (observer.previous_antitransit(sun, start=noon),
                          observer.next_antitransit(sun, start=noon)):
                observer.date = night
                sun.compute(observer)
                lows.append(math.degrees(sun.alt) + math.degrees(sun.radius))
            if high < LIMIT + CLEAR or max(lows) > LIMIT - CLEAR:
                continue
            rise = observer.previous_rising(sun, start=noon)
            set_ = observer.next_setting(sun, start=noon)
            for column, moment in (("sunrise", rise), ("noon", noon), ("sunset", set_)):
                hours = (moment - midnight) * 24
                minutes = abs(float(row[column]) - hours) * 60
                worst = max(worst, minutes)
                if minutes > bound_minutes(latitude):
                    failures.append(f"{name} {row['date']} {column}: {row[column]} h, the "
                                    f"ephemeris {hours:.6f} h ({minutes:.2f} min apart)")
            checked += 1
        print(f"{name} ({latitude:.2f}): {checked} days, worst {worst * 60:.1f} s "
              f"(bound {bound_minutes(latitude)} min)")
        if checked < 100:
            failures.append(f"{name}: only {checked} days could be held to the ephemeris")
    for failure in failures[:20]:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
