#!/usr/bin/python3
"""Turns a vase from a profile curve of cubic Bézier segments and writes it as an MVD model."""

from __future__ import annotations

import argparse
import math
import sys
from pathlib import Path

import morv

from morv_examples import background_share, write_png

# The profile, bottom to top, as (radius, height) control points of cubic Bézier segments that share
# their end points: 3 segments, 10 points. It starts on the axis, so the vase has a closed foot.
PROFILE: list[tuple[float, float]] = [
    (0, -90), (30, -90), (48, -90), (50, -80),  # foot
    (70, -45), (72, 10), (38, 45),  # belly
    (22, 62), (24, 80), (38, 92),  # neck and lip
]  # fmt: skip

# One glaze per profile segment, and the darker inside.
GLAZES = [morv.rgb(150, 75, 40), morv.rgb(40, 110, 190), morv.rgb(230, 200, 90)]
LINING = morv.rgb(90, 50, 30)

# Capacities of a model.
MAX_CONTROLS = 1000
MAX_PATCHES = 1000


def segments() -> int:
    return (len(PROFILE) - 1) // 3


def bezier_point(p0: float, p1: float, p2: float, p3: float, t: float) -> float:
    s = 1.0 - t
    return s * s * s * p0 + 3 * s * s * t * p1 + 3 * s * t * t * p2 + t * t * t * p3


def space_point(radius: float, height: float, angle: float) -> tuple[int, int, int]:
    # The axis is the model's y; the view shows +y downward, so height goes to -y to stand upright.
    return (round(radius * math.cos(angle)), round(-height), round(radius * math.sin(angle)))


class VaseBuilder:
    """Adds the vase's control vertices to a model once each, so neighbouring bands share them."""

    def __init__(self, model: morv.Model) -> None:
        self.model = model
        self.axis_points: dict[tuple[int, int, int], int] = {}

    def vertex(self, point: tuple[int, int, int], on_axis: bool) -> int:
        # Every slice meets in one point on the axis: add it once.
        if on_axis:
            if point not in self.axis_points:
                self.axis_points[point] = self.model.add_control(*point)
            return self.axis_points[point]
        return self.model.add_control(*point)


def chords_counts(slices: int, lining: bool) -> tuple[int, int]:
    on_axis = sum(1 for r, _ in PROFILE if r == 0)
    controls = (len(PROFILE) - on_axis) * slices + on_axis
    patches = segments() * slices * (2 if lining else 1)
    return controls, patches


def build_chords(model: morv.Model, slices: int, lining: bool) -> None:
    """Each patch is the band between one profile segment at two neighbouring angles."""
    builder = VaseBuilder(model)
    step = 2 * math.pi / slices
    # vertices[p][i]: the vertex of profile point p at slice i.
    vertices = [
        [builder.vertex(space_point(r, h, i * step), r == 0) for i in range(slices)]
        for r, h in PROFILE
    ]
    for s in range(segments()):
        for i in range(slices):
            here = [vertices[3 * s + j][i] for j in range(4)]
            there = [vertices[3 * s + j][(i + 1) % slices] for j in range(4)]
            # With the curves running upward, the earlier angle first puts the front outside.
            model.add_patch(here + there, GLAZES[s % len(GLAZES)])
            if lining:
                model.add_patch(there + here, LINING)


def arcs_counts(slices: int, rings: int, lining: bool) -> tuple[int, int]:
    profile = ring_profile(rings)
    on_axis = sum(1 for r, _ in profile if r == 0)
    controls = (len(profile) - on_axis) * 3 * slices + on_axis
    patches = (len(profile) - 1) * slices * (2 if lining else 1)
    return controls, patches


def ring_profile(rings: int) -> list[tuple[float, float]]:
    """Points on the profile curve, `rings` per segment plus the top one."""
    points: list[tuple[float, float]] = []
    for s in range(segments()):
        p = PROFILE[3 * s : 3 * s + 4]
        for k in range(rings):
            t = k / rings
            points.append(
                (
                    bezier_point(p[0][0], p[1][0], p[2][0], p[3][0], t),
                    bezier_point(p[0][1], p[1][1], p[2][1], p[3][1], t),
                )
            )
    points.append(PROFILE[-1])
    return points


def build_arcs(model: morv.Model, slices: int, rings: int, lining: bool) -> None:
    """Each patch is the band between two circle arcs at neighbouring heights of the profile."""
    builder = VaseBuilder(model)
    step = 2 * math.pi / slices
    # A cubic Bézier arc of angle a has its inner control points k * radius along the tangents,
    # k = 4/3 tan(a/4): 0.5523 for a quarter turn.
    k = 4.0 / 3.0 * math.tan(step / 4)
    profile = ring_profile(rings)
    # arcs[j][i]: the four vertices of ring j's arc from slice i to slice i + 1.
    arcs: list[list[list[int]]] = []
    for r, h in profile:
        if r == 0:
            centre = builder.vertex(space_point(0, h, 0), True)
            arcs.append([[centre] * 4 for _ in range(slices)])
            continue
        on_curve, ahead, behind = [], [], []
        for i in range(slices):
            a = i * step
            x, y, z = r * math.cos(a), -h, r * math.sin(a)
            tx, tz = -math.sin(a) * k * r, math.cos(a) * k * r
            on_curve.append(model.add_control(round(x), round(y), round(z)))
            ahead.append(model.add_control(round(x + tx), round(y), round(z + tz)))
            behind.append(model.add_control(round(x - tx), round(y), round(z - tz)))
        arcs.append(
            [
                [on_curve[i], ahead[i], behind[(i + 1) % slices], on_curve[(i + 1) % slices]]
                for i in range(slices)
            ]
        )
    per_segment = rings
    for j in range(len(profile) - 1):
        colour = GLAZES[(j // per_segment) % len(GLAZES)]
        for i in range(slices):
            # With the arcs running with the angle, the upper ring first puts the front outside.
            # The view tells a strip's side from two points of the second curve, so a ring that
            # shrank to the axis goes first instead, both arcs reversed to keep the same side out.
            upper, lower = arcs[j + 1][i], arcs[j][i]
            if len(set(lower)) == 1:
                outside, inside = lower + upper[::-1], upper + lower
            elif len(set(upper)) == 1:
                outside, inside = upper + lower, upper + lower[::-1]
            else:
                outside, inside = upper + lower, lower + upper
            model.add_patch(outside, colour)
            if lining:
                model.add_patch(inside, LINING)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out", nargs="?", default="vase.MVD", type=Path, help="model file to write")
    parser.add_argument(
        "--slices", type=int, help="slices around the axis (default 16, or 4 quarter turns with arcs)"
    )
    parser.add_argument(
        "--around",
        choices=("chords", "arcs"),
        default="chords",
        help="chords: each patch is a profile segment between two slices, straight across; "
        "arcs: each patch is a cubic circle arc between two heights, straight up (default chords)",
    )
    parser.add_argument(
        "--rings", type=int, default=3, help="heights per profile segment with --around arcs"
    )
    parser.add_argument(
        "--no-lining", action="store_true", help="leave out the inside (half the patches)"
    )
    parser.add_argument("--png", type=Path, help="also render the vase to this PNG (360 x 360)")
    parser.add_argument(
        "--angles",
        type=int,
        nargs=3,
        default=[315, 0, 0],
        metavar=("X", "Y", "Z"),
        help="view angles of the PNG, whole degrees 0..360 (default 315 0 0: from above, into the mouth)",
    )
    parser.add_argument(
        "--light",
        type=int,
        nargs=3,
        default=[-100, 60, -200],
        metavar=("X", "Y", "Z"),
        help="direction from the light toward the vase, in view space (default -100 60 -200)",
    )
    args = parser.parse_args()
    if args.slices is None:
        args.slices = 16 if args.around == "chords" else 4
    if args.slices < 3 or args.rings < 1:
        parser.error("--slices must be at least 3 and --rings at least 1")
    if not all(0 <= a <= 360 for a in args.angles):
        parser.error("--angles must be whole degrees from 0 to 360")
    lining = not args.no_lining

    if args.around == "chords":
        controls, patches = chords_counts(args.slices, lining)
    else:
        controls, patches = arcs_counts(args.slices, args.rings, lining)
    if controls > MAX_CONTROLS or patches > MAX_PATCHES:
        parser.error(
            f"{controls} control vertices and {patches} patches: a model holds at most "
            f"{MAX_CONTROLS} of each; use fewer slices or rings"
        )

    model = morv.Model()
    model.name = "Vase"
    model.owner = "Morv! 5 examples"
    if args.around == "chords":
        build_chords(model, args.slices, lining)
    else:
        build_arcs(model, args.slices, args.rings, lining)
    model.save(str(args.out))
    print(f"{args.out}: {len(model.controls)} control vertices, {len(model.patches)} patches")

    if args.png is not None:
        angles: tuple[int, int, int] = (args.angles[0], args.angles[1], args.angles[2])
        light: tuple[int, int, int] = (args.light[0], args.light[1], args.light[2])
        picture = morv.render(model, angles=angles, light=light)
        write_png(args.png, picture)
        # Only front faces are drawn: a picture of mostly background means the bands face inward.
        print(f"{args.png}: {100 * (1 - background_share(picture)):.0f}% of the picture is vase")
    return 0


if __name__ == "__main__":
    sys.exit(main())
