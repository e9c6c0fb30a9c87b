// A stand-in for the posted-image gallery on 127.0.0.1, so that the
// palette's thumbnail strip shows pictures without the online service.
//
// It answers every search (GET /search?o=KEY&offset=N) with the same
// kSampleCount posts in one page, their thumbnails at /t/N.png and full
// pictures at /l/N.png: pictures drawn here at start-up (a star field and
// the post's number), so nothing comes from elsewhere.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace gui {

class CSampleGallery {
  public:
    static constexpr int kSampleCount = 6;

    // Draws the pictures (needs the Qt application) and starts serving on
    // a free port of 127.0.0.1.
    CSampleGallery();
    ~CSampleGallery();
    CSampleGallery(const CSampleGallery&) = delete;
    CSampleGallery& operator=(const CSampleGallery&) = delete;

    // Whether the server runs.
    bool IsRunning() const { return m_port > 0; }
    // The search address to give the gallery client: http://127.0.0.1:PORT/search.
    std::string SearchUrl() const;
    // The search reply for one request, `host` being the Host header.
    static std::string SearchReply(const std::string& host, int offset);

  private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    std::vector<std::string> m_thumbnails;  // PNG bytes
    std::vector<std::string> m_pictures;
};

}  // namespace gui
