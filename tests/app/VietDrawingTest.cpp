// Vietnamese drawings end to end: drawings written by ezdxf with TCVN3, TCVN3-capitals and VNI
// styles are converted by fendo --to-unicode, --to-tcvn3 and TOUNICODE, read back by ezdxf and
// compared text by text; pictures of 8-bit texts match pictures of their Unicode form.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "host/db/AcString.h"
#include "support/TestSupport.h"
#include "support/VietLetters.h"

namespace
{

namespace fs = std::filesystem;
using namespace fendo::test;

std::string hex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

std::string unhex(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

std::string withoutBlanks(std::string s)
{
    std::erase(s, ' ');
    return s;
}

// One text of the test drawing: where it goes, its style, its bytes as an old machine stored them
// and the Unicode it must become.
struct Case {
    std::string name;  // the layer the text is on, which names it in the results
    std::string kind;  // text, mtext, attdef, attrib, dimension
    std::string style;
    std::string bytes;
    std::wstring unicode;
};

std::vector<Case> letterCases()
{
    std::vector<Case> cases;
    for (std::size_t r = 0; r < std::size(kSmall); ++r) {
        const std::string n = std::to_string(r);
        cases.push_back({"tcvn3-" + n, "text", "VNT", kSmall[r].tcvn3, kSmall[r].letters});
        cases.push_back({"caps-" + n, "text", "VNTH", kCapitals[r].tcvn3, kCapitals[r].letters});
        cases.push_back({"vni-" + n, "text", "VNI", withoutBlanks(kSmall[r].vni), kSmall[r].letters});
        cases.push_back({"vnicaps-" + n, "text", "VNI", withoutBlanks(kCapitals[r].vni), kCapitals[r].letters});
    }
    std::string plainCapitals;
    std::wstring plainCapitalLetters;
    for (const auto& [letter, byte] : kTcvn3PlainCapitals) {
        plainCapitals.push_back(byte);
        plainCapitalLetters.push_back(letter);
    }
    cases.push_back({"tcvn3-capitals", "text", "VNT", plainCapitals, plainCapitalLetters});
    return cases;
}

std::vector<Case> otherCases()
{
    return {
        {"words", "text", "VNA", "\xA7\xAD\xEAng Vi\xD6t Nam", L"Đường Việt Nam"},
        {"ascii", "text", "VNT", "Km 0+100", L"Km 0+100"},
        {"mtext", "mtext", "Standard",
         "{\\f.VnArial|b0|i0|c0|p34;Cao \xAE\xE9} m {\\fVNI-Times|b0;Vie\xE4t}\\P\\f.VnTimeH;\xAE\xE9",
         L"{\\fArial|b0|i0|c0|p34;Cao độ} m {\\fTimes New Roman|b0;Việt}\\P\\fTimes New Roman;ĐỘ"},
        {"mtext-style", "mtext", "VNT", "\\A1;C\xB8t {\\fArial|b0;\xB5}", L"\\A1;Cát {\\fArial|b0;\xB5}"},
        {"attdef", "attdef", "VNT", "\xA7i\xD3m", L"Điểm"},
        {"attrib", "attrib", "VNT", "Cao \xAE\xE9", L"Cao độ"},
        {"multileader", "multileader", "VNT", "Cao \xAE\xE9", L"Cao độ"},
        {"dimension", "dimension", "VNT",
         "Kho\xB6ng c\xB8"
         "ch <>",
         L"Khoảng cách <>"},
    };
}

// Python writing the cases with ezdxf. `encode` says how the file keeps 8-bit texts: "latin-1"
// gives the code points ezdxf writes to UTF-8 files, "cp1258" the bytes an R2000 file written on
// Vietnamese Windows holds.
std::string writerScript(const std::vector<Case>& cases, const fs::path& out, const std::string& version,
                         const std::string& encode)
{
    std::string py = "import ezdxf, ezdxf.math, ezdxf.render.mleader\n"
                     "doc = ezdxf.new('" +
                     version + "')\n";
    if (encode == "cp1258") py += "doc.header['$DWGCODEPAGE'] = 'ANSI_1258'\n";
    py += "doc.styles.new('VNT', dxfattribs={'font': '.VnTime'})\n"
          "doc.styles.new('VNTH', dxfattribs={'font': 'VNTIMEH.TTF'})\n"
          "doc.styles.new('VNA', dxfattribs={'font': 'vnarial.ttf'})\n"
          "doc.styles.new('VNI', dxfattribs={'font': 'VNI-Times.ttf'})\n"
          "ds = doc.dimstyles.new('VNDIM')\n"
          "ds.dxf.dimtxsty = 'VNT'\n"
          "msp = doc.modelspace()\n"
          "def t(h): return bytes.fromhex(h).decode('" +
          encode +
          "')\n"
          "y = 0\n";
    for (const Case& c : cases) {
        const std::string text = "t('" + hex(c.bytes) + "')";
        const std::string attribs = "{'layer': L, 'style': '" + c.style + "'}";
        py += "L = t('" + hex(c.name) + "')\ndoc.layers.new(L)\ny += 10\n";
        if (c.kind == "text") {
            py += "msp.add_text(" + text + ", dxfattribs=" + attribs + ").set_placement((0, y))\n";
        } else if (c.kind == "mtext") {
            py += "msp.add_mtext(" + text + ", dxfattribs=" + attribs + ").dxf.insert = (0, y)\n";
        } else if (c.kind == "attdef") {
            py += "blk = doc.blocks.new('MARK')\n"
                  "blk.add_attdef('T" +
                  hex(c.bytes).substr(0, 2) + "', (0, 0), text=" + text + ", dxfattribs=" + attribs +
                  ").dxf.prompt = " + text + "\n";
        } else if (c.kind == "attrib") {
            py += "ref = msp.add_blockref('MARK', (0, y), dxfattribs={'layer': L})\n"
                  "ref.add_attrib('V', " +
                  text + ", (0, y), dxfattribs=" + attribs + ")\n";
        } else if (c.kind == "multileader") {
            py += "ml = msp.add_multileader_mtext('Standard', dxfattribs={'layer': L})\n"
                  "ml.set_content(" +
                  text + ", style='" + c.style +
                  "')\n"
                  "ml.add_leader_line(ezdxf.render.mleader.ConnectionSide.left, [(-10, y - 5)])\n"
                  "ml.build(insert=ezdxf.math.Vec2(0, y))\n";
        } else if (c.kind == "dimension") {
            py += "msp.add_linear_dim(base=(0, y + 5), p1=(0, y), p2=(30, y), text=" + text +
                  ", dimstyle='VNDIM', dxfattribs={'layer': L}).render()\n";
        }
    }
    py += "doc.saveas(r'" + out.string() + "')\n";
    return py;
}

// Every text ezdxf reads from `path`, by layer: "layer" for the entity's text, "layer.prompt" and
// "layer.tag" for attribute definitions; texts as UTF-8. Style fonts under "style.NAME".
std::map<std::string, std::string> readTexts(const fs::path& path)
{
    const std::string py =
        "import ezdxf\n"
        "doc = ezdxf.readfile(r'" +
        path.string() +
        "')\n"
        "def out(k, v): print(k, v.encode('utf-8').hex())\n"
        "for e in doc.modelspace():\n"
        "    t = e.dxftype()\n"
        "    if t == 'TEXT': out(e.dxf.layer, e.dxf.text); out(e.dxf.layer + '.style', e.dxf.style)\n"
        "    elif t == 'MTEXT': out(e.dxf.layer, e.text)\n"
        "    elif t == 'DIMENSION': out(e.dxf.layer, e.dxf.text)\n"
        "    elif t == 'MULTILEADER': out(e.dxf.layer, e.context.mtext.default_content)\n"
        "    elif t == 'INSERT':\n"
        "        for a in e.attribs: out(e.dxf.layer, a.dxf.text)\n"
        "for e in doc.blocks.get('MARK') or []:\n"
        "    if e.dxftype() == 'ATTDEF':\n"
        "        out(e.dxf.layer, e.dxf.text); out(e.dxf.layer + '.prompt', e.dxf.prompt)\n"
        "for s in doc.styles: out('style.' + s.dxf.name, s.dxf.font)\n"
        "for l in doc.layers: out('layer.' + l.dxf.name, l.dxf.name)\n";
    const RunResult run = runPython(py);
    std::map<std::string, std::string> texts;
    std::size_t at = 0;
    while (at < run.output.size()) {
        const std::size_t end = std::min(run.output.find('\n', at), run.output.size());
        const std::string line = run.output.substr(at, end - at);
        at = end + 1;
        const std::size_t blank = line.rfind(' ');
        if (blank != std::string::npos) texts[line.substr(0, blank)] = unhex(line.substr(blank + 1));
    }
    if (run.exitCode != 0) ADD_FAILURE() << run.output;
    return texts;
}

fs::path writeDrawing(const std::vector<Case>& cases, const std::string& name, const std::string& version = "R2010",
                      const std::string& encode = "latin-1")
{
    const fs::path path = scratchDir("viet-drawing") / name;
    const RunResult run = runPython(writerScript(cases, path, version, encode));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return path;
}

void expectUnicode(const std::map<std::string, std::string>& texts, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        const auto it = texts.find(c.name);
        ASSERT_NE(it, texts.end()) << c.name;
        EXPECT_EQ(it->second, fendo::toUtf8(c.unicode)) << c.name;
    }
}

class VietDrawing : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!haveEzdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
    }
};

TEST_F(VietDrawing, EveryLetterOfEveryEncodingBecomesUnicodeAndStylesGetUnicodeFonts)
{
    std::vector<Case> cases = letterCases();
    for (Case& c : otherCases())
        cases.push_back(c);
    for (const auto& [version, encode] : {std::pair{"R2010", "latin-1"}, {"R2000", "cp1258"}}) {
        SCOPED_TRACE(version);
        const fs::path in = writeDrawing(cases, std::string("letters-") + version + ".dxf", version, encode);
        const fs::path out = scratchDir("viet-drawing") / (std::string("letters-") + version + "-unicode.dxf");
        const RunResult run = runFendo({"--no-module", in.string(), "--to-unicode", "-o", out.string()});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const auto texts = readTexts(out);
        expectUnicode(texts, cases);
        EXPECT_EQ(texts.at("attdef.prompt"), "Điểm");
        EXPECT_EQ(texts.at("style.VNT"), "times.ttf");
        EXPECT_EQ(texts.at("style.VNTH"), "times.ttf");
        EXPECT_EQ(texts.at("style.VNA"), "arial.ttf");
        EXPECT_EQ(texts.at("style.VNI"), "times.ttf");
        // The report counts the changed objects by kind; layer names need --names.
        EXPECT_NE(run.output.find("TEXT: 54"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("ATTDEF: 1"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("ATTRIB: 1"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("DIMENSION: 1"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("MULTILEADER: 1"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("STYLE: 4"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("LAYER"), std::string::npos) << run.output;
    }
}

TEST_F(VietDrawing, ConvertingTwiceChangesNothingTheSecondTime)
{
    const fs::path in = writeDrawing(otherCases(), "twice.dxf");
    const fs::path once = scratchDir("viet-drawing") / "once.dxf", twice = scratchDir("viet-drawing") / "twice-out.dxf";
    ASSERT_EQ(runFendo({"--no-module", in.string(), "--to-unicode", "-o", once.string()}).exitCode, 0);
    const RunResult run = runFendo({"--no-module", once.string(), "--to-unicode", "-o", twice.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("No texts to convert."), std::string::npos) << run.output;
    EXPECT_EQ(readTexts(once), readTexts(twice));
}

TEST_F(VietDrawing, BackToTcvn3GivesTheOldBytes)
{
    std::vector<Case> cases;
    for (const Case& c : letterCases())
        if (c.style == "VNT") cases.push_back(c);
    const fs::path in = writeDrawing(cases, "back.dxf");
    const fs::path unicode = scratchDir("viet-drawing") / "back-unicode.dxf";
    const fs::path back = scratchDir("viet-drawing") / "back-tcvn3.dxf";
    ASSERT_EQ(runFendo({"--no-module", in.string(), "--to-unicode", "-o", unicode.string()}).exitCode, 0);
    const RunResult run = runFendo({"--no-module", unicode.string(), "--to-tcvn3", "-o", back.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto texts = readTexts(back);
    for (const Case& c : cases) {
        std::wstring latin1;
        for (char b : c.bytes)
            latin1.push_back(static_cast<wchar_t>(static_cast<unsigned char>(b)));
        EXPECT_EQ(texts.at(c.name), fendo::toUtf8(latin1)) << c.name;
    }
    EXPECT_EQ(texts.at("style.VNT"), "vntime.ttf");
}

TEST_F(VietDrawing, TheHostCommandConvertsTheSelectionOrEverything)
{
    const std::vector<Case> cases = {{"one", "text", "VNT", "\xAE\xE9", L"độ"},
                                     {"two", "text", "VNI", "Vie\xE4t", L"Việt"},
                                     {"three", "text", "VNT", "C\xB8t", L"Cát"}};
    const fs::path in = writeDrawing(cases, "command.dxf");
    const fs::path picked = scratchDir("viet-drawing") / "command-picked.dxf";
    const fs::path all = scratchDir("viet-drawing") / "command-all.dxf";
    // The first text lies at (0, 10); its pick converts it alone. Its style still serves the
    // third text, which stays TCVN3: the converted one gets a copy of the style in a Unicode font.
    RunResult run = runFendo({"--no-module", in.string(), "-o", picked.string()}, "TOUNICODE\n0.5,10.5\n\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    auto texts = readTexts(picked);
    EXPECT_EQ(texts.at("one"), "độ");
    EXPECT_EQ(texts.at("one.style"), "VNT Unicode");
    EXPECT_EQ(texts.at("style.VNT Unicode"), "times.ttf");
    EXPECT_EQ(texts.at("two"), "Vie\u00E4t");
    EXPECT_EQ(texts.at("three"), "C\u00B8t");
    EXPECT_EQ(texts.at("style.VNT"), ".VnTime");

    run = runFendo({"--no-module", in.string(), "-o", all.string()}, "TOUNICODE\n\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("TEXT: 3"), std::string::npos) << run.output;
    texts = readTexts(all);
    EXPECT_EQ(texts.at("one"), "độ");
    EXPECT_EQ(texts.at("two"), "Việt");
    EXPECT_EQ(texts.at("three"), "Cát");
    EXPECT_EQ(texts.at("one.style"), "VNT");
    EXPECT_EQ(texts.count("style.VNT Unicode"), 0u);

    // A word after the command other than "names" is refused before anything changes.
    run = runFendo({"--no-module", in.string()}, "TOUNICODE everything\n");
    EXPECT_NE(run.output.find("Expected nothing or \"names\""), std::string::npos) << run.output;
}

TEST_F(VietDrawing, APictureOfTcvn3TextsMatchesThePictureOfTheirUnicodeForm)
{
    std::vector<Case> cases;
    for (const Case& c : letterCases())
        if (c.name.starts_with("tcvn3") || c.name.starts_with("vni-")) cases.push_back(c);
    cases.push_back(otherCases()[0]);
    const fs::path in = writeDrawing(cases, "picture.dxf");
    const fs::path unicode = scratchDir("viet-drawing") / "picture-unicode.dxf";
    ASSERT_EQ(runFendo({"--no-module", in.string(), "--to-unicode", "-o", unicode.string()}).exitCode, 0);
    const fs::path dir = scratchDir("viet-drawing");
    // No window: the picture is fitted to the drawing's extents, which come from measuring the texts.
    const std::vector<std::string> window = {"--size", "400x1600"};
    auto render = [&](const fs::path& drawing, const std::string& picture) {
        std::vector<std::string> args = {"--no-module", drawing.string(), "--render", (dir / picture).string()};
        args.insert(args.end(), window.begin(), window.end());
        const RunResult run = runFendo(args);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return readFile(dir / picture);
    };
    const std::string before = render(in, "before.svg");
    EXPECT_EQ(before, render(unicode, "after.svg"));
    // ... and differs from the picture of the bytes taken as Latin-1 in a Unicode style.
    const fs::path latin = dir / "picture-latin.dxf";
    const RunResult run =
        runPython("import ezdxf\ndoc = ezdxf.readfile(r'" + in.string() +
                  "')\nfor s in doc.styles: s.dxf.font = 'times.ttf'\ndoc.saveas(r'" + latin.string() + "')\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(before, render(latin, "latin.svg"));
}

}  // namespace
