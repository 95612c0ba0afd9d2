"""The module's videos and pictures of any size against morv-cli's, read back by ffprobe and ffmpeg."""

import json
import subprocess
from pathlib import Path

import numpy as np
import pytest

import morv
from conftest import EXAMPLES, run_cli

RING = EXAMPLES / "ring.MVD"


def probe(path: Path) -> dict[str, object]:
    """What ffprobe reads of the video's stream, every frame decoded and counted."""
    result = subprocess.run(
        ["ffprobe", "-v", "error", "-count_frames", "-show_entries",
         "stream=codec_name,width,height,nb_read_frames,pix_fmt", "-of", "json", str(path)],
        capture_output=True, text=True, check=True)
    streams = json.loads(result.stdout)["streams"]
    assert len(streams) == 1
    return dict(streams[0])


def first_frame(path: Path, width: int, height: int) -> np.ndarray:
    result = subprocess.run(
        ["ffmpeg", "-v", "error", "-i", str(path), "-frames:v", "1", "-f", "rawvideo",
         "-pix_fmt", "rgb24", "-"], capture_output=True, check=True)
    return np.frombuffer(result.stdout, np.uint8).reshape(height, width, 3)


def mean_difference(a: np.ndarray, b: np.ndarray) -> float:
    return float(np.abs(a.astype(np.int16) - b.astype(np.int16)).mean())


@pytest.mark.parametrize("suffix,codec,loss", [("mp4", "h264", 2.5), ("webm", "vp9", 2.5),
                                               ("gif", "gif", None)])
def test_written_turntable_is_the_cli_turntable(suffix: str, codec: str, loss: float | None,
                                                tmp_path: Path) -> None:
    model = morv.load(RING)
    py_video = tmp_path / f"py.{suffix}"
    cli_video = tmp_path / f"cli.{suffix}"
    frames = morv.turntable_frames(model, frames=4, axis="x", angles=(30, 20, 0))
    assert morv.write_video(frames, py_video, fps=12) == 4
    run_cli("turntable", RING, cli_video, "--frames", 4, "--axis", "x", "--angles", 30, 20, 0,
            "--fps", 12)
    stream = probe(py_video)
    assert stream == probe(cli_video)
    assert (stream["codec_name"], stream["width"], stream["height"], stream["nb_read_frames"]) \
        == (codec, 360, 360, "4")
    if suffix == "mp4":
        assert stream["pix_fmt"] == "yuv420p"
    ours, theirs = first_frame(py_video, 360, 360), first_frame(cli_video, 360, 360)
    still = morv.render(model, angles=(30, 20, 0))
    if loss is None:
        np.testing.assert_array_equal(ours, theirs)
    else:
        assert mean_difference(ours, still) < loss
        assert mean_difference(theirs, still) < loss
    # The first frame is the start, not another angle of the turn.
    assert mean_difference(ours, morv.render(model, angles=(120, 20, 0))) > 5
    assert sorted(p.name for p in tmp_path.iterdir()) == [f"cli.{suffix}", f"py.{suffix}"]


def test_the_turntable_turns_from_its_angles() -> None:
    model = morv.load(RING)
    table = morv.Turntable(model, frames=8, axis="z", angles=(10, 20, 350))
    assert len(table) == 8
    assert [table.angles(k) for k in (0, 1, 2, 7, -1)] == \
        [(10, 20, 350), (10, 20, 35), (10, 20, 80), (10, 20, 305), (10, 20, 305)]
    np.testing.assert_array_equal(table[1], morv.render(model, angles=(10, 20, 35)))
    assert len(list(morv.Turntable(model, frames=3))) == 3
    with pytest.raises(IndexError):
        table[8]


def frames_of(*shapes: tuple[int, ...], dtype: type = np.uint8) -> list[np.ndarray]:
    return [np.zeros(shape, dtype) for shape in shapes]


@pytest.mark.parametrize("frames,name,message", [
    (frames_of((4, 4, 3), (4, 6, 3)), "v.gif", "Frame 2 is 6 x 4, the first 4 x 4"),
    (frames_of((4, 4, 3), dtype=np.float32), "v.gif", "uint8, not of float32"),
    (frames_of((4, 4)), "v.webm", "a \\(height, width, 3\\) array"),
    ([[0, 0, 0]], "v.gif", "NumPy array of uint8, not <class 'list'>"),
    ([], "v.gif", "at least one frame"),
    (frames_of((4, 4, 3)), "v.avi", "must end in .mp4, .webm or .gif"),
    (frames_of((5, 4, 3)), "v.mp4", "must be even, not 4 x 5"),
])
def test_frames_it_cannot_encode_leave_nothing(frames: list[np.ndarray], name: str, message: str,
                                               tmp_path: Path) -> None:
    (tmp_path / "old.gif").write_bytes(b"old")
    with pytest.raises(ValueError, match=message):
        morv.write_video(frames, tmp_path / name)
    assert sorted(p.name for p in tmp_path.iterdir()) == ["old.gif"]


def test_a_missing_or_failing_ffmpeg_leaves_nothing(tmp_path: Path,
                                                    monkeypatch: pytest.MonkeyPatch) -> None:
    (tmp_path / "empty").mkdir()
    (tmp_path / "bin").mkdir()
    fake = tmp_path / "bin" / "ffmpeg"
    fake.write_text("#!/bin/sh\necho 'Unknown encoder' >&2\nexit 1\n")
    fake.chmod(0o755)
    (tmp_path / "out").mkdir()
    monkeypatch.setenv("PATH", str(tmp_path / "empty"))
    with pytest.raises(RuntimeError, match="^ffmpeg is not installed: install the Debian package "
                                           "ffmpeg$"):
        morv.write_video(frames_of((4, 4, 3)), tmp_path / "out" / "v.gif")
    monkeypatch.setenv("PATH", str(tmp_path / "bin"))
    with pytest.raises(RuntimeError, match="v.gif: ffmpeg failed: Unknown encoder$"):
        morv.write_video(frames_of((4, 4, 3), (4, 4, 3)), tmp_path / "out" / "v.gif")
    assert list((tmp_path / "out").iterdir()) == []


def test_a_frame_source_that_fails_leaves_nothing(tmp_path: Path) -> None:
    def frames():
        yield np.zeros((8, 8, 3), np.uint8)
        raise KeyError("the caller's own")

    with pytest.raises(KeyError):
        morv.write_video(frames(), tmp_path / "v.mp4")
    assert list(tmp_path.iterdir()) == []


def test_render_at_the_view_size_is_the_view_and_size_is_checked() -> None:
    model = morv.load(RING)
    np.testing.assert_array_equal(morv.render(model, angles=(30, 20, 0), size=(360, 360),
                                              samples=1),
                                  morv.render(model, angles=(30, 20, 0)))
    for bad in ({"size": (0, 360)}, {"size": (360, 8193)}, {"samples": 0}, {"samples": 9},
                {"size": (360, 360), "threads": True}):
        with pytest.raises(ValueError):
            morv.render(model, **bad)


@pytest.mark.parametrize("size,samples", [((640, 360), 1), ((64, 48), 4), ((1, 1), 8)])
def test_render_of_any_size_is_the_cli_png(size: tuple[int, int], samples: int,
                                           tmp_path: Path) -> None:
    picture = morv.render(morv.load(RING), size=size, samples=samples)
    assert picture.shape == (size[1], size[0], 3)
    run_cli("render", RING, tmp_path / "cli.png", "--size", *size, "--samples", samples)
    decoded = subprocess.run(["ffmpeg", "-v", "error", "-i", str(tmp_path / "cli.png"), "-f",
                              "rawvideo", "-pix_fmt", "rgb24", "-"], capture_output=True,
                             check=True).stdout
    np.testing.assert_array_equal(picture, np.frombuffer(decoded, np.uint8).reshape(picture.shape))
