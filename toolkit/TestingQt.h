#pragma once
// What the two test-support units share of Qt: the widget of a control, the
// widget under a point, where keys go, and the keyboard modifiers.
#include <QPoint>
#include <QWidget>

#include "toolkit/Controls.h"

namespace tk::testing::detail {

QWidget* WidgetOf(TControl* control);
// The widget under (x, y) of the control's widget, and the point in its coordinates.
QWidget* TargetAt(QWidget* w, int x, int y, QPoint& local);
// The focus widget when it is in the control's window, else the control's widget.
QWidget* KeyTarget(TControl* control);
Qt::KeyboardModifiers ToQt(TShiftState shift);

}  // namespace tk::testing::detail
