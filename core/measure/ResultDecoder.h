#pragma once

#include "core/link/ByteSource.h"

#include <QtGlobal>

#include <optional>

// Decoding of the timing unit's results. A result is read in two parts, so that the contact
// time can be judged before the flight time is awaited:
//
//   contact part:  hi lo            contact time hi × 256 + lo
//                  254              contact time not measured (-1)
//                  253 <contact>    end marker: the closing contact of a series, no flight part
//                  250 251 252 255  the unit ended the run (first byte only)
//   flight part:   hi lo            flight time hi × 256 + lo
//                  253              flight time not measured (-1)
//
// After the end marker, 253 is an ordinary high byte; in the flight part 254, 255 and 250 to
// 252 are ordinary high bytes.
namespace decoding {

struct ContactPart {
    bool unitEnded = false;   // the first byte ended the run; nothing else is set
    bool endMarker = false;   // the closing contact of a series
    bool notMeasured = false; // 254 instead of a contact time
    qint32 contactMs = 0;     // -1 when not measured
};

// Whether a first byte ends the run.
bool isUnitEndByte(quint8 byte);

// The contact part of a result whose first byte is `first`; further bytes come from the
// source. Nothing when a byte it needs is not there (yet).
std::optional<ContactPart> readContactPart(quint8 first, ByteSource& source);
// The flight time of a result whose contact part was read: -1 when not measured. Nothing when
// a byte it needs is not there (yet).
std::optional<qint32> readFlightTime(ByteSource& source);

} // namespace decoding
