#!/usr/bin/env python3
"""Writes the replay corpus of the readers' fuzz targets (corpus/<target>/): small valid files
and the cases the fuzzers found (non-finite values, short files, announced samples missing,
CR-only lines, a byte-order mark, ...). Run it from this folder after changing a case."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def f32(v):
    return struct.pack("<f", v)


# A curve file: three 20-byte header records, then 20 bytes per sample.
def curve(samples, so=20.0, lo=50.0, lc=60.0, le=50.0, fmax=None, count=None, width=10.0,
          break_index=0.0, ext_end=0.0, hysteresis=0.0):
    if fmax is None:
        fmax = 1 + max(range(len(samples)), key=lambda i: samples[i][0])
    if count is None:
        count = len(samples)
    head = bytearray(60)
    head[0:16] = f32(so) + f32(fmax) + f32(count) + f32(width)
    head[20:32] = f32(lo) + f32(lc) + f32(le)
    head[40:52] = f32(break_index) + f32(ext_end) + f32(hysteresis)
    body = b"".join(f32(f) + f32(t) + f32(e) + f32(w) + b"\0" * 4 for f, t, e, w in samples)
    return bytes(head) + body


ramp = [(min(i, 25) * 0.4 - max(0, i - 25) * 0.8, i * 0.1, i * 0.02, 0.0) for i in range(30)]
sudden = [(i * 0.5, i * 0.1, i * 0.02, 0.0) for i in range(29)] + [(0.1, 3.0, 0.6, 0.0)]
T = "curve_file_fuzz"
write(T, "valid.Dia", curve(ramp))
write(T, "fmax_at_last_samples.Dia", curve(sudden, fmax=29))
write(T, "fmax_beyond_count.Dia", curve(sudden, fmax=30, count=28))
write(T, "nan_so.Dia", curve(ramp, so=math.nan))
write(T, "infinite_lo.Dia", curve(ramp, lo=math.inf))
write(T, "denormal_le.Dia", curve(ramp, le=1e-40))
write(T, "nan_sample.Dia", curve(ramp[:10] + [(math.nan, 1.0, 0.2, 0.0)] + ramp[11:]))
write(T, "one_sample_missing.Dia", curve(ramp, count=31))
write(T, "negative_count.Dia", curve(ramp, count=-5))
write(T, "huge_count.Dia", curve(ramp, count=3e9))
write(T, "hysteresis_outside.Dia", curve(ramp, hysteresis=50.0049))
write(T, "short_header.Dia", curve(ramp)[:33])
write(T, "empty.Dia", b"")

# A parameter set file: the defaults ("quorvex-cli params defaults", kept in the corpus) with
# single fields spoiled at their offsets.
defaults = open(os.path.join(HERE, "corpus", "parameter_file_fuzz", "defaults.Par"), "rb").read()


def spoil(changes):
    b = bytearray(defaults)
    for offset, packed in changes:
        b[offset:offset + len(packed)] = packed
    return bytes(b)


T = "parameter_file_fuzz"
d64 = lambda v: struct.pack("<d", v)
i32 = lambda v: struct.pack("<i", v)
write(T, "fixed_modulus_nan.Par", spoil([(2070, f32(math.nan))]))
write(T, "round_d_infinite.Par", spoil([(1812, f32(math.inf))]))
write(T, "round_lo_denormal.Par", spoil([(1816, f32(1e-40))]))
write(T, "stainless_class_infinite.Par", spoil([(2329, d64(math.inf))]))
write(T, "universal_divisor_nan.Par", spoil([(2353, d64(math.nan)), (2397, i32(5))]))
write(T, "flat_a_nan_type8.Par", spoil([(1832, f32(math.nan)), (2397, i32(8))]))
write(T, "flat_lc_infinite_type6.Par", spoil([(1840, f32(math.inf)), (2397, i32(6))]))
write(T, "test_type_12.Par", spoil([(2397, i32(12))]))
write(T, "test_type_negative.Par", spoil([(2397, i32(-1))]))
write(T, "truncated.Par", defaults[:100])
write(T, "empty.Par", b"")

T = "record_files_fuzz"
write(T, "header_lines.Hea", "Auftrag\r\n4711\r\nWerkstoff\r\nS235\r\n" * 3)
write(T, "specimen_number.txt", "AB12-007\r\n")
write(T, "garbled.bin", bytes(range(256)) * 3)
write(T, "empty.txt", b"")

T = "csv_import_fuzz"
rows = "".join(f"{0.4 * i:.3f},{0.1 * i:.3f},{0.02 * i:.3f}\n" for i in range(20))
write(T, "valid.csv", "force kN,travel mm,extension mm\n" + rows)
write(T, "crlf.csv", ("force kN,travel mm,extension mm\n" + rows).replace("\n", "\r\n"))
write(T, "cr_only.csv", ("force kN,travel mm,extension mm\n" + rows).replace("\n", "\r"))
write(T, "bom.csv", b"\xef\xbb\xbf" + rows.encode())
write(T, "four_columns.csv", rows.replace("\n", ",0.0\n"))
write(T, "nan.csv", rows + "nan,1,1\n")
write(T, "inf.csv", rows + "1,inf,1\n")
write(T, "out_of_float_range.csv", rows + "1e39,1,1\n")
write(T, "two_columns.csv", rows + "1,2\n")
write(T, "header_only.csv", "force kN,travel mm,extension mm\n")
write(T, "long_line.csv", rows + "1," * 40000 + "1\n")
write(T, "empty.csv", b"")
