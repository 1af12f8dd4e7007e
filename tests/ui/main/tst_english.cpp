#include "app/Application.h"
#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/analysis/AnalysisWindow.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using language::Language;

// The main window and the analysis window with the English translation and English
// conventions, as the program shows them when the language is English.
class TestEnglish : public QObject {
    Q_OBJECT

    // Athlete "Meier, Anna" with a series of two jumps on 1 March 2026 at 09:00.
    static void seed(MainWindowFixture& f) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        for (const char* statement :
             {"INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Meier', 'Anna')",
              "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
              "(1, '2026-03-01T09:00:00', 1, 2)",
              "INSERT INTO mr VALUES (1001, 200, 500, 0, 1), (1001, 250, 400, 0, 2)"})
            QVERIFY2(q.exec(QString::fromLatin1(statement)), statement);
    }

    // The access key of a caption: the letter after a single '&'.
    static QChar accessKey(const QString& caption) {
        for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] != QLatin1Char('&'))
                continue;
            if (caption[i + 1] != QLatin1Char('&'))
                return caption[i + 1].toLower();
            ++i;
        }
        return {};
    }

private slots:
    void initTestCase() {
        QVERIFY(installProgramTranslation(Language::English));
        const QLocale english = language::localeFor(Language::English, QLocale::c());
        QLocale::setDefault(english);
        texts::setLocale(english);
    }
    void cleanupTestCase() {
        QVERIFY(installProgramTranslation(Language::German));
        QLocale::setDefault(QLocale::c());
        texts::setLocale(QLocale(QLocale::German, QLocale::Germany));
    }

    void mainWindowCaptions_data() {
        QTest::addColumn<QString>("part"); // "menu:NAME", "action:NAME" or "label:NAME"
        QTest::addColumn<QString>("english");
        QTest::newRow("file menu") << "menu:fileMenu"
                                   << "&File";
        QTest::newRow("mode menu") << "menu:modeMenu"
                                   << "&Mode";
        QTest::newRow("data menu") << "menu:dataMenu"
                                   << "&Data";
        QTest::newRow("new athlete") << "action:newAthleteAction"
                                     << "Ne&w athlete";
        QTest::newRow("analysis") << "action:analysisAction"
                                  << "Anal&ysis …";
        QTest::newRow("ranking") << "action:rankingAction"
                                 << "&Ranking …";
        QTest::newRow("series mode") << "action:multipleModeAction"
                                     << "&Multiple measurement";
    }
    void mainWindowCaptions() {
        QFETCH(QString, part);
        QFETCH(QString, english);
        MainWindowFixture f;
        MainWindow& w = f.start();
        const QString kind = part.section(':', 0, 0);
        const QString name = part.section(':', 1);
        if (kind == QLatin1String("menu"))
            QCOMPARE(menu(w, name)->title(), english);
        else
            QCOMPARE(action(w, name)->text(), english);
        f.finish();
    }

    // The window in English as a whole: its title, the columns of the history and the date
    // and values of a measurement in English form; and in no menu do two entries share an
    // access key.
    void mainWindowInEnglish() {
        MainWindowFixture f;
        seed(f);
        MainWindow& w = f.start();
        action(w, "multipleModeAction")->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (multiple measurement)"));

        const QTreeWidget* history = historyList(w);
        QCOMPARE(history->headerItem()->text(1), QStringLiteral("Date"));
        QCOMPARE(history->headerItem()->text(3), QStringLiteral("Contact(ms)"));
        QVERIFY(history->topLevelItemCount() > 0);
        QCOMPARE(history->topLevelItem(0)->text(1), QStringLiteral("01/03/2026"));
        QCOMPARE(athleteGrid(w)->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("First name"));
        const QAbstractItemModel* jumps = jumpGrid(w)->model();
        QCOMPARE(jumps->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Contact(ms)"));
        QVERIFY(jumps->rowCount() > 0);
        QCOMPARE(jumps->index(0, 3).data().toString(), QStringLiteral("1.25"));

        QList<QMenu*> menus{};
        for (QAction* entry : w.menuBar()->actions())
            if (entry->menu())
                menus << entry->menu();
        QStringList clashes;
        const auto check = [&clashes](const QString& where, const QList<QAction*>& entries) {
            QMap<QChar, QString> taken;
            for (const QAction* entry : entries) {
                const QString caption = entry->menu() ? entry->menu()->title() : entry->text();
                const QChar key = accessKey(caption);
                if (key.isNull())
                    continue;
                if (taken.contains(key))
                    clashes
                        << QStringLiteral("%1: \"%2\" and \"%3\"").arg(where, taken[key], caption);
                taken.insert(key, caption);
            }
        };
        check(QStringLiteral("menu bar"), w.menuBar()->actions());
        for (int i = 0; i < menus.size(); ++i) {
            for (QAction* entry : menus[i]->actions())
                if (entry->menu())
                    menus << entry->menu();
            check(menus[i]->title(), menus[i]->actions());
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        f.finish();
    }

    // The analysis window: the names of the statistics from the core in English, their
    // values with a decimal point, the measurement's date in English form.
    void analysisWindowInEnglish() {
        MainWindowFixture f;
        seed(f);
        MainWindow& w = f.start();
        action(w, "analysisAction")->trigger();
        QCoreApplication::processEvents();
        AnalysisWindow& a = *part<AnalysisWindow>(w, "analysisWindow");
        QCOMPARE(a.windowTitle(), QStringLiteral("Analysis"));
        auto* statistics = part<QTableWidget>(a, "statisticsTable");
        QCOMPARE(statistics->item(0, 0)->text(), QStringLiteral("Jumps"));
        QCOMPARE(statistics->item(1, 0)->text(), QStringLiteral("Best height (cm)"));
        QCOMPARE(statistics->item(1, 1)->text(), QStringLiteral("30.66"));
        const QString heading = part<QLabel>(a, "headingLabel")->text();
        QVERIFY2(heading.contains(QStringLiteral("01/03/2026")), qPrintable(heading));
        QCOMPARE(part<QPushButton>(a, "copyButton")->text(), QStringLiteral("&Copy"));
        f.finish();
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
