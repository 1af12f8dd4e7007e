#include "core/measure/Limits.h"

#include <QtTest>

using namespace plausibility;

class TestLimits : public QObject {
    Q_OBJECT
private slots:
    void defaultsPassStrictlyInside() {
        const Limits limits;
        QCOMPARE(limits.configurationByte(), quint8(3));
        QVERIFY(!limits.abortOnViolation);
        for (qint32 t = 0; t <= 1100; ++t) {
            QCOMPARE(testContactTime(limits, t).inLimits, t >= 61 && t <= 329);
            QCOMPARE(testFlightTime(limits, t).inLimits, t >= 201 && t <= 999);
        }
    }

    void test_data() {
        QTest::addColumn<bool>("flight");
        QTest::addColumn<qint32>("lower");
        QTest::addColumn<qint32>("upper");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<bool>("inLimits");
        QTest::addColumn<bool>("stops");           // with the abort option on
        QTest::addColumn<QStringList>("messages"); // with the abort option on
        const QString contactLow = QStringLiteral("Untere Stützzeit-Plausibilätsgrenze verletzt: ");
        const QString contactHigh =
            QStringLiteral("Obere  Stützzeit-Plausibilätsgrenze verletzt: ");
        const QString flightLow = QStringLiteral("Untere Flugzeit-Plausibilätsgrenze verletzt: ");
        const QString flightHigh = QStringLiteral("Obere  Flugzeit-Plausibilätsgrenze verletzt: ");
        // A measured value passes exactly when it gets no message; it then never stops the run.
        auto row = [](const char* name, bool flight, qint32 lower, qint32 upper, qint32 value,
                      const QStringList& messages) {
            QTest::newRow(name) << flight << lower << upper << value << messages.isEmpty()
                                << !messages.isEmpty() << messages;
        };
        row("contact inside", false, 60, 330, 200, {});
        row("contact below", false, 60, 330, 45, {contactLow + "45ms < 60ms"});
        row("contact 59", false, 60, 330, 59, {contactLow + "59ms < 60ms"});
        row("contact equal to lower", false, 60, 330, 60, {contactLow + "60ms <= 60ms"});
        row("contact equal to upper", false, 60, 330, 330, {contactHigh + "330ms >= 330ms"});
        row("contact above", false, 60, 330, 331, {contactHigh + "331ms > 330ms"});
        row("contact zero", false, 60, 330, 0, {contactLow + "0ms < 60ms"});
        row("contact largest", false, 60, 330, 65535, {contactHigh + "65535ms > 330ms"});
        row("flight inside", true, 200, 1000, 500, {});
        row("flight equal to lower", true, 200, 1000, 200, {flightLow + "200ms <= 200ms"});
        row("flight equal to upper", true, 200, 1000, 1000, {flightHigh + "1000ms >= 1000ms"});
        row("flight below", true, 200, 1000, 199, {flightLow + "199ms < 200ms"});
        row("flight above", true, 200, 1000, 1001, {flightHigh + "1001ms > 1000ms"});
        row("crossed, between", false, 300, 100, 200,
            {contactLow + "200ms < 300ms", contactHigh + "200ms > 100ms"});
        row("crossed, on lower", true, 300, 100, 300,
            {flightLow + "300ms <= 300ms", flightHigh + "300ms > 100ms"});
        row("crossed, below both", false, 300, 100, 50, {contactLow + "50ms < 300ms"});
        row("crossed, above both", false, 300, 100, 400, {contactHigh + "400ms > 100ms"});
        row("lower equals upper", true, 100, 100, 100,
            {flightLow + "100ms <= 100ms", flightHigh + "100ms >= 100ms"});
        row("negative lower limit", false, -5, 330, 0, {});
        QTest::newRow("contact not measured passes")
            << false << 60 << 330 << -1 << true << false << QStringList{};
        QTest::newRow("contact not measured passes crossed limits")
            << false << 300 << 100 << -1 << true << false << QStringList{};
        QTest::newRow("flight not measured fails quietly")
            << true << 200 << 1000 << -1 << false << false << QStringList{};
        QTest::newRow("flight not measured, lower limit below")
            << true << -5 << 1000 << -1 << false << false << QStringList{};
    }
    void test() {
        QFETCH(bool, flight);
        QFETCH(qint32, lower);
        QFETCH(qint32, upper);
        QFETCH(qint32, value);
        QFETCH(bool, inLimits);
        QFETCH(bool, stops);
        QFETCH(QStringList, messages);
        Limits limits;
        (flight ? limits.flightMinMs : limits.contactMinMs) = lower;
        (flight ? limits.flightMaxMs : limits.contactMaxMs) = upper;
        auto run = [&] {
            return flight ? testFlightTime(limits, value) : testContactTime(limits, value);
        };

        limits.abortOnViolation = false;
        Verdict quiet = run();
        QCOMPARE(quiet.inLimits, inLimits);
        QVERIFY(!quiet.stopRun);
        QVERIFY(quiet.messages.isEmpty());

        limits.abortOnViolation = true;
        Verdict loud = run();
        QCOMPARE(loud.inLimits, inLimits);
        QCOMPARE(loud.stopRun, stops);
        QCOMPARE(loud.messages, messages);
    }

    void configurationByte_data() {
        QTest::addColumn<bool>("edge1");
        QTest::addColumn<bool>("edge2");
        QTest::addColumn<int>("byte");
        QTest::newRow("both") << true << true << 3;
        QTest::newRow("edge 1") << true << false << 1;
        QTest::newRow("edge 2") << false << true << 2;
        QTest::newRow("none") << false << false << 0;
    }
    void configurationByte() {
        QFETCH(bool, edge1);
        QFETCH(bool, edge2);
        QFETCH(int, byte);
        Limits limits;
        limits.triggerEdge1 = edge1;
        limits.triggerEdge2 = edge2;
        QCOMPARE(int(limits.configurationByte()), byte);
    }

    void takeOver_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<qint32>("current");
        QTest::addColumn<qint32>("limit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("upper above 4000") << "4500" << true << 330 << 4000 << "4000";
        QTest::newRow("upper just above 4000") << "4001" << true << 330 << 4000 << "4000";
        QTest::newRow("upper 4000") << "4000" << true << 330 << 4000 << "4000";
        QTest::newRow("lower has no ceiling") << "4500" << false << 60 << 4500 << "4500";
        QTest::newRow("lower zero") << "0" << false << 60 << 0 << "0";
        QTest::newRow("empty lower") << "" << false << 60 << 60 << "60";
        QTest::newRow("empty upper") << "" << true << 1000 << 1000 << "1000";
        QTest::newRow("letters") << "abc" << false << 200 << 200 << "200";
        QTest::newRow("digits and letters") << "12a" << true << 330 << 330 << "330";
        QTest::newRow("separator") << "1,5" << false << 60 << 60 << "60";
        QTest::newRow("blanks only") << "  " << false << 60 << 60 << "60";
        QTest::newRow("too many digits lower") << "99999999999" << false << 60 << 60 << "60";
        QTest::newRow("too many digits upper, not clamped")
            << "99999999999" << true << 330 << 330 << "330";
        QTest::newRow("largest 32-bit")
            << "2147483647" << false << 60 << 2147483647 << "2147483647";
        QTest::newRow("one beyond 32 bits") << "2147483648" << false << 60 << 60 << "60";
        QTest::newRow("negative lower") << "-50" << false << 60 << -50 << "-50";
        QTest::newRow("negative upper") << "-50" << true << 330 << -50 << "-50";
        QTest::newRow("smallest 32-bit")
            << "-2147483648" << false << 60 << qint32(-2147483648LL) << "-2147483648";
        QTest::newRow("pasted with blanks") << " 120 " << false << 60 << 120 << "120";
        QTest::newRow("plus sign") << "+12" << true << 330 << 12 << "12";
        QTest::newRow("hexadecimal") << "0x10" << false << 60 << 60 << "60";
        QTest::newRow("leading zeros") << "0070" << false << 60 << 70 << "70";
    }
    void takeOver() {
        QFETCH(QString, text);
        QFETCH(bool, upper);
        QFETCH(qint32, current);
        QFETCH(qint32, limit);
        QFETCH(QString, shown);
        const FieldTakeOver result = takeOverField(text, upper, current);
        QCOMPARE(result.limit, limit);
        QCOMPARE(result.text, shown);
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("digit") << "7" << true;
        QTest::newRow("key without text") << "" << true;
        QTest::newRow("backspace") << "\b" << true;
        QTest::newRow("tab") << "\t" << true;
        QTest::newRow("enter") << "\r" << true;
        QTest::newRow("paste short-cut") << "\x16" << true;
        QTest::newRow("letter") << "a" << false;
        QTest::newRow("minus") << "-" << false;
        QTest::newRow("plus") << "+" << false;
        QTest::newRow("comma") << "," << false;
        QTest::newRow("point") << "." << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("superscript two") << QStringLiteral("²") << false;
        QTest::newRow("arabic-indic three") << QStringLiteral("\u0663") << false;
    }
    void keyFilter() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(isAcceptedKeyText(text), accepted);
    }
};

QTEST_GUILESS_MAIN(TestLimits)
#include "tst_limits.moc"
