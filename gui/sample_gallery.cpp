#include "gui/sample_gallery.h"

#include <httplib.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <chrono>

namespace gui {
namespace {

// A night-sky picture of `width` x `height` with the post's number.
std::string Picture(int number, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(8, 12, 40));
    sky.setColorAt(1.0, QColor(40 + 25 * number, 30, 80));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator stars(static_cast<quint32>(number + 1));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < width * height / 200; ++i) {
        const int grey = 150 + stars.bounded(106);
        painter.setBrush(QColor(grey, grey, 255));
        const double r = stars.bounded(1.5) + 0.3;
        painter.drawEllipse(QPointF(stars.bounded(width), stars.bounded(height)), r, r);
    }
    painter.setPen(QColor(255, 230, 160));
    QFont font = painter.font();
    font.setPixelSize(height / 4);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8("作例 %1").arg(number + 1));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// The number N of a path /t/N.png or /l/N.png, or -1.
int PictureNumber(const httplib::Request& request) {
    if (request.matches.size() < 2) return -1;
    const std::string digits = request.matches[1];
    if (digits.size() > 3) return -1;
    const int n = std::stoi(digits);
    return n < CSampleGallery::kSampleCount ? n : -1;
}

}  // namespace

CSampleGallery::CSampleGallery() : m_server(std::make_unique<httplib::Server>()) {
    for (int i = 0; i < kSampleCount; ++i) {
        m_thumbnails.push_back(Picture(i, 96, 64));
        m_pictures.push_back(Picture(i, 640, 426));
    }
    m_server->Get("/search", [](const httplib::Request& q, httplib::Response& r) {
        const std::string offset = q.get_param_value("offset");
        const bool digits = !offset.empty() && offset.size() < 7 &&
                            offset.find_first_not_of("0123456789") == std::string::npos;
        r.set_content(SearchReply(q.get_header_value("Host"), digits ? std::stoi(offset) : 0),
                      "application/json");
    });
    auto serve = [](const std::vector<std::string>& pictures) {
        return [&pictures](const httplib::Request& q, httplib::Response& r) {
            const int n = PictureNumber(q);
            if (n < 0) {
                r.status = 404;
                return;
            }
            r.set_content(pictures[n], "image/png");
        };
    };
    m_server->Get(R"(/t/(\d+)\.png)", serve(m_thumbnails));
    m_server->Get(R"(/l/(\d+)\.png)", serve(m_pictures));
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        m_port = 0;
        return;
    }
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

CSampleGallery::~CSampleGallery() {
    if (m_thread.joinable()) {
        m_server->stop();
        m_thread.join();
    }
}

std::string CSampleGallery::SearchUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/search";
}

std::string CSampleGallery::SearchReply(const std::string& host, int offset) {
    std::string items;
    for (int i = offset; i < kSampleCount; ++i) {
        const std::string n = std::to_string(i);
        const std::string base = "http://" + host;
        items += (items.empty() ? "" : ",") + std::string("{\"title\":\"作例 ") +
                 std::to_string(i + 1) +
                 "\",\"author\":\"vexclk\",\"date\":\"2026-12-01\",\"location\":\"東京\","
                 "\"telescope\":{\"maker\":\"-\",\"name\":\"-\"},\"focal_length\":\"50mm\","
                 "\"exposure\":\"30s\",\"comment\":\"作例の画像\",\"url\":\"" +
                 base + "/l/" + n + ".png\",\"image\":{\"small\":{\"url\":\"" + base + "/t/" + n +
                 ".png\"},\"large\":{\"url\":\"" + base + "/l/" + n + ".png\"}}}";
    }
    return "{\"status\":0,\"limit\":\"" + std::to_string(kSampleCount) + "\",\"total\":\"" +
           std::to_string(kSampleCount) + "\",\"item_list\":[" + items + "]}";
}

}  // namespace gui
