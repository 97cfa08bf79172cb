// Selection sets and entity picks: acedSSGet with the host's mode strings and filter lists,
// set access, and acedEntSel. The picking rule: a point picks the object nearest to it
// within the pick-box radius PICKBOX x 0.25 / 100 x VIEWSIZE; a tie goes to the object
// drawn last.
#pragma once
#include "host/core/adsdef.h"

// Modes: null (interactive "Select objects:"), ":$" with pt1 = const ACHAR*[2] (add and
// remove prompts), ":$+.:S" (custom prompts, picks only, single selection), "X" (whole
// drawing), "_CP" crossing polygon, "_F" fence, "_WP" window polygon (pt1 = a resbuf chain
// of RTPOINT/RT3DPOINT items), "_W"/"_C" window and crossing (pt1, pt2 corners), "_L" last.
// The filter evaluates groups -4 ("<and" "and>" "<or" "or>" "<not" "not>" "<xor" "xor>"),
// 0 (DXF type names, wildcards and comma lists) and 8 (layer names, wildcards and comma
// lists), 62 (colour) compared case-insensitively as the host does.
// Returns RTNORM with a new set, RTERROR when nothing was selected, RTCAN on cancel.
int acedSSGet(const ACHAR* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
int acedSSLength(const ads_name ss, Adesk::Int32* length);
int acedSSName(const ads_name ss, Adesk::Int32 index, ads_name entity);
// A chain describing how member index was selected (RTLB, selection method, entity name,
// pick point for picks ... RTLE).
int acedSSNameX(resbuf** result, const ads_name ss, Adesk::Int32 index, unsigned int flags = 0);
int acedSSFree(const ads_name ss);
int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result);
// One pick: RTNORM with the entity and the pick point, RTERROR when the pick found nothing
// (the host then asks again up to its limit), RTCAN on cancel.
int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point pickPoint);
// The last entity appended to the drawing.
int acdbEntLast(ads_name entity);

// Host wildcard matching ("*", "?", "#", "@", ".", "~" negation, "[...]" classes, "`" escape,
// comma-separated alternatives), case-insensitive. Used by filters and by layer lookups.
bool acutWcMatch(const ACHAR* string, const ACHAR* pattern);
