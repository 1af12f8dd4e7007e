#pragma once

#include <QFont>
#include <QList>
#include <QRect>

class MainWindow;
class QWidget;

// Big numbers while a run goes on, to be read from across the room: the four result values
// grow with the window. The result panel takes half the height the window has beyond its
// designed size (MainWindow::designedSize) (the data panel gives it up), the fields and their font
// grow by one factor, the labels keep their font and their places beside the fields, and the start
// button keeps its designed size at the panel's right edge. At the designed size nothing moves;
// when the run ends, everything is as before.
class ResultZoom {
public:
    explicit ResultZoom(MainWindow& window);

    void setActive(bool active);
    bool active() const { return active_; }
    // Lays the result panel out anew for the window's current size.
    void update();
    // The factor by which the fields are enlarged now; 1 when idle.
    double factor() const { return factor_; }

private:
    // A widget of a result row with its designed geometry.
    struct Item {
        QWidget* widget;
        QRect design;
        bool grows; // a field; a label keeps its size
    };
    double targetFactor() const;
    void apply(double factor);

    MainWindow& window_;
    QList<QList<Item>> rows_;
    QFont fieldFont_;
    QRect designButton_;
    int designGroupWidth_ = 0;
    int designGroupHeight_ = 0;
    int extraHeight_ = 0; // height the result panel has taken from the data panel
    double factor_ = 1;
    bool active_ = false;
};
