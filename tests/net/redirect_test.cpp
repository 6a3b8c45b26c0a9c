// Where a redirect leads: the Location of the answer against the address that
// gave it, as WinINet's own following of redirects is not used.
#include <gtest/gtest.h>

#include "net/fetch_backend.hpp"

namespace zestawy {
namespace {

TEST(Redirect, ResolvesTheLocationAgainstTheAddressAndKeepsToHttpAndHttps) {
    const std::string from = "http://127.0.0.1:8080/dane/wyniki/multi.csv?v=1#x";
    const struct {
        const char* location;
        const char* to;  // "" when refused
    } cases[] = {
        {"https://example.org/a.csv", "https://example.org/a.csv"},
        {"HTTP://Example.org/a.csv#frag", "HTTP://Example.org/a.csv"},
        {"//inny:81/b.csv", "http://inny:81/b.csv"},
        {"/c.csv?x=1", "http://127.0.0.1:8080/c.csv?x=1"},
        {"d.csv", "http://127.0.0.1:8080/dane/wyniki/d.csv"},
        {"../e.csv", "http://127.0.0.1:8080/dane/e.csv"},
        {"./f/../g/./h.csv", "http://127.0.0.1:8080/dane/wyniki/g/h.csv"},
        {"../../../../i.csv", "http://127.0.0.1:8080/i.csv"},
        {"..", "http://127.0.0.1:8080/dane/"},
        {"?v=2", "http://127.0.0.1:8080/dane/wyniki/multi.csv?v=2"},
        {"  /j.csv \r", "http://127.0.0.1:8080/j.csv"},
        {"ftp://example.org/a.csv", ""},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(net::redirectTarget(from, c.location), c.to) << c.location;
    EXPECT_EQ(net::redirectTarget("https://a.pl", "b.csv"), "https://a.pl/b.csv");
}

}  // namespace
}  // namespace zestawy
