// The host's C-style input and output functions on top of the editor.
#include "host/editor/aced.h"

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>

#include "host/editor/Editor.h"
#include "host/editor/FileDialog.h"
#include "host/editor/FindFile.h"
#include "host/editor/HostCommands.h"
#include "host/editor/HostFormat.h"
#include "host/editor/ProgressMeter.h"

using namespace fendo::editor;

namespace {

// What a get call's parser makes of a non-empty answer.
struct Verdict {
    enum class Kind {
        Accept,     // a value: the call returns RTNORM
        NotAValue,  // try keywords and arbitrary input, else the call's invalid-input message
        Reject,     // a value the flags refuse: `message` is shown and the question asked again
        Return,     // a follow-up question ended with `code` (cancel, empty reply)
    };
    Kind kind = Kind::NotAValue;
    std::wstring message;
    int code = RTNORM;

    static Verdict accept() { return {Kind::Accept, {}, RTNORM}; }
    static Verdict notAValue() { return {Kind::NotAValue, {}, RTNORM}; }
    static Verdict reject(std::wstring m) { return {Kind::Reject, std::move(m), RTNORM}; }
    static Verdict returning(int code) { return {Kind::Return, {}, code}; }
};

// How a get call treats keyword and arbitrary answers: acedGetKword returns them as its
// normal result, the others return RTKWORD / RTINPUT.
enum class KeywordResult { AsKeyword, AsNormal };

const wchar_t* text(const ACHAR* prompt)
{
    return prompt ? prompt : L"";
}

int cancelled()
{
    editor().write(L"\n*Cancel*");
    return RTCAN;
}

// The ask / validate / re-ask loop every get call shares.
template <typename Parse>
int runGet(const ACHAR* prompt, const InitGetState& initGet, const std::wstring& invalidMessage,
           KeywordResult keywordResult, Parse parse)
{
    Editor& ed = editor();
    int badAnswers = 0;
    for (;;) {
        std::wstring answer;
        if (ed.ask(text(prompt), answer) != AnswerStatus::Text) {
            return cancelled();
        }
        const auto typed = trimBlanks(answer);
        std::wstring message = invalidMessage;
        if (typed.empty()) {
            if ((initGet.flags & RSG_NONULL) == 0) {
                return RTNONE;
            }
        } else {
            const Verdict verdict = parse(typed);
            switch (verdict.kind) {
            case Verdict::Kind::Accept:
                return RTNORM;
            case Verdict::Kind::Return:
                return verdict.code;
            case Verdict::Kind::Reject:
                message = verdict.message;
                break;
            case Verdict::Kind::NotAValue:
                if (auto keyword = initGet.keywords.match(typed)) {
                    ed.setLastInput(*keyword);
                    return keywordResult == KeywordResult::AsNormal ? RTNORM : RTKWORD;
                }
                if (initGet.flags & RSG_OTHER) {
                    ed.setLastInput(std::wstring(typed));
                    return keywordResult == KeywordResult::AsNormal ? RTNORM : RTINPUT;
                }
                break;
            }
        }
        ed.write(L"\n" + message);
        if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
            return cancelled();
        }
    }
}

// The host's messages for refused numbers.
std::optional<std::wstring> signMessage(double value, int flags)
{
    const bool noZero = flags & RSG_NOZERO;
    const bool noNeg = flags & RSG_NONEG;
    if ((noZero && value == 0.0) || (noNeg && value < 0.0)) {
        if (noZero && noNeg) {
            return L"Value must be positive and nonzero.";
        }
        return noZero ? L"Value must be nonzero." : L"Value must be positive.";
    }
    return std::nullopt;
}

Point3 toPoint(const ads_point p)
{
    return {p[X], p[Y], p[Z]};
}

void store(const Point3& p, ads_point out)
{
    out[X] = p[0];
    out[Y] = p[1];
    out[Z] = p[2];
}

std::wstring withKeywords(const wchar_t* base, const InitGetState& initGet)
{
    return initGet.keywords.empty() ? std::wstring(base)
                                    : std::wstring(base) + L" or option keyword required.";
}

int getPointImpl(const ads_point base, const ACHAR* prompt, ads_point result, const InitGetState& initGet)
{
    (void)base;  // the rubber band from the base is display only
    RequestScope scope(RequestKind::Point);
    const std::wstring invalid =
        initGet.keywords.empty() ? L"Invalid point." : L"Point or option keyword required.";
    return runGet(prompt, initGet, invalid, KeywordResult::AsKeyword, [&](std::wstring_view typed) {
        const auto p = parsePoint(typed, editor().lastPoint());
        if (!p) {
            return Verdict::notAValue();
        }
        store(*p, result);
        editor().setLastPoint(*p);
        return Verdict::accept();
    });
}

// A second point for acedGetDist / acedGetAngle when no base point was given.
Verdict secondPoint(const Point3& first, Point3& second)
{
    ads_point start{first[0], first[1], first[2]};
    ads_point end{};
    const int rc = getPointImpl(start, L"\nSpecify second point: ", end, InitGetState{});
    if (rc != RTNORM) {
        return Verdict::returning(rc);
    }
    second = toPoint(end);
    return Verdict::accept();
}

// A distance or angle answered with points: from the base to the typed point, or, without a
// base, from the typed point to a second one.
Verdict pointPair(const ads_point base, std::wstring_view typed, Point3& from, Point3& to)
{
    const auto p = parsePoint(typed, editor().lastPoint());
    if (!p || typed.find_first_of(L",<@") == std::wstring_view::npos) {
        return Verdict::notAValue();
    }
    editor().setLastPoint(*p);
    if (base) {
        from = toPoint(base);
        to = *p;
        return Verdict::accept();
    }
    from = *p;
    return secondPoint(from, to);
}

int getAngleImpl(const ads_point base, const ACHAR* prompt, ads_real* result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    const auto invalid = withKeywords(L"Requires valid numeric angle or second point", initGet);
    const std::wstring message = initGet.keywords.empty() ? invalid + L"." : invalid;
    return runGet(prompt, initGet, message, KeywordResult::AsKeyword, [&](std::wstring_view typed) {
        double radians = 0.0;
        if (const auto degrees = parseNumber(typed)) {
            radians = *degrees * std::numbers::pi / 180.0;
        } else {
            Point3 from{}, to{};
            const Verdict picked = pointPair(base, typed, from, to);
            if (picked.kind != Verdict::Kind::Accept) {
                return picked;
            }
            radians = std::atan2(to[1] - from[1], to[0] - from[0]);
        }
        radians = std::fmod(radians, 2.0 * std::numbers::pi);
        if (radians < 0.0) {
            radians += 2.0 * std::numbers::pi;
        }
        if (auto m = signMessage(radians, initGet.flags & RSG_NOZERO)) {
            return Verdict::reject(*m);
        }
        *result = radians;
        return Verdict::accept();
    });
}

int copyOut(std::wstring_view value, ACHAR* result, std::size_t bufLen)
{
    if (!result || bufLen == 0) {
        return RTERROR;
    }
    const std::size_t n = std::min(value.size(), bufLen - 1);
    std::wmemcpy(result, value.data(), n);
    result[n] = L'\0';
    return RTNORM;
}

}  // namespace

int acedInitGet(int flags, const ACHAR* keywordList)
{
    editor().setInitGet(flags, keywordList);
    return RTNORM;
}

int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    return getPointImpl(base, prompt, result, initGet);
}

int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result || !base) {
        return RTERROR;
    }
    return getPointImpl(base, prompt, result, initGet);
}

int acedGetReal(const ACHAR* prompt, ads_real* result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    return runGet(prompt, initGet, L"Requires numeric value.", KeywordResult::AsKeyword,
                  [&](std::wstring_view typed) {
                      const auto v = parseNumber(typed);
                      if (!v) {
                          return Verdict::notAValue();
                      }
                      if (auto m = signMessage(*v, initGet.flags)) {
                          return Verdict::reject(*m);
                      }
                      *result = *v;
                      return Verdict::accept();
                  });
}

int acedGetInt(const ACHAR* prompt, int* result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    return runGet(prompt, initGet, L"Requires an integer value.", KeywordResult::AsKeyword,
                  [&](std::wstring_view typed) {
                      const auto v = parseInteger(typed);
                      if (!v) {
                          return parseNumber(typed) ? Verdict::reject(L"Requires an integer value.")
                                                    : Verdict::notAValue();
                      }
                      if (*v < -32768 || *v > 32767) {
                          return Verdict::reject(L"Value must be between -32768 and 32767.");
                      }
                      if (auto m = signMessage(static_cast<double>(*v), initGet.flags)) {
                          return Verdict::reject(*m);
                      }
                      *result = static_cast<int>(*v);
                      return Verdict::accept();
                  });
}

int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    const std::wstring invalid = initGet.keywords.empty()
        ? L"Requires numeric distance or second point."
        : L"Requires numeric distance, second point, or option keyword.";
    return runGet(prompt, initGet, invalid, KeywordResult::AsKeyword, [&](std::wstring_view typed) {
        double distance = 0.0;
        if (const auto v = parseNumber(typed)) {
            distance = *v;
        } else {
            Point3 from{}, to{};
            const Verdict picked = pointPair(base, typed, from, to);
            if (picked.kind != Verdict::Kind::Accept) {
                return picked;
            }
            const double dz = (initGet.flags & RSG_2D) ? 0.0 : to[2] - from[2];
            distance = std::hypot(to[0] - from[0], to[1] - from[1], dz);
        }
        if (auto m = signMessage(distance, initGet.flags)) {
            return Verdict::reject(*m);
        }
        *result = distance;
        return Verdict::accept();
    });
}

int acedGetAngle(const ads_point base, const ACHAR* prompt, ads_real* result)
{
    return getAngleImpl(base, prompt, result);
}

int acedGetOrient(const ads_point base, const ACHAR* prompt, ads_real* result)
{
    // Angles are measured from east counter-clockwise here, so both calls agree.
    return getAngleImpl(base, prompt, result);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, std::size_t bufLen)
{
    Editor& ed = editor();
    ed.takeInitGet();  // a string request does not use the acedInitGet state
    if (!result || bufLen == 0) {
        return RTERROR;
    }
    std::wstring answer;
    if (ed.ask(text(prompt), answer) != AnswerStatus::Text) {
        return cancelled();
    }
    std::wstring_view value = answer;
    if (!cronly) {
        value = trimBlanks(value);
        value = value.substr(0, value.find_first_of(L" \t"));
    }
    return copyOut(value, result, bufLen);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result)
{
    return acedGetString(cronly, prompt, result, kHostInputBufferLength);
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t bufLen)
{
    const InitGetState initGet = editor().takeInitGet();
    if (!result || bufLen == 0) {
        return RTERROR;
    }
    result[0] = L'\0';
    const int rc = runGet(prompt, initGet, L"Invalid option keyword.", KeywordResult::AsNormal,
                          [](std::wstring_view) { return Verdict::notAValue(); });
    if (rc == RTNORM) {
        return copyOut(editor().lastInput(), result, bufLen);
    }
    return rc;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result)
{
    return acedGetKword(prompt, result, kHostInputBufferLength);
}

int acedGetInput(ACHAR* result, std::size_t bufLen)
{
    return copyOut(editor().lastInput(), result, bufLen);
}

int acedGetInput(ACHAR* result)
{
    return acedGetInput(result, kHostInputBufferLength);
}

int acedGetFileD(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, int flags, resbuf* result)
{
    editor().takeInitGet();
    if (!result) {
        return RTERROR;
    }
    FileDialogRequest request;
    request.mode = (flags & 1) ? FileDialogMode::Save : FileDialogMode::Open;
    request.title = text(title);
    request.defaultPath = text(defawlt);
    request.extensions = splitExtensions(ext);
    request.extensionRule = (flags & 4) ? ExtensionRule::AnyExtension : ExtensionRule::AppendDefault;
    request.searchSupportPaths = (flags & 8) != 0;
    std::wstring path;
    const int rc = askForFile(request, path);
    if (rc != RTNORM) {
        return rc;
    }
    auto* copy = new ACHAR[path.size() + 1];
    std::wmemcpy(copy, path.c_str(), path.size() + 1);
    result->restype = RTSTR;
    result->resval.rstring = copy;
    return RTNORM;
}

int acedUsrBrk()
{
    return editor().takeBreak() ? 1 : 0;
}

int acutPrintf(const ACHAR* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring out = formatHost(format, args);
    va_end(args);
    editor().write(out);
    return static_cast<int>(out.size());
}

int acedAlert(const ACHAR* message)
{
    // A box drawn with plain characters, one row per line of the message.
    std::vector<std::wstring> lines;
    std::wstring_view rest = text(message);
    for (;;) {
        const auto nl = rest.find(L'\n');
        lines.emplace_back(rest.substr(0, nl));
        if (nl == std::wstring_view::npos) {
            break;
        }
        rest.remove_prefix(nl + 1);
    }
    std::size_t width = 0;
    for (auto& l : lines) {
        if (!l.empty() && l.back() == L'\r') {
            l.pop_back();
        }
        width = std::max(width, l.size());
    }
    const std::wstring rule = L"+" + std::wstring(width + 2, L'-') + L"+";
    std::wstring box = L"\n" + rule;
    for (const auto& l : lines) {
        box += L"\n| " + l + std::wstring(width - l.size(), L' ') + L" |";
    }
    box += L"\n" + rule;
    editor().write(box);
    return RTNORM;
}

int acedGrDraw(const ads_point from, const ads_point to, int color, int highlight)
{
    if (!from || !to) {
        return RTERROR;
    }
    editor().vectors().push_back(GrVector{toPoint(from), toPoint(to), color, highlight});
    return RTNORM;
}

int acedRedraw(const ads_name entity, int mode)
{
    (void)mode;
    if (!entity || acdbNameNil(entity)) {
        editor().vectors().clear();
    }
    return RTNORM;
}

// ---- acedCommand ----------------------------------------------------------------------

namespace {

int runCommandArguments(std::vector<CommandArgument> args)
{
    if (args.empty()) {
        return RTNORM;
    }
    if (args.front().type != RTSTR) {
        return RTERROR;
    }
    const std::wstring name = args.front().text;
    args.erase(args.begin());
    return runHostCommand(name, args);
}

int commandFromList(int type, va_list ap)
{
    std::vector<CommandArgument> args;
    while (type != 0 && type != RTNONE) {
        CommandArgument a;
        a.type = type;
        switch (type) {
        case RTSTR: {
            const ACHAR* s = va_arg(ap, const ACHAR*);
            a.text = text(s);
            break;
        }
        case RTREAL:
        case RTANG:
        case RTORINT:
            a.real = va_arg(ap, double);
            break;
        case RTPOINT:
        case RT3DPOINT: {
            const ads_real* p = va_arg(ap, const ads_real*);
            if (p) {
                a.point = {p[X], p[Y], type == RTPOINT ? 0.0 : p[Z]};
            }
            break;
        }
        case RTSHORT:
        case RTLONG:
            a.integer = va_arg(ap, int);
            break;
        case RTENAME:
            (void)va_arg(ap, const std::int64_t*);
            break;
        default:
            return RTERROR;  // an unknown type: its value cannot be skipped safely
        }
        args.push_back(std::move(a));
        type = va_arg(ap, int);
    }
    return runCommandArguments(std::move(args));
}

int commandFromChain(const resbuf* rb)
{
    std::vector<CommandArgument> args;
    for (; rb && rb->restype != RTNONE; rb = rb->rbnext) {
        CommandArgument a;
        a.type = rb->restype;
        switch (rb->restype) {
        case RTSTR:
            a.text = text(rb->resval.rstring);
            break;
        case RTREAL:
        case RTANG:
        case RTORINT:
            a.real = rb->resval.rreal;
            break;
        case RTPOINT:
        case RT3DPOINT:
            a.point = {rb->resval.rpoint[X], rb->resval.rpoint[Y], rb->resval.rpoint[Z]};
            break;
        case RTSHORT:
            a.integer = rb->resval.rint;
            break;
        case RTLONG:
            a.integer = rb->resval.rlong;
            break;
        default:
            break;
        }
        args.push_back(std::move(a));
    }
    return runCommandArguments(std::move(args));
}

}  // namespace

int acedCommand(int type, ...)
{
    va_list ap;
    va_start(ap, type);
    const int rc = commandFromList(type, ap);
    va_end(ap);
    return rc;
}

int acedCommandS(int type, ...)
{
    va_list ap;
    va_start(ap, type);
    const int rc = commandFromList(type, ap);
    va_end(ap);
    return rc;
}

int acedCmd(const resbuf* args)
{
    return commandFromChain(args);
}

int acedCmdS(const resbuf* args)
{
    return commandFromChain(args);
}

// ---- progress meter and file search --------------------------------------------------

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos)
{
    if (maxPos < minPos) {
        return -1;
    }
    progressMeter().start(text(label), minPos, maxPos);
    return 0;
}

int acedSetStatusBarProgressMeterPos(int pos)
{
    progressMeter().setPos(pos);
    return 0;
}

void acedRestoreStatusBar()
{
    progressMeter().stop();
}

int acedFindFile(const ACHAR* name, ACHAR* result, std::size_t bufLen)
{
    if (!name || !result || bufLen == 0) {
        return RTERROR;
    }
    const auto found = findFile(name);
    if (!found || found->size() >= bufLen) {
        return RTERROR;
    }
    return copyOut(*found, result, bufLen);
}
