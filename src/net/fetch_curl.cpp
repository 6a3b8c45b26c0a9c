// The fetch through libcurl, for every system but Windows.
#include <curl/curl.h>

#include <chrono>
#include <initializer_list>
#include <mutex>

#include "net/fetch_backend.hpp"

namespace zestawy::net {

namespace {

struct Transfer {
    const FetchLimits& limits;
    const std::function<void(std::size_t, std::size_t)>& progress;
    const std::function<bool()>& keepGoing;
    std::string body;
    bool tooLarge = false, stopped = false, timedOut = false;
    // When the last byte came (or the transfer began).
    std::chrono::steady_clock::time_point lastData = std::chrono::steady_clock::now();
    curl_off_t lastGot = 0;
};

std::size_t received(char* data, std::size_t, std::size_t size, void* context) {
    Transfer& t = *static_cast<Transfer*>(context);
    if (t.body.size() + size > t.limits.mostBytes) {
        t.tooLarge = true;
        return 0;  // ends the transfer
    }
    t.body.append(data, size);
    return size;
}

int moving(void* context, curl_off_t total, curl_off_t got, curl_off_t, curl_off_t) {
    Transfer& t = *static_cast<Transfer*>(context);
    if (t.keepGoing && !t.keepGoing()) {
        t.stopped = true;
        return 1;  // ends the transfer
    }
    // Called many times a second while the transfer lasts, data or not.
    const auto now = std::chrono::steady_clock::now();
    if (got != t.lastGot) {
        t.lastGot = got;
        t.lastData = now;
    } else if (now - t.lastData > std::chrono::seconds(t.limits.idleSeconds)) {
        t.timedOut = true;
        return 1;
    }
    if (t.progress && got > 0)
        t.progress(static_cast<std::size_t>(got), static_cast<std::size_t>(total));
    return 0;
}

// What each of libcurl's codes means; any code not here is Failure::Other.
const struct {
    Failure failure;
    std::initializer_list<CURLcode> codes;
} kFailures[] = {
    {Failure::NoServer, {CURLE_COULDNT_RESOLVE_HOST, CURLE_COULDNT_RESOLVE_PROXY}},
    {Failure::NoConnection, {CURLE_COULDNT_CONNECT, CURLE_SEND_ERROR, CURLE_RECV_ERROR}},
    {Failure::SecureChannel,
     {CURLE_SSL_CONNECT_ERROR, CURLE_SSL_CIPHER, CURLE_SSL_ENGINE_NOTFOUND,
      CURLE_SSL_ENGINE_SETFAILED, CURLE_SSL_ENGINE_INITFAILED, CURLE_SSL_CERTPROBLEM,
      CURLE_SSL_CLIENTCERT, CURLE_USE_SSL_FAILED}},
    {Failure::Certificate,
     {CURLE_PEER_FAILED_VERIFICATION, CURLE_SSL_CACERT_BADFILE, CURLE_SSL_CRL_BADFILE,
      CURLE_SSL_ISSUER_ERROR, CURLE_SSL_PINNEDPUBKEYNOTMATCH, CURLE_SSL_INVALIDCERTSTATUS}},
    {Failure::TimedOut, {CURLE_OPERATION_TIMEDOUT}},
    {Failure::TooManyRedirects, {CURLE_TOO_MANY_REDIRECTS}},
    // The address asked for is http or https: another scheme came by a redirect.
    {Failure::BadRedirect, {CURLE_UNSUPPORTED_PROTOCOL}},
    {Failure::CutShort, {CURLE_PARTIAL_FILE}},
    {Failure::TooLarge, {CURLE_FILESIZE_EXCEEDED}},
    {Failure::Empty, {CURLE_GOT_NOTHING}},
};

Failure failureOf(CURLcode code, const Transfer& t) {
    if (t.stopped) return Failure::Stopped;
    if (t.timedOut) return Failure::TimedOut;
    if (t.tooLarge) return Failure::TooLarge;
    for (const auto& row : kFailures)
        for (CURLcode listed : row.codes)
            if (code == listed) return row.failure;
    return Failure::Other;
}

}  // namespace

Fetched fetchWeb(const std::string& url, const FetchLimits& limits,
                 const std::function<void(std::size_t, std::size_t)>& progress,
                 const std::function<bool()>& keepGoing) {
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CURL* curl = curl_easy_init();
    if (!curl) return failed(Failure::Other, url, limits, CURLE_FAILED_INIT);
    Transfer t{limits, progress, keepGoing, {}};
    const long idle = limits.idleSeconds;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(kMostRedirects));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, idle);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.mostBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, received);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, moving);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "zestawy");
    // Only the answer to the last request (after the redirects) is the file.
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 0L);
    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK) return failed(failureOf(code, t), url, limits, code);
    if (status != 200) return failed(Failure::Status, url, limits, status);
    Fetched fetched;
    fetched.ok = true;
    fetched.body = std::move(t.body);
    return fetched;
}

}  // namespace zestawy::net
