# Reads results.csv as a Russian spreadsheet user would open it: UTF-8 with its byte order
# mark, ";" between fields. Prints the rows, each a list of its cells, as JSON.
import csv
import json
import sys

with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f, delimiter=";"))
sys.stdout.buffer.write(json.dumps(rows, ensure_ascii=False).encode("utf-8"))
