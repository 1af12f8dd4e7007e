// The schema's steps, one per feature, each in one transaction, and the sentences that say what a
// database without a feature lacks.

#include "core/store/Schema.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/GroupRepository.h"
#include "core/store/StoredValues.h"

#include <QCoreApplication>
#include <QDateTime>

namespace schema {

namespace {

// Version 1: the test of a measurement (its kind and the drop height), and the test an
// athlete did last, offered for his next measurement. A row of units_test belongs to the
// units row with the same ID; a measurement without a row has no test. No foreign keys: a
// station of version 0 deletes measurements and athletes without knowing these tables, and
// the keys of units and sportler are never given twice.
const Step kTestOfMeasurement{
    1,
    {
        QStringLiteral("CREATE TABLE units_test ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
        QStringLiteral("CREATE TABLE sportler_test ("
                       " Ref_ID INTEGER PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
    },
    {
        QStringLiteral("CREATE TABLE units_test ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
        QStringLiteral("CREATE TABLE sportler_test ("
                       " Ref_ID BIGINT PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
    },
};

// Version 2: jumps that the user excluded from every statistic, with the reason, who and
// when. A jump is its measurement's units ID and its number (mr has no key of its own; a
// measurement's ID is never given twice, where its number can be after a deletion); the jump
// row itself stays as it is, so that the export and older stations see every stored jump.
const Step kExcludedJumps{
    2,
    {
        QStringLiteral("CREATE TABLE mr_ausschluss ("
                       " Unit_ID INTEGER NOT NULL,"
                       " Anzahl DOUBLE NOT NULL,"
                       " Grund VARCHAR(100),"
                       " Benutzer VARCHAR(100),"
                       " Datum TIMESTAMP,"
                       " PRIMARY KEY (Unit_ID, Anzahl))"),
    },
    {
        QStringLiteral("CREATE TABLE mr_ausschluss ("
                       " Unit_ID BIGINT NOT NULL,"
                       " Anzahl DOUBLE PRECISION NOT NULL,"
                       " Grund VARCHAR(100),"
                       " Benutzer VARCHAR(100),"
                       " Datum TIMESTAMP,"
                       " PRIMARY KEY (Unit_ID, Anzahl))"),
    },
};

// Version 3: groups of athletes ("U19", "Kader 2027"). A group has a name of its own; an
// athlete belongs to any number of groups, one row of gruppen_sportler each. As with version
// 1 there are no foreign keys: a station of an earlier version deletes athletes without
// knowing these tables, so a membership can outlive its athlete; every reading joins sportler.
const Step kGroups{
    3,
    {
        QStringLiteral("CREATE TABLE gruppen ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Name VARCHAR(50) NOT NULL UNIQUE)"),
        QStringLiteral("CREATE TABLE gruppen_sportler ("
                       " Gruppe_ID INTEGER NOT NULL,"
                       " Sportler_ID INTEGER NOT NULL,"
                       " PRIMARY KEY (Gruppe_ID, Sportler_ID))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS gruppen_sportler_sportler ON gruppen_sportler "
                       "(Sportler_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE gruppen ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Name VARCHAR(50) NOT NULL UNIQUE)"),
        QStringLiteral("CREATE TABLE gruppen_sportler ("
                       " Gruppe_ID BIGINT NOT NULL,"
                       " Sportler_ID BIGINT NOT NULL,"
                       " PRIMARY KEY (Gruppe_ID, Sportler_ID))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS gruppen_sportler_sportler ON gruppen_sportler "
                       "(Sportler_ID)"),
    },
};

// Version 4: the protocol a measurement was run under ("10/5", or one trial of a drop-height
// profile), and the profiles themselves: an athlete's run of single drop jumps from rising
// box heights, a few trials each, kept so that it can be shown again as one. A row of
// units_protokoll belongs to the units row with the same ID; a measurement without one was
// run under no protocol. No foreign keys, as with version 1.
const Step kProtocols{
    4,
    {
        QStringLiteral("CREATE TABLE profile ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Ref_ID INTEGER NOT NULL,"
                       " Datum TIMESTAMP,"
                       " Hoehen VARCHAR(200) NOT NULL,"
                       " Versuche INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS profile_sportler ON profile (Ref_ID)"),
        QStringLiteral("CREATE TABLE units_protokoll ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Protokoll VARCHAR(20) NOT NULL,"
                       " Profil_ID INTEGER)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_protokoll_profil ON units_protokoll (Profil_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE profile ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Ref_ID BIGINT NOT NULL,"
                       " Datum TIMESTAMP,"
                       " Hoehen VARCHAR(200) NOT NULL,"
                       " Versuche INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS profile_sportler ON profile (Ref_ID)"),
        QStringLiteral("CREATE TABLE units_protokoll ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Protokoll VARCHAR(20) NOT NULL,"
                       " Profil_ID BIGINT)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_protokoll_profil ON units_protokoll (Profil_ID)"),
    },
};

// Version 5: the changes made to measurements afterwards, one row each: moved to another
// athlete, test and drop height changed, a jump excluded or its exclusion taken back, deleted
// and restored. Who made it at which station and when, the measurement's athlete and number
// after it (Ref_ID, Nummer) and before it (Vorher_Ref_ID, Vorher_Nummer), and what it was
// before and after as JSON text (Vorher, Nachher): a deleted measurement keeps its jumps there,
// so that it can be restored (Wiederhergestellt: when). No foreign keys, as with version 1.
const Step kChanges{
    5,
    {
        QStringLiteral("CREATE TABLE units_aenderung ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Datum TIMESTAMP,"
                       " Benutzer VARCHAR(100),"
                       " Station VARCHAR(100),"
                       " Art VARCHAR(20) NOT NULL,"
                       " Unit_ID INTEGER,"
                       " Ref_ID INTEGER,"
                       " Nummer INTEGER,"
                       " Vorher_Ref_ID INTEGER,"
                       " Vorher_Nummer INTEGER,"
                       " Vorher TEXT,"
                       " Nachher TEXT,"
                       " Wiederhergestellt TIMESTAMP)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_aenderung_sportler ON units_aenderung (Ref_ID)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS units_aenderung_vorher ON units_aenderung "
                       "(Vorher_Ref_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE units_aenderung ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Datum TIMESTAMP,"
                       " Benutzer VARCHAR(100),"
                       " Station VARCHAR(100),"
                       " Art VARCHAR(20) NOT NULL,"
                       " Unit_ID BIGINT,"
                       " Ref_ID BIGINT,"
                       " Nummer BIGINT,"
                       " Vorher_Ref_ID BIGINT,"
                       " Vorher_Nummer BIGINT,"
                       " Vorher TEXT,"
                       " Nachher TEXT,"
                       " Wiederhergestellt TIMESTAMP)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_aenderung_sportler ON units_aenderung (Ref_ID)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS units_aenderung_vorher ON units_aenderung "
                       "(Vorher_Ref_ID)"),
    },
};

// Gives each group whose name differs only in case from that of an earlier group (two stations
// that created "U19" and "u19" at the same moment) a number of its own, "u19 (2)", so that the
// index of version 6 can be made; its members stay.
void numberGroupsOfOneName(Database& db) {
    QList<std::pair<qint64, QString>> later;
    {
        QSqlQuery q = db.read(QStringLiteral(
            "SELECT g.ID, g.Name FROM gruppen g WHERE EXISTS (SELECT 1 FROM gruppen h "
            "WHERE lower(h.Name) = lower(g.Name) AND h.ID < g.ID) ORDER BY g.ID"));
        while (q.next())
            later.append({integerOf(q.value(0)), q.value(1).toString()});
    }
    for (const auto& [id, name] : later) {
        for (int number = 2;; ++number) {
            const QString suffix = QStringLiteral(" (%1)").arg(number);
            const QString numbered = name.left(kGroupNameLength - suffix.size()) + suffix;
            QSqlQuery taken = db.read(
                QStringLiteral("SELECT 1 FROM gruppen WHERE lower(Name) = lower(CAST(? AS TEXT))"),
                {numbered});
            if (taken.next())
                continue;
            taken.finish();
            db.write(QStringLiteral("UPDATE gruppen SET Name = ? WHERE ID = ?"), {numbered, id});
            break;
        }
    }
}

// Version 6: the database itself refuses a group whose name differs from another's only in
// case, also when two stations create them at the same moment. Both engines fold the name
// with lower(): SQLite the letters A to Z, the server every letter its locale knows. Groups
// of one name stored before are numbered first.
const Step kGroupNamesUnique{
    6,
    {
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS gruppen_name_klein ON gruppen "
                       "(lower(Name))"),
    },
    {
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS gruppen_name_klein ON gruppen "
                       "(lower(Name))"),
    },
    &numberGroupsOfOneName,
};

// Version 7: the measurements that a station recorded in its journal while the server was
// away and then brought to the server, by the identity the journal gave each (a continuation
// of a measurement begun on the server has one of its own). The row is written in the
// transaction that stores the measurement, so that a transfer cut off after its commit and
// tried again finds it there and writes nothing twice, whichever station tries.
const Step kJournalTransfers{
    7,
    {
        QStringLiteral("CREATE TABLE units_uebertragen ("
                       " Kennung VARCHAR(40) PRIMARY KEY,"
                       " Unit_ID INTEGER NOT NULL,"
                       " Station VARCHAR(100),"
                       " Datum TIMESTAMP)"),
    },
    {
        QStringLiteral("CREATE TABLE units_uebertragen ("
                       " Kennung VARCHAR(40) PRIMARY KEY,"
                       " Unit_ID BIGINT NOT NULL,"
                       " Station VARCHAR(100),"
                       " Datum TIMESTAMP)"),
    },
};

// Version 8: test days ("Testtag"): one set-up for a squad (test, drop height, protocol with a
// profile's heights and trials, the operating mode and the end of a series, the trials each
// athlete makes), the athletes in the order of the start list, and which measurement was a
// trial of which day. An athlete's row keeps the profile he runs on the day and when he
// stopped. The mark of a measurement is a table of its own, so that the measurement table
// stays as older stations know it. No foreign keys, as with version 1.
const Step kTestDays{
    8,
    {
        QStringLiteral("CREATE TABLE testtage ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Name VARCHAR(100) NOT NULL,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER,"
                       " Protokoll VARCHAR(20),"
                       " Hoehen VARCHAR(200),"
                       " Versuche_Hoehe INTEGER,"
                       " Betriebsart INTEGER NOT NULL,"
                       " Serienende INTEGER NOT NULL,"
                       " Serienende_Wert INTEGER,"
                       " Versuche INTEGER NOT NULL,"
                       " Gruppe_ID INTEGER,"
                       " Beginn TIMESTAMP,"
                       " Ende TIMESTAMP,"
                       " Station VARCHAR(100))"),
        QStringLiteral("CREATE TABLE testtage_sportler ("
                       " Testtag_ID INTEGER NOT NULL,"
                       " Sportler_ID INTEGER NOT NULL,"
                       " Platz INTEGER NOT NULL,"
                       " Profil_ID INTEGER,"
                       " Beendet TIMESTAMP,"
                       " PRIMARY KEY (Testtag_ID, Sportler_ID))"),
        QStringLiteral("CREATE TABLE units_testtag ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Testtag_ID INTEGER NOT NULL)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_testtag_tag ON units_testtag (Testtag_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE testtage ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Name VARCHAR(100) NOT NULL,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER,"
                       " Protokoll VARCHAR(20),"
                       " Hoehen VARCHAR(200),"
                       " Versuche_Hoehe INTEGER,"
                       " Betriebsart INTEGER NOT NULL,"
                       " Serienende INTEGER NOT NULL,"
                       " Serienende_Wert INTEGER,"
                       " Versuche INTEGER NOT NULL,"
                       " Gruppe_ID BIGINT,"
                       " Beginn TIMESTAMP,"
                       " Ende TIMESTAMP,"
                       " Station VARCHAR(100))"),
        QStringLiteral("CREATE TABLE testtage_sportler ("
                       " Testtag_ID BIGINT NOT NULL,"
                       " Sportler_ID BIGINT NOT NULL,"
                       " Platz INTEGER NOT NULL,"
                       " Profil_ID BIGINT,"
                       " Beendet TIMESTAMP,"
                       " PRIMARY KEY (Testtag_ID, Sportler_ID))"),
        QStringLiteral("CREATE TABLE units_testtag ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Testtag_ID BIGINT NOT NULL)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS units_testtag_tag ON units_testtag (Testtag_ID)"),
    },
};

// Version 9: the test–retest pairs a user marks (a measurement and the one it repeats, by
// their rows of units, which stay when a measurement is moved or renumbered), and the smallest
// worthwhile change a user sets for a test and drop height, which then takes the place of the
// group's spread. A test without a drop height has none there (NULL).
const Step kRetestPairs{
    9,
    {
        QStringLiteral("CREATE TABLE units_wiederholung ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Erste_ID INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE test_aenderung ("
                       " Test VARCHAR(40) NOT NULL,"
                       " Fallhoehe INTEGER,"
                       " Wert DOUBLE NOT NULL)"),
    },
    {
        QStringLiteral("CREATE TABLE units_wiederholung ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Erste_ID BIGINT NOT NULL)"),
        QStringLiteral("CREATE TABLE test_aenderung ("
                       " Test VARCHAR(40) NOT NULL,"
                       " Fallhoehe INTEGER,"
                       " Wert DOUBLE PRECISION NOT NULL)"),
    },
};

// Stations that open a shared database at once upgrade it one after the other.
constexpr int kUpgradeLock = 2401014;

// The texts of this file that the user reads, in the translation context "Schema".
struct SchemaTexts {
    Q_DECLARE_TR_FUNCTIONS(Schema)
};

bool hasVersionTable(Database& db) {
    QSqlQuery q = db.read(db.dialect() == Database::Dialect::SQLite
                              ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                               "AND name = 'schema_version'")
                              : QStringLiteral("SELECT to_regclass('schema_version') IS NOT NULL"));
    return q.next() && q.value(0).toBool();
}

bool sameColumns(const QStringList& present, const QStringList& wanted) {
    if (present.size() != wanted.size())
        return false;
    for (const QString& column : wanted)
        if (!present.contains(column, Qt::CaseInsensitive))
            return false;
    return true;
}

// Runs a step's statement, unless it creates a table that is there with the step's columns.
void take(Database& db, const QString& statement) {
    if (const std::optional<Table> table = createdTable(statement)) {
        const QStringList present = db.columnsOf(table->name);
        if (!present.isEmpty() && sameColumns(present, table->columns))
            return;
    }
    db.write(statement);
}

} // namespace

const QList<Feature>& features() {
    static const QList<Feature> all{Feature::Tests,
                                    Feature::Exclusions,
                                    Feature::Groups,
                                    Feature::Protocols,
                                    Feature::Changes,
                                    Feature::GroupNamesUnique,
                                    Feature::JournalTransfers,
                                    Feature::TestDays,
                                    Feature::RetestPairs};
    return all;
}

int sinceVersion(Feature feature) {
    switch (feature) {
    case Feature::Tests:
        return kTestOfMeasurement.version;
    case Feature::Exclusions:
        return kExcludedJumps.version;
    case Feature::Groups:
        return kGroups.version;
    case Feature::Protocols:
        return kProtocols.version;
    case Feature::Changes:
        return kChanges.version;
    case Feature::GroupNamesUnique:
        return kGroupNamesUnique.version;
    case Feature::JournalTransfers:
        return kJournalTransfers.version;
    case Feature::TestDays:
        return kTestDays.version;
    case Feature::RetestPairs:
        return kRetestPairs.version;
    }
    return latestVersion() + 1;
}

QString missingText(Feature feature) {
    switch (feature) {
    case Feature::Tests:
        return SchemaTexts::tr("Test und Fallhöhe der Messungen werden nicht gespeichert.");
    case Feature::Exclusions:
        return SchemaTexts::tr("Sprünge können nicht ausgeschlossen werden.");
    case Feature::Groups:
        return SchemaTexts::tr("Es gibt keine Gruppen.");
    case Feature::Protocols:
        return SchemaTexts::tr("Die Protokolle 10/5 und Fallhöhen-Profil werden nicht angeboten, "
                               "weil sie nicht gespeichert werden können.");
    case Feature::Changes:
        return SchemaTexts::tr("Änderungen an Messungen werden nicht aufgezeichnet: Messungen "
                               "können keinem anderen Sportler zugeordnet, in Test und Fallhöhe "
                               "nicht geändert und gelöschte nicht wiederhergestellt werden.");
    case Feature::GroupNamesUnique:
        return SchemaTexts::tr("Zwei Stationen, die zugleich eine Gruppe anlegen, können ihr "
                               "denselben Namen geben.");
    case Feature::JournalTransfers:
        return SchemaTexts::tr("Messungen, die eine Station ohne Server zwischengespeichert hat, "
                               "werden nicht übertragen.");
    case Feature::TestDays:
        return SchemaTexts::tr("Es gibt keine Testtage: jede Messung wird mit den Angaben im "
                               "Messfenster gespeichert.");
    case Feature::RetestPairs:
        return SchemaTexts::tr("Test–Retest-Paare und eine festgelegte kleinste bedeutsame "
                               "Änderung können nicht gespeichert werden.");
    }
    return {};
}

QString missingAt(int version) {
    QStringList missing;
    for (const Feature feature : features())
        if (version < sinceVersion(feature))
            missing << missingText(feature);
    return missing.join(QLatin1Char(' '));
}

const QList<Step>& steps() {
    static const QList<Step> all{kTestOfMeasurement, kExcludedJumps, kGroups,
                                 kProtocols,         kChanges,       kGroupNamesUnique,
                                 kJournalTransfers,  kTestDays,      kRetestPairs};
    return all;
}

int latestVersion() {
    return steps().isEmpty() ? 0 : steps().constLast().version;
}

std::optional<Table> createdTable(const QString& statement) {
    static const QString kCreate = QStringLiteral("CREATE TABLE ");
    if (!statement.startsWith(kCreate))
        return std::nullopt;
    const qsizetype open = statement.indexOf(QLatin1Char('('));
    const qsizetype close = statement.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return std::nullopt;
    Table table{statement.mid(kCreate.size(), open - kCreate.size()).trimmed(), {}};
    // The parts between commas outside parentheses; a part that is no column (a key over
    // several columns) begins with a word no column has.
    int depth = 0;
    qsizetype from = open + 1;
    for (qsizetype i = open + 1; i <= close; ++i) {
        const QChar c = statement[i];
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        else if ((c == QLatin1Char(',') && depth == 0) || i == close) {
            const QString name =
                statement.mid(from, i - from).trimmed().section(QLatin1Char(' '), 0, 0);
            if (!name.isEmpty() && name != QLatin1String("PRIMARY") &&
                name != QLatin1String("UNIQUE") && name != QLatin1String("CONSTRAINT"))
                table.columns << name;
            from = i + 1;
        }
    }
    return table;
}

int versionOf(Database& db) {
    if (!hasVersionTable(db))
        return 0;
    QSqlQuery q = db.read(QStringLiteral("SELECT COALESCE(MAX(Version), 0) FROM schema_version"));
    return q.next() ? static_cast<int>(integerOf(q.value(0))) : 0;
}

int upgrade(Database& db) {
    return upgrade(db, steps());
}

int upgrade(Database& db, const QList<Step>& steps) {
    int version = versionOf(db);
    for (const Step& step : steps) {
        if (step.version <= version)
            continue;
        try {
            Database::Transaction transaction(db);
            const bool sqlite = db.dialect() == Database::Dialect::SQLite;
            if (!sqlite)
                db.read(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kUpgradeLock));
            // Another station may have taken the step while this one waited.
            version = versionOf(db);
            if (step.version <= version)
                continue;
            db.write(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version ("
                                    " Version INTEGER PRIMARY KEY,"
                                    " Datum TIMESTAMP)"));
            if (step.prepare)
                step.prepare(db);
            for (const QString& statement : sqlite ? step.sqlite : step.postgresql)
                take(db, statement);
            db.write(QStringLiteral("INSERT INTO schema_version (Version, Datum) VALUES (?, ?)"),
                     {step.version, engineMoment(QDateTime::currentDateTime())});
            transaction.commit();
            version = step.version;
        } catch (const AppError& e) {
            throw AppError(SchemaTexts::tr("Die Datenbank konnte nicht auf Version %1 "
                                           "gebracht werden; sie bleibt auf Version %2.")
                               .arg(step.version)
                               .arg(version),
                           e.detail().isEmpty() ? e.text() : e.detail());
        }
    }
    return version;
}

} // namespace schema
