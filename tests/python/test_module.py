"""The morv module against morv-cli, its refusals, and its use from several threads."""

import threading
from pathlib import Path

import numpy as np
import pytest

import morv
from conftest import EXAMPLES, MODELS, read_bmp, run_cli

CREATURE = EXAMPLES / "creature.MVD"
WALK = EXAMPLES / "creature-walk.MVA"


def snapshot(model: morv.Model) -> tuple[object, ...]:
    """Everything a script can read of a model, to see that a refusal changed nothing."""
    joints = [(j.position, j.mass, j.controls, j.velocity) for j in model.joints]
    return (model.name, model.owner, model.password, model.locked, model.controls.tolist(),
            model.patches.tolist(), model.colours.tolist(), joints)


@pytest.mark.parametrize("path", MODELS, ids=lambda p: p.name)
def test_load_and_save_write_what_resave_writes(path: Path, tmp_path: Path) -> None:
    morv.load(path).save(tmp_path / "py.MVD")
    run_cli("resave", path, tmp_path / "cli.MVD")
    assert (tmp_path / "py.MVD").read_bytes() == (tmp_path / "cli.MVD").read_bytes()


RENDERS = [
    # angles, light, background, threads
    ((0, 0, 0), (200, 0, -70), 32768, False),
    ((30, 360, 0), (200, 0, -70), 32768, False),
    ((45, 90, 200), (-50, 100, 80), 0xFF00FF, True),
]


@pytest.mark.parametrize("path", MODELS, ids=lambda p: p.name)
@pytest.mark.parametrize("angles,light,background,threads", RENDERS)
def test_render_is_the_cli_picture_pixel_for_pixel(path: Path, angles: tuple[int, int, int],
                                                   light: tuple[int, int, int], background: int,
                                                   threads: bool, tmp_path: Path) -> None:
    picture = morv.render(morv.load(path), angles=angles, light=light, background=background,
                          threads=threads)
    options = ["--angles", *angles, "--light", *light, "--background", background]
    run_cli("render", path, tmp_path / "cli.bmp", *options, *(["--threads"] if threads else []))
    assert picture.shape == (360, 360, 3) and picture.dtype == np.uint8
    np.testing.assert_array_equal(picture, read_bmp(tmp_path / "cli.bmp"))


def test_playback_moves_the_joints_as_animate_does(tmp_path: Path) -> None:
    model = morv.load(CREATURE)
    playback = morv.Playback(model, morv.load_animations(WALK))
    for k in (1, 3):
        playback.play(k)
    assert playback.playing == [1, 3]
    playback.step(25)
    model.save(tmp_path / "py.MVD")
    run_cli("animate", CREATURE, WALK, tmp_path / "cli.MVD", "--ticks", 25, "--play", 1, 3)
    assert (tmp_path / "py.MVD").read_bytes() == (tmp_path / "cli.MVD").read_bytes()
    playback.stop(1)
    assert playback.playing == [3]


def test_an_animation_set_saves_as_it_loaded(tmp_path: Path) -> None:
    walk = morv.load_animations(WALK)
    assert walk.model_name == "Creature" and len(walk) == len(walk.names) == 4
    walk.save(tmp_path / "walk.MVA")
    assert (tmp_path / "walk.MVA").read_bytes() == WALK.read_bytes()


def test_mechanics_move_the_joints_as_physics_does(tmp_path: Path) -> None:
    model = morv.load(CREATURE)
    mechanics = morv.Mechanics(model, g=(5, 3))
    mechanics.apply_force(1, (3, -2, 0))
    mechanics.apply_force(4, (0, 0, 7))
    mechanics.step(ticks=40)
    model.save(tmp_path / "py.MVD")
    printed = run_cli("physics", CREATURE, tmp_path / "cli.MVD", "--ticks", 40, "--force", 1, 3,
                      -2, 0, "--force", 4, 0, 0, 7, "--g", 5, 3).stdout
    assert (tmp_path / "py.MVD").read_bytes() == (tmp_path / "cli.MVD").read_bytes()
    for j, line in enumerate(printed.splitlines(), start=1):
        numbers = [float(n) for n in line.split()[3:] if n not in ("velocity", "acceleration")]
        assert mechanics.velocity(j) == tuple(numbers[3:6]), line
        assert mechanics.acceleration(j) == tuple(numbers[6:9]), line
        assert model.joints[j - 1].velocity == mechanics.velocity(j)
    assert mechanics.g == 5e3
    assert morv.Mechanics(model).g == 6.67e-11


@pytest.mark.parametrize("suffix", ["obj", "stl", "gltf", "glb"])
def test_export_writes_what_the_cli_writes(suffix: str, tmp_path: Path) -> None:
    (tmp_path / "py").mkdir()
    (tmp_path / "cli").mkdir()
    summary = morv.load(CREATURE).export(tmp_path / "py" / f"creature.{suffix}")
    printed = run_cli("export", CREATURE, tmp_path / "cli" / f"creature.{suffix}").stdout
    assert summary + "\n" == printed
    written = sorted(p.name for p in (tmp_path / "cli").iterdir())
    assert sorted(p.name for p in (tmp_path / "py").iterdir()) == written
    for name in written:
        assert (tmp_path / "py" / name).read_bytes() == (tmp_path / "cli" / name).read_bytes()


def test_print_sheet_writes_the_cli_pages(tmp_path: Path) -> None:
    data = morv.print_sheet(morv.load(CREATURE), tmp_path / "py.pdf", tmp_path / "py",
                            angles=(30, 0, 90))
    printed = run_cli("print", CREATURE, tmp_path / "cli.pdf", "--png", tmp_path / "cli",
                      "--angles", 30, 0, 90).stdout
    assert data + "\n" == printed
    assert (tmp_path / "py.pdf").read_bytes() == (tmp_path / "cli.pdf").read_bytes()
    for page in (1, 2, 3):
        assert (tmp_path / f"py{page}.png").read_bytes() == \
            (tmp_path / f"cli{page}.png").read_bytes()


def test_a_model_built_by_script_renders_and_reads_back(tmp_path: Path) -> None:
    model = morv.Model()
    assert (model.name, model.controls.shape, model.patches.shape) == ("MyObject", (0, 3), (0, 8))
    numbers = [model.add_control(x, y, z) for x, y, z in
               [(-60, -40, 0), (-20, -40, 10), (20, -40, 10), (60, -40, 0),
                (-60, 40, 0), (-20, 40, 10), (20, 40, 10), (60, 40, 0)]]
    assert numbers == list(range(1, 9))
    assert model.add_patch(numbers[4:] + numbers[:4], morv.rgb(200, 30, 10)) == 1
    assert model.add_joint((0, 0, 0), 5, [1, 2]) == 1
    model.move_joint(1, (0, 0, 7))
    np.testing.assert_array_equal(model.controls[:3], [[-60, -40, 7], [-20, -40, 17],
                                                       [20, -40, 10]])
    assert model.joints[0].position == (0, 0, 7) and model.joints[0].controls == [1, 2]
    assert morv.to_rgb(int(model.colours[0])) == (200, 30, 10)
    model.name, model.owner, model.password, model.locked = "Blätt", "Ann", "pw", True
    model.save(tmp_path / "leaf.MVD")
    again = morv.load(str(tmp_path / "leaf.MVD").encode())
    # The file keeps the owner with the space its line ends in.
    assert again.owner == "Ann "
    again.owner = "Ann"
    assert snapshot(again) == snapshot(model)
    picture = morv.render(again)
    assert (picture != picture[0, 0]).any(axis=2).sum() > 1000
    model.delete_last_joint()
    model.delete_last_patch()
    model.delete_last_control()
    assert (len(model.joints), len(model.patches), len(model.controls)) == (0, 0, 7)


def full(kind: str) -> morv.Model:
    model = morv.Model()
    for k in range(1000 if kind != "refs" else 8):
        model.add_control(k, -k, 0)
    if kind == "patches":
        for _ in range(1000):
            model.add_patch(range(1, 9))
    if kind == "joints":
        for _ in range(1000):
            model.add_joint((0, 0, 0))
    return model


def one_model() -> morv.Model:
    return morv.load(CREATURE)


REFUSALS = [
    # what, model, call, error, text
    ("1001st vertex", lambda: full("controls"), lambda m: m.add_control(0, 0, 0), ValueError,
     "1000 control vertices"),
    ("1001st patch", lambda: full("patches"), lambda m: m.add_patch(range(1, 9)), ValueError,
     "1000 patches"),
    ("1001st joint", lambda: full("joints"), lambda m: m.add_joint((0, 0, 0)), ValueError,
     "1000 joints"),
    ("seven vertices", one_model, lambda m: m.add_patch([1] * 7), ValueError, "not 7"),
    ("no such vertex", one_model, lambda m: m.add_patch([1] * 7 + [446]), ValueError,
     "no control vertex 446"),
    ("vertex 0", one_model, lambda m: m.add_joint((0, 0, 0), 1, [0]), ValueError,
     "no control vertex 0"),
    ("101 references", lambda: full("refs"), lambda m: m.add_joint((0, 0, 0), 1, [1] * 101),
     ValueError, "at most 100"),
    ("mass 0", one_model, lambda m: m.add_joint((0, 0, 0), 0), ValueError, "mass 0"),
    ("mass 1001", one_model, lambda m: m.add_joint((0, 0, 0), 1001), ValueError, "1..1000"),
    ("past 32 bits", one_model, lambda m: m.add_control(2**31, 0, 0), ValueError, "2147483648"),
    ("colour", one_model, lambda m: m.add_patch([1] * 8, 2**24), ValueError, "16777216"),
    ("rgb 256", one_model, lambda m: morv.rgb(256, 0, 0), ValueError, "256"),
    ("two numbers", one_model, lambda m: m.move_joint(1, (1, 2)), ValueError, "not 2"),
    ("no joint 99", one_model, lambda m: m.move_joint(99, (1, 2, 3)), ValueError,
     "no joint 99"),
    ("line break", one_model, lambda m: setattr(m, "name", "a\nb"), ValueError, "line break"),
    ("beyond Latin-1", one_model, lambda m: setattr(m, "owner", "€"), ValueError, "8859-1"),
    ("nothing to delete", morv.Model, lambda m: m.delete_last_control(), ValueError,
     "no control vertex"),
    ("angle 400", one_model, lambda m: morv.render(m, angles=(0, 400, 0)), ValueError,
     "400 is outside 0..360"),
    ("background", one_model, lambda m: morv.render(m, background=-1), ValueError, "-1"),
    ("print angle", one_model, lambda m: morv.print_sheet(m, "/nonexistent/x.pdf", None,
                                                          (361, 0, 0)), ValueError, "361"),
    ("other model's set", morv.Model,
     lambda m: morv.Playback(m, morv.load_animations(WALK)), ValueError,
     "designed for [Creature], not for [MyObject]"),
    ("animation 5", one_model,
     lambda m: morv.Playback(m, morv.load_animations(WALK)).play(5), ValueError,
     "no animation 5 to play: the set holds 4 animations"),
    ("force on joint 40", one_model, lambda m: morv.Mechanics(m).apply_force(40, (1, 0, 0)),
     ValueError, "no joint 40"),
    ("g 11", one_model, lambda m: morv.Mechanics(m, g=(11, 0)), ValueError, "outside"),
    ("minus one tick", one_model, lambda m: morv.Mechanics(m).step(-1), ValueError, "below 0"),
    ("unknown suffix", one_model, lambda m: m.export("/tmp/creature.xyz"), ValueError,
     "no export format"),
    ("unwritable", one_model, lambda m: m.save("/nonexistent/folder/x.MVD"), OSError,
     "/nonexistent/folder/x.MVD"),
]


@pytest.mark.parametrize("make,call,error,text", [r[1:] for r in REFUSALS],
                         ids=[r[0] for r in REFUSALS])
def test_bad_requests_raise_and_change_nothing(make: object, call: object, error: type,
                                               text: str) -> None:
    model = make()  # type: ignore[operator]
    before = snapshot(model)
    with pytest.raises(error, match=None) as raised:
        call(model)  # type: ignore[operator]
    assert text in str(raised.value)
    assert snapshot(model) == before


FILE_ERRORS = [
    # content, error, text
    (None, OSError, "missing.MVD"),
    ("x\r\n \r\n0\r\nAnn\r\nabc\r\n", ValueError, "Line 5: 'abc' is not a valid integer value"),
    ("x\r\n \r\n0\r\nAnn\r\n1001\r\n", ValueError, "Line 5"),
]


@pytest.mark.parametrize("content,error,text", FILE_ERRORS)
def test_unreadable_files_raise_naming_the_file(content: str | None, error: type, text: str,
                                                tmp_path: Path) -> None:
    path = tmp_path / "missing.MVD"
    if content is not None:
        path.write_bytes(content.encode())
    with pytest.raises(error) as raised:
        morv.load(path)
    assert text in str(raised.value) and str(path) in str(raised.value)
    with pytest.raises(error):
        morv.load_animations(path)


def test_two_threads_render_two_models_at_once_as_each_alone() -> None:
    models = [morv.load(path) for path in MODELS]
    alone = [morv.render(m, angles=(a, 2 * a, 0)) for a, m in enumerate(models)]
    results: dict[int, list[np.ndarray]] = {0: [], 1: []}

    def work(thread: int) -> None:
        for round in range(6):
            k = (thread + round) % len(models)
            results[thread].append((k, morv.render(models[k], angles=(k, 2 * k, 0))))

    threads = [threading.Thread(target=work, args=(t,)) for t in (0, 1)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for thread in (0, 1):
        assert len(results[thread]) == 6
        for k, picture in results[thread]:
            np.testing.assert_array_equal(picture, alone[k])


def test_the_version_is_the_programs() -> None:
    assert run_cli("--version").stdout == f"morv-cli {morv.__version__}\n"


@pytest.mark.parametrize("sized", [{}, {"size": (90, 60), "samples": 2}])
def test_a_light_at_the_origin_warns_and_the_render_goes_on(sized: dict[str, object]) -> None:
    with pytest.warns(RuntimeWarning, match="Division by 0 in LightVector"):
        picture = morv.render(one_model(), light=(0, 0, 0), **sized)  # type: ignore[arg-type]
    assert (picture != picture[0, 0]).any()
