// The palette's window: creation, layout, painting, fading, the bands, the
// toolbar's routes and tool tips, links, and what is kept when it goes.
#include "palette/dlg_click_data.h"

#include <QPainter>
#include <QThread>
#include <QWidget>

#include "host/network.h"
#include "host/registry.h"
#include "host/ui/qt_text.h"
#include "host/ui/ui_misc.h"
#include "res/string_table.h"

namespace {

// The look of the text: its face and colours on the palette's background.
constexpr const char16_t* kTextFace = u"ＭＳ ゴシック";
constexpr COLORREF kTextColour = RGB(196, 196, 196);
constexpr COLORREF kColourKey = 0x282828;
// Fading: opacity steps of 32, 50 ms apart, between 255 and 128.
constexpr int kFadeStep = 32;
constexpr int kFadeLow = 128;
constexpr int kFadeSleepMs = 50;

}  // namespace

CDlgClickData::CDlgClickData(CWnd* parent, const CString& dataDir)
    : CLumDialog(IDD_CLICKDATA, parent), m_dataDir(dataDir) {
    m_regKey = LoadResString(IDS_CLICKDATA_REGKEY);
}

CDlgClickData::~CDlgClickData() {
    DestroyWindow();
}

void CDlgClickData::SetCorLum(CCorLum* engine, CCorLum* engine2) {
    m_engine = engine;
    m_engine2 = engine2;
    for (const CString& command : CCdStatus::StoredEngineDefaultCommands()) {
        if (m_engine) m_engine->Doit(command);
        if (m_engine2) m_engine2->Doit(command);
    }
}

int CDlgClickData::OnInitDialog() {
    CLumDialog::OnInitDialog();
    m_edit.Attach(IDC_CLICKDATA_TEXT, this);
    m_altGraph.Attach(IDC_ALT_GRAPH, this);
    m_thumbs.Attach(IDC_IMAGE_THUMB, this);
    return 1;
}

int CDlgClickData::Create() {
    if (!CLumDialog::Create(m_engine)) return 0;
    if (m_look == 0) {
        SetBackgroundColor(m_bgBrush);
        CLumTheme::SetWindowTheme(&m_edit, u"", u"");
        m_edit.GetSafeHwnd()->setStyleSheet(QString::fromLatin1(host::ui::DarkScrollBarStyle()));
    }
    ShowWindow(SW_HIDE);
    m_edit.SetDefaultCharFormat(kTextFace, kTextColour, m_bgBrush);
    m_edit.SetBackgroundColor(m_bgBrush);
    m_edit.SetWordWrap(0);
    m_edit.SetEventMask(m_edit.GetEventMask() | ENM_MOUSEEVENTS | ENM_LINK);
    SetWindowText(LoadResString(IDS_CLICKDATA_TITLE));

    // Layout values, measured on the template's positions.
    const double ratio = CResScale::GetRatio(GetSafeHwnd());
    const QRect edit = GetDlgItem(IDC_CLICKDATA_TEXT)->geometry();
    m_editTop = edit.top();
    m_margin = edit.left();
    m_altHeight = GetDlgItem(IDC_ALT_GRAPH)->height();
    m_thumbHeight = static_cast<int>(20 * ratio) - static_cast<int>(-100 * ratio) + 7;
    m_bandGap = GetDlgItem(IDC_IMAGE_THUMB)->geometry().top() - (edit.top() + edit.height());

    CRegistry::Read(m_regKey, u"Position", this, nullptr, 1);
    ShowWindow(SW_HIDE);
    int dispAltGrp = 1, dispImageThumb = 1, veryHighPrecision = 0;
    CRegistry::Read(m_regKey, u"DispAltGrp", 1, &dispAltGrp, 0);
    CRegistry::Read(m_regKey, u"DispImageThumb", 1, &dispImageThumb, 0);
    m_altGraph.SetState(24, 1, 1.0);
    m_status.Load();
    m_clickData.SetStatus(&m_status);
    m_clickData.SetNotEarth(m_engine && m_engine->GetLocationObject() != CCorLum::kEarth);
    CRegistry::Read(m_regKey, u"VeryHighPrecision", 0, &veryHighPrecision, 0);
    m_clickData.SetExtraOption(veryHighPrecision);
    // The text's size: "FontSize" in points, the dialog font's by default.
    int fontSize = GetSafeHwnd()->font().pointSize();
    CRegistry::Read(m_regKey, u"FontSize", fontSize, &fontSize, 1);
    if (fontSize > 0) {
        QFont font = m_edit.GetSafeHwnd()->font();
        font.setPointSize(fontSize);
        m_edit.GetSafeHwnd()->setFont(font);
    }

    CRegistry::Read(u"Files", u"ClickData", CString(), m_cdfPath);
    if (m_cdfPath.IsEmpty()) m_cdfPath = m_dataDir + u"lumvex.cdf";
    m_cdf.LoadFile(m_cdfPath);
    m_cdfModified = 0;
    SetTransparent(m_status.TransparentOnInactive);

    m_toolbar.m_look = m_look;
    m_toolbar.Create(this);
    const int barHeight = static_cast<int>(m_toolbar.CalcFixedLayout(0, 1).cy * ratio);
    m_toolbar.MoveWindow({0, 0, GetClientRect().Width(), barHeight});
    m_netConnected = CCommonNetwork::IsConnected();

    // The stored bands, without changing the restored height: each toggle
    // pair leaves the height as it was.
    m_thumbShown = !dispImageThumb;
    ToggleImageThumb();
    m_thumbShown = dispImageThumb;
    ToggleImageThumb();
    m_altShown = !dispAltGrp;
    ToggleAltGrp();
    m_altShown = dispAltGrp;
    ToggleAltGrp();
    m_toolbar.CheckButton(ID_BTN_ALTGRP, m_altShown);
    m_toolbar.CheckButton(ID_BTN_IMAGE_THUMB, m_thumbShown);
    return 1;
}

void CDlgClickData::ShowClickData(const CString& obj) {
    if (!obj.IsEmpty()) UpdateClickDataObj(obj);
    if (!GetSafeHwnd()) Create();
    if (!IsWindowVisible()) m_eraseOnce = 1;
    QWidget* view = GetParent() ? GetParent()->GetSafeHwnd() : nullptr;
    if (view && GetSafeHwnd()) {
        // Keep the view's centre, where the user is looking, uncovered.
        const QPoint centre = view->mapToGlobal(view->rect().center());
        const CRect frame = GetWindowRect();
        if (frame.PtInRect(centre.x(), centre.y())) {
            const int x = centre.x() + 10, y = centre.y() + 10;
            MoveWindow({x, y, x + frame.Width(), y + frame.Height()});
        }
    }
    ShowWindow(SW_SHOWNOACTIVATE);
    OnUpdate(0);
    UpdateWindow();
}

void CDlgClickData::UpdateClickDataObj(const CString& obj) {
    if (obj.IsEmpty() || !m_engine) return;
    CString command;
    command.Format(u"ClickData.Object = \"%s\"", obj);
    m_engine->Doit(command);
    m_engine->Doit(u"Show Sky");
    if (GetParent()) {
        CString selected = obj;
        GetParent()->SendMessage(WM_CLICKDATA_SELECT, reinterpret_cast<WPARAM>(&selected), 0);
    }
}

int CDlgClickData::CorLumBool(const CString& query, CCorLum* engine) {
    CCorLum* asked = engine ? engine : m_engine;
    return asked && asked->Doit(query).CompareNoCase(u"TRUE") == 0;
}

void CDlgClickData::SetTransparent(int on) {
    if (!GetSafeHwnd()) return;
    if (on) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        SetAlpha(m_alpha);
    } else {
        ModifyStyleEx(WS_EX_LAYERED, 0);
    }
    Invalidate();
}

void CDlgClickData::SetAlpha(int alpha) {
    SetLayeredWindowAttributes(kColourKey, alpha, LWA_ALPHA);
}

void CDlgClickData::ToggleAltGrp() {
    ToggleBand(IDC_ALT_GRAPH, m_altShown, m_altHeight);
}

void CDlgClickData::ToggleImageThumb() {
    ToggleBand(IDC_IMAGE_THUMB, m_thumbShown, m_thumbHeight);
}

void CDlgClickData::ToggleBand(int id, int shown, int height) {
    QWidget* item = GetDlgItem(id);
    if (!item) return;
    item->setVisible(shown != 0);
    CRect frame = GetWindowRect();
    frame.bottom += (shown ? 1 : -1) * (height + m_bandGap);
    MoveWindow(frame);
}

void CDlgClickData::OnSize(UINT type, int cx, int cy) {
    CLumDialog::OnSize(type, cx, cy);
    QWidget* strip = GetDlgItem(IDC_IMAGE_THUMB);
    if (!m_edit.GetSafeHwnd() || !GetDlgItem(IDC_ALT_GRAPH) || !m_toolbar.GetSafeHwnd()) return;
    m_toolbar.MoveWindow({0, 0, cx, m_toolbar.GetClientRect().Height()});
    const int l = m_margin;
    const int altBand = m_altShown ? m_altHeight + m_bandGap : 0;
    const int editBottom = cy - l - (m_thumbShown ? m_thumbHeight : 0) - altBand;
    m_edit.MoveWindow({l, m_editTop, cx - l, editBottom});
    int bandTop = editBottom;
    if (m_thumbShown && strip) {
        const int top = editBottom + m_bandGap - 1;
        strip->setGeometry(l, top, cx - 2 * l, cy - l - altBand - top);
        bandTop = cy - l - altBand;
    }
    if (m_altShown) {
        const int top = bandTop + m_bandGap;
        GetDlgItem(IDC_ALT_GRAPH)->setGeometry(l, top, cx - 2 * l, cy - l - top);
    }
    if (m_thumbShown && strip) {
        m_eraseOnce = m_eraseStrip = 1;
        const QRect r = strip->geometry();
        InvalidateRect({r.left(), r.top(), r.right() + 1, r.top() + 2});
        InvalidateRect({r.left(), r.bottom() - 1, r.right() + 1, r.bottom() + 1});
    }
}

int CDlgClickData::OnEraseBkgnd(QPainter& dc) {
    if (!m_eraseOnce) return m_look == 0;
    m_eraseOnce = 0;
    if (!m_eraseStrip) return 0;
    m_eraseStrip = 0;
    if (!m_thumbShown || m_look != 0) return 0;
    dc.fillRect(GetDlgItem(IDC_IMAGE_THUMB)->geometry(), host::ui::ToQColor(m_bgBrush));
    return 1;
}

void CDlgClickData::OnPaint(QPainter& dc) {
    (void)dc;
    if (!IsWindowVisible()) return;
    if (m_thumbShown) m_thumbs.Redraw();
    DrawAltGrp();
}

void CDlgClickData::OnLButtonDown(UINT flags, CPoint point) {
    ClientToScreen(point);
    tagADATE date;
    if (m_altShown && m_engine && m_altGraph.OnLButtonDown(point, &date))
        m_engine->UpdateDate(&date);
    CLumDialog::OnLButtonDown(flags, point);
}

int CDlgClickData::OnNcActivate(int active) {
    if (active) {
        while (m_alpha < 255) {
            SetAlpha(m_alpha);
            m_alpha += kFadeStep;
            QThread::msleep(kFadeSleepMs);
        }
        m_alpha = 255;
    } else {
        while (m_alpha > kFadeLow) {
            SetAlpha(m_alpha);
            m_alpha -= kFadeStep;
            QThread::msleep(kFadeSleepMs);
        }
        m_alpha = kFadeLow;
    }
    SetAlpha(m_alpha);
    return CLumDialog::OnNcActivate(active);
}

void CDlgClickData::OnActivate(UINT state) {
    CLumDialog::OnActivate(state);
    if (state == WA_ACTIVE) m_eraseOnce = 1;
}

void CDlgClickData::OnClose() {
    m_thumbs.CloseViewer();
    CLumDialog::OnClose();
}

void CDlgClickData::OnDestroy() {
    // Saved where it was loaded from, so that the edits are read again.
    if (m_cdfModified) m_cdf.SaveFile(m_cdfPath);
    CRegistry::Write(m_regKey, u"Position", this);
    CRegistry::Write(m_regKey, u"DispAltGrp", m_altShown, 0);
    CRegistry::Write(m_regKey, u"DispImageThumb", m_thumbShown, 0);
    CLumDialog::OnDestroy();
}

void CDlgClickData::OnCommand(UINT id) {
    switch (id) {
        case ID_BTN_BLINK:
            return OnBtnBlink();
        case ID_BTN_MARK:
            return OnBtnMark();
        case ID_BTN_DIC:
            return OnBtnDic();
        case ID_BTN_LOOK:
            return OnBtnLook();
        case ID_BTN_TRACK:
            return OnBtnTrack();
        case ID_BTN_TEL:
            return OnBtnTel();
        case ID_BTN_FLIGHT_TARGET:
            return OnBtnFlightTarget();
        case ID_BTN_ALTGRP:
            return OnBtnAltGrp();
        case ID_BTN_EDT:
            return OnBtnEdt();
        case ID_BTN_COPY:
            return OnBtnCopy();
        case ID_BTN_COMMENT:
            return OnBtnComment();
        case ID_BTN_IMAGE_THUMB:
            return OnBtnImageThumb();
        case ID_RBTN_COPY:
            return OnRBtnCopy();
        case ID_RBTN_SELALL:
            return OnRBtnSelAll();
        default:
            return CLumDialog::OnCommand(id);
    }
}

LRESULT CDlgClickData::OnNotify(const NMHDR* header) {
    if (!header) return 0;
    if (header->code == TTN_NEEDTEXT) {
        OnToolTipNotify(static_cast<TOOLTIPTEXT*>(const_cast<NMHDR*>(header)));
        return 1;
    }
    if (header->idFrom != static_cast<UINT_PTR>(IDC_CLICKDATA_TEXT)) return 0;
    if (header->code == EN_LINK) return OnNotifyLink(static_cast<const ENLINK*>(header));
    if (header->code == EN_MSGFILTER)
        return OnNotifyMsgFilter(static_cast<const MSGFILTER*>(header));
    return 0;
}

void CDlgClickData::OnToolTipNotify(TOOLTIPTEXT* tip) {
    const int id = static_cast<int>(tip->idFrom);
    const bool ours = (id >= ID_BTN_BLINK && id <= ID_BTN_COPY) || id == ID_BTN_COMMENT ||
                      id == ID_BTN_IMAGE_THUMB || id == ID_BTN_FLIGHT_TARGET || id == ID_HELP;
    if (!ours) return;
    const CString text = host::ui::LoadString(id);
    const int newline = text.Find(u'\n');
    tip->text = newline < 0 ? text : text.Mid(newline + 1);
}

LRESULT CDlgClickData::OnNotifyLink(const ENLINK* link) {
    if (link->msg == WM_LBUTTONUP) return 1;  // the release of a press taken below
    if (link->msg != WM_LBUTTONDOWN) return 0;
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    m_edit.SetSel(link->chrg.cpMin, link->chrg.cpMax);
    const CString address = m_edit.GetSelText();
    m_edit.SetSel(start, end);
    // Only web and mail addresses go to the desktop: a link in a text or a
    // comment may name anything, and a file or a program must never be
    // opened by a click.
    if (host::ui::HasPrefix(address, {u"http://", u"https://", u"mailto:"})) {
        host::ui::ShellOpen(address);
    }
    return 1;
}
