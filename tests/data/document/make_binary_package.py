#!/usr/bin/env python3
# Writes binary.vlbdoc: a package whose property lists are binary, made with Python's
# plistlib (not with this project's writer), to check that such packages read the same.
# Run from this folder: python3 make_binary_package.py
import os, plistlib, shutil

root = "binary.vlbdoc"
shutil.rmtree(root, ignore_errors=True)
for folder in ("graphXML", "graph", "graphPDF", "stats"):
    os.makedirs(os.path.join(root, folder))

def dump(path, value):
    with open(os.path.join(root, path), "wb") as f:
        plistlib.dump(value, f, fmt=plistlib.FMT_BINARY, sort_keys=False)

dump("fileInfo.plist", {"version": "4.1"})
dump("table.plist", {
    "columnSettings": [{"width": "70"}, {"width": "112.5"}],
    "tableRowSettings": {"titleRowHeight": "20", "dataRowHeight": "17",
                         "titleRowAttr": b"\x01\x02", "dataRowAttr": b"\x03"},
})
with open(os.path.join(root, "tableString.txt"), "wb") as f:
    f.write("Gr\u00f6\u00dfe\tSex\n1,5\tm\n\tf\n".encode("utf-8"))
with open(os.path.join(root, "graphXML", "graph0.xml"), "wb") as f:
    f.write(b"<analysis/>")
dump("graph/graph0.plist", {"graphTitle": "T", "valueSettings": {"logarithmic": False, "partition": 4,
                                                                   "min": "0", "scale": 1.25}})
dump("stats/stats0.plist", {"settings": {"unbiased": True}, "stats": {}, "logStats": {}})
