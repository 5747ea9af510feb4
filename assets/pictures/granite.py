#!/usr/bin/env python3
"""Draws the two granite textures of the dialogs as SVG.

    python3 assets/pictures/granite.py assets/pictures/dialogs

Writes granite-light.svg (the dialogs' background) and granite-dark.svg (the
text panels, under white bold text), 160 x 120 each. The panels tile them, so
every shape that crosses an edge is drawn again on the opposite side: the
tiles meet without a seam. The random numbers are seeded, so a run gives the
same files again.

Granite is drawn in three layers: broad, faint clouds (radial gradients that
fade out), then grains of feldspar, mica and quartz as small irregular
polygons, then single-pixel specks. Grains of one colour share one path.
"""

import math
import random
import sys
from pathlib import Path

WIDTH, HEIGHT = 160, 120


def wrapped(points, extent):
    """The offsets at which a shape with these points must be drawn to tile."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    left, right = min(xs) - extent, max(xs) + extent
    top, bottom = min(ys) - extent, max(ys) + extent
    for dx in (-WIDTH, 0, WIDTH):
        for dy in (-HEIGHT, 0, HEIGHT):
            if right + dx > 0 and left + dx < WIDTH and bottom + dy > 0 and top + dy < HEIGHT:
                yield dx, dy


def grain(rng, cx, cy, radius):
    """An irregular, slightly elongated polygon around (cx, cy)."""
    corners = rng.randint(4, 7)
    turn = rng.uniform(0, math.pi)
    stretch = rng.uniform(1.0, 1.9)
    points = []
    for i in range(corners):
        a = 2 * math.pi * i / corners + rng.uniform(-0.35, 0.35)
        r = radius * rng.uniform(0.6, 1.15)
        x, y = r * math.cos(a) * stretch, r * math.sin(a)
        points.append((cx + x * math.cos(turn) - y * math.sin(turn),
                       cy + x * math.sin(turn) + y * math.cos(turn)))
    return points


def fmt(v):
    text = f"{v:.1f}"
    return text[:-2] if text.endswith(".0") else text


def hexcolour(rgb):
    return "#%02x%02x%02x" % tuple(max(0, min(255, round(c))) for c in rgb)


def granite(seed, base, clouds, grains, specks):
    """clouds: list of (colour, opacity); grains and specks: lists of
    (colour, opacity, count, min radius, max radius)."""
    rng = random.Random(seed)
    out = []
    out.append('<?xml version="1.0" encoding="UTF-8"?>')
    out.append(f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
               f'width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">')
    out.append('  <title>granite, tiles without a seam</title>')
    out.append('  <defs>')
    for i, (colour, opacity) in enumerate(clouds):
        out.append(f'    <radialGradient id="cloud{i}" cx="0.5" cy="0.5" r="0.5">'
                   f'<stop offset="0" stop-color="{hexcolour(colour)}" stop-opacity="{opacity}"/>'
                   f'<stop offset="1" stop-color="{hexcolour(colour)}" stop-opacity="0"/>'
                   f'</radialGradient>')
    out.append('  </defs>')
    out.append(f'  <rect width="{WIDTH}" height="{HEIGHT}" fill="{hexcolour(base)}"/>')

    # Clouds: soft patches that break up the even base.
    for _ in range(46):
        i = rng.randrange(len(clouds))
        cx, cy = rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT)
        rx, ry = rng.uniform(10, 26), rng.uniform(8, 20)
        for dx, dy in wrapped([(cx - rx, cy - ry), (cx + rx, cy + ry)], 0):
            out.append(f'  <ellipse cx="{fmt(cx + dx)}" cy="{fmt(cy + dy)}" rx="{fmt(rx)}" '
                       f'ry="{fmt(ry)}" fill="url(#cloud{i})"/>')

    # Grains, and some clusters of them, as crystals gather in real stone.
    for colour, opacity, count, rmin, rmax in grains:
        pieces = []
        for _ in range(count):
            cx, cy = rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT)
            cluster = rng.random() < 0.3
            for _ in range(rng.randint(2, 4) if cluster else 1):
                px, py = cx + rng.uniform(-2.5, 2.5), cy + rng.uniform(-2.5, 2.5)
                points = grain(rng, px, py, rng.uniform(rmin, rmax))
                for dx, dy in wrapped(points, 0):
                    pieces.append("M" + " ".join(f"{fmt(x + dx)},{fmt(y + dy)}"
                                                 for x, y in points) + "Z")
        out.append(f'  <path fill="{hexcolour(colour)}" fill-opacity="{opacity}" '
                   f'd="{"".join(pieces)}"/>')

    # Specks: single pixels, on the pixel grid so that they stay crisp.
    for colour, opacity, count, _, _ in specks:
        pieces = []
        for _ in range(count):
            x, y = rng.randrange(WIDTH), rng.randrange(HEIGHT)
            pieces.append(f"M{x},{y}h1v1h-1Z")
        out.append(f'  <path fill="{hexcolour(colour)}" fill-opacity="{opacity}" '
                   f'd="{"".join(pieces)}"/>')
    out.append('</svg>')
    return "\n".join(out) + "\n"


LIGHT = dict(
    seed=1971,
    base=(172, 172, 170),
    clouds=[((150, 150, 150), 0.5), ((205, 204, 200), 0.55), ((186, 176, 170), 0.45)],
    grains=[  # colour, opacity, count, smallest and largest radius
        ((140, 140, 142), 0.6, 230, 0.8, 2.2),
        ((210, 210, 206), 0.75, 210, 0.8, 2.4),
        ((234, 233, 228), 0.8, 70, 0.7, 1.8),
        ((196, 178, 170), 0.55, 60, 1.0, 2.4),
        ((96, 96, 100), 0.65, 120, 0.5, 1.5),
        ((48, 48, 52), 0.7, 55, 0.4, 1.1),
    ],
    specks=[
        ((70, 70, 74), 0.55, 150, 0, 0),
        ((240, 240, 236), 0.6, 120, 0, 0),
        ((128, 128, 130), 0.5, 250, 0, 0),
    ],
)

DARK = dict(
    seed=2024,
    base=(64, 64, 70),
    clouds=[((44, 44, 50), 0.7), ((84, 84, 90), 0.55), ((72, 64, 66), 0.5)],
    grains=[
        ((48, 48, 54), 0.85, 260, 0.8, 2.2),
        ((88, 88, 94), 0.75, 230, 0.8, 2.3),
        ((112, 110, 112), 0.6, 90, 0.7, 1.6),
        ((90, 76, 76), 0.55, 70, 1.0, 2.2),
        ((24, 24, 28), 0.9, 200, 0.5, 1.5),
        ((150, 150, 152), 0.45, 40, 0.4, 1.0),
    ],
    specks=[
        ((20, 20, 24), 0.8, 420, 0, 0),
        ((140, 140, 146), 0.45, 130, 0, 0),
        ((96, 96, 102), 0.7, 400, 0, 0),
    ],
)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    (folder / "granite-light.svg").write_text(granite(**LIGHT), encoding="utf-8")
    (folder / "granite-dark.svg").write_text(granite(**DARK), encoding="utf-8")


if __name__ == "__main__":
    main()
