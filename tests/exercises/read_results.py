# Reads results.csv as a Russian spreadsheet user would open it: UTF-8 with its byte order
# mark, ";" between fields. Prints each row's fields joined by " | ", one row per line.
import csv
import sys

with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    for row in csv.reader(f, delimiter=";"):
        sys.stdout.buffer.write((" | ".join(row) + "\n").encode("utf-8"))
