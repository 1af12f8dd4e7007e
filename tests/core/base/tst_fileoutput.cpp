#include "core/base/FileOutput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A file is written whole or not at all: a failed write leaves an earlier file as it was.
class TestFileOutput : public QObject {
    Q_OBJECT

private slots:
    void allOrNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writerSucceeds");
        QTest::addColumn<QByteArray>("content"); // afterwards; "-" for no file
        QTest::addColumn<bool>("failed");
        QTest::newRow("written") << "out.pdf" << true << QByteArray("new") << false;
        QTest::newRow("writer fails: the earlier file stays")
            << "out.pdf" << false << QByteArray("old") << true;
        QTest::newRow("directory missing") << "missing/out.pdf" << true << QByteArray("-") << true;
    }
    void allOrNothing() {
        QFETCH(QString, name);
        QFETCH(bool, writerSucceeds);
        QFETCH(QByteArray, content);
        QFETCH(bool, failed);
        QTemporaryDir dir;
        {
            QFile earlier(dir.filePath("out.pdf"));
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("old") == 3);
        }
        const QString path = dir.filePath(name);
        const auto failure = fileoutput::write(path, [&](QIODevice& file) {
            file.write("new");
            return writerSucceeds;
        });
        QCOMPARE(failure.has_value(), failed);
        if (failure)
            QVERIFY2(failure->startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ")
                                             .arg(QDir::toNativeSeparators(path))),
                     qPrintable(*failure));
        QFile file(path);
        if (content == "-") {
            QVERIFY(!file.exists());
        } else {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.pdf"});
    }
};

QTEST_GUILESS_MAIN(TestFileOutput)
#include "tst_fileoutput.moc"
