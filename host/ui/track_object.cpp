#include "host/ui/track_object.h"

int CTrackObject::DoTrackClickData(int on) {
    (void)m_window;
    if (!m_engine) return 0;
    if (!on) {
        m_engine->Doit(u"View.Center.Track = FALSE; Show Sky");
        return 1;
    }
    const CString object = m_engine->Doit(u"? ClickData.Object");
    if (object.IsEmpty()) return 0;
    // The same unquoted form as the palette's centre command.
    m_engine->Doit(u"View.StraightTheHorizon = FALSE; View.Center = " + object +
                   u" ; View.Center.Track = TRUE; Show Sky");
    return 1;
}
