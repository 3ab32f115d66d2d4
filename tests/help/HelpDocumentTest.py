#!/usr/bin/env python3
"""Checks the help document as the build places it beside the program.

usage: HelpDocumentTest.py SOURCE_FOLDER BUILT_FOLDER
       HelpDocumentTest.py --self-test

The built folder must be an exact copy of the source folder (without its
CMakeLists.txt) and hold every page the main window opens. Every page must be
well-formed HTML5 that works offline: no scripts, no external resources, every
internal link, anchor and picture resolving, and the same navigation bar, with
links back to the contents and the index. Every picture in the folder must be
shown by a page and be what its name says. The contents must link every page,
and the index must be in alphabetical order with at least one topic per keyword.
"""

import html.entities
import re
import sys
import tempfile
from html.parser import HTMLParser
from pathlib import Path

# The pages the main window opens by name: Help menu and F1 per page.
REQUIRED_FILES = [
    "contents.html",
    "keywords.html",
    "welcome.html",
    "tutorial.html",
    "text-triggers.html",
    "rtf-triggers.html",
    "image-triggers.html",
    "launch-triggers.html",
    "key-view.html",
    "application-lists.html",
    "new-trigger.html",
    "trigger-list.html",
    "help.css",
]
BUILD_ONLY_FILES = {"CMakeLists.txt"}
VOID_ELEMENTS = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                 "meta", "source", "track", "wbr"}
FORBIDDEN_ELEMENTS = {"script", "iframe", "object", "embed", "frame", "frameset", "applet",
                      "base", "form", "noscript"}
URL_ATTRIBUTES = {"href", "src", "srcset", "action", "formaction", "poster", "data",
                  "cite", "background", "manifest", "ping"}
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
# The first bytes of each kind of picture the help may hold.
PICTURE_SIGNATURES = {".png": b"\x89PNG\r\n\x1a\n", ".jpg": b"\xff\xd8\xff",
                      ".jpeg": b"\xff\xd8\xff", ".gif": b"GIF8", ".svg": b"<svg"}


def index_sort_key(keyword):
    """Index order: letters and digits only, case ignored (%date% files under D)."""
    return re.sub(r"[^0-9a-z]", "", keyword.casefold())


class PageParser(HTMLParser):
    """Collects what the checks need from one page, and its structural faults."""

    def __init__(self, name):
        super().__init__(convert_charrefs=False)
        self.name = name
        self.errors = []
        self.open_elements = []
        self.ids = set()
        self.links = []  # (url, line)
        self.header_links = []  # the navigation bar's targets, in order
        self.in_header = False
        self.h1_count = 0
        self.html_lang = False
        self.charset = False
        self.stylesheet = False
        self.title = ""
        self.in_title = False
        self.keywords = []  # text of every <dt> in a dl.keywords
        self.keyword_link_counts = []  # links in every <dd> of a dl.keywords
        self.in_keyword_list = False
        self.keyword_text = None
        self.keyword_links = None

    def error(self, text):
        self.errors.append(f"{self.name}:{self.getpos()[0]}: {text}")

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag in FORBIDDEN_ELEMENTS:
            self.error(f"<{tag}> is not allowed: no scripts or embedded content in help")
        for attribute, value in attrs:
            if attribute.startswith("on"):
                self.error(f"event handler attribute {attribute} is not allowed")
            if attribute == "style" and value and "url(" in value:
                self.error("style attribute loads a resource")
            if attribute in URL_ATTRIBUTES and value is not None:
                self.links.append((value, self.getpos()[0]))
        if tag == "header":
            self.in_header = True
        if tag == "a" and self.in_header:
            self.header_links.append(attributes.get("href"))
        if "id" in attributes:
            if attributes["id"] in self.ids:
                self.error(f"duplicate id {attributes['id']!r}")
            self.ids.add(attributes["id"])
        if tag == "html" and attributes.get("lang"):
            self.html_lang = True
        if tag == "meta" and (attributes.get("charset") or "").lower() == "utf-8":
            self.charset = True
        if tag == "link" and attributes.get("rel") == "stylesheet":
            self.stylesheet = attributes.get("href") == "help.css"
        if tag == "img" and not attributes.get("alt"):
            self.error("<img> without alt text")
        if tag == "h1":
            self.h1_count += 1
        if tag == "title":
            self.in_title = True
        if tag == "dl" and "keywords" in (attributes.get("class") or "").split():
            self.in_keyword_list = True
        if self.in_keyword_list and tag == "dt":
            self.keyword_text = ""
        if self.in_keyword_list and tag == "dd":
            self.keyword_links = 0
        if tag == "a" and self.keyword_links is not None:
            self.keyword_links += 1
        if tag not in VOID_ELEMENTS:
            self.open_elements.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID_ELEMENTS:
            self.error(f"<{tag}/> is not a void element")
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag in VOID_ELEMENTS:
            self.error(f"end tag </{tag}> of a void element")
            return
        if not self.open_elements:
            self.error(f"</{tag}> without an open element")
            return
        open_tag, line = self.open_elements.pop()
        if open_tag != tag:
            self.error(f"</{tag}> closes <{open_tag}> opened on line {line}")
        if tag == "title":
            self.in_title = False
        if tag == "header":
            self.in_header = False
        if tag == "dl":
            self.in_keyword_list = False
        if tag == "dt" and self.keyword_text is not None:
            self.keywords.append(" ".join(self.keyword_text.split()))
            self.keyword_text = None
        if tag == "dd" and self.keyword_links is not None:
            self.keyword_link_counts.append(self.keyword_links)
            self.keyword_links = None

    def handle_data(self, data):
        if self.in_title:
            self.title += data
        if self.keyword_text is not None:
            self.keyword_text += data

    def handle_entityref(self, name):
        if name + ";" not in html.entities.html5:
            self.error(f"unknown character reference &{name};")
        self.handle_data(html.unescape(f"&{name};"))

    def handle_charref(self, name):
        self.handle_data(html.unescape(f"&#{name};"))

    def close(self):
        super().close()
        for tag, line in self.open_elements:
            self.errors.append(f"{self.name}:{line}: <{tag}> is never closed")


def check_copy(source, built, errors):
    source_files = {p.name for p in source.iterdir() if p.is_file()} - BUILD_ONLY_FILES
    built_files = {p.name for p in built.iterdir() if p.is_file()}
    for name in sorted(source_files - built_files):
        errors.append(f"{name}: in the source folder but not copied to {built}")
    for name in sorted(built_files - source_files):
        errors.append(f"{name}: in {built} but not in the source folder (stale copy)")
    for name in sorted(source_files & built_files):
        if (source / name).read_bytes() != (built / name).read_bytes():
            errors.append(f"{name}: the copy in {built} is out of date")


def check_stylesheet(path, errors):
    text = path.read_text(encoding="utf-8")
    if "url(" in text or "@import" in text:
        errors.append(f"{path.name}: the stylesheet loads another resource")


def parse_pages(folder, errors):
    pages = {}
    for path in sorted(folder.glob("*.html")):
        try:
            text = path.read_text(encoding="utf-8")
        except UnicodeDecodeError as failure:
            errors.append(f"{path.name}: not UTF-8 ({failure})")
            continue
        parser = PageParser(path.name)
        if not text.lstrip().lower().startswith("<!doctype html>"):
            parser.errors.append(f"{path.name}:1: does not start with <!DOCTYPE html>")
        parser.feed(text)
        parser.close()
        if not parser.html_lang:
            parser.errors.append(f"{path.name}: <html> has no lang")
        if not parser.charset:
            parser.errors.append(f"{path.name}: no <meta charset=\"utf-8\">")
        if not parser.stylesheet:
            parser.errors.append(f"{path.name}: does not use help.css")
        if not parser.title.strip():
            parser.errors.append(f"{path.name}: no title")
        if parser.h1_count != 1:
            parser.errors.append(f"{path.name}: {parser.h1_count} <h1> headings instead of one")
        errors.extend(parser.errors)
        pages[path.name] = parser
    return pages


def check_links(folder, pages, errors):
    """Returns the set of files each page links to."""
    targets = {}
    for name, page in pages.items():
        targets[name] = set()
        for url, line in page.links:
            where = f"{name}:{line}: link {url!r}"
            if SCHEME.match(url) or url.startswith(("/", "\\")):
                errors.append(f"{where} leaves the help folder (external or absolute)")
                continue
            path, _, fragment = url.partition("#")
            if "/" in path or "\\" in path:
                errors.append(f"{where} points outside the help folder")
                continue
            target = path or name
            if not (folder / target).is_file():
                errors.append(f"{where}: no file {target}")
                continue
            targets[name].add(target)
            if fragment:
                if target not in pages:
                    errors.append(f"{where}: anchor in a file that is not a page")
                elif fragment not in pages[target].ids:
                    errors.append(f"{where}: no id {fragment!r} in {target}")
    return targets


def check_pictures(folder, targets, errors):
    """Every picture is shown by some page, and holds the kind its name says."""
    shown = set().union(*targets.values()) if targets else set()
    for path in sorted(folder.iterdir()):
        signature = PICTURE_SIGNATURES.get(path.suffix.lower())
        if signature is None:
            continue
        if path.name not in shown:
            errors.append(f"{path.name}: no page shows this picture (stale file)")
        if not path.read_bytes().lstrip()[:len(signature)] == signature:
            errors.append(f"{path.name}: not a {path.suffix.lower()[1:].upper()} picture")


def check_navigation(pages, targets, errors):
    bar = pages["contents.html"].header_links if "contents.html" in pages else []
    for name, page in pages.items():
        if page.header_links != bar:
            errors.append(f"{name}: the navigation bar differs from the one of contents.html")
        for home in ("contents.html", "keywords.html"):
            if home not in targets[name]:
                errors.append(f"{name}: no link to {home}")
    if "contents.html" in targets:
        for name in sorted(set(pages) - targets["contents.html"]):
            errors.append(f"contents.html: does not list {name}")


def check_index(pages, errors):
    index = pages.get("keywords.html")
    if index is None:
        return
    if not index.keywords:
        errors.append("keywords.html: no keywords (a <dl class=\"keywords\"> of <dt>/<dd>)")
    if len(index.keywords) != len(index.keyword_link_counts):
        errors.append("keywords.html: every keyword <dt> needs one <dd> with its topics")
    for keyword, links in zip(index.keywords, index.keyword_link_counts):
        if links == 0:
            errors.append(f"keywords.html: keyword {keyword!r} links to no topic")
    for before, after in zip(index.keywords, index.keywords[1:]):
        if index_sort_key(before) > index_sort_key(after):
            errors.append(f"keywords.html: {after!r} after {before!r} is not alphabetical")


def check_help_folder(source, built):
    errors = []
    for name in REQUIRED_FILES:
        if not (built / name).is_file():
            errors.append(f"{name}: missing in {built}")
    check_copy(source, built, errors)
    for path in sorted(built.glob("*.css")):
        check_stylesheet(path, errors)
    pages = parse_pages(built, errors)
    targets = check_links(built, pages, errors)
    check_pictures(built, targets, errors)
    check_navigation(pages, targets, errors)
    check_index(pages, errors)
    return errors, len(pages)


def run_self_test():
    """Each broken page must be reported: the checks cannot pass vacuously."""
    nav = '<a href="contents.html">C</a><a href="keywords.html">I</a>'
    good = ('<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>T</title>'
            '<link rel="stylesheet" href="help.css"></head><body><h1 id="top">T</h1>{}'
            + nav + '</body></html>')
    index = good.format('<dl class="keywords"><dt>Alpha</dt><dd><a href="a.html">A</a></dd>'
                        '<dt>Beta</dt><dd><a href="a.html#top">A</a></dd></dl>'
                        '<a href="a.html">a</a>')
    cases = {
        "": None,
        '<a href="https://example.com/">x</a>': "leaves the help folder",
        '<img src="//cdn.example.com/x.png" alt="x">': "leaves the help folder",
        '<a href="nothing.html">x</a>': "no file nothing.html",
        '<img src="nothing.png" alt="x">': "no file nothing.png",
        '<img src="shown.png" alt="x">': None,
        '<p>no picture shown</p>': "no page shows this picture",
        '<a href="contents.html#nowhere">x</a>': "no id 'nowhere'",
        '<p><b>x</p></b>': "closes <b>",
        '<div>x': "is never closed",
        '<script>x()</script>': "<script> is not allowed",
        '<p onclick="x()">x</p>': "event handler",
        '<p id="top">x</p>': "duplicate id",
        '&nbps;': "unknown character reference",
        '<br></br>': "void element",
        '<header><a href="contents.html">C</a></header>': "navigation bar differs",
    }
    failures = 0
    for body, expected in cases.items():
        with tempfile.TemporaryDirectory() as work:
            folder = Path(work)
            (folder / "help.css").write_text("body { margin: 0; }\n", encoding="utf-8")
            (folder / "contents.html").write_text(good.format('<a href="a.html">a</a>'),
                                                  encoding="utf-8")
            (folder / "keywords.html").write_text(index, encoding="utf-8")
            (folder / "a.html").write_text(good.format(body), encoding="utf-8")
            if "picture" in (expected or "") or "shown.png" in body:
                (folder / "shown.png").write_bytes(PICTURE_SIGNATURES[".png"])
            errors = []
            pages = parse_pages(folder, errors)
            targets = check_links(folder, pages, errors)
            check_pictures(folder, targets, errors)
            check_navigation(pages, targets, errors)
            check_index(pages, errors)
            found = any(expected in error for error in errors) if expected else not errors
            if not found:
                failures += 1
                print(f"self-test: body {body!r}: expected {expected or 'no error'}, got {errors}")
    with tempfile.TemporaryDirectory() as work:
        folder = Path(work)
        (folder / "fake.png").write_bytes(b"GIF89a")
        errors = []
        check_pictures(folder, {"a.html": {"fake.png"}}, errors)
        if not any("not a PNG picture" in error for error in errors):
            failures += 1
            print(f"self-test: a GIF named .png not reported: {errors}")
    unsorted = PageParser("keywords.html")
    unsorted.keywords, unsorted.keyword_link_counts = ["Beta", "%alpha%"], [1, 1]
    errors = []
    check_index({"keywords.html": unsorted}, errors)
    if not any("alphabetical" in error for error in errors):
        failures += 1
        print(f"self-test: unsorted index not reported: {errors}")
    print(f"self-test: {len(cases) + 2 - failures} of {len(cases) + 2} cases as expected")
    return 1 if failures else 0


def main(arguments):
    if arguments == ["--self-test"]:
        return run_self_test()
    if len(arguments) != 2:
        print(__doc__)
        return 2
    source, built = Path(arguments[0]), Path(arguments[1])
    if not built.is_dir():
        print(f"{built}: no help folder (build the project first)")
        return 1
    errors, page_count = check_help_folder(source, built)
    for error in errors:
        print(error)
    print(f"{page_count} pages checked, {len(errors)} faults")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
