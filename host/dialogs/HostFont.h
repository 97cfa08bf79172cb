// Fonts for dialogs: the stand-in host keeps the description a module asks for (face,
// height, weight ...) so dialogs can report which font they use; nothing is rasterised.
#pragma once
#include <memory>
#include <string>

struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;
    int pitchAndFamily = 0;
    std::wstring faceName;
};

class CFont {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic, bool underline,
                    bool strikeOut, int charSet, int outPrecision, int clipPrecision, int quality,
                    int pitchAndFamily, const wchar_t* faceName);
    const LogFont& logFont() const { return m_font; }
    bool isCreated() const { return m_created; }

private:
    LogFont m_font;
    bool m_created = false;
};
