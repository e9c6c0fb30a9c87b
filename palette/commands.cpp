// The palette's commands: the toolbar's buttons, the text's context menu,
// Ctrl+A.  Most are sentences of the engine's command language around the
// object's identifier, inserted unquoted unless said otherwise; their
// replies are not used.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextEdit>

#include "engine/stkstr.h"
#include "host/ui/menu.h"
#include "host/ui/qt_text.h"
#include "host/ui/track_object.h"
#include "palette/comment_dialog.h"
#include "palette/dlg_click_data.h"
#include "palette/settings_dialog.h"
#include "res/menus.h"

namespace {

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

const char16_t* TrueFalse(bool value) {
    return value ? u"TRUE" : u"FALSE";
}

}  // namespace

void CDlgClickData::OnClickBtnBlink() {
    if (m_object.IsEmpty() || !m_engine) return;
    CString command;
    command.Format(u"Play Blink(%s)", m_object);
    m_engine->Doit(command);
}

void CDlgClickData::OnClickBtnMark() {
    if (!m_engine) return;
    const bool visible = CorLumBool(u"? ClickData.Mark.Visible", m_engine) ||
                         (m_engine2 && CorLumBool(u"? ClickData.Mark.Visible", m_engine2));
    m_toolbar.CheckButton(ID_BTN_MARK, !visible);
    CString command;
    command.Format(u"ClickData.Mark.Visible = %s; Show Stellar", TrueFalse(!visible));
    m_engine->Doit(command);
    if (m_engine2) m_engine2->Doit(command);
}

void CDlgClickData::OnClickBtnDic() {
    if (!m_engine) return;
    CString key = m_object;
    // An equatorial point opens the entry of the constellation it lies in.
    if (m_object.GetLength() > 10 && m_object.Left(10).CompareNoCase(u"Equatorial") == 0) {
        key.Format(u"Constellation.%s",
                   m_engine->Doit(u"? " + m_object + u".Position.Constellation"));
    }
    if (GetParent())
        GetParent()->SendMessage(WM_CLICKDATA_DICTIONARY, 0, reinterpret_cast<LPARAM>(&key));
}

void CDlgClickData::OnClickBtnLook() {
    if (!m_engine) return;
    const bool solarView =
        m_engine->Doit(u"? View.Projection").Left(11).CompareNoCase(u"SolarSystem") == 0;
    if (solarView && m_engine->Doit(u"? View.Solar.Arounding") == u"FALSE") {
        m_engine->Doit(u"View.Center.Track = FALSE; Location.Solar.Track = false; View.Center = " +
                       m_object + u" ; show stellar");
    } else {
        m_engine->Doit(
            u"View.StraightTheHorizon = FALSE; View.Center.Track = FALSE; View.Center = " +
            m_object + u" ; show stellar");
    }
}

void CDlgClickData::OnClickBtnTrack() {
    CTrackObject track(this, m_engine);
    if (m_toolbar.IsButtonChecked(ID_BTN_TRACK)) {
        track.DoTrackClickData(0);
        m_toolbar.EnableButton(ID_BTN_LOOK, 1);
        m_toolbar.CheckButton(ID_BTN_TRACK, 0);
        return;
    }
    track.DoTrackClickData(1);
    // A picked star's slot names no lasting object: the buttons stay.
    if (StartsWithNoCase(m_object, u"Star.Xno")) return;
    m_toolbar.EnableButton(ID_BTN_LOOK, 0);
    m_toolbar.CheckButton(ID_BTN_TRACK, 1);
}

int CDlgClickData::QueryInt(const CString& query) {
    return CStkStr(m_engine->Doit(query)).atoi();
}

tagAD CDlgClickData::QueryObjectPlace() {
    // ".Position.RA" is in hours, ".Position.Dec" in degrees, both J2000.
    tagAD place;
    place.a = CStkStr(m_engine->Doit(u"? " + m_object + u".Position.RA")).atof() * 15.0;
    place.d = CStkStr(m_engine->Doit(u"? " + m_object + u".Position.Dec")).atof();
    return place;
}

void CDlgClickData::OnClickBtnTel() {
    if (!m_telescope || !m_telescope->IsConnected() || !m_engine) return;
    const STelInfo* model = m_telescope->CurrentModel();
    const bool moving = StartsWithNoCase(m_object, u"Solar.") ||
                        StartsWithNoCase(m_object, u"ArtificialSatellite.");
    if (model && model->hourLater && moving) {
        const int y = QueryInt(u"? Time.Year"), m = QueryInt(u"? Time.Month");
        const int d = QueryInt(u"? Time.Day"), h = QueryInt(u"? Time.Hour");
        CString command;
        command.Format(u"Time = LST(%d,%d,%d,%d); Calc Stellar", y, m, d, h + 1);
        m_engine->Doit(command);
        const tagAD later = QueryObjectPlace();
        m_telescope->TelescopeSetHourLater(&later);
        command.Format(u"Time = LST(%d,%d,%d,%d); Calc Stellar", y, m, d, h);
        m_engine->Doit(command);
    }
    const tagAD now = QueryObjectPlace();
    m_telescope->TelescopeLook(&now);
}

void CDlgClickData::OnClickBtnFlightTarget() {
    if (m_object.IsEmpty() || !CheckFlightTargetObject() || !m_engine) return;
    // An identifier with operator characters would be read as an expression.
    const CString target = m_object.FindOneOf(u"*/+-") >= 0 ? u"\"" + m_object + u"\"" : m_object;
    CString command;
    command.Format(u"View.FlightTarget.Object = %s; Show Sky", target);
    m_engine->Doit(command);
}

int CDlgClickData::CheckFlightTargetObject() const {
    CString head = m_object;
    const int dot = head.Find(u'.');
    if (dot > 0) head = head.Left(dot);
    for (const char16_t* name :
         {u"Solar", u"Star", u"DeepSkyObject", u"MagellanicCloud", u"NearbyStars"}) {
        if (head.CompareNoCase(name) == 0) return 1;
    }
    return 0;
}

void CDlgClickData::NotifyModal(int open) {
    if (GetParent()) GetParent()->SendMessage(WM_CLICKDATA_MODAL, open, 0);
}

void CDlgClickData::OnClickBtnComment() {
    CDlgCdfEdit dialog(m_engine, m_engine2, this);
    if (!m_engine || !m_clickData.IsCommentEnable(m_engine, m_object)) return;
    // The stored comment, not the one shown: with comments hidden the text
    // shows none, and an edit must not silently replace what is stored.
    const CString key = m_clickData.StkToCdf(m_engine, m_object);
    CString stored;
    m_cdf.GetComment(key, stored);
    CString given = stored;
    given.Replace(u"\n", u"\r\n");
    dialog.SetCommentText(given, m_clickData.GetText(m_engine, m_object, 1));
    NotifyModal(1);
    if (dialog.DoModal() == IDOK) {
        CString edited = dialog.GetCommentText();
        edited.Replace(u"\r\n", u"\n");
        if (edited != stored && m_cdf.SetComment(key, edited)) {
            m_cdfModified = 1;
            OnUpdate(1);
        }
    }
    NotifyModal(0);
}

void CDlgClickData::OnClickBtnImageThumb() {
    m_thumbShown = !m_thumbShown;
    m_toolbar.CheckButton(ID_BTN_IMAGE_THUMB, m_thumbShown);
    ToggleImageThumb();
    if (m_thumbShown) DrawImageThumb();
}

void CDlgClickData::OnClickBtnAltGrp() {
    m_altShown = !m_altShown;
    m_toolbar.CheckButton(ID_BTN_ALTGRP, m_altShown);
    ToggleAltGrp();
}

void CDlgClickData::OnClickBtnCopy() {
    // Copied with the platform's text line ends of the host, "\r\n".
    CString text = m_edit.GetWindowText();
    text.Replace(u"\n", u"\r\n");
    const CString title = GetWindowText();
    // The name stands on the bar and not in the text: put it back in front.
    if (m_status.DispNameOnBar && !title.IsEmpty()) text = title + u"\r\n" + text + u"\r\n";
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard) clipboard->setText(host::ui::ToQString(text));
}

void CDlgClickData::OnClickBtnEdt() {
    CCdEdtDlg dialog(m_engine, m_engine2, this);
    NotifyModal(1);
    if (dialog.DoModal() == IDOK) {
        m_status.Load();
        SetTransparent(m_status.TransparentOnInactive);
        m_clickData.ClearCache();
        OnUpdate(1);
    }
    NotifyModal(0);
}

void CDlgClickData::OnRBtnCopy() {
    m_edit.Copy();
}

void CDlgClickData::OnRBtnSelAll() {
    if (m_edit.GetSafeHwnd()) m_edit.GetSafeHwnd()->setFocus();
    m_edit.SetSel(0, -1);
}

LRESULT CDlgClickData::OnNotifyMsgFilter(const MSGFILTER* filter) {
    const ResMenu* menu = FindResMenu(IDR_CLICKDATA_MENU);
    auto* text = dynamic_cast<QTextEdit*>(m_edit.GetSafeHwnd());
    if (filter->msg != WM_RBUTTONUP || !menu || !text) return 0;
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    std::vector<int> greyed;
    if (start == end) greyed.push_back(ID_RBTN_COPY);
    const QPoint at = text->viewport()->mapToGlobal(QPoint(filter->point.x, filter->point.y));
    const int command = host::ui::TrackPopupMenu(*menu, this, {at.x(), at.y()}, greyed);
    if (command) SendMessage(WM_COMMAND, command);
    return 1;
}

bool CDlgClickData::OnOtherEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return CLumDialog::OnOtherEvent(event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_A || !(key->modifiers() & Qt::ControlModifier))
        return CLumDialog::OnOtherEvent(event);
    OnRBtnSelAll();
    return true;
}
