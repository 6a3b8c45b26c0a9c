#include "cli/cli.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>

#include "commands/encoding.hpp"
#include "commands/search_command.hpp"
#include "history/check.hpp"
#include "history/history.hpp"
#include "search/engine.hpp"

#ifdef _WIN32
#include <io.h>
#define ZESTAWY_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define ZESTAWY_ISATTY(fd) isatty(fd)
#endif

namespace zestawy {

namespace {

std::atomic<bool> stopRequested{false};

// The tool's own texts are Windows-1250 like every text of the program; the
// terminal gets them in UTF-8.
void say(std::FILE* to, const std::string& cp1250) {
    const std::string text = utf8FromCp1250(cp1250);
    std::fwrite(text.data(), 1, text.size(), to);
}

struct GameInfo {
    Game game;
    const char* name;      // as given to --game
    const char* fileName;  // the history file, in the file system's encoding
    DrawRules rules;
};

const GameInfo kGames[] = {
#ifdef _WIN32
    {Game::MultiMulti, "multi", "Multi Multi wyniki losowań.txt", {20, 80}},
    {Game::MiniLotto, "mini", "Mini Lotto wyniki losowań.txt", {5, 42}},
    {Game::Lotto, "lotto", "Lotto wyniki losowań.txt", {6, 49}},
#else
    {Game::MultiMulti, "multi", u8"Multi Multi wyniki losowań.txt", {20, 80}},
    {Game::MiniLotto, "mini", u8"Mini Lotto wyniki losowań.txt", {5, 42}},
    {Game::Lotto, "lotto", u8"Lotto wyniki losowań.txt", {6, 49}},
#endif
};

const char kUsage[] =
    "Użycie:\n"
    "  zestawy-cli ŹRÓDŁO [--encoding cp1250|utf-8] ID...\n"
    "  zestawy-cli ŹRÓDŁO --game GRA --search \"3 z 4\" [--all | --count]\n"
    "  zestawy-cli --game GRA [--history PLIK] --check\n"
    "\n"
    "Wykonuje wyszukiwania programu „Najdłużej oczekiwane zestawy” bez okna: polecenia\n"
    "przycisków o podanych numerach, po kolei, tak jak program dopisuje ich odpowiedzi do pola\n"
    "„Najdłużej oczekiwane zestawy”, i wypisuje końcową treść tego pola. Generator liczb\n"
    "losowych przechodzi z polecenia na polecenie jak w programie.\n"
    "\n"
    "ŹRÓDŁO, czyli treść pola „Wylosowane liczby”:\n"
    "  --numbers PLIK    bajty PLIKU bez zmian: liczby losowania oddzielone przecinkami,\n"
    "                    jedno losowanie w wierszu\n"
    "  --history PLIK    plik wyników losowań (\"nr. data liczby\"), tak jak wczytuje go\n"
    "                    przycisk „Wczytaj”\n"
    "  --game GRA        multi, mini albo lotto; bez --numbers i --history: przykładowy plik\n"
    "                    wyników tej gry dołączony do programu\n"
    "  --last N          tylko N ostatnich losowań pliku wyników (domyślnie wszystkie)\n"
    "\n"
    "Polecenia:\n"
    "  ID...             numery przycisków wyszukiwania (lista poniżej)\n"
    "  --search NAPIS    przycisk gry --game wskazany napisem, np. \"3 z 4\" lub \"Wyszukaj 2\"\n"
    "  --all             wszystkie zestawy jednego wyszukiwania, jeden w wierszu, bez\n"
    "                    ograniczeń okna (bez ucięcia do 699 znaków, nie tylko pierwszy);\n"
    "                    przeszukuje wszystkie podane losowania\n"
    "  --count           tylko liczba tych zestawów oraz pierwszy i ostatni z nich\n"
    "  --check           sprawdza każdy wiersz pliku wyników gry --game i wypisuje błędne\n"
    "  --encoding KOD    kodowanie wyniku: utf-8 (domyślnie) albo cp1250 (bajty programu)\n"
    "  --help            ten opis\n"
    "\n"
    "Ctrl-C przerywa --all i --count od razu; wypisane wiersze są zawsze całe.\n"
    "Kod wyjścia: 0 gdy się udało; 1 gdy --check znalazł błędne wiersze albo nie udało się\n"
    "zapisać wyniku; 2 przy błędnych argumentach lub pliku; 130 po Ctrl-C.\n"
    "\n"
    "Przykład: wszystkie piątki, które nie wypadły w 1000 ostatnich losowaniach Multi Multi:\n"
    "  zestawy-cli --game multi --last 1000 --search \"5 z 5\" --all > piatki.txt\n"
    "\n"
    "Numery przycisków:\n";

std::string usage() {
    std::string text = kUsage;
    const char* names[] = {"Multi Multi", "Mini Lotto", "Lotto"};
    for (int g = 0; g < 3; ++g) {
        text += "  " + std::string(names[g]) + ":\n   ";
        for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
            const SearchCommand& c = kSearchCommands[i];
            if (static_cast<int>(c.game) == g)
                text += " " + std::to_string(c.id) + " \"" + (c.caption + 9) + "\";";
        }
        text.back() = '\n';
    }
    return text;
}

struct UsageError {
    std::string message;
};

struct Options {
    std::string numbersPath, historyPath;
    const GameInfo* game = nullptr;
    long long last = 0;  // 0: every line
    std::vector<const SearchCommand*> commands;
    std::vector<std::string> captions;
    bool all = false, count = false, check = false, utf8 = true;
};

bool isNumber(const std::string& s) {
    return !s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == std::string::npos;
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 == args.size()) throw UsageError{"brak wartości po " + a};
            return args[++i];
        };
        if (a == "--numbers") {
            o.numbersPath = value();
        } else if (a == "--history") {
            o.historyPath = value();
        } else if (a == "--game") {
            const std::string& name = value();
            for (const GameInfo& g : kGames)
                if (name == g.name) o.game = &g;
            if (!o.game) throw UsageError{"nieznana gra '" + name + "' (multi, mini, lotto)"};
        } else if (a == "--last") {
            const std::string& n = value();
            if (!isNumber(n) || std::stoll(n) == 0)
                throw UsageError{"--last wymaga dodatniej liczby, nie '" + n + "'"};
            o.last = std::stoll(n);
        } else if (a == "--search") {
            o.captions.push_back(value());
        } else if (a == "--encoding") {
            const std::string& code = value();
            if (code != "utf-8" && code != "cp1250")
                throw UsageError{"nieznane kodowanie '" + code + "'"};
            o.utf8 = code == "utf-8";
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--count") {
            o.count = true;
        } else if (a == "--check") {
            o.check = true;
        } else if (isNumber(a) && findSearchCommand(std::stoi(a))) {
            o.commands.push_back(findSearchCommand(std::stoi(a)));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"nieznana opcja '" + a + "'"};
        } else {
            throw UsageError{"'" + a + "' nie jest numerem przycisku wyszukiwania"};
        }
    }

    for (const std::string& caption : o.captions) {
        if (!o.game) throw UsageError{"--search wymaga --game"};
        const SearchCommand* found = nullptr;
        for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
            const SearchCommand& c = kSearchCommands[i];
            if (c.game == o.game->game && (caption == c.caption || caption == c.caption + 9))
                found = &c;
        }
        if (!found) throw UsageError{"gra " + std::string(o.game->name) + " nie ma przycisku \"" +
                                     caption + "\""};
        o.commands.push_back(found);
    }

    if (!o.numbersPath.empty() && !o.historyPath.empty())
        throw UsageError{"podaj --numbers albo --history, nie oba"};
    if (!o.numbersPath.empty() && o.last)
        throw UsageError{"--last dotyczy pliku wyników (--history albo --game), nie --numbers"};
    if (o.all + o.count + o.check > 1) throw UsageError{"podaj tylko jedno z --all, --count, --check"};
    if (o.check) {
        if (!o.game) throw UsageError{"--check wymaga --game"};
        if (!o.numbersPath.empty() || !o.commands.empty())
            throw UsageError{"--check sprawdza plik wyników: bez --numbers i bez wyszukiwań"};
        return o;
    }
    if (o.numbersPath.empty() && o.historyPath.empty() && !o.game)
        throw UsageError{"brak źródła: --numbers, --history albo --game"};
    if (o.commands.empty()) throw UsageError{"brak numerów przycisków albo --search"};
    if (o.all || o.count) {
        if (o.commands.size() != 1) throw UsageError{"--all i --count dotyczą jednego wyszukiwania"};
        if (o.commands[0]->sets.setSize == 0)
            throw UsageError{"przycisk " + std::to_string(o.commands[0]->id) +
                             " losuje zestawy: --all i --count go nie dotyczą"};
    }
    return o;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Where a game's sample history is: beside the executable, in a data folder
// beside it, or in the source tree's data folder.
std::string samplePath(const GameInfo& game, const std::string& programDir) {
    std::vector<std::string> folders;
    if (!programDir.empty()) {
        folders = {programDir, programDir + "/data", programDir + "/../../data"};
    }
#ifdef ZESTAWY_SAMPLE_DIR
    folders.push_back(ZESTAWY_SAMPLE_DIR);
#endif
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + game.fileName;
        if (std::ifstream(path)) return path;
    }
    return game.fileName;
}

bool writeAll(std::FILE* out, std::string_view text, bool utf8) {
    constexpr std::size_t kChunk = 1 << 20;
    std::string converted;
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        std::string_view piece = text.substr(at, kChunk);
        if (utf8) {
            converted.clear();
            appendUtf8FromCp1250(converted, piece);
            piece = converted;
        }
        if (std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) return false;
    }
    return std::fflush(out) == 0;
}

// How far a lexicographic walk over the sets of n numbers of 1..max has got
// when it reaches `set`, judged by its first three numbers.
double walkFraction(const int* set, int n, int max) {
    auto choose = [](int z, int k) {
        double c = 1;
        for (int i = 0; i < k; ++i) c = c * (z - i) / (i + 1);
        return z < k ? 0.0 : c;
    };
    const double total = choose(max, n);
    double before = 0;
    int previous = 0;
    for (int i = 0; i < n && i < 3; ++i) {
        for (int v = previous + 1; v < set[i]; ++v) before += choose(max - v, n - i - 1);
        previous = set[i];
    }
    return total > 0 ? before / total : 0;
}

// Percent of the walk on stderr, a few times a second, only on a terminal.
class Progress {
public:
    explicit Progress(std::FILE* err) : err_(err), shown_(ZESTAWY_ISATTY(fileno(err)) != 0) {}
    ~Progress() {
        if (shown_ && printed_) std::fputs("\r     \r", err_);
    }
    // Called for every set; `often` for calls that come a few hundred times in all.
    void at(const int* set, const NeverDrawnQuery& q, bool often = false) {
        if (!shown_ || (!often && ++calls_ % 65536 != 0)) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(250)) return;
        last_ = now;
        printed_ = true;
        std::fprintf(err_, "\r%3d%%", static_cast<int>(100 * walkFraction(set, q.setSize, q.maxNumber)));
        std::fflush(err_);
    }

private:
    std::FILE* err_;
    bool shown_, printed_ = false;
    unsigned long long calls_ = 0;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

char* writeSet(char* p, const int* set, int n) { return SetLines(", ", "\n").write(p, set, n); }

int finishStream(bool writeFailed, std::FILE* err) {
    if (stopRequested) {
        say(err, "zestawy-cli: przerwano\n");
        return 130;
    }
    if (writeFailed) {
        say(err, "zestawy-cli: nie udało się zapisać wyniku\n");
        return 1;
    }
    return 0;
}

// --count: how many sets, with the first and the last.
int countSets(const Options& o, const DrawList& draws, std::FILE* out, std::FILE* err) {
    const NeverDrawnQuery& query = o.commands[0]->sets;
    const int n = query.setSize;
    unsigned long long found = 0;
    int first[kMaxSetSize] = {}, last[kMaxSetSize] = {};
    Progress progress(err);
    forEachNeverDrawn(draws, query, [&](const int* set) {
        if (stopRequested.load(std::memory_order_relaxed)) return false;
        progress.at(set, query);
        for (int i = 0; i < n; ++i) last[i] = set[i];
        if (found++ == 0)
            for (int i = 0; i < n; ++i) first[i] = set[i];
        return true;
    });
    bool writeFailed = false;
    if (!stopRequested) {
        std::string text = std::to_string(found) + "\n";
        if (found) {
            char line[256];
            text += "pierwszy: " + std::string(line, writeSet(line, first, n));
            text += "ostatni: " + std::string(line, writeSet(line, last, n));
        }
        writeFailed = !writeAll(out, text, o.utf8);
    }
    return finishStream(writeFailed, err);
}

// --all: every set, one per line. The walk is split by the sets' first number
// among worker threads that format their part into buffers of whole lines;
// this thread writes the parts in order. A worker ahead of the writer waits
// while too much text is pending, so memory stays bounded whatever the number
// of sets.
class SetLister {
public:
    SetLister(const DrawList& draws, const NeverDrawnQuery& query, std::FILE* out)
        : query_(query), index_(draws, query.subsetSize, query.maxNumber), out_(out),
          parts_(static_cast<std::size_t>(query.maxNumber) + 2) {}

    // Returns false when writing failed.
    bool run(std::FILE* err) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        std::vector<std::thread> workers;
        for (unsigned i = 0; i < cores; ++i) workers.emplace_back([this] { work(); });
        writeInOrder(err);
        quit_ = true;
        changed_.notify_all();
        for (std::thread& worker : workers) worker.join();
        return !writeFailed_;
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kPendingLimit = 16u << 20;

    // Text of whole lines; blocks go round between the workers and the writer.
    struct Block {
        std::unique_ptr<char[]> bytes{new char[kBlock + SetLines::maxLength(kMaxSetSize)]};
        std::size_t size = 0;
    };
    struct Part {
        std::deque<Block> blocks;
        bool done = false;
    };

    bool stopping() const { return quit_ || stopRequested.load(std::memory_order_relaxed); }

    Block takeSpare() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (spare_.empty()) return Block();
        Block block = std::move(spare_.back());
        spare_.pop_back();
        block.size = 0;
        return block;
    }

    void work() {
        while (true) {
            int first;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                first = nextFirst_++;
            }
            if (first > query_.maxNumber || stopping()) return;
            NumberMask only;
            only.set(first);
            SetLines lines(", ", "\n");
            Block block = takeSpare();
            forEachNeverDrawn(index_, query_, only, [&](const int* set) {
                char* end = lines.write(block.bytes.get() + block.size, set, query_.setSize);
                block.size = static_cast<std::size_t>(end - block.bytes.get());
                if (block.size < kBlock) return true;
                hand(first, std::move(block), false);
                block = takeSpare();
                return !stopping();
            });
            hand(first, std::move(block), true);
        }
    }

    void hand(int first, Block&& block, bool done) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (pending_ >= kPendingLimit && first != writing_ && !stopping())
            changed_.wait_for(lock, std::chrono::milliseconds(100));
        pending_ += block.size;
        Part& part = parts_[static_cast<std::size_t>(first)];
        part.blocks.push_back(std::move(block));
        part.done = done;
        changed_.notify_all();
    }

    void writeInOrder(std::FILE* err) {
        Progress progress(err);
        for (int first = 1; first <= query_.maxNumber; ++first) {
            int set[kMaxSetSize];
            for (int i = 0; i < query_.setSize; ++i) set[i] = std::min(first + i, query_.maxNumber);
            progress.at(set, query_, true);
            bool last = false;
            while (!last) {
                Block block;
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    Part& part = parts_[static_cast<std::size_t>(first)];
                    while (part.blocks.empty() && !part.done && !stopping())
                        changed_.wait_for(lock, std::chrono::milliseconds(100));
                    if (stopping()) return;
                    if (!part.blocks.empty()) {
                        block = std::move(part.blocks.front());
                        part.blocks.pop_front();
                        pending_ -= block.size;
                    }
                    last = part.done && part.blocks.empty();
                    if (last) writing_ = first + 1;
                    changed_.notify_all();
                }
                if (std::fwrite(block.bytes.get(), 1, block.size, out_) != block.size) {
                    writeFailed_ = true;
                    quit_ = true;
                    return;
                }
                std::lock_guard<std::mutex> lock(mutex_);
                spare_.push_back(std::move(block));
            }
        }
        writeFailed_ = std::fflush(out_) != 0;
    }

    const NeverDrawnQuery query_;
    const CompletionIndex index_;
    std::FILE* const out_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Part> parts_;  // by first number
    std::vector<Block> spare_;
    int nextFirst_ = 1;        // the next part a worker takes
    int writing_ = 1;          // the part being written
    std::size_t pending_ = 0;  // bytes handed over and not yet written
    std::atomic<bool> quit_{false};
    bool writeFailed_ = false;
};

int listSets(const Options& o, const DrawList& draws, std::FILE* out, std::FILE* err) {
    SetLister lister(draws, o.commands[0]->sets, out);
    const bool written = lister.run(err);
    return finishStream(!written, err);
}

int check(const Options& o, const std::vector<std::string>& lines, std::FILE* out) {
    const std::vector<LineProblem> problems = checkHistory(lines, o.game->rules);
    std::string report;
    for (const LineProblem& problem : problems)
        report += "wiersz " + std::to_string(problem.line) + ": " + problem.why + "\n";
    if (problems.empty())
        report = "Wszystkie wiersze (" + std::to_string(lines.size()) + ") są poprawne.\n";
    else
        report += "Błędnych wierszy: " + std::to_string(problems.size()) + " z " +
                  std::to_string(lines.size()) + ".\n";
    return writeAll(out, report, o.utf8) ? (problems.empty() ? 0 : 1) : 1;
}

// "Wyszukaj 6 z 9" and "Wyszukaj 7 z 10" read only the first characters of the
// numbers box, the oldest draws: says so when that leaves draws out.
bool tellIfCut(const SearchCommand& command, std::string_view numbers, std::FILE* err) {
    const std::size_t given = splitDrawList(numbers).size();
    const std::size_t read = splitDrawList(readNumbersBox(numbers, command.readCapacity)).size();
    if (read == given) return false;
    say(err, "zestawy-cli: „" + std::string(command.caption) + "” czyta tylko pierwsze " +
                 std::to_string(command.readCapacity - 1) + " znaków: " + std::to_string(read) +
                 " najstarszych z " + std::to_string(given) + " losowań\n");
    return true;
}

}  // namespace

void requestStop() { stopRequested = true; }

int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
           const std::string& programDir) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            say(out, usage());
            return 0;
        }
    }
    Options o;
    try {
        o = parse(args);
    } catch (const UsageError& e) {
        say(err, "zestawy-cli: " + e.message + " (zob. --help)\n");
        return 2;
    }
    auto unreadable = [&](const std::string& path) {
        say(err, "zestawy-cli: nie można odczytać pliku '");
        std::fputs(path.c_str(), err);
        say(err, "'\n");
        return 2;
    };

    std::string numbers;
    std::vector<std::string> lines;
    std::string historyPath = o.historyPath;
    if (!o.numbersPath.empty()) {
        if (!readFile(o.numbersPath, numbers)) return unreadable(o.numbersPath);
    } else {
        if (historyPath.empty()) historyPath = samplePath(*o.game, programDir);
        if (!readHistoryLines(historyPath, lines)) return unreadable(historyPath);
        if (o.check) return check(o, lines, out);
        numbers = latestDraws(lines, o.last ? o.last : static_cast<long long>(lines.size()) + 1)
                      .numbers;
    }

    try {
        if (o.count) return countSets(o, splitDrawList(numbers), out, err);
        if (o.all) return listSets(o, splitDrawList(numbers), out, err);
        TextBuffer results;
        bool toldCut = false;
        for (const SearchCommand* command : o.commands) {
            if (!toldCut) toldCut = tellIfCut(*command, numbers, err);
            if (!results.empty()) results.append("\r\n");
            writeAnswer(*command, numbers, results);
        }
        if (!writeAll(out, results.view(), o.utf8)) {
            say(err, "zestawy-cli: nie udało się zapisać wyniku\n");
            return 1;
        }
    } catch (const std::bad_alloc&) {
        say(err, "zestawy-cli: za mało pamięci\n");
        return 1;
    }
    return 0;
}

}  // namespace zestawy
