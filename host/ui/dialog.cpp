#include "host/ui/dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QWidget>
#include <utility>
#include <vector>

#include "host/ui/qt_text.h"
#include "host/ui/ui_misc.h"
#include "res/dialogs.h"

namespace {

// Whether a template text marks an access key ("&O"; "&&" is an ampersand).
bool HasMnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return true;
        ++i;
    }
    return false;
}

// Buttons, check boxes and group boxes take "&" as their access key by
// themselves; a label does only with a buddy, else it shows "&O" as typed.
// As in the templates' own convention, a label's key moves the focus to the
// next item that takes it; with none, the marks are dropped.
void LinkMnemonics(const std::vector<QWidget*>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(items[i]);
        if (!label || !HasMnemonic(label->text())) continue;
        QWidget* next = nullptr;
        for (size_t j = i + 1; j < items.size() && !next; ++j) {
            if (!qobject_cast<QLabel*>(items[j]) && items[j]->focusPolicy() != Qt::NoFocus)
                next = items[j];
        }
        if (next) {
            label->setBuddy(next);
        } else {
            QString text = label->text();
            text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            text.remove(u'&');
            text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
            label->setText(text);
        }
    }
}

}  // namespace

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

QWidget* CLumDialog::MakeItem(QWidget* window, const ResDialogItem& item, QButtonGroup*& radios) {
    const std::u16string_view kind(item.kind);
    const QString text = host::ui::ToQString(item.text ? item.text : u"");
    if (kind == u"RICHEDIT") return new QTextEdit(window);
    if (kind == u"CHECKLIST") return new QListWidget(window);
    if (kind == u"GROUPBOX") return new QGroupBox(text, window);
    if (kind == u"CHECKBOX") return new QCheckBox(text, window);
    if (kind == u"RADIOGROUP" || kind == u"RADIO") {
        // A group starts at its first button; the buttons that follow it
        // in the template belong to it.
        if (kind == u"RADIOGROUP" || !radios) radios = new QButtonGroup(window);
        auto* button = new QRadioButton(text, window);
        radios->addButton(button);
        return button;
    }
    if (kind == u"BUTTON") {
        auto* button = new QPushButton(text, window);
        const int id = item.id;
        button->setDefault(id == IDOK);
        QObject::connect(button, &QPushButton::clicked, window,
                         [this, id] { SendMessage(WM_COMMAND, id); });
        return button;
    }
    if (!text.isEmpty()) return new QLabel(text, window);
    return new QWidget(window);
}

std::function<void(CLumDialog&)>& CLumDialog::ModalHook() {
    static std::function<void(CLumDialog&)> hook;
    return hook;
}

void CLumDialog::SetModalHook(std::function<void(CLumDialog&)> hook) {
    ModalHook() = std::move(hook);
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
    QButtonGroup* radios = nullptr;
    std::vector<QWidget*> items;
    for (const ResDialogItem& item : dialog->items) {
        QWidget* child = MakeItem(window, item, radios);
        SetDlgCtrlID(child, item.id);
        child->setGeometry(host::ui::ToQRect(
            MapDialogRect(font, {item.x, item.y, item.x + item.cx, item.y + item.cy})));
        items.push_back(child);
    }
    LinkMnemonics(items);
    // The modal dialogs open over a dark palette: they take its look.
    if (modal && m_look == 0) host::ui::ApplyDarkLook(window);
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
    m_ended = false;
    GetSafeHwnd()->setWindowModality(Qt::ApplicationModal);
    ShowWindow(SW_SHOW);
    if (ModalHook()) ModalHook()(*this);
    if (!m_ended) loop.exec();
    m_loop = nullptr;
    DestroyWindow();
    return m_result;
}

void CLumDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
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
