// The kinds of recorded results.

#include "core/measure/TrialKind.h"

namespace trial {

Kind kindOf(bool contactMeasured, bool flightMeasured, bool closingContact) {
    if (closingContact)
        return Kind::ClosingContact;
    return contactMeasured && flightMeasured ? Kind::Jump : Kind::FailedTrial;
}

QString failedTrialReason() {
    return QStringLiteral("Fehlversuch");
}

bool isClosingContact(double flightMs) {
    return flightMs == 0;
}

} // namespace trial
