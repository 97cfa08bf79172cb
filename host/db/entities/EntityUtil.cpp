// Helpers shared by the entity classes.
#include "host/db/entities/EntityUtil.h"

#include <cstring>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"

namespace fendo::db::ent {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

void enterSection(AcDbDxfFiler* filer, const ACHAR* subclass)
{
    filer->atSubclassData(subclass);
}

AcGePoint3d asPoint(const resbuf& rb)
{
    return {rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]};
}

AcGeVector3d asVector(const resbuf& rb)
{
    return {rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]};
}

double asReal(const resbuf& rb)
{
    switch (resValueKind(rb.restype)) {
    case ResValueKind::Real: return rb.resval.rreal;
    case ResValueKind::Int16:
    case ResValueKind::Bool: return rb.resval.rint;
    case ResValueKind::Int32: return rb.resval.rlong;
    case ResValueKind::Int64: return static_cast<double>(rb.resval.mnInt64);
    default: return rb.resval.rreal;
    }
}

int asInt(const resbuf& rb)
{
    switch (resValueKind(rb.restype)) {
    case ResValueKind::Int16:
    case ResValueKind::Bool: return rb.resval.rint;
    case ResValueKind::Int32: return rb.resval.rlong;
    case ResValueKind::Int64: return static_cast<int>(rb.resval.mnInt64);
    case ResValueKind::Real: return static_cast<int>(std::lround(rb.resval.rreal));
    default: return rb.resval.rint;
    }
}

std::wstring asString(const resbuf& rb)
{
    if (resValueKind(rb.restype) == ResValueKind::String && rb.resval.rstring) return rb.resval.rstring;
    return {};
}

double angleOfLastItem(AcDbDxfFiler* filer)
{
    // Taken from the text of the group so that the file's degrees are read the same way
    // whatever unit the filer hands real values in.
    const std::string& text = filer->lastTag().value;
    const double degrees = std::strtod(text.c_str(), nullptr);
    constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
    // Of the doubles nearest the quotient, take one that the filer writes back as the same
    // degrees, so that an angle read and written again is unchanged in the file.
    double radians = degrees / kDegreesPerRadian;
    if (radians * kDegreesPerRadian != degrees) {
        for (double toward : {HUGE_VAL, -HUGE_VAL}) {
            double r = radians;
            for (int step = 0; step < 3; ++step) {
                r = std::nextafter(r, toward);
                if (r * kDegreesPerRadian == degrees) return r;
            }
        }
    }
    return radians;
}

AcDbObjectId idOfLastItem(AcDbDxfFiler* filer)
{
    bool ok = false;
    AcDbHandle h = AcDbHandle::fromHex(filer->lastTag().value, &ok);
    if (!ok || h.isNull()) return AcDbObjectId::kNull;
    return filer->idFromHandle(h);
}

Acad::ErrorStatus countNotBorneOut(AcDbDxfFiler* filer, int line, int code, long long count, size_t present,
                                   const char* items)
{
    std::string message = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
    message += "group code " + std::to_string(code) + ": expected " + std::to_string(count) + " " + items +
               ", found " + std::to_string(present);
    filer->setError(Acad::eInvalidDxfCode, message);
    return Acad::eInvalidDxfCode;
}

AcDbObject* peekObject(AcDbObjectId id, bool allowErased)
{
    AcDbStub* stub = id.stub();
    if (!stub || !stub->object) return nullptr;
    if (stub->erased && !allowErased) return nullptr;
    return objectOf(stub);
}

AcDbObjectId lookupRecord(AcDbDatabase* db, AcDbObjectId tableId, const std::wstring& name)
{
    (void)db;
    auto* table = peek<AcDbSymbolTable>(tableId);
    if (!table || name.empty()) return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (table->getAt(name.c_str(), id) != Acad::eOk) return AcDbObjectId::kNull;
    return id;
}

std::wstring recordName(AcDbObjectId recordId)
{
    auto* rec = peek<AcDbSymbolTableRecord>(recordId, true);
    return rec ? rec->name() : std::wstring();
}

fendo::fonts::TextStyleFont textStyleFont(AcDbObjectId styleId)
{
    fendo::fonts::TextStyleFont font;
    if (auto* style = peek<AcDbTextStyleTableRecord>(styleId, true)) {
        font.fontFile = style->fileName();
        font.bigFontFile = style->bigFontFileName();
        // A TrueType face named only in the style's extended data stands for the file.
        if (font.fontFile.empty()) font.fontFile = style->typeface();
    } else {
        font.fontFile = L"txt";  // the default style's font
    }
    return font;
}

namespace {

// The matrix of the last normal asked for, per thread: the entities of a drawing mostly share
// one normal, and loading or saving asks for the matrix of each (an inverse among them).
struct LastOcsMatrix {
    double normal[3] = {0, 0, 0};
    AcGeMatrix3d matrix;
    bool valid = false;
};

template <typename Make>
const AcGeMatrix3d& cachedOcsMatrix(LastOcsMatrix& last, const AcGeVector3d& normal, Make make)
{
    const double bits[3] = {normal.x, normal.y, normal.z};
    // Compared bit for bit: -0.0 and +0.0 make matrices that differ in the sign of zeros.
    if (!last.valid || std::memcmp(bits, last.normal, sizeof bits) != 0) {
        last.matrix = make(unitNormal(normal));
        std::memcpy(last.normal, bits, sizeof bits);
        last.valid = true;
    }
    return last.matrix;
}

}  // namespace

AcGeMatrix3d ocsToWcs(const AcGeVector3d& normal)
{
    thread_local LastOcsMatrix last;
    return cachedOcsMatrix(last, normal, [](const AcGeVector3d& n) { return AcGeMatrix3d::planeToWorld(n); });
}

AcGeMatrix3d wcsToOcs(const AcGeVector3d& normal)
{
    thread_local LastOcsMatrix last;
    return cachedOcsMatrix(last, normal, [](const AcGeVector3d& n) { return AcGeMatrix3d::worldToPlane(n); });
}

bool isDefaultNormal(const AcGeVector3d& normal)
{
    return std::abs(normal.x) < 1e-12 && std::abs(normal.y) < 1e-12 && normal.z > 0;
}

AcGeVector3d unitNormal(const AcGeVector3d& normal)
{
    double len = normal.length();
    if (len < 1e-300) return AcGeVector3d::kZAxis;
    // A normal that is unit already is kept bit for bit (files give normals unit).
    if (std::abs(len - 1.0) < 1e-14) return normal;
    return normal / len;
}

double normalizeAngle(double a)
{
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    if (a >= kTwoPi) a = 0.0;
    return a;
}

void addArcExtents(AcDbExtents& ext, const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                   double startAngle, double endAngle)
{
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(unitNormal(normal), u, v);
    double start = normalizeAngle(startAngle);
    double sweep = normalizeAngle(endAngle - startAngle);
    if (sweep <= 0.0) sweep = kTwoPi;  // equal angles: a full turn, as for a circle
    auto pointAt = [&](double a) { return center + (u * std::cos(a) + v * std::sin(a)) * radius; };
    ext.addPoint(pointAt(start));
    ext.addPoint(pointAt(start + sweep));
    // Each coordinate k runs c_k + r (u_k cos a + v_k sin a): extreme where
    // a = atan2(v_k, u_k) and that plus pi; add those that lie within the sweep.
    for (int k = 0; k < 3; ++k) {
        if (std::abs(u[k]) < 1e-300 && std::abs(v[k]) < 1e-300) continue;
        double a0 = std::atan2(v[k], u[k]);
        for (double a : {a0, a0 + std::numbers::pi}) {
            double rel = normalizeAngle(a - start);
            if (rel <= sweep) ext.addPoint(pointAt(a));
        }
    }
}

bool keepsShape(const AcGeMatrix3d& xform)
{
    return xform.isUniScaledOrtho() && !xform.isSingular();
}

PlaneMap mapPlane(const AcGeMatrix3d& xform, const AcGeVector3d& normal)
{
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(unitNormal(normal), u, v);
    AcGeVector3d mu = u, mv = v;
    mu.transformBy(xform);
    mv.transformBy(xform);
    AcGeVector3d n = mu.crossProduct(mv);
    PlaneMap map;
    if (n.length() < 1e-300) {
        map.normal = unitNormal(normal);
        return map;
    }
    n = n / n.length();
    if (xform.det() < 0) {
        // The plane's sense of rotation is reversed: keep the normal on the side the
        // transformed normal points to, and let angles run the other way.
        map.normal = -n;
        map.mirrored = true;
    } else {
        map.normal = n;
    }
    return map;
}

double angleInOcs(const AcGeVector3d& dir, const AcGeVector3d& normal)
{
    AcGeVector3d local = dir;
    local.transformBy(wcsToOcs(normal));
    return normalizeAngle(std::atan2(local.y, local.x));
}

AcGeVector3d directionInOcs(double angle, const AcGeVector3d& normal)
{
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(unitNormal(normal), u, v);
    return u * std::cos(angle) + v * std::sin(angle);
}

void dropKeptSection(AcDbObject* obj, const std::wstring& subclass)
{
    const auto* kept = obj->keptGroups();
    if (!kept) return;
    std::vector<AcDbObject::KeptGroup> others;
    for (const auto& g : *kept)
        if (g.subclass != subclass) others.push_back(g);
    obj->clearKeptGroups();
    for (auto& g : others) obj->keepGroup(g.subclass, g.tag);
}

}  // namespace fendo::db::ent
