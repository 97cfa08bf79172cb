// One run of the program: the drawing, where it is saved, the module and the host commands
// that work on the drawing (SAVE, SAVEAS, QUIT).
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "host/dxf/DxfExport.h"
#include "host/render/DrawingRenderer.h"

class AcDbDatabase;

namespace fendo::app {

struct Options {
    std::string drawing;         // empty: a new drawing
    std::string script;          // empty: the terminal; "-": standard input
    std::string output;          // empty: not saved at the end
    std::string module;          // empty: Fendo17.arx beside the program
    bool noModule = false;
    std::string render;          // empty: no picture; else OUT.svg or OUT.png
    std::string window;          // "x1,y1,x2,y2"; empty: the drawing's extents
    std::string size;            // "WIDTHxHEIGHT"; empty: 1600x1200
    std::string exportPlain;     // empty: no plain export
    bool serve = false;          // answers come from the browser page
    int port = 0;                // the page's port; 0: a free one
    std::string listen;          // empty: 127.0.0.1
    std::string dxfVersion;      // empty: R2007
    bool binary = false;         // saves write binary DXF
    bool toUnicode = false;      // convert TCVN3/VNI texts to Unicode once the drawing is open
    bool toTcvn3 = false;        // convert Unicode Vietnamese texts to TCVN3 once the drawing is open
    bool convertNames = false;   // the conversions take layer and block names too
};

class Session {
public:
    explicit Session(Options options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs the whole session and returns the exit status; failures are reported on stderr as
    // one line "fendo: ...".
    int run();

private:
    bool openInput();
    bool openPage();  // --serve: the browser page is the answer source
    bool loadModules();
    bool openDrawing();
    void registerCommands();
    void bindVariables();
    // --to-unicode, --to-tcvn3: converts the drawing's texts and prints what changed.
    void convertVietnameseTexts();

    // Saves to `path` and makes it the drawing's file name; false with `error` filled.
    bool saveTo(const std::string& path, std::string& error);
    bool saveTo(const std::string& path, const fendo::dxf::DxfWriteOptions& format, std::string& error);
    void saveCommand(std::wstring_view argument);
    // "Saved OUT.dxf (N objects)": what the user sees after every save.
    void reportSaved(const std::string& path);
    std::size_t objectCount() const;
    void saveAsCommand(std::wstring_view argument);
    // RENDER path [x1,y1 x2,y2] and EXPORTPLAIN path (docs/rendering.md).
    void renderCommand(std::wstring_view argument);
    void exportPlainCommand(std::wstring_view argument);
    bool checkPictureOptions();
    bool checkSaveOptions();
    bool renderTo(const std::string& path, std::string& error);
    bool exportPlainTo(const std::string& path, std::string& error);

    // The folder of the drawing's file with a trailing '/', for DWGPREFIX.
    std::wstring drawingFolder() const;

    Options options_;
    // Closes the drawing; done before the modules go, whose code some of its objects run.
    void closeDrawing();

    std::unique_ptr<AcDbDatabase> database_;
    std::string drawingPath_;           // the file read, or the last SAVEAS name
    std::string saveAsPath_;            // set by SAVEAS; SAVE goes there first
    fendo::render::RenderOptions renderOptions_;  // from --window and --size
    fendo::dxf::DxfWriteOptions saveFormat_;       // from --dxf-version and --binary
};

// "fendo: " + the message, on stderr.
void reportFailure(const std::string& message);

}  // namespace fendo::app
