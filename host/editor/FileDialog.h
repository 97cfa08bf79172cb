// The common open/save file dialog on the command line: the answer is a path; an empty line
// cancels. Used by acedGetFileD and by the dialog framework's file dialogs.
#pragma once
#include <string>
#include <vector>

namespace fendo::editor {

enum class FileDialogMode { Open, Save };
enum class ExtensionRule { AppendDefault, AnyExtension };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::wstring title;
    std::wstring defaultPath;              // shown to the user; not taken by an empty line
    std::vector<std::wstring> extensions;  // without dots; the first is appended to a bare name
    ExtensionRule extensionRule = ExtensionRule::AppendDefault;
    bool searchSupportPaths = false;  // an Open name is also looked up with acedFindFile
};

// RTNORM with `path` set, or RTCAN. For Open the file must exist; for Save its folder must.
int askForFile(const FileDialogRequest& request, std::wstring& path);

// Splits a host extension list ("xls;xlsx", "*.dwg") into plain extensions.
std::vector<std::wstring> splitExtensions(const wchar_t* list);

}  // namespace fendo::editor
