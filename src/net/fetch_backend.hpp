// What the two ways of fetching (fetch_curl.cpp, fetch_wininet.cpp) share:
// the failures they tell apart and one text for each, and the limit on
// redirects.
#pragma once

#include <string>

#include "net/fetch.hpp"

namespace zestawy::net {

// A fetch follows at most this many redirects; the next one is a failure.
constexpr int kMostRedirects = 5;

enum class Failure {
    NoServer,          // the server's name does not resolve
    NoConnection,      // refused, reset or unreachable
    SecureChannel,     // no https connection (e.g. to a server of plain http); detail: the code
    Certificate,       // the server's certificate is not trusted; detail: the code
    TimedOut,          // idleSeconds without a byte
    TooManyRedirects,  // more than kMostRedirects
    BadRedirect,       // a redirect to an address that is not http or https
    Status,            // an HTTP status other than 200; detail is the status
    CutShort,          // the connection ended before the body did
    TooLarge,          // over mostBytes
    Empty,             // no body (or no answer at all)
    Stopped,           // keepGoing said no
    Other,             // anything else; detail is the system's error code
};

// The failure as the Fetched of `url` (the address first asked for) tells it.
Fetched failed(Failure failure, const std::string& url, const FetchLimits& limits, long detail = 0);

// The address a redirect from `from` to `location` (a Location header, maybe
// relative) leads to; empty when it is not an http or https address.
std::string redirectTarget(const std::string& from, const std::string& location);

// The fetch proper, once the address is known to be http or https. May
// succeed with an empty body (fetch() refuses it).
Fetched fetchWeb(const std::string& url, const FetchLimits& limits,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::function<bool()>& keepGoing);

}  // namespace zestawy::net
