// The program's parts under load, one task a call, for bench/run.sh to time:
//   kalvero_bench make-database DIR ATHLETES MEASUREMENTS   a database of that size
//   kalvero_bench export DIR FILE                             "Alle Exportieren" of all athletes
//   kalvero_bench start DIR                                   the main window's start and first
//   show kalvero_bench record DIR JUMPS                            a series of that many recorded
//   jumps
//   kalvero_bench make-squad DIR ATHLETES MEASUREMENTS       a group of that size, its
//                                                             measurements over the last year
//   kalvero_bench ranking DIR                                 the start, then the ranking of the
//                                                             first group over the last year

#include "app/Application.h"
#include "core/base/Clock.h"
#include "core/export/Exporter.h"
#include "core/link/SimulatedUnit.h"
#include "core/station/Station.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "ui/AppContext.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"
#include "ui/RankingWindow.h"

#include <QApplication>
#include <QDateEdit>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "kalvero_bench: %s\n", qPrintable(text));
    return 2;
}

// Athlete 1 has 999 measurements; every other athlete has `measurements`. A third of all
// measurements are series of 5 to 15 jumps, the others single jumps. A squad: every athlete
// has `measurements`, spread evenly over the last year, and all are in the group "Kader".
void makeDatabase(const QString& directory, int athletes, int measurements, bool squad = false) {
    Database db(directory);
    QRandomGenerator random(20261207);
    Database::Transaction transaction(db);
    QSqlQuery athlete(db.connection());
    athlete.prepare("INSERT INTO sportler (Name, Vorname, Geb, Geschl) VALUES (?, ?, ?, ?)");
    QSqlQuery measurement(db.connection());
    measurement.prepare("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?)");
    QSqlQuery jump(db.connection());
    jump.prepare("INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES (?, ?, ?, ?, ?)");
    const QDateTime start(QDate(2019, 1, 1), QTime(8, 0));
    const QDateTime yearAgo(QDate::currentDate().addDays(-364), QTime(8, 0));
    for (int a = 1; a <= athletes; ++a) {
        athlete.addBindValue(QStringLiteral("Name%1").arg(a));
        athlete.addBindValue(QStringLiteral("Vorname%1").arg(a));
        athlete.addBindValue(
            QStringLiteral("19%1-0%2-1%3").arg(60 + a % 40).arg(1 + a % 9).arg(a % 10));
        athlete.addBindValue(a % 2);
        athlete.exec();
        const int count = a == 1 && !squad ? 999 : measurements;
        for (int n = 1; n <= count; ++n) {
            const bool series = random.bounded(3) == 0;
            const int jumps = series ? 5 + random.bounded(11) : 1;
            measurement.addBindValue(a);
            const QDateTime moment =
                squad ? yearAgo.addSecs(qint64(n - 1) * 364 * 86400 / measurements + a * 60)
                      : start.addSecs(qint64(a) * 86400 + qint64(n) * 600);
            measurement.addBindValue(moment.toString(Qt::ISODate));
            measurement.addBindValue(n);
            measurement.addBindValue(jumps);
            measurement.exec();
            for (int j = 1; j <= jumps; ++j) {
                const int sz = 120 + random.bounded(200);
                const int fz = 300 + random.bounded(400);
                jump.addBindValue(double(seriesKey(a, n)));
                jump.addBindValue(double(sz));
                jump.addBindValue(double(fz));
                jump.addBindValue(std::round(double(fz) * fz / sz / 10.0) / 100.0);
                jump.addBindValue(double(j));
                jump.exec();
            }
        }
    }
    if (squad) {
        db.run(QStringLiteral("INSERT INTO gruppen (Name) VALUES ('Kader')"));
        db.run(QStringLiteral("INSERT INTO gruppen_sportler (Gruppe_ID, Sportler_ID) "
                              "SELECT g.ID, s.ID FROM gruppen g, sportler s"));
    }
    transaction.commit();
}

int exportAll(const QString& directory, const QString& file) {
    Database db(directory);
    QList<qint64> ids;
    QSqlQuery q = db.run(QStringLiteral("SELECT ID FROM sportler ORDER BY ID"));
    while (q.next())
        ids << q.value(0).toLongLong();
    const auto result = Exporter(db).writeFile(file, ids);
    return result.outcome == Exporter::Outcome::Written ? 0 : fail(result.message);
}

// Message boxes answered at once: a start shows none unless something is wrong.
class SilentMessages : public MessageService {
public:
    int show(const MessageBox& box) override {
        std::fprintf(stderr, "kalvero_bench: box: %s\n", qPrintable(box.text));
        return 0;
    }
    QString saveFileName(const SaveFileRequest&) override { return {}; }
    QString folderName(const QString&) override { return {}; }
    void setClipboardText(const QString&) override {}
    std::unique_ptr<ProgressView> showProgress(const QString&, int) override { return nullptr; }
};

// The start of the main window and its first show; with `ranking`, then the window "Rangliste"
// of the first group over the last year.
int startWindow(int argc, char* argv[], const QString& directory, bool ranking) {
    QApplication app(argc, argv);
    SystemClock clock;
    SimulatedUnit unit(clock);
    SilentMessages ui;
    QTemporaryDir settings;
    const QString settingsPath = settings.filePath(QStringLiteral("QRV.conf"));
    AppContext context{
        ui,
        clock,
        unit,
        StoreLocation::embedded(directory),
        [settingsPath] { return std::make_unique<QSettings>(settingsPath, QSettings::IniFormat); },
        {}};
    Station station(unit, clock);
    const auto window = createWindows(context, station);
    window->show();
    if (ranking) {
        // The window "Rangliste" as "Daten" ▸ "Rangliste …" opens it, its period set to the
        // last year before it reads: one ranking.
        RankingWindow shown(station.store(), ui, window.get());
        shown.fromField->setDate(QDate::currentDate().addDays(-364));
        shown.showGroup(0);
        if (shown.rowsShown().isEmpty())
            return fail(QStringLiteral("an empty ranking"));
    }
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int status = QApplication::exec();
    // The CPU time of the whole process so far, finer than the system's time command tells.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.4f\n", double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    return status;
}

int record(const QString& directory, int jumps) {
    Database db(directory);
    MeasurementRepository measurements(db);
    const qint64 id =
        measurements.recordFirstJump(1, QDateTime::currentDateTime(), {200, 500, 1.25, 1}).id;
    for (qint32 n = 2; n <= jumps; ++n)
        measurements.recordJump(id, {200, 500, 1.25, n});
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const QStringList args = [&] {
        QStringList out;
        for (int i = 1; i < argc; ++i)
            out << QString::fromLocal8Bit(argv[i]);
        return out;
    }();
    const QString task = args.value(0);
    if (task == QLatin1String("start") && args.size() == 2)
        return startWindow(argc, argv, args[1], false);
    if (task == QLatin1String("ranking") && args.size() == 2)
        return startWindow(argc, argv, args[1], true);
    QCoreApplication app(argc, argv);
    if (task == QLatin1String("make-database") && args.size() == 4) {
        makeDatabase(args[1], args[2].toInt(), args[3].toInt());
        return 0;
    }
    if (task == QLatin1String("make-squad") && args.size() == 4) {
        makeDatabase(args[1], args[2].toInt(), args[3].toInt(), true);
        return 0;
    }
    if (task == QLatin1String("export") && args.size() == 3)
        return exportAll(args[1], args[2]);
    if (task == QLatin1String("record") && args.size() == 3)
        return record(args[1], args[2].toInt());
    return fail(
        QStringLiteral("usage: kalvero_bench make-database DIR ATHLETES MEASUREMENTS | "
                       "make-squad DIR ATHLETES MEASUREMENTS | export DIR FILE | start DIR | "
                       "ranking DIR | record DIR JUMPS"));
}
