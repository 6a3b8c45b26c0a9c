#include "net/fetch.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

#include "combinatorics/parse.hpp"
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
    Fetched fetched = net::fetchWeb(url, limits, progress, keepGoing);
    if (fetched.ok && fetched.body.empty()) return net::failed(net::Failure::Empty, url, limits);
    return fetched;
}

std::string fetchFailedSentence(const std::string& url, const std::string& failure) {
    return "Nie udało się pobrać pliku z " + url + " (" + failure + "). Nic nie zapisano.";
}

namespace net {

namespace {

// The system's code of a failure, kept for whoever helps the player: " (kod
// 12157)", or nothing when there is none.
std::string code(long detail) {
    return detail ? " (kod " + std::to_string(detail) + ")" : "";
}

// An absolute path (it starts with '/') with its "." and ".." segments
// taken out, as a browser takes them out.
std::string withoutDots(const std::string& path) {
    std::vector<std::string> kept;
    bool trailing = false;  // the path ends in a folder
    for (std::size_t at = 1;;) {
        const std::size_t end = path.find('/', at);
        const std::string segment =
            path.substr(at, end == std::string::npos ? std::string::npos : end - at);
        trailing = segment == "." || segment == "..";
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (segment != ".") {
            kept.push_back(segment);
        }
        if (end == std::string::npos) break;
        at = end + 1;
    }
    std::string clean;
    for (const std::string& segment : kept) clean += "/" + segment;
    return trailing || clean.empty() ? clean + "/" : clean;
}

// A path with its query: the path without dots, the query as it is.
std::string withoutDotsBeforeQuery(const std::string& pathAndQuery) {
    const std::size_t query = pathAndQuery.find('?');
    if (query == std::string::npos) return withoutDots(pathAndQuery);
    return withoutDots(pathAndQuery.substr(0, query)) + pathAndQuery.substr(query);
}

}  // namespace

std::string redirectTarget(const std::string& from, const std::string& location) {
    std::string to(trimmed(location));
    to = to.substr(0, to.find('#'));
    const std::size_t schemeEnd = to.find_first_of(":/?");
    if (schemeEnd != std::string::npos && to[schemeEnd] == ':' && schemeEnd > 0)
        return isWebAddress(to) ? to : "";  // absolute: only http and https
    if (to.empty()) return "";
    const std::size_t authority = from.find("//");
    if (authority == std::string::npos) return "";
    if (to.rfind("//", 0) == 0) return from.substr(0, authority) + to;
    const std::size_t pathStart = std::min(from.find_first_of("/?#", authority + 2), from.size());
    const std::string origin = from.substr(0, pathStart);
    std::string path = from.substr(pathStart);
    path = path.substr(0, path.find_first_of("?#"));
    if (path.empty()) path = "/";
    if (to.front() == '/') return origin + withoutDotsBeforeQuery(to);
    if (to.front() == '?') return origin + path + to;
    return origin + withoutDotsBeforeQuery(path.substr(0, path.rfind('/') + 1) + to);
}

Fetched failed(Failure failure, const std::string& url, const FetchLimits& limits, long detail) {
    Fetched fetched;
    fetched.stopped = failure == Failure::Stopped;
    const std::string host = hostOf(url);
    std::string& why = fetched.failure;
    switch (failure) {
        case Failure::NoServer:
            why = "nie znaleziono serwera " + host + "; czy jest połączenie z internetem?";
            break;
        case Failure::NoConnection:
            why = "brak połączenia z serwerem " + host;
            break;
        case Failure::SecureChannel:
            why = "nie można nawiązać bezpiecznego połączenia https z serwerem " + host +
                  code(detail);
            break;
        case Failure::Certificate:
            why = "certyfikat serwera " + host + " nie jest zaufany" + code(detail);
            break;
        case Failure::TimedOut:
            why = "przekroczony czas: " + std::to_string(limits.idleSeconds) + " s bez danych";
            break;
        case Failure::TooManyRedirects:
            why = "za dużo przekierowań (ponad " + std::to_string(kMostRedirects) + ") z " + url;
            break;
        case Failure::BadRedirect:
            why =
                "serwer przekierował pobieranie na adres, który nie zaczyna się od http:// "
                "ani https://";
            break;
        case Failure::Status:
            why = "serwer odpowiedział HTTP " + std::to_string(detail) +
                  (detail == 404 ? ", nie ma tam takiego pliku" : "");
            break;
        case Failure::CutShort:
            why = "połączenie zerwane przed końcem pliku";
            break;
        case Failure::TooLarge:
            why = "plik ma ponad " + std::to_string(limits.mostBytes >> 20) + " MB";
            break;
        case Failure::Empty:
            why = "serwer nie przysłał żadnych danych";
            break;
        case Failure::Stopped:
            why = "przerwano";
            break;
        case Failure::Other:
            why = "nieoczekiwany błąd połączenia z serwerem " + host + code(detail);
            break;
    }
    return fetched;
}

}  // namespace net

}  // namespace zestawy
