// Helpers of the window tests.
#pragma once

#include <QEvent>
#include <QWidget>
#include <functional>

#include "host/ui/wnd.h"

class QToolButton;

// Handles the window thread's events until `done` holds, for at most 20 s;
// returns whether it held.
bool PumpUntil(const std::function<bool()>& done);
// The toolbar button of command `id` inside `window`, or null.
QToolButton* FindButton(QWidget* window, int id);
// Sends a mouse event of `type` at `at` (widget coordinates) to `widget`.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button = Qt::LeftButton);
