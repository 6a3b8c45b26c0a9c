// zestawy-cli as a process, the way scripts and users meet it: sources that
// cannot be read, odd line ends and files with no draws, Ctrl-C in every mode
// and with a reader that stopped reading, outputs that cannot be written,
// control bytes in a file, and memory under a limit or a slow reader.
#ifndef _WIN32
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "history/history.hpp"
#include "search/draw_lists.hpp"
#include "test_folder.hpp"

namespace {

// Under AddressSanitizer the tool reserves terabytes of address space and
// keeps freed memory aside: no memory limit or peak can be measured there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif

using Clock = std::chrono::steady_clock;

enum class Reader { All, Nothing, Slowly };

struct Run {
    std::vector<std::string> args;
    Reader reader = Reader::All;  // how the test reads the output pipe
    int interruptAfterMs = -1;    // Ctrl-C after this long
    rlim_t memoryLimit = 0;       // address space, bytes; 0: none
    std::string stdoutFile = "";  // in place of the pipe
};

struct Outcome {
    int code = -1;  // exit code, or 128 + signal
    std::string out, err;
    double exitAfterInterrupt = 0;  // seconds from Ctrl-C to the exit
    long peakKb = 0;                // peak resident memory
};

void readInto(int fd, std::string& text, std::size_t max) {
    char buffer[1 << 16];
    const ssize_t n = read(fd, buffer, std::min(sizeof buffer, max));
    if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
}

Outcome start(const Run& run, int /*overload guard*/) {
    int out[2], err[2];
    EXPECT_EQ(pipe(out), 0);
    EXPECT_EQ(pipe(err), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (run.memoryLimit) {
            const rlimit limit = {run.memoryLimit, run.memoryLimit};
            setrlimit(RLIMIT_AS, &limit);
        }
        const int to = run.stdoutFile.empty() ? out[1] : open(run.stdoutFile.c_str(), O_WRONLY);
        dup2(to, 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        std::vector<char*> argv = {const_cast<char*>(ZESTAWY_CLI)};
        for (const std::string& a : run.args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(ZESTAWY_CLI, argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    Outcome o;
    const auto begin = Clock::now();
    Clock::time_point interrupted;
    bool sent = false, outOpen = true, errOpen = true;
    auto lastSlowRead = begin;
    while (true) {
        const auto now = Clock::now();
        if (!sent && run.interruptAfterMs >= 0 &&
            now - begin >= std::chrono::milliseconds(run.interruptAfterMs)) {
            kill(child, SIGINT);
            interrupted = now;
            sent = true;
        }
        if (now - begin > std::chrono::seconds(20)) kill(child, SIGKILL);  // hung: fail, not hang
        const bool readOut =
            outOpen &&
            (run.reader == Reader::All ||
             (run.reader == Reader::Slowly && now - lastSlowRead >= std::chrono::milliseconds(10)));
        pollfd fds[2] = {{readOut ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
        if (poll(fds, 2, 5) > 0) {
            if (fds[0].revents) {
                const std::size_t before = o.out.size();
                readInto(out[0], o.out, run.reader == Reader::Slowly ? 4096 : 1 << 16);
                if (o.out.size() == before) outOpen = false;
                if (o.out.size() > (64u << 20)) o.out.erase(0, o.out.size() - (1u << 20));
                lastSlowRead = Clock::now();
            }
            if (fds[1].revents) {
                const std::size_t before = o.err.size();
                readInto(err[0], o.err, 1 << 16);
                if (o.err.size() == before) errOpen = false;
            }
        }
        if (!errOpen && (!outOpen || run.reader != Reader::All)) {
            siginfo_t info = {};
            if (waitid(P_PID, child, &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == child)
                break;
        }
    }
    int status = 0;
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    const auto ended = Clock::now();
    if (sent) o.exitAfterInterrupt = std::chrono::duration<double>(ended - interrupted).count();
    // What the pipe still holds: the end of the output.
    for (std::size_t n = o.out.size(); outOpen; n = o.out.size()) {
        readInto(out[0], o.out, 1 << 16);
        outOpen = o.out.size() != n;
    }
    close(out[0]);
    close(err[0]);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.peakKb = usage.ru_maxrss;
    return o;
}

// The test's own folder, made on its first file.
std::string folder() {
    static std::string dir;
    static const ::testing::TestInfo* made = nullptr;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (made != test) {
        dir = zestawy::testing_folder::testFolder().string() + "/";
        made = test;
    }
    return dir;
}

std::string write(const std::string& name, const std::string& bytes) {
    const std::string path = folder() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

Outcome start(std::vector<std::string> args, Reader reader = Reader::All, int interruptAfterMs = -1,
              rlim_t memoryLimit = 0, std::string stdoutFile = "") {
    Run run;
    run.args = std::move(args);
    run.reader = reader;
    run.interruptAfterMs = interruptAfterMs;
    run.memoryLimit = memoryLimit;
    run.stdoutFile = std::move(stdoutFile);
    return start(run, 0);
}

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliProcess, UnreadableSourcesExitTwoNamingThem) {
    const std::string fifo = folder() + "never-written";
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--numbers", "/", "34"}, u8"błąd odczytu pliku '/'"},
        {{"--numbers", "/proc/self/mem", "34"}, u8"błąd odczytu pliku '/proc/self/mem'"},
        {{"--game", "lotto", "--history", "/", "--check"}, u8"błąd odczytu pliku '/'"},
        {{"--game", "lotto", "--history", "/nowhere/x.txt", "33"}, u8"nie można otworzyć pliku"},
        {{"--game", "lotto", "--history", "", "33"}, u8"pusta nazwa pliku po --history"},
        {{"--numbers", "", "33"}, u8"pusta nazwa pliku po --numbers"},
        {{"--game", "lotto", "--history", "/dev/zero", "33"},
         u8"za duży plik (ponad 256 MB) '/dev/zero'"},
    };
    for (const Case& c : cases) {
        const Outcome o = start(c.args, Reader::All, -1, kMemoryMeasurable ? 1u << 30 : 0);
        EXPECT_EQ(o.code, 2) << c.args[1];
        EXPECT_EQ(lines(o.err), 1) << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }
}

TEST(CliProcess, ReadsEveryLineEndAndRefusesFilesWithNoDraws) {
    // The last 300 Lotto draws with each kind of line end answer alike.
    std::vector<std::string> history;
    ASSERT_TRUE(zestawy::readHistoryLines(
        zestawy::draw_lists::historyPath(zestawy::draw_lists::Game::Lotto), history));
    history.erase(history.begin(), history.end() - 300);
    std::string expected;
    for (const char* end : {"\r\n", "\n", "\r", "\r\r\n"}) {
        std::string text;
        for (std::size_t i = 0; i < history.size(); ++i)
            text += history[i] + (i % 2 ? end : "\r\n");
        const Outcome o =
            start({"--game", "lotto", "--history", write("ends.txt", text), "33", "34", "35"});
        EXPECT_EQ(o.code, 0) << o.err;
        if (expected.empty()) expected = o.out;
        EXPECT_EQ(o.out, expected) << "line end "
                                   << (end[1] == '\n'   ? "CR LF"
                                       : end[0] == '\n' ? "LF"
                                                        : "CR");
    }

    std::string utf16 = "\xFF\xFE";
    for (char c : history[0] + "\r\n" + history[1] + "\r\n") utf16 += std::string{c, '\0'};
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>(i * 7 % 256 == ' ' ? 1 : i * 7 % 256);
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        {"utf16.txt", utf16, "UTF-16"},
        {"bom.txt",
         "\xEF\xBB\xBF"
         "1.\t01.01.2020\t1,2,3,4,5,6\n",
         u8"nie ma żadnego losowania"},
        {"tabs.txt", "1.\t01.01.2020\t1,2,3,4,5,6\n", u8"nie ma żadnego losowania"},
        {"numbers-only.txt", "1,2,3,4,5,6\n7,8,9,10,11,12\n", u8"nie ma żadnego losowania"},
        {"binary.bin", binary, u8"nie ma żadnego losowania"},
        {"empty.txt", "", u8"nie ma żadnego losowania"},
    };
    for (const Case& c : cases) {
        const Outcome o = start({"--game", "lotto", "--history", write(c.name, c.bytes), "33"});
        EXPECT_EQ(o.code, 2) << c.name;
        EXPECT_EQ(lines(o.err), 1) << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << c.name << ": " << o.err;
    }
    EXPECT_EQ(start({"--game", "lotto", "--history", "/dev/null", "--check"}).code, 2);
    // The numbers box may be empty, as in the window.
    EXPECT_EQ(start({"--numbers", "/dev/null", "30"}).out, "1");
}

// Ctrl-C ends every mode at once with code 130, also while a write waits for
// a reader that has stopped reading, and leaves whole lines.
TEST(CliProcess, CtrlCEndsEveryModeAtOnce) {
    const std::string fifo = folder() + "slow.fifo";
    mkfifo(fifo.c_str(), 0600);
    const int keepOpen = open(fifo.c_str(), O_RDWR);  // a writer that never writes
    std::string bad;
    for (int i = 0; i < 200000; ++i) bad += "x y z\n";
    const std::string badFile = write("bad.txt", bad);
    // Some 77 MB of well-formed draws: seconds of checking with nothing to say.
    std::string good;
    std::ifstream in(zestawy::draw_lists::historyPath(zestawy::Game::MultiMulti), std::ios::binary);
    const std::string multi((std::istreambuf_iterator<char>(in)), {});
    for (int i = 0; i < 60; ++i) good += multi;
    const std::string goodFile = write("good.txt", good);
    struct Case {
        const char* mode;
        std::vector<std::string> args;
        Reader reader;
    };
    const Case cases[] = {
        {"answer of 464 MB", {"--game", "multi", "--last", "10", "16"}, Reader::Nothing},
        {"--all",
         {"--game", "multi", "--last", "10", "--search", "5 z 6", "--all"},
         Reader::Nothing},
        {"--all, read",
         {"--game", "multi", "--last", "10", "--search", "5 z 6", "--all"},
         Reader::All},
        // (--count adds up groups of sets: "5 z 6" would be done before the Ctrl-C.)
        {"--count",
         {"--game", "multi", "--last", "10", "--search", "5 z 7", "--count"},
         Reader::All},
        {"--check", {"--game", "lotto", "--history", badFile, "--check"}, Reader::Nothing},
        {"--check, good lines", {"--game", "multi", "--history", goodFile, "--check"}, Reader::All},
        // (The top 10 would be done before the Ctrl-C on two cores.)
        {"--ranking",
         {"--game", "multi", "--search", "5 z 8", "--ranking", "--top", "100000"},
         Reader::All},
        {"a FIFO", {"--game", "lotto", "--history", fifo, "33"}, Reader::All},
        // The random nines and tens over every draw draw for seconds before a set.
        {"Wyszukaj 6 z 9", {"--game", "multi", "41"}, Reader::All},
        {"Wyszukaj 7 z 10", {"--game", "multi", "42"}, Reader::All},
    };
    for (const Case& c : cases) {
        const Outcome o = start(c.args, c.reader, 500);
        EXPECT_EQ(o.code, 130) << c.mode << ": " << o.err;
        // Left alone, every mode here would write or wait for far longer than
        // 10 s; --count and --ranking print their answer only at the end, so
        // an empty output shows they stopped before it.
        EXPECT_LT(o.exitAfterInterrupt, 10.0) << c.mode;
        if (c.mode == std::string("--count") || c.mode == std::string("--ranking")) {
            EXPECT_EQ(o.out, "") << c.mode;
        }
        std::printf("%s: ended %.3f s after Ctrl-C\n", c.mode, o.exitAfterInterrupt);
        if (!o.out.empty()) {
            EXPECT_EQ(o.out.back(), '\n') << c.mode;
        }
    }
    close(keepOpen);
}

TEST(CliProcess, FailedWritesAreReported) {
    const std::vector<std::vector<std::string>> cases = {
        {"--help"},
        {"--game", "lotto", "--check"},
        {"--game", "lotto", "33"},
        {"--game", "multi", "--last", "10", "--search", "5 z 5", "--all"},
        {"--game", "multi", "--last", "100", "--search", "4", "--count"},
    };
    for (const auto& args : cases) {
        const Outcome o = start(args, Reader::All, -1, 0, "/dev/full");
        EXPECT_EQ(o.code, 1) << args[0] << " " << args.back();
        EXPECT_NE(o.err.find(u8"nie udało się zapisać wyniku"), std::string::npos) << o.err;
    }
}

// No mode lets a control byte of a file or an argument reach the terminal:
// not C0 nor DEL, and not the C1 controls that the bytes Windows-1250 leaves
// undefined would become. A UTF-8 byte-order mark is no part of a label.
TEST(CliProcess, ControlBytesNeverReachTheTerminal) {
    const std::string control =
        write("control.txt",
              "1. 01.01.2020 1,2,\x1b]0;pwned\x07,4,5,\x7f\n2. 02.01.2020 \x1b[2J\n"
              "3. \x1b]0;pwned\x07\x1b[2J 1,2,3,4,5,6\n4. 0\x81.01.2020 1,2,3,4,5,6\n"
              "\xEF\xBB\xBF"
              "5. 05.01.2020 7,8,9,10,11,12\n");
    const std::string bom = write("bom.txt",
                                  "\xEF\xBB\xBF"
                                  "1. 01.01.2020 1,2,3,4,5,6\n");
    const struct {
        std::vector<std::string> args;
        const char* shows;  // in stdout or stderr
    } cases[] = {
        {{"--game", "lotto", "--history", control, "--check"}, "\\x1B]0;pwned\\x07"},
        {{"--game", "lotto", "--history", control, "--search", "2", "--ranking"}, u8"pominięto"},
        {{"--game",
          "\x1b]0;pwned\x07\x81"
          "1",
          "1"},
         "\\x1B]0;pwned\\x07\\x81"},
        {{"--game", "lotto", "--history", control + "\x1b[2J", "33"}, "\\x1B[2J"},
        {{"--game", "lotto", "--history", bom, "--search", "1", "--ranking", "--top", "49"},
         "0\t1. 01.01.2020\t1\n"},
    };
    for (const auto& c : cases) {
        const Outcome o = start(c.args);
        const std::string seen = o.out + o.err;
        EXPECT_NE(seen.find(c.shows), std::string::npos) << seen;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            const auto byte = static_cast<unsigned char>(seen[i]);
            const auto next = i + 1 < seen.size() ? static_cast<unsigned char>(seen[i + 1]) : 0;
            EXPECT_FALSE((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7f ||
                         (byte == 0xC2 && next >= 0x80 && next <= 0x9F))
                << "byte " << i << " of " << seen;
        }
    }
}

TEST(CliProcess, MemoryStaysBounded) {
    if (!kMemoryMeasurable) GTEST_SKIP() << "not measurable under AddressSanitizer";
    // An endless history under a memory limit: refused, not a crash.
    const Outcome zero =
        start({"--game", "multi", "--history", "/dev/zero", "1"}, Reader::All, -1, 512u << 20);
    EXPECT_EQ(zero.code, 2) << zero.err;

    // The report on 10 MB of garbage streams out.
    std::string garbage;
    for (int i = 0; garbage.size() < (10u << 20); ++i)
        garbage += "7 a " + std::string(i % 100 ? i % 37 : 200000, ',') + "\n";
    const Outcome check =
        start({"--game", "multi", "--history", write("garbage.txt", garbage), "--check"});
    EXPECT_EQ(check.code, 1);
    EXPECT_LT(check.peakKb, 100 * 1024);
    std::printf("--check of 10 MB of garbage: peak %ld MB\n", check.peakKb / 1024);

    // Every six-set of ten draws, read slowly for two seconds.
    const Outcome slow = start({"--game", "multi", "--last", "10", "--search", "5 z 6", "--all"},
                               Reader::Slowly, 2000);
    EXPECT_EQ(slow.code, 130);
    EXPECT_LT(slow.peakKb, 100 * 1024);
    std::printf("--all read slowly: peak %ld MB\n", slow.peakKb / 1024);

    // The results box of "5 z 8" over ten draws, gigabytes, streamed too.
    const Outcome box = start({"--game", "multi", "--last", "10", "8"}, Reader::Slowly, 2000);
    EXPECT_EQ(box.code, 130);
    EXPECT_LT(box.peakKb, 100 * 1024);
    std::printf("answers read slowly: peak %ld MB\n", box.peakKb / 1024);
}

}  // namespace
#endif
