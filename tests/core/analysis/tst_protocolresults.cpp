#include "core/analysis/ProtocolResults.h"
#include "core/base/Texts.h"

#include <QtTest>

using Jumps = QList<analysis::StoredJump>;

// The protocol results as the analysis window and the report show them, worked out by hand:
// 500 ms of flight are 30.65625 cm, 480 ms 28.2528 cm and 520 ms 33.1578 cm.
class TestProtocolResults : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // 0.3065625 m over 0.10 … 0.14 s: RSI (10 + 9.0909 + 8.3333 + 7.6923 + 7.1429) / 5 ×
    // 0.3065625 = 2.591.
    void tenFive_data() {
        QTest::addColumn<int>("jumps");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("note");
        QTest::newRow("ten jumps") << 10 << "2,59|120,00|30,66|1, 2, 3, 4, 5" << QString();
        QTest::newRow("nine jumps: the note instead")
            << 9 << QString() << "Kein Ergebnis: nur 9 von 10 Sprüngen gültig.";
    }
    void tenFive() {
        QFETCH(int, jumps);
        QFETCH(QString, fields);
        QFETCH(QString, note);
        Jumps series;
        for (int i = 0; i < jumps; ++i)
            series.append({100.0 + 10 * i, 500, i + 1});
        const protocolresults::TenFiveText text = protocolresults::tenFiveText(series);
        QCOMPARE(text.rule, QStringLiteral("Mittelwert der 5 besten von 10 Sprüngen nach RSI"));
        QStringList values;
        for (const protocolresults::Field& field : text.fields)
            values << field.value;
        QCOMPARE(values.join('|'), fields);
        QCOMPARE(text.note, note);
    }

    // Two trials at 20 cm (500/200 and 480/180 ms), two at 30 cm of which one is excluded, and
    // a measurement without a drop height that is no trial. A trial is its first jump: the
    // second jump of the first trial (better than any) counts nowhere.
    void profile() {
        const QList<analysis::MeasurementJumps> trials{
            {{}, 1, {{100, 900, 2}, {200, 500, 1}}, {"Drop Jump", 20}},
            {{}, 2, {{180, 480, 1}}, {"Drop Jump", 20}},
            {{}, 3, {{200, 520, 1}}, {"Drop Jump", 30}},
            {{}, 4, {{100, 900, 1, true}}, {"Drop Jump", 30}},
            {{}, 5, {{100, 900, 1}}, {"Drop Jump", std::nullopt}}};
        const protocols::Profile profile =
            protocols::dropHeightProfile(protocolresults::profileTrials(trials));
        QCOMPARE(protocolresults::profileTableTexts(profile),
                 (QList<QStringList>{{"20", "2", "1,57", "180", "30,66", "190,00"},
                                     {"30", "2", "1,66", "200", "33,16", "200,00"}}));
        const QList<protocolresults::Field> optima = protocolresults::profileOptima(profile);
        QCOMPARE(optima[0].value, QStringLiteral("30 cm"));
        QCOMPARE(optima[1].value, QStringLiteral("30 cm"));
        QCOMPARE(protocolresults::profileOptima(protocols::Profile{})[0].value,
                 QStringLiteral("keine (kein gültiger Sprung)"));
    }
};

QTEST_GUILESS_MAIN(TestProtocolResults)
#include "tst_protocolresults.moc"
