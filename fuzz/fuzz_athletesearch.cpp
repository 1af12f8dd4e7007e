// The name comparison of any text, and the search itself on a small athlete table: whatever
// is typed, the statement runs, finds only stored athletes, and changes nothing.
#include "FuzzCheck.h"
#include "core/store/AthleteSearch.h"
#include "core/store/DataStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

struct Table {
    QTemporaryDir dir;
    DataStore store;
    QList<Athlete> rows;

    Table() {
        store.open(StoreLocation::embedded(dir.path()));
        const char* names[][2] = {{"Meier", "Anna"},  {"Müller", "Jörg"}, {"O'Neil", "Sean"},
                                  {"mei%er", "_x_"},  {"", ""},           {"MEIER", "ANNA"},
                                  {"Zoë", "Ängström"}};
        for (const auto& [name, firstName] : names) {
            Athlete a;
            a.name = QString::fromUtf8(name);
            a.firstName = QString::fromUtf8(firstName);
            store.athletes().add(a);
        }
        rows = store.athletes().all();
    }
};

QStringList idsOf(const QList<Athlete>& list) {
    QStringList ids;
    for (const Athlete& a : list)
        ids << QString::number(a.id) + a.name + a.firstName;
    return ids;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Table table;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // A text finds itself ("%" and "_" stand for themselves, too) and whatever goes on from it.
    const athletes::NameSearch search(text);
    FUZZ_CHECK(search.matches(text));
    FUZZ_CHECK(search.matches(text + QStringLiteral("Zoë")));

    const QStringList stored = idsOf(table.rows);
    for (const auto by : {athletes::SearchBy::FirstName, athletes::SearchBy::Surname}) {
        QList<Athlete> found;
        try {
            found = table.store.athletes().search(by, text);
        } catch (...) {
            FUZZ_CHECK(!"the search statement failed");
        }
        for (const QString& id : idsOf(found))
            FUZZ_CHECK(stored.contains(id));
    }
    FUZZ_CHECK(idsOf(table.store.athletes().all()) == stored);
    return 0;
}
