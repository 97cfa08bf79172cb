// The command descriptions HELP shows and the HELP command itself.
//
// One row per command, in one place: a command that is added to the module gets its row here (rows
// of commands the module does not register yet stay out of the list until they land).
#include "app/CommandHelp.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "host/editor/AnswerGrammar.h"
#include "host/editor/CommandStack.h"
#include "host/editor/Editor.h"
#include "host/editor/HostCommands.h"
#include "host/editor/PromptCommands.h"

namespace fendo::app {

namespace {

constexpr const wchar_t* kLayers = L"Layers and bulges";
constexpr const wchar_t* kKinds = L"Polyline kinds and splines";
constexpr const wchar_t* kOffset = L"Offsetting, splitting and replacing polylines";
constexpr const wchar_t* kVertices = L"Adding and removing vertices";
constexpr const wchar_t* kSlope = L"Slope symbols";
constexpr const wchar_t* kEdit = L"Editing values";
constexpr const wchar_t* kSurvey = L"Survey points";
constexpr const wchar_t* kNodes = L"Node marks, crossings and elevation lines";
constexpr const wchar_t* kSheets = L"Spreadsheets and tables";
constexpr const wchar_t* kPatterns = L"Hatch patterns";
constexpr const wchar_t* kHelp = L"Help";
constexpr const wchar_t* kHost = L"Host commands";

// clang-format off
constexpr std::array kTable{
    // Layers and bulges
    CommandHelp{L"22", kLayers, L"turns off the layer of each picked object",
        L"Turns off the layer of each picked object, until a pick finds nothing.",
        L"22\n20,2.5\n"},
    CommandHelp{L"33", kLayers, L"turns off every layer except those of the picked objects",
        L"Turns off every layer except those of the picked objects; Enter ends the picks.",
        L"33\n20,2.5\n20,6.5\n"},
    CommandHelp{L"11", kLayers, L"turns every layer on", L"Turns every layer on.", L"11"},
    CommandHelp{L"44", kLayers, L"erases every object on the picked object's layer",
        L"Erases every object on the picked object's layer after an OK; the layer name is used as a wildcard "
        L"pattern.",
        L"44\n5,-27.5\nok"},
    CommandHelp{L"PLC", kLayers, L"gives one straight segment of a polyline the bulge 0.00001",
        L"Gives the picked straight (or clockwise) segment of a lightweight polyline the bulge 0.00001.",
        L"PLC\n20,6.5"},
    CommandHelp{L"PLCA", kLayers, L"gives every straight segment of a polyline the bulge 0.00001",
        L"Gives every straight segment of a picked lightweight polyline the bulge 0.00001.", L"PLCA\n20,6.5"},

    // Polyline kinds and splines
    CommandHelp{L"32P", kKinds, L"3D polylines to lightweight polylines",
        L"Replaces 3D polylines by lightweight polylines: z dropped, repeated vertices dropped, closed state kept.",
        L"32P\nall\n"},
    CommandHelp{L"32D", kKinds, L"3D polylines to 2D polylines",
        L"Replaces 3D polylines by 2D polylines with the same vertices and closed state.", L"32D\nall\n"},
    CommandHelp{L"2P", kKinds, L"2D polylines to lightweight polylines",
        L"Replaces 2D polylines by lightweight polylines at the same elevation; arc segments become straight.",
        L"2P\nall\n"},
    CommandHelp{L"P23", kKinds, L"polylines to 3D polylines",
        L"Replaces 2D and lightweight polylines by 3D polylines at their elevation; a closed one ends on its first "
        L"vertex again.",
        L"P23\n20,2.5\n"},
    CommandHelp{L"BA", kKinds, L"arcs and bulged polylines to straight chords",
        L"Replaces arcs and bulged polylines by lightweight polylines of straight chords (a half circle gives 18 "
        L"chords).",
        L"BA\nall\n"},
    CommandHelp{L"BA1", kKinds, L"polylines to open straight polylines",
        L"Replaces 2D and lightweight polylines by open straight polylines, one vertex per vertex, widths dropped.",
        L"BA1\nall\n"},
    CommandHelp{L"P2S", kKinds, L"polylines to splines",
        L"Replaces 2D, 3D and lightweight polylines by splines through their vertices.", L"P2S\nall\n"},
    CommandHelp{L"S2P", kKinds, L"splines to lightweight polylines",
        L"Replaces splines by lightweight polylines within a division tolerance (Enter keeps 0.1); every fit point "
        L"is a vertex.",
        L"S2P\n0.05\nall\n"},
    CommandHelp{L"S3P", kKinds, L"splines to 3D polylines",
        L"As S2P but to 3D polylines whose heights run linearly between the fit points' heights.",
        L"S3P\n0.05\nall\n"},
    CommandHelp{L"S2P1", kKinds, L"draws a spline's fit points as a polyline",
        L"Draws a picked spline's fit points as a polyline; the spline stays.", L"S2P1\n10,10"},
    CommandHelp{L"TDSPL", kKinds, L"inserts fit points into a spline",
        L"Inserts each picked point as a fit point of a picked spline; Enter ends.", L"TDSPL\n10,10\n12,11\n"},
    CommandHelp{L"LDSPL", kKinds, L"removes fit points from a spline",
        L"Removes the fit point ending the span nearest each picked point; Enter ends.", L"LDSPL\n10,10\n12,11\n"},
    CommandHelp{L"N3d", kKinds, L"joins lines and 3D polylines into 3D polylines",
        L"Joins lines and 3D polylines that meet end to end (within 0.05 in plan) into 3D polylines; a sloping "
        L"piece starts a new one; exact duplicates are erased first.",
        L"N3d\nall\n"},
    CommandHelp{L"DCPL", kKinds, L"reverses the direction of polylines",
        L"Reverses the direction of the selected polylines of all three kinds, arcs staying on their segments.",
        L"DCPL\nall\n"},

    // Offsetting, splitting and replacing polylines
    CommandHelp{L"O3P", kOffset, L"copies 3D polylines sideways and up or down",
        L"A dialog takes a slope angle (degrees) or a horizontal distance, and a height difference, remembered in "
        L"Data/offset.cfg (or the user's data folder when Data/ cannot be written); then each pick asks for a "
        L"point on the side of the copy, until a pick finds nothing.",
        L"O3P\n1033=on\n1036=45\n1037=1.5\nclick 1\n20,2.5\n20,-10\n^C"},
    CommandHelp{L"CHIAPL", kOffset, L"splits a polyline at a point",
        L"Splits a picked polyline at a point: it keeps the part before the point, a new polyline holds the part "
        L"after it; a point at an end changes nothing.",
        L"CHIAPL\n60,8.5\n60,8.5"},
    CommandHelp{L"ThayPl", kOffset, L"replaces a stretch of a polyline by another polyline",
        L"Replaces a stretch of a polyline (lightweight or 3D) by another polyline drawn over it: the target's "
        L"vertices between the stretch's ends give way to the stretch's vertices.",
        L"ThayPl\n20,-1.5\n100,17"},

    // Adding and removing vertices
    CommandHelp{L"TDPL", kVertices, L"inserts a vertex into a polyline",
        L"Inserts a vertex at the picked point of a polyline (lightweight, 2D or 3D); with D, replaces arcs and "
        L"spline fits by straight segments within a tolerance (Enter keeps 0.5).",
        L"TDPL\n12.5,40"},
    CommandHelp{L"LDPL", kVertices, L"removes vertices from a polyline",
        L"Removes the vertex nearest each pick until Enter or ^C (two vertices always stay); with D, keeps only the "
        L"vertices the polyline needs within a tolerance.",
        L"LDPL\n80,15\nD\n0.5"},

    // Slope symbols
    CommandHelp{L"TL", kSlope, L"draws a slope symbol between a top edge and a toe",
        L"Asks for the long tick step (1006) and the small ticks per step (1007), then the top edge, the toe and "
        L"the start and end points (Enter: the whole edge). The values are remembered in Data/tl.ini.",
        L"TL\n1006=5\n1007=4\n\n20,0\n20,-8\n"},
    CommandHelp{L"HCTL", kSlope, L"edits a slope symbol in a dialog that stays open",
        L"Opens the editor of a picked slope symbol; DIALOG fills it in: 1042 rebuilds, 1034/1035 trim ticks at a "
        L"polyline, 1007 passes the values on, 1 applies and closes.",
        L"HCTL\n20,-3\nDIALOG\n1033=#1\nclick 1"},

    // Hatch patterns
    CommandHelp{L"TESTH", kPatterns, L"opens the hatch-pattern browser",
        L"Lists the hatch pattern files beside the module by name in list 1000; choosing an entry draws its preview "
        L"(control 1030); OK or Cancel closes it and the drawing is unchanged.",
        L"TESTH\n1000=BRICK\nclick 1"},

    // Editing values
    CommandHelp{L"EM", kEdit, L"edits the value of each picked object in a dialog",
        L"Picks objects one after another and edits each one's value: a text's string, a dimension's text, the "
        L"elevation of a point or polyline, a survey point's elevation and code; a 3D polyline opens the vertex "
        L"editor. Enter or ^C ends.",
        L"EM\n0.5,10.3\n1006=Km 5\nclick 1\n"},
    CommandHelp{L"EMT", kEdit, L"puts a prefix and a suffix round texts",
        L"Puts a prefix (1038) and a suffix (1039) round the selected texts; OK needs both.",
        L"EMT\nall\n\n1038=K\n1039=m\nclick 1"},
    CommandHelp{L"CVTEXT", kEdit, L"makes every blank of a text a point",
        L"Trims the selected texts and makes every blank a point (' 12 5 ' becomes '12.5').",
        L"CVTEXT\nw -1,4 20,7\n"},
    CommandHelp{L"P2C", kEdit, L"makes the comma of a two-part text a point",
        L"Trims the selected texts and makes the comma a point where it splits the text in exactly two pieces "
        L"('12,5' becomes '12.5').",
        L"P2C\nw -1,-1 20,2\n"},
    CommandHelp{L"EML", kEdit, L"sets lines and polylines to a length",
        L"Sets selected lines and polylines to a length (1006) keeping the end (1101), the middle (1102) or the "
        L"start (1103).",
        L"EML\n45,0\n\n1006=4\n1101=on\nclick 1"},
    CommandHelp{L"EMD", kEdit, L"moves dimensions' extension-line points onto a line",
        L"Moves the extension-line points of the selected linear dimensions onto the line through a picked point "
        L"parallel to each dimension line; the measurements stay.",
        L"EMD\nall\n\n10,20"},

    // Survey points
    CommandHelp{L"JT", kSurvey, L"joins point markers and elevation texts into survey points",
        L"Joins point markers and their elevation texts into survey points on DiemDoKVO, numbered from 1: split "
        L"texts around a marker, texts whose corners meet, or two plain numbers beside a marker.",
        L"JT\nw -1,-1 22,11\n"},
    CommandHelp{L"JT1", kSurvey, L"joins elevation texts alone into survey points",
        L"As JT from texts alone: a left-aligned text is the decimal part of the right-aligned text ending within "
        L"0.3 of its insertion point.",
        L"JT1\nw 58,0 80,6\n"},
    CommandHelp{L"CD0", kSurvey, L"marks lines and polylines at height zero",
        L"Draws a red circle of radius 1 on DanhDauCaoDo0 where a selected line or polyline lies at height 0.",
        L"CD0\nall\n"},
    CommandHelp{L"CHECK", kSurvey, L"finds polylines with more than 500 vertices",
        L"Colours red every lightweight polyline with more than 500 vertices and prints nummax: and the largest "
        L"count.",
        L"CHECK"},
    CommandHelp{L"D2D", kSurvey, L"makes survey points at polyline vertices",
        L"Makes a survey point on DiemTuDuongPline at every vertex of the selected polylines, at the vertex's "
        L"height, numbered from 0.",
        L"D2D\nall\n"},
    CommandHelp{L"LDTT", kSurvey, L"erases repeated survey points, lines and polylines",
        L"Erases survey points at a plan position seen before and lines and polylines whose extents' corners were "
        L"seen before.",
        L"LDTT\nall\n"},
    CommandHelp{L"HCD", kSurvey, L"changes how survey points are shown",
        L"A dialog: tick what changes (text height, rotation, colour), click 1029 and pick survey points; click 1 "
        L"closes.",
        L"HCD\n1020=on\n1006=0.5\nclick 1029\nall\n\nclick 1"},
    // Node marks, crossings and elevation lines
    CommandHelp{L"NODE", kNodes, L"marks every vertex of polylines with a circle",
        L"Draws a circle at every vertex of the selected polylines (all three kinds) on the current layer; the radius "
        L"is asked each time and remembered while the module stays loaded (0.1 at first; Enter, 0 or less keeps it).",
        L"NODE\n0.3\nw -5,-5 65,25\n"},
    CommandHelp{L"CIP", kNodes, L"marks where polylines of different elevation cross",
        L"Checks the selected polylines pairwise, straight from vertex to vertex, and where two of different "
        L"elevation cross draws a red circle of radius 0.5 on the current layer and turns both red.",
        L"CIP\nw -5,-5 65,25\n"},
    CommandHelp{L"XBX", kNodes, L"reports the label inside each parcel boundary",
        L"Pairs each parcel (a polyline of three or more vertices) on layer Bao_O with the first paragraph text on "
        L"Texhled inside it and writes one line per parcel to TD.txt in the folder fendo runs in.",
        L"XBX"},
    CommandHelp{L"NCDT", kNodes, L"joins survey points of one elevation into a 3D polyline",
        L"Joins the picked survey points of one elevation into one 3D polyline, starting from the westernmost.",
        L"NCDT\nall\n\n102"},
    CommandHelp{L"NDCD", kNodes, L"joins survey points in an elevation range into a 3D polyline",
        L"Joins the picked survey points whose elevation lies between two bounds into one 3D polyline from the "
        L"lowest point, each step to the nearest point whose segment does not cross the line drawn so far.",
        L"NDCD\nall\n\n100\n101"},
    CommandHelp{L"GCD1", kNodes, L"gives polylines on a layer the elevation of the text they cross",
        L"Gives every polyline on the layer of the picked object the elevation written in the first single-line text "
        L"whose box diagonal crosses it (\"12.35m\" gives 12.35); polylines no text crosses keep theirs.",
        L"GCD1\n50,2.5"},

    // Spreadsheets and tables
    CommandHelp{L"RM", kSheets, L"draws a sample-log table from a spreadsheet",
        L"Draws a sample-log table (rock descriptions) from a chosen spreadsheet file.", L"RM"},
    CommandHelp{L"B2E", kSheets, L"writes a table's cell texts into a new workbook",
        L"Writes the cell texts of one picked table into a new workbook made from a template.", L"B2E"},
    CommandHelp{L"E2B", kSheets, L"draws a spreadsheet sheet as a table",
        L"Reads a spreadsheet sheet and draws it as a new table at a picked point.", L"E2B"},
    CommandHelp{L"XPL", kSheets, L"writes polyline lengths into a workbook",
        L"Writes the lengths of the selected polylines into a new workbook.", L"XPL"},
    CommandHelp{L"IPL", kSheets, L"draws a polyline from spreadsheet coordinates",
        L"Draws a polyline from point coordinates read from a spreadsheet file.", L"IPL"},
    CommandHelp{L"EPL", kSheets, L"writes polyline vertex coordinates to a spreadsheet",
        L"Writes the vertex coordinates of polylines and 3D polylines to a spreadsheet file.", L"EPL"},
    CommandHelp{L"RPT", kSheets, L"replaces texts with texts from a spreadsheet",
        L"Replaces the contents of selected texts with texts read from a spreadsheet file.", L"RPT"},

    // Help
    CommandHelp{L"KVOHelp", kHelp, L"opens the help file",
        L"Opens Data/HelpQuorin7.1.chm beside the module with the desktop's opener, when there is a desktop.",
        L"KVOHelp"},
    CommandHelp{L"ABOUTKVO", kHelp, L"shows the about box",
        L"Shows the about box; click 1 or ^C closes it.", L"ABOUTKVO\nclick 1"},

    // Host commands
    CommandHelp{L"HELP", kHost, L"lists the commands; HELP NAME describes one",
        L"Lists every command with one line on what it does, grouped by family; HELP NAME shows a command's whole "
        L"description and an example. F1 at the command prompt does the same as HELP.",
        L"HELP TDPL"},
    CommandHelp{L"SAVE", kHost, L"saves the drawing",
        L"Saves to the last SAVEAS file, else the -o file, else the file read.", L"SAVE"},
    CommandHelp{L"SAVEAS", kHost, L"saves the drawing under a new name",
        L"Saves the drawing under a new name, which later SAVEs use.", L"SAVEAS out.dxf"},
    CommandHelp{L"QUIT", kHost, L"ends the session", L"Ends the session; the -o file is still written.", L"QUIT"},
    CommandHelp{L"EXIT", kHost, L"ends the session", L"Ends the session; the -o file is still written.", L"EXIT"},
    CommandHelp{L"APPLOAD", kHost, L"loads a module or object library",
        L"Loads a module or object library; a bare file name is also looked for beside fendo.",
        L"APPLOAD Fendo17.arx"},
    CommandHelp{L"ARX", kHost, L"lists, loads or unloads modules",
        L"ARX ? lists the loaded modules, ARX Load path loads one, ARX Unload name unloads one.", L"ARX ?"},
    CommandHelp{L"DIALOG", kHost, L"fills in a dialog that is still open",
        L"Drives a modeless dialog that is still open (DIALOG [number | caption | ?]); see docs/dialogs.md.",
        L"DIALOG\nclick 1"},
    CommandHelp{L"RENDER", kHost, L"draws the drawing to an SVG or PNG picture",
        L"Draws the drawing, or the window between two corners, to an SVG or PNG picture.",
        L"RENDER out.png 0,0 100,50"},
    CommandHelp{L"EXPORTPLAIN", kHost, L"saves a copy with custom objects as ordinary entities",
        L"Saves a copy of the drawing with survey points and slope symbols written as ordinary lines and texts.",
        L"EXPORTPLAIN plain.dxf"},
    CommandHelp{L"GRIPS", kHost, L"lists a picked object's grip points",
        L"Lists the grip points of a picked object with their indexes, in grip-editing order.", L"GRIPS\n20,2.5"},
    CommandHelp{L"MOVEGRIP", kHost, L"moves one grip of a picked object",
        L"Moves one grip of a picked object to a point or by @dx,dy from the grip, as dragging it would.",
        L"MOVEGRIP\n20,2.5\n0\n@10,0"},
    CommandHelp{L"TOUNICODE", kHost, L"converts TCVN3 and VNI texts to Unicode",
        L"Converts the selected texts (Enter takes all of them) from TCVN3 or VNI to Unicode and points their "
        L"styles at Unicode fonts (Data/VietFonts.ini); TOUNICODE names converts layer and block names too.",
        L"TOUNICODE"},
    CommandHelp{L"TOTCVN3", kHost, L"converts Unicode Vietnamese texts to TCVN3",
        L"The way back: converts the selected Unicode Vietnamese texts (Enter takes all of them) to TCVN3; "
        L"TOTCVN3 names converts layer and block names too.",
        L"TOTCVN3"},
    CommandHelp{L"SETVAR", kHost, L"shows or sets a system variable",
        L"SETVAR name [value]: without a value it shows the current one and asks for a new one (Enter keeps it).",
        L"SETVAR OSMODE 4"},
};
// clang-format on

std::wstring upper(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(std::towupper(c));
    return out;
}

std::wstring padded(std::wstring text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), L' ');
    return text;
}

// Whether the name runs something in this session: a loaded module command or a host command.
bool available(std::wstring_view name)
{
    const std::wstring key(name);
    if (acedRegCmds->lookupCmd(key.c_str())) return true;
    return fendo::editor::findPromptCommand(name) || fendo::editor::isHostCommand(name);
}

void listAll()
{
    auto& ed = fendo::editor::editor();
    std::set<std::wstring> described;
    std::size_t width = 0;
    for (const CommandHelp& row : kTable) {
        described.insert(upper(row.name));
        width = std::max(width, std::wstring_view(row.name).size());
    }
    ed.write(L"\nCommands (HELP NAME describes one in full):");
    std::wstring_view family;
    for (const CommandHelp& row : kTable) {
        if (!available(row.name)) continue;
        if (family != row.family) {
            family = row.family;
            ed.write(L"\n" + std::wstring(family) + L":");
        }
        ed.write(L"\n  " + padded(row.name, width + 2) + row.summary);
    }
    // Commands without a row yet still appear, so none is hidden from the list.
    std::vector<std::wstring> others;
    for (const AcEdCommand* c : acedRegCmds->commands())
        if (!described.count(upper(c->localName())))
            others.push_back(std::wstring(c->localName()) + L"  (" + c->globalName() + L", group " + c->groupName() +
                             L")");
    for (const auto* c : fendo::editor::promptCommands())
        if (!described.count(c->name)) others.push_back(c->name + L"  " + c->summary);
    if (others.empty()) return;
    ed.write(L"\nOther commands:");
    for (const std::wstring& line : others) ed.write(L"\n  " + line);
}

void describe(std::wstring_view name)
{
    auto& ed = fendo::editor::editor();
    const CommandHelp* row = findCommandHelp(name);
    if (!row) {
        if (available(name))
            ed.write(L"\n" + upper(name) + L": no description yet.");
        else
            ed.write(L"\nUnknown command \"" + upper(name) + L"\".  Type HELP for the list.");
        return;
    }
    std::wstring text =
        L"\n" + std::wstring(row->name) + L" (" + row->family + L"): " + row->summary + L".\n" + row->details;
    const std::wstring key(row->name);
    if (const AcEdCommand* command = acedRegCmds->lookupCmd(key.c_str()))
        text += L"\nAlso typed as " + std::wstring(command->globalName()) + L" (group " + command->groupName() + L").";
    else if (!available(row->name))
        text += L"\n(Not in this build yet.)";
    text += L"\nExample:";
    const std::wstring_view example = row->example;
    for (std::size_t start = 0;;) {
        const auto cut = example.find(L'\n', start);
        const std::wstring_view line = example.substr(start, cut == std::wstring_view::npos ? cut : cut - start);
        text += L"\n  " + (line.empty() ? std::wstring(L"(Enter)") : std::wstring(line));
        if (cut == std::wstring_view::npos) break;
        start = cut + 1;
    }
    ed.write(text);
}

}  // namespace

std::span<const CommandHelp> commandHelpTable() { return kTable; }

const CommandHelp* findCommandHelp(std::wstring_view name)
{
    std::wstring key = upper(fendo::editor::trimBlanks(name));
    if (key.rfind(L"TEMPLATE_", 0) == 0) key.erase(0, 9);
    for (const CommandHelp& row : kTable)
        if (upper(row.name) == key) return &row;
    return nullptr;
}

void registerHelpCommand()
{
    fendo::editor::registerPromptCommand(L"HELP", L"lists the commands; HELP NAME describes one",
                                         [](std::wstring_view argument) {
                                             argument = fendo::editor::trimBlanks(argument);
                                             if (argument.empty())
                                                 listAll();
                                             else
                                                 describe(argument);
                                         });
}

}  // namespace fendo::app
