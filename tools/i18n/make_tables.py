#!/usr/bin/env python3
"""Writes the language tables of resources/i18n/ from the readable sources in src/.

Each src/<code>.txt (UTF-8) holds one language in five sections:

    [menu]      the menu texts, FontFamily first
    [tips]      the northern wizard texts, all keys in record order
    [tips_s]    the southern texts: only the keys that differ from [tips]
    [dict]      the label dictionary: English design-time text=translation
    [guidance]  the sound guidance's menu texts and spoken instructions (Guide_<CODE>)
    [mount]     the screws in turns and the motorised adjusters (Mount_<CODE>)

A value written as {BLANK} is stored as a single blank (editors drop trailing
blanks). Lines starting with '#' and empty lines are ignored.

The tables are written with CR LF line ends in the encodings the program ships
them in (UTF-16 little-endian with mark, UTF-8 with mark, or plain ASCII), and
every table is checked against the English one: same keys, same order.

    python3 tools/i18n/make_tables.py            # writes resources/i18n/
    python3 tools/i18n/make_tables.py --check    # fails when a table is out of date
"""

import argparse
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
SRC = HERE / "src"
OUT = HERE.parent.parent / "resources" / "i18n"

CODES = ["EN", "CN", "JP", "RU", "FR", "DE", "ES", "PT", "IT", "KR"]
SOUTH_KEYS = {
    "ZenithWandSettingTip",
    "ConfirmPolarisTip",
    "GetFirstPosTip",
    "GetExpectPolarisTip",
    "MovePolarisTip",
    "GetCurrentPolarisTip",
}
SECTIONS = ("menu", "tips", "tips_s", "dict", "guidance", "mount")

UTF16 = "utf-16le-bom"
UTF8 = "utf-8-bom"
ASCII = "ascii"


def encoding_of(table):
    if table.startswith("Lang_"):
        return UTF16
    if table.startswith("Guide_") or table.startswith("Mount_"):
        return UTF8
    if table == "Menu_EN" or table == "TipsMsgEN_N":
        return ASCII
    if table in ("Menu_IT", "TipsMsgIT_N", "TipsMsgIT_S", "TipsMsgEN_S"):
        return UTF8
    return UTF16


def encode(text, encoding):
    if encoding == UTF16:
        return b"\xff\xfe" + text.encode("utf-16-le")
    if encoding == UTF8:
        return b"\xef\xbb\xbf" + text.encode("utf-8")
    return text.encode("ascii")  # raises on any character outside ASCII


def read_source(code):
    path = SRC / f"{code.lower()}.txt"
    sections = {name: [] for name in SECTIONS}
    current = None
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
            if current not in sections:
                sys.exit(f"{path}:{number}: unknown section {line}")
            continue
        if current is None or "=" not in line:
            sys.exit(f"{path}:{number}: expected key=value inside a section")
        key, value = line.split("=", 1)
        if value == "{BLANK}":
            value = " "
        if any(k == key for k, _ in sections[current]):
            sys.exit(f"{path}:{number}: key {key!r} repeated")
        sections[current].append((key, value))
    return sections


def keys(entries):
    return [k for k, _ in entries]


def build_tables(partial=False):
    sources = {code: read_source(code) for code in CODES
               if not partial or (SRC / f"{code.lower()}.txt").exists()}
    english = sources["EN"]
    if keys(english["menu"])[0] != "FontFamily":
        sys.exit("en: FontFamily must be the first menu line")
    for key, value in english["dict"]:
        if key != value:
            sys.exit(f"en: dictionary value of {key!r} differs from its key")

    tables = {}
    for code, src in sources.items():
        for section in ("menu", "tips", "dict", "guidance", "mount"):
            if keys(src[section]) != keys(english[section]):
                sys.exit(f"{code}: [{section}] keys differ from the English ones")
        south_keys = set(keys(src["tips_s"])) - {"FontFamily"}
        if south_keys != SOUTH_KEYS:
            sys.exit(f"{code}: [tips_s] must hold exactly {sorted(SOUTH_KEYS)}")
        south = dict(src["tips_s"])
        tables[f"Menu_{code}"] = src["menu"]
        tables[f"TipsMsg{code}_N"] = src["tips"]
        tables[f"TipsMsg{code}_S"] = [(k, south.get(k, v)) for k, v in src["tips"]]
        tables[f"Lang_{code.lower()}_north"] = src["dict"]
        tables[f"Guide_{code}"] = src["guidance"]
        tables[f"Mount_{code}"] = src["mount"]
    return tables


def table_bytes(name, entries):
    text = "".join(f"{key}={value}\r\n" for key, value in entries)
    return encode(text, encoding_of(name))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed tables instead of writing them")
    parser.add_argument("--partial", action="store_true",
                        help="skip languages whose source is not written yet")
    args = parser.parse_args()

    stale = []
    for name, entries in sorted(build_tables(args.partial).items()):
        data = table_bytes(name, entries)
        path = OUT / f"{name}.txt"
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(path.name)
        else:
            path.write_bytes(data)
    if stale:
        sys.exit("out of date: " + ", ".join(stale))


if __name__ == "__main__":
    main()
