"""Reads the documents the program writes with readers of their own and prints what a test
compares: openpyxl for workbooks, odfpy for text documents and presentations, after a pass
that checks the OpenDocument package itself (stored "mimetype" first, every entry listed in
the manifest, every XML entry well-formed)."""
import sys
import zipfile
import xml.dom.minidom

KINDS = {
    "odt": "application/vnd.oasis.opendocument.text",
    "odp": "application/vnd.oasis.opendocument.presentation",
}


def check_package(path, kind):
    with zipfile.ZipFile(path) as package:
        assert package.testzip() is None, "an entry is corrupt"
        first = package.infolist()[0]
        assert first.filename == "mimetype", first.filename
        assert first.compress_type == zipfile.ZIP_STORED and not first.extra
        assert package.read("mimetype").decode() == KINDS[kind]
        manifest = xml.dom.minidom.parseString(package.read("META-INF/manifest.xml"))
        listed = {e.getAttribute("manifest:full-path") for e in manifest.getElementsByTagName("manifest:file-entry")}
        assert "/" in listed
        for name in package.namelist():
            if name.endswith("/") or name in ("mimetype", "META-INF/manifest.xml"):
                continue
            assert name in listed, name + " is not in the manifest"
            if name.endswith(".xml") or name.endswith(".svg"):
                xml.dom.minidom.parseString(package.read(name))
        for name in listed - {"/"}:
            assert name in package.namelist(), name + " is listed but missing"
        return package.namelist()


def show(value):
    if isinstance(value, float):
        value = round(value, 4)
    return "%s:%s" % (type(value).__name__, "" if value is None else value)


def workbook(path):
    import openpyxl
    sheet = openpyxl.load_workbook(path).worksheets[0]
    print(sheet.title, sheet.min_row, sheet.min_column, sheet.max_row, sheet.max_column)
    for row in sheet.iter_rows(min_row=sheet.min_row, max_row=min(sheet.max_row, sheet.min_row + 2), values_only=True):
        print("|".join(show(v) for v in row))


def text_document(path):
    from odf import opendocument, text, teletype
    check_package(path, "odt")
    document = opendocument.load(path)
    paragraphs = document.getElementsByType(text.P)
    print(len(paragraphs))
    for paragraph in paragraphs[:3]:
        print(teletype.extractText(paragraph).replace("\t", "|"))


def presentation(path):
    from odf import opendocument, draw
    names = check_package(path, "odp")
    document = opendocument.load(path)
    pages = document.getElementsByType(draw.Page)
    frames = pages[0].getElementsByType(draw.Frame)
    images = frames[0].getElementsByType(draw.Image)
    href = images[0].getAttribute("href")
    picture = xml.dom.minidom.parseString(zipfile.ZipFile(path).read(href)).documentElement
    print(len(pages), len(frames), href, href in names, picture.tagName, picture.getAttribute("viewBox"))
    print(" ".join(frames[0].getAttribute(a) for a in ("x", "y", "width", "height")))


{"xlsx": workbook, "odt": text_document, "odp": presentation}[sys.argv[1]](sys.argv[2])
