#pragma once

#include <QString>

// Bytes of the timing unit's protocol. One byte at a time, no framing: a byte's meaning
// follows from its position.
namespace timingunit {

inline const QString kDescription = QStringLiteral("QRV 2.0");
inline constexpr quint32 kBaudRate = 19200;
inline constexpr quint32 kDriverTimeoutMs = 500;

inline constexpr quint8 kStopCommand = 250;
inline constexpr quint8 kStartCommand = 251;
inline constexpr quint8 kEndMarker = 253;
inline constexpr quint8 kNotMeasured = 254;
// A time the unit reports as not measured (254 for a contact time, 253 for a flight time).
inline constexpr qint32 kTimeNotMeasured = -1;
// In the flight-time field the single byte 253 stands for a flight time not measured.
inline constexpr quint8 kFlightNotMeasured = 253;

// The unit's answer to the start command is awaited this long.
inline constexpr quint32 kStartAnswerLimitMs = 350;
// Every further byte of a result, and the answer to a user stop, is awaited this long.
inline constexpr quint32 kByteLimitMs = 2000;

// The byte sent right after the answer to the start command: bit 0 = trigger edge 1,
// bit 1 = trigger edge 2, the other bits 0.
inline quint8 configurationByte(bool triggerEdge1, bool triggerEdge2) {
    return static_cast<quint8>((triggerEdge1 ? 1 : 0) | (triggerEdge2 ? 2 : 0));
}

} // namespace timingunit
