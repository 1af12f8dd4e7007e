// Deleting a measurement from the history list, and the frame shared by every deletion.

#include "ui/Deletion.h"

#include "core/store/Database.h"
#include "core/store/ResultSet.h"
#include "core/store/SeriesKey.h"
#include "ui/History.h"
#include "ui/MainForm.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

namespace deletion {

QStringList measurementsOf(qint64 athleteId) {
    return {QStringLiteral("select * from units"),
            QStringLiteral("where Ref_ID = %1").arg(athleteId)};
}

QStringList deleteJumps(qint64 seriesKey) {
    return {QStringLiteral("delete from mr"), QStringLiteral("where Serie = %1").arg(seriesKey)};
}

QStringList deleteMeasurementsOf(qint64 athleteId) {
    return {QStringLiteral("delete from units"),
            QStringLiteral("where Ref_ID = %1").arg(athleteId)};
}

QStringList deleteMeasurement(qint64 nummer, qint64 athleteId) {
    return {QStringLiteral("delete from units"), QStringLiteral("where Nummer = %1").arg(nummer),
            QStringLiteral("and REF_ID = %1").arg(athleteId)};
}

QStringList allMeasurements() {
    return {QStringLiteral("select * from units")};
}

QStringList allJumps() {
    return {QStringLiteral("select * from mr")};
}

void allOrNothing(TForm1& form, const std::function<void()>& statements) {
    try {
        Database::Transaction transaction(form.Query1().database());
        statements();
        transaction.commit();
    } catch (...) {
        // The transaction is rolled back by now. The result sets the statements replaced are
        // left closed; open them again so that the history and the next run keep working.
        try {
            form.ResetQuery3();
            form.ResetQuery2();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
}

} // namespace deletion

void TForm1::DelUeb() {
    QTreeWidgetItem* item = SelectedHistoryItem();
    if (!item)
        return;
    bool numbered = false;
    const qint64 nummer = item->text(history::kNummerColumn).toLongLong(&numbered);
    ResultSet& q1 = Query1();
    if (!numbered || !q1.isOpen() || q1.currentRow() < 0)
        return;
    const qint64 athlete = q1.asInteger(QStringLiteral("ID"));

    ResultSet& q2 = Query2();
    ResultSet& q3 = Query3();
    // The jumps go first, then the measurement row; both or neither.
    deletion::allOrNothing(*this, [&] {
        q3.setSql(deletion::deleteJumps(seriesKey(athlete, nummer)));
        q3.execute();
        q2.setSql(deletion::deleteMeasurement(nummer, athlete));
        q2.execute();
    });
    ResetQuery3();
    ResetQuery2();

    // The other entries keep their numbers and their order; none is selected afterwards.
    // Without a current entry the list does not select a neighbour of the removed one.
    ListView2->selectionModel()->clear();
    delete item;
}

void TForm1::ResetQuery2() {
    ResultSet& q2 = Query2();
    q2.close();
    q2.setSql(deletion::allMeasurements());
    q2.open();
}

void TForm1::ResetQuery3() {
    ResultSet& q3 = Query3();
    q3.close();
    q3.setSql(deletion::allJumps());
    q3.open();
}
