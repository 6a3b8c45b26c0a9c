// Fetching a results file from the web, for the window's "Pobierz najnowsze
// wyniki" and the tool's --download and --update URL. On Windows through
// WinINet, a part of the system (its proxy settings, its certificates), on
// other systems through libcurl.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zestawy {

// Seconds without a byte from the server before a fetch gives up, unless
// the sources file says otherwise.
constexpr int kDefaultIdleSeconds = 30;

struct FetchLimits {
    std::size_t mostBytes = std::size_t{64} << 20;  // a larger body is refused
    int idleSeconds = kDefaultIdleSeconds;          // this long without a byte is a time-out
};

struct Fetched {
    bool ok = false;
    bool stopped = false;  // keepGoing said no
    std::string body;      // ok: the whole body of the HTTP 200 answer
    // Not ok: why, a short Polish phrase in Windows-1250 ("przekroczony czas:
    // 30 s bez danych", "serwer odpowiedział HTTP 404", "przerwano").
    std::string failure;
};

// Whether text is an http:// or https:// address (the scheme in any case).
bool isWebAddress(std::string_view text);

// GETs the http or https address, following at most 5 redirects, to http and
// https addresses only, into memory. Succeeds only with an HTTP 200 answer
// whose whole body came, is not empty and is at most limits.mostBytes. `progress` is called on
// the fetching thread with the bytes received so far and the size the server
// announced (0 when it did not). `keepGoing` may be called on another thread
// too; once it says no, the fetch ends within a fraction of a second as
// stopped. Blocks; makes no file.
Fetched fetch(const std::string& url, const FetchLimits& limits,
              const std::function<void(std::size_t got, std::size_t total)>& progress = {},
              const std::function<bool()>& keepGoing = {});

// The one sentence that tells a failed fetch: "Nie udało się pobrać pliku
// z URL (why). Nic nie zapisano." In Windows-1250, as the failure is.
std::string fetchFailedSentence(const std::string& url, const std::string& failure);

}  // namespace zestawy
