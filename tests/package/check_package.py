#!/usr/bin/env python3
"""Checks the release archive: exactly the three programs and the two help
files at the top, each program a 32-bit (PE32, i386) Windows GUI executable
that imports nothing but system DLLs, each help file an HTML Help file.
Usage: check_package.py archive.zip"""
import struct
import sys
import zipfile

EXPECTED = {"orbboot.exe", "VELDARA Config.exe", "VELDARA Config.chm", "VdraPadConfig.exe", "VdraPadConfig.chm"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
               "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "version.dll",
               "winmm.dll"}
MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2


def imported_dlls(image):
    """(machine, optional header magic, subsystem, [DLL names]) of a PE image."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", image, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    subsystem = struct.unpack_from("<H", image, optional + 68)[0]
    import_rva = struct.unpack_from("<I", image, optional + 96 + 8)[0]
    table = optional + optional_size
    section_list = [struct.unpack_from("<IIII", image, table + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        for virtual_size, virtual_address, raw_size, raw_pointer in section_list:
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                return raw_pointer + rva - virtual_address
        raise ValueError("RVA 0x%x outside every section" % rva)

    names = []
    if import_rva:
        descriptor = offset(import_rva)
        while True:
            fields = struct.unpack_from("<IIIII", image, descriptor)
            if not any(fields):
                break
            start = offset(fields[3])
            names.append(image[start:image.index(b"\0", start)].decode("ascii"))
            descriptor += 20
    return machine, magic, subsystem, names


def main(path):
    problems = []
    with zipfile.ZipFile(path) as archive:
        listed = set(archive.namelist())
        if listed != EXPECTED:
            problems.append("files %s, expected %s" % (sorted(listed), sorted(EXPECTED)))
        for name in sorted(listed & EXPECTED):
            data = archive.read(name)
            if name.endswith(".chm"):
                if data[:4] != b"ITSF":
                    problems.append(name + ": no HTML Help file")
                continue
            machine, magic, subsystem, dlls = imported_dlls(data)
            if machine != MACHINE_I386 or magic != PE32_MAGIC:
                problems.append("%s: machine 0x%x, optional header 0x%x (PE32 i386 expected)" % (name, machine, magic))
            if subsystem != SUBSYSTEM_WINDOWS_GUI:
                problems.append("%s: subsystem %d (Windows GUI expected)" % (name, subsystem))
            foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
            if foreign or not dlls:
                problems.append("%s: imports %s" % (name, dlls))
            print("%s: PE32 i386 GUI, imports %s" % (name, ", ".join(dlls)))
    for problem in problems:
        print("FAIL " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
