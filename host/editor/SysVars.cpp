// The system variable registry behind acedGetVar / acedSetVar.
#include "host/editor/SysVars.h"

#include <cmath>
#include <cwchar>
#include <map>

#include "host/editor/Editor.h"

namespace fendo::editor {

namespace {

struct SysVar {
    SysVarValue value;
    SysVarAccess access = SysVarAccess::ReadWrite;
    std::optional<SysVarLimits> limits;
    SysVarGetter getter;
    SysVarSetter setter;
};

std::map<std::wstring, SysVar> builtIns()
{
    std::map<std::wstring, SysVar> vars;
    const auto rw = SysVarAccess::ReadWrite;
    vars[L"CMDECHO"] = {short{1}, rw, SysVarLimits{0, 1}, {}, {}};
    vars[L"OSMODE"] = {short{4133}, rw, SysVarLimits{0, 32767}, {}, {}};
    vars[L"PDMODE"] = {short{0}, rw, SysVarLimits{0, 100}, {}, {}};
    vars[L"PICKBOX"] = {short{3}, rw, SysVarLimits{0, 50}, {}, {}};
    vars[L"VIEWSIZE"] = {100.0, SysVarAccess::ReadOnly, std::nullopt, {}, {}};
    vars[L"LUPREC"] = {short{4}, rw, SysVarLimits{0, 8}, {}, {}};
    vars[L"DWGPREFIX"] = {std::wstring{}, SysVarAccess::ReadOnly, std::nullopt, {}, {}};
    vars[L"CLAYER"] = {std::wstring{L"0"}, rw, std::nullopt, {}, {}};
    vars[L"TILEMODE"] = {short{1}, rw, SysVarLimits{0, 1}, {}, {}};
    // The last point entered, shared with the editor's "@" answers.
    vars[L"LASTPOINT"] = {Point3{0.0, 0.0, 0.0}, rw, std::nullopt,
                          [] { return SysVarValue{editor().lastPoint()}; },
                          [](const SysVarValue& v) {
                              editor().setLastPoint(std::get<Point3>(v));
                              return true;
                          }};
    return vars;
}

std::map<std::wstring, SysVar>& registry()
{
    static std::map<std::wstring, SysVar> vars = builtIns();
    return vars;
}

SysVar* find(std::wstring_view name)
{
    auto& vars = registry();
    const auto it = vars.find(toUpper(trimBlanks(name)));
    return it == vars.end() ? nullptr : &it->second;
}

// Converts `value` to the variable's own kind; numbers convert between short and real when
// no precision is lost.
std::optional<SysVarValue> coerce(const SysVar& var, const SysVarValue& value)
{
    if (value.index() == var.value.index()) {
        return value;
    }
    if (std::holds_alternative<short>(var.value) && std::holds_alternative<double>(value)) {
        const double d = std::get<double>(value);
        if (d == std::trunc(d) && d >= -32768 && d <= 32767) {
            return SysVarValue{static_cast<short>(d)};
        }
    }
    if (std::holds_alternative<double>(var.value) && std::holds_alternative<short>(value)) {
        return SysVarValue{static_cast<double>(std::get<short>(value))};
    }
    return std::nullopt;
}

bool withinLimits(const SysVar& var, const SysVarValue& value)
{
    if (!var.limits) {
        return true;
    }
    double v = 0.0;
    if (const auto* s = std::get_if<short>(&value)) {
        v = *s;
    } else if (const auto* d = std::get_if<double>(&value)) {
        v = *d;
    } else {
        return true;
    }
    return v >= var.limits->min && v <= var.limits->max;
}

bool assign(SysVar& var, const SysVarValue& value)
{
    const auto converted = coerce(var, value);
    if (!converted || !withinLimits(var, *converted)) {
        return false;
    }
    if (var.setter) {
        return var.setter(*converted);
    }
    var.value = *converted;
    return true;
}

}  // namespace

void registerSysVar(std::wstring_view name, SysVarValue initial, SysVarAccess access,
                    std::optional<SysVarLimits> limits)
{
    registry()[toUpper(trimBlanks(name))] = SysVar{std::move(initial), access, limits, {}, {}};
}

bool bindSysVar(std::wstring_view name, SysVarGetter getter, SysVarSetter setter)
{
    SysVar* var = find(name);
    if (!var) {
        return false;
    }
    var->getter = std::move(getter);
    var->setter = std::move(setter);
    return true;
}

void unbindSysVar(std::wstring_view name)
{
    if (SysVar* var = find(name)) {
        var->getter = nullptr;
        var->setter = nullptr;
    }
}

std::optional<SysVarValue> getSysVar(std::wstring_view name)
{
    const SysVar* var = find(name);
    if (!var) {
        return std::nullopt;
    }
    return var->getter ? var->getter() : var->value;
}

bool setSysVarInternal(std::wstring_view name, const SysVarValue& value)
{
    SysVar* var = find(name);
    return var && assign(*var, value);
}

void resetSysVars()
{
    registry() = builtIns();
}

}  // namespace fendo::editor

using namespace fendo::editor;

int acedGetVar(const ACHAR* name, resbuf* result)
{
    if (!name || !result) {
        return RTERROR;
    }
    const auto value = getSysVar(name);
    if (!value) {
        return RTERROR;
    }
    if (const auto* s = std::get_if<short>(&*value)) {
        result->restype = RTSHORT;
        result->resval.rint = *s;
    } else if (const auto* d = std::get_if<double>(&*value)) {
        result->restype = RTREAL;
        result->resval.rreal = *d;
    } else if (const auto* str = std::get_if<std::wstring>(&*value)) {
        auto* copy = new ACHAR[str->size() + 1];
        std::wmemcpy(copy, str->c_str(), str->size() + 1);
        result->restype = RTSTR;
        result->resval.rstring = copy;
    } else {
        const auto& p = std::get<Point3>(*value);
        result->restype = RT3DPOINT;
        result->resval.rpoint[X] = p[0];
        result->resval.rpoint[Y] = p[1];
        result->resval.rpoint[Z] = p[2];
    }
    return RTNORM;
}

int acedSetVar(const ACHAR* name, const resbuf* value)
{
    if (!name || !value) {
        return RTERROR;
    }
    SysVar* var = find(name);
    if (!var || var->access == SysVarAccess::ReadOnly) {
        return RTERROR;
    }
    SysVarValue v;
    switch (value->restype) {
    case RTSHORT:
        v = value->resval.rint;
        break;
    case RTLONG:
        if (value->resval.rlong < -32768 || value->resval.rlong > 32767) {
            return RTERROR;
        }
        v = static_cast<short>(value->resval.rlong);
        break;
    case RTREAL:
    case RTANG:
        v = value->resval.rreal;
        break;
    case RTSTR:
        v = std::wstring(value->resval.rstring ? value->resval.rstring : L"");
        break;
    case RTPOINT:
        v = Point3{value->resval.rpoint[X], value->resval.rpoint[Y], 0.0};
        break;
    case RT3DPOINT:
        v = Point3{value->resval.rpoint[X], value->resval.rpoint[Y], value->resval.rpoint[Z]};
        break;
    default:
        return RTERROR;
    }
    return assign(*var, v) ? RTNORM : RTERROR;
}
