#!/usr/bin/python3
"""The sun's path through a day, from daylight-cli sun --date, against the ephemeris of Debian's
python3-ephem at eight places on their own clocks, on four dates in each of two years the other
tests do not use, every 10 minutes while the sun is above -18 degrees:
- the altitude and the azimuth of the centre without air within 0.02 degrees up to 66 degrees of
  latitude (the azimuth as an angle on the sky, times the cosine of the altitude), 0.05 beyond;
- the altitude as the air lifts it within 0.02 degrees of ephem's for the same air (1010 hPa,
  10 degrees C) above 5 degrees;
- noon's altitude within 0.01 degrees, and the azimuths of sunrise and sunset within 0.1 degrees
  on days where the sun clears the horizon by half a degree at noon.
Prints the worst difference at each place.

Usage: sun_against_ephem.py DAYLIGHT-CLI"""
import datetime
import json
import math
import subprocess
import sys

import ephem
from zoneinfo import ZoneInfo

PLACES = [  # name, latitude, longitude, zone
    ("Quito", -0.2201, -78.5123, "America/Guayaquil"),
    ("Singapore", 1.2897, 103.8501, "Asia/Singapore"),
    ("Cape Town", -33.9258, 18.4232, "Africa/Johannesburg"),
    ("Berlin", 52.5244, 13.4105, "Europe/Berlin"),
    ("Ushuaia", -54.8019, -68.3030, "America/Argentina/Ushuaia"),
    ("Anchorage", 61.2181, -149.9003, "America/Anchorage"),
    ("Reykjavik", 64.1355, -21.8954, "Atlantic/Reykjavik"),
    ("Tromso", 69.6489, 18.9551, "Europe/Oslo"),
]
DATES = [f"{year}-{day}" for year in (2031, 2033) for day in ("02-10", "05-05", "08-20", "11-25")]


def bound(latitude):
    return 0.02 if abs(latitude) <= 66 else 0.05


def observer_at(latitude, longitude, pressure, temperature=10):
    observer = ephem.Observer()
    observer.lat, observer.lon = math.radians(latitude), math.radians(longitude)
    observer.elevation, observer.pressure, observer.temp = 0, pressure, temperature
    return observer


def main():
    cli = sys.argv[1]
    failures = []
    for name, latitude, longitude, zone in PLACES:
        airless = observer_at(latitude, longitude, 0)
        aired = observer_at(latitude, longitude, 1010)
        sun = ephem.Sun()
        worst = {"altitude": 0.0, "azimuth": 0.0, "apparent": 0.0, "noon": 0.0, "rise/set": 0.0}
        for date in DATES:
            run = subprocess.run([cli, "sun", f"--latitude={latitude}", f"--longitude={longitude}",
                                  f"--time-zone={zone}", f"--date={date}", "--json"],
                                 capture_output=True, text=True, check=True)
            table = json.loads(run.stdout)
            day = datetime.date.fromisoformat(date)
            offset = datetime.datetime(day.year, day.month, day.day, 12, tzinfo=ZoneInfo(zone)) \
                .utcoffset().total_seconds() / 3600
            midnight = ephem.Date(datetime.datetime(day.year, day.month, day.day)) - offset / 24

            def where(observer, hours):
                observer.date = midnight + hours / 24
                sun.compute(observer)
                return math.degrees(sun.alt), math.degrees(sun.az)

            def differ(kind, got, expected, limit, what):
                worst[kind] = max(worst[kind], abs(got - expected))
                if abs(got - expected) > limit:
                    failures.append(f"{name} {date} {what}: {got:.5f}, the ephemeris "
                                    f"{expected:.5f}")

            for row in table["rows"]:
                hours = float(row["time"])
                altitude, azimuth = where(airless, hours)
                if altitude < -18:
                    continue
                at = f"{row['time']} h"
                differ("altitude", float(row["altitude"]), altitude, bound(latitude),
                       f"altitude at {at}")
                turn = (float(row["azimuth"]) - azimuth + 180) % 360 - 180
                differ("azimuth", turn * math.cos(math.radians(altitude)), 0, bound(latitude),
                       f"azimuth at {at} (on the sky)")
                apparent, _ = where(aired, hours)
                if apparent > 5:
                    differ("apparent", float(row["apparent_altitude"]), apparent, 0.02,
                           f"apparent altitude at {at}")
            transit = airless.next_transit(sun, start=midnight)
            airless.date = transit
            sun.compute(airless)
            noon = math.degrees(sun.alt)
            differ("noon", float(table["noon_altitude"]), noon, 0.01, "noon's altitude")
            if noon > 0.5 and table["sunrise"] != "":
                for member in ("sunrise", "sunset"):
                    _, azimuth = where(airless, float(table[member]))
                    differ("rise/set", float(table[member + "_azimuth"]), azimuth, 0.1,
                           f"{member}'s azimuth")
        print(f"{name:10} " + ", ".join(f"{k} {v:.4f}" for k, v in worst.items()))
    for failure in failures:
        print("FAIL", failure)
    sys.exit(1 if failures else 0)


main()
