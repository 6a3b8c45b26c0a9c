// The fetch through WinINet, the system's own: its proxy settings, its
// certificates, nothing to ship beside the program.
//
// The blocking calls run on a thread of their own, which the caller watches:
// when keepGoing says no or no byte came for idleSeconds, the caller closes
// the handles (which ends a waiting call on Windows) and returns at once; the
// thread, abandoned, ends by itself when its call returns, and asks for
// nothing more: each request it opens is kept only while the fetch is wanted.
//
// Redirects are followed here, not by WinINet, which follows them without end
// (a server redirecting to itself got hundreds of requests a second, which
// went on after the caller gave up): each one is a request of its own, to an
// http or https address, at most kMostRedirects of them.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "history/encoding.hpp"
#include "net/fetch_backend.hpp"

namespace zestawy::net {

namespace {

Failure failureOf(DWORD error, bool reading) {
    switch (error) {
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
            return Failure::NoServer;
        case ERROR_INTERNET_CANNOT_CONNECT:
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case ERROR_INTERNET_CONNECTION_RESET:
            return reading ? Failure::CutShort : Failure::NoConnection;
        case ERROR_INTERNET_DISCONNECTED:
        case ERROR_INTERNET_SERVER_UNREACHABLE:
        case ERROR_INTERNET_PROXY_SERVER_UNREACHABLE:
            return Failure::NoConnection;
        case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        case ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED:
            return Failure::SecureChannel;
        case ERROR_INTERNET_INVALID_CA:
        case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
        case ERROR_INTERNET_SEC_CERT_CN_INVALID:
        case ERROR_INTERNET_SEC_CERT_ERRORS:
        case ERROR_INTERNET_SEC_CERT_NO_REV:
        case ERROR_INTERNET_SEC_CERT_REV_FAILED:
        case ERROR_INTERNET_SEC_CERT_REVOKED:
        case ERROR_INTERNET_SEC_INVALID_CERT:
            return Failure::Certificate;
        case ERROR_INTERNET_TIMEOUT:
            return Failure::TimedOut;
        case ERROR_HTTP_REDIRECT_FAILED:
            return Failure::BadRedirect;
        default:
            return Failure::Other;
    }
}

DWORD numberHeader(HINTERNET request, DWORD which) {
    DWORD value = 0, size = sizeof value;
    return HttpQueryInfoW(request, which | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) ? value
                                                                                           : 0;
}

using Clock = std::chrono::steady_clock;

// What the fetching thread and its caller share.
struct Transfer {
    std::string url;
    FetchLimits limits;
    std::mutex mutex;
    std::condition_variable changed;
    HINTERNET session = nullptr, request = nullptr;
    bool closed = false;    // the handles are closed (by either side)
    bool finished = false;  // the thread has its result
    Fetched result;
    std::size_t got = 0, total = 0;
    Clock::time_point lastData = Clock::now();

    void closeLocked() {
        if (closed) return;
        closed = true;
        if (request) InternetCloseHandle(request);
        if (session) InternetCloseHandle(session);
    }
    // Keeps a handle the thread opened; false when the caller gave up meanwhile.
    bool keep(HINTERNET& slot, HINTERNET handle) {
        std::lock_guard<std::mutex> lock(mutex);
        if (closed) {
            if (handle) InternetCloseHandle(handle);
            return false;
        }
        slot = handle;
        return handle != nullptr;
    }
    void finish(Fetched fetched) {
        std::lock_guard<std::mutex> lock(mutex);
        result = std::move(fetched);
        finished = true;
        closeLocked();
        changed.notify_all();
    }
    Fetched failure(bool reading) {
        return failed(failureOf(GetLastError(), reading), url, limits,
                      static_cast<long>(GetLastError()));
    }

    // Closes the request the thread has done with; false when the caller
    // gave up meanwhile.
    bool drop(HINTERNET& slot) {
        std::lock_guard<std::mutex> lock(mutex);
        if (closed) return false;
        if (slot) InternetCloseHandle(slot);
        slot = nullptr;
        return true;
    }

    // The Location of a redirect, "" when there is none.
    std::string location() {
        std::vector<wchar_t> text(4096);
        DWORD size = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
        if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) return "";
        return utf8FromUtf16(reinterpret_cast<const char16_t*>(text.data()));
    }

    // The fetch proper, on its own thread.
    Fetched run() {
        if (!keep(session,
                  InternetOpenW(L"zestawy", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)))
            return failure(false);
        DWORD ms = static_cast<DWORD>(limits.idleSeconds) * 1000;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                             INTERNET_OPTION_SEND_TIMEOUT})
            InternetSetOptionW(session, option, &ms, sizeof ms);
        std::string address = url;
        DWORD status = 0;
        for (int redirects = 0;; ++redirects) {
            if (!drop(request)) return failed(Failure::Stopped, url, limits);
            const std::u16string wide = utf16FromUtf8(address);
            if (!keep(request,
                      InternetOpenUrlW(
                          session, reinterpret_cast<const wchar_t*>(wide.c_str()), nullptr, 0,
                          INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                              INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                              INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT,
                          0)))
                return failure(false);
            {
                // An answer is data, be it a redirect.
                std::lock_guard<std::mutex> lock(mutex);
                lastData = Clock::now();
            }
            status = numberHeader(request, HTTP_QUERY_STATUS_CODE);
            if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308)
                break;
            const std::string location = this->location();
            if (location.empty()) break;  // told as its status
            if (redirects == kMostRedirects) return failed(Failure::TooManyRedirects, url, limits);
            address = redirectTarget(address, location);
            if (address.empty()) return failed(Failure::BadRedirect, url, limits);
        }
        if (status != 200) return failed(Failure::Status, url, limits, static_cast<long>(status));
        const std::size_t announced = numberHeader(request, HTTP_QUERY_CONTENT_LENGTH);
        if (announced > limits.mostBytes) return failed(Failure::TooLarge, url, limits);
        {
            std::lock_guard<std::mutex> lock(mutex);
            total = announced;
            lastData = Clock::now();
        }
        Fetched fetched;
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            // A read waits until its buffer is full: what has come is taken
            // as it comes.
            DWORD ready = 0, read = 0;
            if (!InternetQueryDataAvailable(request, &ready, 0, 0)) return failure(true);
            ready = std::clamp<DWORD>(ready, 1, static_cast<DWORD>(buffer.size()));
            if (!InternetReadFile(request, buffer.data(), ready, &read)) return failure(true);
            if (read == 0) break;
            if (fetched.body.size() + read > limits.mostBytes)
                return failed(Failure::TooLarge, url, limits);
            fetched.body.append(buffer.data(), read);
            std::lock_guard<std::mutex> lock(mutex);
            got = fetched.body.size();
            lastData = Clock::now();
            changed.notify_all();
        }
        if (announced && fetched.body.size() < announced)
            return failed(Failure::CutShort, url, limits);
        fetched.ok = true;
        return fetched;
    }
};

}  // namespace

Fetched fetchWeb(const std::string& url, const FetchLimits& limits,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::function<bool()>& keepGoing) {
    const auto transfer = std::make_shared<Transfer>();
    transfer->url = url;
    transfer->limits = limits;
    std::thread worker([transfer] { transfer->finish(transfer->run()); });

    std::unique_lock<std::mutex> lock(transfer->mutex);
    std::size_t reported = 0;
    while (!transfer->finished) {
        transfer->changed.wait_for(lock, std::chrono::milliseconds(50));
        if (transfer->got != reported && progress) {
            reported = transfer->got;
            const std::size_t total = transfer->total;
            lock.unlock();
            progress(reported, total);
            lock.lock();
        }
        if (transfer->finished) break;
        Failure why;
        if (keepGoing && !keepGoing())
            why = Failure::Stopped;
        else if (Clock::now() - transfer->lastData > std::chrono::seconds(limits.idleSeconds))
            why = Failure::TimedOut;
        else
            continue;
        transfer->closeLocked();
        lock.unlock();
        worker.detach();
        return failed(why, url, limits);
    }
    lock.unlock();
    worker.join();
    if (transfer->result.ok && transfer->got != reported && progress)
        progress(transfer->got, transfer->total);
    return std::move(transfer->result);
}

}  // namespace zestawy::net
