#!/usr/bin/env python3
"""Makes code-sheet-mrc-layers.pdf: three pages as a mixed-raster scanner
writes them. Pages 1 and 3 are text; page 2 is a separator sheet drawn as two
layers: a full-page grey background image of paper, and over it the black
foreground as a 1-bit image mask holding a QR code of MRC-0007. A reader that
takes the page for one scanned image sees only the paper.

Kept so the file can be made again; the tests do not run it. Needs qrencode,
ImageMagick (convert) and qpdf. Usage: craft-mrc-fixture.py [output folder]
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zlib

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
CONVERT = shutil.which("convert-im6.q16") or shutil.which("convert")


def qr_mask(text):
    """The QR code as 1-bit rows (0 paints), and its size in pixels."""
    with tempfile.TemporaryDirectory() as work:
        png = os.path.join(work, "qr.png")
        subprocess.run(["qrencode", "-o", png, "-s", "6", "-m", "2", text], check=True)
        size = int(subprocess.run([CONVERT, png, "-format", "%w", "info:"], check=True, capture_output=True).stdout)
        bits = subprocess.run([CONVERT, png, "-colorspace", "gray", "-depth", "1", "gray:-"], check=True,
                              capture_output=True).stdout
    return bits, size


def paper(width, height):
    """Grey paper with seeded noise, as a scanner sees it."""
    noise = random.Random(7)
    return bytes(238 + noise.randrange(12) for _ in range(width * height))


def stream(dictionary, data):
    packed = zlib.compress(data, 9)
    return f"<< {dictionary} /Filter /FlateDecode /Length {len(packed)} >>\nstream\n".encode() + packed + b"\nendstream"


def text_page(line):
    return f"BT /F1 18 Tf 72 700 Td ({line}) Tj ET".encode()


def main():
    mask, size = qr_mask("MRC-0007")
    width, height = 306, 396  # paper at 36 dpi on US Letter
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 6 0 R >> >> /Contents 7 0 R >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /XObject << /Bg 8 0 R /Fg 9 0 R >> >> "
        b"/Contents 10 0 R >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 6 0 R >> >> /Contents 11 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        stream("", text_page("Report, page one: the text before the separator sheet.")),
        stream(f"/Type /XObject /Subtype /Image /Width {width} /Height {height} /ColorSpace /DeviceGray "
               "/BitsPerComponent 8", paper(width, height)),
        stream(f"/Type /XObject /Subtype /Image /Width {size} /Height {size} /ImageMask true /BitsPerComponent 1",
               mask),
        stream("", b"q 612 0 0 792 0 0 cm /Bg Do Q q 0 g 216 0 0 216 198 288 cm /Fg Do Q"),
        stream("", text_page("Letter, page three: the text after the separator sheet.")),
    ]
    body = b"%PDF-1.7\n"
    offsets = []
    for number, obj in enumerate(objects, 1):
        offsets.append(len(body))
        body += f"{number} 0 obj\n".encode() + obj + b"\nendobj\n"
    xref = len(body)
    body += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    body += b"".join(f"{o:010d} 00000 n \n".encode() for o in offsets)
    body += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    raw = os.path.join(OUT, "code-sheet-mrc-layers.raw.pdf")
    with open(raw, "wb") as out:
        out.write(body)
    subprocess.run(["qpdf", "--deterministic-id", raw, os.path.join(OUT, "code-sheet-mrc-layers.pdf")], check=True)
    os.remove(raw)


if __name__ == "__main__":
    main()
