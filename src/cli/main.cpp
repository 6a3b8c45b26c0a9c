#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "history/file_name.hpp"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#endif

namespace {

extern "C" void onInterrupt(int) {
    zestawy::requestStop();
}

// The folder of the running executable, where its sample histories are
// looked for: never the current folder, however the tool was started (from
// PATH, argv[0] is a bare name).
std::string programFolder(const char* argv0) {
    const std::string folder = zestawy::programFolder();
    return folder.empty() ? zestawy::folderOf(argv0 ? argv0 : "") : folder;
}

// The arguments after the program's name, in UTF-8: on Windows as the
// system has them in UTF-16, whatever its ANSI code page.
std::vector<std::string> arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i) args.push_back(zestawy::utf8Path(wide[i]));
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The results go out byte for byte, CR LF included.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
#else
    // Without SA_RESTART: a read or write that waits is cut short by Ctrl-C.
    struct sigaction interrupt = {};
    interrupt.sa_handler = onInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    // A polite kill stops the tool as Ctrl-C does, so that no half-written
    // temporary file stays behind.
    sigaction(SIGTERM, &interrupt, nullptr);
#endif
    return zestawy::runCli(arguments(argc, argv), stdout, stderr,
                           programFolder(argc > 0 ? argv[0] : nullptr));
}
