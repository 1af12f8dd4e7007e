// The tests a measurement may belong to, their names and drop heights as typed and shown.

#include "core/measure/MeasurementTest.h"

#include "core/base/Errors.h"

#include <QCoreApplication>

namespace measurementtest {

namespace {

const char* const kContext = "MeasurementTest";
const char* const kDropJump = QT_TRANSLATE_NOOP("MeasurementTest", "Drop Jump");
const char* const kReactiveJumps = QT_TRANSLATE_NOOP("MeasurementTest", "Sprungserie");
const char* const kCountermovementJump =
    QT_TRANSLATE_NOOP("MeasurementTest", "Countermovement Jump");
const char* const kSquatJump = QT_TRANSLATE_NOOP("MeasurementTest", "Squat Jump");

} // namespace

QStringList offeredNames() {
    return {QString::fromLatin1(kDropJump), QString::fromLatin1(kReactiveJumps),
            QString::fromLatin1(kCountermovementJump), QString::fromLatin1(kSquatJump)};
}

QString shownName(const QString& name) {
    if (!offeredNames().contains(name))
        return name;
    return QCoreApplication::translate(kContext, name.toUtf8().constData());
}

int compareShown(const QString& a, const QString& b) {
    if (a.isEmpty() != b.isEmpty())
        return a.isEmpty() ? 1 : -1;
    return QString::localeAwareCompare(shownName(a), shownName(b));
}

QString exportKey(const QString& name) {
    static const QStringList keys{QStringLiteral("drop_jump"), QStringLiteral("jump_series"),
                                  QStringLiteral("countermovement_jump"),
                                  QStringLiteral("squat_jump")};
    const qsizetype offered = offeredNames().indexOf(name);
    return offered < 0 ? name : keys.at(offered);
}

bool takesDropHeight(const QString& name) {
    return name == QLatin1String(kDropJump) || name == QLatin1String(kReactiveJumps);
}

std::optional<int> parseDropHeight(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok || value < 0 || value > kMaxDropHeightCm)
        throw AppError(QCoreApplication::translate(
            "MeasurementTest", "Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein."));
    return value;
}

QString dropHeightText(std::optional<int> dropHeightCm) {
    return dropHeightCm ? QString::number(*dropHeightCm) : QString();
}

QString description(const MeasurementTest& test) {
    QStringList parts;
    if (!test.name.isEmpty())
        parts << shownName(test.name);
    if (test.dropHeightCm)
        parts << QCoreApplication::translate("MeasurementTest", "Fallhöhe %1 cm")
                     .arg(*test.dropHeightCm);
    return parts.join(QStringLiteral(", "));
}

MeasurementTest chosen(const QString& name, const QString& dropHeightText) {
    MeasurementTest test;
    test.name = name.trimmed();
    if (test.name.size() > kMaxNameLength)
        throw AppError(QCoreApplication::translate(
            "MeasurementTest", "Der Name des Tests darf höchstens 40 Zeichen lang sein."));
    if (takesDropHeight(test.name))
        test.dropHeightCm = parseDropHeight(dropHeightText);
    return test;
}

} // namespace measurementtest
