// A host system variable holding an integer value for the lifetime of a scope ("CMDECHO" off
// while a command runs, "OSMODE" at centre snap while it picks), given back however it ends.
#pragma once
#include "host/core/AcadTypes.h"

class SysVarOverride {
public:
    SysVarOverride(const ACHAR* name, short value);
    ~SysVarOverride();
    SysVarOverride(const SysVarOverride&) = delete;
    SysVarOverride& operator=(const SysVarOverride&) = delete;

private:
    const ACHAR* m_name;
    bool m_saved = false;
    short m_previous = 0;
};
