// What the database keeps for DXF records it does not model: objects and entities of a
// type no loaded class files (kept as their groups and written back under their own type
// name), and the BLOCK / ENDBLK records that open and close each block definition.
#pragma once
#include <string>
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObject.h"

// An OBJECTS-section record of an unmodelled type (LAYOUT, XRECORD, a custom object whose
// module is not loaded ...). The common object groups are read; every other group is kept.
class AcDbUnknownObject : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbUnknownObject);

public:
    AcDbUnknownObject() = default;
    explicit AcDbUnknownObject(std::wstring dxfType) : m_type(std::move(dxfType)) {}
    std::wstring dxfTypeName() const override { return m_type; }
    void setDxfTypeName(std::wstring type) { m_type = std::move(type); }
    AcRxObject* clone() const override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_type;
};

// An entity of an unmodelled type (3DFACE, SOLID, LEADER, a custom entity ...). Its layer,
// colour, linetype and visibility are read so that filters, layer tools and erase work on
// it; everything else is kept and written back unchanged.
class AcDbUnknownEntity : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbUnknownEntity);

public:
    AcDbUnknownEntity() = default;
    explicit AcDbUnknownEntity(std::wstring dxfType) : m_type(std::move(dxfType)) {}
    std::wstring dxfTypeName() const override { return m_type; }
    void setDxfTypeName(std::wstring type) { m_type = std::move(type); }
    AcRxObject* clone() const override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    // The subclass marker written before the kept groups of an entity read from a file
    // without markers (R12): "AcDbFace" for 3DFACE ...; empty when the type has none known.
    static std::wstring subclassForR12Type(const std::wstring& dxfType);

private:
    std::wstring m_type;
};

// The BLOCK record of a block definition. Name, flags, base point, external reference path
// and description are the block table record's: written from it, and handed to it on load.
class AcDbBlockBegin : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbBlockBegin);

public:
    const std::wstring& name() const { return m_name; }
    int flags() const { return m_flags; }
    AcGePoint3d basePoint() const { return m_base; }
    const std::wstring& pathName() const { return m_path; }
    const std::wstring& description() const { return m_description; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_name, m_path, m_description;
    int m_flags = 0;
    AcGePoint3d m_base;
};

// The ENDBLK record closing a block definition.
class AcDbBlockEnd : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbBlockEnd);

public:
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};
