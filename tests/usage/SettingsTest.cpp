// Settings the slope-symbol and offset dialogs remember: where they go when the module is
// installed in a folder the user cannot write, and that only numbers ever reach them.
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/ModuleFolder.h"
#include "support/TestSupport.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {

const fs::path kRoadSurvey = sourceDir() / "samples" / "road-survey.dxf";
const fs::path kEmbankment = sourceDir() / "samples" / "slope-embankment.dxf";

// An O3P run on the road sample's centre line, made 3D first, with the dialog answers given.
std::string offsetScript(const std::string& dialogAnswers)
{
    return "P23\n20,2.5\n\nO3P\n" + dialogAnswers + "20,2.5\n20,-10\n^C\n";
}

constexpr const char* kSlopeScript = "TL\n1006=5\n1007=4\n\n20,0\n20,-8\n\n";

std::string fileText(const fs::path& path) { return fs::exists(path) ? readFile(path) : std::string("(none)"); }

// A module copy installed as a system-wide install is: the user running fendo cannot write its
// folder. As root the run is made as the unprivileged user "nobody" (root writes anywhere);
// otherwise the Data/ folder is made read-only.
class ReadOnlyInstall {
public:
    ReadOnlyInstall()
    {
        m_userData = scratchDir("xdg-data");
        m_out = scratchDir("out");
        for (const fs::path& dir : {m_userData, m_out}) fs::permissions(dir, fs::perms::all, fs::perm_options::replace);
        // Everyone may pass through the scratch folders to the module and the drawings.
        for (fs::path dir = m_module.module().parent_path(); dir.has_relative_path() && dir != "/tmp";
             dir = dir.parent_path())
            fs::permissions(dir, fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add);
        if (geteuid() != 0)
            fs::permissions(m_module.dataFile(""),
                            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
    }

    RunResult run(const fs::path& drawing, const std::string& script) const
    {
        std::vector<std::string> args;
        if (geteuid() == 0) args = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        const std::vector<std::string> fendo{"/usr/bin/env",
                                             "XDG_DATA_HOME=" + m_userData.string(),
                                             "HOME=/nonexistent",
                                             (binDir() / "fendo").string(),
                                             drawing.string(),
                                             "--module",
                                             m_module.module().string(),
                                             "-s",
                                             "-",
                                             "-o",
                                             (m_out / "out.dxf").string()};
        args.insert(args.end(), fendo.begin(), fendo.end());
        return runProcess(args, script);
    }

    const ModuleFolder& module() const { return m_module; }
    fs::path userFile(const std::string& name) const { return m_userData / "KVO" / "Quorin" / name; }

private:
    ModuleFolder m_module{"system-module"};
    fs::path m_userData;
    fs::path m_out;
};

}  // namespace

TEST(SettingsInReadOnlyInstall, OffsetValuesGoToTheUsersCopyAndComeBackFromIt)
{
    ReadOnlyInstall install;
    writeFile(install.module().dataFile("offset.cfg"), "0\n30\n1\n");

    // The shipped values open the dialog the first time.
    RunResult first = install.run(kRoadSurvey, offsetScript("1036=45\n1037=1.5\nclick 1\n"));
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_NE(first.output.find("1036  edit    \"30\""), std::string::npos) << first.output;
    EXPECT_EQ(fileText(install.module().dataFile("offset.cfg")), "0\n30\n1\n");
    EXPECT_EQ(fileText(install.userFile("offset.cfg")), "0\n45\n1.5\n");

    // The user's own values open it the next time.
    RunResult second = install.run(kRoadSurvey, offsetScript("click 1\n"));
    ASSERT_EQ(second.exitCode, 0) << second.output;
    EXPECT_NE(second.output.find("1036  edit    \"45\""), std::string::npos) << second.output;
}

TEST(SettingsInReadOnlyInstall, SlopeValuesGoToTheUsersCopy)
{
    ReadOnlyInstall install;
    fs::copy_file(binDir() / "Data" / "tl.ini", install.module().dataFile("tl.ini"));
    const std::string shipped = readFile(install.module().dataFile("tl.ini"));
    RunResult run = install.run(kEmbankment, kSlopeScript);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(readFile(install.module().dataFile("tl.ini")), shipped);
    const std::string saved = fileText(install.userFile("tl.ini"));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 12) << saved;
    EXPECT_NE(saved.find("\n5.000000\n"), std::string::npos) << saved;  // the step TL was given
}

TEST(SettingsInWritableInstall, StayBesideTheModule)
{
    ModuleFolder module;
    const fs::path userData = scratchDir("xdg-data");
    const fs::path out = scratchDir("out") / "out.dxf";
    RunResult run =
        runProcess({"/usr/bin/env", "XDG_DATA_HOME=" + userData.string(), (binDir() / "fendo").string(),
                    kRoadSurvey.string(), "--module", module.module().string(), "-s", "-", "-o", out.string()},
                   offsetScript("1036=45\n1037=1.5\nclick 1\n"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(fileText(module.dataFile("offset.cfg")), "0\n45\n1.5\n");
    EXPECT_FALSE(fs::exists(userData / "KVO" / "Quorin" / "offset.cfg"));
}

// A text where a number belongs is refused as the host's dialogs refuse it, and the dialog asks
// again; what the user then types is what is kept.
TEST(NumericDialogFields, RefuseTextsAndAskAgain)
{
    {
        ModuleFolder module;
        RunResult run = runFendo({kRoadSurvey.string(), "--module", module.module().string()},
                                 offsetScript("1036=abc\n1037=1.5\nclick 1\n1036=45\nclick 1\n"));
        EXPECT_NE(run.output.find("Please enter a number. (control 1036)"), std::string::npos) << run.output;
        EXPECT_EQ(fileText(module.dataFile("offset.cfg")), "0\n45\n1.5\n");
    }
    {
        // Never corrected: the dialog is cancelled and nothing is written.
        ModuleFolder module;
        RunResult run =
            runFendo({kRoadSurvey.string(), "--module", module.module().string()}, "O3P\n1037=2m\nclick 1\n^C\n");
        EXPECT_NE(run.output.find("Please enter a number. (control 1037)"), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(module.dataFile("offset.cfg")));
    }
    {
        ModuleFolder module;
        fs::copy_file(binDir() / "Data" / "tl.ini", module.dataFile("tl.ini"));
        RunResult run = runFendo({kEmbankment.string(), "--module", module.module().string()},
                                 "TL\n1006=abc\n1007=x\n\n1006=5\n\n1007=4\n\n20,0\n20,-8\n\n");
        EXPECT_NE(run.output.find("Please enter a number. (control 1006)"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("Please enter an integer. (control 1007)"), std::string::npos) << run.output;
        const std::string saved = fileText(module.dataFile("tl.ini"));
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 12) << saved;
        EXPECT_EQ(saved.find_first_not_of("0123456789.-\n"), std::string::npos) << saved;
    }
    {
        // The slope editor checks its boxes before it rebuilds or closes.
        ModuleFolder module;
        RunResult run =
            runFendo({kEmbankment.string(), "--module", module.module().string()},
                     std::string(kSlopeScript) + "HCTL\n20,-3\nDIALOG\n1009=ten\nclick 1\n1009=10\nclick 1\n");
        EXPECT_NE(run.output.find("Please enter a number. (control 1009)"), std::string::npos) << run.output;
        const std::string saved = fileText(module.dataFile("tl.ini"));
        EXPECT_EQ(saved.find("ten"), std::string::npos) << saved;
        EXPECT_NE(saved.find("\n10\n"), std::string::npos) << saved;
    }
}
