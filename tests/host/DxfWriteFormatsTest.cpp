// Every version and format the writer offers opens in ezdxf no worse than the original and
// loads back in the host unchanged: saving the reloaded drawing again gives the same file as
// saving the original.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/dxf/DxfExport.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using fendo::dxf::DxfVersion;

namespace {

std::string savedText(AcDbDatabase& db, const fs::path& path, const fendo::dxf::DxfWriteOptions& options = {})
{
    std::string error;
    EXPECT_EQ(fendo::dxf::writeDxfFile(db, path.wstring(), options, &error), Acad::eOk) << error;
    return fendo::test::readFile(path);
}

// The groups of a saved file with values as a reader sees them (binary files carry numbers,
// not their padding), without the handle seed.
std::string groups(const std::string& text)
{
    std::string out;
    size_t at = 0;
    bool value = false, seed = false;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (value) {
            while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
            // Reals to 12 digits: angles are kept in radians and written in degrees, which
            // may move the last of 17 digits on each round trip.
            char* end = nullptr;
            const std::string text(line);
            const double real = std::strtod(text.c_str(), &end);
            if (!text.empty() && end == text.c_str() + text.size() && text.find('.') != std::string::npos) {
                char rounded[32];
                std::snprintf(rounded, sizeof rounded, "%.12g", real);
                if (!seed) out.append(rounded).push_back('\n');
            } else if (!seed) {
                out.append(line).push_back('\n');
            }
            seed = false;
        } else {
            out.append(line).push_back('\n');
        }
        if (value && line == "$HANDSEED") seed = true;
        value = !value;
    }
    return out;
}

TEST(DxfWriteFormats, EveryVersionAsciiAndBinaryLoadsBackUnchanged)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats");
    for (const char* name : {"r2000_cp1258.dxf", "real/colors.dxf", "real/dimension_in_block.dxf"}) {
        const fs::path original = fendo::test::dataDir() / "dxf" / name;
        AcDbDatabase db(false);
        std::string error;
        ASSERT_EQ(db.readDxfFile(original.wstring(), &error), Acad::eOk) << error;
        const std::string reference = groups(savedText(db, dir / "reference.dxf"));
        for (DxfVersion version : {DxfVersion::R2000, DxfVersion::R2004, DxfVersion::R2007, DxfVersion::R2010,
                                   DxfVersion::R2013, DxfVersion::R2018}) {
            for (bool binary : {false, true}) {
                const std::string label =
                    std::string(name) + " " + fendo::dxf::releaseName(version) + (binary ? " binary" : " ASCII");
                SCOPED_TRACE(label);
                const fs::path path = dir / "format.dxf";
                const std::string text = savedText(db, path, {.version = version, .binary = binary});
                EXPECT_EQ(text.starts_with(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)), binary);
                EXPECT_NE(text.find(fendo::dxf::acadVersionName(version)), std::string::npos);
                if (version < DxfVersion::R2007 && !binary) {
                    for (char c : text) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "texts as \\U+ escapes";
                }
                AcDbDatabase again(false);
                ASSERT_EQ(again.readDxfFile(path.wstring(), &error), Acad::eOk) << error;
                EXPECT_EQ(groups(savedText(again, dir / "again.dxf")), reference);
                if (!fendo::test::haveEzdxf()) continue;
                const auto result = fendo::test::runProcess(
                    {"/usr/bin/python3", (fendo::test::dataDir() / "dxf" / "compare_drawings.py").string(),
                     original.string(), path.string()});
                EXPECT_EQ(result.exitCode, 0) << result.output;
            }
        }
    }
}

TEST(DxfWriteFormats, VersionNamesAreReadInEitherForm)
{
    DxfVersion v = DxfVersion::R2007;
    EXPECT_TRUE(fendo::dxf::parseDxfVersion("r2013", v));
    EXPECT_EQ(v, DxfVersion::R2013);
    EXPECT_TRUE(fendo::dxf::parseDxfVersion("AC1015", v));
    EXPECT_EQ(v, DxfVersion::R2000);
    EXPECT_FALSE(fendo::dxf::parseDxfVersion("R14", v));
    EXPECT_FALSE(fendo::dxf::parseDxfVersion("", v));
}

TEST(DxfWriteFormats, FendoSavesInTheFormatAskedForAndRefusesUnknownVersions)
{
    const fs::path dir = fendo::test::scratchDir("dxfformats-app");
    const fs::path out = dir / "out.dxf", other = dir / "other.dxf";
    auto run = fendo::test::runFendo({"--no-module", "--binary", "--dxf-version", "R2010", "-o", out.string()},
                                     "SAVEAS Version R2000 " + other.string() + "\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string binary = fendo::test::readFile(out), ascii = fendo::test::readFile(other);
    EXPECT_TRUE(binary.starts_with("AutoCAD Binary DXF"));
    EXPECT_NE(binary.find("AC1024"), std::string::npos);
    EXPECT_TRUE(ascii.starts_with("AutoCAD Binary DXF")) << "the session's binary choice holds for SAVEAS";
    EXPECT_NE(ascii.find("AC1015"), std::string::npos);
    run = fendo::test::runFendo({"--no-module", "--dxf-version", "R14", "-o", out.string()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("bad --dxf-version R14"), std::string::npos) << run.output;
}

}  // namespace
