#!/usr/bin/python3
"""Finds a picture inside a screenshot, pixel for pixel.

find_picture.py SCREENSHOT PICTURE [WIDTH HEIGHT]: prints "X Y" of the place
where the top-left WIDTH x HEIGHT pixels of PICTURE (all of it by default)
appear in SCREENSHOT exactly, and exits 0; exits 1 when they appear nowhere.
A drawing area shows its back buffer less its last row and column, so the
caller passes the buffer's size less one.
"""
import sys

from PIL import Image


def main():
    shot = Image.open(sys.argv[1]).convert("RGB")
    picture = Image.open(sys.argv[2]).convert("RGB")
    width = int(sys.argv[3]) if len(sys.argv) > 3 else picture.width
    height = int(sys.argv[4]) if len(sys.argv) > 4 else picture.height
    picture = picture.crop((0, 0, width, height))
    want = picture.tobytes()
    # Anchor on the picture's first pixel that is not black: few places in a
    # screenshot share it.
    pixels = picture.load()
    anchor = next(((x, y) for y in range(height) for x in range(width)
                   if pixels[x, y] != (0, 0, 0)), (0, 0))
    colour = pixels[anchor]
    seen = shot.load()
    for y in range(anchor[1], shot.height - height + anchor[1] + 1):
        for x in range(anchor[0], shot.width - width + anchor[0] + 1):
            if seen[x, y] != colour:
                continue
            left, top = x - anchor[0], y - anchor[1]
            if shot.crop((left, top, left + width, top + height)).tobytes() == want:
                print(left, top)
                return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
