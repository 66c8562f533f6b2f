#!/usr/bin/env bash
# craft-scan-fixtures.sh: makes three scanned-looking PDF fixtures in this folder,
# every page one full-page JPEG (as a scanner makes them), 100 dpi on A4:
#   scanned-invoices-payment-qr.pdf  8 grey pages: QR separator sheets (INV-1001..1003),
#                                     invoices carrying a small payment QR or a Code 128
#                                     postal frank, and plain text pages
#   coloured-sheets-yellow-pastel.pdf 7 RGB pages: white text pages, a yellow sheet, a
#                                     pastel yellow sheet with a faint scribble, and a
#                                     text page with one highlighted line
#   code-sheet-qr-and-code128.pdf     5 grey pages: text pages and one sheet holding a
#                                     QR code of a web address and a Code 128 of BOX-0042
# The truth of each page is written in MANIFEST.tsv.
# Kept so the files can be made again; the tests do not run it.
# Needs ImageMagick 6 (convert) with the DejaVu fonts, qrencode, zint, img2pdf and qpdf.
# Deterministic: the noise is seeded, img2pdf (its own engine) writes no date and qpdf
# a deterministic /ID; the same tools' versions make the same bytes.
# Usage: bash craft-scan-fixtures.sh [output folder]   (default: this script's folder)
set -euo pipefail

OUT=$(cd "${1:-$(dirname "$0")}" && pwd)
# Some machines put a stand-in named convert first on PATH: prefer ImageMagick's own.
CONVERT=${CONVERT:-$(command -v convert-im6.q16 || command -v convert)}
IDENTIFY=${IDENTIFY:-$(command -v identify-im6.q16 || command -v identify)}
WORK=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT   # KEEP=1 keeps the page images
cd "$WORK"

W=827 H=1169          # A4 at 100 dpi
MONO=DejaVu-Sans-Mono-Bold   # bold: as dark as a scanned laser print
BOLD=DejaVu-Sans-Bold
LINE=26               # text line pitch in pixels
TOP=90 LEFT=70        # first baseline and left margin

# text_args FILE: -annotate arguments drawing each line of FILE (no % in the text,
# ImageMagick would read it as an escape). Leading spaces become no-break spaces,
# which ImageMagick keeps.
NBSP=$'\xc2\xa0'        # U+00A0 in UTF-8
text_args() {
    local y=$TOP line lead
    TEXT_ARGS=()
    while IFS= read -r line; do
        lead=${line%%[! ]*}
        line=${lead// /$NBSP}${line#"$lead"}
        if [ "$line" = RULE ]; then   # a ruled line under a table's header
            TEXT_ARGS+=(-draw "rectangle $LEFT,$((y - 6)) $((LEFT + 440)),$((y - 5))")
        elif [ -n "$line" ]; then
            TEXT_ARGS+=(-annotate "+$LEFT+$y" "$line")
        fi
        y=$((y + LINE))
    done < "$1"
}

# grey_page OUT.jpg SEED QUALITY [convert operations on the page...]
# Paper of grey 245, the operations drawn on it, a soft scan blur, then uniform
# noise of +-4 grey levels, written as an 8-bit grey JPEG.
grey_page() {
    local out=$1 seed=$2 q=$3; shift 3
    "$CONVERT" -size ${W}x$H 'xc:gray(245)' -colorspace Gray "$@" -blur 0x0.7 \
        \( -size ${W}x$H xc:gray50 -seed "$seed" +noise Random -channel R -separate +channel \) \
        -compose Mathematics -define compose:args=0,0.03137,1,-0.01569 -composite \
        -colorspace Gray -type Grayscale -strip -quality "$q" \
        -density 100 -units PixelsPerInch "$out"
}

# JPEG tables for the RGB pages: IJG's own for the light, and a chroma table a quarter
# of IJG's, so that a low quality keeps the faint tint of off-white paper (at quality 20
# with IJG's chroma table, (246,246,242) comes out as plain grey).
cat > tables.xml <<'EOF'
<?xml version="1.0"?>
<quantization-tables>
  <table slot="0" alias="luma">
    <description>IJG luminance table</description>
    <levels width="8" height="8" divisor="1">
      16, 11, 10, 16, 24, 40, 51, 61,
      12, 12, 14, 19, 26, 58, 60, 55,
      14, 13, 16, 24, 40, 57, 69, 56,
      14, 17, 22, 29, 51, 87, 80, 62,
      18, 22, 37, 56, 68, 109, 103, 77,
      24, 35, 55, 64, 81, 104, 113, 92,
      49, 64, 78, 87, 103, 121, 120, 101,
      72, 92, 95, 98, 112, 100, 103, 99
    </levels>
  </table>
  <table slot="1" alias="chroma">
    <description>IJG chrominance table over 4</description>
    <levels width="8" height="8" divisor="4">
      17, 18, 24, 47, 99, 99, 99, 99,
      18, 21, 26, 66, 99, 99, 99, 99,
      24, 26, 56, 99, 99, 99, 99, 99,
      47, 66, 99, 99, 99, 99, 99, 99,
      99, 99, 99, 99, 99, 99, 99, 99,
      99, 99, 99, 99, 99, 99, 99, 99,
      99, 99, 99, 99, 99, 99, 99, 99,
      99, 99, 99, 99, 99, 99, 99, 99
    </levels>
  </table>
</quantization-tables>
EOF

# rgb_page OUT.jpg SEED QUALITY AMPLITUDE BASE.png
# Uniform noise of +-AMPLITUDE on each channel of BASE.png, written as an RGB JPEG.
rgb_page() {
    local out=$1 seed=$2 q=$3 amp=$4 base=$5
    local a2 a1
    a2=$(awk -v a="$amp" 'BEGIN { printf "%.5f", 2 * a / 255 }')
    a1=$(awk -v a="$amp" 'BEGIN { printf "%.5f", -a / 255 }')
    "$CONVERT" "$base" \
        \( -size ${W}x$H xc:gray50 -seed "$seed" +noise Random \) \
        -compose Mathematics -define compose:args=0,$a2,1,$a1 -composite \
        -type TrueColor -strip -sampling-factor 2x2 -define jpeg:q-table=tables.xml -quality "$q" \
        -density 100 -units PixelsPerInch "$out"
}

# make_pdf OUT.pdf PAGE.jpg...
make_pdf() {
    local out=$1; shift
    img2pdf --engine internal --nodate --producer "" -o raw.pdf "$@"
    qpdf --deterministic-id raw.pdf "$OUT/$out"
}

# ---- text of the pages ----------------------------------------------------------

row() { printf '%3s  %-30s %4s %9s %9s\n' "$@"; }

cat > inv1001-1.txt <<EOF
ACME GmbH
Industriestrasse 12 - 10115 Berlin - Germany
Phone +49 30 1234567 - VAT ID DE123456789

INVOICE No. 1001                       Date 2024-03-04
Customer: Northwind Traders Ltd, 221 Baker Street, London
Customer No. K-20417             Order No. PO-55310

$(row Pos Description Qty Price Amount)
RULE
$(row 1 'Steel bolts M8 (box of 100)' 2 12.50 25.00)
$(row 2 'Hex nuts M8 (box of 100)' 2 6.40 12.80)
$(row 3 'Washers 8.4 mm (box of 200)' 1 4.95 4.95)
$(row 4 'Cable ties 300 mm (pack)' 3 3.99 11.97)
$(row 5 'Drill bit set HSS 19 pieces' 1 29.90 29.90)
$(row 6 'Shipping and handling' 1 19.12 19.12)

                                   Net total       103.74
                                   VAT 19 pct       19.71
                                   Total EUR       123.45

Payment due within 14 days without deduction.
Bank: Commerzbank Frankfurt - BIC BANKDEFF
IBAN DE89 3704 0044 0532 0130 00
Please quote the invoice number with your payment.
Scan the code below to pay with your banking app.

Continued on page 2.
EOF

cat > inv1001-2.txt <<EOF
ACME GmbH - Invoice 1001 - page 2 of 2

Terms of delivery and payment

1. All prices are in euro and exclude value added
   tax unless stated otherwise.
2. Goods remain our property until paid in full.
3. Complaints about visible defects must reach us
   in writing within eight days of delivery.
4. Late payments bear interest at the statutory
   rate; reminders are charged at 5.00 EUR each.
5. Returns are accepted only in their original
   packing and after prior agreement.
6. Place of performance and jurisdiction is Berlin.

Delivery notes
  Delivery note DN-88120 of 2024-03-01
  Carrier: Spedition Nord, tracking SN 4471 2290
  Packages: 2, gross weight 14.6 kg

Contact for questions about this invoice
  Accounts receivable, Ms. J. Berger
  Phone +49 30 1234567-21
  accounts@acme.example

Thank you for your order.

ACME GmbH - Managing director: P. Hoffmann
Register court Berlin HRB 123456
EOF

cat > inv1002.txt <<EOF
ACME GmbH
Industriestrasse 12 - 10115 Berlin - Germany
Phone +49 30 1234567 - VAT ID DE123456789

INVOICE No. 1002                       Date 2024-03-06
Customer: Globex Office Supplies, 9 Rue Lafayette, Paris
Customer No. K-20533             Order No. GX-2024-117

$(row Pos Description Qty Price Amount)
RULE
$(row 1 'Office chair, ergonomic' 2 189.00 378.00)
$(row 2 'Desk lamp LED' 4 34.50 138.00)
$(row 3 'Monitor arm, dual' 2 79.96 159.92)
$(row 4 'Installation (hours)' 2 77.00 154.00)

                                   Net total       829.92
                                   VAT 19 pct      157.68
                                   Total EUR       987.60

Payment due within 14 days without deduction.
Bank: Commerzbank Frankfurt - BIC BANKDEFF
IBAN DE89 3704 0044 0532 0130 00
Please quote the invoice number with your payment.
Scan the code below to pay with your banking app.

Delivered on 2024-03-05, installed on site.
Warranty: 24 months from the date of delivery.
Thank you for your order.

ACME GmbH - Managing director: P. Hoffmann
Register court Berlin HRB 123456
EOF

cat > inv1003-1.txt <<EOF
ACME GmbH
Industriestrasse 12 - 10115 Berlin - Germany
Phone +49 30 1234567 - VAT ID DE123456789

INVOICE No. 1003                       Date 2024-03-08
Customer: Initech Systems, Bahnhofstrasse 40, Zurich
Customer No. K-20611             Order No. IS-7730

$(row Pos Description Qty Price Amount)
RULE
$(row 1 'Network switch 24 ports' 1 249.00 249.00)
$(row 2 'Patch cable Cat6 2 m' 20 3.20 64.00)
$(row 3 'Rack shelf 19 inch' 2 38.50 77.00)
$(row 4 'Configuration (hours)' 3 77.00 231.00)
$(row 5 'Shipping and handling' 1 24.00 24.00)

                                   Net total       645.00
                                   VAT 19 pct      122.55
                                   Total EUR       767.55

Payment by bank transfer within 30 days.
Bank: Commerzbank Frankfurt - BIC BANKDEFF
IBAN DE89 3704 0044 0532 0130 00
Please quote the invoice number with your payment.

Goods are shipped separately; see the delivery note.

ACME GmbH - Managing director: P. Hoffmann
Register court Berlin HRB 123456
EOF

cat > inv1003-2.txt <<EOF
ACME GmbH
Delivery note DN-88164
for invoice 1003

Ship to: Initech Systems
         Bahnhofstrasse 40
         8001 Zurich, Switzerland

$(row Pos Description Qty '' '')
RULE
$(row 1 'Network switch 24 ports' 1 '' '')
$(row 2 'Patch cable Cat6 2 m' 20 '' '')
$(row 3 'Rack shelf 19 inch' 2 '' '')
$(row 4 'Mounting screws M6 (bag)' 4 '' '')
$(row 5 'Installation guide (printed)' 1 '' '')

Packages: 1, gross weight 9.2 kg
Shipped on 2024-03-08 by letter post, franked.
Configuration work is done on site and not shipped.

Please check the goods on receipt and report
any damage in transport within three days.

Received in good order:

Date ______________   Signature ______________

Please keep this note with your records.
ACME GmbH - Industriestrasse 12 - 10115 Berlin
EOF

# Plain prose pages: lines of a fixed text, from line $2, $3 lines long.
cat > prose.txt <<'EOF'
Minutes of the quarterly planning meeting
Present: A. Keller, B. Novak, C. Duarte, D. Lindqvist
Apologies: E. Moreau

1. Opening and approval of the agenda
The chair opened the meeting at ten o'clock and the
agenda was approved without changes.

2. Review of the last quarter
Sales grew by four per cent against the same quarter
last year. The new warehouse in Leipzig started work
on schedule and now ships most orders within a day.
Returns fell slightly after the packing was changed.

3. Budget for the coming quarter
The finance team presented the draft budget. Travel
costs are to be kept at last year's level; the money
saved goes into training for the service staff.
The budget was approved with one abstention.

4. Projects
The move of the customer files to the new archive is
half done. Scanned letters are now split by separator
sheets before they are filed, which saves about two
hours a week in the post room.

5. Any other business
The summer outing will take place on the last Friday
of June. Volunteers for the organising team should
write to the staff office by the end of the month.

The next meeting is planned for the first Monday of
the next quarter. The chair closed the meeting at
half past eleven.
Packing list for shipment 2024-117
Contents checked against the order before sealing.
Box 1: documents, manuals and spare keys
Box 2: cables, adapters and spare screws
Box 3: two monitors in their original packing
Box 4: keyboards, mice and a docking station
Box 5: the printer with its toner cartridges
Gross weight of all boxes: 41.5 kg
Packed by: R. Svensson, checked by: T. Okafor
Handle with care. Keep dry. This side up.
Deliver to the reception on the ground floor.
Call ahead on +49 30 1234567-40 before delivery.
EOF
prose() { sed -n "$1,$(($1 + $2 - 1))p" prose.txt; }

# ---- codes ----------------------------------------------------------------------

for n in 1001 1002 1003; do
    qrencode -l M -s 13 -m 0 -o "sep$n.png" "INV-$n"              # 21 modules, 273 px
done
printf 'BCD\n002\n1\nSCT\nBANKDEFF\nACME GmbH\nDE89370400440532013000\nEUR123.45' \
    | qrencode -l M -s 4 -m 0 -o pay1001.png                        # 37 modules, 148 px
printf 'BCD\n002\n1\nSCT\nBANKDEFF\nACME GmbH\nDE89370400440532013000\nEUR987.60' \
    | qrencode -l M -s 4 -m 0 -o pay1002.png
zint -b 20 --scale=1.5 --height=25 -d 'POST-778812' -o frank.png   # Code 128, 3 px bars
qrencode -l M -s 8 -m 0 -o track.png 'https://example.com/track?id=77'
zint -b 20 --scale=1.5 --height=40 --notext -d 'BOX-0042' -o box.png  # 3 px bars

# place IMAGE X Y: multiply a code onto the page, its white taking the paper's colour
place() { PLACE_ARGS=(\( "$1" -colorspace Gray \) -geometry "+$2+$3" -compose Multiply -composite); }
# centred_x IMAGE: the x that centres IMAGE on the page
centred_x() { echo $(((W - $("$IDENTIFY" -format %w "$1")) / 2)); }

separator() { # OUT.jpg SEED NUMBER
    local qr="sep$3.png" x y
    x=$(centred_x "$qr"); y=$(((H - $("$IDENTIFY" -format %h "$qr")) / 2 - 40))
    place "$qr" "$x" "$y"
    grey_page "$1" "$2" 30 "${PLACE_ARGS[@]}" -compose Over \
        -font "$BOLD" -pointsize 28 -fill 'gray(25)' -gravity North \
        -annotate "+0+$((y + $("$IDENTIFY" -format %h "$qr") + 30))" "INVOICE $3" -gravity NorthWest
}

text_page() { # OUT.jpg SEED TEXTFILE [more operations]
    local out=$1 seed=$2 file=$3; shift 3
    text_args "$file"
    grey_page "$out" "$seed" 20 -font "$MONO" -pointsize 12 -fill 'gray(10)' "${TEXT_ARGS[@]}" "$@"
}

# ---- 1: scanned invoices ----------------------------------------------------------

separator s1.jpg 101 1001
place pay1001.png $((W - 60 - 148)) $((H - 60 - 148)); text_page s2.jpg 102 inv1001-1.txt "${PLACE_ARGS[@]}"
text_page s3.jpg 103 inv1001-2.txt
separator s4.jpg 104 1002
place pay1002.png $((W - 60 - 148)) $((H - 60 - 148)); text_page s5.jpg 105 inv1002.txt "${PLACE_ARGS[@]}"
separator s6.jpg 106 1003
text_page s7.jpg 107 inv1003-1.txt
# Where 3 px bars fall against the JPEG's 8x8 blocks decides whether zbar still reads them
# at quality 20: x = 3 modulo 8 reads.
x=$((W - 50 - $("$IDENTIFY" -format %w frank.png))); x=$((x - x % 8 + 3))
place frank.png "$x" 40; text_page s8.jpg 108 inv1003-2.txt "${PLACE_ARGS[@]}"
make_pdf scanned-invoices-payment-qr.pdf s1.jpg s2.jpg s3.jpg s4.jpg s5.jpg s6.jpg s7.jpg s8.jpg

# ---- 2: coloured sheets -------------------------------------------------------------

white_base() { # OUT.png TEXTFILE [more operations]
    local out=$1 file=$2; shift 2
    text_args "$file"
    "$CONVERT" -size ${W}x$H 'xc:rgb(246,246,242)' -font "$MONO" -pointsize 12 \
        -fill 'rgb(25,25,30)' "${TEXT_ARGS[@]}" "$@" -blur 0x0.7 "$out"
}
prose 1 25 > c1.txt;  white_base c1.png c1.txt
# yellow paper: (250,235,90) with a darker band along the edges
"$CONVERT" -size ${W}x$H 'xc:rgb(226,212,78)' -fill 'rgb(250,235,90)' \
    -draw "rectangle 14,14 $((W - 15)),$((H - 15))" -blur 0x5 c2.png
prose 7 25 > c3.txt;  white_base c3.png c3.txt
prose 12 24 > c4.txt; white_base c4.png c4.txt
# pastel yellow paper (255,245,130) with a faint grey pencil scribble
"$CONVERT" -size ${W}x$H 'xc:rgb(255,245,130)' -fill none -stroke 'rgb(150,145,110)' \
    -strokewidth 2 -draw "bezier 560,930 600,890 630,960 670,915 700,880 720,950 745,925" \
    -draw "bezier 575,965 640,975 700,960 740,970" -blur 0x0.6 c5.png
prose 16 26 > c6.txt;  white_base c6.png c6.txt
# a text page with one line marked by a broad yellow highlighter: a 700x41 band, 0.03 of
# the page
prose 7 25 > c7.txt
white_base c7.png c7.txt \( -size 700x41 'xc:rgb(255,240,80)' \) \
    -geometry "+$((LEFT - 8))+$((TOP + 10 * LINE - 26))" -compose Multiply -composite
rgb_page c1.jpg 201 20 5 c1.png
rgb_page c2.jpg 202 40 8 c2.png
rgb_page c3.jpg 203 20 5 c3.png
rgb_page c4.jpg 204 20 5 c4.png
rgb_page c5.jpg 205 40 6 c5.png
rgb_page c6.jpg 206 20 5 c6.png
rgb_page c7.jpg 207 20 5 c7.png
make_pdf coloured-sheets-yellow-pastel.pdf c1.jpg c2.jpg c3.jpg c4.jpg c5.jpg c6.jpg c7.jpg

# ---- 3: a sheet with a QR code and a Code 128 ------------------------------------------

prose 1 28 > k1.txt;  text_page k1.jpg 301 k1.txt
place track.png "$(centred_x track.png)" 220; qr_args=("${PLACE_ARGS[@]}")
place box.png "$(centred_x box.png)" 800
grey_page k2.jpg 302 30 "${qr_args[@]}" "${PLACE_ARGS[@]}"
prose 7 28 > k3.txt;  text_page k3.jpg 303 k3.txt
prose 35 12 > k4.txt;  text_page k4.jpg 304 k4.txt
prose 12 24 > k5.txt; text_page k5.jpg 305 k5.txt
make_pdf code-sheet-qr-and-code128.pdf k1.jpg k2.jpg k3.jpg k4.jpg k5.jpg
