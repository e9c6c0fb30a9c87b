#include "host/ui/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "host/ui/event_hook.h"
#include "host/ui/qt_text.h"

namespace {

// What the rich edit of the host's platform detects as addresses.
const QRegularExpression& AddressPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("(?:\\b(?:https?|ftp|file|mailto|news|nntp|telnet|gopher|prospero|wais|tel|"
                       "callto|sips?):|\\bwww\\.)[^\\s<>\"]+"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

}  // namespace

int CLumRichEditCtrl::Attach(int id, CWnd* parent) {
    if (!SubclassDlgItem(id, parent) || !Edit()) return 0;
    m_parent = parent;
    QTextEdit* edit = Edit();
    edit->setReadOnly(true);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->viewport()->setMouseTracking(true);
    m_hook = new host::ui::EventHook(edit->viewport(),
                                     [this](QEvent* event) { return OnViewportEvent(event); });
    return 1;
}

CLumRichEditCtrl::~CLumRichEditCtrl() {
    delete m_hook.data();
}

QTextEdit* CLumRichEditCtrl::Edit() const {
    return dynamic_cast<QTextEdit*>(GetSafeHwnd());
}

void CLumRichEditCtrl::SetWindowText(const CString& text) {
    if (!Edit()) return;
    Edit()->setPlainText(host::ui::ToQString(text));
    FindLinks();
}

CString CLumRichEditCtrl::GetWindowText() const {
    return Edit() ? host::ui::FromQString(Edit()->toPlainText()) : CString();
}

int CLumRichEditCtrl::GetTextLength() const {
    return Edit() ? Edit()->document()->characterCount() - 1 : 0;
}

void CLumRichEditCtrl::SetDefaultCharFormat(const CString& face, COLORREF text, COLORREF back) {
    if (!Edit()) return;
    QFont font = Edit()->font();
    font.setFamily(host::ui::ToQString(face));
    Edit()->setFont(font);
    QPalette palette = Edit()->palette();
    palette.setColor(QPalette::Text, host::ui::ToQColor(text));
    palette.setColor(QPalette::Base, host::ui::ToQColor(back));
    Edit()->setPalette(palette);
}

void CLumRichEditCtrl::SetBackgroundColor(COLORREF colour) {
    if (!Edit()) return;
    QPalette palette = Edit()->palette();
    palette.setColor(QPalette::Base, host::ui::ToQColor(colour));
    Edit()->setPalette(palette);
}

void CLumRichEditCtrl::SetWordWrap(int wrap) {
    if (Edit()) Edit()->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void CLumRichEditCtrl::SetReadOnly(int readOnly) {
    if (!Edit()) return;
    Edit()->setReadOnly(readOnly != 0);
    Edit()->setTextInteractionFlags(readOnly
                                        ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                        : Qt::TextEditorInteraction);
}

void CLumRichEditCtrl::Copy() {
    if (Edit()) Edit()->copy();
}

void CLumRichEditCtrl::SetSel(int start, int end) {
    if (!Edit()) return;
    const int length = GetTextLength();
    const auto clamp = [length](int p) { return p < 0 || p > length ? length : p; };
    QTextCursor cursor(Edit()->document());
    cursor.setPosition(clamp(start));
    cursor.setPosition(clamp(end), QTextCursor::KeepAnchor);
    Edit()->setTextCursor(cursor);
}

void CLumRichEditCtrl::GetSel(int& start, int& end) const {
    start = end = 0;
    if (!Edit()) return;
    const QTextCursor cursor = Edit()->textCursor();
    start = cursor.selectionStart();
    end = cursor.selectionEnd();
}

CString CLumRichEditCtrl::GetSelText() const {
    if (!Edit()) return CString();
    // The document marks line breaks inside a selection with U+2029.
    QString text = Edit()->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return host::ui::FromQString(text);
}

void CLumRichEditCtrl::SetSelectionColor(COLORREF colour) {
    if (!Edit()) return;
    QTextCharFormat format;
    format.setForeground(host::ui::ToQColor(colour));
    Edit()->textCursor().mergeCharFormat(format);
}

void CLumRichEditCtrl::HideSelection(int hide) {
    if (!Edit()) return;
    // A hidden selection keeps its range but paints like the text.
    QPalette palette = Edit()->palette();
    const QColor base = palette.color(QPalette::Base), text = palette.color(QPalette::Text);
    palette.setColor(QPalette::Highlight, hide ? base : QColor(51, 153, 255));
    palette.setColor(QPalette::HighlightedText, hide ? text : QColor(Qt::white));
    Edit()->setPalette(palette);
}

int CLumRichEditCtrl::GetFirstVisibleLine() const {
    if (!Edit()) return 0;
    return Edit()->cursorForPosition(QPoint(0, 0)).blockNumber();
}

void CLumRichEditCtrl::LineScroll(int lines) {
    if (!Edit()) return;
    QTextDocument* document = Edit()->document();
    int target = GetFirstVisibleLine() + lines;
    target = std::clamp(target, 0, document->blockCount() - 1);
    const QRectF box =
        document->documentLayout()->blockBoundingRect(document->findBlockByNumber(target));
    Edit()->verticalScrollBar()->setValue(static_cast<int>(box.top()));
}

void CLumRichEditCtrl::FindLinks() {
    m_links.clear();
    QTextEdit* edit = Edit();
    const QString text = edit->toPlainText();
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    for (auto it = AddressPattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int start = static_cast<int>(match.capturedStart());
        const int end = static_cast<int>(match.capturedEnd());
        m_links.push_back({start, end});
        QTextCursor cursor(edit->document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(underline);
    }
}

int CLumRichEditCtrl::LinkAt(int position) const {
    for (size_t i = 0; i < m_links.size(); ++i) {
        if (position >= m_links[i].cpMin && position < m_links[i].cpMax) return static_cast<int>(i);
    }
    return -1;
}

LRESULT CLumRichEditCtrl::Notify(NMHDR& header) {
    if (!m_parent) return 0;
    header.hwndFrom = GetSafeHwnd();
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    return m_parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(header.idFrom),
                                 reinterpret_cast<LPARAM>(&header));
}

bool CLumRichEditCtrl::OnViewportEvent(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    const int link = LinkAt(Edit()->cursorForPosition(at).position());
    if (type == QEvent::MouseMove) {
        Edit()->viewport()->setCursor(link >= 0 ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return false;
    }
    if (mouse->button() == Qt::RightButton && type == QEvent::MouseButtonRelease &&
        (m_eventMask & ENM_MOUSEEVENTS)) {
        MSGFILTER filter;
        filter.code = EN_MSGFILTER;
        filter.msg = WM_RBUTTONUP;
        filter.point = {at.x(), at.y()};
        return Notify(filter) != 0;
    }
    if (mouse->button() != Qt::LeftButton) return false;
    if (type == QEvent::MouseButtonRelease && m_swallowRelease) {
        m_swallowRelease = false;
        return true;
    }
    if (link < 0) return false;
    ENLINK notice;
    notice.code = EN_LINK;
    notice.msg = type == QEvent::MouseButtonPress ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    notice.chrg = m_links[static_cast<size_t>(link)];
    const bool consumed = Notify(notice) != 0;
    if (consumed && type == QEvent::MouseButtonPress) m_swallowRelease = true;
    return consumed;
}
