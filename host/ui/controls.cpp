#include "host/ui/controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QListWidget>
#include <QMessageBox>
#include <QWidget>

#include "host/ui/qt_text.h"

int CLumListBoxCheck::Attach(int id, CWnd* parent) {
    return SubclassDlgItem(id, parent) && List() ? 1 : 0;
}

QListWidget* CLumListBoxCheck::List() const {
    return dynamic_cast<QListWidget*>(GetSafeHwnd());
}

int CLumListBoxCheck::AddString(const CString& text) {
    if (!List()) return -1;
    auto* line = new QListWidgetItem(host::ui::ToQString(text), List());
    line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    line->setCheckState(Qt::Unchecked);
    return List()->count() - 1;
}

int CLumListBoxCheck::GetCount() const {
    return List() ? List()->count() : 0;
}

CString CLumListBoxCheck::GetText(int index) const {
    const QListWidgetItem* line = List() ? List()->item(index) : nullptr;
    return line ? host::ui::FromQString(line->text()) : CString();
}

int CLumListBoxCheck::GetCheck(int index) const {
    const QListWidgetItem* line = List() ? List()->item(index) : nullptr;
    if (!line) return -1;
    return line->checkState() == Qt::Checked ? 1 : 0;
}

void CLumListBoxCheck::SetCheck(int index, int check) {
    QListWidgetItem* line = List() ? List()->item(index) : nullptr;
    if (line) line->setCheckState(check ? Qt::Checked : Qt::Unchecked);
}

int CLumButtonBase::Attach(int id, CWnd* parent) {
    return SubclassDlgItem(id, parent) && Button() ? 1 : 0;
}

QAbstractButton* CLumButtonBase::Button() const {
    return dynamic_cast<QAbstractButton*>(GetSafeHwnd());
}

int CLumButtonBase::GetCheck() const {
    return Button() && Button()->isChecked() ? 1 : 0;
}

void CLumButtonBase::SetCheck(int check) {
    if (Button()) Button()->setChecked(check != 0);
}

int CLumButton::Attach(int id, CWnd* parent, int style, COLORREF text, COLORREF face, COLORREF edge,
                       int rounded) {
    if (!CLumButtonBase::Attach(id, parent)) return 0;
    (void)style;
    const auto rgb = [](COLORREF c) {
        return QStringLiteral("rgb(%1,%2,%3)")
            .arg(GetRValue(c))
            .arg(GetGValue(c))
            .arg(GetBValue(c));
    };
    // Light text on the frame colour, a light edge, and the edge colour
    // while pressed.
    Button()->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: %2; border: 1px solid %3; "
                       "border-radius: %4px; padding: 1px 2px; } "
                       "QPushButton:pressed { background: %3; color: %2; }")
            .arg(rgb(text), rgb(face), rgb(edge))
            .arg(rounded ? 3 : 0));
    return 1;
}

int CLumGroupBox::Attach(int id, CWnd* parent) {
    return SubclassDlgItem(id, parent);
}

namespace {

QAbstractButton* ButtonItem(CWnd* dialog, int id) {
    return dialog ? dynamic_cast<QAbstractButton*>(dialog->GetDlgItem(id)) : nullptr;
}

}  // namespace

void DDX_Radio(CWnd* dialog, int save, int firstId, int& value) {
    QAbstractButton* first = ButtonItem(dialog, firstId);
    QButtonGroup* group = first ? first->group() : nullptr;
    if (!group) return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (save) {
        value = static_cast<int>(buttons.indexOf(group->checkedButton()));
        return;
    }
    // No button checked for a value out of range: an exclusive group would
    // refuse to uncheck its last checked button.
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(i == value);
    group->setExclusive(true);
}

void DDX_Check(CWnd* dialog, int save, int id, int& value) {
    QAbstractButton* box = ButtonItem(dialog, id);
    if (!box) return;
    if (save) {
        value = box->isChecked() ? 1 : 0;
    } else {
        box->setChecked(value != 0);
    }
}

namespace host::ui {

namespace {

std::function<int(const CString&, unsigned)>& BoxHandler() {
    static std::function<int(const CString&, unsigned)> handler;
    return handler;
}

}  // namespace

int MessageBox(CWnd* owner, const CString& text, unsigned type) {
    if (BoxHandler()) return BoxHandler()(text, type);
    QWidget* window = owner ? owner->GetSafeHwnd() : nullptr;
    QMessageBox box(window);
    box.setWindowTitle(window ? window->windowTitle() : QString());
    box.setText(ToQString(text));
    if ((type & 0xF0) == MB_ICONEXCLAMATION) box.setIcon(QMessageBox::Warning);
    const bool cancel = (type & 0x0F) == MB_OKCANCEL;
    box.setStandardButtons(cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
}

void SetMessageBoxHandler(std::function<int(const CString&, unsigned)> handler) {
    BoxHandler() = std::move(handler);
}

}  // namespace host::ui
