// The thumbnail strip against a gallery on 127.0.0.1.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QScrollBar>
#include <filesystem>

#include "host/ui/dialog.h"
#include "res/resource.h"
#include "tests/loopback.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"
#include "thumbs/image_thumb.h"

namespace {

// A picture the image reader takes, as PNG bytes.
std::string PngBytes() {
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(QColor(80, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// `total` posts in pages of 10: item N is titled "item N", its thumbnail
// is /t/N.png and its full image /l/N.png.
void Gallery(httplib::Server& s, int total) {
    s.Get("/search", [total](const httplib::Request& q, httplib::Response& r) {
        const int offset = std::stoi(q.get_param_value("offset"));
        const std::string host = "http://" + q.get_header_value("Host");
        std::string items;
        for (int i = offset; i < std::min(total, offset + 10); ++i) {
            const std::string n = std::to_string(i);
            items += (items.empty() ? "" : ",") + std::string("{\"title\":\"item ") + n +
                     "\",\"author\":\"a" + n + "\",\"date\":\"2026-01-0" + n.substr(0, 1) +
                     "\",\"exposure\":\"30s\",\"comment\":\"line\\nnext\",\"url\":\"https://"
                     "example.org/p/" +
                     n + "\",\"image\":{\"small\":{\"url\":\"" + host + "/t/" + n +
                     ".png\"},\"large\":{\"url\":\"" + host + "/l/" + n + ".png\"}}}";
        }
        r.set_content("{\"status\":0,\"limit\":\"10\",\"total\":\"" + std::to_string(total) +
                          "\",\"item_list\":[" + items + "]}",
                      "application/json");
    });
    s.Get(R"(/[tl]/(\d+)\.png)", [](const httplib::Request&, httplib::Response& r) {
        r.set_content(PngBytes(), "image/png");
    });
}

// A strip `width` pixels wide in a window of its own, searching the gallery.
struct StripTest : ::testing::Test {
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    CWnd host;
    CImageThumb strip;

    void Open(int width, LoopbackServer& server) {
        host.AttachWidget(new QWidget, true);
        auto* item = new QWidget(host.GetSafeHwnd());
        CWnd::SetDlgCtrlID(item, IDC_IMAGE_THUMB);
        item->resize(width, 127);
        ASSERT_TRUE(strip.Attach(IDC_IMAGE_THUMB, &host));
        host.ShowWindow(SW_SHOW);
        strip.Client().SetBaseUrl(CString::FromUtf8(server.Url("/search")));
        strip.StartSearch(u"NEBULA M42");
        ASSERT_TRUE(PumpUntil([&] { return !strip.IsBusy() && !strip.GetLabelText().IsEmpty(); }));
        PumpUntil([&] { return !strip.Client().Items()[0].rect.IsRectEmpty(); });
    }
    QScrollBar* Bar() { return dynamic_cast<QScrollBar*>(host.GetDlgItem(IDC_IMAGE_THUMB_SCROLL)); }
    void Scroll(QAbstractSlider::SliderAction action, int position = 0) {
        if (action == QAbstractSlider::SliderMove) Bar()->setSliderPosition(position);
        Bar()->triggerAction(action);
        PumpUntil([&] { return !strip.IsBusy(); });
    }
    QPoint Centre(int index) {
        const CRect r = strip.Client().Items()[index].rect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

TEST_F(StripTest, ThirtyPostsScrollInRangeAndClamp) {
    LoopbackServer server([](httplib::Server& s) { Gallery(s, 30); });
    Open(700, server);  // (700 - 10) / (100 + 10): six cells
    EXPECT_EQ(strip.GetVisible(), 6);
    EXPECT_EQ(strip.GetMaxFirst(), 25);
    EXPECT_EQ(Bar()->minimum(), 1);
    EXPECT_EQ(Bar()->maximum(), 25);
    EXPECT_TRUE(Bar()->isVisible() && Bar()->isEnabled());
    EXPECT_EQ(strip.GetLabelText(), u"30枚");
    const struct {
        QAbstractSlider::SliderAction action;
        int position, first;
    } steps[] = {
        {QAbstractSlider::SliderMove, 3, 3},           {QAbstractSlider::SliderPageStepSub, 0, 1},
        {QAbstractSlider::SliderPageStepAdd, 0, 6},    {QAbstractSlider::SliderSingleStepAdd, 0, 7},
        {QAbstractSlider::SliderMove, 25, 25},         {QAbstractSlider::SliderPageStepAdd, 0, 25},
        {QAbstractSlider::SliderSingleStepSub, 0, 24},
    };
    for (const auto& step : steps) {
        Scroll(step.action, step.position);
        EXPECT_EQ(strip.GetFirst(), step.first) << step.action << " " << step.position;
    }
    // Scrolled to the end, the last page was fetched.
    EXPECT_EQ(strip.Client().Items().GetSize(), 30);
}

TEST_F(StripTest, SixPostsFitWithoutABar) {
    LoopbackServer server([](httplib::Server& s) { Gallery(s, 6); });
    Open(700, server);
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_EQ(strip.GetLabelText(), u"6枚");
}

TEST_F(StripTest, HoverNamesTheThumbnailAndAClickOpensItsImage) {
    LoopbackServer server([](httplib::Server& s) { Gallery(s, 30); });
    Open(700, server);
    QWidget* w = strip.GetSafeHwnd();
    SendMouse(w, QEvent::MouseMove, Centre(1));
    EXPECT_EQ(strip.GetToolTipText(), u"item 1");
    SendMouse(w, QEvent::MouseMove, {Centre(1).x(), 90});  // below the pictures: the tip stays
    EXPECT_EQ(strip.GetToolTipText(), u"item 1");

    SendMouse(w, QEvent::MouseButtonPress, Centre(3));
    EXPECT_EQ(strip.GetLabelText(), u"4/30枚");
    CDlgImageViewer& viewer = strip.Viewer();
    EXPECT_TRUE(viewer.IsWindowVisible());
    EXPECT_EQ(viewer.GetSelImageNo(), 3);
    EXPECT_EQ(viewer.GetImageInfo(0), u"「item 3」 a3 2026-01-03  露出 30s");
    EXPECT_EQ(viewer.GetImageInfo(1), u"linenext");
    const std::string large = viewer.GetImagePath().ToUtf8();
    EXPECT_EQ(Slurp(large), PngBytes());

    // The viewer's "next" steps to the fifth post.
    strip.SendMessage(CDlgImageViewer::WM_IMAGE_VIEWER_STEP, CDlgImageViewer::kStepNext);
    EXPECT_EQ(viewer.GetSelImageNo(), 4);
    EXPECT_EQ(viewer.GetURL(), u"https://example.org/p/4");
    EXPECT_FALSE(std::filesystem::exists(large));

    // A click on empty space deletes the full image and opens nothing new.
    const std::string fifth = viewer.GetImagePath().ToUtf8();
    SendMouse(w, QEvent::MouseButtonPress, {Centre(1).x(), 90});
    EXPECT_FALSE(std::filesystem::exists(fifth));
    EXPECT_EQ(viewer.GetSelImageNo(), 4);
}

}  // namespace
