// The palette for a real object of the sky engine: a picture to look at,
// and the altitude graph's clock.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontInfo>
#include <QImage>
#include <QTextEdit>
#include <memory>

#include "host/vexacl.h"
#include "palette/dlg_click_data.h"
#include "sky/sky_engine.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"

namespace {

// Clicks on the palette's graph reach the palette, as on the host's
// platform, where the graph takes no clicks of its own.
struct ClickablePalette : CDlgClickData {
    using CDlgClickData::CDlgClickData;
    void ClickGraph(QPoint at) {
        QWidget* graph = GetDlgItem(IDC_ALT_GRAPH);
        const QPoint inPalette = graph->mapTo(GetSafeHwnd(), at);
        SendMouse(GetSafeHwnd(), QEvent::MouseButtonPress, inPalette);
    }
};

struct SkyPaletteTest : ::testing::Test {
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    std::unique_ptr<CSkyEngine> sky;
    std::unique_ptr<ClickablePalette> palette;

    SkyPaletteTest() {
        auto catalog = std::make_shared<CSkyCatalog>();
        std::string error;
        EXPECT_TRUE(catalog->Load(CSkyCatalog::DefaultDataDir(), &error)) << error;
        sky = std::make_unique<CSkyEngine>(catalog);
        // 2026-12-06 21:30 JST in Tokyo: Sirius is up in the east.
        sky->SetJd(vexacl::GetJd(tagADATE{2026, 12, 6, 21, 30, 0.0, 9.0}));
        palette = std::make_unique<ClickablePalette>(nullptr, CString::FromUtf8(dir.path() + "/"));
        palette->SetCorLum(sky.get(), nullptr);
        palette->ShowClickData(u"Star.HIP32349");
    }
};

TEST_F(SkyPaletteTest, SiriusRendersDarkAndJapanese) {
    QWidget* window = palette->GetSafeHwnd();
    auto* text = dynamic_cast<QTextEdit*>(palette->GetDlgItem(IDC_CLICKDATA_TEXT));
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("恒星")))
        << text->toPlainText().toStdString();
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("シリウス")));
    // The dialogs' Windows font names come out as the Japanese IPA font.
    EXPECT_EQ(QFontInfo(text->font()).family(), QStringLiteral("IPAGothic"));
    QCoreApplication::processEvents();  // lets the text lay itself out
    const QImage picture = window->grab().toImage();
    // Kept in the build folder for a person to look at.
    EXPECT_TRUE(picture.save(VEXCLK_ARTEFACT_DIR "/palette-sirius.png", "PNG"));
    const QRect area = text->geometry();
    EXPECT_EQ(QColor(picture.pixel(area.right() - 24, area.bottom() - 4)), QColor(40, 40, 40));
}

TEST_F(SkyPaletteTest, AClickOnTheGraphSetsTheEngineTime) {
    QWidget* graph = palette->GetDlgItem(IDC_ALT_GRAPH);
    // The graph spans 12:00 to 12:00 around the nearest midnight; its middle
    // column is that midnight, to one column's time.
    palette->ClickGraph({graph->width() / 2, graph->height() / 2});
    const double midnight = vexacl::GetJd(tagADATE{2026, 12, 7, 0, 0, 0.0, 9.0});
    EXPECT_NEAR(sky->GetJd(), midnight, 1.0 / (graph->width() - 1));
}

}  // namespace
