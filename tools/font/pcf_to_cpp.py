#!/usr/bin/env python3
"""Converts an X11 PCF bitmap font into the C++ glyph table of the platform's GDI.

The table covers the Windows ANSI code page (1252) from 32 to 255: each byte is
mapped to its Unicode code point and that glyph is taken from the font, which must
be a character-cell font of at most 8 pixels per row (for example misc-fixed 6x13,
ISO 10646 encoded). Bytes the code page leaves undefined, and glyphs the font lacks,
get the font's default glyph, which is also stored once more for the control
characters below 32.

Usage: pcf_to_cpp.py FONT.pcf[.gz] SYMBOL OUTPUT.cpp
  e.g. pcf_to_cpp.py /usr/share/fonts/X11/misc/6x13.pcf.gz kFixed6x13 \
           platform/gdi/fonts/fixed_6x13.cpp
"""

import gzip
import os
import struct
import sys

PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8

PCF_COMPRESSED_METRICS = 0x100
PCF_BYTE_MASK = 1 << 2  # integers most significant byte first
PCF_BIT_MASK = 1 << 3  # bits of a byte most significant first

FIRST_CHAR = 32
LAST_CHAR = 255


class PcfError(Exception):
    pass


class Table:
    """One table of a PCF file: its format word and a reader in its byte order."""

    def __init__(self, data, offset, size):
        # The size of the last table may count padding past the end of the file.
        self.data = data[offset:offset + size]
        if len(self.data) < 4:
            raise PcfError("table outside the file")
        (self.format,) = struct.unpack_from("<i", self.data, 0)
        self.order = ">" if self.format & PCF_BYTE_MASK else "<"
        self.pos = 4

    def read(self, code):
        fmt = self.order + code
        values = struct.unpack_from(fmt, self.data, self.pos)
        self.pos += struct.calcsize(fmt)
        return values if len(values) > 1 else values[0]


def read_tables(data):
    if data[:4] != b"\x01fcp":
        raise PcfError("not a PCF file")
    (count,) = struct.unpack_from("<i", data, 4)
    tables = {}
    for i in range(count):
        kind, _fmt, size, offset = struct.unpack_from("<4i", data, 8 + 16 * i)
        tables[kind] = Table(data, offset, size)
    return tables


def read_metrics(table):
    metrics = []
    if table.format & PCF_COMPRESSED_METRICS:
        count = table.read("h")
        for _ in range(count):
            lsb, rsb, width, ascent, descent = (b - 0x80 for b in table.read("5B"))
            metrics.append((lsb, rsb, width, ascent, descent))
    else:
        count = table.read("i")
        for _ in range(count):
            lsb, rsb, width, ascent, descent, _attributes = table.read("5hH")
            metrics.append((lsb, rsb, width, ascent, descent))
    return metrics


def read_bitmaps(table, metrics):
    """Each glyph as a list of rows, each row a list of 0/1 pixels."""
    count = table.read("i")
    if count != len(metrics):
        raise PcfError("bitmap and metric counts differ")
    offsets = [table.read("i") for _ in range(count)]
    sizes = [table.read("i") for _ in range(4)]
    pad = 1 << (table.format & 3)
    scan_unit = 1 << ((table.format >> 4) & 3)
    bits_msb_first = bool(table.format & PCF_BIT_MASK)
    bytes_msb_first = bool(table.format & PCF_BYTE_MASK)
    data = table.data[table.pos:table.pos + sizes[table.format & 3]]

    glyphs = []
    for (lsb, rsb, _width, ascent, descent), offset in zip(metrics, offsets):
        columns = rsb - lsb
        stride = (columns + 8 * pad - 1) // (8 * pad) * pad
        rows = []
        for r in range(ascent + descent):
            raw = bytearray(data[offset + r * stride:offset + (r + 1) * stride])
            if len(raw) != stride:
                raise PcfError("glyph bitmap outside the table")
            if scan_unit > 1 and bits_msb_first != bytes_msb_first:
                for u in range(0, stride, scan_unit):
                    raw[u:u + scan_unit] = raw[u:u + scan_unit][::-1]
            row = []
            for c in range(columns):
                byte = raw[c // 8]
                bit = 7 - c % 8 if bits_msb_first else c % 8
                row.append((byte >> bit) & 1)
            rows.append(row)
        glyphs.append(rows)
    return glyphs


def read_encodings(table):
    min2, max2, min1, max1, default = table.read("5h")
    cols = max2 - min2 + 1
    indices = [table.read("H") for _ in range(cols * (max1 - min1 + 1))]

    def lookup(code):
        b1, b2 = code >> 8, code & 0xFF
        if not (min1 <= b1 <= max1 and min2 <= b2 <= max2):
            return None
        index = indices[(b1 - min1) * cols + (b2 - min2)]
        return None if index == 0xFFFF else index

    return lookup, default


def read_font_box(tables):
    table = tables.get(PCF_BDF_ACCELERATORS) or tables.get(PCF_ACCELERATORS)
    if table is None:
        raise PcfError("no accelerator table")
    table.read("8B")
    ascent, descent = table.read("ii")
    return ascent, descent


def cell_rows(glyph, metric, font_ascent, height):
    """The glyph placed in its character cell, one integer per row, bit 7 leftmost."""
    lsb, rsb, width, ascent, _descent = metric
    if width > 8 or lsb < 0 or rsb > width:
        raise PcfError("glyph does not fit a cell of at most 8 pixels")
    rows = [0] * height
    top = font_ascent - ascent
    for r, row in enumerate(glyph):
        y = top + r
        if not 0 <= y < height:
            if any(row):
                raise PcfError("glyph ink outside the cell")
            continue
        for c, pixel in enumerate(row):
            if pixel:
                rows[y] |= 0x80 >> (lsb + c)
    return rows


def convert(path, symbol):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rb") as stream:
        data = stream.read()
    tables = read_tables(data)
    metrics = read_metrics(tables[PCF_METRICS])
    glyphs = read_bitmaps(tables[PCF_BITMAPS], metrics)
    lookup, default_code = read_encodings(tables[PCF_BDF_ENCODINGS])
    font_ascent, font_descent = read_font_box(tables)
    height = font_ascent + font_descent

    default_index = lookup(default_code)
    if default_index is None:
        raise PcfError("the font has no default glyph")

    entries = []
    for code in range(FIRST_CHAR, LAST_CHAR + 1):
        try:
            char = bytes([code]).decode("cp1252")
            index = lookup(ord(char))
        except UnicodeDecodeError:
            char, index = None, None
        if index is None:
            index = default_index
        entries.append((code, char, index))
    entries.append((None, None, default_index))

    widths = {metrics[i][2] for _, _, i in entries}
    lines = []
    for code, char, index in entries:
        rows = cell_rows(glyphs[index], metrics[index], font_ascent, height)
        if code is None:
            label = "default glyph"
        elif char is None:
            label = "0x%02X undefined" % code
        elif code >= 0x7F:
            label = "0x%02X U+%04X" % (code, ord(char))
        elif char in " \\":
            # A backslash would continue the comment onto the next line.
            label = "0x%02X %s" % (code, "space" if char == " " else "backslash")
        else:
            label = "0x%02X %s" % (code, char)
        row_text = ", ".join("0x%02X" % r for r in rows)
        lines.append("    {%d, {%s}},  // %s" % (metrics[index][2], row_text, label))

    source = os.path.basename(path)
    out = []
    out.append("// Glyph table of the bitmap font %s, converted from %s by" % (symbol, source))
    out.append("// tools/font/pcf_to_cpp.py; regenerate rather than edit. Licence: LICENSE beside it.")
    out.append('#include "platform/gdi/font_data.h"')
    out.append("")
    out.append("namespace vorn::gdi::fonts {")
    out.append("")
    out.append("// Widths in this font: %s." % ", ".join(str(w) for w in sorted(widths)))
    out.append("extern const FontData %s = {" % symbol)
    out.append('    "%s",' % source.split(".")[0])
    out.append("    %d,  // height" % height)
    out.append("    %d,  // ascent" % font_ascent)
    out.append("    {")
    out.extend(lines)
    out.append("    },")
    out.append("};")
    out.append("")
    out.append("}  // namespace vorn::gdi::fonts")
    return "\n".join(out) + "\n", height


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    path, symbol, output = argv[1:]
    try:
        text, height = convert(path, symbol)
    except (PcfError, struct.error, OSError) as error:
        sys.stderr.write("%s: %s\n" % (path, error))
        return 1
    if height != 13:
        sys.stderr.write("%s: cell height %d, the table holds 13 rows\n" % (path, height))
        return 1
    with open(output, "w") as stream:
        stream.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
