// What the display for the athlete shows of a run.

#include "core/analysis/AthleteBoard.h"

#include "core/measure/Metrics.h"

#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "AthleteBoard".
struct AthleteBoardTexts {
    Q_DECLARE_TR_FUNCTIONS(AthleteBoard)
};

} // namespace

void AthleteBoard::start(const QString& athleteName, std::optional<int> timedSeconds) {
    name_ = athleteName;
    timedSeconds_ = timedSeconds;
    series_.clear();
}

void AthleteBoard::clear() {
    start(QString());
}

void AthleteBoard::add(const analysis::RunningSeries::Place& place) {
    series_.add(place);
}

QString AthleteBoard::valueText(double value) const {
    return value_ == analysis::SeriesValue::Height ? metrics::heightText(value)
                                                   : metrics::fixedText(value, 2);
}

QString AthleteBoard::lastText() const {
    if (series_.size() == 0)
        return {};
    const auto value = analysis::RunningSeries::valueOf(series_.places().last(), value_);
    return value ? valueText(*value) : QStringLiteral("–");
}

QString AthleteBoard::bestText() const {
    const auto best = series_.best(value_);
    return best ? valueText(*best) : QString();
}

QString AthleteBoard::unitText() const {
    return value_ == analysis::SeriesValue::Height ? AthleteBoardTexts::tr("cm")
                                                   : AthleteBoardTexts::tr("RSI");
}

QString AthleteBoard::countdownText(std::optional<qint32> millisecondsLeft) const {
    if (!timedSeconds_)
        return {};
    const qint64 left =
        millisecondsLeft ? (std::max<qint32>(0, *millisecondsLeft) + 999) / 1000 : *timedSeconds_;
    return QStringLiteral("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
}
