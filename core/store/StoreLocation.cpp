// Which store the program works on: the SQLite file in the data directory or a PostgreSQL
// database, read from its connection text.

#include "core/store/StoreLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The texts of this file that the user reads, in the translation context "StoreLocation".
struct StoreLocationTexts {
    Q_DECLARE_TR_FUNCTIONS(StoreLocation)
};

} // namespace

QString StoreLocation::dataDirectory(const QProcessEnvironment& env) {
    QString dir = env.value(QStringLiteral("KALVERO_DATA_DIR"));
    if (dir.isEmpty()) {
#ifdef Q_OS_WIN
        QString common = env.value(QStringLiteral("ProgramData"));
        if (common.isEmpty())
            common = QStringLiteral("C:/ProgramData");
        dir = common + QStringLiteral("/Morvek/QRV/");
#else
        QString base = env.value(QStringLiteral("XDG_DATA_HOME"));
        if (base.isEmpty())
            base = env.value(QStringLiteral("HOME"), QDir::homePath()) +
                   QStringLiteral("/.local/share");
        dir = base + QStringLiteral("/Morvek/QRV/");
#endif
    }
    dir = QDir::cleanPath(dir);
    return QDir::toNativeSeparators(dir + QLatin1Char('/'));
}

QString StoreLocation::filePath() const {
    return QDir(directory).filePath(kFileName);
}

StoreLocation StoreLocation::embedded(const QString& directory) {
    StoreLocation location;
    location.directory = directory;
    return location;
}

std::optional<StoreLocation> StoreLocation::fromConnectionText(const QString& text,
                                                               QString* reason) {
    const auto refuse = [reason, &text](const QString& why) {
        if (reason)
            *reason = StoreLocationTexts::tr(
                          "„%1“ ist keine Verbindung zu einer PostgreSQL-Datenbank: %2")
                          .arg(text, why);
        return std::nullopt;
    };
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return refuse(StoreLocationTexts::tr("der Text ist keine gültige Adresse."));
    if (url.scheme() != QLatin1String("postgresql") && url.scheme() != QLatin1String("postgres"))
        return refuse(StoreLocationTexts::tr("sie muss mit „postgresql://“ beginnen."));
    if (!url.password().isEmpty())
        return refuse(StoreLocationTexts::tr("ein Passwort gehört nicht hinein; libpq nimmt es aus "
                                             "~/.pgpass oder PGPASSWORD."));
    StoreLocation location;
    location.kind = Kind::Server;
    location.host = url.host();
    location.port = url.port(5432);
    location.user = url.userName();
    location.database = url.path().mid(1);
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        location.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (query.hasQueryItem(QStringLiteral("port"))) {
        bool ok = false;
        location.port = query.queryItemValue(QStringLiteral("port")).toInt(&ok);
        if (!ok)
            location.port = 0;
    }
    if (location.port <= 0 || location.port > 65535)
        return refuse(StoreLocationTexts::tr("die Portnummer ist ungültig."));
    if (location.database.isEmpty() || location.database.contains(QLatin1Char('/')))
        return refuse(StoreLocationTexts::tr("der Name der Datenbank fehlt."));
    return location;
}

QString StoreLocation::serverName() const {
    const QString shownHost = host.isEmpty() ? QStringLiteral("localhost") : host;
    return host.startsWith(QLatin1Char('/'))
               ? QStringLiteral("%1 (Port %2)").arg(shownHost).arg(port)
               : QStringLiteral("%1:%2").arg(shownHost).arg(port);
}

std::optional<StoreLocation> StoreLocation::choose(const QString& variable, const QString& setting,
                                                   const QString& dataDirectory, QString* reason) {
    const QString text = !variable.trimmed().isEmpty() ? variable : setting;
    if (text.trimmed().isEmpty())
        return embedded(dataDirectory);
    return fromConnectionText(text, reason);
}
