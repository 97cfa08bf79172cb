// The module's resources (string table, dialog templates, images) as one resource module that the
// host's resource stack can make current.
#pragma once

#include "host/dialogs/ResourceModule.h"

namespace fendo::ui {

// Built on first use and kept for the life of the process.
const ResourceModule& moduleResources();

}  // namespace fendo::ui
