#include "cli/check_report.hpp"

#include "history/check.hpp"
#include "history/encoding.hpp"
#include "history/file_name.hpp"

namespace zestawy::cli {

int check(const Options& o, const std::string& path, Output& out, std::FILE* err) {
    // A first look for any draw at all: a file of another encoding shows
    // none, and only that is said of it.
    bool drawn = false;
    const HistoryRead read = forEachLineOf(path, kMaxHistoryBytes, [&](std::string_view line) {
        const std::size_t first = line.find(' ');
        drawn =
            first != std::string_view::npos && line.find(' ', first + 1) != std::string_view::npos;
        return !drawn;
    });
    if (read != HistoryRead::Ok) return unreadableFile(path, read, err);
    if (!drawn) return noDrawsIn(path, err);
    HistoryCheck checked;
    {
        const StopsByItself stops;
        checked = checkHistoryFile(
            path, kMaxHistoryBytes, o.game->rules,
            [&](const LineProblem& problem) {
                return !stopRequested.stopped() &&
                       out.write("wiersz " + std::to_string(problem.line) + ": " +
                                 printable(problem.why) + "\n");
            },
            [] { return !stopRequested.stopped(); });
    }
    if (stopRequested.stopped()) {
        say(err, "zestawy-cli: przerwano\n");
        return kExitStopped;
    }
    if (checked.read != HistoryRead::Ok) return unreadableFile(path, checked.read, err);
    const std::size_t bad = checked.bad, lines = checked.lines;
    if (bad == 0)
        out.write("Wszystkie wiersze (" + std::to_string(lines) + ") są poprawne.\n");
    else
        out.write("Błędnych wierszy: " + std::to_string(bad) + " z " + std::to_string(lines) +
                  ".\n");
    const int code = finishOutput(out, err);
    return code != 0 ? code : bad == 0 ? 0 : kExitFailed;
}

int unreadableFile(const std::string& path, HistoryRead read, std::FILE* err) {
    const std::string why = read == HistoryRead::CannotOpen ? "nie można otworzyć pliku"
                            : read == HistoryRead::TooLarge
                                ? "za duży plik (ponad " + historyLimitText() + ")"
                                : "błąd odczytu pliku";
    sayPath(err, "zestawy-cli: " + std::string(why) + " '", path, "'\n");
    return kExitUsage;
}

int noDrawsIn(const std::string& path, std::FILE* err) {
    sayPath(err, "zestawy-cli: w pliku '", path,
            "' nie ma żadnego losowania w układzie „nr. data liczby”" + encodingHint(path) + "\n");
    return kExitUsage;
}

std::string encodingHint(const std::string& path) {
    std::FILE* file = openFile(path, "rb");
    if (!file) return "";
    unsigned char bom[3] = {};
    const std::size_t n = std::fread(bom, 1, 3, file);
    std::fclose(file);
    if (n >= 2 && ((bom[0] == 0xFF && bom[1] == 0xFE) || (bom[0] == 0xFE && bom[1] == 0xFF)))
        return " (plik jest w UTF-16: zapisz go jako tekst ANSI/Windows-1250)";
    return "";
}

}  // namespace zestawy::cli
