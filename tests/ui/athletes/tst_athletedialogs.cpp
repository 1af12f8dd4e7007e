#include "core/base/Texts.h"
#include "support/RecordingMessageService.h"
#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/athletes/RemarkEdit.h"

#include <QClipboard>
#include <QtTest>
#include <QtWidgets>

using athletes::SearchBy;

Q_DECLARE_METATYPE(athletes::SearchBy)

namespace {

const QString kRequired =
    QStringLiteral("Bitte füllen Sie alle mit * gekennzeichneten Felder aus!");

// The dialogs' parts, found by their object names.
template <typename T> T* part(const QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}
QComboBox* sexField(const QWidget& form) {
    return part<QComboBox>(form, "sexField");
}
QLineEdit* nameField(const QWidget& form) {
    return part<QLineEdit>(form, "nameField");
}
QLineEdit* firstNameField(const QWidget& form) {
    return part<QLineEdit>(form, "firstNameField");
}
QLineEdit* birthDateField(const QWidget& form) {
    return part<QLineEdit>(form, "birthDateField");
}
RemarkEdit* remarkField(const QWidget& form) {
    return part<RemarkEdit>(form, "remarkField");
}
QPushButton* okButton(const QWidget& form) {
    return part<QPushButton>(form, "okButton");
}
QPushButton* cancelButton(const QWidget& form) {
    return part<QPushButton>(form, "cancelButton");
}
QLabel* sexMark(const QWidget& form) {
    return part<QLabel>(form, "sexMark");
}
QLabel* nameMark(const QWidget& form) {
    return part<QLabel>(form, "nameMark");
}
QLabel* firstNameMark(const QWidget& form) {
    return part<QLabel>(form, "firstNameMark");
}
QLabel* birthDateMark(const QWidget& form) {
    return part<QLabel>(form, "birthDateMark");
}
QLineEdit* surnameField(const QWidget& form) {
    return part<QLineEdit>(form, "surnameField");
}
QPushButton* searchButton(const QWidget& form) {
    return part<QPushButton>(form, "searchButton");
}
QLabel* firstNameLabel(const QWidget& form) {
    return part<QLabel>(form, "firstNameLabel");
}
QLabel* surnameLabel(const QWidget& form) {
    return part<QLabel>(form, "surnameLabel");
}

Athlete athlete(const QString& name, const QString& firstName, const QDate& birthDate, int sex,
                const QString& remark) {
    Athlete a;
    a.name = name;
    a.firstName = firstName;
    a.birthDate = birthDate;
    a.sex = sex;
    a.remark = remark;
    return a;
}

bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Types a text as the user would, a line break as the Return key.
void type(QWidget* widget, const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(widget, Qt::Key_Return);
        for (QChar c : lines[i])
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QStringList marks(const AthleteEditorDialog& form) {
    return {sexMark(form)->text(), nameMark(form)->text(), firstNameMark(form)->text(),
            birthDateMark(form)->text()};
}

bool birthDateMarkedInvalid(const AthleteEditorDialog& form) {
    return birthDateField(form)->palette().color(QPalette::Base) ==
           AthleteEditorDialog::invalidDateColor();
}

} // namespace

class TestAthleteDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // ---- editor: new athlete ------------------------------------------------------------

    void newAthlete_data() {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("born");
        QTest::addColumn<QString>("remark");
        QTest::addColumn<bool>("dateValid");
        QTest::addColumn<QDate>("date");
        QTest::newRow("every field")
            << 1 << "Müller-Lüdenscheidt"
            << "Jörg"
            << "17.05.1980"
            << "Knie links, Sprungbein rechts" << true << QDate(1980, 5, 17);
        QTest::newRow("no date, no sex") << -1 << "O'Hara"
                                         << "Seán"
                                         << ""
                                         << "" << false << QDate();
        QTest::newRow("male, quotes kept") << 0 << "a,b'c\"d"
                                           << "' OR 1=1 --"
                                           << "29.02.2000"
                                           << "x'-- \"ß\"" << true << QDate(2000, 2, 29);
        QTest::newRow("blanks around the date") << 1 << " Zorn "
                                                << "Hanna"
                                                << " 04.04.1995 "
                                                << "" << true << QDate(1995, 4, 4);
    }
    void newAthlete() {
        QFETCH(int, sex);
        QFETCH(QString, name);
        QFETCH(QString, firstName);
        QFETCH(QString, born);
        QFETCH(QString, remark);
        QFETCH(bool, dateValid);
        QFETCH(QDate, date);

        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        // What a change before left behind must not show through.
        form.prepareChange(athlete(QStringLiteral("Alt"), QStringLiteral("Alt"), QDate(1950, 1, 1),
                                   1, QStringLiteral("alt")));
        form.prepareNew();
        QCOMPARE(form.windowTitle(), QStringLiteral("Sportler - Neu"));
        QCOMPARE(marks(form), (QStringList{"", "*", "*", ""}));
        QCOMPARE(sexField(form)->currentIndex(), -1);
        QVERIFY(nameField(form)->text().isEmpty() && firstNameField(form)->text().isEmpty());
        QVERIFY(birthDateField(form)->text().isEmpty() && form.enteredAthlete().remark.isEmpty());

        QVERIFY(showActive(form));
        QCOMPARE(QApplication::focusWidget(), nameField(form));
        sexField(form)->setCurrentIndex(sex);
        type(nameField(form), name);
        type(firstNameField(form), firstName);
        type(birthDateField(form), born);
        remarkField(form)->setFocus();
        type(remarkField(form), remark);
        QVERIFY(form.isVisible()); // Enter in the remark is a line break
        QTest::keyClick(birthDateField(form), Qt::Key_Return);

        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QVERIFY(messages.boxes.isEmpty());
        QCOMPARE(form.enteredAthlete().sex, sex);
        QCOMPARE(form.enteredAthlete().name, name);
        QCOMPARE(form.enteredAthlete().firstName, firstName);
        QCOMPARE(form.enteredAthlete().remark, remark);
        QCOMPARE(form.dateValid(), dateValid);
        QCOMPARE(form.enteredAthlete().birthDate, date);

        form.restoreMarks();
        QCOMPARE(marks(form), (QStringList{"*", "*", "*", "*"}));
    }

    void enterPressesOk_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        for (const char* field : {"sexField", "nameField", "firstNameField", "birthDateField"}) {
            QTest::addRow("Return in %s", field) << field << int(Qt::Key_Return);
            QTest::addRow("keypad Enter in %s", field) << field << int(Qt::Key_Enter);
        }
    }
    void enterPressesOk() {
        QFETCH(QString, field);
        QFETCH(int, key);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareChange(athlete(QStringLiteral("Meier"), QStringLiteral("Hans"),
                                   QDate(1980, 5, 1), 0, QString()));
        QVERIFY(showActive(form));
        auto* widget = form.findChild<QWidget*>(field);
        QVERIFY(widget);
        widget->setFocus();
        QWidget* focusAtClick = nullptr;
        connect(okButton(form), &QPushButton::pressed,
                [&] { focusAtClick = QApplication::focusWidget(); });

        QTest::keyClick(widget, Qt::Key(key));
        QCOMPARE(focusAtClick, okButton(form));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QVERIFY(messages.boxes.isEmpty());
    }

    void cancel_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Abbruch") << "cancelButton";
        for (const char* field :
             {"sexField", "nameField", "firstNameField", "birthDateField", "remarkField"})
            QTest::addRow("Escape in %s", field) << field;
        QTest::newRow("close box") << "";
    }
    void cancel() {
        QFETCH(QString, way);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareNew();
        QVERIFY(showActive(form));
        type(nameField(form), QStringLiteral("Meier"));
        type(firstNameField(form), QStringLiteral("Hans"));
        type(birthDateField(form), QStringLiteral("01.05.1980"));
        if (way == QLatin1String("cancelButton"))
            QTest::mouseClick(cancelButton(form), Qt::LeftButton);
        else if (way.isEmpty())
            form.close();
        else
            QTest::keyClick(form.findChild<QWidget*>(way), Qt::Key_Escape);

        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.isVisible());
        QVERIFY(messages.boxes.isEmpty());
        QVERIFY(!form.dateValid());

        // The marks emptied for the new athlete are back for the next change.
        form.prepareChange(
            athlete(QStringLiteral("Meier"), QStringLiteral("Hans"), QDate(), -1, QString()));
        QCOMPARE(form.windowTitle(), QStringLiteral("Sportler - ändern"));
        QCOMPARE(marks(form), (QStringList{"*", "*", "*", "*"}));
    }

    // ---- editor: what the export could not hold --------------------------------------------

    // A ";", a tab or a line break, typed or pasted, is refused with a message and the dialog
    // stays open at that field; names longer than 50 characters are cut as they are pasted.
    void separatorsAndLengths_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("kept"); // what the field holds afterwards
        QTest::newRow("semicolon in the name") << "nameField"
                                               << "Mei;er" << true << "Mei;er";
        QTest::newRow("line break in the first name") << "firstNameField"
                                                      << "Hans\nPeter" << true << "Hans\nPeter";
        QTest::newRow("tab in the name") << "nameField"
                                         << "Mei\ter" << true << "Mei\ter";
        QTest::newRow("line break in the remark")
            << "remarkField"
            << "Zeile 1\nZeile 2" << true << "Zeile 1\nZeile 2";
        QTest::newRow("semicolon in the remark") << "remarkField"
                                                 << "a;b" << true << "a;b";
        QTest::newRow("a long name is cut at 50") << "nameField" << QString(80, QLatin1Char('x'))
                                                  << false << QString(50, QLatin1Char('x'));
        QTest::newRow("a long first name is cut at 50")
            << "firstNameField" << QString(51, QLatin1Char('y')) << false
            << QString(50, QLatin1Char('y'));
    }
    void separatorsAndLengths() {
        QFETCH(QString, field);
        QFETCH(QString, pasted);
        QFETCH(bool, refused);
        QFETCH(QString, kept);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareNew();
        QVERIFY(showActive(form));
        nameField(form)->setText(QStringLiteral("Meier"));
        firstNameField(form)->setText(QStringLiteral("Hans"));
        QWidget* target = form.findChild<QWidget*>(field);
        QVERIFY(target);
        target->setFocus();
        if (field == "remarkField")
            remarkField(form)->setPlainText(QString());
        else
            static_cast<QLineEdit*>(target)->clear();
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        const QString held = field == "remarkField" ? form.enteredAthlete().remark
                                                    : static_cast<QLineEdit*>(target)->text();
        QCOMPARE(held, kept);
        QTest::mouseClick(okButton(form), Qt::LeftButton);
        QCOMPARE(form.isVisible(), refused);
        if (refused) {
            QCOMPARE(messages.texts(),
                     QStringList{"Name, Vorname und Bemerkung dürfen kein Semikolon, "
                                 "keinen Tabulator und keinen Zeilenumbruch "
                                 "enthalten."});
            QCOMPARE(QApplication::focusWidget(), target);
        } else {
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QVERIFY(messages.boxes.isEmpty());
        }
    }

    // A name or remark that a spreadsheet would run as a formula is refused; a hyphen at the
    // start is a name's own (the exports keep it from running).
    void formulaStartsRefused_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("= in the name") << "nameField"
                                       << "=1+2" << true;
        QTest::newRow("+ in the first name") << "firstNameField"
                                             << "+49" << true;
        QTest::newRow("@ in the remark") << "remarkField"
                                         << "@SUM(A1)" << true;
        QTest::newRow("- in the name") << "nameField"
                                       << "-Meier" << false;
        QTest::newRow("= inside the name") << "nameField"
                                           << "Meier=Huber" << false;
    }
    void formulaStartsRefused() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareNew();
        QVERIFY(showActive(form));
        nameField(form)->setText(QStringLiteral("Meier"));
        firstNameField(form)->setText(QStringLiteral("Hans"));
        QWidget* target = form.findChild<QWidget*>(field);
        QVERIFY(target);
        if (field == "remarkField")
            remarkField(form)->setPlainText(typed);
        else
            static_cast<QLineEdit*>(target)->setText(typed);
        QTest::mouseClick(okButton(form), Qt::LeftButton);
        QCOMPARE(form.isVisible(), refused);
        if (refused) {
            QCOMPARE(messages.texts(), QStringList{"Name, Vorname und Bemerkung dürfen nicht mit "
                                                   "=, + oder @ beginnen."});
            QCOMPARE(QApplication::focusWidget(), target);
        } else {
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
    }

    // ---- editor: required fields and the birth date --------------------------------------

    void requiredFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("born");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("dateValid");
        QTest::newRow("both empty") << ""
                                    << ""
                                    << ""
                                    << "nameField" << false;
        QTest::newRow("name empty, date taken all the same") << ""
                                                             << "Hans"
                                                             << "01.02.2003"
                                                             << "nameField" << true;
        QTest::newRow("first name empty") << "Meier"
                                          << ""
                                          << ""
                                          << "firstNameField" << false;
        QTest::newRow("first name only blanks, no date") << "Meier"
                                                         << "   "
                                                         << "kein Datum"
                                                         << "firstNameField" << false;
        QTest::newRow("name only blanks") << "  "
                                          << "Hans"
                                          << ""
                                          << "nameField" << false;
    }
    void requiredFields() {
        QFETCH(QString, name);
        QFETCH(QString, firstName);
        QFETCH(QString, born);
        QFETCH(QString, focus);
        QFETCH(bool, dateValid);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareNew();
        QVERIFY(showActive(form));
        type(nameField(form), name);
        type(firstNameField(form), firstName);
        type(birthDateField(form), born);
        QTest::mouseClick(okButton(form), Qt::LeftButton);

        QVERIFY(form.isVisible());
        QCOMPARE(form.result(), 0);
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(messages.boxes[0].title, QStringLiteral("Informationen"));
        QCOMPARE(messages.boxes[0].text, kRequired);
        QCOMPARE(messages.boxes[0].buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(form.dateValid(), dateValid);

        // Filled in, the same dialog closes confirmed.
        nameField(form)->setText(QStringLiteral("Meier"));
        firstNameField(form)->setText(QStringLiteral("Hans"));
        birthDateField(form)->setText(QStringLiteral("01.02.2003"));
        QTest::keyClick(firstNameField(form), Qt::Key_Return);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(form.enteredAthlete().birthDate, QDate(2003, 2, 1));
    }

    // Changing an athlete: what the typed Geb. am text does to the background, the dialog and
    // the date taken.
    void changeBirthDate_data() {
        QTest::addColumn<QString>("born");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("dateValid");
        QTest::addColumn<QDate>("date");
        QTest::newRow("stored date kept")
            << "17.05.1980" << false << true << true << QDate(1980, 5, 17);
        QTest::newRow("new date") << "01.12.1981" << false << true << true << QDate(1981, 12, 1);
        QTest::newRow("emptied") << "" << false << true << false << QDate();
        QTest::newRow("only blanks") << "   " << false << true << false << QDate();
        QTest::newRow("no such day") << "31.02.1980" << true << false << false << QDate();
        QTest::newRow("one-digit day") << "1.5.1980" << false << true << true << QDate(1980, 5, 1);
        QTest::newRow("words") << "gestern" << true << false << false << QDate();
    }
    void changeBirthDate() {
        QFETCH(QString, born);
        QFETCH(bool, marked);
        QFETCH(bool, accepted);
        QFETCH(bool, dateValid);
        QFETCH(QDate, date);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareChange(athlete(QStringLiteral("Meier"), QStringLiteral("Hans"),
                                   QDate(1980, 5, 17), 0, QString()));
        QCOMPARE(birthDateField(form)->text(), QStringLiteral("17.05.1980"));
        QVERIFY(!birthDateMarkedInvalid(form));
        QVERIFY(showActive(form));
        birthDateField(form)->selectAll();
        QTest::keyClick(birthDateField(form), Qt::Key_Delete);
        type(birthDateField(form), born);
        QCOMPARE(birthDateMarkedInvalid(form), marked);

        QTest::keyClick(birthDateField(form), Qt::Key_Return);
        QCOMPARE(form.result() == QDialog::Accepted, accepted);
        QCOMPARE(form.isVisible(), !accepted);
        QCOMPARE(form.dateValid(), dateValid);
        QCOMPARE(form.enteredAthlete().birthDate, date);
        QCOMPARE(birthDateMarkedInvalid(form), marked);
        if (accepted) {
            QVERIFY(messages.boxes.isEmpty());
            return;
        }
        // A typed text that is no date is not dropped silently: the user is told the form.
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(messages.boxes[0].title, QStringLiteral("Informationen"));
        QVERIFY(messages.boxes[0].text.contains(born));
        QVERIFY(messages.boxes[0].text.contains(QStringLiteral("31.12.1990")));
        QCOMPARE(QApplication::focusWidget(), birthDateField(form));

        // Corrected, the field is plain again and OK confirms.
        birthDateField(form)->setText(QStringLiteral("02.03.1981"));
        QVERIFY(!birthDateMarkedInvalid(form));
        QTest::keyClick(birthDateField(form), Qt::Key_Return);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(form.dateValid());
        QCOMPARE(form.enteredAthlete().birthDate, QDate(1981, 3, 2));
    }

    // The check run after filling: a stored date shown in a format that no longer parses
    // (the date format of the desktop changed) is marked.
    void birthDateCheckAfterFilling() {
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareChange(athlete(QStringLiteral("Meier"), QStringLiteral("Hans"),
                                   QDate(1980, 5, 17), 0, QString()));
        QVERIFY(!birthDateMarkedInvalid(form));
        texts::setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        form.checkBirthDate();
        QVERIFY(birthDateMarkedInvalid(form));
        QCOMPARE(birthDateField(form)->text(), QStringLiteral("17.05.1980"));
        form.prepareChange(athlete(QStringLiteral("Meier"), QStringLiteral("Hans"),
                                   QDate(1980, 5, 17), 0, QString()));
        QVERIFY(!birthDateMarkedInvalid(form));
        QCOMPARE(texts::parseDate(birthDateField(form)->text()), QDate(1980, 5, 17));
    }

    void changeFill_data() {
        QTest::addColumn<QDate>("born");
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("remark");
        QTest::addColumn<QString>("bornText");
        QTest::addColumn<int>("shownSex");
        QTest::addColumn<QString>("shownRemark");
        QTest::newRow("female with date") << QDate(1999, 12, 31) << 1 << "Knie"
                                          << "31.12.1999" << 1 << "Knie";
        QTest::newRow("male without date") << QDate() << 0 << ""
                                           << "" << 0 << "";
        QTest::newRow("no sex chosen") << QDate(2001, 1, 2) << -1 << "a\nb"
                                       << "02.01.2001" << -1 << "a\nb";
        QTest::newRow("unknown sex value") << QDate() << 7 << ""
                                           << "" << -1 << "";
        QTest::newRow("stored line breaks") << QDate() << 0 << "eins\r\nzwei\rdrei"
                                            << "" << 0 << "eins\nzwei\ndrei";
    }
    void changeFill() {
        QFETCH(QDate, born);
        QFETCH(int, sex);
        QFETCH(QString, remark);
        QFETCH(QString, bornText);
        QFETCH(int, shownSex);
        QFETCH(QString, shownRemark);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareNew();
        form.prepareChange(
            athlete(QStringLiteral("Öztürk"), QStringLiteral("Ömer"), born, sex, remark));
        QCOMPARE(form.windowTitle(), QStringLiteral("Sportler - ändern"));
        QCOMPARE(marks(form), (QStringList{"*", "*", "*", "*"}));
        QCOMPARE(nameField(form)->text(), QStringLiteral("Öztürk"));
        QCOMPARE(firstNameField(form)->text(), QStringLiteral("Ömer"));
        QCOMPARE(birthDateField(form)->text(), bornText);
        QCOMPARE(form.enteredAthlete().sex, shownSex);
        QCOMPARE(form.enteredAthlete().remark, shownRemark);
        QVERIFY(!birthDateMarkedInvalid(form));
        QVERIFY(!form.dateValid());
        QCOMPARE(form.result(), 0);
    }

    // ---- editor: the remark limit --------------------------------------------------------

    // The remark starts as `initial`, the cursor stands at `position` with `selected`
    // characters selected, then `input` is typed or pasted.
    void remarkLimit_data() {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QString a100(100, QLatin1Char('a'));
        QTest::newRow("typing stops at 100")
            << "" << 0 << 0 << false << QString(101, QLatin1Char('x'))
            << QString(100, QLatin1Char('x'));
        QTest::newRow("line breaks count one each")
            << QString(96, QLatin1Char('x')) << 96 << 0 << false << "\n\nab\nc"
            << QString(96, QLatin1Char('x')) + "\n\nab";
        QTest::newRow("full: typing in the middle changes nothing")
            << a100 << 50 << 0 << false << "b" << a100;
        QTest::newRow("full: Enter changes nothing") << a100 << 10 << 0 << false << "\n" << a100;
        QTest::newRow("typing over a selection") << a100 << 0 << 2 << false << "bcd"
                                                 << "bc" + QString(98, QLatin1Char('a'));
        QTest::newRow("paste cut where it goes in")
            << "Anfang Ende" << 7 << 0 << true << QString(95, QLatin1Char('p'))
            << "Anfang " + QString(89, QLatin1Char('p')) + "Ende";
        QTest::newRow("paste over a selection")
            << a100 << 0 << 10 << true << QString(15, QLatin1Char('b'))
            << QString(10, QLatin1Char('b')) + QString(90, QLatin1Char('a'));
        QTest::newRow("pasted line breaks") << "ab" << 1 << 0 << true << "1\r\n2\n3"
                                            << "a1\n2\n3b";
        QTest::newRow("pasted into an empty remark")
            << "" << 0 << 0 << true << QString(150, QLatin1Char('q'))
            << QString(100, QLatin1Char('q'));
        QTest::newRow("no half character")
            << QString(99, QLatin1Char('a')) << 99 << 0 << true
            << QString::fromUtf8("\xF0\x9F\x98\x80") << QString(99, QLatin1Char('a'));
        QTest::newRow("umlauts, quotes and semicolons exact")
            << "" << 0 << 0 << false << "Knie ö; 'x' \"y\" ß"
            << "Knie ö; 'x' \"y\" ß";
        QTest::newRow("stored longer remark kept but not lengthened")
            << QString(120, QLatin1Char('l')) << 120 << 0 << false << "x"
            << QString(120, QLatin1Char('l'));
        QTest::newRow("stored longer remark can be shortened")
            << QString(120, QLatin1Char('l')) << 0 << 30 << false << "k"
            << "k" + QString(90, QLatin1Char('l'));
        QTest::newRow("stored longer remark, paste over a selection")
            << QString(120, QLatin1Char('l')) << 0 << 2 << true << "abcd"
            << "ab" + QString(118, QLatin1Char('l'));
    }
    void remarkLimit() {
        QFETCH(QString, initial);
        QFETCH(int, position);
        QFETCH(int, selected);
        QFETCH(bool, paste);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        RecordingMessageService messages;
        AthleteEditorDialog form(messages);
        form.prepareChange(
            athlete(QStringLiteral("Meier"), QStringLiteral("Hans"), QDate(), 0, initial));
        QCOMPARE(form.enteredAthlete().remark, initial);
        QVERIFY(showActive(form));
        remarkField(form)->setFocus();
        QTextCursor cursor = remarkField(form)->textCursor();
        cursor.setPosition(position);
        cursor.setPosition(position + selected, QTextCursor::KeepAnchor);
        remarkField(form)->setTextCursor(cursor);
        if (paste) {
            QGuiApplication::clipboard()->setText(input);
            QCOMPARE(QGuiApplication::clipboard()->text(), input);
            QTest::keyClick(remarkField(form), Qt::Key_V, Qt::ControlModifier);
        } else {
            type(remarkField(form), input);
        }
        QCOMPARE(form.enteredAthlete().remark, expected);
        QVERIFY(form.isVisible());
    }

    // ---- search dialog --------------------------------------------------------------------

    // The fields are entered in the given order after the dialog opened; the last one
    // decides what "Suchen" searches by.
    void searchFieldDecides_data() {
        QTest::addColumn<QStringList>("entered");
        QTest::addColumn<SearchBy>("answer");
        QTest::addColumn<QString>("text");
        QTest::newRow("first name field as opened") << QStringList{} << SearchBy::FirstName << "jö";
        QTest::newRow("surname field")
            << QStringList{"surnameField"} << SearchBy::Surname << "o'hara";
        QTest::newRow("surname then first name")
            << QStringList{"surnameField", "firstNameField"} << SearchBy::FirstName << "jö";
        QTest::newRow("button gets the focus after the surname")
            << QStringList{"firstNameField", "surnameField", "searchButton"} << SearchBy::Surname
            << "o'hara";
    }
    void searchFieldDecides() {
        QFETCH(QStringList, entered);
        QFETCH(SearchBy, answer);
        QFETCH(QString, text);
        AthleteSearchDialog form;
        firstNameField(form)->setText(QStringLiteral("jö"));
        surnameField(form)->setText(QStringLiteral("o'hara"));
        QVERIFY(showActive(form));
        QCOMPARE(QApplication::focusWidget(), firstNameField(form));
        for (const QString& name : entered) {
            form.findChild<QWidget*>(name)->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        QCOMPARE(firstNameLabel(form)->isEnabled(), answer == SearchBy::FirstName);
        QCOMPARE(surnameLabel(form)->isEnabled(), answer == SearchBy::Surname);
        QCOMPARE(form.answer(), SearchBy::None);

        QTest::mouseClick(searchButton(form), Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.answer(), answer);
        QCOMPARE(form.searchText(), text);
    }

    void searchEnterKeys() {
        AthleteSearchDialog form;
        QVERIFY(showActive(form));
        type(surnameField(form), QStringLiteral("Meier"));
        QTest::keyClick(surnameField(form), Qt::Key_Return);
        QTest::keyClick(surnameField(form), Qt::Key_Enter);
        QVERIFY(form.isVisible());
        QCOMPARE(form.answer(), SearchBy::None);
        QCOMPARE(surnameField(form)->text(), QStringLiteral("Meier"));

        firstNameField(form)->setFocus();
        type(firstNameField(form), QStringLiteral("Hans"));
        QTest::keyClick(firstNameField(form), Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.answer(), SearchBy::FirstName);
        QCOMPARE(form.searchText(), QStringLiteral("Hans"));
    }

    void searchTextsKeptBetweenShows() {
        AthleteSearchDialog form;
        // Run modally, as the main window does.
        QTimer::singleShot(0, &form, [&] {
            if (!QTest::qWaitForWindowActive(&form))
                qWarning("search dialog not active");
            type(firstNameField(form), QStringLiteral("Jö"));
            surnameField(form)->setFocus();
            type(surnameField(form), QStringLiteral("Mü"));
            QTest::mouseClick(searchButton(form), Qt::LeftButton);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.answer(), SearchBy::Surname);
        QCOMPARE(form.searchText(), QStringLiteral("Mü"));

        QVERIFY(showActive(form));
        QCOMPARE(form.answer(), SearchBy::None);
        QCOMPARE(firstNameField(form)->text(), QStringLiteral("Jö"));
        QCOMPARE(surnameField(form)->text(), QStringLiteral("Mü"));
        QCOMPARE(QApplication::focusWidget(), firstNameField(form));
        QVERIFY(firstNameLabel(form)->isEnabled());
        QVERIFY(!surnameLabel(form)->isEnabled());
        QTest::mouseClick(searchButton(form), Qt::LeftButton);
        QCOMPARE(form.answer(), SearchBy::FirstName);
        QCOMPARE(form.searchText(), QStringLiteral("Jö"));
    }

    void searchClosedWithoutAnswer_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Escape") << true;
    }
    void searchClosedWithoutAnswer() {
        QFETCH(bool, escape);
        AthleteSearchDialog form;
        firstNameField(form)->setText(QStringLiteral("Hans"));
        QVERIFY(showActive(form));
        QTest::mouseClick(searchButton(form), Qt::LeftButton);
        QCOMPARE(form.answer(), SearchBy::FirstName);

        QVERIFY(showActive(form));
        surnameField(form)->setFocus();
        if (escape)
            QTest::keyClick(surnameField(form), Qt::Key_Escape);
        else
            form.close();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(form.answer(), SearchBy::None);
        QVERIFY(form.searchText().isEmpty());
    }
};

QTEST_MAIN(TestAthleteDialogs)
#include "tst_athletedialogs.moc"
