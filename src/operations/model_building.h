// A model built and changed element by element from a script, refusing what the windows could
// never make: elements past capacity, references to vertices the model does not have, masses and
// colours outside their dialogs' ranges, texts a model file cannot carry.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "engine/model.h"

namespace morv {

// A model as the program starts with one: empty, named "MyObject".
TMorvObject StartingModel();

// Each returns the new element's number; RequestError, with the model unchanged, for a value out
// of range or an element past capacity. Coordinates are whole numbers of 32 bits; a patch takes
// eight vertex numbers of the model and a colour 0..16777215; a joint a mass 1..1000 and at most
// 100 vertex numbers.
int32_t AddControl(TMorvObject& model, int64_t x, int64_t y, int64_t z);
int32_t AddPatch(TMorvObject& model, std::span<const int64_t> controls, int64_t colour);
int32_t AddJoint(TMorvObject& model, std::span<const int64_t, 3> position, int64_t mass,
                 std::span<const int64_t> controls);

// Removes the last element of its kind; RequestError when there is none. References to a removed
// vertex stay, as they do when the windows remove it.
void DeleteLastControl(TMorvObject& model);
void DeleteLastPatch(TMorvObject& model);
void DeleteLastJoint(TMorvObject& model);

// Moves the joint as the drag space does, carrying its vertices; RequestError for a joint the
// model does not have or a position past 32 bits.
void MoveJointTo(TMorvObject& model, int64_t joint, std::span<const int64_t, 3> position);

// The model's name, owner and password from UTF-8 text; RequestError for characters the model's
// Latin-1 texts cannot hold and for text a model file cannot carry.
void SetModelName(TMorvObject& model, const std::string& utf8);
void SetModelOwner(TMorvObject& model, const std::string& utf8);
void SetModelPassword(TMorvObject& model, const std::string& utf8);

// A colour of the model (red in the lowest byte) from bytes 0..255, and back.
int32_t ColourOf(int64_t red, int64_t green, int64_t blue);
std::array<int32_t, 3> ColourBytes(int64_t colour);

}  // namespace morv
