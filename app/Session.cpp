// One run of the program: input, module, drawing, command loop, final save.
#include "app/Session.h"

#include "app/CommandHelp.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/VietTextConversion.h"
#include "host/dxf/DxfExport.h"
#include "host/dxf/DxfProgress.h"
#include "host/editor/AcEditorReactor.h"
#include "host/editor/Editor.h"
#include "host/editor/InputSource.h"
#include "host/editor/PromptCommands.h"
#include "host/editor/SelectionIndex.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"
#include "host/editor/Utf8.h"
#include "host/rx/ModuleLoader.h"
#include "web/WebInput.h"

namespace fendo::app {

namespace {

namespace fs = std::filesystem;
using fendo::editor::editor;
using fendo::editor::fromUtf8;
using fendo::editor::toUtf8;

// The object libraries the module is built on; they are loaded from the module's folder first.
constexpr const char* kCompanionLibraries[] = {"KVOObjects17.dbx", "Pelmar17.dbx"};
constexpr const char* kModuleFileName = "Fendo17.arx";
constexpr const wchar_t* kNewDrawingName = L"Drawing1.dxf";

std::string absolute(const std::string& path)
{
    std::error_code ec;
    const fs::path full = fs::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

// The reader's and writer's messages may start with the file name and their own verb; the
// program's line says both once: "cannot save out.dxf: <why>".
std::string failureLine(const std::string& verb, const std::string& path, std::string message)
{
    for (const std::string& prefix : {path + ": ", verb + ": "})
        if (message.rfind(prefix, 0) == 0) message.erase(0, prefix.size());
    return verb + " " + path + ": " + message;
}

// A variable the editor does not know yet is added read-only before it is bound.
void bindReadOnly(const wchar_t* name, fendo::editor::SysVarGetter getter)
{
    using namespace fendo::editor;
    if (!bindSysVar(name, getter, nullptr)) {
        registerSysVar(name, getter(), SysVarAccess::ReadOnly);
        bindSysVar(name, getter, nullptr);
    }
}

}  // namespace

void reportFailure(const std::string& message)
{
    editor().finishLine();
    std::fprintf(stderr, "fendo: %s\n", message.c_str());
    std::fflush(stderr);
}

Session::Session(Options options) : options_(std::move(options)) {}

Session::~Session()
{
    closeDrawing();
    fendo::rx::ModuleLoader::instance().unloadAll();
}

void Session::closeDrawing()
{
    if (!database_) return;
    acedEditor->notifyBeginClose(database_.get());
    auto& loader = fendo::rx::ModuleLoader::instance();
    loader.broadcast(AcRx::kUnloadDwgMsg);
    loader.setDrawingOpen(false);
    if (acdbHostApplicationServices()->workingDatabase() == database_.get())
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    database_.reset();
}

bool Session::openInput()
{
    using namespace fendo::editor;
    if (options_.serve) return openPage();
    std::string script = options_.script;
    // Answers piped in without -s are a script too: line editing needs a terminal.
    if (script.empty() && !isatty(STDIN_FILENO)) script = "-";
    if (script.empty()) {
        editor().setInput(std::make_unique<TerminalInput>());
        return true;
    }
    std::string error;
    auto input = ScriptInput::fromFile(script, &error);
    if (!input) {
        reportFailure(error.empty() ? "cannot open script " + script : error);
        return false;
    }
    editor().setInput(std::move(input));
    return true;
}

bool Session::openPage()
{
    fendo::web::ServeOptions serve;
    serve.port = options_.port;
    if (!options_.listen.empty()) serve.listen = options_.listen;
    serve.pictureWidth = renderOptions_.width;  // --size
    serve.pictureHeight = renderOptions_.height;
    std::string error;
    auto page = fendo::web::WebInput::start(serve, &error);
    if (!page) {
        reportFailure(error);
        return false;
    }
    if (serve.listen != "127.0.0.1" && serve.listen != "localhost" && serve.listen != "::1")
        std::fprintf(stderr,
                     "fendo: warning: listening on %s: other machines can reach this session; only its token "
                     "keeps them out\n",
                     serve.listen.c_str());
    std::printf("Open the drawing at %s\n", page->address().c_str());
    std::fflush(stdout);
    fendo::web::openInBrowser(page->address());
    editor().setInput(std::move(page));
    return true;
}

bool Session::loadModules()
{
    if (options_.noModule) return true;
    const std::string module =
        options_.module.empty() ? fendo::rx::executableFolder() + "/" + kModuleFileName : options_.module;
    auto& loader = fendo::rx::ModuleLoader::instance();
    std::error_code ec;
    if (!fs::exists(module, ec)) {
        reportFailure("cannot load " + module + ": no such file");
        return false;
    }
    const fs::path folder = fs::path(absolute(module)).parent_path();
    std::string error;
    for (const char* companion : kCompanionLibraries) {
        const fs::path path = folder / companion;
        if (!fs::exists(path, ec)) {
            std::fprintf(stderr, "fendo: warning: %s not found beside the module\n", companion);
            continue;
        }
        if (!loader.load(path.string(), fendo::rx::ModuleKind::Companion, &error)) {
            reportFailure(error);
            return false;
        }
    }
    if (!loader.load(module, fendo::rx::ModuleKind::Module, &error)) {
        reportFailure(error);
        return false;
    }
    return true;
}

bool Session::openDrawing()
{
    if (options_.drawing.empty()) {
        database_ = std::make_unique<AcDbDatabase>(true);
    } else {
        const std::string& path = options_.drawing;
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            reportFailure("cannot read " + path + ": no such file");
            return false;
        }
        auto db = std::make_unique<AcDbDatabase>(false);
        std::string message;
        const Acad::ErrorStatus es = db->readDxfFile(fromUtf8(path), &message);
        if (es != Acad::eOk) {
            if (message.empty()) message = Acad::errorStatusText(es);
            reportFailure(failureLine("cannot read", path, message));
            return false;
        }
        database_ = std::move(db);
        drawingPath_ = absolute(path);
    }
    acdbHostApplicationServices()->setWorkingDatabase(database_.get());
    auto& loader = fendo::rx::ModuleLoader::instance();
    loader.setDrawingOpen(true);
    loader.broadcast(AcRx::kLoadDwgMsg);
    return true;
}

std::wstring Session::drawingFolder() const
{
    std::string folder;
    if (!drawingPath_.empty()) {
        folder = fs::path(drawingPath_).parent_path().string();
    } else {
        std::error_code ec;
        folder = fs::current_path(ec).string();
    }
    if (folder.empty() || folder.back() != '/') folder += '/';
    return fromUtf8(folder);
}

void Session::bindVariables()
{
    bindReadOnly(L"DWGPREFIX", [this] { return fendo::editor::SysVarValue(drawingFolder()); });
    bindReadOnly(L"DWGNAME", [this] {
        return fendo::editor::SysVarValue(drawingPath_.empty() ? std::wstring(kNewDrawingName)
                                                               : fromUtf8(fs::path(drawingPath_).filename().string()));
    });
}

bool Session::saveTo(const std::string& path, std::string& error) { return saveTo(path, saveFormat_, error); }

bool Session::saveTo(const std::string& path, const fendo::dxf::DxfWriteOptions& format, std::string& error)
{
    std::string message, leftOut;
    const std::wstring file = fromUtf8(path);
    fendo::dxf::DxfWriteOptions options = format;
    options.leftOut = &leftOut;
    acedEditor->notifyBeginSave(database_.get(), file.c_str());
    const Acad::ErrorStatus es = fendo::dxf::writeDxfFile(*database_, file, options, &message);
    acedEditor->notifySaveComplete(database_.get(), file.c_str());
    if (es != Acad::eOk) {
        if (message.empty()) message = Acad::errorStatusText(es);
        error = failureLine("cannot save", path, message);
        return false;
    }
    database_->setFilename(file);
    if (!leftOut.empty()) editor().write(L"\n" + fromUtf8(leftOut));
    return true;
}

bool Session::checkSaveOptions()
{
    saveFormat_.binary = options_.binary;
    if (!options_.dxfVersion.empty() && !fendo::dxf::parseDxfVersion(options_.dxfVersion, saveFormat_.version)) {
        reportFailure("bad --dxf-version " + options_.dxfVersion + ": expected R12, R2000, R2004, R2007, R2010, R2013 or R2018");
        return false;
    }
    return true;
}

std::size_t Session::objectCount() const
{
    std::size_t count = 0;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, database_->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return count;
    for (const AcDbObjectId& id : space->entityIds())
        if (!id.isErased()) ++count;
    space->close();
    return count;
}

void Session::reportSaved(const std::string& path)
{
    editor().write(L"\nSaved " + fromUtf8(path) + L" (" + std::to_wstring(objectCount()) + L" objects)");
}

void Session::saveAsCommand(std::wstring_view argument)
{
    // SAVEAS [Binary] [Version R20xx] path: the keywords change this save's format only.
    std::wstring answer;
    if (!fendo::editor::argumentOrAsk(argument, L"\nSave drawing as [Binary/Version]: ", answer)) return;
    fendo::dxf::DxfWriteOptions format = saveFormat_;
    auto firstWord = [&answer] {
        const size_t end = answer.find(L' ');
        std::wstring word = answer.substr(0, end);
        answer = end == std::wstring::npos ? std::wstring() : std::wstring(fendo::editor::trimBlanks(answer.substr(end)));
        return word;
    };
    for (;;) {
        const size_t end = answer.find(L' ');
        const std::wstring word = answer.substr(0, end);
        if (fendo::equalsNoCase(word, L"Binary")) {
            firstWord();
            format.binary = true;
        } else if (fendo::equalsNoCase(word, L"Version")) {
            firstWord();
            const std::wstring version = firstWord();
            if (!fendo::dxf::parseDxfVersion(toUtf8(version), format.version)) {
                editor().write(L"\nUnknown DXF version " + version + L": R12, R2000, R2004, R2007, R2010, R2013 or R2018.");
                return;
            }
        } else {
            break;
        }
        if (answer.empty() && !fendo::editor::argumentOrAsk({}, L"\nSave drawing as: ", answer)) return;
    }
    const std::string path = toUtf8(answer);
    std::string error;
    if (!saveTo(path, format, error)) {
        editor().write(L"\n" + fromUtf8(error));
        return;
    }
    saveAsPath_ = absolute(path);
    drawingPath_ = saveAsPath_;
    reportSaved(path);
}

void Session::saveCommand(std::wstring_view argument)
{
    if (!fendo::editor::trimBlanks(argument).empty()) return saveAsCommand(argument);
    std::string target = saveAsPath_;
    if (target.empty()) target = options_.output;
    if (target.empty()) target = drawingPath_;
    if (target.empty()) return saveAsCommand({});
    std::string error;
    if (!saveTo(target, error)) {
        editor().write(L"\n" + fromUtf8(error));
        return;
    }
    reportSaved(target);
}

bool Session::checkPictureOptions()
{
    if (!options_.window.empty()) {
        fendo::render::DrawingWindow window;
        if (!fendo::render::parseWindow(options_.window, window)) {
            reportFailure("bad --window " + options_.window + ": expected x1,y1,x2,y2 with x1 != x2 and y1 != y2");
            return false;
        }
        renderOptions_.window = window;
    }
    if (!options_.size.empty() &&
        !fendo::render::parseSize(options_.size, renderOptions_.width, renderOptions_.height)) {
        reportFailure("bad --size " + options_.size + ": expected WIDTHxHEIGHT in pixels, as 1600x1200");
        return false;
    }
    if (!options_.render.empty() && !fendo::render::imageFormatFor(options_.render)) {
        reportFailure("bad --render " + options_.render + ": the file name must end in .svg or .png");
        return false;
    }
    return true;
}

bool Session::renderTo(const std::string& path, std::string& error)
{
    return fendo::render::renderDrawing(*database_, path, renderOptions_, &error) == Acad::eOk;
}

bool Session::exportPlainTo(const std::string& path, std::string& error)
{
    std::string message;
    fendo::dxf::DxfWriteOptions plain;
    plain.explodeCustomObjects = true;
    const std::wstring file = fromUtf8(path);
    acedEditor->notifyBeginSave(database_.get(), file.c_str());
    const Acad::ErrorStatus es = fendo::dxf::writeDxfFile(*database_, file, plain, &message);
    acedEditor->notifySaveComplete(database_.get(), file.c_str());
    if (es != Acad::eOk) {
        if (message.empty()) message = Acad::errorStatusText(es);
        error = failureLine("cannot save", path, message);
        return false;
    }
    return true;
}

void Session::renderCommand(std::wstring_view argument)
{
    std::wstring answer;
    if (!fendo::editor::argumentOrAsk(argument, L"\nPicture file (.svg or .png): ", answer)) return;
    // The last two words may be the window's corners: RENDER out.png 0,0 100,50.
    std::vector<std::wstring> words;
    for (size_t at = 0; at < answer.size();) {
        const size_t start = answer.find_first_not_of(L" \t", at);
        if (start == std::wstring::npos) break;
        const size_t stop = std::min(answer.find_first_of(L" \t", start), answer.size());
        words.push_back(answer.substr(start, stop - start));
        at = stop;
    }
    fendo::render::RenderOptions options = renderOptions_;
    std::wstring path = std::wstring(fendo::editor::trimBlanks(answer));
    if (words.size() >= 3) {
        fendo::render::DrawingWindow window;
        const std::string corners = toUtf8(words[words.size() - 2] + L"," + words.back());
        if (fendo::render::parseWindow(corners, window)) {
            options.window = window;
            const size_t cut = answer.rfind(words[words.size() - 2]);
            path = std::wstring(fendo::editor::trimBlanks(std::wstring_view(answer).substr(0, cut)));
        }
    }
    std::string error;
    if (fendo::render::renderDrawing(*database_, toUtf8(path), options, &error) != Acad::eOk) {
        editor().write(L"\n" + fromUtf8(error));
        return;
    }
    editor().write(L"\nRendered " + path + L".");
}

void Session::exportPlainCommand(std::wstring_view argument)
{
    std::wstring answer;
    if (!fendo::editor::argumentOrAsk(argument, L"\nExport plain drawing as: ", answer)) return;
    std::string error;
    if (!exportPlainTo(toUtf8(answer), error)) {
        editor().write(L"\n" + fromUtf8(error));
        return;
    }
    editor().write(L"\nExported " + answer + L".");
}

void Session::registerCommands()
{
    using fendo::editor::registerPromptCommand;
    registerPromptCommand(L"SAVE",
                          L"saves the drawing: to the last SAVEAS file, else the -o file, else the file read",
                          [this](std::wstring_view arg) { saveCommand(arg); });
    registerPromptCommand(L"SAVEAS", L"saves the drawing under a new name: SAVEAS [Binary] [Version R20xx] path",
                          [this](std::wstring_view arg) { saveAsCommand(arg); });
    auto quit = [](std::wstring_view) { fendo::editor::requestSessionEnd(); };
    registerPromptCommand(L"RENDER", L"draws the drawing to a picture: RENDER out.svg|out.png [x1,y1 x2,y2]",
                          [this](std::wstring_view arg) { renderCommand(arg); });
    registerPromptCommand(L"EXPORTPLAIN",
                          L"saves a copy with custom objects as ordinary entities: EXPORTPLAIN path",
                          [this](std::wstring_view arg) { exportPlainCommand(arg); });
    registerHelpCommand();
    registerPromptCommand(L"QUIT", L"ends the session (saving with -o)", quit);
    registerPromptCommand(L"EXIT", L"ends the session (saving with -o)", quit);
}

void Session::convertVietnameseTexts()
{
    if (!options_.toUnicode && !options_.toTcvn3) return;
    const auto direction = options_.toUnicode ? viet::Direction::ToUnicode : viet::Direction::ToTcvn3;
    const auto names = options_.convertNames ? viet::NameScope::TextsAndNames : viet::NameScope::TextsOnly;
    const viet::ConversionReport report =
        viet::convertDrawing(*database_, direction, names, fendo::fonts::VietFontTable::installed());
    editor().write(report.describe(direction));
    editor().finishLine();
}

// Loading and saving big drawings show the status-bar meter, as long commands do.
static void showDxfProgress(const wchar_t* label, int thousandths)
{
    static bool shown = false;
    if (thousandths < 0) {
        if (shown) acedRestoreStatusBar();
        shown = false;
        return;
    }
    if (!shown) {
        acedSetStatusBarProgressMeter(label, 0, 1000);
        shown = true;
    }
    acedSetStatusBarProgressMeterPos(thousandths);
}

int Session::run()
{
    fendo::dxf::setDxfProgressHook(showDxfProgress);
    // Modules first: a drawing read afterwards finds the classes they register, so their
    // objects come back as themselves rather than as proxies.
    if (!checkPictureOptions() || !checkSaveOptions() || !openInput() || !loadModules() || !openDrawing()) {
        editor().setInput(nullptr);
        return 1;
    }
    bindVariables();
    registerCommands();
    convertVietnameseTexts();
    // At a terminal, a picture or plain export without a script or an output drawing is a job
    // of its own: it is done at once instead of waiting at the prompt (piped answers still run).
    const bool pictureJobOnly = (!options_.render.empty() || !options_.exportPlain.empty()) &&
                                options_.output.empty() && editor().interactive();
    // A person picks soon after the drawing opens: the selection index is read now, while
    // the drawing is still being opened, rather than at the first pick.
    if (editor().interactive() && !pictureJobOnly) fendo::editor::prepareSelectionIndex(*database_);
    if (editor().interactive() && !pictureJobOnly)
        editor().write(L"Fendo: type HELP for the commands; QUIT or Ctrl-D ends the session.");

    if (!pictureJobOnly) fendo::editor::runCommandLoop();
    if (options_.serve) editor().setInput(nullptr);  // the page's server stops here
    editor().finishLine();

    // Saved while the module is still loaded: its objects are written by its own code.
    int status = 0;
    if (!options_.render.empty()) {
        std::string error;
        if (!renderTo(options_.render, error)) {
            reportFailure(error);
            status = 1;
        }
    }
    if (!options_.exportPlain.empty()) {
        std::string error;
        if (!exportPlainTo(options_.exportPlain, error)) {
            reportFailure(error);
            status = 1;
        }
    }
    if (!options_.output.empty()) {
        std::string error;
        if (!saveTo(options_.output, error)) {
            reportFailure(error);
            status = 1;
        } else {
            reportSaved(options_.output);
        }
    }
    closeDrawing();
    fendo::rx::ModuleLoader::instance().unloadAll();
    editor().finishLine();
    return status;
}

}  // namespace fendo::app
