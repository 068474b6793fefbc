#pragma once
// What the two test-support units share of Qt: the widget of a control, the
// widget under a point, where keys go, and the keyboard modifiers.
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>

#include "toolkit/controls/Controls.h"

namespace tk::testing::detail {

QWidget* WidgetOf(TControl* control);
// The widget under (x, y) of the control's widget, and the point in its coordinates.
QWidget* TargetAt(QWidget* w, int x, int y, QPoint& local);
// The focus widget when it is in the control's window, else the control's widget.
QWidget* KeyTarget(TControl* control);
Qt::KeyboardModifiers ToQt(TShiftState shift);
Qt::MouseButton ToQt(TMouseButton button);
// The key with the modifiers and the text (the key's own when null), pressed
// and released at the focus widget of the control's window, then the events
// that follow.
void SendKey(TControl* control, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text);
// Sends what `send` makes to the widget under (x, y) of the control, at the
// point in that widget's coordinates, with Qt's arithmetic shielded, then
// runs the events that follow; first brings the control's window up when
// asked.  Nothing happens to a control without a widget.
void SendAt(TControl* control, int x, int y, bool activate, const std::function<void(QWidget*, const QPoint&)>& send);
// Runs `act` with Qt's arithmetic shielded, then the events that follow.
void Shielded(const std::function<void()>& act);

}  // namespace tk::testing::detail
