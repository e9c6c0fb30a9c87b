#include "palette/settings_dialog.h"

#include "host/ui/ui_misc.h"
#include "res/resource.h"
#include "res/string_table.h"

namespace {

// The defaults button's colour scheme: plain style, light text on grey.
constexpr COLORREF kButtonText = RGB(196, 196, 196);
constexpr COLORREF kButtonFace = RGB(107, 107, 107);
constexpr COLORREF kButtonEdge = RGB(196, 196, 196);

constexpr int kRadioIds[] = {IDC_CD_SPAN_24,    IDC_CD_SPAN_18,   IDC_CD_SPAN_12,
                             IDC_CD_CENTER_0,   IDC_CD_CENTER_12, IDC_CD_PREC_SECOND,
                             IDC_CD_PREC_MINUTE};

}  // namespace

const std::array<CCdEdtDlg::ListLine, CCdEdtDlg::kListLines>& CCdEdtDlg::ListLines() {
    using S = CCdStatus;
    static const std::array<ListLine, kListLines> lines = {{
        {IDS_CD_IGNORE_ERASE, &S::IgnoreErase},
        {IDS_CD_POPUP, &S::DispPopup},
        {IDS_CD_CNS_INFO, &S::CnsInfo},
        {IDS_CD_MAG, &S::DispMag},
        {IDS_CD_EQT2000, &S::DispEqt2000},
        {IDS_CD_EQT_DATE_APP, &S::DispEqtDateApp},
        {IDS_CD_EQT1950, &S::DispEqt1950},
        {IDS_CD_ECL_DATE_MEAN, &S::DispEclDateMean},
        {IDS_CD_ECL_DATE_APP, &S::DispEclDateApp},
        {IDS_CD_ECL2000, &S::DispEcl2000},
        {IDS_CD_GAL, &S::DispGal},
        {IDS_CD_HRZ, &S::DispHrz},
        {IDS_CD_HOUR_ANGLE, &S::DispHourAngle},
        {IDS_CD_RISE_SET, &S::DispRiseSet},
        {IDS_CD_DELTA_EQT, &S::DispDeltaEqt},
        {IDS_CD_AZMTH, &S::DispAzmth},
        {IDS_CD_DIST_R, &S::DispDistR},
        {IDS_CD_SOLAR_ORBIT, &S::SolarOrbitDetails},
        {IDS_CD_PLANET_TABLE, &S::PlanetPhysicalTable},
        {IDS_CD_STAR_DETAILS, &S::StarDetails},
        {IDS_CD_PGC_DETAILS, &S::PgcDetails},
        {IDS_CD_NAME_ON_BAR, &S::DispNameOnBar},
        {IDS_CD_COMMENT, &S::DispComment},
        {IDS_CD_TRANSPARENT, &S::TransparentOnInactive},
        {IDS_CD_MIN_SEC, &S::DispMinSec},
    }};
    return lines;
}

CCdEdtDlg::CCdEdtDlg(CCorLum* engine, CCorLum* engine2, CWnd* parent)
    : CLumDialog(engine, engine2, IDD_CDEDIT, parent) {
    m_regKey = LoadResString(IDS_CDEDIT_REGKEY);
}

int CCdEdtDlg::OnInitDialog() {
    CLumDialog::OnInitDialog();
    AttachControls();
    InitListBoxItem();
    m_status.Load();
    m_loaded = m_status;
    LoadStatus();
    return 1;
}

void CCdEdtDlg::AttachControls() {
    m_altGroup.Attach(IDC_CD_ALT_GROUP, this);
    m_precisionGroup.Attach(IDC_CD_PREC_GROUP, this);
    m_list.Attach(IDC_CD_LIST, this);
    m_defaultButton.Attach(IDC_CD_DEFAULT, this, 0, kButtonText, kButtonFace, kButtonEdge, 1);
    for (size_t i = 0; i < m_radios.size(); ++i) m_radios[i].Attach(kRadioIds[i], this);
    m_altMagBox.Attach(IDC_CD_ALT_MAG, this);
    if (m_look == 0) CLumTheme::SetWindowTheme(&m_list, u"", u"");
}

void CCdEdtDlg::InitListBoxItem() {
    for (int i = 0; i < kListLines; ++i) {
        m_index[static_cast<size_t>(i)] = m_list.AddString(LoadResString(ListLines()[i].stringId));
    }
}

void CCdEdtDlg::LoadStatus() {
    for (int i = 0; i < kListLines; ++i) {
        m_list.SetCheck(m_index[static_cast<size_t>(i)], m_status.*ListLines()[i].field);
    }
    m_span = m_status.AltSpan;
    m_center = m_status.AltCenter;
    m_magnify = m_status.AltMag;
    m_precision = m_status.Precision;
    UpdateData(0);
}

void CCdEdtDlg::SaveStatus() {
    UpdateData(1);
    for (int i = 0; i < kListLines; ++i) {
        m_status.*ListLines()[i].field = m_list.GetCheck(m_index[static_cast<size_t>(i)]) == 1;
    }
    m_status.AltSpan = m_span;
    m_status.AltCenter = m_center;
    m_status.AltMag = m_magnify;
    m_status.Precision = m_precision;
    m_status.SaveChanges(m_loaded);
    // The engine follows at once; the second engine is told by the palette
    // when it is lent again.
    if (m_engine) {
        for (const CString& command : m_status.EngineDefaultCommands()) m_engine->Doit(command);
    }
}

void CCdEdtDlg::DoDataExchange(int save) {
    DDX_Radio(this, save, IDC_CD_SPAN_24, m_span);
    DDX_Radio(this, save, IDC_CD_CENTER_0, m_center);
    DDX_Check(this, save, IDC_CD_ALT_MAG, m_magnify);
    DDX_Radio(this, save, IDC_CD_PREC_SECOND, m_precision);
}

void CCdEdtDlg::OnOK() {
    SaveStatus();
    CLumDialog::OnOK();
}

void CCdEdtDlg::OnCommand(UINT id) {
    if (id == static_cast<UINT>(IDC_CD_DEFAULT)) return OnBtnDefault();
    CLumDialog::OnCommand(id);
}

void CCdEdtDlg::OnBtnDefault() {
    const CString question = LoadResString(IDS_CD_CONFIRM_DEFAULT);
    if (host::ui::MessageBox(this, question, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    m_status.Init();
    LoadStatus();
}
