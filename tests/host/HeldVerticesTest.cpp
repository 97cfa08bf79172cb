// 3D polyline vertices and end records read from a file are held in their polyline's list
// without objects: they keep their handles, open like any object (made on first open), follow
// the polyline's edits, and are written back as they were read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "EntityTestSupport.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/dxf/DxfExport.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using enttest::expectNear;

namespace {

const AcGePoint3dArray kPoints{{0, 0, 1}, {10, 0, 2}, {10, 10, 3}, {0, 10, 4}};

AcDbObjectId addLayer(AcDbDatabase& db, const ACHAR* name)
{
    AcDbLayerTable* layers = nullptr;
    db.getLayerTable(layers, AcDb::kForWrite);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(name);
    AcDbObjectId id;
    layers->add(id, layer);
    layer->close();
    layers->close();
    return id;
}

// Appends entity to model space and leaves it open.
void addToModelSpace(AcDbDatabase& db, AcDbEntity* entity)
{
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
    ms->appendAcDbEntity(entity);
    ms->close();
}

// A drawing with one 3D polyline of kPoints whose second vertex has a colour of its own
// (so it cannot be held) and a layer "L" besides "0", saved to a file.
fs::path writeDrawing(const std::string& name)
{
    AcDbDatabase db;
    addLayer(db, L"L");
    auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, kPoints);
    addToModelSpace(db, pl);
    AcDbEntity* second = nullptr;
    std::unique_ptr<AcDbObjectIterator> it(pl->vertexIterator());
    it->step();
    acdbOpenObject(second, it->objectId(), AcDb::kForWrite);
    second->setColorIndex(3);
    second->close();
    pl->close();
    const fs::path path = fendo::test::scratchDir("held-vertices") / name;
    EXPECT_EQ(db.dxfOut(path.wstring()), Acad::eOk);
    return path;
}

struct Loaded {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>(false);
    AcDbObjectId polyline;
    std::vector<AcDbObjectId> vertices;
    AcDbObjectId seqend;
};

Loaded load(const fs::path& path)
{
    Loaded l;
    EXPECT_EQ(l.db->readDxfFile(path.wstring()), Acad::eOk);
    auto* ms = fendo::db::peekObject<AcDbBlockTableRecord>(l.db->modelSpaceId());
    l.polyline = ms->entityIds().front();
    auto* pl = fendo::db::peekObject<AcDb3dPolyline>(l.polyline);
    for (AcDbObjectId id : pl->subentityIds()) l.vertices.push_back(id);
    l.seqend = pl->seqendId();
    return l;
}

fs::path save(AcDbDatabase& db, const std::string& name)
{
    const fs::path path = fendo::test::scratchDir("held-vertices") / name;
    EXPECT_EQ(db.dxfOut(path.wstring()), Acad::eOk);
    return path;
}

AcGePoint3d positionOf(AcDbObjectId id)
{
    AcDb3dPolylineVertex* v = nullptr;
    EXPECT_EQ(acdbOpenObject(v, id, AcDb::kForRead), Acad::eOk);
    if (!v) return {};
    const AcGePoint3d p = v->position();
    v->close();
    return p;
}

}  // namespace

TEST(HeldVertices, PlainVerticesAndTheEndRecordAreHeldAndWrittenBackUnchanged)
{
    const fs::path first = writeDrawing("first.dxf");
    Loaded l = load(first);
    ASSERT_EQ(l.vertices.size(), 4u);
    EXPECT_TRUE(l.vertices[0].stub()->held);
    EXPECT_FALSE(l.vertices[1].stub()->held) << "a vertex with its own colour stays an object";
    EXPECT_TRUE(l.vertices[3].stub()->held);
    EXPECT_TRUE(l.seqend.stub()->held);
    for (AcDbObjectId id : l.vertices) EXPECT_TRUE(id.isValid());
    // Nothing is made to save the drawing, and the file is the one saved with every vertex
    // made.
    const fs::path second = save(*l.db, "second.dxf");
    EXPECT_TRUE(l.vertices[0].stub()->held);
    Loaded made = load(first);
    for (AcDbObjectId id : made.vertices) positionOf(id);
    AcDbObject* seq = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(seq, made.seqend, AcDb::kForRead), Acad::eOk);
    seq->close();
    EXPECT_FALSE(made.seqend.stub()->held);
    const std::string text = fendo::test::readFile(second);
    EXPECT_EQ(text, fendo::test::readFile(save(*made.db, "made.dxf")));
    EXPECT_NE(text.find(l.vertices[3].handle().hex()), std::string::npos);
}

TEST(HeldVertices, OpeningMakesTheVertexWithItsHandleOwnerAndProperties)
{
    Loaded l = load(writeDrawing("open.dxf"));
    const AcDbHandle handle = l.vertices[2].handle();
    EXPECT_EQ(l.db->idFromHandle(handle), l.vertices[2]);

    AcDb3dPolylineVertex* v = nullptr;
    ASSERT_EQ(acdbOpenObject(v, l.vertices[2], AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(l.vertices[2].stub()->held);
    EXPECT_EQ(v->objectId(), l.vertices[2]);
    EXPECT_EQ(v->ownerId(), l.polyline);
    EXPECT_EQ(v->layer(), AcString(L"0"));
    expectNear(v->position(), kPoints[2]);
    EXPECT_EQ(v->vertexType(), AcDb::k3dSimpleVertex);
    // The open discipline is the object's own from now on.
    AcDbObject* again = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(again, l.vertices[2], AcDb::kForWrite), Acad::eWasOpenForRead);
    v->close();

    // The end record is made on open too.
    AcDbSequenceEnd* seq = nullptr;
    ASSERT_EQ(acdbOpenObject(seq, l.seqend, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(seq->ownerId(), l.polyline);
    seq->close();

    // The iterator makes only the vertices it is asked for.
    AcDb3dPolyline* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, l.polyline, AcDb::kForRead), Acad::eOk);
    std::unique_ptr<AcDbObjectIterator> it(pl->vertexIterator());
    EXPECT_EQ(it->objectId(), l.vertices[0]);
    EXPECT_TRUE(l.vertices[0].stub()->held);
    auto* first = AcDb3dPolylineVertex::cast(it->entity());
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(l.vertices[0].stub()->held);
    expectNear(first->position(), kPoints[0]);
    EXPECT_TRUE(it->seek(first));
    pl->close();
}

TEST(HeldVertices, WritesEraseAndUneraseOfAHeldVertexAreKeptAndSaved)
{
    Loaded l = load(writeDrawing("edit.dxf"));
    AcDb3dPolylineVertex* v = nullptr;
    ASSERT_EQ(acdbOpenObject(v, l.vertices[3], AcDb::kForWrite), Acad::eOk);
    v->setPosition({0, 20, 9});
    v->close();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, l.vertices[0], AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(obj->erase(), Acad::eOk);
    obj->close();

    AcDb3dPolyline* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, l.polyline, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(pl->vertexData().size(), 3u);
    expectNear(pl->vertexData().back().position, {0, 20, 9});
    std::unique_ptr<AcDbObjectIterator> it(pl->vertexIterator());
    EXPECT_EQ(it->objectId(), l.vertices[1]) << "the erased vertex is skipped";
    pl->close();

    Loaded saved = load(save(*l.db, "edited.dxf"));
    ASSERT_EQ(saved.vertices.size(), 3u);
    EXPECT_EQ(saved.vertices[0].handle(), l.vertices[1].handle());
    EXPECT_EQ(saved.vertices[2].handle(), l.vertices[3].handle());
    expectNear(positionOf(saved.vertices[2]), {0, 20, 9});

    // Undoing the erase brings the vertex back in its place.
    ASSERT_EQ(acdbOpenAcDbObject(obj, l.vertices[0], AcDb::kForWrite, true), Acad::eOk);
    ASSERT_EQ(obj->erase(false), Acad::eOk);
    obj->close();
    Loaded restored = load(save(*l.db, "restored.dxf"));
    ASSERT_EQ(restored.vertices.size(), 4u);
    EXPECT_EQ(restored.vertices[0].handle(), l.vertices[0].handle());
    expectNear(positionOf(restored.vertices[0]), kPoints[0]);
}

TEST(HeldVertices, PolylineEditsReachHeldVerticesWithoutMakingThem)
{
    Loaded l = load(writeDrawing("polyline-edits.dxf"));
    AcDb3dPolyline* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, l.polyline, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(pl->transformBy(AcGeMatrix3d::translation({100, 0, 0})), Acad::eOk);
    EXPECT_TRUE(l.vertices[0].stub()->held);
    AcDbExtents ext;
    ASSERT_EQ(pl->getGeomExtents(ext), Acad::eOk);
    expectNear(ext.minPoint(), {100, 0, 1});

    // Inserting after a held vertex puts the new one right behind it.
    AcDbObjectId added;
    ASSERT_EQ(pl->insertVertexAt(added, l.vertices[0], new AcDb3dPolylineVertex({105, 0, 1})), Acad::eOk);
    EXPECT_TRUE(l.vertices[0].stub()->held);
    std::vector<AcDb3dPolyline::VertexData> data = pl->vertexData();
    ASSERT_EQ(data.size(), 5u);
    expectNear(data[1].position, {105, 0, 1});
    expectNear(data[2].position, {110, 0, 2});

    // Spline fit and back: the held frame keeps its positions and handles.
    ASSERT_EQ(pl->convertToPolyType(AcDb::k3dCubicSplinePoly), Acad::eOk);
    ASSERT_EQ(pl->convertToPolyType(AcDb::k3dSimplePoly), Acad::eOk);
    data = pl->vertexData();
    ASSERT_EQ(data.size(), 5u);
    for (const auto& v : data) EXPECT_EQ(v.type, AcDb::k3dSimpleVertex);
    expectNear(positionOf(l.vertices[3]), {100, 10, 4});

    // A new layer for the polyline and its subentities (the default) takes the held vertices
    // along without making them, and the vertex with a colour of its own too.
    ASSERT_EQ(pl->setLayer(L"L"), Acad::eOk);
    EXPECT_TRUE(l.vertices[2].stub()->held);
    // A new layer for the polyline alone leaves its vertices on the layer they had.
    ASSERT_EQ(pl->setLayer(L"0", false), Acad::eOk);
    EXPECT_FALSE(l.vertices[2].stub()->held);
    pl->close();
    for (AcDbObjectId id : {l.vertices[1], l.vertices[2], l.seqend}) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(e->layer(), AcString(L"L"));
        e->close();
    }
    AcDbEntity* coloured = nullptr;
    ASSERT_EQ(acdbOpenObject(coloured, l.vertices[1], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(coloured->colorIndex(), 3) << "a change of layer leaves the colour alone";
    coloured->close();
}

TEST(HeldVertices, CloningCopiesHeldVerticesWithoutMakingThem)
{
    Loaded l = load(writeDrawing("clone.dxf"));
    AcDb3dPolyline* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, l.polyline, AcDb::kForRead), Acad::eOk);
    std::unique_ptr<AcDb3dPolyline> copy(AcDb3dPolyline::cast(pl->clone()));
    pl->close();
    ASSERT_TRUE(copy);
    EXPECT_TRUE(l.vertices[0].stub()->held);
    const std::vector<AcDb3dPolylineVertex*> vertices = copy->vertices();
    ASSERT_EQ(vertices.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        expectNear(vertices[static_cast<size_t>(i)]->position(), kPoints[i]);
        EXPECT_TRUE(vertices[static_cast<size_t>(i)]->objectId().isNull());
    }
    EXPECT_EQ(vertices[1]->colorIndex(), copy->colorIndex()) << "copies take their new owner's properties";
}

// Held vertices and end records read from a file have no stub at all until their handle is
// looked up: the database keeps their handles as held by the polyline.
TEST(VerticesHeldByHandle, HaveNoStubUntilTheirHandleIsLookedUp)
{
    const fs::path path = writeDrawing("lean.dxf");
    Loaded made = load(path);  // stubs made for every vertex, to learn the handles
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(path.wstring()), Acad::eOk);
    const size_t stubs = db.stubs().size();
    EXPECT_EQ(made.db->stubs().size(), stubs + 4) << "three plain vertices and the end record had none";

    auto* pl = fendo::db::peekObject<AcDb3dPolyline>(db.idFromHandle(made.polyline.handle()));
    ASSERT_NE(pl, nullptr);
    const std::vector<AcDb3dPolyline::VertexData> data = pl->vertexData();
    ASSERT_EQ(data.size(), 4u);
    expectNear(data[3].position, kPoints[3]);
    // Saving writes every record under its handle without making stubs.
    const std::string text = fendo::test::readFile(save(db, "lean-saved.dxf"));
    EXPECT_EQ(db.stubs().size(), stubs);
    EXPECT_EQ(text, fendo::test::readFile(save(*made.db, "made-saved.dxf")));

    // A held handle is in use: no object can take it.
    const AcDbHandle third = made.vertices[3].handle();
    auto line = std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    AcDbObjectId lineId;
    EXPECT_EQ(db.addAcDbObjectWithHandle(lineId, line.get(), third), Acad::eHandleExists);
    EXPECT_EQ(db.stubs().size(), stubs);

    // Looking the handle up makes the stub, which the polyline's list takes as its own.
    const AcDbObjectId v2 = db.idFromHandle(made.vertices[2].handle());
    ASSERT_TRUE(v2.isValid());
    EXPECT_TRUE(v2.stub()->held);
    EXPECT_EQ(db.stubs().size(), stubs + 1);
    expectNear(positionOf(v2), kPoints[2]);
    const AcDbObjectIdArray ids = pl->subentityIds();
    ASSERT_EQ(ids.length(), 4);
    EXPECT_EQ(ids[2], v2);
    EXPECT_EQ(ids[3].handle(), third);
    EXPECT_EQ(db.idFromHandle(third), ids[3]);
    EXPECT_EQ(db.stubs().size(), stubs + 3) << "vertices 0 and 3 got stubs; vertex 1 always had one";
}

TEST(VerticesHeldByHandle, ReferencesReadBeforeAndAfterAVertexNameItsObject)
{
    // Lines before and after the polyline name its first and last vertex as reactors.
    AcDbHandle first;
    fs::path path;
    {
        AcDbDatabase db;
        AcDbBlockTableRecord* ms = nullptr;
        acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
        auto* before = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, kPoints);
        auto* after = new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
        ms->appendAcDbEntity(before);
        ms->appendAcDbEntity(pl);
        ms->appendAcDbEntity(after);
        ms->close();
        const AcDbObjectIdArray vertices = pl->subentityIds();
        first = vertices[0].handle();
        before->addPersistentReactor(vertices[0]);
        after->addPersistentReactor(vertices[3]);
        before->close();
        after->close();
        pl->close();
        path = save(db, "referenced.dxf");
    }
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(path.wstring()), Acad::eOk);
    const auto entities = fendo::db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId())->entityIds();
    ASSERT_EQ(entities.size(), 3u);
    auto* before = fendo::db::peekObject<AcDbLine>(entities[0]);
    auto* pl = fendo::db::peekObject<AcDb3dPolyline>(entities[1]);
    auto* after = fendo::db::peekObject<AcDbLine>(entities[2]);
    ASSERT_TRUE(before && pl && after);
    ASSERT_EQ(before->reactors().length(), 1);
    ASSERT_EQ(after->reactors().length(), 1);
    const AcDbObjectIdArray ids = pl->subentityIds();
    ASSERT_EQ(ids.length(), 4);
    EXPECT_EQ(before->reactors()[0], ids[0]) << "a stub given out before the vertex was read stays its stub";
    EXPECT_EQ(after->reactors()[0], ids[3]) << "a lookup after the vertex was held finds the same vertex";
    EXPECT_EQ(ids[0].handle(), first);
    expectNear(positionOf(before->reactors()[0]), kPoints[0]);
    expectNear(positionOf(after->reactors()[0]), kPoints[3]);
}

namespace {

// A 3D polyline of eight vertices, the third a control vertex, the fourth with a colour and
// the sixth on layer "L" of their own; saved to a file. Gives the file's text.
std::string mixedVerticesDrawing(const fs::path& path)
{
    AcDbDatabase db;
    addLayer(db, L"L");
    AcGePoint3dArray points;
    for (int i = 0; i < 8; ++i) points.append(AcGePoint3d(i, i * i, 0.5 * i));
    auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, points);
    addToModelSpace(db, pl);
    const AcDbObjectIdArray ids = pl->subentityIds();
    pl->close();
    AcDb3dPolylineVertex* v = nullptr;
    acdbOpenObject(v, ids[2], AcDb::kForWrite);
    v->setVertexType(AcDb::k3dControlVertex);
    v->close();
    acdbOpenObject(v, ids[3], AcDb::kForWrite);
    v->setColorIndex(2);
    v->close();
    acdbOpenObject(v, ids[5], AcDb::kForWrite);
    v->setLayer(L"L");
    v->close();
    EXPECT_EQ(db.dxfOut(path.wstring()), Acad::eOk);
    return fendo::test::readFile(path);
}

}  // namespace

// A vertex read after one its polyline held by handle is held alike, without its object
// ever being made, when it differs from that one only in handle, position and flags; the
// others (own properties, a handle in use, a bad number) are read as any record.
TEST(VerticesHeldByHandle, VerticesLikeAHeldOneAreHeldWithoutBeingMade)
{
    const fs::path path = fendo::test::scratchDir("held-vertices") / "mixed.dxf";
    const std::string text = mixedVerticesDrawing(path);
    Loaded l = load(path);
    ASSERT_EQ(l.vertices.size(), 8u);
    auto* pl = fendo::db::peekObject<AcDb3dPolyline>(l.polyline);
    const std::vector<AcDb3dPolyline::VertexData> data = pl->vertexData();
    ASSERT_EQ(data.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        expectNear(data[i].position, AcGePoint3d(i, i * i, 0.5 * i));
        EXPECT_EQ(data[i].type, i == 2 ? AcDb::k3dControlVertex : AcDb::k3dSimpleVertex) << "vertex " << i;
    }
    // Looking the handles up made stubs for all; held vertices are those still without an
    // object of their own.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(l.vertices[i].stub()->held, i != 3 && i != 5) << "vertex " << i;
    AcDbEntity* coloured = nullptr;
    ASSERT_EQ(acdbOpenObject(coloured, l.vertices[3], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(coloured->colorIndex(), 2);
    coloured->close();
    EXPECT_EQ(fendo::test::readFile(save(*l.db, "mixed-saved.dxf")), text);

    // The last vertex (held like the one before) given the handle of the second (held by
    // handle) gets a new handle, as any record whose handle is taken.
    const std::string second = l.vertices[1].handle().hex(), last = l.vertices[7].handle().hex();
    std::string clash = text;
    const size_t at = clash.find("\n  5\n" + last + "\n");
    ASSERT_NE(at, std::string::npos);
    clash.replace(at + 5, last.size(), second);
    const fs::path clashPath = fendo::test::scratchDir("held-vertices") / "clash.dxf";
    fendo::test::writeFile(clashPath, clash);
    Loaded c = load(clashPath);
    ASSERT_EQ(c.vertices.size(), 8u);
    EXPECT_EQ(c.vertices[1].handle().hex(), second);
    EXPECT_NE(c.vertices[7].handle().hex(), second);
    expectNear(positionOf(c.vertices[7]), AcGePoint3d(7, 49, 3.5));
    expectNear(positionOf(c.vertices[1]), AcGePoint3d(1, 1, 0.5));

    // A coordinate that is no number (of the third vertex, held like the second) is refused
    // with the line of its group code.
    std::string bad = text;
    const size_t y = bad.find("\n 20\n4.0\n");
    ASSERT_NE(y, std::string::npos);
    bad.replace(y + 5, 3, "4x.0");
    const fs::path badPath = fendo::test::scratchDir("held-vertices") / "bad.dxf";
    fendo::test::writeFile(badPath, bad);
    AcDbDatabase db(false);
    std::string error;
    EXPECT_EQ(db.readDxfFile(badPath.wstring(), &error), Acad::eInvalidDxfCode);
    const int line = static_cast<int>(std::count(bad.begin(), bad.begin() + static_cast<long>(y) + 1, '\n')) + 1;
    EXPECT_NE(error.find("line " + std::to_string(line) + ": group code 20: expected a number, found '4x.0'"),
              std::string::npos)
        << error;
}

// Held vertices are written as their objects would be, in every form of file: a polyline
// with properties of its own on a layer named in Vietnamese, saved as R12, R2000 (texts
// escaped), R2018 and binary.
TEST(VerticesHeldByHandle, AreWrittenAsTheirObjectsWouldBeInEveryFileForm)
{
    const fs::path path = fendo::test::scratchDir("held-vertices") / "styled.dxf";
    {
        AcDbDatabase db;
        addLayer(db, L"Đường đồng mức");
        AcGePoint3dArray points;
        for (int i = 0; i < 6; ++i) points.append(AcGePoint3d(1000.125 * i, -0.3 * i, 7.0 / (i + 1)));
        auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, points);
        addToModelSpace(db, pl);
        ASSERT_EQ(pl->setLayer(L"Đường đồng mức"), Acad::eOk);
        pl->setColorIndex(5);
        pl->setLinetypeScale(2.5);
        // Vertices made from points take the drawing's current properties: they are given
        // the polyline's, as a polyline read from a file has them.
        for (AcDbObjectId id : pl->subentityIds()) {
            AcDbEntity* v = nullptr;
            ASSERT_EQ(acdbOpenObject(v, id, AcDb::kForWrite), Acad::eOk);
            v->setPropertiesFrom(pl);
            v->close();
        }
        pl->close();
        ASSERT_EQ(db.dxfOut(path.wstring()), Acad::eOk);
    }
    Loaded held = load(path), made = load(path);
    ASSERT_EQ(held.vertices.size(), 6u);
    EXPECT_TRUE(held.vertices[5].stub()->held);
    for (AcDbObjectId id : made.vertices) positionOf(id);
    EXPECT_FALSE(made.vertices[5].stub()->held);
    auto saved = [](AcDbDatabase& db, fendo::dxf::DxfVersion version, bool binary) {
        char* buffer = nullptr;
        size_t size = 0;
        std::FILE* f = open_memstream(&buffer, &size);
        fendo::dxf::DxfWriteOptions options;
        options.version = version;
        options.binary = binary;
        fendo::dxf::writeDxfStream(db, f, options);
        std::fclose(f);
        std::string text(buffer, size);
        std::free(buffer);
        return text;
    };
    using fendo::dxf::DxfVersion;
    for (auto [version, binary] : {std::pair{DxfVersion::R12, false}, {DxfVersion::R2000, false},
                                   {DxfVersion::R2018, false}, {DxfVersion::R2018, true}}) {
        const std::string fromHeld = saved(*held.db, version, binary);
        EXPECT_TRUE(fromHeld == saved(*made.db, version, binary))
            << "version " << static_cast<int>(version) << (binary ? ", binary" : "");
        if (!binary) {
            EXPECT_NE(fromHeld.find("1000.125"), std::string::npos);
            EXPECT_NE(fromHeld.find(version == DxfVersion::R2018 ? "\n  8\nĐường đồng mức\n" : "\n  8\n\\U+0110"),
                      std::string::npos);
        }
    }
}

// A 3D polyline made from points and given another entity's properties before it goes into
// a drawing takes its vertices along (doSubents) and keeps them as data once in the drawing,
// in model or paper space; they are saved, and open, with the polyline's properties.
TEST(VerticesHeldByHandle, NewPolylinesHoldTheirVerticesWithTheirProperties)
{
    AcDbDatabase db;
    const AcDbObjectId tim = addLayer(db, L"Tim");
    AcDbLine model(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    model.setDatabaseDefaults(&db);
    ASSERT_EQ(model.setLayer(tim), Acad::eOk);
    model.setColorIndex(4);
    for (const ACHAR* space : {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}) {
        auto* pl = new AcDb3dPolyline(AcDb::k3dSimplePoly, kPoints);
        ASSERT_EQ(pl->setPropertiesFrom(&model), Acad::eOk);
        AcDbBlockTable* blocks = nullptr;
        db.getBlockTable(blocks, AcDb::kForRead);
        AcDbBlockTableRecord* btr = nullptr;
        blocks->getAt(space, btr, AcDb::kForWrite);
        blocks->close();
        AcDbObjectId id;
        ASSERT_EQ(btr->appendAcDbEntity(id, pl), Acad::eOk);
        btr->close();
        const AcDbObjectIdArray vertices = pl->subentityIds();
        const AcDbObjectId seqend = pl->seqendId();
        pl->close();
        ASSERT_EQ(vertices.length(), 4);
        for (AcDbObjectId v : vertices) EXPECT_TRUE(v.stub()->held);
        EXPECT_TRUE(seqend.stub()->held);
        AcDb3dPolylineVertex* v = nullptr;
        ASSERT_EQ(acdbOpenObject(v, vertices[2], AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(v->layer(), AcString(L"Tim"));
        EXPECT_EQ(v->colorIndex(), 4);
        EXPECT_EQ(v->inPaperSpace(), space == ACDB_PAPER_SPACE);
        expectNear(v->position(), kPoints[2]);
        v->close();
    }
    // Read back, every vertex is on the polyline's layer and held again.
    Loaded l = load(save(db, "new-polylines.dxf"));
    ASSERT_EQ(l.vertices.size(), 4u);
    for (AcDbObjectId v : l.vertices) EXPECT_TRUE(v.stub()->held);
}
