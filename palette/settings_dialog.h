// CCdEdtDlg: the modal dialog "天体情報パレット設定" that edits the palette's
// display settings.  It works on a record of its own, loaded from the store
// when it opens: 25 on/off settings in a check list, the altitude graph's
// span and centre as radio groups, its magnification as a check box, and
// the coordinate precision as a radio group.  OK saves what the user
// changed and tells the first engine the two engine defaults; Cancel
// writes nothing.
#pragma once

#include <array>

#include "host/ui/controls.h"
#include "host/ui/dialog.h"
#include "settings/cdstatus.h"

class CCdEdtDlg : public CLumDialog {
  public:
    CCdEdtDlg(CCorLum* engine, CCorLum* engine2, CWnd* parent);

    // The on/off settings in the order of the check list: the string of
    // the line and the field it shows (a mark is 1).
    struct ListLine {
        int stringId;
        int CCdStatus::*field;
    };
    static constexpr int kListLines = 25;
    static const std::array<ListLine, kListLines>& ListLines();

  protected:
    int OnInitDialog() override;
    void OnOK() override;
    void OnCommand(UINT id) override;
    void DoDataExchange(int save) override;
    // Asks, then puts the defaults in the controls; nothing is written
    // until OK.
    void OnBtnDefault();

    void AttachControls();
    void InitListBoxItem();
    // Record -> controls, controls -> record and the store.
    void LoadStatus();
    void SaveStatus();

    CLumGroupBox m_altGroup;
    CLumGroupBox m_precisionGroup;
    CLumListBoxCheck m_list;
    CLumButton m_defaultButton;
    std::array<CLumRadioButton, 7> m_radios;
    CLumCheckBox m_altMagBox;
    int m_span = 0;
    int m_center = 0;
    int m_magnify = 0;
    int m_precision = 0;
    CCdStatus m_status;
    // The record as loaded: only what differs from it is saved, so that a
    // setting another process saved meanwhile stays.
    CCdStatus m_loaded;
    // The check list's index of each line of ListLines().
    std::array<int, kListLines> m_index{};
};
