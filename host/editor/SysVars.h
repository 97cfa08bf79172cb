// System variables for acedGetVar / acedSetVar: a registry of named values (names are
// case-insensitive) that other parts of the host can bind to their own state.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "host/core/adsdef.h"
#include "host/editor/AnswerGrammar.h"

namespace fendo::editor {

// short -> RTSHORT, double -> RTREAL, string -> RTSTR, point -> RT3DPOINT.
using SysVarValue = std::variant<short, double, std::wstring, Point3>;
using SysVarGetter = std::function<SysVarValue()>;
// Returns false to refuse the value (acedSetVar then gives RTERROR).
using SysVarSetter = std::function<bool(const SysVarValue&)>;

enum class SysVarAccess { ReadWrite, ReadOnly };

struct SysVarLimits {
    double min;
    double max;
};

// Adds a variable (or redefines one) with its initial value.
void registerSysVar(std::wstring_view name, SysVarValue initial, SysVarAccess access,
                    std::optional<SysVarLimits> limits = std::nullopt);
// Routes reads and writes of a registered variable to its owner. A null setter keeps the
// stored value as the write target. Returns false for an unknown name.
bool bindSysVar(std::wstring_view name, SysVarGetter getter, SysVarSetter setter);
void unbindSysVar(std::wstring_view name);

std::optional<SysVarValue> getSysVar(std::wstring_view name);
// Sets a value as the host itself does: read-only variables (DWGPREFIX) can be set this way.
bool setSysVarInternal(std::wstring_view name, const SysVarValue& value);

// Back to the built-in variables and their defaults, all bindings removed.
void resetSysVars();

}  // namespace fendo::editor

int acedGetVar(const ACHAR* name, resbuf* result);
int acedSetVar(const ACHAR* name, const resbuf* value);
