#include "core/base/Language.h"
#include "support/RecordingMessageService.h"
#include "ui/settings/LimitsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using plausibility::Limits;

class TestLimitsDialog : public QObject {
    Q_OBJECT

    RecordingMessageService messages;

    static QLineEdit* edit(LimitsDialog& dialog, const char* name) {
        auto* e = dialog.findChild<QLineEdit*>(QLatin1String(name));
        Q_ASSERT(e);
        return e;
    }
    static void showActive(LimitsDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

private slots:
    void layoutAndFilling() {
        Limits limits;
        limits.contactMinMs = 61;
        limits.abortOnViolation = true;
        LimitsDialog dialog(messages, limits);
        showActive(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Triggerflanke"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize()); // cannot be resized

        const QStringList expected{"61", "200", "330", "1000"};
        const char* names[] = {"contactMinField", "flightMinField", "contactMaxField",
                               "flightMaxField"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(edit(dialog, names[i])->text(), expected[i]);
        auto groupOf = [&](const char* name) {
            return qobject_cast<QGroupBox*>(edit(dialog, name)->parentWidget())->title();
        };
        QCOMPARE(groupOf("contactMinField"), QStringLiteral("min"));
        QCOMPARE(groupOf("flightMinField"), QStringLiteral("min"));
        QCOMPARE(groupOf("contactMaxField"), QStringLiteral("max"));
        QCOMPARE(groupOf("flightMaxField"), QStringLiteral("max"));
        auto* abort = dialog.findChild<QCheckBox*>(QStringLiteral("abortCheck"));
        QCOMPARE(abort->text(), QStringLiteral("Abbruch bei Plausilibitätsverletzung"));
        QVERIFY(abort->isChecked());
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->text(),
                 QStringLiteral("OK"));

        // Each row label sits level with the fields of its row.
        auto middle = [&](QWidget* w) {
            return w->mapTo(&dialog, w->rect().center()).y();
        };
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0]->text(), QStringLiteral("Stützzeit"));
        QCOMPARE(labels[1]->text(), QStringLiteral("Flugzeit"));
        QCOMPARE(middle(labels[0]), middle(edit(dialog, "contactMinField")));
        QCOMPARE(middle(labels[1]), middle(edit(dialog, "flightMinField")));
        QCOMPARE(middle(edit(dialog, "contactMinField")), middle(edit(dialog, "contactMaxField")));
        QCOMPARE(middle(edit(dialog, "flightMinField")), middle(edit(dialog, "flightMaxField")));

        // Centred on the desktop.
        const QPoint offset =
            dialog.frameGeometry().center() - dialog.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.x())));
    }

    void keyFilter() {
        Limits limits;
        LimitsDialog dialog(messages, limits);
        showActive(dialog);
        QLineEdit* field = edit(dialog, "contactMinField");
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, QStringLiteral("12a-3,4"));
        QCOMPARE(field->text(), QStringLiteral("1234"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("123"));
    }

    void leavingTakesOver_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("typed"); // typed through the key filter, else pasted
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QList<qint32>>(
            "limits"); // contactMinMs, flightMinMs, contactMaxMs, flightMaxMs
        const QList<qint32> defaults{60, 200, 330, 1000};
        QTest::newRow("4500 into Edit3") << "contactMaxField" << true << "4500"
                                         << "4000" << QList<qint32>{60, 200, 4000, 1000};
        QTest::newRow("4500 into Edit1 waits for a maximum above it")
            << "contactMinField" << true << "4500"
            << "4500" << defaults;
        QTest::newRow("cleared Edit2") << "flightMinField" << true << ""
                                       << "200" << defaults;
        QTest::newRow("letters pasted into Edit4") << "flightMaxField" << false << "abc"
                                                   << "1000" << defaults;
        QTest::newRow("too many digits in Edit1") << "contactMinField" << true << "123456789012"
                                                  << "60" << defaults;
        QTest::newRow("negative pasted into Edit2") << "flightMinField" << false << "-20"
                                                    << "-20" << QList<qint32>{60, -20, 330, 1000};
    }
    void leavingTakesOver() {
        QFETCH(QString, field);
        QFETCH(bool, typed);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QList<qint32>, limits);
        Limits current;
        LimitsDialog dialog(messages, current);
        showActive(dialog);
        QLineEdit* target = edit(dialog, qPrintable(field));
        target->setFocus();
        target->clear();
        if (typed)
            QTest::keyClicks(target, text);
        else
            target->insert(text);
        edit(dialog,
             field == QStringLiteral("contactMinField") ? "flightMinField" : "contactMinField")
            ->setFocus();
        QCOMPARE(target->text(), shown);
        QCOMPARE((QList<qint32>{current.contactMinMs, current.flightMinMs, current.contactMaxMs,
                                current.flightMaxMs}),
                 limits);
    }

    // A minimum not below its maximum is refused when the dialog closes: it stays open with
    // the minimum in focus and that pair as it was. A new range may be typed in either order.
    void crossedLimitsAreRefused_data() {
        QTest::addColumn<QStringList>("typed"); // "field=text", in order
        QTest::addColumn<QString>("message");   // empty: the dialog closes
        QTest::addColumn<QList<qint32>>("limits");
        const QList<qint32> defaults{60, 200, 330, 1000};
        const QString contact = "Das Minimum der Stützzeit (%1 ms) muss kleiner als ihr "
                                "Maximum (%2 ms) sein.";
        const QString flight = "Das Minimum der Flugzeit (%1 ms) muss kleiner als ihr "
                               "Maximum (%2 ms) sein.";
        QTest::newRow("contact minimum above")
            << QStringList{"contactMinField=400"} << contact.arg(400).arg(330) << defaults;
        QTest::newRow("flight minimum equal")
            << QStringList{"flightMinField=1000"} << flight.arg(1000).arg(1000) << defaults;
        QTest::newRow("flight maximum below")
            << QStringList{"flightMaxField=150"} << flight.arg(200).arg(150) << defaults;
        QTest::newRow("both crossed, contact told first")
            << QStringList{"flightMinField=2000", "contactMaxField=10"} << contact.arg(60).arg(10)
            << defaults;
        QTest::newRow("the other pair comes into force")
            << QStringList{"contactMinField=400", "flightMaxField=900"} << contact.arg(400).arg(330)
            << QList<qint32>{60, 200, 330, 900};
        QTest::newRow("new range, minimum first")
            << QStringList{"contactMinField=400", "contactMaxField=500"} << QString()
            << QList<qint32>{400, 200, 500, 1000};
    }
    void crossedLimitsAreRefused() {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QList<qint32>, limits);
        messages.clear();
        Limits current;
        LimitsDialog dialog(messages, current);
        showActive(dialog);
        QLineEdit* field = nullptr;
        for (const QString& entry : typed) {
            field = edit(dialog, qPrintable(entry.section('=', 0, 0)));
            field->setFocus();
            field->clear();
            QTest::keyClicks(field, entry.section('=', 1));
        }
        QTest::keyClick(field, Qt::Key_Return); // the default button OK
        QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(
                dialog.focusWidget(),
                edit(dialog, message.contains("Stützzeit") ? "contactMinField" : "flightMinField"));
        QCOMPARE((QList<qint32>{current.contactMinMs, current.flightMinMs, current.contactMaxMs,
                                current.flightMaxMs}),
                 limits);
    }

    void checkBoxAndOk() {
        Limits limits;
        LimitsDialog dialog(messages, limits);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* abort = dialog.findChild<QCheckBox*>(QStringLiteral("abortCheck"));
        QTest::mouseClick(abort, Qt::LeftButton);
        QVERIFY(limits.abortOnViolation);
        QTest::mouseClick(abort, Qt::LeftButton);
        QVERIFY(!limits.abortOnViolation);

        // The field still being edited is taken over when OK closes the dialog.
        QLineEdit* field = edit(dialog, "flightMaxField");
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, QStringLiteral("800"));
        QTest::keyClick(field, Qt::Key_Return); // the default button OK
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(limits.flightMaxMs, 800);

        // Opened again, it shows the limits in force.
        limits.contactMinMs = 75;
        dialog.open();
        QCOMPARE(edit(dialog, "contactMinField")->text(), QStringLiteral("75"));
        QCOMPARE(edit(dialog, "flightMaxField")->text(), QStringLiteral("800"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QVERIFY(!dialog.isVisible());

        // Closing takes over every field, also one changed without ever having the focus.
        dialog.open();
        edit(dialog, "contactMaxField")->setText(QStringLiteral("5000"));
        dialog.reject();
        QCOMPARE(limits.contactMaxMs, 4000);
    }

    // The language row shows the stored choice (an unknown one gives way to the system's
    // locale) and writes a new choice at once, beside the other settings.
    void languageChoice_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("German stored") << "de"
                                       << "Deutsch";
        QTest::newRow("English stored") << "en"
                                        << "English";
        QTest::newRow("unknown value: the system's language") << "xx" << QString();
    }
    void languageChoice() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        if (shown.isEmpty())
            shown = language::ofLocale(QLocale::system()) == language::Language::German
                        ? QStringLiteral("Deutsch")
                        : QStringLiteral("English");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QRV.conf"));
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Einstellungen/Sprache"), stored);
            settings.setValue(QStringLiteral("Einstellungen/PSZmin"), QStringLiteral("70"));
        }
        Limits limits;
        LimitsDialog dialog(messages, limits);
        dialog.offerLanguageChoice(
            [path] { return std::make_unique<QSettings>(path, QSettings::IniFormat); });
        auto* chooser = dialog.findChild<QComboBox*>(QStringLiteral("languageChooser"));
        QVERIFY(chooser);
        QCOMPARE(chooser->currentText(), shown);
        chooser->setCurrentIndex(shown == QLatin1String("Deutsch") ? 1 : 0);
        const QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Einstellungen/Sprache")).toString(),
                 shown == QLatin1String("Deutsch") ? QStringLiteral("en") : QStringLiteral("de"));
        QCOMPARE(settings.value(QStringLiteral("Einstellungen/PSZmin")).toString(),
                 QStringLiteral("70"));
    }
};

QTEST_MAIN(TestLimitsDialog)
#include "tst_limitsdialog.moc"
