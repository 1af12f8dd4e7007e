#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The program as a whole, started as a user starts it.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void badTimingUnitChoiceStopsBeforeAnyWindow_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("message");
        QTest::newRow("byte out of range")
            << QByteArray("devices: 1\n500: 0 300\n") << "simulator:%1"
            << "unit.txt:2:";
        QTest::newRow("unknown setting") << QByteArray("speed: 3\n") << "simulator:%1"
                                         << "unit.txt:1:";
        QTest::newRow("missing file") << QByteArray() << "simulator:%1-missing"
                                      << "unit.txt-missing";
        QTest::newRow("unknown driver") << QByteArray() << "telepathy"
                                        << "telepathy";
    }
    void badTimingUnitChoiceStopsBeforeAnyWindow() {
        QFETCH(QByteArray, script);
        QFETCH(QString, choice);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("unit.txt");
        if (!script.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(script);
        }
        QProcess kalvero;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KALVERO_TIMING_UNIT", choice.contains("%1") ? choice.arg(path) : choice);
        env.insert("KALVERO_DATA_DIR", dir.filePath("data"));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        kalvero.setProcessEnvironment(env);
        kalvero.start(KALVERO_BINARY, {});
        QVERIFY(kalvero.waitForFinished(20000));
        QCOMPARE(kalvero.exitStatus(), QProcess::NormalExit);
        QCOMPARE(kalvero.exitCode(), 2);
        const QString err = QString::fromUtf8(kalvero.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        // Nothing was opened: no database was created.
        QVERIFY(!QFile::exists(dir.filePath("data/qrv.sqlite")));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
