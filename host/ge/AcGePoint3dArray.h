// Arrays of 3D points and 3D vectors.
#pragma once
#include "host/core/AcArray.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGeVector3dArray = AcArray<AcGeVector3d>;
