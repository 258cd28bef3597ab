#!/usr/bin/env python3
"""Generates the advance-width tables of the writer's five standard font
families from the Adobe Font Metrics (AFM) files of the 14 standard PDF fonts.

Debian ships those AFM files inside the libpdfbox2-java package (a jar under
/usr/share/java).  The build never needs the package: the generated files are
committed, and this script is only run again when the tables must be remade.

    tools/gen_standard_font_metrics.py [--jar JAR] [--out DIR]

Writes DIR/standard_font_metrics.h, DIR/standard_font_metrics.cpp and
DIR/STANDARD_FONT_METRICS_NOTICE.txt (the AFM files' copyright and licence).

Helvetica and Times widths are looked up by glyph NAME in WinAnsiEncoding
order: the AFM "C" codes follow StandardEncoding, where 39 is quoteright and
96 quoteleft, while Windows-1252 text has the straight apostrophe
(quotesingle) at 39 and the grave accent at 96.  Symbol and ZapfDingbats are
measured by their built-in codes.  After the lookup the writer's own values
replace the AFM ones at a few codes (control codes, codes without a glyph and
four glyphs whose widths the writer has always used); they are applied below
and listed in the generated header.
"""

import argparse
import os
import re
import sys
import zipfile

AFM_DIR = "org/apache/pdfbox/resources/afm/"

# WinAnsiEncoding, codes 32..255 (PDF Reference, Appendix D).  None marks the
# codes that have no glyph in the encoding.
WIN_ANSI = {
    32: "space", 33: "exclam", 34: "quotedbl", 35: "numbersign", 36: "dollar",
    37: "percent", 38: "ampersand", 39: "quotesingle", 40: "parenleft",
    41: "parenright", 42: "asterisk", 43: "plus", 44: "comma", 45: "hyphen",
    46: "period", 47: "slash", 48: "zero", 49: "one", 50: "two", 51: "three",
    52: "four", 53: "five", 54: "six", 55: "seven", 56: "eight", 57: "nine",
    58: "colon", 59: "semicolon", 60: "less", 61: "equal", 62: "greater",
    63: "question", 64: "at", 91: "bracketleft", 92: "backslash",
    93: "bracketright", 94: "asciicircum", 95: "underscore", 96: "grave",
    123: "braceleft", 124: "bar", 125: "braceright", 126: "asciitilde",
    127: None,
    128: "Euro", 129: None, 130: "quotesinglbase", 131: "florin",
    132: "quotedblbase", 133: "ellipsis", 134: "dagger", 135: "daggerdbl",
    136: "circumflex", 137: "perthousand", 138: "Scaron", 139: "guilsinglleft",
    140: "OE", 141: None, 142: "Zcaron", 143: None, 144: None,
    145: "quoteleft", 146: "quoteright", 147: "quotedblleft",
    148: "quotedblright", 149: "bullet", 150: "endash", 151: "emdash",
    152: "tilde", 153: "trademark", 154: "scaron", 155: "guilsinglright",
    156: "oe", 157: None, 158: "zcaron", 159: "Ydieresis",
    160: "space", 161: "exclamdown", 162: "cent", 163: "sterling",
    164: "currency", 165: "yen", 166: "brokenbar", 167: "section",
    168: "dieresis", 169: "copyright", 170: "ordfeminine",
    171: "guillemotleft", 172: "logicalnot", 173: "hyphen", 174: "registered",
    175: "macron", 176: "degree", 177: "plusminus", 178: "twosuperior",
    179: "threesuperior", 180: "acute", 181: "mu", 182: "paragraph",
    183: "periodcentered", 184: "cedilla", 185: "onesuperior",
    186: "ordmasculine", 187: "guillemotright", 188: "onequarter",
    189: "onehalf", 190: "threequarters", 191: "questiondown",
}
for _c in range(26):
    WIN_ANSI[65 + _c] = chr(65 + _c)
    WIN_ANSI[97 + _c] = chr(97 + _c)
_UPPER = ["Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring",
          "AE", "Ccedilla", "Egrave", "Eacute", "Ecircumflex", "Edieresis",
          "Igrave", "Iacute", "Icircumflex", "Idieresis", "Eth", "Ntilde",
          "Ograve", "Oacute", "Ocircumflex", "Otilde", "Odieresis", "multiply",
          "Oslash", "Ugrave", "Uacute", "Ucircumflex", "Udieresis", "Yacute",
          "Thorn", "germandbls"]
_LOWER = ["agrave", "aacute", "acircumflex", "atilde", "adieresis", "aring",
          "ae", "ccedilla", "egrave", "eacute", "ecircumflex", "edieresis",
          "igrave", "iacute", "icircumflex", "idieresis", "eth", "ntilde",
          "ograve", "oacute", "ocircumflex", "otilde", "odieresis", "divide",
          "oslash", "ugrave", "uacute", "ucircumflex", "udieresis", "yacute",
          "thorn", "ydieresis"]
for _i, _n in enumerate(_UPPER):
    WIN_ANSI[192 + _i] = _n
for _i, _n in enumerate(_LOWER):
    WIN_ANSI[224 + _i] = _n
assert sorted(WIN_ANSI) == list(range(32, 256))

NO_GLYPH = [127, 129, 141, 143, 144, 157]

# (table name, AFM file, control-code width, no-glyph width)
WIN_ANSI_FONTS = [
    ("kHelvetica", "Helvetica", 272, 750),
    ("kHelveticaBold", "Helvetica-Bold", 311, 750),
    ("kHelveticaOblique", "Helvetica-Oblique", 259, 750),
    ("kHelveticaBoldOblique", "Helvetica-BoldOblique", 311, 750),
    ("kTimesRoman", "Times-Roman", 333, 778),
    ("kTimesBold", "Times-Bold", 333, 778),
    ("kTimesItalic", "Times-Italic", 333, 778),
    ("kTimesBoldItalic", "Times-BoldItalic", 333, 778),
]
# Widths the writer uses instead of the AFM's at these codes, per family.
FIXED = {
    "Helvetica": {175: 552, 177: 549, 181: 576, 247: 549},
    "Times": {175: 500, 177: 549, 181: 576, 247: 549},
}


def parse_afm(text):
    """Returns (by_name, by_code, notice lines) of one AFM file."""
    by_name, by_code, notices = {}, {}, []
    in_metrics = False
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("Comment Copyright") or line.startswith("Notice "):
            notices.append(line)
        if line.startswith("StartCharMetrics"):
            in_metrics = True
            continue
        if line.startswith("EndCharMetrics"):
            in_metrics = False
            continue
        if not in_metrics or not line:
            continue
        fields = {}
        for part in line.split(";"):
            part = part.strip()
            if not part:
                continue
            key, _, value = part.partition(" ")
            fields[key] = value.strip()
        code = int(fields["C"])
        width = int(round(float(fields["WX"])))
        name = fields.get("N")
        if name:
            by_name[name] = width
        if code >= 0:
            by_code[code] = width
    return by_name, by_code, notices


def win_ansi_widths(afm, family, control, no_glyph):
    by_name = afm[0]
    widths = [0] * 256
    for code in range(256):
        if code < 32:
            widths[code] = control
        elif code in NO_GLYPH:
            widths[code] = no_glyph
        else:
            widths[code] = by_name[WIN_ANSI[code]]
    for code, width in FIXED[family].items():
        widths[code] = width
    return widths


def symbol_widths(afm):
    by_code = afm[1]
    widths = [0] * 256
    for code in range(256):
        if code <= 29:
            widths[code] = 332
        elif code in (30, 31, 240, 255) or 127 <= code <= 160:
            widths[code] = 600
        else:
            widths[code] = by_code[code]
    return widths


def dingbats_widths(afm):
    by_code = afm[1]
    widths = [0] * 256
    for code in range(256):
        if code <= 31:
            widths[code] = 600
        elif code in (127, 240, 255) or 142 <= code <= 160:
            widths[code] = 0
        else:
            widths[code] = by_code[code]
    return widths


def c_array(name, widths):
    rows = []
    for start in range(0, 256, 16):
        rows.append("    " + ", ".join("%4d" % w for w in widths[start:start + 16]) + ",")
    return ("const std::array<std::int16_t, 256> %s = {{\n%s\n}};\n"
            % (name, "\n".join(rows)))


HEADER = """// Generated by tools/gen_standard_font_metrics.py from the Adobe Font
// Metrics files of the 14 standard PDF fonts; do not edit by hand.
// Source and licence: STANDARD_FONT_METRICS_NOTICE.txt beside this file.
#pragma once

#include <array>
#include <cstdint>

namespace pdf {

// Advance widths in 1/1000 of the font size, indexed by the Windows-1252
// code of a character (Symbol and ZapfDingbats: by their built-in codes).
using GlyphWidths = std::array<std::int16_t, 256>;

enum class StandardFamily { Helvetica, Times, Courier, Symbol, ZapfDingbats };

// Style bits 1 (bold) and 2 (italic) choose one of the four faces of
// Helvetica and Times; Courier is 600 everywhere; Symbol and ZapfDingbats
// have one face and ignore the style.
const GlyphWidths& standard_font_widths(StandardFamily family, int style);

// Differences from the AFM data, kept because documents made by this writer
// have always been laid out with them:
//   Helvetica: codes 0-31 272 (bold 311, oblique 259, bold oblique 311);
//              127 129 141 143 144 157 750; 175 552; 177 549; 181 576; 247 549
//   Times:     codes 0-31 333; 127 129 141 143 144 157 778; 175 500;
//              177 549; 181 576; 247 549
//   Symbol:    codes 0-29 332; 30 31 127-160 240 255 600
//   ZapfDingbats: codes 0-31 600; 127 142-160 240 255 0

}  // namespace pdf
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--jar", default="/usr/share/java/pdfbox2.jar")
    parser.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "pdf", "content"))
    args = parser.parse_args()

    afms, notices = {}, []
    with zipfile.ZipFile(args.jar) as jar:
        for name in ["Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
                     "Helvetica-BoldOblique", "Times-Roman", "Times-Bold",
                     "Times-Italic", "Times-BoldItalic", "Symbol", "ZapfDingbats"]:
            text = jar.read(AFM_DIR + name + ".afm").decode("latin-1")
            afms[name] = parse_afm(text)
            notices.append((name, afms[name][2]))
        readme = jar.read(AFM_DIR + "MustRead.html").decode("latin-1")

    body = ['// Generated by tools/gen_standard_font_metrics.py; do not edit by hand.',
            '// Source and licence: STANDARD_FONT_METRICS_NOTICE.txt beside this file.',
            '#include "pdf/content/standard_font_metrics.h"', '',
            'namespace pdf {', '', 'namespace {', '']
    for table, afm_name, control, no_glyph in WIN_ANSI_FONTS:
        family = "Helvetica" if afm_name.startswith("Helvetica") else "Times"
        body.append("// %s" % afm_name)
        body.append(c_array(table, win_ansi_widths(afms[afm_name], family, control, no_glyph)))
    body.append("// Symbol")
    body.append(c_array("kSymbol", symbol_widths(afms["Symbol"])))
    body.append("// ZapfDingbats")
    body.append(c_array("kZapfDingbats", dingbats_widths(afms["ZapfDingbats"])))
    body.append(c_array("kCourier", [600] * 256))
    body.append("}  // namespace\n")
    body.append("""const GlyphWidths& standard_font_widths(StandardFamily family, int style) {
    static const GlyphWidths* const helvetica[4] = {&kHelvetica, &kHelveticaBold,
                                                    &kHelveticaOblique, &kHelveticaBoldOblique};
    static const GlyphWidths* const times[4] = {&kTimesRoman, &kTimesBold, &kTimesItalic,
                                                &kTimesBoldItalic};
    switch (family) {
        case StandardFamily::Helvetica: return *helvetica[style & 3];
        case StandardFamily::Times: return *times[style & 3];
        case StandardFamily::Courier: return kCourier;
        case StandardFamily::Symbol: return kSymbol;
        case StandardFamily::ZapfDingbats: return kZapfDingbats;
    }
    return kHelvetica;
}

}  // namespace pdf
""")

    notice = ["The width tables in standard_font_metrics.cpp are derived from the",
              "Adobe Font Metrics (AFM) files of the 14 standard PDF fonts, as shipped",
              "by Debian in the package libpdfbox2-java (%s," % os.path.basename(args.jar),
              "folder %s), by tools/gen_standard_font_metrics.py." % AFM_DIR.rstrip("/"),
              "Modification: only the advance widths (WX) are kept, re-indexed by",
              "WinAnsiEncoding glyph names (Helvetica, Times) or by the fonts' built-in",
              "codes (Symbol, ZapfDingbats), with the writer's own widths at the codes",
              "listed in standard_font_metrics.h.", "",
              "Copyright notices of the AFM files used:", ""]
    for name, lines in notices:
        notice.append(name + ":")
        for line in sorted(set(lines)):
            notice.append("  " + line)
    text = re.sub(r"<[^>]+>", " ", readme)
    text = re.sub(r"\s+", " ", text).strip()
    text = text.replace("Core 14 AFM Files - ReadMe", "").replace(" or ", " ", 1)
    text = text.replace(" Col", "").strip()
    notice += ["", "Licence of the AFM files (MustRead.html, verbatim):", ""]
    words, line = text.split(" "), ""
    for word in words:
        if len(line) + len(word) + 1 > 76:
            notice.append(line)
            line = word
        else:
            line = (line + " " + word).strip()
    notice.append(line)

    with open(os.path.join(args.out, "standard_font_metrics.h"), "w", newline="\n") as f:
        f.write(HEADER)
    with open(os.path.join(args.out, "standard_font_metrics.cpp"), "w", newline="\n") as f:
        f.write("\n".join(body))
    with open(os.path.join(args.out, "STANDARD_FONT_METRICS_NOTICE.txt"), "w", newline="\n") as f:
        f.write("\n".join(notice) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
