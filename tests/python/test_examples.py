"""Runs the example scripts of examples/scripts on small inputs and checks the models and pictures they write."""

from __future__ import annotations

import importlib.util
import os
import struct
import subprocess
import zlib
from pathlib import Path

import numpy as np
import numpy.typing as npt
import pytest

import morv

SCRIPTS = Path(
    os.environ.get(
        "MORV_EXAMPLE_SCRIPTS", Path(__file__).resolve().parents[2] / "examples" / "scripts"
    )
)
EXAMPLE_MODELS = sorted(SCRIPTS.parent.glob("*.MVD"))
BACKGROUND = np.array([0, 128, 0], dtype=np.uint8)


def run(script: str, *args: str | Path, cwd: Path) -> subprocess.CompletedProcess[str]:
    result = subprocess.run(
        ["/usr/bin/python3", str(SCRIPTS / script), *map(str, args)],
        cwd=cwd,
        capture_output=True,
        text=True,
        timeout=600,
    )
    return result


def run_ok(script: str, *args: str | Path, cwd: Path) -> str:
    result = run(script, *args, cwd=cwd)
    assert result.returncode == 0, f"{script} failed:\n{result.stdout}\n{result.stderr}"
    return result.stdout


def read_png(path: Path) -> npt.NDArray[np.uint8]:
    """Decodes an 8-bit RGB PNG, every row filter included, checking each chunk's CRC."""
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG"
    pos, idat = 8, b""
    width = height = 0
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind, body = data[pos + 4 : pos + 8], data[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, f"{path}: bad CRC in {kind!r}"
        if kind == b"IHDR":
            width, height, depth, colour_type = struct.unpack(">IIBB", body[:10])
            assert (depth, colour_type) == (8, 2), f"{path}: not 8-bit RGB"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    out = np.zeros((height, stride), dtype=np.int32)
    previous = np.zeros(stride, dtype=np.int32)
    for y in range(height):
        filter_type = raw[y * (stride + 1)]
        line = np.frombuffer(raw, np.uint8, stride, y * (stride + 1) + 1).astype(np.int32)
        row = line.copy()
        for x in range(stride if filter_type else 0):
            a = row[x - 3] if x >= 3 else 0
            b = previous[x]
            c = previous[x - 3] if x >= 3 else 0
            if filter_type == 1:
                predictor = a
            elif filter_type == 2:
                predictor = b
            elif filter_type == 3:
                predictor = (a + b) // 2
            else:
                assert filter_type == 4, f"{path}: unknown filter {filter_type}"
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            row[x] = (line[x] + predictor) & 0xFF
        out[y] = row
        previous = row
    return out.astype(np.uint8).reshape(height, width, 3)


def bezier(points: npt.NDArray[np.float64], t: float) -> npt.NDArray[np.float64]:
    s = 1.0 - t
    weights = np.array([s**3, 3 * s * s * t, 3 * s * t * t, t**3])
    result: npt.NDArray[np.float64] = weights @ points
    return result


def faces_outward(model: morv.Model, patch: int) -> bool:
    """Whether the view draws the patch when its outside, away from the y axis, faces the eye.

    The view draws a strip when (b' - b) x (b - a) points away from the eye, with b and b' two
    points along the second curve and a beside them on the first."""
    corners = model.controls[model.patches[patch] - 1].astype(np.float64)
    a, b = corners[:4], corners[4:]
    normal = np.cross(bezier(b, 0.6) - bezier(b, 0.4), bezier(b, 0.5) - bezier(a, 0.5))
    centre = (bezier(a, 0.5) + bezier(b, 0.5)) / 2
    outward = np.array([centre[0], 0.0, centre[2]])
    return float(normal @ outward) < 0


def model_share(picture: npt.NDArray[np.uint8]) -> float:
    return float(1.0 - np.all(picture == BACKGROUND, axis=2).mean())


# slices, mode, extra arguments, control vertices, patches
VASES = [
    (5, "chords", [], 3 * 3 * 5 + 1, 3 * 5 * 2),
    (4, "chords", ["--no-lining"], 3 * 3 * 4 + 1, 3 * 4),
    (4, "arcs", ["--rings", "2"], 6 * 3 * 4 + 1, 6 * 4 * 2),
]


@pytest.mark.parametrize("slices,mode,extra,controls,patches", VASES)
def test_vase_writes_a_closed_vase_that_faces_out(
    tmp_path: Path, slices: int, mode: str, extra: list[str], controls: int, patches: int
) -> None:
    run_ok(
        "vase.py", "v.MVD", "--slices", str(slices), "--around", mode, "--png", "v.png", *extra,
        cwd=tmp_path,
    )  # fmt: skip
    model = morv.load(str(tmp_path / "v.MVD"))
    assert (len(model.controls), len(model.patches)) == (controls, patches)
    # Neighbouring bands share their vertices: every vertex is used by some patch, and the
    # patches of one band name the vertices of the next.
    used = set(model.patches.flatten().tolist())
    assert used == set(range(1, controls + 1))
    outward = [faces_outward(model, p) for p in range(patches)]
    if "--no-lining" in extra:
        assert all(outward)
    else:
        # Each band is followed by its lining, the same vertices the other way round.
        assert outward == [True, False] * (patches // 2)
    picture = read_png(tmp_path / "v.png")
    assert picture.shape == (360, 360, 3)
    # Only front faces are drawn: a vase that faced inward would leave the view nearly empty.
    assert model_share(picture) > 0.08
    assert np.array_equal(picture, morv.render(model, angles=(315, 0, 0), light=(-100, 60, -200)))


def test_vase_refuses_more_than_a_model_holds(tmp_path: Path) -> None:
    result = run("vase.py", "v.MVD", "--slices", "200", cwd=tmp_path)
    assert result.returncode == 2
    assert "at most 1000" in result.stderr
    assert not (tmp_path / "v.MVD").exists()


@pytest.mark.parametrize("motion", ["walk", "push"])
def test_creature_moves_its_joints_with_their_vertices(tmp_path: Path, motion: str) -> None:
    run_ok("creature.py", "still.MVD", "--segments", "3", "--ticks", "0", cwd=tmp_path)
    run_ok(
        "creature.py", "moved.MVD", "--segments", "3", "--ticks", "4", "--motion", motion,
        "--animations", "walk.MVA", cwd=tmp_path,
    )  # fmt: skip
    still = morv.load(str(tmp_path / "still.MVD"))
    moved = morv.load(str(tmp_path / "moved.MVD"))
    # Three segments: a body joint and two feet each.
    assert len(still.joints) == len(moved.joints) == 9
    assert len(still.patches) == len(moved.patches) == 3 * 12
    assert np.array_equal(still.patches, moved.patches)
    carried: set[int] = set()
    changed = 0
    for before, after in zip(still.joints, moved.joints):
        assert before.controls == after.controls and before.controls
        assert not carried & set(before.controls), "a vertex carried by two joints"
        carried |= set(before.controls)
        shift = np.subtract(after.position, before.position)
        changed += bool(shift.any())
        # The joint carries its vertices rigidly.
        for c in before.controls:
            assert np.array_equal(moved.controls[c - 1] - still.controls[c - 1], shift)
    assert changed > 0, f"{motion} moved no joint"
    assert carried == set(range(1, len(still.controls) + 1))
    if motion == "walk":
        assert (tmp_path / "walk.MVA").read_bytes().startswith(b"Crawler\r\n6\r\n")


def test_render_pages_tiles_every_model_and_angle(tmp_path: Path) -> None:
    models = EXAMPLE_MODELS[:3]
    assert len(models) == 3
    run_ok(
        "render_pages.py", *models, "--angles", "0,0,0", "75,40,0", "--rows", "2",
        "--out", "pages", cwd=tmp_path,
    )  # fmt: skip
    pages = sorted((tmp_path / "pages").glob("*.png"))
    assert [p.name for p in pages] == ["page-1.png", "page-2.png"]
    first, second = read_png(pages[0]), read_png(pages[1])
    # Two angles across, two models down on the first page and one on the second, 8 pixels apart.
    assert first.shape == (2 * 360 + 3 * 8, 2 * 360 + 3 * 8, 3)
    assert second.shape == (360 + 2 * 8, 2 * 360 + 3 * 8, 3)
    tile = first[8 + 368 : 8 + 368 + 360, 8 + 368 : 8 + 368 + 360]
    assert np.array_equal(tile, morv.render(morv.load(str(models[1])), angles=(75, 40, 0)))
    assert model_share(second[8:368, 8:368]) > 0.01


def test_batch_render_writes_one_render_per_model(tmp_path: Path) -> None:
    run_ok("batch_render.py", *EXAMPLE_MODELS, "--workers", "2", "--out", "out", cwd=tmp_path)
    pngs = sorted((tmp_path / "out").glob("*.png"))
    assert [p.stem for p in pngs] == [m.stem for m in EXAMPLE_MODELS]
    for model, png in zip(EXAMPLE_MODELS, pngs):
        assert np.array_equal(read_png(png), morv.render(morv.load(str(model))))


def check_generated(folder: Path, count: int) -> None:
    models = sorted(folder.glob("*.MVD"))
    pngs = sorted(folder.glob("*.png"))
    assert len(models) == len(pngs) == count
    shapes = set()
    for model_path, png in zip(models, pngs):
        assert model_path.stem == png.stem
        model = morv.load(str(model_path))
        picture = read_png(png)
        assert model_share(picture) > 0.01
        assert np.array_equal(picture, morv.render(model))
        shapes.add(len(model.patches))
    assert len(shapes) == count, "the generated models are not all different"


def test_batch_render_generates_variants(tmp_path: Path) -> None:
    run_ok("batch_render.py", "--generate", "3", "--workers", "2", "--out", "gen", cwd=tmp_path)
    check_generated(tmp_path / "gen", 3)


def test_batch_render_on_a_dask_cluster(tmp_path: Path) -> None:
    pytest.importorskip("distributed")
    run_ok(
        "batch_render.py", "--generate", "3", "--workers", "2", "--dask", "--out", "gen",
        cwd=tmp_path,
    )  # fmt: skip
    check_generated(tmp_path / "gen", 3)


def test_batch_render_without_dask_says_so(tmp_path: Path) -> None:
    if importlib.util.find_spec("distributed") is not None:
        pytest.skip("distributed is installed")
    result = run("batch_render.py", "--generate", "1", "--dask", "--out", "gen", cwd=tmp_path)
    assert result.returncode == 1
    assert "python3-distributed is not installed" in result.stderr
