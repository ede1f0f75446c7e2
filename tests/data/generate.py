#!/usr/bin/env python3
"""Writes the firmware test files of this folder. Run from anywhere; it writes beside itself.

The scrambling of encoded files is written here independently of the C++ code, so that the
loader's tests also check the C++ encoder and decoder against a second implementation.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
KEY_TEXT = "rmquo482=t"


def record(address, rtype, data):
    body = [len(data), (address >> 8) & 0xFF, address & 0xFF, rtype] + list(data)
    checksum = (-sum(body)) & 0xFF
    return ":" + "".join("%02X" % b for b in body + [checksum])


def data_record(address, data):
    return record(address, 0, data)


def upper_address(upper):
    return record(0, 4, [(upper >> 8) & 0xFF, upper & 0xFF])


END = ":00000001FF"


def scramble(line: bytes, pair_number: int) -> bytes:
    key = (KEY_TEXT + str(pair_number)).encode("latin-1")
    out = bytearray()
    for i, c in enumerate(line, start=1):
        position = i % len(key)
        k = 0 if position == 0 else key[position - 1]
        out.append((c + k) & 0xFF)
    return bytes(out)


def write_plain(name, lines, eol="\r\n"):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(line + eol for line in lines).encode("cp1250"))


def encode_pairs(lines, fillers=None):
    """Each line scrambled with its pair's key, followed by its filler line."""
    return [(scramble(line.encode("cp1250"), n), fillers(n) if fillers else b".")
            for n, line in enumerate(lines, start=1)]


def write_pairs(name, pairs, eol=b"\r\n"):
    with open(os.path.join(HERE, name), "wb") as f:
        for first, second in pairs:
            f.write(first + eol + second + eol)


def write_encoded(name, lines, fillers=None):
    write_pairs(name, encode_pairs(lines, fillers))


GOOD = [
    data_record(0x0000, range(16)),
    data_record(0x0200, [0xA5] * 16),
    data_record(0x1FF0, list(range(0x10, 0x20))),
    upper_address(0x00F0),
    data_record(0x0000, [0x01, 0x02, 0x03, 0x04]),
    data_record(0x00F0, b"DEMO 1.00       "),
    upper_address(0x0000),
    END,
    ";CAN programs",
    ";11 Demo car 2015-2018",
    ";12 Łódź taxi",
]

write_plain("good_plain.hex", GOOD)
write_plain("good_plain_lf.hex", GOOD, eol="\n")
write_encoded("good.hexfw", GOOD)

write_plain("bad_empty_line.hex", GOOD[:2] + [""] + GOOD[2:])
write_plain("bad_lower_end.hex", GOOD[:7] + [":00000001ff"])
write_plain("bad_end_blank.hex", GOOD[:7] + [":00000001FF "])
write_plain("bad_checksum.hex", [GOOD[0], GOOD[1][:-2] + "00", END])
write_plain("bad_no_end.hex", GOOD[:7])
write_plain("bad_comment_before_end.hex", GOOD[:2] + [";11 Demo car"] + GOOD[2:8])
write_plain("type04_ok.hex", [":020000040000FA", data_record(0x0010, [0x55]), END])
write_plain("type04_bad.hex", [":020000040000FB", data_record(0x0010, [0x55]), END])
write_plain("outside_windows.hex", [
    data_record(0x0100, [0x11, 0x22]),
    upper_address(0x0020), data_record(0x0000, [0x99] * 8),
    upper_address(0x0030), data_record(0x0000, [0x98] * 8),
    upper_address(0x0000), END])

# 120 records: pairs 9/10 and 99/100 change the key's length.
MANY = [data_record(0x0200 + 16 * i, [(i + j) & 0xFF for j in range(16)]) for i in range(120)]
write_plain("many.hex", MANY + [END])
write_encoded("many.hexfw", MANY + [END])
# Encoded pairs 11 and 12 swapped: both decode with the key text and '1'.
PAIRS = encode_pairs(MANY + [END])
write_pairs("many_swapped_in_ten.hexfw", PAIRS[:10] + [PAIRS[11], PAIRS[10]] + PAIRS[12:])
# Encoded pairs 10 and 20 swapped: each is then decoded with the other ten's key.
write_pairs("many_swapped_across_tens.hexfw",
            PAIRS[:9] + [PAIRS[19]] + PAIRS[10:19] + [PAIRS[9]] + PAIRS[20:])

# The program list window's size examples.
write_encoded("help_3_lines.hexfw", [GOOD[0], END, ";11 Demo car", ";12 Other car", ";13 x"])
write_encoded("help_100_lines.hexfw", [END] + [";%03d program" % i for i in range(100)])
write_encoded("help_300_chars.hexfw", [END, ";" + "W" * 300])
# A ';' line in the second position of a pair is never shown.
write_encoded("help_second_position.hexfw", [END, ";shown"],
              fillers=lambda n: b";hidden")
write_encoded("help_before_end.hexfw", [";before the end", GOOD[0], END, ";after the end"])

# Firmware with one memory only, for the write's phases.
write_encoded("flash_only.hexfw", [data_record(0x0200, [0x12] * 16), END])
write_encoded("eeprom_only.hexfw", [upper_address(0x00F0), data_record(0x0000, [0x21] * 16),
                                    upper_address(0x0000), END])
