#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"
#include "support/TempDataDir.h"

#include <QtTest>

using athletes::SearchBy;

Q_DECLARE_METATYPE(athletes::SearchBy)

namespace {

// Each athlete as "Vorname Name Geb".
QStringList described(const QList<Athlete>& found) {
    QStringList out;
    for (const Athlete& a : found)
        out << QStringList{a.firstName, a.name, a.birthDate.toString(Qt::ISODate)}.join(' ');
    return out;
}

} // namespace

// The athlete table through its repository, on a real database file: the search with its
// quoting, wildcards, case folding and orders, and the changes of athletes.
class TestAthleteRepository : public QObject {
    Q_OBJECT

    TempDataDir data;
    AthleteRepository athletes{*data.db};

private slots:
    void initTestCase() {
        const char* rows[][3] = {
            {"Meier", "Hans", "1980-05-01"},    {"Meyer", "Anna", "1975-02-11"},
            {"O'Hara", "Sean", "1990-07-30"},   {"Müller", "Jörg", "1985-03-03"},
            {"Mueller", "Jörg", "1970-01-20"},  {"Meier", "Anna", "1999-12-31"},
            {"Meier", "Anna", "1960-06-15"},    {"mei", "kurt", "2001-09-09"},
            {"Hansen", "Ole", "1988-08-08"},    {"Mei%er", "Paul", "1977-07-07"},
            {"Zorn", "Hanna", "1995-04-04"},    {"Öztürk", "Ömer", "1993-10-10"},
            {"Semi;colon", "Eva", "1980-01-01"}};
        for (const auto& r : rows) {
            Athlete a;
            a.name = QString::fromUtf8(r[0]);
            a.firstName = QString::fromUtf8(r[1]);
            a.birthDate = QDate::fromString(QLatin1String(r[2]), Qt::ISODate);
            a.sex = 0;
            athletes.add(a);
        }
    }

    // Each found athlete as "Vorname Name Geb", in the order of the search; the table stays
    // as it was whatever the text.
    void search_data() {
        QTest::addColumn<SearchBy>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("surname prefix, sorted by first name and birth")
            << SearchBy::Surname << "mei"
            << QStringList{"Anna Meier 1960-06-15", "Anna Meier 1999-12-31",
                           "Hans Meier 1980-05-01", "Paul Mei%er 1977-07-07",
                           "kurt mei 2001-09-09"};
        QTest::newRow("first name prefix, sorted by surname and birth")
            << SearchBy::FirstName << "ANN"
            << QStringList{"Anna Meier 1960-06-15", "Anna Meier 1999-12-31",
                           "Anna Meyer 1975-02-11"};
        QTest::newRow("quote in the name")
            << SearchBy::Surname << "o'hara" << QStringList{"Sean O'Hara 1990-07-30"};
        QTest::newRow("lower-case umlaut finds the name as written")
            << SearchBy::Surname << "mü" << QStringList{"Jörg Müller 1985-03-03"};
        QTest::newRow("lower-case umlaut first")
            << SearchBy::Surname << "öz" << QStringList{"Ömer Öztürk 1993-10-10"};
        QTest::newRow("all in upper case")
            << SearchBy::Surname << "ÖZTÜRK" << QStringList{"Ömer Öztürk 1993-10-10"};
        QTest::newRow("first name, umlaut in upper case")
            << SearchBy::FirstName << "JÖ"
            << QStringList{"Jörg Mueller 1970-01-20", "Jörg Müller 1985-03-03"};
        QTest::newRow("umlaut typed as letter and diaeresis")
            << SearchBy::Surname << QStringLiteral("O\u0308z")
            << QStringList{"Ömer Öztürk 1993-10-10"};
        QTest::newRow("an umlaut is no plain vowel") << SearchBy::Surname << "oz" << QStringList{};
        QTest::newRow("underscore stands for an umlaut")
            << SearchBy::Surname << "m_ll" << QStringList{"Jörg Müller 1985-03-03"};
        QTest::newRow("underscore is one character")
            << SearchBy::Surname << "me_er"
            << QStringList{"Anna Meier 1960-06-15", "Anna Meyer 1975-02-11",
                           "Anna Meier 1999-12-31", "Hans Meier 1980-05-01"};
        QTest::newRow("percent is any run")
            << SearchBy::FirstName << "%nn"
            << QStringList{"Anna Meier 1960-06-15", "Anna Meier 1999-12-31",
                           "Anna Meyer 1975-02-11", "Hanna Zorn 1995-04-04"};
        QTest::newRow("semicolon is plain text")
            << SearchBy::Surname << "semi;" << QStringList{"Eva Semi;colon 1980-01-01"};
        QTest::newRow("nobody") << SearchBy::Surname << "xyz" << QStringList{};
        QTest::newRow("hostile or") << SearchBy::Surname << "x' OR '1'='1" << QStringList{};
        QTest::newRow("hostile drop")
            << SearchBy::Surname << "'; DROP TABLE sportler; --" << QStringList{};
        QTest::newRow("hostile union")
            << SearchBy::Surname << "' UNION SELECT 1,2,3,4,5,6 --" << QStringList{};
        QTest::newRow("NUL character") << SearchBy::Surname << QString(QChar(0)) << QStringList{};
        QTest::newRow("no answer") << SearchBy::None << "mei" << QStringList{};
    }
    void search() {
        QFETCH(SearchBy, by);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        const QStringList before = described(athletes.all());
        QCOMPARE(before.size(), 13);
        QCOMPARE(described(athletes.search(by, text)), found);
        QCOMPARE(described(athletes.all()), before);
        // An empty text finds everyone with a name.
        QCOMPARE(athletes.search(SearchBy::Surname, QString()).size(), 13);
    }

    // A change keeps the stored birth date unless told to change it; a deletion takes the
    // athlete's measurements and jumps with him, all or nothing, and nothing of another.
    void changeAndRemove() {
        TempDataDir own;
        AthleteRepository repo(*own.db);
        MeasurementRepository measurements(*own.db);
        Athlete a;
        a.name = QStringLiteral("Adler");
        a.firstName = QStringLiteral("Ada");
        a.birthDate = QDate(1990, 12, 31);
        a.remark = QStringLiteral("Zeile 1\nZeile 2");
        a.id = repo.add(a);
        Athlete b = a;
        b.name = QStringLiteral("Brandt");
        b.id = repo.add(b);
        QVERIFY(a.id > 0 && b.id == a.id + 1);

        a.name = QStringLiteral("Adler-Berg");
        a.birthDate = QDate();
        a.sex = 1;
        repo.update(a, false);
        const Athlete stored = repo.all().first();
        QCOMPARE(stored.name, QStringLiteral("Adler-Berg"));
        QCOMPARE(stored.birthDate, QDate(1990, 12, 31));
        QCOMPARE(stored.sex, 1);
        QCOMPARE(stored.remark, QStringLiteral("Zeile 1\nZeile 2"));
        repo.update(a, true);
        QVERIFY(!repo.all().first().birthDate.isValid());

        for (const qint64 athlete : {a.id, b.id})
            measurements.recordFirstJump(athlete, QDateTime::currentDateTime(),
                                         {200, 500, 1.25, 1});
        QVERIFY(TestStore::refuse(*own.db, "DELETE", "sportler"));
        QVERIFY_THROWS_EXCEPTION(AppError, repo.remove(a.id));
        QCOMPARE(own.scalar("SELECT COUNT(*) FROM mr").toInt(), 2);
        QCOMPARE(own.scalar("SELECT COUNT(*) FROM units").toInt(), 2);
        QVERIFY(TestStore::allow(*own.db, "DELETE", "sportler"));

        repo.remove(a.id);
        QCOMPARE(repo.all().size(), 1);
        QCOMPARE(measurements.ofAthlete(b.id).size(), 1);
        QCOMPARE(own.scalar("SELECT COUNT(*) FROM mr").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestAthleteRepository)
#include "tst_athleterepository.moc"
