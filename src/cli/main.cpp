#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

extern "C" void onInterrupt(int) {
    zestawy::requestStop();
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The results go out byte for byte, CR LF included.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);
#else
    // Without SA_RESTART: a read or write that waits is cut short by Ctrl-C.
    struct sigaction interrupt = {};
    interrupt.sa_handler = onInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
#endif
    return zestawy::runCli(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr,
                           folderOf(argc > 0 ? argv[0] : ""));
}
