#!/usr/bin/env python3
"""Checks the help pages as a browser-independent reader would: well-formed HTML5 with every
element closed in order, the head a narrow window needs, and nothing that reaches outside the
file (the page must work offline, from any folder)."""

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
    return problems


def check_language(path):
    """A translated page, readme.<lang>.htm, says in <html lang> which language it is in."""
    match = re.fullmatch(r"readme\.([A-Za-z]{2,3}(?:_[A-Za-z]{2}|_[0-9]{3})?)\.htm",
                         os.path.basename(path))
    if not match:
        return []
    with open(path, encoding="utf-8") as page:
        tag = re.search(r"<html\b[^>]*\blang\s*=\s*[\"']?([^\"'\s>]+)", page.read(), re.IGNORECASE)
    wanted = match.group(1).replace("_", "-")
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
