#include "net/fetch.hpp"

#include <cctype>

#include "net/fetch_backend.hpp"

namespace zestawy {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != start[i]) return false;
    return true;
}

// The server's name of an http(s) address: what follows "//" up to a '/',
// '?', '#' or ':' (the port).
std::string hostOf(const std::string& url) {
    const std::size_t start = url.find("//");
    if (start == std::string::npos) return url;
    const std::size_t end = url.find_first_of("/?#:", start + 2);
    return url.substr(start + 2, end == std::string::npos ? std::string::npos : end - start - 2);
}

}  // namespace

bool isWebAddress(std::string_view text) {
    return startsWithNoCase(text, "http://") || startsWithNoCase(text, "https://");
}

Fetched fetch(const std::string& url, const FetchLimits& limits,
              const std::function<void(std::size_t, std::size_t)>& progress,
              const std::function<bool()>& keepGoing) {
    if (!isWebAddress(url)) {
        Fetched refused;
        refused.failure = "adres nie zaczyna się od http:// ani https://";
        return refused;
    }
    return net::fetchWeb(url, limits, progress, keepGoing);
}

std::string fetchFailedSentence(const std::string& url, const std::string& failure) {
    return "Nie udało się pobrać pliku z " + url + " (" + failure + "). Nic nie zapisano.";
}

namespace net {

Fetched failed(Failure failure, const std::string& url, const FetchLimits& limits, long detail) {
    Fetched fetched;
    fetched.stopped = failure == Failure::Stopped;
    const std::string host = hostOf(url);
    switch (failure) {
        case Failure::NoServer:
            fetched.failure =
                "nie znaleziono serwera " + host + "; czy jest połączenie z internetem?";
            break;
        case Failure::NoConnection:
            fetched.failure = "brak połączenia z serwerem " + host;
            break;
        case Failure::TimedOut:
            fetched.failure =
                "przekroczony czas: " + std::to_string(limits.idleSeconds) + " s bez danych";
            break;
        case Failure::Status:
            fetched.failure = "serwer odpowiedział HTTP " + std::to_string(detail) +
                              (detail == 404 ? ", nie ma tam takiego pliku" : "");
            break;
        case Failure::TooLarge:
            fetched.failure = "plik ma ponad " + std::to_string(limits.mostBytes >> 20) + " MB";
            break;
        case Failure::CutShort:
            fetched.failure = "połączenie zerwane przed końcem pliku";
            break;
        case Failure::Certificate:
            fetched.failure = "certyfikat serwera " + host + " nie jest zaufany";
            break;
        case Failure::Stopped:
            fetched.failure = "przerwano";
            break;
        case Failure::Other:
            fetched.failure = "błąd połączenia nr " + std::to_string(detail);
            break;
    }
    return fetched;
}

}  // namespace net

}  // namespace zestawy
