#include "app/Application.h"
#include "core/base/Language.h"
#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/run/ResultPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QSqlQuery>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

// What the main window looks like on a screen of 1280 x 800: every column readable at the
// first size and at the smallest, and what it keeps of its geometry.
class TestWindowLayout : public QObject {
    Q_OBJECT

    // An athlete with long names, a single jump and a series with wide values, the series
    // the newest.
    static void seedAthlete(MainWindowFixture& f) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname, Geb) "
                       "VALUES (1, 'Schmidt-Müller', 'Maximiliane', '2001-09-30')"));
        QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                       "(1, '2025-12-07T09:15:03', 1, 1), (1, '2025-12-28T20:58:48', 2, 3)"));
        QVERIFY(q.exec("INSERT INTO mr VALUES (1001, 1234, 888, 0.64, 1), "
                       "(1002, 180, 497, 1.37, 1), (1002, 1999, 1000, 0.5, 2), "
                       "(1002, 200, 0, 0, 3)"));
    }

    // Columns of the view (those shown) whose header or a cell text does not fit.
    static QStringList cutTexts(const QAbstractItemView* view, const QHeaderView* header) {
        const QAbstractItemModel* model = view->model();
        const int headerMargin = view->style()->pixelMetric(QStyle::PM_HeaderMargin);
        const int cellMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
        QStringList cut;
        for (int c = 0; c < model->columnCount(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const int width = header->sectionSize(c);
            const QString title = model->headerData(c, Qt::Horizontal).toString();
            if (header->fontMetrics().horizontalAdvance(title) + 2 * headerMargin > width)
                cut << title;
            for (int r = 0; r < model->rowCount(); ++r) {
                const QString text = model->index(r, c).data().toString();
                if (view->fontMetrics().horizontalAdvance(text) + 2 * cellMargin > width)
                    cut << text;
            }
        }
        return cut;
    }

    // What of a list cannot be read: cut texts, a sideways scroll bar, fewer than three rows.
    // A list whose later columns (`wholeColumns` on) are not always shown whole may scroll to
    // them; its first columns never scroll sideways.
    static QStringList unreadable(const QAbstractItemView* view, const QHeaderView* header,
                                  int wholeColumns = -1) {
        QStringList problems = cutTexts(view, header);
        int whole = 0;
        for (int c = 0; c < header->count() && (wholeColumns < 0 || c < wholeColumns); ++c)
            whole += header->isSectionHidden(c) ? 0 : header->sectionSize(c);
        if (whole > view->viewport()->width())
            problems << view->objectName() + " scrolls sideways";
        const int rows = view->viewport()->height() / (view->fontMetrics().height() + 6);
        if (rows < 3)
            problems << view->objectName() + QStringLiteral(" shows %1 rows").arg(rows);
        return problems;
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // At the first size and at the smallest, in either layout, every column shows its whole
    // title and its widest value without a sideways scroll bar, also where dates carry month
    // names; the start button and the result fields stay whole.
    void everythingIsReadable_data() {
        QTest::addColumn<bool>("series");
        QTest::addColumn<bool>("smallest");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QLocale>("locale");
        const QLocale german(QLocale::German, QLocale::Germany);
        for (const bool stored : {false, true}) {
            const char* what = stored ? "with a stored athlete" : "nothing stored";
            QTest::addRow("single, first size, %s", what) << false << false << stored << german;
            QTest::addRow("series, first size, %s", what) << true << false << stored << german;
            QTest::addRow("single, smallest, %s", what) << false << true << stored << german;
            QTest::addRow("series, smallest, %s", what) << true << true << stored << german;
        }
        QTest::newRow("month names, smallest") << true << true << true << QLocale::c();
        // English captions are longer than the German ones.
        const QLocale english = language::localeFor(language::Language::English, QLocale::c());
        QTest::newRow("English, first size") << true << false << true << english;
        QTest::newRow("English, smallest") << true << true << true << english;
    }
    void everythingIsReadable() {
        QFETCH(bool, series);
        QFETCH(bool, smallest);
        QFETCH(bool, stored);
        QFETCH(QLocale, locale);
        texts::setLocale(locale);
        const bool english = locale.language() == QLocale::English;
        QVERIFY(installProgramTranslation(english ? language::Language::English
                                                  : language::Language::German));
        MainWindowFixture f;
        if (stored)
            seedAthlete(f);
        f.store("Betriebsart", series ? "2" : "1");
        MainWindow& w = f.start();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY2(screen.width() >= 1280 && screen.height() >= 800, "a screen of 1280 x 800");
        QVERIFY2(screen.contains(QRect(QPoint(), w.frameGeometry().size())),
                 qPrintable(QStringLiteral("%1 x %2, smallest %3 x %4")
                                .arg(w.frameGeometry().width())
                                .arg(w.frameGeometry().height())
                                .arg(w.minimumSizeHint().width())
                                .arg(w.minimumSizeHint().height())));
        if (smallest) {
            w.resize(w.minimumSize());
            QCoreApplication::processEvents();
            QCOMPARE(w.size(), w.minimumSize());
        }
        if (stored)
            chooseHistoryEntry(w, series ? 0 : 1);
        QCoreApplication::processEvents();
        QCOMPARE(jumpGrid(w)->isVisible(), series);

        QTableView* athletes = athleteGrid(w);
        QVERIFY2(unreadable(athletes, athletes->horizontalHeader()).isEmpty(),
                 qPrintable(unreadable(athletes, athletes->horizontalHeader()).join(", ")));
        QTreeWidget* list = historyList(w);
        // The best height and RSI follow the ten columns the list always shows.
        QVERIFY2(unreadable(list, list->header(), 10).isEmpty(),
                 qPrintable(unreadable(list, list->header(), 10).join(", ")));
        if (series) {
            QTableView* jumps = jumpGrid(w);
            QCOMPARE(jumps->model()->rowCount(), stored ? 3 : 0);
            // The reason of an exclusion follows the values up to the RSI.
            QVERIFY2(unreadable(jumps, jumps->horizontalHeader(), 6).isEmpty(),
                     qPrintable(unreadable(jumps, jumps->horizontalHeader(), 6).join(", ")));
        }
        QToolButton* start = startButton(w);
        QVERIFY(start->width() >= start->sizeHint().width());
        for (const char* name :
             {"contactTimeField", "flightTimeField", "heightField", "efficiencyField"}) {
            QLineEdit* field = resultField(w, name);
            QVERIFY(field->isVisible());
            QVERIFY(field->geometry().right() < start->x());
            QVERIFY(field->width() >= field->fontMetrics().horizontalAdvance("999,99"));
        }
        // Nothing but the values and the choices takes room before a protocol runs.
        QVERIFY(!part(w, "protocolBox")->isVisible());
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
        QVERIFY(installProgramTranslation(language::Language::German));
    }

    // The window never grows by itself: its smallest size is one and the same in both modes
    // and under every protocol, fits a screen of 1280 x 800 with its frame, and a switch of
    // mode or protocol leaves its size as it is. At the smallest size every choice of the
    // next run and the start button stay whole inside the window.
    void theWindowKeepsItsSize_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("German") << false;
        QTest::newRow("English") << true;
    }
    void theWindowKeepsItsSize() {
        QFETCH(bool, english);
        texts::setLocale(english ? language::localeFor(language::Language::English, QLocale::c())
                                 : QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(installProgramTranslation(english ? language::Language::English
                                                  : language::Language::German));
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "1");
        MainWindow& w = f.start();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        const QSize size = w.size();
        const QSize smallest = w.minimumSize();
        const QSize frame = w.frameGeometry().size() - w.size();
        QVERIFY2(
            smallest.width() + frame.width() <= 1280 && smallest.height() + frame.height() <= 800,
            qPrintable(QStringLiteral("%1 x %2").arg(smallest.width()).arg(smallest.height())));
        auto* protocols = part<QComboBox>(w, "protocolChoice");
        QCOMPARE(protocols->count(), 3);
        for (const char* mode : {"singleModeAction", "multipleModeAction"}) {
            action(w, mode)->trigger();
            for (const int protocol : {0, 1, 2, 0}) {
                protocols->setCurrentIndex(protocol);
                QCoreApplication::processEvents();
                const QString where =
                    QStringLiteral("%1, %2: ").arg(mode, protocols->currentText());
                QVERIFY2(
                    w.size() == size,
                    qPrintable(where + QStringLiteral("%1 x %2").arg(w.width()).arg(w.height())));
                QVERIFY2(w.minimumSize() == smallest,
                         qPrintable(where + QStringLiteral("smallest %1 x %2")
                                                .arg(w.minimumSize().width())
                                                .arg(w.minimumSize().height())));
                const QSize needed = w.minimumSizeHint();
                QVERIFY2(
                    needed.width() <= smallest.width() && needed.height() <= smallest.height(),
                    qPrintable(
                        where +
                        QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height())));
                w.resize(smallest);
                QCoreApplication::processEvents();
                for (QWidget* shown : w.findChildren<QWidget*>()) {
                    if (!shown->isVisible() || shown->window() != &w ||
                        !(shown->objectName() == "startButton" ||
                          shown->parentWidget()->objectName() == "runSetupPanel"))
                        continue;
                    const QRect inWindow(shown->mapTo(&w, QPoint()), shown->size());
                    QVERIFY2(w.rect().contains(inWindow), qPrintable(where + shown->objectName()));
                    QVERIFY2(shown->width() >= shown->minimumSizeHint().width(),
                             qPrintable(where + shown->objectName()));
                }
                w.resize(size);
                QCoreApplication::processEvents();
            }
        }
        f.finish();
        QVERIFY(installProgramTranslation(language::Language::German));
    }

    // The window keeps its size, position, maximised state and dividers from one start to
    // the next; one that the screens no longer show comes back onto a screen.
    void geometrySurvivesARestart_data() {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("moved and widened") << QPoint(30, 40) << false;
        QTest::newRow("maximised") << QPoint(30, 40) << true;
        QTest::newRow("off every screen") << QPoint(-20000, 15000) << false;
    }
    void geometrySurvivesARestart() {
        QFETCH(QPoint, position);
        QFETCH(bool, maximised);
        MainWindowFixture f;
        MainWindow& first = f.start();
        const QSize designed = first.size();
        // Wider by what the screen leaves, up to 40 pixels.
        const int screenWidth = first.screen()->availableGeometry().width();
        const QSize size(std::min(designed.width() + 40, screenWidth), designed.height() + 10);
        first.resize(size);
        first.move(position);
        QCOMPARE(first.pos(), position);
        auto* dataDivider = part<QSplitter>(first, "dataSplitter");
        QCoreApplication::processEvents();
        const QList<int> parts = dataDivider->sizes();
        dataDivider->setSizes({parts[0] - 60, parts[1] + 60});
        const QList<int> moved = dataDivider->sizes();
        if (maximised)
            first.showMaximized();
        f.finish();
        QCOMPARE(f.settings().childGroups(), (QStringList{"Einstellungen", "Fenster"}));

        MainWindow& again = f.start();
        QCOMPARE(again.isMaximized(), maximised);
        const QRect normal = again.normalGeometry();
        QCOMPARE(normal.size(), size);
        if (!maximised) {
            QCoreApplication::processEvents();
            QCOMPARE(part<QSplitter>(again, "dataSplitter")->sizes(), moved);
        }
        const QRect screens = QGuiApplication::primaryScreen()->availableVirtualGeometry();
        if (screens.contains(QRect(position, size)))
            QCOMPARE(again.pos(), position);
        else
            QVERIFY2(screens.contains(again.geometry().topLeft()),
                     qPrintable(QStringLiteral("at %1, %2")
                                    .arg(again.geometry().x())
                                    .arg(again.geometry().y())));
        f.finish();
    }

    // While a run goes on, the result values grow with the window beside the start button;
    // the run's end gives them their size back.
    void bigResultsDuringARun() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n");
        MainWindow& w = f.start();
        auto* panel = part<ResultPanel>(w, "resultPanel");
        QLineEdit* height = resultField(w, "heightField");
        const QSize idleField = height->size();
        const qreal idleFont = height->font().pointSizeF();
        w.toggleRun();
        QVERIFY(f.station->session().running());

        w.resize(w.width() + 400, w.height() + 300);
        QCoreApplication::processEvents();
        QVERIFY2(panel->enlargement() > 2, qPrintable(QString::number(panel->enlargement())));
        QVERIFY(height->font().pointSizeF() > 2 * idleFont);
        QVERIFY(height->height() > 2 * idleField.height());
        QVERIFY(label(w, "heightLabel")->geometry().right() < height->x());
        QVERIFY(label(w, "contactTimeUnitLabel")->geometry().right() <
                label(w, "heightLabel")->x());
        QVERIFY(height->geometry().right() < startButton(w)->x());
        QVERIFY(dataGroup(w)->y() > resultPanel(w)->geometry().bottom());

        w.toggleRun();
        QVERIFY(!f.station->session().running());
        QCOMPARE(panel->enlargement(), 1.0);
        QCOMPARE(height->font().pointSizeF(), idleFont);
        QCOMPARE(height->size(), idleField);
        f.finish();
    }
};

// The tests see a screen of 1280 x 800, the smallest the window is made for, whatever platform
// the command line or the environment names.
int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "lab", "x": 0, "y": 0, "width": 1280,
                       "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        qFatal("cannot write the screen configuration");
    file.close();
    QByteArray platform = "offscreen:configfile=" + config.toLocal8Bit();
    qputenv("QT_QPA_PLATFORM", platform);
    QList<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "-platform" && i + 1 < argc) {
            ++i;
            continue;
        }
        arguments << argv[i];
    }
    int count = static_cast<int>(arguments.size());
    arguments << nullptr;
    QApplication app(count, arguments.data());
    TestWindowLayout test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, count, arguments.data());
}

#include "tst_windowlayout.moc"
