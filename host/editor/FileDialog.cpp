// The common open/save file dialog, answered with a path on the command line.
#include "host/editor/FileDialog.h"

#include <filesystem>
#include <system_error>

#include "host/core/adsdef.h"
#include "host/editor/Editor.h"
#include "host/editor/FindFile.h"
#include "host/editor/Utf8.h"

namespace fendo::editor {

std::vector<std::wstring> splitExtensions(const wchar_t* list)
{
    std::vector<std::wstring> out;
    if (!list) {
        return out;
    }
    std::wstring_view rest = list;
    while (!rest.empty()) {
        const auto cut = rest.find_first_of(L";, ");
        std::wstring_view item = rest.substr(0, cut);
        rest = cut == std::wstring_view::npos ? std::wstring_view{} : rest.substr(cut + 1);
        while (!item.empty() && (item.front() == L'*' || item.front() == L'.')) {
            item.remove_prefix(1);
        }
        if (!item.empty()) {
            out.emplace_back(item);
        }
    }
    return out;
}

namespace {
std::filesystem::path toPath(std::wstring_view p)
{
    return std::filesystem::path(toUtf8(p));
}

// Adds the default extension to a name typed without one, unless any name is allowed.
std::wstring withExtension(std::wstring_view typed, const FileDialogRequest& request)
{
    std::wstring path(typed);
    if (request.extensions.empty() || request.extensionRule == ExtensionRule::AnyExtension) {
        return path;
    }
    if (toPath(path).extension().empty()) {
        path += L"." + request.extensions.front();
    }
    return path;
}
}  // namespace

int askForFile(const FileDialogRequest& request, std::wstring& path)
{
    Editor& ed = editor();
    std::wstring prompt = L"\n" + (request.title.empty() ? std::wstring(L"File name") : request.title);
    if (!request.defaultPath.empty()) {
        prompt += L" [" + request.defaultPath + L"]";
    }
    prompt += L": ";
    int badAnswers = 0;
    for (;;) {
        std::wstring answer;
        if (ed.ask(prompt, answer) != AnswerStatus::Text) {
            ed.write(L"\n*Cancel*");
            return RTCAN;
        }
        std::wstring_view typed = trimBlanks(answer);
        // Paths with blanks may be quoted, as in the host's own file prompts.
        if (typed.size() >= 2 && typed.front() == L'"' && typed.back() == L'"') {
            typed = typed.substr(1, typed.size() - 2);
        }
        if (typed.empty()) {
            return RTCAN;
        }
        const std::wstring candidate = withExtension(typed, request);
        std::error_code ec;
        std::wstring message;
        if (request.mode == FileDialogMode::Open) {
            if (std::filesystem::is_regular_file(toPath(candidate), ec)) {
                path = candidate;
                return RTNORM;
            }
            if (request.searchSupportPaths) {
                if (auto found = findFile(candidate)) {
                    path = *found;
                    return RTNORM;
                }
            }
            message = L"File not found: " + candidate;
        } else {
            const auto folder = toPath(candidate).parent_path();
            if (folder.empty() || std::filesystem::is_directory(folder, ec)) {
                path = candidate;
                return RTNORM;
            }
            message = L"Folder not found: " + fromUtf8(folder.string());
        }
        ed.write(L"\n" + message);
        if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
            ed.write(L"\n*Cancel*");
            return RTCAN;
        }
    }
}

}  // namespace fendo::editor
