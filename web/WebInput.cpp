// The browser front end's server (cpp-httplib) and its meeting point with the session.
//
// Two sides meet in the Hub. The server's threads take requests: answers and snap questions
// go into the inbox, and the event streams send the page what the session published. The
// session's thread, waiting in readLine, publishes the question, the text and the picture,
// then takes answers from the inbox and runs the snap questions there, so that only the
// session's thread ever touches the drawing.
#include "web/WebInput.h"

#include <fcntl.h>
#include <httplib.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "host/db/AcDbDatabase.h"
#include "host/editor/Editor.h"
#include "host/editor/ProgressMeter.h"
#include "host/editor/SysVars.h"
#include "host/editor/Utf8.h"
#include "host/render/DrawingRenderer.h"
#include "web/Access.h"
#include "web/Assets.h"
#include "web/PageState.h"
#include "web/Snap.h"

namespace fendo::web {

const char* contentTypeFor(std::string_view name)
{
    if (name.ends_with(".html")) return "text/html; charset=utf-8";
    if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
    if (name.ends_with(".css")) return "text/css; charset=utf-8";
    if (name.ends_with(".svg")) return "image/svg+xml";
    return "application/octet-stream";
}

namespace {

using namespace std::chrono_literals;

// How long a stream waits before it sends a keep-alive comment (and notices a closed tab).
constexpr auto kStreamIdle = 10s;
// How long a snap question waits for the session (busy with a command: no snap).
constexpr auto kSnapWait = 1500ms;
// The transcript a newly opened page is given, at most.
constexpr std::size_t kTranscriptKept = 256 * 1024;
// Events kept for streams that fall behind; one further behind gets the whole state again.
constexpr std::size_t kEventsKept = 256;

struct Event {
    std::uint64_t seq = 0;
    std::string name;
    std::string data;
};

std::string sseText(const std::string& name, const std::string& data)
{
    return "event: " + name + "\ndata: " + data + "\n\n";
}

std::string queryNumber(const httplib::Request& req, const char* name)
{
    return req.has_param(name) ? req.get_param_value(name) : std::string();
}

}  // namespace

class Hub {
public:
    explicit Hub(AccessRule rule)
        : rule_(std::move(rule))
    {
    }

    // ---- the session's side ---------------------------------------------------------
    void appendLog(const std::string& text)
    {
        if (text.empty()) return;
        std::lock_guard lock(mutex_);
        transcript_ += text;
        if (transcript_.size() > kTranscriptKept) transcript_.erase(0, transcript_.size() - kTranscriptKept);
        pushLocked("log", jsonString(text));
    }
    void setPicture(std::string fullJson, std::string deltaJson)
    {
        std::lock_guard lock(mutex_);
        picture_ = std::move(fullJson);
        pushLocked("picture", deltaJson.empty() ? picture_ : deltaJson);
    }
    // The progress meter, sent at once: the session is busy with the command meanwhile.
    void setProgress(const std::string& label, int percent)
    {
        std::lock_guard lock(mutex_);
        pushLocked("progress", "{\"label\":" + jsonString(label) + ",\"percent\":" + std::to_string(percent) + "}");
    }
    void setRequest(std::string json)
    {
        std::lock_guard lock(mutex_);
        request_ = std::move(json);
        pushLocked("request", request_);
    }

    struct Inbound {
        std::wstring line;
        std::function<void()> task;  // a snap question, run on the session's thread
        double viewSize = 0;  // the page's view height in drawing units, with an answer
        bool end = false;
    };
    // Waits for the next answer, running tasks meanwhile.
    Inbound next()
    {
        for (;;) {
            std::unique_lock lock(mutex_);
            inboxChanged_.wait(lock, [&] { return !inbox_.empty() || stopping_ || inputEnded_; });
            if (stopping_ || inputEnded_) return Inbound { {}, {}, 0, true };
            Inbound item = std::move(inbox_.front());
            inbox_.pop_front();
            lock.unlock();
            if (!item.task) return item;
            item.task();
        }
    }
    // The person ended the session at the terminal: the pending question and the session end
    // as at the end of a script, so the drawing is still saved.
    void endInput()
    {
        {
            std::lock_guard lock(mutex_);
            inputEnded_ = true;
        }
        inboxChanged_.notify_all();
    }
    void stop()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            pushLocked("end", "{}");
        }
        inboxChanged_.notify_all();
        server_.stop();
        if (thread_.joinable()) thread_.join();
    }

    // ---- the server's side ------------------------------------------------------------
    bool start(const ServeOptions& options, std::string* error)
    {
        routes();
        // SO_REUSEADDR only: the library's default SO_REUSEPORT would let a second session
        // share a port that is in use, and take half of its requests.
        server_.set_socket_options([](int sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        server_.set_keep_alive_timeout(2);
        server_.set_read_timeout(5);
        if (options.port > 0) {
            if (!server_.bind_to_port(options.listen, options.port)) {
                if (error) *error = "cannot listen on " + options.listen + ":" + std::to_string(options.port);
                return false;
            }
            port_ = options.port;
        } else {
            port_ = server_.bind_to_any_port(options.listen);
            if (port_ <= 0) {
                if (error) *error = "cannot listen on " + options.listen;
                return false;
            }
        }
        const std::string p = std::to_string(port_);
        std::vector<std::string> hosts;
        if (options.listen != "0.0.0.0" && options.listen != "::") {
            hosts = { "127.0.0.1:" + p, "localhost:" + p };
            if (options.listen != "127.0.0.1") hosts.push_back(options.listen + ":" + p);
        }
        rule_ = AccessRule(rule_.token(), hosts);
        hostShown_ = options.listen == "0.0.0.0" || options.listen == "::" ? "127.0.0.1" : options.listen;
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        return true;
    }
    int port() const { return port_; }
    std::string address() const
    {
        return "http://" + hostShown_ + ":" + std::to_string(port_) + "/?token=" + rule_.token();
    }

private:
    void pushLocked(const char* name, std::string data)
    {
        events_.push_back(Event { ++seq_, name, std::move(data) });
        while (events_.size() > kEventsKept) events_.pop_front();
        eventsChanged_.notify_all();
    }

    bool allowed(const httplib::Request& req, httplib::Response& res)
    {
        RequestFacts facts;
        facts.queryToken = req.has_param("token") ? req.get_param_value("token") : std::string();
        facts.cookieHeader = req.get_header_value("Cookie");
        facts.host = req.get_header_value("Host");
        facts.origin = req.get_header_value("Origin");
        facts.fetchSite = req.get_header_value("Sec-Fetch-Site");
        const Verdict verdict = rule_.check(facts);
        if (verdict == Verdict::Allowed) return true;
        res.status = 403;
        res.set_content(std::string("fendo: ") + verdictText(verdict) + "\n", "text/plain; charset=utf-8");
        return false;
    }

    // The driving tab: the first to open its event stream, until that stream closes.
    bool drives(const std::string& tab)
    {
        std::lock_guard lock(mutex_);
        return !tab.empty() && tab == driver_;
    }

    void routes()
    {
        server_.set_default_headers(
            { { "Cache-Control", "no-store" }, { "X-Content-Type-Options", "nosniff" }, { "X-Frame-Options", "DENY" },
                { "Content-Security-Policy",
                    "default-src 'self'; img-src 'self' data:; style-src 'self' 'unsafe-inline'" } });
        server_.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
            if (!allowed(req, res)) return;
            const Asset* page = findAsset("index.html");
            res.set_header("Set-Cookie", rule_.cookie());
            res.set_content(std::string(page->body), contentTypeFor("index.html"));
        });
        server_.Get(R"(/assets/([A-Za-z0-9_.-]+))", [this](const httplib::Request& req, httplib::Response& res) {
            if (!allowed(req, res)) return;
            const std::string name = req.matches[1];
            const Asset* asset = name == "index.html" ? nullptr : findAsset(name);
            if (!asset) {
                res.status = 404;
                return;
            }
            res.set_content(std::string(asset->body), contentTypeFor(name));
        });
        server_.Post("/answer", [this](const httplib::Request& req, httplib::Response& res) {
            if (!allowed(req, res)) return;
            if (!drives(req.get_param_value("tab"))) {
                res.status = 409;
                res.set_content("fendo: another tab drives this session\n", "text/plain");
                return;
            }
            const double viewSize = std::atof(req.get_param_value("viewsize").c_str());
            const std::wstring text = editor::fromUtf8(req.get_param_value("text"));
            {
                std::lock_guard lock(mutex_);
                // Several lines answer several questions in turn (a modeless dialog's DIALOG, answer, done).
                std::size_t at = 0;
                for (;;) {
                    const std::size_t end = text.find(L'\n', at);
                    inbox_.push_back(Inbound { text.substr(at, end - at), {}, viewSize, false });
                    if (end == std::wstring::npos) break;
                    at = end + 1;
                }
            }
            inboxChanged_.notify_all();
            res.set_content("{}", "application/json");
        });
        server_.Get("/snap", [this](const httplib::Request& req, httplib::Response& res) {
            if (!allowed(req, res)) return;
            const AcGePoint3d at(std::atof(queryNumber(req, "x").c_str()), std::atof(queryNumber(req, "y").c_str()), 0);
            const double radius = std::atof(queryNumber(req, "r").c_str());
            auto answer = std::make_shared<std::promise<std::string>>();
            auto future = answer->get_future();
            {
                std::lock_guard lock(mutex_);
                inbox_.push_back(
                    Inbound { {}, [answer, at, radius] { answer->set_value(snapJson(at, radius)); }, 0, false });
            }
            inboxChanged_.notify_all();
            res.set_content(
                future.wait_for(kSnapWait) == std::future_status::ready ? future.get() : "{}", "application/json");
        });
        server_.Get("/events", [this](const httplib::Request& req, httplib::Response& res) {
            if (!allowed(req, res)) return;
            const std::string tab = req.get_param_value("tab");
            bool driving = false;
            {
                std::lock_guard lock(mutex_);
                if (driver_.empty() || driver_ == tab) {
                    driver_ = tab;
                    ++driverStreams_;
                    driving = true;
                }
            }
            res.set_chunked_content_provider(
                "text/event-stream",
                [this, driving, sent = std::uint64_t(0), first = true](std::size_t, httplib::DataSink& sink) mutable {
                    std::string text;
                    bool last = false;
                    {
                        std::unique_lock lock(mutex_);
                        if (!driving) {
                            text = sseText("busy", "{}");
                            last = true;
                        } else if (first || (!events_.empty() && events_.front().seq > sent + 1)) {
                            // The whole state: a new page, or one that fell too far behind.
                            text = sseText("log", "{\"reset\":true,\"text\":" + jsonString(transcript_) + "}");
                            if (!picture_.empty()) text += sseText("picture", picture_);
                            if (!request_.empty()) text += sseText("request", request_);
                            if (stopping_) text += sseText("end", "{}");
                            sent = seq_;
                            first = false;
                        } else {
                            eventsChanged_.wait_for(lock, kStreamIdle, [&] { return seq_ > sent || stopping_; });
                            for (const Event& e : events_)
                                if (e.seq > sent) text += sseText(e.name, e.data);
                            sent = seq_;
                            if (text.empty()) text = ": idle\n\n";
                        }
                        last = last || stopping_;
                    }
                    if (!sink.write(text.data(), text.size())) return false;
                    if (last) sink.done();
                    return !last;
                },
                [this, driving](bool) {
                    if (!driving) return;
                    std::lock_guard lock(mutex_);
                    if (--driverStreams_ == 0) driver_.clear();
                });
        });
    }

    static std::string snapJson(const AcGePoint3d& at, double radius)
    {
        AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
        if (!db) return "{}";
        const auto osmode = editor::getSysVar(L"OSMODE");
        const int mode = osmode && std::holds_alternative<short>(*osmode) ? std::get<short>(*osmode) : 0;
        const auto snap = findSnap(*db, at, radius, mode);
        if (!snap) return "{}";
        char json[200];
        std::snprintf(json, sizeof json, "{\"x\":%.10g,\"y\":%.10g,\"z\":%.10g,\"kind\":\"%s\"}", snap->point.x,
            snap->point.y, snap->point.z, snapKindName(snap->kind));
        return json;
    }

    AccessRule rule_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::string hostShown_;

    std::mutex mutex_;
    std::condition_variable inboxChanged_;
    std::condition_variable eventsChanged_;
    std::deque<Inbound> inbox_;
    std::deque<Event> events_;
    std::uint64_t seq_ = 0;
    bool stopping_ = false;
    bool inputEnded_ = false;
    std::string transcript_;
    std::string picture_;
    std::string request_;
    std::string driver_;
    int driverStreams_ = 0;
};

// ---- WebInput -------------------------------------------------------------------------

namespace {

// The picture's fixed view: fitted to the drawing when the page is first shown, kept after
// so that changes can be sent as pieces; the page pans and zooms on its own.
struct PictureState {
    bool ready = false;
    render::ViewTransform view;
    int width = 1600;
    int height = 1200;
    PictureTracker tracker;
};

PictureState& pictureState()
{
    static PictureState state;
    return state;
}

}  // namespace

// Ctrl-C or a termination request ends the session in order (saving with -o) instead of
// killing it: the signals are blocked in every thread and one thread waits for them.
struct SignalWatch {
    sigset_t signals;
    sigset_t previous;
    std::thread thread;
    std::atomic<bool> caught { false };

    SignalWatch()
    {
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &signals, &previous);  // before any thread starts: they inherit it
    }
    void watch(Hub* hub)
    {
        thread = std::thread([this, hub] {
            int signal = 0;
            sigwait(&signals, &signal);
            caught = true;
            hub->endInput();
        });
    }
    ~SignalWatch()
    {
        if (thread.joinable()) {
            if (!caught) pthread_kill(thread.native_handle(), SIGTERM);
            thread.join();
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
};

WebInput::WebInput(std::unique_ptr<Hub> hub, std::unique_ptr<SignalWatch> signals)
    : hub_(std::move(hub))
    , signals_(std::move(signals))
{
    signals_->watch(hub_.get());
    editor::editor().captureOutput(&output_);
    // A long command's messages reach the page with its progress, not only at the next question.
    editor::progressMeter().setObserver([this](const std::string& label, int percent) {
        flushOutput();
        hub_->setProgress(label, percent);
    });
}

std::unique_ptr<WebInput> WebInput::start(const ServeOptions& options, std::string* error)
{
    auto signals = std::make_unique<SignalWatch>();
    auto hub = std::make_unique<Hub>(AccessRule(newToken(), {}));
    if (!hub->start(options, error)) return nullptr;
    PictureState& picture = pictureState();
    picture = PictureState {};
    picture.width = options.pictureWidth;
    picture.height = options.pictureHeight;
    return std::unique_ptr<WebInput>(new WebInput(std::move(hub), std::move(signals)));
}

WebInput::~WebInput()
{
    editor::progressMeter().setObserver(nullptr);
    editor::editor().captureOutput(nullptr);
    if (!output_.empty()) {
        std::fwrite(output_.data(), 1, output_.size(), stdout);
        std::fflush(stdout);
    }
    hub_->appendLog(output_);
    signals_.reset();  // before the hub it tells
    hub_->stop();
}

std::string WebInput::address() const { return hub_->address(); }
int WebInput::port() const { return hub_->port(); }

void WebInput::flushOutput()
{
    // The transcript goes to the terminal as well, so the session reads there as it always does.
    std::fwrite(output_.data(), 1, output_.size(), stdout);
    std::fflush(stdout);
    hub_->appendLog(output_);
    const auto cut = output_.rfind('\n');
    prompt_ = cut == std::string::npos ? prompt_ + output_ : output_.substr(cut + 1);
    output_.clear();
}

void WebInput::publish()
{
    flushOutput();

    if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase()) {
        PictureState& picture = pictureState();
        const bool first = !picture.ready;
        if (first) {
            render::RenderOptions fit;
            fit.width = picture.width;
            fit.height = picture.height;
            picture.view = render::pictureView(*db, fit);
            picture.ready = true;
        }
        const auto change = picture.tracker.refresh(*db, picture.view);
        if (first || !change.empty())
            hub_->setPicture(fullPictureJson(picture.tracker, picture.view, picture.width, picture.height),
                first ? std::string() : pictureJson(change));
    }
    hub_->setRequest(requestJson(editor::editor().request(), editor::fromUtf8(prompt_)));
}

editor::ReadResult WebInput::readLine(std::string_view, std::wstring& line)
{
    publish();
    Hub::Inbound answer = hub_->next();
    if (answer.end) return editor::ReadResult::EndOfInput;
    // The pick box follows the page's zoom: VIEWSIZE is the height the page shows.
    if (answer.viewSize > 0) editor::setSysVarInternal(L"VIEWSIZE", answer.viewSize);
    line = answer.line;
    prompt_.clear();
    return editor::ReadResult::Line;
}

void openInBrowser(const std::string& address)
{
    if ((!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) || !isatty(STDOUT_FILENO)) return;
    // Started from a grandchild, so that no finished child is left for this process to reap.
    const pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            // Only calls safe after fork in a process with threads: the server's are running.
            const int null = open("/dev/null", O_WRONLY);
            if (null >= 0) {
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
            }
            execlp("xdg-open", "xdg-open", address.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    if (child > 0) waitpid(child, nullptr, 0);
}

}  // namespace fendo::web
