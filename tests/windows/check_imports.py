#!/usr/bin/env python3
"""Fails when a Windows program imports a function that Windows XP SP3 (or
64-bit XP) does not have, or when its PE header asks for a newer Windows.

Wine has every function whatever Windows it claims to be, so running the
programs there proves nothing about XP; their import tables do.

    check_imports.py ALLOWED-LIST PROGRAM.exe...

ALLOWED-LIST holds one "DLL function" a line ('#' starts a comment); the
programs' architecture (x86 or x64) is read from each file, and the
matching MinGW-w64 objdump reads its import table.
"""
import re
import subprocess
import sys

# The subsystem version each architecture's first Windows took: XP (5.1)
# for x86, XP x64 and Server 2003 (5.2) for x64.
OLDEST = {"pei-i386": ("i686", (5, 1)), "pei-x86-64": ("x86_64", (5, 2))}


def allowed_imports(path):
    allowed = set()
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 2:
                sys.exit(f"{path}: not 'DLL function': {line.rstrip()}")
            allowed.add((fields[0].lower(), fields[1]))
    return allowed


def header_and_imports(program):
    # The file format comes first; any objdump reads it.
    head = subprocess.run(["x86_64-w64-mingw32-objdump", "-f", program], capture_output=True,
                          text=True, check=True).stdout
    found = re.search(r"file format (\S+)", head)
    if not found or found.group(1) not in OLDEST:
        sys.exit(f"{program}: not a 32- or 64-bit Windows program")
    file_format = found.group(1)
    prefix, oldest = OLDEST[file_format]
    dump = subprocess.run([f"{prefix}-w64-mingw32-objdump", "-p", program], capture_output=True, text=True,
                          check=True).stdout
    version = tuple(int(re.search(rf"{which}SubsystemVersion\s+(\d+)", dump).group(1))
                    for which in ("Major", "Minor"))
    imports = []
    dll = None
    for line in dump.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            continue
        if dll is None:
            continue
        entry = re.match(r"\s*[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)
        if entry:
            imports.append((dll, entry.group(2)))
        elif re.match(r"\s*[0-9a-f]+\s+<none>\s+(\S+)", line) or "Ordinal" in line:
            imports.append((dll, line.strip()))
        elif not line.strip() or line.lstrip().startswith("vma:"):
            continue
        else:
            dll = None
    return file_format, version, oldest, imports


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    allowed = allowed_imports(sys.argv[1])
    failed = False
    for program in sys.argv[2:]:
        file_format, version, oldest, imports = header_and_imports(program)
        if not imports:
            print(f"{program}: no imports found", file=sys.stderr)
            failed = True
        if version != oldest:
            print(f"{program}: subsystem version {version[0]}.{version[1]:02d}, not {oldest[0]}.{oldest[1]:02d}",
                  file=sys.stderr)
            failed = True
        newer = sorted(f"{dll} {name}" for dll, name in set(imports) if (dll, name) not in allowed)
        for entry in newer:
            print(f"{program}: imports {entry}, which Windows XP does not have", file=sys.stderr)
        failed = failed or bool(newer)
        dlls = sorted({dll for dll, _ in imports})
        print(f"{program}: {file_format}, subsystem {version[0]}.{version[1]:02d}, "
              f"{len(set(imports))} functions from {', '.join(dlls)}: "
              + ("all in Windows XP" if not newer else f"{len(newer)} newer"))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
