// The browser front end: a local web server whose page shows the drawing and answers the
// session's questions. To the editor it is one more answer source: each line the page sends
// (typed, or made from a click, a window drag or a dialog form) is an answer, exactly as it
// would be typed at the terminal. While the session waits for an answer it tells the page the
// question, the text written since, and what changed in the picture.
#pragma once
#include <memory>
#include <string>

#include "host/editor/InputSource.h"

namespace fendo::web {

struct ServeOptions {
    int port = 0;  // 0: a free port
    std::string listen = "127.0.0.1";  // the address to listen on
    int pictureWidth = 1600;  // the page's drawing units per picture, as RENDER's --size
    int pictureHeight = 1200;
};

class Hub;
struct SignalWatch;

class WebInput : public editor::InputSource {
public:
    // Starts the server; null with `error` filled when the address or port cannot be used.
    static std::unique_ptr<WebInput> start(const ServeOptions& options, std::string* error);
    ~WebInput() override;  // stops the server; the page is told the session ended
    WebInput(const WebInput&) = delete;
    WebInput& operator=(const WebInput&) = delete;

    editor::ReadResult readLine(std::string_view promptLine, std::wstring& line) override;
    bool interactive() const override { return true; }
    bool echoesAnswers() const override { return true; }

    // The address to open, with the access token: http://127.0.0.1:PORT/?token=...
    std::string address() const;
    int port() const;

private:
    WebInput(std::unique_ptr<Hub> hub, std::unique_ptr<SignalWatch> signals);
    void publish();
    void flushOutput();  // what the editor wrote, to the terminal and the page

    std::unique_ptr<Hub> hub_;
    std::unique_ptr<SignalWatch> signals_;
    std::string output_;  // what the editor wrote since the last question
    std::string prompt_;  // the question's line as written so far
};

// Opens `address` in the desktop's browser when there is a desktop and a person at the terminal.
void openInBrowser(const std::string& address);

}  // namespace fendo::web
