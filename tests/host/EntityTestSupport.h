// Helpers of the entity tests: filing an object out and into a fresh one through the DXF
// filer, and comparing points.
#pragma once
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbObject.h"

namespace enttest {

// The drawing the filers resolve names and handles in (layers, styles): a default one,
// made the working database.
inline AcDbDatabase& drawing()
{
    static AcDbDatabase* db = [] {
        auto* d = new AcDbDatabase;
        acdbHostApplicationServices()->setWorkingDatabase(d);
        return d;
    }();
    return *db;
}

inline fendo::db::RawTags fileOut(const AcDbObject& obj)
{
    AcDbDxfFiler out(&drawing());
    out.setObjectBeingWritten(&obj);
    EXPECT_EQ(obj.dxfOutFields(&out), Acad::eOk);
    return out.takeOutput();
}

// A new object of T read from the groups another one wrote.
template <typename T>
T* roundTrip(const AcDbObject& obj, fendo::db::RawTags* firstOutput = nullptr)
{
    fendo::db::RawTags tags = fileOut(obj);
    if (firstOutput) *firstOutput = tags;
    auto* copy = new T;
    AcDbDxfFiler in(&drawing());
    in.setInput(tags);
    in.setObjectBeingRead(copy);
    EXPECT_EQ(copy->dxfInFields(&in), Acad::eOk);
    in.finishReading();
    return copy;
}

// Reads T from groups given as (code, text) pairs, as a file would hold them.
template <typename T>
T* readGroups(const fendo::db::RawTags& tags, bool markers = true)
{
    auto* obj = new T;
    AcDbDxfFiler in(&drawing());
    in.setInput(tags, markers);
    in.setObjectBeingRead(obj);
    EXPECT_EQ(obj->dxfInFields(&in), Acad::eOk);
    in.finishReading();
    return obj;
}

inline void expectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace enttest
