// Table entity and table style object: grid data, the "Standard" style, and filing as
// ACAD_TABLE / TABLESTYLE (kept as read until changed, else written in the R2007 form).
#include "host/db/entities/AcDbTable.h"

#include <algorithm>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

// Both are listed in a DXF file's CLASSES section (proxy flags as the host gives them).
ACRX_DXF_DEFINE_MEMBERS(AcDbTable, AcDbBlockReference, 0, 0, 1025, ACAD_TABLE, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbTableStyle, AcDbObject, 0, 0, 4095, TABLESTYLE, ObjectDBX Classes)

namespace {
const wchar_t* const kTableSection = L"AcDbTable";
const wchar_t* const kStyleSection = L"AcDbTableStyle";
}  // namespace

// ---- table style ----------------------------------------------------------------------

AcDbTableStyle::AcDbTableStyle()
{
    m_rows[1].height = 6.0;  // title
    m_rows[0].alignment = AcDb::kTopCenter;
}

int AcDbTableStyle::slot(AcDb::RowType rowType)
{
    switch (rowType) {
    case AcDb::kTitleRow: return 1;
    case AcDb::kHeaderRow: return 2;
    default: return 0;
    }
}

template <typename F>
Acad::ErrorStatus AcDbTableStyle::changeRows(int rowTypes, F&& change)
{
    if ((rowTypes & AcDb::kAllRows) == 0) return Acad::eInvalidInput;
    assertWriteEnabled();
    if (rowTypes & AcDb::kDataRow) change(m_rows[0]);
    if (rowTypes & AcDb::kTitleRow) change(m_rows[1]);
    if (rowTypes & AcDb::kHeaderRow) change(m_rows[2]);
    dropReadForm();
    return Acad::eOk;
}

void AcDbTableStyle::dropReadForm()
{
    if (!m_readForm) return;
    m_readForm = false;
    ent::dropKeptSection(this, kStyleSection);
}

AcString AcDbTableStyle::name() const
{
    if (!m_name.empty()) return m_name;
    if (auto* dict = ent::peek<AcDbDictionary>(ownerId())) {
        AcString key;
        if (dict->nameAt(objectId(), key) == Acad::eOk) return key;
    }
    return AcString();
}

Acad::ErrorStatus AcDbTableStyle::setName(const ACHAR* name)
{
    if (!name || !*name) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_name = name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTableStyle::setDescription(const ACHAR* d) { assertWriteEnabled(); m_description = d; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTableStyle::setFlowDirection(AcDb::FlowDirection f) { assertWriteEnabled(); m_flow = f; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTableStyle::suppressTitleRow(bool s) { assertWriteEnabled(); m_suppressTitle = s; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTableStyle::suppressHeaderRow(bool s) { assertWriteEnabled(); m_suppressHeader = s; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTableStyle::setHorzCellMargin(double m) { assertWriteEnabled(); m_horzMargin = m; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTableStyle::setVertCellMargin(double m) { assertWriteEnabled(); m_vertMargin = m; dropReadForm(); return Acad::eOk; }

AcDbObjectId AcDbTableStyle::textStyle(AcDb::RowType rowType) const { return m_rows[slot(rowType)].textStyle; }
double AcDbTableStyle::textHeight(AcDb::RowType rowType) const { return m_rows[slot(rowType)].height; }
AcDb::CellAlignment AcDbTableStyle::alignment(AcDb::RowType rowType) const { return m_rows[slot(rowType)].alignment; }
AcCmColor AcDbTableStyle::color(AcDb::RowType rowType) const { return m_rows[slot(rowType)].color; }

Acad::ErrorStatus AcDbTableStyle::setTextStyle(AcDbObjectId style, int rowTypes)
{
    return changeRows(rowTypes, [&](RowFormat& r) { r.textStyle = style; r.textStyleName.clear(); });
}

Acad::ErrorStatus AcDbTableStyle::setTextHeight(double height, int rowTypes)
{
    if (!(height > 0.0)) return Acad::eInvalidInput;
    return changeRows(rowTypes, [&](RowFormat& r) { r.height = height; });
}

Acad::ErrorStatus AcDbTableStyle::setAlignment(AcDb::CellAlignment alignment, int rowTypes)
{
    return changeRows(rowTypes, [&](RowFormat& r) { r.alignment = alignment; });
}

Acad::ErrorStatus AcDbTableStyle::setColor(const AcCmColor& color, int rowTypes)
{
    return changeRows(rowTypes, [&](RowFormat& r) { r.color = color; });
}

Acad::ErrorStatus AcDbTableStyle::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, kStyleSection);
    // Every group is kept as read (the row formats repeat their codes); the values the
    // style models are taken on the way.
    int seen280 = 0, record = -1;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        RowFormat* row = record >= 0 && record < 3 ? &m_rows[record] : nullptr;
        switch (rb.restype) {
        case 3: m_description = ent::asString(rb); break;
        case 70: m_flow = ent::asInt(rb) == 1 ? AcDb::kBtoT : AcDb::kTtoB; break;
        case 40: m_horzMargin = ent::asReal(rb); break;
        case 41: m_vertMargin = ent::asReal(rb); break;
        case 280: if (seen280++ == 1) m_suppressTitle = ent::asInt(rb) != 0; break;
        case 281: m_suppressHeader = ent::asInt(rb) != 0; break;
        case 7: {
            ++record;
            if (record >= 3) break;
            RowFormat& r = m_rows[record];
            r.textStyleName = ent::asString(rb);
            AcDbDatabase* db = filer->database();
            r.textStyle = db ? ent::lookupRecord(db, db->textStyleTableId(), r.textStyleName) : AcDbObjectId::kNull;
            break;
        }
        case 140: if (row) row->height = ent::asReal(rb); break;
        case 170: if (row) row->alignment = static_cast<AcDb::CellAlignment>(std::clamp(ent::asInt(rb), 1, 9)); break;
        case 62: if (row) row->color.setColorIndex(static_cast<Adesk::UInt16>(ent::asInt(rb))); break;
        default: break;
        }
        return false;
    });
    m_readForm = true;
    return es;
}

Acad::ErrorStatus AcDbTableStyle::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbObject::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, kStyleSection);
    if (m_readForm) return filer->filerStatus();  // the kept groups follow
    filer->writeInt8(AcDb::kDxfInt8, 0);
    filer->writeString(AcDb::kDxfDescription, m_description);
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(m_flow));
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), 0);
    filer->writeDouble(AcDb::kDxfReal, m_horzMargin);
    filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_vertMargin);
    filer->writeInt8(AcDb::kDxfInt8, m_suppressTitle ? 1 : 0);
    filer->writeInt8(static_cast<AcDb::DxfCode>(281), m_suppressHeader ? 1 : 0);
    for (const RowFormat& r : m_rows) {
        std::wstring style = r.textStyle.isNull() ? r.textStyleName : ent::recordName(r.textStyle);
        filer->writeString(AcDb::kDxfTextStyleName, style.empty() ? L"Standard" : style.c_str());
        filer->writeDouble(AcDb::kDxfXReal, r.height);
        filer->writeInt16(AcDb::kDxfXInt16, static_cast<std::int16_t>(r.alignment));
        filer->writeInt16(AcDb::kDxfColor, static_cast<std::int16_t>(r.color.colorIndex()));
        filer->writeInt16(static_cast<AcDb::DxfCode>(63), 7);
        filer->writeInt8(static_cast<AcDb::DxfCode>(283), 0);
        for (int c = 274; c <= 279; ++c) filer->writeInt16(static_cast<AcDb::DxfCode>(c), -2);
        for (int c = 284; c <= 289; ++c) filer->writeInt8(static_cast<AcDb::DxfCode>(c), 1);
        for (int c = 64; c <= 69; ++c) filer->writeInt16(static_cast<AcDb::DxfCode>(c), 0);
    }
    return filer->filerStatus();
}

namespace fendo::db {

Acad::ErrorStatus ensureStandardTableStyle(AcDbDatabase& db)
{
    AcDbObjectId dictId = db.tableStyleDictionaryId();
    if (dictId.isNull()) return Acad::eKeyNotFound;
    AcDbDictionary* dict = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(dict, dictId, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    if (!dict->has(L"Standard")) {
        auto* style = new AcDbTableStyle;
        style->setName(L"Standard");
        style->setDescription(L"Standard");
        AcDbObjectId id;
        es = dict->setAt(L"Standard", style, id);
        if (es == Acad::eOk) style->close();
        else delete style;
    }
    dict->close();
    return es;
}

}  // namespace fendo::db

// ---- table ----------------------------------------------------------------------------

void AcDbTable::dropReadForm()
{
    if (!m_readForm) return;
    m_readForm = false;
    ent::dropKeptSection(this, kTableSection);
}

Acad::ErrorStatus AcDbTable::setNumRows(int rows) { return setSize(rows, std::max(m_cols, 1)); }
Acad::ErrorStatus AcDbTable::setNumColumns(int cols) { return setSize(std::max(m_rows, 1), cols); }

Acad::ErrorStatus AcDbTable::setSize(int rows, int cols)
{
    if (rows < 1 || cols < 1) return Acad::eInvalidInput;
    assertWriteEnabled();
    std::vector<std::wstring> cells(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c) cells[static_cast<size_t>(r) * cols + c] = m_cells[cellIndex(r, c)];
    m_cells = std::move(cells);
    m_rowHeights.resize(rows, kDefaultRowHeight);
    m_colWidths.resize(cols, kDefaultColumnWidth);
    m_rows = rows;
    m_cols = cols;
    dropReadForm();
    return Acad::eOk;
}

AcString AcDbTable::textString(int row, int col) const
{
    return inRange(row, col) ? AcString(m_cells[cellIndex(row, col)]) : AcString();
}

Acad::ErrorStatus AcDbTable::textString(int row, int col, AcString& text) const
{
    if (!inRange(row, col)) return Acad::eInvalidIndex;
    text = m_cells[cellIndex(row, col)];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::setTextString(int row, int col, const ACHAR* text)
{
    if (!inRange(row, col)) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_cells[cellIndex(row, col)] = text ? text : L"";
    dropReadForm();
    return Acad::eOk;
}

double AcDbTable::rowHeight(int row) const
{
    return row >= 0 && row < m_rows ? m_rowHeights[row] : 0.0;
}

Acad::ErrorStatus AcDbTable::setRowHeight(int row, double height)
{
    if (row < 0 || row >= m_rows) return Acad::eInvalidIndex;
    if (!(height > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_rowHeights[row] = height;
    dropReadForm();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::setRowHeight(double height)
{
    for (int r = 0; r < m_rows; ++r)
        if (Acad::ErrorStatus es = setRowHeight(r, height); es != Acad::eOk) return es;
    return Acad::eOk;
}

double AcDbTable::columnWidth(int col) const
{
    return col >= 0 && col < m_cols ? m_colWidths[col] : 0.0;
}

Acad::ErrorStatus AcDbTable::setColumnWidth(int col, double width)
{
    if (col < 0 || col >= m_cols) return Acad::eInvalidIndex;
    if (!(width > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_colWidths[col] = width;
    dropReadForm();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::setColumnWidth(double width)
{
    for (int c = 0; c < m_cols; ++c)
        if (Acad::ErrorStatus es = setColumnWidth(c, width); es != Acad::eOk) return es;
    return Acad::eOk;
}

double AcDbTable::height() const
{
    double h = 0.0;
    for (double v : m_rowHeights) h += v;
    return h;
}

double AcDbTable::width() const
{
    double w = 0.0;
    for (double v : m_colWidths) w += v;
    return w;
}

Acad::ErrorStatus AcDbTable::setTableStyle(AcDbObjectId style) { assertWriteEnabled(); m_style = style; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTable::suppressTitleRow(bool s) { assertWriteEnabled(); m_suppressTitle = s; dropReadForm(); return Acad::eOk; }
Acad::ErrorStatus AcDbTable::suppressHeaderRow(bool s) { assertWriteEnabled(); m_suppressHeader = s; dropReadForm(); return Acad::eOk; }

Acad::ErrorStatus AcDbTable::setDirection(const AcGeVector3d& d)
{
    if (d.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_direction = d / d.length();
    dropReadForm();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    AcGeVector3d down = -normal().crossProduct(m_direction);
    AcGePoint3d p = position();
    extents.addPoint(p);
    extents.addPoint(p + m_direction * width());
    extents.addPoint(p + down * height());
    extents.addPoint(p + m_direction * width() + down * height());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::transformBy(const AcGeMatrix3d& xform)
{
    if (!ent::keepsShape(xform)) return Acad::eNotApplicable;
    Acad::ErrorStatus es = AcDbBlockReference::transformBy(xform);
    if (es != Acad::eOk) return es;
    m_direction.transformBy(xform);
    m_direction.normalize();
    const double s = xform.scale();
    for (double& h : m_rowHeights) h *= s;
    for (double& w : m_colWidths) w *= s;
    dropReadForm();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::explode(AcDbVoidPtrArray&) const
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbTable::recomputeTableBlock(bool)
{
    assertWriteEnabled();
    AcDbDatabase* db = database();
    if (!db) return Acad::eNoDatabase;
    AcDbBlockTableRecord* block = nullptr;
    if (!m_blockRecord.isNull() && acdbOpenObject(block, m_blockRecord, AcDb::kForWrite) == Acad::eOk) {
        for (const AcDbObjectId id : block->entityIds()) {
            AcDbEntity* old = nullptr;
            if (acdbOpenObject(old, id, AcDb::kForWrite) == Acad::eOk) {
                old->erase();
                old->close();
            }
        }
    } else {
        AcDbBlockTable* blocks = nullptr;
        Acad::ErrorStatus es = db->getBlockTable(blocks, AcDb::kForWrite);
        if (es != Acad::eOk) return es;
        std::wstring name;
        for (int n = 1; name.empty() || blocks->has(name.c_str()); ++n) name = L"*T" + std::to_wstring(n);
        block = new AcDbBlockTableRecord;
        block->setName(name.c_str());
        block->setBlockFlags(1);
        AcDbObjectId id;
        es = blocks->add(id, block);
        blocks->close();
        if (es != Acad::eOk) {
            delete block;
            return es;
        }
        m_blockRecord = id;
    }
    double textHeight = 4.5;
    AcCmColor textColour{AcCmEntityColor(AcCm::kByBlock)};
    AcDbTableStyle* style = nullptr;
    if (acdbOpenObject(style, m_style, AcDb::kForRead) == Acad::eOk) {
        textHeight = style->textHeight(AcDb::kDataRow);
        textColour = style->color(AcDb::kDataRow);
        style->close();
    }
    // Block coordinates: the table's corner at the origin, columns along its direction.
    const AcGeVector3d down = -normal().crossProduct(m_direction);
    const AcGePoint3d origin = AcGePoint3d::kOrigin;
    auto addLine = [&](const AcGePoint3d& a, const AcGePoint3d& b) {
        auto* line = new AcDbLine(a, b);
        line->setColorIndex(0);
        if (block->appendAcDbEntity(line) == Acad::eOk) line->close();
        else delete line;
    };
    double y = 0.0;
    for (int r = 0; r <= m_rows; ++r) {
        addLine(origin + down * y, origin + down * y + m_direction * width());
        if (r < m_rows) y += m_rowHeights[r];
    }
    double x = 0.0;
    for (int c = 0; c <= m_cols; ++c) {
        addLine(origin + m_direction * x, origin + m_direction * x + down * height());
        if (c < m_cols) x += m_colWidths[c];
    }
    y = 0.0;
    for (int r = 0; r < m_rows; ++r) {
        x = 0.0;
        for (int c = 0; c < m_cols; ++c) {
            const std::wstring& text = m_cells[cellIndex(r, c)];
            if (!text.empty()) {
                auto* mtext = new AcDbMText;
                mtext->setContents(text.c_str());
                mtext->setTextHeight(textHeight > 0 ? textHeight : 4.5);
                mtext->setAttachment(AcDbMText::kMiddleCenter);
                mtext->setLocation(origin + m_direction * (x + m_colWidths[c] / 2) + down * (y + m_rowHeights[r] / 2));
                mtext->setColor(textColour);
                if (block->appendAcDbEntity(mtext) == Acad::eOk) mtext->close();
                else delete mtext;
            }
            x += m_colWidths[c];
        }
        y += m_rowHeights[r];
    }
    block->close();
    setBlockTableRecord(m_blockRecord);
    dropReadForm();
    return Acad::eOk;
}

bool AcDbTable::worldDraw(AcGiWorldDraw* wd)
{
    AcGeVector3d down = -normal().crossProduct(m_direction);
    AcGePoint3d p = position();
    double y = 0.0;
    for (int r = 0; r <= m_rows; ++r) {
        AcGePoint3d l[2] = {p + down * y, p + down * y + m_direction * width()};
        wd->geometry().polyline(2, l);
        if (r < m_rows) y += m_rowHeights[r];
    }
    double x = 0.0;
    for (int c = 0; c <= m_cols; ++c) {
        AcGePoint3d l[2] = {p + m_direction * x, p + m_direction * x + down * height()};
        wd->geometry().polyline(2, l);
        if (c < m_cols) x += m_colWidths[c];
    }
    return true;
}

Acad::ErrorStatus AcDbTable::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readReferenceSection(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, kTableSection);
    // The whole section is kept as read; rows, columns, sizes and cell texts are taken on
    // the way. A cell starts at its type (171); its text is its first group 1 (after any
    // 2/3 chunks of a long text), or else the text of its value (302).
    m_rows = m_cols = 0;
    m_cells.clear();
    m_rowHeights.clear();
    m_colWidths.clear();
    std::vector<std::wstring> texts;
    std::wstring chunks, valueText;
    bool cellHasText = false, inCells = false;
    int rowsLine = 0, colsLine = 0;
    auto finishCell = [&]() {
        if (!inCells) return;
        if (!cellHasText) texts.back() = valueText;
    };
    es = ent::readSection(filer, [&](const resbuf& rb) {
        const short c = rb.restype;
        if (c == 171) {
            finishCell();
            inCells = true;
            texts.emplace_back();
            chunks.clear();
            valueText.clear();
            cellHasText = false;
        } else if (!inCells) {
            switch (c) {
            case 342: m_style = ent::idOfLastItem(filer); break;
            case 343: m_blockRecord = ent::idOfLastItem(filer); break;
            case 11: m_direction = ent::asVector(rb); break;
            case 91:
                m_rows = ent::asInt(rb);
                rowsLine = filer->lastLine();
                break;
            case 92:
                m_cols = ent::asInt(rb);
                colsLine = filer->lastLine();
                break;
            case 141: m_rowHeights.push_back(ent::asReal(rb)); break;
            case 142: m_colWidths.push_back(ent::asReal(rb)); break;
            default: break;
            }
        } else if (!cellHasText) {
            if (c == 2 || c == 3) chunks += ent::asString(rb);
            else if (c == 1) {
                texts.back() = chunks + ent::asString(rb);
                cellHasText = true;
            } else if (c == 302 && valueText.empty()) {
                valueText = ent::asString(rb);
            }
        }
        return false;
    });
    finishCell();
    if (es != Acad::eOk) return es;
    m_rows = std::max(m_rows, 0);
    m_cols = std::max(m_cols, 0);
    // Every cell is in the file: rows and columns that more cells than that would need are
    // damage, not a table to allocate.
    const long long cells = static_cast<long long>(m_rows) * m_cols;
    if (cells > static_cast<long long>(texts.size())) {
        const bool rowsWrong = m_cols == 0 || m_rows > static_cast<long long>(texts.size()) / std::max(m_cols, 1);
        m_rows = m_cols = 0;
        return rowsWrong ? ent::countNotBorneOut(filer, rowsLine, 91, cells, texts.size(), "cells")
                         : ent::countNotBorneOut(filer, colsLine, 92, cells, texts.size(), "cells");
    }
    m_cells.assign(static_cast<size_t>(m_rows) * m_cols, std::wstring());
    for (size_t i = 0; i < texts.size() && i < m_cells.size(); ++i) m_cells[i] = texts[i];
    m_rowHeights.resize(m_rows, kDefaultRowHeight);
    m_colWidths.resize(m_cols, kDefaultColumnWidth);
    if (m_direction.isZeroLength()) m_direction = AcGeVector3d::kXAxis;
    m_readForm = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeReferenceSection(filer, false);
    filer->writeString(AcDb::kDxfSubclass, kTableSection);
    if (m_readForm) return filer->filerStatus();  // the kept groups follow
    filer->writeInt8(AcDb::kDxfInt8, 0);
    filer->writeObjectId(static_cast<AcDb::DxfCode>(342), m_style);
    if (!m_blockRecord.isNull()) filer->writeObjectId(static_cast<AcDb::DxfCode>(343), m_blockRecord);
    filer->writeVector3d(static_cast<AcDb::DxfCode>(11), m_direction);
    filer->writeInt32(AcDb::kDxfInt32, 22);
    filer->writeInt32(static_cast<AcDb::DxfCode>(91), m_rows);
    filer->writeInt32(static_cast<AcDb::DxfCode>(92), m_cols);
    filer->writeInt32(static_cast<AcDb::DxfCode>(93), 0);
    filer->writeInt32(static_cast<AcDb::DxfCode>(94), 0);
    filer->writeInt32(static_cast<AcDb::DxfCode>(95), 0);
    filer->writeInt32(static_cast<AcDb::DxfCode>(96), 0);
    for (double h : m_rowHeights) filer->writeDouble(static_cast<AcDb::DxfCode>(141), h);
    for (double w : m_colWidths) filer->writeDouble(static_cast<AcDb::DxfCode>(142), w);
    for (const std::wstring& text : m_cells) {
        filer->writeInt16(static_cast<AcDb::DxfCode>(171), 1);
        filer->writeInt16(static_cast<AcDb::DxfCode>(172), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(173), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(174), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(175), 1);
        filer->writeInt16(static_cast<AcDb::DxfCode>(176), 1);
        filer->writeInt32(static_cast<AcDb::DxfCode>(91), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(178), 0);
        filer->writeDouble(static_cast<AcDb::DxfCode>(145), 0.0);
        filer->writeInt32(static_cast<AcDb::DxfCode>(92), 0);
        filer->writeString(static_cast<AcDb::DxfCode>(301), L"CELL_VALUE");
        filer->writeInt32(static_cast<AcDb::DxfCode>(93), 6);
        filer->writeInt32(AcDb::kDxfInt32, 4);
        filer->writeString(AcDb::kDxfText, text.c_str());
        filer->writeInt32(static_cast<AcDb::DxfCode>(94), 0);
        filer->writeString(AcDb::kDxfXTextString, L"");
        filer->writeString(static_cast<AcDb::DxfCode>(302), text.c_str());
        filer->writeString(static_cast<AcDb::DxfCode>(304), L"ACVALUE_END");
    }
    return filer->filerStatus();
}
