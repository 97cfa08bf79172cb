// The command line as a newcomer meets it: HELP, the terminal's keys and history, what a save
// and a cancel say, and picture options that do their job without a prompt.
#include <gtest/gtest.h>

#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbText.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {

const fs::path kRoadSurvey = sourceDir() / "samples" / "road-survey.dxf";

// Python string literal of a byte string.
std::string pyBytes(const std::string& text)
{
    std::string out = "b'";
    for (const unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += hex;
    }
    return out + "'";
}

struct TerminalRun {
    std::string status;  // the exit status, or "hung" when fendo did not end by itself
    std::string output;
};

// Runs fendo in a pseudo-terminal, typing each key string after the output has settled.
TerminalRun runAtTerminal(const std::vector<std::string>& args, const std::vector<std::string>& keys,
                          const std::string& stateHome)
{
    std::string argv = "[" + pyBytes((binDir() / "fendo").string());
    for (const std::string& a : args) argv += ", " + pyBytes(a);
    argv += "]";
    std::string typed = "[";
    for (const std::string& k : keys) typed += pyBytes(k) + ", ";
    typed += "]";
    const std::string code = R"(
import os, pty, select, sys, time
argv = )" + argv + R"(
keys = )" + typed + R"(
os.environ['XDG_STATE_HOME'] = )" +
                             pyBytes(stateHome) + R"(.decode()
os.environ['TERM'] = 'xterm'
pid, fd = pty.fork()
if pid == 0:
    os.execv(argv[0], argv)
out = b''
def pump(seconds):
    global out
    end = time.time() + seconds
    while time.time() < end:
        if select.select([fd], [], [], 0.05)[0]:
            try:
                data = os.read(fd, 4096)
            except OSError:
                return
            if not data:
                return
            out += data
pump(1.0)
for k in keys:
    os.write(fd, k)
    pump(0.4)
status = 'hung'
end = time.time() + 15
while time.time() < end:
    p, st = os.waitpid(pid, os.WNOHANG)
    if p:
        status = str(os.waitstatus_to_exitcode(st))
        break
    pump(0.1)
if status == 'hung':
    os.kill(pid, 9)
    os.waitpid(pid, 0)
pump(0.2)
sys.stdout.write(status + '\n' + out.decode('utf-8', 'replace'))
)";
    const RunResult r = runPython(code);
    TerminalRun run;
    const auto cut = r.output.find('\n');
    run.status = r.output.substr(0, cut);
    run.output = cut == std::string::npos ? "" : r.output.substr(cut + 1);
    return run;
}

}  // namespace

TEST(Help, ListsEveryCommandWithWhatItDoesAndDescribesOne)
{
    const RunResult run = runFendo({kRoadSurvey.string()}, "HELP\nhelp tdpl\nHELP TEMPLATE_O3P\nHELP NOSUCH\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // Every command the module registers has its line: none is left to "Other commands".
    EXPECT_EQ(run.output.find("Other commands"), std::string::npos) << run.output;
    for (const char* line : {"\n  TDPL         inserts a vertex into a polyline", "\n  22           turns off",
                             "\n  EXPORTPLAIN  saves a copy", "\n  HELP         lists the commands"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    // Families in the README's order, host commands last.
    const auto layers = run.output.find("Layers and bulges:");
    const auto kinds = run.output.find("Polyline kinds and splines:");
    const auto host = run.output.find("Host commands:");
    ASSERT_NE(layers, std::string::npos);
    EXPECT_LT(layers, kinds);
    EXPECT_LT(kinds, host);
    // HELP NAME: the whole description and an example, by local or global name in any case.
    EXPECT_NE(run.output.find("TDPL (Adding and removing vertices): inserts a vertex into a polyline.\nInserts"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Example:\n  TDPL\n  12.5,40"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("O3P (Offsetting, splitting and replacing polylines)"), std::string::npos);
    EXPECT_NE(run.output.find("Unknown command \"NOSUCH\""), std::string::npos);
}

TEST(Help, HostAloneStillListsItsCommandsApart)
{
    const RunResult run = runFendo({"--no-module"}, "HELP\n");
    EXPECT_NE(run.output.find("\n  EXPORTPLAIN  saves a copy"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("TDPL"), std::string::npos) << run.output;
}

TEST(SessionEndings, SavesSayWhereAndHowManyObjectsAndCancelsAreShown)
{
    const fs::path out = scratchDir("endings");
    const std::string script =
        "SAVEAS " + (out / "copy.dxf").string() + "\n44\n5,-27.5\nok\nSAVE\n" + "O3P\n^C\nQUIT\n";
    const RunResult run = runFendo({kRoadSurvey.string(), "-o", (out / "final.dxf").string()}, script);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // The sample has 49 objects, 5 of them on the construction layer 44 erases.
    EXPECT_NE(run.output.find("Saved " + (out / "copy.dxf").string() + " (49 objects)"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Saved " + (out / "copy.dxf").string() + " (44 objects)"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Saved " + (out / "final.dxf").string() + " (44 objects)"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Dialog> ^C\n*Cancel*"), std::string::npos) << run.output;
}

TEST(CommandRepeat, AnEmptyLineAfterAnUnknownNameRepeatsTheLastRealCommand)
{
    const RunResult run = runFendo({kRoadSurvey.string()}, "HELP TDPL\nFOO\n\n");
    const auto count = [&run](const std::string& text) {
        std::size_t n = 0;
        for (auto at = run.output.find(text); at != std::string::npos; at = run.output.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("Unknown command \"FOO\""), 1u) << run.output;
    EXPECT_EQ(count("TDPL (Adding and removing vertices)"), 2u) << run.output;
}

TEST(Terminal, F1ShowsHelpTabCompletesAndHistoryOutlivesTheSession)
{
    const fs::path state = scratchDir("state");
    const TerminalRun first =
        runAtTerminal({kRoadSurvey.string()}, {"\x1bOP", "tdp\t", "\r", "\x03", "QUIT\r"}, state.string());
    ASSERT_EQ(first.status, "0") << first.output;
    EXPECT_NE(first.output.find("Layers and bulges:"), std::string::npos) << first.output;
    EXPECT_NE(first.output.find("pline,2d,3d c\xe1\xba\xa7n th\xc3\xaam \xc4\x91i\xe1\xbb\x83m"), std::string::npos)
        << first.output;  // TDPL's first question
    EXPECT_NE(first.output.find("*Cancel*"), std::string::npos) << first.output;
    EXPECT_EQ(first.output.find("Unknown command"), std::string::npos) << first.output;
    const std::string history = readFile(state / "fendo" / "history");
    EXPECT_NE(history.find("HELP\n"), std::string::npos) << history;
    EXPECT_NE(history.find("QUIT\n"), std::string::npos) << history;

    // Up arrow brings back the last session's QUIT.
    const TerminalRun second = runAtTerminal({kRoadSurvey.string()}, {"\x1b[A\r"}, state.string());
    EXPECT_EQ(second.status, "0") << second.output;
}

TEST(Terminal, PictureOptionsAloneDoTheJobAndEnd)
{
    const fs::path out = scratchDir("picture");
    const TerminalRun run = runAtTerminal(
        {kRoadSurvey.string(), "--render", (out / "road.png").string(), "--export-plain", (out / "plain.dxf").string()},
        {}, scratchDir("state").string());
    EXPECT_EQ(run.status, "0") << run.output;
    EXPECT_EQ(run.output.find("Command:"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(out / "road.png"));
    EXPECT_TRUE(fs::exists(out / "plain.dxf"));
}

TEST(Terminal, BigDrawingsShowTheMeterWhileLoadingAndSavingButNotInScripts)
{
    TestDrawing drawing;
    for (int i = 0; i < 12000; ++i)
        drawing.add(new AcDbLine(AcGePoint3d(i, 0, 0), AcGePoint3d(i, 10, 0)));
    const fs::path big = drawing.save("big.dxf");
    const fs::path out = scratchDir("bigsave");

    // A person at the terminal sees the bar for the load and for the final save, and the
    // bar's line is cleared each time.
    const TerminalRun person = runAtTerminal({big.string(), "-o", (out / "person.dxf").string()}, {"QUIT\r"},
                                             scratchDir("state").string());
    ASSERT_EQ(person.status, "0") << person.output;
    const auto loading = person.output.find("\rLoading ");
    const auto saving = person.output.find("\rSaving ");
    ASSERT_NE(loading, std::string::npos) << person.output;
    ASSERT_NE(saving, std::string::npos) << person.output;
    EXPECT_LT(loading, saving);
    EXPECT_NE(person.output.find("\r\033[K", saving), std::string::npos) << person.output;
    const auto saved = loadDrawing(out / "person.dxf");
    ASSERT_TRUE(saved);
    EXPECT_EQ(modelSpaceEntities(*saved).size(), 12000u);

    // A script answering, at a terminal or not, shows no bar.
    writeFile(out / "quit.scr", "QUIT\n");
    const TerminalRun scripted = runAtTerminal(
        {big.string(), "-s", (out / "quit.scr").string(), "-o", (out / "scripted.dxf").string()}, {},
        scratchDir("state").string());
    EXPECT_EQ(scripted.status, "0") << scripted.output;
    EXPECT_EQ(scripted.output.find("Loading"), std::string::npos) << scripted.output;
    EXPECT_EQ(scripted.output.find("Saving"), std::string::npos) << scripted.output;
    const RunResult piped = runFendo({big.string(), "-o", (out / "piped.dxf").string()}, "QUIT\n");
    EXPECT_EQ(piped.exitCode, 0) << piped.output;
    EXPECT_EQ(piped.output.find('\r'), std::string::npos) << piped.output;
    EXPECT_TRUE(fs::exists(out / "piped.dxf"));
}

TEST(Terminal, ACommandOverManyObjectsShowsItsMeter)
{
    TestDrawing drawing;
    for (int i = 0; i < 10500; ++i)
        drawing.add(new AcDbText(AcGePoint3d(0, i, 0), L"12,5", AcDbObjectId::kNull, 1));
    drawing.add(new AcDbText(AcGePoint3d(0, -5, 0), L"7,25", AcDbObjectId::kNull, 1));
    const fs::path texts = drawing.save("texts.dxf");
    const fs::path out = scratchDir("texts") / "out.dxf";
    const TerminalRun run = runAtTerminal({texts.string(), "-o", out.string()}, {"P2C\r", "all\r", "\r", "QUIT\r"},
                                          scratchDir("state").string());
    ASSERT_EQ(run.status, "0") << run.output;
    const auto bar = run.output.find("\rP2C ");
    ASSERT_NE(bar, std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\r\033[K", bar), std::string::npos) << run.output;
    // The walk still reached every text.
    const auto saved = loadDrawing(out);
    ASSERT_TRUE(saved);
    int changed = 0;
    for (const AcDbObjectId& id : modelSpaceEntities(*saved, AcDbText::desc())) {
        fendo::db::OpenedObject<AcDbText> t(id, AcDb::kForRead);
        const std::wstring text = t->textString().c_str();
        if (text == L"12.5" || text == L"7.25") ++changed;
    }
    EXPECT_EQ(changed, 10501);
}
