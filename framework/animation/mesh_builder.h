#pragma once

/// \file
/// Building blocks for model code that puts simple bodies into the scene.
/// Corners are given counter-clockwise as seen from outside, so that a face's
/// normal points outwards and the lit side is the side one looks at.

#include "animation/mesh.h"

namespace zorva {

TFace Triangle(TVector3 a, TVector3 b, TVector3 c);
TFace Quad(TVector3 a, TVector3 b, TVector3 c, TVector3 d);

/// Appends a face; returns false and leaves the mesh alone when it is full.
bool AddFace(TMesh& mesh, const TFace& face);

/// Appends the six sides of an axis-aligned box around centre (in the mesh's
/// own coordinates); false when the mesh has no room for all six.
bool AddBox(TMesh& mesh, TVector3 centre, TVector3 size);

}  // namespace zorva
