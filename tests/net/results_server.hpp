// A results server on 127.0.0.1 for the tests, on a free port, in a thread of
// the test's own process: each path gives the answer of its row, good or
// faulty. Every connection ends by itself within seconds. What is not an HTTP
// request (https's greeting, say) gets 400 at once, as from a real server.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace zestawy::nettest {

struct Answer {
    enum Kind {
        Whole,     // the status and the whole body, its length announced
        CutShort,  // the length of the whole body announced, half of it sent
        Stall,     // the length announced, a little sent, then nothing
        Endless,   // no length announced; the body over and over, past 64 MB
        Trickle,   // the whole body, a kilobyte every 50 ms
        Redirect,  // 302 to the address in body (a path of this server or a URL)
    } kind = Whole;
    std::string body;
    int status = 200;
};

class ResultsServer {
  public:
    explicit ResultsServer(std::map<std::string, Answer> answers);
    ~ResultsServer();
    ResultsServer(const ResultsServer&) = delete;
    ResultsServer& operator=(const ResultsServer&) = delete;

    // "http://127.0.0.1:PORT" followed by the path.
    std::string url(const std::string& path) const;
    // How many requests it has read so far, all or of the path.
    int requests() const;
    int requests(const std::string& path) const;
    // Replaces the answer of a path.
    void answer(const std::string& path, Answer answer);

    // An address on 127.0.0.1 where nothing listens.
    static std::string refusedUrl();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A file's bytes ("" when it cannot be read).
std::string fileText(const std::string& path);

}  // namespace zestawy::nettest
