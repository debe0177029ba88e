#!/usr/bin/env python3
"""The shipped programs import only DLLs that every Windows has."""
import os
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "shlwapi.dll",
               "comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll", "wininet.dll",
               "msvcrt.dll", "advapi32.dll"}


def imported_dlls(objdump, binary):
    env = dict(os.environ, LC_ALL="C")
    out = subprocess.run([objdump, "-p", binary], capture_output=True, text=True,
                         env=env, check=True).stdout
    return {line.split("DLL Name:")[1].strip().lower()
            for line in out.splitlines() if "DLL Name:" in line}


def main():
    objdump, binaries = sys.argv[1], sys.argv[2:]
    failed = False
    for binary in binaries:
        dlls = imported_dlls(objdump, binary)
        extra = sorted(dlls - SYSTEM_DLLS)
        if not dlls or extra:
            print(f"FAILED {os.path.basename(binary)}: imports {sorted(dlls)}; not system DLLs: {extra}")
            failed = True
        else:
            print(f"passed {os.path.basename(binary)}: {', '.join(sorted(dlls))}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
