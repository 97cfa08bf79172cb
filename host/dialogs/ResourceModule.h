// A module's resources as the dialog framework finds them (dialog templates, string table, images),
// and the stack that says whose resources are current.
#pragma once

#include "host/dialogs/DialogTemplate.h"

#include <map>
#include <string>

enum class ImageKind { Bitmap, Icon };

// An image resource. The stand-in host draws images as framed placeholders of their size, so only the
// size is kept.
struct ImageResource {
    int id = 0;
    ImageKind kind = ImageKind::Bitmap;
    int width = 0;  // pixels
    int height = 0;
};

class ResourceModule {
public:
    explicit ResourceModule(std::string name);

    const std::string& name() const { return mName; }

    // Adding replaces an earlier resource of the same id.
    void addDialog(DialogTemplate dialog);
    void addString(int id, const char* text);  // `text` is stored 8-bit text and must outlive the module
    void addImage(const ImageResource& image);

    // Null when the module has no such resource.
    const DialogTemplate* findDialog(int id) const;
    const char* findString(int id) const;
    const ImageResource* findImage(int id) const;

    // Copies entry `id` into `buffer` as 8-bit text, cut to bufferSize - 1 bytes and 0-terminated, and
    // returns the number of bytes copied; 0 (and an empty buffer) when there is no such entry.
    int loadString(int id, char* buffer, int bufferSize) const;

private:
    std::string mName;
    std::map<int, DialogTemplate> mDialogs;
    std::map<int, const char*> mStrings;
    std::map<int, ImageResource> mImages;
};

// The resource stack: a command that shows a dialog pushes its module's resources before and pops them
// after, so the framework looks templates and images up in that module.
void pushResourceModule(const ResourceModule* module);
// Popping an empty stack does nothing.
void popResourceModule();
// The module on top of the stack, or null when the stack is empty.
const ResourceModule* currentResourceModule();
