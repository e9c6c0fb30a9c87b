// CSkyChart: the clickable sky chart of the planetarium's main window.
//
// It draws what the sky engine's ChartObjects gives at the engine's time
// and place (stars by magnitude in their colours, deep-sky objects, the
// Magellanic Clouds, constellation names, the Sun, the Moon in its phase,
// the planets) with the horizon and the cardinal points, in the horizon or
// the equatorial frame (gui/chart_projection.h).  The wheel zooms, a drag
// pans, and a click on an object (within kPickRadiusPx) hands its
// identifier to the pick handler.  The objects are computed again only
// when the engine's time or place has changed (Refresh).
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "gui/chart_projection.h"
#include "sky/sky_engine.h"

namespace gui {

class CSkyChart : public QWidget {
  public:
    static constexpr double kPickRadiusPx = 8.0;
    // Stars and deep-sky objects kept for drawing, V magnitude.
    static constexpr double kFaintestStar = 7.0;
    static constexpr double kFaintestDeepSky = 10.0;

    CSkyChart(CSkyEngine* engine, QWidget* parent = nullptr);

    // Takes the engine's objects again when its time or place changed
    // since the last time, and repaints.
    void Refresh();
    void SetFrame(ChartFrame frame);
    ChartFrame Frame() const { return m_view.frame; }
    // The view; its size follows the widget's.
    ChartView View() const;
    void SetView(const ChartView& view);
    // Centres the view on an object of the chart; false when it has none of
    // that identifier.
    bool CentreOn(const CString& id);
    // Turns the view towards an object: in the horizon frame to its azimuth,
    // keeping the altitude of the centre while the object stays within the
    // middle two thirds of the height (so the horizon stays in sight), else
    // centring it; in the equatorial frame as CentreOn.  False when the
    // chart has no such object.
    bool TurnTowards(const CString& id);

    // Called with the identifier of a clicked object.
    void SetPickHandler(std::function<void(const CString&)> handler) {
        m_onPick = std::move(handler);
    }
    // While off (a modal dialog is open), clicks select nothing.
    void SetClicksEnabled(bool enabled) { m_clicksEnabled = enabled; }
    bool ClicksEnabled() const { return m_clicksEnabled; }
    // The selected object, drawn with a ring; empty for none.
    void SetHighlight(const CString& id);
    const CString& Highlight() const { return m_highlight; }

    // The objects as drawn now.
    const std::vector<CSkyEngine::ChartObject>& Objects() const { return m_objects; }
    // Where an object is on the widget; nothing when it is off the chart.
    std::optional<ScreenPoint> ScreenOf(const CString& id) const;
    // The object a click at `at` picks: the nearest drawn one within
    // kPickRadiusPx (a constellation only when no other is that near).
    std::optional<size_t> ObjectAt(ScreenPoint at) const;
    // The local apparent sidereal time, degrees, from the objects' places.
    double LocalSiderealDeg() const { return m_lstDeg; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    SkyPoint PlaceOf(const CSkyEngine::ChartObject& object) const;
    std::optional<ScreenPoint> ProjectObject(const CSkyEngine::ChartObject& object) const;
    // Whether the object is drawn in the current field of view.
    bool IsDrawn(const CSkyEngine::ChartObject& object) const;
    // A horizon place (azimuth S through W, altitude) in the view's frame.
    SkyPoint FromHorizon(const SkyPoint& horizon) const;
    void DrawHorizon(QPainter& painter) const;
    void DrawObject(QPainter& painter, const CSkyEngine::ChartObject& object, ScreenPoint at) const;
    void DrawMoon(QPainter& painter, const CSkyEngine::ChartObject& moon, ScreenPoint at) const;

    CSkyEngine* m_engine;
    ChartView m_view;
    std::vector<CSkyEngine::ChartObject> m_objects;
    double m_objectsJd = 0.0;
    double m_objectsLatitude = 999.0;
    double m_objectsLongitude = 999.0;
    double m_objectsHeight = 0.0;
    double m_latitude = 0.0;
    double m_lstDeg = 0.0;
    std::optional<size_t> m_sun;
    CString m_highlight;
    std::function<void(const CString&)> m_onPick;
    bool m_clicksEnabled = true;
    // The press of a click or a drag, and whether it has become a drag.
    std::optional<QPoint> m_press;
    QPoint m_last;
    bool m_dragging = false;
};

}  // namespace gui
