#include "host/ui/dialog.h"

#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QTextEdit>
#include <QWidget>

#include "host/ui/qt_text.h"
#include "res/dialogs.h"

CLumDialog::CLumDialog(int templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CLumDialog::CLumDialog(CCorLum* engine, CCorLum* engine2, int templateId, CWnd* parent)
    : CLumDialog(templateId, parent) {
    m_engine = engine;
    m_engine2 = engine2;
}

CRect CLumDialog::MapDialogRect(const QFont& font, const CRect& units) {
    // The framework's base units: the average width of the 52 Latin
    // letters, rounded, and the font's height.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    const auto x = [baseX](int u) { return u * baseX / 4; };
    const auto y = [baseY](int u) { return u * baseY / 8; };
    return {x(units.left), y(units.top), x(units.right), y(units.bottom)};
}

int CLumDialog::Create(CCorLum* engine) {
    if (engine) m_engine = engine;
    return CreateWindowFromTemplate(false);
}

int CLumDialog::CreateWindowFromTemplate(bool modal) {
    const ResDialog* dialog = FindResDialog(m_templateId);
    if (!dialog || GetSafeHwnd()) return 0;
    QWidget* owner = m_parent ? m_parent->GetSafeHwnd() : nullptr;
    auto* window = new QWidget(owner, modal ? Qt::Dialog : Qt::Tool);
    const QFont font(host::ui::ToQString(dialog->fontFace), dialog->fontPoints);
    window->setFont(font);
    window->setWindowTitle(host::ui::ToQString(dialog->title));
    const CRect client = MapDialogRect(font, {0, 0, dialog->cx, dialog->cy});
    window->resize(client.Width(), client.Height());
    for (const ResDialogItem& item : dialog->items) {
        QWidget* child = nullptr;
        if (std::u16string_view(item.kind) == u"RICHEDIT") {
            child = new QTextEdit(window);
        } else if (item.text && *item.text) {
            child = new QLabel(host::ui::ToQString(item.text), window);
        } else {
            child = new QWidget(window);
        }
        SetDlgCtrlID(child, item.id);
        child->setGeometry(host::ui::ToQRect(
            MapDialogRect(font, {item.x, item.y, item.x + item.cx, item.y + item.cy})));
    }
    AttachWidget(window, true);
    m_modal = modal;
    OnInitDialog();
    return 1;
}

int CLumDialog::DoModal() {
    if (!CreateWindowFromTemplate(true)) return IDCANCEL;
    QEventLoop loop;
    m_loop = &loop;
    m_result = IDCANCEL;
    GetSafeHwnd()->setWindowModality(Qt::ApplicationModal);
    ShowWindow(SW_SHOW);
    loop.exec();
    m_loop = nullptr;
    DestroyWindow();
    return m_result;
}

void CLumDialog::EndDialog(int result) {
    m_result = result;
    if (m_modal && m_loop) {
        m_loop->quit();
        return;
    }
    ShowWindow(SW_HIDE);
}

void CLumDialog::OnCommand(UINT id) {
    if (id == IDOK) OnOK();
    if (id == IDCANCEL) OnCancel();
}
