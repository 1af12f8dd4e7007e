#pragma once

#include "core/store/ResultSet.h"

// The row statements of the three tables and the statements the result sets hold at start.
namespace tables {

RowStatements sportlerRows(); // UpdateSQL1
RowStatements unitsRows();    // UpdateSQL2
RowStatements mrRows();       // UpdateSQL3

inline const QStringList kQuery1Start{QStringLiteral("SELECT * FROM sportler;")};
inline const QStringList kQuery2Start{QStringLiteral("SELECT * FROM units")};
inline const QStringList kQuery3Start{QStringLiteral("SELECT * FROM mr")};

} // namespace tables
