// .xlsx packages: finding the first worksheet through the package's relationships, reading its
// cells (shared, inline and rich strings; formulas by their cached values; rows and cells with
// or without references), and editing it in place for saving.
#include "exchange/XlsxPackage.h"

#include <zip.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <list>
#include <sstream>
#include "exchange/CellNames.h"

namespace fendo::exchange {
namespace {

// A package larger than this when unpacked is refused rather than read into memory.
constexpr size_t kMaxUnpackedSize = size_t(512) << 20;

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

// Element and attribute names compared without their namespace prefix ("x:row" is "row").
std::string_view localName(const char* name)
{
    std::string_view n = name;
    const size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

pugi::xml_node child(pugi::xml_node node, std::string_view local)
{
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && localName(c.name()) == local) return c;
    return {};
}

pugi::xml_attribute attribute(pugi::xml_node node, std::string_view local)
{
    for (pugi::xml_attribute a : node.attributes())
        if (localName(a.name()) == local) return a;
    return {};
}

bool endsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Part names: a target relative to the part's folder, or absolute from the package's root.
std::string resolvePart(const std::string& fromPart, std::string_view target)
{
    std::vector<std::string> parts;
    std::string_view base = fromPart;
    if (!target.empty() && target.front() == '/') {
        base = {};
        target.remove_prefix(1);
    } else {
        const size_t cut = base.find_last_of('/');
        base = cut == std::string_view::npos ? std::string_view{} : base.substr(0, cut);
    }
    auto push = [&](std::string_view path) {
        while (!path.empty()) {
            const size_t cut = path.find('/');
            const std::string_view item = path.substr(0, cut);
            path = cut == std::string_view::npos ? std::string_view{} : path.substr(cut + 1);
            if (item.empty() || item == ".") continue;
            if (item == "..") {
                if (!parts.empty()) parts.pop_back();
            } else {
                parts.emplace_back(item);
            }
        }
    };
    push(base);
    push(target);
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string relsPartOf(const std::string& part)
{
    const size_t cut = part.find_last_of('/');
    if (cut == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, cut) + "/_rels/" + part.substr(cut + 1) + ".rels";
}

// Characters XML cannot carry are written as "_xHHHH_", as spreadsheet programs do.
std::string decodeEscapes(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned code = 0;
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_' &&
            std::from_chars(s.data() + i + 2, s.data() + i + 6, code, 16).ptr == s.data() + i + 6) {
            if (code < 0x80) {
                out += char(code);
            } else if (code < 0x800) {
                out += char(0xC0 | (code >> 6));
                out += char(0x80 | (code & 0x3F));
            } else {
                out += char(0xE0 | (code >> 12));
                out += char(0x80 | ((code >> 6) & 0x3F));
                out += char(0x80 | (code & 0x3F));
            }
            i += 6;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string encodeEscapes(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const bool looksEscaped = c == '_' && i + 1 < s.size() && s[i + 1] == 'x';
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || looksEscaped) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "_x%04X_", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

// The text of a string item: plain <t>, or the runs of rich text; phonetic hints are left out.
std::string stringItemText(pugi::xml_node item)
{
    std::string text;
    for (pugi::xml_node c : item.children()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view name = localName(c.name());
        if (name == "t") {
            text += c.text().get();
        } else if (name == "r") {
            for (pugi::xml_node t : c.children())
                if (t.type() == pugi::node_element && localName(t.name()) == "t") text += t.text().get();
        }
    }
    return decodeEscapes(text);
}

std::optional<double> parseNumber(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> parsePositive(const char* s)
{
    int v = 0;
    const size_t n = std::strlen(s);
    const auto [end, ec] = std::from_chars(s, s + n, v);
    if (n == 0 || ec != std::errc{} || end != s + n || v < 1) return std::nullopt;
    return v;
}

bool parseXml(pugi::xml_document& doc, const std::string& data)
{
    return doc.load_buffer(data.data(), data.size(), kParseFlags, pugi::encoding_auto);
}

// The part as text; its own XML declaration, kept when it was read, comes first.
std::string toText(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

struct Relationship {
    std::string type;
    std::string target;  // resolved part name
    std::string id;
    bool external = false;
};

std::vector<Relationship> readRelationships(const pugi::xml_document& doc, const std::string& sourcePart)
{
    std::vector<Relationship> out;
    for (pugi::xml_node r : child(doc, "Relationships").children()) {
        if (r.type() != pugi::node_element || localName(r.name()) != "Relationship") continue;
        Relationship rel;
        rel.type = attribute(r, "Type").value();
        rel.id = attribute(r, "Id").value();
        rel.external = std::string_view(attribute(r, "TargetMode").value()) == "External";
        rel.target = resolvePart(sourcePart, attribute(r, "Target").value());
        out.push_back(std::move(rel));
    }
    return out;
}

}  // namespace

const XlsxPackage::Entry* XlsxPackage::entry(const std::string& name) const
{
    for (const Entry& e : m_entries)
        if (e.name == name) return &e;
    return nullptr;
}

std::unique_ptr<XlsxPackage> XlsxPackage::load(const std::string& bytes, SheetCells& cells, std::string& reason)
{
    auto package = std::unique_ptr<XlsxPackage>(new XlsxPackage);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        if (source) zip_source_free(source);
        reason = std::string("damaged workbook (") + zip_error_strerror(&error) + ")";
        zip_error_fini(&error);
        return nullptr;
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    size_t total = 0;
    for (zip_int64_t i = 0; i < count && reason.empty(); ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) {
            reason = "damaged workbook (unreadable zip entry)";
            break;
        }
        const std::string name = st.name;
        if (name.empty() || name.back() == '/') continue;
        total += st.size;
        if (st.size > kMaxUnpackedSize || total > kMaxUnpackedSize) {
            reason = "workbook too large";
            break;
        }
        Entry e{name, std::string(st.size, '\0')};
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        const zip_int64_t got = file ? zip_fread(file, e.data.data(), st.size) : -1;
        // Reading on to the end checks the entry's checksum.
        char probe = 0;
        const bool clean = file && got == static_cast<zip_int64_t>(st.size) && zip_fread(file, &probe, 1) == 0;
        if (file) zip_fclose(file);
        if (!clean) {
            reason = "damaged workbook (broken zip entry " + name + ")";
            break;
        }
        package->m_entries.push_back(std::move(e));
    }
    zip_discard(archive);
    if (!reason.empty()) return nullptr;
    if (!package->readSheet(cells, reason)) return nullptr;
    return package;
}

bool XlsxPackage::readSheet(SheetCells& cells, std::string& reason)
{
    // The workbook part is the package's office document; the usual name serves when the
    // package relationships are missing.
    if (const Entry* rels = entry("_rels/.rels")) {
        pugi::xml_document doc;
        if (!parseXml(doc, rels->data)) {
            reason = "damaged workbook (malformed XML in _rels/.rels)";
            return false;
        }
        for (const Relationship& r : readRelationships(doc, ""))
            if (endsWith(r.type, "/officeDocument") && entry(r.target)) m_workbookPart = r.target;
    }
    if (m_workbookPart.empty() && entry("xl/workbook.xml")) m_workbookPart = "xl/workbook.xml";
    if (m_workbookPart.empty()) {
        reason = "not a workbook (no workbook part)";
        return false;
    }
    pugi::xml_document workbook;
    if (!parseXml(workbook, entry(m_workbookPart)->data)) {
        reason = "damaged workbook (malformed XML in " + m_workbookPart + ")";
        return false;
    }
    m_workbookRelsPart = relsPartOf(m_workbookPart);
    std::vector<Relationship> rels;
    if (const Entry* e = entry(m_workbookRelsPart)) {
        pugi::xml_document doc;
        if (!parseXml(doc, e->data)) {
            reason = "damaged workbook (malformed XML in " + m_workbookRelsPart + ")";
            return false;
        }
        rels = readRelationships(doc, m_workbookPart);
    }
    // The first sheet in workbook order that is a worksheet: chart sheets are passed over.
    for (pugi::xml_node s : child(child(workbook, "workbook"), "sheets").children()) {
        if (s.type() != pugi::node_element || localName(s.name()) != "sheet") continue;
        const std::string_view id = attribute(s, "id").value();
        const auto rel = std::find_if(rels.begin(), rels.end(), [&](const Relationship& r) { return r.id == id; });
        if (rel != rels.end() && !rel->external && endsWith(rel->type, "/worksheet") && entry(rel->target)) {
            m_sheetPart = rel->target;
            break;
        }
    }
    if (m_sheetPart.empty()) {
        reason = "not a workbook (no worksheet)";
        return false;
    }
    for (const Relationship& r : rels) {
        if (!endsWith(r.type, "/sharedStrings")) continue;
        const Entry* e = entry(r.target);
        pugi::xml_document doc;
        if (!e || !parseXml(doc, e->data)) {
            reason = "damaged workbook (malformed XML in " + r.target + ")";
            return false;
        }
        for (pugi::xml_node si : child(doc, "sst").children())
            if (si.type() == pugi::node_element && localName(si.name()) == "si")
                m_sharedStrings.push_back(stringItemText(si));
    }

    if (!parseXml(m_sheet, entry(m_sheetPart)->data)) {
        reason = "damaged workbook (malformed XML in " + m_sheetPart + ")";
        return false;
    }
    const pugi::xml_node root = child(m_sheet, "worksheet");
    m_sheetData = child(root, "sheetData");
    if (!root || !m_sheetData) {
        reason = "damaged workbook (no sheet data in " + m_sheetPart + ")";
        return false;
    }
    const std::string_view rootName = root.name();
    m_prefix = std::string(rootName.substr(0, rootName.size() - localName(root.name()).size()));
    giveEveryRowAndCellItsReference();

    for (pugi::xml_node r : m_sheetData.children()) {
        if (r.type() != pugi::node_element || localName(r.name()) != "row") continue;
        const int row = *parsePositive(attribute(r, "r").value()) - 1;
        for (pugi::xml_node c : r.children()) {
            if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
            const auto ref = parseCellName(attribute(c, "r").value());
            if (!ref) continue;
            const std::string_view type = attribute(c, "t").value();
            const char* v = child(c, "v").text().get();
            Cell cell;
            if (type == "s") {
                unsigned index = 0;
                const std::string_view vs = v;
                const bool ok = std::from_chars(vs.data(), vs.data() + vs.size(), index).ec == std::errc{};
                cell.kind = CellKind::Text;
                if (ok && index < m_sharedStrings.size()) cell.text = m_sharedStrings[index];
            } else if (type == "inlineStr") {
                cell.kind = CellKind::Text;
                cell.text = stringItemText(child(c, "is"));
            } else if (type == "str" || type == "d") {
                cell.kind = CellKind::Text;
                cell.text = decodeEscapes(v);
            } else if (type == "b") {
                cell.kind = CellKind::Boolean;
                cell.number = std::string_view(v) == "1" ? 1.0 : 0.0;
            } else if (type == "e") {
                cell.kind = CellKind::Error;
                cell.text = v;
            } else if (*v) {
                if (const auto number = parseNumber(v)) {
                    cell.kind = CellKind::Number;
                    cell.number = *number;
                } else {
                    cell.kind = CellKind::Text;
                    cell.text = v;
                }
            }
            if (cell.kind != CellKind::Empty) cells.set(row, ref->column, std::move(cell));
        }
    }
    return true;
}

// Rows and cells may leave out their references (each then follows the one before); they are
// written in, so that every later lookup and edit can go by reference.
void XlsxPackage::giveEveryRowAndCellItsReference()
{
    int previousRow = 0;
    for (pugi::xml_node r : m_sheetData.children()) {
        if (r.type() != pugi::node_element || localName(r.name()) != "row") continue;
        pugi::xml_attribute ra = attribute(r, "r");
        const auto given = parsePositive(ra.value());
        const int row = given && *given <= kMaxRows ? *given : std::min(previousRow + 1, kMaxRows);
        if (!ra) ra = r.append_attribute("r");
        ra.set_value(row);
        previousRow = row;
        int previousColumn = -1;
        for (pugi::xml_node c : r.children()) {
            if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
            pugi::xml_attribute ca = attribute(c, "r");
            const auto ref = parseCellName(ca.value());
            const int column = ref ? ref->column : std::min(previousColumn + 1, kMaxColumns - 1);
            if (!ca) ca = c.prepend_attribute("r");
            ca.set_value(cellName(row - 1, column).c_str());
            previousColumn = column;
        }
    }
}

pugi::xml_node XlsxPackage::findOrAddRow(int row)
{
    const int wanted = row + 1;
    // Exporters write row after row, so the search starts at the last row when it can.
    pugi::xml_node start = m_sheetData.first_child();
    for (pugi::xml_node last = m_sheetData.last_child(); last; last = last.previous_sibling()) {
        if (last.type() != pugi::node_element || localName(last.name()) != "row") continue;
        if (parsePositive(attribute(last, "r").value()).value_or(0) <= wanted) start = last;
        break;
    }
    for (pugi::xml_node r = start; r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || localName(r.name()) != "row") continue;
        const int at = parsePositive(attribute(r, "r").value()).value_or(0);
        if (at == wanted) return r;
        if (at > wanted) {
            pugi::xml_node added = m_sheetData.insert_child_before((m_prefix + "row").c_str(), r);
            added.append_attribute("r").set_value(wanted);
            return added;
        }
    }
    pugi::xml_node added = m_sheetData.append_child((m_prefix + "row").c_str());
    added.append_attribute("r").set_value(wanted);
    return added;
}

pugi::xml_node XlsxPackage::findOrAddCell(pugi::xml_node rowNode, int row, int column)
{
    const std::string name = cellName(row, column);
    for (pugi::xml_node c : rowNode.children()) {
        if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
        const auto ref = parseCellName(attribute(c, "r").value());
        if (!ref || ref->column < column) continue;
        if (ref->column == column) return c;
        pugi::xml_node added = rowNode.insert_child_before((m_prefix + "c").c_str(), c);
        added.append_attribute("r").set_value(name.c_str());
        return added;
    }
    // Cells come before a row's extension list, if it has one.
    pugi::xml_node added;
    if (pugi::xml_node ext = child(rowNode, "extLst"))
        added = rowNode.insert_child_before((m_prefix + "c").c_str(), ext);
    else
        added = rowNode.append_child((m_prefix + "c").c_str());
    added.append_attribute("r").set_value(name.c_str());
    return added;
}

// A cell that is overwritten loses its formula. When it held the master of a shared formula,
// the cells sharing it lose theirs too (keeping their values), since they have nothing left
// to refer to.
void XlsxPackage::dropFormula(pugi::xml_node cellNode)
{
    const pugi::xml_node f = child(cellNode, "f");
    if (!f) return;
    if (std::string_view(attribute(f, "t").value()) == "shared" && attribute(f, "ref")) {
        const std::string si = attribute(f, "si").value();
        for (pugi::xml_node r : m_sheetData.children())
            for (pugi::xml_node c : r.children()) {
                const pugi::xml_node g = child(c, "f");
                if (g && std::string_view(attribute(g, "t").value()) == "shared" && si == attribute(g, "si").value())
                    c.remove_child(g);
            }
    }
    cellNode.remove_child(f);
}

void XlsxPackage::setCell(int row, int column, const Cell& cell)
{
    pugi::xml_node rowNode = findOrAddRow(row);
    rowNode.remove_attribute("spans");  // a hint that may no longer hold
    pugi::xml_node c = findOrAddCell(rowNode, row, column);
    dropFormula(c);
    while (pugi::xml_node first = c.first_child()) c.remove_child(first);
    for (const char* name : {"t", "cm", "vm", "ph"}) c.remove_attribute(name);
    if (cell.kind == CellKind::Number) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, cell.number).ptr;
        c.append_child((m_prefix + "v").c_str()).text().set(std::string(buffer, end).c_str());
    } else if (cell.kind == CellKind::Text) {
        c.append_attribute("t").set_value("inlineStr");
        pugi::xml_node t = c.append_child((m_prefix + "is").c_str()).append_child((m_prefix + "t").c_str());
        const std::string text = encodeEscapes(cell.text);
        if (!text.empty() && (std::isspace(static_cast<unsigned char>(text.front())) ||
                              std::isspace(static_cast<unsigned char>(text.back()))))
            t.append_attribute("xml:space").set_value("preserve");
        t.text().set(text.c_str());
    }
    m_edited = true;
}

void XlsxPackage::updateDimension()
{
    pugi::xml_node dimension = child(child(m_sheet, "worksheet"), "dimension");
    if (!dimension) return;
    int top = kMaxRows, bottom = -1, left = kMaxColumns, right = -1;
    for (pugi::xml_node r : m_sheetData.children())
        for (pugi::xml_node c : r.children()) {
            if (c.type() != pugi::node_element || localName(c.name()) != "c") continue;
            if (const auto ref = parseCellName(attribute(c, "r").value())) {
                top = std::min(top, ref->row);
                bottom = std::max(bottom, ref->row);
                left = std::min(left, ref->column);
                right = std::max(right, ref->column);
            }
        }
    std::string ref = "A1";
    if (bottom >= 0) {
        ref = cellName(top, left);
        if (bottom != top || right != left) ref += ":" + cellName(bottom, right);
    }
    pugi::xml_attribute a = attribute(dimension, "ref");
    if (!a) a = dimension.append_attribute("ref");
    a.set_value(ref.c_str());
}

// Once the sheet is edited, the calculation chain no longer matches it, and spreadsheet
// programs call a package with a stale chain damaged: the chain goes, with its relationship
// and content type, and is rebuilt by the program on its next calculation.
std::string XlsxPackage::changedPart(const Entry& e)
{
    if (e.name == m_sheetPart) {
        updateDimension();
        return toText(m_sheet);
    }
    pugi::xml_document doc;
    if (!parseXml(doc, e.data)) return e.data;
    if (e.name == m_workbookRelsPart) {
        pugi::xml_node root = child(doc, "Relationships");
        for (pugi::xml_node r = root.first_child(); r;) {
            const pugi::xml_node next = r.next_sibling();
            if (endsWith(attribute(r, "Type").value(), "/calcChain")) root.remove_child(r);
            r = next;
        }
    } else {
        pugi::xml_node root = child(doc, "Types");
        for (pugi::xml_node r = root.first_child(); r;) {
            const pugi::xml_node next = r.next_sibling();
            if (endsWith(attribute(r, "PartName").value(), "/calcChain.xml")) root.remove_child(r);
            r = next;
        }
    }
    return toText(doc);
}

bool XlsxPackage::write(const std::string& path, std::string& error)
{
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        error = zip_error_strerror(&e);
        zip_error_fini(&e);
        return false;
    }
    std::list<std::string> changed;  // kept alive, in place, until the archive is closed
    for (const Entry& e : m_entries) {
        const std::string* data = &e.data;
        if (m_edited) {
            if (endsWith(e.name, "calcChain.xml")) continue;
            if (e.name == m_sheetPart || e.name == m_workbookRelsPart || e.name == "[Content_Types].xml") {
                changed.push_back(changedPart(e));
                data = &changed.back();
            }
        }
        zip_source_t* source = zip_source_buffer(archive, data->data(), data->size(), 0);
        if (!source || zip_file_add(archive, e.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            if (source) zip_source_free(source);
            error = zip_strerror(archive);
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        error = zip_strerror(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

}  // namespace fendo::exchange
