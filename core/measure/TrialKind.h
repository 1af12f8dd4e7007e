// What a result that a run records is: a jump, a failed trial or the closing contact of a series.

#pragma once

#include <QString>

namespace trial {

enum class Kind {
    Jump,           // contact and flight time measured
    FailedTrial,    // the unit did not measure its contact or its flight time
    ClosingContact, // the contact after the unit's end marker: no jump, no flight time
};

// The kind of a recorded result from what the unit measured of it.
Kind kindOf(bool contactMeasured, bool flightMeasured, bool closingContact);

// The reason a failed trial is excluded with, as it is stored.
QString failedTrialReason();

// Whether a stored jump row is the closing contact of its series: the only row stored
// without a flight time.
bool isClosingContact(double flightMs);

} // namespace trial
