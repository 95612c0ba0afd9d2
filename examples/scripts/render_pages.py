#!/usr/bin/python3
"""Renders models at several angles and tiles the pictures into contact-sheet PNG pages."""

from __future__ import annotations

import argparse
import sys
from pathlib import Path

import numpy as np
import numpy.typing as npt

import morv

from morv_examples import example_models, write_png

VIEW = 360  # the 3D view is 360 x 360 pixels
GAP = 8  # pixels between tiles and around the page
PAPER = (235, 235, 235)

DEFAULT_ANGLES = ["0,0,0", "75,40,0", "300,30,0", "0,180,0"]


def parse_angles(text: str) -> tuple[int, int, int]:
    """Reads "X,Y,Z" whole degrees 0..360."""
    parts = text.split(",")
    if len(parts) != 3:
        raise argparse.ArgumentTypeError(f"angles {text!r}: expected X,Y,Z")
    try:
        x, y, z = (int(p) for p in parts)
    except ValueError:
        raise argparse.ArgumentTypeError(f"angles {text!r}: expected whole degrees") from None
    if not all(0 <= a <= 360 for a in (x, y, z)):
        raise argparse.ArgumentTypeError(f"angles {text!r}: each must lie in 0..360")
    return x, y, z


def tile(pictures: list[npt.NDArray[np.uint8]], columns: int) -> npt.NDArray[np.uint8]:
    """Lays the pictures out row by row on a light page, GAP pixels apart."""
    rows = (len(pictures) + columns - 1) // columns
    height = rows * VIEW + (rows + 1) * GAP
    width = columns * VIEW + (columns + 1) * GAP
    page = np.empty((height, width, 3), dtype=np.uint8)
    page[:, :] = PAPER
    for n, picture in enumerate(pictures):
        top = GAP + (n // columns) * (VIEW + GAP)
        left = GAP + (n % columns) * (VIEW + GAP)
        page[top : top + VIEW, left : left + VIEW] = picture
    return page


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument(
        "models", nargs="*", type=Path, help="MVD files (default: the repository's examples/*.MVD)"
    )
    parser.add_argument(
        "--angles",
        nargs="+",
        type=parse_angles,
        default=[parse_angles(a) for a in DEFAULT_ANGLES],
        metavar="X,Y,Z",
        help=f"view angles, one tile per model and angle (default {' '.join(DEFAULT_ANGLES)})",
    )
    parser.add_argument(
        "--out", type=Path, default=Path("."), help="folder for the pages (default: here)"
    )
    parser.add_argument(
        "--rows", type=int, default=4, help="models per page, one row each (default 4)"
    )
    args = parser.parse_args()
    if args.rows < 1:
        parser.error("--rows must be at least 1")
    models: list[Path] = args.models or example_models()
    if not models:
        parser.error("no models given and none found in the repository's examples/")
    angles: list[tuple[int, int, int]] = args.angles
    args.out.mkdir(parents=True, exist_ok=True)

    # One row per model, one column per angle; a page holds --rows models.
    pages = 0
    for first in range(0, len(models), args.rows):
        pictures: list[npt.NDArray[np.uint8]] = []
        for path in models[first : first + args.rows]:
            try:
                model = morv.load(str(path))
            except (OSError, ValueError) as error:
                print(f"render_pages.py: {error}", file=sys.stderr)
                return 1
            pictures += [morv.render(model, angles=a) for a in angles]
        pages += 1
        page_path = args.out / f"page-{pages}.png"
        write_png(page_path, tile(pictures, len(angles)))
        print(f"{page_path}: {len(pictures) // len(angles)} models x {len(angles)} angles")
    return 0


if __name__ == "__main__":
    sys.exit(main())
