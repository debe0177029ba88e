"""Shared helpers of the end-to-end tests.

Each case gets a fresh scratch folder holding a copy of Tavrin.exe, runs the
Windows-side driver (tavrin_driver.exe) under Wine and judges the report the
driver writes: one "key=value" line each, byte texts in hexadecimal. The
Wine environment (WINEPREFIX, DISPLAY, a running wineserver) is expected to
be set up by whoever runs the tests (scripts/wine-env.sh).
"""
import argparse
import os
import resource
import shutil
import signal
import subprocess
import sys
import time

HEX_KEYS = ("caption", "text", "bytes", "exe", "title", "url")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def cp932(text):
    return text.encode("cp932")


def windows_path(path):
    """The Windows name of a Unix path under Wine's default Z: drive."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Report(dict):
    """The driver's report; byte texts come back as bytes."""

    @classmethod
    def read(cls, path):
        report = cls()
        if not os.path.exists(path):
            return report
        with open(path, "rb") as f:
            for line in f.read().decode("ascii").splitlines():
                key, _, value = line.partition("=")
                if key.rsplit(".", 1)[-1] in HEX_KEYS:
                    report[key] = bytes.fromhex(value)
                else:
                    report[key] = int(value)
        return report

    def messages(self):
        return [(self[f"message.{i}.caption"], self[f"message.{i}.text"])
                for i in range(1, self.get("messages", 0) + 1)]

    def copydata(self):
        return [{"code": self[f"copydata.{i}.code"],
                 "size": self[f"copydata.{i}.size"],
                 "from_child": self[f"copydata.{i}.from_child"],
                 "bytes": self[f"copydata.{i}.bytes"]}
                for i in range(1, self.get("copydata", 0) + 1)]


def hand_off_record(data):
    """A hand-off record's data split as running copies read it: the
    payload with its terminating zero (all that copies of the old format
    read), and the "key=value" fields after it."""
    end = data.find(b"\0")
    if end < 0:
        return data, {}
    fields = {}
    for field in data[end + 1:].split(b"\0")[:-1]:
        key, _, value = field.partition(b"=")
        fields[key] = value
    return data[:end + 1], fields


class Case:
    """One test case's scratch folder and its way to the driver."""

    def __init__(self, args, name, exe_name="Tavrin.exe", folder_name=None):
        self.driver = args.driver
        self.folder = os.path.join(args.scratch, folder_name or name)
        # The driver's own files stay out of the program's folder, whose
        # contents the cases check.
        self.work = os.path.join(args.scratch, name + ".work")
        for folder in (self.folder, self.work):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        self.exe = os.path.join(self.folder, exe_name)
        shutil.copyfile(args.tavrin, self.exe)
        self._runs = 0

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def write(self, relative, data):
        full = self.path(relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
        return full

    def write_work(self, name, data):
        """A file for the driver, outside the program's folder; returns its
        Windows path."""
        full = os.path.join(self.work, name)
        with open(full, "wb") as f:
            f.write(data)
        return windows_path(full)

    def listing(self, relative=""):
        return sorted(os.listdir(self.path(relative)))

    def drive(self, command, arguments=b"", timeout_ms=10000, file_size_limit=None, **options):
        """Runs one driver command; returns (exit code, report, seconds).

        `arguments` are the exact bytes of Tavrin's command line after its
        own path; they travel in a file so that no quoting touches them.
        `file_size_limit` (bytes) makes the driver and the programs it
        starts unable to write any file past that size, as on a full disk:
        a write beyond it fails instead of ending the process.
        """
        self._runs += 1
        stem = os.path.join(self.work, f"run{self._runs}")
        with open(stem + ".args", "wb") as f:
            f.write(arguments)
        argv = ["wine", self.driver, command, "--exe", windows_path(self.exe),
                "--timeout", str(timeout_ms), "--out", windows_path(stem + ".out"),
                "--args-file", windows_path(stem + ".args")]
        for key, value in options.items():
            argv += ["--" + key.replace("_", "-"), value]
        started = time.monotonic()
        # Output goes to a file, not a pipe: Wine's helper processes may keep
        # an inherited pipe open long after the driver has ended.
        def limit_file_size():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))

        with open(stem + ".log", "wb") as log:
            done = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=log,
                                  stderr=subprocess.STDOUT, timeout=timeout_ms / 1000 + 60,
                                  preexec_fn=limit_file_size if file_size_limit else None)
        seconds = time.monotonic() - started
        if done.returncode == 2:
            with open(stem + ".log", "rb") as log:
                raise Failure("driver failed: " + log.read().decode(errors="replace"))
        return done.returncode, Report.read(stem + ".out"), seconds


def main(cases):
    """Runs the case named on the command line from the `cases` table."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(cases))
    parser.add_argument("--tavrin", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    try:
        cases[args.case](args)
    except Failure as failure:
        print(f"FAILED {args.case}: {failure}")
        sys.exit(1)
    print(f"passed {args.case}")
