#!/usr/bin/env python3
"""Every PDF of a folder through every split method, each run under a time limit.

Damaged files must end in a message, never in a crash, a hang, a damaged output
or a changed source. Without a folder, the damaged, encrypted and unusual files
of tests/data are swept together with fixtures made here from them: truncated
copies, a broken xref, a looping page tree, a lying /Count, content streams of
random bytes. The exit status is 1 when any crash, hang, output failing
`qpdf --check`, failure without a message or changed source was seen.
"""
import argparse
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "tests" / "data"
DEFAULT_FILES = [
    "broken-header-only-unrecoverable.pdf",
    "damaged-xref-outlines-labels-recoverable.pdf",
    "encrypted-aes256-no-extract-no-print-owner-master.pdf",
    "encrypted-rc4-128-restricted-user-view-owner-master.pdf",
    "acroform-fields-two-pages-mixed-annots.pdf",
    "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf",
    "mnras-guide-2col-rotated-page.pdf",
]
SHORT_FILES = ["broken-header-only-unrecoverable.pdf", "damaged-xref-outlines-labels-recoverable.pdf"]
# The fixtures are made from a small file with an outline, labels and text.
FIXTURE_SOURCE = "damaged-xref-outlines-labels-recoverable.pdf"

METHODS = {
    "equal": ["--equal", "1"],
    "bookmarks": ["--bookmarks", "1-2"],
    "separator-text": ["--separator", "text=the"],
    "separator-blank": ["--separator", "blank"],
    "separator-scan": ["--separator", "scan"],
    "doc-text": ["--doc", "Found=/the/"],
    "doc-content": ["--doc", "Linked=@link", "--doc", "Pictures=@image"],
    # A dry run counts pages with the text reader where both libraries agree.
    "dry-separator-text": ["--dry-run", "--separator", "text=the"],
}
SHORT_METHODS = ["equal", "separator-blank", "doc-text", "dry-separator-text"]
# A sanitizer build reports a fault and exits 1, as a refused file would.
SANITIZER_REPORTS = ["ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"]


def sha256(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def qdf(source, target):
    # --qdf writes every object plainly, its content streams uncompressed, so
    # the fixtures can be edited as text; fix-qdf repairs lengths and the xref.
    subprocess.run(["qpdf", "--qdf", "--object-streams=disable", str(source), str(target)],
                   check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return Path(target).read_bytes()


def fix_qdf(data, target):
    done = subprocess.run(["fix-qdf"], input=data, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    Path(target).write_bytes(done.stdout if done.returncode == 0 and done.stdout else data)


def pages_object(data):
    """The number and span of the page tree's root in a QDF file."""
    for m in re.finditer(rb"\n(\d+) 0 obj\n(.*?)\nendobj", data, re.S):
        body = m.group(2)
        if b"/Type /Pages" in body and b"/Parent" not in body:
            return int(m.group(1)), m.start(2), m.end(2)
    raise RuntimeError("no page tree root")


def make_fixtures(folder):
    source = DATA / FIXTURE_SOURCE
    raw = source.read_bytes()
    base = qdf(source, folder / "base-qdf.pdf")
    rng = random.Random(19)
    made = []

    def write(name, data, fix=False):
        path = folder / name
        if fix:
            fix_qdf(data, path)
        else:
            path.write_bytes(data)
        made.append(path)

    for share in (10, 50, 90, 99):
        write(f"truncated-{share}.pdf", raw[: len(raw) * share // 100])
        write(f"truncated-qdf-{share}.pdf", base[: len(base) * share // 100])
    # An xref whose offsets all point a little off, and one that is gone.
    write("xref-offsets-shifted.pdf", re.sub(rb"\n(\d{10}) 00000 n", lambda m: b"\n%010d 00000 n" % (int(m.group(1)) + 7), base))
    write("xref-missing.pdf", re.sub(rb"\nxref\n.*?trailer", b"\ntrailer", base, flags=re.S))
    write("startxref-wrong.pdf", re.sub(rb"startxref\n\d+", b"startxref\n999999999", base))
    # Object streams and an xref stream whose bytes are damaged in the middle.
    packed = folder / "packed.pdf"
    subprocess.run(["qpdf", "--object-streams=generate", str(source), str(packed)], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    data = bytearray(packed.read_bytes())
    packed.unlink()
    for _ in range(40):
        at = rng.randrange(len(data) // 3, len(data))
        data[at] = rng.randrange(256)
    write("object-streams-damaged.pdf", bytes(data))

    number, start, end = pages_object(base)
    root = base[start:end]
    # The root lists itself among its kids, and a page lists the root as a kid.
    write("page-tree-loop.pdf", base[:start] + root.replace(b"/Kids [", b"/Kids [\n    %d 0 R" % number, 1) + base[end:], True)
    first_page = re.search(rb"%% Page 1\n%% Original object ID: [^\n]*\n(\d+) 0 obj\n<<", base)
    looped = base[: first_page.end()] + b"\n  /Kids [ %d 0 R ]\n  /Count 1" % number + base[first_page.end():]
    write("page-kid-loop.pdf", looped.replace(b"/Type /Page\n", b"/Type /Pages\n", 1), True)
    for count in (b"1000", b"0", b"-5", b"3"):
        write(f"count-{count.decode()}.pdf", base[:start] + re.sub(rb"/Count \d+", b"/Count " + count, root) + base[end:],
              True)

    # Every content stream replaced by random bytes, the lengths repaired.
    def noise(m):
        return m.group(1) + bytes(rng.randrange(256) for _ in range(len(m.group(2)))) + m.group(3)
    write("content-random.pdf", re.sub(rb"(%% Contents for page \d+\n.*?\nstream\n)(.*?)(\nendstream)", noise, base, flags=re.S), True)
    # Operators kept but the operands shuffled and cut.
    def shuffle(m):
        tokens = m.group(2).split()
        rng.shuffle(tokens)
        return m.group(1) + b" ".join(tokens[: len(tokens) * 2 // 3]) + m.group(3)
    write("content-shuffled.pdf", re.sub(rb"(%% Contents for page \d+\n.*?\nstream\n)(.*?)(\nendstream)", shuffle, base, flags=re.S), True)
    # An outline whose first item is its own next sibling and child.
    first = re.search(rb"/First (\d+) 0 R", base)
    if first:
        item = int(first.group(1))
        m = re.search(rb"\n%d 0 obj\n<<" % item, base)
        write("outline-loop.pdf", base[: m.end()] + b"\n  /Next %d 0 R\n  /First %d 0 R" % (item, item) + base[m.end():], True)
    (folder / "base-qdf.pdf").unlink()
    return made


class Tally:
    NAMES = ["files", "runs", "exit 0", "exit 1", "exit 2", "exit other", "outputs", "failing qpdf --check",
             "crashes", "hangs", "silent failures", "sources changed"]
    BAD = NAMES[-5:]

    def __init__(self):
        self.counts = dict.fromkeys(self.NAMES, 0)
        self.findings = []

    def note(self, name, what):
        self.counts[name] += 1
        self.findings.append(f"{name}: {what}")

    def print(self, out=sys.stdout):
        width = max(len(n) for n in self.NAMES)
        for name in self.NAMES:
            print(f"  {name:<{width}}  {self.counts[name]:>6}", file=out)
        for finding in self.findings:
            print("  " + finding, file=out)

    def clean(self):
        return all(self.counts[n] == 0 for n in self.BAD)


def check_outputs(folder, tally, what):
    outputs = sorted(p for p in folder.rglob("*") if p.suffix.lower() == ".pdf")
    tally.counts["outputs"] += len(outputs)
    for output in outputs:
        # Exit 3 is warnings only; 2 is a file qpdf finds damaged.
        done = subprocess.run(["qpdf", "--check", str(output)], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if done.returncode not in (0, 3):
            tally.note("failing qpdf --check", f"{what} -> {output.name}: {done.stderr.decode(errors='replace')[:200]}")


def run_one(tessera, pdf, method, args, seconds, work, tally):
    out = Path(tempfile.mkdtemp(prefix="out-", dir=work))
    env = dict(os.environ, XDG_CONFIG_HOME=str(work / "config"))
    command = ["timeout", "-k", "5", str(seconds), str(tessera), "split", str(pdf), "--quiet", "--yes",
               "-o", str(out), *args]
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env, stdin=subprocess.DEVNULL)
    what = f"{pdf.name} {method}"
    code = done.returncode
    tally.counts["runs"] += 1
    tally.counts[f"exit {code}" if code in (0, 1, 2) else "exit other"] += 1
    stderr = done.stderr.decode(errors="replace").strip()
    if code in (124, 137):
        tally.note("hangs", f"{what}: no end within {seconds} s")
    elif code < 0 or code >= 128 or any(report in stderr for report in SANITIZER_REPORTS):
        tally.note("crashes", f"{what}: exit {code}: {stderr[-300:]}")
    elif code != 0 and not stderr:
        tally.note("silent failures", f"{what}: exit {code}")
    check_outputs(out, tally, what)
    shutil.rmtree(out, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", nargs="?", help="the PDFs to sweep (default: damaged files and fixtures)")
    parser.add_argument("--short", action="store_true", help="a few files and the fast methods")
    parser.add_argument("--tessera", default=str(ROOT / "build" / "stage" / "tessera"))
    parser.add_argument("--timeout", type=int, default=120, help="seconds for one run")
    options = parser.parse_args()

    work = Path(tempfile.mkdtemp(prefix="tessera-sweep-"))
    try:
        if options.folder:
            files = sorted(p for p in Path(options.folder).iterdir() if p.suffix.lower() == ".pdf")
        else:
            fixtures = work / "fixtures"
            fixtures.mkdir()
            made = make_fixtures(fixtures)
            names = SHORT_FILES if options.short else DEFAULT_FILES
            files = [DATA / n for n in names] + (made[::4] if options.short else made)
        methods = SHORT_METHODS if options.short else list(METHODS)
        tally = Tally()
        tally.counts["files"] = len(files)
        for pdf in files:
            before = sha256(pdf)
            for method in methods:
                run_one(options.tessera, pdf, method, METHODS[method], options.timeout, work, tally)
            if sha256(pdf) != before:
                tally.note("sources changed", pdf.name)
        print(f"Sweep of {options.folder or 'the damaged files and fixtures'} ({', '.join(methods)}):")
        tally.print()
        return 0 if tally.clean() else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
