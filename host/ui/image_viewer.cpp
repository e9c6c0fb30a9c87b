#include "host/ui/image_viewer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "host/ui/qt_text.h"
#include "host/ui/ui_misc.h"

namespace {

// The viewer is sized for a photograph, and scales larger ones down.
constexpr int kImageWidth = 640;
constexpr int kImageHeight = 480;

// The post's page is opened only as a web address: the gallery's reply
// decides the address, and it must not start a program or open a file.
bool IsWebAddress(const CString& url) {
    return host::ui::HasPrefix(url, {u"http://", u"https://"});
}

}  // namespace

int CDlgImageViewer::Create() {
    if (GetSafeHwnd()) return 0;
    QWidget* owner = m_parent ? m_parent->GetSafeHwnd() : nullptr;
    auto* window = new QWidget(owner ? owner->window() : nullptr, Qt::Tool);
    window->setWindowTitle(host::ui::ToQString(m_title));
    auto* column = new QVBoxLayout(window);
    m_image = new QLabel(window);
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setMinimumSize(kImageWidth / 2, kImageHeight / 2);
    column->addWidget(m_image, 1);
    for (QLabel*& line : m_lines) {
        line = new QLabel(window);
        line->setWordWrap(true);
        column->addWidget(line);
    }
    auto* buttons = new QHBoxLayout();
    m_previous = new QPushButton(QStringLiteral("<"), window);
    m_next = new QPushButton(QStringLiteral(">"), window);
    m_browse = new QPushButton(QStringLiteral("ブラウザで開く"), window);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(m_browse);
    column->addLayout(buttons);
    QObject::connect(m_previous, &QPushButton::clicked, [this] { Step(kStepPrevious); });
    QObject::connect(m_next, &QPushButton::clicked, [this] { Step(kStepNext); });
    QObject::connect(m_browse, &QPushButton::clicked, [this] { Browse(); });
    AttachWidget(window, true);
    return 1;
}

void CDlgImageViewer::SetImagePath(const CString& path) {
    m_path = path;
    Refresh();
}

void CDlgImageViewer::SetImageNum(int count) {
    m_count = count;
    Refresh();
}

void CDlgImageViewer::SetSelImageNo(int index) {
    m_selected = index;
    Refresh();
}

void CDlgImageViewer::SetImageInfo(int line, const CString& text) {
    if (line != 0 && line != 1) return;
    m_info[line] = text;
    Refresh();
}

void CDlgImageViewer::ShowDialog() {
    Refresh();
    ShowWindow(SW_SHOW);
}

void CDlgImageViewer::EndDialog() {
    ShowWindow(SW_HIDE);
}

void CDlgImageViewer::Refresh() {
    if (!GetSafeHwnd()) return;
    // A path without a readable picture (a failed download) shows nothing.
    const QPixmap picture(host::ui::ToQString(m_path));
    m_image->setPixmap(picture.isNull()
                           ? QPixmap()
                           : picture.scaled(kImageWidth, kImageHeight, Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation));
    for (int i = 0; i < 2; ++i) m_lines[i]->setText(host::ui::ToQString(m_info[i]));
    m_previous->setEnabled(m_selected > 0);
    m_next->setEnabled(m_selected + 1 < m_count);
    m_browse->setVisible(m_useBrowse != 0);
    m_browse->setEnabled(IsWebAddress(m_url));
}

void CDlgImageViewer::Step(int direction) {
    if (m_parent) m_parent->PostMessage(WM_IMAGE_VIEWER_STEP, direction, 0);
}

void CDlgImageViewer::Browse() {
    if (IsWebAddress(m_url)) host::ui::ShellOpen(m_url);
}
