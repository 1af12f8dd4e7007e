// Athlete management: show all, search, new, change and delete athletes.

#include "core/base/MessageService.h"
#include "core/store/AthleteSearch.h"
#include "core/store/ResultSet.h"
#include "core/store/SeriesKey.h"
#include "ui/Deletion.h"
#include "ui/MainForm.h"
#include "ui/data.h"
#include "ui/such.h"

#include <QLineEdit>

namespace {

// Suspends the reaction to moves of a result set for the life of the object.
class AfterScrollPause {
public:
    explicit AfterScrollPause(ResultSet& rs) : rs_(rs) { rs_.detachAfterScroll(); }
    ~AfterScrollPause() { rs_.attachAfterScroll(); }
    AfterScrollPause(const AfterScrollPause&) = delete;
    AfterScrollPause& operator=(const AfterScrollPause&) = delete;

private:
    ResultSet& rs_;
};

bool hasCurrentRow(const ResultSet& rs) {
    return rs.isOpen() && rs.currentRow() >= 0;
}

// Writes the editor's values into the row being inserted or edited and posts it. A row that
// cannot be written is given up, so that no half-written row waits to be posted by the next
// move of the cursor.
void postEditorValues(ResultSet& q1, const TForm3& editor) {
    try {
        q1.setValue(QStringLiteral("Name"), editor.name());
        q1.setValue(QStringLiteral("Vorname"), editor.firstName());
        if (editor.DateValid())
            q1.setValue(QStringLiteral("Geb"), editor.birthDate());
        q1.setValue(QStringLiteral("Geschl"), editor.sexIndex());
        q1.setValue(QStringLiteral("Bemerkung1"), editor.remark());
        q1.post();
    } catch (...) {
        q1.cancel();
        throw;
    }
}

} // namespace

void TForm1::Action6Execute() {
    ResultSet& q1 = Query1();
    q1.close();
    q1.setSql(athletes::showAllStatement());
    q1.open();
}

void TForm1::Action1Execute() {
    if (!Form5)
        return;
    Form5->exec();
    if (Form5->answer() == athletes::SearchBy::None)
        return;
    // The engine reads a statement only up to a NUL character; a name holds none, so such a
    // text finds nobody.
    if (Form5->searchText().contains(QChar(0))) {
        Action6Execute();
        return;
    }
    ResultSet& q1 = Query1();
    q1.close();
    q1.setSql(Form5->statement());
    try {
        q1.open();
    } catch (...) {
        // The grid is not left empty: it lists all athletes again.
        try {
            Action6Execute();
        } catch (...) {
        }
        throw;
    }
    if (q1.isEmpty())
        Action6Execute();
}

void TForm1::Action2Execute() {
    if (!CanWrite() || !Form3)
        return;
    Form3->prepareNew();
    if (Form3->exec() != QDialog::Accepted)
        return;
    Form3->restoreMarks();

    // The new athlete is the selected one: his (empty) history and measurement counter
    // follow at once, so a measurement started now is recorded and numbered as his.
    ResultSet& q1 = Query1();
    {
        AfterScrollPause pause(q1);
        q1.insert();
        postEditorValues(q1, *Form3);
        const QVariant id = q1.value(QStringLiteral("ID"));
        // The rows are read again, so that the new athlete stands where the store lists him
        // (the last of all athletes); the cursor goes to him, or to the last row when the
        // current search does not find him.
        q1.close();
        q1.open();
        if (!q1.locate(QStringLiteral("ID"), id) && !q1.isEmpty())
            q1.last();
    }
    Query1AfterScroll();
}

void TForm1::SAendernExecute() {
    if (!CanWrite() || !Form3)
        return;
    ResultSet& q1 = Query1();
    if (!hasCurrentRow(q1))
        return;

    const bool storedDate = !q1.isNull(QStringLiteral("Geb"));
    const QDate born = storedDate ? q1.asDateTime(QStringLiteral("Geb")).date() : QDate();
    const int sex = q1.isNull(QStringLiteral("Geschl"))
                        ? -1
                        : static_cast<int>(q1.asInteger(QStringLiteral("Geschl")));
    Form3->prepareChange(q1.asText(QStringLiteral("Name")), q1.asText(QStringLiteral("Vorname")),
                         born, sex, q1.asText(QStringLiteral("Bemerkung1")));
    // A stored value that is no date is shown as it is, so that the check marks it.
    if (storedDate && !born.isValid())
        Form3->Edit3->setText(q1.asText(QStringLiteral("Geb")));
    Form3->Edit3Change();
    if (Form3->exec() != QDialog::Accepted)
        return;

    // Without a valid date in the editor the stored date of birth stays.
    q1.edit();
    postEditorValues(q1, *Form3);
}

void TForm1::Action4Execute() {
    if (!CanWrite())
        return;
    if (!boxes::confirm(ctx_.ui, QStringLiteral("Soll der aktuelle Datensatz gelöscht werden?"),
                        {QStringLiteral("&Ja"), QStringLiteral("&Abbrechen")}))
        return;
    DelPat();
}

void TForm1::DelPat() {
    ResultSet& q1 = Query1();
    if (!hasCurrentRow(q1))
        return;
    const qint64 athlete = q1.asInteger(QStringLiteral("ID"));
    ResultSet& q2 = Query2();
    ResultSet& q3 = Query3();

    bool athleteRemoved = false;
    {
        // The athlete's row goes last, in the same transaction; the history follows once the
        // tables are consistent again.
        AfterScrollPause pause(q1);
        try {
            deletion::allOrNothing(*this, [&] {
                q2.setSql(deletion::measurementsOf(athlete));
                q2.open();
                QList<qint64> keys;
                for (q2.first(); !q2.eof(); q2.next())
                    keys << seriesKey(athlete, q2.asInteger(QStringLiteral("Nummer")));
                for (const qint64 key : keys) {
                    q3.setSql(deletion::deleteJumps(key));
                    q3.execute();
                }
                q2.setSql(deletion::deleteMeasurementsOf(athlete));
                q2.execute();
                q1.remove();
                athleteRemoved = true;
            });
        } catch (...) {
            if (athleteRemoved) {
                // The row left the grid but the transaction did not hold: show the table as
                // it is again, with the athlete still selected.
                try {
                    q1.close();
                    q1.open();
                    q1.locate(QStringLiteral("ID"), athlete);
                } catch (...) {
                }
            }
            throw;
        }
    }
    ResetQuery2();
    ResetQuery3();
    q1.first();
}
