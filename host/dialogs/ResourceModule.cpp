// Resource lookup within one module and the stack of current resource modules.
#include "host/dialogs/ResourceModule.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

ResourceModule::ResourceModule(std::string name) : mName(std::move(name)) {}

void ResourceModule::addDialog(DialogTemplate dialog)
{
    const int id = dialog.id;
    mDialogs.insert_or_assign(id, std::move(dialog));
}

void ResourceModule::addString(int id, const char* text)
{
    mStrings.insert_or_assign(id, text);
}

void ResourceModule::addImage(const ImageResource& image)
{
    mImages.insert_or_assign(image.id, image);
}

const DialogTemplate* ResourceModule::findDialog(int id) const
{
    const auto it = mDialogs.find(id);
    return it == mDialogs.end() ? nullptr : &it->second;
}

const char* ResourceModule::findString(int id) const
{
    const auto it = mStrings.find(id);
    return it == mStrings.end() ? nullptr : it->second;
}

const ImageResource* ResourceModule::findImage(int id) const
{
    const auto it = mImages.find(id);
    return it == mImages.end() ? nullptr : &it->second;
}

int ResourceModule::loadString(int id, char* buffer, int bufferSize) const
{
    if (buffer == nullptr || bufferSize <= 0)
        return 0;
    const char* text = findString(id);
    const std::size_t available = text == nullptr ? 0 : std::strlen(text);
    const std::size_t length = std::min(available, static_cast<std::size_t>(bufferSize - 1));
    if (length > 0)
        std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

namespace {
// Commands run on the one user-interface thread, so the stack needs no lock.
std::vector<const ResourceModule*>& resourceStack()
{
    static std::vector<const ResourceModule*> stack;
    return stack;
}
}  // namespace

void pushResourceModule(const ResourceModule* module)
{
    resourceStack().push_back(module);
}

void popResourceModule()
{
    if (!resourceStack().empty())
        resourceStack().pop_back();
}

const ResourceModule* currentResourceModule()
{
    return resourceStack().empty() ? nullptr : resourceStack().back();
}
