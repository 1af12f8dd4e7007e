#pragma once

#include <QObject>
#include <QSize>
#include <QVector>

class QWidget;

// Keeps children of a container at a fixed distance from its right and/or bottom edge while
// the container is resized: a child that stretches grows with it, one that is anchored only
// to the right or bottom moves with it. Works from size changes, so geometry that code sets
// later is kept and carried along.
class Anchors : public QObject {
public:
    enum Edge { Right = 1, Bottom = 2, StretchRight = 4, StretchDown = 8 };

    Anchors(QWidget* container, QSize designSize);
    void add(QWidget* child, int edges);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* child;
        int edges;
    };
    QWidget* container_;
    QSize last_;
    QVector<Entry> entries_;
};
