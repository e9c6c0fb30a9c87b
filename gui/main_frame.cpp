#include "gui/main_frame.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <ctime>

#include "gui/place_dialog.h"
#include "host/ui/qt_text.h"

namespace gui {
namespace {

// The computer's clock as a UT Julian Day.
double NowJd() {
    return std::time(nullptr) / 86400.0 + 2440587.5;
}

}  // namespace

CMainFrame::CMainFrame(CSkyEngine* engine, const CString& dataDir)
    : m_engine(engine), m_dataDir(dataDir) {
    QObject::connect(&m_clock, &QTimer::timeout, [this] { Tick(); });
}

CMainFrame::~CMainFrame() {
    m_engine->SetShowHandler(nullptr);
    // The palette's window belongs to the frame's: it goes first.
    if (m_palette) m_palette->DestroyWindow();
    m_palette.reset();
    DestroyWindow();
}

int CMainFrame::Create() {
    auto* window = new QMainWindow;
    window->setWindowTitle(QString::fromUtf8("vexclk 星図"));
    m_chart = new CSkyChart(m_engine, window);
    window->setCentralWidget(m_chart);
    m_status = new QLabel;
    window->statusBar()->addWidget(m_status);
    window->resize(1000, 700);
    AttachWidget(window, true);
    BuildToolbar();
    m_chart->SetPickHandler([this](const CString& id) { Pick(id); });
    m_engine->SetShowHandler([this](bool centreAssigned) { FollowView(centreAssigned); });

    m_palette = std::make_unique<CDlgClickData>(this, m_dataDir);
    m_palette->SetCorLum(m_engine, nullptr);
    if (!m_palette->Create()) return 0;
    SkyChanged();
    return 1;
}

void CMainFrame::BuildToolbar() {
    auto* window = static_cast<QMainWindow*>(GetSafeHwnd());
    QToolBar* bar = window->addToolBar(QString::fromUtf8("時刻"));
    bar->setMovable(false);
    auto add = [&](const char* name, const char* text, auto handler) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, handler);
        return action;
    };
    add("now", "現在", [this] { SetNow(); });
    add("back-day", "−1日", [this] { StepTime(-1.0); });
    add("back-hour", "−1時間", [this] { StepTime(-1.0 / 24.0); });
    add("forward-hour", "+1時間", [this] { StepTime(1.0 / 24.0); });
    add("forward-day", "+1日", [this] { StepTime(1.0); });
    QAction* clock = add("clock", "時計", [this](bool on) { SetClockRunning(on); });
    clock->setCheckable(true);
    bar->addSeparator();
    add("place", "観測地…", [this] { OpenPlaceDialog(); });
    QAction* equatorial = add("equatorial", "赤道座標", [this](bool on) {
        m_chart->SetFrame(on ? ChartFrame::Equatorial : ChartFrame::Horizon);
    });
    equatorial->setCheckable(true);
}

QAction* CMainFrame::Action(const char* name) const {
    return GetSafeHwnd() ? GetSafeHwnd()->findChild<QAction*>(name) : nullptr;
}

void CMainFrame::SetNow() {
    m_engine->SetJd(NowJd());
    if (ClockRunning()) SetClockRunning(true);  // runs on from the new time
    SkyChanged();
}

void CMainFrame::StepTime(double days) {
    m_engine->SetJd(m_engine->GetJd() + days);
    if (ClockRunning()) SetClockRunning(true);
    SkyChanged();
}

void CMainFrame::SetClockRunning(bool running) {
    if (QAction* clock = Action("clock")) clock->setChecked(running);
    if (!running) {
        m_clock.stop();
        return;
    }
    m_clockStartJd = m_engine->GetJd();
    m_clockStarted.start();
    m_clock.start(kClockMs);
}

// The running clock: the engine's time moves on with the computer's.
void CMainFrame::Tick() {
    m_engine->SetJd(m_clockStartJd + m_clockStarted.elapsed() / 86400000.0);
    SkyChanged();
}

void CMainFrame::ApplyPlace(const ObserverPlace& place, bool store) {
    if (!IsValidPlace(place)) return;
    m_engine->SetPlace(place.longitude_deg, place.latitude_deg, place.height_m);
    m_engine->SetTimezone(place.timezone_h);
    m_place = place;
    if (store) WriteStoredPlace(place);
    SkyChanged();
}

void CMainFrame::OpenPlaceDialog() {
    CPlaceDialog dialog(GetSafeHwnd(), m_place);
    // The chart takes no clicks while a dialog is open, as for the palette's.
    SendMessage(CDlgClickData::WM_CLICKDATA_MODAL, 1, 0);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    SendMessage(CDlgClickData::WM_CLICKDATA_MODAL, 0, 0);
    if (accepted) ApplyPlace(dialog.Place(), true);
}

void CMainFrame::SkyChanged() {
    m_chart->Refresh();
    FollowView(false);
    if (m_palette) m_palette->OnUpdate(0);
    if (m_status) m_status->setText(StatusText());
}

void CMainFrame::SetTelescope(CTelCtrl* telescope) {
    m_palette->m_telescope = telescope;
    m_palette->OnUpdate(0);  // the telescope button follows the connection
}

void CMainFrame::FollowView(bool centreAssigned) {
    if (!m_chart) return;
    const bool tracking = m_engine->Doit(u"? View.Center.Track").CompareNoCase(u"TRUE") == 0;
    if (!centreAssigned && !tracking) return;
    const CString centre = m_engine->Doit(u"? View.Center");
    if (!centre.IsEmpty()) m_chart->CentreOn(centre);
}

QString CMainFrame::StatusText() const {
    const tagADATE d = m_engine->GetDate();
    CString text;
    text.Format(u"%04d-%02d-%02d %02d:%02d:%02d (UTC%+g)  %s  緯度 %.4f  経度 %.4f  標高 %.0fm",
                d.year, d.month, d.day, d.hour, d.minute, static_cast<int>(d.second), d.zone,
                m_place.name.GetString(), m_engine->GetLatitude(), m_engine->GetLongitude(),
                m_engine->GetHeight());
    return host::ui::ToQString(text);
}

void CMainFrame::Pick(const CString& id) {
    m_palette->ShowClickData(id);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CDlgClickData::WM_CLICKDATA_DICTIONARY:
            if (lParam) {
                if (!m_dictionary) m_dictionary = new CDictionaryWindow(GetSafeHwnd());
                m_dictionary->ShowEntry(m_engine, *reinterpret_cast<const CString*>(lParam));
            }
            return 0;
        case CDlgClickData::WM_CLICKDATA_MODAL:
            m_chart->SetClicksEnabled(wParam == 0);
            return 0;
        case CDlgClickData::WM_CLICKDATA_SELECT:
            if (wParam) m_chart->SetHighlight(*reinterpret_cast<const CString*>(wParam));
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CMainFrame::OnClose() {
    m_clock.stop();
    if (m_palette) m_palette->DestroyWindow();
    CWnd::OnClose();
}

QImage CMainFrame::Render() {
    QImage image = GetSafeHwnd()->grab().toImage();
    QWidget* palette = m_palette ? m_palette->GetSafeHwnd() : nullptr;
    if (palette && palette->isVisible()) {
        const QImage shown = palette->grab().toImage();
        QPainter painter(&image);
        painter.drawImage(image.width() - shown.width() - 12, 48, shown);
    }
    return image;
}

}  // namespace gui
