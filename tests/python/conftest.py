"""What the module's tests share: the programs and files of the build, scratch folders."""

import os
import subprocess
from pathlib import Path

import pytest

EXAMPLES = Path(os.environ.get("MORV_EXAMPLES_DIR", Path(__file__).parents[2] / "examples"))
MODELS = sorted(EXAMPLES.glob("*.MVD"))
MORV_CLI = os.environ.get("MORV_CLI_PATH", "morv-cli")


def run_cli(*args: object) -> subprocess.CompletedProcess[str]:
    """Runs morv-cli and fails the test unless it succeeds."""
    result = subprocess.run([MORV_CLI, *map(str, args)], capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    return result


def read_bmp(path: Path) -> "object":
    """The RGB pixels of a bottom-up 24-bit bitmap as a (height, width, 3) array."""
    import numpy as np

    data = path.read_bytes()
    assert data[:2] == b"BM"
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    assert int.from_bytes(data[28:30], "little") == 24
    stride = (width * 3 + 3) // 4 * 4
    rows = np.frombuffer(data, np.uint8, stride * height, offset).reshape(height, stride)
    bgr = rows[::-1, : width * 3].reshape(height, width, 3)
    return bgr[:, :, ::-1]


@pytest.fixture
def example_paths() -> list[Path]:
    return MODELS
