#!/usr/bin/env python3
"""The help folder read as a browser reads it: the contents page leads to every page, and every
link, anchor and picture of every page leads somewhere that exists.

    help_links_test.py <help folder>
"""
import html.parser
import pathlib
import sys
import urllib.parse


VOID = {"meta", "link", "img", "br", "hr", "input"}
BLOCKS = {"p", "ul", "ol", "table", "pre", "h1", "h2", "h3", "nav", "div"}


class Page(html.parser.HTMLParser):
    """Its ids, links and title, and the tags it leaves open or closes out of turn."""

    def __init__(self):
        super().__init__()
        self.open = []
        self.nesting = []
        self.ids = []
        self.links = []  # (attribute, value)
        self.title = ""
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            if tag in BLOCKS and "p" in self.open:
                self.nesting.append(f"<{tag}> inside <p> (line {self.getpos()[0]})")
            self.open.append(tag)
        attrs = dict(attrs)
        for name in ("id", "name") if tag == "a" else ("id",):
            if attrs.get(name):
                self.ids.append(attrs[name])
        for name in ("href", "src"):
            if attrs.get(name) is not None:
                self.links.append((tag, attrs[name]))
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            self.nesting.append(f"</{tag}> closes {self.open[-1] if self.open else 'nothing'} (line {self.getpos()[0]})")
        else:
            self.open.pop()
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    folder = pathlib.Path(sys.argv[1])
    pages = {}
    for file in sorted(folder.glob("*.html")):
        page = Page()
        page.feed(file.read_text(encoding="utf-8"))
        page.close()
        pages[file.name] = page
    faults = []
    if "index.html" not in pages:
        faults.append("there is no contents page index.html")
    for name, page in pages.items():
        faults += [f"{name}: {fault}" for fault in page.nesting]
        if page.open:
            faults.append(f"{name}: left open: {' '.join(page.open)}")
        if not page.title.strip():
            faults.append(f"{name}: no title")
        seen = set()
        for anchor in page.ids:
            if anchor in seen:
                faults.append(f"{name}: the id {anchor!r} is used twice")
            seen.add(anchor)
        for tag, link in page.links:
            address = urllib.parse.urlsplit(link)
            if address.scheme or address.netloc:
                faults.append(f"{name}: {link} leaves the help folder (the pages must work offline)")
                continue
            target = urllib.parse.unquote(address.path) or name
            if not (folder / target).is_file():
                faults.append(f"{name}: <{tag}> {link}: no file {target}")
                continue
            if address.fragment:
                if target not in pages:
                    faults.append(f"{name}: {link}: {target} is not a page with sections")
                elif address.fragment not in pages[target].ids:
                    faults.append(f"{name}: {link}: {target} has no section {address.fragment!r}")
    if "index.html" in pages:
        listed = {urllib.parse.unquote(urllib.parse.urlsplit(link).path) for _, link in pages["index.html"].links}
        for name in pages:
            if name != "index.html" and name not in listed:
                faults.append(f"index.html does not list {name}")
    for fault in faults:
        print("FAILED:", fault, file=sys.stderr)
    print(f"{len(pages)} pages checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
