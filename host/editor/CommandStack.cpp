// The command stack of the stand-in host and the guarded call of a command handler.
#include "host/editor/CommandStack.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "host/editor/AnswerGrammar.h"
#include "host/editor/Editor.h"
#include "host/editor/Utf8.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommand, AcRxObject);
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject);

namespace {
using fendo::editor::equalsNoCase;

bool validName(const ACHAR* name)
{
    if (!name || !*name) return false;
    return std::wstring_view(name).find_first_of(L" \t\r\n") == std::wstring_view::npos;
}

[[maybe_unused]] const bool gStackRegistered = [] {
    if (!acrxSysRegistry()->has(L"ACAD_REGISTERED_COMMANDS"))
        acrxSysRegistry()->atPut(L"ACAD_REGISTERED_COMMANDS", new AcEdCommandStack);
    return true;
}();
}  // namespace

AcEdCommand::AcEdCommand(std::wstring group, std::wstring globalName, std::wstring localName, Adesk::Int32 flags,
                         AcRxFunctionPtr function, AcEdUIContext* uiContext, int functionCode, void* resourceHandle)
    : m_group(std::move(group)),
      m_global(std::move(globalName)),
      m_local(std::move(localName)),
      m_flags(flags),
      m_function(function),
      m_uiContext(uiContext),
      m_functionCode(functionCode),
      m_resourceHandle(resourceHandle)
{
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* groupName, const ACHAR* globalName,
                                               const ACHAR* localName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr function, AcEdUIContext* uiContext, int fcode,
                                               void* hResourceHandle, AcEdCommand** cmdPtrRet)
{
    if (cmdPtrRet) *cmdPtrRet = nullptr;
    if (!validName(groupName) || !validName(globalName) || !function) return Acad::eInvalidInput;
    if (!localName || !*localName) localName = globalName;
    if (!validName(localName)) return Acad::eInvalidInput;

    AcEdCommand* redefined = nullptr;
    for (const auto& c : m_commands) {
        const bool sameCommand = equalsNoCase(c->groupName(), groupName) && equalsNoCase(c->globalName(), globalName);
        if (sameCommand) {
            redefined = c.get();
            continue;
        }
        // A name another command answers to, under either of its names, would make a typed
        // name ambiguous.
        for (const ACHAR* mine : {globalName, localName})
            if (equalsNoCase(c->globalName(), mine) || equalsNoCase(c->localName(), mine)) return Acad::eDuplicateKey;
    }
    auto command = std::make_unique<AcEdCommand>(groupName, globalName, localName, commandFlags, function,
                                                 uiContext, fcode, hResourceHandle);
    AcEdCommand* result = command.get();
    if (redefined) {
        for (auto& c : m_commands)
            if (c.get() == redefined) c = std::move(command);
    } else {
        m_commands.push_back(std::move(command));
    }
    if (cmdPtrRet) *cmdPtrRet = result;
    return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const ACHAR* globalName) const
{
    if (!globalName) return nullptr;
    for (const auto& c : m_commands)
        if (equalsNoCase(c->globalName(), globalName)) return c.get();
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const ACHAR* localName) const
{
    if (!localName) return nullptr;
    for (const auto& c : m_commands)
        if (equalsNoCase(c->localName(), localName)) return c.get();
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* name) const
{
    if (!name) return nullptr;
    std::wstring_view typed = fendo::editor::trimBlanks(name);
    bool globalOnly = false;
    while (!typed.empty() && (typed.front() == L'_' || typed.front() == L'.')) {
        globalOnly = globalOnly || typed.front() == L'_';
        typed.remove_prefix(1);
    }
    if (typed.empty()) return nullptr;
    const std::wstring key(typed);
    if (AcEdCommand* c = lookupGlobalCmd(key.c_str())) return c;
    return globalOnly ? nullptr : lookupLocalCmd(key.c_str());
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* groupName, const ACHAR* globalName)
{
    if (!groupName || !globalName) return Acad::eInvalidInput;
    const auto it = std::find_if(m_commands.begin(), m_commands.end(), [&](const auto& c) {
        return equalsNoCase(c->groupName(), groupName) && equalsNoCase(c->globalName(), globalName);
    });
    if (it == m_commands.end()) return Acad::eKeyNotFound;
    m_commands.erase(it);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName)
{
    if (!groupName) return Acad::eInvalidInput;
    const auto before = m_commands.size();
    std::erase_if(m_commands, [&](const auto& c) { return equalsNoCase(c->groupName(), groupName); });
    return m_commands.size() == before ? Acad::eKeyNotFound : Acad::eOk;
}

std::vector<const AcEdCommand*> AcEdCommandStack::commands() const
{
    std::vector<const AcEdCommand*> list;
    list.reserve(m_commands.size());
    for (const auto& c : m_commands) list.push_back(c.get());
    return list;
}

AcEdCommandStack* acedRegCmdsPtr()
{
    return AcEdCommandStack::cast(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"));
}

namespace fendo::editor {

bool invokeCommand(const AcEdCommand& command)
{
    // Copied first: the handler may remove its own command (a module unloading itself).
    const AcRxFunctionPtr function = command.functionAddr();
    const std::wstring name = command.globalName();
    try {
        function();
        return true;
    } catch (const std::exception& e) {
        editor().write(L"\nError in command " + name + L": " + fromUtf8(e.what()));
    } catch (...) {
        editor().write(L"\nError in command " + name + L": unexpected failure.");
    }
    return false;
}

}  // namespace fendo::editor
