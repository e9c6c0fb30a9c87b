// One HTTP GET over libcurl, for the host's network components
// (CUrlDownloader, the gallery client).
//
// - Only http:// and https:// addresses are served; https certificates and
//   host names are verified against the system's certificate store.
// - The proxy comes from the usual environment variables, as libcurl reads
//   them: http_proxy, https_proxy (or HTTPS_PROXY), all_proxy (ALL_PROXY) and
//   no_proxy (NO_PROXY).  Upper-case HTTP_PROXY is ignored on purpose (a CGI
//   program can be handed one by a client).
// - The request asks every cache on the way for a fresh copy and for none to
//   be kept, and carries the user agent "Lumvexer/12.0".
// - Only status 200 is a success; redirections are not followed.
// - A body cut short (fewer bytes than Content-Length announced, or a chunked
//   body without its last chunk) is a failure, and so is a body longer than
//   the caller's limit.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace host {

// The three time-outs of a transfer, in milliseconds; values below 1 count
// as 1.
//  connect: from the start until the connection (TLS handshake included) is
//           up; exact to a few milliseconds (libcurl's own clock).
//  send:    while the request is being handed to the connection, the longest
//           wait for the connection to take more of it.
//  receive: once the request is out, the longest wait for the next bytes of
//           the reply (the first ones included).
// The send and receive clocks are looked at every 20 ms, so they fire up to
// about 20 ms late.
struct HttpTimeouts {
    int connect = 3000;
    int send = 3000;
    int receive = 3000;
};

enum class HttpOutcome {
    Ok,
    BadAddress,   // not an http or https address
    Unreachable,  // name not found, connection refused, TLS not trusted
    ConnectTimeout,
    SendTimeout,
    ReceiveTimeout,
    BadStatus,  // a status other than 200
    TooLarge,   // the body exceeds the caller's limit
    CutShort,   // the connection ended before the whole body came
    Cancelled,  // the caller's cancel test said so
    NotStored,  // the caller's body sink refused a piece
    Failed,     // anything else the network reports
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::Failed;
    std::string message;  // empty for Ok, else one line saying what happened
};

struct HttpGetRequest {
    std::string url;
    HttpTimeouts timeouts;
    std::size_t maxBytes = 0;  // the longest body accepted, in bytes
    // Receives the body piece by piece, only for status 200; returning
    // false stops the transfer (NotStored).
    std::function<bool(std::string_view)> body;
    // Asked while the transfer waits; returning true stops it (Cancelled)
    // within about 20 ms.  May be empty.
    std::function<bool()> cancelled;
};

// Runs the transfer on the calling thread and returns when it has ended.
// Every handle it opens is released before it returns.
HttpResult HttpGet(const HttpGetRequest& request);

}  // namespace host
