// Shared drawing helpers of the module: making sure a layer exists and appending new
// entities to model space, paper space or the current space.
#pragma once
#include "host/db/AcDbEntity.h"

enum class SpaceChoice { Current = 0, Model = 1, Paper = 2 };
enum class UcsTransform { None, FromCurrentUcs };

// Creates the layer when the working drawing has none of that name: on, thawed, unlocked,
// linetype "CONTINUOUS", and colour index when it is 1..255. An existing layer is untouched.
void ensureLayer(const ACHAR* layerName, int colorIndex);

// Appends the entity to the chosen space of the working drawing and closes it; its id is
// given back. With FromCurrentUcs the entity is first taken from the current UCS to world
// coordinates. Returns the first failing host status; the tables are closed in every case.
Acad::ErrorStatus appendToSpace(AcDbEntity* entity, AcDbObjectId& id, UcsTransform transform, SpaceChoice space);
Acad::ErrorStatus appendToCurrentSpace(AcDbEntity* entity, UcsTransform transform = UcsTransform::None,
                                       SpaceChoice space = SpaceChoice::Current);
