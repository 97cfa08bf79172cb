// The module's command table: (local name, handler) rows registered in table order under the
// group "TEMPLATE"; the global name of a command is "TEMPLATE_" + its local name.
#pragma once
#include <span>
#include "host/core/AcadTypes.h"

using CommandHandler = void (*)();

struct CommandRow {
    const ACHAR* name;
    CommandHandler handler;
};

std::span<const CommandRow> commandTable();
