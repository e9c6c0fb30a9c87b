// CMainFrame: the planetarium's main window around the sky chart, and the
// host of the object-information palette.
//
// It owns the palette, lends it the sky engine and drives it as the host
// does: a click in the chart selects the object (ShowClickData, which sets
// the engine's ClickData.Object), and every change of time or place calls
// OnUpdate.  It answers the palette's messages: 1724 opens the dictionary
// window at the key, 1725 makes the chart ignore clicks while a modal
// dialog of the palette is open, 1729 rings the selected object.  Time
// controls (now, one hour or one day either way, a running clock) and the
// place dialog sit in its toolbar; the place is kept in the settings store.
// The chart follows the view the palette's centre and track commands set in
// the engine: centred on the object, and kept so while tracking.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <memory>

#include "gui/dictionary.h"
#include "gui/place.h"
#include "gui/sky_chart.h"
#include "host/ui/wnd.h"
#include "palette/dlg_click_data.h"

class QAction;
class QLabel;

namespace gui {

class CMainFrame : public CWnd {
  public:
    // Interval of the running clock, milliseconds.
    static constexpr int kClockMs = 1000;

    // `dataDir`: the data folder of the palette's comment file.
    CMainFrame(CSkyEngine* engine, const CString& dataDir);
    ~CMainFrame() override;

    // Makes the window (hidden) and the palette; 0 when it cannot.
    int Create();
    CSkyChart* Chart() const { return m_chart; }
    CDlgClickData& Palette() { return *m_palette; }
    // The dictionary window, once message 1724 opened it; else null.
    CDictionaryWindow* Dictionary() const { return m_dictionary; }
    // A toolbar command by its object name ("now", "back-day", "back-hour",
    // "forward-hour", "forward-day", "clock", "place", "equatorial").
    QAction* Action(const char* name) const;

    // Time: the computer's clock, or a step in days (negative: back).
    void SetNow();
    void StepTime(double days);
    void SetClockRunning(bool running);
    bool ClockRunning() const { return m_clock.isActive(); }
    // Moves the observer (the engine and, with `store`, the settings store).
    void ApplyPlace(const ObserverPlace& place, bool store);
    const ObserverPlace& Place() const { return m_place; }
    void OpenPlaceDialog();
    // The chart and the palette follow the engine's time and place.
    void SkyChanged();
    // Lends the palette a telescope for its telescope button (null: none);
    // the frame does not own it.
    void SetTelescope(CTelCtrl* telescope);
    // What the status line says: local time, zone and place.
    QString StatusText() const;

    // The window and, when shown, the palette over its top-right corner.
    QImage Render();

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Closing the window closes the palette first (it saves its state).
    void OnClose() override;

  private:
    void BuildToolbar();
    void Pick(const CString& id);
    void Tick();
    // Centres the chart on the engine's View.Center when asked to
    // (`centreAssigned`) or while View.Center.Track holds.
    void FollowView(bool centreAssigned);

    CSkyEngine* m_engine;
    CString m_dataDir;
    std::unique_ptr<CDlgClickData> m_palette;
    CSkyChart* m_chart = nullptr;
    CDictionaryWindow* m_dictionary = nullptr;
    QLabel* m_status = nullptr;
    QTimer m_clock;
    QElapsedTimer m_clockStarted;
    double m_clockStartJd = 0.0;
    ObserverPlace m_place;
};

}  // namespace gui
