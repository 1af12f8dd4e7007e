#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "ui/HistoryController.h"
#include "ui/RunController.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSqlQuery>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

// What the main window looks like at its designed size and what it keeps of its geometry.
class TestWindowLayout : public QObject {
    Q_OBJECT

    // An athlete with a single jump and a series, the series the newest.
    static void seedAthlete(MainWindowFixture& f) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname, Geb) "
                       "VALUES (1, 'Meier', 'Anna', '2001-09-30')"));
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

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // At the designed size no date, time, number or header is cut off in either layout, also
    // where dates carry month names; columns that the old rule made wide enough keep its width.
    void columnsFitTheirTexts_data() {
        QTest::addColumn<bool>("series");
        QTest::addColumn<QLocale>("locale");
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("single layout") << false << german;
        QTest::newRow("series layout") << true << german;
        QTest::newRow("dates with month names") << true << QLocale::c();
    }
    void columnsFitTheirTexts() {
        QFETCH(bool, series);
        QFETCH(QLocale, locale);
        texts::setLocale(locale);
        MainWindowFixture f;
        seedAthlete(f);
        MainWindow& w = f.start();
        QTreeWidget* list = w.historyList;
        QCOMPARE(list->topLevelItemCount(), 2);
        w.history().selectEntry(list->topLevelItem(series ? 0 : 1));
        QCOMPARE(w.jumpGrid->isVisible(), series);

        QCOMPARE(cutTexts(w.athleteGrid, w.athleteGrid->horizontalHeader()), QStringList());
        QCOMPARE(cutTexts(list, list->header()), QStringList());
        if (series) {
            QCOMPARE(w.jumpGrid->model()->rowCount(), 3);
            QCOMPARE(cutTexts(w.jumpGrid, w.jumpGrid->horizontalHeader()), QStringList());
        } else {
            // The old rule's width stays where it is enough.
            for (int c = 1; c < 7; ++c)
                QVERIFY(list->columnWidth(c) >= list->width() / 7);
        }
        QVERIFY(f.ui.boxes.isEmpty());
        f.finish();
    }

    // The window keeps its size, position and maximised state from one start to the next;
    // one that the screens no longer show comes back onto a screen.
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
        const QSize size(designed.width() + 40, designed.height() + 10);
        first.resize(size);
        first.move(position);
        QCOMPARE(first.pos(), position);
        if (maximised)
            first.showMaximized();
        f.finish();
        QCOMPARE(f.settings().childGroups(), (QStringList{"Einstellungen", "Fenster"}));

        MainWindow& again = f.start();
        QCOMPARE(again.isMaximized(), maximised);
        const QRect normal = again.normalGeometry();
        QCOMPARE(normal.size(), size);
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

    // While a run goes on, the result values grow with the window; the run's end gives the
    // panels back their size.
    void bigResultsDuringARun() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n");
        MainWindow& w = f.start();
        const QRect idleResults = w.resultGroup->geometry();
        const QRect idleData = w.dataGroup->geometry();
        const qreal idleFont = w.heightField->font().pointSizeF();
        w.toggleRun();
        QVERIFY(w.session().running());
        // At the designed size nothing moves.
        QCOMPARE(w.resultGroup->geometry(), idleResults);
        QCOMPARE(w.heightField->font().pointSizeF(), idleFont);

        w.resize(w.width() + 400, w.height() + 300);
        QVERIFY(w.run().resultZoom().factor() > 2);
        QVERIFY(w.heightField->font().pointSizeF() > 2 * idleFont);
        QVERIFY(w.heightField->height() > 2 * 22);
        // The result panel took the room from the data panel and the labels sit beside their
        // fields.
        QCOMPARE(w.dataGroup->y() - w.resultGroup->geometry().bottom(),
                 idleData.y() - idleResults.bottom());
        QVERIFY(w.heightLabel->geometry().right() < w.heightField->x());
        QVERIFY(w.contactUnitLabel->geometry().right() < w.heightLabel->x());
        QVERIFY(w.heightField->geometry().right() < w.startButton->x());

        w.toggleRun();
        QVERIFY(!w.session().running());
        QCOMPARE(w.resultGroup->height(), idleResults.height());
        QCOMPARE(w.dataGroup->y(), idleData.y());
        QCOMPARE(w.dataGroup->height(), idleData.height() + 300);
        QCOMPARE(w.heightField->font().pointSizeF(), idleFont);
        QCOMPARE(w.heightField->size(), QSize(81, 22));
        f.finish();
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
