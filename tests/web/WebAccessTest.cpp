// The browser front end's request checks: token from the address or the cookie, the host
// name, the page's origin.
#include <gtest/gtest.h>

#include <set>

#include "web/Access.h"

using namespace fendo::web;

namespace {

const std::string kToken = "0123456789abcdef0123456789abcdef";

RequestFacts facts(std::string query, std::string cookie, std::string host = "127.0.0.1:8080", std::string origin = {},
    std::string site = {})
{
    return RequestFacts { std::move(query), std::move(cookie), std::move(host), std::move(origin), std::move(site) };
}

}  // namespace

TEST(WebAccess, TheTokenComesFromTheAddressOrTheCookieAndMustMatchWhole)
{
    const AccessRule rule(kToken, { "127.0.0.1:8080", "localhost:8080" });
    EXPECT_EQ(rule.check(facts(kToken, "")), Verdict::Allowed);
    EXPECT_EQ(rule.check(facts("", "theme=dark; fendo_token=" + kToken)), Verdict::Allowed);
    EXPECT_EQ(rule.check(facts("", "fendo_token=" + kToken + "; other=1")), Verdict::Allowed);
    EXPECT_EQ(rule.check(facts("", "")), Verdict::NoToken);
    EXPECT_EQ(rule.check(facts("", "xfendo_token=" + kToken)), Verdict::NoToken);
    EXPECT_EQ(rule.check(facts(kToken.substr(1), "")), Verdict::BadToken);
    EXPECT_EQ(rule.check(facts(kToken + "0", "")), Verdict::BadToken);
    // A wrong token in the address is not rescued by a right cookie: the address is what was sent.
    EXPECT_EQ(rule.check(facts("ff", "fendo_token=" + kToken)), Verdict::BadToken);
}

TEST(WebAccess, OtherHostNamesAndOriginsAreRefusedEvenWithTheToken)
{
    const AccessRule rule(kToken, { "127.0.0.1:8080", "localhost:8080" });
    EXPECT_EQ(rule.check(facts(kToken, "", "localhost:8080", "http://localhost:8080")), Verdict::Allowed);
    EXPECT_EQ(rule.check(facts(kToken, "", "attacker.example:8080")), Verdict::ForeignHost);
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8081")), Verdict::ForeignHost);
    EXPECT_EQ(rule.check(facts(kToken, "", "")), Verdict::ForeignHost);
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8080", "http://attacker.example")), Verdict::ForeignOrigin);
    // The origin must be the host the request came to, not just any of the server's names.
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8080", "http://localhost:8080")), Verdict::ForeignOrigin);
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8080", "null")), Verdict::ForeignOrigin);
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8080", {}, "cross-site")), Verdict::ForeignOrigin);
    EXPECT_EQ(rule.check(facts(kToken, "", "127.0.0.1:8080", {}, "same-origin")), Verdict::Allowed);
    // Listening on every address: any host name, the token and the origin still checked.
    const AccessRule open(kToken, {});
    EXPECT_EQ(open.check(facts(kToken, "", "192.168.1.7:8080", "http://192.168.1.7:8080")), Verdict::Allowed);
    EXPECT_EQ(open.check(facts("", "", "192.168.1.7:8080")), Verdict::NoToken);
    EXPECT_EQ(open.check(facts(kToken, "", "192.168.1.7:8080", "http://attacker.example")), Verdict::ForeignOrigin);
}

TEST(WebAccess, TokensAreLongRandomAndTheCookieStaysWithThePage)
{
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string token = newToken();
        ASSERT_EQ(token.size(), 32u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
        seen.insert(token);
    }
    EXPECT_EQ(seen.size(), 50u);
    const std::string cookie = AccessRule(kToken, {}).cookie();
    EXPECT_EQ(cookie.rfind("fendo_token=" + kToken, 0), 0u);
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
    EXPECT_EQ(cookieValue("a=1;b=2;  c=3", "c"), "3");
    EXPECT_EQ(cookieValue("a=1", "b"), "");
}
