#include "core/store/AthleteSearch.h"

#include <QtSql>
#include <QtTest>

using athletes::SearchBy;

Q_DECLARE_METATYPE(athletes::SearchBy)

// The search statements are run against a small athlete table in an in-memory database, so
// that quoting, wildcards and sort orders are checked where they matter: in the engine.
class TestAthleteSearch : public QObject {
    Q_OBJECT

    QSqlDatabase db;

    struct Athlete {
        const char* name;
        const char* firstName;
        const char* born;
    };

    QSqlQuery run(const QStringList& lines) {
        QSqlQuery query(db);
        if (!query.exec(lines.join(QLatin1Char('\n'))))
            qWarning() << query.lastError().text();
        return query;
    }

    // Every row of the table as "Vorname Name", in ID order: the table's whole content.
    QStringList tableContent() {
        QStringList rows;
        QSqlQuery query = run({QStringLiteral("SELECT Vorname, Name FROM sportler ORDER BY ID")});
        while (query.next())
            rows << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString();
        return rows;
    }

private slots:
    void initTestCase() {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                       QStringLiteral("tst_athletesearch"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        QSqlQuery create(db);
        QVERIFY(create.exec(QStringLiteral(
            "CREATE TABLE sportler (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, "
            "Vorname TEXT, Geb DATE, Geschl INTEGER, Bemerkung1 TEXT, Bemerkun2 TEXT)")));
        const Athlete athletes[] = {
            {"Meier", "Hans", "1980-05-01"},    {"Meyer", "Anna", "1975-02-11"},
            {"O'Hara", "Sean", "1990-07-30"},   {"Müller", "Jörg", "1985-03-03"},
            {"Mueller", "Jörg", "1970-01-20"},  {"Meier", "Anna", "1999-12-31"},
            {"Meier", "Anna", "1960-06-15"},    {"mei", "kurt", "2001-09-09"},
            {"Hansen", "Ole", "1988-08-08"},    {"Mei%er", "Paul", "1977-07-07"},
            {"Zorn", "Hanna", "1995-04-04"},    {"Öztürk", "Ömer", "1993-10-10"},
            {"Semi;colon", "Eva", "1980-01-01"}};
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral(
            "INSERT INTO sportler (Name, Vorname, Geb, Geschl) VALUES (?, ?, ?, 0)")));
        for (const Athlete& a : athletes) {
            insert.addBindValue(QString::fromUtf8(a.name));
            insert.addBindValue(QString::fromUtf8(a.firstName));
            insert.addBindValue(QString::fromUtf8(a.born));
            QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        }
    }

    void cleanupTestCase() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("tst_athletesearch"));
    }

    void pattern_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("lower case") << "mei"
                                    << "'MEI%'";
        QTest::newRow("quote doubled") << "o'hara"
                                       << "'O''HARA%'";
        QTest::newRow("umlaut unchanged") << "müller"
                                          << "'MüLLER%'";
        QTest::newRow("upper umlaut and sharp s") << "Ößa"
                                                  << "'ÖßA%'";
        QTest::newRow("accented letters unchanged") << "éa"
                                                    << "'éA%'";
        QTest::newRow("empty") << ""
                               << "'%'";
        QTest::newRow("only a quote") << "'"
                                      << "'''%'";
        QTest::newRow("wildcards kept") << "m_i%r"
                                        << "'M_I%R%'";
        QTest::newRow("digits, blanks, semicolon") << "a 1;b"
                                                   << "'A 1;B%'";
        QTest::newRow("hostile or") << "x' OR '1'='1"
                                    << "'X'' OR ''1''=''1%'";
        QTest::newRow("hostile drop") << "'; DROP TABLE sportler; --"
                                      << "'''; DROP TABLE SPORTLER; --%'";
        QTest::newRow("double quote untouched") << "a\"b"
                                                << "'A\"B%'";
    }
    void pattern() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QCOMPARE(athletes::searchPattern(text), pattern);
    }

    void statement_data() {
        QTest::addColumn<SearchBy>("by");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("first name")
            << SearchBy::FirstName << "mei"
            << QStringList{"SELECT * FROM sportler", "WHERE UPPER(Vorname) LIKE 'MEI%'",
                           "ORDER BY Name,Geb"};
        QTest::newRow("surname") << SearchBy::Surname << "o'hara"
                                 << QStringList{"SELECT * FROM sportler",
                                                "WHERE UPPER(Name) LIKE 'O''HARA%'",
                                                "ORDER BY Vorname,Geb"};
        QTest::newRow("no answer") << SearchBy::None << "mei" << QStringList{};
    }
    void statement() {
        QFETCH(SearchBy, by);
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(athletes::searchStatement(by, text), lines);
    }

    // Each found athlete as "Vorname Name Geb", in the order the statement returns them.
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
        QTest::newRow("first name with umlaut, two surnames")
            << SearchBy::FirstName << "jö"
            << QStringList{"Jörg Mueller 1970-01-20", "Jörg Müller 1985-03-03"};
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
        QTest::newRow("hostile always true")
            << SearchBy::Surname << "x' OR 'a'<>'" << QStringList{};
        QTest::newRow("hostile or, first name")
            << SearchBy::FirstName << "' OR 1=1 --" << QStringList{};
        QTest::newRow("hostile drop")
            << SearchBy::Surname << "'; DROP TABLE sportler; --" << QStringList{};
        QTest::newRow("hostile delete")
            << SearchBy::FirstName << "'; DELETE FROM sportler; SELECT * FROM sportler WHERE '"
            << QStringList{};
        QTest::newRow("hostile union")
            << SearchBy::Surname << "' UNION SELECT 1,2,3,4,5,6,7 --" << QStringList{};
    }
    void search() {
        QFETCH(SearchBy, by);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        const QStringList before = tableContent();
        QCOMPARE(before.size(), 13);

        QSqlQuery query(db);
        const QString statement = athletes::searchStatement(by, text).join(QLatin1Char('\n'));
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
        QStringList rows;
        while (query.next()) {
            const QSqlRecord row = query.record();
            rows << QStringList{row.value(QStringLiteral("Vorname")).toString(),
                                row.value(QStringLiteral("Name")).toString(),
                                row.value(QStringLiteral("Geb")).toString()}
                        .join(QLatin1Char(' '));
        }
        query.finish();
        QCOMPARE(rows, found);
        QCOMPARE(tableContent(), before);
    }

    // An empty text lists everyone with a name in the searched column; the caller shows all
    // athletes when nobody is found.
    void emptyTextListsEveryNamedAthlete() {
        QSqlQuery query = run(athletes::searchStatement(SearchBy::Surname, QString()));
        int count = 0;
        while (query.next())
            ++count;
        QCOMPARE(count, 13);

        QSqlQuery all = run(athletes::showAllStatement());
        count = 0;
        while (all.next())
            ++count;
        QCOMPARE(count, 13);
    }
};

QTEST_GUILESS_MAIN(TestAthleteSearch)
#include "tst_athletesearch.moc"
