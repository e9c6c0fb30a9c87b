#include "host/ui/alt_graph.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <cmath>
#include <limits>

#include "engine/stkstr.h"
#include "host/ui/qt_text.h"
#include "host/vexacl.h"

namespace {

const QColor kBack(40, 40, 40);
const QColor kFrame(84, 84, 84);
const QColor kGrid(58, 58, 58);
const QColor kLabel(150, 150, 150);
const QColor kHorizon(0, 150, 150);
const QColor kUp(255, 220, 64);
const QColor kDown(120, 108, 56);
const QColor kNow(255, 80, 80);

// Start (UT Julian Day) of a span of `hours` centred on the local midnight
// (or noon) nearest `nowJd` (UT) on a clock `zone` hours east of UT.
double SpanStart(double nowJd, double zone, int hours, int centreMidnight) {
    const double localDays = nowJd + zone / 24.0 + 0.5;  // days counted from a local midnight
    const double centre =
        centreMidnight ? std::round(localDays) : std::round(localDays - 0.5) + 0.5;
    return centre - 0.5 - zone / 24.0 - hours / 48.0;
}

}  // namespace

int CAltGraph::Attach(int id, CWnd* parent) {
    if (!SubclassDlgItem(id, parent)) return 0;
    GetSafeHwnd()->setAttribute(Qt::WA_TransparentForMouseEvents);
    // It paints every pixel: its repaints never need the palette's.
    GetSafeHwnd()->setAttribute(Qt::WA_OpaquePaintEvent);
    return 1;
}

void CAltGraph::SetState(int hours, int centreMidnight, double scale) {
    m_hours = hours;
    m_centreMidnight = centreMidnight;
    m_scale = scale > 0.0 ? scale : 1.0;
    m_stale = true;
}

void CAltGraph::SetTarget(const CString& object) {
    if (object == m_target) return;
    m_target = object;
    m_stale = true;
}

void CAltGraph::Draw(CCorLum* engine, const tagADATE& date, const Observer& observer) {
    m_nowJd = vexacl::GetJd(date);
    m_zone = date.zone;
    const double start = SpanStart(m_nowJd, m_zone, m_hours, m_centreMidnight);
    if (start != m_startJd || observer.latitude != m_observer.latitude ||
        observer.longitude != m_observer.longitude || observer.height != m_observer.height) {
        m_stale = true;
    }
    m_startJd = start;
    m_observer = observer;
    if (m_stale && engine) Sample(engine);
    Invalidate();
}

void CAltGraph::Sample(CCorLum* engine) {
    m_stale = false;
    m_altitudes.clear();
    if (m_target.IsEmpty()) return;
    const CString saved = engine->Doit(u"? Time.jd");
    if (saved.IsEmpty() || saved == u"*") return;
    const int samples = m_hours * 60 / kSampleMinutes + 1;
    const CString query = u"? " + m_target + u".Position.Altitude";
    for (int i = 0; i < samples; ++i) {
        CString command;
        command.Format(u"Time.jd = %.8f", m_startJd + i * kSampleMinutes / 1440.0);
        engine->Doit(command);
        const CString reply = engine->Doit(query);
        const bool value = !reply.IsEmpty() && reply != u"*";
        m_altitudes.push_back(value ? CStkStr(reply).atof()
                                    : std::numeric_limits<double>::quiet_NaN());
    }
    engine->Doit(u"Time.jd = " + saved);
}

int CAltGraph::OnLButtonDown(CPoint point, tagADATE* date) {
    if (!GetSafeHwnd() || !date) return 0;
    ScreenToClient(point);
    const CRect client = GetClientRect();
    if (!client.PtInRect(point.x, point.y) || client.Width() < 2) return 0;
    const double fraction = static_cast<double>(point.x) / (client.Width() - 1);
    *date = vexacl::JdToDate2(m_startJd + fraction * SpanDays() + m_zone / 24.0);
    date->zone = m_zone;
    return 1;
}

void CAltGraph::OnPaint(QPainter& dc) {
    const QRect box = GetSafeHwnd()->rect();
    const double width = box.width() - 1, height = box.height() - 1;
    const bool enabled = IsWindowEnabled();
    dc.fillRect(box, kBack);
    if (!enabled) dc.setOpacity(0.4);
    const auto xOf = [&](double jd) { return (jd - m_startJd) / SpanDays() * width; };
    const auto yOf = [&](double altitude) {
        return height / 2 - altitude * m_scale / 90.0 * height / 2;
    };

    // Hours of the local clock: a line each hour, a label every sixth.
    QFont small = dc.font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    dc.setFont(small);
    const double firstHour = std::ceil((m_startJd + m_zone / 24.0) * 24.0 - 1e-9);
    for (int h = 0; h <= m_hours; ++h) {
        const double localHour = firstHour + h;
        const double x = xOf(localHour / 24.0 - m_zone / 24.0);
        if (x > width) break;
        dc.setPen(kGrid);
        dc.drawLine(QPointF(x, 0), QPointF(x, height));
        const int clock =
            static_cast<int>(std::fmod(std::fmod(localHour + 12.0, 24.0) + 24.0, 24.0));
        if (clock % 6 == 0) {
            dc.setPen(kLabel);
            dc.drawText(QPointF(x + 2, height - 2), QString::number(clock));
        }
    }
    dc.setPen(kHorizon);
    dc.drawLine(QPointF(0, yOf(0)), QPointF(width, yOf(0)));
    if (m_scale != 1.0) {
        dc.setPen(kLabel);
        dc.drawText(box.adjusted(0, 1, -3, 0), Qt::AlignRight | Qt::AlignTop,
                    QStringLiteral("×10"));
    }

    dc.setRenderHint(QPainter::Antialiasing);
    dc.setClipRect(box);
    for (size_t i = 1; i < m_altitudes.size(); ++i) {
        const double a = m_altitudes[i - 1], b = m_altitudes[i];
        if (std::isnan(a) || std::isnan(b)) continue;
        const double step = kSampleMinutes / 1440.0;
        dc.setPen(QPen((a + b) >= 0 ? kUp : kDown, 1.5));
        dc.drawLine(QPointF(xOf(m_startJd + (i - 1) * step), yOf(a)),
                    QPointF(xOf(m_startJd + i * step), yOf(b)));
    }
    const double now = xOf(m_nowJd);
    if (now >= 0 && now <= width) {
        dc.setPen(kNow);
        dc.drawLine(QPointF(now, 0), QPointF(now, height));
    }
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setOpacity(1.0);
    dc.setPen(kFrame);
    dc.drawRect(box.adjusted(0, 0, -1, -1));
}
