// Result buffers and the result codes of the host's C-style editor and list functions.
#pragma once
#include <cstdint>
#include "host/core/AcadTypes.h"

using ads_real = double;
using ads_point = ads_real[3];
using ads_name = std::int64_t[2];
using ads_matrix = ads_real[4][4];

// Indexes into an ads_point.
enum { X = 0, Y = 1, Z = 2 };

// Result codes of editor and list functions.
constexpr int RTNONE = 5000;    // empty reply (Enter)
constexpr int RTREAL = 5001;
constexpr int RTPOINT = 5002;
constexpr int RTSHORT = 5003;
constexpr int RTANG = 5004;
constexpr int RTSTR = 5005;
constexpr int RTENAME = 5006;
constexpr int RTPICKS = 5007;
constexpr int RTORINT = 5008;
constexpr int RT3DPOINT = 5009;
constexpr int RTLONG = 5010;
constexpr int RTVOID = 5014;
constexpr int RTLB = 5016;
constexpr int RTLE = 5017;
constexpr int RTDOTE = 5018;
constexpr int RTNIL = 5019;
constexpr int RTDXF0 = 5020;
constexpr int RTT = 5021;
constexpr int RTRESBUF = 5023;
constexpr int RTMODELESS = 5027;
constexpr int RTNORM = 5100;    // normal completion
constexpr int RTERROR = -5001;  // some other error
constexpr int RTCAN = -5002;    // user cancelled
constexpr int RTREJ = -5003;    // request rejected
constexpr int RTFAIL = -5004;   // link failure
constexpr int RTKWORD = -5005;  // a keyword was entered
constexpr int RTINPUT = -5006;  // arbitrary input was entered

struct ads_binary {
    std::int16_t clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    std::int16_t rint;
    ACHAR* rstring;
    std::int32_t rlong;
    std::int64_t mnInt64;
    ads_name rlname;
    ads_binary rbinary;
    unsigned char ihandle[8];
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

// Chains are built with acutBuildList / acutNewRb and released with acutRelRb.
// Strings in a chain are owned by it (allocated with new[]).
resbuf* acutNewRb(int type);
int acutRelRb(resbuf* rb);
// Builds a chain from (type, value) pairs ended by 0 / RTNONE; string values are copied.
// Types follow the DXF group-code value kinds (string, real, point, 16/32/64-bit integer, handle)
// or the RT codes. Returns null on an unknown type.
resbuf* acutBuildList(int type, ...);
// Deep copy of a chain (strings and binary chunks included).
resbuf* acutDupRb(const resbuf* rb);

// The kind of value a DXF group code or RT code carries, shared by filers, xdata and lists.
enum class ResValueKind { None, String, Real, Point, Int16, Int32, Int64, Handle, Binary, Name, Bool };
ResValueKind resValueKind(int restype);

inline void acdbNameClear(ads_name n) { n[0] = n[1] = 0; }
inline bool acdbNameNil(const ads_name n) { return n[0] == 0 && n[1] == 0; }
inline void acdbNameSet(const ads_name from, ads_name to) { to[0] = from[0]; to[1] = from[1]; }
inline bool acdbNameEqual(const ads_name a, const ads_name b) { return a[0] == b[0] && a[1] == b[1]; }
