#include "ui/Anchors.h"

#include <QEvent>
#include <QWidget>

Anchors::Anchors(QWidget* container, QSize designSize)
    : QObject(container), container_(container), last_(designSize) {
    container_->installEventFilter(this);
}

void Anchors::add(QWidget* child, int edges) {
    entries_.append({child, edges});
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container_ && event->type() == QEvent::Resize) {
        const QSize now = container_->size();
        const int dx = now.width() - last_.width();
        const int dy = now.height() - last_.height();
        last_ = now;
        if (dx != 0 || dy != 0) {
            for (const Entry& e : entries_) {
                QRect r = e.child->geometry();
                if (e.edges & StretchRight)
                    r.setWidth(r.width() + dx);
                else if (e.edges & Right)
                    r.moveLeft(r.left() + dx);
                if (e.edges & StretchDown)
                    r.setHeight(r.height() + dy);
                else if (e.edges & Bottom)
                    r.moveTop(r.top() + dy);
                e.child->setGeometry(r);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
