// The object dictionary the palette opens (its message 1724): a small
// window with the names, the kind and the engine's description of a key.
#pragma once

#include <QWidget>

#include "engine/corlum.h"
#include "host/cstring.h"

class QTextEdit;

namespace gui {

// The dictionary entry of `key` (an object identifier) as lines ending in
// "\n": the key, then "名前", "日本語名", "英語名", "種類" and "解説" for
// each that the engine answers (empty and "*" replies are left out).  The
// kind is the engine's type name of a deep-sky object, else the kind of
// the identifier's type code.
CString DictionaryText(CCorLum* engine, const CString& key);

// The dictionary window; one per frame, shown again for each key.
class CDictionaryWindow : public QWidget {
  public:
    explicit CDictionaryWindow(QWidget* owner);
    void ShowEntry(CCorLum* engine, const CString& key);
    CString Text() const;

  private:
    QTextEdit* m_text = nullptr;
};

}  // namespace gui
