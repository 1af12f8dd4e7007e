#include "core/base/Texts.h"
#include "support/AthleteWindow.h"
#include "support/WindowParts.h"
#include "ui/squads/RankingWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

using namespace athletewindow;

namespace {

QString tool(const QString& name, const QStringList& arguments) {
    QProcess p;
    p.start(name, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// `count` athletes in the group "U19" (and one outside it), athlete n with one jump of
// contact time 200 ms and flight time 400 + 10·n ms three days ago; athlete 1 also a jump of
// 200/400 ms forty days ago, in the period before the last 30 days.
QStringList squad(int count) {
    const QString recent =
        QDateTime(QDate::currentDate().addDays(-3), QTime(10, 0)).toString(Qt::ISODate);
    const QString earlier =
        QDateTime(QDate::currentDate().addDays(-40), QTime(10, 0)).toString(Qt::ISODate);
    QStringList athletes, units, jumps, members;
    for (int n = 1; n <= count + 1; ++n) {
        athletes << QStringLiteral("(%1, 'Name%2', 'Vorname')").arg(n).arg(n, 2, 10, QChar('0'));
        units << QStringLiteral("(%1, '%2', 1, 1)").arg(n).arg(recent);
        jumps << QStringLiteral("(%1, 200, %2, 0, 1)").arg(n * 1000 + 1).arg(400 + 10 * n);
        if (n <= count)
            members << QStringLiteral("(g.ID = (SELECT ID FROM gruppen) AND s.ID = %1)").arg(n);
    }
    units << QStringLiteral("(1, '%1', 2, 1)").arg(earlier);
    jumps << QStringLiteral("(1002, 200, 400, 0, 1)");
    return {"INSERT INTO sportler (ID, Name, Vorname) VALUES " + athletes.join(','),
            "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES " + units.join(','),
            "INSERT INTO mr VALUES " + jumps.join(','), "INSERT INTO gruppen (Name) VALUES ('U19')",
            "INSERT INTO gruppen_sportler (Gruppe_ID, Sportler_ID) SELECT g.ID, s.ID FROM "
            "gruppen g, sportler s WHERE " +
                members.join(" OR ")};
}

} // namespace

// The window "Rangliste" of the group chosen in the main window: its rows, sorted by a click
// on a header, copied in the order shown, and the team report of the same group and period.
class TestRankingWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void rankingSortedCopiedAndReported() {
        MainWindowFixture f;
        // Athlete 2's measurement is a drop jump from 30 cm; the others have no test.
        seed(f, squad(30) << "INSERT INTO units_test (Unit_ID, Test, Fallhoehe) SELECT ID, "
                             "'Drop Jump', 30 FROM units WHERE Ref_ID = 2");
        MainWindow& w = open(f);
        auto* chooser = part<QComboBox>(w, "groupChooser");
        chooser->setCurrentIndex(chooser->findText("U19"));
        action(w, "rankingAction")->trigger();
        auto* ranking = part<RankingWindow>(w, "rankingWindow");
        QVERIFY(ranking->isVisible());
        auto* from = part<QDateEdit>(*ranking, "fromField");
        QCOMPARE(part<QComboBox>(*ranking, "rankingGroupChooser")->currentText(), QString("U19"));
        QCOMPARE(from->date(), QDate::currentDate().addDays(-29));
        QCOMPARE(part<QDateEdit>(*ranking, "toField")->date(), QDate::currentDate());
        // Years in four digits; every title whole beside the sort arrow; the window on the
        // screen.
        QVERIFY2(from->displayFormat().contains("yyyy"), qPrintable(from->displayFormat()));
        {
            QHeaderView* titles = part<QTableView>(*ranking, "rankingTable")->horizontalHeader();
            QVERIFY(titles->isSortIndicatorShown());
            for (int c = 0; c < titles->count(); ++c)
                QVERIFY2(titles->sectionSize(c) >= titles->sectionSizeHint(c),
                         qPrintable(titles->model()->headerData(c, Qt::Horizontal).toString()));
            // Inside the screen's room, as far as the window's smallest size allows.
            const QRect room = ranking->screen()->availableGeometry();
            const QRect frame = ranking->frameGeometry();
            QVERIFY(room.contains(frame.topLeft()));
            QVERIFY(frame.right() <= room.right() || ranking->width() == ranking->minimumWidth());
            QVERIFY(frame.bottom() <= room.bottom() ||
                    ranking->height() == ranking->minimumHeight());
        }

        // At first the test run most often; the drop jump of 30 cm ranks athlete 2 alone.
        auto* test = part<QComboBox>(*ranking, "rankingTestChooser");
        auto* height = part<QComboBox>(*ranking, "rankingHeightChooser");
        QCOMPARE(test->currentText(), QString("Ohne Test"));
        test->setCurrentIndex(test->findText("Drop Jump"));
        QCOMPARE(height->currentText(), QString("30 cm"));
        QCOMPARE(ranking->rowsShown().first().athlete.name, QString("Name02"));
        QCOMPARE(ranking->rowsShown()[1].place, 0);
        test->setCurrentIndex(test->findText("Ohne Test"));

        // The longest flight time first; athlete 1's change against his jump of 40 days ago.
        QList<ranking::Row> rows = ranking->rowsShown();
        QCOMPARE(rows.size(), 30);
        QCOMPARE(rows.first().athlete.name, QString("Name30"));
        QCOMPARE(rows.last().athlete.name, QString("Name02")); // no such measurement
        QCOMPARE(rows[28].athlete.name, QString("Name01"));
        QVERIFY(rows[28].rsiChange && *rows[28].rsiChange > 0);
        QVERIFY(!rows.first().rsiChange);

        // A click on "Name" sorts by name.
        QHeaderView* header = part<QTableView>(*ranking, "rankingTable")->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(ranking::Name) + 5, 5));
        rows = ranking->rowsShown();
        QCOMPARE(rows.first().athlete.name, QString("Name01"));
        part<QPushButton>(*ranking, "copyButton")->click();
        // Below the test, its drop height, the period and an empty line.
        const QStringList lines = f.messages.clipboard.split('\n');
        QCOMPARE(lines.size(), 36);
        QCOMPARE(lines.mid(0, 2), (QStringList{"Test: Ohne Test", "Fallhöhe: –"}));
        QVERIFY2(lines[5].startsWith("29\tName01\tVorname\t"), qPrintable(lines[5]));

        // A period whose start is after its end shows nothing and says why.
        from->setDate(QDate::currentDate().addDays(1));
        QVERIFY(ranking->rowsShown().isEmpty());
        QVERIFY(!part<QLabel>(*ranking, "noteLabel")->text().isEmpty());
        from->setDate(QDate::currentDate().addDays(-29));

        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString path = f.dir.filePath("team.pdf");
        f.messages.fileNames << path;
        part<QPushButton>(*ranking, "reportButton")->click();
        QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join('\n')));
        const QStringList pages =
            tool("pdftotext", {"-layout", path, "-"}).split('\f', Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 2);
        for (int p = 0; p < pages.size(); ++p)
            QVERIFY2(
                pages[p].contains(QStringLiteral("Seite %1 von %2").arg(p + 1).arg(pages.size())),
                qPrintable(pages[p]));
        const QString all = pages.join(' ');
        for (const char* expected :
             {"Teambericht: U19", "Test: Ohne Test", "Zeitraum:", "Platz", "Bester RSI",
              "Name01, Vorname:", "Trend: besser", "Name30, Vorname:"})
            QVERIFY2(all.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!all.contains("Name31"));
        // The chart is drawn, not pasted in as a picture.
        QCOMPARE(tool("pdfimages", {"-list", path}).count('\n'), 2);
        f.finish();
    }
};

QTEST_MAIN(TestRankingWindow)
#include "tst_rankingwindow.moc"
