// Scoped integer system variables.
#include "frame/SysVarOverride.h"

#include "host/editor/SysVars.h"

namespace {
void setShort(const ACHAR* name, short value)
{
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    acedSetVar(name, &rb);
}
}  // namespace

SysVarOverride::SysVarOverride(const ACHAR* name, short value) : m_name(name)
{
    resbuf rb{};
    m_saved = acedGetVar(m_name, &rb) == RTNORM && rb.restype == RTSHORT;
    m_previous = rb.resval.rint;
    setShort(m_name, value);
}

SysVarOverride::~SysVarOverride()
{
    if (m_saved) setShort(m_name, m_previous);
}
