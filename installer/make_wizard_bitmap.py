#!/usr/bin/env python3
"""Draws the picture on the left of the installer's first and last pages (164 x 314, the size
the wizard shows at 100 %) with the application mark, from the same drawing code as the
program's own pictures (scripts/make_artwork.py).

    make_wizard_bitmap.py OUT.bmp
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import make_artwork as art  # noqa: E402

SIZE = (164, 314)
MARK = 88
TOP = art.rgb(246, 250, 244)
BOTTOM = art.rgb(205, 230, 196)


def wizard_picture():
    w, h = SIZE
    c = art.Canvas(w, h)
    c.paint(art.rounded_rect(0, 0, w, h, 0.01), art.vertical(0, h, TOP, BOTTOM))
    x0, y0 = (w - MARK) // 2, 44
    ox0, oy0, ox1, oy1, orad = art.mark_plan(MARK)["outer"]
    shadow = art.rounded_rect(x0 + ox0, y0 + oy0, x0 + ox1, y0 + oy1, orad).moved(3, 5)
    c.paint(shadow, art.BLACK, opacity=0.30, soft=6.0)
    art.mark(MARK, c, x0, y0)
    # A rule along the edge where the page's white text area begins.
    c.paint(art.rounded_rect(w - 1, 0, w, h, 0.01), art.KEY_SKIRT_TOP, opacity=0.5)
    return c


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    art.write(sys.argv[1], art.bmp_bytes(wizard_picture(), alpha=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
