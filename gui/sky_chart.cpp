#include "gui/sky_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "host/ui/qt_text.h"

namespace gui {
namespace {

using Kind = CSkyEngine::ChartObject::Kind;

// A press that moves farther than this (pixels) is a drag, not a click.
constexpr int kDragThresholdPx = 4;
const QColor kSky(6, 10, 30);
const QColor kGround(24, 40, 20);
const QColor kHorizonLine(90, 160, 90);
const QColor kCardinal(240, 200, 120);
const QColor kConstellation(90, 120, 180);
const QColor kDeepSky(140, 190, 140);
const QColor kHighlight(255, 220, 60);
// The ground is veiled in cells of 10 x 10 degrees.
constexpr int kCellCorners[4][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

QColor PlanetColour(const CString& id) {
    if (id.Find(u"Mars") >= 0) return QColor(230, 120, 80);
    if (id.Find(u"Jupiter") >= 0) return QColor(230, 200, 160);
    if (id.Find(u"Saturn") >= 0) return QColor(220, 200, 130);
    if (id.Find(u"Venus") >= 0) return QColor(255, 250, 220);
    if (id.Find(u"Uranus") >= 0 || id.Find(u"Neptune") >= 0) return QColor(140, 200, 230);
    return QColor(210, 210, 210);
}

QPointF ToQ(ScreenPoint p) {
    return {p.x, p.y};
}

}  // namespace

CSkyChart::CSkyChart(CSkyEngine* engine, QWidget* parent) : QWidget(parent), m_engine(engine) {
    setMinimumSize(320, 240);
    // Moves come without a button held too; only a press makes them drag.
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void CSkyChart::Refresh() {
    const double jd = m_engine->GetJd();
    const double lat = m_engine->GetLatitude(), lon = m_engine->GetLongitude();
    const double height = m_engine->GetHeight();
    if (jd != m_objectsJd || lat != m_objectsLatitude || lon != m_objectsLongitude ||
        height != m_objectsHeight) {
        m_objects = m_engine->ChartObjects(kFaintestStar, kFaintestDeepSky);
        m_objectsJd = jd;
        m_objectsLatitude = lat;
        m_objectsLongitude = lon;
        m_objectsHeight = height;
        m_latitude = lat;
        m_sun.reset();
        for (size_t i = 0; i < m_objects.size(); ++i) {
            if (m_objects[i].kind == Kind::Sun) m_sun = i;
        }
        // The sidereal time is any object's right ascension plus its hour
        // angle.
        if (!m_objects.empty()) {
            const auto& o = m_objects.front();
            const SkyPoint ha =
                HorizonToHourAngle({o.horizon.azimuth_deg, o.horizon.altitude_deg}, m_latitude);
            m_lstDeg = std::fmod(o.apparent.ra_h * 15.0 + ha.lon_deg, 360.0);
        }
    }
    update();
}

ChartView CSkyChart::View() const {
    ChartView view = m_view;
    view.width = width();
    view.height = height();
    return view;
}

void CSkyChart::SetView(const ChartView& view) {
    m_view = view;
    update();
}

void CSkyChart::SetFrame(ChartFrame frame) {
    if (frame == m_view.frame) return;
    // Keep the same direction at the centre.
    const SkyPoint centre{m_view.centre_lon_deg, m_view.centre_lat_deg};
    if (frame == ChartFrame::Equatorial) {
        const SkyPoint ha = HorizonToHourAngle(centre, m_latitude);
        m_view.centre_lon_deg = std::fmod(m_lstDeg - ha.lon_deg + 720.0, 360.0);
        m_view.centre_lat_deg = ha.lat_deg;
    } else {
        const SkyPoint h = HourAngleToHorizon(
            {std::fmod(m_lstDeg - centre.lon_deg + 720.0, 360.0), centre.lat_deg}, m_latitude);
        m_view.centre_lon_deg = h.lon_deg;
        m_view.centre_lat_deg = h.lat_deg;
    }
    m_view.frame = frame;
    update();
}

bool CSkyChart::CentreOn(const CString& id) {
    for (const auto& o : m_objects) {
        if (o.id.CompareNoCase(id) != 0) continue;
        const SkyPoint p = PlaceOf(o);
        m_view.centre_lon_deg = p.lon_deg;
        m_view.centre_lat_deg = p.lat_deg;
        update();
        return true;
    }
    return false;
}

bool CSkyChart::TurnTowards(const CString& id) {
    const ChartView before = m_view;
    if (!CentreOn(id)) return false;
    if (m_view.frame != ChartFrame::Horizon) return true;
    const double halfHeightDeg = m_view.fov_deg * height() / std::max(width(), 1) / 2.0;
    if (std::fabs(m_view.centre_lat_deg - before.centre_lat_deg) < halfHeightDeg * 2.0 / 3.0) {
        m_view.centre_lat_deg = before.centre_lat_deg;
    }
    return true;
}

void CSkyChart::SetHighlight(const CString& id) {
    m_highlight = id;
    update();
}

SkyPoint CSkyChart::PlaceOf(const CSkyEngine::ChartObject& o) const {
    if (m_view.frame == ChartFrame::Horizon) return {o.horizon.azimuth_deg, o.horizon.altitude_deg};
    return {o.apparent.ra_h * 15.0, o.apparent.dec_deg};
}

SkyPoint CSkyChart::FromHorizon(const SkyPoint& horizon) const {
    if (m_view.frame == ChartFrame::Horizon) return horizon;
    const SkyPoint ha = HorizonToHourAngle(horizon, m_latitude);
    return {std::fmod(m_lstDeg - ha.lon_deg + 720.0, 360.0), ha.lat_deg};
}

std::optional<ScreenPoint> CSkyChart::ProjectObject(const CSkyEngine::ChartObject& o) const {
    return Project(View(), PlaceOf(o));
}

bool CSkyChart::IsDrawn(const CSkyEngine::ChartObject& o) const {
    switch (o.kind) {
        case Kind::Star:
            return o.magnitude <= FaintestMagnitude(m_view.fov_deg);
        case Kind::DeepSky:
            // Messier objects always; the others once the field is narrow.
            return o.label.Left(1) == u"M" || m_view.fov_deg < 40.0;
        default:
            return true;
    }
}

std::optional<ScreenPoint> CSkyChart::ScreenOf(const CString& id) const {
    for (const auto& o : m_objects) {
        if (o.id.CompareNoCase(id) == 0) return ProjectObject(o);
    }
    return std::nullopt;
}

std::optional<size_t> CSkyChart::ObjectAt(ScreenPoint at) const {
    std::optional<size_t> best, constellation;
    double bestDistance = kPickRadiusPx, constellationDistance = kPickRadiusPx;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        const auto& o = m_objects[i];
        if (!IsDrawn(o)) continue;
        const auto p = ProjectObject(o);
        if (!p) continue;
        const double d = std::hypot(p->x - at.x, p->y - at.y);
        if (o.kind == Kind::Constellation) {
            if (d <= constellationDistance) {
                constellation = i;
                constellationDistance = d;
            }
        } else if (d < bestDistance ||
                   (best && d == bestDistance && o.magnitude < m_objects[*best].magnitude)) {
            best = i;
            bestDistance = d;
        }
    }
    return best ? best : constellation;
}

void CSkyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), kSky);
    const ChartView view = View();
    // Constellation names under everything else.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& o : m_objects) {
            if ((o.kind == Kind::Constellation) != (pass == 0) || !IsDrawn(o)) continue;
            if (const auto p = Project(view, PlaceOf(o))) DrawObject(painter, o, *p);
        }
    }
    DrawHorizon(painter);
    if (const auto p = ScreenOf(m_highlight); p && !m_highlight.IsEmpty()) {
        painter.setPen(QPen(kHighlight, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(ToQ(*p), 12.0, 12.0);
    }
}

void CSkyChart::DrawObject(QPainter& painter, const CSkyEngine::ChartObject& o,
                           ScreenPoint at) const {
    const QString label = host::ui::ToQString(o.label);
    const QPointF p = ToQ(at);
    painter.setPen(Qt::NoPen);
    switch (o.kind) {
        case Kind::Constellation:
            painter.setPen(kConstellation);
            painter.drawText(QRectF(p.x() - 60, p.y() - 10, 120, 20), Qt::AlignCenter, label);
            return;
        case Kind::Star: {
            const Rgb c = StarColour(o.bv);
            const double r =
                StarRadiusPx(o.magnitude, FaintestMagnitude(m_view.fov_deg), m_view.fov_deg);
            painter.setBrush(QColor(c.r, c.g, c.b));
            painter.drawEllipse(p, r, r);
            if (!label.isEmpty() && o.magnitude < (m_view.fov_deg < 40.0 ? 3.0 : 1.5)) {
                painter.setPen(QColor(200, 200, 220));
                painter.drawText(p + QPointF(r + 3, -r), label);
            }
            return;
        }
        case Kind::DeepSky:
        case Kind::Magellanic: {
            const double r =
                std::isfinite(o.size_arcmin)
                    ? std::clamp(o.size_arcmin / 60.0 / m_view.fov_deg * width() / 2, 3.0, 40.0)
                    : 6.0;
            painter.setPen(QPen(kDeepSky, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(p, r, r * 0.7);
            painter.drawText(p + QPointF(r + 2, r + 10), label);
            return;
        }
        case Kind::Sun:
            painter.setBrush(QColor(255, 230, 120));
            painter.drawEllipse(p, 9.0, 9.0);
            break;
        case Kind::Moon:
            DrawMoon(painter, o, at);
            break;
        case Kind::Planet:
            painter.setBrush(PlanetColour(o.id));
            painter.drawEllipse(p, 4.0, 4.0);
            break;
    }
    painter.setPen(QColor(255, 210, 160));
    painter.drawText(p + QPointF(11, -6), label);
}

// The Moon's disc, its lit part turned towards the Sun: a half disc on the
// Sun's side and a half ellipse of half-width |2k - 1| r along the
// terminator, k the illuminated fraction.
void CSkyChart::DrawMoon(QPainter& painter, const CSkyEngine::ChartObject& moon,
                         ScreenPoint at) const {
    constexpr double r = 9.0;
    const QPointF p = ToQ(at);
    painter.setBrush(QColor(60, 60, 70));
    painter.drawEllipse(p, r, r);
    const double k = std::isfinite(moon.illuminated_fraction) ? moon.illuminated_fraction : 1.0;
    double towardsSun = 0.0;  // degrees, screen angle from the Moon to the Sun
    if (m_sun) {
        // A point a little way from the Moon towards the Sun along the sky
        // tells the direction even when the Sun is off the chart.
        const auto& sun = m_objects[*m_sun];
        const SkyPoint m = PlaceOf(moon), s = PlaceOf(sun);
        const double dl = std::remainder(s.lon_deg - m.lon_deg, 360.0);
        const SkyPoint near{m.lon_deg + dl * 0.02, m.lat_deg + (s.lat_deg - m.lat_deg) * 0.02};
        if (const auto q = Project(View(), near)) {
            towardsSun = std::atan2(q->y - at.y, q->x - at.x) * 180.0 / M_PI;
        }
    }
    painter.save();
    painter.translate(p);
    painter.rotate(towardsSun);
    // In this frame the Sun lies along +x.
    QPainterPath lit;
    lit.moveTo(0, -r);
    lit.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 90, -180);  // the Sun's side
    const double w = std::fabs(2 * k - 1) * r;
    // Gibbous: the terminator bulges away from the Sun; crescent: towards it.
    lit.arcTo(QRectF(-w, -r, 2 * w, 2 * r), 270, k >= 0.5 ? -180 : 180);
    lit.closeSubpath();
    painter.setBrush(QColor(245, 245, 225));
    painter.drawPath(lit);
    painter.restore();
}

void CSkyChart::DrawHorizon(QPainter& painter) const {
    const ChartView view = View();
    QPen pen(kHorizonLine, 2);
    painter.setPen(pen);
    std::optional<ScreenPoint> previous;
    for (int step = 0; step <= 360; ++step) {
        const auto p = Project(view, FromHorizon({static_cast<double>(step), 0.0}));
        if (p && previous && std::hypot(p->x - previous->x, p->y - previous->y) < view.width) {
            painter.drawLine(ToQ(*previous), ToQ(*p));
        }
        previous = p;
    }
    // The ground: a veil below the horizon, sampled every few degrees.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kGround.red(), kGround.green(), kGround.blue(), 150));
    for (int az = 0; az < 360; az += 10) {
        for (int alt = -90; alt < 0; alt += 10) {
            QPolygonF cell;
            bool whole = true;
            for (const auto& corner : kCellCorners) {
                const auto p =
                    Project(view, FromHorizon({double(az + corner[0]), double(alt + corner[1])}));
                if (!p) {
                    whole = false;
                    break;
                }
                cell << ToQ(*p);
            }
            if (whole && cell.boundingRect().width() < view.width) painter.drawPolygon(cell);
        }
    }
    // 北 東 南 西 at the horizon; azimuth from the south through the west.
    const std::pair<double, const char*> cardinals[] = {
        {180.0, "北"}, {270.0, "東"}, {0.0, "南"}, {90.0, "西"}};
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kCardinal);
    for (const auto& [az, name] : cardinals) {
        if (const auto p = Project(view, FromHorizon({az, 0.0}))) {
            painter.drawText(QRectF(p->x - 20, p->y + 2, 40, 24), Qt::AlignCenter,
                             QString::fromUtf8(name));
        }
    }
}

void CSkyChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_press = event->position().toPoint();
    m_last = *m_press;
    m_dragging = false;
}

void CSkyChart::mouseMoveEvent(QMouseEvent* event) {
    if (!m_press) return;
    const QPoint now = event->position().toPoint();
    if (!m_dragging && (now - *m_press).manhattanLength() <= kDragThresholdPx) return;
    m_dragging = true;
    m_view = Pan(View(), now.x() - m_last.x(), now.y() - m_last.y());
    m_last = now;
    update();
}

void CSkyChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_press) return;
    const bool click = !m_dragging;
    m_press.reset();
    m_dragging = false;
    if (!click || !m_clicksEnabled) return;
    const QPointF at = event->position();
    if (const auto index = ObjectAt({at.x(), at.y()}); index && m_onPick) {
        m_onPick(m_objects[*index].id);
    }
}

void CSkyChart::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    m_view = Zoom(View(), std::pow(0.8, notches));
    update();
}

}  // namespace gui
