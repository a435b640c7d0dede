#include "platform/ListKeys.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QScrollBar>

namespace platform {

bool scrollToEnd(QAbstractScrollArea& list, const QKeyEvent& event) {
    QScrollBar* bar = list.verticalScrollBar();
    if (event.modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)) return false;
    if (event.key() == Qt::Key_Home)
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
    else if (event.key() == Qt::Key_End)
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
    else
        return false;
    return true;
}

}  // namespace platform
