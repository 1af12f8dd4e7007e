#pragma once

#include "ui/common/JumpCharts.h"

#include <QElapsedTimer>
#include <QWidget>

class QChartView;
class QComboBox;
class QTimer;

// The chart of the running series beside the result values: one place per jump as it comes,
// its bar the height or the RSI (the user's choice), the best bar marked, the contact times as
// a line; a jump the limits kept from the store leaves its place empty. After a 10/5 the bars
// of its best five are marked instead. It stays after the run until the next start. A new jump
// is added to the chart shown, which is laid out anew only when the user changes what it shows.
class LiveChart : public QWidget {
    Q_OBJECT
public:
    explicit LiveChart(QWidget* parent = nullptr);

    // A new series: no places.
    void clear();
    // A recorded jump (an invalid one, such as the closing contact, leaves its place empty).
    void addJump(const analysis::StoredJump& jump);
    // A jump the limits kept from the store.
    void addRejected();
    // The jumps with these numbers are excluded now, the others not: an excluded jump leaves
    // its place empty.
    void setExcludedJumps(const QList<int>& jumpIndexes);
    // Marks the bars of the jumps with these numbers (none: the best bar again).
    void markJumps(const QList<int>& jumpIndexes);
    // Shows the places that came since the chart was last drawn (see appendNewest).
    void showPending();
    // The places whose bars are marked.
    QList<int> markedPlaces() const;

    jumpcharts::BarValue barValue() const { return value_; }
    void setBarValue(jumpcharts::BarValue value);
    // The labels grow with the result values, to be read from across the room.
    void setFontScale(double scale);

    const QList<analysis::RunningSeries::Place>& places() const { return series_.places(); }
    // The series as the chart shows it, with its best jumps.
    const analysis::RunningSeries& series() const { return series_; }

    // Small enough not to push the data panel aside once the values are back to normal.
    QSize sizeHint() const override { return {360, 170}; }

signals:
    // The user chose what the bars show.
    void barValueChosen(jumpcharts::BarValue value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    // The newest place into the chart shown: at once, unless the chart took places a moment
    // ago; then with the others that come until the moment has passed. Results that come back
    // to back thus cost the chart a few layouts a second, however many there are.
    void appendNewest();
    // The labels' enlargement that the chart's size allows.
    double fittingScale() const;

    QChartView* view_ = nullptr;
    QTimer* pending_ = nullptr;
    QElapsedTimer sinceShown_;
    QComboBox* valueChoice_ = nullptr;
    analysis::RunningSeries series_;
    QList<int> markedJumps_;
    jumpcharts::BarValue value_ = jumpcharts::BarValue::Height;
    double fontScale_ = 1.0;  // asked for
    double shownScale_ = 1.0; // in the chart shown
};
