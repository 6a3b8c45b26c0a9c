// What the two ways of fetching (fetch_curl.cpp, fetch_wininet.cpp) share:
// the failures they tell apart and one text for each.
#pragma once

#include <string>

#include "net/fetch.hpp"

namespace zestawy::net {

enum class Failure {
    NoServer,      // the server's name does not resolve
    NoConnection,  // refused, reset or unreachable
    TimedOut,      // idleSeconds without a byte
    Status,        // an HTTP status other than 200; detail is the status
    TooLarge,      // over mostBytes
    CutShort,      // the connection ended before the body did
    Certificate,   // the server's certificate is not trusted
    Stopped,       // keepGoing said no
    Other,         // anything else; detail is the system's error code
};

// The failure as the Fetched of `url` tells it.
Fetched failed(Failure failure, const std::string& url, const FetchLimits& limits, long detail = 0);

// The fetch proper, once the address is known to be http or https.
Fetched fetchWeb(const std::string& url, const FetchLimits& limits,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::function<bool()>& keepGoing);

}  // namespace zestawy::net
