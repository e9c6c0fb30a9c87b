// The palette's refresh cycle: change detection, the text with the user's
// comment, the altitude graph, the thumbnail search and the button states.
#include <QCoreApplication>
#include <QWidget>

#include "engine/stkstr.h"
#include "palette/dlg_click_data.h"
#include "res/string_table.h"

namespace {

constexpr COLORREF kCommentColour = RGB(96, 192, 255);
constexpr const char16_t* kPickedStar = u"star.Xno0";
// UI mode value of the host's flight view.
constexpr int kFlightMode = 6;

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

// Stores `value` in `stored` when it differs; true when it did.
bool Store(double& stored, double value) {
    if (stored == value) return false;
    stored = value;
    return true;
}

}  // namespace

void CDlgClickData::OnUpdate(int force) {
    if (!GetSafeHwnd()) {
        if (!Create()) return;
        EnableWindow(1);
    } else if (!IsWindowVisible()) {
        return;
    }
    if (!m_engine || !DetectChange(force)) return;
    m_status.Load();
    const int hours = m_status.AltSpan == 0 ? 24 : m_status.AltSpan == 1 ? 18 : 12;
    m_altGraph.SetState(hours, m_status.AltCenter == 0, m_status.AltMag ? 10.0 : 1.0);
    if (!GetClickData() && m_status.IgnoreErase) ShowWindow(SW_HIDE);
    UpdateWindow();
    if (!m_status.DispNameOnBar || m_object.IsEmpty()) {
        SetWindowText(LoadResString(IDS_CLICKDATA_TITLE));
    }
    m_altTarget = m_object.CompareNoCase(u"Solar.Planet.Earth") != 0;
    DrawAltGrp();
    DrawImageThumb();
    UpdateButtonStates();
}

bool CDlgClickData::DetectChange(int force) {
    // Five queries when nothing changed (six for the picked-star slot).
    const CString object = m_engine->Doit(u"? ClickData.Object");
    const double jd = CStkStr(m_engine->Doit(u"? Time.jd")).atof();
    const double longitude = CStkStr(m_engine->Doit(u"? Location.Longitude")).atof();
    const double latitude = CStkStr(m_engine->Doit(u"? Location.Latitude")).atof();
    const double altitude = CStkStr(m_engine->Doit(u"? Location.Altitude")).atof();
    bool changed = false;
    if (object.CompareNoCase(m_object) != 0) {
        if (object.CompareNoCase(kPickedStar) == 0) m_starId = m_engine->Doit(u"? star.Xno0.Id");
        m_object = object;
        changed = true;
    } else if (m_object.CompareNoCase(kPickedStar) == 0) {
        // The same slot may hold another star now.
        const CString id = m_engine->Doit(u"? star.Xno0.Id");
        if (id.CompareNoCase(m_starId) != 0) {
            m_starId = id;
            changed = true;
        }
    }
    changed = Store(m_prevJd, jd) || changed;
    changed = Store(m_prevLongitude, longitude) || changed;
    changed = Store(m_prevLatitude, latitude) || changed;
    changed = Store(m_prevAltitude, altitude) || changed;
    return changed || force;
}

int CDlgClickData::GetClickData() {
    UpdateData(1);
    m_toolbar.EnableButton(ID_BTN_COMMENT, m_clickData.IsCommentEnable(m_engine, m_object));
    const CString text =
        m_object.IsEmpty() ? CString() : m_clickData.GetText(m_engine, m_object, 0);
    const int split = text.Find(u"\r\n");
    const CString title = split < 0 ? CString() : text.Left(split);
    CString body = split < 0 ? text : text.Mid(split + 2);
    body.TrimRight();
    if (!body.IsEmpty()) body += u"\r\n";
    // A new object is shown opaque at once.
    if (m_object != m_shownObject) SetAlpha(255);

    m_commentText.Empty();
    if (m_status.DispComment) {
        m_cdf.GetComment(m_clickData.StkToCdf(m_engine, m_object), m_commentText);
        m_commentText.TrimRight();
        if (!m_commentText.IsEmpty()) m_commentText += u"\r\n";
    }
    const bool any = !title.IsEmpty() || !body.IsEmpty();
    if (!m_status.DispNameOnBar) {
        if (any) body = title + u"\r\n" + body;
    } else {
        SetWindowText(title);
    }
    body.Replace(u"\r\n", u"\n");
    m_commentText.Replace(u"\r\n", u"\n");
    const CString full = body + m_commentText;
    if (full != m_edit.GetWindowText()) {
        const int firstLine = m_edit.GetFirstVisibleLine();
        m_edit.SetWindowText(full);
        if (!m_commentText.IsEmpty()) {
            m_edit.SetSel(body.GetLength(), -1);
            m_edit.SetSelectionColor(kCommentColour);
        }
        m_edit.HideSelection(0);
        m_edit.SetSel(0, 0);
        // A refresh of the same object keeps the reader's place.
        if (m_object == m_shownObject && firstLine >= 1) m_edit.LineScroll(firstLine);
        m_edit.Invalidate();
        UpdateWindow();
    }
    UpdateData(0);
    m_shownObject = m_object;
    return any;
}

void CDlgClickData::DrawAltGrp() {
    QWidget* item = GetDlgItem(IDC_ALT_GRAPH);
    if (!item || !m_engine) return;
    if (m_engine->Doit(u"? View.Projection").CompareNoCase(u"SolarSystem") == 0 ||
        m_engine->GetLocationObject() != CCorLum::kEarth) {
        item->setEnabled(false);
        return;
    }
    item->setEnabled(true);
    if (!m_altShown || m_object.IsEmpty()) return;
    m_altGraph.SetTarget(m_altTarget ? m_object : CString());
    tagADATE date;
    int second = 0;
    m_engine->GetLT(&date.year, &date.month, &date.day, &date.hour, &date.minute, &second);
    date.second = second;
    date.zone = m_engine->GetTz();
    const CAltGraph::Observer observer{m_engine->GetLatitude(), m_engine->GetLongitude(),
                                       m_engine->GetHeight()};
    m_altGraph.Draw(m_engine, date, observer);
}

void CDlgClickData::DrawImageThumb() {
    if (!m_thumbShown || m_object == m_thumbObject || !m_netConnected) return;
    const CString key = m_clickData.GetDBSearchString(m_engine);
    if (!key.IsEmpty() && m_thumbs.IsBusy()) {
        // Retried from the timer once the running request has stopped;
        // only the last key asked for is kept.
        m_thumbs.Cancel();
        m_pendingKey = key;
        if (!m_timerId) m_timerId = SetTimer(kThumbTimerId, kThumbTimerMs);
        return;
    }
    if (!key.IsEmpty()) {
        StartGetImageThumb(key);
    } else {
        m_thumbs.Clear();
    }
    m_thumbs.Redraw();
    m_thumbObject = m_object;
}

void CDlgClickData::StartGetImageThumb(const CString& key) {
    m_thumbs.EraseStrip();
    m_thumbs.StartSearch(key);
}

void CDlgClickData::OnTimer(UINT_PTR id) {
    if (m_timerBusy) return;  // re-entered from the queue drained below
    m_timerBusy = 1;
    if (id == kThumbTimerId && !m_thumbs.IsBusy()) {
        KillTimer(m_timerId);
        m_timerId = 0;
        if (!m_pendingKey.IsEmpty()) {
            StartGetImageThumb(m_pendingKey);
            m_thumbs.Redraw();
            m_thumbObject = m_object;
            m_pendingKey.Empty();
        }
    }
    QCoreApplication::processEvents();
    m_timerBusy = 0;
}

void CDlgClickData::UpdateButtonStates() {
    if (m_telescope) m_toolbar.EnableButton(ID_BTN_TEL, m_telescope->IsConnected() != 0);
    const int marked = CorLumBool(u"? ClickData.Mark.Visible", m_engine) ||
                       (m_engine2 && CorLumBool(u"? ClickData.Mark.Visible", m_engine2));
    m_toolbar.CheckButton(ID_BTN_MARK, marked);

    int centre = 0, track = 0, tracked = 0, flight = 0;
    const bool solarObject = StartsWithNoCase(m_object, u"Solar.") ||
                             StartsWithNoCase(m_object, u"ArtificialSatellite.");
    if (m_uiStyle && *m_uiStyle == kFlightMode) {
        const bool takingOff =
            m_engine->Doit(u"? View.FlightTarget.TakeOff.Busy").CompareNoCase(u"True") == 0;
        const bool horizon = m_engine->Doit(u"? View.Coordinate").CompareNoCase(u"Horizon") == 0;
        centre = !takingOff && horizon;
        flight = !m_object.IsEmpty() && !takingOff && !horizon && CheckFlightTargetObject();
    } else if (m_engine->Doit(u"? View.Projection").Left(11).CompareNoCase(u"SolarSystem") == 0) {
        centre = !solarObject || m_engine->Doit(u"? View.Solar.Arounding") == u"FALSE";
        track = solarObject;
        tracked = m_engine->Doit(u"? View.Solar.Arounding.Center") == m_object;
    } else {
        const bool picked = StartsWithNoCase(m_object, u"Star.Xno");
        const bool centred = CorLumBool(u"? View.Center.Track", m_engine) &&
                             m_engine->Doit(u"? View.Center") == m_object;
        centre = !(centred && !picked);
        track = 1;
        tracked = !picked && centred;
    }
    m_toolbar.EnableButton(ID_BTN_LOOK, centre);
    m_toolbar.EnableButton(ID_BTN_TRACK, track);
    m_toolbar.CheckButton(ID_BTN_TRACK, tracked);
    m_toolbar.EnableButton(ID_BTN_FLIGHT_TARGET, flight);
    m_toolbar.EnableButton(ID_BTN_ALTGRP, 1);
    m_toolbar.CheckButton(ID_BTN_ALTGRP, m_altShown);
    m_toolbar.CheckButton(ID_BTN_IMAGE_THUMB, m_thumbShown);
}
