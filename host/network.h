// The host's network components: the addresses of its online services
// (CCommonNetwork) and a file downloader (CUrlDownloader).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "host/cstring.h"
#include "host/http_get.h"

class CCommonNetwork {
  public:
    // Index of the posted-image gallery's search service.
    static constexpr int kGallerySearch = 4;
    // Where the gallery's address is kept: registry key "Network", string
    // value "GallerySearchURL".  No address is built in: the gallery is
    // offline until one is configured.
    static constexpr const char16_t* kRegistryKey = u"Network";
    static constexpr const char16_t* kGallerySearchValue = u"GallerySearchURL";
    // Environment variable that overrides the stored gallery address.
    static constexpr const char* kGalleryEnv = "VEXCLK_GALLERY_URL";

    // Non-zero when the gallery has an address, so the host may go online.
    static int IsConnected();
    // Base address of one of the host's online services; empty when the
    // service has none (every index but kGallerySearch).
    static CString GetURL(int index);
};

class CUrlDownloader {
  public:
    // A full-size posted photograph (a JPEG file of a few MB) stays well
    // below this; it bounds what a faulty server can write to the disk.
    static constexpr std::size_t kDefaultMaxBytes = std::size_t{256} << 20;

    void SetTimeouts(const host::HttpTimeouts& timeouts) { m_timeouts = timeouts; }
    void SetMaxBytes(std::size_t maxBytes) { m_maxBytes = maxBytes; }
    // Asked while a download waits; true stops it.
    void SetCancel(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

    // Downloads `url` (http or https, status 200) to the file `localPath`,
    // on this thread.  The body goes to a temporary file beside the target
    // ("<localPath>.part-XXXXXX"), which replaces the target only once the
    // whole body has come; a failed download removes it and leaves the
    // target as it was.  Returns non-zero on success.
    int Get(const CString& url, const CString& localPath);
    // Why the last Get failed (one line); empty after a success.
    const std::string& GetLastError() const { return m_lastError; }

  private:
    host::HttpTimeouts m_timeouts;
    std::size_t m_maxBytes = kDefaultMaxBytes;
    std::function<bool()> m_cancelled;
    std::string m_lastError;
};
