"""Morv! 5 models from Python: build, load and save models, render the 3D view as NumPy
arrays, play animations, run the mechanics, export and print the model sheet.

Element numbers are 1-based, as the program's windows show them. Files that cannot be read or
written raise OSError; content and values out of range raise ValueError, and change nothing.
Renders, exports, prints and runs of many ticks release the interpreter lock, so other threads
go on meanwhile and two threads render two models at once. A model may be read by several threads
at once; a script that changes a model while other threads use it holds a lock of its own around
both, for each call is safe alone but their order is the script's to decide.
"""

from ._morv import (
    AnimationSet,
    Joint,
    Mechanics,
    Model,
    Playback,
    __version__,
    load,
    load_animations,
    print_sheet,
    render,
    rgb,
    to_rgb,
)

__all__ = [
    "AnimationSet",
    "Joint",
    "Mechanics",
    "Model",
    "Playback",
    "__version__",
    "load",
    "load_animations",
    "print_sheet",
    "render",
    "rgb",
    "to_rgb",
]
