#include "host/http_get.h"

#include <curl/curl.h>
#include <sys/select.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <optional>

namespace host {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUserAgent = "Lumvexer/12.0";
// How long the transfer loop sleeps at most before it looks at the send and
// receive clocks and the cancel test again (milliseconds).
constexpr int kPollMs = 20;

// What the callbacks learn while libcurl runs the transfer.
struct Transfer {
    const HttpGetRequest* request = nullptr;
    CURL* easy = nullptr;
    bool connected = false;     // the request may go out now
    bool replyStarted = false;  // a byte of the reply has come
    bool badStatus = false, tooLarge = false, notStored = false;
    std::size_t received = 0;
    Clock::time_point lastOut, lastIn;  // the last bytes sent, received
};

int OnConnected(void* user, char*, char*, int, int) {
    auto* t = static_cast<Transfer*>(user);
    t->connected = true;
    t->lastOut = Clock::now();
    return CURL_PREREQFUNC_OK;
}

// Time-stamps the traffic both ways (libcurl reports it here while verbose).
int OnTraffic(CURL*, curl_infotype type, char*, size_t, void* user) {
    auto* t = static_cast<Transfer*>(user);
    if (type == CURLINFO_HEADER_OUT || type == CURLINFO_DATA_OUT || type == CURLINFO_SSL_DATA_OUT) {
        t->lastOut = Clock::now();
    } else if (type == CURLINFO_HEADER_IN || type == CURLINFO_DATA_IN ||
               type == CURLINFO_SSL_DATA_IN) {
        t->lastIn = Clock::now();
        t->replyStarted = t->replyStarted || type != CURLINFO_SSL_DATA_IN;
    }
    return 0;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    long status = 0;
    curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
    // Returning less than n makes libcurl stop with a write error.
    if (status != 200) {
        t->badStatus = true;
        return 0;
    }
    if (n > t->request->maxBytes - t->received) {
        t->tooLarge = true;
        return 0;
    }
    t->received += n;
    if (t->request->body && !t->request->body(std::string_view(data, n))) {
        t->notStored = true;
        return 0;
    }
    return n;
}

bool IsHttpAddress(const std::string& url) {
    auto starts = [&](std::string_view scheme) {
        return url.size() > scheme.size() &&
               std::equal(scheme.begin(), scheme.end(), url.begin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               });
    };
    return starts("http://") || starts("https://");
}

// Whether libcurl waits for the connection to take more of the request.
bool WaitsToSend(CURLM* multi) {
    fd_set read, write, error;
    FD_ZERO(&read);
    FD_ZERO(&write);
    FD_ZERO(&error);
    int last = -1;
    if (curl_multi_fdset(multi, &read, &write, &error, &last) != CURLM_OK) return false;
    for (int fd = 0; fd <= last; ++fd) {
        if (FD_ISSET(fd, &write)) return true;
    }
    return false;
}

std::string Ms(int ms) {
    return std::to_string(ms) + " ms";
}

// The send and receive clocks and the cancel test, between two turns of the
// transfer loop.  Connecting is timed by libcurl itself.
std::optional<HttpResult> Overdue(const Transfer& t, CURLM* multi) {
    const HttpGetRequest& r = *t.request;
    if (r.cancelled && r.cancelled()) return HttpResult{HttpOutcome::Cancelled, "cancelled"};
    if (!t.connected) return std::nullopt;
    const auto now = Clock::now();
    auto over = [&](Clock::time_point since, int limit) {
        return now - since > std::chrono::milliseconds(std::max(1, limit));
    };
    if (!t.replyStarted && WaitsToSend(multi)) {
        if (over(t.lastOut, r.timeouts.send)) {
            return HttpResult{
                HttpOutcome::SendTimeout,
                "the request was not sent within the send time-out (" + Ms(r.timeouts.send) + ")"};
        }
    } else if (over(std::max(t.lastOut, t.lastIn), r.timeouts.receive)) {
        return HttpResult{HttpOutcome::ReceiveTimeout,
                          "no reply within the receive time-out (" + Ms(r.timeouts.receive) + ")"};
    }
    return std::nullopt;
}

HttpResult Finished(CURLcode code, const Transfer& t, const char* detail) {
    std::string why = detail[0] ? detail : curl_easy_strerror(code);
    why = why.substr(0, why.find_first_of("\r\n"));  // one line
    long status = 0;
    curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
    if (t.badStatus || (code == CURLE_OK && status != 200)) {
        return {HttpOutcome::BadStatus, "the server answered status " + std::to_string(status)};
    }
    if (t.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        return {HttpOutcome::TooLarge,
                "the reply is longer than " + std::to_string(t.request->maxBytes) + " bytes"};
    }
    if (t.notStored) return {HttpOutcome::NotStored, "the reply could not be stored"};
    switch (code) {
        case CURLE_OK:
            return {HttpOutcome::Ok, ""};
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return {HttpOutcome::BadAddress, "not a usable address: " + why};
        case CURLE_OPERATION_TIMEDOUT:
            return {HttpOutcome::ConnectTimeout, "no connection within the connect time-out (" +
                                                     Ms(t.request->timeouts.connect) + ")"};
        case CURLE_PARTIAL_FILE:
            return {HttpOutcome::CutShort, "the reply was cut short: " + why};
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
            return {HttpOutcome::Unreachable, "cannot reach the server: " + why};
        default:
            return {HttpOutcome::Failed, "the transfer failed: " + why};
    }
}

// The handles of one transfer, released on every way out.
struct Handles {
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    curl_slist* headers = nullptr;
    bool added = false;
    ~Handles() {
        if (added) curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
    }
};

void Configure(Handles& h, Transfer& t, char* detail) {
    const HttpGetRequest& r = *t.request;
    CURL* e = h.easy;
    // "Reload": fetch from the origin server; "no cache write": keep no copy.
    h.headers = curl_slist_append(h.headers, "Cache-Control: no-cache, no-store");
    h.headers = curl_slist_append(h.headers, "Pragma: no-cache");
    curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, h.headers);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::max(1, r.timeouts.connect)));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(r.maxBytes));
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, &t);
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, OnTraffic);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
}

}  // namespace

HttpResult HttpGet(const HttpGetRequest& request) {
    if (!IsHttpAddress(request.url)) {
        return {HttpOutcome::BadAddress,
                "only http:// and https:// addresses are served, not '" + request.url + "'"};
    }
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    Handles h;
    if (!h.easy || !h.multi) return {HttpOutcome::Failed, "the network library is not usable"};
    Transfer t;
    t.request = &request;
    t.easy = h.easy;
    char detail[CURL_ERROR_SIZE] = "";
    Configure(h, t, detail);
    if (curl_multi_add_handle(h.multi, h.easy) != CURLM_OK) {
        return {HttpOutcome::Failed, "the network library is not usable"};
    }
    h.added = true;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(h.multi, &running) != CURLM_OK) {
            return {HttpOutcome::Failed, "the network library failed"};
        }
        if (!running) break;
        if (auto stop = Overdue(t, h.multi)) return *stop;
        curl_multi_poll(h.multi, nullptr, 0, kPollMs, nullptr);
    }
    CURLcode code = CURLE_OK;
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(h.multi, &left)) {
        if (m->msg == CURLMSG_DONE) code = m->data.result;
    }
    return Finished(code, t, detail);
}

}  // namespace host
