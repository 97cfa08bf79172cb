// Result-buffer chains: allocation, building from (type, value) pairs, copying, release,
// and the value kind that each DXF group code or RT code carries.
#include <cstdarg>
#include <cstring>
#include <cwchar>

#include "host/core/adsdef.h"

ResValueKind resValueKind(int restype)
{
    switch (restype) {
    case RTREAL:
    case RTANG:
    case RTORINT:
        return ResValueKind::Real;
    case RTPOINT:
    case RT3DPOINT:
        return ResValueKind::Point;
    case RTSHORT:
        return ResValueKind::Int16;
    case RTLONG:
        return ResValueKind::Int32;
    case RTSTR:
    case RTDXF0:
        return ResValueKind::String;
    case RTENAME:
    case RTPICKS:
        return ResValueKind::Name;
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
        return ResValueKind::None;
    case -1:  // entity name
    case -2:  // header reference
    case -5:  // persistent reactors
    case -6:  // extension dictionary
        return ResValueKind::Name;
    case -3:  // start of extended data
        return ResValueKind::None;
    case -4:  // conditional operator of selection filters
        return ResValueKind::String;
    default:
        break;
    }
    const int c = restype;
    if (c >= 0 && c <= 9) return ResValueKind::String;
    if (c >= 10 && c <= 18) return ResValueKind::Point;
    if (c >= 19 && c <= 59) return ResValueKind::Real;
    if (c >= 60 && c <= 79) return ResValueKind::Int16;
    if (c >= 90 && c <= 99) return ResValueKind::Int32;
    if (c == 100 || c == 101 || c == 102) return ResValueKind::String;
    if (c == 105) return ResValueKind::Handle;
    if (c >= 110 && c <= 112) return ResValueKind::Point;
    if (c >= 113 && c <= 149) return ResValueKind::Real;
    if (c >= 160 && c <= 169) return ResValueKind::Int64;
    if (c >= 170 && c <= 179) return ResValueKind::Int16;
    if (c == 210) return ResValueKind::Point;
    if (c >= 211 && c <= 239) return ResValueKind::Real;
    if (c >= 270 && c <= 289) return ResValueKind::Int16;
    if (c >= 290 && c <= 299) return ResValueKind::Bool;
    if (c >= 300 && c <= 309) return ResValueKind::String;
    if (c >= 310 && c <= 319) return ResValueKind::Binary;
    if (c >= 320 && c <= 329) return ResValueKind::Handle;
    if (c >= 330 && c <= 369) return ResValueKind::Name;
    if (c >= 370 && c <= 389) return ResValueKind::Int16;
    if (c >= 390 && c <= 399) return ResValueKind::Handle;
    if (c >= 400 && c <= 409) return ResValueKind::Int16;
    if (c >= 410 && c <= 419) return ResValueKind::String;
    if (c >= 420 && c <= 429) return ResValueKind::Int32;
    if (c >= 430 && c <= 439) return ResValueKind::String;
    if (c >= 440 && c <= 459) return ResValueKind::Int32;
    if (c >= 460 && c <= 469) return ResValueKind::Real;
    if (c >= 470 && c <= 479) return ResValueKind::String;
    if (c == 480 || c == 481) return ResValueKind::Handle;
    if (c == 999) return ResValueKind::String;
    if (c >= 1000 && c <= 1003) return ResValueKind::String;
    if (c == 1004) return ResValueKind::Binary;
    if (c == 1005) return ResValueKind::Handle;
    if (c >= 1010 && c <= 1013) return ResValueKind::Point;
    if (c >= 1020 && c <= 1042) return ResValueKind::Real;
    if (c >= 1060 && c <= 1070) return ResValueKind::Int16;
    if (c == 1071) return ResValueKind::Int32;
    return ResValueKind::None;
}

namespace {

// Handles travel as hexadecimal text, as the host hands them to applications.
bool ownsString(ResValueKind kind) { return kind == ResValueKind::String || kind == ResValueKind::Handle; }

ACHAR* copyString(const ACHAR* s)
{
    if (!s) s = L"";
    const size_t n = std::wcslen(s);
    auto* copy = new ACHAR[n + 1];
    std::wmemcpy(copy, s, n + 1);
    return copy;
}

void copyValue(resbuf* to, const resbuf* from)
{
    const ResValueKind kind = resValueKind(from->restype);
    if (ownsString(kind)) {
        to->resval.rstring = from->resval.rstring ? copyString(from->resval.rstring) : nullptr;
    } else if (kind == ResValueKind::Binary) {
        const std::int16_t n = from->resval.rbinary.clen;
        to->resval.rbinary.clen = n;
        to->resval.rbinary.buf = nullptr;
        if (n > 0 && from->resval.rbinary.buf) {
            to->resval.rbinary.buf = new char[n];
            std::memcpy(to->resval.rbinary.buf, from->resval.rbinary.buf, n);
        }
    } else {
        to->resval = from->resval;
    }
}

}  // namespace

resbuf* acutNewRb(int type)
{
    auto* rb = new resbuf;
    rb->rbnext = nullptr;
    rb->restype = static_cast<short>(type);
    std::memset(&rb->resval, 0, sizeof rb->resval);
    return rb;
}

int acutRelRb(resbuf* rb)
{
    while (rb) {
        resbuf* next = rb->rbnext;
        const ResValueKind kind = resValueKind(rb->restype);
        if (ownsString(kind))
            delete[] rb->resval.rstring;
        else if (kind == ResValueKind::Binary)
            delete[] rb->resval.rbinary.buf;
        delete rb;
        rb = next;
    }
    return RTNORM;
}

// Values by kind: String and Handle a const ACHAR*, Real a double, Point a const double*
// (an ads_point), Int16/Int32/Bool an int, Int64 an int64_t, Name a const int64_t* (an
// ads_name), Binary a const ads_binary*; kinds without a value (RTLB, RTNIL ...) take none.
resbuf* acutBuildList(int type, ...)
{
    va_list args;
    va_start(args, type);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (int t = type; t != 0 && t != RTNONE; t = va_arg(args, int)) {
        const ResValueKind kind = resValueKind(t);
        const bool valueless = t == RTLB || t == RTLE || t == RTDOTE || t == RTNIL || t == RTT ||
                               t == RTVOID || t == -3;
        if (kind == ResValueKind::None && !valueless) {
            acutRelRb(head);
            head = nullptr;
            break;
        }
        resbuf* rb = acutNewRb(t);
        switch (kind) {
        case ResValueKind::String:
        case ResValueKind::Handle:
            rb->resval.rstring = copyString(va_arg(args, const ACHAR*));
            break;
        case ResValueKind::Real:
            rb->resval.rreal = va_arg(args, double);
            break;
        case ResValueKind::Point: {
            const double* p = va_arg(args, const double*);
            for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
            break;
        }
        case ResValueKind::Int16:
        case ResValueKind::Bool:
            rb->resval.rint = static_cast<std::int16_t>(va_arg(args, int));
            break;
        case ResValueKind::Int32:
            rb->resval.rlong = static_cast<std::int32_t>(va_arg(args, int));
            break;
        case ResValueKind::Int64:
            rb->resval.mnInt64 = va_arg(args, std::int64_t);
            break;
        case ResValueKind::Name: {
            const std::int64_t* n = va_arg(args, const std::int64_t*);
            rb->resval.rlname[0] = n ? n[0] : 0;
            rb->resval.rlname[1] = n ? n[1] : 0;
            break;
        }
        case ResValueKind::Binary: {
            const ads_binary* b = va_arg(args, const ads_binary*);
            resbuf from{};
            from.restype = rb->restype;
            if (b) from.resval.rbinary = *b;
            copyValue(rb, &from);
            break;
        }
        case ResValueKind::None:
            break;
        }
        if (tail)
            tail->rbnext = rb;
        else
            head = rb;
        tail = rb;
    }
    va_end(args);
    return head;
}

resbuf* acutDupRb(const resbuf* rb)
{
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (; rb; rb = rb->rbnext) {
        resbuf* copy = acutNewRb(rb->restype);
        copyValue(copy, rb);
        if (tail)
            tail->rbnext = copy;
        else
            head = copy;
        tail = copy;
    }
    return head;
}
