// The desktop's message boxes, file dialogs, progress and clipboard.

#include "ui/common/QtMessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

namespace {

// The texts of this file that the user reads, in the translation context "QtMessageService".
struct QtMessageServiceTexts {
    Q_DECLARE_TR_FUNCTIONS(QtMessageService)
};

} // namespace

namespace {

// The folder the last file was saved to, beside the window's geometry.
const QString kLastFolderKey = QStringLiteral("Fenster/Ordner");

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

class ProgressDialog : public ProgressView {
public:
    ProgressDialog(const QString& label, int total)
        : label_(label), total_(total),
          dialog_(QString(), QtMessageServiceTexts::tr("Abbrechen"), 0, std::max(total, 1),
                  QApplication::activeWindow()) {
        dialog_.setWindowTitle(QStringLiteral("Kalvero"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        update(0);
    }
    bool update(int done) override {
        // Work told in many small steps (an athlete of a thousand) would spend more time
        // laying out and painting the dialog than on itself: the dialog follows at most every
        // kShowEvery, and at the end.
        if (shown_.isValid() && shown_.elapsed() < kShowEvery && done < total_)
            return !dialog_.wasCanceled();
        shown_.start();
        dialog_.setLabelText(label_.arg(done).arg(total_));
        // A modal progress dialog lets the windows repaint while it is set.
        dialog_.setValue(std::min(done, dialog_.maximum()));
        return !dialog_.wasCanceled();
    }

private:
    static constexpr qint64 kShowEvery = 100; // ms
    QString label_;
    int total_;
    QProgressDialog dialog_;
    QElapsedTimer shown_;
};

} // namespace

std::unique_ptr<ProgressView> QtMessageService::showProgress(const QString& label, int total) {
    return std::make_unique<ProgressDialog>(label, total);
}

int QtMessageService::show(const MessageBox& box) {
    QMessageBox dialog(toQtIcon(box.icon), box.title, box.text, QMessageBox::NoButton,
                       QApplication::activeWindow());
    if (!box.detail.isEmpty())
        dialog.setDetailedText(box.detail);
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < box.buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons << dialog.addButton(box.buttons[i], role);
    }
    if (!buttons.isEmpty()) {
        const int index = std::clamp(box.defaultButton, 0, static_cast<int>(buttons.size()) - 1);
        dialog.setDefaultButton(qobject_cast<QPushButton*>(buttons[index]));
        dialog.setEscapeButton(buttons.last());
    }
    dialog.exec();
    return static_cast<int>(buttons.indexOf(dialog.clickedButton()));
}

QtMessageService::QtMessageService(std::function<std::unique_ptr<QSettings>()> openSettings)
    : openSettings_(std::move(openSettings)) {}

QString QtMessageService::lastFolder() const {
    if (openSettings_)
        if (const auto settings = openSettings_()) {
            const QString folder = settings->value(kLastFolderKey).toString();
            if (!folder.isEmpty() && QFileInfo(folder).isDir())
                return folder;
        }
    return QDir::homePath();
}

void QtMessageService::rememberFolder(const QString& folder) {
    if (openSettings_)
        if (const auto settings = openSettings_())
            settings->setValue(kLastFolderKey, folder);
}

QString QtMessageService::saveFileName(const SaveFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(toQtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDirectory(lastFolder());
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().first();
    rememberFolder(QFileInfo(path).absolutePath());
    return path;
}

QString QtMessageService::folderName(const QString& title) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title);
}

QString QtMessageService::openFileName(const QString& title, const QString& filter) {
    const QString description = filter.section(QLatin1Char('|'), 0, 0);
    const QString patterns = filter.section(QLatin1Char('|'), 1);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(),
                                        QStringLiteral("%1 (%2)").arg(description, patterns) +
                                            QStringLiteral(";;") +
                                            QtMessageServiceTexts::tr("Alle Dateien (*)"));
}

void QtMessageService::setClipboardText(const QString& text) {
    QApplication::clipboard()->setText(text);
}
