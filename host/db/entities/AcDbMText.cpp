// Multiline text: contents, plain-text extraction, extents from the style's font and
// filing as MTEXT (contents split in 250-character chunks as DXF requires).
#include "host/db/entities/AcDbMText.h"

#include <algorithm>
#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"
#include "host/fonts/TextMetrics.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbMText, AcDbEntity, 0, 0, 0, MTEXT, ObjectDBX Classes)

namespace {
// Baseline-to-baseline distance of single-spaced lines, in text heights.
constexpr double kLineSpacing = 5.0 / 3.0;
// DXF splits long strings into chunks of this many characters (groups 3, then 1).
constexpr size_t kChunk = 250;
}  // namespace

namespace fendo::db {

std::wstring plainMTextContents(const std::wstring& s)
{
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'{' || c == L'}') continue;
        if (c != L'\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        wchar_t k = s[++i];
        switch (k) {
        case L'P': case L'n': out += L'\n'; break;
        case L'~': out += L' '; break;
        case L'\\': case L'{': case L'}': out += k; break;
        case L'L': case L'l': case L'O': case L'o': case L'K': case L'k': break;
        case L'S': {  // stacked text up to ';'
            size_t end = s.find(L';', i);
            std::wstring st = s.substr(i + 1, end == std::wstring::npos ? std::wstring::npos : end - i - 1);
            std::replace(st.begin(), st.end(), L'^', L'/');
            std::replace(st.begin(), st.end(), L'#', L'/');
            out += st;
            i = end == std::wstring::npos ? s.size() : end;
            break;
        }
        case L'U':  // \U+XXXX is expanded later by the font measuring; keep it
            out += L'\\';
            out += k;
            break;
        default: {  // \f...; \H...; \C...; \A...; \W...; \Q...; \T...; \p...; and the like
            size_t end = s.find(L';', i);
            i = end == std::wstring::npos ? s.size() : end;
            break;
        }
        }
    }
    return out;
}

}  // namespace fendo::db

Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) { assertWriteEnabled(); m_contents = text; return Acad::eOk; }
Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& p) { assertWriteEnabled(); m_location = p; return Acad::eOk; }

Acad::ErrorStatus AcDbMText::setTextHeight(double h)
{
    if (!(h > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_height = h;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setWidth(double w) { assertWriteEnabled(); m_width = w; return Acad::eOk; }

double AcDbMText::rotation() const
{
    return ent::angleInOcs(m_direction, m_normal);
}

Acad::ErrorStatus AcDbMText::setRotation(double r)
{
    assertWriteEnabled();
    m_direction = ent::directionInOcs(r, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setDirection(const AcGeVector3d& d)
{
    if (d.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_direction = d / d.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    double r = rotation();
    m_normal = ent::unitNormal(n);
    m_direction = ent::directionInOcs(r, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint a) { assertWriteEnabled(); m_attachment = a; return Acad::eOk; }

Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId style)
{
    assertWriteEnabled();
    m_style = style;
    m_styleName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double f)
{
    if (f < 0.25 || f > 4.0) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_spacing = f;
    return Acad::eOk;
}

void AcDbMText::boxCorners(AcGePoint3d corners[4]) const
{
    AcDbObjectId style = m_style;
    if (style.isNull())
        if (AcDbDatabase* db = database()) style = ent::lookupRecord(db, db->textStyleTableId(), L"Standard");
    fendo::fonts::TextStyleFont font = ent::textStyleFont(style);
    fendo::fonts::TextFormat format;
    format.height = m_height;
    std::wstring plain = fendo::db::plainMTextContents(m_contents);
    double widest = 0.0;
    int lines = 0;
    size_t start = 0;
    while (true) {
        size_t end = plain.find(L'\n', start);
        std::wstring line = plain.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        widest = std::max(widest, fendo::fonts::measureText(line, font, format).advance);
        ++lines;
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    const double w = widest;
    const double h = m_height + (lines - 1) * kLineSpacing * m_spacing * m_height;
    const int a = static_cast<int>(m_attachment) - 1;
    const double left = -w * ((a % 3) / 2.0);  // left 0, centre -w/2, right -w
    const double top = h * ((a / 3) / 2.0);    // top 0, middle h/2, bottom h
    AcGeVector3d x = m_direction;
    AcGeVector3d y = m_normal.crossProduct(x);
    AcGePoint3d ul = m_location + x * left + y * top;
    corners[0] = ul - y * h;
    corners[1] = ul - y * h + x * w;
    corners[2] = ul + x * w;
    corners[3] = ul;
}

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    AcGePoint3d c[4];
    boxCorners(c);
    for (const AcGePoint3d& p : c) extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& xform)
{
    if (!ent::keepsShape(xform)) return Acad::eNotApplicable;
    assertWriteEnabled();
    m_location.transformBy(xform);
    m_direction.transformBy(xform);
    m_direction.normalize();
    m_normal = ent::mapPlane(xform, m_normal).normal;
    const double s = xform.scale();
    m_height *= s;
    m_width *= s;
    return Acad::eOk;
}

bool AcDbMText::worldDraw(AcGiWorldDraw* wd)
{
    AcGePoint3d c[4];
    boxCorners(c);
    std::wstring plain = fendo::db::plainMTextContents(m_contents);
    AcGeVector3d y = m_normal.crossProduct(m_direction);
    AcGePoint3d base = c[3] - y * m_height;
    size_t start = 0;
    while (true) {
        size_t end = plain.find(L'\n', start);
        std::wstring line = plain.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        wd->geometry().text(base, m_normal, m_direction, m_height, 1.0, 0.0, line.c_str());
        if (end == std::wstring::npos) break;
        start = end + 1;
        base -= y * (kLineSpacing * m_spacing * m_height);
    }
    return true;
}

Acad::ErrorStatus AcDbMText::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_location);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    if (!indices.isEmpty()) m_location += offset;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMText::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbMText");
    std::wstring chunks, last;
    bool haveDirection = false;
    double rotationRead = 0.0;
    bool embedded = false;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        // Groups after 101 ("Embedded Object": column data of newer files) belong to that
        // object, not to the text; they are kept as read and written back after it.
        if (rb.restype == 101) embedded = true;
        if (embedded) return false;
        switch (rb.restype) {
        case 10: m_location = ent::asPoint(rb); return true;
        case 40: m_height = ent::asReal(rb); return true;
        case 41: m_width = ent::asReal(rb); return true;
        case 44:
            m_spacing = ent::asReal(rb);
            m_spacingFiled = true;
            return true;
        case 71: {
            int a = ent::asInt(rb);
            m_attachment = static_cast<AttachmentPoint>(a < 1 || a > 9 ? 1 : a);
            return true;
        }
        case 72: {
            int f = ent::asInt(rb);
            m_flow = static_cast<FlowDirection>(f < 1 || f > 5 ? 1 : f);
            return true;
        }
        case 3: chunks += ent::asString(rb); return true;
        case 1: last = ent::asString(rb); return true;
        case 7: {
            m_styleName = ent::asString(rb);
            AcDbDatabase* db = filer->database();
            m_style = db ? ent::lookupRecord(db, db->textStyleTableId(), m_styleName) : AcDbObjectId::kNull;
            if (!m_style.isNull()) m_styleName.clear();
            return true;
        }
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        case 11: m_direction = ent::asVector(rb); haveDirection = true; return true;
        case 50: rotationRead = ent::angleOfLastItem(filer); return true;
        default: return false;
        }
    });
    m_contents = chunks + last;
    if (!haveDirection || m_direction.isZeroLength()) m_direction = ent::directionInOcs(rotationRead, m_normal);
    else m_direction.normalize();
    return es;
}

Acad::ErrorStatus AcDbMText::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbMText");
    filer->writePoint3d(AcDb::kDxfXCoord, m_location);
    filer->writeDouble(AcDb::kDxfTxtSize, m_height);
    filer->writeDouble(AcDb::kDxfTxtStyleXScale, m_width);
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), static_cast<std::int16_t>(m_attachment));
    filer->writeInt16(static_cast<AcDb::DxfCode>(72), static_cast<std::int16_t>(m_flow));
    size_t pos = 0;
    while (m_contents.size() - pos > kChunk) {
        filer->writeString(AcDb::kDxfAttributePrompt, m_contents.substr(pos, kChunk).c_str());
        pos += kChunk;
    }
    filer->writeString(AcDb::kDxfText, m_contents.substr(pos).c_str());
    std::wstring style = m_style.isNull() ? m_styleName : ent::recordName(m_style);
    if (!style.empty()) filer->writeString(AcDb::kDxfTextStyleName, style.c_str());
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    filer->writeVector3d(static_cast<AcDb::DxfCode>(11), m_direction);
    if (m_spacing != 1.0 || m_spacingFiled) filer->writeDouble(static_cast<AcDb::DxfCode>(44), m_spacing);
    return filer->filerStatus();
}
