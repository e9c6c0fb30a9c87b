#include "host/ui/toolbar.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <QToolTip>
#include <QWidget>

#include "host/ui/event_hook.h"
#include "host/ui/qt_text.h"
#include "res/toolbar.h"

namespace {

// The framework's button face around a 16 x 15 picture.
constexpr int kButtonExtraWidth = 7;
constexpr int kButtonExtraHeight = 7;
constexpr int kSeparatorWidth = 8;
constexpr int kBarBorder = 1;

QImage ToQImage(const ResBitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            image.setPixel(x, y, bitmap.pixels[static_cast<size_t>(y * bitmap.width + x)]);
        }
    }
    return image;
}

}  // namespace

int CLumToolBar::CreateBar(CWnd* parent, int resourceId, int flag) {
    (void)flag;
    const ResToolBar* bar = FindResToolBar(resourceId);
    if (!bar || !parent || !parent->GetSafeHwnd()) return 0;
    m_parent = parent;
    m_imageWidth = bar->buttonWidth;
    m_imageHeight = bar->buttonHeight;
    auto* widget = new QWidget(parent->GetSafeHwnd());
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(kBarBorder, kBarBorder, kBarBorder, kBarBorder);
    row->setSpacing(0);
    for (const int id : bar->commands) {
        if (id == 0) {
            row->addSpacing(kSeparatorWidth);
            continue;
        }
        auto* button = new QToolButton(widget);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(m_imageWidth + kButtonExtraWidth, m_imageHeight + kButtonExtraHeight);
        button->setIconSize(QSize(m_imageWidth, m_imageHeight));
        SetDlgCtrlID(button, id);
        QObject::connect(button, &QToolButton::clicked, [this, id] {
            // The program owns the checked state: undo the button's toggle.
            m_buttons[id]->setChecked(m_checked[id]);
            if (m_parent) m_parent->SendMessage(WM_COMMAND, id, 0);
        });
        new host::ui::EventHook(button,
                                [this, id](QEvent* event) { return OnButtonEvent(id, event); });
        m_buttons[id] = button;
        m_checked[id] = false;
        row->addWidget(button);
    }
    row->addStretch(1);
    AttachWidget(widget, true);
    Style();
    widget->show();
    return 1;
}

void CLumToolBar::Style() {
    // The dark look paints the bar like the palette, checked buttons a
    // little lighter and framed.
    if (m_look || !GetSafeHwnd()) return;
    SetBackgroundColor(RGB(40, 40, 40));
    GetSafeHwnd()->setStyleSheet(QStringLiteral(
        "QToolButton { border: 1px solid transparent; border-radius: 2px; }"
        "QToolButton:hover { background: rgb(64,64,64); border-color: rgb(96,96,96); }"
        "QToolButton:checked { background: rgb(72,72,84); border-color: rgb(120,120,140); }"));
}

int CLumToolBar::SetBitmap(int normalId, int disabledId) {
    const ResBitmap normal = LoadResBitmap(normalId), disabled = LoadResBitmap(disabledId);
    if (normal.IsEmpty() || disabled.IsEmpty()) return 0;
    const QImage normalStrip = ToQImage(normal), disabledStrip = ToQImage(disabled);
    int index = 0;
    for (QObject* child : GetSafeHwnd()->children()) {
        auto* button = dynamic_cast<QToolButton*>(child);
        if (!button) continue;
        const QRect cell(index * m_imageWidth, 0, m_imageWidth, m_imageHeight);
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(normalStrip.copy(cell)), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(disabledStrip.copy(cell)), QIcon::Disabled);
        button->setIcon(icon);
        ++index;
    }
    return 1;
}

CSize CLumToolBar::CalcFixedLayout(int stretch, int horizontal) const {
    (void)stretch, (void)horizontal;
    const int height = m_imageHeight + kButtonExtraHeight + 2 * kBarBorder;
    const int width = GetSafeHwnd() ? GetSafeHwnd()->sizeHint().width() : 0;
    return {width, height};
}

void CLumToolBar::EnableButton(int id, int enable) {
    if (QToolButton* button = GetButton(id)) button->setEnabled(enable != 0);
}

void CLumToolBar::CheckButton(int id, int check) {
    QToolButton* button = GetButton(id);
    if (!button) return;
    m_checked[id] = check != 0;
    button->setChecked(check != 0);
}

int CLumToolBar::IsButtonEnabled(int id) const {
    const QToolButton* button = GetButton(id);
    return button && button->isEnabled();
}

int CLumToolBar::IsButtonChecked(int id) const {
    const QToolButton* button = GetButton(id);
    return button && button->isChecked();
}

QToolButton* CLumToolBar::GetButton(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() || !GetSafeHwnd() ? nullptr : it->second;
}

bool CLumToolBar::OnButtonEvent(int id, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !m_parent) return false;
    if (!(m_barStyle & CBRS_TOOLTIPS)) return true;
    TOOLTIPTEXT tip;
    tip.hwndFrom = GetButton(id);
    tip.idFrom = static_cast<UINT_PTR>(id);
    tip.code = TTN_NEEDTEXT;
    m_parent->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(static_cast<NMHDR*>(&tip)));
    const auto* help = static_cast<QHelpEvent*>(event);
    if (tip.text.IsEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), host::ui::ToQString(tip.text), GetButton(id));
    }
    return true;
}
