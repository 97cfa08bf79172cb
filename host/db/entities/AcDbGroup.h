// The host's group: a named, ordered set of entities, kept in the ACAD_GROUP dictionary.
#pragma once
#include "host/db/AcDbObject.h"

class AcDbGroup : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbGroup);

public:
    AcDbGroup() = default;
    explicit AcDbGroup(const ACHAR* description, bool selectable = true);

    AcString description() const { return m_description; }
    Acad::ErrorStatus setDescription(const ACHAR* d);
    bool isSelectable() const { return m_selectable; }
    Acad::ErrorStatus setSelectable(bool s);
    bool isAnonymous() const { return m_anonymous; }
    Acad::ErrorStatus setAnonymous();

    Acad::ErrorStatus append(AcDbObjectId id);
    Acad::ErrorStatus remove(AcDbObjectId id);
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus clear();
    // Members not erased, in order.
    int numEntities() const;
    AcDbObjectIdArray allEntityIds() const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcString m_description;
    bool m_selectable = true;
    bool m_anonymous = false;
    std::vector<AcDbObjectId> m_ids;
};
