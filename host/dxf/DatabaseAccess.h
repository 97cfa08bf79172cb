// The few database fields the DXF reader restores that have no public setter.
#pragma once
#include "host/db/AcDbDatabase.h"

class fendo_db_DatabaseAccess {
public:
    static void setLtscale(AcDbDatabase& db, double scale) { db.m_ltscale = scale; }
    static void setExtents(AcDbDatabase& db, const AcGePoint3d& min, const AcGePoint3d& max)
    {
        db.m_extmin = min;
        db.m_extmax = max;
    }
};
