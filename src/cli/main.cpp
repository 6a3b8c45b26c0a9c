#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The results go out byte for byte, CR LF included.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return zestawy::runCli(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
