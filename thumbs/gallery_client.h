// The client of the posted-image gallery: asks the gallery's search service
// for one page of posts about an object, reads the reply into image items
// and downloads their thumbnails, on worker threads.
//
// The thumbnail strip window owns one client and forwards to it the private
// messages the workers post to the window (kMsgReplyReceived ..
// kMsgDownloadCancelled); the command line and the tests pump a
// CMessageQueue instead (PumpGalleryMessages).  Every member is called on
// the owner's thread; the workers share only the four blocks below, each
// behind its own lock, and the cancel flag.
//
// One page passes through: RequestPage starts the request thread (HTTP GET
// of "<base>?o=<key>&offset=<offset>"), which posts kMsgReplyReceived or
// kMsgRequestFailed; the first starts the parse thread (JSON), which posts
// kMsgParsed; that stores the page's items at offset + i and starts the
// download thread, which posts kMsgThumbDownloaded after each thumbnail and
// kMsgPageDownloaded at the end, or kMsgDownloadCancelled when cancelled.
// IsBusy holds from RequestPage until the pipeline ends; once it has ended
// no worker thread of the client is left.
//
// Thumbnails go into a folder private to this client, created on first need
// under the temporary directory (mode 0700), under names made from the last
// piece of their address (letters, digits, "-", "_" and single inner dots;
// "-2", "-3", ... when a name is taken).  The folder goes with the client.
#pragma once

#include <picojson.h>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/collections.h"
#include "host/http_get.h"
#include "host/message_queue.h"
#include "thumbs/image_item.h"

class CGalleryClient {
  public:
    enum : unsigned {
        kMsgReplyReceived = 2075,
        kMsgRequestFailed = 2076,
        kMsgParsed = 2077,
        kMsgThumbDownloaded = 2078,
        kMsgPageDownloaded = 2079,
        kMsgDownloadCancelled = 2080,
    };
    // What a handled message means for the window.
    enum class Event {
        None,               // the pipeline goes on
        Repaint,            // a thumbnail has arrived
        FirstPageComplete,  // the page table is sized: fetch missing pages, show the strip
        PageComplete,       // a further page is complete: repaint
        Failed,             // the pipeline ended without the page (GetFailure says why)
        Cancelled,          // the pipeline stopped at the window's request
    };

    // Registry key and values of the three time-outs (milliseconds; values
    // below 1 read as the default).
    static constexpr const char16_t* kRegistryKey = u"ClickData";
    static constexpr int kDefaultTimeoutMs = 3000;
    // The longest reply and thumbnail read, in bytes.
    static constexpr std::size_t kMaxReplyBytes = std::size_t{16} << 20;

    // Reads the time-outs from the registry.  `window` receives the workers'
    // messages and must outlive the client.
    explicit CGalleryClient(CMessageSink& window);
    // Stops running work, waits for the worker to end and removes the
    // private thumbnail folder (unless KeepThumbFolder was called).
    ~CGalleryClient();
    CGalleryClient(const CGalleryClient&) = delete;
    CGalleryClient& operator=(const CGalleryClient&) = delete;

    // Starts the pipeline for the page at the current offset.  A non-zero
    // `firstRequest` marks the first page of a new search: its completion
    // sizes the page table.  Returns 0 (and starts nothing) while busy or
    // when the offset lies outside 0..kMaxTotal.
    int RequestPage(int firstRequest);
    // Handles one of the messages above; others give Event::None.
    Event OnMessage(unsigned message);
    // Asks running work to stop; the pipeline then ends with Event::Cancelled
    // (or Failed when it was still requesting).  Nothing while idle.
    void Cancel();
    // Forgets every item and page, total 0, and deletes the thumbnails this
    // client downloaded.
    void Clear();

    int IsBusy() const { return m_busy; }
    int GetLimit() const { return m_limit; }
    int GetTotal() const { return m_total; }
    int GetOffset() const { return m_offset; }
    void SetOffset(int offset) { m_offset = offset; }
    const CString& GetSearchKey() const { return m_searchKey; }
    void SetSearchKey(const CString& key) { m_searchKey = key; }
    // The service's base address; empty (the default) asks
    // CCommonNetwork::GetURL at each request.
    void SetBaseUrl(const CString& url) { m_baseUrl = url; }
    const host::HttpTimeouts& GetTimeouts() const { return m_timeouts; }
    void SetTimeouts(const host::HttpTimeouts& timeouts) { m_timeouts = timeouts; }
    // Items by absolute number; the strip keeps each item's rect here.
    CArray<CImageItem>& Items() { return m_items; }
    const CArray<CImageItem>& Items() const { return m_items; }
    // One flag per page, non-zero once its thumbnails are complete.
    const CArray<int>& Pages() const { return m_pages; }
    // Why the last pipeline failed (one line).
    const std::string& GetFailure() const { return m_failure; }

    // Thumbnails go into `folder` (an existing folder of the caller's,
    // neither created nor removed here) instead of the private one.
    void SetThumbFolder(const std::string& folder) { m_folder = folder; }
    // Leaves the private folder and its thumbnails in place at the end.
    void KeepThumbFolder() { m_keepFolder = true; }
    // Creates the private folder now rather than for the first thumbnail.
    // Returns non-zero when a folder is ready.
    int PrepareThumbFolder() { return EnsureThumbFolder() ? 1 : 0; }
    // A new file in the folder for the file that `url` names (a thumbnail,
    // or the strip's full image), under a name that is safe and not given
    // before; empty when the folder cannot be made.
    std::string NewLocalPath(const CString& url);
    // The folder in use; empty until the first thumbnail needs it, or when
    // it could not be created.
    const std::string& GetThumbFolder() const { return m_folder; }

  private:
    Event OnReplyReceived();
    Event OnRequestFailed();
    Event OnParsed();
    Event OnPageDownloaded();
    Event EndPipeline(Event how);
    void StoreItems(std::vector<CImageItem>& items);
    bool StartDownloads(int count);
    bool EnsureThumbFolder();

    void RequestThread();
    void ParseThread();
    void DownloadThread();
    bool StartWorker(void (CGalleryClient::*body)());
    void JoinWorker();
    bool IsCancelled();
    bool TakeCancel();

    CMessageSink& m_window;

    // Paging state (owner's thread).
    int m_limit = 0;
    int m_total = 0;
    int m_offset = 0;
    CArray<CImageItem> m_items;
    CArray<int> m_pages;
    int m_firstRequest = 0;
    int m_busy = 0;
    CString m_searchKey;
    CString m_baseUrl;
    host::HttpTimeouts m_timeouts;
    std::string m_failure;
    std::string m_folder;
    bool m_ownFolder = false;
    bool m_keepFolder = false;
    std::map<std::string, int> m_nameUses;  // suggested name -> times asked for
    std::set<std::string> m_namesGiven;     // every name handed out

    // Request block (lock R): what the request thread reads and its result.
    std::mutex m_requestLock;
    struct {
        host::HttpTimeouts timeouts;
        std::string base, key;
        int offset = 0;
        std::string reply, failure;
    } m_request;

    // Parse block (lock P).
    std::mutex m_parseLock;
    struct {
        std::string reply;
        picojson::value parsed;
        std::string failure;
    } m_parse;

    // Download lists (lock D): thumbnail addresses and their local files.
    std::mutex m_downloadLock;
    struct {
        host::HttpTimeouts timeouts;
        std::vector<CString> urls, paths;
    } m_download;

    // Cancel flag (lock C).
    std::mutex m_cancelLock;
    int m_cancel = 0;

    std::thread m_worker;  // the stage running now, or the last one
};

// Hands `queue`'s messages to `client` until its pipeline has ended, telling
// `onEvent` (when given) each event.  Waits at most `limitMs` milliseconds
// in all (a negative limit: no limit).  Returns the event that ended the
// pipeline, or Event::None when it had not ended in time.
CGalleryClient::Event PumpGalleryMessages(
    CMessageQueue& queue, CGalleryClient& client, int limitMs,
    const std::function<void(CGalleryClient::Event)>& onEvent = {});
