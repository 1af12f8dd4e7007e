// The station: the device link, the timing link, the store, the limits and the session, built
// together.

#include "core/station/Station.h"

Station::Station(D2xxDriver& driver, Clock& clock)
    : deviceLink_(driver), timingLink_(deviceLink_, clock), session_(timingLink_, store_, limits_) {
}

void Station::keepJournalIn(const QString& dataDirectory) {
    session_.setJournal(nullptr);
    replay_.reset();
    journal_ = std::make_unique<Journal>(dataDirectory);
    replay_ = std::make_unique<JournalReplay>(store_, *journal_);
    session_.setJournal(journal_.get());
    journal_->finishAll();
}
