#include "cli/output.hpp"

#include "combinatorics/choose.hpp"
#include "history/encoding.hpp"

#ifdef _WIN32
#include <windows.h>
#include <io.h>

#include <algorithm>
#define ZESTAWY_ISATTY(fd) _isatty(fd)
#else
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#define ZESTAWY_ISATTY(fd) isatty(fd)
#endif

namespace zestawy::cli {

WalkStop stopRequested;
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler stops it");
std::atomic<bool> exitOnStop{true};

namespace {

bool messagesUtf8 = true;

#ifdef _WIN32
// The console behind a stream, or nullptr when it is a file or a pipe.
HANDLE consoleOf(std::FILE* stream) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// UTF-8 text onto a console, as UTF-16.
bool writeToConsole(HANDLE console, std::string_view utf8) {
    const std::u16string wide = utf16FromUtf8(utf8);
    for (std::size_t done = 0; done < wide.size();) {
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 1 << 14));
        DWORD written = 0;
        if (!WriteConsoleW(console, reinterpret_cast<const wchar_t*>(wide.data() + done), piece,
                           &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}
#endif

// A message in UTF-8, where it goes and as it takes it.
void sayUtf8(std::FILE* to, const std::string& utf8) {
#ifdef _WIN32
    char previous = '\n';
    const std::string text = withCrLf(utf8, previous);
    std::fflush(to);
    if (const HANDLE console = consoleOf(to)) {
        writeToConsole(console, text);
        return;
    }
    const std::string bytes = messagesUtf8 ? text : cp1250FromUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), to);
#else
    std::fwrite(utf8.data(), 1, utf8.size(), to);
#endif
}

}  // namespace

void setMessagesUtf8(bool utf8) {
    messagesUtf8 = utf8;
}

void say(std::FILE* to, const std::string& cp1250) {
    sayUtf8(to, utf8FromCp1250(printable(cp1250, true)));
}

void sayPath(std::FILE* to, const std::string& before, const std::string& path,
             const std::string& after) {
    sayUtf8(to, utf8FromCp1250(printable(before, true)) + printablePath(path) +
                    utf8FromCp1250(printable(after, true)));
}

std::string withCrLf(std::string_view text, char& previous) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n' && previous != '\r') out += '\r';
        out += c;
        previous = c;
    }
    return out;
}

Output::Output(std::FILE* out, bool utf8) : out_(out), utf8_(utf8) {
#ifdef _WIN32
    console_ = consoleOf(out);
#endif
}

// On Windows: the text onto the console. False when out_ is no console.
bool Output::writeConsole([[maybe_unused]] std::string_view cp1250) {
#ifdef _WIN32
    if (!console_) return false;
    std::fflush(out_);
    if (stopRequested.stopped() || !writeToConsole(console_, utf8FromCp1250(cp1250))) fail();
    return true;
#else
    return false;
#endif
}

bool Output::write(std::string_view text) {
    constexpr std::size_t kChunk = 1 << 20;
#ifdef _WIN32
    std::string ended;
#endif
    for (std::size_t at = 0; at < text.size() && !failed_; at += kChunk) {
        std::string_view piece = text.substr(at, kChunk);
#ifdef _WIN32
        ended = withCrLf(piece, lastWritten_);
        piece = ended;
#endif
        if (writeConsole(piece)) continue;
        if (utf8_) {
            converted_.clear();
            appendUtf8FromCp1250(converted_, piece);
            piece = converted_;
        }
        writeBytes(piece);
    }
    return !failed_;
}

bool Output::writeBytes(std::string_view bytes) {
    if (failed_ || bytes.empty()) return !failed_;
    if (writeConsole(bytes)) return !failed_;
    const StopsByItself stops;
#ifdef _WIN32
    if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) failed_ = true;
    if (stopRequested.stopped()) failed_ = true;
#else
    if (std::fflush(out_) != 0) return fail();
    const int fd = fileno(out_);
    for (std::size_t done = 0; done < bytes.size();) {
        if (stopRequested.stopped()) {
            finishLine(fd, bytes.substr(done));
            return fail();
        }
        // Into a pipe, whole lines of at most PIPE_BUF bytes: such a write goes
        // in whole or not at all, so that one cut short by Ctrl-C leaves no
        // half line even when nobody reads any more.
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

bool Output::finish() {
    if (!failed_ && (std::fflush(out_) != 0 || std::ferror(out_))) failed_ = true;
    return !failed_;
}

bool Output::fail() {
    failed_ = true;
    return false;
}

// The rest of the line that was being written, if the reader takes it within
// a fifth of a second; then nothing more.
void Output::finishLine([[maybe_unused]] int fd, [[maybe_unused]] std::string_view rest) {
#ifndef _WIN32
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
#endif
}

bool Output::isPipe() {
#ifndef _WIN32
    if (pipe_ < 0) {
        struct stat status;
        pipe_ = fstat(fileno(out_), &status) == 0 && S_ISFIFO(status.st_mode);
    }
#endif
    return pipe_ == 1;
}

int finishOutput(Output& out, std::FILE* err) {
    if (stopRequested.stopped()) {
        say(err, "zestawy-cli: przerwano\n");
        return kExitStopped;
    }
    if (!out.finish()) {
        say(err, "zestawy-cli: nie udało się zapisać wyniku\n");
        return kExitFailed;
    }
    return 0;
}

namespace {

// How far a lexicographic walk over the sets of n numbers of 1..max has got
// when it reaches `set`, judged by its first three numbers.
double walkFraction(const int* set, int n, int max) {
    const double total = choose(max, n);
    double before = 0;
    int previous = 0;
    for (int i = 0; i < n && i < 3; ++i) {
        for (int v = previous + 1; v < set[i]; ++v) before += choose(max - v, n - i - 1);
        previous = set[i];
    }
    return total > 0 ? before / total : 0;
}

}  // namespace

Progress::Progress(std::FILE* err) : err_(err), shown_(isTerminal(err)) {}

Progress::~Progress() {
    if (shown_ && printed_) std::fputs("\r     \r", err_);
}

bool isTerminal(std::FILE* stream) {
    return ZESTAWY_ISATTY(fileno(stream)) != 0;
}

bool Output::isTerminal() const {
    return cli::isTerminal(out_);
}

void Progress::at(const int* set, const NeverDrawnQuery& q, bool often) {
    if (!shown_ || (!often && ++calls_ % 65536 != 0)) return;
    done(walkFraction(set, q.setSize, q.maxNumber));
}

void Progress::done(double part) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    printed_ = true;
    std::fprintf(err_, "\r%3d%%", static_cast<int>(100 * part));
    std::fflush(err_);
}

}  // namespace zestawy::cli
