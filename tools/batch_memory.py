#!/usr/bin/env python3
"""Resident memory and open descriptors of one long `tessera batch` run.

Makes COPIES copies of the first PAGES pages of a file, splits them all in one
batch run with the given options (by default one output a page) and samples
/proc/PID/status and /proc/PID/fd while it runs. Prints the first, last and
largest resident size seen during each file, and the descriptors open at the
start and at the end. Exits 1 when memory grows across the run by more than
--max-growth MB (measured from the end of the warm-up files to the end of the
last file), or when the descriptors at the end outnumber those at the start.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def rss_kb(pid):
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    except OSError:
        pass
    return None


def fd_count(pid):
    try:
        return len(os.listdir(f"/proc/{pid}/fd"))
    except OSError:
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tessera", default=str(ROOT / "build" / "stage" / "tessera"))
    parser.add_argument("--source", default=str(ROOT / "tests" / "data" / "abntex2-thesis-blank-versos-outline-depth6.pdf"))
    parser.add_argument("--pages", type=int, default=10)
    parser.add_argument("--copies", type=int, default=50)
    parser.add_argument("--warm-up", type=int, default=5, help="files before the growth is measured")
    parser.add_argument("--max-growth", type=float, default=8.0, help="MB allowed after the warm-up")
    parser.add_argument("options", nargs="*", default=["--equal", "1"], help="split options (after --)")
    options = parser.parse_args()

    work = Path(tempfile.mkdtemp(prefix="tessera-memory-"))
    try:
        inputs, outputs = work / "in", work / "out"
        inputs.mkdir()
        outputs.mkdir()
        first = inputs / "f000.pdf"
        subprocess.run(["qpdf", "--empty", "--pages", options.source, f"1-{options.pages}", "--", str(first)], check=True)
        for i in range(1, options.copies):
            shutil.copy(first, inputs / f"f{i:03}.pdf")
        env = dict(os.environ, XDG_CONFIG_HOME=str(work / "config"))
        profile = work / "run.tpr"
        subprocess.run([options.tessera, "split", str(first), *options.options, "--prefix", "name", "-o", str(outputs),
                        "--save-profile", str(profile)], check=True, env=env, stdout=subprocess.DEVNULL)

        process = subprocess.Popen([options.tessera, "batch", "--quiet", "--profile", str(profile), "--folder",
                                    str(inputs)], stdout=subprocess.PIPE, text=True, env=env)
        done_files = [0]  # files the run has reported, advanced by the reader of its lines
        lines = []

        def read_lines():
            for line in process.stdout:
                lines.append(line.rstrip("\n"))
                done_files[0] += 1

        reader = threading.Thread(target=read_lines)
        reader.start()
        samples = []  # (file index, rss kB, fds)
        while process.poll() is None:
            rss, fds = rss_kb(process.pid), fd_count(process.pid)
            if rss is not None and fds is not None:
                samples.append((done_files[0], rss, fds))
            time.sleep(0.02)
        reader.join()

        per_file = {}
        for index, rss, _ in samples:
            per_file.setdefault(index, []).append(rss)
        written = sum(1 for _ in outputs.rglob("*.pdf"))
        print(f"tessera batch over {options.copies} copies of {options.pages} pages ({' '.join(options.options)}): "
              f"{written} outputs, exit {process.returncode}, {len(samples)} samples")
        print("file  first MB   last MB    max MB")
        for index in sorted(i for i in per_file if i < options.copies):
            values = per_file[index]
            print(f"{index + 1:4}  {values[0] / 1024:8.1f}  {values[-1] / 1024:8.1f}  {max(values) / 1024:8.1f}")
        after_first = next((fds for index, _, fds in samples if index >= 1), samples[0][2])
        print(f"open descriptors: {samples[0][2]} at the start, {after_first} after the first file, "
              f"{samples[-1][2]} at the end")
        settled = [rss for index, rss, _ in samples if index == options.warm_up]
        growth = (samples[-1][1] - (settled[-1] if settled else samples[0][1])) / 1024
        print(f"growth after the first {options.warm_up} files: {growth:+.1f} MB")
        print(lines[-1] if lines else "(no summary line)")
        leaking = growth > options.max_growth or samples[-1][2] > max(samples[0][2], after_first)
        return 1 if leaking or process.returncode != 0 or written == 0 else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
