#!/usr/bin/env python3
"""Checks the help page as a browser-independent reader would: well-formed HTML5 with every
element closed in order, the document head a phone or a narrow window needs, and nothing that
reaches outside the file (the page must work offline, from any folder)."""

import re
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
KNOWN = VOID | {
    "html", "head", "title", "style", "body", "h1", "h2", "h3", "p", "ul", "ol", "li", "div",
    "span", "strong", "em", "code", "kbd", "table", "caption", "thead", "tbody", "tr", "th",
    "td", "a", "abbr", "section", "dl", "dt", "dd"}
OUTSIDE = ("src", "srcset", "data", "action", "poster", "background")


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.open = []
        self.doctype = None
        self.seen = {}
        self.title = ""
        self.style = ""
        self.ids = set()

    def problem(self, text):
        line, column = self.getpos()
        self.problems.append(f"line {line}, column {column + 1}: {text}")

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        self.seen.setdefault(tag, []).append(dict(attrs))
        if tag not in KNOWN:
            self.problem(f"unexpected element <{tag}>")
        if tag in ("script", "link", "iframe", "object", "embed", "img"):
            self.problem(f"<{tag}> would load something from outside the page")
        for name, value in attrs:
            value = value or ""
            if name in OUTSIDE:
                self.problem(f"{name}= loads something from outside the page")
            if name == "href" and not value.startswith("#"):
                self.problem(f"link leaves the page: {value}")
            if name == "style" and re.search(r"url\s*\(|@import", value):
                self.problem("style attribute loads something")
            if name == "id":
                if value in self.ids:
                    self.problem(f"duplicate id {value}")
                self.ids.add(value)
        if tag not in VOID:
            self.open.append((tag, self.getpos()))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.problem(f"<{tag}/> is not a void element")
            self.open.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            self.problem(f"</{tag}> closes a void element")
            return
        if not self.open:
            self.problem(f"</{tag}> closes nothing")
            return
        expected, where = self.open.pop()
        if expected != tag:
            self.problem(f"</{tag}> found where </{expected}> (opened at line {where[0]}) "
                         "belongs")

    def handle_data(self, data):
        if self.open and self.open[-1][0] == "title":
            self.title += data
        if self.open and self.open[-1][0] == "style":
            self.style += data


def check(path):
    with open(path, encoding="utf-8") as page:
        text = page.read()
    checker = Checker()
    checker.feed(text)
    checker.close()
    problems = checker.problems
    for tag, where in checker.open:
        problems.append(f"<{tag}> opened at line {where[0]} is never closed")
    if (checker.doctype or "").lower() != "doctype html":
        problems.append("the page must start with <!DOCTYPE html>")
    html = checker.seen.get("html", [{}])
    if not html[0].get("lang"):
        problems.append("<html> needs a lang attribute")
    metas = checker.seen.get("meta", [])
    if not any(m.get("charset", "").lower() == "utf-8" for m in metas):
        problems.append('<meta charset="utf-8"> is missing')
    if not any(m.get("name") == "viewport" and "width=device-width" in m.get("content", "")
               for m in metas):
        problems.append("a viewport <meta> with width=device-width is missing")
    if not checker.title.strip():
        problems.append("the page has no title")
    if re.search(r"url\s*\(|@import", checker.style):
        problems.append("the style sheet loads something from outside the page")
    if "max-width" not in checker.style:
        problems.append("the text column has no max-width")
    for tag in ("head", "body", "h1"):
        if len(checker.seen.get(tag, [])) != 1:
            problems.append(f"the page needs exactly one <{tag}>")
    return problems


def main():
    if len(sys.argv) != 2:
        print("usage: check_help_page.py <page>", file=sys.stderr)
        return 2
    problems = check(sys.argv[1])
    for problem in problems:
        print(f"{sys.argv[1]}: {problem}")
    if not problems:
        print(f"{sys.argv[1]}: well-formed, self-contained")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
