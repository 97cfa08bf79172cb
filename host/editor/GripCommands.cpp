// Host commands for grips at the command prompt: GRIPS lists a picked object's grip points by
// index, MOVEGRIP moves one of them, as dragging that grip would.
#include <cmath>
#include <cstdio>
#include <string>

#include "host/db/AcDbEntity.h"
#include "host/editor/Editor.h"
#include "host/editor/PromptCommands.h"
#include "host/editor/Utf8.h"
#include "host/editor/aced.h"
#include "host/editor/acedSS.h"

namespace fendo::editor {
namespace {

// Coordinates are printed to this many decimals, trailing zeros dropped.
constexpr int kCoordinateDecimals = 6;

std::wstring number(double v)
{
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.*f", kCoordinateDecimals, v);
    std::wstring s = buf;
    if (s.find(L'.') != std::wstring::npos) {
        while (s.back() == L'0') s.pop_back();
        if (s.back() == L'.') s.pop_back();
    }
    return s == L"-0" ? L"0" : s;
}

std::wstring pointText(const AcGePoint3d& p) { return number(p.x) + L"," + number(p.y) + L"," + number(p.z); }

// Picks one object; null id when the pick is cancelled or finds nothing.
AcDbObjectId pickEntity()
{
    ads_name name;
    ads_point at;
    if (acedEntSel(L"\nSelect object: ", name, at) != RTNORM) return AcDbObjectId();
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk) return AcDbObjectId();
    return id;
}

// Picks one object and reads its grips; a null id when nothing is picked or the object
// cannot be read (which is said).
AcDbObjectId pickWithGrips(AcGePoint3dArray& grips, std::wstring& className)
{
    const AcDbObjectId id = pickEntity();
    if (id.isNull()) return id;
    AcDbEntity* ent = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(ent, id, AcDb::kForRead);
    if (es == Acad::eOk) {
        AcDbIntArray osnapModes, geomIds;
        es = ent->getGripPoints(grips, osnapModes, geomIds);
        className = ent->isA()->name();
        ent->close();
    }
    if (es == Acad::eOk) return id;
    editor().write(L"\nThe object cannot be read.");
    return AcDbObjectId();
}

void gripsCommand(std::wstring_view)
{
    AcGePoint3dArray grips;
    std::wstring className;
    const AcDbObjectId id = pickWithGrips(grips, className);
    if (id.isNull()) return;
    editor().write(L"\n" + std::to_wstring(grips.length()) + L" grips of " + className + L":");
    for (int i = 0; i < grips.length(); ++i)
        editor().write(L"\n  " + std::to_wstring(i) + L": " + pointText(grips[i]));
}

void moveGripCommand(std::wstring_view)
{
    AcGePoint3dArray grips;
    std::wstring className;
    const AcDbObjectId id = pickWithGrips(grips, className);
    if (id.isNull()) return;
    int index = 0;
    if (acedGetInt(L"\nGrip index: ", &index) != RTNORM) return;
    if (index < 0 || index >= grips.length()) {
        editor().write(L"\nThe object has no grip " + std::to_wstring(index) + L" (it has " +
                       std::to_wstring(grips.length()) + L").");
        return;
    }
    // A relative answer (@dx,dy) is a displacement from the grip.
    const AcGePoint3d grip = grips[index];
    const ads_point base = {grip.x, grip.y, grip.z};
    editor().setLastPoint({grip.x, grip.y, grip.z});
    ads_point target;
    if (acedGetPoint(base, L"\nMove grip to (point, or @dx,dy for a displacement): ", target) != RTNORM) return;
    const AcGeVector3d offset(target[0] - grip.x, target[1] - grip.y, target[2] - grip.z);
    AcDbEntity* ent = nullptr;
    const Acad::ErrorStatus opened = acdbOpenObject(ent, id, AcDb::kForWrite);
    if (opened != Acad::eOk) {
        editor().write(L"\nThe object cannot be changed (" + fromUtf8(Acad::errorStatusText(opened)) + L").");
        return;
    }
    AcDbIntArray indices;
    indices.append(index);
    const Acad::ErrorStatus es = ent->moveGripPointsAt(indices, offset);
    ent->close();
    if (es != Acad::eOk) {
        editor().write(L"\nThe grip was not moved (" + fromUtf8(Acad::errorStatusText(es)) + L").");
        return;
    }
    editor().write(L"\nGrip " + std::to_wstring(index) + L" moved by " +
                   pointText(AcGePoint3d(offset.x, offset.y, offset.z)) + L".");
}

[[maybe_unused]] const bool kGripCommandsRegistered = [] {
    registerPromptCommand(L"GRIPS", L"lists the grip points of a picked object by index", gripsCommand);
    registerPromptCommand(L"MOVEGRIP", L"moves one grip of a picked object to a point or by @dx,dy",
                          moveGripCommand);
    return true;
}();

}  // namespace
}  // namespace fendo::editor
