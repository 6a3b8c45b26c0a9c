// Fuzzes the history file reader: the input is written to a file, read back
// whole and with a limit below its size, and the lines are loaded as the load
// command loads them.
//
// Input: the file's bytes; the first one also gives the count of lines loaded.
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "history/history.hpp"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// One file per process, rewritten for every input and removed at exit. It is
// kept in memory (tmpfs) where there is one: ext4 flushes a file rewritten
// from empty when it is closed, which made the fuzzing wait on the disk.
struct ScratchFile {
    std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                       "/zestawy-fuzz-history-" + std::to_string(getpid()) + ".txt";
    ~ScratchFile() { std::remove(path.c_str()); }

    void write(std::string_view bytes) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        check(file != nullptr);
        check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        check(std::fclose(file) == 0);
    }
};

// A box text holds whole lines with CR LF between them: no zero byte, and no
// CR or LF but in a CR LF pair. Returns the number of lines.
std::size_t boxLines(std::string_view box) {
    check(box.find('\0') == std::string_view::npos);
    std::size_t lines = box.empty() ? 0 : 1;
    for (std::size_t i = 0; i < box.size(); ++i) {
        if (box[i] == '\r') {
            check(i + 1 < box.size() && box[i + 1] == '\n');
            ++lines;
            ++i;
        } else {
            check(box[i] != '\n');
        }
    }
    return lines;
}

bool hasTwoBlanks(const std::string& line) {
    const std::size_t first = line.find(' ');
    return first != std::string::npos && line.find(' ', first + 1) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    file.write(text);

    std::vector<std::string> lines = {"left over"};
    check(zestawy::readHistoryFile(file.path, lines, size) == zestawy::HistoryRead::Ok);
    check(lines == zestawy::splitHistoryLines(text));
    std::vector<std::string> whole;
    check(zestawy::readHistoryLines(file.path, whole) && whole == lines);

    // Any limit below the size refuses the file and keeps no line.
    if (size > 0) {
        for (const std::size_t limit : {size - 1, size * data[0] / 256}) {
            std::vector<std::string> refused = {"left over"};
            check(zestawy::readHistoryFile(file.path, refused, limit) ==
                  zestawy::HistoryRead::TooLarge);
            check(refused.empty());
        }
    }

    // The load: one date-box line per line with two blanks among the last
    // `count`, and never more numbers-box lines.
    const long long count = size == 0 || data[0] == 0 ? LLONG_MAX : data[0];
    const zestawy::LoadedDraws shown = zestawy::latestDraws(lines, count);
    std::size_t wanted = 0;
    const std::size_t first =
        static_cast<unsigned long long>(count) >= lines.size() ? 0 : lines.size() - count;
    for (std::size_t i = first; i < lines.size(); ++i) wanted += hasTwoBlanks(lines[i]);
    check(boxLines(shown.dates) == wanted);
    check(boxLines(shown.numbers) <= wanted);
    return 0;
}
