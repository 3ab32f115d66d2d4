#!/usr/bin/env python3
"""Checks the help document as the build places it beside the program.

usage: HelpDocumentTest.py SOURCE_FOLDER BUILT_FOLDER

The built folder must be an exact copy of the source folder (without its
CMakeLists.txt) and hold every page the program opens by name (the "*.html"
names in src/editing). Every page must work offline: no scripts or embedded
content, every link, anchor and picture resolving inside the folder. The
contents must list every page.
"""

import re
import sys
from html.parser import HTMLParser
from pathlib import Path

FORBIDDEN_ELEMENTS = {"script", "iframe", "object", "embed", "frame", "frameset", "applet",
                      "base", "form"}
URL_ATTRIBUTES = {"href", "src", "srcset", "action", "poster", "data", "background"}
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


class PageParser(HTMLParser):
    def __init__(self, name, errors):
        super().__init__()
        self.name, self.errors = name, errors
        self.ids, self.links = set(), []

    def handle_starttag(self, tag, attrs):
        where = f"{self.name}:{self.getpos()[0]}"
        if tag in FORBIDDEN_ELEMENTS:
            self.errors.append(f"{where}: <{tag}> is not allowed in help")
        for attribute, value in attrs:
            if attribute.startswith("on") or (attribute == "style" and "url(" in (value or "")):
                self.errors.append(f"{where}: {attribute} runs or loads something")
            if attribute == "id":
                self.ids.add(value)
            if attribute in URL_ATTRIBUTES and value is not None:
                self.links.append((value, where))


def check_pages(folder, errors):
    pages = {}
    for path in sorted(folder.glob("*.html")):
        parser = PageParser(path.name, errors)
        try:
            parser.feed(path.read_text(encoding="utf-8"))
        except UnicodeDecodeError as failure:
            errors.append(f"{path.name}: not UTF-8 ({failure})")
        pages[path.name] = parser
    listed = {"contents.html"}
    for name, page in pages.items():
        for url, where in page.links:
            target, _, fragment = url.partition("#")
            target = target or name
            if SCHEME.match(url) or url.startswith(("/", "\\")) or "/" in target:
                errors.append(f"{where}: link {url!r} leaves the help folder")
            elif not (folder / target).is_file():
                errors.append(f"{where}: link {url!r}: no file {target}")
            elif fragment and (target not in pages or fragment not in pages[target].ids):
                errors.append(f"{where}: link {url!r}: no id {fragment!r} in {target}")
            if name == "contents.html":
                listed.add(target)
    for name in sorted(set(pages) - listed):
        errors.append(f"contents.html: does not list {name}")
    return len(pages)


def check_help_folder(source, built):
    errors = []
    program = source.parent / "src" / "editing"
    opened = set()
    for code in sorted(program.glob("*.[ch]*")):
        opened.update(re.findall(r'"([\w-]+\.html)"', code.read_text(encoding="utf-8")))
    if not opened:
        errors.append(f"{program}: no help page names found")
    for name in sorted(opened):
        if not (built / name).is_file():
            errors.append(f"{name}: the program opens it, but it is missing in {built}")
    source_files = {p.name for p in source.iterdir() if p.is_file()} - {"CMakeLists.txt"}
    built_files = {p.name for p in built.iterdir() if p.is_file()}
    for name in sorted(source_files ^ built_files):
        errors.append(f"{name}: in only one of {source} and {built} (missing or stale copy)")
    for name in sorted(source_files & built_files):
        if (source / name).read_bytes() != (built / name).read_bytes():
            errors.append(f"{name}: the copy in {built} is out of date")
    return errors, check_pages(built, errors)


def main(arguments):
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
