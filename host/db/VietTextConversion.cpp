// Conversion of a drawing's Vietnamese texts between 8-bit fonts and Unicode.
#include "host/db/VietTextConversion.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/AcDbTableStyle.h"
#include "host/db/entities/AcDbText.h"
#include "host/db/entities/EntityUtil.h"
#include "host/fonts/FontResolver.h"

namespace fendo::viet
{
namespace
{

using fonts::encodingOfFont;

constexpr const wchar_t* kKinds[] = {L"TEXT",  L"MTEXT",       L"ATTDEF", L"ATTRIB", L"DIMENSION",
                                     L"TABLE", L"MULTILEADER", L"STYLE",  L"LAYER",  L"BLOCK"};

bool isAscii(std::wstring_view text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

// Walks MTEXT contents run by run. Font names of \f and \F codes are remembered
// by their place in the output, so that they can be replaced once it is known
// whether anything changed.
class MTextConverter
{
public:
    MTextConverter(std::wstring_view styleFont, Direction direction, std::wstring* missing)
        : m_direction(direction), m_missing(missing), m_fonts{Font{std::wstring(styleFont), true}}
    {
    }

    std::optional<ConvertedText> run(std::wstring_view s, const fonts::VietFontTable& table)
    {
        for (std::size_t i = 0; i < s.size();) {
            const wchar_t c = s[i];
            if (c == L'{' || c == L'}') {
                flush();
                m_out.push_back(c);
                if (c == L'{')
                    m_fonts.push_back(m_fonts.back());
                else if (m_fonts.size() > 1)
                    m_fonts.pop_back();
                ++i;
                continue;
            }
            if (c != L'\\' || i + 1 >= s.size()) {
                m_run.push_back(c);
                ++i;
                continue;
            }
            flush();
            const wchar_t code = s[i + 1];
            const std::size_t semicolon = s.find(L';', i + 2);
            if ((code == L'f' || code == L'F') && semicolon != std::wstring_view::npos) {
                const std::wstring_view body = s.substr(i + 2, semicolon - i - 2);
                const std::wstring_view name = body.substr(0, body.find(L'|'));
                m_out.append(s.substr(i, 2));
                m_names.push_back({m_out.size(), std::wstring(name), code == L'f'});
                m_out.append(body);
                m_out.push_back(L';');
                m_fonts.back() = Font{std::wstring(name), false};
                i = semicolon + 1;
            } else if (code == L'S' && semicolon != std::wstring_view::npos) {
                // Stacked text: the parts around ^, / and # are text in the current
                // font.
                m_out.append(L"\\S");
                m_run.assign(s.substr(i + 2, semicolon - i - 2));
                flush();
                m_out.push_back(L';');
                i = semicolon + 1;
            } else if (std::wstring_view(L"ACcHQTWp").find(code) != std::wstring_view::npos &&
                       semicolon != std::wstring_view::npos) {
                m_out.append(s.substr(i, semicolon + 1 - i));
                i = semicolon + 1;
            } else if ((code == L'U' || code == L'u') && i + 6 < s.size() && s[i + 2] == L'+') {
                m_out.append(s.substr(i, 7));
                i += 7;
            } else if ((code == L'M' || code == L'm') && i + 7 < s.size() && s[i + 2] == L'+') {
                m_out.append(s.substr(i, 8));
                i += 8;
            } else {
                m_out.append(s.substr(i, 2));  // \P, \~, \\, \{, \}, \L ... kept as they are
                i += 2;
            }
        }
        flush();
        if (m_failed || !m_changed) return std::nullopt;
        // Font names from the back, so that the places of earlier ones stay valid.
        for (auto it = m_names.rbegin(); it != m_names.rend(); ++it) {
            const std::optional<std::wstring> name = newFontName(it->name, it->family, table);
            if (name) m_out.replace(it->at, it->name.size(), *name);
        }
        return ConvertedText{std::move(m_out), m_usesStyle};
    }

private:
    struct Font {
        std::wstring name;
        bool isStyle;
    };
    struct NamePlace {
        std::size_t at;
        std::wstring name;
        bool family;  // \f names a family, \F a file
    };

    void flush()
    {
        if (m_run.empty()) return;
        const Font& font = m_fonts.back();
        std::wstring missing;
        if (auto converted = convertText(m_run, font.name, m_direction, &missing)) {
            m_out += converted->text;
            m_changed = true;
            m_usesStyle = m_usesStyle || font.isStyle;
        } else {
            m_out += m_run;
        }
        if (!missing.empty()) {
            m_failed = true;
            if (m_missing)
                for (wchar_t c : missing)
                    if (m_missing->find(c) == std::wstring::npos) m_missing->push_back(c);
        }
        m_run.clear();
    }

    std::optional<std::wstring> newFontName(const std::wstring& name, bool family,
                                            const fonts::VietFontTable& table) const
    {
        const bool eightBit = encodingOfFont(name) != Encoding::Unicode;
        if (eightBit != (m_direction == Direction::ToUnicode) || fonts::isShapeFontName(name)) return std::nullopt;
        const auto choice = table.find(name, m_direction == Direction::ToUnicode ? fonts::FontDirection::ToUnicode
                                                                                 : fonts::FontDirection::ToTcvn3);
        if (!choice) return std::nullopt;
        if (!family || choice->family.empty()) return choice->file;
        return choice->family;
    }

    Direction m_direction;
    std::wstring* m_missing;
    std::vector<Font> m_fonts;  // the current font of each open group
    std::vector<NamePlace> m_names;
    std::wstring m_out, m_run;
    bool m_changed = false, m_usesStyle = false, m_failed = false;
};

// ----------------------------------------------------------------------------
// the drawing

class DrawingConverter
{
public:
    DrawingConverter(AcDbDatabase& db, Direction direction, const fonts::VietFontTable& table,
                     const std::vector<AcDbObjectId>* selection)
        : m_db(db), m_direction(direction), m_table(table)
    {
        if (selection) m_selection = std::set<AcDbObjectId>(selection->begin(), selection->end());
        for (const wchar_t* kind : kKinds)
            m_report.counts.emplace_back(kind, 0);
    }

    void convertTexts()
    {
        const auto* blocks = db::peekObject<AcDbBlockTable>(m_db.blockTableId());
        if (!blocks) return;
        for (AcDbObjectId btrId : blocks->recordIds()) {
            const auto* btr = db::peekObject<AcDbBlockTableRecord>(btrId);
            if (!btr || btrId.isErased()) continue;
            for (AcDbObjectId id : btr->entityIds())
                if (!m_selection || m_selection->count(id)) convertEntity(id);
        }
        repointStyles();
    }

    void convertNames()
    {
        renameRecords(m_db.layerTableId(), L"LAYER");
        renameRecords(m_db.blockTableId(), L"BLOCK");
    }

    ConversionReport takeReport() { return std::move(m_report); }

private:
    // The font a style's texts are written in: its file, or the face it names
    // when only that one says the font is an 8-bit Vietnamese one.
    std::wstring styleFont(AcDbObjectId styleId)
    {
        if (styleId.isNull()) styleId = m_db.textstyle();
        if (styleId.isNull()) styleId = db::ent::lookupRecord(&m_db, m_db.textStyleTableId(), L"Standard");
        const auto* rec = db::peekObject<AcDbTextStyleTableRecord>(styleId);
        if (!rec) return L"";
        if (encodingOfFont(rec->fileName()) == Encoding::Unicode && !rec->typeface().empty() &&
            encodingOfFont(rec->typeface()) != Encoding::Unicode)
            return rec->typeface();
        return rec->fileName();
    }

    AcDbObjectId resolvedStyle(AcDbObjectId styleId)
    {
        if (styleId.isNull()) styleId = m_db.textstyle();
        if (styleId.isNull()) styleId = db::ent::lookupRecord(&m_db, m_db.textStyleTableId(), L"Standard");
        return styleId;
    }

    // The text style a group of kept handles (a dimension style's, a
    // multileader's) points at.
    AcDbObjectId styleAmong(const std::vector<AcDbObject::KeptGroup>* kept, std::initializer_list<short> codes)
    {
        if (!kept) return AcDbObjectId();
        for (const auto& g : *kept) {
            if (std::find(codes.begin(), codes.end(), g.tag.code) == codes.end()) continue;
            bool ok = false;
            const AcDbHandle handle = AcDbHandle::fromHex(g.tag.value, &ok);
            AcDbObjectId id;
            if (ok && m_db.getAcDbObjectId(id, false, handle) == Acad::eOk &&
                db::peekObject<AcDbTextStyleTableRecord>(id))
                return id;
        }
        return AcDbObjectId();
    }

    std::string handleOf(const AcDbObject* obj) const
    {
        AcDbHandle h;
        obj->getAcDbHandle(h);
        return h.hex();
    }

    // Converts one field; false (and a problem reported) when characters have no
    // TCVN3 form.
    template <typename Convert>
    bool field(const std::wstring& value, AcDbObjectId styleId, const AcDbObject* obj, const wchar_t* kind,
               Convert convert, std::optional<std::wstring>& result)
    {
        std::wstring missing;
        const std::optional<ConvertedText> converted = convert(value, styleFont(styleId), m_direction, &missing);
        if (!missing.empty()) {
            m_report.problems.push_back(std::wstring(kind) + L" " + fendo::fromUtf8(handleOf(obj)) +
                                        L": no TCVN3 form for " + missing + L"; left as it is");
            return false;
        }
        if (!converted) return true;
        result = converted->text;
        if (converted->usesStyleFont) m_styleUsers[resolvedStyle(styleId)].push_back(obj->objectId());
        m_converted.insert(obj->objectId());
        return true;
    }

    static std::optional<ConvertedText> single(std::wstring_view t, std::wstring_view f, Direction d, std::wstring* m)
    {
        return convertText(t, f, d, m);
    }
    static std::optional<ConvertedText> multi(std::wstring_view t, std::wstring_view f, Direction d, std::wstring* m)
    {
        return convertMText(t, f, d, m);
    }

    void convertEntity(AcDbObjectId id)
    {
        db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
        if (!ent) return;
        std::optional<std::wstring> a, b, c;
        if (auto* def = AcDbAttributeDefinition::cast(ent.get())) {
            const AcDbObjectId style = def->textStyle();
            field(def->tag(), style, def, L"ATTDEF", single, a);
            field(def->prompt(), style, def, L"ATTDEF", single, b);
            field(def->textString(), style, def, L"ATTDEF", single, c);
            if (a) def->setTag(a->c_str());
            if (b) def->setPrompt(b->c_str());
            if (c) def->setTextString(c->c_str());
            if (a || b || c) m_report.add(L"ATTDEF");
        } else if (auto* text = AcDbText::cast(ent.get())) {
            if (field(text->textString(), text->textStyle(), text, L"TEXT", single, a) && a) {
                text->setTextString(a->c_str());
                m_report.add(L"TEXT");
            }
        } else if (auto* mtext = AcDbMText::cast(ent.get())) {
            if (field(mtext->contents(), mtext->textStyle(), mtext, L"MTEXT", multi, a) && a) {
                mtext->setContents(a->c_str());
                m_report.add(L"MTEXT");
            }
        } else if (auto* dim = AcDbDimension::cast(ent.get())) {
            const auto* dimStyle = db::peekObject<AcDbObject>(dim->dimensionStyle());
            const AcDbObjectId style = styleAmong(dimStyle ? dimStyle->keptGroups() : nullptr, {340});
            if (field(dim->dimensionText(), style, dim, L"DIMENSION", multi, a) && a) {
                dim->setDimensionText(a->c_str());
                m_report.add(L"DIMENSION");
            }
        } else if (auto* table = AcDbTable::cast(ent.get())) {
            convertTable(*table);
        } else if (auto* ref = AcDbBlockReference::cast(ent.get())) {
            for (AcDbObjectId attId : ref->subentityIds())
                convertAttribute(*ref, attId);
        } else if (auto* unknown = AcDbUnknownEntity::cast(ent.get());
                   unknown && unknown->dxfTypeName() == L"MULTILEADER") {
            convertMultileader(*unknown);
        }
    }

    void convertAttribute(AcDbBlockReference& ref, AcDbObjectId attId)
    {
        AcDbAttribute* att = nullptr;
        if (ref.openAttribute(att, attId, AcDb::kForWrite) != Acad::eOk || !att) return;
        std::optional<std::wstring> tag, value;
        field(att->tag(), att->textStyle(), att, L"ATTRIB", single, tag);
        field(att->textString(), att->textStyle(), att, L"ATTRIB", single, value);
        if (tag) att->setTag(tag->c_str());
        if (value) att->setTextString(value->c_str());
        if (tag || value) m_report.add(L"ATTRIB");
        att->close();
    }

    void convertTable(AcDbTable& table)
    {
        const auto* style = db::peekObject<AcDbTableStyle>(table.tableStyle());
        const AcDbObjectId textStyle = style ? style->textStyle() : AcDbObjectId();
        bool changed = false;
        for (int r = 0; r < table.numRows(); ++r)
            for (int c = 0; c < table.numColumns(); ++c) {
                std::optional<std::wstring> cell;
                if (field(table.textString(r, c), textStyle, &table, L"TABLE", multi, cell) && cell) {
                    table.setTextString(r, c, cell->c_str());
                    changed = true;
                }
            }
        if (changed) m_report.add(L"TABLE");
    }

    // A multileader is kept as its groups: its text is group 304, its text style
    // a handle among them.
    void convertMultileader(AcDbUnknownEntity& leader)
    {
        const auto* kept = leader.keptGroups();
        if (!kept) return;
        const AcDbObjectId style = styleAmong(kept, {340, 343});
        std::vector<AcDbObject::KeptGroup> groups = *kept;
        bool changed = false;
        for (auto& g : groups) {
            if (g.tag.code != 304) continue;
            std::optional<std::wstring> text;
            if (field(fendo::fromUtf8(g.tag.value), style, &leader, L"MULTILEADER", multi, text) && text) {
                g.tag.value = fendo::toUtf8(*text);
                changed = true;
            }
        }
        if (!changed) return;
        leader.clearKeptGroups();
        for (auto& g : groups)
            leader.keepGroup(g.subclass, std::move(g.tag));
        m_report.add(L"MULTILEADER");
    }

    void repointStyles()
    {
        const auto direction =
            m_direction == Direction::ToUnicode ? fonts::FontDirection::ToUnicode : fonts::FontDirection::ToTcvn3;
        for (const auto& [id, users] : m_styleUsers) {
            const std::wstring font = styleFont(id);
            const bool eightBit = encodingOfFont(font) != Encoding::Unicode;
            if (eightBit != (m_direction == Direction::ToUnicode)) continue;
            const std::optional<fonts::FontChoice> choice = m_table.find(font, direction);
            if (!choice) {
                const auto* rec = db::peekObject<AcDbTextStyleTableRecord>(id);
                m_report.problems.push_back(L"STYLE " + (rec ? rec->name() : std::wstring()) + L": no font for " +
                                            font + L" in VietFonts.ini; the style is left as it is");
                continue;
            }
            // Texts left out of a selection keep their style as it was; the converted ones move
            // to a copy pointing at the new font.
            if (m_selection && styleStillNeeded(id)) {
                moveToCopy(id, users, *choice);
                continue;
            }
            db::OpenedObject<AcDbTextStyleTableRecord> rec(id, AcDb::kForWrite);
            if (!rec) continue;
            pointAt(*rec.get(), *choice);
            m_report.add(L"STYLE");
        }
    }

    void pointAt(AcDbTextStyleTableRecord& rec, const fonts::FontChoice& choice)
    {
        rec.setFileName(choice.file.c_str());
        if (!rec.typeface().empty() || m_direction == Direction::ToTcvn3) rec.setTypeface(choice.family);
    }

    // True when a text that was not converted is written in `style` and would have been converted.
    bool styleStillNeeded(AcDbObjectId style)
    {
        const std::wstring font = styleFont(style);
        auto needs = [&](const AcDbEntity* e) {
            if (!e || m_converted.count(e->objectId())) return false;
            if (const auto* text = AcDbText::cast(e))
                return resolvedStyle(text->textStyle()) == style &&
                       convertText(text->textString(), font, m_direction).has_value();
            if (const auto* mtext = AcDbMText::cast(e))
                return resolvedStyle(mtext->textStyle()) == style &&
                       convertMText(mtext->contents(), font, m_direction).has_value();
            return false;
        };
        const auto* blocks = db::peekObject<AcDbBlockTable>(m_db.blockTableId());
        for (AcDbObjectId btrId : blocks ? blocks->recordIds() : std::vector<AcDbObjectId>()) {
            const auto* btr = db::peekObject<AcDbBlockTableRecord>(btrId);
            for (AcDbObjectId id : btr ? btr->entityIds() : std::vector<AcDbObjectId>()) {
                const auto* e = db::peekObject<AcDbEntity>(id);
                if (needs(e)) return true;
                if (const auto* ref = AcDbBlockReference::cast(e))
                    for (const AcDbAttribute* att : ref->attributes())
                        if (needs(att)) return true;
            }
        }
        return false;
    }

    void moveToCopy(AcDbObjectId style, const std::vector<AcDbObjectId>& users, const fonts::FontChoice& choice)
    {
        const auto* original = db::peekObject<AcDbTextStyleTableRecord>(style);
        if (!original) return;
        const std::wstring name = original->name() + (m_direction == Direction::ToUnicode ? L" Unicode" : L" TCVN3");
        AcDbObjectId copyId = db::ent::lookupRecord(&m_db, m_db.textStyleTableId(), name);
        if (copyId.isNull()) {
            std::unique_ptr<AcDbTextStyleTableRecord> copy(AcDbTextStyleTableRecord::cast(original->clone()));
            db::OpenedObject<AcDbTextStyleTable> table(m_db.textStyleTableId(), AcDb::kForWrite);
            if (!copy || !table || copy->setName(name.c_str()) != Acad::eOk) return;
            pointAt(*copy, choice);
            if (table->add(copyId, copy.get()) != Acad::eOk) return;
            copy.release()->close();
            m_report.add(L"STYLE");
        }
        for (AcDbObjectId id : users) {
            db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
            if (auto* text = AcDbText::cast(ent.get()))
                text->setTextStyle(copyId);
            else if (auto* mtext = AcDbMText::cast(ent.get()))
                mtext->setTextStyle(copyId);
            else if (ent)
                m_report.problems.push_back(fendo::fromUtf8(handleOf(ent.get())) + L": its style " + original->name() +
                                            L" also serves texts not selected; left as it is");
        }
    }

    void renameRecords(AcDbObjectId tableId, const wchar_t* kind)
    {
        const auto* table = db::peekObject<AcDbSymbolTable>(tableId);
        if (!table) return;
        const std::vector<AcDbObjectId> ids = table->recordIds();
        for (AcDbObjectId id : ids) {
            const auto* rec = db::peekObject<AcDbSymbolTableRecord>(id);
            if (!rec || id.isErased() || rec->name().starts_with(L"*")) continue;
            std::wstring missing;
            const auto converted = convertText(rec->name(), L".VnTime", m_direction, &missing);
            if (!missing.empty()) {
                m_report.problems.push_back(std::wstring(kind) + L" " + rec->name() + L": no TCVN3 form for " +
                                            missing + L"; name kept");
                continue;
            }
            if (!converted) continue;
            AcDbObjectId existing;
            if (table->getAt(converted->text.c_str(), existing) == Acad::eOk && existing != id) {
                m_report.problems.push_back(std::wstring(kind) + L" " + rec->name() + L": " + converted->text +
                                            L" exists already; name kept");
                continue;
            }
            db::OpenedObject<AcDbSymbolTableRecord> writable(id, AcDb::kForWrite);
            if (writable && writable->setName(converted->text.c_str()) == Acad::eOk) m_report.add(kind);
        }
    }

    AcDbDatabase& m_db;
    Direction m_direction;
    const fonts::VietFontTable& m_table;
    std::optional<std::set<AcDbObjectId>> m_selection;
    std::map<AcDbObjectId, std::vector<AcDbObjectId>> m_styleUsers;  // converted objects by style
    std::set<AcDbObjectId> m_converted;
    ConversionReport m_report;
};

}  // namespace

std::optional<ConvertedText> convertText(std::wstring_view text, std::wstring_view styleFont, Direction direction,
                                         std::wstring* missing)
{
    const Encoding encoding = encodingOfFont(styleFont);
    if (direction == Direction::ToUnicode) {
        std::optional<std::wstring> decoded = decodeStored(text, encoding);
        if (!decoded || *decoded == text) return std::nullopt;
        return ConvertedText{std::move(*decoded), true};
    }
    if (encoding != Encoding::Unicode || isAscii(text)) return std::nullopt;
    std::wstring lacking;
    const std::string bytes = encode(text, Encoding::Tcvn3, &lacking);
    if (!lacking.empty()) {
        if (missing) *missing += lacking;
        return std::nullopt;
    }
    return ConvertedText{storedText(bytes), true};
}

std::optional<ConvertedText> convertMText(std::wstring_view contents, std::wstring_view styleFont, Direction direction,
                                          std::wstring* missing)
{
    return MTextConverter(styleFont, direction, missing).run(contents, fonts::VietFontTable::installed());
}

int ConversionReport::total() const
{
    int sum = 0;
    for (const auto& [kind, n] : counts)
        sum += n;
    return sum;
}

void ConversionReport::add(const std::wstring& kind)
{
    for (auto& [k, n] : counts)
        if (k == kind) {
            ++n;
            return;
        }
    counts.emplace_back(kind, 1);
}

std::wstring ConversionReport::describe(Direction direction) const
{
    std::wstring out;
    if (total() == 0) {
        out = L"No texts to convert.";
    } else {
        out = direction == Direction::ToUnicode ? L"Converted to Unicode:" : L"Converted to TCVN3:";
        for (const auto& [kind, n] : counts)
            if (n > 0) out += L"\n  " + kind + L": " + std::to_wstring(n);
    }
    for (const std::wstring& p : problems)
        out += L"\n" + p;
    return out;
}

ConversionReport convertDrawing(AcDbDatabase& db, Direction direction, NameScope names,
                                const fonts::VietFontTable& fonts, const std::vector<AcDbObjectId>* selection)
{
    DrawingConverter converter(db, direction, fonts, selection);
    converter.convertTexts();
    if (names == NameScope::TextsAndNames) converter.convertNames();
    return converter.takeReport();
}

}  // namespace fendo::viet
