// CAltGraph: the host's altitude graph, a window that draws the altitude of
// one object above the observer's horizon over 24, 18 or 12 hours.
//
// The span is centred on the local midnight (or noon) nearest the current
// local time.  The altitude axis runs from -90 to +90 degrees, or from -9
// to +9 with the scale 10.0; the horizon and the current time are marked,
// with the hours of the local clock along the bottom.
//
// The altitudes come from the engine: for each sample the graph sets the
// engine's time ("Time.jd = JD", UT), asks "? TARGET.Position.Altitude"
// (degrees) and at the end sets the time back to the exact reply it had to
// "? Time.jd".  Nothing is redrawn in the engine, so its time never
// visibly changes; an engine that does not answer "? Time.jd" is not asked
// at all.  The samples are taken again after SetState, SetTarget or a new
// observer or span, not for every paint.
#pragma once

#include <vector>

#include "host/adate.h"
#include "engine/corlum.h"
#include "host/cstring.h"
#include "host/ui/wnd.h"

class CAltGraph : public CWnd {
  public:
    struct Observer {
        double latitude = 0.0;   // degrees, north positive
        double longitude = 0.0;  // degrees, east positive
        double height = 0.0;     // metres
    };
    // Minutes between two samples.
    static constexpr int kSampleMinutes = 10;

    // Takes over dialog item `id` of `parent`.  Like the framework's static
    // control the graph does not take mouse clicks: they go to the parent,
    // which asks OnLButtonDown.
    int Attach(int id, CWnd* parent);
    // Span in hours (24, 18 or 12), centre at 0 h (non-zero) or 12 h, and
    // the altitude scale (1.0 or 10.0).
    void SetState(int hours, int centreMidnight, double scale);
    // The object whose altitude is drawn; empty draws the graph without one.
    void SetTarget(const CString& object);
    // Draws for the local date and time `date` (its zone in date.zone).
    void Draw(CCorLum* engine, const tagADATE& date, const Observer& observer);
    // `point` in screen coordinates: non-zero, with the local date and time
    // of the point's column in *date, when it lies on the graph.
    int OnLButtonDown(CPoint point, tagADATE* date);

    // The samples of the curve (degrees; NaN where the engine had no value)
    // and the UT Julian Day of the first.
    const std::vector<double>& GetAltitudes() const { return m_altitudes; }
    double GetStartJd() const { return m_startJd; }

  protected:
    bool PaintsItself() const override { return true; }
    void OnPaint(QPainter& dc) override;

  private:
    using CWnd::OnLButtonDown;
    void Sample(CCorLum* engine);
    double SpanDays() const { return m_hours / 24.0; }

    int m_hours = 24;
    int m_centreMidnight = 1;
    double m_scale = 1.0;
    CString m_target;
    double m_nowJd = 0.0;  // UT
    double m_zone = 0.0;   // hours east of UT
    double m_startJd = 0.0;
    Observer m_observer;
    bool m_stale = true;
    std::vector<double> m_altitudes;
};
