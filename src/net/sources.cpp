#include "net/sources.hpp"

#include <cctype>

#include "history/file_name.hpp"
#include "history/history.hpp"

namespace zestawy {

const char kSourcesFile[] = "zrodla.txt";

namespace {

const char* const kDefaultUrls[3] = {
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/multi_multi.csv",
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/mini_lotto.csv",
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/lotto.csv",
};

constexpr int kMostIdleSeconds = 3600;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Why a "key = value" line is wrong; empty when it is right and taken.
std::string take(std::string_view key, std::string_view value, Sources& sources) {
    for (const GameRow& game : kGames) {
        if (key != game.option) continue;
        if (!isWebAddress(value) || value.find_first_of(" \t") != std::string_view::npos)
            return "adres musi zaczynać się od http:// albo https://";
        sources.urls[static_cast<int>(game.game)] = std::string(value);
        return "";
    }
    if (key == "czas") {
        int seconds = 0;
        for (char c : value) {
            if (!std::isdigit(static_cast<unsigned char>(c)) || seconds > kMostIdleSeconds)
                return "czas to liczba sekund od 1 do " + std::to_string(kMostIdleSeconds);
            seconds = seconds * 10 + (c - '0');
        }
        if (seconds < 1 || seconds > kMostIdleSeconds)
            return "czas to liczba sekund od 1 do " + std::to_string(kMostIdleSeconds);
        sources.limits.idleSeconds = seconds;
        return "";
    }
    return "nie ma takiego ustawienia; są: multi, mini, lotto, czas";
}

// A line as a message quotes it: its first 120 bytes, each that is not
// printable ASCII (the file may be in any encoding) shown as '?'.
std::string shown(std::string_view line) {
    std::string text(line.substr(0, 120));
    for (char& c : text)
        if (c < ' ' || c > '~') c = '?';
    return text;
}

}  // namespace

Sources defaultSources() {
    Sources sources;
    for (int i = 0; i < 3; ++i) sources.urls[i] = kDefaultUrls[i];
    return sources;
}

Sources readSources(std::string_view text) {
    Sources sources = defaultSources();
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line = trimmed(line.substr(3));
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        std::string why =
            "oczekiwano „multi = adres”, „mini = adres”, „lotto = adres” albo "
            "„czas = sekundy”";
        if (equals != std::string_view::npos) {
            std::string key(trimmed(line.substr(0, equals)));
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            why = take(key, trimmed(line.substr(equals + 1)), sources);
        }
        if (!why.empty()) {
            sources.error = std::string(kSourcesFile) + ", wiersz " + std::to_string(lineNumber) +
                            " („" + shown(line) + "”): " + why + ". Popraw albo usuń ten plik.";
            return sources;
        }
    }
    return sources;
}

Sources sourcesOfFile(const std::string& path) {
    if (!fileExists(path)) return defaultSources();
    std::string text;
    if (readWholeFile(path, text, 1 << 20) != HistoryRead::Ok) {
        Sources sources = defaultSources();
        sources.error = "Nie udało się przeczytać pliku " + std::string(kSourcesFile) + ".";
        return sources;
    }
    return readSources(text);
}

}  // namespace zestawy
