"""Morv! 5 models from Python: build, load and save models, render the 3D view as NumPy
arrays of any size, make videos of them, play animations, run the mechanics, export and print
the model sheet.

Element numbers are 1-based, as the program's windows show them. Files that cannot be read or
written raise OSError; content and values out of range raise ValueError, and change nothing.
Renders, exports, prints and runs of many ticks release the interpreter lock, so other threads
go on meanwhile and two threads render two models at once. A model may be read by several threads
at once; a script that changes a model while other threads use it holds a lock of its own around
both, for each call is safe alone but their order is the script's to decide.
"""

from typing import Iterator, Sequence, Tuple

import numpy as np
import numpy.typing as npt

from ._morv import (
    AnimationSet,
    Joint,
    Mechanics,
    Model,
    Playback,
    Turntable,
    __version__,
    import_bicubic,
    load,
    load_animations,
    print_sheet,
    render,
    rgb,
    to_rgb,
    write_video,
)


def turntable_frames(
    model: Model,
    frames: int = 72,
    axis: str = "y",
    angles: Sequence[int] = (0, 0, 0),
    size: Tuple[int, int] = (360, 360),
    samples: int = 1,
) -> Iterator[npt.NDArray[np.uint8]]:
    """The frames of one whole turn of the model, as morv-cli turntable renders them: frames
    1..3600 about axis "x", "y" or "z" from the angles, frame k turned 360 * k // frames whole
    degrees further, each an (H, W, 3) uint8 RGB array rendered as it is reached. The arguments
    are checked at once; ValueError for one out of range. Give them to write_video, or to a
    writer of your own."""
    return iter(Turntable(model, frames, axis, angles, size, samples))

__all__ = [
    "AnimationSet",
    "Joint",
    "Mechanics",
    "Model",
    "Playback",
    "Turntable",
    "__version__",
    "import_bicubic",
    "load",
    "load_animations",
    "print_sheet",
    "render",
    "rgb",
    "to_rgb",
    "turntable_frames",
    "write_video",
]
