#!/usr/bin/python3
"""The Python module's costs: morv.render against the engine's own headless render of the same
model (the C++ benchmark BM_RenderViewFullCapacity), and model.controls on a full model.

Run from a build: bench/python_module_bench.py [BUILD]  (BUILD defaults to build/).
"""

import json
import subprocess
import threading
import sys
import timeit
from pathlib import Path

build = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parents[1] / "build")
sys.path.insert(0, str(build / "python"))
import morv  # noqa: E402


def full_capacity_model() -> morv.Model:
    """The benchmarks' full-capacity model (bench/full_model.h), built through the module."""
    m = morv.Model()
    m.name, m.owner, m.password = "Full", "Bench", "secret"
    for i in range(1, 1001):
        m.add_control(i % 200 - 100, -(i % 97), i * 7 % 150)
    for i in range(1, 1001):
        m.add_patch([(i + k * 13) % 1000 + 1 for k in range(1, 9)], (i * 7919) & 0xFFFFFF)
    for i in range(1, 1001):
        m.add_joint((i % 50, -(i % 60), i % 70), i, [(i * k) % 1000 + 1 for k in range(1, 101)])
    return m


def best(call: object, number: int, repeat: int = 7) -> float:
    """The best mean time of one call, in seconds."""
    return min(timeit.repeat(call, number=number, repeat=repeat)) / number  # type: ignore[arg-type]


def engine_render_seconds() -> float:
    out = subprocess.run([str(build / "bench" / "morv_bench"),
                          "--benchmark_filter=^BM_RenderViewFullCapacity$",
                          "--benchmark_repetitions=7", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    return min(float(b["real_time"]) for b in runs) / 1e6  # microseconds


def main() -> None:
    model = full_capacity_model()
    python = best(lambda: morv.render(model, angles=(30, 60, 0)), number=20)
    engine = engine_render_seconds()
    print(f"morv.render, full-capacity model: {python * 1e3:.3f} ms; engine's own render "
          f"{engine * 1e3:.3f} ms; overhead {100 * (python - engine) / engine:+.1f} %")
    controls = best(lambda: model.controls, number=2000)
    print(f"model.controls, 1000 vertices: {controls * 1e6:.1f} us")

    # Two models rendered ten times each, one after the other and then on two threads at once.
    other = full_capacity_model()

    def ten(m: morv.Model) -> None:
        for _ in range(10):
            morv.render(m, angles=(30, 60, 0))

    def serial() -> None:
        ten(model)
        ten(other)

    def parallel() -> None:
        threads = [threading.Thread(target=ten, args=(m,)) for m in (model, other)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()

    one, two = best(serial, number=1, repeat=5), best(parallel, number=1, repeat=5)
    print(f"20 renders: {one * 1e3:.0f} ms on one thread, {two * 1e3:.0f} ms on two "
          f"({one / two:.2f} times as fast)")


if __name__ == "__main__":
    main()
