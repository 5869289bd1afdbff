#!/usr/bin/env python3
"""Each date's clock in daylight-cli sky --time-zone against Python's zoneinfo on the same tzdata:
the offset and the zone's abbreviation at the date's noon, over whole years that hold both changes
of summer time, in zones whose rules changed within them (Sao Paulo gave up summer time in 2019)
and one whose summer time is half an hour (Lord Howe).

Usage: zones_against_zoneinfo.py DAYLIGHT-CLI"""
import datetime
import json
import subprocess
import sys
from zoneinfo import ZoneInfo

CASES = [
    ("Europe/Oslo", 59.91, 10.75, 2024, 2026),
    ("America/Sao_Paulo", -23.55, -46.63, 2017, 2020),
    ("Australia/Lord_Howe", -31.55, 159.08, 2025, 2026),
    ("America/New_York", 40.71, -74.01, 2006, 2008),
    ("Asia/Kolkata", 28.6, 77.2, 2026, 2026),
]


def main():
    cli = sys.argv[1]
    checked = 0
    wrong = []
    for zone, latitude, longitude, first, last in CASES:
        run = subprocess.run(
            [cli, "sky", f"--latitude={latitude}", f"--longitude={longitude}",
             f"--time-zone={zone}", f"--from={first}-01-01", f"--to={last}-12-31", "--json"],
            capture_output=True, text=True, check=True)
        rows = json.loads(run.stdout)["rows"]
        day = datetime.date(first, 1, 1)
        for row in rows:
            noon = datetime.datetime(day.year, day.month, day.day, 12, tzinfo=ZoneInfo(zone))
            hours = noon.utcoffset().total_seconds() / 3600
            if row["date"] != day.isoformat() or float(row["utc_offset"]) != hours or \
                    row["zone"] != noon.tzname():
                wrong.append(f"{zone} {row['date']}: {row['utc_offset']} {row['zone']}, "
                             f"zoneinfo {hours} {noon.tzname()}")
            checked += 1
            day += datetime.timedelta(days=1)
        if day != datetime.date(last + 1, 1, 1):
            wrong.append(f"{zone}: {len(rows)} rows")
    for w in wrong[:10]:
        print(w)
    print(f"{checked - len(wrong)} passed, {len(wrong)} failed")
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
