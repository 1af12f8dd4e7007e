#include "ui/QtMessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon toQtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// "Textdatei|*.txt" -> "Textdatei (*.txt)"
QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return entries.join(QStringLiteral(";;"));
}

} // namespace

int QtMessageService::show(const MessageBox& box) {
    QMessageBox dialog(toQtIcon(box.icon), box.title, box.text, QMessageBox::NoButton,
                       QApplication::activeWindow());
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < box.buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons << dialog.addButton(box.buttons[i], role);
    }
    if (!buttons.isEmpty()) {
        dialog.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
        dialog.setEscapeButton(buttons.last());
    }
    dialog.exec();
    return static_cast<int>(buttons.indexOf(dialog.clickedButton()));
}

QString QtMessageService::saveFileName(const SaveFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(toQtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void QtMessageService::setClipboardText(const QString& text) {
    QApplication::clipboard()->setText(text);
}
