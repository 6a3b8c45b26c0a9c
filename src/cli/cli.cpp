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

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#define ZESTAWY_ISATTY(fd) _isatty(fd)
#else
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <climits>
#include <unistd.h>
#define ZESTAWY_ISATTY(fd) isatty(fd)
#endif

namespace zestawy {

namespace {

std::atomic<bool> stopRequested{false};
// While set, Ctrl-C ends the tool at once: nothing is being written, so
// nothing can be left half-written. The walks and the writes clear it and stop
// by themselves, leaving whole lines.
std::atomic<bool> exitOnStop{true};

// History and numbers files larger than this are refused; real ones are under 1 MB.
constexpr std::size_t kMaxFileBytes = 256u << 20;

// Clears exitOnStop for its lifetime.
class StopsByItself {
public:
    StopsByItself() : before_(exitOnStop.exchange(false)) {}
    ~StopsByItself() { exitOnStop = before_; }
    StopsByItself(const StopsByItself&) = delete;
    StopsByItself& operator=(const StopsByItself&) = delete;

private:
    bool before_;
};

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
    "Ctrl-C przerywa od razu, także gdy nikt nie czyta wyniku; wypisane wiersze są całe.\n"
    "Przykładowe pliki wyników leżą obok programu albo w ../share/zestawy.\n"
    "Kod wyjścia: 0 gdy się udało; 1 gdy --check znalazł błędne wiersze albo nie udało się\n"
    "zapisać wyniku; 2 przy błędnych argumentach lub pliku (także takim, w którym nie ma\n"
    "żadnego losowania, albo większym niż 256 MB); 130 po Ctrl-C.\n"
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
        auto path = [&]() -> const std::string& {
            const std::string& p = value();
            if (p.empty()) throw UsageError{"pusta nazwa pliku po " + a};
            return p;
        };
        if (a == "--numbers") {
            o.numbersPath = path();
        } else if (a == "--history") {
            o.historyPath = path();
        } else if (a == "--game") {
            const std::string& name = value();
            for (const GameInfo& g : kGames)
                if (name == g.name) o.game = &g;
            if (!o.game) throw UsageError{"nieznana gra '" + name + "' (multi, mini, lotto)"};
        } else if (a == "--last") {
            const std::string& n = value();
            const bool digits = !n.empty() && n.find_first_not_of("0123456789") == std::string::npos;
            if (!digits || n.find_first_not_of('0') == std::string::npos)
                throw UsageError{"--last wymaga dodatniej liczby, nie '" + n + "'"};
            if (!isNumber(n))
                throw UsageError{"--last " + n + " to za dużo (najwyżej 999999999)"};
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

    if (o.game)
        for (const SearchCommand* command : o.commands)
            if (command->game != o.game->game)
                throw UsageError{"przycisk " + std::to_string(command->id) +
                                 " nie należy do gry " + o.game->name};
    if (!o.numbersPath.empty() && !o.historyPath.empty())
        throw UsageError{"podaj --numbers albo --history, nie oba"};
    if (!o.numbersPath.empty() && o.last)
        throw UsageError{"--last dotyczy pliku wyników (--history albo --game), nie --numbers"};
    if (o.all + o.count + o.check > 1) throw UsageError{"podaj tylko jedno z --all, --count, --check"};
    if (o.check) {
        if (!o.game) throw UsageError{"--check wymaga --game"};
        if (!o.numbersPath.empty() || !o.commands.empty() || o.last)
            throw UsageError{
                "--check sprawdza cały plik wyników: bez --numbers, --last i wyszukiwań"};
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

// Where a game's sample history is: beside the executable, or in the data
// folder of an installation (<prefix>/bin/zestawy-cli, <prefix>/share/zestawy).
std::string samplePath(const GameInfo& game, const std::string& programDir) {
    const std::string folders[] = {programDir, programDir + "/../share/zestawy"};
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + game.fileName;
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            return path;
        }
    }
    return folders[0] + "/" + game.fileName;
}

// Everything the tool prints as its result goes through one Output. A write
// that fails is remembered; Ctrl-C stops a write at once, even one that waits
// for a reader that has stopped reading, and the line being written is
// finished if the reader takes it within a moment, so that only whole lines
// are left.
class Output {
public:
    Output(std::FILE* out, bool utf8) : out_(out), utf8_(utf8) {}

    // The text in Windows-1250, converted for the terminal unless asked not to.
    bool write(std::string_view text) {
        constexpr std::size_t kChunk = 1 << 20;
        for (std::size_t at = 0; at < text.size() && !failed_; at += kChunk) {
            std::string_view piece = text.substr(at, kChunk);
            if (utf8_) {
                converted_.clear();
                appendUtf8FromCp1250(converted_, piece);
                piece = converted_;
            }
            writeBytes(piece);
        }
        return !failed_;
    }
    // Bytes as they are.
    bool writeBytes(std::string_view bytes) {
        if (failed_ || bytes.empty()) return !failed_;
        const StopsByItself stops;
#ifdef _WIN32
        if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) failed_ = true;
        if (stopRequested) failed_ = true;
#else
        if (std::fflush(out_) != 0) return fail();
        const int fd = fileno(out_);
        for (std::size_t done = 0; done < bytes.size();) {
            if (stopRequested) {
                finishLine(fd, bytes.substr(done));
                return fail();
            }
            // Into a pipe, whole lines of at most PIPE_BUF bytes: such a write
            // goes in whole or not at all, so that one cut short by Ctrl-C
            // leaves no half line even when nobody reads any more.
            std::size_t piece = bytes.size() - done;
            if (isPipe() && piece > PIPE_BUF) {
                const std::size_t lineEnd = bytes.rfind('\n', done + PIPE_BUF - 1);
                piece = lineEnd != std::string_view::npos && lineEnd >= done ? lineEnd + 1 - done
                                                                             : PIPE_BUF;
            }
            const ssize_t n = ::write(fd, bytes.data() + done, piece);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return fail();
            done += static_cast<std::size_t>(n);
            lastByte_ = bytes[done - 1];
        }
#endif
        return !failed_;
    }
    // Whether everything was written; call once at the end.
    bool finish() {
        if (!failed_ && (std::fflush(out_) != 0 || std::ferror(out_))) failed_ = true;
        return !failed_;
    }
    bool failed() const { return failed_; }

private:
    bool fail() {
        failed_ = true;
        return false;
    }
#ifndef _WIN32
    // The rest of the line that was being written, if the reader takes it
    // within a fifth of a second; then nothing more.
    void finishLine(int fd, std::string_view rest) {
        if (lastByte_ == '\n') return;
        rest = rest.substr(0, rest.find('\n') + 1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        while (!rest.empty() && std::chrono::steady_clock::now() < deadline) {
            pollfd ready = {fd, POLLOUT, 0};
            if (poll(&ready, 1, 50) <= 0) continue;
            const ssize_t n = ::write(fd, rest.data(), rest.size());
            if (n > 0) rest.remove_prefix(static_cast<std::size_t>(n));
            if (n < 0 && errno != EINTR && errno != EAGAIN) return;
        }
    }
    bool isPipe() {
        if (pipe_ < 0) {
            struct stat status;
            pipe_ = fstat(fileno(out_), &status) == 0 && S_ISFIFO(status.st_mode);
        }
        return pipe_ == 1;
    }
    char lastByte_ = '\n';
    int pipe_ = -1;  // unknown yet
#endif
    std::FILE* out_;
    bool utf8_;
    bool failed_ = false;
    std::string converted_;
};

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

// The exit code after writing a result: 130 after Ctrl-C, 1 when writing failed.
int finishOutput(Output& out, std::FILE* err) {
    if (stopRequested) {
        say(err, "zestawy-cli: przerwano\n");
        return 130;
    }
    if (!out.finish()) {
        say(err, "zestawy-cli: nie udało się zapisać wyniku\n");
        return 1;
    }
    return 0;
}

// --count: how many sets, with the first and the last.
int countSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err) {
    const NeverDrawnQuery& query = o.commands[0]->sets;
    const int n = query.setSize;
    unsigned long long found = 0;
    int first[kMaxSetSize] = {}, last[kMaxSetSize] = {};
    {
        const StopsByItself stops;
        Progress progress(err);
        forEachNeverDrawn(draws, query, [&](const int* set) {
            if (stopRequested.load(std::memory_order_relaxed)) return false;
            progress.at(set, query);
            for (int i = 0; i < n; ++i) last[i] = set[i];
            if (found++ == 0)
                for (int i = 0; i < n; ++i) first[i] = set[i];
            return true;
        });
    }
    if (!stopRequested) {
        std::string text = std::to_string(found) + "\n";
        if (found) {
            char line[256];
            text += "pierwszy: " + std::string(line, writeSet(line, first, n));
            text += "ostatni: " + std::string(line, writeSet(line, last, n));
        }
        out.write(text);
    }
    return finishOutput(out, err);
}

// --all: every set, one per line. The walk is split by the sets' first number
// among worker threads that format their part into buffers of whole lines;
// this thread writes the parts in order. Workers wait while too much text is
// pending, the one on the part being written too, so memory stays bounded
// whatever the number of sets and however slowly the output is read.
class SetLister {
public:
    SetLister(const DrawList& draws, const NeverDrawnQuery& query, Output& out)
        : query_(query), index_(draws, query.subsetSize, query.maxNumber), out_(out),
          parts_(static_cast<std::size_t>(query.maxNumber) + 2) {}

    enum class Outcome { Done, WriteFailed, OutOfMemory };

    Outcome run(std::FILE* err) {
        const StopsByItself stops;
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        std::vector<std::thread> workers;
        {
            // Ctrl-C must reach this thread, which may wait in a write.
            [[maybe_unused]] const SigintBlocked blocked;
            for (unsigned i = 0; i < cores; ++i) workers.emplace_back([this] { work(); });
        }
        writeInOrder(err);
        quit_ = true;
        changed_.notify_all();
        for (std::thread& worker : workers) worker.join();
        return outOfMemory_ ? Outcome::OutOfMemory : out_.failed() ? Outcome::WriteFailed : Outcome::Done;
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kPendingLimit = 16u << 20;  // all parts
    static constexpr std::size_t kPartLimit = 8u << 20;      // the part being written

    // Blocks SIGINT in this thread for its lifetime, and so in the threads it starts.
    class SigintBlocked {
    public:
#ifndef _WIN32
        SigintBlocked() {
            sigset_t only;
            sigemptyset(&only);
            sigaddset(&only, SIGINT);
            pthread_sigmask(SIG_BLOCK, &only, &before_);
        }
        ~SigintBlocked() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

    private:
        sigset_t before_;
#endif
    };

    // Text of whole lines; blocks go round between the workers and the writer.
    struct Block {
        std::unique_ptr<char[]> bytes{new char[kBlock + SetLines::maxLength(kMaxSetSize)]};
        std::size_t size = 0;
    };
    struct Part {
        std::deque<Block> blocks;
        std::size_t bytes = 0;  // in blocks
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
        try {
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
        } catch (const std::bad_alloc&) {
            std::lock_guard<std::mutex> lock(mutex_);
            outOfMemory_ = true;
            quit_ = true;
            changed_.notify_all();
        }
    }

    void hand(int first, Block&& block, bool done) {
        std::unique_lock<std::mutex> lock(mutex_);
        Part& part = parts_[static_cast<std::size_t>(first)];
        auto full = [&] {
            return first == writing_ ? part.bytes >= kPartLimit : pending_ >= kPendingLimit;
        };
        while (full() && !stopping()) changed_.wait_for(lock, std::chrono::milliseconds(100));
        pending_ += block.size;
        part.bytes += block.size;
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
                        part.bytes -= block.size;
                    }
                    last = part.done && part.blocks.empty();
                    if (last) writing_ = first + 1;
                    changed_.notify_all();
                }
                if (!out_.writeBytes({block.bytes.get(), block.size})) {
                    quit_ = true;
                    return;
                }
                std::lock_guard<std::mutex> lock(mutex_);
                spare_.push_back(std::move(block));
            }
        }
    }

    const NeverDrawnQuery query_;
    const CompletionIndex index_;
    Output& out_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Part> parts_;  // by first number
    std::vector<Block> spare_;
    int nextFirst_ = 1;        // the next part a worker takes
    int writing_ = 1;          // the part being written
    std::size_t pending_ = 0;  // bytes handed over and not yet written
    std::atomic<bool> quit_{false};
    bool outOfMemory_ = false;
};

int listSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err) {
    SetLister lister(draws, o.commands[0]->sets, out);
    if (lister.run(err) == SetLister::Outcome::OutOfMemory) {
        say(err, "zestawy-cli: za mało pamięci\n");
        return 1;
    }
    return finishOutput(out, err);
}

// Control bytes of a file shown as \xNN, so that a crafted line cannot steer
// the terminal it is printed on.
std::string printable(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
            continue;
        }
        const char hex[] = "0123456789ABCDEF";
        shown += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
    }
    return shown;
}

// --check: each bad line as soon as it is found, then a summary.
int check(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err) {
    std::size_t bad = 0;
    {
        const StopsByItself stops;
        bad = checkHistory(lines, o.game->rules, [&](const LineProblem& problem) {
            return !stopRequested &&
                   out.write("wiersz " + std::to_string(problem.line) + ": " +
                             printable(problem.why) + "\n");
        });
    }
    if (bad == 0)
        out.write("Wszystkie wiersze (" + std::to_string(lines.size()) + ") są poprawne.\n");
    else
        out.write("Błędnych wierszy: " + std::to_string(bad) + " z " +
                  std::to_string(lines.size()) + ".\n");
    const int code = finishOutput(out, err);
    return code != 0 ? code : bad == 0 ? 0 : 1;
}

// Whether some line is a draw at all: has the two blanks after which the
// numbers stand. A file without one is no history of draws.
bool hasDraws(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::size_t first = line.find(' ');
        if (first != std::string::npos && line.find(' ', first + 1) != std::string::npos)
            return true;
    }
    return false;
}

// Why a file written in another encoding shows no draws, or "".
std::string encodingHint(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "";
    unsigned char bom[3] = {};
    const std::size_t n = std::fread(bom, 1, 3, file);
    std::fclose(file);
    if (n >= 2 && ((bom[0] == 0xFF && bom[1] == 0xFE) || (bom[0] == 0xFE && bom[1] == 0xFF)))
        return " (plik jest w UTF-16: zapisz go jako tekst ANSI/Windows-1250)";
    if (n == 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF)
        return " (plik jest w UTF-8 ze znacznikiem BOM: zapisz go jako tekst ANSI/Windows-1250)";
    return "";
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

void requestStop() {
    stopRequested = true;
    if (!exitOnStop) return;
    // Nothing is being written: end here, as a Ctrl-C ends any program.
    static const char stopped[] = "zestawy-cli: przerwano\n";
#ifdef _WIN32
    _write(2, stopped, sizeof stopped - 1);
#else
    if (::write(2, stopped, sizeof stopped - 1) < 0) {
    }
#endif
    std::_Exit(130);
}

namespace {

int run(const std::vector<std::string>& args, std::FILE* outFile, std::FILE* err,
        const std::string& programDir) {
    Options o;
    try {
        o = parse(args);
    } catch (const UsageError& e) {
        say(err, "zestawy-cli: " + e.message + " (zob. --help)\n");
        return 2;
    }
    Output out(outFile, o.utf8);
    auto unreadable = [&](const std::string& path, HistoryRead read) {
        const char* why = read == HistoryRead::CannotOpen ? "nie można otworzyć pliku"
                          : read == HistoryRead::TooLarge ? "za duży plik (ponad 256 MB)"
                                                          : "błąd odczytu pliku";
        say(err, "zestawy-cli: " + std::string(why) + " '");
        std::fputs(path.c_str(), err);
        say(err, "'\n");
        return 2;
    };

    std::string numbers;
    if (!o.numbersPath.empty()) {
        const HistoryRead read = readWholeFile(o.numbersPath, numbers, kMaxFileBytes);
        if (read != HistoryRead::Ok) return unreadable(o.numbersPath, read);
    } else {
        std::vector<std::string> lines;
        const std::string path = o.historyPath.empty() ? samplePath(*o.game, programDir) : o.historyPath;
        const HistoryRead read = readHistoryFile(path, lines, kMaxFileBytes);
        if (read != HistoryRead::Ok) return unreadable(path, read);
        if (!hasDraws(lines)) {
            say(err, "zestawy-cli: w pliku '");
            std::fputs(path.c_str(), err);
            say(err, "' nie ma żadnego losowania w układzie „nr. data liczby”" + encodingHint(path) +
                         "\n");
            return 2;
        }
        if (o.check) return check(o, lines, out, err);
        numbers = latestDraws(lines, o.last ? o.last : static_cast<long long>(lines.size()) + 1)
                      .numbers;
    }

    if (o.count) return countSets(o, splitDrawList(numbers), out, err);
    if (o.all) return listSets(o, splitDrawList(numbers), out, err);
    TextBuffer results;
    bool toldCut = false;
    for (const SearchCommand* command : o.commands) {
        if (!toldCut) toldCut = tellIfCut(*command, numbers, err);
        if (!results.empty()) results.append("\r\n");
        writeAnswer(*command, numbers, results);
    }
    out.write(results.view());
    return finishOutput(out, err);
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
           const std::string& programDir) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            Output help(out, true);
            help.write(usage());
            return finishOutput(help, err);
        }
    }
    try {
        return run(args, out, err, programDir);
    } catch (const std::bad_alloc&) {
        say(err, "zestawy-cli: za mało pamięci\n");
    } catch (const std::exception& e) {
        say(err, std::string("zestawy-cli: błąd: ") + e.what() + "\n");
    }
    return 1;
}

}  // namespace zestawy
