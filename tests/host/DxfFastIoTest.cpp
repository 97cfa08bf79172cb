// The fast paths of DXF reading and writing against their general forms: numbers written
// with few decimals, groups read in place, and the parallel load of big files against the
// plain one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <cmath>
#include <cstring>
#include <random>
#include <tuple>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/db/entities/EntityUtil.h"
#include "host/dxf/DxfChunks.h"
#include "host/dxf/DxfExport.h"
#include "host/dxf/DxfIo.h"
#include "host/dxf/DxfOutput.h"
#include "host/dxf/DxfTagReader.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

using fendo::dxf::DxfOutput;
using fendo::dxf::DxfTag;
using fendo::dxf::DxfTagReader;

namespace {

std::string formatted(double v)
{
    char tmp[48];
    return std::string(tmp, DxfOutput::formatDouble(tmp, v));
}

// What the writer gave before its own paths: std::to_chars and ".0" for integers.
std::string reference(double v)
{
    char tmp[48];
    if (v == 0.0) v = 0.0;
    return std::string(tmp, DxfOutput::formatWithToChars(tmp, v));
}

// Doubles of every kind, from their bits: any sign, exponent and digits, subnormals too, and
// the values of many digits faceting and offsets make. The shortest form must be to_chars's
// text, character for character.
TEST(DxfNumberFormat, TheShortestFormIsTheTextOfToChars)
{
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> coordinate(-2e6, 2e6);
    auto check = [](double v) {
        char tmp[48];
        ASSERT_EQ(std::string(tmp, DxfOutput::formatShortest(tmp, v)), reference(v)) << std::hexfloat << v;
    };
    for (int i = 0; i < 200000; ++i) {
        double bits;
        const std::uint64_t raw = rng();
        std::memcpy(&bits, &raw, sizeof bits);
        if (std::isfinite(bits)) check(bits);
        check(coordinate(rng));
        check(std::ldexp(coordinate(rng), -30 + i % 80));
    }
    for (double v : {5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 1e22, 1e23, 9007199254740993.0,
                     0.1, 1.0 / 3.0, 123456.0, 1e15, 1e16, 1e-5, 1.5e-5, 0.0001, 0.00012345678901234})
        for (double s : {1.0, -1.0}) check(s * v);
}

TEST(DxfNumberFormat, FewDecimalsGiveTheDigitsOfTheShortestForm)
{
    std::vector<double> values = {0.0,   -0.0,   1.0,     -1.0,   10.0,   100000.0, 1000000.0, 1234567.0, 0.5,
                                  0.001, 0.0001, 0.00012, 12.75,  -7.25,  1e14,     123456789012345.0,
                                  5e14,  6e14,   0.1,     0.2,    0.3,    2.675,    1e-7,      9.999999999,
                                  99.99, 1e21,   1e-300,  4.9e-324, 1.7e308, 123.456e10, 0.015625};
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    for (int i = 0; i < 20000; ++i) {
        // Survey-like values: whole millimetres and centimetres, products as a generator makes them.
        values.push_back(static_cast<double>(cents(rng)) / 1000.0);
        values.push_back(static_cast<double>(cents(rng) % 100000) * 10.123);
        values.push_back((i % 1000) * 10.456 + 1.75);
        values.push_back(any(rng));
        values.push_back(std::ldexp(any(rng), -40));
        // Grid coordinates of millions of metres, on both sides of where the one test at
        // eight decimals stops being exact.
        values.push_back(static_cast<double>(cents(rng)) / 10.0 + 5e6);
        values.push_back(static_cast<double>(cents(rng)) / 1000.0 * 60.0);
        // Every count of decimals up to ten, so that every count of trailing zeros at eight
        // decimals is met.
        values.push_back(static_cast<double>(cents(rng)) / std::pow(10.0, i % 11));
    }
    for (double v : values) ASSERT_EQ(formatted(v), reference(v)) << std::hexfloat << v;
    for (double v : values) {
        const std::string text = formatted(v);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(back, v == 0.0 ? 0.0 : v) << text;
    }
}

// Every group as the general path reads it: the fast path of the tag reader must agree on
// code, value and line for the forms files come in (CR LF, padded codes, blank lines).
TEST(DxfTagReading, UsualAndUnusualLineFormsReadAlike)
{
    const std::string text =
        "  0\r\nSECTION\r\n  2\nHEADER\n\n  9\n$ACADVER\n1 \nAC1021\n\t 70\n  5\n 010\n-1.5\r\n  1\n\n"
        "-5\nneg\n  0\nEOF";
    DxfTagReader reader(text);
    std::vector<std::tuple<int, std::string, int>> got;
    DxfTag tag;
    while (reader.next(tag)) got.emplace_back(tag.code, std::string(tag.value), tag.line);
    EXPECT_TRUE(reader.error().empty()) << reader.error();
    const std::vector<std::tuple<int, std::string, int>> expected = {
        {0, "SECTION", 1}, {2, "HEADER", 3},  {9, "$ACADVER", 6}, {1, "AC1021", 8}, {70, "  5", 10},
        {10, "-1.5", 12},  {1, "", 14},       {-5, "neg", 16},    {0, "EOF", 18}};
    EXPECT_EQ(got, expected);

    const std::string withNul = std::string("  1\nab") + '\0' + "c\n  0\nEOF\n";
    DxfTagReader bad(withNul);
    EXPECT_FALSE(bad.next(tag));
    EXPECT_EQ(bad.error(), "line 2: group code 1: expected text, found a NUL byte");
}

// Texts with a byte the loader must decode (beyond ASCII, a backslash, a caret) or the writer
// must encode (a control character, a caret) at every place of two sixteen-byte windows and
// the eight-byte one after them, in lines that end anywhere near the end of the data: the reader marks a value plain exactly
// when no such byte is in it, and the writer encodes exactly what the general test finds.
TEST(DxfTagReading, PlainValuesAreToldFromTextsToDecodeAtEveryPlace)
{
    const std::string odd[] = {"\xC3\xA9", "\\", "^", "^J"};
    for (size_t length = 0; length <= 44; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            for (const std::string& mark : odd) {
                for (const bool marked : {false, true}) {
                    std::string value(length, 'x');
                    if (marked) value.insert(at, mark);
                    for (const char* tail : {"\n  0\nEOF\n", "\r\n", "\n"}) {
                        const std::string text = "  1\n" + value + tail;
                        DxfTagReader reader(text);
                        DxfTag tag;
                        ASSERT_TRUE(reader.next(tag)) << reader.error();
                        ASSERT_EQ(tag.value, value);
                        EXPECT_EQ(tag.plain, !marked) << "'" << value << "'";
                    }
                }
            }
            // The writer (eight bytes at a time): a control character or a caret written as the
            // general test says.
            if (length > 20) continue;
            for (const char c : {'\n', '\t', '^', '\x1F', ' '}) {
                std::string value(length, 'y');
                value.insert(at, 1, c);
                DxfOutput out;
                out.group(1, value);
                std::string expected = "  1\n";
                if (DxfOutput::needsCaret(value)) {
                    DxfOutput encoded;
                    encoded.appendCaretEncoded(value);
                    expected += encoded.buffer();
                } else {
                    expected += value;
                }
                EXPECT_EQ(out.buffer(), expected + "\n") << "'" << value << "'";
            }
        }
    }
}

// Numbers read by the filer's quick path for plain decimals against the general reader, for
// the digit counts and forms on either side of where the quick path gives way.
TEST(DxfFilerNumbers, PlainDecimalsReadAsTheGeneralReaderReadsThem)
{
    std::vector<std::string> texts = {"0",    "-0.0", "0.0",   "12.345", "-7.25",  "1e5",     "1.5E-3", ".5",
                                      "5.",   "+2.5", " 3.25", "4.5 ",   "-",      "1.2.3",   "0.1",    "0.3",
                                      "2.675", "123456789012345", "1234567890123456", "17.372999999999998",
                                      "0.0000000000000000000001", "0.00000000000000000000001", "9007199254740993"};
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) {
        std::string t = rng() % 2 ? "-" : "";
        const int whole = 1 + static_cast<int>(rng() % 10), decimals = static_cast<int>(rng() % 14);
        for (int d = 0; d < whole; ++d) t += static_cast<char>('0' + rng() % 10);
        if (decimals) t += '.';
        for (int d = 0; d < decimals; ++d) t += static_cast<char>('0' + rng() % 10);
        texts.push_back(t);
    }
    AcDbDxfFiler filer(nullptr);
    for (const std::string& t : texts) {
        const fendo::db::TagView tags[] = {{40, t}};
        filer.setInput(std::span<const fendo::db::TagView>(tags));
        resbuf rb{};
        const Acad::ErrorStatus es = filer.readItem(&rb);
        std::string_view s = fendo::dxf::trimmed(t);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        double expected = 0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), expected);
        const bool readable = !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
        ASSERT_EQ(es == Acad::eOk, readable) << t;
        if (readable) {
            ASSERT_EQ(rb.resval.rreal, expected) << t;
            ASSERT_EQ(std::signbit(rb.resval.rreal), std::signbit(expected)) << t;
        }
    }
}

// The filer remembers the last record found per table: names shared by several tables, and
// a record erased between two lookups, still give the right record.
TEST(DxfFilerNumbers, SymbolLookupsKeepTablesApartAndSeeErasedRecords)
{
    AcDbDatabase db;
    AcDbDxfFiler filer(&db);
    const AcDbObjectId tables[] = {db.layerTableId(), db.linetypeTableId(), db.textStyleTableId()};
    AcDbObjectId made[3];
    for (int round = 0; round < 3; ++round)
        for (int t = 0; t < 3; ++t) {
            const AcDbObjectId id = filer.symbolId(tables[t], L"SHARED", true);
            ASSERT_FALSE(id.isNull());
            if (round == 0) made[t] = id;
            EXPECT_EQ(id, made[t]) << "table " << t << ", round " << round;
        }
    EXPECT_NE(made[0], made[1]);
    EXPECT_NE(made[1], made[2]);
    AcDbObject* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, made[0], AcDb::kForWrite), Acad::eOk);
    layer->erase();
    layer->close();
    EXPECT_TRUE(filer.symbolId(tables[0], L"SHARED", false).isNull());
    const AcDbObjectId again = filer.symbolId(tables[0], L"SHARED", true);
    EXPECT_FALSE(again.isNull());
    EXPECT_NE(again, made[0]);
    EXPECT_EQ(filer.symbolId(tables[1], L"SHARED", false), made[1]);
}

// The object coordinate system matrices are kept for the last normal asked for: normals that
// change from call to call, and zeros of either sign, still give the matrix made anew.
TEST(DxfFastIo, OcsMatricesFollowEveryChangeOfNormal)
{
    const AcGeVector3d normals[] = {{0, 0, 1}, {0, 0, -1}, {-0.0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {0, 0, 2},
                                    {0.6, 0, 0.8}, {0.6, 0, 0.8}, {0, -0.0, 1}, {0.001, 0.002, 1}};
    auto same = [](const AcGeMatrix3d& a, const AcGeMatrix3d& b) { return std::memcmp(a.entry, b.entry, sizeof a.entry) == 0; };
    for (int round = 0; round < 2; ++round)
        for (const AcGeVector3d& n : normals) {
            const AcGeVector3d unit = fendo::db::ent::unitNormal(n);
            EXPECT_TRUE(same(fendo::db::ent::ocsToWcs(n), AcGeMatrix3d::planeToWorld(unit))) << n.x << " " << n.y << " " << n.z;
            EXPECT_TRUE(same(fendo::db::ent::wcsToOcs(n), AcGeMatrix3d::worldToPlane(unit))) << n.x << " " << n.y << " " << n.z;
        }
}

// ---------------------------------------------------------------------------- parallel load

// The settings of the parallel load, put back at the end of a test.
class PartSettings {
public:
    PartSettings(std::size_t threshold, std::size_t partBytes, unsigned threads) : m_saved(fendo::dxf::parallelLoadSettings())
    {
        fendo::dxf::parallelLoadSettings() = {threshold, partBytes, threads};
    }
    ~PartSettings() { fendo::dxf::parallelLoadSettings() = m_saved; }

private:
    fendo::dxf::ParallelLoadSettings m_saved;
};

// A survey-like drawing of count objects (lines, bulged and 3D polylines, texts, block
// references), saved in the version asked for.
std::string surveyDrawing(long count, fendo::dxf::DxfVersion version)
{
    AcDbDatabase db;
    const AcDbObjectId block =
        fendo::test::addBlock(db, L"SPOT", {new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 0.5)});
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
    const wchar_t* texts[] = {L"12.345", L"0", L"Mốc GPS\nđỉnh", L"hai\ndòng ^ và ^J", L"  0"};
    for (long i = 0; i < count; ++i) {
        const double x = (i % 100) * 10.123, y = (i / 100) * 10.456;
        AcDbEntity* ent = nullptr;
        switch (i % 10) {
        case 0:
        case 1:
        case 2:
        case 3: ent = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 7.25, y + 3.5, 12.75)); break;
        case 4:
        case 5: {
            auto* pl = new AcDbPolyline;
            for (unsigned v = 0; v < 4; ++v) pl->addVertexAt(v, AcGePoint2d(x + v * 2.5, y + (v % 2) * 1.75), v == 1 ? 0.5 : 0.0);
            ent = pl;
            break;
        }
        case 6: {
            AcGePoint3dArray pts;
            for (int v = 0; v < 6; ++v) pts.append(AcGePoint3d(x + v * 1.5, y + (v % 3) * 0.75, 10 + v * 0.125));
            ent = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts);
            break;
        }
        case 7:
        case 8: {
            ent = new AcDbText(AcGePoint3d(x, y, 0), texts[(i / 10) % 5], AcDbObjectId::kNull, 2.5);
            break;
        }
        default: ent = new AcDbBlockReference(AcGePoint3d(x + 5, y + 5, 12.5), block); break;
        }
        ms->appendAcDbEntity(ent);
        ent->close();
    }
    ms->close();
    fendo::dxf::DxfWriteOptions options;
    options.version = version;
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    fendo::dxf::writeDxfStream(db, f, options);
    std::fclose(f);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// Adds what no class of the host reads: extended data on every 7th line, an entity of an
// unknown type after every 50th record of the ENTITIES section (some without a handle), and
// comments.
std::string withUnknownContent(const std::string& dxf)
{
    std::string out;
    out.reserve(dxf.size() + dxf.size() / 8);
    size_t at = 0, records = 0;
    bool inEntities = false, lineRecord = false;
    while (at < dxf.size()) {
        const size_t codeEnd = dxf.find('\n', at);
        const size_t valueEnd = dxf.find('\n', codeEnd + 1);
        const std::string_view code(dxf.data() + at, codeEnd - at);
        const std::string_view value(dxf.data() + codeEnd + 1, valueEnd - codeEnd - 1);
        if (code == "  0") {
            if (lineRecord && records % 7 == 0) out += "1001\nFENDO_SURVEY\n1000\nđiểm đo\n1040\n2.5\n1070\n     3\n";
            if (inEntities && records % 50 == 0 && value != "SEQEND" && value != "VERTEX")
                // Every other one has no handle: it gets one above all the file holds.
                out += "  0\nFENDO_MARK\n" + (records % 100 ? "  5\n" + std::to_string(900000 + records) + "\n" : "") +
                       "100\nAcDbEntity\n  8\n0\n100\nFendoMark\n 10\n1.5\n 20\n2.5\n  1\nmốc ^J\n999\nghi chú\n";
            lineRecord = value == "LINE";
            ++records;
        }
        if (code == "  2" && value == "ENTITIES") inEntities = true;
        if (code == "  0" && value == "ENDSEC") inEntities = false;
        out.append(dxf, at, valueEnd + 1 - at);
        at = valueEnd + 1;
    }
    return out;
}

struct LoadResult {
    Acad::ErrorStatus status = Acad::eOk;
    std::string error;
    std::string saved;  // the drawing saved again, when it loaded
};

// Bytes in memory handed out as a file read in windows gives them, at most `most` a call.
class MemoryWindows : public fendo::dxf::DxfByteSource {
public:
    explicit MemoryWindows(std::string_view data, std::size_t most = SIZE_MAX, std::size_t failAt = SIZE_MAX)
        : m_data(data), m_most(most), m_failAt(failAt)
    {
    }
    long read(char* to, std::size_t room) override
    {
        if (m_offset >= m_failAt) {
            errno = EIO;
            return -1;
        }
        const std::size_t n = std::min({room, m_most, m_data.size() - m_offset});
        std::memcpy(to, m_data.data() + m_offset, n);
        m_offset += n;
        return static_cast<long>(n);
    }

private:
    std::string_view m_data;
    std::size_t m_most, m_failAt, m_offset = 0;
};

LoadResult loadAndSave(const std::string& dxf, fendo::dxf::DxfByteSource* windows = nullptr, std::size_t windowBytes = 0)
{
    LoadResult r;
    AcDbDatabase db(false);
    r.status = fendo::dxf::readDxfData(db, dxf, "survey.dxf", &r.error, windows, windowBytes);
    if (r.status != Acad::eOk) return r;
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    fendo::dxf::writeDxfStream(db, f, {});
    std::fclose(f);
    r.saved.assign(buffer, size);
    std::free(buffer);
    return r;
}

LoadResult plainLoad(const std::string& dxf)
{
    PartSettings plain(std::string::npos, 1, 1);
    return loadAndSave(dxf);
}

LoadResult partLoad(const std::string& dxf, std::size_t partBytes)
{
    PartSettings parts(0, partBytes, 3);
    return loadAndSave(dxf);
}

LoadResult windowLoad(const std::string& dxf, std::size_t windowBytes, std::size_t most = SIZE_MAX)
{
    PartSettings plain(std::string::npos, 1, 1);
    MemoryWindows windows(dxf, most);
    return loadAndSave(dxf, &windows, windowBytes);
}

// Copies of a drawing with faults: a coordinate that is no number, a code line that is no
// code, a cut inside a group, a file cut short in a record, two faults.
std::vector<std::string> damagedCopies(const std::string& dxf)
{
    auto damaged = [&](double where, std::string_view from, std::string_view to) {
        std::string copy = dxf;
        const size_t at = copy.find(from, static_cast<size_t>(where * copy.size()));
        EXPECT_NE(at, std::string::npos);
        copy.replace(at, from.size(), to);
        return copy;
    };
    return {
        damaged(0.6, "\n 20\n", "\n 20\nabc\n 20\n"),
        damaged(0.7, "\n  8\n", "\n 8x\n"),
        damaged(0.5, "\n  0\nLINE\n", "\n  1\n0\nLINE\n") + damaged(0.9, "\n 10\n", "\n 10\n1..5\n 10\n"),
        dxf.substr(0, dxf.size() * 3 / 4),
        damaged(0.2, "\n 10\n", "\n 10\nx\n 10\n") + damaged(0.8, "\n 10\n", "\n 10\ny\n 10\n"),
    };
}

TEST(DxfParallelLoad, GivesTheObjectsHandlesAndBytesOfThePlainLoad)
{
    fendo::dxf::registerDxfClasses();
    for (auto version : {fendo::dxf::DxfVersion::R2007, fendo::dxf::DxfVersion::R2000}) {
        const std::string dxf = withUnknownContent(surveyDrawing(20000, version));
        ASSERT_GT(dxf.size(), 3u << 20);
        const LoadResult plain = plainLoad(dxf);
        ASSERT_EQ(plain.status, Acad::eOk) << plain.error;
        ASSERT_NE(plain.saved.find("FENDO_MARK"), std::string::npos);
        ASSERT_NE(plain.saved.find("FENDO_SURVEY"), std::string::npos);
        for (std::size_t partBytes : {std::size_t(1) << 20, std::size_t(40000), std::size_t(3000)}) {
            const LoadResult parts = partLoad(dxf, partBytes);
            ASSERT_EQ(parts.status, Acad::eOk) << parts.error;
            EXPECT_TRUE(parts.saved == plain.saved) << "parts of " << partBytes << " bytes";
        }
    }
}

TEST(DxfParallelLoad, ReportsTheFirstFaultOfADamagedFileAsThePlainLoad)
{
    fendo::dxf::registerDxfClasses();
    const std::vector<std::string> files = damagedCopies(withUnknownContent(surveyDrawing(4000, fendo::dxf::DxfVersion::R2007)));
    for (size_t i = 0; i < files.size(); ++i) {
        const LoadResult plain = plainLoad(files[i]);
        ASSERT_NE(plain.status, Acad::eOk) << "file " << i;
        ASSERT_FALSE(plain.error.empty());
        for (std::size_t partBytes : {std::size_t(20000), std::size_t(1)}) {
            const LoadResult parts = partLoad(files[i], partBytes);
            EXPECT_EQ(parts.status, plain.status) << "file " << i;
            EXPECT_EQ(parts.error, plain.error) << "file " << i << ", parts of " << partBytes << " bytes";
        }
    }
}

// A drawing in the forms the fast group path leaves to the general one: a byte order mark,
// CR LF lines, a text longer than any window, blank lines and a last line without a line
// feed.
std::string oddlyWrittenDrawing()
{
    std::string dxf = withUnknownContent(surveyDrawing(300, fendo::dxf::DxfVersion::R2007));
    const size_t value = dxf.find("\n  1\n", dxf.find("ENTITIES")) + 5;
    dxf.insert(value, std::string(70000, 'x'));
    std::string crlf = "\xEF\xBB\xBF";
    for (char c : dxf) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const size_t eof = crlf.rfind("  0\r\nEOF");
    return crlf.substr(0, eof) + "\r\n\n" + "  0\r\nEOF";
}

// A file read a window at a time (windows smaller than a group, reads that stop short) loads
// as the whole file does: the same objects, bytes and messages.
TEST(DxfWindowedLoad, GivesTheDrawingAndMessagesOfTheWholeFile)
{
    fendo::dxf::registerDxfClasses();
    std::vector<std::pair<std::string, std::string>> files = {
        {"survey", withUnknownContent(surveyDrawing(3000, fendo::dxf::DxfVersion::R2007))},
        {"R12 survey", surveyDrawing(1000, fendo::dxf::DxfVersion::R12)},
        {"oddly written", oddlyWrittenDrawing()},
    };
    const auto damaged = damagedCopies(files[0].second);
    for (size_t i = 0; i < damaged.size(); ++i) files.emplace_back("damaged " + std::to_string(i), damaged[i]);
    const auto data = fendo::test::dataDir() / "dxf";
    for (const auto& dir : {data, data / "real", data / "damaged"})
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (ext == ".dxf") files.emplace_back(entry.path().filename().string(), fendo::test::readFile(entry.path()));
        }
    for (const auto& [name, dxf] : files) {
        const LoadResult whole = plainLoad(dxf);
        for (auto [windowBytes, most] : {std::pair<size_t, size_t>{16, SIZE_MAX}, {61, 7}, {4096, SIZE_MAX}, {0, 1000}}) {
            const LoadResult windows = windowLoad(dxf, windowBytes, most);
            const std::string how = name + " in windows of " + std::to_string(windowBytes) + " bytes";
            EXPECT_EQ(windows.status, whole.status) << how;
            EXPECT_EQ(windows.error, whole.error) << how;
            EXPECT_TRUE(windows.saved == whole.saved) << how;
        }
    }
}

TEST(DxfWindowedLoad, NamesTheLineWhereTheFileCouldNotBeRead)
{
    fendo::dxf::registerDxfClasses();
    const std::string dxf = surveyDrawing(200, fendo::dxf::DxfVersion::R2007);
    PartSettings plain(std::string::npos, 1, 1);
    MemoryWindows failing(dxf, SIZE_MAX, dxf.size() / 2);
    const LoadResult r = loadAndSave(dxf, &failing, 1000);
    EXPECT_EQ(r.status, Acad::eInvalidDxfCode);
    EXPECT_TRUE(r.error.starts_with("survey.dxf: line ")) << r.error;
    EXPECT_TRUE(r.error.ends_with(": cannot read the file: " + std::string(std::strerror(EIO)))) << r.error;
}

// Cuts fall before a "0" code line that starts a record; one that would fall inside a group
// (a value "0" before a line that is no code) makes the file take the plain path.
TEST(DxfParallelLoad, CutsOnlyBetweenGroups)
{
    PartSettings parts(0, 1, 2);
    const std::string good = "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  1\n0\n  8\nA\n  0\nLINE\n  8\nB\n  0\nENDSEC\n  0\nEOF\n";
    fendo::dxf::DxfPartReader reader;
    std::uint64_t highest = 0;
    ASSERT_TRUE(reader.prepare(good, 0, 0, {}, highest));
    EXPECT_EQ(reader.partCount(), 5u);  // SECTION, LINE, LINE, ENDSEC, EOF
    reader.start();
    std::vector<int> lines;
    for (size_t i = 0; i < reader.partCount(); ++i)
        for (const DxfTag& t : reader.part(i).tags) lines.push_back(t.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 5, 7, 9, 11, 13, 15, 17}));

    const std::string bad = "  0\nSECTION\n  2\nENTITIES\n  1\n0\nLINE\n  0\nENDSEC\n  0\nEOF\n";
    fendo::dxf::DxfPartReader badReader;
    EXPECT_FALSE(badReader.prepare(bad, 0, 0, {}, highest));
}

}  // namespace
