// Request checks of the browser front end.
#include "web/Access.h"

#include <fstream>
#include <random>

namespace fendo::web {

std::string newToken()
{
    unsigned char bytes[16] = {};
    std::ifstream random("/dev/urandom", std::ios::binary);
    if (!random.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        std::random_device device;
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(device());
    }
    static const char* digits = "0123456789abcdef";
    std::string token;
    for (unsigned char b : bytes) {
        token += digits[b >> 4];
        token += digits[b & 15];
    }
    return token;
}

AccessRule::AccessRule(std::string token, std::vector<std::string> hosts)
    : token_(std::move(token))
    , hosts_(std::move(hosts))
{
}

std::string cookieValue(std::string_view header, std::string_view name)
{
    while (!header.empty()) {
        const size_t semicolon = header.find(';');
        std::string_view pair = header.substr(0, semicolon);
        header = semicolon == std::string_view::npos ? std::string_view {} : header.substr(semicolon + 1);
        while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == name)
            return std::string(pair.substr(equals + 1));
    }
    return {};
}

bool sameSecret(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

bool AccessRule::knownHost(std::string_view host) const
{
    if (hosts_.empty()) return !host.empty();
    for (const std::string& known : hosts_)
        if (host == known) return true;
    return false;
}

Verdict AccessRule::check(const RequestFacts& facts) const
{
    if (!knownHost(facts.host)) return Verdict::ForeignHost;
    if (!facts.origin.empty() && facts.origin != "http://" + facts.host) return Verdict::ForeignOrigin;
    if (facts.fetchSite == "cross-site" || facts.fetchSite == "same-site") return Verdict::ForeignOrigin;
    const std::string cookie = cookieValue(facts.cookieHeader, kTokenCookie);
    const std::string& given = !facts.queryToken.empty() ? facts.queryToken : cookie;
    if (given.empty()) return Verdict::NoToken;
    return sameSecret(given, token_) ? Verdict::Allowed : Verdict::BadToken;
}

std::string AccessRule::cookie() const
{
    return std::string(kTokenCookie) + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict";
}

const char* verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Allowed: return "allowed";
    case Verdict::NoToken: return "this session needs its access token: open the address fendo printed";
    case Verdict::BadToken: return "wrong access token";
    case Verdict::ForeignHost: return "unknown host name";
    case Verdict::ForeignOrigin: return "requests from other sites are refused";
    }
    return "refused";
}

}  // namespace fendo::web
