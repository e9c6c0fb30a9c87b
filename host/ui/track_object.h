// CTrackObject: the host's tracking library as far as the palette uses it.
// Keeping the selected object at the centre of the sky chart is the
// engine's work: the chart's centre is set to the object and its centre
// tracking switched on, so the engine moves the view with the object as
// the time runs; stopping switches the tracking off and leaves the view
// where it is.
#pragma once

#include "engine/corlum.h"
#include "host/ui/wnd.h"

class CTrackObject {
  public:
    // For the chart of `window` (the palette, kept for the framework's
    // interface) driven by `engine`.
    CTrackObject(CWnd* window, CCorLum* engine) : m_window(window), m_engine(engine) {}

    // Starts (on non-zero) or stops keeping the engine's selected object
    // ("? ClickData.Object") at the chart's centre.  0 when there is no
    // engine, or no object to start with.
    int DoTrackClickData(int on);

  private:
    CWnd* m_window;
    CCorLum* m_engine;
};
