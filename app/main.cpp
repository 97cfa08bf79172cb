// fendo: opens a DXF drawing, loads the Fendo module, runs commands typed at a terminal or
// read from a script, and saves the drawing.
#include <CLI/CLI.hpp>

#include "app/PatternSwatchOption.h"
#include "app/Session.h"
#include "host/core/HugePages.h"

namespace {
constexpr const char* kVersion = "fendo 1.0 (module API 17.0)";
}

int main(int argc, char** argv)
{
    fendo::host::restartWithHugePages(argv);
    CLI::App cli{"Runs the Fendo survey drawing tools on a DXF drawing.\n"
                 "Commands are typed at the \"Command:\" prompt or read from a script, one answer per line.",
                 "fendo"};
    fendo::app::Options options;
    cli.add_option("drawing", options.drawing, "DXF drawing to open (a new drawing when left out)");
    cli.add_option("-s,--script", options.script, "read every answer from SCRIPT ('-' for standard input)")
        ->option_text("SCRIPT");
    cli.add_option("-o,--output", options.output, "save the drawing to OUT.dxf when the input ends")
        ->option_text("OUT.dxf");
    auto* module = cli.add_option("--module", options.module, "the module to load (default: Fendo17.arx beside fendo)")
                       ->option_text("PATH");
    cli.add_flag("--no-module", options.noModule, "run the host alone, without module or companion libraries")
        ->excludes(module);
    cli.add_option("--render", options.render,
                   "draw the drawing to OUT.svg or OUT.png when the input ends (before saving)")
        ->option_text("OUT.svg|OUT.png");
    cli.add_option("--window", options.window, "the part of the drawing to draw (default: all of it)")
        ->option_text("x1,y1,x2,y2");
    cli.add_option("--size", options.size, "picture size in pixels (default 1600x1200)")->option_text("WxH");
    cli.add_option("--export-plain", options.exportPlain,
                   "also write OUT.dxf with custom objects replaced by ordinary entities")
        ->option_text("OUT.dxf");
    auto* serve = cli.add_flag("--serve", options.serve, "show the drawing in a browser page and take answers from it");
    cli.add_option("--port", options.port, "the page's port (default: a free one)")->option_text("N")->needs(serve);
    cli.add_option("--listen", options.listen, "the address to listen on (default 127.0.0.1: this machine only)")
        ->option_text("ADDR")
        ->needs(serve);
    cli.add_option("--dxf-version", options.dxfVersion, "DXF version of saved drawings (default R2007)")
        ->option_text("R12|R2000|R2004|R2007|R2010|R2013|R2018");
    cli.add_flag("--binary", options.binary, "save drawings as binary DXF");
    auto* toUnicode = cli.add_flag("--to-unicode", options.toUnicode,
                                   "convert TCVN3 and VNI texts to Unicode after opening the drawing");
    cli.add_flag("--to-tcvn3", options.toTcvn3, "convert Unicode Vietnamese texts to TCVN3 after opening the drawing")
        ->excludes(toUnicode);
    cli.add_flag("--names", options.convertNames, "with --to-unicode or --to-tcvn3, convert layer and block names too");
    cli.footer("The parcel report of the XBX command is written to TD.txt in the folder fendo runs in.");
    std::vector<std::string> pattern;  // FILE.pat NAME OUT
    double patternScale = 1.0;
    cli.add_option("--pattern", pattern, "draw a swatch of pattern NAME of FILE.pat to OUT, without a drawing")
        ->expected(3)
        ->option_text("FILE.pat NAME OUT.png|OUT.svg");
    cli.add_option("--scale", patternScale, "pattern scale of --pattern (default 1)")->option_text("S");
    cli.set_version_flag("--version", kVersion);
    CLI11_PARSE(cli, argc, argv);
    if (!pattern.empty()) return fendo::app::drawPatternSwatch(pattern, patternScale, options.size);

    fendo::app::Session session(std::move(options));
    return session.run();
}
