#!/usr/bin/env python3
"""The browser bridge library tvDDE.dll under Wine, against fake_browser.exe.

tvdde_probe.exe loads the library by name and calls its exports the way the
program does; it prints key=value lines with byte texts in hexadecimal.
Run from ctest inside the environment of scripts/wine-env.sh:
    test_tvdde.py --bin BUILD_DIR --objdump OBJDUMP
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

BIN = ""
OBJDUMP = ""
EXPORTS = {"_DDE_GetActiveBrowseInfo", "_GetDDEStr", "_DDE_SetBrowseURL"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "msvcrt.dll", "advapi32.dll", "ntdll.dll"}

NIHONGO = "日本語".encode("cp932")
HYO = "表".encode("cp932")  # its trail byte is a backslash


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(exe, *args, timeout=30):
    return subprocess.run(["wine", os.path.join(BIN, exe), *args],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)


def probe(*args):
    """Runs the probe; the printed values, byte texts decoded from hex."""
    done = wine("tvdde_probe.exe", *args)
    values = {"exit": done.returncode}
    for line in done.stdout.decode("latin-1").splitlines():
        for part in line.strip().split(" "):
            key, sep, value = part.partition("=")
            if not sep:
                continue
            if key in ("reply", "url", "title", "third"):
                values[key] = bytes.fromhex(value)
            elif re.fullmatch(r"-?\d+", value):
                values[key] = int(value)
            else:
                values[key] = value
    return values


class FakeBrowser:
    """fake_browser.exe serving one service for the length of a with-block."""
    counter = 0

    def __init__(self, scratch, *options, reply=None):
        FakeBrowser.counter += 1
        self.service = "TvddeTest%d_%d" % (os.getpid(), FakeBrowser.counter)
        self.dir = os.path.join(scratch, self.service)
        os.makedirs(self.dir)
        self.log = os.path.join(self.dir, "log")
        self.trace = os.path.join(self.dir, "trace")
        self.ready = os.path.join(self.dir, "ready")
        self.stop = os.path.join(self.dir, "stop")
        self.args = ["--service", self.service, "--log", winpath(self.log),
                     "--trace", winpath(self.trace), "--ready", winpath(self.ready),
                     "--stop", winpath(self.stop), "--seconds", "60", *options]
        if reply is not None:
            path = os.path.join(self.dir, "reply")
            with open(path, "wb") as f:
                f.write(reply)
            self.args += ["--reply-file", winpath(path)]

    def __enter__(self):
        self.proc = subprocess.Popen(["wine", os.path.join(BIN, "fake_browser.exe"), *self.args],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 20
        while not os.path.exists(self.ready):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("fake browser did not start: %r" % self.proc.stderr.read())
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        open(self.stop, "w").close()
        try:
            self.proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.proc.stderr.close()

    def lines(self, path):
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            return f.read().split(b"\n")[:-1]

    def logged(self):
        return self.lines(self.log)

    def traced(self):
        return self.lines(self.trace)


class BridgeTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="tvdde_")

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def test_export_table_holds_exactly_the_three_names(self):
        # Wine's environment is Japanese; objdump would translate its headings.
        dump = subprocess.run([OBJDUMP, "-p", os.path.join(BIN, "tvDDE.dll")],
                              stdout=subprocess.PIPE, check=True,
                              env=dict(os.environ, LC_ALL="C")).stdout.decode()
        table = dump.split("[Ordinal/Name Pointer] Table", 1)[1]
        names = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)", table, re.M)
        self.assertEqual(sorted(names), sorted(EXPORTS))
        imported = {n.lower() for n in re.findall(r"DLL Name: (\S+)", dump)}
        self.assertTrue(imported and imported <= SYSTEM_DLLS, imported)

    def test_browser_page_is_asked_and_split(self):
        long_title = b"T" * 40000
        cases = [
            # reply, url, title
            (b'"http://example.jp/a?b=1,2","' + NIHONGO + b' \\"x\\"",""',
             b"http://example.jp/a?b=1,2", NIHONGO + b' "x"'),
            (b'"http://a.example/' + HYO + b'","' + HYO + b'"',
             b"http://a.example/" + HYO, HYO),
            (b"  http://bare.example/ , bare title ", b"http://bare.example/", b"bare title"),
            (b"no quotes and no comma", b"no quotes and no comma", b""),
            (b'"http://unterminated.example/', b"http://unterminated.example/", b""),
            # longer than the 32 KB reply buffer: the URL at its head survives
            (b'"http://big.example/","' + long_title + b'"',
             b"http://big.example/", b"T" * 259),
        ]
        for reply, url, title in cases:
            with self.subTest(reply=reply[:40]), FakeBrowser(self.scratch, reply=reply) as fake:
                got = probe("browse", fake.service)
                self.assertEqual(got.get("answered"), 1)
                self.assertEqual(got.get("result"), 1)
                self.assertEqual(got.get("url"), url)
                self.assertEqual(got.get("title"), title)
                self.assertEqual(got.get("guard"), "ok")
                self.assertEqual(fake.traced(), [b"request WWW_GetWindowInfo 0xFFFFFFFF"])

    def test_reply_is_cut_to_the_buffer_without_splitting_a_character(self):
        reply = b'"http://a/' + HYO * 20 + b'"'
        with FakeBrowser(self.scratch, reply=reply) as fake:
            whole = probe("query", fake.service)
            self.assertEqual((whole["result"], whole["reply"]), (1, reply))
            # 10 bytes hold 9: "http://a/ is 10 bytes, so 9 of them.
            small = probe("query", fake.service, "10")
            self.assertEqual((small["result"], small["reply"]), (1, reply[:9]))
            # 12 bytes hold 11, which would end inside the first double-byte character.
            split = probe("query", fake.service, "12")
            self.assertEqual(split["reply"], reply[:10])
            for got in (whole, small, split):
                self.assertEqual(got["guard"], "ok")
        with FakeBrowser(self.scratch, "--unterminated", reply=b'"http://u/"') as fake:
            got = probe("query", fake.service)
            self.assertEqual((got["result"], got["reply"]), (1, b'"http://u/"'))

    def test_empty_reply_is_no_answer(self):
        with FakeBrowser(self.scratch, reply=b"") as fake:
            got = probe("browse", fake.service)
            self.assertEqual(got.get("answered"), 0)

    def test_opened_url_reaches_the_browser_exactly(self):
        long_url = b"http://long.example/" + b"a" * 480
        cases = [
            # given, recorded, transaction
            (b"http://www.example.com/index.html", b"http://www.example.com/index.html", b"request"),
            (b'"http://a.example/b c.html"', b"http://a.example/b c.html", b"request"),
            (b'http://a.example/q="x"', b'http://a.example/q="x"', b"request"),
            (b"http://a.example/" + HYO + NIHONGO, b"http://a.example/" + HYO + NIHONGO, b"request"),
            (long_url, long_url, b"execute"),
        ]
        with FakeBrowser(self.scratch) as fake:
            for given, _, _ in cases:
                got = probe("open", fake.service, given.hex())
                self.assertEqual(got.get("result"), 1, given)
            self.assertEqual(fake.logged(), [recorded for _, recorded, _ in cases])
            kinds = [line.split(b" ")[0] for line in fake.traced()]
            self.assertEqual(kinds, [kind for _, _, kind in cases])

    def test_refusing_browser_gives_zero(self):
        # the browser's own "no" in three forms: no data, window number 0, the text 0
        with FakeBrowser(self.scratch, "--refuse") as fake:
            self.assertEqual(probe("query", fake.service)["result"], 0)
            self.assertEqual(probe("open", fake.service, b"http://a/".hex())["result"], 0)
            self.assertEqual(probe("open", fake.service, (b"http://a/" + b"x" * 300).hex())["result"], 0)
            self.assertEqual(fake.logged(), [])
        for answer, taken in (("0", 0), ("0x0", 0), ("OK", 1), ("0xFFFFFFFF", 1)):
            with self.subTest(answer=answer), FakeBrowser(self.scratch, "--open-result", answer) as fake:
                self.assertEqual(probe("open", fake.service, b"http://a/".hex())["result"], taken)

    def test_absent_service_fails_fast(self):
        for args in (("query", "TvddeNoSuchBrowser"), ("open", "TvddeNoSuchBrowser", b"http://a/".hex())):
            with self.subTest(call=args[0]):
                got = probe(*args)
                self.assertEqual(got["result"], 0)
                self.assertLess(got["ms"], 2000)

    def test_hung_browser_times_out(self):
        with FakeBrowser(self.scratch, "--hang") as fake:
            query = probe("query", fake.service)
            self.assertEqual(query["result"], 0)
            self.assertTrue(2000 <= query["ms"] < 4500, query["ms"])
            opened = probe("open", fake.service, b"http://a/".hex())
            self.assertEqual(opened["result"], 0)
            self.assertTrue(opened["ms"] < 6500, opened["ms"])

    def test_splitter_export_survives_hostile_replies(self):
        cut_url = b"h" * 258 + HYO
        cases = [
            # reply, result, url. A URL that does not fit is answered with
            # -1 (it used to be 1), so the program does not open its start.
            (b"x" * 32767, -1, b"x" * 259),
            (b'"' + cut_url + b'"', -1, b"h" * 258),
            (b'"' + b"\\" * 600 + b'"', -1, b"\\" * 259),
            (b'"' + b"h" * 259 + b'"', 1, b"h" * 259),
            (b",", 0, b""),
            (b'"",""', 0, b""),
            (b"", 0, b""),
        ]
        for reply, result, url in cases:
            with self.subTest(reply=reply[:20]):
                path = os.path.join(self.scratch, "reply")
                with open(path, "wb") as f:
                    f.write(reply)
                got = probe("split", "@" + winpath(path))
                self.assertEqual((got.get("result"), got.get("url")), (result, url))
                self.assertEqual(got.get("third"), b"")
                self.assertEqual(got.get("guard"), "ok")

    def test_null_and_empty_arguments_are_refused(self):
        got = probe("nulls")
        self.assertEqual(got["exit"], 0)
        for key in ("query_null_service", "query_empty_service", "query_null_reply",
                    "query_zero_size", "split_null_reply", "open_null_service",
                    "open_null_url", "open_empty_url"):
            self.assertEqual(got.get(key), 0, key)
        self.assertEqual(got.get("url_cleared"), 1)
        self.assertEqual(got.get("split_null_outputs"), 1)


def main():
    global BIN, OBJDUMP
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--objdump", required=True)
    args, rest = parser.parse_known_args()
    BIN, OBJDUMP = args.bin, args.objdump
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
