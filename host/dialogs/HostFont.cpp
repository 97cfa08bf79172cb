// Dialog fonts of the stand-in host.
#include "host/dialogs/HostFont.h"

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic, bool underline,
                       bool strikeOut, int charSet, int outPrecision, int clipPrecision, int quality,
                       int pitchAndFamily, const wchar_t* faceName)
{
    m_font = LogFont{height,   width,        escapement,    orientation, weight,         italic,
                     underline, strikeOut,   charSet,       outPrecision, clipPrecision, quality,
                     pitchAndFamily, faceName ? faceName : L""};
    m_created = true;
    return true;
}
