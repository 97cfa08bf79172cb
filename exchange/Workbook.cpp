// Opening workbook files by their content: a zip is .xlsx, an OLE compound file is either an
// encrypted .xlsx (it holds an "EncryptedPackage" stream) or the old binary .xls.
#include "exchange/Workbook.h"

#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include "exchange/XlsxPackage.h"

namespace fendo::exchange {

const Cell* SheetCells::find(int row, int column) const
{
    const auto it = m_cells.find(key(row, column));
    return it == m_cells.end() ? nullptr : &it->second;
}

void SheetCells::set(int row, int column, Cell cell)
{
    if (cell.kind == CellKind::Empty) {
        m_cells.erase(key(row, column));
        return;
    }
    m_cells[key(row, column)] = std::move(cell);
    m_rowEnd = std::max(m_rowEnd, row + 1);
}

Workbook::Workbook() = default;
Workbook::~Workbook() = default;

bool Workbook::setCell(int row, int column, const Cell& cell)
{
    if (!m_package) return false;
    m_package->setCell(row, column, cell);
    m_cells.set(row, column, cell);
    return true;
}

bool Workbook::save(const std::filesystem::path& path, std::string& error)
{
    if (!m_package) {
        error = "the old .xls format is read only";
        return false;
    }
    const std::filesystem::path temporary = path.string() + ".fendo-tmp";
    if (!m_package->write(temporary.string(), error)) {
        std::error_code ec;
        std::filesystem::remove(temporary, ec);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        error = ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

namespace {

// How long the .xls reader may take before its file counts as damaged.
constexpr std::chrono::seconds kXlsReadTime{30};

constexpr unsigned char kOleSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

bool startsWith(const std::string& bytes, const void* magic, size_t n)
{
    return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
}

// An encrypted .xlsx is an OLE file whose directory names the stream "EncryptedPackage"
// (names are UTF-16 there).
bool holdsEncryptedPackage(const std::string& bytes)
{
    std::string name;
    for (char c : std::string_view("EncryptedPackage")) {
        name += c;
        name += '\0';
    }
    return bytes.find(name) != std::string::npos;
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long daysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

// FreeXL gives dates and times as text; the spreadsheet's own value is the serial day number
// (days since 1899-12-30, the fraction the time of day), which .xlsx files store directly.
double serialOf(const char* text, int type)
{
    int y = 1899, mo = 12, d = 30, h = 0, mi = 0, s = 0;
    if (type == FREEXL_CELL_TIME)
        std::sscanf(text, "%d:%d:%d", &h, &mi, &s);
    else
        std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    const long days =
        daysFromCivil(y, static_cast<unsigned>(std::clamp(mo, 1, 12)), static_cast<unsigned>(std::clamp(d, 1, 31))) -
        daysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
}

std::string freexlReason(int code)
{
    switch (code) {
        case FREEXL_FILE_NOT_FOUND:
            return "file not found";
        case FREEXL_INSUFFICIENT_MEMORY:
            return "workbook too large";
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            return "not a workbook (OLE file without a workbook stream)";
        default:
            return "damaged workbook (the .xls reader refused it, code " + std::to_string(code) + ")";
    }
}

}  // namespace

struct WorkbookLoader {
    static OpenResult xlsx(std::string bytes)
    {
        OpenResult result;
        std::unique_ptr<Workbook> book(new Workbook);
        book->m_package = XlsxPackage::load(bytes, book->m_cells, result.reason);
        if (book->m_package) result.workbook = std::move(book);
        return result;
    }

    // FreeXL runs in a child process: a file that makes the library fail badly ends the
    // child, not the program, and is reported as damaged.
    static OpenResult xls(const std::string& path)
    {
        int channel[2];
        if (pipe(channel) != 0) return {nullptr, "no pipe for the .xls reader"};
        const pid_t child = fork();
        if (child < 0) {
            close(channel[0]);
            close(channel[1]);
            return {nullptr, "no process for the .xls reader"};
        }
        if (child == 0) {
            close(channel[0]);
            const OpenResult read = xlsInProcess(path);
            const std::string message = encode(read);
            size_t sent = 0;
            while (sent < message.size()) {
                const ssize_t n = write(channel[1], message.data() + sent, message.size() - sent);
                if (n <= 0) _exit(1);
                sent += static_cast<size_t>(n);
            }
            _exit(0);  // no exit handlers: they belong to the parent
        }
        close(channel[1]);
        // A damaged file can claim millions of cells; the reader gets a fixed time, so the
        // session never waits on it for ever.
        const auto deadline = std::chrono::steady_clock::now() + kXlsReadTime;
        std::string message;
        char buffer[65536];
        bool finished = false;
        while (!finished) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd ready{channel[0], POLLIN, 0};
            if (left.count() <= 0 || (poll(&ready, 1, static_cast<int>(left.count())) == 0)) break;
            const ssize_t n = read(channel[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                finished = true;
            else
                message.append(buffer, static_cast<size_t>(n));
        }
        close(channel[0]);
        if (!finished) kill(child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!finished) return {nullptr, "damaged workbook (the .xls reader did not finish)"};
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return {nullptr, "damaged workbook (the .xls reader failed)"};
        return decode(message);
    }

    // The child's answer: the reason, then each cell as row, column, kind, number, text.
    static std::string encode(const OpenResult& r)
    {
        std::string out;
        auto put = [&out](const void* p, size_t n) { out.append(static_cast<const char*>(p), n); };
        auto putText = [&](const std::string& t) {
            const std::uint32_t n = static_cast<std::uint32_t>(t.size());
            put(&n, sizeof n);
            out += t;
        };
        putText(r.reason);
        if (!r.workbook) return out;
        r.workbook->m_cells.forEach([&](int row, int column, const Cell& cell) {
            const std::int32_t rc[2] = {row, column};
            const std::uint8_t kind = static_cast<std::uint8_t>(cell.kind);
            put(rc, sizeof rc);
            put(&kind, 1);
            put(&cell.number, sizeof cell.number);
            putText(cell.text);
        });
        return out;
    }

    static OpenResult decode(const std::string& in)
    {
        size_t at = 0;
        auto take = [&](void* p, size_t n) {
            if (in.size() - at < n) return false;
            std::memcpy(p, in.data() + at, n);
            at += n;
            return true;
        };
        auto takeText = [&](std::string& t) {
            std::uint32_t n = 0;
            if (!take(&n, sizeof n) || in.size() - at < n) return false;
            t.assign(in, at, n);
            at += n;
            return true;
        };
        OpenResult result;
        if (!takeText(result.reason)) return {nullptr, "damaged workbook (the .xls reader failed)"};
        if (!result.reason.empty()) return result;
        std::unique_ptr<Workbook> book(new Workbook);
        book->m_format = WorkbookFormat::Xls;
        while (at < in.size()) {
            std::int32_t rc[2];
            std::uint8_t kind = 0;
            Cell cell;
            if (!take(rc, sizeof rc) || !take(&kind, 1) || !take(&cell.number, sizeof cell.number) ||
                !takeText(cell.text) || kind > static_cast<std::uint8_t>(CellKind::Error))
                return {nullptr, "damaged workbook (the .xls reader failed)"};
            cell.kind = static_cast<CellKind>(kind);
            book->m_cells.set(rc[0], rc[1], std::move(cell));
        }
        result.workbook = std::move(book);
        return result;
    }

    static OpenResult xlsInProcess(const std::string& path)
    {
        OpenResult result;
        const void* handle = nullptr;
        const int rc = freexl_open(path.c_str(), &handle);
        if (rc != FREEXL_OK) {
            result.reason = freexlReason(rc);
            if (handle) freexl_close(handle);
            return result;
        }
        unsigned info = 0;
        unsigned rows = 0;
        unsigned short columns = 0;
        if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
            result.reason = "password-protected";
        } else if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info == 0) {
            result.reason = "not a workbook (no worksheet)";
        } else if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
                   freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            result.reason = "damaged workbook (first worksheet unreadable)";
        }
        std::unique_ptr<Workbook> book(new Workbook);
        book->m_format = WorkbookFormat::Xls;
        for (unsigned r = 0; result.reason.empty() && r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) continue;
                Cell cell;
                switch (v.type) {
                    case FREEXL_CELL_INT:
                        cell = {CellKind::Number, static_cast<double>(v.value.int_value), {}};
                        break;
                    case FREEXL_CELL_DOUBLE:
                        cell = {CellKind::Number, v.value.double_value, {}};
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                        cell = {CellKind::Text, 0.0, v.value.text_value ? v.value.text_value : ""};
                        break;
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        if (v.value.text_value) cell = {CellKind::Number, serialOf(v.value.text_value, v.type), {}};
                        break;
                    default:
                        break;
                }
                book->m_cells.set(static_cast<int>(r), c, std::move(cell));
            }
        freexl_close(handle);
        if (result.reason.empty()) result.workbook = std::move(book);
        return result;
    }
};

namespace {
OpenResult openBytes(std::string bytes, const std::filesystem::path* file)
{
    static const char zipMagic[] = {'P', 'K', 3, 4};
    static const char emptyZipMagic[] = {'P', 'K', 5, 6};
    if (startsWith(bytes, zipMagic, 4) || startsWith(bytes, emptyZipMagic, 4))
        return WorkbookLoader::xlsx(std::move(bytes));
    if (!startsWith(bytes, kOleSignature, sizeof kOleSignature)) return {nullptr, "not a workbook"};
    if (holdsEncryptedPackage(bytes)) return {nullptr, "password-protected"};
    if (file) return WorkbookLoader::xls(file->string());
    // FreeXL reads files only.
    char name[] = "/tmp/fendo-xls-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return {nullptr, "no temporary file for reading"};
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    OpenResult result = written ? WorkbookLoader::xls(name) : OpenResult{nullptr, "no temporary file for reading"};
    unlink(name);
    return result;
}
}  // namespace

OpenResult openWorkbookFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {nullptr, "file not found"};
    if (std::filesystem::is_directory(path, ec)) return {nullptr, "a folder, not a file"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {nullptr, errno == EACCES ? "permission denied" : "cannot be read"};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return {nullptr, "cannot be read"};
    return openBytes(std::move(bytes).str(), &path);
}

OpenResult openWorkbookBytes(std::string bytes) { return openBytes(std::move(bytes), nullptr); }

}  // namespace fendo::exchange
