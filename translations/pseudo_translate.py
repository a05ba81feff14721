#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the pseudo-language catalogue source from a catalogue source of the program's texts.

Every text becomes "[Ŧőŧàľ Ƥőïńŧš: ~~~]": accented, so that a text left in English stands out,
wrapped in brackets, so that a cut-off end shows, and about 40 % longer, the room a longer
language needs. Access keys ("&A", "&&") and placeholders ("%1", "%L1", "%n") stay as they
are, so menus keep their keys and numbers still reach the text.

    pseudo_translate.py SOURCE.ts PSEUDO.ts
"""
import math
import re
import sys
import xml.etree.ElementTree as ET

LANGUAGE = "xx"
GROWTH = 1.4

ACCENTED = dict(zip(
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
    "ÀƁĆĐÉƑĞĤÏĴĶĽṀŃŐƤǪŘŠŦŰṼŴẊŸŽàƀćđéƒğĥïĵķľɱńőƥǫŕšŧűṽŵẋÿž"))

# Left as they are: an access key with its letter, a doubled "&", a placeholder.
KEPT = re.compile(r"&&|&.|%L?\d{1,2}|%n", re.DOTALL)


def pseudo(text: str) -> str:
    if not text:
        return text
    parts = []
    position = 0
    for kept in KEPT.finditer(text):
        parts.append("".join(ACCENTED.get(c, c) for c in text[position:kept.start()]))
        parts.append(kept.group(0))
        position = kept.end()
    parts.append("".join(ACCENTED.get(c, c) for c in text[position:]))
    body = "".join(parts)
    padding = math.ceil(len(text) * GROWTH) - len(text) - 2  # the brackets count
    if padding >= 2:
        # In words of at most eight, so that a long text still wraps.
        tildes = "~" * (padding - 1)
        body += " " + " ".join(tildes[i:i + 8] for i in range(0, len(tildes), 8))
    return "[" + body + "]"


def main(source_path: str, pseudo_path: str) -> int:
    tree = ET.parse(source_path)
    root = tree.getroot()
    root.set("language", LANGUAGE)
    root.set("sourcelanguage", "en")
    count = 0
    for message in root.iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        if translation is None:
            translation = ET.SubElement(message, "translation")
        translation.attrib.clear()
        if message.get("numerus") == "yes":
            translation.text = None
            for form in list(translation):
                translation.remove(form)
            for _ in range(2):
                ET.SubElement(translation, "numerusform").text = pseudo(source)
        else:
            translation.text = pseudo(source)
        count += 1
    if count == 0:
        print(f"{source_path}: no texts found", file=sys.stderr)
        return 1
    with open(pseudo_path, "wb") as out:
        out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        tree.write(out, encoding="utf-8", xml_declaration=False)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
