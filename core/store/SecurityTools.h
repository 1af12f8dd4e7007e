#pragma once

class ResultSet;

// Tries whether the measurement table can be written, on the measurement result set:
// afterwards it holds all measurement rows (or is closed when opening them failed).
bool ProbeWriteAccess(ResultSet& query2);
