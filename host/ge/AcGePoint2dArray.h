// Arrays of 2D points and 2D vectors.
#pragma once
#include "host/core/AcArray.h"
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeVector2d.h"

using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGeVector2dArray = AcArray<AcGeVector2d>;
