#!/usr/bin/env python3
"""Clears the two compile times that chmcmd writes into an HTML Help file (the
ITSF header's and the #SYSTEM file's), so that the same sources always give the
same bytes. Usage: chm_fixed_time.py file.chm"""
import struct
import sys


def encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def directory_entries(data):
    directory, directory_length = struct.unpack_from("<QQ", data, 0x48)
    if data[directory:directory + 4] != b"ITSP":
        raise ValueError("no ITSP directory")
    header_length, = struct.unpack_from("<I", data, directory + 8)
    chunk_size, = struct.unpack_from("<I", data, directory + 0x10)
    chunk = directory + header_length
    while chunk + chunk_size <= directory + directory_length:
        if data[chunk:chunk + 4] == b"PMGL":
            free_space, = struct.unpack_from("<I", data, chunk + 4)
            pos, end = chunk + 0x14, chunk + chunk_size - free_space
            while pos < end:
                name_length, pos = encint(data, pos)
                name = bytes(data[pos:pos + name_length])
                pos += name_length
                section, pos = encint(data, pos)
                offset, pos = encint(data, pos)
                length, pos = encint(data, pos)
                yield name, section, offset, length
        chunk += chunk_size


def main(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if data[:4] != b"ITSF":
        raise ValueError(path + " is no HTML Help file")
    struct.pack_into("<I", data, 0x10, 0)
    content, = struct.unpack_from("<Q", data, 0x58)
    for name, section, offset, length in directory_entries(data):
        if name != b"/#SYSTEM" or section != 0:
            continue
        pos, end = content + offset + 4, content + offset + length  # after the version
        while pos + 4 <= end:
            code, size = struct.unpack_from("<HH", data, pos)
            if code == 10 and size >= 4:
                struct.pack_into("<I", data, pos + 4, 0)
            pos += 4 + size
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
