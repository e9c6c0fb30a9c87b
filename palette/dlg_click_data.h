// CDlgClickData: the floating palette that shows the information text of
// the object selected in the sky chart, with its toolbar, the posted-image
// thumbnail strip and the altitude graph.
//
// The host makes it once, lends it the engines (SetCorLum) and calls
// OnUpdate whenever the selection, the time or the place may have changed;
// a refresh that finds nothing changed costs five engine queries.  The
// palette keeps its settings record, text engine, comment store, strip,
// graph and toolbar; it tells the host's frame window of what it does by
// the messages below.  Everything runs on the window thread.
#pragma once

#include "cdf/cdf.h"
#include "clickdata/click_data.h"
#include "host/tel_ctrl.h"
#include "host/ui/alt_graph.h"
#include "host/ui/dialog.h"
#include "host/ui/rich_edit.h"
#include "palette/bar_click_data.h"
#include "res/resource.h"
#include "settings/cdstatus.h"
#include "thumbs/image_thumb.h"

class CDlgClickData : public CLumDialog {
  public:
    // Messages sent to the host's frame window.
    static constexpr UINT WM_CLICKDATA_DICTIONARY = 1724;  // lParam: the dictionary key (CString*)
    static constexpr UINT WM_CLICKDATA_MODAL = 1725;   // wParam 1: a modal dialog opens, 0: closed
    static constexpr UINT WM_CLICKDATA_SELECT = 1729;  // wParam: the object selected (CString*)
    // The timer that retries a thumbnail search while the strip is busy.
    static constexpr UINT_PTR kThumbTimerId = 3344;
    static constexpr UINT kThumbTimerMs = 100;

    // `dataDir` is the host's data folder, ending in a separator: the
    // default comment file is dataDir + "lumvex.cdf".  No window yet.
    CDlgClickData(CWnd* parent, const CString& dataDir);
    ~CDlgClickData() override;

    // Lends the engines (the second may be null) and sends both the two
    // engine defaults saved with the display settings.  Before Create.
    void SetCorLum(CCorLum* engine, CCorLum* engine2);
    // Makes the window, hidden.  0 when it cannot be made.
    int Create();
    // Shows the palette for `obj` (the engine's current selection when
    // empty), moved off the centre of the host's view when it covers it.
    void ShowClickData(const CString& obj);
    // The refresh: rebuilds what changed since the last one (everything
    // with a non-zero `force`).  A hidden palette ignores it.
    void OnUpdate(int force);
    // Selects `obj` in the engine and tells the frame window.
    void UpdateClickDataObj(const CString& obj);
    CString GetClickDataObject() const { return m_object; }
    // Rebuilds and shows the text; non-zero when there is any.
    int GetClickData();
    void InvalidateCache() { m_clickData.ClearCache(); }
    // Whether the "keep centred" button is checked.
    int GetTrack() const { return m_toolbar.IsButtonChecked(ID_BTN_TRACK); }
    // Half-transparent while inactive (on), or always opaque.
    void SetTransparent(int on);
    // The host's UI mode (6: flight); may be null.
    void SetUIStylePtr(int* style) { m_uiStyle = style; }
    void SetOriginNorth(int north) { m_clickData.SetOriginNorth(north); }
    // Sends `query` to `engine` (the palette's engine when null): 1 when the
    // reply is "TRUE" in any letter case.
    int CorLumBool(const CString& query, CCorLum* engine);

    // The host's telescope control; may be null.
    CTelCtrl* m_telescope = nullptr;

  protected:
    int OnInitDialog() override;
    void OnDestroy() override;
    bool PaintsItself() const override { return true; }
    int OnEraseBkgnd(QPainter& dc) override;
    void OnPaint(QPainter& dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnSize(UINT type, int cx, int cy) override;
    int OnNcActivate(int active) override;
    void OnActivate(UINT state) override;
    void OnClose() override;
    void OnTimer(UINT_PTR id) override;
    void OnCommand(UINT id) override;
    LRESULT OnNotify(const NMHDR* header) override;
    // Tool tips of the toolbar's buttons: the part after "\n" of the
    // button's string.
    void OnToolTipNotify(TOOLTIPTEXT* tip);
    // A click on an address in the text opens it, when it is a web or mail
    // address; the press and its release are consumed.
    LRESULT OnNotifyLink(const ENLINK* link);
    // A right-button release in the text (the context menu).
    LRESULT OnNotifyMsgFilter(const MSGFILTER* filter);

    // Toolbar commands, each routed to the operation of the same name.
    void OnBtnBlink() { OnClickBtnBlink(); }
    void OnBtnMark() { OnClickBtnMark(); }
    void OnBtnDic() { OnClickBtnDic(); }
    void OnBtnLook() { OnClickBtnLook(); }
    void OnBtnTrack() { OnClickBtnTrack(); }
    void OnBtnTel() { OnClickBtnTel(); }
    void OnBtnFlightTarget() { OnClickBtnFlightTarget(); }
    void OnBtnAltGrp() { OnClickBtnAltGrp(); }
    void OnBtnEdt() { OnClickBtnEdt(); }
    void OnBtnCopy() { OnClickBtnCopy(); }
    void OnBtnComment() { OnClickBtnComment(); }
    void OnBtnImageThumb() { OnClickBtnImageThumb(); }
    void OnRBtnCopy();
    void OnRBtnSelAll();
    // The commands (palette/commands.cpp).
    void OnClickBtnBlink();
    // Marked in either engine: unmark in both; else mark in both.
    void OnClickBtnMark();
    // Tells the frame window to open the dictionary at the object (at the
    // constellation an equatorial point lies in).
    void OnClickBtnDic();
    void OnClickBtnLook();
    // Starts or stops keeping the object at the chart's centre.
    void OnClickBtnTrack();
    // Slews the telescope to the object (J2000 degrees); a moving object
    // is given one hour later first, when the model wants it.
    void OnClickBtnTel();
    void OnClickBtnFlightTarget();
    void OnClickBtnEdt();
    // The text (with its title when that is on the bar) to the clipboard.
    void OnClickBtnCopy();
    // Edits the object's comment; stored and shown again only when changed.
    void OnClickBtnComment();
    // Show or hide the altitude graph and the thumbnail strip.
    void OnClickBtnAltGrp();
    void OnClickBtnImageThumb();
    // Ctrl+A anywhere in the palette selects the whole text.
    bool OnOtherEvent(QEvent* event) override;
    // The engine's number reply to `query`.
    int QueryInt(const CString& query);
    // The object's J2000 place in degrees, as the engine gives it now.
    tagAD QueryObjectPlace();
    // Sends a modal dialog's open (1) or close (0) to the frame window.
    void NotifyModal(int open);

    // 1 when `object` can be made the flight target.
    int CheckFlightTargetObject() const;

    // The parts of the refresh.
    // Asks the selection, time and place; true when the text must be
    // rebuilt.
    bool DetectChange(int force);
    void DrawAltGrp();
    void DrawImageThumb();
    void StartGetImageThumb(const CString& key);
    void UpdateButtonStates();
    // Shows or hides a band below the text, growing or shrinking the window
    // by its height; the top, left and width stay.
    void ToggleAltGrp();
    void ToggleImageThumb();
    void ToggleBand(int id, int shown, int height);
    // Sets the window's opacity now (layered windows only show it).
    void SetAlpha(int alpha);

    CString m_dataDir;
    COLORREF m_bgBrush = RGB(40, 40, 40);
    CString m_commentText;
    CString m_object;
    CString m_shownObject;
    CString m_starId;
    CString m_thumbObject;
    double m_prevJd = -999999.0;
    double m_prevLatitude = 999.0;
    double m_prevLongitude = 999.0;
    double m_prevAltitude = 999.0;
    CAltGraph m_altGraph;
    CCdStatus m_status;
    CImageThumb m_thumbs;
    int* m_uiStyle = nullptr;
    int m_alpha = 255;
    CLumClickData m_clickData;
    CCdf m_cdf;
    // The comment file the store was loaded from, and is saved back to.
    CString m_cdfPath;
    int m_cdfModified = 0;
    CLumRichEditCtrl m_edit;
    CBarClickData m_toolbar;
    int m_altShown = 0;
    int m_thumbShown = 0;
    int m_editTop = 0;
    int m_margin = 0;
    int m_altHeight = 0;
    int m_thumbHeight = 0;
    int m_bandGap = 0;
    int m_altTarget = 1;
    int m_eraseOnce = 0;
    int m_eraseStrip = 0;
    int m_netConnected = 0;
    CString m_pendingKey;
    int m_timerBusy = 0;
    UINT_PTR m_timerId = 0;
};
