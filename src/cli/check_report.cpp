#include "cli/check_report.hpp"

#include "history/check.hpp"
#include "history/encoding.hpp"
#include "history/file_name.hpp"

namespace zestawy::cli {

int check(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err) {
    std::size_t bad = 0;
    {
        const StopsByItself stops;
        bad = checkHistory(
            lines, o.game->rules,
            [&](const LineProblem& problem) {
                return !stopRequested.stopped() &&
                       out.write("wiersz " + std::to_string(problem.line) + ": " +
                                 printable(problem.why) + "\n");
            },
            [] { return !stopRequested.stopped(); });
    }
    if (stopRequested.stopped()) {
        say(err, "zestawy-cli: przerwano\n");
        return 130;
    }
    if (bad == 0)
        out.write("Wszystkie wiersze (" + std::to_string(lines.size()) + ") są poprawne.\n");
    else
        out.write("Błędnych wierszy: " + std::to_string(bad) + " z " +
                  std::to_string(lines.size()) + ".\n");
    const int code = finishOutput(out, err);
    return code != 0 ? code : bad == 0 ? 0 : 1;
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
