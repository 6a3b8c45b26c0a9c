#include "net/results_server.hpp"

#include <atomic>
#include <cctype>
#include <chrono>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void closeSocket(Socket s) {
    closesocket(s);
}
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using Socket = int;
constexpr Socket kNoSocket = -1;
constexpr int kSendFlags = MSG_NOSIGNAL;
void closeSocket(Socket s) {
    close(s);
}
#endif

namespace zestawy::nettest {

namespace {

constexpr int kMostSeconds = 5;  // a stalled connection is kept no longer
constexpr std::size_t kEndlessBytes = (std::size_t{64} << 20) + (std::size_t{4} << 20);

// Whether the socket has something to read within ms.
bool readable(Socket s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

bool sendAll(Socket s, const char* data, std::size_t size) {
    while (size > 0) {
        const int sent =
            send(s, data, static_cast<int>(std::min<std::size_t>(size, 1 << 16)), kSendFlags);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool sendAll(Socket s, const std::string& text) {
    return sendAll(s, text.data(), text.size());
}

Socket listening(int& port) {
    Socket s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (s == kNoSocket || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (s != kNoSocket) closeSocket(s);
        port = 0;
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return s;
}

void startSockets() {
#ifdef _WIN32
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
#endif
}

}  // namespace

struct ResultsServer::State {
    std::map<std::string, Answer> answers;
    std::map<std::string, int> requestsOf;  // by path
    mutable std::mutex mutex;
    Socket listener = kNoSocket;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> requests{0};
    std::vector<std::thread> connections;
    std::thread acceptor;

    // A request line starts with its method, in capitals.
    static bool notHttp(const std::string& request) {
        return !request.empty() && !std::isupper(static_cast<unsigned char>(request[0]));
    }

    bool waitOrStop(int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return !stopping;
    }

    void serve(Socket client) {
        std::string request;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (request.find("\r\n\r\n") == std::string::npos && !notHttp(request) &&
               std::chrono::steady_clock::now() < deadline && !stopping) {
            if (!readable(client, 50)) continue;
            char buffer[4096];
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        ++requests;
        std::istringstream first(request);
        std::string method, path;
        first >> method >> path;
        Answer answer{Answer::Whole, "", notHttp(request) ? 400 : 404};
        {
            std::lock_guard<std::mutex> lock(mutex);
            ++requestsOf[path];
            const auto found = answers.find(path);
            if (found != answers.end() && !notHttp(request)) answer = found->second;
        }
        reply(client, answer);
        closeSocket(client);
    }

    void reply(Socket client, const Answer& a) {
        const std::string status = "HTTP/1.1 " + std::to_string(a.status) + " X\r\n";
        const std::string length = "Content-Length: " + std::to_string(a.body.size()) + "\r\n";
        const std::string end = "Connection: close\r\n\r\n";
        switch (a.kind) {
            case Answer::Whole:
                sendAll(client, status + length + end + a.body);
                return;
            case Answer::CutShort:
                sendAll(client, status + length + end + a.body.substr(0, a.body.size() / 2));
                return;
            case Answer::Redirect: {
                const std::string to = a.body.rfind("http", 0) == 0 ? a.body : url() + a.body;
                sendAll(client, "HTTP/1.1 302 Found\r\nLocation: " + to +
                                    "\r\nContent-Length: 0\r\n" + end);
                return;
            }
            case Answer::Stall:
                // Waits for the client to give up (its reading end closes).
                sendAll(client, status + length + end + a.body.substr(0, 100));
                for (int i = 0; i < kMostSeconds * 20 && waitOrStop(50);)
                    if (readable(client, 0)) {
                        char c;
                        if (recv(client, &c, 1, 0) <= 0) return;
                    } else {
                        ++i;
                    }
                return;
            case Answer::Endless:
                if (!sendAll(client, status + end)) return;
                for (std::size_t sent = 0; sent < kEndlessBytes && !stopping; sent += a.body.size())
                    if (!sendAll(client, a.body)) return;
                return;
            case Answer::Trickle:
                if (!sendAll(client, status + length + end)) return;
                for (std::size_t at = 0; at < a.body.size() && waitOrStop(50); at += 1024)
                    if (!sendAll(client, a.body.data() + at,
                                 std::min<std::size_t>(1024, a.body.size() - at)))
                        return;
                return;
        }
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port); }

    void acceptAll() {
        while (!stopping) {
            if (!readable(listener, 50)) continue;
            const Socket client = accept(listener, nullptr, nullptr);
            if (client == kNoSocket) continue;
            connections.emplace_back([this, client] { serve(client); });
        }
    }
};

ResultsServer::ResultsServer(std::map<std::string, Answer> answers) : state_(new State) {
    startSockets();
    state_->answers = std::move(answers);
    state_->listener = listening(state_->port);
    if (state_->listener == kNoSocket || listen(state_->listener, 16) != 0) return;
    state_->acceptor = std::thread([this] { state_->acceptAll(); });
}

ResultsServer::~ResultsServer() {
    state_->stopping = true;
    if (state_->acceptor.joinable()) state_->acceptor.join();
    for (std::thread& t : state_->connections) t.join();
    if (state_->listener != kNoSocket) closeSocket(state_->listener);
}

std::string ResultsServer::url(const std::string& path) const {
    return state_->url() + path;
}

int ResultsServer::requests() const {
    return state_->requests;
}

int ResultsServer::requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    const auto found = state_->requestsOf.find(path);
    return found == state_->requestsOf.end() ? 0 : found->second;
}

void ResultsServer::answer(const std::string& path, Answer answer) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->answers[path] = std::move(answer);
}

std::string ResultsServer::refusedUrl() {
    startSockets();
    int port = 0;
    const Socket s = listening(port);  // bound, not listening: refuses
    if (s != kNoSocket) closeSocket(s);
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zestawy::nettest
