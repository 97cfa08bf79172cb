// The host's C-style editor functions: input (acedGet...), command-line output (acutPrintf),
// alerts, temporary vectors, the command function and the file dialog.
// Results are the host's codes: RTNORM, RTNONE (empty reply), RTKWORD, RTINPUT, RTCAN, RTERROR.
#pragma once
#include <cstddef>

#include "host/core/adsdef.h"

// acedInitGet flags.
constexpr int RSG_NONULL = 0x0001;      // an empty reply is refused
constexpr int RSG_NOZERO = 0x0002;      // zero is refused
constexpr int RSG_NONEG = 0x0004;       // negative values are refused
constexpr int RSG_NOLIM = 0x0008;       // limits are not checked (there are none here)
constexpr int RSG_GETZ = 0x0010;        // 3D points are asked
constexpr int RSG_DASH = 0x0020;        // dashed rubber band (display only)
constexpr int RSG_2D = 0x0040;          // distances ignore z
constexpr int RSG_OTHER = 0x0080;       // arbitrary text is accepted (RTINPUT, read with acedGetInput)
constexpr int RSG_DDISTFIRST = 0x0100;  // direct distance input first (display only)
constexpr int RSG_TRACKUCS = 0x0200;
constexpr int RSG_NOORTHOZ = 0x0400;
constexpr int RSG_NOOSNAP = 0x0800;
constexpr int RSG_NODDIST = 0x1000;

// Buffer length assumed by the overloads without a length, as the host's own.
constexpr std::size_t kHostInputBufferLength = 132;

int acedInitGet(int flags, const ACHAR* keywordList);

int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result);
// Degrees typed, radians returned in [0, 2pi).
int acedGetAngle(const ads_point base, const ACHAR* prompt, ads_real* result);
int acedGetOrient(const ads_point base, const ACHAR* prompt, ads_real* result);
// cronly 0: a blank ends the text (only the first word is taken); non-zero: the whole line.
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, std::size_t bufLen);
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result);
int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t bufLen);
int acedGetKword(const ACHAR* prompt, ACHAR* result);
// The keyword (global name) or the arbitrary text of the last get call.
int acedGetInput(ACHAR* result, std::size_t bufLen);
int acedGetInput(ACHAR* result);

// flags: 1 a file to write (it need not exist), 4 any extension allowed, 8 search the support
// folders for a typed name. result becomes RTSTR with a string allocated with new[].
// RTCAN when the answer is an empty line, "^C" or the end of input.
int acedGetFileD(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, int flags, resbuf* result);

// 1 once after Ctrl-C was pressed during long work; a script cannot do that.
int acedUsrBrk();

// "%s" / "%c" take wide arguments, as in the host's wide printf; output is UTF-8.
int acutPrintf(const ACHAR* format, ...);
int acedAlert(const ACHAR* text);

int acedGrDraw(const ads_point from, const ads_point to, int color, int highlight);
// A null entity redraws the whole view: the acedGrDraw vectors go.
int acedRedraw(const ads_name entity, int mode);

// Runs host commands from (type, value) pairs ended by RTNONE or 0, such as
// (RTSTR, L"_.redraw", RTNONE). Unknown commands give RTERROR.
int acedCommand(int type, ...);
int acedCommandS(int type, ...);
int acedCmd(const resbuf* args);
int acedCmdS(const resbuf* args);

// The status-bar progress meter: a one-line bar on stderr when a person works at a terminal.
int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos);
int acedSetStatusBarProgressMeterPos(int pos);
void acedRestoreStatusBar();

// Looks in the current folder, the drawing folder (DWGPREFIX) and the support folders.
int acedFindFile(const ACHAR* name, ACHAR* result, std::size_t bufLen);
