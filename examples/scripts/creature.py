#!/usr/bin/python3
"""Builds a many-legged creature of jointed segments, walks it or pushes it for a few ticks, and saves it."""

from __future__ import annotations

import argparse
import math
import sys
import tempfile
from pathlib import Path

import morv

from morv_examples import write_file_atomically

# Sizes in model units. The creature runs along x with its head toward +x; up is -y, so the view
# shows it from the side at angles 0 0 0, and the ground lies at y = GROUND.
SEGMENT_LENGTH = 22
RADIUS = 10
GROUND = 30
LEG_SPREAD = 18

BODY_COLOURS = [morv.rgb(70, 160, 60), morv.rgb(110, 190, 70)]
HEAD_COLOUR = morv.rgb(200, 80, 40)
LEG_COLOUR = morv.rgb(60, 40, 30)

# What one segment uses: three rings of 12 vertices (the head's tip is one), two legs of 8.
CONTROLS_PER_SEGMENT = 36 + 16
MAX_CONTROLS = 1000

# k of a cubic Bézier quarter circle: the inner control points lie k * radius along the tangents.
QUARTER = 0.5523

Point = tuple[int, int, int]


def ring(model: morv.Model, x: float, radius: float) -> list[list[int]]:
    """Adds a circle around the x axis as four cubic quarter arcs; returns their vertex numbers."""
    if radius == 0:
        tip = model.add_control(round(x), 0, 0)
        return [[tip] * 4 for _ in range(4)]
    on, ahead, behind = [], [], []
    for q in range(4):
        a = q * math.pi / 2
        y, z = radius * math.cos(a), radius * math.sin(a)
        ty, tz = -math.sin(a) * QUARTER * radius, math.cos(a) * QUARTER * radius
        on.append(model.add_control(round(x), round(y), round(z)))
        ahead.append(model.add_control(round(x), round(y + ty), round(z + tz)))
        behind.append(model.add_control(round(x), round(y - ty), round(z - tz)))
    return [[on[q], ahead[q], behind[(q + 1) % 4], on[(q + 1) % 4]] for q in range(4)]


def band(model: morv.Model, behind: list[list[int]], front: list[list[int]], colour: int) -> None:
    # The arcs run the same way round in both rings; the front ring first keeps the outside out.
    for q in range(4):
        model.add_patch(front[q] + behind[q], colour)


def add_segment(model: morv.Model, index: int, centre_x: int, head: bool) -> tuple[int, list[int]]:
    """Adds one body segment with its pair of legs; returns the body joint and the two foot joints."""
    first = len(model.controls) + 1
    tail = ring(model, centre_x - SEGMENT_LENGTH * 0.45, RADIUS * 0.6)
    middle = ring(model, centre_x, RADIUS * (1.3 if head else 1.0))
    tip = ring(model, centre_x + SEGMENT_LENGTH * 0.45, 0 if head else RADIUS * 0.6)
    colour = HEAD_COLOUR if head else BODY_COLOURS[index % len(BODY_COLOURS)]
    band(model, tail, middle, colour)
    band(model, middle, tip, colour)
    body = list(range(first, len(model.controls) + 1))

    feet = []
    for side in (-1, 1):
        # Each leg is a band between two curves from the hip out and down to the foot, drawn from
        # both sides. The hip ends ride with the body, the foot ends with the foot's own joint.
        curves = []
        for dx in (-3, 3):
            x = centre_x + dx
            points = [
                (x, round(RADIUS * 0.4), side * round(RADIUS * 0.7)),
                (x, round(RADIUS * 0.2), side * (RADIUS + 10)),
                (x, GROUND - 12, side * (RADIUS + LEG_SPREAD)),
                (x, GROUND, side * (RADIUS + LEG_SPREAD)),
            ]
            curves.append([model.add_control(*p) for p in points])
        model.add_patch(curves[0] + curves[1], LEG_COLOUR)
        model.add_patch(curves[1] + curves[0], LEG_COLOUR)
        body += [curves[0][0], curves[0][1], curves[1][0], curves[1][1]]
        foot_controls = [curves[0][2], curves[0][3], curves[1][2], curves[1][3]]
        feet.append(
            model.add_joint(
                (centre_x, GROUND, side * (RADIUS + LEG_SPREAD)), mass=5, controls=foot_controls
            )
        )
    joint = model.add_joint((centre_x, 0, 0), mass=50, controls=body)
    return joint, feet


def build(segments: int) -> tuple[morv.Model, list[int], list[int]]:
    """The creature: body joints from the tail to the head, and the foot joints."""
    model = morv.Model()
    model.name = "Crawler"
    model.owner = "Morv! 5 examples"
    bodies: list[int] = []
    feet: list[int] = []
    start = -(segments - 1) * SEGMENT_LENGTH // 2
    for i in range(segments):
        joint, pair = add_segment(model, i, start + i * SEGMENT_LENGTH, head=i == segments - 1)
        bodies.append(joint)
        feet += pair
    return model, bodies, feet


def walk_lines(model: morv.Model, feet: list[int]) -> list[str]:
    """An animation set in which every foot steps forward and back, neighbours out of step."""
    lines = [model.name, str(len(feet))]
    for n, joint in enumerate(feet):
        x, y, z = model.joints[joint - 1].position
        # Home, up and forward, down in front, back toward home; after the last location the
        # joint jumps back to the first, so the last lies near it.
        loop = [(x, y, z), (x + 6, y - 10, z), (x + 12, y, z), (x + 3, y, z)]
        if (n // 2 + n % 2) % 2:
            loop = loop[2:] + loop[:2]
        lines += [f"Foot {n + 1}", str(joint), str(len(loop))]
        for point in loop:
            lines += [str(v) for v in point]
        lines += ["3", "REPEAT"]
    return lines


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument(
        "out", nargs="?", default="crawler.MVD", type=Path, help="model file to write"
    )
    parser.add_argument("--segments", type=int, default=6, help="body segments (default 6)")
    parser.add_argument(
        "--motion",
        choices=("walk", "push"),
        default="walk",
        help="walk: play an animation per foot; push: push the head with the mechanics "
        "(default walk)",
    )
    parser.add_argument("--ticks", type=int, default=5, help="ticks to run (default 5)")
    parser.add_argument(
        "--animations",
        type=Path,
        help="with walk, also keep the animation set in this MVA file",
    )
    args = parser.parse_args()
    if args.segments < 1 or args.ticks < 0:
        parser.error("--segments must be at least 1 and --ticks 0 or more")
    if args.segments * CONTROLS_PER_SEGMENT > MAX_CONTROLS:
        parser.error(
            f"{args.segments} segments need {args.segments * CONTROLS_PER_SEGMENT} control "
            f"vertices; a model holds at most {MAX_CONTROLS}"
        )

    model, bodies, feet = build(args.segments)
    if args.motion == "walk":
        data = ("\r\n".join(walk_lines(model, feet)) + "\r\n").encode("utf-8")
        with tempfile.TemporaryDirectory() as folder:
            path = args.animations or Path(folder) / "walk.MVA"
            write_file_atomically(path, data)
            animations = morv.load_animations(str(path))
            playback = morv.Playback(model, animations)
            for k in range(1, len(feet) + 1):
                playback.play(k)
            playback.step(args.ticks)
            model = playback.model
    else:
        # G = 1 x 10^0 pulls the joints together visibly; the push sends the head forward and up.
        mechanics = morv.Mechanics(model, g=(1, 0))
        mechanics.apply_force(bodies[-1], (60.0, -30.0, 0.0))
        mechanics.step(args.ticks)
        model = mechanics.model

    model.save(str(args.out))
    print(
        f"{args.out}: {len(model.controls)} control vertices, {len(model.patches)} patches, "
        f"{len(model.joints)} joints after {args.ticks} ticks of {args.motion}"
    )
    for number, joint in enumerate(model.joints, start=1):
        print(f"  joint {number}: {joint.position}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
