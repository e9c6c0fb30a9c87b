#include "host/network.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/registry.h"

int CCommonNetwork::IsConnected() {
    return GetURL(kGallerySearch).IsEmpty() ? 0 : 1;
}

CString CCommonNetwork::GetURL(int index) {
    if (index != kGallerySearch) return CString();
    if (const char* env = std::getenv(kGalleryEnv); env && *env) return CString::FromUtf8(env);
    CString url;
    CRegistry::Read(kRegistryKey, kGallerySearchValue, CString(), url);
    return url;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

int CUrlDownloader::Get(const CString& url, const CString& localPath) {
    const std::string target = localPath.ToUtf8();
    std::string temp = target + ".part-XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        m_lastError = "cannot create '" + temp + "': " + std::strerror(errno);
        return 0;
    }
    const host::HttpResult result =
        host::HttpGet({url.ToUtf8(), m_timeouts, m_maxBytes,
                       [fd](std::string_view piece) { return WriteAll(fd, piece); }, m_cancelled});
    const bool closed = close(fd) == 0;
    if (result.outcome == host::HttpOutcome::Ok && closed &&
        std::rename(temp.c_str(), target.c_str()) == 0) {
        m_lastError.clear();
        return 1;
    }
    m_lastError =
        result.outcome == host::HttpOutcome::Ok ? "cannot write '" + target + "'" : result.message;
    unlink(temp.c_str());
    return 0;
}
