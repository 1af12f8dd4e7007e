#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// Where athletes, measurements and jumps are kept: the embedded SQLite file in the data
// directory (the default, needing no set-up), or a PostgreSQL database on a server that
// several stations share.
struct StoreLocation {
    enum class Kind { Embedded, Server };
    Kind kind = Kind::Embedded;

    QString directory; // Embedded: the data directory

    // Server: as libpq takes them. The host is a name or address, or a folder holding the
    // server's Unix socket; an empty one is libpq's default. A password is never stored by
    // Kalvero: libpq's ~/.pgpass or PGPASSWORD give it.
    QString host;
    int port = 5432;
    QString user;
    QString database;

    // The name of the database file in the data directory.
    static inline const QString kFileName = QStringLiteral("qrv.sqlite");

    // Data directory: $KALVERO_DATA_DIR when set; otherwise on Windows the common
    // application-data folder followed by "Morvek\QRV\", elsewhere
    // $XDG_DATA_HOME/Morvek/QRV/ (default ~/.local/share/Morvek/QRV/). Always ends with a
    // separator.
    static QString dataDirectory(const QProcessEnvironment& env);

    static StoreLocation embedded(const QString& directory);
    // The database file of an embedded store.
    QString filePath() const;

    // A connection text "postgresql://[user@][host][:port]/database[?host=SOCKETFOLDER&port=N]"
    // ("postgres://" too). Nothing, with a German reason, for any other text.
    static std::optional<StoreLocation> fromConnectionText(const QString& text,
                                                           QString* reason = nullptr);

    // The server as a message names it: "host:port", or the socket folder and port.
    QString serverName() const;

    // The store the program works on: the connection text of KALVERO_DATABASE when it is set,
    // else the one in the settings (group "Datenbank", key "Verbindung"), else the file in the
    // data directory. Nothing, with the reason, for a connection text that is no such.
    static std::optional<StoreLocation> choose(const QString& variable, const QString& setting,
                                               const QString& dataDirectory, QString* reason);
};
