#include "gui/dictionary.h"

#include <QTextEdit>
#include <QVBoxLayout>

#include "clickdata/click_data.h"
#include "host/ui/qt_text.h"

namespace gui {
namespace {

// The kind of each type code of the text engine.
CString KindOfType(int type) {
    switch (type) {
        case CLumClickData::kStar:
            return u"恒星";
        case CLumClickData::kConstellation:
            return u"星座";
        case CLumClickData::kEquatorial:
            return u"天球上の点";
        case CLumClickData::kSolar:
            return u"太陽系の天体";
        case CLumClickData::kDeepSky:
            return u"星雲・星団・銀河";
        case CLumClickData::kMagellanicCloud:
            return u"マゼラン雲";
        case CLumClickData::kArtificialSatellite:
            return u"人工衛星";
        case CLumClickData::kMeteor:
            return u"流星群";
        default:
            return CString();
    }
}

// The engine's reply, or empty when it has no value.
CString Ask(CCorLum* engine, const CString& query) {
    const CString reply = engine->Doit(query);
    return reply == u"*" ? CString() : reply;
}

}  // namespace

CString DictionaryText(CCorLum* engine, const CString& key) {
    CString text = key + u"\n";
    if (!engine || key.IsEmpty()) return text;
    const std::pair<const char16_t*, const char16_t*> names[] = {
        {u"名前", u".Name"}, {u"日本語名", u".JapaneseName"}, {u"英語名", u".EnglishName"}};
    for (const auto& [label, suffix] : names) {
        const CString value = Ask(engine, u"? " + key + suffix);
        if (!value.IsEmpty()) text += CString(label) + u": " + value + u"\n";
    }
    CString kind = Ask(engine, u"? " + key + u".Type.Name");
    if (kind.IsEmpty()) {
        CLumClickData classifier;
        kind = KindOfType(classifier.ClassifyObject(engine, key));
    }
    if (!kind.IsEmpty()) text += u"種類: " + kind + u"\n";
    const CString description = Ask(engine, u"? " + key + u".Description");
    if (!description.IsEmpty()) text += u"解説: " + description + u"\n";
    return text;
}

CDictionaryWindow::CDictionaryWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName("dictionary");
    setWindowTitle(QString::fromUtf8("天体事典"));
    m_text = new QTextEdit;
    m_text->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    resize(320, 200);
}

void CDictionaryWindow::ShowEntry(CCorLum* engine, const CString& key) {
    m_text->setPlainText(host::ui::ToQString(DictionaryText(engine, key)));
    setWindowTitle(QString::fromUtf8("天体事典 - ") + host::ui::ToQString(key));
    show();
    raise();
}

CString CDictionaryWindow::Text() const {
    return host::ui::FromQString(m_text->toPlainText());
}

}  // namespace gui
