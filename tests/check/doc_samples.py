"""The settings samples of the README and of both help texts, and the
README's example runs of the check tool, found by their marks:

- README: every ```ini block. After "ini" its fence may name a file
  ("```ini bad.ini": a sample of mistakes, shown with its findings) and
  "open ARGS" (the words a dry run of the sample is given).
- Help texts: an indented block between a line "---- Tavrin.ini ----" and a
  line "----" of the same indent; that closing line may hold
  "TavrinCheck.exe open ARGS".
- README example runs: ```console blocks whose first line is
  "> TavrinCheck.exe ...", followed by exactly what the tool prints.
- Help example runs: a line "  > TavrinCheck.exe ..." and the indented
  lines below it, which the tool prints in that order; "..." stands for
  lines left out. They run with the help's example of chapter 6 (the sample
  that holds "[.txt]#") as Tavrin.ini.

The samples name Windows paths (C:\\Tools\\viewer.exe, D:\\Pages): each
drive becomes a folder of the scratch folder, the programs named are made
there, and the tool's output is read back with the drive letters."""
import os
import re
import shlex
import shutil

INI_FENCE = re.compile(r"^( *)```ini(?: ([^\n]*))?\n(.*?)^\1```", re.S | re.M)
CONSOLE_FENCE = re.compile(r"^```console\n(> TavrinCheck\.exe [^\n]*)\n(.*?)^```", re.S | re.M)
HELP_FRAME = re.compile(r"^( +)---- Tavrin\.ini -+\n(.*?)^\1----([^\n]*)$", re.S | re.M)
HELP_EXAMPLE = re.compile(r"^  > (TavrinCheck\.exe [^\n]*)\n((?:    [^\n]*\n|  [^>\n][^\n]*\n)+)", re.M)
WINDOWS_PATH = re.compile(r"\b([A-Z]):\\([^;|>\"%\n]*)")


class Sample:
    def __init__(self, where, text, name=None, open_words=None):
        self.where = where           # "README.md:123"
        self.text = text             # the lines, their indent removed
        self.name = name             # a file name of its own, or None
        self.open_words = open_words or []

    def __repr__(self):
        return f"<sample {self.where}>"


def line_of(text, offset):
    return text.count("\n", 0, offset) + 1


def dedent(block, indent):
    return "".join(line[indent:] if line.startswith(" " * indent) else line.lstrip(" ")
                   for line in block.splitlines(keepends=True))


def open_words(words):
    """The words after "open" in a mark: split as a shell splits them."""
    words = words.strip()
    if not words:
        return []
    parts = shlex.split(words)
    if parts and parts[0] == "TavrinCheck.exe":
        parts = parts[1:]
    check_open = parts and parts[0] == "open"
    return parts[1:] if check_open else []


def readme_samples(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    samples = []
    for m in INI_FENCE.finditer(text):
        indent, info, body = len(m.group(1)), (m.group(2) or "").strip(), m.group(3)
        name = None
        if info and info.split()[0].endswith(".ini"):
            name, _, info = info.partition(" ")
        samples.append(Sample(f"{os.path.basename(path)}:{line_of(text, m.start())}",
                              dedent(body, indent), name, open_words(info)))
    return samples


def help_samples(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    samples = []
    for m in HELP_FRAME.finditer(text):
        closing = m.group(3).strip(" -")
        samples.append(Sample(f"{os.path.basename(path)}:{line_of(text, m.start())}",
                              dedent(m.group(2), len(m.group(1))), None, open_words(closing)))
    return samples


def help_examples(path):
    """(command line, lines shown) of each example run of a help text."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return [(m.group(1), [line[2:] for line in m.group(2).splitlines()]) for m in HELP_EXAMPLE.finditer(text)]


def shown_in(shown, printed):
    """Whether the lines shown stand in what was printed, in that order
    and one after the other, where "..." leaves out any number of lines."""
    at = 0
    gap = False
    for line in shown:
        if line == "...":
            gap = True
            continue
        if gap:
            while at < len(printed) and printed[at] != line:
                at += 1
        if at >= len(printed) or printed[at] != line:
            return False
        at += 1
        gap = False
    return True


def console_examples(path):
    """(command line, expected output) of each example run."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return [(m.group(1)[2:], m.group(2)) for m in CONSOLE_FENCE.finditer(text)]


class Drives:
    """A scratch folder standing for the drives the samples name."""

    def __init__(self, root):
        self.root = root.rstrip("/")

    def local(self, drive, rest):
        return f"{self.root}/{drive}\\{rest}"

    def to_local(self, text):
        """A sample's text with its drives in the scratch folder (Tavrin's
        own backslashes stay: the native platform takes them as slashes)."""
        return WINDOWS_PATH.sub(lambda m: self.local(m.group(1), m.group(2)), text)

    def to_windows(self, output):
        """The tool's output with the scratch folder's paths written as on
        Windows."""
        def back(m):
            return f"{m.group(1)}:" + m.group(2).replace("/", "\\")
        return re.sub(re.escape(self.root) + r"/([A-Z])((?:[/\\][^\s\"]*)?)", back, output)

    def path(self, windows_path):
        drive, rest = windows_path[0], windows_path[3:]
        return os.path.join(self.root, drive, *[p for p in rest.split("\\") if p])

    def make(self, text):
        """Makes the programs (".exe") and folders a sample names."""
        for m in WINDOWS_PATH.finditer(text):
            name = (m.group(1) + ":\\" + m.group(2)).rstrip(" ")
            path = self.path(name)
            if name.lower().endswith(".exe"):
                os.makedirs(os.path.dirname(path), exist_ok=True)
                if not os.path.exists(path):
                    with open(path, "wb") as f:
                        f.write(b"MZ")
            else:
                os.makedirs(path, exist_ok=True)

    def system_folder(self):
        """C:\\Windows\\system32 with the programs a sample may name
        without a folder; for the tool's search path."""
        folder = self.path("C:\\Windows\\system32")
        os.makedirs(folder, exist_ok=True)
        for name in ("notepad.exe",):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(b"MZ")
        return folder


def prepare(root):
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    drives = Drives(root)
    return drives, drives.system_folder()


def main_sample(samples):
    """The README's sample settings file: its first plain ```ini block."""
    return next(s for s in samples if s.name is None and not s.open_words)


def write_sample(drives, folder, name, sample):
    drives.make(sample.text)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(drives.to_local(sample.text).encode("cp932"))


def run_example(tool, drives, system32, command, samples, pages, settings=None):
    """Runs one example as a user runs it in C:\\Tools\\Tavrin, with the
    README's sample (or `settings`) as the Tavrin.ini beside the tool;
    returns what it printed, with Windows paths."""
    import subprocess
    folder = drives.path("C:\\Tools\\Tavrin")
    os.makedirs(folder, exist_ok=True)
    local = os.path.join(folder, os.path.basename(tool))
    shutil.copy(tool, local)
    write_sample(drives, folder, "Tavrin.ini", settings or main_sample(samples))
    for sample in samples:
        if sample.name:
            write_sample(drives, folder, sample.name, sample)
    words = shlex.split(command)[1:]
    for word in words:
        if os.path.isfile(os.path.join(pages, word)):
            shutil.copy(os.path.join(pages, word), folder)
    env = dict(os.environ, PATH=system32 + os.pathsep + os.environ.get("PATH", ""))
    done = subprocess.run([local, *words], cwd=folder, env=env, capture_output=True, timeout=120)
    return done.returncode, drives.to_windows(done.stdout.decode("utf-8")), done.stderr.decode("utf-8")


if __name__ == "__main__":
    # Prints each README example run as the tool answers it now.
    import sys
    tool, readme, pages, scratch = sys.argv[1:5]
    drives, system32 = prepare(scratch)
    samples = readme_samples(readme)
    for command, _ in console_examples(readme):
        status, out, err = run_example(tool, drives, system32, command, samples, pages)
        print(f"```console\n> {command}\n{out}```  (exit {status}) {err}")
