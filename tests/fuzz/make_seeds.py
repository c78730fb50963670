#!/usr/bin/env python3
"""Writes the hand-made grid files the fuzzer starts from: small valid files
and files broken in the ways a stranger's file tends to be broken.

usage: make_seeds.py OUTDIR
"""
import math
import os
import struct
import sys

MAGIC = b"!KELVO-FLUXERIA-T.VOSSEN-v1.6a"
FLUID = 1


def stored(logical):
    """The disk form of a logical stream: every 10 becomes 13 10."""
    return logical.replace(b"\n", b"\r\n")


def header(nx, ny, re=b" 200", du=0, dv=0, aux1=0, aux2=0, dx=0, dy=0):
    """Magic, Reynolds text and the eight header bytes, logical form."""
    return MAGIC + re + bytes([du, dv, nx, ny, aux1, aux2, dx, dy])


def records(nx, ny, cell=(FLUID, 0, 0)):
    """nx * ny identical cell records."""
    return bytes(cell) * (nx * ny)


def grid(nx, ny, **kw):
    """A whole logical file of fluid cells."""
    return header(nx, ny, **kw) + records(nx, ny)


def walled(nx, ny):
    """A small grid with a no-slip ring, a moving lid and an inflow and
    outflow pair, velocities of every sign."""
    cells = []
    for i in range(nx):
        for j in range(ny):
            if j == ny - 1:
                cells += [0x02, 1, 0]
            elif i == 0 and 0 < j < ny - 1:
                cells += [0x10 | 0x40, 1, 0]
            elif i == nx - 1 and 0 < j < ny - 1:
                cells += [0x20 | 0x80, 0, 0]
            elif i == 0 or j == 0 or i == nx - 1:
                cells += [0x08, 0, 0]
            else:
                cells += [FLUID, 255, 128]
    return header(nx, ny, re=b"2000", du=100, dv=10) + bytes(cells)


MAGIC_V2 = b"KELVO-GRID\r\n\x1a\n"


def header_v2(nx, ny, version=2, re=100.0, du=0.0, dv=0.0, dt=0.0, convection=0, pressure=0,
              aux1=0, aux2=0):
    """The version-2 header: little-endian, no line-break rule."""
    return (MAGIC_V2 + struct.pack("<IIIii", version, nx, ny, aux1, aux2)
            + struct.pack("<dddd", re, du, dv, dt) + bytes([convection, pressure]))


def records_v2(count, cell=(FLUID, 0.5, -0.25)):
    """count identical version-2 cell records."""
    return struct.pack("<Bdd", *cell) * count


def seeds_v2():
    """Version-2 seeds: valid files and the ways they can be broken."""
    s = {}
    ok = header_v2(3, 3) + records_v2(9)
    s["v2_valid_3x3"] = ok
    s["v2_valid_settings"] = (header_v2(4, 3, re=816.5, du=0.75, dv=-1.0, dt=0.002, convection=2,
                                        pressure=2, aux1=-5, aux2=300)
                              + records_v2(12, (0x50, 1.0, 0.0)))
    s["v2_valid_20x20"] = header_v2(20, 20) + records_v2(400)
    s["v2_300x3_truncated"] = header_v2(300, 3) + records_v2(16)
    s["v2_magic_only"] = MAGIC_V2
    s["v2_header_short"] = ok[:67]
    s["v2_records_short"] = ok[:-1]
    s["v2_version_1"] = header_v2(3, 3, version=1) + records_v2(9)
    s["v2_version_3"] = header_v2(3, 3, version=3) + records_v2(9)
    s["v2_nx_2"] = header_v2(2, 3) + records_v2(6)
    s["v2_nx_4097"] = header_v2(4097, 3) + records_v2(9)
    s["v2_cells_beyond_cap"] = header_v2(2048, 1024) + records_v2(9)
    s["v2_nan_velocity"] = header_v2(3, 3) + records_v2(9, (FLUID, math.nan, 0.0))
    s["v2_inf_reynolds"] = header_v2(3, 3, re=math.inf) + records_v2(9)
    s["v2_negative_dt"] = header_v2(3, 3, dt=-0.5) + records_v2(9)
    s["v2_unknown_codes"] = header_v2(3, 3, convection=4, pressure=3) + records_v2(9)
    s.update(seeds_v4())
    return s


def section(tag, payload):
    """One tagged section: four letters, the length, the payload."""
    return tag + struct.pack("<I", len(payload)) + payload


def emitters(*rows):
    """An EMIT payload of (x1, y1, x2, y2, every, colour) rows."""
    return struct.pack("<I", len(rows)) + b"".join(struct.pack("<ddddii", *r) for r in rows)


def seeds_v4():
    """Version-4 seeds: emitters after the records, sound and broken."""
    s = {}
    start = header_v2(3, 3, version=4) + b"\x00" + records_v2(9)
    rake = emitters((0.5, 0.5, 0.5, 0.5, 1, 0), (0.1, 0.1, 2.9, 0.9, 0, 3), (-5.0, 40.0, 1e300, -1e300, 2, 9))
    s["v4_emitters"] = start + section(b"EMIT", rake)
    s["v4_unknown_then_emitters"] = start + section(b"XYZ1", b"\x01\x02") + section(b"EMIT", rake)
    s["v4_section_past_end"] = start + b"EMIT" + struct.pack("<I", 1000) + rake
    s["v4_emitters_count_wrong"] = start + section(b"EMIT", struct.pack("<I", 5) + rake[4:])
    s["v4_emitter_nan"] = start + section(b"EMIT", emitters((math.nan, 0.5, 0.5, 0.5, 1, 0)))
    s["v4_emitter_negative_every"] = start + section(b"EMIT", emitters((0.5, 0.5, 0.5, 0.5, -1, 0)))
    s["v4_section_header_short"] = start + b"EMI"
    return s


def seeds():
    """Name -> disk bytes of every seed."""
    s = {}
    ok = grid(3, 3)
    s["valid_3x3"] = stored(ok)
    s["valid_walled_6x5"] = stored(walled(6, 5))
    s["valid_255x3"] = stored(grid(255, 3))
    s["valid_3x255"] = stored(grid(3, 255))
    s["valid_10x10_size_as_crlf"] = stored(grid(10, 10))
    s["valid_10x10_size_as_bare_lf"] = grid(10, 10)
    s["valid_trailing_junk"] = stored(ok) + b"\r\r\n\x00junk\xff"

    s["empty"] = b""
    s["magic_only"] = MAGIC
    s["magic_short_by_one"] = MAGIC[:-1]
    s["magic_wrong_letter"] = MAGIC[:5] + b"X" + MAGIC[6:] + stored(ok)[30:]
    s["magic_lower_case"] = MAGIC.lower() + stored(ok)[30:]
    s["magic_broken_by_line_feed"] = MAGIC[:12] + b"\n" + MAGIC[12:] + stored(ok)[30:]
    s["magic_broken_by_crlf"] = MAGIC[:12] + b"\r\n" + MAGIC[12:] + stored(ok)[30:]
    s["magic_then_crlf"] = MAGIC + b"\r\n" + stored(ok)[30:]

    s["header_only"] = stored(header(3, 3))
    s["reynolds_cut"] = MAGIC + b" 2"
    s["records_short_by_one"] = stored(ok)[:-1]
    s["records_end_in_lone_cr"] = stored(header(3, 3, du=10) + records(3, 3, (FLUID, 10, 10)))[:-1]
    s["big_header_no_records"] = stored(header(255, 255))
    s["big_header_one_record"] = stored(header(255, 255) + records(1, 1))

    for n in (0, 1, 2):
        s["nx_%d" % n] = stored(grid(n, 3))
        s["ny_%d" % n] = stored(grid(3, n))
    s["nx_ny_0"] = stored(header(0, 0))

    for name, text in (
        ("letters", b"abcd"),
        ("minus_999", b"-999"),
        ("plus_junk", b"+12x"),
        ("tab_blank_digit", b" \t 9"),
        ("four_nines", b"9999"),
        ("blanks", b"    "),
        ("minus_zero", b"-0  "),
        ("hex", b"0x10"),
        ("sign_only", b"-   "),
        ("nul_bytes", b"\x00\x00\x001"),
        ("high_bytes", b"\xff\xfe\x80\x7f"),
    ):
        s["reynolds_" + name] = stored(header(3, 3, re=text) + records(3, 3))
    # A line break inside the Reynolds text: the CR LF pair is one character.
    s["reynolds_crlf"] = MAGIC + b"\r\n12 " + stored(ok)[34:]
    s["reynolds_lone_cr"] = MAGIC + b"\r 12" + stored(ok)[34:]

    s["cells_all_cr"] = stored(header(3, 3) + bytes([13]) * 27)
    s["cells_all_lf"] = stored(header(3, 3) + bytes([10]) * 27)
    s["cells_cr_cr_lf"] = stored(header(3, 3)) + b"\r\r\n" * 13 + b"\r"
    s["cells_every_byte"] = stored(header(16, 16) + bytes(range(256)) * 3)
    s["cells_unknown_flags"] = stored(header(4, 4) + bytes([0, 0, 0, 0xFF, 0x7F, 0x80]) * 8)
    s["header_bytes_high"] = stored(header(3, 3, du=255, dv=254, aux1=255, aux2=13, dx=10, dy=255)
                                    + records(3, 3))
    s.update(seeds_v2())
    return s


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in sorted(seeds().items()):
        with open(os.path.join(out, name + ".grid"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
