// Text measuring: control codes, the fixed model, outline measuring and font resolution.
#include "host/fonts/FontResolver.h"
#include "host/fonts/TextMetrics.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

using namespace fendo::fonts;

namespace {

constexpr double kExact = 1e-9;
// Capital letters may differ from the font's declared cap height by a few font units.
constexpr double kCapHeightTolerance = 0.01;

// The fallback outline font, or null when the machine has none (outline tests are then skipped).
const ResolvedFont* outlineFont()
{
    const ResolvedFont& f = FontResolver::instance().fallback();
    return f.source == FontSource::None ? nullptr : &f;
}

const TextStyleFont kArial{L"arial.ttf", L""};

} // namespace

TEST(TextControlCodes, ExpandToTheCharactersTheyStandFor)
{
    struct Case {
        const wchar_t* stored;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"45%%d", L"45\u00B0"},        {L"%%D30", L"\u00B030"},       {L"%%p0.05", L"\u00B10.05"},
        {L"%%c500", L"\u2300500"},      {L"100%%%", L"100%"},          {L"%%uKM%%u 12", L"KM 12"},
        {L"%%OA%%o", L"A"},             {L"%%065B", L"AB"},            {L"\\U+00B0C", L"\u00B0C"},
        {L"\\u+1ea1", L"\u1EA1"},       {L"50%", L"50%"},              {L"%%", L"%%"},
        {L"%%z", L"%%z"},               {L"\\U+00G0", L"\\U+00G0"},    {L"\\U+00B", L"\\U+00B"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(expandTextControlCodes(c.stored), c.shown) << "stored: " << c.stored;
}

TEST(TextFixedModel, GivesEveryCharacterTheSameAdvance)
{
    const TextMeasure m = measureTextFixed(L"ABC", TextFormat{2.0, 1.5, 0.0});
    EXPECT_EQ(m.model, TextModel::FixedAdvance);
    EXPECT_NEAR(m.advance, 3 * kFixedAdvancePerHeight * 2.0 * 1.5, kExact);
    EXPECT_NEAR(m.box.left, 0.0, kExact);
    EXPECT_NEAR(m.box.right, m.advance, kExact);
    EXPECT_NEAR(m.box.bottom, 0.0, kExact);
    EXPECT_NEAR(m.box.top, 2.0, kExact);
    EXPECT_NEAR(m.descent, 0.0, kExact);

    // A control code is one character once expanded; underline toggles take no room.
    EXPECT_NEAR(measureTextFixed(L"%%u45%%d", TextFormat{1.0}).advance, 3 * kFixedAdvancePerHeight, kExact);
    EXPECT_TRUE(measureTextFixed(L"%%u", TextFormat{1.0}).empty);
}

TEST(TextFixedModel, ObliquingSlantsTheBoxByTheHeight)
{
    const TextMeasure m = measureTextFixed(L"AB", TextFormat{2.0, 1.0, std::numbers::pi / 4});
    EXPECT_NEAR(m.obliqueBox.left, 0.0, kExact);
    EXPECT_NEAR(m.obliqueBox.right, m.advance + 2.0, kExact);
    const TextMeasure back = measureTextFixed(L"AB", TextFormat{2.0, 1.0, -std::numbers::pi / 4});
    EXPECT_NEAR(back.obliqueBox.left, -2.0, kExact);
    EXPECT_NEAR(back.obliqueBox.right, back.advance, kExact);
}

TEST(TextFixedModel, IsUsedWhenNoFontCanBeLoaded)
{
    FontResolver noFonts(FontResolverOptions{"", SystemFonts::Ignore});
    EXPECT_EQ(noFonts.resolve(L"arial.ttf").source, FontSource::None);
    const TextFormat format{2.5, 0.8, 0.0};
    const TextMeasure m = measureText(L"12.35", kArial, format, noFonts);
    EXPECT_EQ(m.model, TextModel::FixedAdvance);
    EXPECT_NEAR(m.advance, measureTextFixed(L"12.35", format).advance, kExact);
}

TEST(TextOutlineMeasure, WidthFollowsTheStringAndTheWidthFactor)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    const TextFormat unit{1.0};
    const TextMeasure narrow = measureText(L"iii", kArial, unit);
    const TextMeasure wide = measureText(L"WWW", kArial, unit);
    EXPECT_EQ(wide.model, TextModel::Outline);
    EXPECT_GT(wide.advance, narrow.advance);
    EXPECT_GT(measureText(L"12.35", kArial, unit).advance, measureText(L"12.3", kArial, unit).advance);

    const TextMeasure doubled = measureText(L"WWW", kArial, TextFormat{1.0, 2.0});
    EXPECT_NEAR(doubled.advance, 2 * wide.advance, kExact);
    EXPECT_NEAR(doubled.box.right, 2 * wide.box.right, kExact);
    EXPECT_NEAR(doubled.box.top, wide.box.top, kExact);

    // Measures are proportional to the height, which aligned texts rely on.
    const TextMeasure tall = measureText(L"WWW", kArial, TextFormat{3.0});
    EXPECT_NEAR(tall.advance, 3 * wide.advance, kExact);
    EXPECT_NEAR(tall.box.bottom, 3 * wide.box.bottom, kExact);
}

TEST(TextOutlineMeasure, CapitalsAreTheTextHeightAndDescendersGoBelowTheBaseline)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    const double height = 2.5;
    const TextMeasure caps = measureText(L"HEH", kArial, TextFormat{height});
    EXPECT_NEAR(caps.box.top, height, kCapHeightTolerance * height);
    EXPECT_NEAR(caps.box.bottom, 0.0, kExact);
    EXPECT_LT(caps.descent, 0.0);

    const TextMeasure low = measureText(L"gjpq", kArial, TextFormat{height});
    EXPECT_LT(low.box.bottom, -0.1 * height);
    EXPECT_NEAR(low.descent, caps.descent, kExact); // the descender line belongs to the font
}

TEST(TextOutlineMeasure, ControlCodesAreMeasuredAsTheirCharacters)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    const TextFormat unit{1.0};
    EXPECT_NEAR(measureText(L"45%%d", kArial, unit).advance, measureText(L"45\u00B0", kArial, unit).advance, kExact);
    EXPECT_NEAR(measureText(L"%%uKM%%u", kArial, unit).advance, measureText(L"KM", kArial, unit).advance, kExact);
    EXPECT_TRUE(measureText(L"", kArial, unit).empty);
}

TEST(FontResolution, NamesAreReducedToTheirStem)
{
    EXPECT_EQ(fontNameStem(L"C:\\Windows\\Fonts\\Arial.TTF"), "arial");
    EXPECT_EQ(fontNameStem(L"romans.shx"), "romans");
    EXPECT_EQ(fontNameStem(L".VnArial.ttf"), ".vnarial");
    EXPECT_EQ(fontNameStem(L"Times New Roman"), "times new roman");
    EXPECT_TRUE(isShapeFontName(L"txt"));
    EXPECT_TRUE(isShapeFontName(L"ISOCP.SHX"));
    EXPECT_TRUE(isShapeFontName(L"mycompany.shx"));
    EXPECT_FALSE(isShapeFontName(L"arial.ttf"));
    EXPECT_FALSE(isShapeFontName(L".VnArial"));
    EXPECT_FALSE(isShapeFontName(L""));
}

TEST(FontResolution, ShapeFontsAndUnknownNamesTakeTheFallback)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    FontResolver& resolver = FontResolver::instance();
    for (const wchar_t* name : {L"txt", L"txt.shx", L"romans.shx", L"", L"NoSuchFontAnywhere.ttf"}) {
        const ResolvedFont& f = resolver.resolve(name);
        EXPECT_EQ(f.source, FontSource::Fallback) << name;
        EXPECT_EQ(f.path, outlineFont()->path) << name;
    }
}

TEST(FontResolution, FindsInstalledFontsByFileNameAndFamily)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    const std::string stem = std::filesystem::path(outlineFont()->path).stem().string();
    const std::wstring byFile(stem.begin(), stem.end());
    FontResolver& resolver = FontResolver::instance();
    EXPECT_EQ(resolver.resolve(byFile + L".ttf").source, FontSource::SystemFont);
    EXPECT_EQ(resolver.resolve(byFile + L".ttf").path, outlineFont()->path);
    if (resolver.fallback().path.find("DejaVuSans.ttf") != std::string::npos) {
        EXPECT_EQ(resolver.resolve(L"DejaVu Sans").source, FontSource::SystemFont);
    }
}

TEST(FontResolution, TheExtraFolderComesFirst)
{
    if (!outlineFont()) GTEST_SKIP() << "no outline font installed";
    const auto folder = fendo::test::scratchDir("font-folder");
    std::filesystem::copy_file(outlineFont()->path, folder / "RoadLabels.ttf",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(outlineFont()->path, folder / ".VnArial.ttf",
                               std::filesystem::copy_options::overwrite_existing);

    FontResolver resolver(FontResolverOptions{folder.string(), SystemFonts::Use});
    const ResolvedFont& road = resolver.resolve(L"roadlabels.ttf");
    EXPECT_EQ(road.source, FontSource::FontFolder);
    EXPECT_EQ(road.path, (folder / "RoadLabels.ttf").string());
    EXPECT_EQ(resolver.resolve(L".VnArial.ttf").path, (folder / ".VnArial.ttf").string());
    EXPECT_EQ(resolver.resolve(L"romans.shx").source, FontSource::Fallback);
    std::filesystem::remove_all(folder);
}
