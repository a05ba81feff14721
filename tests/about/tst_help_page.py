#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the help pages as a browser-independent reader would: well-formed HTML5 with every
element closed in order, the head a narrow window needs, and nothing that reaches outside the
file (the page must work offline, from any folder). Then what it tells: every file the program
writes, the keyboard route to the Help menu, muting and enlarging; and that every link of the
page leads to an anchor of its own."""

import html
import os
import re
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
# Elements, attributes, links and style rules that would load something from elsewhere.
OUTSIDE = re.compile(r"<(script|link|iframe|object|embed|img)\b"
                     r"|\s(src|srcset|data|action|poster|background)\s*="
                     r"|\shref\s*=\s*(?![\"']?#)|url\s*\(|@import", re.IGNORECASE)


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems, self.open, self.seen, self.text = [], [], {}, {}
        self.doctype = ""

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        self.seen.setdefault(tag, []).append({name: value or "" for name, value in attrs})
        if tag not in VOID:
            self.open.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.handle_endtag(tag)

    def handle_endtag(self, tag):
        line = self.getpos()[0]
        if tag in VOID or not self.open:
            self.problems.append(f"line {line}: </{tag}> closes nothing")
        elif (expected := self.open.pop())[0] != tag:
            self.problems.append(f"line {line}: </{tag}> found where </{expected[0]}> "
                                 f"(opened at line {expected[1]}) belongs")

    def handle_data(self, data):
        if self.open:
            self.text[self.open[-1][0]] = self.text.get(self.open[-1][0], "") + data


def check(path):
    with open(path, encoding="utf-8") as page:
        source = page.read()
    checker = Checker()
    checker.feed(source)
    checker.close()
    problems = checker.problems
    problems += [f"<{tag}> opened at line {line} is never closed" for tag, line in checker.open]
    problems += [f"line {source.count(chr(10), 0, m.start()) + 1}: {m.group(0).strip()!r} "
                 "reaches outside the page" for m in OUTSIDE.finditer(source)]
    metas, style = checker.seen.get("meta", []), checker.text.get("style", "")
    for broken, text in (
            (checker.doctype.lower() != "doctype html", "the page must start with <!DOCTYPE html>"),
            (not checker.seen.get("html", [{}])[0].get("lang"), "<html> needs a lang attribute"),
            (not any(m.get("charset", "").lower() == "utf-8" for m in metas),
             '<meta charset="utf-8"> is missing'),
            (not any(m.get("name") == "viewport" and "width=device-width" in m.get("content", "")
                     for m in metas), "a viewport <meta> with width=device-width is missing"),
            (not checker.text.get("title", "").strip(), "the page has no title"),
            ("max-width" not in style, "the text column has no max-width")):
        if broken:
            problems.append(text)
    problems += [f"the page needs exactly one <{tag}>" for tag in ("head", "body", "h1")
                 if len(checker.seen.get(tag, [])) != 1]
    problems += check_anchors(checker)
    problems += check_content(source, translated=page_language(path) is not None)
    return problems


def check_anchors(checker):
    ids = [attrs["id"] for attrs_list in checker.seen.values() for attrs in attrs_list
           if attrs.get("id")]
    problems = [f"id {name!r} is used twice" for name in set(ids) if ids.count(name) > 1]
    links = [attrs.get("href", "") for attrs in checker.seen.get("a", [])]
    problems += [f"link {href!r} leads to no anchor of the page" for href in links
                 if href.startswith("#") and href[1:] not in ids]
    return problems


# What the page must tell, as plain text after its markup is stripped, and what it must not.
MUST_TELL = {
    "hiscore.dat": "the high-score file",
    "hiscore.bad": "where a damaged table is set aside",
    ".hiscore.dat.XXXXXX": "the temporary file of a save",
    "hiscore.lock": "the lock file beside the table",
    "System Sounds": "how to mute the sounds",
    "QT_SCALE_FACTOR=1.5": "how to enlarge this program alone",
    "scaling": "how to enlarge through the desktop",
    "Alt+A and then \u2190": "the keyboard route to the Help menu",
    "Alt+H shows the High Scores": "what Alt+H does",
    "Space or Enter picks": "that Enter picks a board button",
    "F5": "the key that says the question again",
}
MUST_NOT_TELL = {
    "again to open the Help menu": "a second Alt+H does not open the Help menu",
    "only file it writes": "the program writes more than one file",
}


# What a translated page must tell in the same words: file names and commands.
NOT_TRANSLATED = {"hiscore.dat", "hiscore.bad", ".hiscore.dat.XXXXXX", "hiscore.lock",
                  "QT_SCALE_FACTOR=1.5", "F5"}


def check_content(source, translated=False):
    text = re.sub(r"<[^>]*>", "", source)
    text = re.sub(r"\s+", " ", html.unescape(text))
    must_tell = {needle: what for needle, what in MUST_TELL.items()
                 if not translated or needle in NOT_TRANSLATED}
    problems = [f"the page does not tell {what} ({needle!r})"
                for needle, what in must_tell.items() if needle not in text]
    if not translated:
        problems += [f"the page still says {needle!r}, but {why}"
                     for needle, why in MUST_NOT_TELL.items() if needle in text]
    return problems


def page_language(path):
    """The language of a translated page, readme.<lang>.htm, or None for readme.htm."""
    match = re.fullmatch(r"readme\.([A-Za-z]{2,3}(?:_[A-Za-z]{2}|_[0-9]{3})?)\.htm",
                         os.path.basename(path))
    return match.group(1) if match else None


def check_language(path):
    """A translated page says in <html lang> which language it is in."""
    language = page_language(path)
    if language is None:
        return []
    with open(path, encoding="utf-8") as page:
        tag = re.search(r"<html\b[^>]*\blang\s*=\s*[\"']?([^\"'\s>]+)", page.read(), re.IGNORECASE)
    wanted = language.replace("_", "-")
    if not tag or tag.group(1).lower() != wanted.lower():
        return [f"<html lang> must be \"{wanted}\" in a page named for that language"]
    return []


def main():
    if len(sys.argv) < 2:
        print("usage: tst_help_page.py <page>...", file=sys.stderr)
        return 2
    failed = False
    for path in sys.argv[1:]:
        problems = check(path) + check_language(path)
        for problem in problems:
            print(f"{path}: {problem}")
        if not problems:
            print(f"{path}: well-formed, self-contained")
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
