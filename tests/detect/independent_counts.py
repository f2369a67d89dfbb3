#!/usr/bin/env python3
"""Checks what `pasarela-cli info --json` says a file holds against counts made here with
other readers: xml.etree for LandXML, ezdxf for drawings, the index size for shapefiles.
Usage: independent_counts.py PASARELA_CLI FILE...; prints every difference, exit 1 if any."""
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET
from collections import Counter, defaultdict


def local(tag):
    return tag.rsplit("}", 1)[-1].lower()


def landxml_counts(path):
    root = ET.parse(path).getroot()
    alignments, profiles, surfaces, points = [], [], [], 0
    for element in root.iter():
        name = local(element.tag)
        if name == "alignment":
            elements = 0
            for geometry in element.iter():
                if local(geometry.tag) == "coordgeom":
                    elements += sum(1 for child in geometry if local(child.tag) in ("line", "curve", "spiral"))
            alignments.append({"name": element.get("name", ""), "elements": elements})
            for profalign in element.iter():
                if local(profalign.tag) == "profalign":
                    vertices = sum(1 for v in profalign if local(v.tag) in ("pvi", "paracurve", "circcurve"))
                    profiles.append({"name": element.get("name", "") + ": " + profalign.get("name", ""),
                                     "vertices": vertices})
        elif name == "surface":
            pnts = sum(1 for e in element.iter() if local(e.tag) == "p")
            faces = sum(1 for e in element.iter() if local(e.tag) == "f")
            surfaces.append({"name": element.get("name", ""), "points": pnts, "faces": faces})
        elif name == "cgpoint":
            points += 1
    return alignments, profiles, surfaces, points


def dxf_counts(path):
    import ezdxf
    from ezdxf import recover
    document, _ = recover.readfile(path)
    layers = defaultdict(Counter)
    for entity in document.modelspace():
        layers[entity.dxf.layer][entity.dxftype()] += 1
    return {name: dict(counts) for name, counts in layers.items()}


def record_points(record):
    """The vertices of one record's content: a point shape is one vertex; a multipoint gives its
    count after its box, a line or a polygon after its box and its part count."""
    if len(record) < 4:
        return 0
    kind = int.from_bytes(record[0:4], "little")
    if kind in (1, 11, 21):
        return 1
    if kind in (8, 18, 28) and len(record) >= 40:
        return int.from_bytes(record[36:40], "little")
    if kind in (3, 5, 13, 15, 23, 25, 31) and len(record) >= 44:
        return int.from_bytes(record[40:44], "little")
    return 0


def shapefile_points(path):
    """The vertices of the records of the .shp, as the import writes them.

    The records stand one after the other after the 100-byte header, each with an 8-byte
    header giving its content length in 16-bit words. Where they fill the file exactly, they
    are the records, whatever the index says. Otherwise the index holds 8 bytes per record after
    its 100-byte header, up to the file length its header gives (in 16-bit words): the offset
    and the length of the record in the .shp, in words; a record that does not carry that
    length at its offset is no shape."""
    with open(os.path.splitext(path)[0] + ".shx", "rb") as index:
        index_bytes = index.read()
    with open(path, "rb") as shapes:
        shape_bytes = shapes.read()
    at = 100
    in_sequence = []
    while at + 8 <= len(shape_bytes):
        length = int.from_bytes(shape_bytes[at + 4:at + 8], "big") * 2
        if length < 4 or at + 8 + length > len(shape_bytes):
            break
        in_sequence.append(shape_bytes[at + 8:at + 8 + length])
        at += 8 + length
    if at == len(shape_bytes):
        return sum(record_points(record) for record in in_sequence)
    records = (int.from_bytes(index_bytes[24:28], "big") * 2 - 100) // 8
    points = 0
    for number in range(records):
        entry = index_bytes[100 + 8 * number:108 + 8 * number]
        if len(entry) < 8:
            break
        offset = int.from_bytes(entry[0:4], "big") * 2
        length = int.from_bytes(entry[4:8], "big") * 2
        header = shape_bytes[offset:offset + 8]
        if len(header) < 8 or int.from_bytes(header[4:8], "big") * 2 != length:
            continue
        points += record_points(shape_bytes[offset + 8:offset + 8 + length])
    return points


def main():
    cli, files = sys.argv[1], sys.argv[2:]
    differences = []
    for path in files:
        info = json.loads(subprocess.run([cli, "info", "--json", path], capture_output=True, text=True).stdout)
        extension = os.path.splitext(path)[1].lower()
        if info["format"] == "landxml":
            alignments, profiles, surfaces, points = landxml_counts(path)
            got = [{"name": a["name"], "elements": a["elements"]} for a in info.get("alignments", [])]
            if got != alignments:
                differences.append(f"{path}: ejes {got} != {alignments}")
            got = [{"name": p["name"], "vertices": p["vertices"]} for p in info.get("profiles", [])]
            if got != profiles:
                differences.append(f"{path}: rasantes {got} != {profiles}")
            got = [{"name": s["name"], "points": s["points"], "faces": s["faces"]} for s in info.get("surfaces", [])]
            if got != surfaces:
                differences.append(f"{path}: superficies {got} != {surfaces}")
            if info.get("points", 0) != points:
                differences.append(f"{path}: puntos {info.get('points', 0)} != {points}")
        elif info["format"] == "dxf":
            expected = dxf_counts(path)
            got = {layer["name"]: layer["entities"] for layer in info.get("layers", []) if layer["entities"]}
            if got != expected:
                differences.append(f"{path}: capas {got} != {expected}")
        elif info["format"] == "shp":
            expected = shapefile_points(path)
            if info.get("points") != expected:
                differences.append(f"{path}: puntos {info.get('points')} != {expected}")
        elif extension in (".xml", ".dxf", ".shp"):
            differences.append(f"{path}: formato {info['format']}")
    for difference in differences:
        print(difference)
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
