#!/usr/bin/env python3
"""Writes src/catalogue/match_tables.inc, the tables behind the near matches of typed text:

- folds: characters whose accents, letter variants, full-width or compatibility forms are
  dropped for the comparison (decomposition from UnicodeData.txt, marks removed, then the
  simple lower-case mapping), plus the letters that have no decomposition (l with stroke, o
  with stroke, sharp s, ae, oe, thorn, ...);
- separators: the characters that end a word (punctuation, symbols, spaces, format characters);
- Han readings: every Mandarin reading of the ideographs U+4E00..U+9FFF (the main block, where
  every character in common use is) in Unihan's kMandarin and kTGHZ2013 fields, without tones
  (u with diaeresis as "v");
- kana: each kana's Hepburn romanisation, from its Unicode name.

Sources: the Unicode Character Database and the Unihan database, as Debian's package
unicode-data ships them (/usr/share/unicode). Standard library only.

    scripts/make_match_tables.py [--ucd DIR] [--out FILE]
"""

import argparse
import bz2
import os
import sys

HAN_FIRST, HAN_LAST = 0x4E00, 0x9FFF
READING_BITS = 9  # a syllable's number plus one, or 0
KANA_FIRST, KANA_LAST = 0x3041, 0x30FA
MAX_FOLD_BYTES = 4
SYLLABLE_WIDTH = 6  # "zhuang", the longest toneless syllable
FOLD_WIDTH = 4  # bytes of the longest fold kept

# Source ranges whose characters may fold: Latin, Greek, Cyrillic, their combining marks,
# general punctuation and letter-like forms, and the full- and half-width forms. Kana and
# Hangul are left whole, as their readings are taken from them.
FOLD_RANGES = [
    (0x0080, 0x024F), (0x0300, 0x036F), (0x0370, 0x03FF), (0x0400, 0x052F), (0x1AB0, 0x1AFF),
    (0x1DC0, 0x1DFF), (0x1E00, 0x1FFF), (0x2000, 0x206F), (0x20D0, 0x20FF), (0x2100, 0x218F),
    (0x2C60, 0x2C7F), (0x3000, 0x3000), (0xA720, 0xA7FF), (0xFB00, 0xFB06), (0xFE20, 0xFE2F),
    (0xFF01, 0xFF5E), (0xFF61, 0xFF9D),
]
# Compatibility decompositions that keep a letter's identity; superscripts, circled and squared
# forms and the like do not.
FOLD_TAGS = {"<wide>", "<narrow>", "<compat>", "<font>"}
# Letters that Unicode gives no decomposition to but that readers take for a plain letter.
LETTER_VARIANTS = {
    "ł": "l", "ø": "o", "đ": "d", "ð": "d", "ħ": "h", "ı": "i", "ŧ": "t", "ß": "ss", "ẞ": "ss",
    "æ": "ae", "œ": "oe", "þ": "th", "ŋ": "n", "ƒ": "f", "ĸ": "k", "ǥ": "g", "ƀ": "b", "ƶ": "z",
    "ɨ": "i", "ɉ": "j", "ɍ": "r", "ɏ": "y", "ȼ": "c", "ɇ": "e", "ŀ": "l",
}
SEPARATOR_CATEGORIES = ("P", "S", "Z", "Cc", "Cf")
HEPBURN = {"si": "shi", "zi": "ji", "ti": "chi", "di": "ji", "tu": "tsu", "du": "zu", "hu": "fu",
           "wi": "i", "we": "e", "wo": "o"}


def read_ucd(path):
    chars = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split(";")
            cp = int(fields[0], 16)
            if cp > 0xFFFF:
                break
            chars[cp] = {"name": fields[1], "category": fields[2], "decomposition": fields[5],
                         "lower": int(fields[13], 16) if fields[13] else None}
    return chars


def decompose(chars, cp, tags):
    info = chars.get(cp)
    if not info or not info["decomposition"]:
        return [cp]
    parts = info["decomposition"].split()
    if parts[0].startswith("<"):
        if parts[0] not in tags:
            return [cp]
        parts = parts[1:]
    out = []
    for part in parts:
        out.extend(decompose(chars, int(part, 16), tags))
    return out


def lower(chars, cp):
    info = chars.get(cp)
    return info["lower"] if info and info["lower"] is not None else cp


def fold(chars, cp):
    if chr(lower(chars, cp)) in LETTER_VARIANTS:
        return LETTER_VARIANTS[chr(lower(chars, cp))]
    text = ""
    for c in decompose(chars, cp, FOLD_TAGS):
        if chars.get(c, {}).get("category") == "Mn":
            continue
        letter = chr(lower(chars, c))
        text += LETTER_VARIANTS.get(letter, letter)
    return text


def folds(chars):
    table = []
    for first, last in FOLD_RANGES:
        for cp in range(first, last + 1):
            if cp not in chars:
                continue
            variant = LETTER_VARIANTS.get(chr(lower(chars, cp)))
            decomposed = decompose(chars, cp, FOLD_TAGS) != [cp]
            if not decomposed and variant is None and chars[cp]["category"] != "Mn":
                continue
            folded = fold(chars, cp)
            if folded != chr(cp) and len(folded.encode()) <= MAX_FOLD_BYTES:
                table.append((cp, folded))
    return table


def separators(chars):
    ranges = []
    for cp in range(0x80, 0x10000):
        info = chars.get(cp)
        if not info or not info["category"].startswith(SEPARATOR_CATEGORIES):
            continue
        if ranges and ranges[-1][1] == cp - 1:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp])
    return ranges


def toneless(chars, reading):
    text = ""
    for c in reading:
        for d in decompose(chars, ord(c), set()):
            if d == 0x0308 and text.endswith("u"):
                text = text[:-1] + "v"
            elif chars.get(d, {}).get("category") != "Mn":
                text += chr(d)
    return text


def han_readings(chars, unihan):
    readings = {}
    opener = bz2.open if unihan.endswith(".bz2") else open
    with opener(unihan, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t")
            cp = int(code[2:], 16)
            if not HAN_FIRST <= cp <= HAN_LAST or field not in ("kMandarin", "kTGHZ2013"):
                continue
            values = value.split() if field == "kMandarin" else [v.split(":")[1] for v in value.split()]
            entry = readings.setdefault(cp, {})
            # kMandarin is read first, so its reading (the usual one) comes first.
            for v in values:
                entry.setdefault(toneless(chars, v), None)
    return {cp: list(entry) for cp, entry in readings.items()}


def kana(chars):
    entries = []
    for cp in range(KANA_FIRST, KANA_LAST + 1):
        name = chars.get(cp, {}).get("name", "")
        marker = " LETTER "
        if marker not in name:
            entries.append("    ")
            continue
        roman = name.split(marker, 1)[1].lower()
        small = roman.startswith("small ")
        roman = roman.removeprefix("small ")
        roman = HEPBURN.get(roman, roman)
        assert len(roman) <= 3, name
        entries.append(("s" if small else ".") + roman.ljust(3))
    return "".join(entries)


def c_string(data, width=120):
    """Bytes as the lines of a C++ string literal: printable ones as they are, others in octal."""
    pieces = [chr(b) if 0x20 <= b < 0x7F and chr(b) not in '"\\?' else f"\\{b:03o}" for b in data]
    lines, line = [], ""
    for piece in pieces:
        if len(line) + len(piece) > width:
            lines.append(line)
            line = ""
        line += piece
    lines.append(line)
    return "\n".join(f'    "{line}"' for line in lines)


def packed(values, bits):
    """The values as a stream of `bits` bits each, the lowest bit first."""
    stream, filled, out = 0, 0, bytearray()
    for v in values:
        assert 0 <= v < 1 << bits, v
        stream |= v << filled
        filled += bits
        while filled >= 8:
            out.append(stream & 0xFF)
            stream >>= 8
            filled -= 8
    if filled:
        out.append(stream)
    return bytes(out)


def array_lines(items, per_line):
    return "\n".join("    " + ", ".join(items[i:i + per_line]) + "," for i in range(0, len(items), per_line))


def write(out, ucd_dir, fold_table, separator_ranges, readings, kana_table):
    syllables = sorted({s for entry in readings.values() for s in entry})
    ids = {s: i for i, s in enumerate(syllables)}
    assert all(len(s) <= SYLLABLE_WIDTH for s in syllables)
    usual = [1 + ids[readings[cp][0]] if readings.get(cp) else 0 for cp in range(HAN_FIRST, HAN_LAST + 1)]
    more = bytearray()
    for cp in range(HAN_FIRST, HAN_LAST + 1):
        for s in readings.get(cp, [])[1:]:
            more += (cp - HAN_FIRST).to_bytes(2, "little") + ids[s].to_bytes(2, "little")
    fold_texts = sorted({folded for _, folded in fold_table})
    assert len(fold_texts) < 256 and all(len(t.encode()) <= FOLD_WIDTH for t in fold_texts)
    text_numbers = {t: i for i, t in enumerate(fold_texts)}
    fold_bytes = b"".join(t.encode().ljust(FOLD_WIDTH, b"\0") for t in fold_texts)
    usual_bytes = packed(usual, READING_BITS) + b"\0"  # a reading is read two bytes at a time
    syllable_bytes = "".join(s.ljust(SYLLABLE_WIDTH) for s in syllables).encode()

    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(f"""// Generated by scripts/make_match_tables.py from the Unicode Character Database and the Unihan
// database, Unicode {unicode_version(ucd_dir)} (Debian's unicode-data: UnicodeData.txt, Unihan_Readings.txt,
// fields kMandarin and kTGHZ2013). Do not edit; run the script. Unicode's data files are used
// under the Unicode License (UNICODE-LICENSE.txt beside this file); the tables here are
// derived from them, reduced to what matching typed text needs.

// Characters that fold, in code point order, and the number of what each folds to in kFoldTexts
// ({FOLD_WIDTH} bytes each, UTF-8, lower case, padded with NULs).
constexpr char16_t kFoldFrom[] = {{
{array_lines([f"0x{cp:04X}" for cp, _ in fold_table], 12)}
}};
constexpr unsigned char kFoldTo[] = {{
{array_lines([str(text_numbers[t]) for _, t in fold_table], 24)}
}};
constexpr std::size_t kFoldWidth = {FOLD_WIDTH};
constexpr std::string_view kFoldTexts{{
{c_string(fold_bytes)},
    {len(fold_bytes)}}};

// Runs of characters outside ASCII that end a word: punctuation, symbols, spaces, format characters.
constexpr SeparatorRun kSeparators[] = {{
{array_lines([f"{{0x{a:04X}, 0x{b:04X}}}" for a, b in separator_ranges], 6)}
}};

// Toneless Mandarin syllables, {SYLLABLE_WIDTH} characters each, padded with blanks.
constexpr std::string_view kSyllables =
{c_string(syllable_bytes)};
constexpr std::size_t kSyllableCount = {len(syllables)};

// For each ideograph from U+{HAN_FIRST:04X} to U+{HAN_LAST:04X}, its usual reading: {READING_BITS} bits, the lowest
// first, holding the syllable's number plus one, or 0 for none.
constexpr char32_t kHanFirst = 0x{HAN_FIRST:04X};
constexpr char32_t kHanLast = 0x{HAN_LAST:04X};
constexpr unsigned kReadingBits = {READING_BITS};
constexpr std::string_view kUsualReadings{{
{c_string(usual_bytes)},
    {len(usual_bytes)}}};
// The other readings of the ideographs that have several, in code point order: four bytes each,
// the ideograph's distance from U+{HAN_FIRST:04X} and the syllable's number, both little-endian.
constexpr std::string_view kMoreReadings{{
{c_string(bytes(more))},
    {len(more)}}};

// For each kana from U+{KANA_FIRST:04X}, four characters: "s" for a small kana or "." for a full
// one (blank: not a letter), then its Hepburn romanisation padded with blanks.
constexpr char32_t kKanaFirst = 0x{KANA_FIRST:04X};
constexpr char32_t kKanaLast = 0x{KANA_LAST:04X};
constexpr std::string_view kKana =
{c_string(kana_table.encode())};
""")


def unicode_version(ucd_dir):
    with open(os.path.join(ucd_dir, "ReadMe.txt"), encoding="utf-8") as f:
        for line in f:
            if "Version" in line and "of the Unicode" in line:
                return line.split("Version")[1].split()[0]
    return "unknown"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--ucd", default="/usr/share/unicode", help="folder of UnicodeData.txt and Unihan")
    parser.add_argument("--out", default=os.path.join(root, "src", "catalogue", "match_tables.inc"))
    args = parser.parse_args()
    unihan = os.path.join(args.ucd, "Unihan_Readings.txt")
    if not os.path.exists(unihan):
        unihan += ".bz2"
    for path in (os.path.join(args.ucd, "UnicodeData.txt"), unihan):
        if not os.path.exists(path):
            sys.exit(f"{path} is missing: install Debian's unicode-data or name its folder with --ucd")
    chars = read_ucd(os.path.join(args.ucd, "UnicodeData.txt"))
    write(args.out, args.ucd, folds(chars), separators(chars), han_readings(chars, unihan), kana(chars))


if __name__ == "__main__":
    main()
