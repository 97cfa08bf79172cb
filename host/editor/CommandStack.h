// The "ACAD_REGISTERED_COMMANDS" entry of the system registry: the commands modules add,
// looked up by local or global name, and the safe way of running one.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host/core/AcadTypes.h"
#include "host/rx/AcRxObject.h"

// Command flags. A command of this system is registered modal, without the pick-first set.
constexpr Adesk::Int32 ACRX_CMD_MODAL = 0x00000000;
constexpr Adesk::Int32 ACRX_CMD_TRANSPARENT = 0x00000001;
constexpr Adesk::Int32 ACRX_CMD_USEPICKSET = 0x00000002;
constexpr Adesk::Int32 ACRX_CMD_REDRAW = 0x00000004;
constexpr Adesk::Int32 ACRX_CMD_NOPERSPECTIVE = 0x00000008;
constexpr Adesk::Int32 ACRX_CMD_NOMULTIPLE = 0x00000010;
constexpr Adesk::Int32 ACRX_CMD_NOTILEMODE = 0x00000020;
constexpr Adesk::Int32 ACRX_CMD_NOPAPERSPACE = 0x00000040;
constexpr Adesk::Int32 ACRX_CMD_UNDEFINED = 0x00000200;
constexpr Adesk::Int32 ACRX_CMD_SESSION = 0x00200000;

// A command handler: no arguments, no result.
using AcRxFunctionPtr = void (*)();

// Context menus of a command; kept for the caller, not used by this host.
class AcEdUIContext;

class AcEdCommand : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommand);

    AcEdCommand(std::wstring group, std::wstring globalName, std::wstring localName, Adesk::Int32 flags,
                AcRxFunctionPtr function, AcEdUIContext* uiContext, int functionCode, void* resourceHandle);

    const ACHAR* groupName() const { return m_group.c_str(); }
    const ACHAR* globalName() const { return m_global.c_str(); }
    const ACHAR* localName() const { return m_local.c_str(); }
    Adesk::Int32 commandFlags() const { return m_flags; }
    AcRxFunctionPtr functionAddr() const { return m_function; }
    AcEdUIContext* UIContext() const { return m_uiContext; }
    int functionCode() const { return m_functionCode; }
    void* resourceHandle() const { return m_resourceHandle; }

private:
    std::wstring m_group;
    std::wstring m_global;
    std::wstring m_local;
    Adesk::Int32 m_flags;
    AcRxFunctionPtr m_function;
    AcEdUIContext* m_uiContext;
    int m_functionCode;
    void* m_resourceHandle;
};

class AcEdCommandStack : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandStack);

    // Names compare case-insensitively and may not be empty or contain blanks.
    // eDuplicateKey when the global or local name already belongs to another command (another
    // group, or another global name); adding the same global name again in the same group
    // redefines that command. eInvalidInput for a missing name, group or function.
    Acad::ErrorStatus addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                                 Adesk::Int32 commandFlags, AcRxFunctionPtr function,
                                 AcEdUIContext* uiContext = nullptr, int fcode = -1,
                                 void* hResourceHandle = nullptr, AcEdCommand** cmdPtrRet = nullptr);

    // As typed at the command prompt: a local or global name; a leading '_' asks for a global
    // name only, a leading '.' (the built-in form) is ignored. Null when no command has it.
    AcEdCommand* lookupCmd(const ACHAR* name) const;
    AcEdCommand* lookupGlobalCmd(const ACHAR* globalName) const;
    AcEdCommand* lookupLocalCmd(const ACHAR* localName) const;

    // eKeyNotFound when the group has no such command (or there is no such group).
    Acad::ErrorStatus removeCmd(const ACHAR* groupName, const ACHAR* globalName);
    Acad::ErrorStatus removeGroup(const ACHAR* groupName);

    // Every command in the order it was added (redefinitions keep their place).
    std::vector<const AcEdCommand*> commands() const;

private:
    std::vector<std::unique_ptr<AcEdCommand>> m_commands;
};

// The registry's command stack.
AcEdCommandStack* acedRegCmdsPtr();
#define acedRegCmds (acedRegCmdsPtr())

namespace fendo::editor {

// Runs a command's handler. Nothing thrown by the handler gets past this: it is reported on
// the command line and the session goes on. Returns false when the handler failed that way.
bool invokeCommand(const AcEdCommand& command);

}  // namespace fendo::editor
