#include "net/sources.hpp"

#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "combinatorics/parse.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"

namespace zestawy {

namespace fs = std::filesystem;

const char kSourcesFile[] = "zrodla.txt";

namespace {

const char* const kDefaultUrls[3] = {
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/multi_multi.csv",
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/mini_lotto.csv",
    "https://raw.githubusercontent.com/Isithunzi000/lotto/main/data/lotto.csv",
};

constexpr int kMostIdleSeconds = 3600;

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
std::string quoted(std::string_view line) {
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

Sources readSources(std::string_view text, const std::string& shown) {
    Sources sources = defaultSources();
    std::map<std::string, int> seen;  // the keys so far, by the line of each
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
            const auto [before, first] = seen.emplace(key, lineNumber);
            if (why.empty() && !first)
                why = "„" + key + "” jest już w wierszu " + std::to_string(before->second) +
                      "; zostaw jeden z nich";
        }
        if (!why.empty()) {
            sources = defaultSources();  // nothing is taken from a wrong file
            sources.error = shown + ", wiersz " + std::to_string(lineNumber) + " („" +
                            quoted(line) + "”): " + why + ". Popraw albo usuń ten plik.";
            return sources;
        }
    }
    return sources;
}

Sources sourcesOfFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::u8path(path), error);
    if (status.type() == fs::file_type::not_found) return defaultSources();
    Sources sources = defaultSources();
    sources.path = path;
    const std::string shown = cp1250FromUtf8(path);
    std::string text;
    if (fs::is_directory(status))
        sources.error = shown + " to folder, a ustawienia pobierania mogą być tylko w pliku " +
                        "tekstowym. Usuń albo przemianuj ten folder.";
    else if (readWholeFile(path, text, 1 << 20) != HistoryRead::Ok)
        sources.error = "Nie udało się przeczytać pliku " + shown + ".";
    if (!sources.error.empty()) return sources;
    sources = readSources(text, shown);
    sources.path = path;
    return sources;
}

Sources findSources(const std::string& programDir) {
    std::error_code error;
    const fs::path working = fs::current_path(error);
    std::vector<fs::path> places{error ? fs::path(kSourcesFile) : working / kSourcesFile};
    if (!programDir.empty()) places.push_back(fs::u8path(programDir) / kSourcesFile);
    for (const fs::path& place : places)
        if (fs::status(place, error).type() != fs::file_type::not_found)
            return sourcesOfFile(place.u8string());
    return defaultSources();
}

}  // namespace zestawy
