#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whether every shipped catalogue is complete and sound.

    tst_catalogues.py LRELEASE SOURCE_TS LANGUAGE_TS...

SOURCE_TS holds every text of the sources as the build extracted them. For each language it
prints the number of texts, how many are finished, unfinished (still marked so, or empty) and
missing (in the sources but not yet in the .ts: run the target update_translations), what
lrelease makes of the file, and any finished translation that drops a placeholder ("%1") or
an access key ("&"). Fails when any language has anything but finished, sound texts.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?\d+|%n")


def access_key(text):
    """The letter after a single "&", or None."""
    i = 0
    while i + 1 < len(text):
        if text[i] == "&":
            if text[i + 1] != "&":
                return text[i + 1]
            i += 1
        i += 1
    return None


def messages(path):
    """(context, source) -> the list of a .ts file's translations of that text: one, or one
    for each plural form of a text with "%n"; None when unfinished."""
    found = {}
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "unfinished"
            if kind in ("vanished", "obsolete"):
                continue
            if translation is None:
                texts = []
            elif message.get("numerus") == "yes":
                texts = [form.text for form in translation.iter("numerusform")]
            else:
                texts = [translation.text]
            finished = kind is None and bool(texts) and all(texts)
            found[(name, source)] = texts if finished else None
    return found


def lrelease_report(lrelease, ts):
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run([lrelease, ts, "-qm", os.path.join(folder, "out.qm")],
                                capture_output=True, text=True)
    lines = [line.strip() for line in (result.stdout + result.stderr).splitlines()
             if line.strip() and not line.startswith("Updating")]
    return result.returncode, "; ".join(lines)


def main(lrelease, source_ts, language_ts):
    sources = messages(source_ts)
    failed = False
    for ts in language_ts:
        language = os.path.basename(ts)[len("brightsum_"):-len(".ts")]
        texts = messages(ts)
        missing = [key for key in sources if key not in texts]
        unfinished = [key for key in sources if key in texts and texts[key] is None]
        faults = []
        for key in sources:
            forms = texts.get(key)
            if forms is None:
                continue
            source = key[1]
            for translation in forms:
                if sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(translation)):
                    faults.append(f"{key[0]}: \"{translation}\" does not keep the placeholders "
                                  f"of \"{source}\"")
                if access_key(source) and not access_key(translation):
                    faults.append(f"{key[0]}: \"{translation}\" has no access key")
        code, report = lrelease_report(lrelease, ts)
        finished = len(sources) - len(missing) - len(unfinished)
        print(f"{language}: {len(sources)} texts, {finished} finished, {len(unfinished)} "
              f"unfinished, {len(missing)} missing; lrelease: {report}")
        for fault in faults:
            print(f"  {fault}")
        for context, source in missing[:5]:
            print(f"  missing: {context}: \"{source}\"")
        if missing or unfinished or faults or code != 0:
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
