"""morv.import_bicubic against morv-cli import, from files and arrays, and its refusals."""

import math
from pathlib import Path

import numpy as np
import pytest

import morv
from conftest import run_cli


def sphere_net(rows: int = 2, cols: int = 4) -> np.ndarray:
    """A sphere-like set: bicubic nets standing on a sphere of radius 10."""
    net = np.zeros((rows * cols, 4, 4, 3))
    for r in range(rows):
        for c in range(cols):
            for i in range(4):
                theta = math.pi * (r + i / 3) / rows
                for j in range(4):
                    phi = 2 * math.pi * (c + j / 3) / cols
                    net[r * cols + c, i, j] = (10 * math.sin(theta) * math.cos(phi),
                                               10 * math.cos(theta),
                                               10 * math.sin(theta) * math.sin(phi))
    return net


def write_bpt(path: Path, net: np.ndarray) -> None:
    lines = [str(len(net))]
    for patch in net:
        lines.append(f"{patch.shape[0] - 1} {patch.shape[1] - 1}")
        lines += [" ".join(repr(float(x)) for x in point) for row in patch for point in row]
    path.write_text("\n".join(lines) + "\n")


REQUESTS = [
    ({}, []),
    ({"bands": 2, "flip": True}, ["--bands", 2, "--flip"]),
    ({"bands": 1, "both_sides": True, "colour": 255}, ["--bands", 1, "--both-sides", "--colour",
                                                       255]),
    ({"scale": 4.5, "offset": (10, -20, 5), "colour_per_patch": True},
     ["--scale", "4.5", "--offset", 10, -20, 5, "--colour-per-patch"]),
]


@pytest.mark.parametrize("options,arguments", REQUESTS)
def test_the_module_imports_what_the_cli_imports(options: dict[str, object],
                                                 arguments: list[object],
                                                 tmp_path: Path) -> None:
    source = tmp_path / "sphere.bpt"
    write_bpt(source, sphere_net())
    model = morv.import_bicubic(source, **options)  # type: ignore[arg-type]
    assert model.name == "sphere"
    model.save(tmp_path / "py.MVD")
    printed = run_cli("import", source, tmp_path / "cli.MVD", *arguments).stdout
    assert (tmp_path / "py.MVD").read_bytes() == (tmp_path / "cli.MVD").read_bytes()
    assert model.deviation is not None
    assert printed == (f"8 patches → {len(model.patches)} bands, {len(model.controls)} control "
                       f"vertices, largest deviation {model.deviation:.2f}\n")
    # From an array the same set gives the same model, named as a new one is.
    from_array = morv.import_bicubic(sphere_net(), **options)  # type: ignore[arg-type]
    assert from_array.name == "MyObject" and from_array.deviation == model.deviation
    np.testing.assert_array_equal(from_array.controls, model.controls)
    np.testing.assert_array_equal(from_array.patches, model.patches)
    assert morv.load(tmp_path / "py.MVD").deviation is None


def test_lower_degrees_are_raised_exactly() -> None:
    # A bilinear square in an array of shape (1, 2, 2, 3): one band, on whole units exactly.
    square = np.array([[[[0, 0, 0], [0, 60, 0]], [[60, 0, 0], [60, 60, 0]]]], dtype=float)
    model = morv.import_bicubic(square, scale=1)
    assert len(model.patches) == 1 and model.deviation is not None and model.deviation < 1e-9
    assert sorted(map(tuple, model.controls.tolist()))[0] == (0, 0, 0)


REFUSALS = [
    ("1\n1 1\n0 0 0\n1 0 0\n0 x 0\n1 1 0\n", ValueError, "Line 5: 'x' is not a finite number"),
    ("1\n5 1\n", ValueError, "Line 2: a degree of 5 is outside 1..3"),
    (None, OSError, "none.bpt"),
]


@pytest.mark.parametrize("text,error,message", REFUSALS)
def test_bad_files_raise_naming_the_file_and_line(text: str | None, error: type, message: str,
                                                  tmp_path: Path) -> None:
    path = tmp_path / "none.bpt"
    if text is not None:
        path.write_text(text)
    with pytest.raises(error) as raised:
        morv.import_bicubic(path)
    assert message in str(raised.value) and str(path) in str(raised.value)


@pytest.mark.parametrize("source,options,message", [
    (np.zeros((1, 5, 4, 3)), {}, "shape"),
    (np.full((1, 4, 4, 3), np.nan), {}, "not finite"),
    (sphere_net(), {"bands": 0}, "outside 1..1000"),
    (sphere_net(), {"scale": -1}, "positive"),
    (np.repeat(sphere_net(1, 1), 2000, axis=0), {},
     "2000 patches need at least 2000 bands; a model holds at most 1000"),
])
def test_bad_arrays_and_options_raise(source: np.ndarray, options: dict[str, object],
                                      message: str) -> None:
    with pytest.raises(ValueError, match=message):
        morv.import_bicubic(source, **options)  # type: ignore[arg-type]
