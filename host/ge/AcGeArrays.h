// All geometry array types in one include.
#pragma once
#include "host/core/AcArray.h"
#include "host/ge/AcGePoint2dArray.h"
#include "host/ge/AcGePoint3dArray.h"
