#!/usr/bin/python3
"""Lays every generated picture out on one sheet over mid-grey (so alpha and
shadows show), each labelled with its id, plus a few pictures composed the way
the program shows them.  Usage: contact_sheet.py [output.png] [zoom]"""

import os
import sys

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PNG_DIR = os.path.join(ROOT, "res", "png")
GREY = (128, 128, 128, 255)


def load(pid):
    return Image.open(os.path.join(PNG_DIR, "%d.png" % pid)).convert("RGBA")


def over(base, pic, xy):
    base.alpha_composite(pic, xy)


def composed():
    """The windows as the program assembles them, over grey."""
    shots = []
    # start page: frame, background, close, start button, check box
    f = load(131)
    f.alpha_composite(load(132), (5, 4))
    f.alpha_composite(load(133), (5 + 564, 4))
    f.alpha_composite(load(137), (5 + 170, 4 + 275))
    f.alpha_composite(load(143).crop((16, 0, 32, 16)), (5 + 8, 4 + 427))
    shots.append(f)
    # operations window
    f = load(141)
    f.alpha_composite(load(142), (5, 4))
    f.alpha_composite(load(150), (5 + 340, 4))
    f.alpha_composite(load(144), (5 + 368, 4))
    f.alpha_composite(load(177), (5 + 71, 4 + 220))
    f.alpha_composite(load(208), (5 + 50, 4 + 540))
    shots.append(f)
    # feedback window
    f = load(171)
    f.alpha_composite(load(172), (5, 4))
    f.alpha_composite(load(173), (5 + 382, 4 + 6))
    for pid, y in ((181, 154), (186, 254), (204, 354)):
        f.alpha_composite(load(pid), (5 + 67, 4 + y))
    shots.append(f)
    # prompt
    f = load(154)
    f.alpha_composite(load(155), (5, 3))
    f.alpha_composite(load(159), (5 + 294, 3 + 8))
    f.alpha_composite(load(165), (5 + 94, 3 + 105))
    f.alpha_composite(load(156), (5 + 171, 3 + 105))
    shots.append(f)
    # progress popup as drawn at its fixed scale 1.2, 50 percent
    f = load(148).resize((278, 158), Image.BICUBIC)
    inner = load(149).resize((244, 124), Image.BICUBIC)
    inner.alpha_composite(load(201), (30, 124 - 25))
    inner.alpha_composite(load(202).crop((0, 0, 100, 9)), (30, 124 - 25))
    d = ImageDraw.Draw(inner)
    d.text((117, 124 - 27), "50%", fill=(0, 0, 0, 255))
    d.text((30, 56), "status line here", fill=(255, 255, 255, 255))
    f.alpha_composite(inner, (16, 14))
    shots.append(f)
    # start page with the agreement callout shown over it
    f = load(131)
    f.alpha_composite(load(132), (5, 4))
    f.alpha_composite(load(185).resize((504, 322), Image.BICUBIC), (5 + 48, 4 + 108))
    f.alpha_composite(load(143).crop((16, 0, 32, 16)), (5 + 8, 4 + 427))
    shots.append(f)
    # hover and pressed overlays drawn over the normal picture, as the button does
    for base, states in ((137, (138, 139)), (177, (178, 179)), (181, (182, 183)),
                         (186, (187, 188)), (204, (205, 206))):
        for st in states:
            pic = load(base)
            pic.alpha_composite(load(st))
            shots.append(pic)
    return shots


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "/tmp/contact_sheet.png"
    zoom = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    ids = sorted(int(n[:-4]) for n in os.listdir(PNG_DIR) if n.endswith(".png"))
    width = 1700
    x = y = 10
    row_h = 0
    placed = []
    for shot in composed():
        if x + shot.width > width:
            x, y, row_h = 10, y + row_h + 24, 0
        placed.append((None, shot, x, y))
        x += shot.width + 14
        row_h = max(row_h, shot.height)
    x, y, row_h = 10, y + row_h + 30, 0
    for pid in ids:
        pic = load(pid)
        if pid in (131, 141, 171, 142, 132):
            continue  # shown composed above
        if x + pic.width > width:
            x, y, row_h = 10, y + row_h + 24, 0
        placed.append((pid, pic, x, y))
        x += max(pic.width, 30) + 14
        row_h = max(row_h, pic.height)
    sheet = Image.new("RGBA", (width, y + row_h + 30), GREY)
    d = ImageDraw.Draw(sheet)
    for pid, pic, px, py in placed:
        sheet.alpha_composite(pic, (px, py))
        if pid is not None:
            d.text((px, py + pic.height + 2), str(pid), fill=(255, 255, 255, 255))
    if zoom > 1:
        sheet = sheet.resize((sheet.width * zoom, sheet.height * zoom), Image.NEAREST)
    sheet.convert("RGB").save(out)
    print(out, sheet.size)


if __name__ == "__main__":
    main()
