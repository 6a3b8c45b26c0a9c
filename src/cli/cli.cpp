// The tool's dispatch: reads the source the options name and runs the mode
// they ask for.
#include "cli/cli.hpp"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "cli/analysis_report.hpp"
#include "cli/check_report.hpp"
#include "cli/listing.hpp"
#include "cli/options.hpp"
#include "cli/output.hpp"
#include "cli/ranking_report.hpp"
#include "cli/update_report.hpp"
#include "cli/wheel_report.hpp"
#include "commands/search_command.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "search/shared_walk.hpp"
#include "version.hpp"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zestawy {

using namespace cli;

void requestStop() {
    stopRequested.stop();
    if (!exitOnStop) return;
    // Nothing is being written: end here, as a Ctrl-C ends any program.
    static const char stopped[] = "zestawy-cli: przerwano\n";
#ifdef _WIN32
    _write(2, stopped, sizeof stopped - 1);
#else
    if (::write(2, stopped, sizeof stopped - 1) < 0) {
    }
#endif
    std::_Exit(kExitStopped);
}

namespace {

int run(const std::vector<std::string>& args, std::FILE* outFile, std::FILE* err,
        const std::string& programDir) {
    Options o;
    try {
        o = parse(args);
    } catch (const UsageError& e) {
        say(err, "zestawy-cli: " + e.message + " (zob. --help)\n");
        return kExitUsage;
    }
    o.threads = threadsOf(o);
    setMessagesUtf8(o.utf8);
    Output out(outFile, o.utf8);
    auto unreadable = [&](const std::string& path, HistoryRead read) {
        return unreadableFile(path, read, err);
    };

    if (!o.updatePath.empty())
        return update(o, o.historyPath.empty() ? samplePath(*o.game, programDir) : o.historyPath,
                      !o.historyPath.empty(), programDir, err);
    if (o.download) return downloadAll(programDir, err);
    if (std::find(o.given.begin(), o.given.end(), "--wheel") != o.given.end())
        return wheelReport(o, out, err);

    std::string numbers;
    if (!o.numbersPath.empty()) {
        const HistoryRead read = readWholeFile(o.numbersPath, numbers, kMaxHistoryBytes);
        if (read != HistoryRead::Ok) return unreadable(o.numbersPath, read);
    } else {
        std::vector<std::string> lines;
        const std::string path =
            o.historyPath.empty() ? samplePath(*o.game, programDir) : o.historyPath;
        if (o.check) return check(o, path, out, err);
        const HistoryRead read = readHistoryFile(path, lines, kMaxHistoryBytes);
        if (read != HistoryRead::Ok) return unreadable(path, read);
        const long long every = static_cast<long long>(lines.size()) + 1;
        if (loadedLines(lines, every).empty()) return noDrawsIn(path, err);
        if (o.ranking) return rankSets(o, lines, out, err);
        if (!o.ticket.empty()) return ticketReport(o, lines, out, err);
        if (o.backtest) return backtestReport(o, lines, out, err);
        numbers = latestDraws(lines, o.last ? o.last : every).numbers;
    }

    if (o.count) return countSets(o, splitDrawList(numbers), out, err);
    if (o.all) return listSets(o, splitDrawList(numbers), out, err);
    // The results box's final text, streamed as the answers are made: an answer
    // of gigabytes takes a megabyte of memory, as the window's "Tak" does.
    const StopsByItself stops;
    bool any = false;
    for (const SearchCommand* command : o.commands) {
        if (any && !out.write("\r\n")) break;
        const bool whole = streamAnswer(
            *command, splitDrawList(numbers),
            [&](std::string_view piece) {
                any = any || !piece.empty();
                return out.write(piece) && !stopRequested.stopped();
            },
            o.threads);
        if (!whole) break;
    }
    return finishOutput(out, err);
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
           const std::string& programDir) {
    // --help and --version answer whatever else is given; the first of them wins.
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h" || a == "--version") {
            Output answer(out, true);
            answer.write(a == "--version" ? std::string("zestawy-cli ") + kVersion + "\n"
                                          : usage());
            return finishOutput(answer, err);
        }
    }
    try {
        return run(args, out, err, programDir);
    } catch (const std::bad_alloc&) {
        say(err, "zestawy-cli: za mało pamięci\n");
    } catch (const std::exception& e) {
        say(err, std::string("zestawy-cli: błąd: ") + e.what() + "\n");
    }
    return kExitFailed;
}

}  // namespace zestawy
