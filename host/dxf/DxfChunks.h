// Reading the groups of a big ASCII DXF file on several threads. The file is cut into parts
// at record boundaries (a "0" code line before a type name); worker threads turn each part
// into its groups, decoded as the loader decodes them, while the loader makes the objects
// of the parts already read, in file order. The database is never touched off the loader's
// thread, so a load gives the same objects, handles and messages as the plain one.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/dxf/DxfTagReader.h"

namespace fendo::dxf {

// When and how a load is split. Tests lower the threshold and the part size to run the
// split on small files.
struct ParallelLoadSettings {
    std::size_t thresholdBytes = 8u << 20;  // smaller files take the plain path
    std::size_t partBytes = 1u << 20;
    unsigned threads = 0;  // 0: one per core
};
ParallelLoadSettings& parallelLoadSettings();

// Texts the loader made (decoded from a code page, caret pairs resolved), kept in blocks that
// do not move, so that views of them stay valid until clear().
class TextStore {
public:
    std::string_view keep(std::string_view text);
    void clear();

private:
    static constexpr std::size_t kBlock = 1 << 16;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::vector<std::unique_ptr<char[]>> m_large;
    std::size_t m_current = 0;
    std::size_t m_used = 0;
};

// How the loader turns a group's text into what objects read (code page, caret pairs).
struct TextSettings {
    bool utf8 = true;
    std::string codePage;
};

class TextDecoder;

// The text objects read for a group: decoded from the file's code page, caret pairs of
// ASCII files resolved; texts made here (and binary numbers made text by the reader, which
// keeps one only) go to store. data: the file's bytes.
std::string_view decodedLoaderText(const DxfTag& tag, const TextDecoder& decoder, bool binary, std::string_view data,
                                   TextStore& store);
inline std::string_view loaderText(const DxfTag& tag, const TextDecoder& decoder, bool binary, std::string_view data,
                                   TextStore& store)
{
    // The usual group: plain ASCII seen in place in the file's bytes.
    if (tag.plain && tag.value.data() >= data.data() && tag.value.data() <= data.data() + data.size()) return tag.value;
    return decodedLoaderText(tag, decoder, binary, data, store);
}

// Finds the highest handle of a file as the loader needs it before making objects: groups
// 5 and 105 outside the HEADER section (where $HANDSEED's 5 is not a handle in use).
struct HandleScan {
    bool inHeader = false;
    std::uint64_t highest = 0;
    // The last handle group read, where it stands and its value (0 when it is no handle),
    // for a reader that asks for it again.
    const char* lastText = nullptr;
    std::size_t lastSize = 0;
    std::uint64_t lastValue = 0;
    void see(const DxfTag& tag)
    {
        if (tag.code == 5 || tag.code == 105 || tag.code == 2 || (inHeader && tag.code == 0)) seeMarked(tag);
    }

private:
    void seeMarked(const DxfTag& tag);
};

// The groups of one part: comments left out, texts decoded. error is the reader's message
// for a malformed group (the part ends there); endPosition is the reader's position() at
// the end of the data (last part only).
struct DxfPart {
    std::size_t begin = 0, end = 0;
    std::vector<DxfTag> tags;
    TextStore texts;
    std::string error;
    int endPosition = 0;
};

class DxfPartReader {
public:
    DxfPartReader() = default;
    ~DxfPartReader();
    DxfPartReader(const DxfPartReader&) = delete;
    DxfPartReader& operator=(const DxfPartReader&) = delete;

    // Cuts data from start (a code line, line 1) into parts, cuts only at or after
    // searchFrom, and reads every part once on all threads to check that each cut falls
    // between groups and to number the parts' lines. highestHandle gets the highest handle
    // (group 5 or 105 outside the HEADER section) up to the first malformed group, as the
    // plain reader finds it. False when the file cannot be split (too small, binary, a cut
    // inside a group): the plain path reads it then.
    bool prepare(std::string_view data, std::size_t start, std::size_t searchFrom, const TextSettings& text,
                 std::uint64_t& highestHandle);
    // Starts the threads that read the parts ahead of the loader.
    void start();
    std::size_t partCount() const { return m_cuts.size(); }
    // Part i, read; waits for it. Parts below i - 1 are given up (their groups are no
    // longer looked at).
    const DxfPart& part(std::size_t i);

private:
    void work();
    void readPart(std::size_t i, DxfPart& part) const;

    std::string_view m_data;
    TextSettings m_text;
    struct Cut {
        std::size_t begin, end;
        int firstLine;
    };
    std::vector<Cut> m_cuts;
    std::vector<std::unique_ptr<DxfPart>> m_parts;
    std::vector<std::unique_ptr<DxfPart>> m_spare;  // parts given up, their storage reused
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_partReady, m_roomAhead;
    std::size_t m_nextToRead = 0;
    std::size_t m_inUse = 0;  // the part the loader reads
    std::size_t m_released = 0;  // parts below this were given up
    std::size_t m_window = 4;  // parts read ahead at most
    bool m_stop = false;
};

}  // namespace fendo::dxf
