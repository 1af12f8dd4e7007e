#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::optional<int>)

class TestMeasurementTest : public QObject {
    Q_OBJECT

private slots:
    // What the user types into "Fallhöhe (cm)": a whole number from 0 to 150 or nothing; any
    // other text is refused with a message, for the tests that take a drop height. The
    // others store none, whatever the field held.
    void chosenTest_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dropHeight");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<std::optional<int>>("storedHeight");
        const std::optional<int> none;
        QTest::newRow("drop jump, 30") << "Drop Jump"
                                       << "30" << false << "Drop Jump" << std::optional(30);
        QTest::newRow("lowest") << "Drop Jump"
                                << "0" << false << "Drop Jump" << std::optional(0);
        QTest::newRow("highest") << "Sprungserie"
                                 << "150" << false << "Sprungserie" << std::optional(150);
        QTest::newRow("blanks around") << " Drop Jump "
                                       << " 45 " << false << "Drop Jump" << std::optional(45);
        QTest::newRow("empty") << "Drop Jump"
                               << "" << false << "Drop Jump" << none;
        QTest::newRow("above") << "Drop Jump"
                               << "151" << true << "" << none;
        QTest::newRow("below") << "Drop Jump"
                               << "-1" << true << "" << none;
        QTest::newRow("a fraction") << "Sprungserie"
                                    << "30,5" << true << "" << none;
        QTest::newRow("no number") << "Drop Jump"
                                   << "dreißig" << true << "" << none;
        QTest::newRow("squat jump takes none") << "Squat Jump"
                                               << "30" << false << "Squat Jump" << none;
        QTest::newRow("own test takes none") << "Hürdensprung"
                                             << "dreißig" << false << "Hürdensprung" << none;
        QTest::newRow("own test of 40 characters")
            << QString(40, 'x') << "" << false << QString(40, 'x') << none;
        QTest::newRow("own test of 41 characters") << QString(41, 'x') << "" << true << "" << none;
    }
    void chosenTest() {
        QFETCH(QString, name);
        QFETCH(QString, dropHeight);
        QFETCH(bool, refused);
        QFETCH(QString, storedName);
        QFETCH(std::optional<int>, storedHeight);
        MeasurementTest test;
        const auto failure = failureOf([&] { test = measurementtest::chosen(name, dropHeight); });
        QCOMPARE(failure.has_value(), refused);
        if (refused) {
            QVERIFY(!failure->text.isEmpty());
            return;
        }
        QCOMPARE(test.name, storedName);
        QCOMPARE(test.dropHeightCm, storedHeight);
    }

    void shownTexts() {
        QCOMPARE(measurementtest::dropHeightText(std::nullopt), QString());
        QCOMPARE(measurementtest::dropHeightText(0), QStringLiteral("0"));
        QCOMPARE(measurementtest::description({"Drop Jump", 30}),
                 QStringLiteral("Drop Jump, Fallhöhe 30 cm"));
        QCOMPARE(measurementtest::description({"Squat Jump", std::nullopt}),
                 QStringLiteral("Squat Jump"));
        QCOMPARE(measurementtest::description({}), QString());
        QCOMPARE(measurementtest::offeredNames(),
                 (QStringList{"Drop Jump", "Sprungserie", "Countermovement Jump", "Squat Jump"}));
    }

    // The files for analysis tools name the program's tests alike in every language; a test of
    // the user's own keeps its text, even one that looks like a program's test in other case.
    void exportKeys_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("key");
        QTest::newRow("drop jump") << "Drop Jump"
                                   << "drop_jump";
        QTest::newRow("series") << "Sprungserie"
                                << "jump_series";
        QTest::newRow("countermovement") << "Countermovement Jump"
                                         << "countermovement_jump";
        QTest::newRow("squat") << "Squat Jump"
                               << "squat_jump";
        QTest::newRow("own test") << "Hürdensprung 5x"
                                  << "Hürdensprung 5x";
        QTest::newRow("own, other case") << "sprungserie"
                                         << "sprungserie";
        QTest::newRow("none") << ""
                              << "";
    }
    void exportKeys() {
        QFETCH(QString, stored);
        QFETCH(QString, key);
        QCOMPARE(measurementtest::exportKey(stored), key);
    }
};

QTEST_GUILESS_MAIN(TestMeasurementTest)
#include "tst_measurementtest.moc"
