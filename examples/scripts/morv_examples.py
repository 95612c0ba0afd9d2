"""Helpers the example scripts share: a small PNG writer, picture checks and the example models."""

from __future__ import annotations

import os
import struct
import tempfile
import zlib
from pathlib import Path

import numpy as np
import numpy.typing as npt

# Colours are 24-bit RGB with red in the lowest byte; the 3D view starts on green 128.
DEFAULT_BACKGROUND = 32768

# The repository's examples/ folder, one level above this script's folder.
EXAMPLES_DIR = Path(__file__).resolve().parent.parent


def example_models() -> list[Path]:
    """The models that come with the repository, examples/*.MVD, sorted by name."""
    return sorted(EXAMPLES_DIR.glob("*.MVD"))


def _chunk(kind: bytes, data: bytes) -> bytes:
    # A chunk's CRC covers its type and its data, not its length.
    return (
        struct.pack(">I", len(data))
        + kind
        + data
        + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    )


def png_bytes(image: npt.NDArray[np.uint8]) -> bytes:
    """Encodes an (H, W, 3) RGB picture as an 8-bit truecolour PNG."""
    if image.ndim != 3 or image.shape[2] != 3 or image.dtype != np.uint8:
        raise ValueError(f"expected an (H, W, 3) uint8 picture, got {image.shape} {image.dtype}")
    height, width = int(image.shape[0]), int(image.shape[1])
    # Every row starts with filter type 0 (none); zlib does the compressing.
    rows = np.zeros((height, 1 + width * 3), dtype=np.uint8)
    rows[:, 1:] = np.ascontiguousarray(image).reshape(height, width * 3)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + _chunk(b"IHDR", header)
        + _chunk(b"IDAT", zlib.compress(rows.tobytes(), 6))
        + _chunk(b"IEND", b"")
    )


def write_file_atomically(path: Path, data: bytes) -> None:
    """Writes data to path through a temporary file beside it, so a reader never sees half a file."""
    folder = path.parent if str(path.parent) else Path(".")
    handle, temporary = tempfile.mkstemp(prefix=f".{path.name}.", dir=folder)
    try:
        with os.fdopen(handle, "wb") as stream:
            stream.write(data)
            stream.flush()
            os.fsync(stream.fileno())
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def write_png(path: Path, image: npt.NDArray[np.uint8]) -> None:
    """Writes an (H, W, 3) RGB picture as a PNG file."""
    write_file_atomically(path, png_bytes(image))


def background_share(image: npt.NDArray[np.uint8], background: int = DEFAULT_BACKGROUND) -> float:
    """The share of the picture's pixels, 0 to 1, that show nothing but the background colour."""
    rgb = np.array([background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF])
    return float(np.all(image == rgb, axis=2).mean())
