// Reading the groups of a big ASCII DXF file on several threads (see DxfChunks.h).
#include "host/dxf/DxfChunks.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "host/db/AcDbObjectId.h"
#include "host/dxf/CodePage.h"
#include "host/dxf/DxfOutput.h"

namespace fendo::dxf {

namespace {

// The first record boundary at or after from: the start of a line holding only the code 0
// whose next line names a type (a group code, which a value line before it would need, is
// digits only). A cut that still falls inside a group (a malformed file) is found when the
// parts are checked.
std::size_t findCut(std::string_view d, std::size_t from)
{
    std::size_t p = from;
    if (p > 0 && p < d.size() && d[p - 1] != '\n') {
        p = d.find('\n', p);
        if (p == std::string_view::npos) return p;
        ++p;
    }
    while (p < d.size()) {
        const std::size_t eol = d.find('\n', p);
        if (eol == std::string_view::npos) return eol;
        if (trimmed(d.substr(p, eol - p)) == "0") {
            const std::size_t nextEnd = std::min(d.find('\n', eol + 1), d.size());
            const std::string_view next = trimmed(d.substr(eol + 1, nextEnd - eol - 1));
            if (std::any_of(next.begin(), next.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
                return p;
        }
        p = eol + 1;
    }
    return std::string_view::npos;
}

}  // namespace

ParallelLoadSettings& parallelLoadSettings()
{
    // FENDO_LOAD_THREADS caps the threads a load uses (1: the plain load), for shared machines.
    static ParallelLoadSettings settings = [] {
        ParallelLoadSettings s;
        if (const char* threads = std::getenv("FENDO_LOAD_THREADS")) s.threads = static_cast<unsigned>(std::atoi(threads));
        return s;
    }();
    return settings;
}

std::string_view TextStore::keep(std::string_view text)
{
    if (text.size() > kBlock / 4) {
        m_large.push_back(std::make_unique<char[]>(text.size()));
        std::memcpy(m_large.back().get(), text.data(), text.size());
        return {m_large.back().get(), text.size()};
    }
    if (m_blocks.empty() || m_used + text.size() > kBlock) {
        if (m_blocks.empty() || ++m_current >= m_blocks.size()) {
            m_blocks.push_back(std::make_unique<char[]>(kBlock));
            m_current = m_blocks.size() - 1;
        }
        m_used = 0;
    }
    char* at = m_blocks[m_current].get() + m_used;
    std::memcpy(at, text.data(), text.size());
    m_used += text.size();
    return {at, text.size()};
}

void TextStore::clear()
{
    m_large.clear();
    m_current = 0;
    m_used = 0;
}

std::string_view decodedLoaderText(const DxfTag& tag, const TextDecoder& decoder, bool binary, std::string_view data,
                                   TextStore& store)
{
    std::string_view value = tag.value;
    const bool inData = value.data() >= data.data() && value.data() <= data.data() + data.size();
    // One look at the bytes for the usual case the reader did not mark: plain ASCII, no
    // escape, no caret.
    bool plain = true;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '^') {
            plain = false;
            break;
        }
    if (plain) return inData ? value : store.keep(value);
    bool kept = false;
    if (decoder.needsDecoding(value)) {
        value = store.keep(decoder.decode(value));
        kept = true;
    }
    // ASCII files write control characters in texts as caret pairs (^J a line feed).
    if (!binary && binaryValueKind(tag.code) == BinaryValue::String && value.find('^') != std::string_view::npos)
        return store.keep(DxfOutput::caretDecoded(value));
    if (!kept && !inData) return store.keep(value);
    return value;
}

void HandleScan::seeMarked(const DxfTag& t)
{
    if (t.code != 5 && t.code != 105) {
        if (t.code == 2 && trimmed(t.value) == "HEADER") inHeader = true;
        if (inHeader && t.code == 0 && trimmed(t.value) == "ENDSEC") inHeader = false;
        return;
    }
    if (inHeader) return;
    bool ok = false;
    const std::string_view text = trimmed(t.value);
    const AcDbHandle h = AcDbHandle::fromHex(text, &ok);
    if (ok) highest = std::max(highest, h.value());
    if (text.size() == t.value.size()) {
        lastText = t.value.data();
        lastSize = t.value.size();
        lastValue = h.value();
    }
}

DxfPartReader::~DxfPartReader()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_roomAhead.notify_all();
    for (std::thread& t : m_workers) t.join();
}

bool DxfPartReader::prepare(std::string_view data, std::size_t start, std::size_t searchFrom, const TextSettings& text,
                            std::uint64_t& highestHandle)
{
    const ParallelLoadSettings& settings = parallelLoadSettings();
    if (data.size() <= settings.thresholdBytes || data.starts_with(DxfTagReader::kBinarySentinel)) return false;
    const unsigned threads = settings.threads ? settings.threads : std::max(1u, std::thread::hardware_concurrency());
    if (threads < 2) return false;
    m_data = data;
    m_text = text;
    const std::size_t partBytes = std::max<std::size_t>(settings.partBytes, 1);
    std::vector<std::size_t> begins{start};
    for (;;) {
        const std::size_t cut = findCut(data, std::max(begins.back() + partBytes, searchFrom));
        if (cut == std::string_view::npos || cut >= data.size()) break;
        begins.push_back(cut);
    }
    if (begins.size() < 2) return false;

    // Every part read once, on all threads: where each one ends, how many lines it has, its
    // highest handle.
    struct Scan {
        bool error = false;
        bool endsAtCut = false;
        int endLine = 1;
        std::uint64_t highest = 0;
    };
    std::vector<Scan> scans(begins.size());
    std::atomic<std::size_t> next{0};
    auto scanParts = [&] {
        for (std::size_t i; (i = next++) < begins.size();) {
            const bool last = i + 1 == begins.size();
            const std::size_t end = last ? data.size() : begins[i + 1];
            DxfTagReader reader(data, begins[i], 1);
            HandleScan handles;
            DxfTag tag;
            while ((last || reader.offset() < end) && reader.next(tag)) handles.see(tag);
            scans[i].error = !reader.error().empty();
            scans[i].endsAtCut = reader.offset() == end;
            scans[i].endLine = reader.position();
            scans[i].highest = handles.highest;
        }
    };
    {
        std::vector<std::thread> helpers;
        for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(scanParts);
        scanParts();
        for (std::thread& t : helpers) t.join();
    }
    // A part that starts where the part before it ends starts at a group; the first does.
    // Parts after a malformed group are never reached.
    highestHandle = 0;
    int line = 1;
    for (std::size_t i = 0; i < begins.size(); ++i) {
        const bool last = i + 1 == begins.size();
        highestHandle = std::max(highestHandle, scans[i].highest);
        m_cuts.push_back({begins[i], last ? data.size() : begins[i + 1], line});
        if (scans[i].error) break;
        if (!scans[i].endsAtCut) {
            m_cuts.clear();
            return false;
        }
        line += scans[i].endLine - 1;
    }
    m_parts.resize(m_cuts.size());
    m_window = std::max<std::size_t>(2, threads + 1);
    return true;
}

void DxfPartReader::start()
{
    const ParallelLoadSettings& settings = parallelLoadSettings();
    const unsigned threads = settings.threads ? settings.threads : std::max(1u, std::thread::hardware_concurrency());
    const unsigned workers = std::max(1u, std::min<unsigned>(threads - 1, static_cast<unsigned>(m_cuts.size())));
    for (unsigned t = 0; t < workers; ++t) m_workers.emplace_back([this] { work(); });
}

void DxfPartReader::work()
{
    for (;;) {
        std::size_t i = 0;
        std::unique_ptr<DxfPart> part;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_roomAhead.wait(lock, [&] {
                return m_stop || m_nextToRead >= m_cuts.size() || m_nextToRead < m_inUse + m_window;
            });
            if (m_stop || m_nextToRead >= m_cuts.size()) return;
            i = m_nextToRead++;
            if (!m_spare.empty()) {
                part = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        if (!part) part = std::make_unique<DxfPart>();
        readPart(i, *part);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_parts[i] = std::move(part);
        }
        m_partReady.notify_all();
    }
}

void DxfPartReader::readPart(std::size_t i, DxfPart& part) const
{
    const Cut& cut = m_cuts[i];
    const bool last = cut.end == m_data.size();
    part.begin = cut.begin;
    part.end = cut.end;
    part.tags.clear();
    part.texts.clear();
    part.error.clear();
    part.endPosition = 0;
    part.tags.reserve((cut.end - cut.begin) / 10);
    TextDecoder decoder;
    decoder.setUtf8(m_text.utf8);
    decoder.setCodePage(m_text.codePage);
    DxfTagReader reader(m_data, cut.begin, cut.firstLine);
    DxfTag tag;
    while (last || reader.offset() < cut.end) {
        if (!reader.next(tag)) {
            part.error = reader.error();
            part.endPosition = reader.position();
            break;
        }
        if (tag.code == 999) continue;  // comments
        tag.value = loaderText(tag, decoder, false, m_data, part.texts);
        part.tags.push_back(tag);
    }
}

const DxfPart& DxfPartReader::part(std::size_t i)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (i > m_inUse) {
        m_inUse = i;
        // The part before stays: the record the loader is making may have come from it.
        for (std::size_t k = m_released; k + 1 < i && k < m_parts.size(); ++k, ++m_released)
            if (m_parts[k]) m_spare.push_back(std::move(m_parts[k]));
        m_roomAhead.notify_all();
    }
    m_partReady.wait(lock, [&] { return m_parts[i] != nullptr; });
    return *m_parts[i];
}

}  // namespace fendo::dxf
