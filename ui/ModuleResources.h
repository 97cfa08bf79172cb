// The module's resources (string table, dialog templates, images) as one resource module that the
// host's resource stack can make current.
#pragma once

#include "host/dialogs/ResourceModule.h"

namespace fendo::ui {

// Built on first use and kept for the life of the process.
const ResourceModule& moduleResources();

// The module's resources are current (found first by dialogs) while the scope lasts.
class ModuleResourceScope {
public:
    ModuleResourceScope();
    ~ModuleResourceScope();
    ModuleResourceScope(const ModuleResourceScope&) = delete;
    ModuleResourceScope& operator=(const ModuleResourceScope&) = delete;
};

}  // namespace fendo::ui
