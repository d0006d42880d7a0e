#!/usr/bin/env python3
"""What a person sees on the X screen, for whole-program tests.

  screen.py count PICTURE X Y W H
      how many times the opaque pixels of PICTURE (any format ImageMagick
      reads; fully transparent pixels are ignored) appear on the screen
      inside the rectangle X, Y, W, H (screen coordinates), non-overlapping
  screen.py find PICTURE X Y W H
      the screen positions (x,y of the picture's top-left) of those matches,
      one per line
  screen.py ink X Y W H
      how many pixels inside the rectangle are dark (text, lines)
  screen.py colour X Y
      the colour at screen position X, Y as "R G B"

Screens are grabbed with ImageMagick's import from the root window, so the
result is what is painted, whichever window painted it.
"""

import subprocess
import sys


def read_ppm(data):
    """(width, height, bytes RGB) of a binary PPM."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit("screen.py: unexpected picture format")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height * 3]
    return width, height, pixels


def grab(x, y, w, h):
    out = subprocess.run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                          "+repage", "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    return read_ppm(out)


def opaque_pixels(path):
    """[(dx, dy, (r, g, b))] of the picture's pixels that are not transparent."""
    out = subprocess.run(["convert", path, "-depth", "8", "txt:-"], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    pixels = []
    for line in out.splitlines()[1:]:
        where, _, rest = line.partition(":")
        dx, dy = (int(v) for v in where.split(","))
        values = rest.strip().split(")")[0].strip("( ").split(",")
        channels = [int(float(v)) for v in values]
        if len(channels) == 4 and channels[3] == 0:
            continue
        pixels.append((dx, dy, tuple(channels[:3])))
    return pixels


def matches(picture, x, y, w, h):
    pattern = opaque_pixels(picture)
    if not pattern:
        sys.exit("screen.py: %s has no opaque pixel" % picture)
    pw = max(p[0] for p in pattern) + 1
    ph = max(p[1] for p in pattern) + 1
    width, height, shot = grab(x, y, w, h)
    first = pattern[0]
    first_rgb = bytes(first[2])
    found = []
    taken = []
    for oy in range(0, height - ph + 1):
        for ox in range(0, width - pw + 1):
            at = ((oy + first[1]) * width + ox + first[0]) * 3
            if shot[at:at + 3] != first_rgb:
                continue
            if any(abs(ox - tx) < pw and abs(oy - ty) < ph for tx, ty in taken):
                continue
            ok = True
            for dx, dy, rgb in pattern:
                at = ((oy + dy) * width + ox + dx) * 3
                if shot[at:at + 3] != bytes(rgb):
                    ok = False
                    break
            if ok:
                taken.append((ox, oy))
                found.append((x + ox, y + oy))
    return found


def main(argv):
    if len(argv) == 7 and argv[1] in ("count", "find"):
        found = matches(argv[2], *(int(v) for v in argv[3:7]))
        if argv[1] == "count":
            print(len(found))
        else:
            for fx, fy in found:
                print(fx, fy)
    elif len(argv) == 6 and argv[1] == "ink":
        _, _, px = grab(*(int(v) for v in argv[2:6]))
        print(sum(1 for i in range(0, len(px), 3) if px[i] + px[i + 1] + px[i + 2] < 384))
    elif len(argv) == 4 and argv[1] == "colour":
        _, _, px = grab(int(argv[2]), int(argv[3]), 1, 1)
        print(px[0], px[1], px[2])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
