// The ranking of a group over a period, with each athlete's change against the period before.

#include "core/analysis/Ranking.h"

#include "core/analysis/Protocols.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/RetestRepository.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace ranking {
namespace {

// The texts of this file that the user reads, in the translation context "Ranking".
struct RankingTexts {
    Q_DECLARE_TR_FUNCTIONS(Ranking)
};

struct Best {
    int measurements = 0;
    std::optional<double> heightCm;
    std::optional<double> rsi;
    std::optional<double> meanContactMs;
};

void takeMax(std::optional<double>& best, double value) {
    if (std::isfinite(value) && (!best || value > *best))
        best = value;
}

// What one measurement gives as a trial: its best RSI and height and the contact times that
// count; for a 10/5 its result. Empty without a valid jump (or a 10/5 result).
struct Trial {
    std::optional<double> rsi;
    std::optional<double> heightCm;
    QList<double> contactsMs;
};

Trial trialOf(const DayJumps& measurement) {
    Trial trial;
    if (measurement.protocol == Protocol::TenFive) {
        if (const auto result = protocols::tenFive(measurement.jumps)) {
            takeMax(trial.rsi, result->meanRsi);
            takeMax(trial.heightCm, result->meanHeightCm);
            for (const analysis::StoredJump& jump : measurement.jumps)
                if (result->bestJumpIndexes.contains(jump.jumpIndex) && analysis::isValidJump(jump))
                    trial.contactsMs << jump.contactMs;
        }
        return trial;
    }
    for (const analysis::StoredJump& jump : measurement.jumps) {
        if (!analysis::isValidJump(jump))
            continue;
        takeMax(trial.heightCm, analysis::jumpHeightCm(jump));
        takeMax(trial.rsi, analysis::jumpRsi(jump));
        trial.contactsMs << jump.contactMs;
    }
    return trial;
}

Best bestOf(const QList<DayJumps>& measurements, const Period& period, const RankedTest& test) {
    Best best;
    double contactSum = 0;
    int contacts = 0;
    for (const DayJumps& measurement : measurements) {
        if (!period.contains(measurement.day) || rankedTestOf(measurement) != test)
            continue;
        ++best.measurements;
        const Trial trial = trialOf(measurement);
        if (trial.rsi)
            takeMax(best.rsi, *trial.rsi);
        if (trial.heightCm)
            takeMax(best.heightCm, *trial.heightCm);
        for (double contact : trial.contactsMs) {
            contactSum += contact;
            ++contacts;
        }
    }
    if (contacts > 0 && std::isfinite(contactSum))
        best.meanContactMs = contactSum / contacts;
    return best;
}

// The order of the tests of equal use: by name as shown (those without a test last), protocol
// and drop height (none first).
bool listedBefore(const RankedTest& a, const RankedTest& b) {
    const int byName = measurementtest::compareShown(a.test.name, b.test.name);
    if (byName != 0)
        return byName < 0;
    if (a.protocol != b.protocol)
        return a.protocol < b.protocol;
    return a.test.dropHeightCm < b.test.dropHeightCm;
}

QString optionalText(const std::optional<double>& value, int decimals) {
    return value ? metrics::fixedText(*value, decimals) : QString();
}

} // namespace

Period Period::lastDays(const QDate& today, int days) {
    return {today.addDays(-(std::max(days, 1) - 1)), today};
}

bool Period::contains(const QDate& day) const {
    return day.isValid() && isValid() && day >= from && day <= to;
}

bool Period::contains(const QDateTime& moment) const {
    return moment.isValid() && contains(moment.date());
}

Period Period::previous() const {
    if (!isValid())
        return {};
    return {from.addDays(-days()), from.addDays(-1)};
}

RankedTest rankedTestOf(const DayJumps& measurement) {
    return {measurement.test, measurement.protocol};
}

QList<RankedTest> testsRun(const QList<AthleteData>& athletes, const Period& period) {
    QList<RankedTest> tests;
    QList<int> runs;
    for (const AthleteData& data : athletes) {
        QList<std::pair<RankedTest, QDate>> counted;
        for (const DayJumps& measurement : data.measurements) {
            if (!period.contains(measurement.day))
                continue;
            const std::pair<RankedTest, QDate> run{rankedTestOf(measurement), measurement.day};
            if (counted.contains(run))
                continue;
            counted << run;
            const qsizetype known = tests.indexOf(run.first);
            if (known < 0) {
                tests << run.first;
                runs << 1;
            } else {
                ++runs[known];
            }
        }
    }
    QList<qsizetype> order(tests.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (runs[a] != runs[b])
            return runs[a] > runs[b];
        return listedBefore(tests[a], tests[b]);
    });
    QList<RankedTest> out;
    out.reserve(order.size());
    for (qsizetype i : order)
        out << tests[i];
    return out;
}

QString testName(const RankedTest& test) {
    if (test.test.name.isEmpty())
        return RankingTexts::tr("Ohne Test");
    const QString name = measurementtest::shownName(test.test.name);
    switch (test.protocol) {
    case Protocol::TenFive:
        return RankingTexts::tr("%1 (10/5)").arg(name);
    case Protocol::DropHeightProfile:
        return RankingTexts::tr("%1 (Fallhöhen-Profil)").arg(name);
    case Protocol::None:
        break;
    }
    return name;
}

QString dropHeightName(const RankedTest& test) {
    if (test.test.dropHeightCm)
        return RankingTexts::tr("%1 cm").arg(*test.test.dropHeightCm);
    if (measurementtest::takesDropHeight(test.test.name))
        return RankingTexts::tr("ohne Angabe");
    return QStringLiteral("–");
}

QStringList headingLines(const std::optional<RankedTest>& test, const Period& period) {
    QStringList lines;
    if (test)
        lines << RankingTexts::tr("Test: %1").arg(testName(*test))
              << RankingTexts::tr("Fallhöhe: %1").arg(dropHeightName(*test));
    lines << RankingTexts::tr("Zeitraum: %1 bis %2 (%3 Tage)")
                 .arg(texts::dateText(period.from), texts::dateText(period.to))
                 .arg(period.days());
    if (test && test->protocol == Protocol::TenFive)
        lines << tenFiveNote();
    return lines;
}

QString tenFiveNote() {
    return RankingTexts::tr("Werte des Protokolls 10/5: Mittel der besten fünf Sprünge.");
}

std::optional<realchange::TypicalError>
typicalRsiError(const QList<DayJumps>& measurements, const Period& period, const RankedTest& test) {
    if (test.test.isEmpty())
        return std::nullopt;
    const Period before = period.previous();
    QList<realchange::Trial> trials;
    for (const DayJumps& measurement : measurements) {
        if (rankedTestOf(measurement) != test ||
            (!period.contains(measurement.day) && !before.contains(measurement.day)))
            continue;
        if (const std::optional<double> rsi = trialOf(measurement).rsi)
            trials << realchange::Trial{measurement.day, *rsi};
    }
    return realchange::typicalError(trials);
}

std::optional<double> setWorthwhile(RetestRepository& retests, const RankedTest& test) {
    if (test.protocol != Protocol::None || test.test.isEmpty())
        return std::nullopt;
    return retests.worthwhileChange(test.test);
}

QList<double> bestRsiOfEach(const QList<AthleteData>& athletes, const Period& period,
                            const RankedTest& test) {
    QList<double> out;
    for (const AthleteData& data : athletes)
        if (const std::optional<double> best = bestOf(data.measurements, period, test).rsi)
            out << *best;
    return out;
}

std::optional<realchange::Worthwhile> worthwhileRsi(const QList<AthleteData>& athletes,
                                                    const Period& period, const RankedTest& test,
                                                    const std::optional<double>& setForTest) {
    if (setForTest)
        return realchange::Worthwhile{*setForTest, true};
    const std::optional<double> group =
        realchange::smallestWorthwhileChange(bestRsiOfEach(athletes, period, test));
    if (!group)
        return std::nullopt;
    return realchange::Worthwhile{*group};
}

QList<Row> rank(const QList<AthleteData>& athletes, const Period& period, const RankedTest& test,
                const std::optional<realchange::Worthwhile>& worthwhile) {
    const Period before = period.previous();
    QList<Row> rows;
    rows.reserve(athletes.size());
    for (const AthleteData& data : athletes) {
        const Best now = bestOf(data.measurements, period, test);
        const Best then = bestOf(data.measurements, before, test);
        Row row;
        row.athlete = data.athlete;
        row.measurementCount = now.measurements;
        row.bestHeightCm = now.heightCm;
        row.bestRsi = now.rsi;
        row.meanContactMs = now.meanContactMs;
        row.previousBestRsi = then.rsi;
        if (now.rsi && then.rsi) {
            row.rsiChange = *now.rsi - *then.rsi;
            row.typicalRsiError = typicalRsiError(data.measurements, period, test);
            if (row.typicalRsiError && worthwhile)
                row.changeIsReal = realchange::isReal(*row.rsiChange, row.typicalRsiError->value,
                                                      worthwhile->value);
        }
        rows << row;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.bestRsi.has_value() != b.bestRsi.has_value())
            return a.bestRsi.has_value();
        if (a.bestRsi && *a.bestRsi != *b.bestRsi)
            return *a.bestRsi > *b.bestRsi;
        const int name = QString::localeAwareCompare(a.athlete.name, b.athlete.name);
        if (name != 0)
            return name < 0;
        const int firstName = QString::localeAwareCompare(a.athlete.firstName, b.athlete.firstName);
        if (firstName != 0)
            return firstName < 0;
        return a.athlete.id < b.athlete.id;
    });
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].bestRsi)
            break;
        const bool tied = i > 0 && rows[i - 1].bestRsi == rows[i].bestRsi;
        rows[i].place = tied ? rows[i - 1].place : i + 1;
    }
    return rows;
}

QStringList header() {
    return {RankingTexts::tr("Platz"),      RankingTexts::tr("Name"),
            RankingTexts::tr("Vorname"),    RankingTexts::tr("Beste Höhe (cm)"),
            RankingTexts::tr("Bester RSI"), RankingTexts::tr("Mittl. Stützzeit (ms)"),
            RankingTexts::tr("Messungen"),  RankingTexts::tr("Veränderung RSI")};
}

QStringList texts(const Row& row) {
    QString change;
    if (row.rsiChange) {
        change = metrics::fixedText(*row.rsiChange, 2);
        if (!change.startsWith(QLatin1Char('-')) && *row.rsiChange > 0)
            change.prepend(QLatin1Char('+'));
        if (row.changeIsReal)
            change += QStringLiteral(" *");
    }
    return {row.place > 0 ? QString::number(row.place) : QString(),
            row.athlete.name,
            row.athlete.firstName,
            row.bestHeightCm ? metrics::heightText(*row.bestHeightCm) : QString(),
            optionalText(row.bestRsi, 2),
            optionalText(row.meanContactMs, 0),
            QString::number(row.measurementCount),
            change};
}

QVariant sortValue(const Row& row, int column) {
    const auto value = [](const std::optional<double>& v) {
        return v ? QVariant(*v) : QVariant();
    };
    switch (column) {
    case Place:
        return row.place > 0 ? QVariant(row.place) : QVariant();
    case Name:
        return row.athlete.name;
    case FirstName:
        return row.athlete.firstName;
    case BestHeight:
        return value(row.bestHeightCm);
    case BestRsi:
        return value(row.bestRsi);
    case MeanContact:
        return value(row.meanContactMs);
    case Count:
        return row.measurementCount;
    case Change:
        return value(row.rsiChange);
    default:
        return {};
    }
}

QString clipboardText(const QList<Row>& rowsInOrder, const QStringList& heading) {
    QString text;
    for (const QString& line : heading)
        text += line + QLatin1Char('\n');
    if (!heading.isEmpty())
        text += QLatin1Char('\n');
    text += header().join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const Row& row : rowsInOrder)
        text += texts(row).join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

QString changeMarkNote(const std::optional<realchange::Worthwhile>& worthwhile) {
    if (!worthwhile)
        return RankingTexts::tr("Ohne kleinste bedeutsame Änderung (weniger als zwei Sportler "
                                "mit einem RSI dieses Tests) ist keine Veränderung markiert.");
    return RankingTexts::tr("*: Die Veränderung ist größer als der typische Fehler des "
                            "Sportlers (aus seinen Wiederholungen dieses Tests am selben Tag, "
                            "sonst aus aufeinander folgenden Messungen) und als die %1.")
        .arg(realchange::worthwhileText(*worthwhile, QStringLiteral("m/s")));
}

QString typicalErrorText(const Row& row) {
    if (!row.typicalRsiError)
        return {};
    return RankingTexts::tr("Typischer Fehler des RSI: %1 (%2)")
        .arg(metrics::fixedText(realchange::shown(row.typicalRsiError->value),
                                realchange::kShownDecimals),
             realchange::sourceText(*row.typicalRsiError));
}

std::optional<realchange::Worthwhile>
worthwhileForAthlete(AthleteRepository& athletes, GroupRepository& groups, qint64 athleteId,
                     const MeasurementTest& test, const QDate& today,
                     const std::optional<double>& setForTest) {
    if (setForTest && !test.isEmpty())
        return realchange::Worthwhile{*setForTest, true};
    if (!groups.available() || test.isEmpty())
        return std::nullopt;
    // Every stored day up to today; the period before it lies before any measurement.
    const Period all{QDate(1900, 1, 1), today};
    QList<AthleteData> squad;
    QSet<qint64> taken;
    for (const qint64 groupId : groups.groupsOf(athleteId))
        for (AthleteData& data : read(athletes, groups, groupId, all))
            if (!taken.contains(data.athlete.id)) {
                taken.insert(data.athlete.id);
                squad << std::move(data);
            }
    return worthwhileRsi(squad, all, {test, Protocol::None});
}

QList<AthleteData> read(AthleteRepository& athletes, GroupRepository& groups, qint64 groupId,
                        const Period& period) {
    const QList<Athlete> members = onlyMembers(athletes.all(), groups.memberIds(groupId));
    const Period before = period.previous();
    QHash<qint64, QList<DayJumps>> byAthlete;
    byAthlete.reserve(members.size());
    QList<MemberMeasurement> found = groups.measurementsOfMembers(groupId, before.from, period.to);
    for (MemberMeasurement& m : found) {
        if (period.contains(m.day) || before.contains(m.day))
            byAthlete[m.athleteId] << DayJumps{
                m.day,    analysis::storedJumps(m.jumps), std::move(m.test), m.protocol, m.id,
                m.repeats};
        // Given back at once, so that the next measurement's jumps take the same memory.
        m.jumps = {};
    }
    QList<AthleteData> out;
    out.reserve(members.size());
    for (const Athlete& athlete : members)
        out << AthleteData{athlete, byAthlete.value(athlete.id)};
    return out;
}

} // namespace ranking
