// Object snaps for points picked with the mouse: the endpoint, midpoint or centre nearest to
// the cursor within the aperture, else the nearest point on a curve, as OSMODE asks.
#pragma once
#include <optional>

#include "host/ge/AcGePoint3d.h"

class AcDbDatabase;

namespace fendo::web {

// The OSMODE bits this front end snaps to.
enum SnapMode : int {
    kSnapEndpoint = 1,
    kSnapMidpoint = 2,
    kSnapCenter = 4,
    kSnapNearest = 512,
    kSnapSuppressed = 16384,  // snaps are switched off
};

enum class SnapKind { Endpoint, Midpoint, Center, Nearest };

struct Snap {
    AcGePoint3d point;
    SnapKind kind = SnapKind::Endpoint;
};

// The snap for a cursor at `at` (plan view: z is not compared) with the aperture `radius` in
// drawing units; objects on layers that are off or frozen are not snapped to.
std::optional<Snap> findSnap(AcDbDatabase& db, const AcGePoint3d& at, double radius, int osmode);

const char* snapKindName(SnapKind kind);

}  // namespace fendo::web
