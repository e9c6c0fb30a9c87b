#include "thumbs/gallery_client.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "host/json.h"
#include "host/network.h"
#include "host/registry.h"
#include "thumbs/gallery_reply.h"

namespace {

// How many names one thumbnail address may try ("-2", "-3", ...) before it
// is left without a file: a page's worth.
constexpr int kMaxNameTries = kMaxPageItems;

int ReadTimeout(const char16_t* name) {
    int value = CGalleryClient::kDefaultTimeoutMs;
    CRegistry::Read(CGalleryClient::kRegistryKey, name, CGalleryClient::kDefaultTimeoutMs, &value,
                    1);
    return value > 0 ? value : CGalleryClient::kDefaultTimeoutMs;
}

bool IsAsciiAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The search key as a query value: UTF-8, everything but the unreserved
// characters of RFC 3986 percent-encoded, so that no key can add to or
// change the request's other fields.
std::string QueryValue(const CString& key) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : key.ToUtf8()) {
        if (IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The file name a thumbnail address suggests, split into stem and
// extension: the last piece of its path (query and fragment dropped), with
// every byte but ASCII letters, digits, "-" and "_" made "_", and dots kept
// only singly and not first, so that the name can neither leave its folder
// nor be hidden.  At most 64 bytes; "thumb" when nothing is left.
std::pair<std::string, std::string> SafeThumbName(const std::string& url) {
    const std::string path = url.substr(0, url.find_first_of("?#"));
    std::string name;
    for (char c : path.substr(path.find_last_of('/') + 1)) {
        const bool kept = IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.';
        if (c == '.' && (name.empty() || name.back() == '.')) continue;
        if (name.size() < 64) name += kept ? c : '_';
    }
    const size_t dot = name.rfind('.');
    std::string stem = name.substr(0, dot), ext = dot == std::string::npos ? "" : name.substr(dot);
    return {stem.empty() ? "thumb" : stem, ext};
}

}  // namespace

CGalleryClient::CGalleryClient(CMessageSink& window) : m_window(window) {
    m_timeouts.connect = ReadTimeout(u"ImageThumbConnectTimeout");
    m_timeouts.send = ReadTimeout(u"ImageThumbDataSendTimeout");
    m_timeouts.receive = ReadTimeout(u"ImageThumbDataReceiveTimeout");
}

CGalleryClient::~CGalleryClient() {
    {
        std::lock_guard<std::mutex> hold(m_cancelLock);
        m_cancel = 1;
    }
    JoinWorker();
    if (m_ownFolder && !m_keepFolder) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

int CGalleryClient::RequestPage(int firstRequest) {
    if (m_busy || m_offset < 0 || m_offset > kMaxTotal) return 0;
    const CString base =
        m_baseUrl.IsEmpty() ? CCommonNetwork::GetURL(CCommonNetwork::kGallerySearch) : m_baseUrl;
    m_busy = 1;
    if (firstRequest) m_firstRequest = 1;
    m_failure.clear();
    std::lock_guard<std::mutex> hold(m_requestLock);
    m_request.timeouts = m_timeouts;
    m_request.base = base.ToUtf8();
    m_request.key = QueryValue(m_searchKey);
    m_request.offset = m_offset;
    m_request.reply.clear();
    m_request.failure.clear();
    if (StartWorker(&CGalleryClient::RequestThread)) return 1;
    EndPipeline(Event::Failed);
    return 0;
}

CGalleryClient::Event CGalleryClient::OnMessage(unsigned message) {
    if (!m_busy) return Event::None;  // left over from a pipeline that has ended
    switch (message) {
        case kMsgReplyReceived:
            return OnReplyReceived();
        case kMsgRequestFailed:
            return OnRequestFailed();
        case kMsgParsed:
            return OnParsed();
        case kMsgThumbDownloaded:
            return Event::Repaint;
        case kMsgPageDownloaded:
            return OnPageDownloaded();
        case kMsgDownloadCancelled:
            return EndPipeline(Event::Cancelled);
        default:
            return Event::None;
    }
}

void CGalleryClient::Cancel() {
    if (!m_busy) return;  // a flag set while idle would stop the next search
    std::lock_guard<std::mutex> hold(m_cancelLock);
    m_cancel = 1;
}

void CGalleryClient::Clear() {
    m_total = 0;
    for (const CImageItem& item : m_items) {
        std::error_code ignored;
        if (!item.thumbPath.IsEmpty()) std::filesystem::remove(item.thumbPath.ToUtf8(), ignored);
    }
    m_items.RemoveAll();
    m_pages.RemoveAll();
}

CGalleryClient::Event CGalleryClient::OnReplyReceived() {
    if (TakeCancel()) return EndPipeline(Event::Cancelled);
    std::string reply;
    {
        std::lock_guard<std::mutex> hold(m_requestLock);
        reply = std::move(m_request.reply);
    }
    {
        std::lock_guard<std::mutex> hold(m_parseLock);
        m_parse.reply = std::move(reply);
        m_parse.parsed = picojson::value();
        m_parse.failure.clear();
    }
    return StartWorker(&CGalleryClient::ParseThread) ? Event::None : EndPipeline(Event::Failed);
}

CGalleryClient::Event CGalleryClient::OnRequestFailed() {
    if (TakeCancel()) return EndPipeline(Event::Cancelled);
    std::lock_guard<std::mutex> hold(m_requestLock);
    m_failure = m_request.failure;
    return EndPipeline(Event::Failed);
}

CGalleryClient::Event CGalleryClient::OnParsed() {
    if (TakeCancel()) return EndPipeline(Event::Cancelled);
    picojson::value parsed;
    {
        std::lock_guard<std::mutex> hold(m_parseLock);
        parsed = std::move(m_parse.parsed);
        m_failure = m_parse.failure;
    }
    CGalleryPage page{m_limit, m_total, {}};
    if (m_failure.empty()) m_failure = ConvertGalleryReply(parsed, page);
    if (!m_failure.empty()) return EndPipeline(Event::Failed);
    m_limit = page.limit;
    m_total = page.total;
    StoreItems(page.items);
    return StartDownloads(static_cast<int>(page.items.size())) ? Event::None
                                                               : EndPipeline(Event::Failed);
}

CGalleryClient::Event CGalleryClient::OnPageDownloaded() {
    if (TakeCancel()) return EndPipeline(Event::Cancelled);
    m_busy = 0;
    JoinWorker();
    const int page = m_offset / m_limit;  // the reply made m_limit at least 1
    if (!m_firstRequest) {
        m_pages.SetAt(page, 1);
        return Event::PageComplete;
    }
    m_pages.RemoveAll();
    m_pages.SetSize((m_total + m_limit - 1) / m_limit);
    m_pages.SetAt(page, 1);
    m_firstRequest = 0;
    return Event::FirstPageComplete;
}

CGalleryClient::Event CGalleryClient::EndPipeline(Event how) {
    m_busy = 0;
    JoinWorker();
    TakeCancel();
    if (how == Event::Failed && m_failure.empty()) m_failure = "cannot start a worker thread";
    return how;
}

void CGalleryClient::StoreItems(std::vector<CImageItem>& items) {
    const int needed = m_offset + static_cast<int>(items.size());
    if (m_items.GetSize() < needed) m_items.SetSize(needed);
    for (size_t i = 0; i < items.size(); ++i) {
        CImageItem& slot = m_items[m_offset + static_cast<int>(i)];
        std::error_code ignored;  // a page fetched again: its old thumbnail goes
        if (!slot.thumbPath.IsEmpty()) std::filesystem::remove(slot.thumbPath.ToUtf8(), ignored);
        slot = std::move(items[i]);
    }
}

bool CGalleryClient::StartDownloads(int count) {
    std::lock_guard<std::mutex> hold(m_downloadLock);
    m_download.timeouts = m_timeouts;
    m_download.urls.clear();
    m_download.paths.clear();
    for (int i = m_offset; i < m_offset + count; ++i) {
        CImageItem& item = m_items[i];
        const std::string path = item.smallUrl.IsEmpty() ? "" : NewLocalPath(item.smallUrl);
        if (path.empty()) continue;
        item.thumbPath = CString::FromUtf8(path);
        m_download.urls.push_back(item.smallUrl);
        m_download.paths.push_back(item.thumbPath);
    }
    return StartWorker(&CGalleryClient::DownloadThread);
}

std::string CGalleryClient::NewLocalPath(const CString& url) {
    if (!EnsureThumbFolder()) return "";
    const auto [stem, ext] = SafeThumbName(url.ToUtf8());
    int& uses = m_nameUses[stem + ext];
    for (int tries = 0; tries < kMaxNameTries; ++tries) {
        ++uses;
        const std::string name = uses == 1 ? stem + ext : stem + "-" + std::to_string(uses) + ext;
        const std::string path = m_folder + "/" + name;
        std::error_code ec;
        if (m_namesGiven.insert(name).second &&
            !std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            return path;
        }
    }
    return "";
}

bool CGalleryClient::EnsureThumbFolder() {
    if (!m_folder.empty()) return true;
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) temp = "/tmp";
    std::string pattern = (temp / "vexclk-thumbs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    m_folder = pattern;
    m_ownFolder = true;
    return true;
}

void CGalleryClient::RequestThread() {
    bool ok = false;
    {
        std::lock_guard<std::mutex> hold(m_requestLock);
        auto& r = m_request;
        if (r.base.empty()) {
            r.failure = "no gallery address is configured";
        } else {
            const host::HttpResult result =
                host::HttpGet({r.base + "?o=" + r.key + "&offset=" + std::to_string(r.offset),
                               r.timeouts, kMaxReplyBytes,
                               [&r](std::string_view piece) {
                                   r.reply.append(piece);
                                   return true;
                               },
                               [this] { return IsCancelled(); }});
            ok = result.outcome == host::HttpOutcome::Ok;
            r.failure = result.message;
            if (!ok) r.reply.clear();
        }
    }
    m_window.PostMessage(ok ? kMsgReplyReceived : kMsgRequestFailed);
}

void CGalleryClient::ParseThread() {
    {
        std::lock_guard<std::mutex> hold(m_parseLock);
        std::string error;
        host::ParseJson(m_parse.parsed, m_parse.reply.begin(), m_parse.reply.end(), &error);
        if (!error.empty()) {
            m_parse.parsed = picojson::value();
            m_parse.failure = "the reply is not JSON";
        }
    }
    m_window.PostMessage(kMsgParsed);
}

void CGalleryClient::DownloadThread() {
    bool cancelled = false;
    {
        std::lock_guard<std::mutex> hold(m_downloadLock);
        CUrlDownloader downloader;
        downloader.SetTimeouts(m_download.timeouts);
        downloader.SetMaxBytes(kMaxReplyBytes);
        downloader.SetCancel([this] { return IsCancelled(); });
        for (size_t i = 0; i < m_download.urls.size(); ++i) {
            cancelled = IsCancelled();
            if (cancelled) break;
            downloader.Get(m_download.urls[i], m_download.paths[i]);
            m_window.PostMessage(kMsgThumbDownloaded);
        }
    }
    m_window.PostMessage(cancelled ? kMsgDownloadCancelled : kMsgPageDownloaded);
}

// Every stage posts its last message as its last act, so the join after
// that message returns at once; an ended pipeline leaves no thread behind.
void CGalleryClient::JoinWorker() {
    if (m_worker.joinable()) m_worker.join();
}

bool CGalleryClient::StartWorker(void (CGalleryClient::*body)()) {
    JoinWorker();
    try {
        m_worker = std::thread(body, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool CGalleryClient::IsCancelled() {
    std::lock_guard<std::mutex> hold(m_cancelLock);
    return m_cancel != 0;
}

bool CGalleryClient::TakeCancel() {
    std::lock_guard<std::mutex> hold(m_cancelLock);
    const bool was = m_cancel != 0;
    m_cancel = 0;
    return was;
}

CGalleryClient::Event PumpGalleryMessages(
    CMessageQueue& queue, CGalleryClient& client, int limitMs,
    const std::function<void(CGalleryClient::Event)>& onEvent) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (client.IsBusy()) {
        int wait = 1000;
        if (limitMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) break;
            wait = static_cast<int>(std::min<long long>(left.count(), wait));
        }
        tagMSG msg;
        if (!queue.GetMessage(msg, wait)) continue;
        const CGalleryClient::Event event = client.OnMessage(msg.message);
        if (onEvent && event != CGalleryClient::Event::None) onEvent(event);
        if (!client.IsBusy()) return event;
    }
    return CGalleryClient::Event::None;
}
