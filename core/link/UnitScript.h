#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A script for the simulated timing unit, UTF-8 text:
//
//   devices: 1              # FTDI devices present; 0 = none (default 1)
//   description: QRV 2.0    # description of the simulated converter (default "QRV 2.0")
//   start-answer: 251       # answer to the start command 251, or "none" (default 251)
//   service-devices: 1      # service devices "VudurEve" present beside them, 0 or 1
//                           # (default 0)
//   service-answer: 1       # the service device's answer to every command with
//                           # parameters, a byte or "none" (default 1 = accepted)
//   500: 0 200 1 244        # 500 ms later these bytes arrive in the receive queue
//   800: 253 0 180
//
// "#" starts a comment, blank lines are ignored, settings come in any order before the
// first byte line, each at most once. A byte line "D: b1 b2 ..." makes its bytes (0..255)
// arrive D ms after the previous byte line's bytes; the first counts from the moment the
// start command is answered. The service devices come after the `devices` converters and
// add to the device count.
struct UnitScriptStep {
    quint32 delayMs = 0;
    QByteArray bytes;

    friend bool operator==(const UnitScriptStep&, const UnitScriptStep&) = default;
};

struct UnitScript {
    static constexpr quint32 kMaxDevices = 16;
    static constexpr quint32 kMaxDelayMs = 3600000;
    static constexpr quint32 kMaxServiceDevices = 1;

    quint32 devices = 1;
    QString description = QStringLiteral("QRV 2.0");
    std::optional<quint8> startAnswer = quint8{251};
    quint32 serviceDevices = 0;
    std::optional<quint8> serviceAnswer = quint8{1};
    QList<UnitScriptStep> steps;
};

// Parses a script. On a fault returns nothing and sets *error to
// "<fileName>:<line>: <what is wrong>".
std::optional<UnitScript> parseUnitScript(const QByteArray& text, const QString& fileName,
                                          QString* error);

// Reads and parses the script file at path; a file that cannot be read gives
// "<path>: <reason>".
std::optional<UnitScript> loadUnitScript(const QString& path, QString* error);
