// Hands the events of one Qt object to a function, before the object sees
// them; the function returns true to consume one.  The hook is a child of
// the object and goes with it.
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace host::ui {

class EventHook : public QObject {
  public:
    EventHook(QObject* target, std::function<bool(QEvent*)> handler)
        : QObject(target), m_handler(std::move(handler)) {
        target->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return watched == parent() && m_handler(event);
    }

  private:
    std::function<bool(QEvent*)> m_handler;
};

}  // namespace host::ui
