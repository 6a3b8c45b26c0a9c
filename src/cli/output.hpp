// How the tool writes: its results, its messages, its progress, and how
// Ctrl-C stops it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli.hpp"
#include "search/engine.hpp"

namespace zestawy::cli {

// Stopped by Ctrl-C (a lock-free store, safe in a signal handler); the walks
// follow it and the writes stop when they see it.
extern WalkStop stopRequested;
// While set, Ctrl-C ends the tool at once: nothing is being written, so
// nothing can be left half-written. The walks and the writes clear it and stop
// by themselves, leaving whole lines.
extern std::atomic<bool> exitOnStop;

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

// The tool's own texts are Windows-1250 like every text of the program. A
// Windows console gets them in UTF-16, whatever its code page; a file, a pipe
// or a Linux terminal gets bytes: the results as --encoding says, UTF-8 by
// default, and the messages so too on Windows (on Linux always in UTF-8). On
// Windows the lines the tool ends itself end in CR LF.

// How the messages are written where they go to a file or a pipe on Windows.
void setMessagesUtf8(bool utf8);

// A message, with control bytes other than line feeds shown as \xNN
// (messages may quote arguments and lines of files).
void say(std::FILE* to, const std::string& cp1250);
// A message that names a path (UTF-8, as the program keeps paths).
void sayPath(std::FILE* to, const std::string& before, const std::string& path,
             const std::string& after);

// The line end of the lines the tool writes itself.
#ifdef _WIN32
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLineEnd[] = "\n";
#endif

// The text with each line feed that has no carriage return before it made
// CR LF; `previous` is the byte before the text, and becomes its last.
std::string withCrLf(std::string_view text, char& previous);

// Everything the tool prints as its result goes through one Output. A write
// that fails is remembered; Ctrl-C stops a write at once, even one that waits
// for a reader that has stopped reading, and the line being written is
// finished if the reader takes it within a moment, so that only whole lines
// are left.
class Output {
  public:
    Output(std::FILE* out, bool utf8);

    // The text in Windows-1250, converted for the terminal unless asked not to.
    bool write(std::string_view text);
    // Bytes as they are.
    bool writeBytes(std::string_view bytes);
    // Whether everything was written; call once at the end.
    bool finish();
    bool failed() const { return failed_; }
    bool isTerminal() const;

  private:
    bool fail();
    bool writeConsole(std::string_view cp1250);
    void finishLine(int fd, std::string_view rest);
    bool isPipe();

    std::FILE* out_;
    bool utf8_;
    bool failed_ = false;
    std::string converted_;
    char lastByte_ = '\n';
    [[maybe_unused]] char lastWritten_ = '\n';  // of write(), for its line ends
    int pipe_ = -1;                             // whether out_ is a pipe; -1: not known yet
    [[maybe_unused]] void* console_ = nullptr;  // the Windows console out_ writes to, if any
};

// The exit code after writing a result: 130 after Ctrl-C, 1 (with a message)
// when writing failed, 0 otherwise.
int finishOutput(Output& out, std::FILE* err);

// Whether the stream is a terminal.
bool isTerminal(std::FILE* stream);

// Percent of a walk on stderr, a few times a second, only on a terminal.
class Progress {
  public:
    explicit Progress(std::FILE* err);
    ~Progress();
    // Called for every set; `often` for calls that come a few hundred times in all.
    void at(const int* set, const NeverDrawnQuery& q, bool often = false);
    // The part done, 0..1, for work that knows it.
    void done(double part);

  private:
    std::FILE* err_;
    bool shown_, printed_ = false;
    unsigned long long calls_ = 0;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace zestawy::cli
