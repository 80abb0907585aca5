#!/usr/bin/python3
"""Draws every picture of the program into res/.

Run with the Debian python3 (python3-pil) from the repository root or from
anywhere: paths are taken relative to this file.  Output is deterministic:
no randomness, no timestamps, no PNG text chunks, so a rerun produces the
same bytes and git shows only real changes.

Fonts: Noto Sans CJK SC (Debian package fonts-noto-cjk).
"""

import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
PNG_DIR = os.path.join(RES, "png")

FONT_REGULAR = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
FONT_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_SC_INDEX = 2  # "Noto Sans CJK SC" inside the collection

SS = 4  # supersampling factor for shapes

# ---------------------------------------------------------------- palette
NAVY_TOP = (9, 27, 68)
NAVY_MID = (16, 52, 128)
BLUE_DEEP = (20, 74, 176)
CYAN = (0, 198, 255)
LIGHT_BAND = (241, 242, 246)
WHITE = (255, 255, 255)
TEXT_DARK = (51, 56, 66)
TEXT_GREY = (120, 126, 138)
TEXT_SOFT = (170, 200, 240)
SHADOW = (4, 14, 36)

BTN_BLUE = ((64, 156, 255), (22, 100, 236))          # top, bottom
BTN_BLUE_BRIGHT = ((102, 184, 255), (46, 128, 250))
BTN_BLUE_DARK = ((40, 124, 226), (14, 78, 196))
BTN_GREY = ((196, 200, 208), (160, 165, 176))
BTN_VIOLET = ((136, 132, 178), (98, 94, 146))
BTN_VIOLET_BRIGHT = ((160, 156, 202), (120, 116, 170))
BTN_VIOLET_DARK = ((112, 108, 156), (80, 76, 126))

_font_cache = {}


def font(size, bold=False):
    key = (size, bold)
    if key not in _font_cache:
        path = FONT_BOLD if bold else FONT_REGULAR
        _font_cache[key] = ImageFont.truetype(path, size, index=FONT_SC_INDEX)
    return _font_cache[key]


# ---------------------------------------------------------------- helpers
def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(x, y, t))) for x, y in zip(c1, c2))


def vgradient(w, h, stops):
    """Vertical gradient through (position 0..1, colour) stops, RGB."""
    col = Image.new("RGB", (1, h))
    px = col.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if t <= p1 or i == len(stops) - 2:
                u = 0.0 if p1 == p0 else min(1.0, max(0.0, (t - p0) / (p1 - p0)))
                px[0, y] = mix(c0, c1, u)
                break
    return col.resize((w, h), Image.NEAREST)


def hgradient(w, h, stops):
    return vgradient(h, w, stops).transpose(Image.TRANSPOSE)


def glow(img, centre, radius, colour, strength):
    """Adds a soft radial light spot (screen-like, additive)."""
    w, h = img.size
    mask = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(mask)
    cx, cy = centre
    rx, ry = radius if isinstance(radius, tuple) else (radius, radius)
    d.ellipse((cx - rx, cy - ry, cx + rx, cy + ry), fill=int(255 * strength))
    mask = mask.filter(ImageFilter.GaussianBlur(max(rx, ry) * 0.45))
    layer = Image.new("RGB", (w, h), colour)
    base = img.convert("RGB")
    lit = ImageChops.screen(base, layer)
    out = Image.composite(lit, base, mask)
    if img.mode == "RGBA":
        out = out.convert("RGBA")
        out.putalpha(img.getchannel("A"))
    return out


def ss_mask(w, h, painter):
    """Antialiased L mask: painter(draw, k) draws with coordinates scaled by k."""
    big = Image.new("L", (w * SS, h * SS), 0)
    painter(ImageDraw.Draw(big), SS)
    return big.reduce(SS)


def rrect_mask(w, h, box, radius):
    x0, y0, x1, y1 = box

    def paint(d, k):
        d.rounded_rectangle((x0 * k, y0 * k, x1 * k - 1, y1 * k - 1),
                            radius=radius * k, fill=255)
    return ss_mask(w, h, paint)


def paste_colour(img, colour, mask):
    layer = Image.new(img.mode, img.size, colour if img.mode == "RGB" else colour + (255,))
    if img.mode == "RGBA":
        layer.putalpha(ImageChops.multiply(mask, Image.new("L", img.size, 255)))
        img.alpha_composite(layer)
    else:
        img.paste(layer, (0, 0), mask)


def fill_with(img, source, mask):
    """Paints source (same size, RGB or RGBA) onto img through mask."""
    if img.mode == "RGBA":
        src = source.convert("RGBA")
        a = ImageChops.multiply(src.getchannel("A"), mask)
        src.putalpha(a)
        img.alpha_composite(src)
    else:
        img.paste(source.convert("RGB"), (0, 0), mask)


def text_ink(text, fnt):
    """Renders text into an L mask cropped to its ink."""
    l, t, r, b = fnt.getbbox(text)
    pad = 4
    m = Image.new("L", (r - l + 2 * pad, b - t + 2 * pad), 0)
    ImageDraw.Draw(m).text((pad - l, pad - t), text, font=fnt, fill=255)
    box = m.getbbox()
    return m.crop(box) if box else m


def draw_text(img, xy, text, fnt, colour, align="left", valign="centre"):
    """Places the ink of text: x is its left/centre/right, y its centre/top."""
    ink = text_ink(text, fnt)
    x, y = xy
    if align == "centre":
        x = x - ink.width / 2
    elif align == "right":
        x = x - ink.width
    if valign == "centre":
        y = y - ink.height / 2
    x, y = int(round(x)), int(round(y))
    layer = Image.new("RGBA", ink.size, colour + (255,))
    layer.putalpha(ink)
    if img.mode == "RGBA":
        img.alpha_composite(layer, (x, y))
    else:
        img.paste(layer.convert("RGB"), (x, y), ink)
    return ink.width, ink.height


def text_shadowed(img, xy, text, fnt, colour, align="left", shadow_alpha=110):
    ink = text_ink(text, fnt)
    x, y = xy
    if align == "centre":
        x -= ink.width / 2
    y -= ink.height / 2
    x, y = int(round(x)), int(round(y))
    sh = Image.new("L", img.size, 0)
    sh.paste(ink, (x, y + 1))
    sh = sh.filter(ImageFilter.GaussianBlur(1.2)).point(lambda v: v * shadow_alpha // 255)
    paste_colour(img, SHADOW, sh)
    draw_text(img, (x, y), text, fnt, colour, valign="top")


def edge_ramp(w, h, margins):
    """L mask that is 255 inside and falls to 0 at the outer pixel ring, each
    side over its own margin, so a shadow never ends in a hard cut."""
    l, t, r, b = margins

    def ramp(n, lead, trail):
        vals = []
        for i in range(n):
            v = 1.0
            if lead and i < lead:
                v = min(v, i / lead)
            if trail and n - 1 - i < trail:
                v = min(v, (n - 1 - i) / trail)
            vals.append(int(round(255 * v ** 1.1)))
        return vals

    row = Image.new("L", (w, 1))
    row.putdata(ramp(w, l, r))
    col = Image.new("L", (1, h))
    col.putdata(ramp(h, t, b))
    return ImageChops.darker(row.resize((w, h), Image.NEAREST), col.resize((w, h), Image.NEAREST))


def shadow_alpha(w, h, box, radius, blur, strength, drop=1):
    x0, y0, x1, y1 = box
    m = rrect_mask(w, h, (x0, y0 + drop, x1, y1 + drop), radius)
    m = m.filter(ImageFilter.GaussianBlur(blur))
    return m.point(lambda v: int(v * strength))


# ---------------------------------------------------------------- emblem
def emblem(size, face=(36, 150, 255), face2=(12, 92, 220), rim=WHITE, mark=WHITE):
    """Shield with a wrench: the product logo, RGBA size x size."""
    s = size

    def shield(d, k, inset=0.0, fill=255):
        pts = []
        cx = s / 2
        top = s * 0.06 + inset
        left = s * 0.12 + inset
        right = s * 0.88 - inset
        bottom = s * 0.96 - inset
        pts.append((cx, top))
        pts.append((right, top + s * 0.12))
        steps = 16
        for i in range(steps + 1):
            t = i / steps
            # right flank curving down to the point
            x = lerp(right, cx, t ** 1.6)
            y = lerp(top + s * 0.12, bottom, math.sin(t * math.pi / 2))
            pts.append((x, y))
        for i in range(steps + 1):
            t = 1 - i / steps
            x = lerp(left, cx, t ** 1.6)
            y = lerp(top + s * 0.12, bottom, math.sin(t * math.pi / 2))
            pts.append((x, y))
        pts.append((left, top + s * 0.12))
        d.polygon([(x * k, y * k) for x, y in pts], fill=fill)

    out = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    outer = ss_mask(s, s, lambda d, k: shield(d, k))
    inner = ss_mask(s, s, lambda d, k: shield(d, k, inset=s * 0.07))
    paste_colour(out, rim, outer)
    grad = vgradient(s, s, [(0, face), (1, face2)]).convert("RGBA")
    fill_with(out, grad, inner)

    # wrench: a ring head with a notch and a handle, white
    def wrench(d, k):
        cx, cy = s * 0.5, s * 0.5
        ang = math.radians(45)
        hl = s * 0.30
        hw = s * 0.085
        ux, uy = math.cos(ang), math.sin(ang)
        px_, py_ = -uy, ux
        hx, hy = cx - ux * s * 0.08, cy - uy * s * 0.08
        ex, ey = hx + ux * hl, hy + uy * hl
        poly = [(hx + px_ * hw, hy + py_ * hw), (ex + px_ * hw, ey + py_ * hw),
                (ex - px_ * hw, ey - py_ * hw), (hx - px_ * hw, hy - py_ * hw)]
        d.polygon([(x * k, y * k) for x, y in poly], fill=255)
        d.ellipse(((ex - hw) * k, (ey - hw) * k, (ex + hw) * k, (ey + hw) * k), fill=255)
        r = s * 0.17
        hcx, hcy = hx - ux * r * 0.55, hy - uy * r * 0.55
        d.ellipse(((hcx - r) * k, (hcy - r) * k, (hcx + r) * k, (hcy + r) * k), fill=255)
        # jaw notch
        nr = r * 0.52
        nx, ny = hcx - ux * r * 0.55, hcy - uy * r * 0.55
        d.ellipse(((nx - nr) * k, (ny - nr) * k, (nx + nr) * k, (ny + nr) * k), fill=0)
        nw = nr * 0.8
        tx, ty = nx - ux * r, ny - uy * r
        poly = [(nx + px_ * nw, ny + py_ * nw), (tx + px_ * nw, ty + py_ * nw),
                (tx - px_ * nw, ty - py_ * nw), (nx - px_ * nw, ny - py_ * nw)]
        d.polygon([(x * k, y * k) for x, y in poly], fill=0)

    def tick(d, k):
        d.line([(s * 0.30 * k, s * 0.50 * k), (s * 0.45 * k, s * 0.65 * k),
                (s * 0.71 * k, s * 0.36 * k)], fill=255, width=int(s * 0.13 * k), joint="curve")

    # below 20 px the wrench turns to mush: a tick reads better
    wm = ss_mask(s, s, tick if s < 20 else wrench)
    wm = ImageChops.multiply(wm, inner)
    paste_colour(out, mark, wm)
    return out


def tools_emblem(size):
    """Round blue badge with a white toolbox: the 'tools' mark of the panel."""
    s = size
    out = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    disc = ss_mask(s, s, lambda d, k: d.ellipse((0, 0, s * k - 1, s * k - 1), fill=255))
    grad = vgradient(s, s, [(0, (90, 170, 255)), (1, (30, 108, 236))]).convert("RGBA")
    fill_with(out, grad, disc)

    def box(d, k):
        d.rounded_rectangle((s * 0.38 * k, s * 0.24 * k, s * 0.62 * k, s * 0.42 * k),
                            radius=s * 0.05 * k, outline=255, width=int(s * 0.055 * k))
        d.rounded_rectangle((s * 0.22 * k, s * 0.36 * k, s * 0.78 * k, s * 0.74 * k),
                            radius=s * 0.07 * k, fill=255)

    def band(d, k):
        d.rectangle((s * 0.22 * k, s * 0.50 * k, s * 0.78 * k, s * 0.54 * k), fill=255)
        d.rounded_rectangle((s * 0.45 * k, s * 0.46 * k, s * 0.55 * k, s * 0.59 * k),
                            radius=s * 0.02 * k, fill=255)

    paste_colour(out, WHITE, ImageChops.multiply(ss_mask(s, s, box), disc))
    cut = ss_mask(s, s, band)
    fill_with(out, grad, cut)
    # latch stays white inside the band
    latch = ss_mask(s, s, lambda d, k: d.rounded_rectangle(
        (s * 0.47 * k, s * 0.48 * k, s * 0.53 * k, s * 0.57 * k), radius=s * 0.01 * k, fill=255))
    paste_colour(out, WHITE, latch)
    return out


# ---------------------------------------------------------------- backgrounds
def dark_backdrop(w, h, bottom=BLUE_DEEP):
    img = vgradient(w, h, [(0, NAVY_TOP), (0.55, NAVY_MID), (1, bottom)])
    return img


def add_rings(img, centre, radii, alpha=18, colour=(120, 180, 255)):
    """Thin translucent circles: a quiet technical pattern."""
    w, h = img.size

    def paint(d, k):
        cx, cy = centre
        for r in radii:
            d.ellipse(((cx - r) * k, (cy - r) * k, (cx + r) * k, (cy + r) * k),
                      outline=alpha, width=max(1, int(1.2 * k)))
    m = ss_mask(w, h, paint)
    paste_colour(img, colour, m)


def logo_block(img, x, y, emblem_size=26, word_size=18, subtitle=None):
    em = emblem(emblem_size)
    base = img if img.mode == "RGBA" else None
    if base is not None:
        img.alpha_composite(em, (x, y))
    else:
        img.paste(em.convert("RGB"), (x, y), em.getchannel("A"))
    tx = x + emblem_size + 8
    cy = y + emblem_size / 2
    wdw, _ = draw_text(img, (tx, cy), "泽沃", font(word_size, True), WHITE)
    if subtitle:
        draw_text(img, (tx + wdw + 8, cy + 1), subtitle, font(11), TEXT_SOFT)


def wave_band(img, top, colour, amp=8, phase=0.0, periods=1.2, under=None):
    """Fills from a gentle wave line down to the bottom with colour."""
    w, h = img.size

    def paint(d, k):
        pts = []
        for i in range(0, w * k + 1, k):
            x = i / k
            y = top + amp * math.sin(phase + x / w * periods * 2 * math.pi)
            pts.append((x * k, y * k))
        pts += [(w * k, h * k), (0, h * k)]
        d.polygon(pts, fill=255)
    m = ss_mask(w, h, paint)
    paste_colour(img, colour, m)
    return m


def start_background():
    w, h = 600, 450
    img = dark_backdrop(w, h)
    img = glow(img, (300, 150), (260, 150), (40, 110, 230), 0.55)
    img = glow(img, (470, 40), (160, 90), (30, 90, 200), 0.35)
    add_rings(img, (300, 118), [56, 84, 118, 160, 210], alpha=16)
    # bottom: translucent back wave, then the flat light band
    back = wave_band(img, 384, (120, 160, 225), amp=9, phase=1.0, periods=1.0)
    wave_band(img, 398, LIGHT_BAND, amp=7, phase=3.6, periods=1.3)
    ImageDraw.Draw(img).rectangle((0, 412, w - 1, h - 1), fill=LIGHT_BAND)
    del back
    logo_block(img, 20, 14, 26, 18, "Zorvex")
    em = emblem(84)
    halo = Image.new("L", (w, h), 0)
    ImageDraw.Draw(halo).ellipse((300 - 52, 118 - 52, 300 + 52, 118 + 52), fill=90)
    halo = halo.filter(ImageFilter.GaussianBlur(18))
    paste_colour(img, (60, 170, 255), halo)
    img.paste(em.convert("RGB"), (300 - 42, 118 - 42), em.getchannel("A"))
    text_shadowed(img, (300, 200), "系统文件修复工具", font(34, True), WHITE, align="centre")
    draw_text(img, (300, 240), "一键扫描并修复损坏的系统文件，让电脑恢复稳定运行",
              font(14), TEXT_SOFT, align="centre")
    draw_text(img, (588, 435), "泽沃 Zorvex · 安全 · 专业", font(11), (160, 166, 180),
              align="right")
    return img


def ops_background():
    w, h = 400, 600
    img = dark_backdrop(w, 360, bottom=(22, 86, 196))
    full = Image.new("RGB", (w, h), WHITE)
    full.paste(img, (0, 0))
    img = full
    img = glow(img, (200, 262), (200, 110), (40, 120, 240), 0.5)
    add_rings(img, (200, 112), [56, 86], alpha=14)
    back = wave_band(img, 330, (96, 150, 228), amp=8, phase=0.6, periods=1.0)
    del back
    wave_band(img, 344, WHITE, amp=7, phase=3.0, periods=1.2)
    ImageDraw.Draw(img).rectangle((0, 352, w - 1, h - 1), fill=WHITE)
    logo_block(img, 16, 10, 24, 17, "系统文件修复")
    text_shadowed(img, (200, 128), "让系统恢复健康稳定", font(28, True), WHITE, align="centre")
    draw_text(img, (200, 168), "自动扫描并修复损坏或丢失的系统文件", font(13), TEXT_SOFT,
              align="centre")
    d = ImageDraw.Draw(img)
    # lower panel: two notes beside the tools emblem
    te = tools_emblem(40)
    img.paste(te.convert("RGB"), (28, 376), te.getchannel("A"))
    tx = 84
    draw_text(img, (tx, 386), "支持系统", font(14, True), TEXT_DARK)
    draw_text(img, (tx, 410), "Windows 7 / 8 / 8.1 / 10 / 11", font(12), TEXT_GREY)
    draw_text(img, (tx, 428), "32 位与 64 位系统均可使用", font(12), TEXT_GREY)
    d.line((tx, 448, 372, 448), fill=(232, 235, 241))
    draw_text(img, (tx, 468), "使用须知", font(14, True), TEXT_DARK)
    notes = ["修复过程中请勿关闭电脑或断开网络",
             "在线修复需要下载系统组件，请耐心等待",
             "修复完成后建议重新启动电脑"]
    for i, line in enumerate(notes):
        y = 492 + i * 18
        d.ellipse((tx, y - 2, tx + 4, y + 2), fill=(64, 150, 255))
        draw_text(img, (tx + 10, y), line, font(12), TEXT_GREY)
    draw_text(img, (114, 549), "获取更多系统问题解决方案", font(11), (168, 172, 182))
    d.line((0, 573, w - 1, 573), fill=(236, 238, 243))
    return img


def feedback_background():
    w, h = 400, 468
    img = dark_backdrop(w, h, bottom=(24, 84, 190))
    img = glow(img, (200, 90), (200, 90), (40, 110, 230), 0.45)
    add_rings(img, (200, 300), [120, 170, 230], alpha=12)
    logo_block(img, 16, 10, 22, 15)
    text_shadowed(img, (200, 88), "本工具是否解决了您的问题？", font(22, True), WHITE,
                  align="centre")
    draw_text(img, (200, 122), "您的反馈将帮助我们把工具做得更好", font(13), TEXT_SOFT,
              align="centre")

    def ridge(d, k, points):
        pts = [(x * k, y * k) for x, y in points]
        pts += [(w * k, h * k), (0, h * k)]
        d.polygon(pts, fill=255)
    # peaks stay low under the buttons (x 67..333 end at y 414)
    far = [(0, 404), (28, 392), (52, 410), (84, 424), (118, 416), (150, 428), (186, 419),
           (214, 426), (250, 414), (282, 424), (316, 418), (344, 400), (366, 388), (386, 398),
           (400, 394)]
    mid = [(0, 430), (34, 418), (70, 436), (108, 424), (140, 440), (176, 428), (206, 438),
           (240, 426), (276, 440), (310, 430), (350, 416), (378, 428), (400, 422)]
    near = [(0, 452), (40, 440), (88, 454), (128, 446), (172, 458), (220, 446), (262, 456),
            (306, 444), (352, 454), (400, 442)]
    glow_m = ss_mask(w, h, lambda d, k: ridge(d, k, [(x, y - 2) for x, y in far]))
    paste_colour(img, (90, 150, 235), glow_m.filter(ImageFilter.GaussianBlur(3)).point(
        lambda v: v * 90 // 255))
    paste_colour(img, (46, 102, 200), ss_mask(w, h, lambda d, k: ridge(d, k, far)))
    paste_colour(img, (28, 72, 164), ss_mask(w, h, lambda d, k: ridge(d, k, mid)))
    paste_colour(img, (12, 42, 114), ss_mask(w, h, lambda d, k: ridge(d, k, near)))
    return img.convert("RGBA")


def prompt_background():
    w, h = 320, 140
    img = Image.new("RGB", (w, h), WHITE)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, 33), fill=(242, 244, 248))
    d.line((0, 34, w - 1, 34), fill=(226, 230, 237))
    em = emblem(16)
    img.paste(em.convert("RGB"), (12, 9), em.getchannel("A"))
    draw_text(img, (34, 17), "提示", font(13, True), TEXT_DARK)
    d.rectangle((0, 0, w - 1, h - 1), outline=(214, 219, 228))
    return img


def progress_background():
    w, h = 204, 104
    img = vgradient(w, h, [(0, (52, 132, 236)), (0.32, (30, 104, 214)),
                           (0.33, (26, 94, 204)), (1, (22, 82, 188))]).convert("RGBA")
    d = ImageDraw.Draw(img)
    header = Image.new("L", (w, h), 0)
    ImageDraw.Draw(header).rectangle((0, 0, w - 1, 33), fill=255)
    # glassy header: an even sheen plus a wide curved gloss
    paste_colour(img, WHITE, header.point(lambda v: v * 30 // 255))
    gloss = ss_mask(w, h, lambda d_, k: d_.ellipse((-40 * k, -36 * k, (w + 40) * k, 20 * k),
                                                   fill=44))
    paste_colour(img, WHITE, ImageChops.multiply(gloss, header))
    # keep the status line (y 36..70) and bar (y 74..98) zones flat
    d.rectangle((0, 36, w - 1, h - 1), fill=(26, 92, 200, 255))
    d.line((0, 34, w - 1, 34), fill=(90, 160, 245, 255))
    d.line((0, 35, w - 1, 35), fill=(20, 78, 180, 255))
    em = emblem(16, face=(120, 200, 255), face2=(40, 130, 240))
    img.alpha_composite(em, (9, 9))
    draw_text(img, (31, 17), "泽沃系统文件修复", font(12, True), WHITE)
    d.rectangle((0, 0, w - 1, h - 1), outline=(82, 150, 240, 255))
    return img


def callout():
    w, h = 541, 402
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    box = rrect_mask(w, h, (0, 0, w, 391), 4)
    paste_colour(img, (208, 214, 224), box)
    inner = rrect_mask(w, h, (1, 1, w - 1, 390), 3)
    paste_colour(img, WHITE, inner)

    def tail(d, k, inset):
        d.polygon([((77 + inset) * k, 389 * k), ((92 - inset) * k, 389 * k),
                   (84.5 * k, (401 - inset * 1.4) * k)], fill=255)
    paste_colour(img, (208, 214, 224), ss_mask(w, h, lambda d, k: tail(d, k, 0)))
    paste_colour(img, WHITE, ss_mask(w, h, lambda d, k: tail(d, k, 1.1)))
    ImageDraw.Draw(img).rectangle((79, 388, 90, 390), fill=WHITE + (255,))
    return img


# ---------------------------------------------------------------- frames
def frame(size, inner_box, content, radius=3, blur=2.4, strength=0.95, colour=SHADOW):
    w, h = size
    x0, y0, iw, ih = inner_box
    margins = (x0, y0, w - x0 - iw, h - y0 - ih)
    a = shadow_alpha(w, h, (x0 - 1, y0 - 1, x0 + iw + 1, y0 + ih + 1), radius, blur, strength,
                     drop=1)
    a = ImageChops.multiply(a, edge_ramp(w, h, margins))
    img = Image.new("RGBA", (w, h), colour + (0,))
    img.putalpha(a)
    c = content.convert("RGBA")
    c.putalpha(255)
    img.paste(c, (x0, y0))
    return img


def glass_frame(content):
    w, h = 232, 132
    x0, y0, iw, ih = 14, 12, 204, 104
    a = shadow_alpha(w, h, (x0 - 3, y0 - 3, x0 + iw + 3, y0 + ih + 3), 8, 5.0, 0.75, drop=2)
    a = ImageChops.multiply(a, edge_ramp(w, h, (x0, y0, w - x0 - iw, h - y0 - ih)))
    img = Image.new("RGBA", (w, h), (6, 30, 80, 0))
    img.putalpha(a)
    # translucent blue glass rim around the panel
    rim = rrect_mask(w, h, (x0 - 5, y0 - 5, x0 + iw + 5, y0 + ih + 5), 8)
    rim = rim.point(lambda v: v * 150 // 255)
    glass = vgradient(w, h, [(0, (120, 190, 255)), (1, (40, 110, 220))]).convert("RGBA")
    glass.putalpha(rim)
    img.alpha_composite(glass)
    hl = rrect_mask(w, h, (x0 - 5, y0 - 5, x0 + iw + 5, y0 + ih + 5), 8)
    hl_in = rrect_mask(w, h, (x0 - 4, y0 - 4, x0 + iw + 4, y0 + ih + 4), 7)
    edge = ImageChops.subtract(hl, hl_in).point(lambda v: v * 140 // 255)
    layer = Image.new("RGBA", (w, h), (200, 230, 255, 0))
    layer.putalpha(edge)
    img.alpha_composite(layer)
    c = content.convert("RGBA")
    c.putalpha(255)
    img.paste(c, (x0, y0))
    return img


# ---------------------------------------------------------------- buttons
def pill_button(size, face_box, radius, colours, caption, cap_size, shadow=True,
                cap_colour=WHITE, outline=None, icon=None, sheen=True, fill_alpha=255):
    """RGBA button face: gradient rounded rect, top sheen, caption, soft shadow."""
    w, h = size
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    x0, y0, x1, y1 = face_box
    if shadow:
        a = shadow_alpha(w, h, face_box, radius, 2.6, 0.45, drop=3)
        a = ImageChops.multiply(a, edge_ramp(w, h, (2, 1, 2, 2)))
        sh = Image.new("RGBA", (w, h), SHADOW + (0,))
        sh.putalpha(a)
        img.alpha_composite(sh)
    m = rrect_mask(w, h, face_box, radius)
    if fill_alpha < 255:
        m_fill = m.point(lambda v: v * fill_alpha // 255)
    else:
        m_fill = m
    top, bot = colours
    grad = Image.new("RGB", (w, h), top)
    grad.paste(vgradient(x1 - x0, y1 - y0, [(0, top), (1, bot)]), (x0, y0))
    fill_with(img, grad, m_fill)
    if sheen:
        hi = rrect_mask(w, h, (x0 + 1, y0 + 1, x1 - 1, y0 + (y1 - y0) // 2), radius)
        hi = ImageChops.multiply(hi, m).point(lambda v: v * 38 // 255)
        paste_colour(img, WHITE, hi)
        # 1 px inner highlight along the top edge
        ring = ImageChops.subtract(m, rrect_mask(w, h, (x0, y0 + 1, x1, y1), radius))
        paste_colour(img, WHITE, ring.point(lambda v: v * 90 // 255))
    if outline:
        col, width = outline
        ring = ImageChops.subtract(m, rrect_mask(w, h, (x0 + width, y0 + width, x1 - width,
                                                        y1 - width), max(1, radius - width)))
        paste_colour(img, col, ring)
    cx = (x0 + x1) / 2
    cy = (y0 + y1) / 2
    fnt = font(cap_size, True)
    if icon is not None:
        ink = text_ink(caption, fnt)
        gap = 8
        total = icon.width + gap + ink.width
        ix = int(round(cx - total / 2))
        img.alpha_composite(icon, (ix, int(round(cy - icon.height / 2))))
        draw_text(img, (ix + icon.width + gap, cy), caption, fnt, cap_colour)
    else:
        draw_text(img, (cx, cy), caption, fnt, cap_colour, align="centre")
    return img


def glyph_icon(kind, size, colour=WHITE):
    s = size

    def paint(d, k):
        lw = max(1, s * 0.13) * k
        if kind == "check":
            d.ellipse((0, 0, s * k - 1, s * k - 1), outline=255, width=int(lw * 0.8))
            d.line([(s * 0.27 * k, s * 0.52 * k), (s * 0.44 * k, s * 0.68 * k),
                    (s * 0.74 * k, s * 0.36 * k)], fill=255, width=int(lw), joint="curve")
        elif kind == "cross":
            d.ellipse((0, 0, s * k - 1, s * k - 1), outline=255, width=int(lw * 0.8))
            d.line([(s * 0.34 * k, s * 0.34 * k), (s * 0.66 * k, s * 0.66 * k)], fill=255,
                   width=int(lw))
            d.line([(s * 0.66 * k, s * 0.34 * k), (s * 0.34 * k, s * 0.66 * k)], fill=255,
                   width=int(lw))
        elif kind == "more":
            d.ellipse((0, 0, s * k - 1, s * k - 1), outline=255, width=int(lw * 0.8))
            for cx in (0.3, 0.5, 0.7):
                r = s * 0.065
                d.ellipse(((s * cx - r) * k, (s * 0.5 - r) * k, (s * cx + r) * k,
                           (s * 0.5 + r) * k), fill=255)
    m = ss_mask(s, s, paint)
    out = Image.new("RGBA", (s, s), colour + (0,))
    out.putalpha(m)
    return out


def four_states(size, face_box, radius, sets, caption, cap_size, icon_kind=None,
                icon_size=20, outline=None, fill_alpha=255):
    """normal, pressed, hover, disabled: pressed/hover carry no shadow because
    the button draws them over the normal picture."""
    out = []
    for i, (cols, cap_col) in enumerate(sets):
        icon = glyph_icon(icon_kind, icon_size, cap_col) if icon_kind else None
        out.append(pill_button(size, face_box, radius, cols, caption, cap_size,
                               shadow=(i in (0, 3)), cap_colour=cap_col, icon=icon,
                               outline=outline, fill_alpha=fill_alpha))
    return out


def crop_button(bg, box, painter):
    """RGB button cut from the background it sits on, then painted."""
    img = bg.convert("RGB").crop(box)
    painter(img)
    return img


def cross(img, box, colour, width, face=None, face_alpha=0):
    w, h = img.size
    if face is not None and face_alpha:
        layer = Image.new("RGB", (w, h), face)
        img.paste(Image.blend(img, layer, face_alpha / 255.0), (0, 0))
    x0, y0, x1, y1 = box

    def paint(d, k):
        d.line([(x0 * k, y0 * k), (x1 * k, y1 * k)], fill=255, width=int(width * k))
        d.line([(x1 * k, y0 * k), (x0 * k, y1 * k)], fill=255, width=int(width * k))
    img.paste(Image.new("RGB", (w, h), colour), (0, 0), ss_mask(w, h, paint))


def bar(img, box, colour, width):
    x0, y0, x1, y1 = box
    w, h = img.size
    m = ss_mask(w, h, lambda d, k: d.rectangle((x0 * k, y0 * k, x1 * k - 1, y1 * k - 1),
                                               fill=255))
    img.paste(Image.new("RGB", (w, h), colour), (0, 0), m)


def window_buttons(bg, left, kind):
    """Four 26x34 slots: normal, pressed (lighter), hover, disabled (dim)."""
    box = (left, 0, left + 26, 34)
    looks = [(WHITE, None, 0), (WHITE, (255, 255, 255), 70), (WHITE, (255, 255, 255), 40),
             ((120, 140, 176), None, 0)]
    out = []
    for colour, face, alpha in looks:
        def paint(img, colour=colour, face=face, alpha=alpha):
            if face is not None:
                layer = Image.new("RGB", img.size, face)
                img.paste(Image.blend(img, layer, alpha / 255.0), (0, 0))
            if kind == "close":
                cross(img, (8.5, 12.5, 17.5, 21.5), colour, 1.6)
            else:
                bar(img, (8, 16.2, 18, 17.8), colour, 1.6)
        out.append(crop_button(bg, box, paint))
    return out


def small_cross_buttons(bg_rgb, pos, colours, faces, span=12):
    """12x12 crosses cut from their background.  span 11 keeps the drawing off
    the last column and row, which the prompt's button leaves out when it
    stretches its picture."""
    x, y = pos
    out = []
    c = span / 2
    for colour, face in zip(colours, faces):
        def paint(img, colour=colour, face=face):
            if face is not None:
                col, alpha = face
                m = ss_mask(12, 12, lambda d, k: d.ellipse((0, 0, span * k - 1, span * k - 1),
                                                           fill=alpha))
                img.paste(Image.new("RGB", (12, 12), col), (0, 0), m)
            cross(img, (c - 2.8, c - 2.8, c + 2.8, c + 2.8), colour, 1.4)
        out.append(crop_button(bg_rgb, (x, y, x + 12, y + 12), paint))
    return out


def prompt_button(caption, primary, state):
    """55x24 RGB; states 'normal', 'hover' (darker), 'down' (grey).  The face
    fills 54x23: the prompt's button stretches all but the last column and row
    of its picture over the control."""
    full_w, full_h = 55, 24
    w, h = full_w - 1, full_h - 1
    img = Image.new("RGB", (full_w, full_h), WHITE)
    if state == "down":
        face, edge, text = (214, 218, 226), (196, 201, 210), (140, 146, 158)
    elif primary:
        face = (36, 128, 246) if state == "normal" else (20, 98, 214)
        edge, text = face, WHITE
    else:
        face = WHITE if state == "normal" else (236, 240, 246)
        edge, text = (190, 198, 212) if state == "normal" else (160, 172, 192), TEXT_DARK
    m = rrect_mask(full_w, full_h, (0, 0, w, h), 4)
    img.paste(Image.new("RGB", (full_w, full_h), edge), (0, 0), m)
    m2 = rrect_mask(full_w, full_h, (1, 1, w - 1, h - 1), 3)
    img.paste(Image.new("RGB", (full_w, full_h), face), (0, 0), m2)
    draw_text(img, (w / 2, h / 2), caption, font(12, True), text, align="centre")
    return img


def link_button(state):
    w, h = 58, 18
    img = Image.new("RGB", (w, h), WHITE)
    colour = {"normal": (36, 120, 240), "pressed": (0, 70, 200), "hover": (0, 92, 230),
              "disabled": (176, 180, 190)}[state]
    tw, th = draw_text(img, (w / 2, h / 2), "更多工具", font(12), colour, align="centre")
    if state == "hover":
        x0 = int(round(w / 2 - tw / 2))
        ImageDraw.Draw(img).line((x0, 16, x0 + tw - 1, 16), fill=colour)
    return img


# ---------------------------------------------------------------- small pieces
def checkbox_strip():
    w, h = 48, 16
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    border = (150, 158, 172)
    blue = (30, 122, 244)
    for i in range(3):
        ox = i * 16
        outer = rrect_mask(w, h, (ox + 1, 1, ox + 15, 15), 3)
        inner = rrect_mask(w, h, (ox + 2, 2, ox + 14, 14), 2)
        if i == 1:
            paste_colour(img, blue, outer)

            def tick(d, k, ox=ox):
                d.line([((ox + 4.2) * k, 8.2 * k), ((ox + 6.9) * k, 10.8 * k),
                        ((ox + 11.8) * k, 5.4 * k)], fill=255, width=int(1.9 * k),
                       joint="curve")
            paste_colour(img, WHITE, ss_mask(w, h, tick))
        else:
            paste_colour(img, border, outer)
            paste_colour(img, WHITE, inner)
            if i == 2:
                sq = rrect_mask(w, h, (ox + 4, 4, ox + 12, 12), 1.5)
                paste_colour(img, blue, sq)
    return img


def progress_track():
    w, h = 191, 9
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    m = rrect_mask(w, h, (0, 0, w, h), 4.5)
    grad = vgradient(w, h, [(0, (10, 40, 104)), (1, (22, 62, 140))])
    fill_with(img, grad, m)
    inner = rrect_mask(w, h, (0, 1, w, h), 4.5)
    edge = ImageChops.subtract(m, inner).point(lambda v: v * 120 // 255)
    paste_colour(img, (4, 20, 60), edge)
    return img


def progress_fill():
    w, h = 191, 9
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    m = rrect_mask(w, h, (0, 0, w, h), 4.5)
    grad = vgradient(w, h, [(0, (120, 236, 255)), (0.5, (20, 200, 255)), (1, (0, 150, 230))])
    fill_with(img, grad, m)

    def stripes(d, k):
        for x in range(-12, w + 12, 8):
            d.polygon([(x * k, h * k), ((x + 4) * k, h * k), ((x + 4 + h) * k, 0),
                       ((x + h) * k, 0)], fill=70)
    st = ImageChops.multiply(ss_mask(w, h, stripes), m)
    paste_colour(img, WHITE, st)
    return img


def scrollbar_skin():
    cell = 13
    img = Image.new("RGB", (cell * 9, cell * 3), WHITE)
    bgs = [WHITE, (236, 240, 246), (218, 224, 234)]
    glyphs = [(150, 154, 162), (96, 104, 118), (64, 72, 88)]
    thumbs = [(204, 208, 216), (170, 178, 190), (138, 148, 164)]
    track = (246, 247, 249)
    for row in range(3):
        y0 = row * cell
        for col in range(9):
            x0 = col * cell
            tile = Image.new("RGB", (cell, cell), WHITE)
            if col in (0, 1, 4, 5):
                tile = Image.new("RGB", (cell, cell), bgs[row])
                direction = {0: "up", 1: "down", 4: "left", 5: "right"}[col]

                def tri(d, k, direction=direction):
                    c = cell / 2
                    a, b = 3.2, 2.0
                    pts = {"up": [(c - a, c + b), (c + a, c + b), (c, c - b - 0.4)],
                           "down": [(c - a, c - b), (c + a, c - b), (c, c + b + 0.4)],
                           "left": [(c + b, c - a), (c + b, c + a), (c - b - 0.4, c)],
                           "right": [(c - b, c - a), (c - b, c + a), (c + b + 0.4, c)]}[direction]
                    d.polygon([(x * k, y * k) for x, y in pts], fill=255)
                tile.paste(Image.new("RGB", (cell, cell), glyphs[row]), (0, 0),
                           ss_mask(cell, cell, tri))
            elif col in (2, 6):
                tile = Image.new("RGB", (cell, cell), track)
                # the bar cuts 3 px caps from each end and tiles the middle:
                # round ends inside the caps, uniform body in the middle
                if col == 2:
                    box = (3, 0, 10, 13)
                else:
                    box = (0, 3, 13, 10)

                def thumb(d, k, box=box):
                    x0_, y0_, x1_, y1_ = box
                    d.rounded_rectangle((x0_ * k, y0_ * k, x1_ * k - 1, y1_ * k - 1),
                                        radius=3 * k, fill=255)
                tile.paste(Image.new("RGB", (cell, cell), thumbs[row]), (0, 0),
                           ss_mask(cell, cell, thumb))
            elif col in (3, 7):
                tile = Image.new("RGB", (cell, cell), track)
            elif col == 8:
                tile = Image.new("RGB", (cell, cell), track)
                d = ImageDraw.Draw(tile)
                if row in (0, 1):
                    for i in range(3):
                        for j in range(3 - i):
                            # dots in a triangle toward the corner
                            if row == 0:
                                x = 10 - j * 3
                                y = 10 - i * 3
                            else:
                                x = 2 + j * 3
                                y = 10 - i * 3
                            d.rectangle((x - 1, y - 1, x, y), fill=(176, 182, 192))
            img.paste(tile, (x0, y0))
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def app_icon():
    images = []
    for s in (256, 48, 32, 16):
        img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
        r = max(2, s * 0.2)
        m = rrect_mask(s, s, (0, 0, s, s), r)
        grad = vgradient(s, s, [(0, (36, 110, 230)), (1, (10, 40, 120))])
        fill_with(img, grad, m)
        if s <= 16:
            # a white shield with a blue tick stays legible at 16 px
            em_size = s - 2
            em = emblem(em_size, face=WHITE, face2=(226, 238, 255), mark=(16, 96, 224))
        else:
            em_size = int(round(s * 0.78))
            em = emblem(em_size, face=(70, 180, 255), face2=(20, 110, 240))
        off = (s - em_size) // 2
        img.alpha_composite(em, (off, off + max(0, s // 64)))
        images.append(img)
    return images


# ---------------------------------------------------------------- output
def save_png(img, pid, mode):
    assert img.mode == mode, (pid, img.mode, mode)
    path = os.path.join(PNG_DIR, "%d.png" % pid)
    img.save(path, "PNG", optimize=True)


def main():
    os.makedirs(PNG_DIR, exist_ok=True)

    start_bg = start_background()
    ops_bg = ops_background()
    fb_bg = feedback_background()
    prompt_bg = prompt_background()
    prog_bg = progress_background()

    # start page
    save_png(frame((610, 461), (5, 4, 600, 450), start_bg), 131, "RGBA")
    save_png(start_bg, 132, "RGB")
    for pid, img in zip((133, 134, 135, 136), window_buttons(start_bg, 564, "close")):
        save_png(img, pid, "RGB")
    blue_sets = [(BTN_BLUE, WHITE), (BTN_BLUE_BRIGHT, WHITE), (BTN_BLUE_DARK, WHITE),
                 (BTN_GREY, (244, 245, 248))]
    for pid, img in zip((137, 138, 139, 140),
                        four_states((260, 69), (6, 4, 254, 60), 28, blue_sets, "开始运行", 24)):
        save_png(img, pid, "RGBA")

    # main window and operations window
    save_png(frame((410, 611), (5, 4, 400, 600), ops_bg), 141, "RGBA")
    save_png(ops_bg, 142, "RGB")
    save_png(checkbox_strip(), 143, "RGBA")
    for pid, img in zip((144, 145, 146, 147), window_buttons(ops_bg, 368, "close")):
        save_png(img, pid, "RGB")
    for pid, img in zip((150, 151, 152, 153), window_buttons(ops_bg, 340, "min")):
        save_png(img, pid, "RGB")
    for pid, img in zip((177, 178, 179, 180),
                        four_states((259, 85), (7, 5, 252, 73), 34, blue_sets,
                                    "一键修复系统文件", 24)):
        save_png(img, pid, "RGBA")
    for pid, state in zip((208, 209, 210, 211), ("normal", "pressed", "hover", "disabled")):
        save_png(link_button(state), pid, "RGB")

    # progress popup
    save_png(glass_frame(prog_bg), 148, "RGBA")
    save_png(prog_bg, 149, "RGBA")
    save_png(progress_track(), 201, "RGBA")
    save_png(progress_fill(), 202, "RGBA")
    save_png(Image.new("RGBA", (40, 20), (0, 0, 0, 0)), 203, "RGBA")

    # message prompt
    save_png(frame((330, 150), (5, 3, 320, 140), prompt_bg), 154, "RGBA")
    save_png(prompt_bg, 155, "RGB")
    pairs = (((156, 157, 158), "取消", False), ((162, 163, 164), "否", False),
             ((165, 166, 167), "确认", True), ((168, 169, 170), "是", True))
    for ids, caption, primary in pairs:
        for pid, state in zip(ids, ("normal", "hover", "down")):
            save_png(prompt_button(caption, primary, state), pid, "RGB")
    # the close cross sits at (300, 8) of a 326-wide client: that is x 294.5
    # of the stretched picture; the header strip is flat there
    for pid, img in zip((159, 160, 161),
                        small_cross_buttons(prompt_bg, (294, 8),
                                            [(150, 156, 168), (232, 72, 64), (196, 200, 208)],
                                            [None, None, None], span=11)):
        save_png(img, pid, "RGB")

    # feedback window
    save_png(frame((410, 479), (5, 4, 400, 468), fb_bg), 171, "RGBA")
    save_png(fb_bg, 172, "RGBA")
    for pid, img in zip((173, 174, 175, 176),
                        small_cross_buttons(fb_bg.convert("RGB"), (382, 6),
                                            [(210, 224, 246), WHITE, WHITE, (96, 116, 160)],
                                            [None, ((255, 255, 255), 70), ((255, 255, 255), 40),
                                             None])):
        save_png(img, pid, "RGB")
    fb_face = (5, 3, 261, 53)
    for pid, img in zip((181, 182, 183, 184),
                        four_states((266, 60), fb_face, 25, blue_sets, "问题已解决", 18,
                                    icon_kind="check")):
        save_png(img, pid, "RGBA")
    violet_sets = [(BTN_VIOLET, WHITE), (BTN_VIOLET_BRIGHT, WHITE), (BTN_VIOLET_DARK, WHITE),
                   (BTN_GREY, (244, 245, 248))]
    for pid, img in zip((186, 187, 188, 189),
                        four_states((266, 60), fb_face, 25, violet_sets, "问题未解决", 18,
                                    icon_kind="cross")):
        save_png(img, pid, "RGBA")
    teal = ((40, 196, 214), (10, 150, 186))
    teal_b = ((70, 216, 232), (26, 174, 208))
    teal_d = ((28, 170, 192), (6, 124, 160))
    teal_sets = [(teal, WHITE), (teal_b, WHITE), (teal_d, WHITE), (BTN_GREY, (244, 245, 248))]
    for pid, img in zip((204, 205, 206, 207),
                        four_states((266, 60), fb_face, 25, teal_sets, "更多方案", 18,
                                    icon_kind="more")):
        save_png(img, pid, "RGBA")

    # agreement text window
    save_png(callout(), 185, "RGBA")

    # scroll-bar skin and icon
    skin = scrollbar_skin()
    assert skin.mode == "P" and skin.size == (117, 39)
    skin.save(os.path.join(RES, "scrollbar_skin.bmp"), "BMP")
    icons = app_icon()
    icons[0].save(os.path.join(RES, "app.ico"), "ICO",
                  sizes=[(16, 16), (32, 32), (48, 48), (256, 256)],
                  append_images=icons[1:])
    return 0


if __name__ == "__main__":
    sys.exit(main())
