#include "core/base/Errors.h"
#include "support/RecordingMessageService.h"

#include <QtTest>

class TestErrors : public QObject {
    Q_OBJECT
private slots:
    void reportText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter gets a full stop") << "no such table: units"
                                                 << "no such table: units.";
        QTest::newRow("full stop stays") << "Fehler."
                                         << "Fehler.";
        QTest::newRow("exclamation is below the full stop") << "Achtung!"
                                                            << "Achtung!";
        QTest::newRow("blank is below the full stop") << "Text "
                                                      << "Text ";
        QTest::newRow("digit is above the full stop") << "Status 4"
                                                      << "Status 4.";
        QTest::newRow("empty text") << ""
                                    << "";
    }
    void reportText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(errorReportText(text), shown);
    }

    void guard() {
        RecordingMessageService messages;
        bool cleanedUp = false;
        runGuarded(messages, [&] {
            struct Cleanup {
                bool& flag;
                ~Cleanup() { flag = true; }
            } c{cleanedUp};
            throw SilentAbort{};
        });
        QVERIFY(cleanedUp);
        QVERIFY(messages.boxes.isEmpty());

        runGuarded(messages, [] { throw AppError(QStringLiteral("Datei fehlt")); });
        runGuarded(messages, [] { throw std::runtime_error("disk I/O error"); });
        QCOMPARE(messages.boxes.size(), 2);
        QCOMPARE(messages.boxes[0].title, QStringLiteral("Kalvero"));
        QCOMPARE(messages.boxes[0].icon, BoxIcon::Error);
        QCOMPARE(messages.boxes[0].text, QStringLiteral("Datei fehlt."));
        QCOMPARE(messages.boxes[0].buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(messages.boxes[1].text, QStringLiteral("disk I/O error."));

        bool ran = false;
        runGuarded(messages, [&] { ran = true; });
        QVERIFY(ran);
        QCOMPARE(messages.boxes.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestErrors)
#include "tst_errors.moc"
