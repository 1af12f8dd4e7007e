<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>AnalysisWindow</name>
    <message>
        <source>Auswertung</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>&amp;Vergleichen mit:</source>
        <translation>Compare &amp;with:</translation>
    </message>
    <message>
        <source>&amp;Verlauf:</source>
        <translation>&amp;Progress:</translation>
    </message>
    <message>
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Als &amp;Bild speichern …</source>
        <translation>Save as &amp;image …</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Kein Sportler gewählt</source>
        <translation>No athlete selected</translation>
    </message>
    <message>
        <source>Kennwert</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Bild speichern</source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>PNG-Bild|*.png</source>
        <translation>PNG image|*.png</translation>
    </message>
    <message>
        <source>Serie</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Einzelmessung</source>
        <translation>Single measurement</translation>
    </message>
    <message>
        <source>%1 vom %2, %3</source>
        <translation>%1 of %2, %3</translation>
    </message>
    <message>
        <source>Nr. %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>%1, %2: neueste Messung desselben Tests</source>
        <translation>%1, %2: latest measurement of the same test</translation>
    </message>
    <message>
        <source>keine Messung desselben Tests</source>
        <translation>no measurement of the same test</translation>
    </message>
    <message>
        <source>Messung des anderen Sportlers</source>
        <translation>Measurement of the other athlete</translation>
    </message>
    <message>
        <source>neueste desselben Tests</source>
        <translation>latest of the same test</translation>
    </message>
    <message>
        <source>noch nicht auf dem Server</source>
        <translation>not yet on the server</translation>
    </message>
</context>
<context>
    <name>AssignmentsDialog</name>
    <message>
        <source>Offene Zuordnungen</source>
        <translation>Open assignments</translation>
    </message>
    <message>
        <source>Für diese Messungen ist nicht klar, zu welchem Sportler der Datenbank sie gehören: Es gibt mehrere mit diesem Namen und Geburtsdatum, oder der gewählte wurde inzwischen gelöscht. Die Wahl gilt für alle Messungen des Sportlers in der Liste.</source>
        <translation>For these measurements it is not clear which athlete of the database they belong to: there are several with this name and date of birth, or the chosen one has been deleted meanwhile. The choice applies to all measurements of the athlete in the list.</translation>
    </message>
    <message>
        <source>Wartende Messungen</source>
        <translation>Waiting measurements</translation>
    </message>
    <message>
        <source>Sportler</source>
        <translation>Athlete</translation>
    </message>
    <message>
        <source>Geburtsdatum</source>
        <translation>Date of birth</translation>
    </message>
    <message>
        <source>Zeitpunkt</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Sprünge</source>
        <translation>Jumps</translation>
    </message>
    <message>
        <source>Keine Messung wartet auf eine Zuordnung.</source>
        <translation>No measurement is waiting for an assignment.</translation>
    </message>
    <message>
        <source>Zuordnen &amp;zu:</source>
        <translation>Assign &amp;to:</translation>
    </message>
    <message>
        <source>&amp;Zuordnen</source>
        <translation>&amp;Assign</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>%1 (Nr. %2 in der Datenbank)</source>
        <translation>%1 (no. %2 in the database)</translation>
    </message>
    <message>
        <source>Neuer Sportler „%1“</source>
        <translation>New athlete “%1”</translation>
    </message>
</context>
<context>
    <name>AthleteBoard</name>
    <message>
        <source>cm</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>RSI</source>
        <translation>RSI</translation>
    </message>
</context>
<context>
    <name>AthleteChooserDialog</name>
    <message>
        <source>Messung einem anderen Sportler zuordnen</source>
        <translation>Assign measurement to another athlete</translation>
    </message>
    <message>
        <source>Messung %1</source>
        <translation>Measurement %1</translation>
    </message>
    <message>
        <source>&amp;Suchen:</source>
        <translation>&amp;Search:</translation>
    </message>
    <message>
        <source>Zuordnen</source>
        <translation>Assign</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Sport&amp;ler:</source>
        <translation>Ath&amp;lete:</translation>
    </message>
</context>
<context>
    <name>AthleteController</name>
    <message>
        <source>Soll der aktuelle Datensatz gelöscht werden?</source>
        <translation>Delete the current record?</translation>
    </message>
    <message>
        <source>&amp;Ja</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>AthleteDisplay</name>
    <message>
        <source>Anzeige für Sportler</source>
        <translation>Display for the athlete</translation>
    </message>
    <message>
        <source>Sportler</source>
        <translation>Athlete</translation>
    </message>
    <message>
        <source>Letzter Sprung</source>
        <translation>Last jump</translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Bester Wert der Serie</source>
        <translation>Best of the series</translation>
    </message>
    <message>
        <source>Verbleibende Zeit</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>Balken der Sprünge</source>
        <translation>Bars of the jumps</translation>
    </message>
    <message>
        <source>Höhe</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>RSI</source>
        <translation>RSI</translation>
    </message>
    <message>
        <source>&amp;Anzeige:</source>
        <translation>&amp;Show:</translation>
    </message>
    <message>
        <source>&amp;Ton bei jedem Sprung</source>
        <translation>&amp;Sound at each jump</translation>
    </message>
    <message>
        <source>Dieser Rechner hat keine Tonausgabe.</source>
        <translation>This computer has no sound output.</translation>
    </message>
    <message>
        <source>Bester: %1 %2</source>
        <translation>Best: %1 %2</translation>
    </message>
</context>
<context>
    <name>AthleteEditorDialog</name>
    <message>
        <source>Sportler -</source>
        <translation>Athlete -</translation>
    </message>
    <message>
        <source>männl.</source>
        <translation>male</translation>
    </message>
    <message>
        <source>weibl.</source>
        <translation>female</translation>
    </message>
    <message>
        <source>Gruppen</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbruch</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Geschlecht:</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Surname:</translation>
    </message>
    <message>
        <source>Vorname:</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>Geb. am:</source>
        <translation>Date of birth:</translation>
    </message>
    <message>
        <source>Bemerkungen:</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>Gruppen:</source>
        <translation>Groups:</translation>
    </message>
    <message>
        <source>Sportler - Neu</source>
        <translation>Athlete - New</translation>
    </message>
    <message>
        <source>Sportler - ändern</source>
        <translation>Athlete - Edit</translation>
    </message>
    <message>
        <source>Bitte füllen Sie alle mit * gekennzeichneten Felder aus!</source>
        <translation>Please fill in all fields marked with *!</translation>
    </message>
    <message>
        <source>Name, Vorname und Bemerkung dürfen kein Semikolon, keinen Tabulator und keinen Zeilenumbruch enthalten.</source>
        <translation>Surname, first name and remark must not contain a semicolon, a tab or a line break.</translation>
    </message>
    <message>
        <source>„%1“ ist kein gültiges Geburtsdatum. Bitte geben Sie das Datum in der Form %2 ein oder lassen Sie das Feld leer.</source>
        <translation>“%1” is not a valid date of birth. Please enter the date in the form %2 or leave the field empty.</translation>
    </message>
    <message>
        <source>Name, Vorname und Bemerkung dürfen nicht mit =, + oder @ beginnen.</source>
        <translation>Surname, first name and remark must not begin with =, + or @.</translation>
    </message>
</context>
<context>
    <name>AthletePanel</name>
    <message>
        <source>Sportler</source>
        <translation>Athletes</translation>
    </message>
    <message>
        <source>&amp;Gruppe:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>Alle Sportler</source>
        <translation>All athletes</translation>
    </message>
</context>
<context>
    <name>AthleteSearchDialog</name>
    <message>
        <source>Suchen nach</source>
        <translation>Search for</translation>
    </message>
    <message>
        <source>Vorname:</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>oder</source>
        <translation>or</translation>
    </message>
    <message>
        <source>Nachname:</source>
        <translation>Surname:</translation>
    </message>
    <message>
        <source>Suchen</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>AthleteTableModel</name>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Vorname</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Geb. am</source>
        <translation>Date of birth</translation>
    </message>
    <message>
        <source>Bemerkung</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>Testtag</source>
        <translation>Test day</translation>
    </message>
</context>
<context>
    <name>Backup</name>
    <message>
        <source>Die Datei &quot;%1&quot; gibt es nicht.</source>
        <translation>The file &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>kein Ergebnis</source>
        <translation>no result</translation>
    </message>
    <message>
        <source>Die Datenbankdatei &quot;%1&quot; gibt es nicht.</source>
        <translation>The database file &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>Das Verzeichnis &quot;%1&quot; gibt es nicht.</source>
        <translation>The directory &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>die Kopie besteht die Prüfung nicht: %1</source>
        <translation>the copy fails the check: %1</translation>
    </message>
    <message>
        <source>Die Datenbank &quot;%1&quot; kann nicht nach &quot;%2&quot; gesichert werden.</source>
        <translation>The database &quot;%1&quot; cannot be backed up to &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Der Ordner der Sicherungen &quot;%1&quot; kann nicht angelegt werden.</source>
        <translation>The backup folder &quot;%1&quot; cannot be created.</translation>
    </message>
    <message>
        <source>Die Sicherung &quot;%1&quot; ist keine intakte Datenbank; nichts wurde geändert.</source>
        <translation>The backup &quot;%1&quot; is not an intact database; nothing was changed.</translation>
    </message>
    <message>
        <source>Die Sicherung &quot;%1&quot; ist keine Datenbank von Kalvero; nichts wurde geändert.</source>
        <translation>The backup &quot;%1&quot; is not a Kalvero database; nothing was changed.</translation>
    </message>
    <message>
        <source>Die Datenbank &quot;%1&quot; ist geöffnet; Kalvero muss zuerst beendet werden. Nichts wurde geändert.</source>
        <translation>The database &quot;%1&quot; is open; quit Kalvero first. Nothing was changed.</translation>
    </message>
    <message>
        <source>Die Datenbankdatei &quot;%1&quot; kann nicht umbenannt werden; nichts wurde geändert.</source>
        <translation>The database file &quot;%1&quot; cannot be renamed; nothing was changed.</translation>
    </message>
    <message>
        <source>Die Sicherung kann nicht nach &quot;%1&quot; gelegt werden; nichts wurde geändert.</source>
        <translation>The backup cannot be put in place at &quot;%1&quot;; nothing was changed.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ist keine Sicherung von Kalvero und wird nicht überschrieben.</source>
        <translation>&quot;%1&quot; is not a backup of Kalvero and is not overwritten.</translation>
    </message>
    <message>
        <source>Die Kopie kann nicht geschrieben werden.</source>
        <translation>The copy cannot be written.</translation>
    </message>
</context>
<context>
    <name>BuildInfo</name>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>unbekannt</source>
        <translation>unknown</translation>
    </message>
</context>
<context>
    <name>ChangeTexts</name>
    <message>
        <source>kein Test</source>
        <translation>no test</translation>
    </message>
    <message>
        <source>1 Sprung</source>
        <translation>1 jump</translation>
    </message>
    <message>
        <source>%1 Sprünge</source>
        <translation>%1 jumps</translation>
    </message>
    <message>
        <source>Nr. %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>Nr. %1 vom %2 %3</source>
        <translation>No. %1 of %2 %3</translation>
    </message>
    <message>
        <source>Messung %1, %2, %3</source>
        <translation>Measurement %1, %2, %3</translation>
    </message>
    <message>
        <source>„%1“ wird mit allen Messungen gelöscht: %2, %3.</source>
        <translation>“%1” is deleted with all measurements: %2, %3.</translation>
    </message>
    <message>
        <source>1 Messung</source>
        <translation>1 measurement</translation>
    </message>
    <message>
        <source>%1 Messungen</source>
        <translation>%1 measurements</translation>
    </message>
    <message>
        <source>Von %1 (Nr. %2) zu %3 (Nr. %4) verschoben</source>
        <translation>Moved from %1 (no. %2) to %3 (no. %4)</translation>
    </message>
    <message>
        <source>Test geändert: %1 → %2</source>
        <translation>Test changed: %1 → %2</translation>
    </message>
    <message>
        <source>Sprung %1 ausgeschlossen: %2</source>
        <translation>Jump %1 excluded: %2</translation>
    </message>
    <message>
        <source>Grund des Ausschlusses von Sprung %1 geändert: %2 → %3</source>
        <translation>Reason for excluding jump %1 changed: %2 → %3</translation>
    </message>
    <message>
        <source>Ausschluss von Sprung %1 zurückgenommen (war: %2)</source>
        <translation>Exclusion of jump %1 taken back (was: %2)</translation>
    </message>
    <message>
        <source>Gelöscht (%1), am %2 wiederhergestellt</source>
        <translation>Deleted (%1), restored on %2</translation>
    </message>
    <message>
        <source>Gelöscht (%1)</source>
        <translation>Deleted (%1)</translation>
    </message>
    <message>
        <source>Wiederhergestellt (gelöscht als Nr. %1)</source>
        <translation>Restored (deleted as no. %1)</translation>
    </message>
</context>
<context>
    <name>ChangesDialog</name>
    <message>
        <source>Änderungen – %1</source>
        <translation>Changes – %1</translation>
    </message>
    <message>
        <source>Änderungen</source>
        <translation>Changes</translation>
    </message>
    <message>
        <source>Zeitpunkt</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Messung</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Änderung</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Keine Änderungen gespeichert.</source>
        <translation>No changes stored.</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Messung &amp;wiederherstellen</source>
        <translation>&amp;Restore measurement</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>listet die USB-Seriell-Wandler und zeigt, welche Kalvero benutzt</source>
        <translation>lists the USB serial converters and shows which ones Kalvero uses</translation>
    </message>
    <message>
        <source>übernimmt die Paradox-Tabellen eines alten Datenordners</source>
        <translation>imports the Paradox tables of an old data folder</translation>
    </message>
    <message>
        <source>kopiert die eigene Datenbankdatei in eine gemeinsame PostgreSQL-Datenbank</source>
        <translation>copies the station&apos;s own database file into a shared PostgreSQL database</translation>
    </message>
    <message>
        <source>sichert die Datenbankdatei des Datenverzeichnisses in DATEI (mit SQLites Online-Backup, auch während Kalvero läuft)</source>
        <translation>backs up the database file of the data directory to FILE (with SQLite&apos;s online backup, also while Kalvero is running)</translation>
    </message>
    <message>
        <source>setzt die Sicherung DATEI an die Stelle der Datenbankdatei, nur während Kalvero nicht läuft; die bisherige Datei bleibt umbenannt daneben</source>
        <translation>puts the backup FILE in place of the database file, only while Kalvero is not running; the previous file stays beside it, renamed</translation>
    </message>
    <message>
        <source>zeigt die Version</source>
        <translation>shows the version</translation>
    </message>
    <message>
        <source>zeigt diese Hilfe</source>
        <translation>shows this help</translation>
    </message>
    <message>
        <source>Kalvero sichert keinen Datenbankserver (%1); das macht pg_dump auf dem Server.</source>
        <translation>Kalvero does not back up a database server (%1); pg_dump on the server does.</translation>
    </message>
    <message>
        <source>%1 gesichert nach %2</source>
        <translation>%1 backed up to %2</translation>
    </message>
    <message>
        <source>%1 wiederhergestellt aus %2</source>
        <translation>%1 restored from %2</translation>
    </message>
    <message>
        <source>; die bisherige Datei liegt als %1 daneben</source>
        <translation>; the previous file lies beside it as %1</translation>
    </message>
    <message>
        <source>unbekannte Option &quot;%1&quot;</source>
        <translation>unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; und eine weitere Option gehen nicht zusammen</source>
        <translation>&quot;%1&quot; cannot be combined with another option</translation>
    </message>
    <message>
        <source>&quot;%1&quot; braucht %2</source>
        <translation>&quot;%1&quot; needs %2</translation>
    </message>
    <message>
        <source>Aufruf: kalvero [debug] [OPTION [WERT]]
Drop-Jump- und Reaktivsprung-Tests mit der Zeitmessung &quot;QRV 2.0&quot;.
Ohne Option öffnet Kalvero sein Fenster; &quot;debug&quot; fügt das Menü &quot;Debug&quot; mit dem
Service-Fenster hinzu. Optionen von Qt (etwa -platform) gehen an Qt.

Optionen:
</source>
        <translation>Usage: kalvero [debug] [OPTION [VALUE]]
Drop-jump and reactive-jump tests with the timing unit &quot;QRV 2.0&quot;.
Without an option Kalvero opens its window; &quot;debug&quot; adds the menu &quot;Debug&quot; with
the service window. Qt&apos;s options (such as -platform) go to Qt.

Options:
</translation>
    </message>
    <message>
        <source>
Umgebung:
  KALVERO_TIMING_UNIT     Zeitmessung: simulator, simulator:SKRIPT oder
                          serial:GERÄTEDATEI (ohne Wert: der FTDI-Wandler mit
                          dem Produkttext &quot;QRV 2.0&quot;)
  KALVERO_SERVICE_DEVICE  Service-Gerät: serial:GERÄTEDATEI (ohne Wert: der
                          FTDI-Wandler mit dem Produkttext &quot;VudurEve&quot;)
  KALVERO_BYTE_LOG=1      schreibt jedes Byte der Verbindung auf die
                          Standardfehlerausgabe
  KALVERO_DATA_DIR        Ordner der Datenbankdatei
  KALVERO_DATABASE        eine PostgreSQL-Datenbank statt der Datei, etwa
                          postgresql://trainer@server.local:5432/kalvero
Dieselbe Wahl der Geräte steht in ~/.config/Morvek/QRV.conf, Gruppe [Gerät],
Schlüssel Zeitmessung und Service, die der Datenbank in der Gruppe [Datenbank],
Schlüssel Verbindung; die Umgebung geht vor. Das Passwort des Datenbankservers
kommt aus ~/.pgpass oder PGPASSWORD.
</source>
        <translation>
Environment:
  KALVERO_TIMING_UNIT     timing unit: simulator, simulator:SCRIPT or
                          serial:DEVICEFILE (without a value: the FTDI converter
                          with the product string &quot;QRV 2.0&quot;)
  KALVERO_SERVICE_DEVICE  service device: serial:DEVICEFILE (without a value:
                          the FTDI converter with the product string &quot;VudurEve&quot;)
  KALVERO_BYTE_LOG=1      writes every byte of the link to standard error
  KALVERO_DATA_DIR        folder of the database file
  KALVERO_DATABASE        a PostgreSQL database instead of the file, such as
                          postgresql://trainer@server.local:5432/kalvero
The same choice of devices can stand in ~/.config/Morvek/QRV.conf, group
[Gerät], keys Zeitmessung and Service, that of the database in the group
[Datenbank], key Verbindung; the environment comes first. The database server&apos;s
password comes from ~/.pgpass or PGPASSWORD.
</translation>
    </message>
    <message>
        <source>&quot;kalvero --help&quot; zeigt die Optionen.</source>
        <translation>&quot;kalvero --help&quot; shows the options.</translation>
    </message>
    <message>
        <source>schreibt die Sprünge aller Sportler (mit --group die einer Gruppe) als Tabelle für Auswertungsprogramme in DATEI: CSV in UTF-8, dazu eine Beschreibung gleichen Namens mit der Endung .json</source>
        <translation>writes the jumps of all athletes (with --group those of one group) to FILE as a table for analysis tools: CSV in UTF-8, with a description of the same name ending in .json</translation>
    </message>
    <message>
        <source>schreibt dieselben Sprünge und die Messungen mit ihren Statistiken als Excel-Arbeitsmappe in DATEI</source>
        <translation>writes the same jumps and the measurements with their statistics to FILE as an Excel workbook</translation>
    </message>
    <message>
        <source>nur mit --export-csv oder --export-xlsx: nur die Sportler der Gruppe NAME</source>
        <translation>only with --export-csv or --export-xlsx: only the athletes of the group NAME</translation>
    </message>
    <message>
        <source>%1 Sprünge von %2 Sportlern geschrieben nach %3</source>
        <translation>%1 jumps of %2 athletes written to %3</translation>
    </message>
    <message>
        <source>, beschrieben in %1</source>
        <translation>, described in %1</translation>
    </message>
    <message>
        <source>ORDNER</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>VERBINDUNG</source>
        <translation>CONNECTION</translation>
    </message>
    <message>
        <source>DATEI</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
</context>
<context>
    <name>DataStore</name>
    <message>
        <source>Die Datenbank ist nicht geöffnet</source>
        <translation>The database is not open</translation>
    </message>
    <message>
        <source>„%1“ auf %2</source>
        <translation>“%1” on %2</translation>
    </message>
    <message>
        <source>„%1“</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Die Datenbank %1 wird nur gelesen, weil diese Station auf dem Server nicht schreiben darf. Listen, Auswertung, Berichte und Exporte stehen zur Verfügung, Messungen und Änderungen nicht.</source>
        <translation>The database %1 is only read because this station may not write on the server. Lists, analysis, reports and exports are available, measurements and changes are not.</translation>
    </message>
    <message>
        <source>Die Datenbank %1 wird nur gelesen, weil ihr Datenträger oder Verzeichnis schreibgeschützt ist. Listen, Auswertung, Berichte und Exporte stehen zur Verfügung, Messungen und Änderungen nicht.</source>
        <translation>The database %1 is only read because its medium or directory is write-protected. Lists, analysis, reports and exports are available, measurements and changes are not.</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>An der Stelle der Datenbankdatei &quot;%1&quot; steht ein Verzeichnis. Es muss umbenannt oder entfernt werden.</source>
        <translation>A directory stands in place of the database file &quot;%1&quot;. It must be renamed or removed.</translation>
    </message>
    <message>
        <source>Das Datenverzeichnis &quot;%1&quot; kann nicht angelegt werden</source>
        <translation>The data directory &quot;%1&quot; cannot be created</translation>
    </message>
    <message>
        <source>Die Datenbankdatei &quot;%1&quot; darf nicht gelesen werden: Es fehlt die Leseberechtigung.</source>
        <translation>The database file &quot;%1&quot; may not be read: read permission is missing.</translation>
    </message>
    <message>
        <source>Im Datenverzeichnis &quot;%1&quot; kann die Datenbank nicht angelegt werden: Es fehlt die Schreibberechtigung.</source>
        <translation>The database cannot be created in the data directory &quot;%1&quot;: write permission is missing.</translation>
    </message>
    <message>
        <source>Der Treiber für PostgreSQL-Datenbanken fehlt.</source>
        <translation>The driver for PostgreSQL databases is missing.</translation>
    </message>
    <message>
        <source>Der Datenbankserver %1 ist nicht erreichbar.</source>
        <translation>The database server %1 cannot be reached.</translation>
    </message>
    <message>
        <source>Unbekannter Datenbankfehler</source>
        <translation>Unknown database error</translation>
    </message>
    <message>
        <source>Die Datenbank ist gesperrt, weil ein anderes Programm gerade in sie schreibt.</source>
        <translation>The database is locked because another program is writing to it.</translation>
    </message>
    <message>
        <source>Die Datenbank ist schreibgeschützt.</source>
        <translation>The database is read-only.</translation>
    </message>
    <message>
        <source>Die Datenbank ist beschädigt.</source>
        <translation>The database is damaged.</translation>
    </message>
    <message>
        <source>Der Datenträger ist voll: Im Datenverzeichnis &quot;%1&quot; ist kein Platz mehr frei.</source>
        <translation>The disk is full: there is no space left in the data directory &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Der Datenträger ist voll.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>Die Datenbankdatei &quot;%1&quot; kann nicht geöffnet werden.</source>
        <translation>The database file &quot;%1&quot; cannot be opened.</translation>
    </message>
    <message>
        <source>Die Verbindung zum Datenbankserver %1 ist unterbrochen.</source>
        <translation>The connection to the database server %1 is broken.</translation>
    </message>
    <message>
        <source>Die Datenbank &quot;%1&quot; ist beschädigt und wird nur noch gelesen: Messungen und Änderungen sind nicht möglich. Beim nächsten Start bietet Kalvero an, die neueste Sicherung aus &quot;%2&quot; wiederherzustellen; &quot;kalvero --restore DATEI&quot; stellt eine bestimmte wieder her. Die beschädigte Datei bleibt erhalten.</source>
        <translation>The database &quot;%1&quot; is damaged and is only read: measurements and changes are not possible. At the next start Kalvero offers to restore the newest backup from &quot;%2&quot;; &quot;kalvero --restore FILE&quot; restores a particular one. The damaged file is kept.</translation>
    </message>
    <message>
        <source>Die Datenbank kennt noch keine Protokolle; das Profil kann nicht gespeichert werden.</source>
        <translation>The database does not know protocols yet; the profile cannot be stored.</translation>
    </message>
    <message>
        <source>Die Datenbank kennt noch keine Protokolle; das Protokoll der Messung kann nicht gespeichert werden.</source>
        <translation>The database does not know protocols yet; the measurement&apos;s protocol cannot be stored.</translation>
    </message>
    <message>
        <source>Auf dem Datenbankserver %1 darf diese Station nur lesen.</source>
        <translation>This station may only read on the database server %1.</translation>
    </message>
</context>
<context>
    <name>DeviceFileProblem</name>
    <message>
        <source>Kein Zugriff auf %1. Zugriff geben die udev-Regel des Kalvero-Pakets (danach den Wandler neu einstecken) oder die Gruppe „plugdev“.</source>
        <translation>No access to %1. Access is given by the udev rule of the Kalvero package (then plug the converter in again) or by the group “plugdev”.</translation>
    </message>
    <message>
        <source>%1 wird von einem anderen Programm benutzt.</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <source>%1 ist nicht vorhanden (Wandler ausgesteckt?).</source>
        <translation>%1 is not present (converter unplugged?).</translation>
    </message>
    <message>
        <source>%1 ist keine serielle Schnittstelle.</source>
        <translation>%1 is not a serial port.</translation>
    </message>
    <message>
        <source>%1 lässt sich nicht öffnen.</source>
        <translation>%1 cannot be opened.</translation>
    </message>
    <message>
        <source>%1 lässt sich nicht öffnen: %2.</source>
        <translation>%1 cannot be opened: %2.</translation>
    </message>
    <message>
        <source>Kommunikationsfehler! Kein Gerät erkannt.</source>
        <translation>Communication error! No device detected.</translation>
    </message>
</context>
<context>
    <name>DeviceLink</name>
    <message>
        <source> - USB Adapter nicht gefunden</source>
        <translation> - USB adapter not found</translation>
    </message>
    <message>
        <source> - kein Kabel angeschlossen....</source>
        <translation> - no cable connected....</translation>
    </message>
    <message>
        <source> - Schnittstelle nicht geöffnet...</source>
        <translation> - port not open...</translation>
    </message>
    <message>
        <source> - General IO Error...</source>
        <translation> - General IO Error...</translation>
    </message>
    <message>
        <source> - Insufficient Resources...</source>
        <translation> - Insufficient Resources...</translation>
    </message>
    <message>
        <source> - Invalid Parameter ...</source>
        <translation> - Invalid Parameter ...</translation>
    </message>
    <message>
        <source> - Fehler %1</source>
        <translation> - Error %1</translation>
    </message>
</context>
<context>
    <name>DeviceListing</name>
    <message>
        <source>%1: Simulator (%2)</source>
        <translation>%1: simulator (%2)</translation>
    </message>
    <message>
        <source>%1: Simulator mit dem Skript %2 (%3)</source>
        <translation>%1: simulator with the script %2 (%3)</translation>
    </message>
    <message>
        <source>%1: kein FTDI-Wandler mit dem Produkttext &quot;%2&quot;</source>
        <translation>%1: no FTDI converter with the product string &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1: %2 (erster FTDI-Wandler mit dem Produkttext &quot;%3&quot;)</source>
        <translation>%1: %2 (first FTDI converter with the product string &quot;%3&quot;)</translation>
    </message>
    <message>
        <source>Zeitmessung</source>
        <translation>Timing unit</translation>
    </message>
    <message>
        <source>Kein USB-Seriell-Wandler gefunden.
</source>
        <translation>No USB serial converter found.
</translation>
    </message>
    <message>
        <source>ohne Seriennummer</source>
        <translation>no serial number</translation>
    </message>
    <message>
        <source>Seriennummer %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <source>  &lt;- Zeitmessung</source>
        <translation>  &lt;- timing unit</translation>
    </message>
    <message>
        <source>  &lt;- Service</source>
        <translation>  &lt;- service</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Unbekannter Fehler</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>ExclusionDialog</name>
    <message>
        <source>Sprung ausschließen</source>
        <translation>Exclude jump</translation>
    </message>
    <message>
        <source>Doppelkontakt</source>
        <translation>Double contact</translation>
    </message>
    <message>
        <source>Fehlversuch</source>
        <translation>Failed attempt</translation>
    </message>
    <message>
        <source>Messfehler</source>
        <translation>Measurement error</translation>
    </message>
    <message>
        <source>&amp;Grund:</source>
        <translation>&amp;Reason:</translation>
    </message>
    <message>
        <source>Ausschließen</source>
        <translation>Exclude</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Sprung %1 ausschließen</source>
        <translation>Exclude jump %1</translation>
    </message>
</context>
<context>
    <name>FileOutput</name>
    <message>
        <source>Datei &quot;%1&quot; kann nicht erstellt werden. %2</source>
        <translation>File &quot;%1&quot; cannot be created. %2</translation>
    </message>
    <message>
        <source>Auf dem Datenträger ist kein Platz mehr frei.</source>
        <translation>There is no space left on the disk.</translation>
    </message>
    <message>
        <source>Kalvero hat keine Berechtigung, dort zu schreiben.</source>
        <translation>Kalvero has no permission to write there.</translation>
    </message>
    <message>
        <source>Der Datenträger ist schreibgeschützt.</source>
        <translation>The disk is write-protected.</translation>
    </message>
    <message>
        <source>Den Ordner gibt es nicht (mehr); vielleicht wurde der Datenträger entfernt.</source>
        <translation>The folder does not exist (any more); the disk may have been removed.</translation>
    </message>
    <message>
        <source>Der Datenträger antwortet nicht; vielleicht wurde er entfernt.</source>
        <translation>The disk does not respond; it may have been removed.</translation>
    </message>
    <message>
        <source>Die Datei wird zu groß für den Datenträger.</source>
        <translation>The file grows too large for the disk.</translation>
    </message>
    <message>
        <source>Unter diesem Namen gibt es einen Ordner.</source>
        <translation>There is a folder of this name.</translation>
    </message>
    <message>
        <source>Der Name der Datei ist zu lang.</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>Zu wenig Speicher.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>Der Inhalt der Datei kann nicht erzeugt werden.</source>
        <translation>The content of the file cannot be made.</translation>
    </message>
    <message>
        <source>Das System meldet den Fehler Nr. %1.</source>
        <translation>The system reports error no. %1.</translation>
    </message>
</context>
<context>
    <name>GroupCheck</name>
    <message>
        <source>Diese Datenbank hat keine Gruppen: sie konnte nicht auf die Version des Programms gebracht werden.</source>
        <translation>This database has no groups: it could not be brought to the program&apos;s version.</translation>
    </message>
</context>
<context>
    <name>GroupDialog</name>
    <message>
        <source>Gruppen</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>&amp;Gruppen:</source>
        <translation>&amp;Groups:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>N&amp;eu</source>
        <translation>N&amp;ew</translation>
    </message>
    <message>
        <source>&amp;Umbenennen</source>
        <translation>&amp;Rename</translation>
    </message>
    <message>
        <source>&amp;Löschen</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Soll die Gruppe „%1“ gelöscht werden? Ihre Sportler bleiben gespeichert.</source>
        <translation>Delete the group “%1”? Its athletes stay stored.</translation>
    </message>
    <message>
        <source>&amp;Ja</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>GroupRepository</name>
    <message>
        <source>Bitte geben Sie einen Namen für die Gruppe ein.</source>
        <translation>Please enter a name for the group.</translation>
    </message>
    <message>
        <source>Der Name einer Gruppe darf höchstens %1 Zeichen lang sein.</source>
        <translation>The name of a group may be at most %1 characters long.</translation>
    </message>
    <message>
        <source>Eine Gruppe „%1“ gibt es schon.</source>
        <translation>A group “%1” already exists.</translation>
    </message>
    <message>
        <source>Die Gruppe ist nicht mehr gespeichert.</source>
        <translation>The group is no longer stored.</translation>
    </message>
    <message>
        <source>Der Name einer Gruppe darf keinen Tabulator, keinen Zeilenumbruch und kein anderes Steuerzeichen enthalten.</source>
        <translation>A group&apos;s name must not contain a tab, a line break or any other control character.</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>Noch nicht auf dem Server: im Zwischenspeicher dieses Rechners.</source>
        <translation>Not yet on the server: kept on this computer.</translation>
    </message>
    <message>
        <source>Die Sprünge ab Nr. %1 der Messung Nr. %2.</source>
        <translation>The jumps from no. %1 of measurement no. %2.</translation>
    </message>
    <message>
        <source>Die Sprünge ab Nr. %1 einer Messung auf dem Server.</source>
        <translation>The jumps from no. %1 of a measurement on the server.</translation>
    </message>
    <message>
        <source>Kursiv: noch nicht auf dem Server, im Zwischenspeicher dieses Rechners.</source>
        <translation>Italics: not yet on the server, kept on this computer.</translation>
    </message>
</context>
<context>
    <name>HistoryController</name>
    <message>
        <source>Die Messung ist nicht mehr gespeichert; bitte die Liste aktualisieren (F9).</source>
        <translation>The measurement is no longer stored; please refresh the list (F9).</translation>
    </message>
    <message>
        <source>Sportler %1 (gelöscht)</source>
        <translation>Athlete %1 (deleted)</translation>
    </message>
    <message>
        <source>Die Messung gehört jetzt zu %1 und hat dort die Nummer %2.</source>
        <translation>The measurement now belongs to %1 and has the number %2 there.</translation>
    </message>
    <message>
        <source>Möchten Sie diese Messreihe wirklich löschen?</source>
        <translation>Do you really want to delete this measurement?</translation>
    </message>
    <message>
        <source>Sie bleibt unter „Daten“ ▸ „Änderungen …“ erhalten und kann dort wiederhergestellt werden.</source>
        <translation>It is kept under “Data” ▸ “Changes …” and can be restored there.</translation>
    </message>
    <message>
        <source>Bei einer Messreihe bitte den Sprung im Sprungraster wählen und dort als Fehlversuch markieren.</source>
        <translation>For a series, please choose the jump in the jump grid and mark it as a failed trial there.</translation>
    </message>
    <message>
        <source>Diese Messung ist noch nicht auf dem Server. Sie kann geändert werden, sobald sie dorthin übertragen ist.</source>
        <translation>This measurement is not yet on the server. It can be changed once it has been transferred there.</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Messungen</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Stützzeit(ms)</source>
        <translation>Contact(ms)</translation>
    </message>
    <message>
        <source>Flugzeit(ms)</source>
        <translation>Flight(ms)</translation>
    </message>
    <message>
        <source>Effizienz</source>
        <translation>Efficiency</translation>
    </message>
    <message>
        <source>Höhe(cm)</source>
        <translation>Height(cm)</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Fallhöhe(cm)</source>
        <translation>Drop ht.(cm)</translation>
    </message>
    <message>
        <source>Sprünge</source>
        <translation>Jumps</translation>
    </message>
    <message>
        <source>Doppelkontakt</source>
        <translation>Double contact</translation>
    </message>
    <message>
        <source>Sprung &amp;ausschließen …</source>
        <translation>&amp;Exclude jump …</translation>
    </message>
    <message>
        <source>Ausschluss &amp;zurücknehmen</source>
        <translation>&amp;Take back exclusion</translation>
    </message>
    <message>
        <source>Als &amp;Fehlversuch markieren</source>
        <translation>Mark as &amp;failed trial</translation>
    </message>
    <message>
        <source>Beste Höhe</source>
        <translation>Best height</translation>
    </message>
    <message>
        <source>Bester RSI</source>
        <translation>Best RSI</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>Der Datenträger ist voll: Der Zwischenspeicher &quot;%1&quot; auf diesem Rechner kann nichts mehr aufnehmen.</source>
        <translation>The disk is full: the journal &quot;%1&quot; on this computer cannot take anything more.</translation>
    </message>
    <message>
        <source>Der Zwischenspeicher &quot;%1&quot; auf diesem Rechner kann nicht geschrieben werden.</source>
        <translation>The journal &quot;%1&quot; on this computer cannot be written.</translation>
    </message>
</context>
<context>
    <name>JournalReplay</name>
    <message>
        <source>Alle Messungen sind auf dem Server.</source>
        <translation>All measurements are on the server.</translation>
    </message>
    <message>
        <source>Server nicht erreichbar – Sprünge werden auf diesem Rechner zwischengespeichert</source>
        <translation>Server not reachable – jumps are kept on this computer for now</translation>
    </message>
    <message>
        <source>. Messungen im Zwischenspeicher: %1</source>
        <translation>. Measurements kept here: %1</translation>
    </message>
    <message>
        <source>Zwischengespeicherte Messungen werden auf den Server übertragen …</source>
        <translation>Measurements kept here are being transferred to the server …</translation>
    </message>
    <message>
        <source>Messungen im Zwischenspeicher, noch nicht auf dem Server: %1</source>
        <translation>Measurements kept here, not yet on the server: %1</translation>
    </message>
    <message>
        <source>, davon mit unklarem Sportler: %1</source>
        <translation>, of which with an unclear athlete: %1</translation>
    </message>
    <message>
        <source>Messungen warten auf die Wahl des Sportlers: %1</source>
        <translation>Measurements waiting for the choice of the athlete: %1</translation>
    </message>
</context>
<context>
    <name>JournalStatus</name>
    <message>
        <source>Speicherort der Messungen</source>
        <translation>Where the measurements are kept</translation>
    </message>
    <message>
        <source>Klicken, um die offenen Zuordnungen zu zeigen („Datei“ ▸ „Offene Zuordnungen …“)</source>
        <translation>Click to show the open assignments (“File” ▸ “Open assignments …”)</translation>
    </message>
</context>
<context>
    <name>JumpAnalysis</name>
    <message>
        <source>Sprünge</source>
        <translation>Jumps</translation>
    </message>
    <message>
        <source>Beste Höhe (cm)</source>
        <translation>Best height (cm)</translation>
    </message>
    <message>
        <source>Mittlere Höhe (cm)</source>
        <translation>Mean height (cm)</translation>
    </message>
    <message>
        <source>SD Höhe (cm)</source>
        <translation>SD height (cm)</translation>
    </message>
    <message>
        <source>VK Höhe (%)</source>
        <translation>CV height (%)</translation>
    </message>
    <message>
        <source>Mittlere Stützzeit (ms)</source>
        <translation>Mean contact time (ms)</translation>
    </message>
    <message>
        <source>Mittlere Flugzeit (ms)</source>
        <translation>Mean flight time (ms)</translation>
    </message>
    <message>
        <source>Bester RSI (m/s)</source>
        <translation>Best RSI (m/s)</translation>
    </message>
    <message>
        <source>Mittlerer RSI (m/s)</source>
        <translation>Mean RSI (m/s)</translation>
    </message>
    <message>
        <source>Ermüdung (%)</source>
        <translation>Fatigue (%)</translation>
    </message>
</context>
<context>
    <name>JumpTableModel</name>
    <message>
        <source>Anzahl</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Stützzeit(ms)</source>
        <translation>Contact(ms)</translation>
    </message>
    <message>
        <source>Flugzeit(ms)</source>
        <translation>Flight(ms)</translation>
    </message>
    <message>
        <source>Effizienz</source>
        <translation>Efficiency</translation>
    </message>
    <message>
        <source>Höhe(cm)</source>
        <translation>Height(cm)</translation>
    </message>
    <message>
        <source>Ausschluss</source>
        <translation>Exclusion</translation>
    </message>
    <message>
        <source>ausgeschlossen: %1</source>
        <translation>excluded: %1</translation>
    </message>
    <message>
        <source>einer der 5 besten Sprünge nach RSI</source>
        <translation>one of the 5 best jumps by RSI</translation>
    </message>
    <message>
        <source>Abschlusskontakt</source>
        <translation>Closing contact</translation>
    </message>
    <message>
        <source>Abschluss</source>
        <translation>Closing</translation>
    </message>
    <message>
        <source>RSI</source>
        <translation>RSI</translation>
    </message>
</context>
<context>
    <name>Limits</name>
    <message>
        <source>Untere Stützzeit-Plausibilätsgrenze verletzt: </source>
        <translation>Lower contact time plausibility limit violated: </translation>
    </message>
    <message>
        <source>Obere  Stützzeit-Plausibilätsgrenze verletzt: </source>
        <translation>Upper contact time plausibility limit violated: </translation>
    </message>
    <message>
        <source>Untere Flugzeit-Plausibilätsgrenze verletzt: </source>
        <translation>Lower flight time plausibility limit violated: </translation>
    </message>
    <message>
        <source>Obere  Flugzeit-Plausibilätsgrenze verletzt: </source>
        <translation>Upper flight time plausibility limit violated: </translation>
    </message>
</context>
<context>
    <name>LimitsDialog</name>
    <message>
        <source>Triggerflanke</source>
        <translation>Trigger edge</translation>
    </message>
    <message>
        <source>Stützzeit</source>
        <translation>Contact time</translation>
    </message>
    <message>
        <source>Flugzeit</source>
        <translation>Flight time</translation>
    </message>
    <message>
        <source>Plausibilitäten</source>
        <translation>Plausibility limits</translation>
    </message>
    <message>
        <source>Abbruch bei Plausilibitätsverletzung</source>
        <translation>Abort when a plausibility limit is violated</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Das Minimum der Stützzeit (%1 ms) muss kleiner als ihr Maximum (%2 ms) sein.</source>
        <translation>The minimum contact time (%1 ms) must be less than its maximum (%2 ms).</translation>
    </message>
    <message>
        <source>Das Minimum der Flugzeit (%1 ms) muss kleiner als ihr Maximum (%2 ms) sein.</source>
        <translation>The minimum flight time (%1 ms) must be less than its maximum (%2 ms).</translation>
    </message>
    <message>
        <source>&amp;Sprache:</source>
        <translation>&amp;Language:</translation>
    </message>
    <message>
        <source>Gilt ab dem nächsten Start.</source>
        <translation>Takes effect at the next start.</translation>
    </message>
</context>
<context>
    <name>LiveChart</name>
    <message>
        <source>Höhe</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>RSI</source>
        <translation>RSI</translation>
    </message>
    <message>
        <source>Balken:</source>
        <translation>Bars:</translation>
    </message>
    <message>
        <source>Diagramm der Serie</source>
        <translation>Chart of the series</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kalvero</source>
        <translation>Kalvero</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Programm beenden</source>
        <translation>Exit the program</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Alle Exportieren</source>
        <translation>Export &amp;all</translation>
    </message>
    <message>
        <source>&amp;Einzelmessung</source>
        <translation>&amp;Single measurement</translation>
    </message>
    <message>
        <source>&amp;Mehrfachmessung</source>
        <translation>&amp;Multiple measurement</translation>
    </message>
    <message>
        <source>S&amp;ettings</source>
        <translation>S&amp;ettings</translation>
    </message>
    <message>
        <source>Alle &amp;zeigen</source>
        <translation>Show &amp;all</translation>
    </message>
    <message>
        <source>Alle zeigen</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>&amp;Aktualisieren</source>
        <translation>Re&amp;fresh</translation>
    </message>
    <message>
        <source>Aktualisieren</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>&amp;Suchen</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>Sportler suchen</source>
        <translation>Search for an athlete</translation>
    </message>
    <message>
        <source>&amp;Neuer Sportler</source>
        <translation>Ne&amp;w athlete</translation>
    </message>
    <message>
        <source>Neuer Sportler</source>
        <translation>New athlete</translation>
    </message>
    <message>
        <source>&amp;Daten ändern</source>
        <translation>&amp;Edit athlete</translation>
    </message>
    <message>
        <source>Daten ändern</source>
        <translation>Edit athlete</translation>
    </message>
    <message>
        <source>Sportler &amp;löschen</source>
        <translation>&amp;Delete athlete</translation>
    </message>
    <message>
        <source>Zeigen</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Suchen</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>Bericht als &amp;PDF …</source>
        <translation>Report as &amp;PDF …</translation>
    </message>
    <message>
        <source>Daten &amp;übernehmen …</source>
        <translation>&amp;Import old data …</translation>
    </message>
    <message>
        <source>Aus&amp;wertung …</source>
        <translation>Anal&amp;ysis …</translation>
    </message>
    <message>
        <source>Auswertung</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Nä&amp;chster Sportler</source>
        <translation>&amp;Next athlete</translation>
    </message>
    <message>
        <source>Nächster Sportler</source>
        <translation>Next athlete</translation>
    </message>
    <message>
        <source>&amp;Gruppen …</source>
        <translation>&amp;Groups …</translation>
    </message>
    <message>
        <source>&amp;Rangliste …</source>
        <translation>&amp;Ranking …</translation>
    </message>
    <message>
        <source>Messung starten</source>
        <translation>Start measurement</translation>
    </message>
    <message>
        <source>Messung starten (F5)</source>
        <translation>Start measurement (F5)</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Exportieren</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Betriebsart</source>
        <translation>&amp;Mode</translation>
    </message>
    <message>
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>D&amp;aten</source>
        <translation>&amp;Data</translation>
    </message>
    <message>
        <source>Werkzeuge</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Daten</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Sportler-ID %1: Nummer %2 (%3-mal)</source>
        <translation>Athlete ID %1: number %2 (%3 times)</translation>
    </message>
    <message>
        <source>… und %1 weitere</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>Einige Messungen tragen dieselbe Nummer wie eine andere Messung desselben Sportlers. Sie bleiben, wie sie sind; neue Messungen erhalten eigene Nummern.

</source>
        <translation>Some measurements carry the same number as another measurement of the same athlete. They stay as they are; new measurements get numbers of their own.

</translation>
    </message>
    <message>
        <source>Kalvero (Einzelmessung)</source>
        <translation>Kalvero (single measurement)</translation>
    </message>
    <message>
        <source>Kalvero (Mehrfachmessung)</source>
        <translation>Kalvero (multiple measurement)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Möchten Sie diesen Patienten wirklich löschen?</source>
        <translation>Do you really want to delete this athlete?</translation>
    </message>
    <message>
        <source>&amp;Tabelle (CSV, UTF-8) …</source>
        <translation>&amp;Table (CSV, UTF-8) …</translation>
    </message>
    <message>
        <source>Arbeits&amp;mappe (Excel) …</source>
        <translation>&amp;Workbook (Excel) …</translation>
    </message>
    <message>
        <source>Kein Sportler ausgewählt.</source>
        <translation>No athlete selected.</translation>
    </message>
    <message>
        <source>&amp;Test und Fallhöhe ändern …</source>
        <translation>Change &amp;test and drop height …</translation>
    </message>
    <message>
        <source>Messung &amp;löschen …</source>
        <translation>&amp;Delete measurement …</translation>
    </message>
    <message>
        <source>Während einer Messung werden keine Messungen verschoben, geändert oder gelöscht. Bitte zuerst die Messung beenden.</source>
        <translation>While a measurement runs, no measurements are moved, changed or deleted. Please end the measurement first.</translation>
    </message>
    <message>
        <source>Als &amp;Fehlversuch markieren</source>
        <translation>Mark as &amp;failed trial</translation>
    </message>
    <message>
        <source>&amp;Messung einem anderen Sportler zuordnen …</source>
        <translation>Assign &amp;measurement to another athlete …</translation>
    </message>
    <message>
        <source>Änd&amp;erungen …</source>
        <translation>&amp;Changes …</translation>
    </message>
    <message>
        <source>Daten einer anderen &amp;Station übernehmen …</source>
        <translation>Take over data of another &amp;station …</translation>
    </message>
    <message>
        <source>Offene &amp;Zuordnungen …</source>
        <translation>Open &amp;assignments …</translation>
    </message>
    <message>
        <source>Keine Messung wartet auf eine Zuordnung.</source>
        <translation>No measurement is waiting for an assignment.</translation>
    </message>
    <message>
        <source>&amp;Voriger Sportler</source>
        <translation>&amp;Previous athlete</translation>
    </message>
    <message>
        <source>Voriger Sportler</source>
        <translation>Previous athlete</translation>
    </message>
    <message>
        <source>Testtag …</source>
        <translation>Test day …</translation>
    </message>
    <message>
        <source>Testtag: Test, Fallhöhe und Protokoll einmal für die Gruppe</source>
        <translation>Test day: test, drop height and protocol once for the group</translation>
    </message>
    <message>
        <source>Testtag</source>
        <translation>Test day</translation>
    </message>
    <message>
        <source>Testtag &amp;beenden</source>
        <translation>Finis&amp;h test day</translation>
    </message>
    <message>
        <source>Der Testtag „%1“ vom %2 ist nicht beendet. Möchten Sie ihn fortsetzen?</source>
        <translation>The test day “%1” of %2 has not been ended. Do you want to continue it?</translation>
    </message>
    <message>
        <source>Fortsetzen</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Testtag beenden</source>
        <translation>Finish test day</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Der Testtag „%1“ läuft noch. Beenden Sie ihn mit „Testtag beenden“, bevor Sie einen neuen beginnen.</source>
        <translation>The test day “%1” is still going on. End it with “Finish test day” before you begin a new one.</translation>
    </message>
    <message>
        <source>als Nächstes · %1</source>
        <translation>next · %1</translation>
    </message>
    <message>
        <source>Auf der Startliste des Testtags „%1“ steht kein Sportler mehr.</source>
        <translation>No athlete is left on the start list of the test day “%1”.</translation>
    </message>
    <message>
        <source>Testtag „%1“: alle Versuche gemessen.</source>
        <translation>Test day “%1”: all trials measured.</translation>
    </message>
    <message>
        <source>Neuer Testtag</source>
        <translation>New test day</translation>
    </message>
    <message>
        <source>Als &amp;Wiederholung markieren …</source>
        <translation>Mark as &amp;repeat …</translation>
    </message>
    <message>
        <source>Anzeige für Sportler</source>
        <translation>Display for the athlete</translation>
    </message>
    <message>
        <source>A&amp;nsicht</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>MeasurementRepository</name>
    <message>
        <source>Die Datenbank kennt noch keine ausgeschlossenen Sprünge: sie konnte nicht auf den neuesten Stand gebracht werden.</source>
        <translation>The database does not know excluded jumps yet: it could not be brought up to date.</translation>
    </message>
    <message>
        <source>Die Messung ist nicht mehr gespeichert.</source>
        <translation>The measurement is no longer stored.</translation>
    </message>
    <message>
        <source>Die Messung %1 ist nicht mehr gespeichert</source>
        <translation>The measurement %1 is no longer stored</translation>
    </message>
    <message>
        <source>Die Messung ist nicht mehr so gespeichert, wie sie angezeigt wird: eine andere Station hat sie inzwischen verschoben, geändert oder gelöscht. Es wurde nichts geändert; bitte die Liste aktualisieren (F9).</source>
        <translation>The measurement is no longer stored as shown: another station has moved, changed or deleted it meanwhile. Nothing was changed; please refresh the list (F9).</translation>
    </message>
    <message>
        <source>Der Sportler ist nicht mehr gespeichert: eine andere Station hat ihn inzwischen gelöscht. Es wurde nichts geändert; bitte die Liste aktualisieren (F9).</source>
        <translation>The athlete is no longer stored: another station has deleted him meanwhile. Nothing was changed; please refresh the list (F9).</translation>
    </message>
    <message>
        <source>Die Messung gehört schon diesem Sportler; es wurde nichts geändert.</source>
        <translation>The measurement already belongs to this athlete; nothing was changed.</translation>
    </message>
    <message>
        <source>Diese Änderung ist keine Löschung.</source>
        <translation>This change is not a deletion.</translation>
    </message>
    <message>
        <source>Die Messung wurde schon wiederhergestellt (vielleicht an einer anderen Station); bitte die Liste aktualisieren.</source>
        <translation>The measurement has been restored already (perhaps at another station); please refresh the list.</translation>
    </message>
</context>
<context>
    <name>MeasurementSession</name>
    <message>
        <source>Kommunikationsfehler</source>
        <translation>Communication error</translation>
    </message>
    <message>
        <source> Der Sprung %1 wurde nicht gespeichert.</source>
        <translation> Jump %1 was not stored.</translation>
    </message>
</context>
<context>
    <name>MeasurementTest</name>
    <message>
        <source>Drop Jump</source>
        <translation>Drop Jump</translation>
    </message>
    <message>
        <source>Sprungserie</source>
        <translation>Jump series</translation>
    </message>
    <message>
        <source>Countermovement Jump</source>
        <translation>Countermovement Jump</translation>
    </message>
    <message>
        <source>Squat Jump</source>
        <translation>Squat Jump</translation>
    </message>
    <message>
        <source>Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein.</source>
        <translation>The drop height must be a whole number from 0 to 150 cm.</translation>
    </message>
    <message>
        <source>Fallhöhe %1 cm</source>
        <translation>drop height %1 cm</translation>
    </message>
    <message>
        <source>Der Name des Tests darf höchstens 40 Zeichen lang sein.</source>
        <translation>The name of the test may be at most 40 characters long.</translation>
    </message>
</context>
<context>
    <name>MessageService</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Informationen</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>OldDataReader</name>
    <message>
        <source>Die Datei %1 fehlt.</source>
        <translation>The file %1 is missing.</translation>
    </message>
    <message>
        <source>Im Ordner %1 gibt es %2 mehrmals, in verschiedener Schreibweise.</source>
        <translation>The folder %1 holds %2 more than once, spelt differently.</translation>
    </message>
    <message>
        <source>In der Datei %1 hat Datensatz %2 keine ID.</source>
        <translation>In the file %1, record %2 has no ID.</translation>
    </message>
    <message>
        <source>In der Datei %1 kommt die ID %2 mehrmals vor.</source>
        <translation>In the file %1, the ID %2 occurs more than once.</translation>
    </message>
    <message>
        <source>Der Ordner %1 existiert nicht.</source>
        <translation>The folder %1 does not exist.</translation>
    </message>
    <message>
        <source>„%1“</source>
        <translation>“%1”</translation>
    </message>
</context>
<context>
    <name>OldDataTakeover</name>
    <message>
        <source>Ordner mit den alten Daten wählen</source>
        <translation>Choose the folder with the old data</translation>
    </message>
    <message>
        <source>&amp;Übernehmen</source>
        <translation>&amp;Import</translation>
    </message>
    <message>
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Übernahme läuft … %1 von %2 Sportlern</source>
        <translation>Importing … %1 of %2 athletes</translation>
    </message>
</context>
<context>
    <name>ParadoxTable</name>
    <message>
        <source>Die Datei %1 lässt sich nicht lesen.</source>
        <translation>The file %1 cannot be read.</translation>
    </message>
    <message>
        <source>Die Datei %1 ist keine Paradox-Tabelle.</source>
        <translation>The file %1 is not a Paradox table.</translation>
    </message>
    <message>
        <source>Die Datei %1 ist beschädigt.</source>
        <translation>The file %1 is damaged.</translation>
    </message>
    <message>
        <source>Die Datei %1 ist beschädigt: Datensatz %2 lässt sich nicht lesen.</source>
        <translation>The file %1 is damaged: record %2 cannot be read.</translation>
    </message>
    <message>
        <source>Die Datei %1 lässt sich nicht öffnen.</source>
        <translation>The file %1 cannot be opened.</translation>
    </message>
    <message>
        <source>In der Datei %1 ist %2 in Spalte „%3“ von Datensatz %4 %5.</source>
        <translation>In the file %1, %2 in column “%3” of record %4 is %5.</translation>
    </message>
    <message>
        <source>der Text</source>
        <translation>the text</translation>
    </message>
    <message>
        <source>der Wert</source>
        <translation>the value</translation>
    </message>
    <message>
        <source>Die Datei %1 ist unvollständig: ein Teil der Tabelle fehlt.</source>
        <translation>The file %1 is incomplete: part of the table is missing.</translation>
    </message>
    <message>
        <source>Die Datei %1 ist mit einem Kennwort geschützt und lässt sich nicht lesen.</source>
        <translation>The file %1 is protected by a password and cannot be read.</translation>
    </message>
    <message>
        <source>Die Datei %1 ist in der unbekannten Codeseite %2 geschrieben.</source>
        <translation>The file %1 is written in the unknown code page %2.</translation>
    </message>
    <message>
        <source>In der Datei %1 fehlt die Spalte „%2“.</source>
        <translation>In the file %1, the column “%2” is missing.</translation>
    </message>
    <message>
        <source>In der Datei %1 hat die Spalte „%2“ einen unpassenden Typ.</source>
        <translation>In the file %1, the column “%2” has an unsuitable type.</translation>
    </message>
    <message>
        <source>keine gültige Zahl</source>
        <translation>not a valid number</translation>
    </message>
    <message>
        <source>keine ganze Zahl</source>
        <translation>not a whole number</translation>
    </message>
    <message>
        <source>kein Text der Codeseite %1</source>
        <translation>no text of code page %1</translation>
    </message>
    <message>
        <source>länger als %1 Zeichen</source>
        <translation>longer than %1 characters</translation>
    </message>
    <message>
        <source>kein gültiges Datum</source>
        <translation>not a valid date</translation>
    </message>
    <message>
        <source>„%1“</source>
        <translation>“%1”</translation>
    </message>
</context>
<context>
    <name>ProfileResultDialog</name>
    <message>
        <source>Fallhöhen-Profil – %1</source>
        <translation>Drop-height profile – %1</translation>
    </message>
    <message>
        <source>Bester RSI und beste Höhe über der Fallhöhe</source>
        <translation>Best RSI and best height over drop height</translation>
    </message>
    <message>
        <source>Ergebnisse je Fallhöhe</source>
        <translation>Results per drop height</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Protocols</name>
    <message>
        <source>Kein Ergebnis: nur %1 von %2 Sprüngen gültig.</source>
        <translation>No result: only %1 of %2 jumps valid.</translation>
    </message>
    <message>
        <source>Mittelwert der 5 besten von 10 Sprüngen nach RSI</source>
        <translation>Mean of the 5 best of 10 jumps by RSI</translation>
    </message>
    <message>
        <source>Der beste RSI ist bei zwei Fallhöhen nacheinander gesunken: das Profil kann enden.</source>
        <translation>The best RSI has fallen at two drop heights in a row: the profile can end.</translation>
    </message>
    <message>
        <source>Die mittlere Stützzeit liegt über 250 ms: das Profil kann enden.</source>
        <translation>The mean contact time is above 250 ms: the profile can end.</translation>
    </message>
    <message>
        <source>Kein Band: der typische Fehler braucht mindestens %1 Paare aufeinander folgender Messungen desselben Tests und derselben Fallhöhe, es gibt %2.</source>
        <translation>No band: the typical error needs at least %1 pairs of consecutive measurements of the same test and drop height, there are %2.</translation>
    </message>
</context>
<context>
    <name>QtMessageService</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Alle Dateien (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>Ranking</name>
    <message>
        <source>Platz</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Vorname</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Beste Höhe (cm)</source>
        <translation>Best height (cm)</translation>
    </message>
    <message>
        <source>Bester RSI</source>
        <translation>Best RSI</translation>
    </message>
    <message>
        <source>Mittl. Stützzeit (ms)</source>
        <translation>Mean contact time (ms)</translation>
    </message>
    <message>
        <source>Messungen</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Veränderung RSI</source>
        <translation>Change in RSI</translation>
    </message>
    <message>
        <source>Ohne Test</source>
        <translation>Without test</translation>
    </message>
    <message>
        <source>%1 (10/5)</source>
        <translation>%1 (10/5)</translation>
    </message>
    <message>
        <source>%1 (Fallhöhen-Profil)</source>
        <translation>%1 (drop-height profile)</translation>
    </message>
    <message>
        <source>%1 cm</source>
        <translation>%1 cm</translation>
    </message>
    <message>
        <source>ohne Angabe</source>
        <translation>not given</translation>
    </message>
    <message>
        <source>Test: %1</source>
        <translation>Test: %1</translation>
    </message>
    <message>
        <source>Fallhöhe: %1</source>
        <translation>Drop height: %1</translation>
    </message>
    <message>
        <source>Zeitraum: %1 bis %2 (%3 Tage)</source>
        <translation>Period: %1 to %2 (%3 days)</translation>
    </message>
    <message>
        <source>Werte des Protokolls 10/5: Mittel der besten fünf Sprünge.</source>
        <translation>Values of the 10/5 protocol: mean of the best five jumps.</translation>
    </message>
    <message>
        <source>Ohne kleinste bedeutsame Änderung (weniger als zwei Sportler mit einem RSI dieses Tests) ist keine Veränderung markiert.</source>
        <translation>Without a smallest worthwhile change (fewer than two athletes with an RSI in this test) no change is marked.</translation>
    </message>
    <message>
        <source>*: Die Veränderung ist größer als der typische Fehler des Sportlers (aus seinen Wiederholungen dieses Tests am selben Tag, sonst aus aufeinander folgenden Messungen) und als die %1.</source>
        <translation>*: The change is larger than the athlete&apos;s typical error (from his repetitions of this test on the same day, otherwise from consecutive measurements) and than the %1.</translation>
    </message>
    <message>
        <source>Typischer Fehler des RSI: %1 (%2)</source>
        <translation>Typical error of the RSI: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>RankingWindow</name>
    <message>
        <source>Rangliste</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Teambericht als &amp;PDF …</source>
        <translation>Team report as &amp;PDF …</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>&amp;Gruppe:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>&amp;Von:</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>&amp;Bis:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>Es gibt noch keine Gruppe. Gruppen werden unter „Daten“ ▸ „Gruppen …“ angelegt.</source>
        <translation>There is no group yet. Groups are created under “Data” ▸ “Groups …”.</translation>
    </message>
    <message>
        <source>Der Beginn des Zeitraums liegt nach seinem Ende.</source>
        <translation>The start of the period lies after its end.</translation>
    </message>
    <message>
        <source>Veränderung RSI: bester RSI gegenüber dem Zeitraum %1 bis %2.</source>
        <translation>Change in RSI: best RSI against the period %1 to %2.</translation>
    </message>
    <message>
        <source>&amp;Test:</source>
        <translation>&amp;Test:</translation>
    </message>
    <message>
        <source>&amp;Fallhöhe:</source>
        <translation>&amp;Drop height:</translation>
    </message>
    <message>
        <source>Die Gruppe hat im Zeitraum keine Messung.</source>
        <translation>The group has no measurement in the period.</translation>
    </message>
    <message>
        <source>Bedeutsame Ä&amp;nderung …</source>
        <translation>Worthwhile c&amp;hange …</translation>
    </message>
    <message>
        <source>Die kleinste bedeutsame Änderung des besten RSI für diesen Test festlegen</source>
        <translation>Set the smallest worthwhile change of the best RSI for this test</translation>
    </message>
</context>
<context>
    <name>RepeatDialog</name>
    <message>
        <source>Test–Retest-Paar</source>
        <translation>Test–retest pair</translation>
    </message>
    <message>
        <source>Messung %1</source>
        <translation>Measurement %1</translation>
    </message>
    <message>
        <source>Eine Wiederholung desselben Tests kurz nach dem ersten Versuch zeigt, wie sehr die Werte ohne echte Änderung schwanken: der typische Fehler wird aus solchen Paaren berechnet.</source>
        <translation>A repeat of the same test shortly after the first trial shows how much the values vary without a real change: the typical error is computed from such pairs.</translation>
    </message>
    <message>
        <source>keiner Messung</source>
        <translation>no measurement</translation>
    </message>
    <message>
        <source>&amp;Wiederholung von:</source>
        <translation>&amp;Repeat of:</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RestoreOffer</name>
    <message>
        <source>

Im Ordner &quot;%1&quot; liegt keine intakte Sicherung.</source>
        <translation>

The folder &quot;%1&quot; holds no intact backup.</translation>
    </message>
    <message>
        <source>Die Datenbank &quot;%1&quot; ist beschädigt. Soll die neueste intakte Sicherung &quot;%2&quot; an ihre Stelle treten? Die beschädigte Datei wird umbenannt und bleibt erhalten. Ohne Wiederherstellung wird die Datenbank nur gelesen.</source>
        <translation>The database &quot;%1&quot; is damaged. Should the newest intact backup &quot;%2&quot; take its place? The damaged file is renamed and kept. Without a restore the database is only read.</translation>
    </message>
    <message>
        <source>Wiederherstellen</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Nur lesen</source>
        <translation>Read only</translation>
    </message>
    <message>
        <source>Die Sicherung &quot;%1&quot; ist wiederhergestellt. Die beschädigte Datei liegt als &quot;%2&quot; daneben.</source>
        <translation>The backup &quot;%1&quot; is restored. The damaged file lies beside it as &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Die tägliche Sicherung der Datenbank ist nicht gelungen.

%1</source>
        <translation>The daily backup of the database failed.

%1</translation>
    </message>
</context>
<context>
    <name>ResultPanel</name>
    <message>
        <source>Messergebnisse</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Stützzeit:</source>
        <translation>Contact time:</translation>
    </message>
    <message>
        <source>Stützzeit in ms</source>
        <translation>Contact time in ms</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Flugzeit:</source>
        <translation>Flight time:</translation>
    </message>
    <message>
        <source>Flugzeit in ms</source>
        <translation>Flight time in ms</translation>
    </message>
    <message>
        <source>Höhe(cm):</source>
        <translation>Height(cm):</translation>
    </message>
    <message>
        <source>Höhe in cm</source>
        <translation>Height in cm</translation>
    </message>
    <message>
        <source>Effizienz:</source>
        <translation>Efficiency:</translation>
    </message>
    <message>
        <source>Effizienz</source>
        <translation>Efficiency</translation>
    </message>
    <message>
        <source>Stand der Messung</source>
        <translation>State of the measurement</translation>
    </message>
    <message>
        <source>Messung starten</source>
        <translation>Start measurement</translation>
    </message>
    <message>
        <source>Messung abbrechen</source>
        <translation>Stop measurement</translation>
    </message>
    <message>
        <source>Messung abbrechen (F5)</source>
        <translation>Stop measurement (F5)</translation>
    </message>
    <message>
        <source>Messung starten (F5)</source>
        <translation>Start measurement (F5)</translation>
    </message>
</context>
<context>
    <name>RetestRepository</name>
    <message>
        <source>Die Messung %1 ist nicht mehr gespeichert.</source>
        <translation>Measurement %1 is no longer stored.</translation>
    </message>
    <message>
        <source>Eine Messung kann nicht ihre eigene Wiederholung sein.</source>
        <translation>A measurement cannot be its own repeat.</translation>
    </message>
    <message>
        <source>Die Messung %1 ist schon als Wiederholung der Messung %2 markiert.</source>
        <translation>Measurement %1 is already marked as the repeat of measurement %2.</translation>
    </message>
    <message>
        <source>Eine kleinste bedeutsame Änderung gilt für einen Test; die Messungen ohne Test haben keinen.</source>
        <translation>A smallest worthwhile change belongs to a test; the measurements without a test have none.</translation>
    </message>
    <message>
        <source>Die kleinste bedeutsame Änderung muss größer als 0 sein.</source>
        <translation>The smallest worthwhile change must be greater than 0.</translation>
    </message>
</context>
<context>
    <name>RunController</name>
    <message>
        <source>%1 – Sprung %2</source>
        <translation>%1 – jump %2</translation>
    </message>
    <message>
        <source>außerhalb der Grenzen, nicht gespeichert</source>
        <translation>outside the limits, not stored</translation>
    </message>
    <message>
        <source>Das Fallhöhen-Profil von %1 ist noch nicht beendet. Wählen Sie %1 für den nächsten Versuch, oder beenden Sie das Profil mit „Profil beenden“.</source>
        <translation>The drop-height profile of %1 has not ended yet. Select %1 for the next trial, or end the profile with “End profile”.</translation>
    </message>
    <message>
        <source>Profil beendet: kein Versuch gespeichert.</source>
        <translation>Profile ended: no trial stored.</translation>
    </message>
    <message>
        <source>Sprung ohne gültige Zeiten: der Versuch wird wiederholt.</source>
        <translation>Jump without valid times: the trial is repeated.</translation>
    </message>
    <message>
        <source>%1 – Abschlusskontakt</source>
        <translation>%1 – closing contact</translation>
    </message>
    <message>
        <source>%1 – Sprung %2, Abschlusskontakt</source>
        <translation>%1 – jump %2, closing contact</translation>
    </message>
    <message>
        <source>%1 – Sprung %2: Fehlversuch, ausgeschlossen</source>
        <translation>%1 – jump %2: failed trial, excluded</translation>
    </message>
    <message>
        <source>Server nicht erreichbar – Sprünge werden auf diesem Rechner zwischengespeichert</source>
        <translation>Server not reachable – jumps are kept on this computer for now</translation>
    </message>
    <message>
        <source>Das Fallhöhen-Profil von %1 ist noch nicht beendet. Beenden Sie es mit „Profil beenden“, bevor der Testtag beginnt.</source>
        <translation>The drop-height profile of %1 has not been ended. End it with “End profile” before the test day begins.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>RunSetupPanel</name>
    <message>
        <source>Test:</source>
        <translation>Test:</translation>
    </message>
    <message>
        <source>Fallhöhe (cm):</source>
        <translation>Drop height (cm):</translation>
    </message>
    <message>
        <source>von Hand</source>
        <translation>by hand</translation>
    </message>
    <message>
        <source>nach Sprüngen</source>
        <translation>after jumps</translation>
    </message>
    <message>
        <source>nach Sekunden</source>
        <translation>after seconds</translation>
    </message>
    <message>
        <source>Serienende:</source>
        <translation>End of series:</translation>
    </message>
    <message>
        <source>Anzahl der Sprünge oder Sekunden bis zum Serienende</source>
        <translation>Number of jumps or seconds until the series ends</translation>
    </message>
    <message>
        <source>keines</source>
        <translation>none</translation>
    </message>
    <message>
        <source>10/5</source>
        <translation>10/5</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil</source>
        <translation>Drop-height profile</translation>
    </message>
    <message>
        <source>Protokoll:</source>
        <translation>Protocol:</translation>
    </message>
    <message>
        <source>Fallhöhen des Profils in cm</source>
        <translation>Drop heights of the profile in cm</translation>
    </message>
    <message>
        <source>Ansteigende ganze Zahlen von 0 bis 150, durch Kommas getrennt</source>
        <translation>Rising whole numbers from 0 to 150, separated by commas</translation>
    </message>
    <message>
        <source>Fallhöhen (cm):</source>
        <translation>Drop heights (cm):</translation>
    </message>
    <message>
        <source>Versuche je Fallhöhe</source>
        <translation>Trials per drop height</translation>
    </message>
    <message>
        <source>Versuche je Höhe:</source>
        <translation>Trials per height:</translation>
    </message>
    <message>
        <source>Nächster Versuch des Profils</source>
        <translation>Next trial of the profile</translation>
    </message>
    <message>
        <source>Ergebnis der letzten Fallhöhe</source>
        <translation>Result of the last drop height</translation>
    </message>
    <message>
        <source>Hinweis zum Ende des Profils</source>
        <translation>Advice on ending the profile</translation>
    </message>
    <message>
        <source>Ergebnis des Protokolls</source>
        <translation>Result of the protocol</translation>
    </message>
    <message>
        <source>Profil beenden</source>
        <translation>End profile</translation>
    </message>
    <message>
        <source>Fallhöhe in cm</source>
        <translation>Drop height in cm</translation>
    </message>
    <message>
        <source>Testtag „%1“: %2</source>
        <translation>Test day “%1”: %2</translation>
    </message>
</context>
<context>
    <name>Schema</name>
    <message>
        <source>Test und Fallhöhe der Messungen werden nicht gespeichert.</source>
        <translation>The test and drop height of the measurements are not stored.</translation>
    </message>
    <message>
        <source>Sprünge können nicht ausgeschlossen werden.</source>
        <translation>Jumps cannot be excluded.</translation>
    </message>
    <message>
        <source>Es gibt keine Gruppen.</source>
        <translation>There are no groups.</translation>
    </message>
    <message>
        <source>Die Protokolle 10/5 und Fallhöhen-Profil werden nicht angeboten, weil sie nicht gespeichert werden können.</source>
        <translation>The protocols 10/5 and drop-height profile are not offered, because they cannot be stored.</translation>
    </message>
    <message>
        <source>Die Datenbank konnte nicht auf Version %1 gebracht werden; sie bleibt auf Version %2.</source>
        <translation>The database could not be brought to version %1; it stays at version %2.</translation>
    </message>
    <message>
        <source>Zwei Stationen, die zugleich eine Gruppe anlegen, können ihr denselben Namen geben.</source>
        <translation>Two stations that create a group at the same moment can give it the same name.</translation>
    </message>
    <message>
        <source>Änderungen an Messungen werden nicht aufgezeichnet: Messungen können keinem anderen Sportler zugeordnet, in Test und Fallhöhe nicht geändert und gelöschte nicht wiederhergestellt werden.</source>
        <translation>Changes to measurements are not recorded: measurements cannot be assigned to another athlete, their test and drop height cannot be changed, and deleted ones cannot be restored.</translation>
    </message>
    <message>
        <source>Messungen, die eine Station ohne Server zwischengespeichert hat, werden nicht übertragen.</source>
        <translation>Measurements that a station kept while its server was away are not transferred.</translation>
    </message>
    <message>
        <source>Es gibt keine Testtage: jede Messung wird mit den Angaben im Messfenster gespeichert.</source>
        <translation>There are no test days: every measurement is stored with the settings in the measurement window.</translation>
    </message>
    <message>
        <source>Test–Retest-Paare und eine festgelegte kleinste bedeutsame Änderung können nicht gespeichert werden.</source>
        <translation>Test–retest pairs and a smallest worthwhile change set for a test cannot be stored.</translation>
    </message>
</context>
<context>
    <name>SeriesKey</name>
    <message>
        <source>Zu viele Messungen für diesen Sportler</source>
        <translation>Too many measurements for this athlete</translation>
    </message>
</context>
<context>
    <name>ServiceLink</name>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>ServicePanel</name>
    <message>
        <source>Hürde</source>
        <translation>Hurdle</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Die Einstellungsdatei &quot;%1&quot; ist nicht lesbar. Sie wurde unverändert als &quot;%2&quot; aufbewahrt; Kalvero beginnt mit den Standardeinstellungen.</source>
        <translation>The settings file &quot;%1&quot; cannot be read. It was kept unchanged as &quot;%2&quot;; Kalvero starts with the default settings.</translation>
    </message>
    <message>
        <source>%1: die Zahl der aufbewahrten Sicherungen, zwischen 1 und %2</source>
        <translation>%1: the number of backups kept, between 1 and %2</translation>
    </message>
    <message>
        <source>%1: ein Grenzwert zwischen %2 und %3 ms, ein Minimum unter seinem Maximum</source>
        <translation>%1: a limit between %2 and %3 ms, a minimum below its maximum</translation>
    </message>
    <message>
        <source>Ungültige Einstellungen (Gruppe &quot;Einstellungen&quot;) wurden durch ihre Standardwerte ersetzt:
%1</source>
        <translation>Invalid settings (group &quot;Einstellungen&quot;) were replaced by their defaults:
%1</translation>
    </message>
    <message>
        <source>Zeile %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>Zeilen %1</source>
        <translation>lines %1</translation>
    </message>
    <message>
        <source>Die Einstellungsdatei &quot;%1&quot; kann nicht gelesen werden; Kalvero beginnt mit den Standardeinstellungen.</source>
        <translation>The settings file &quot;%1&quot; cannot be read; Kalvero starts with the default settings.</translation>
    </message>
    <message>
        <source>Die Einstellungsdatei &quot;%1&quot; ist nicht lesbar und kann nicht beiseitegelegt werden; Kalvero beginnt mit den Standardeinstellungen. %2</source>
        <translation>The settings file &quot;%1&quot; cannot be read and cannot be kept aside; Kalvero starts with the default settings. %2</translation>
    </message>
    <message>
        <source>In der Einstellungsdatei &quot;%1&quot; sind Zeilen nicht lesbar (%2); sie kann nicht beiseitegelegt werden. %3</source>
        <translation>Some lines of the settings file &quot;%1&quot; cannot be read (%2); the file cannot be kept aside. %3</translation>
    </message>
    <message>
        <source>In der Einstellungsdatei &quot;%1&quot; sind Zeilen nicht lesbar (%2). Sie wurde unverändert als &quot;%3&quot; aufbewahrt, kann aber nicht bereinigt werden. %4</source>
        <translation>Some lines of the settings file &quot;%1&quot; cannot be read (%2). The file was kept unchanged as &quot;%3&quot; but cannot be cleaned up. %4</translation>
    </message>
    <message>
        <source>In der Einstellungsdatei &quot;%1&quot; sind Zeilen nicht lesbar (%2). Sie wurde unverändert als &quot;%3&quot; aufbewahrt; die übrigen Einstellungen gelten weiter.</source>
        <translation>Some lines of the settings file &quot;%1&quot; cannot be read (%2). The file was kept unchanged as &quot;%3&quot;; the other settings still apply.</translation>
    </message>
    <message>
        <source>Die Einstellungen können nicht gespeichert werden: &quot;%1&quot; darf nicht beschrieben werden. Was in dieser Sitzung eingestellt wird (Grenzwerte, Betriebsart, Sprache, Fenster), wird nicht aufbewahrt.</source>
        <translation>The settings cannot be saved: &quot;%1&quot; may not be written. What is set in this session (limits, operating mode, language, window) is not kept.</translation>
    </message>
</context>
<context>
    <name>StationFile</name>
    <message>
        <source>Die Datei „%1“ kann nicht als Datenbank einer Station gelesen werden; es wurde nichts übernommen, was nach der beschädigten Stelle steht.</source>
        <translation>The file “%1” cannot be read as a station&apos;s database; nothing after the damaged place was taken over.</translation>
    </message>
    <message>
        <source>Die Datei „%1“ gibt es nicht; es wurde nichts übernommen.</source>
        <translation>The file “%1” does not exist; nothing was taken over.</translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist keine Datenbank einer Station: Ihr fehlt die Tabelle „%2“. Es wurde nichts übernommen.</source>
        <translation>The file “%1” is not a station&apos;s database: it lacks the table “%2”. Nothing was taken over.</translation>
    </message>
</context>
<context>
    <name>StationMerge</name>
    <message>
        <source>Bis dahin: %1</source>
        <translation>Up to then: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n Messung(en) warten auf die Wahl des Sportlers: „Datei“ ▸ „Offene Zuordnungen …“.</source>
        <translation>
            <numerusform>%n measurement waits for the choice of the athlete: “File” ▸ “Open assignments …”.</numerusform>
            <numerusform>%n measurements wait for the choice of the athlete: “File” ▸ “Open assignments …”.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StationTakeover</name>
    <message>
        <source>Datenbank einer anderen Station oder Sicherung wählen</source>
        <translation>Choose the database of another station or a backup</translation>
    </message>
    <message>
        <source>Datenbanken und Sicherungen|*.sqlite</source>
        <translation>Databases and backups|*.sqlite</translation>
    </message>
    <message>
        <source>Das ist die Datenbank dieser Station selbst; es wurde nichts übernommen.</source>
        <translation>This is this station&apos;s own database; nothing was taken over.</translation>
    </message>
    <message>
        <source>Übernahme läuft … %1 von %2 Messungen</source>
        <translation>Taking over … %1 of %2 measurements</translation>
    </message>
</context>
<context>
    <name>StoreLocation</name>
    <message>
        <source>„%1“ ist keine Verbindung zu einer PostgreSQL-Datenbank: %2</source>
        <translation>“%1” is no connection to a PostgreSQL database: %2</translation>
    </message>
    <message>
        <source>der Text ist keine gültige Adresse.</source>
        <translation>the text is not a valid address.</translation>
    </message>
    <message>
        <source>ein Passwort gehört nicht hinein; libpq nimmt es aus ~/.pgpass oder PGPASSWORD.</source>
        <translation>a password does not belong in it; libpq takes it from ~/.pgpass or PGPASSWORD.</translation>
    </message>
    <message>
        <source>die Portnummer ist ungültig.</source>
        <translation>the port number is invalid.</translation>
    </message>
    <message>
        <source>der Name der Datenbank fehlt.</source>
        <translation>the name of the database is missing.</translation>
    </message>
    <message>
        <source>sie muss mit „postgresql://“ beginnen.</source>
        <translation>it must begin with “postgresql://”.</translation>
    </message>
</context>
<context>
    <name>TakeoverCommands</name>
    <message>
        <source>Die Datenbank „%1“ gibt es nicht; es wurde nichts kopiert.</source>
        <translation>The database “%1” does not exist; nothing was copied.</translation>
    </message>
</context>
<context>
    <name>TakeoverWriter</name>
    <message>
        <source>In die Datenbank %1 kann nicht geschrieben werden; es wurde nichts übernommen.</source>
        <translation>The database %1 cannot be written to; nothing was imported.</translation>
    </message>
    <message>
        <source>%1 Sportler, %2 Messungen, %3 Sprünge gefunden; %4 Messungen sind schon vorhanden. Übernehmen?</source>
        <translation>%1 athletes, %2 measurements, %3 jumps found; %4 measurements are already there. Import?</translation>
    </message>
    <message>
        <source>Sprung</source>
        <translation>jump</translation>
    </message>
    <message>
        <source>Sprünge</source>
        <translation>jumps</translation>
    </message>
    <message>
        <source>Messung</source>
        <translation>measurement</translation>
    </message>
    <message>
        <source>Messungen</source>
        <translation>measurements</translation>
    </message>
    <message>
        <source>Übernommen: %1 Sportler, %2, %3.</source>
        <translation>Imported: %1 athletes, %2, %3.</translation>
    </message>
    <message>
        <source>
%1 schon vorhanden.</source>
        <translation>
%1 already there.</translation>
    </message>
    <message>
        <source> war</source>
        <translation> was</translation>
    </message>
    <message>
        <source> waren</source>
        <translation> were</translation>
    </message>
    <message>
        <source>
Ausgelassen: %1 ohne Sportler, mit %2.</source>
        <translation>
Left out: %1 without an athlete, with %2.</translation>
    </message>
    <message>
        <source>Sprüngen</source>
        <translation>jumps</translation>
    </message>
    <message>
        <source>
Ausgelassen: %1 ohne Messung.</source>
        <translation>
Left out: %1 without a measurement.</translation>
    </message>
    <message>
        <source>
Ausgelassen: %1 unter einem Schlüssel, den mehrere Messungen teilen.</source>
        <translation>
Left out: %1 under a key that several measurements share.</translation>
    </message>
</context>
<context>
    <name>TestDayDialog</name>
    <message>
        <source>Testtag</source>
        <translation>Test day</translation>
    </message>
    <message>
        <source>Gruppe „%1“</source>
        <translation>Group “%1”</translation>
    </message>
    <message>
        <source>Die gelisteten Sportler (%1)</source>
        <translation>The listed athletes (%1)</translation>
    </message>
    <message>
        <source>keines</source>
        <translation>none</translation>
    </message>
    <message>
        <source>10/5</source>
        <translation>10/5</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil</source>
        <translation>Drop-height profile</translation>
    </message>
    <message>
        <source>Einzelsprung</source>
        <translation>Single jump</translation>
    </message>
    <message>
        <source>Serie</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>von Hand</source>
        <translation>by hand</translation>
    </message>
    <message>
        <source>nach Sprüngen</source>
        <translation>after jumps</translation>
    </message>
    <message>
        <source>nach Sekunden</source>
        <translation>after seconds</translation>
    </message>
    <message>
        <source>Anzahl der Sprünge oder Sekunden bis zum Serienende</source>
        <translation>Number of jumps or seconds until the series ends</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Sportler:</source>
        <translation>&amp;Athletes:</translation>
    </message>
    <message>
        <source>&amp;Protokoll:</source>
        <translation>&amp;Protocol:</translation>
    </message>
    <message>
        <source>&amp;Test:</source>
        <translation>&amp;Test:</translation>
    </message>
    <message>
        <source>&amp;Fallhöhe (cm):</source>
        <translation>&amp;Drop height (cm):</translation>
    </message>
    <message>
        <source>&amp;Messart:</source>
        <translation>&amp;Kind of run:</translation>
    </message>
    <message>
        <source>S&amp;erienende:</source>
        <translation>S&amp;eries end:</translation>
    </message>
    <message>
        <source>Fallhöhen (c&amp;m):</source>
        <translation>Drop heights (c&amp;m):</translation>
    </message>
    <message>
        <source>Versuche je &amp;Höhe:</source>
        <translation>Trials per &amp;height:</translation>
    </message>
    <message>
        <source>&amp;Versuche je Sportler:</source>
        <translation>T&amp;rials per athlete:</translation>
    </message>
    <message>
        <source>Testtag beginnen</source>
        <translation>Begin test day</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TestDayRepository</name>
    <message>
        <source>Bitte geben Sie dem Testtag einen Namen.</source>
        <translation>Please give the test day a name.</translation>
    </message>
    <message>
        <source>Der Name eines Testtags darf höchstens %1 Zeichen lang sein.</source>
        <translation>The name of a test day may be at most %1 characters long.</translation>
    </message>
    <message>
        <source>„Versuche je Sportler“ muss eine Zahl von %1 bis %2 sein.</source>
        <translation>“Trials per athlete” must be a number from %1 to %2.</translation>
    </message>
    <message>
        <source>Ein Testtag braucht mindestens einen Sportler. Wählen Sie eine Gruppe mit Sportlern, oder listen Sie die Sportler des Testtags auf.</source>
        <translation>A test day needs at least one athlete. Choose a group with athletes, or list the athletes of the test day.</translation>
    </message>
    <message>
        <source>Der Sportler gehört nicht zu diesem Testtag.</source>
        <translation>The athlete is not on this test day.</translation>
    </message>
</context>
<context>
    <name>TestEditDialog</name>
    <message>
        <source>Test und Fallhöhe ändern</source>
        <translation>Change test and drop height</translation>
    </message>
    <message>
        <source>Messung %1</source>
        <translation>Measurement %1</translation>
    </message>
    <message>
        <source>&amp;Test:</source>
        <translation>&amp;Test:</translation>
    </message>
    <message>
        <source>&amp;Fallhöhe (cm):</source>
        <translation>&amp;Drop height (cm):</translation>
    </message>
    <message>
        <source>Ändern</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TimingLink</name>
    <message>
        <source>Die Verbindung zum Messgerät ist unterbrochen (Kabel ausgesteckt?). Die bisher aufgezeichneten Sprünge sind gespeichert</source>
        <translation>The connection to the timing unit is broken (cable unplugged?). The jumps recorded so far are stored</translation>
    </message>
</context>
<context>
    <name>WorthwhileDialog</name>
    <message>
        <source>Kleinste bedeutsame Änderung</source>
        <translation>Smallest worthwhile change</translation>
    </message>
    <message>
        <source>Eine Änderung des besten RSI wird als echt markiert, wenn sie größer ist als dieser Wert und als der typische Fehler des Sportlers. Leer: 0,2 × Streuung der besten Werte der Gruppe.</source>
        <translation>A change of the best RSI is marked as real when it is larger than this value and than the athlete&apos;s typical error. Empty: 0.2 × the spread of the group&apos;s best values.</translation>
    </message>
    <message>
        <source>&amp;Kleinste bedeutsame Änderung (m/s):</source>
        <translation>&amp;Smallest worthwhile change (m/s):</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>WriteCheck</name>
    <message>
        <source>Messung nicht möglich , da nicht auf Datenbanken geschrieben werden kann.</source>
        <translation>Measurement not possible, as the database cannot be written to.</translation>
    </message>
</context>
<context>
    <name>analysis</name>
    <message>
        <source>Kennwert</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Differenz (gewählt − verglichen)</source>
        <translation>Difference (selected − compared)</translation>
    </message>
</context>
<context>
    <name>jumpcharts</name>
    <message>
        <source>Stützzeit (ms)</source>
        <translation>Contact time (ms)</translation>
    </message>
    <message>
        <source>Sprung</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>Höhe (cm)</source>
        <translation>Height (cm)</translation>
    </message>
    <message>
        <source>RSI (m/s)</source>
        <translation>RSI (m/s)</translation>
    </message>
    <message>
        <source>Kein Sportler mit gültigen Sprüngen im Zeitraum</source>
        <translation>No athlete with valid jumps in the period</translation>
    </message>
    <message>
        <source>Bester RSI (m/s)</source>
        <translation>Best RSI (m/s)</translation>
    </message>
    <message>
        <source>Bester RSI</source>
        <translation>Best RSI</translation>
    </message>
    <message>
        <source>Keine Messung gewählt</source>
        <translation>No measurement selected</translation>
    </message>
    <message>
        <source>Keine gültigen Sprünge</source>
        <translation>No valid jumps</translation>
    </message>
    <message>
        <source>Keine Messung mit gültigen Sprüngen</source>
        <translation>No measurement with valid jumps</translation>
    </message>
    <message>
        <source>Beste Höhe (cm)</source>
        <translation>Best height (cm)</translation>
    </message>
    <message>
        <source>Verlauf</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Typischer Fehler (RSI)</source>
        <translation>Typical error (RSI)</translation>
    </message>
    <message>
        <source>Vergleich</source>
        <translation>Comparison</translation>
    </message>
    <message>
        <source>Optimale Fallhöhe</source>
        <translation>Optimal drop height</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil</source>
        <translation>Drop-height profile</translation>
    </message>
    <message>
        <source>Fallhöhe (cm)</source>
        <translation>Drop height (cm)</translation>
    </message>
    <message>
        <source>cm</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>m/s</source>
        <translation>m/s</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Optimum nach Höhe</source>
        <translation>Optimum by height</translation>
    </message>
    <message>
        <source>Optimum nach RSI</source>
        <translation>Optimum by RSI</translation>
    </message>
    <message>
        <source>Echte Änderung</source>
        <translation>Real change</translation>
    </message>
</context>
<context>
    <name>progress</name>
    <message>
        <source>Ohne Test</source>
        <translation>Without test</translation>
    </message>
    <message>
        <source>Serien</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Einzelmessungen</source>
        <translation>Single measurements</translation>
    </message>
    <message>
        <source>%1 m/s</source>
        <translation>%1 m/s</translation>
    </message>
    <message>
        <source>%1 cm</source>
        <translation>%1 cm</translation>
    </message>
    <message>
        <source>des besten RSI</source>
        <translation>of the best RSI</translation>
    </message>
    <message>
        <source>der besten Höhe</source>
        <translation>of the best height</translation>
    </message>
    <message>
        <source>Uhrzeit am %1</source>
        <translation>Time on %1</translation>
    </message>
    <message>
        <source>Datum (%1)</source>
        <translation>Date (%1)</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Band: typischer Fehler %1 ± %2 (%3)</source>
        <translation>Band: typical error %1 ± %2 (%3)</translation>
    </message>
    <message>
        <source>%1; ohne kleinste bedeutsame Änderung (die Gruppen des Sportlers haben keine zwei Sportler mit diesem Test) ist keine Änderung markiert.</source>
        <translation>%1; without a smallest worthwhile change (the athlete&apos;s groups have no two athletes with this test) no change is marked.</translation>
    </message>
    <message numerus="yes">
        <source>%1; %2; %n Änderung(en) größer als beide markiert.</source>
        <translation>
            <numerusform>%1; %2; %n change larger than both marked.</numerusform>
            <numerusform>%1; %2; %n changes larger than both marked.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>protocolresults</name>
    <message>
        <source>%1 cm</source>
        <translation>%1 cm</translation>
    </message>
    <message>
        <source>Protokoll 10/5</source>
        <translation>Protocol 10/5</translation>
    </message>
    <message>
        <source>RSI (m/s)</source>
        <translation>RSI (m/s)</translation>
    </message>
    <message>
        <source>Mittlere Stützzeit (ms)</source>
        <translation>Mean contact time (ms)</translation>
    </message>
    <message>
        <source>Mittlere Höhe (cm)</source>
        <translation>Mean height (cm)</translation>
    </message>
    <message>
        <source>Die 5 besten Sprünge</source>
        <translation>The 5 best jumps</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil</source>
        <translation>Drop-height profile</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil vom %1</source>
        <translation>Drop-height profile of %1</translation>
    </message>
    <message>
        <source>Optimale Fallhöhe nach RSI</source>
        <translation>Optimal drop height by RSI</translation>
    </message>
    <message>
        <source>Optimale Fallhöhe nach Sprunghöhe</source>
        <translation>Optimal drop height by jump height</translation>
    </message>
    <message>
        <source>Fallhöhe (cm)</source>
        <translation>Drop height (cm)</translation>
    </message>
    <message>
        <source>Versuche</source>
        <translation>Trials</translation>
    </message>
    <message>
        <source>Bester RSI (m/s)</source>
        <translation>Best RSI (m/s)</translation>
    </message>
    <message>
        <source>Stützzeit beim besten RSI (ms)</source>
        <translation>Contact time at the best RSI (ms)</translation>
    </message>
    <message>
        <source>Beste Höhe (cm)</source>
        <translation>Best height (cm)</translation>
    </message>
    <message>
        <source>keine (kein gültiger Sprung)</source>
        <translation>none (no valid jump)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>protocolrun</name>
    <message>
        <source>RSI (beste %1 von %2): %3 · Stützzeit %4 ms · Höhe %5 cm · Sprünge %6</source>
        <translation>RSI (best %1 of %2): %3 · contact time %4 ms · height %5 cm · jumps %6</translation>
    </message>
    <message>
        <source>Geben Sie die Fallhöhen des Profils in cm an, zum Beispiel „20, 30, 40, 50, 60“.</source>
        <translation>Enter the profile&apos;s drop heights in cm, for example “20, 30, 40, 50, 60”.</translation>
    </message>
    <message>
        <source>Ein Profil hat höchstens %1 Fallhöhen, angegeben sind %2.</source>
        <translation>A profile has at most %1 drop heights; %2 are given.</translation>
    </message>
    <message>
        <source>„%1“ ist keine Fallhöhe: jede Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein.</source>
        <translation>“%1” is not a drop height: every drop height must be a whole number from 0 to 150 cm.</translation>
    </message>
    <message>
        <source>Die Fallhöhen müssen ansteigen: auf %1 cm folgt %2 cm.</source>
        <translation>The drop heights must rise: %1 cm is followed by %2 cm.</translation>
    </message>
    <message>
        <source>%1 cm, Versuch %2 von %3</source>
        <translation>%1 cm, trial %2 of %3</translation>
    </message>
    <message>
        <source>%1 cm: kein gültiger Sprung</source>
        <translation>%1 cm: no valid jump</translation>
    </message>
    <message>
        <source>%1 cm: bester RSI %2 · beste Höhe %3 cm · mittlere Stützzeit %4 ms</source>
        <translation>%1 cm: best RSI %2 · best height %3 cm · mean contact time %4 ms</translation>
    </message>
    <message>
        <source>Alle Versuche gemessen: „Profil beenden“ zeigt das Ergebnis.</source>
        <translation>All trials measured: “End profile” shows the result.</translation>
    </message>
    <message>
        <source>In „%1“ fehlt eine Fallhöhe zwischen zwei Kommas.</source>
        <translation>In “%1” a drop height is missing between two commas.</translation>
    </message>
</context>
<context>
    <name>realchange</name>
    <message>
        <source>Kein Band: der typische Fehler braucht mindestens %1 Wiederholungen desselben Tests am selben Tag, es gibt %2.</source>
        <translation>No band: the typical error needs at least %1 repetitions of the same test on the same day, there are %2.</translation>
    </message>
    <message>
        <source>Kein Band: der typische Fehler braucht mindestens %1 Paare aufeinander folgender Messungen desselben Tests und derselben Fallhöhe, es gibt %2.</source>
        <translation>No band: the typical error needs at least %1 pairs of consecutive measurements of the same test and drop height, there are %2.</translation>
    </message>
    <message>
        <source>Kein Band: die Werte sind zu groß.</source>
        <translation>No band: the values are too large.</translation>
    </message>
    <message>
        <source>aus %1 Wiederholungen am selben Tag</source>
        <translation>from %1 repetitions on the same day</translation>
    </message>
    <message>
        <source>aus %1 Paaren aufeinander folgender Messungen, da keine am selben Tag wiederholt wurde</source>
        <translation>from %1 pairs of consecutive measurements, as none was repeated on the same day</translation>
    </message>
    <message>
        <source>kleinste bedeutsame Änderung %1 %2 (0,2 × Streuung der besten Werte der Gruppe)</source>
        <translation>smallest worthwhile change %1 %2 (0.2 × spread of the group&apos;s best values)</translation>
    </message>
    <message>
        <source>Kein Band: der typische Fehler braucht mindestens %1 Test–Retest-Paare, es gibt %2.</source>
        <translation>No band: the typical error needs at least %1 test–retest pairs, there are %2.</translation>
    </message>
    <message>
        <source>Die kleinste bedeutsame Änderung muss eine Zahl größer als 0 und höchstens 10 sein, zum Beispiel 0,05.</source>
        <translation>The smallest worthwhile change must be a number greater than 0 and at most 10, for example 0.05.</translation>
    </message>
    <message>
        <source>aus %1 Test–Retest-Paaren, davon %2 markiert</source>
        <translation>from %1 test–retest pairs, %2 of them marked</translation>
    </message>
    <message>
        <source>kleinste bedeutsame Änderung %1 %2 (für diesen Test festgelegt)</source>
        <translation>smallest worthwhile change %1 %2 (set for this test)</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Fallhöhe (cm)</source>
        <translation>Drop height (cm)</translation>
    </message>
    <message>
        <source>Teambericht: %1</source>
        <translation>Team report: %1</translation>
    </message>
    <message>
        <source>ohne Vergleich</source>
        <translation>no comparison</translation>
    </message>
    <message>
        <source>besser</source>
        <translation>better</translation>
    </message>
    <message>
        <source>schlechter</source>
        <translation>worse</translation>
    </message>
    <message>
        <source>unverändert</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>Höhe %1 cm</source>
        <translation>height %1 cm</translation>
    </message>
    <message>
        <source>RSI %1</source>
        <translation>RSI %1</translation>
    </message>
    <message>
        <source>Stützzeit %1 ms</source>
        <translation>contact time %1 ms</translation>
    </message>
    <message>
        <source>1 Messung</source>
        <translation>1 measurement</translation>
    </message>
    <message>
        <source>%1 Messungen</source>
        <translation>%1 measurements</translation>
    </message>
    <message>
        <source>Trend: %1</source>
        <translation>Trend: %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Vorname</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Geb. am</source>
        <translation>Date of birth</translation>
    </message>
    <message>
        <source>Geschlecht</source>
        <translation>Sex</translation>
    </message>
    <message>
        <source>Bemerkung</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>männl.</source>
        <translation>male</translation>
    </message>
    <message>
        <source>weibl.</source>
        <translation>female</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Sprünge</source>
        <translation>Jumps</translation>
    </message>
    <message>
        <source>Beste Höhe (cm)</source>
        <translation>Best height (cm)</translation>
    </message>
    <message>
        <source>Bester RSI (m/s)</source>
        <translation>Best RSI (m/s)</translation>
    </message>
    <message>
        <source>Mittlere Stützzeit (ms)</source>
        <translation>Mean contact time (ms)</translation>
    </message>
    <message>
        <source>Stützzeit (ms)</source>
        <translation>Contact time (ms)</translation>
    </message>
    <message>
        <source>Flugzeit (ms)</source>
        <translation>Flight time (ms)</translation>
    </message>
    <message>
        <source>Höhe (cm)</source>
        <translation>Height (cm)</translation>
    </message>
    <message>
        <source>RSI (m/s)</source>
        <translation>RSI (m/s)</translation>
    </message>
    <message>
        <source>Ausschluss</source>
        <translation>Exclusion</translation>
    </message>
    <message>
        <source>ausgeschlossen</source>
        <translation>excluded</translation>
    </message>
    <message>
        <source>Serie</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Einzel</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>Messung Nr. %1 (%2)</source>
        <translation>Measurement no. %1 (%2)</translation>
    </message>
    <message>
        <source> vom %1, %2</source>
        <translation> of %1, %2</translation>
    </message>
    <message>
        <source>%1: keine Messung des Tests im Zeitraum</source>
        <translation>%1: no measurement of the test in the period</translation>
    </message>
</context>
<context>
    <name>reportpdf</name>
    <message>
        <source>Bericht: %1, %2</source>
        <translation>Report: %1, %2</translation>
    </message>
    <message>
        <source>Bericht speichern</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>PDF-Datei|*.pdf</source>
        <translation>PDF file|*.pdf</translation>
    </message>
    <message>
        <source>Bericht wird erstellt … %1 von %2 Messungen</source>
        <translation>Making the report … %1 of %2 measurements</translation>
    </message>
    <message>
        <source>Teambericht speichern</source>
        <translation>Save team report</translation>
    </message>
    <message>
        <source>Für diesen Sportler sind keine Messungen gespeichert.</source>
        <translation>No measurements are stored for this athlete.</translation>
    </message>
    <message>
        <source>Verlauf</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Kennwert</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Sprünge der Messung Nr. %1</source>
        <translation>Jumps of measurement no. %1</translation>
    </message>
    <message>
        <source>Je Fallhöhe</source>
        <translation>Per drop height</translation>
    </message>
    <message>
        <source>Messungen</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Die Gruppe hat keine Sportler.</source>
        <translation>The group has no athletes.</translation>
    </message>
    <message>
        <source>Rangliste</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>Bester RSI</source>
        <translation>Best RSI</translation>
    </message>
    <message>
        <source>Sportler</source>
        <translation>Athletes</translation>
    </message>
    <message>
        <source>Bericht vom %1</source>
        <translation>Report dated %1</translation>
    </message>
    <message>
        <source>Seite %1 von %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>tableexport</name>
    <message>
        <source>Es ist kein Sportler zum Exportieren da.</source>
        <translation>There is no athlete to export.</translation>
    </message>
    <message>
        <source>Alle an&amp;gezeigten Sportler</source>
        <translation>All &amp;listed athletes</translation>
    </message>
    <message>
        <source>&amp;Gruppe &quot;%1&quot;</source>
        <translation>&amp;Group &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Welche Sportler sollen exportiert werden?</source>
        <translation>Which athletes shall be exported?</translation>
    </message>
    <message>
        <source>&amp;Ausgewählter Sportler</source>
        <translation>&amp;Selected athlete</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Sportler</source>
        <translation>Athletes</translation>
    </message>
    <message>
        <source>Tabelle (CSV, UTF-8) exportieren</source>
        <translation>Export table (CSV, UTF-8)</translation>
    </message>
    <message>
        <source>Arbeitsmappe (Excel) exportieren</source>
        <translation>Export workbook (Excel)</translation>
    </message>
    <message>
        <source>Tabelle (CSV)|*.csv</source>
        <translation>Table (CSV)|*.csv</translation>
    </message>
    <message>
        <source>Excel-Arbeitsmappe|*.xlsx</source>
        <translation>Excel workbook|*.xlsx</translation>
    </message>
    <message>
        <source>Export läuft … %1 von %2 Sportlern</source>
        <translation>Exporting … %1 of %2 athletes</translation>
    </message>
</context>
<context>
    <name>testday</name>
    <message>
        <source>Der Testtag ist nicht mehr gespeichert.</source>
        <translation>The test day is no longer stored.</translation>
    </message>
    <message>
        <source>%1 gehört nicht zum Testtag „%2“. Wählen Sie einen Sportler der Startliste.</source>
        <translation>%1 is not on the test day “%2”. Choose an athlete of the start list.</translation>
    </message>
    <message>
        <source>%1 hat den Testtag beendet.</source>
        <translation>%1 has ended the test day.</translation>
    </message>
    <message>
        <source>%1 hat alle Versuche des Testtags gemacht.</source>
        <translation>%1 has made all trials of the test day.</translation>
    </message>
    <message>
        <source>10/5</source>
        <translation>10/5</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil</source>
        <translation>Drop-height profile</translation>
    </message>
    <message>
        <source> %1 cm</source>
        <translation> %1 cm</translation>
    </message>
    <message>
        <source>Fallhöhen-Profil %1 cm · Versuche je Höhe: %2</source>
        <translation>Drop-height profile %1 cm · trials per height: %2</translation>
    </message>
    <message>
        <source>Einzelsprung</source>
        <translation>Single jump</translation>
    </message>
    <message>
        <source>Serie bis %1 Sprünge</source>
        <translation>Series up to %1 jumps</translation>
    </message>
    <message>
        <source>Serie bis %1 s</source>
        <translation>Series up to %1 s</translation>
    </message>
    <message>
        <source>Serie, Ende von Hand</source>
        <translation>Series, ended by hand</translation>
    </message>
    <message>
        <source>Versuche je Sportler: %1</source>
        <translation>Trials per athlete: %1</translation>
    </message>
    <message>
        <source>beendet nach %1</source>
        <translation>ended after %1</translation>
    </message>
    <message>
        <source>fertig</source>
        <translation>done</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 of %2</translation>
    </message>
</context>
<context>
    <name>textexport</name>
    <message>
        <source>einzelnen Sportler exportieren</source>
        <translation>export one athlete</translation>
    </message>
    <message>
        <source>Textdatei|*.txt</source>
        <translation>Text file|*.txt</translation>
    </message>
    <message>
        <source>alle Sportler exportieren</source>
        <translation>export all athletes</translation>
    </message>
    <message>
        <source>Sportler</source>
        <translation>Athletes</translation>
    </message>
    <message>
        <source>Export läuft … %1 von %2 Sportlern</source>
        <translation>Exporting … %1 of %2 athletes</translation>
    </message>
</context>
<context>
    <name>tidyexport</name>
    <message>
        <source>Die Gruppe &quot;%1&quot; gibt es nicht.</source>
        <translation>There is no group &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>workbook</name>
    <message>
        <source>Zu wenig Speicher.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>Eine Arbeitsmappe fasst höchstens %1 Sprünge; bitte weniger Sportler exportieren.</source>
        <translation>A workbook holds at most %1 jumps; please export fewer athletes.</translation>
    </message>
    <message>
        <source>Die Arbeitsmappe kann nicht zusammengesetzt werden.</source>
        <translation>The workbook cannot be put together.</translation>
    </message>
    <message>
        <source>Die Arbeitsmappe ist unvollständig geblieben; vielleicht ist der Datenträger voll.</source>
        <translation>The workbook remained incomplete; the disk may be full.</translation>
    </message>
</context>
</TS>
