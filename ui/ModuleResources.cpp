// Gathers the module's string table, dialog templates and images into its resource module.
#include "ui/ModuleResources.h"

#include "host/editor/AcApDocManager.h"
#include "ui/DialogTemplates.h"
#include "ui/StringTable.h"

#include <utility>

namespace fendo::ui {

namespace {

constexpr int kIconSize = 16;  // pixels

ResourceModule buildModuleResources()
{
    ResourceModule module("Fendo17.arx");
    for (const StringTableEntry& entry : stringTable())
        module.addString(entry.id, entry.text);
    for (DialogTemplate& dialog : moduleDialogTemplates())
        module.addDialog(std::move(dialog));
    module.addImage({kBitmapAbout, ImageKind::Bitmap, 800, 566});
    module.addImage({kIconPreviousVertex, ImageKind::Icon, kIconSize, kIconSize});
    module.addImage({kIconNextVertex, ImageKind::Icon, kIconSize, kIconSize});
    return module;
}

}  // namespace

const ResourceModule& moduleResources()
{
    static const ResourceModule module = buildModuleResources();
    return module;
}

ModuleResourceScope::ModuleResourceScope() { acDocManagerPtr()->pushResourceHandle(&moduleResources()); }

ModuleResourceScope::~ModuleResourceScope() { acDocManagerPtr()->popResourceHandle(); }

}  // namespace fendo::ui
