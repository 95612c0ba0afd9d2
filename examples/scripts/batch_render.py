#!/usr/bin/python3
"""Renders many models to PNG across processes, or across a Dask cluster with --dask."""

from __future__ import annotations

import argparse
import colorsys
import importlib
import math
import os
import sys
from collections.abc import Callable, Iterable
from concurrent.futures import ProcessPoolExecutor
from pathlib import Path

import morv

import morv_examples
from morv_examples import background_share, write_png

Job = tuple[str, str, tuple[int, int, int]]


def render_one(job: Job) -> tuple[str, float]:
    """Loads one model, renders it and writes its PNG; returns the PNG's path and how full it is."""
    model_path, png_path, angles = job
    picture = morv.render(morv.load(model_path), angles=angles)
    write_png(Path(png_path), picture)
    return png_path, 1.0 - background_share(picture)


def generate(number: int, seed: int) -> morv.Model:
    """A star of twisted petals: petal count, twist, size and colours vary with number and seed."""
    petals = 3 + (number + seed) % 6
    twist = 10 + 7 * ((number * 5 + seed) % 5)
    length = 60 + 8 * ((number + 2 * seed) % 5)
    hue = ((number * 0.13 + seed * 0.37) % 1.0, 0.7, 0.5)
    model = morv.Model()
    model.name = f"Star {number}"
    model.owner = "Morv! 5 examples"
    centre = model.add_control(0, 0, 0)
    for p in range(petals):
        a = 2 * math.pi * p / petals
        half = math.pi / petals * 0.6
        # Two edge curves from the centre out to the tip, bowed apart, lifted toward the viewer.
        curves = []
        for side in (-1, 1):
            points = [centre]
            for t, bow, lift in ((0.35, 1.2, twist), (0.75, 0.9, twist // 2), (1.0, 0.2, 0)):
                b = a + side * half * bow
                r = length * t
                points.append(
                    model.add_control(round(r * math.cos(b)), round(r * math.sin(b)), lift)
                )
            curves.append(points)
        r, g, b = colorsys.hls_to_rgb((hue[0] + p / petals / 3) % 1.0, hue[2], hue[1])
        colour = morv.rgb(round(255 * r), round(255 * g), round(255 * b))
        # Both sides of each petal are drawn, so the star shows from any angle.
        model.add_patch(curves[1] + curves[0], colour)
        model.add_patch(curves[0] + curves[1], morv.rgb(200, 200, 200))
    return model


def model_paths(inputs: Iterable[Path]) -> list[Path]:
    paths: list[Path] = []
    for item in inputs:
        paths += sorted(item.glob("*.MVD")) if item.is_dir() else [item]
    return paths


def run_processes(jobs: list[Job], workers: int) -> list[tuple[str, float]]:
    with ProcessPoolExecutor(max_workers=workers) as pool:
        return list(pool.map(render_one, jobs))


def run_dask(jobs: list[Job], workers: int, address: str | None) -> list[tuple[str, float]]:
    try:
        # Imported by name: the scheduler is optional, and so are its type hints.
        distributed = importlib.import_module("distributed")
    except ImportError:
        print(
            "batch_render.py: --dask needs Dask's distributed scheduler, and python3-distributed "
            "is not installed",
            file=sys.stderr,
        )
        raise SystemExit(1) from None
    cluster = None
    if address is None:
        cluster = distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True)
        client = distributed.Client(cluster)
    else:
        client = distributed.Client(address)
    try:
        # The workers import the shared helpers by name; send them along with the jobs.
        client.upload_file(morv_examples.__file__)
        render: Callable[[Job], tuple[str, float]] = render_one
        futures = client.map(render, jobs, pure=False)
        results: list[tuple[str, float]] = client.gather(futures)
        return results
    finally:
        client.close()
        if cluster is not None:
            cluster.close()


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("models", nargs="*", type=Path, help="MVD files or folders of them")
    parser.add_argument(
        "--generate",
        type=int,
        metavar="N",
        help="render N generated star models instead (saved beside their PNGs)",
    )
    parser.add_argument("--seed", type=int, default=0, help="varies the generated models")
    parser.add_argument(
        "--out", type=Path, default=Path("renders"), help="folder for the PNGs (default renders)"
    )
    parser.add_argument(
        "--angles",
        type=int,
        nargs=3,
        default=[0, 0, 0],
        metavar=("X", "Y", "Z"),
        help="view angles, whole degrees 0..360 (default 0 0 0)",
    )
    parser.add_argument(
        "--workers", type=int, default=2, help="processes or Dask workers (default 2)"
    )
    parser.add_argument(
        "--dask",
        nargs="?",
        const="",
        metavar="ADDRESS",
        help="render on a Dask cluster: a local one, or the scheduler at ADDRESS (tcp://host:8786)",
    )
    args = parser.parse_args()
    if args.workers < 1:
        parser.error("--workers must be at least 1")
    if not all(0 <= a <= 360 for a in args.angles):
        parser.error("--angles must be whole degrees from 0 to 360")
    if (args.generate is None) == (not args.models):
        parser.error("give MVD files or folders, or --generate N")
    angles: tuple[int, int, int] = (args.angles[0], args.angles[1], args.angles[2])
    args.out.mkdir(parents=True, exist_ok=True)

    if args.generate is not None:
        if args.generate < 1:
            parser.error("--generate needs at least 1")
        paths = []
        for number in range(1, args.generate + 1):
            path = args.out / f"star-{number}.MVD"
            generate(number, args.seed).save(str(path))
            paths.append(path)
    else:
        paths = model_paths(args.models)
        if not paths:
            parser.error("no MVD files found")
    # Each model's PNG takes its name; two models of one name would overwrite each other.
    names = [p.stem for p in paths]
    if len(set(names)) != len(names):
        parser.error("two models have the same name; render them into separate folders")
    jobs: list[Job] = [(str(p), str(args.out / f"{p.stem}.png"), angles) for p in paths]

    try:
        if args.dask is None:
            results = run_processes(jobs, args.workers)
        else:
            results = run_dask(jobs, args.workers, args.dask or None)
    except (OSError, ValueError) as error:
        print(f"batch_render.py: {error}", file=sys.stderr)
        return 1
    for png, filled in results:
        print(f"{png}: {100 * filled:.0f}% model")
    print(f"{len(results)} models rendered with {args.workers} workers (pid {os.getpid()})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
