"""Exit 0 if an SVG file parses as XML and holds the expected number of note shapes per voice.

Usage: check_piano_roll.py PICTURE.svg VOICE1_NOTES VOICE2_NOTES
"""
import sys
import xml.etree.ElementTree as ElementTree

SVG = "{http://www.w3.org/2000/svg}"
picture, expected = sys.argv[1], {"voice1": int(sys.argv[2]), "voice2": int(sys.argv[3])}
root = ElementTree.parse(picture).getroot()
if root.tag != SVG + "svg":
    sys.exit(f"the root element is {root.tag}, not svg")
found = {name: 0 for name in expected}
for shape in root.iter(SVG + "rect"):
    name = shape.get("class")
    if name in found:
        found[name] += 1
if found != expected:
    sys.exit(f"note shapes per voice: found {found}, expected {expected}")
