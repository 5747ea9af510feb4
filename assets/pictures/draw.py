#!/usr/bin/env python3
"""Draws the game's pictures as SVG: the toolbar strip, the dialogs' buttons,
the logo and the program's icon (the granite textures come from granite.py).

    python3 assets/pictures/draw.py assets/pictures

The pictures share their parts (the rounded squares of the dialog buttons,
the glow of a highlighted face, the tile and ball of the logo and icon), so
change a shared part here and draw again rather than edit the SVGs one by
one. The output is the same on every run; check it with tools/picturesheet.

Style: light from the upper left (gradients run from light at the top left
to dark at the bottom right, shadows fall 1.2 px right and 1.6 px down), an
outline 1 to 1.5 px wide in a dark shade of the shape's own colour, and no
pure white (see write). A highlighted face is brighter and glows; a greyed
face is the normal drawing with every colour turned to a dimmed grey.

Only what Qt's SVG renderer (SVG Tiny 1.2) draws is used: paths and basic
shapes, linear and radial gradients (a radial gradient needs its r written
out, or Qt 6.4 drops it), opacity and transforms.
"""

import math
import re
import sys
from pathlib import Path

OUT = Path(".")


def num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s

def svg(w, h, title, defs, body):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">',
           f'  <title>{title}</title>']
    if defs:
        out.append('  <defs>')
        out += ['    ' + d for d in defs]
        out.append('  </defs>')
    out += ['  ' + b for b in body]
    out.append('</svg>')
    return "\n".join(out) + "\n"

def lin(id, stops, x1=0, y1=0, x2=0, y2=1, user=False):
    units = ' gradientUnits="userSpaceOnUse"' if user else ''
    s = "".join(stopx(*st) for st in stops)
    return f'<linearGradient id="{id}" x1="{num(x1)}" y1="{num(y1)}" x2="{num(x2)}" y2="{num(y2)}"{units}>{s}</linearGradient>'

def rad(id, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, user=False):
    units = ' gradientUnits="userSpaceOnUse"' if user else ''
    f = f' fx="{num(fx)}" fy="{num(fy)}"' if fx is not None else ''
    s = "".join(stopx(*st) for st in stops)
    return f'<radialGradient id="{id}" cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}"{f}{units}>{s}</radialGradient>'

def stopx(offset, colour, opacity=1):
    op = f' stop-opacity="{num(opacity)}"' if opacity != 1 else ''
    return f'<stop offset="{num(offset)}" stop-color="{colour}"{op}/>'

def greyed(text, factor=0.62, lift=18):
    """Every colour to a grey of its own lightness, dimmed."""
    def grey(m):
        c = m.group(1)
        r, g, b = int(c[0:2], 16), int(c[2:4], 16), int(c[4:6], 16)
        y = (0.299 * r + 0.587 * g + 0.114 * b) * factor + lift
        y = max(0, min(255, round(y)))
        return "#%02x%02x%02x" % (y, y, y)
    return re.sub(r"#([0-9a-fA-F]{6})\b", grey, text)

def write(path, text):
    # No pure white anywhere: should a face ever be keyed on white, nothing vanishes.
    text = text.replace("#ffffff", "#fcfcfc")
    p = OUT / path
    p.parent.mkdir(parents=True, exist_ok=True)
    p.write_text(text, encoding="utf-8")

# ---------------------------------------------------------------- square buttons
SQUARES = {
    #            light      mid        dark       outline
    "blue":     ("#6fadff", "#2f6fe0", "#173a9e", "#0a1c55"),
    "blue-hot": ("#9ad0ff", "#4a90ff", "#2356cc", "#0e2a78"),
    "orange":   ("#ffc878", "#ff9124", "#cc5c0c", "#5e2600"),
    "orange-hot": ("#ffe0a0", "#ffae3c", "#e8781a", "#6e3000"),
    "sky":      ("#d6f0ff", "#8fcaf2", "#4a8cc8", "#1c3f66"),
    "sky-hot":  ("#f0fbff", "#b0e0ff", "#62a8e6", "#204a78"),
}

def square(kind):
    light, mid, dark, line = SQUARES[kind]
    defs = [
        lin("face", [(0, light), (0.5, mid), (1, dark)], 0, 0, 0.55, 1),
        lin("rim", [(0, "#ffffff", 0.75), (0.5, "#ffffff", 0.1), (1, "#000000", 0.3)], 0, 0, 1, 1),
        lin("gloss", [(0, "#ffffff", 0.5), (1, "#ffffff", 0)], 0, 0, 0, 1),
    ]
    body = [
        f'<rect x="1.5" y="1.5" width="47" height="47" rx="8" fill="url(#face)" stroke="{line}" stroke-width="1"/>',
        '<rect x="2.5" y="2.5" width="45" height="45" rx="7" fill="none" stroke="url(#rim)" stroke-width="1"/>',
        '<path d="M3,10.5 C3,6 6,3 10.5,3 H39.5 C44,3 47,6 47,10.5 V18 C36,22.5 15,22.5 3,17.5 Z" fill="url(#gloss)"/>',
    ]
    return defs, body

def glow(cx=25, cy=25, r=21, colour="#fffbd0", opacity=0.75, id="glow"):
    return ([rad(id, [(0, colour, opacity), (0.55, colour, opacity * 0.45), (1, colour, 0)])],
            [f'<circle cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}" fill="url(#{id})"/>'])

def shaded_motif(d, fill_id, stroke, shadow=(1.2, 1.6), width=1.25, transform=None, shadow_opacity=0.38):
    t = f' transform="{transform}"' if transform else ''
    out = []
    if shadow:
        out.append(f'<g{t}><path d="{d}" transform="translate({num(shadow[0])},{num(shadow[1])})" fill="#000000" fill-opacity="{num(shadow_opacity)}"/></g>' if t else
                   f'<path d="{d}" transform="translate({num(shadow[0])},{num(shadow[1])})" fill="#000000" fill-opacity="{num(shadow_opacity)}"/>')
    out.append(f'<path d="{d}"{t} fill="url(#{fill_id})" stroke="{stroke}" stroke-width="{num(width)}" stroke-linejoin="round"/>')
    return out

CHECK = "M9,27.5 L15.5,21 L21.5,27 C26,19.5 31.5,13 39,8.5 L42.5,13 C34.5,19.5 28.5,28 23,39.5 Z"

def cross_path(cx=25, cy=25, a=14, t=4.4):
    pts = [(-t, -a), (t, -a), (t, -t), (a, -t), (a, t), (t, t), (t, a), (-t, a), (-t, t), (-a, t), (-a, -t), (-t, -t)]
    c = math.cos(math.pi / 4); s = math.sin(math.pi / 4)
    rot = [(cx + x * c - y * s, cy + x * s + y * c) for x, y in pts]
    return "M" + " L".join(f"{num(x)},{num(y)}" for x, y in rot) + " Z"

CROSS = cross_path()
BACK = ("M17,4.5 V11.5 H28 A14.5,14.5 0 0 1 28,40.5 H18.5 C17.4,40.5 16.5,39.6 16.5,38.5 V35.5 "
        "C16.5,34.4 17.4,33.5 18.5,33.5 H28 A7.5,7.5 0 0 0 28,18.5 H17 V25.5 L5,15 Z")

GREEN = [(0, "#e2ffb0"), (0.45, "#6ee05a"), (1, "#1c8f2a")]
GREEN_HOT = [(0, "#f6ffd8"), (0.45, "#94ff6e"), (1, "#2cb83a")]
RED = [(0, "#ffb4a8"), (0.45, "#f2433f"), (1, "#a80c18")]
RED_HOT = [(0, "#ffd8cc"), (0.45, "#ff5e50"), (1, "#d0141e")]
GOLD = [(0, "#fff6c0"), (0.45, "#ffd24a"), (1, "#d08a10")]
GOLD_HOT = [(0, "#fffbe0"), (0.45, "#ffe060"), (1, "#f0a418")]

def dialog_button(name, title, square_kind, motif, colours, outline, hot):
    defs, body = square(square_kind + ("-hot" if hot else ""))
    defs.append(lin("motif", colours, 0, 0, 0.7, 1))
    transform = None
    if hot:
        gd, gb = glow()
        defs += gd; body += gb
        transform = "translate(25,25) scale(1.08) translate(-25,-25)"
    body += shaded_motif(motif, "motif", outline, transform=transform)
    write(f"dialogs/{name}{'-hot' if hot else ''}.svg", svg(50, 50, title + (", highlighted" if hot else ""), defs, body))

def message_set():
    for hot in (False, True):
        dialog_button("check", "OK: a green check mark on a blue square", "blue", CHECK,
                      GREEN_HOT if hot else GREEN, "#0c4a14", hot)
        dialog_button("cross", "Cancel: a red cross on a blue square", "blue", CROSS,
                      RED_HOT if hot else RED, "#560008", hot)
        dialog_button("back", "Back to the game: a curved arrow on a blue square", "blue", BACK,
                      GOLD_HOT if hot else GOLD, "#6a4000", hot)


# ---------------------------------------------------------------- toolbar
def rounded_polygon(points, r):
    """Closed path through points with every corner rounded by about r."""
    n = len(points)
    segs = []
    for i in range(n):
        p0, p1, p2 = points[i - 1], points[i], points[(i + 1) % n]
        def toward(a, b, d):
            dx, dy = b[0] - a[0], b[1] - a[1]
            l = math.hypot(dx, dy)
            d = min(d, l / 2)
            return (a[0] + dx * d / l, a[1] + dy * d / l)
        segs.append((toward(p1, p0, r), p1, toward(p1, p2, r)))
    d = f"M{num(segs[0][2][0])},{num(segs[0][2][1])}"
    for i in range(1, n + 1):
        a, c, b = segs[i % n]
        d += f" L{num(a[0])},{num(a[1])} Q{num(c[0])},{num(c[1])} {num(b[0])},{num(b[1])}"
    return d + " Z"

def star4(cx, cy, R, k=None):
    k = R * 0.16 if k is None else k
    return (f"M{num(cx)},{num(cy - R)} Q{num(cx + k)},{num(cy - k)} {num(cx + R)},{num(cy)} "
            f"Q{num(cx + k)},{num(cy + k)} {num(cx)},{num(cy + R)} "
            f"Q{num(cx - k)},{num(cy + k)} {num(cx - R)},{num(cy)} "
            f"Q{num(cx - k)},{num(cy - k)} {num(cx)},{num(cy - R)} Z")

def path(d, fill, stroke=None, width=1.25):
    s = f' stroke="{stroke}" stroke-width="{num(width)}" stroke-linejoin="round"' if stroke else ''
    return f'<path d="{d}" fill="{fill}"{s}/>'

def tube(d, grad, outline, width, out_width=2.5):
    """A thick rounded stroke with an outline: letters drawn as tubes."""
    return [f'<path d="{d}" fill="none" stroke="{outline}" stroke-width="{num(width + out_width)}" stroke-linecap="round" stroke-linejoin="round"/>',
            f'<path d="{d}" fill="none" stroke="url(#{grad})" stroke-width="{num(width)}" stroke-linecap="round" stroke-linejoin="round"/>']

def toolbar_write(name, title, defs, body, hot, grey_too=False, glow_colour="#fff2b0"):
    """Writes the normal face, or the highlighted one with a glow behind."""
    if hot:
        gd, gb = glow(colour=glow_colour, opacity=0.6, r=24)
        write(f"toolbar/{name}-hot.svg", svg(50, 50, title + ", highlighted", gd + defs, gb + body))
    else:
        text = svg(50, 50, title, defs, body)
        write(f"toolbar/{name}.svg", text)
        if grey_too:
            write(f"toolbar/{name}-grey.svg", greyed(text).replace(title, title + ", greyed"))

SILVER = [(0, "#ffffff"), (0.5, "#d2d9e2"), (1, "#7c8696")]
SILVER_HOT = [(0, "#ffffff"), (0.5, "#e6ecf4"), (1, "#98a4b6")]
BLUE = [(0, "#a8d0ff"), (0.5, "#4a84ee"), (1, "#1c3f9e")]
BLUE_HOT = [(0, "#d0e8ff"), (0.5, "#6aa4ff"), (1, "#2a58c8")]
CYAN = [(0, "#e8f8ff"), (0.5, "#5ab8ff"), (1, "#2460d0")]
CYAN_HOT = [(0, "#ffffff"), (0.5, "#8ad4ff"), (1, "#3a80f0")]
WOOD = [(0, "#f0b070"), (0.5, "#b8682c"), (1, "#6e3414")]
WOOD_HOT = [(0, "#ffc888"), (0.5, "#d07e3a"), (1, "#8a461c")]
FLAME = [(0, "#ffffe0"), (0.35, "#ffe050"), (1, "#ff5a10")]

def new_face(hot):
    sheet = "M9.5,5.5 H29 L38.5,15 V44.5 H9.5 Z"
    ear = "M29,5.5 V15 H38.5 Z"
    defs = [lin("paper", [(0, "#ffffff"), (0.6, "#e4ebf4"), (1, "#b4c2d8")], 0, 0, 1, 1),
            lin("ear", [(0, "#b8c6da"), (1, "#f6f9fc")], 0, 1, 1, 0),
            rad("spark", [(0, "#ffffff"), (0.35, "#fff3a0" if not hot else "#fffbd8"), (1, "#f0a010" if not hot else "#ffb820")])]
    body = [path(sheet, "url(#paper)", "#46556e"),
            path(ear, "url(#ear)", "#46556e"),
            '<path d="M14,21.5 H31 M14,26.5 H33 M14,31.5 H26" fill="none" stroke="#b0c0d8" stroke-width="1" stroke-linecap="round"/>']
    if hot:
        body += [path(star4(34.5, 33, 14), "url(#spark)", "#8a5600", 1),
                 path(star4(17, 40, 5.5), "url(#spark)", "#8a5600", 0.75),
                 path(star4(42.5, 16, 4.5), "url(#spark)", "#8a5600", 0.75)]
    else:
        body += [path(star4(34.5, 33, 11.5), "url(#spark)", "#8a5600", 1),
                 path(star4(42, 17, 3.5), "url(#spark)", "#8a5600", 0.75)]
    toolbar_write("new", "New game: a fresh sheet with a sparkle", defs, body, hot, grey_too=True)

def load_face(hot):
    bodyp = "M9.5,6.5 H37.5 L43.5,12.5 V41.5 Q43.5,43.5 41.5,43.5 H8.5 Q6.5,43.5 6.5,41.5 V9.5 Q6.5,6.5 9.5,6.5 Z"
    shutter = "M15.5,6.5 H35 V18.5 Q35,20.5 33,20.5 H17.5 Q15.5,20.5 15.5,18.5 Z"
    label = "M11.5,43.5 V27.5 Q11.5,25.5 13.5,25.5 H36.5 Q38.5,25.5 38.5,27.5 V43.5 Z"
    defs = [lin("disk", BLUE_HOT if hot else BLUE, 0, 0, 0.8, 1),
            lin("metal", SILVER_HOT if hot else SILVER, 0, 0, 1, 0.4),
            lin("label", [(0, "#ffffff"), (1, "#d4dcea")], 0, 0, 0.3, 1)]
    body = [path(bodyp, "url(#disk)", "#0a1a48"),
            '<path d="M8.5,9.5 Q8.5,8.5 9.5,8.5 H36.5" fill="none" stroke="#ffffff" stroke-opacity="0.45" stroke-width="1" stroke-linecap="round"/>',
            path(shutter, "url(#metal)", "#343c4a", 1),
            '<rect x="27" y="9.5" width="4.5" height="8" rx="1" fill="#1c2c58" stroke="#0a1430" stroke-width="0.75"/>',
            path(label, "url(#label)", "#1c2c5e", 1),
            f'<path d="M11.5,28 V27.5 Q11.5,25.5 13.5,25.5 H36.5 Q38.5,25.5 38.5,27.5 V28 Z" fill="{"#ff5a4a" if hot else "#e8403a"}"/>',
            '<path d="M15,32.5 H35 M15,36.5 H35 M15,40.5 H29" fill="none" stroke="#9aaccc" stroke-width="1" stroke-linecap="round"/>',
            '<rect x="9" y="38.5" width="1.6" height="2.5" fill="#0a1a48"/>',
            '<rect x="39.5" y="38.5" width="1.6" height="2.5" fill="#0a1a48"/>']
    toolbar_write("load", "Load a game: a diskette", defs, body, hot, grey_too=True, glow_colour="#bcdcff")

def rocket_parts(hot):
    """The rocket drawn upright around (25, 25); the caller turns it."""
    bodyp = "M25,3.5 C31,8.5 32.5,17 32,26 L31,33 H19 L18,26 C17.5,17 19,8.5 25,3.5 Z"
    nose = "M25,3.5 C28.6,6.5 30.4,10 31.2,13.5 H18.8 C19.6,10 21.4,6.5 25,3.5 Z"
    fin_l = "M19,24 C14,26.5 12,31 12.5,37.5 L19.5,33 Z"
    fin_r = "M31,24 C36,26.5 38,31 37.5,37.5 L30.5,33 Z"
    fin_m = "M23.2,27 H26.8 V37 Q25,38.5 23.2,37 Z"
    nozzle = "M20,33 H30 L29,37 H21 Z"
    flame = ("M21,37 C20,42 23,45 25,50 C27,45 30,42 29,37 Z" if not hot else
             "M20.5,37 C18,44 22.5,47 25,54 C27.5,47 32,44 29.5,37 Z")
    core = ("M22.8,37 C22.5,40 24,42.5 25,45 C26,42.5 27.5,40 27.2,37 Z" if not hot else
            "M22.5,37 C21.8,41.5 23.8,44.5 25,48.5 C26.2,44.5 28.2,41.5 27.5,37 Z")
    defs = [lin("hull", SILVER_HOT if hot else SILVER, 0, 0, 1, 0),
            lin("red", RED_HOT if hot else RED, 0, 0, 1, 0.6),
            rad("window", [(0, "#e0f6ff"), (0.5, "#48a0f0"), (1, "#163c78")], 0.4, 0.35, 0.65),
            lin("flame", FLAME, 0, 0, 0, 1),
            lin("nozzle", [(0, "#b8c0cc"), (1, "#4a5260")], 0, 0, 1, 0)]
    parts = [path(flame, "url(#flame)", "#c04a00", 0.75),
             path(core, "#fffde8"),
             path(fin_l, "url(#red)", "#5a0008", 1),
             path(fin_r, "url(#red)", "#5a0008", 1),
             path(nozzle, "url(#nozzle)", "#262c36", 1),
             path(bodyp, "url(#hull)", "#38424f"),
             path(nose, "url(#red)", "#5a0008", 1),
             '<circle cx="25" cy="20.5" r="3.8" fill="url(#window)" stroke="#1c2a44" stroke-width="1.2"/>',
             '<circle cx="23.9" cy="19.3" r="1.1" fill="#ffffff" fill-opacity="0.85"/>',
             path(fin_m, "url(#red)", "#5a0008", 1)]
    return defs, parts

def restart_face(hot):
    defs, parts = rocket_parts(hot)
    body = ['<g transform="translate(25,25) scale(1.1) rotate(45) translate(-25,-26)">'] + ['  ' + p for p in parts] + ['</g>']
    toolbar_write("restart", "Restart the level: a rocket", defs, body, hot, grey_too=True, glow_colour="#ffd8a0")

def next_face(hot):
    tri = rounded_polygon([(12, 7.5), (42.5, 25), (12, 42.5)], 4)
    shine = rounded_polygon([(15, 11.5), (36.5, 23.5), (15, 23.5)], 2.5)
    defs = [lin("play", GREEN_HOT if hot else GREEN, 0, 0, 0.6, 1),
            lin("shine", [(0, "#ffffff", 0.7), (1, "#ffffff", 0)], 0, 0, 0, 1)]
    body = [path(tri, "url(#play)", "#0a4a14", 1.5), path(shine, "url(#shine)")]
    toolbar_write("next", "Next level: a play triangle", defs, body, hot, grey_too=True, glow_colour="#d8ffb0")

def options_face(hot):
    # spanner, upright, head at the top
    head = "M22.5,3.4 V10 A2.5,2.5 0 0 0 27.5,10 V3.4 A8.5,8.5 0 1 1 22.5,3.4 Z"
    shaft = "M22,16 H28 V42 A3,3 0 0 1 22,42 Z"
    joint = "M22.62,17.5 H27.38 V19.8 H22.62 Z"
    # screwdriver, upright, blade at the top
    blade = "M23.6,4.5 H26.4 L26.8,8 V24 H23.2 V8 Z"
    ferrule = "M21.5,24 H28.5 V27.5 H21.5 Z"
    handle = "M20,27.5 H30 Q31.5,27.5 31.5,29.5 V44 Q31.5,47.5 28,47.5 H22 Q18.5,47.5 18.5,44 V29.5 Q18.5,27.5 20,27.5 Z"
    defs = [lin("steel", SILVER_HOT if hot else SILVER, 17, 0, 33, 0, user=True),
            lin("grip", RED_HOT if hot else RED, 18, 0, 32, 0, user=True)]
    spanner = [path(shaft, "url(#steel)", "#2c3440"), path(head, "url(#steel)", "#2c3440"),
               path(joint, "url(#steel)")]
    driver = [path(blade, "url(#steel)", "#2c3440", 1), path(ferrule, "url(#steel)", "#2c3440", 1),
              path(handle, "url(#grip)", "#4e0008"),
              '<path d="M22.5,31 V44 M25,31 V44.5 M27.5,31 V44" fill="none" stroke="#7a0c14" stroke-opacity="0.6" stroke-width="1" stroke-linecap="round"/>']
    a = 38 if hot else 45
    body = ([f'<g transform="rotate({a} 25 25) translate(0,0.5)">'] + ['  ' + p for p in spanner] + ['</g>'] +
            [f'<g transform="rotate({-a} 25 25) translate(0,0.5)">'] + ['  ' + p for p in driver] + ['</g>'])
    toolbar_write("options", "Options: a spanner and a screwdriver, crossed", defs, body, hot, glow_colour="#e0ecff")

def info_face(hot):
    defs = [lin("letter", CYAN_HOT if hot else CYAN, 14, 4, 36, 46, user=True),
            rad("dot", [(0, "#ffffff"), (0.45, "#8ad0ff" if not hot else "#b8e4ff"), (1, "#2460d0" if not hot else "#3a80f0")], 0.38, 0.35, 0.7)]
    body = (tube("M21.5,22 H25 V42", "letter", "#0a1e5a", 9)
            + ['<circle cx="25" cy="10" r="5.8" fill="url(#dot)" stroke="#0a1e5a" stroke-width="1.25"/>',
               '<path d="M22.2,21 H25" fill="none" stroke="#ffffff" stroke-opacity="0.6" stroke-width="1.5" stroke-linecap="round"/>'])
    toolbar_write("info", "Information: the letter i", defs, body, hot, glow_colour="#c8ecff")

def exit_face(hot):
    frame = "M9.5,3.5 H40.5 V45.5 H36.5 V7.5 H13.5 V45.5 H9.5 Z"
    door = "M13.5,7.5 H36.5 V45.5 H13.5 Z"
    defs = [lin("stone", [(0, "#e6e8ee"), (0.5, "#a6acb8"), (1, "#5c6270")], 0, 0, 1, 1),
            lin("wood", WOOD_HOT if hot else WOOD, 0, 0, 1, 0.5),
            lin("light", [(0, "#fffff0"), (0.6, "#ffe680"), (1, "#ffb030")], 0, 0, 0, 1),
            rad("knob", [(0, "#fffbe0"), (0.5, "#ffd040"), (1, "#a06800")], 0.35, 0.35, 0.7)]
    body = [path(frame, "url(#stone)", "#2c3038", 1)]
    if not hot:
        body += [path(door, "url(#wood)", "#3a1a06", 1),
                 '<rect x="16.5" y="10.5" width="17" height="14" rx="1" fill="#000000" fill-opacity="0.16" stroke="#3a1a06" stroke-opacity="0.55" stroke-width="1"/>',
                 '<rect x="16.5" y="28.5" width="17" height="14" rx="1" fill="#000000" fill-opacity="0.16" stroke="#3a1a06" stroke-opacity="0.55" stroke-width="1"/>',
                 '<path d="M17,25 H33.5 M17,43 H33.5" fill="none" stroke="#ffd8a8" stroke-opacity="0.45" stroke-width="1"/>',
                 '<circle cx="32.5" cy="27" r="2" fill="url(#knob)" stroke="#5a3800" stroke-width="0.75"/>']
    else:
        leaf = "M13.5,7.5 L4.5,3.5 V49 L13.5,45.5 Z"
        body += [path(door, "url(#light)", "#7a5000", 1),
                 '<path d="M13.5,45.5 H36.5 L46,49.5 H13.5 Z" fill="#ffe680" fill-opacity="0.55"/>',
                 path(leaf, "url(#wood)", "#3a1a06", 1),
                 '<path d="M6.5,8 L11.5,10 V24 L6.5,22.5 Z M6.5,28 L11.5,28.5 V42.5 L6.5,43.5 Z" fill="#000000" fill-opacity="0.18" stroke="#3a1a06" stroke-opacity="0.55" stroke-width="0.75"/>',
                 '<circle cx="7.5" cy="26.5" r="1.6" fill="url(#knob)" stroke="#5a3800" stroke-width="0.75"/>']
    body += ['<rect x="7.5" y="45.5" width="35" height="3" rx="1" fill="url(#stone)" stroke="#2c3038" stroke-width="1"/>']
    toolbar_write("exit", "Exit: a door, closed" if not hot else "Exit: a door", defs, body, hot, glow_colour="#ffe8a0")

def rules_face(hot):
    hook = "M16.5,16 C16.5,9 21,5.5 26,5.5 C31.5,5.5 35,9 35,14 C35,19.5 30,21.5 27.5,24 C26,25.5 25.5,27 25.5,31"
    defs = [lin("gold", GOLD_HOT if hot else GOLD, 14, 3, 38, 45, user=True),
            rad("dot", [(0, "#fffbe0"), (0.45, "#ffd24a"), (1, "#c07a08")], 0.38, 0.35, 0.7)]
    glyph = tube(hook, "gold", "#5a3600", 8) + [
        '<circle cx="25.5" cy="40.5" r="4.8" fill="url(#dot)" stroke="#5a3600" stroke-width="1.25"/>',
        '<path d="M18.5,13 C19.5,9.5 22,8 25,7.8" fill="none" stroke="#ffffff" stroke-opacity="0.6" stroke-width="1.5" stroke-linecap="round"/>']
    if hot:
        body = ['<g transform="rotate(-24 25 25)">'] + ['  ' + g for g in glyph] + ['</g>']
    else:
        body = glyph
    toolbar_write("rules", "Rules: a question mark" + (", turned" if hot else ""), defs, body, hot, glow_colour="#fff0a0")

def small_arrow(up, hot):
    pts = [(8.5, 1.5), (15.5, 11.5), (1.5, 11.5)] if up else [(8.5, 11.5), (1.5, 1.5), (15.5, 1.5)]
    stops = ([(0, "#ffffff"), (0.5, "#fffac8"), (1, "#ffd24a")] if hot else
             [(0, "#fff4b8"), (0.45, "#f2c844"), (1, "#b07408")])
    defs = [lin("arrow", stops, 0, 0, 0.5, 1)]
    body = [path(rounded_polygon(pts, 1.3), "url(#arrow)", "#5e3a00" if not hot else "#8a5c00", 1)]
    name = f"arrow-{'up' if up else 'down'}-small{'-hot' if hot else ''}"
    write(f"toolbar/{name}.svg", svg(17, 13, f"One level {'up' if up else 'down'}" + (", highlighted" if hot else ""), defs, body))

def unsolved_arrow(up, hot):
    def chevron(y):
        return f"M4,{num(y + 8)} L12.5,{num(y)} L21,{num(y + 8)}" if up else f"M4,{num(y)} L12.5,{num(y + 8)} L21,{num(y)}"
    stops = ([(0, "#ffffff"), (0.5, "#ffeac0"), (1, "#ffb050")] if hot else
             [(0, "#ffe2a8"), (0.5, "#ff9a2c"), (1, "#c84a08")])
    defs = [lin("chevron", stops, 0, 0, 25, 25, user=True)]
    body = []
    for y in (4, 13):
        body += tube(chevron(y), "chevron", "#5a1e00", 4.5, 2)
    name = f"arrow-{'up' if up else 'down'}{'-hot' if hot else ''}"
    write(f"toolbar/{name}.svg", svg(25, 25, f"To the {'next' if up else 'previous'} unsolved level" + (", highlighted" if hot else ""), defs, body))

def indicator():
    defs = [lin("red", RED, 0, 0, 0.7, 1), lin("green", GREEN, 0, 0, 0.7, 1)]
    body = ['<rect width="100" height="100" fill="#000000"/>',
            path(cross_path(25, 25, 15.5, 4.8), "url(#red)", "#6a000a", 1.5),
            '<g transform="translate(50,0) translate(25,24.5) scale(1.1) translate(-25,-25)">',
            '  ' + path(CHECK, "url(#green)", "#0c4a14", 1.4),
            '</g>']
    write("toolbar/solved-indicator.svg", svg(100, 100, "Level not solved (red cross), level solved (green tick)", defs, body))

def toolbar_set():
    indicator()
    for hot in (False, True):
        for f in (new_face, load_face, restart_face, next_face, options_face, info_face, exit_face, rules_face):
            f(hot)
        for up in (True, False):
            small_arrow(up, hot)
            unsolved_arrow(up, hot)

# ---------------------------------------------------------------- dialogs
def clip_polygon(poly, x0, y0, x1, y1):
    """Sutherland-Hodgman clipping of a polygon to a rectangle."""
    def clip(points, inside, cut):
        out = []
        for i in range(len(points)):
            a, b = points[i - 1], points[i]
            if inside(b):
                if not inside(a):
                    out.append(cut(a, b))
                out.append(b)
            elif inside(a):
                out.append(cut(a, b))
        return out
    def cx(x):
        return lambda a, b: (x, a[1] + (b[1] - a[1]) * (x - a[0]) / (b[0] - a[0]))
    def cy(y):
        return lambda a, b: (a[0] + (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]), y)
    p = poly
    p = clip(p, lambda q: q[0] >= x0, cx(x0))
    p = clip(p, lambda q: q[0] <= x1, cx(x1))
    p = clip(p, lambda q: q[1] >= y0, cy(y0))
    p = clip(p, lambda q: q[1] <= y1, cy(y1))
    return p

def poly_d(points):
    return "M" + " L".join(f"{num(x)},{num(y)}" for x, y in points) + " Z"

def band(ax, ay, bx, by, half):
    """A straight band of the given half width from a to b, longer at both ends."""
    dx, dy = bx - ax, by - ay
    l = math.hypot(dx, dy)
    ux, uy = dx / l, dy / l
    nx, ny = -uy * half, ux * half
    ax, ay, bx, by = ax - ux * 5, ay - uy * 5, bx + ux * 5, by + uy * 5
    return [(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)]

# ---------------------------------------------------------------- flags
def flag_shapes(kind, w, h):
    """Shapes of a flag in its own coordinates 0..w, 0..h."""
    s = []
    if kind == "at":
        s += [f'<rect width="{num(w)}" height="{num(h)}" fill="#ed2939"/>',
              f'<rect y="{num(h / 3)}" width="{num(w)}" height="{num(h / 3)}" fill="#ffffff"/>']
    elif kind == "de":
        s += [f'<rect width="{num(w)}" height="{num(h / 3)}" fill="#000000"/>',
              f'<rect y="{num(h / 3)}" width="{num(w)}" height="{num(h / 3)}" fill="#dd0000"/>',
              f'<rect y="{num(2 * h / 3)}" width="{num(w)}" height="{num(h / 3)}" fill="#ffce00"/>']
    elif kind == "ch":
        u = w / 32  # the cross: arms 6 wide and 7 long from a middle square, on 32 units
        s += [f'<rect width="{num(w)}" height="{num(h)}" fill="#da291c"/>',
              f'<path d="M{num(13 * u)},{num(6 * u)} H{num(19 * u)} V{num(13 * u)} H{num(26 * u)} V{num(19 * u)} H{num(19 * u)} V{num(26 * u)} H{num(13 * u)} V{num(19 * u)} H{num(6 * u)} V{num(13 * u)} H{num(13 * u)} Z" fill="#ffffff"/>']
    elif kind == "us":
        stripes = 7
        sh = h / stripes
        s.append(f'<rect width="{num(w)}" height="{num(h)}" fill="#ffffff"/>')
        d = "".join(f"M0,{num(i * sh)} H{num(w)} V{num((i + 1) * sh)} H0 Z" for i in range(0, stripes, 2))
        s.append(f'<path d="{d}" fill="#c8102e"/>')
        cw, ch_ = w * 0.44, sh * 4
        s.append(f'<rect width="{num(cw)}" height="{num(ch_)}" fill="#0a3161"/>')
        dots = []
        for row in range(3):
            for col in range(4 if row % 2 == 0 else 3):
                x = cw * (col + (1 if row % 2 == 0 else 1.5)) / 5
                y = ch_ * (row + 1) / 4
                dots.append(f"M{num(x - 0.6)},{num(y)} a0.6,0.6 0 1 0 1.2,0 a0.6,0.6 0 1 0 -1.2,0 Z")
        s.append(f'<path d="{"".join(dots)}" fill="#ffffff"/>')
    elif kind == "uk":
        s.append(f'<rect width="{num(w)}" height="{num(h)}" fill="#012169"/>')
        t = h / 30  # the flag is 60 x 30 units
        white_x = [clip_polygon(band(0, 0, w, h, 3 * t), 0, 0, w, h), clip_polygon(band(0, h, w, 0, 3 * t), 0, 0, w, h)]
        s.append(f'<path d="{"".join(poly_d(p) for p in white_x)}" fill="#ffffff"/>')
        # red saltire, counterchanged: each arm sits on the clockwise side of the diagonal
        red = []
        cxm, cym = w / 2, h / 2
        for (ax, ay), side in (((0, 0), 1), ((w, h), 1), ((0, h), -1), ((w, 0), -1)):
            dx, dy = cxm - ax, cym - ay
            l = math.hypot(dx, dy)
            nx, ny = -dy / l * 2 * t, dx / l * 2 * t
            sgn = side if ax == 0 else -side
            p = [(ax - dx / l * 5, ay - dy / l * 5), (cxm, cym), (cxm + sgn * nx, cym + sgn * ny),
                 (ax - dx / l * 5 + sgn * nx, ay - dy / l * 5 + sgn * ny)]
            red.append(clip_polygon(p, 0, 0, w, h))
        s.append(f'<path d="{"".join(poly_d(p) for p in red if p)}" fill="#c8102e"/>')
        s.append(f'<path d="M{num(w / 2 - 5 * t)},0 H{num(w / 2 + 5 * t)} V{num(h / 2 - 5 * t)} H{num(w)} V{num(h / 2 + 5 * t)} H{num(w / 2 + 5 * t)} V{num(h)} H{num(w / 2 - 5 * t)} V{num(h / 2 + 5 * t)} H0 V{num(h / 2 - 5 * t)} H{num(w / 2 - 5 * t)} Z" fill="#ffffff"/>')
        s.append(f'<path d="M{num(w / 2 - 3 * t)},0 H{num(w / 2 + 3 * t)} V{num(h / 2 - 3 * t)} H{num(w)} V{num(h / 2 + 3 * t)} H{num(w / 2 + 3 * t)} V{num(h)} H{num(w / 2 - 3 * t)} V{num(h / 2 + 3 * t)} H0 V{num(h / 2 - 3 * t)} H{num(w / 2 - 3 * t)} Z" fill="#c8102e"/>')
    return s

def flag(kind, x, y, w, h, angle=0):
    t = f"translate({num(x)},{num(y)})" + (f" rotate({num(angle)})" if angle else "")
    out = [f'<g transform="{t}">',
           f'  <rect x="1" y="1.5" width="{num(w)}" height="{num(h)}" rx="1" fill="#000000" fill-opacity="0.35"/>']
    out += ['  ' + s for s in flag_shapes(kind, w, h)]
    out += [f'  <rect width="{num(w)}" height="{num(h)}" fill="url(#flaggloss)"/>',
            f'  <rect x="0.25" y="0.25" width="{num(w - 0.5)}" height="{num(h - 0.5)}" fill="none" stroke="#1a1a22" stroke-opacity="0.8" stroke-width="0.75"/>',
            '</g>']
    return out

def flags_button(name, title, placed, hot):
    defs, body = square("sky" + ("-hot" if hot else ""))
    defs.append(lin("flaggloss", [(0, "#ffffff", 0.45), (0.45, "#ffffff", 0.08), (0.5, "#000000", 0), (1, "#000000", 0.18)], 0, 0, 0.4, 1))
    for p in placed:
        body += flag(*p)
    write(f"dialogs/{name}{'-hot' if hot else ''}.svg", svg(50, 50, title + (", second arrangement" if hot else ""), defs, body))

def flags_set():
    german = "German: the flags of Austria, Germany and Switzerland"
    flags_button("flags-german", german,
                 [("at", 5, 6, 24, 16), ("de", 13.5, 17.5, 24, 16), ("ch", 27, 27, 16, 16)], False)
    flags_button("flags-german", german,
                 [("ch", 6, 5.5, 15, 15, -8), ("at", 22, 6, 22, 14.5, 8), ("de", 11.5, 25, 27, 18, -4)], True)
    english = "English: the flags of the United States and the United Kingdom"
    flags_button("flags-english", english, [("us", 4.5, 7, 30, 17), ("uk", 15, 24.5, 30, 17)], False)
    flags_button("flags-english", english, [("uk", 5, 6.5, 29, 16.5, -7), ("us", 15.5, 23, 29, 17.5, 6)], True)

# ---------------------------------------------------------------- options buttons
LIPS = [(0, "#ff9aa0"), (0.45, "#e8283a"), (1, "#8a0616")]
LIPS_HOT = [(0, "#ffb4b8"), (0.45, "#ff3a4a"), (1, "#a00a1c")]
TONGUE = [(0, "#ffd0dc"), (0.5, "#ff7aa0"), (1, "#c83a66")]

def option_button(name, title, motif_defs, motif, hot, grey=False):
    kind = "orange" + ("-hot" if hot else "")
    defs, body = square(kind)
    text = svg(50, 50, title, defs + motif_defs, body + motif)
    suffix = "-hot" if hot else ""
    write(f"dialogs/{name}{suffix}.svg", text)
    if grey:
        write(f"dialogs/{name}-grey.svg", greyed(text, 0.6, 14).replace(title, title.split(",")[0] + ", greyed"))

def mouth_set():
    upper = ("M8,26 C12,22 16.5,17.5 21,18 C23,18.3 24,19.5 25,20.2 C26,19.5 27,18.3 29,18 "
             "C33.5,17.5 38,22 42,26 C36,25.2 30,25 25,25.8 C20,25 14,25.2 8,26 Z")
    lower = ("M8,26 C14,25.8 20,26.6 25,26.8 C30,26.6 36,25.8 42,26 C38,32.5 32,36 25,36 "
             "C18,36 12,32.5 8,26 Z")
    defs = [lin("lips", LIPS, 0, 0, 0.4, 1), rad("shine", [(0, "#ffffff", 0.7), (1, "#ffffff", 0)])]
    motif = ([f'<path d="{upper}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
              f'<path d="{lower}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
              path(lower, "url(#lips)", "#4a0008", 1.25), path(upper, "url(#lips)", "#4a0008", 1.25),
              '<path d="M9,26 C15,25.5 20,26.3 25,26.4 C30,26.3 35,25.5 41,26" fill="none" stroke="#4a0008" stroke-width="1.25" stroke-linecap="round"/>',
              '<ellipse cx="22" cy="30.8" rx="6" ry="2" fill="url(#shine)"/>',
              '<ellipse cx="19" cy="21.2" rx="3.5" ry="1.2" fill="url(#shine)"/>'])
    option_button("mouth", "Language: a red mouth on an orange square", defs, motif, False)
    # open, the tongue out
    upper2 = ("M8,23 C12,19 16.5,14.5 21,15 C23,15.3 24,16.5 25,17.2 C26,16.5 27,15.3 29,15 "
              "C33.5,14.5 38,19 42,23 C36,22.5 30,22.2 25,23 C20,22.2 14,22.5 8,23 Z")
    inside = "M8.5,23 C14,22.6 20,22.4 25,23 C30,22.4 36,22.6 41.5,23 C38,29.5 32,32 25,32 C18,32 12,29.5 8.5,23 Z"
    lower2 = ("M8,23 C12,30 18,32.5 25,32.5 C32,32.5 38,30 42,23 C39.5,32 33,38 25,38 "
              "C17,38 10.5,32 8,23 Z")
    tongue = "M16.5,26 C16,34 18.5,45 25.5,45 C32,45 34.5,34 34,26 C30,27.8 21,27.8 16.5,26 Z"
    defs = [lin("lips", LIPS_HOT, 0, 0, 0.4, 1), rad("shine", [(0, "#ffffff", 0.7), (1, "#ffffff", 0)]),
            lin("tongue", TONGUE, 0, 0, 0.6, 1), lin("inside", [(0, "#1a0004"), (1, "#5a0a14")], 0, 0, 0, 1)]
    motif = ([f'<path d="{lower2}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
              f'<path d="{tongue}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
              path(inside, "url(#inside)"),
              path(lower2, "url(#lips)", "#4a0008", 1.25),
              path(tongue, "url(#tongue)", "#7a1030", 1.25),
              '<path d="M25.3,29.5 C25.5,34 25.2,37 25,39.5" fill="none" stroke="#b02858" stroke-width="1.25" stroke-linecap="round"/>',
              '<ellipse cx="21" cy="32" rx="2.5" ry="3.5" fill="url(#shine)"/>',
              path(upper2, "url(#lips)", "#4a0008", 1.25),
              '<ellipse cx="19" cy="18.2" rx="3.5" ry="1.2" fill="url(#shine)"/>'])
    option_button("mouth", "Language: the mouth sticks out its tongue", defs, motif, True)

SPEAKER = [(0, "#aab4c4"), (0.5, "#4e5868"), (1, "#1a1f28")]
SPEAKER_HOT = [(0, "#c8d2e2"), (0.5, "#646f82"), (1, "#242a36")]

def speaker_set():
    for hot in (False, True):
        box = "M7.5,18.5 H17 V31.5 H7.5 Q6.5,31.5 6.5,30.5 V19.5 Q6.5,18.5 7.5,18.5 Z"
        cone = "M17,18.5 L29,8.5 V41.5 L17,31.5 Z"
        defs = [lin("body", SPEAKER_HOT if hot else SPEAKER, 0, 0, 0.8, 1),
                lin("conerim", [(0, "#ffffff"), (1, "#8a94a6")], 0, 0, 0, 1),
                lin("wave", [(0, "#ffffff"), (1, "#fff2c0")], 0, 0, 1, 1)]
        motif = [f'<path d="{box} {cone}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
                 path(cone, "url(#body)", "#0a0c10"),
                 path(box, "url(#body)", "#0a0c10"),
                 '<ellipse cx="29" cy="25" rx="2.6" ry="16.5" fill="url(#conerim)" stroke="#0a0c10" stroke-width="1.25"/>',
                 '<path d="M8.5,20.5 H15" fill="none" stroke="#ffffff" stroke-opacity="0.5" stroke-width="1" stroke-linecap="round"/>',
                 '<path d="M18.5,19.3 L27.5,11.8" fill="none" stroke="#ffffff" stroke-opacity="0.5" stroke-width="1" stroke-linecap="round"/>']
        if hot:
            for r in (8, 13, 18):
                a = math.radians(42)
                x1, y1 = 29 + r * math.cos(a), 25 - r * math.sin(a)
                x2, y2 = 29 + r * math.cos(a), 25 + r * math.sin(a)
                d = f"M{num(x1)},{num(y1)} A{r},{r} 0 0 1 {num(x2)},{num(y2)}"
                motif += [f'<path d="{d}" transform="translate(1.2,1.6)" fill="none" stroke="#000000" stroke-opacity="0.3" stroke-width="3.5" stroke-linecap="round"/>']
                motif += tube(d, "wave", "#5e2600", 2.6, 1.6)
        option_button("speaker", "Sound: a loudspeaker on an orange square" if not hot else
                      "Sound: the loudspeaker with sound waves", defs, motif, hot)

CLEF = ("M27,30.5 C24.2,30.5 22.6,28.2 23.6,26.2 C24.8,23.6 29.8,23.4 31.4,26.8 "
        "C33.2,30.8 29.8,35.6 25,35.6 C19.4,35.6 15.8,31.6 16.4,26.6 C17,21.4 22,18.4 25.4,15.4 "
        "C29,12.2 30.8,9.2 29.8,6.4 C28.8,3.6 25.4,4.4 24.6,8.6 C23.6,13.6 25,30 26.6,40.4 "
        "C27.4,45.8 22.2,47.2 20.4,44.2")
CLEF_FILL = [(0, "#8a8ac0"), (0.5, "#2c2c58"), (1, "#0c0c1c")]

def clef_glyph(grad="clef"):
    return (tube(CLEF, grad, "#06060e", 3.4, 1.6) +
            ['<circle cx="21.6" cy="42.6" r="3" fill="url(#' + grad + ')" stroke="#06060e" stroke-width="1.2"/>',
             '<path d="M17.8,25.5 C18.5,22.5 21,20.6 23.5,18.8" fill="none" stroke="#ffffff" stroke-opacity="0.55" stroke-width="1" stroke-linecap="round"/>'])

def clef_set():
    defs = [lin("clef", CLEF_FILL, 14, 4, 34, 46, user=True)]
    shadow = [f'<path d="{CLEF}" transform="translate(1.2,1.6)" fill="none" stroke="#000000" stroke-opacity="0.3" stroke-width="5" stroke-linecap="round" stroke-linejoin="round"/>']
    option_button("clef", "Music: a treble clef on an orange square", defs, shadow + clef_glyph(), False, grey=True)
    # shaking: two faint echoes to the sides, the clef tilted, and shake marks
    echo = lambda dx, a: [f'<g transform="translate({dx},0) rotate({a} 25 25)" opacity="0.3">',
                          f'  <path d="{CLEF}" fill="none" stroke="#2c2c58" stroke-width="4" stroke-linecap="round" stroke-linejoin="round"/>',
                          '</g>']
    marks = ['<path d="M9,14 C7,17 7,20 9,23 M6,18.5 C5,20 5,21.5 6,23 M41,27 C43,30 43,33 41,36 M44,29 C45,30.5 45,32 44,33.5" fill="none" stroke="#ffffff" stroke-width="1.6" stroke-linecap="round"/>']
    body = (echo(-3, -12) + echo(3, 12) + marks +
            ['<g transform="rotate(-7 25 25)">'] + ['  ' + g for g in shadow + clef_glyph()] + ['</g>'])
    defs = [lin("clef", [(0, "#a8a8e0"), (0.5, "#3a3a70"), (1, "#12122a")], 14, 4, 34, 46, user=True)]
    option_button("clef", "Music: the treble clef shaking", defs, body, True)

def runner_parts(shirt, shirt_dark, trousers, trousers_dark, out_top, out_bottom):
    back_arm = "M26.5,19.5 L20,23.5 L15,19"
    front_arm = "M27,19.5 L33,25 L38.5,21"
    back_leg = "M23,30 L18,37.5 L10.5,37"
    front_leg = "M23.5,30 L31,34.5 L30,43 L34.5,43.5"
    torso = "M28.5,17.5 L23.5,30"
    parts = []
    parts += tube(back_leg, trousers_dark, out_bottom, 4.6, 2)
    parts += tube(back_arm, shirt_dark, out_top, 4, 2)
    parts += tube(front_leg, trousers, out_bottom, 4.6, 2)
    parts += tube(torso, shirt, out_top, 7, 2)
    parts += tube(front_arm, shirt, out_top, 4, 2)
    parts += [f'<circle cx="31" cy="10" r="5" fill="url(#{shirt})" stroke="{out_top}" stroke-width="1.25"/>',
              '<circle cx="29.6" cy="8.6" r="1.6" fill="#ffffff" fill-opacity="0.55"/>']
    return parts

def runner_set():
    speed = '<path d="M5.5,15 H11 M4.5,21 H12 M6,27 H10.5" fill="none" stroke="#ffffff" stroke-opacity="0.85" stroke-width="1.6" stroke-linecap="round"/>'
    for hot in (False, True):
        if not hot:
            defs = [lin("top", [(0, "#c8ff9a"), (0.5, "#46c83c"), (1, "#1a7a22")], 10, 2, 40, 32, user=True),
                    lin("topdark", [(0, "#8ad070"), (1, "#145a1a")], 10, 2, 40, 32, user=True),
                    lin("bottom", [(0, "#a8d0ff"), (0.5, "#3a72e0"), (1, "#1a3a9a")], 10, 26, 36, 46, user=True),
                    lin("bottomdark", [(0, "#6a90d0"), (1, "#122a70")], 10, 26, 36, 46, user=True)]
            outs = ("#0a3a0e", "#0a1a48")
        else:
            defs = [lin("top", [(0, "#ffe0f0"), (0.5, "#ff6ab4"), (1, "#c8287a")], 10, 2, 40, 32, user=True),
                    lin("topdark", [(0, "#f0a0c8"), (1, "#982060")], 10, 2, 40, 32, user=True),
                    lin("bottom", [(0, "#fffbd0"), (0.5, "#ffe040"), (1, "#d8a010")], 10, 26, 36, 46, user=True),
                    lin("bottomdark", [(0, "#e8d070"), (1, "#a07808")], 10, 26, 36, 46, user=True)]
            outs = ("#5a0830", "#5a3c00")
        body = [speed] + runner_parts("top", "topdark", "bottom", "bottomdark", *outs)
        option_button("runner", "Animations: a running figure in green and blue on an orange square" if not hot else
                      "Animations: the running figure in pink and yellow", defs, body, hot, grey=not hot)

# ---------------------------------------------------------------- our own options
def smooth_set():
    # a red ball with a soft edge; under the mouse it shines
    for hot in (False, True):
        defs = [rad("ball", [(0, "#ffe4dc"), (0.2, "#ff8a7c"), (0.6, "#ff4040"), (1, "#8e0e10")],
                    0.5, 0.5, 0.5, 0.36, 0.32),
                rad("spot", [(0, "#ffffff", 0.95), (1, "#ffffff", 0)])]
        motif = ['<circle cx="26.2" cy="26.6" r="14" fill="#000000" fill-opacity="0.3"/>',
                 '<circle cx="25" cy="25" r="14" fill="url(#ball)" stroke="#4a0608" stroke-width="1"/>',
                 '<ellipse cx="20" cy="19.5" rx="5" ry="3.2" transform="rotate(-35 20 19.5)" fill="url(#spot)"/>']
        if hot:
            motif = ['<circle cx="25" cy="25" r="19" fill="#fff2c0" fill-opacity="0.45"/>'] + motif
        option_button("smooth", "Smooth drawing: a round red ball on an orange square" if not hot else
                      "Smooth drawing: the ball shining", defs, motif, hot)

def calm_set():
    # a crescent moon; under the mouse a few still stars beside it
    moon = "M30,8 C20,10 14,18 14,26 C14,35 21,42 30,42 C34,42 37,41 39,39 C29,38 23,32 23,24 C23,17 26,11 30,8 Z"
    for hot in (False, True):
        defs = [lin("moon", [(0, "#fffbd0"), (0.5, "#ffe040"), (1, "#c89010")], 0, 0, 1, 1)]
        motif = [f'<path d="{moon}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.3"/>',
                 path(moon, "url(#moon)", "#5a3c00", 1.25)]
        if hot:
            for x, y in ((36, 14), (41, 24), (33, 30)):
                motif.append(f'<path d="M{x},{y - 2.5} L{x + 0.8},{y - 0.8} L{x + 2.5},{y} L{x + 0.8},{y + 0.8} '
                             f'L{x},{y + 2.5} L{x - 0.8},{y + 0.8} L{x - 2.5},{y} L{x - 0.8},{y - 0.8} Z" '
                             'fill="#fffbd0" stroke="#5a3c00" stroke-width="0.6"/>')
        option_button("calm", "Calm screen: a crescent moon on an orange square" if not hot else
                      "Calm screen: the moon with still stars", defs, motif, hot)

def contrast_set():
    # a circle half dark and half light; under the mouse the halves change places
    for hot in (False, True):
        dark, light = ("#fffbe0", "#10102c") if hot else ("#10102c", "#fffbe0")
        motif = ['<circle cx="26.2" cy="26.6" r="14" fill="#000000" fill-opacity="0.3"/>',
                 f'<path d="M25,11 A14,14 0 0 0 25,39 Z" fill="{dark}"/>',
                 f'<path d="M25,11 A14,14 0 0 1 25,39 Z" fill="{light}"/>',
                 '<circle cx="25" cy="25" r="14" fill="none" stroke="#10102c" stroke-width="1.5"/>']
        option_button("contrast", "High-contrast marks: a circle half dark, half light, on an orange square"
                      if not hot else "High-contrast marks: the halves changed round", [], motif, hot)
def lamps_set():
    """Two lamps, green above red, as the lamp beside the solved indicator
    shows them; under the mouse both light up."""
    for hot in (False, True):
        glowing = 1 if hot else 0
        green = [(0, "#eaffd8" if hot else "#c8ffb0"), (0.45, "#5cf04a" if hot else "#38c832"), (1, "#138a1e")]
        red = [(0, "#ffe0d8" if hot else "#ffb8a8"), (0.45, "#ff4a3a" if hot else "#e02a22"), (1, "#8a0a0e")]
        defs = [rad("green", green, 0.5, 0.5, 0.5, 0.35, 0.3), rad("red", red, 0.5, 0.5, 0.5, 0.35, 0.3),
                lin("case", [(0, "#5a5a64"), (0.5, "#2a2a32"), (1, "#101014")], 0, 0, 0.8, 1),
                rad("spot", [(0, "#ffffff", 0.9), (1, "#ffffff", 0)])]
        motif = ['<rect x="16.7" y="6.6" width="18" height="38" rx="6" fill="#000000" fill-opacity="0.3"/>',
                 '<rect x="15.5" y="5" width="18" height="38" rx="6" fill="url(#case)" stroke="#08080a" stroke-width="1.25"/>']
        if glowing:
            for cy, colour in ((15, "#a0ff90"), (33, "#ff9080")):
                g_defs, g_body = glow(24.5, cy, 11, colour, 0.7, "glow%d" % cy)
                defs += g_defs
                motif += g_body
        for cy, fill in ((15, "green"), (33, "red")):
            motif += [f'<circle cx="24.5" cy="{cy}" r="6.5" fill="url(#{fill})" stroke="#08080a" stroke-width="1"/>',
                      f'<ellipse cx="22.6" cy="{cy - 2.2}" rx="2.4" ry="1.5" fill="url(#spot)"/>']
        option_button("lamps", "Solvability: a green and a red lamp on an orange square" if not hot else
                      "Solvability: both lamps lit", defs, motif, hot)

# ---------------------------------------------------------------- logo and icon
def hex3(r, g, b):
    return "#%02x%02x%02x" % (r, g, b)

def shade(rgb, p):
    return tuple(c * p // 100 for c in rgb)

COUNT = (224, 208, 96)

def tile(x, y, F, FH, L, n, sw, ids):
    """A counted tile of n slabs at anchor (x, y), as the board draws it."""
    top = [(x, y - L), (x + 2 * F, y - L), (x + 3 * F, y - L - FH), (x + F, y - L - FH)]
    out = []
    for i in range(n - 1, -1, -1):
        front = [(x, y + i * L), (x + 2 * F, y + i * L), (x + 2 * F, y + (i - 1) * L), (x, y + (i - 1) * L)]
        right = [(x + 2 * F, y + i * L), (x + 3 * F, y - FH + i * L), (x + 3 * F, y - FH + (i - 1) * L), (x + 2 * F, y + (i - 1) * L)]
        out.append(path(poly_d(front), f"url(#{ids}front)", hex3(*shade(COUNT, 65)), sw))
        out.append(path(poly_d(right), f"url(#{ids}right)", hex3(*shade(COUNT, 50)), sw))
    out.insert(0, path(poly_d(top), f"url(#{ids}top)", hex3(*shade(COUNT, 80)), sw))
    # the top face is drawn last so that the slabs' outlines do not cross it
    return out[1:] + out[:1]

def tile_defs(ids):
    return [lin(ids + "top", [(0, "#f4e898"), (0.6, hex3(*COUNT)), (1, "#d2c256")], 0, 0, 1, 1),
            lin(ids + "front", [(0, hex3(*shade(COUNT, 86))), (1, hex3(*shade(COUNT, 76)))], 0, 0, 1, 0),
            lin(ids + "right", [(0, hex3(*shade(COUNT, 68))), (1, hex3(*shade(COUNT, 58)))], 0, 0, 1, 0)]

def ball_defs():
    return [rad("ball", [(0, "#ffe4dc"), (0.18, "#ff8a7c"), (0.55, "#ff4040"), (0.85, "#c41e22"), (1, "#6e0a0c")],
                0.5, 0.5, 0.5, 0.36, 0.32),
            rad("shadow", [(0, "#000000", 0.5), (1, "#000000", 0)]),
            rad("spot", [(0, "#ffffff", 0.95), (0.5, "#ffffff", 0.6), (1, "#ffffff", 0)])]

def ball(cx, cy, r, sw):
    return [f'<circle cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}" fill="url(#ball)" stroke="#4a0608" stroke-width="{num(sw)}"/>',
            f'<ellipse cx="{num(cx - 0.4 * r)}" cy="{num(cy - 0.45 * r)}" rx="{num(0.36 * r)}" ry="{num(0.24 * r)}" '
            f'transform="rotate(-35 {num(cx - 0.4 * r)} {num(cy - 0.45 * r)})" fill="url(#spot)"/>']

def logo_set():
    F, FH, L = 15, 12, 5
    defs = tile_defs("t") + ball_defs()
    body = []
    body += tile(24.5, 42, F, FH, L, 1, 1, "t")    # a tile in the row behind
    body += tile(4.5, 58, F, FH, L, 2, 1, "t")     # its neighbour in front, two slabs
    body += tile(44.5, 58, F, FH, L, 4, 1, "t")    # Pip's stack of four
    # Pip on the stack, his shadow falling to the lower right
    body += ['<ellipse cx="70" cy="47.5" rx="14" ry="4.2" fill="url(#shadow)"/>']
    body += ball(64, 28.5, 18.5, 1)
    write("dialogs/logo.svg", svg(100, 75, "Tumblewick: Pip the red ball on a stack of tiles", defs, body))

def icon_set():
    F, FH, L = 76, 64, 26
    defs = tile_defs("t") + ball_defs()
    body = tile(14, 208, F, FH, L, 2, 5, "t")
    body += ['<ellipse cx="148" cy="158" rx="72" ry="19" fill="url(#shadow)"/>']
    body += ball(124, 86, 66, 4)
    write("icon/tumblewick.svg", svg(256, 256, "Tumblewick: Pip the red ball on a tile", defs, body))

def main():
    global OUT
    OUT = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    message_set()    # check, cross and back on blue squares
    toolbar_set()
    flags_set()
    mouth_set()
    speaker_set()
    clef_set()
    runner_set()
    smooth_set()
    calm_set()
    contrast_set()
    lamps_set()
    logo_set()
    icon_set()


if __name__ == "__main__":
    main()
