// Whether the user can see a control: for the tests of the windows.
#pragma once

#include <QAbstractScrollArea>
#include <QWidget>

namespace testsupport {

// Whole inside the visible part of every scroll area around it.
inline bool in_vista(const QWidget* w) {
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(p)) {
            const QRect dove(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
            if (!area->viewport()->rect().contains(dove)) return false;
        }
    }
    return true;
}

}  // namespace testsupport
