// An athlete's progress lines by test and drop height, the typical error's band and the places on
// the date axis.

#include "core/analysis/Progress.h"

#include "core/analysis/Protocols.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace progress {
namespace {

// The texts of this file that the user reads, in the translation context "progress".
struct TextsOfProgress {
    Q_DECLARE_TR_FUNCTIONS(progress)
};

// The order of the chooser: by name as shown, then drop height (none first), single jumps
// before series; the lines without a test last.
bool before(const Line& a, const Line& b) {
    const int byName = measurementtest::compareShown(a.test.name, b.test.name);
    if (byName != 0)
        return byName < 0;
    if (a.test.dropHeightCm != b.test.dropHeightCm)
        return a.test.dropHeightCm < b.test.dropHeightCm;
    return !a.series && b.series;
}

// The newer of two measurements; one without a valid moment is the older.
bool newer(const analysis::MeasurementJumps& a, const analysis::MeasurementJumps& b) {
    if (a.moment.isValid() != b.moment.isValid())
        return a.moment.isValid();
    return a.moment > b.moment;
}

// A date format without its year: "dd.MM.yyyy" to "dd.MM", "yyyy-MM-dd" to "MM-dd".
QString withoutYear(QString format) {
    static const QRegularExpression yearLast(QStringLiteral("[^dM]*y+[^dM]*$"));
    static const QRegularExpression yearFirst(QStringLiteral("^y+[^dM]*"));
    format.remove(yearLast);
    format.remove(yearFirst);
    return format;
}

} // namespace

Line lineOf(const analysis::MeasurementJumps& measurement) {
    return {measurement.test, measurement.series};
}

QList<Line> linesOf(const QList<analysis::MeasurementJumps>& measurements) {
    QList<Line> lines;
    for (const analysis::MeasurementJumps& m : measurements)
        if (!lines.contains(lineOf(m)))
            lines << lineOf(m);
    std::stable_sort(lines.begin(), lines.end(), before);
    return lines;
}

QString lineText(const Line& line, const QList<Line>& all) {
    QString text = line.test.isEmpty() ? TextsOfProgress::tr("Ohne Test")
                                       : measurementtest::description(line.test);
    const bool twoKinds = std::any_of(all.cbegin(), all.cend(), [&line](const Line& other) {
        return other.test == line.test && other.series != line.series;
    });
    if (twoKinds || line.test.isEmpty())
        text += QStringLiteral(", ") + (line.series ? TextsOfProgress::tr("Serien")
                                                    : TextsOfProgress::tr("Einzelmessungen"));
    return text;
}

std::optional<Line> defaultLine(const QList<analysis::MeasurementJumps>& measurements,
                                std::optional<qint64> selectedMeasurementNumber) {
    const analysis::MeasurementJumps* newest = nullptr;
    for (const analysis::MeasurementJumps& m : measurements) {
        if (selectedMeasurementNumber && m.measurementNumber == *selectedMeasurementNumber)
            return lineOf(m);
        if (!newest || !newer(*newest, m))
            newest = &m;
    }
    if (!newest)
        return std::nullopt;
    return lineOf(*newest);
}

QList<analysis::ProgressPoint> pointsOf(const QList<analysis::MeasurementJumps>& measurements,
                                        const Line& line) {
    QList<analysis::MeasurementJumps> ofLine;
    for (const analysis::MeasurementJumps& m : measurements)
        if (lineOf(m) == line)
            ofLine << m;
    return analysis::athleteProgress(ofLine);
}

QList<analysis::ProgressPoint> drawable(const QList<analysis::ProgressPoint>& points) {
    QList<analysis::ProgressPoint> out;
    for (const analysis::ProgressPoint& point : points)
        if (point.moment.isValid() && point.bestHeightCm && point.bestRsi)
            out << point;
    return out;
}

std::optional<double> valueOf(const analysis::ProgressPoint& point, Measure measure) {
    return measure == Measure::BestRsi ? point.bestRsi : point.bestHeightCm;
}

Noise noise(const QList<analysis::ProgressPoint>& points, Measure measure,
            const std::optional<realchange::Worthwhile>& worthwhile,
            const QHash<qint64, qint64>& repeats) {
    QList<realchange::Trial> trials;
    QList<qint64> measurementNumbers;
    for (const analysis::ProgressPoint& point : points) {
        if (const std::optional<double> value = valueOf(point, measure)) {
            trials << realchange::Trial{point.moment.date(), *value, point.measurementNumber,
                                        repeats.value(point.measurementNumber)};
            measurementNumbers << point.measurementNumber;
        }
    }
    Noise out;
    out.worthwhile = worthwhile;
    out.error = realchange::typicalError(trials, &out.note);
    if (!out.error)
        return out;
    out.typicalError = realchange::shown(out.error->value);
    if (!worthwhile)
        return out;
    for (qsizetype i = 1; i < trials.size(); ++i)
        if (realchange::isReal(trials[i].value - trials[i - 1].value, out.error->value,
                               worthwhile->value))
            out.exceeding << measurementNumbers[i];
    return out;
}

QString noiseText(const Noise& noise, Measure measure) {
    if (!noise.typicalError)
        return noise.note;
    const QString width =
        measure == Measure::BestRsi
            ? TextsOfProgress::tr("%1 m/s").arg(metrics::fixedText(*noise.typicalError, 2))
            : TextsOfProgress::tr("%1 cm").arg(metrics::heightText(*noise.typicalError));
    const QString measureName = measure == Measure::BestRsi
                                    ? TextsOfProgress::tr("des besten RSI")
                                    : TextsOfProgress::tr("der besten Höhe");
    const QString band = TextsOfProgress::tr("Band: typischer Fehler %1 ± %2 (%3)")
                             .arg(measureName, width, realchange::sourceText(*noise.error));
    if (!noise.worthwhile)
        return TextsOfProgress::tr("%1; ohne kleinste bedeutsame Änderung (die Gruppen des "
                                   "Sportlers haben keine zwei Sportler mit diesem Test) ist "
                                   "keine Änderung markiert.")
            .arg(band);
    const QString unit = measure == Measure::BestRsi ? QStringLiteral("m/s") : QStringLiteral("cm");
    return TextsOfProgress::tr("%1; %2; %n Änderung(en) größer als beide markiert.", nullptr,
                               static_cast<int>(noise.exceeding.size()))
        .arg(band, realchange::worthwhileText(*noise.worthwhile, unit));
}

DateAxis dateAxis(const QList<QDateTime>& moments) {
    DateAxis axis;
    if (moments.isEmpty())
        return axis;
    // The days in order, with how many measurements each holds.
    QList<QDate> days;
    QList<int> perDay;
    for (const QDateTime& moment : moments) {
        if (days.isEmpty() || days.last() != moment.date()) {
            days << moment.date();
            perDay << 0;
        }
        ++perDay.last();
    }
    int day = 0;
    int inDay = 0;
    for (qsizetype i = 0; i < moments.size(); ++i) {
        if (i > 0 && moments[i].date() != moments[i - 1].date()) {
            ++day;
            inDay = 0;
        }
        axis.places << day + (inDay + 0.5) / perDay[day];
        ++inDay;
    }
    axis.end = static_cast<double>(days.size());

    if (days.size() == 1) {
        // One day: the times of its measurements, each over its own stretch of the axis.
        axis.title = TextsOfProgress::tr("Uhrzeit am %1").arg(texts::dateText(days.first()));
        const double step = 1.0 / static_cast<double>(moments.size());
        for (qsizetype i = 0; i < moments.size(); ++i) {
            const QString time = texts::locale().toString(moments[i].time(), QLocale::ShortFormat);
            QString text = time;
            // The labels of an axis must differ: equal times get a number.
            for (int n = 2; std::any_of(axis.labels.cbegin(), axis.labels.cend(),
                                        [&text](const AxisLabel& l) { return l.text == text; });
                 ++n)
                text = time + QStringLiteral(" (%1)").arg(n);
            axis.labels << AxisLabel{step * static_cast<double>(i + 1), text};
        }
        return axis;
    }
    // Days of one year are labelled without it; the title names the year.
    const bool oneYear = days.first().year() == days.last().year();
    axis.title = oneYear ? TextsOfProgress::tr("Datum (%1)").arg(days.first().year())
                         : TextsOfProgress::tr("Datum");
    const QString dayFormat = oneYear ? withoutYear(texts::shortDateFormat()) : QString();
    const qsizetype perLabel = (days.size() + kMostDateLabels - 1) / kMostDateLabels;
    for (qsizetype first = 0; first < days.size(); first += perLabel) {
        const qsizetype end = std::min(days.size(), first + perLabel);
        axis.labels << AxisLabel{static_cast<double>(end),
                                 oneYear ? texts::locale().toString(days[first], dayFormat)
                                         : texts::dateText(days[first])};
    }
    return axis;
}

} // namespace progress
