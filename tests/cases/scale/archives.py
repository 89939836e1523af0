#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""archives.py N ORDER LIST: prints the names of N archives for custom/ and
writes a list file naming them. Three names differ only in letter case, and
one of them, Case.REZ, is not an archive at all (the search finds *.rez).
ORDER "reversed" lists every archive, last first; "shuffled" lists 1,500
names in a fixed random order, among them names in other letter case, names
given twice and names of no archive."""
import random
import sys

count, order, list_file = int(sys.argv[1]), sys.argv[2], sys.argv[3]
names = [f"a{i:05d}.rez" for i in range(count)] + ["case.rez", "CASE.rez", "Case.REZ"]
print("\n".join(names))
if order == "reversed":
    listed = [name for name in names if name.endswith(".rez")][::-1]
else:
    random.seed(15)
    listed = random.sample(names, 1200) + ["gone.rez"] * 3 + ["CASE.REZ"] * 4
    listed += [name.upper() for name in random.sample(names, 200)] + random.sample(names, 93)
    random.shuffle(listed)
with open(list_file, "w") as out:
    out.write("".join(name + "\n" for name in listed))
