#pragma once

#include <QString>

// Commands of the service device "VudurEve". A command is an ASCII letter followed by its
// parameter bytes, all in one write; every parameter is a time in units of 10 ms, one byte.
// The device answers each command with parameters by one byte (1 = accepted); the reset
// has no answer.
namespace service {

inline const QString kDescription = QStringLiteral("VudurEve");
inline constexpr quint32 kBaudRate = 115200;
inline constexpr quint32 kDriverTimeoutMs = 500;
// The answer to a command with parameters is awaited this long.
inline constexpr quint32 kAnswerLimitMs = 1000;
inline constexpr quint8 Accepted = 1;

inline constexpr quint8 MultiCommand = 'T';  // two parameters
inline constexpr quint8 HurdleCommand = 'S'; // three parameters
inline constexpr quint8 SingleCommand = 'U'; // two parameters
inline constexpr quint8 ResetCommand = 'X';  // none, and no answer

// The number of parameter bytes that follow a command letter; -1 for a byte that is no
// command.
inline constexpr int parameterCount(quint8 letter) {
    switch (letter) {
    case MultiCommand:
    case SingleCommand:
        return 2;
    case HurdleCommand:
        return 3;
    case ResetCommand:
        return 0;
    default:
        return -1;
    }
}

} // namespace service
