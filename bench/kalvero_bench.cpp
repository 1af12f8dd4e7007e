// The program's parts under load, one task a call, for bench/run.sh to time:
//   kalvero_bench make-database STORE ATHLETES MEASUREMENTS a database of that size; STORE is
//                                                              a data directory or a PostgreSQL
//                                                              connection text
//   kalvero_bench export DIR FILE                             "Alle Exportieren" of all athletes
//                                                              (the core alone)
//   kalvero_bench export-window DIR FILE                      "Alle Exportieren" as the main
//                                                              window runs it, with its progress
//                                                              dialog: prints the seconds from
//                                                              the save dialog's answer to the
//                                                              finished file
//   kalvero_bench tidy-csv DIR FILE                           the table for analysis tools of
//                                                              all athletes, as --export-csv
//   kalvero_bench workbook DIR FILE                           the same as a workbook
//                                                              (--export-xlsx)
//   kalvero_bench start DIR                                   the main window's start and first
//                                                              show
//   kalvero_bench start-wall STORE                            the same on a directory or a
//                                                              server: prints the wall time in
//                                                              seconds to the window shown
//   kalvero_bench analysis DIR                                the same, then the analysis window
//                                                              of the first athlete
//   kalvero_bench report STORE FILE                           the same, then his PDF report
//   kalvero_bench report-wall STORE FILE                      the same: prints the wall time in
//                                                              seconds the report took
//   kalvero_bench record DIR JUMPS                            a series of that many recorded
//                                                              jumps
//   kalvero_bench latency DIR notified|timer COUNT            a series of COUNT results sent over
//                                                              a pseudo-terminal at random gaps
//                                                              of 300 to 900 ms: the median and
//                                                              95th percentile in ms from a
//                                                              result's last byte to its jump
//                                                              row's commit
//   kalvero_bench series DIR COUNT                            a series of COUNT results sent back
//                                                              to back over a pseudo-terminal to
//                                                              the main window: prints the jumps
//                                                              a second the window recorded over
//                                                              the first and the last 500 and
//                                                              over all, and the jumps the run,
//                                                              the jump grid and the chart hold
//   kalvero_bench quick-check DIR                             the check of the file at start
//   kalvero_bench backup DIR FILE                             the day's backup of the file
//   kalvero_bench make-squad STORE ATHLETES MEASUREMENTS     a group of that size, its
//                                                             measurements over the last year
//   kalvero_bench ranking STORE                               the start, then the ranking of the
//                                                             first group over the last year
//   kalvero_bench ranking-wall STORE                          the same: prints the wall time in
//                                                             seconds to the window shown

#include "app/Application.h"
#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/export/Exporter.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingDriverFactory.h"
#include "core/station/Station.h"
#include "core/store/Backup.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "ui/common/AppContext.h"
#include "ui/common/MessageService.h"
#include "ui/common/QtMessageService.h"
#include "ui/main/MainWindow.h"
#include "ui/run/LiveChart.h"
#include "ui/squads/RankingWindow.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "kalvero_bench: %s\n", qPrintable(text));
    return 2;
}

// A data directory, or the database a PostgreSQL connection text names.
StoreLocation storeOf(const QString& text) {
    if (text.startsWith(QLatin1String("postgres")))
        if (const auto server = StoreLocation::fromConnectionText(text))
            return *server;
    return StoreLocation::embedded(text);
}

// Athlete 1 has 999 measurements; every other athlete has `measurements`. A third of all
// measurements are series of 5 to 15 jumps, the others single jumps. A squad: every athlete
// has `measurements`, spread evenly over the last year, and all are in the group "Kader".
void makeDatabase(const StoreLocation& store, int athletes, int measurements, bool squad = false) {
    Database db(store);
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
                const int contactMs = 120 + random.bounded(200);
                const int flightMs = 300 + random.bounded(400);
                jump.addBindValue(double(seriesKey(a, n)));
                jump.addBindValue(double(contactMs));
                jump.addBindValue(double(flightMs));
                jump.addBindValue(std::round(double(flightMs) * flightMs / contactMs / 10.0) /
                                  100.0);
                jump.addBindValue(double(j));
                jump.exec();
            }
        }
    }
    if (squad) {
        db.write(QStringLiteral("INSERT INTO gruppen (Name) VALUES ('Kader')"));
        db.write(QStringLiteral("INSERT INTO gruppen_sportler (Gruppe_ID, Sportler_ID) "
                                "SELECT g.ID, s.ID FROM gruppen g, sportler s"));
    }
    transaction.commit();
}

int exportAll(const QString& directory, const QString& file) {
    DataStore store;
    store.open(StoreLocation::embedded(directory));
    QList<qint64> ids;
    for (const Athlete& athlete : store.athletes().all())
        ids << athlete.id;
    const auto result = Exporter(store).writeFile(file, ids);
    return result.outcome == Exporter::Outcome::Written ? 0 : fail(result.message);
}

// The table for analysis tools of all athletes, as the command line writes it.
int exportTable(const QString& directory, const QString& file, bool workbook) {
    DataStore store;
    store.open(StoreLocation::embedded(directory));
    const QList<qint64> ids = tidyexport::athletesToExport(store, QString());
    const auto result = workbook ? workbook::write(store, file, ids, {})
                                 : tidyexport::writeCsv(store, file, ids, {});
    return result.outcome == Exporter::Outcome::Written ? 0 : fail(result.message);
}

// Message boxes answered at once: a start shows none unless something is wrong. A file to
// save goes to the one named. With `realProgress`, the progress dialogs are the program's own.
class SilentMessages : public MessageService {
public:
    explicit SilentMessages(QString saveAs = {}, bool realProgress = false)
        : saveAs_(std::move(saveAs)), realProgress_(realProgress) {}
    int show(const MessageBox& box) override {
        std::fprintf(stderr, "kalvero_bench: box: %s\n", qPrintable(box.text));
        return 0;
    }
    QString saveFileName(const SaveFileRequest&) override { return saveAs_; }
    QString folderName(const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    void setClipboardText(const QString&) override {}
    std::unique_ptr<ProgressView> showProgress(const QString& label, int total) override {
        if (realProgress_)
            return desktop_.showProgress(label, total);
        return std::make_unique<Unwatched>();
    }

private:
    class Unwatched : public ProgressView {
    public:
        bool update(int) override { return true; }
    };
    QString saveAs_;
    bool realProgress_;
    QtMessageService desktop_;
};

// What a start prints: the CPU time of the window's thread, the seconds the action took, or the
// wall time from the program's start to the window shown.
enum class Figure { Cpu, ActionSeconds, ShownSeconds };

struct StartOptions {
    QString actionName = {}; // by the action's object name; none for the start alone
    QString saveAs = {};     // the file a save dialog answers with
    bool ranking = false;
    Figure figure = Figure::Cpu;
    bool realProgress = false; // the program's own progress dialogs
};

// The main window's start and first show, then (by the action's object name) one action of
// the window, or with `ranking` the window "Rangliste" of the first group over the last year;
// prints the figure asked for.
int startWindow(int argc, char* argv[], const StoreLocation& store,
                const StartOptions& options = {}) {
    const QString& actionName = options.actionName;
    const bool ranking = options.ranking;
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    SystemClock clock;
    SimulatedUnit unit(clock);
    SilentMessages messages(options.saveAs, options.realProgress);
    double actionSeconds = 0;
    QTemporaryDir settings;
    const QString settingsPath = settings.filePath(QStringLiteral("QRV.conf"));
    AppContext context{
        messages,
        clock,
        unit,
        store,
        [settingsPath] { return std::make_unique<QSettings>(settingsPath, QSettings::IniFormat); },
        {},
        {}};
    Station station(unit, clock);
    const auto window = createWindows(context, station);
    window->show();
    if (ranking) {
        // The window "Rangliste" as "Daten" ▸ "Rangliste …" opens it, its period set to the
        // last year before it reads: one ranking.
        RankingWindow shown(station.store(), messages, window.get());
        shown.setPeriod({QDate::currentDate().addDays(-364), QDate::currentDate()});
        shown.showGroup(0);
        if (shown.rowsShown().isEmpty())
            return fail(QStringLiteral("an empty ranking"));
    }
    double shownSeconds = 0;
    QTimer::singleShot(0, &app,
                       [&window, &app, &actionSeconds, &shownSeconds, &sinceStart, actionName] {
                           shownSeconds = double(sinceStart.nsecsElapsed()) / 1e9;
                           if (!actionName.isEmpty()) {
                               auto* action = window->findChild<QAction*>(actionName);
                               if (!action || !action->isEnabled()) {
                                   std::fprintf(stderr, "kalvero_bench: %s is not there\n",
                                                qPrintable(actionName));
                               } else {
                                   QElapsedTimer took;
                                   took.start();
                                   action->trigger();
                                   actionSeconds = double(took.nsecsElapsed()) / 1e9;
                               }
                           }
                           QTimer::singleShot(0, &app, &QCoreApplication::quit);
                       });
    const int status = QApplication::exec();
    if (options.figure == Figure::ShownSeconds) {
        std::printf("%.4f\n", shownSeconds);
        return status;
    }
    if (options.figure == Figure::ActionSeconds) {
        std::printf("%.4f\n", actionSeconds);
        return status;
    }
    // The CPU time of the window's thread so far, finer than the system's time command tells.
    // The check of the file and the day's backup run on a thread of their own and are timed
    // apart (quick-check, backup).
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    std::printf("%.4f\n", double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    return status;
}

int record(const QString& directory, int jumps) {
    DataStore store;
    store.open(StoreLocation::embedded(directory));
    MeasurementRepository& measurements = store.measurements();
    const qint64 id =
        measurements.recordFirstJump(1, QDateTime::currentDateTime(), {200, 500, 1.25, 1}).id;
    for (qint32 n = 2; n <= jumps; ++n)
        measurements.recordJump(id, {200, 500, 1.25, n});
    return 0;
}

// The check every start runs on a thread of its own.
int quickCheck(const QString& directory) {
    const backup::Check checked =
        backup::check(QDir(directory).filePath(StoreLocation::kFileName), backup::Depth::Quick);
    if (!checked.sound)
        return fail(checked.problem);
    return 0;
}

int backUp(const QString& directory, const QString& file) {
    const auto failure =
        failureOf([&] { backup::copy(QDir(directory).filePath(StoreLocation::kFileName), file); });
    return failure ? fail(failure->text + QLatin1Char(' ') + failure->detail) : 0;
}

// Forwards every call but the notice of arriving bytes: a run then looks at the line on its
// 100 ms timer alone.
class TimerOnly : public D2xxDriver {
public:
    explicit TimerOnly(D2xxDriver& inner) : inner_(inner) {}
    d2xx::Status listDevices(void* arg1, void* arg2, quint32 flags) override {
        return inner_.listDevices(arg1, arg2, flags);
    }
    d2xx::Status openEx(const void* arg, quint32 flags, d2xx::Handle* handle) override {
        return inner_.openEx(arg, flags, handle);
    }
    d2xx::Status close(d2xx::Handle handle) override { return inner_.close(handle); }
    d2xx::Status resetDevice(d2xx::Handle handle) override { return inner_.resetDevice(handle); }
    d2xx::Status setBaudRate(d2xx::Handle handle, quint32 baudRate) override {
        return inner_.setBaudRate(handle, baudRate);
    }
    d2xx::Status setDataCharacteristics(d2xx::Handle handle, quint8 wordLength, quint8 stopBits,
                                        quint8 parity) override {
        return inner_.setDataCharacteristics(handle, wordLength, stopBits, parity);
    }
    d2xx::Status setTimeouts(d2xx::Handle handle, quint32 readTimeoutMs,
                             quint32 writeTimeoutMs) override {
        return inner_.setTimeouts(handle, readTimeoutMs, writeTimeoutMs);
    }
    d2xx::Status getQueueStatus(d2xx::Handle handle, quint32* rxBytes) override {
        return inner_.getQueueStatus(handle, rxBytes);
    }
    d2xx::Status write(d2xx::Handle handle, const void* buffer, quint32 count,
                       quint32* written) override {
        return inner_.write(handle, buffer, count, written);
    }
    d2xx::Status read(d2xx::Handle handle, void* buffer, quint32 count, quint32* read) override {
        return inner_.read(handle, buffer, count, read);
    }

private:
    D2xxDriver& inner_;
};

using SteadyClock = std::chrono::steady_clock;

// Writes down when each jump row was committed.
class CommitTimes : public SessionObserver {
public:
    std::vector<SteadyClock::time_point> committed;
    std::atomic<bool> failed = false;
    void runStarting() override {}
    void runStarted() override {}
    void runStopping() override {}
    void runEnded(RunEnd) override {}
    void showField(ResultField, const QString&) override {}
    void showMessage(const QString& text) override { report(text); }
    void showError(const QString& text) override { report(text); }
    void measurementCreated(const NewMeasurement&) override {}
    void jumpRecorded(qint64) override { committed.push_back(SteadyClock::now()); }
    void pollFailed(const Failure& failure) override { report(failure.text); }

private:
    void report(const QString& text) {
        failed = true;
        std::fprintf(stderr, "kalvero_bench: %s\n", qPrintable(text));
    }
};

// The timing unit on the master side of a pseudo-terminal: answers the start command, takes
// the configuration byte, then sends `count` results (contact 200 ms, flight 500 ms) at random
// gaps, the last byte of each a moment after the others; notes when each last byte went.
class PtyUnit {
public:
    PtyUnit(int master, int count) : master_(master), sent_(std::size_t(count)) {}
    void play() {
        if (receive(10000) != 251)
            return;
        send("\xFB", 1);
        receive(2000);
        QRandomGenerator random(20261208);
        for (auto& at : sent_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300 + random.bounded(601)));
            send("\x00\xC8\x01", 3);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            at = SteadyClock::now();
            send("\xF4", 1);
        }
    }
    const std::vector<SteadyClock::time_point>& sent() const { return sent_; }

private:
    int receive(int ms) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return -1;
        unsigned char byte = 0;
        return ::read(master_, &byte, 1) == 1 ? byte : -1;
    }
    void send(const char* bytes, std::size_t n) {
        if (::write(master_, bytes, n) != ssize_t(n))
            std::fprintf(stderr, "kalvero_bench: the pseudo-terminal took no bytes\n");
    }
    int master_;
    std::vector<SteadyClock::time_point> sent_;
};

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(share * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

int latency(const QString& directory, bool notified, int count) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return fail(QStringLiteral("no pseudo-terminal"));
    const QString slavePath = QString::fromLocal8Bit(::ptsname(master));
    // Held open so that the terminal never hangs up.
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    SystemClock clock;
    QString error;
    const auto serial = createTimingDriver(
        DeviceChoice{{QStringLiteral("serial:") + slavePath, kTimingUnitVariable, true}, {}}, clock,
        &error);
    if (!serial)
        return fail(error);
    TimerOnly timerOnly(*serial);
    DeviceLink device(notified ? *serial : static_cast<D2xxDriver&>(timerOnly));
    TimingLink link(device, clock);
    {
        Database db(StoreLocation::embedded(directory));
        db.write(QStringLiteral("DELETE FROM mr"));
        db.write(QStringLiteral("DELETE FROM units"));
        db.write(QStringLiteral("DELETE FROM sportler"));
        db.write(QStringLiteral("INSERT INTO sportler (ID, Name) VALUES (1, 'Bank')"));
    }
    DataStore store;
    store.open(StoreLocation::embedded(directory));
    plausibility::Limits limits;
    CommitTimes times;
    MeasurementSession session(link, store, limits, times);
    session.mode = MeasurementMode::Multiple;
    PtyUnit unit(master, count);
    std::thread player([&unit] { unit.play(); });
    session.start(1);
    const auto deadline = SteadyClock::now() + std::chrono::seconds(count + 30);
    while (session.running() && times.committed.size() < std::size_t(count) &&
           SteadyClock::now() < deadline && !times.failed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    player.join();
    if (session.running())
        session.stop();
    ::close(slave);
    ::close(master);
    if (times.committed.size() != std::size_t(count))
        return fail(
            QStringLiteral("%1 of %2 jumps committed").arg(times.committed.size()).arg(count));
    std::vector<double> ms;
    for (std::size_t i = 0; i < times.committed.size(); ++i)
        ms.push_back(
            std::chrono::duration<double, std::milli>(times.committed[i] - unit.sent()[i]).count());
    std::printf("%.2f %.2f\n", percentile(ms, 0.5), percentile(ms, 0.95));
    return 0;
}

// The timing unit on the master side of a pseudo-terminal, sending `count` results (contact
// 200 ms, flight 400 to 599 ms) back to back once the start handshake is done: as fast as the
// line takes them.
void playBackToBack(int master, int count) {
    const auto receive = [master](int ms) {
        pollfd p{master, POLLIN, 0};
        unsigned char byte = 0;
        return ::poll(&p, 1, ms) > 0 && ::read(master, &byte, 1) == 1 ? int(byte) : -1;
    };
    if (receive(10000) != 251)
        return;
    const char answer = '\xFB';
    if (::write(master, &answer, 1) != 1)
        return;
    receive(2000);
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const int flight = 400 + i % 200;
        bytes.append(
            std::initializer_list<char>{0, char(200), char(flight >> 8), char(flight & 0xFF)});
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

// A series in the main window as a coach records it, its results sent back to back: the time
// at which each jump reached the jump grid.
int series(int argc, char* argv[], const QString& directory, int count) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return fail(QStringLiteral("no pseudo-terminal"));
    const QString slavePath = QString::fromLocal8Bit(::ptsname(master));
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    const StoreLocation store = StoreLocation::embedded(directory);
    {
        Database db(store);
        db.write(QStringLiteral("DELETE FROM mr"));
        db.write(QStringLiteral("DELETE FROM units"));
        db.write(QStringLiteral("DELETE FROM sportler"));
        db.write(
            QStringLiteral("INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Bank', 'Eva')"));
    }
    QApplication app(argc, argv);
    SystemClock clock;
    QString error;
    const auto serial = createTimingDriver(
        DeviceChoice{{QStringLiteral("serial:") + slavePath, kTimingUnitVariable, true}, {}}, clock,
        &error);
    if (!serial)
        return fail(error);
    SilentMessages messages;
    QTemporaryDir settings;
    const QString settingsPath = settings.filePath(QStringLiteral("QRV.conf"));
    QSettings(settingsPath, QSettings::IniFormat)
        .setValue(QStringLiteral("Einstellungen/Betriebsart"), 2);
    AppContext context{
        messages,
        clock,
        *serial,
        store,
        [settingsPath] { return std::make_unique<QSettings>(settingsPath, QSettings::IniFormat); },
        {},
        {}};
    Station station(*serial, clock);
    const auto window = createWindows(context, station);
    window->resize(1280, 900);
    window->show();
    auto* grid = window->findChild<QTableView*>(QStringLiteral("jumpGrid"));
    if (!grid)
        return fail(QStringLiteral("no jump grid"));
    std::vector<SteadyClock::time_point> shown;
    const auto note = [&shown, grid] {
        while (shown.size() < std::size_t(grid->model()->rowCount()))
            shown.push_back(SteadyClock::now());
    };
    QObject::connect(grid->model(), &QAbstractItemModel::rowsInserted, note);
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, note);
    std::thread player([master, count] { playBackToBack(master, count); });
    window->toggleRun();
    const auto deadline = SteadyClock::now() + std::chrono::seconds(120);
    while (station.session().running() && shown.size() < std::size_t(count) &&
           SteadyClock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    player.join();
    if (station.session().running())
        window->toggleRun();
    QCoreApplication::processEvents();
    const int stored = station.session().state().jumpCount;
    const int inGrid = grid->model()->rowCount();
    auto* chart = window->findChild<LiveChart*>(QStringLiteral("liveChart"));
    const int inChart = chart ? chart->series().size() : 0;
    window->close();
    ::close(slave);
    ::close(master);
    if (shown.size() < std::size_t(count))
        return fail(QStringLiteral("%1 of %2 jumps shown").arg(shown.size()).arg(count));
    const auto rate = [&shown](std::size_t first, std::size_t last) {
        return double(last - first) /
               std::chrono::duration<double>(shown[last] - shown[first]).count();
    };
    const std::size_t n = shown.size();
    const std::size_t block = std::min<std::size_t>(500, n / 2);
    std::printf("%.0f %.0f %.0f %d %d %d\n", rate(0, block - 1), rate(n - block, n - 1),
                rate(0, n - 1), stored, inGrid, inChart);
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
    const StoreLocation store = storeOf(args.value(1));
    const QString report = QStringLiteral("reportAction");
    if (task == QLatin1String("start") && args.size() == 2)
        return startWindow(argc, argv, store);
    if (task == QLatin1String("start-wall") && args.size() == 2)
        return startWindow(argc, argv, store, {.figure = Figure::ShownSeconds});
    if (task == QLatin1String("analysis") && args.size() == 2)
        return startWindow(argc, argv, store, {.actionName = QStringLiteral("analysisAction")});
    if (task == QLatin1String("report") && args.size() == 3)
        return startWindow(argc, argv, store, {.actionName = report, .saveAs = args[2]});
    if (task == QLatin1String("report-wall") && args.size() == 3)
        return startWindow(
            argc, argv, store,
            {.actionName = report, .saveAs = args[2], .figure = Figure::ActionSeconds});
    if (task == QLatin1String("export-window") && args.size() == 3)
        return startWindow(argc, argv, store,
                           {.actionName = QStringLiteral("exportAllAction"),
                            .saveAs = args[2],
                            .figure = Figure::ActionSeconds,
                            .realProgress = true});
    if (task == QLatin1String("ranking") && args.size() == 2)
        return startWindow(argc, argv, store, {.ranking = true});
    if (task == QLatin1String("ranking-wall") && args.size() == 2)
        return startWindow(argc, argv, store, {.ranking = true, .figure = Figure::ShownSeconds});
    if (task == QLatin1String("series") && args.size() == 3)
        return series(argc, argv, args[1], args[2].toInt());
    QCoreApplication app(argc, argv);
    if (task == QLatin1String("make-database") && args.size() == 4) {
        makeDatabase(store, args[2].toInt(), args[3].toInt());
        return 0;
    }
    if (task == QLatin1String("make-squad") && args.size() == 4) {
        makeDatabase(store, args[2].toInt(), args[3].toInt(), true);
        return 0;
    }
    if (task == QLatin1String("export") && args.size() == 3)
        return exportAll(args[1], args[2]);
    if ((task == QLatin1String("tidy-csv") || task == QLatin1String("workbook")) &&
        args.size() == 3)
        return exportTable(args[1], args[2], task == QLatin1String("workbook"));
    if (task == QLatin1String("record") && args.size() == 3)
        return record(args[1], args[2].toInt());
    if (task == QLatin1String("quick-check") && args.size() == 2)
        return quickCheck(args[1]);
    if (task == QLatin1String("backup") && args.size() == 3)
        return backUp(args[1], args[2]);
    if (task == QLatin1String("latency") && args.size() == 4)
        return latency(args[1], args[2] == QLatin1String("notified"), args[3].toInt());
    return fail(
        QStringLiteral("usage: kalvero_bench make-database STORE ATHLETES MEASUREMENTS | "
                       "export DIR FILE | export-window DIR FILE | tidy-csv DIR FILE | "
                       "workbook DIR FILE | start DIR | start-wall STORE | analysis DIR | "
                       "report STORE FILE | report-wall STORE FILE | "
                       "record DIR JUMPS | latency DIR notified|timer COUNT | series DIR COUNT | "
                       "quick-check DIR | backup DIR FILE | make-squad STORE ATHLETES "
                       "MEASUREMENTS | ranking STORE | ranking-wall STORE"));
}
