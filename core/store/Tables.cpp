#include "core/store/Tables.h"

namespace tables {

RowStatements sportlerRows() {
    return {
        {"insert into sportler", "  (ID, Name, Vorname, Geb, Geschl, Bemerkung1, Bemerkun2)",
         "values", "  (:ID, :Name, :Vorname, :Geb, :Geschl, :Bemerkung1, :Bemerkun2)"},
        {"update sportler", "set", "  ID = :ID,", "  Name = :Name,", "  Vorname = :Vorname,",
         "  Geb = :Geb,", "  Geschl = :Geschl,", "  Bemerkung1 = :Bemerkung1,",
         "  Bemerkun2 = :Bemerkun2", "where", "  ID = :OLD_ID"},
        {"delete from sportler", "where", "  ID = :OLD_ID"},
    };
}

RowStatements unitsRows() {
    return {
        {"insert into units", "  (ID, Ref_ID, Datum, Nummer, SZ, FZ, Eff, Bem)", "values",
         "  (:ID, :Ref_ID, :Datum, :Nummer, :SZ, :FZ, :Eff, :Bem)"},
        {"update units", "set", "  ID = :ID,", "  Ref_ID = :Ref_ID,", "  Datum = :Datum,",
         "  Nummer = :Nummer,", "  SZ = :SZ,", "  FZ = :FZ,", "  Eff = :Eff,", "  Bem = :Bem",
         "where", "  ID = :OLD_ID"},
        {"delete from units", "where", "  ID = :OLD_ID"},
    };
}

RowStatements mrRows() {
    return {
        {"insert into mr", "  (Serie, SZ, FZ, Eff, Anzahl)", "values",
         "  (:Serie, :SZ, :FZ, :Eff, :Anzahl)"},
        {"update mr", "set", "  Serie = :Serie,", "  SZ = :SZ,", "  FZ = :FZ,", "  Eff = :Eff,",
         "  Anzahl = :Anzahl", "where", "  Serie = :OLD_Serie and", "  SZ = :OLD_SZ and",
         "  FZ = :OLD_FZ and", "  Eff = :OLD_Eff and", "  Anzahl = :OLD_Anzahl"},
        {"delete from mr", "where", "  Serie = :OLD_Serie and", "  SZ = :OLD_SZ and",
         "  FZ = :OLD_FZ and", "  Eff = :OLD_Eff and", "  Anzahl = :OLD_Anzahl"},
    };
}

} // namespace tables
