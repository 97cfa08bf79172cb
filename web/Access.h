// Who may talk to the browser front end: every request carries the session's random token (in
// the address of the first page, then in a cookie), names this server as its host (so that a
// page of another site cannot reach it through a name of its own) and, when it says where it
// comes from, comes from this server's own page.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace fendo::web {

inline constexpr const char* kTokenCookie = "fendo_token";

// 32 hexadecimal digits from the system's random source.
std::string newToken();

// The parts of a request that decide whether it is let in.
struct RequestFacts {
    std::string queryToken;  // ?token=...
    std::string cookieHeader;  // Cookie: ...
    std::string host;  // Host: ...
    std::string origin;  // Origin: ... (empty when the browser sent none)
    std::string fetchSite;  // Sec-Fetch-Site: ... (empty when none)
};

enum class Verdict { Allowed, NoToken, BadToken, ForeignHost, ForeignOrigin };

class AccessRule {
public:
    // `hosts`: the names the server answers to, each with its port ("127.0.0.1:8080"); empty
    // when it listens on every address and cannot know them (the token still guards it).
    AccessRule(std::string token, std::vector<std::string> hosts);

    Verdict check(const RequestFacts& facts) const;
    const std::string& token() const { return token_; }
    // The cookie the first page sets, so that later requests need not carry the token.
    std::string cookie() const;

private:
    bool knownHost(std::string_view host) const;

    std::string token_;
    std::vector<std::string> hosts_;
};

// The value of cookie `name` in a Cookie header; empty when absent.
std::string cookieValue(std::string_view header, std::string_view name);
// Constant-time comparison, so that the token cannot be guessed a digit at a time.
bool sameSecret(std::string_view a, std::string_view b);
const char* verdictText(Verdict verdict);

}  // namespace fendo::web
