#!/usr/bin/env python3
"""The translators' files against the program's texts.

  translation_files_test.py coverage <lupdate> <work folder>
      Every user text lupdate finds in src/ is in each translations/lc3_*.ts, translated,
      and nothing else is: a text added or changed without "cmake --build --target
      translations" and a translation fails with its context and source.
  translation_files_test.py placeholders
      Every finished translation keeps its source's %1..%9 and printf placeholders, and
      holds at most one accelerator "&" ("&&" is a plain ampersand), as many as its source.
  translation_files_test.py literals
      No user-visible text in src/app/ is handed to a widget or a message box without tr():
      a string literal passed straight to setText, setWindowTitle, addAction and the like.
      The program's name, and a line that says "not translated" in a comment (file tokens,
      names the model goes by), pass.

Exits 77 (skipped) where lupdate is not installed.
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from collections import Counter

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TS_FOLDER = os.path.join(ROOT, "translations")


def committed_files():
    return sorted(os.path.join(TS_FOLDER, name) for name in os.listdir(TS_FOLDER)
                  if name.startswith("lc3_") and name.endswith(".ts"))


def text_of(element):
    """The text of a source or translation, with the characters lupdate writes as
    <byte value="xd"/> (carriage returns and the like) put back."""
    if element is None:
        return ""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            parts.append(chr(int(child.get("value").lstrip("x"), 16)))
        parts.append(child.tail or "")
    return "".join(parts)


def messages(path):
    """(context, source, translation or None when unfinished) of every message."""
    result = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name") or ""
        for message in context.iter("message"):
            translation = message.find("translation")
            finished = translation is not None and translation.get("type") not in ("unfinished", "obsolete", "vanished")
            result.append((name, text_of(message.find("source")), text_of(translation) if finished else None))
    return result


def coverage(lupdate, work):
    if not os.access(lupdate, os.X_OK):
        print(f"lupdate not found ({lupdate}): install qt6-l10n-tools to run this test")
        return 77
    os.makedirs(work, exist_ok=True)
    fresh = os.path.join(work, "lc3_fresh.ts")
    if os.path.exists(fresh):
        os.remove(fresh)
    subprocess.run([os.path.join(ROOT, "scripts", "update_translations.sh"), lupdate, fresh], check=True)
    found = {(c, s) for c, s, _ in messages(fresh)}
    status = 0
    for path in committed_files():
        held = {(c, s) for c, s, _ in messages(path)}
        name = os.path.relpath(path, ROOT)
        for context, source in sorted(found - held):
            print(f"{name} lacks [{context}] {source!r}: run the 'translations' target and translate it")
            status = 1
        for context, source in sorted(held - found):
            print(f"{name} holds [{context}] {source!r}, which the program no longer has")
            status = 1
        for context, source, translation in messages(path):
            if translation is None and (context, source) in found:
                print(f"{name} has no translation of [{context}] {source!r}")
                status = 1
    return status


PLACEHOLDER = re.compile(r"%(?:[1-9]|[sd]|L[1-9])")


def accelerators(text):
    return len(re.findall(r"&(?!&)", text.replace("&&", "")))


def placeholders():
    status = 0
    for path in committed_files():
        name = os.path.relpath(path, ROOT)
        for context, source, translation in messages(path):
            if translation is None:
                continue
            if Counter(PLACEHOLDER.findall(source)) != Counter(PLACEHOLDER.findall(translation)):
                print(f"{name} [{context}] {source!r}: the translation {translation!r} changes the placeholders")
                status = 1
            if accelerators(translation) > 1 or accelerators(translation) != accelerators(source):
                print(f"{name} [{context}] {source!r}: the translation {translation!r} has "
                      f"{accelerators(translation)} accelerators, the source {accelerators(source)}")
                status = 1
    return status


# A literal with a letter in it, passed straight to a call that shows it.
SHOWN = re.compile(
    r"\b(setText|setWindowTitle|setToolTip|setStatusTip|setWhatsThis|setPlaceholderText|setTitle|setLabelText|"
    r"addAction|addMenu|addTab|addToolBar|addItem|addRow|showMessage|setHorizontalHeaderLabels|"
    r"QLabel|QPushButton|QCheckBox|QRadioButton|QGroupBox|QAction|QMenu)\s*\(\s*"
    r"(?:QStringLiteral|QLatin1String|QString)?\s*\(?\s*\"(?!Lumacet\")([^\"]*[A-Za-z][^\"]*)\"")
BOX = re.compile(r"QMessageBox::(?:warning|information|critical|question|about)\s*\([^;]*?,\s*"
                 r"(?:QStringLiteral|QString)\s*\(\s*\"(?!Lumacet\")([^\"]*[A-Za-z][^\"]*)\"")


def literals():
    status = 0
    folder = os.path.join(ROOT, "src", "app")
    for file in sorted(os.listdir(folder)):
        if not file.endswith((".cpp", ".h")):
            continue
        path = os.path.join(folder, file)
        with open(path, encoding="utf-8") as source:
            for number, line in enumerate(source, 1):
                if "not translated" in line:
                    continue
                for pattern in (SHOWN, BOX):
                    for match in pattern.finditer(line):
                        print(f"src/app/{file}:{number}: {match.group(match.lastindex)!r} is shown without tr()")
                        status = 1
    return status


def main(arguments):
    if arguments[:1] == ["coverage"] and len(arguments) == 3:
        return coverage(arguments[1], arguments[2])
    if arguments == ["placeholders"]:
        return placeholders()
    if arguments == ["literals"]:
        return literals()
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
