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
inline constexpr quint8 kAccepted = 1;

inline constexpr quint8 kMultiCommand = 'T';  // two parameters
inline constexpr quint8 kHurdleCommand = 'S'; // three parameters
inline constexpr quint8 kSingleCommand = 'U'; // two parameters
inline constexpr quint8 kResetCommand = 'X';  // none, and no answer

// The number of parameter bytes that follow a command letter; -1 for a byte that is no
// command.
inline constexpr int parameterCount(quint8 letter) {
    switch (letter) {
    case kMultiCommand:
    case kSingleCommand:
        return 2;
    case kHurdleCommand:
        return 3;
    case kResetCommand:
        return 0;
    default:
        return -1;
    }
}

} // namespace service
