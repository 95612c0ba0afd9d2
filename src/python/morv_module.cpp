// The Python module morv: models, renders, playback, the mechanics, export and the print sheet,
// on the operations morv-cli runs.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/version.h"
#include "engine/animation_playback.h"
#include "engine/errors.h"
#include "engine/latin1.h"
#include "engine/mechanics.h"
#include "engine/renderer.h"
#include "operations/bicubic_files.h"
#include "operations/model_building.h"
#include "operations/model_export.h"
#include "operations/model_files.h"
#include "operations/model_sheet.h"
#include "operations/motion.h"
#include "operations/operation_errors.h"
#include "operations/picture_render.h"
#include "operations/video_writer.h"
#include "operations/view_render.h"
#include "platform/fonts.h"
#include "platform/runtime_folder.h"

namespace py = pybind11;

namespace morv {
namespace {

// A model as Python holds it. Work that releases the interpreter lock holds the model's own lock,
// shared for reading and alone for changing, so that a change from another thread waits for it
// instead of tearing the model under it.
struct PyModel {
  TMorvObject Model = StartingModel();
  mutable std::shared_mutex Lock;
  // The largest deviation of an imported surface from its bands; nothing for other models.
  std::optional<double> Deviation;
};
using ModelPtr = std::shared_ptr<PyModel>;

struct PyAnimationSet {
  TAnimationList Set;
  mutable std::shared_mutex Lock;
};
using AnimationSetPtr = std::shared_ptr<PyAnimationSet>;

// A joint as model.joints shows it: a copy, which later changes of the model leave alone.
struct PyJoint {
  std::array<int32_t, 3> Position{};
  int32_t Mass = 0;
  std::vector<int32_t> Controls;
  std::array<double, 3> Velocity{};
  std::array<double, 3> Acceleration{};
};

// Both locks at once, without deadlock against another thread taking them in the other order.
class ModelAndSetLock {
 public:
  ModelAndSetLock(const PyModel& model, const PyAnimationSet& set)
      : model_(model.Lock, std::defer_lock), set_(set.Lock, std::defer_lock) {
    std::lock(model_, set_);
  }

 private:
  std::unique_lock<std::shared_mutex> model_;
  std::unique_lock<std::shared_mutex> set_;
};

// A file name as bytes, from str, bytes or any os.PathLike, as the interpreter encodes it.
std::string PathBytes(const py::object& path) {
  return py::module_::import("os").attr("fsencode")(path).cast<std::string>();
}

std::array<int64_t, 3> Triple(const std::vector<int64_t>& values, const char* what) {
  if (values.size() != 3) {
    throw RequestError(std::string(what) + " takes 3 numbers, not " +
                       std::to_string(values.size()));
  }
  return {values[0], values[1], values[2]};
}

std::array<int32_t, 3> Angles(const std::vector<int64_t>& values) {
  const std::array<int64_t, 3> angles = Triple(values, "The angles");
  std::array<int32_t, 3> checked{};
  for (std::size_t k = 0; k < 3; ++k) {
    if (angles[k] < 0 || angles[k] > 360) {
      throw RequestError("The angle " + std::to_string(angles[k]) + " is outside 0..360");
    }
    checked[k] = static_cast<int32_t>(angles[k]);
  }
  return checked;
}

std::array<double, 3> Vector(const TVelocity3D& v) { return {v.X, v.Y, v.Z}; }

template <typename T>
py::tuple Tuple(const std::array<T, 3>& values) {
  return py::make_tuple(values[0], values[1], values[2]);
}

int64_t TickCount(int64_t ticks) {
  if (ticks < 0) throw RequestError("The count of ticks " + std::to_string(ticks) + " is below 0");
  return ticks;
}

// Pictures carry text, and text needs the fonts of a GUI application; the offscreen platform gives
// one without a display. Made once, with the interpreter lock held, before any work that draws.
void ProvideGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "morv";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ProvideRuntimeFolder();
  // Never destroyed: the interpreter may still draw while it shuts down.
  new QGuiApplication(argc, argv);
  InstallFontSubstitutions();
}

// A new (height, width, 3) array of the picture's RGB bytes, filled with the interpreter lock
// released.
py::array_t<uint8_t> ImageArray(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const auto height = static_cast<py::ssize_t>(image.height());
  const auto width = static_cast<py::ssize_t>(image.width());
  py::array_t<uint8_t> array({height, width, py::ssize_t{3}});
  uint8_t* out = array.mutable_data();
  {
    py::gil_scoped_release unlocked;
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        *out++ = static_cast<uint8_t>(qRed(row[x]));
        *out++ = static_cast<uint8_t>(qGreen(row[x]));
        *out++ = static_cast<uint8_t>(qBlue(row[x]));
      }
    }
  }
  return array;
}

// Renders with the interpreter lock released into a new (360, 360, 3) array of RGB bytes.
py::array_t<uint8_t> RenderArray(const PyModel& model, const TViewRequest& request) {
  CheckViewRequest(request);
  ProvideGuiApplication();
  TRenderedScene rendered;
  {
    py::gil_scoped_release unlocked;
    const std::shared_lock lock(model.Lock);
    rendered = RenderView(model.Model, request);
  }
  if (rendered.Report.SortCrashed) throw std::runtime_error(SortCrashText);
  if (rendered.Report.LightFailed) {
    PyErr_WarnEx(PyExc_RuntimeWarning, LightErrorText, 1);
  }
  return ImageArray(rendered.Image);
}

// Renders a picture of any size with the interpreter lock released.
py::array_t<uint8_t> PictureArray(const PyModel& model, const TPictureRequest& request) {
  CheckPictureRequest(request);
  ProvideGuiApplication();
  QImage image;
  {
    py::gil_scoped_release unlocked;
    const std::shared_lock lock(model.Lock);
    image = RenderPicture(model.Model, request);
  }
  // A light at the origin lights the model from the viewer, as the view's own picture warns.
  if (request.Light == TPoint3D{0, 0, 0}) PyErr_WarnEx(PyExc_RuntimeWarning, LightErrorText, 1);
  return ImageArray(image);
}

std::pair<int32_t, int32_t> PictureSize(const std::pair<int64_t, int64_t>& size) {
  for (const int64_t side : {size.first, size.second}) {
    if (side < 1 || side > MaxPictureSide) {
      throw RequestError("The size " + std::to_string(side) + " is outside 1.." +
                         std::to_string(MaxPictureSide));
    }
  }
  return {static_cast<int32_t>(size.first), static_cast<int32_t>(size.second)};
}

int32_t PictureSamples(int64_t samples) {
  if (samples < 1 || samples > MaxPictureSamples) {
    throw RequestError("The samples " + std::to_string(samples) + " are outside 1.." +
                       std::to_string(MaxPictureSamples));
  }
  return static_cast<int32_t>(samples);
}

// The frames of one whole turn of a model, each rendered when it is asked for.
class Turntable {
 public:
  Turntable(ModelPtr model, int64_t frames, const std::string& axis,
            const std::vector<int64_t>& angles, const std::pair<int64_t, int64_t>& size,
            int64_t samples)
      : model_(std::move(model)) {
    if (frames < 1 || frames > 3600) {
      throw RequestError("The count of frames " + std::to_string(frames) + " is outside 1..3600");
    }
    frames_ = static_cast<int32_t>(frames);
    static const std::string Axes[] = {"x", "y", "z"};
    const auto found = std::ranges::find(Axes, axis);
    if (found == std::end(Axes)) throw RequestError("The axis is x, y or z, not " + axis);
    axis_ = static_cast<int32_t>(found - std::begin(Axes));
    picture_.Angles = Angles(angles);
    std::tie(picture_.Width, picture_.Height) = PictureSize(size);
    picture_.Samples = PictureSamples(samples);
  }

  int32_t Length() const { return frames_; }

  py::tuple FrameAngles(int64_t k) const { return Tuple(AnglesOf(Index(k))); }

  py::array_t<uint8_t> Frame(int64_t k) const {
    TPictureRequest request = picture_;
    request.Angles = AnglesOf(Index(k));
    return PictureArray(*model_, request);
  }

 private:
  int32_t Index(int64_t k) const {
    if (k < 0) k += frames_;
    if (k < 0 || k >= frames_)
      throw py::index_error("The turntable has no frame " + std::to_string(k));
    return static_cast<int32_t>(k);
  }
  std::array<int32_t, 3> AnglesOf(int32_t k) const {
    return TurntableAngles(picture_.Angles, axis_, frames_, k);
  }

  ModelPtr model_;
  int32_t frames_ = 72;
  int32_t axis_ = 1;
  TPictureRequest picture_;
};

// Frames from any iterable into a video, each (height, width, 3) uint8 of one size. The writer
// drops the video unless every frame went in and ffmpeg succeeded.
int32_t WriteVideo(const py::iterable& frames, const std::string& file, int64_t fps) {
  if (!VideoFormatOf(file)) {
    throw RequestError(file + ": a video's name must end in .mp4, .webm or .gif");
  }
  if (fps < MinVideoFps || fps > MaxVideoFps) {
    throw RequestError("The frame rate " + std::to_string(fps) + " is outside " +
                       std::to_string(MinVideoFps) + ".." + std::to_string(MaxVideoFps));
  }
  std::optional<TVideoWriter> writer;
  py::ssize_t height = 0, width = 0;
  for (const py::handle item : frames) {
    if (!py::isinstance<py::array>(item)) {
      throw RequestError("A frame is a NumPy array of uint8, not " +
                         py::str(item.get_type()).cast<std::string>());
    }
    const py::dtype type = py::reinterpret_borrow<py::array>(item).dtype();
    if (!type.is(py::dtype::of<uint8_t>())) {
      throw RequestError("A frame is a NumPy array of uint8, not of " +
                         py::str(static_cast<const py::handle&>(type)).cast<std::string>());
    }
    const auto frame = py::array_t<uint8_t, py::array::c_style>::ensure(item);
    if (frame.ndim() != 3 || frame.shape(2) != 3) {
      throw RequestError("A frame is a (height, width, 3) array of RGB");
    }
    if (!writer) {
      height = frame.shape(0);
      width = frame.shape(1);
      if (height < 1 || height > MaxPictureSide || width < 1 || width > MaxPictureSide) {
        throw RequestError("A frame of " + std::to_string(width) + " x " + std::to_string(height) +
                           " is outside 1..8192");
      }
      py::gil_scoped_release unlocked;
      writer.emplace(file, static_cast<int32_t>(width), static_cast<int32_t>(height),
                     static_cast<int32_t>(fps));
    } else if (frame.shape(0) != height || frame.shape(1) != width) {
      throw RequestError("Frame " + std::to_string(writer->Frames() + 1) + " is " +
                         std::to_string(frame.shape(1)) + " x " + std::to_string(frame.shape(0)) +
                         ", the first " + std::to_string(width) + " x " + std::to_string(height));
    }
    py::gil_scoped_release unlocked;
    writer->AddFrame(frame.data());
  }
  if (!writer) throw RequestError(file + ": a video needs at least one frame");
  py::gil_scoped_release unlocked;
  writer->Publish();
  return writer->Frames();
}

class Playback {
 public:
  Playback(ModelPtr model, AnimationSetPtr set) : model_(std::move(model)), set_(std::move(set)) {
    const ModelAndSetLock lock(*model_, *set_);
    const std::string mismatch = SetMismatch(set_->Set, model_->Model);
    if (!mismatch.empty()) throw RequestError(mismatch);
  }

  void Play(int32_t k) {
    const ModelAndSetLock lock(*model_, *set_);
    const std::string refusal = StartAnimation(model_->Model, set_->Set, k);
    if (!refusal.empty()) throw RequestError(refusal);
  }

  void Stop(int32_t k) {
    const ModelAndSetLock lock(*model_, *set_);
    const std::string refusal = EndAnimation(model_->Model, set_->Set, k);
    if (!refusal.empty()) throw RequestError(refusal);
  }

  void Step(int64_t ticks) {
    TickCount(ticks);
    py::gil_scoped_release unlocked;
    const ModelAndSetLock lock(*model_, *set_);
    RunPlayback(model_->Model, set_->Set, ticks);
  }

  std::vector<int32_t> Playing() const {
    const std::shared_lock lock(set_->Lock);
    std::vector<int32_t> playing;
    for (int32_t k = 1; k <= set_->Set.Count; ++k) {
      if (set_->Set.Animations[k].Playing) playing.push_back(k);
    }
    return playing;
  }

  const ModelPtr& Model() const { return model_; }
  const AnimationSetPtr& Set() const { return set_; }

 private:
  ModelPtr model_;
  AnimationSetPtr set_;
};

class Mechanics {
 public:
  Mechanics(ModelPtr model, const std::optional<std::pair<int32_t, int32_t>>& g)
      : model_(std::move(model)),
        g_(g ? GravitationalConstantOf(g->first, g->second) : StartingGravitationalConstant()) {}

  void ApplyForce(int32_t joint, const std::vector<double>& force) {
    if (force.size() != 3) {
      throw RequestError("A force takes 3 numbers, not " + std::to_string(force.size()));
    }
    const std::unique_lock lock(model_->Lock);
    const std::string refusal =
        ApplyJointForce(model_->Model, joint, {force[0], force[1], force[2]});
    if (!refusal.empty()) throw RequestError(refusal);
  }

  void Step(int64_t ticks) {
    TickCount(ticks);
    py::gil_scoped_release unlocked;
    const std::unique_lock lock(model_->Lock);
    RunMechanics(model_->Model, g_, ticks);
  }

  py::tuple Velocity(int32_t joint) const { return Tuple(Joint(joint).Velocity); }
  py::tuple Acceleration(int32_t joint) const { return Tuple(Joint(joint).Acceleration); }
  double G() const { return g_; }
  const ModelPtr& Model() const { return model_; }

 private:
  PyJoint Joint(int32_t joint) const {
    const std::shared_lock lock(model_->Lock);
    if (!JointInModel(model_->Model, joint)) {
      throw RequestError("There is no joint " + std::to_string(joint) + ": the model has " +
                         std::to_string(model_->Model.JointCount));
    }
    const TJoint& j = model_->Model.Joints[joint];
    return {{}, 0, {}, Vector(j.Velocity), Vector(j.Acceleration)};
  }

  ModelPtr model_;
  double g_;
};

std::vector<PyJoint> Joints(const PyModel& model) {
  const std::shared_lock lock(model.Lock);
  std::vector<PyJoint> joints;
  for (int32_t j = 1; j <= model.Model.JointCount; ++j) {
    const TJoint& joint = model.Model.Joints[j];
    PyJoint copy{{joint.Position.X, joint.Position.Y, joint.Position.Z},
                 joint.Mass,
                 {},
                 Vector(joint.Velocity),
                 Vector(joint.Acceleration)};
    for (int32_t r = 1; r <= std::clamp(joint.RefCount, 0, MaxJointRefs); ++r) {
      copy.Controls.push_back(joint.ControlRefs[r]);
    }
    joints.push_back(std::move(copy));
  }
  return joints;
}

// An array of `columns` int32 values for each of `count` elements, filled by `row`.
template <typename Row>
py::array_t<int32_t> Table(int32_t count, py::ssize_t columns, Row row) {
  py::array_t<int32_t> table({static_cast<py::ssize_t>(count), columns});
  int32_t* out = table.mutable_data();
  for (int32_t i = 1; i <= count; ++i) out = row(i, out);
  return table;
}

template <typename Change>
void Changed(PyModel& model, Change change) {
  const std::unique_lock lock(model.Lock);
  change(model.Model);
}

std::string Repr(const PyModel& model) {
  const std::shared_lock lock(model.Lock);
  const TMorvObject& m = model.Model;
  return "<morv.Model " + py::repr(py::str(Latin1ToUtf8(m.Name))).cast<std::string>() + ": " +
         CountOf(m.ControlCount, "control vertex", "control vertices") + ", " +
         CountOf(m.PatchCount, "patch", "patches") + ", " +
         CountOf(m.JointCount, "joint", "joints") + ">";
}

// Patches from an array of shape (P, DU + 1, DV + 1, 3), degrees 1..3 each way.
std::vector<TBicubicPatch> ArrayPatches(const py::array& source) {
  const auto values =
      py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(source);
  if (!values || values.ndim() != 4 || values.shape(3) != 3 || values.shape(1) < 2 ||
      values.shape(1) > 4 || values.shape(2) < 2 || values.shape(2) > 4) {
    throw RequestError("An array of patches has the shape (P, DU + 1, DV + 1, 3), degrees 1..3");
  }
  std::vector<TBicubicPatch> patches;
  const double* data = values.data();
  for (py::ssize_t p = 0; p < values.shape(0); ++p) {
    TBicubicPatch patch;
    patch.DU = static_cast<int32_t>(values.shape(1) - 1);
    patch.DV = static_cast<int32_t>(values.shape(2) - 1);
    for (py::ssize_t k = 0; k < values.shape(1) * values.shape(2); ++k, data += 3) {
      if (!std::isfinite(data[0]) || !std::isfinite(data[1]) || !std::isfinite(data[2])) {
        throw RequestError("Patch " + std::to_string(p + 1) + " holds a value that is not finite");
      }
      patch.Points.push_back({data[0], data[1], data[2]});
    }
    patches.push_back(std::move(patch));
  }
  return patches;
}

}  // namespace
}  // namespace morv

PYBIND11_MODULE(_morv, m) {
  using namespace morv;
  m.doc() =
      "Morv! 5 models, built and changed from Python: control vertices, Bezier patches (bands "
      "between two cubic curves) and joints; renders of the 3D view as NumPy arrays; animation "
      "playback, the mechanics, export and the printed model sheet. Element numbers are 1-based, "
      "as the windows show them.\n\nRenders, exports, prints and runs of many ticks release the "
      "interpreter lock, so other threads go on meanwhile. A model may be read by several threads "
      "at once, but a script that changes a model while other threads use it must hold its own "
      "lock around both: each call is safe on its own, their order is the script's to decide.";

  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const FileError& e) {
      PyErr_SetString(PyExc_OSError, e.what());
    } catch (const EncoderError& e) {
      PyErr_SetString(PyExc_RuntimeError, e.what());
    } catch (const CommandError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const RequestError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const ConversionError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const FormatError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
  });

  m.attr("__version__") = MorvVersion;

  m.def(
      "rgb", [](int64_t r, int64_t g, int64_t b) { return ColourOf(r, g, b); }, py::arg("r"),
      py::arg("g"), py::arg("b"),
      "The model's colour of red, green and blue 0..255: red in the lowest byte, then green, then "
      "blue.");
  m.def(
      "to_rgb",
      [](int64_t colour) {
        const std::array<int32_t, 3> bytes = ColourBytes(colour);
        return py::make_tuple(bytes[0], bytes[1], bytes[2]);
      },
      py::arg("colour"), "The red, green and blue (0..255 each) of a model's colour 0..16777215.");

  py::class_<PyJoint>(m, "Joint",
                      "A joint of a model as it stood when read: a point mass that carries "
                      "control vertices.")
      .def_property_readonly(
          "position", [](const PyJoint& j) { return Tuple(j.Position); },
          "Where the joint stands: (x, y, z) in model units.")
      .def_readonly("mass", &PyJoint::Mass, "The mass in kilograms, 1..1000.")
      .def_readonly("controls", &PyJoint::Controls,
                    "The numbers of the control vertices the joint carries.")
      .def_property_readonly(
          "velocity", [](const PyJoint& j) { return Tuple(j.Velocity); },
          "The mechanics' displacement per tick: (x, y, z).")
      .def_property_readonly(
          "acceleration", [](const PyJoint& j) { return Tuple(j.Acceleration); },
          "The mechanics' change of velocity per tick: (x, y, z).")
      .def("__repr__", [](const PyJoint& j) {
        return "<morv.Joint at (" + std::to_string(j.Position[0]) + ", " +
               std::to_string(j.Position[1]) + ", " + std::to_string(j.Position[2]) + "), mass " +
               std::to_string(j.Mass) + ", " +
               CountOf(static_cast<int32_t>(j.Controls.size()), "control vertex",
                       "control vertices") +
               ">";
      });

  py::class_<PyModel, ModelPtr>(
      m, "Model",
      "A model: up to 1000 control vertices, 1000 patches and 1000 joints. A new one is empty and "
      "named \"MyObject\", as the program starts. Additions past capacity, numbers of elements "
      "the model lacks and values out of range raise ValueError and change nothing. The lock "
      "(locked, with owner and password) guards the model in the program's windows; a script "
      "changes the model all the same. Not for sharing between threads without a lock of the "
      "script's own.")
      .def(py::init<>(), "An empty model named \"MyObject\", as the program starts with.")
      .def(
          "save",
          [](const PyModel& model, const py::object& path) {
            const std::string file = PathBytes(path);
            py::gil_scoped_release unlocked;
            const std::shared_lock lock(model.Lock);
            SaveModelFile(model.Model, file);
          },
          py::arg("path"),
          "Writes the model as an MVD4 file; the old file stays whole until the new one is "
          "complete. OSError when it cannot be written, ValueError for texts a file cannot hold.")
      .def_property(
          "name", [](const PyModel& model) { return Latin1ToUtf8(model.Model.Name); },
          [](PyModel& model, const std::string& name) {
            Changed(model, [&](TMorvObject& m) { SetModelName(m, name); });
          },
          "The model's name, in ISO 8859-1 characters.")
      .def_property(
          "owner", [](const PyModel& model) { return Latin1ToUtf8(model.Model.Owner); },
          [](PyModel& model, const std::string& owner) {
            Changed(model, [&](TMorvObject& m) { SetModelOwner(m, owner); });
          },
          "The owner's name, in ISO 8859-1 characters.")
      .def_property(
          "password", [](const PyModel& model) { return Latin1ToUtf8(model.Model.Password); },
          [](PyModel& model, const std::string& password) {
            Changed(model, [&](TMorvObject& m) { SetModelPassword(m, password); });
          },
          "The edit password; the file holds it scrambled.")
      .def_property(
          "locked", [](const PyModel& model) { return model.Model.Locked; },
          [](PyModel& model, bool locked) {
            Changed(model, [&](TMorvObject& m) { m.Locked = locked; });
          },
          "Whether the program's windows refuse edits without the password.")
      .def(
          "add_control",
          [](PyModel& model, int64_t x, int64_t y, int64_t z) {
            const std::unique_lock lock(model.Lock);
            return AddControl(model.Model, x, y, z);
          },
          py::arg("x"), py::arg("y"), py::arg("z"),
          "Adds a control vertex at (x, y, z); returns its number.")
      .def(
          "add_patch",
          [](PyModel& model, const std::vector<int64_t>& controls, int64_t colour) {
            const std::unique_lock lock(model.Lock);
            return AddPatch(model.Model, controls, colour);
          },
          py::arg("controls"), py::arg("colour") = 0xFFFFFF,
          "Adds a patch, the band between two cubic curves: eight vertex numbers, the first four "
          "the first curve's control points in order, the last four the second's; colour "
          "0..16777215 (see rgb), white by default. Returns its number.")
      .def(
          "add_joint",
          [](PyModel& model, const std::vector<int64_t>& position, int64_t mass,
             const std::vector<int64_t>& controls) {
            const std::array<int64_t, 3> at = Triple(position, "A position");
            const std::unique_lock lock(model.Lock);
            return AddJoint(model.Model, at, mass, controls);
          },
          py::arg("position"), py::arg("mass") = 1, py::arg("controls") = std::vector<int64_t>{},
          "Adds a joint at position (x, y, z) of mass 1..1000 kg carrying up to 100 control "
          "vertices by number; returns its number.")
      .def(
          "delete_last_control",
          [](PyModel& model) { Changed(model, [](TMorvObject& m) { DeleteLastControl(m); }); },
          "Removes the last control vertex; patches and joints that name it keep the number.")
      .def(
          "delete_last_patch",
          [](PyModel& model) { Changed(model, [](TMorvObject& m) { DeleteLastPatch(m); }); },
          "Removes the last patch.")
      .def(
          "delete_last_joint",
          [](PyModel& model) { Changed(model, [](TMorvObject& m) { DeleteLastJoint(m); }); },
          "Removes the last joint.")
      .def(
          "move_joint",
          [](PyModel& model, int64_t joint, const std::vector<int64_t>& position) {
            const std::array<int64_t, 3> to = Triple(position, "A position");
            Changed(model, [&](TMorvObject& m) { MoveJointTo(m, joint, to); });
          },
          py::arg("joint"), py::arg("position"),
          "Moves the joint to position (x, y, z) as the drag space does: it carries its control "
          "vertices along, keeping their offsets.")
      .def_property_readonly(
          "controls",
          [](const PyModel& model) {
            const std::shared_lock lock(model.Lock);
            return Table(model.Model.ControlCount, 3, [&](int32_t i, int32_t* out) {
              const TControlVertex& c = model.Model.Controls[i];
              *out++ = c.X;
              *out++ = c.Y;
              *out++ = c.Z;
              return out;
            });
          },
          "The control vertices as an (N, 3) int32 array of x, y, z; row 0 is vertex 1. A copy.")
      .def_property_readonly(
          "patches",
          [](const PyModel& model) {
            const std::shared_lock lock(model.Lock);
            return Table(model.Model.PatchCount, 8, [&](int32_t i, int32_t* out) {
              for (int32_t k = 1; k <= 8; ++k) *out++ = model.Model.Patches[i].ControlIndex[k];
              return out;
            });
          },
          "The patches' vertex numbers as an (M, 8) int32 array; row 0 is patch 1. A copy.")
      .def_property_readonly(
          "colours",
          [](const PyModel& model) {
            const std::shared_lock lock(model.Lock);
            py::array_t<int32_t> colours(static_cast<py::ssize_t>(model.Model.PatchCount));
            int32_t* out = colours.mutable_data();
            for (int32_t i = 1; i <= model.Model.PatchCount; ++i) {
              *out++ = model.Model.Patches[i].Colour;
            }
            return colours;
          },
          "The patches' colours as an (M,) int32 array (see to_rgb). A copy.")
      .def_property_readonly("joints", &Joints,
                             "The joints as a list of Joint, copies of how they stand now.")
      .def(
          "export",
          [](const PyModel& model, const py::object& path) {
            const std::string file = PathBytes(path);
            py::gil_scoped_release unlocked;
            const std::shared_lock lock(model.Lock);
            return ExportModel(model.Model, file);
          },
          py::arg("path"),
          "Writes the patches as the 3D view cuts them, in the format the file's suffix names "
          "(as morv-cli export takes them); returns the summary line.")
      .def_property_readonly(
          "deviation", [](const PyModel& model) { return model.Deviation; },
          "For a model made by import_bicubic, the largest distance in model units between the "
          "surface and its bands as stored; None for any other model.")
      .def("__repr__", &Repr);

  m.def(
      "load",
      [](const py::object& path) {
        const std::string file = PathBytes(path);
        auto model = std::make_shared<PyModel>();
        {
          py::gil_scoped_release unlocked;
          model->Model = LoadModelFile(file);
        }
        return model;
      },
      py::arg("path"),
      "Reads an MVD4 model file. OSError when it cannot be read; ValueError, naming the file and "
      "the line, for content that is no model.");

  m.def(
      "render",
      [](const PyModel& model, const std::vector<int64_t>& angles,
         const std::vector<int64_t>& light, int64_t background, bool threads,
         const std::optional<std::pair<int64_t, int64_t>>& size,
         const std::optional<int64_t>& samples) {
        TViewRequest request;
        request.Angles = Angles(angles);
        const std::array<int64_t, 3> l = Triple(light, "The light");
        for (int64_t v : l) {
          if (v < INT32_MIN || v > INT32_MAX) {
            throw RequestError("The light " + std::to_string(v) + " is past 32 bits");
          }
        }
        request.Light = {static_cast<int32_t>(l[0]), static_cast<int32_t>(l[1]),
                         static_cast<int32_t>(l[2])};
        if (background < 0 || background > 0xFFFFFF) {
          throw RequestError("The background colour " + std::to_string(background) +
                             " is outside 0..16777215");
        }
        request.Background = static_cast<int32_t>(background);
        request.Threads = threads;
        if (!size && !samples) return RenderArray(model, request);
        if (threads) {
          throw RequestError(
              "threads draws only the 3D view's own picture, without a size or "
              "samples");
        }
        TPictureRequest picture;
        picture.Angles = request.Angles;
        picture.Light = request.Light;
        picture.Background = request.Background;
        if (size) std::tie(picture.Width, picture.Height) = PictureSize(*size);
        if (samples) picture.Samples = PictureSamples(*samples);
        return PictureArray(model, picture);
      },
      py::arg("model"), py::arg("angles") = std::vector<int64_t>{0, 0, 0},
      py::arg("light") = std::vector<int64_t>{200, 0, -70}, py::arg("background") = 32768,
      py::arg("threads") = false, py::arg("size") = py::none(), py::arg("samples") = py::none(),
      "The 3D view's picture of the model as a (360, 360, 3) uint8 RGB array, pixel for pixel "
      "what morv-cli render writes: angles 0..360 about x, y and z, the light vector, a "
      "background colour 0..16777215, and with threads a render worker drawing as well. A zero "
      "light warns and lights the model from the viewer.\n\nWith size=(W, H) (1..8192 each) "
      "or samples=N (1..8) the picture is (H, W, 3), N x N samples a pixel averaged, centred "
      "so that the model keeps its place and size relative to the shorter side: what morv-cli "
      "render --size W H --samples N writes. At 360 x 360 and one sample it is the 3D view's "
      "picture.");

  py::class_<Turntable>(m, "Turntable",
                        "The frames of one whole turn of a model about an axis, as morv-cli "
                        "turntable renders them; each frame is rendered when it is asked for, "
                        "from the model as it is then.")
      .def(py::init<ModelPtr, int64_t, const std::string&, const std::vector<int64_t>&,
                    const std::pair<int64_t, int64_t>&, int64_t>(),
           py::arg("model"), py::arg("frames") = 72, py::arg("axis") = "y",
           py::arg("angles") = std::vector<int64_t>{0, 0, 0},
           py::arg("size") = std::pair<int64_t, int64_t>{360, 360}, py::arg("samples") = 1,
           "frames 1..3600 about axis \"x\", \"y\" or \"z\" from the angles (0..360 each); "
           "frame k turns 360 * k // frames whole degrees further on that axis, wrapped into "
           "0..359. size=(W, H) and samples as render takes them.")
      .def("__len__", &Turntable::Length, "The count of frames.")
      .def("__getitem__", &Turntable::Frame, py::arg("k"),
           "Frame k (from 0; negative counts from the end) as an (H, W, 3) uint8 RGB array, "
           "rendered with the interpreter lock released.")
      .def("angles", &Turntable::FrameAngles, py::arg("k"), "The view's angles of frame k.")
      .def(
          "__iter__",
          [](py::object self) {
            return py::module_::import("builtins")
                .attr("map")(self.attr("__getitem__"),
                             py::module_::import("builtins").attr("range")(py::len(self)));
          },
          "The frames in order, each rendered as it is reached.");

  m.def(
      "write_video",
      [](const py::iterable& frames, const py::object& path, int64_t fps) {
        return WriteVideo(frames, PathBytes(path), fps);
      },
      py::arg("frames"), py::arg("path"), py::arg("fps") = 10,
      "Encodes the frames, (H, W, 3) uint8 RGB arrays all of one size, into a video of fps "
      "frames a second (1..100) as morv-cli does: H.264 in yuv420p for .mp4 (even W and H), "
      "VP9 for .webm, GIF with its own palette for .gif, by the ffmpeg program. The video takes "
      "its name only once ffmpeg succeeded; otherwise nothing is left. Returns the count of "
      "frames. ValueError for a bad suffix, frame or rate; RuntimeError when ffmpeg is missing "
      "or fails; OSError when the file cannot be made.");

  py::class_<PyAnimationSet, AnimationSetPtr>(
      m, "AnimationSet",
      "A set of up to 100 animations of one model's joints, each a joint travelling through "
      "recorded locations.")
      .def_property_readonly(
          "model_name", [](const PyAnimationSet& set) { return Latin1ToUtf8(set.Set.ModelName); },
          "The name of the model the set was made for.")
      .def_property_readonly(
          "names",
          [](const PyAnimationSet& set) {
            const std::shared_lock lock(set.Lock);
            std::vector<std::string> names;
            for (int32_t k = 1; k <= set.Set.Count; ++k) {
              names.push_back(Latin1ToUtf8(set.Set.Animations[k].Name));
            }
            return names;
          },
          "The animations' names; the first is animation 1.")
      .def(
          "__len__",
          [](const PyAnimationSet& set) {
            const std::shared_lock lock(set.Lock);
            return set.Set.Count;
          },
          "The number of animations in the set.")
      .def(
          "save",
          [](const PyAnimationSet& set, const py::object& path) {
            const std::string file = PathBytes(path);
            py::gil_scoped_release unlocked;
            const std::shared_lock lock(set.Lock);
            SaveAnimationFile(set.Set, file);
          },
          py::arg("path"), "Writes the set as an MVA file.");

  m.def(
      "load_animations",
      [](const py::object& path) {
        const std::string file = PathBytes(path);
        auto set = std::make_shared<PyAnimationSet>();
        {
          py::gil_scoped_release unlocked;
          set->Set = LoadAnimationFile(file);
        }
        return set;
      },
      py::arg("path"),
      "Reads an MVA animation set. OSError when it cannot be read; ValueError, naming the file and "
      "the line, for content that is no set.");

  py::class_<Playback>(m, "Playback",
                       "Plays a set's animations on a model, as the animation console does: "
                       "play and stop as its buttons, step as the ticks of its timer, ten a "
                       "second.")
      .def(py::init<ModelPtr, AnimationSetPtr>(), py::arg("model"), py::arg("animations"),
           "ValueError when the set was made for another model (by name).")
      .def("play", &Playback::Play, py::arg("k"),
           "Starts animation k, 1-based; ValueError when it cannot play.")
      .def("stop", &Playback::Stop, py::arg("k"),
           "Stops animation k and puts its joint back on its first location.")
      .def("step", &Playback::Step, py::arg("ticks") = 1, "Runs this many ticks of playback.")
      .def_property_readonly("playing", &Playback::Playing,
                             "The numbers of the animations that are playing.")
      .def_property_readonly("model", &Playback::Model, "The model played on.")
      .def_property_readonly("animations", &Playback::Set, "The animation set played.");

  py::class_<Mechanics>(m, "Mechanics",
                        "The mechanics of a model's joints: forces, velocities and mutual "
                        "gravity, as the mechanics console runs them.")
      .def(py::init<ModelPtr, const std::optional<std::pair<int32_t, int32_t>>&>(),
           py::arg("model"), py::arg("g") = py::none(),
           "G is 6.67e-11 as the console starts, or (mantissa 1..10, power -12..12) as its two "
           "track bars set it.")
      .def("apply_force", &Mechanics::ApplyForce, py::arg("joint"), py::arg("force"),
           "Applies the force (fx, fy, fz) once to the joint, changing its velocity.")
      .def("step", &Mechanics::Step, py::arg("ticks") = 1, "Runs this many ticks.")
      .def("velocity", &Mechanics::Velocity, py::arg("joint"),
           "The joint's velocity (x, y, z), per tick.")
      .def("acceleration", &Mechanics::Acceleration, py::arg("joint"),
           "The joint's acceleration (x, y, z), per tick.")
      .def_property_readonly("g", &Mechanics::G, "The gravitational constant in use.")
      .def_property_readonly("model", &Mechanics::Model, "The model moved.");

  m.def(
      "import_bicubic",
      [](const py::object& source, const std::optional<int64_t>& bands,
         const std::optional<double>& scale, const std::vector<double>& offset, bool flip,
         bool bothSides, const std::optional<int64_t>& colour, bool colourPerPatch) {
        TBicubicOptions options;
        if (bands) {
          if (*bands < 1 || *bands > MaxPatches) {
            throw RequestError("The bands " + std::to_string(*bands) + " are outside 1..1000");
          }
          options.Bands = static_cast<int32_t>(*bands);
        }
        if (scale && !(std::isfinite(*scale) && *scale > 0)) {
          throw RequestError("The scale must be a positive number");
        }
        options.Scale = scale;
        if (offset.size() != 3) throw RequestError("The offset takes 3 numbers");
        options.Offset = {offset[0], offset[1], offset[2]};
        options.Flip = flip;
        options.BothSides = bothSides;
        if (colour) {
          if (*colour < 0 || *colour > 0xFFFFFF) {
            throw RequestError("The colour " + std::to_string(*colour) + " is outside 0..16777215");
          }
          options.Colour = static_cast<int32_t>(*colour);
        }
        options.ColourPerPatch = colourPerPatch;
        auto model = std::make_shared<PyModel>();
        TBicubicImport imported;
        if (py::isinstance<py::array>(source)) {
          const std::vector<TBicubicPatch> patches = ArrayPatches(source.cast<py::array>());
          py::gil_scoped_release unlocked;
          imported = ImportBicubicPatches(patches, options);
        } else {
          const std::string file = PathBytes(source);
          py::gil_scoped_release unlocked;
          imported = ImportBicubicFile(file, options);
        }
        model->Model = imported.Model;
        model->Deviation = imported.Deviation;
        return model;
      },
      py::arg("source"), py::arg("bands") = py::none(), py::arg("scale") = py::none(),
      py::arg("offset") = std::vector<double>{0, 0, 0}, py::arg("flip") = false,
      py::arg("both_sides") = false, py::arg("colour") = py::none(),
      py::arg("colour_per_patch") = false,
      "A model of bicubic Bezier patches: `source` a BPT file or an array of shape (P, DU + 1, "
      "DV + 1, 3), degrees 1..3. Each patch is cut into bands whose edges are its own "
      "isoparametric cubic curves: `bands` a patch, or as many as the model holds where the "
      "surface bends most. Centred with a largest half-extent of 90, or scale x source + offset. "
      "`flip` shows the other side, `both_sides` both; one colour (a light grey by default) or "
      "one a patch. The model is named after the file's stem (\"MyObject\" from an array) and "
      "its `deviation` says how far the bands stray from the surface. OSError for a file that "
      "cannot be read, ValueError for content or a set past the limits.");

  m.def(
      "print_sheet",
      [](const PyModel& model, const py::object& pdf, const py::object& pngPrefix,
         const std::vector<int64_t>& angles) {
        TViewRequest request;
        request.Angles = Angles(angles);
        const std::string pdfFile = PathBytes(pdf);
        std::optional<std::string> prefix;
        if (!pngPrefix.is_none()) prefix = PathBytes(pngPrefix);
        ProvideGuiApplication();
        py::gil_scoped_release unlocked;
        const std::shared_lock lock(model.Lock);
        const TRenderedScene view = RenderView(model.Model, request);
        if (view.Report.SortCrashed) throw std::runtime_error(SortCrashText);
        const TModelSheet sheet = MakeModelSheet(model.Model, view);
        WriteModelSheet(sheet, pdfFile, prefix);
        return sheet.ModelData;
      },
      py::arg("model"), py::arg("pdf"), py::arg("png_prefix") = py::none(),
      py::arg("angles") = std::vector<int64_t>{0, 0, 0},
      "Writes the printed model sheet's three pages (planes X-Y, Y-Z, X-Z) as one PDF and, with a "
      "prefix, as PREFIX1.png .. PREFIX3.png: all or none. Returns the sheet's line of model "
      "data.");
}
