<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>Branding</name>
    <message>
        <source>is not a picture this program can show (%1). Use a GIF, PNG, JPEG or BMP file</source>
        <translation>ist kein Bild, das dieses Programm zeigen kann (%1). Verwenden Sie eine GIF-, PNG-, JPEG- oder BMP-Datei</translation>
    </message>
    <message>
        <source>The branding file %1 %2

Correct the file as the user manual describes (Help &gt; Contents, &quot;Branding file&quot;) and choose Retry, or choose Ignore to go on with the built-in branding where the file gives nothing usable.</source>
        <translation>Die Branding-Datei %1 %2

Korrigieren Sie die Datei, wie es das Benutzerhandbuch beschreibt (Hilfe &gt; Inhalt, „Branding file“), und wählen Sie „Wiederholen“, oder wählen Sie „Ignorieren“, um mit dem eingebauten Branding weiterzumachen, wo die Datei nichts Brauchbares liefert.</translation>
    </message>
    <message>
        <source>is a folder, not a text file.</source>
        <translation>ist ein Ordner, keine Textdatei.</translation>
    </message>
    <message>
        <source>is not a regular file (it is a pipe, a device or the like), so it is not read.</source>
        <translation>ist keine gewöhnliche Datei (sondern eine Pipe, ein Gerät oder Ähnliches) und wird daher nicht gelesen.</translation>
    </message>
    <message>
        <source>cannot be read (%1).</source>
        <translation>kann nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>is larger than %1 KB, far too large for a branding file.</source>
        <translation>ist größer als %1 KB, viel zu groß für eine Branding-Datei.</translation>
    </message>
    <message>
        <source>is empty.</source>
        <translation>ist leer.</translation>
    </message>
    <message>
        <source>has no separator line (a line starting with &quot;!&quot;) after the splash lines, so it gives no company details.</source>
        <translation>hat nach den Startbild-Zeilen keine Trennzeile (eine Zeile, die mit „!“ beginnt) und liefert daher keine Firmenangaben.</translation>
    </message>
    <message>
        <source>has no splash lines (label, font name, font size, font style, logo).</source>
        <translation>hat keine Startbild-Zeilen (Beschriftung, Schriftart, Schriftgröße, Schriftstil, Logo).</translation>
    </message>
    <message>
        <source>has only %1 of the 5 splash lines (label, font name, font size, font style, logo).</source>
        <translation>hat nur %1 der 5 Startbild-Zeilen (Beschriftung, Schriftart, Schriftgröße, Schriftstil, Logo).</translation>
    </message>
    <message>
        <source>has no company lines after the separator; the built-in company details are used.</source>
        <translation>hat nach der Trennzeile keine Firmenzeilen; die eingebauten Firmenangaben werden verwendet.</translation>
    </message>
    <message>
        <source>has %1 company lines; only the first %2 are used.</source>
        <translation>hat %1 Firmenzeilen; nur die ersten %2 werden verwendet.</translation>
    </message>
    <message>
        <source>has an empty company name (the first line after the separator); %1 is used.</source>
        <translation>hat einen leeren Firmennamen (die erste Zeile nach der Trennzeile); %1 wird verwendet.</translation>
    </message>
    <message>
        <source>The font size %1 on line %2 of the branding file %3 is not a number from %4 to %5.

Correct the line and choose Retry, or choose Ignore to show the label at %6 points.</source>
        <translation>Die Schriftgröße %1 in Zeile %2 der Branding-Datei %3 ist keine Zahl von %4 bis %5.

Korrigieren Sie die Zeile und wählen Sie „Wiederholen“, oder wählen Sie „Ignorieren“, um die Beschriftung in %6 Punkt zu zeigen.</translation>
    </message>
    <message>
        <source> (line %1 of the branding file %2)</source>
        <translation> (Zeile %1 der Branding-Datei %2)</translation>
    </message>
    <message>
        <source>The logo picture %1%2 %3.

Put the picture there or correct the line, then choose Retry; or choose Ignore to start without a logo.</source>
        <translation>Das Logobild %1%2 %3.

Legen Sie das Bild dorthin oder korrigieren Sie die Zeile und wählen Sie dann „Wiederholen“; oder wählen Sie „Ignorieren“, um ohne Logo zu starten.</translation>
    </message>
    <message>
        <source>does not exist</source>
        <translation>existiert nicht</translation>
    </message>
    <message>
        <source>is not a file</source>
        <translation>ist keine Datei</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Copyright © 2004-2024 Velmont Sensors, Inc. All rights reserved.</source>
        <translation>Copyright © 2004-2024 Velmont Sensors, Inc. Alle Rechte vorbehalten.</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>Default Values</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source> - Downloaded Data</source>
        <translation> - Heruntergeladene Daten</translation>
    </message>
    <message>
        <source>Data Buffer Empty</source>
        <translation>Datenpuffer leer</translation>
    </message>
</context>
<context>
    <name>EditorDialog</name>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>EditorFields</name>
    <message>
        <source>Cancel was selected.</source>
        <translation>Abbrechen wurde gewählt.</translation>
    </message>
    <message>
        <source>%1: %2, %3, %4</source>
        <extracomment>A colour swatch as a screen reader says it: its caption, then red, green and blue (0-255).</extracomment>
        <translation>%1: %2, %3, %4</translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>All Files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>This file already exists.</source>
        <translation>Diese Datei ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>Datei nicht gefunden.</translation>
    </message>
    <message>
        <source>File Open</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Canceled File Open</source>
        <translation>Öffnen der Datei abgebrochen</translation>
    </message>
    <message>
        <source>Replace existing file?</source>
        <translation>Vorhandene Datei ersetzen?</translation>
    </message>
    <message>
        <source>File Save</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Canceled File Save</source>
        <translation>Speichern der Datei abgebrochen</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Data buffer empty.</source>
        <translation>Der Datenpuffer ist leer.</translation>
    </message>
    <message>
        <source>Save Data File</source>
        <translation>Datendatei speichern</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Data buffer not empty. OK to overwrite?</source>
        <translation>Der Datenpuffer ist nicht leer. Überschreiben?</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Loaded %1 to buffer. Ready for editing or upload.</source>
        <translation>%1 in den Puffer geladen. Bereit zum Bearbeiten oder Hochladen.</translation>
    </message>
    <message>
        <source>This configuration has changes that are not saved.</source>
        <translation>Diese Konfiguration hat Änderungen, die nicht gespeichert sind.</translation>
    </message>
    <message>
        <source>Do you want to save them?</source>
        <translation>Möchten Sie sie speichern?</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Revora Shift Help</source>
        <translation>Revora Shift – Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
</context>
<context>
    <name>ParameterEditor</name>
    <message>
        <source>Shift Light Setup</source>
        <translation>Schaltblitz-Einstellungen</translation>
    </message>
    <message>
        <source>Shift Light Color</source>
        <translation>Farbe Schaltblitz</translation>
    </message>
    <message>
        <source>Pick Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Shift RPM</source>
        <translation>Schaltdrehzahl</translation>
    </message>
    <message>
        <source>Multi-Stage Shift Light Setup</source>
        <translation>Mehrstufiger Schaltblitz – Einstellungen</translation>
    </message>
    <message>
        <source>Launch Light Color</source>
        <translation>Farbe Launch-Licht</translation>
    </message>
    <message>
        <source>Minimum VSS</source>
        <translation>Min. Geschw.</translation>
    </message>
    <message>
        <source>Short Shift Window</source>
        <translation>Short-Shift-Fenster</translation>
    </message>
    <message>
        <source>Minimum Shift Drop</source>
        <translation>Mindest-Drehzahlabfall</translation>
    </message>
    <message>
        <source>RPM</source>
        <translation>U/min</translation>
    </message>
    <message>
        <source>Gear %1 Shift</source>
        <translation>Schaltpunkt %1. Gang</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>A field by its row and column, for a screen reader: &quot;Gear 1 Shift, Minimum VSS&quot;.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Launch</source>
        <extracomment>The row of the launch RPM field.</extracomment>
        <translation>Launch</translation>
    </message>
    <message>
        <source>Scale Factors and General Setup</source>
        <translation>Skalierung und allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Up to 32 characters: letters, digits, blanks and punctuation</source>
        <translation>Bis zu 32 Zeichen: Buchstaben ohne Umlaute, Ziffern, Leerzeichen und Satzzeichen</translation>
    </message>
    <message>
        <source>Multi-Stage Shift Light</source>
        <translation>Mehrstufiger Schaltblitz</translation>
    </message>
    <message>
        <source>VSS Based Gear Detection</source>
        <translation>Gangerkennung über Geschwindigkeit (VSS)</translation>
    </message>
    <message>
        <source>Data Logging Only When Armed</source>
        <translation>Datenaufzeichnung nur wenn scharf geschaltet</translation>
    </message>
    <message>
        <source>RPM Pulses/Rev (0.5-12)</source>
        <translation>Drehzahlimpulse je Umdrehung (0.5-12)</translation>
    </message>
    <message>
        <source>VSS Frequency (Hz)  at 60 MPH</source>
        <translation>VSS-Frequenz (Hz) bei 60 MPH</translation>
    </message>
    <message>
        <source>Zero TPS (0-5 volts)</source>
        <translation>TPS 0 % (0-5 Volt)</translation>
    </message>
    <message>
        <source>100% TPS (0-5 volts)</source>
        <translation>TPS 100 % (0-5 Volt)</translation>
    </message>
    <message>
        <source>Data Logging Interval (0.1-1.0 sec)</source>
        <translation>Aufzeichnungsintervall (0.1-1.0 s)</translation>
    </message>
    <message>
        <source>RPM Debounce (msec)</source>
        <translation>Drehzahl-Entprellung (ms)</translation>
    </message>
    <message>
        <source>Minimum LED Brightness (5-100%)</source>
        <translation>Minimale LED-Helligkeit (5-100 %)</translation>
    </message>
    <message>
        <source>Maximum LED Brightness (10-100%)</source>
        <translation>Maximale LED-Helligkeit (10-100 %)</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>Benutzerdaten</translation>
    </message>
</context>
<context>
    <name>PortPanel</name>
    <message>
        <source>Data Port Setup</source>
        <translation>Datenport einrichten</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 (present)</source>
        <translation>%1 (vorhanden)</translation>
    </message>
    <message>
        <source>%1 (not found: connect the adapter or choose another port)</source>
        <translation>%1 (nicht gefunden: Adapter anschließen oder einen anderen Port wählen)</translation>
    </message>
</context>
<context>
    <name>ProgressPanel</name>
    <message>
        <source>Programming</source>
        <translation>Programmieren</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>Open Data File</source>
        <translation>Datendatei öffnen</translation>
    </message>
    <message>
        <source>File not found. It is taken off the recent files.</source>
        <translation>Datei nicht gefunden. Sie wird aus den zuletzt verwendeten Dateien entfernt.</translation>
    </message>
</context>
<context>
    <name>ShiftChart</name>
    <message>
        <source>%1 MPH</source>
        <translation>%1 MPH</translation>
    </message>
    <message>
        <source>Gear %1: %2 RPM</source>
        <translation>%1. Gang: %2 U/min</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>A gear&apos;s shift point and its minimum speed: &quot;Gear 1: 6500 RPM, 30 MPH&quot;.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Launch: %1 RPM</source>
        <translation>Launch: %1 U/min</translation>
    </message>
    <message>
        <source>Shift RPM per gear; the line is the launch RPM</source>
        <translation>Schaltdrehzahl je Gang; die Linie ist die Launch-Drehzahl</translation>
    </message>
    <message>
        <source>Shift points</source>
        <translation>Schaltpunkte</translation>
    </message>
    <message>
        <source>Launch</source>
        <extracomment>The caption on the chart&apos;s launch RPM line.</extracomment>
        <translation>Launch</translation>
    </message>
</context>
<context>
    <name>StartPanel</name>
    <message>
        <source>No configuration is loaded. Start with one of these:</source>
        <translation>Es ist keine Konfiguration geladen. Beginnen Sie mit einem dieser Schritte:</translation>
    </message>
    <message>
        <source>Downloads use %1</source>
        <translation>Downloads verwenden %1</translation>
    </message>
    <message>
        <source>Downloads use %1, which is not found: connect the adapter or choose the port in Communications &gt; Port Setup.</source>
        <translation>Downloads verwenden %1, der nicht gefunden wird: Adapter anschließen oder den Port unter Kommunikation &gt; Port einrichten wählen.</translation>
    </message>
    <message>
        <source>Use %1</source>
        <translation>%1 verwenden</translation>
    </message>
</context>
<context>
    <name>Transfers</name>
    <message>
        <source>The controller&apos;s configuration is kept in %1.</source>
        <translation>Die Konfiguration des Steuergeräts ist in %1 gesichert.</translation>
    </message>
    <message>
        <source>The controller already holds this configuration. Upload it all the same?</source>
        <translation>Das Steuergerät enthält diese Konfiguration bereits. Trotzdem hochladen?</translation>
    </message>
    <message>
        <source>The upload will make these changes. Go on?</source>
        <translation>Der Upload nimmt diese Änderungen vor. Fortfahren?</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Controller now</source>
        <translation>Steuergerät jetzt</translation>
    </message>
    <message>
        <source>After the upload</source>
        <translation>Nach dem Upload</translation>
    </message>
    <message>
        <source>The controller and this configuration differ in one place:</source>
        <translation>Das Steuergerät und diese Konfiguration unterscheiden sich an einer Stelle:</translation>
    </message>
    <message>
        <source>The controller and this configuration differ in %1 places:</source>
        <translation>Das Steuergerät und diese Konfiguration unterscheiden sich an %1 Stellen:</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Steuergerät</translation>
    </message>
    <message>
        <source>This configuration</source>
        <translation>Diese Konfiguration</translation>
    </message>
    <message>
        <source>Offset %1</source>
        <translation>Offset %1</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Verbinde mit %1 …</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
</context>
<context>
    <name>datafile</name>
    <message>
        <source>Overflow: %1 at image offset %2 does not fit (value %3). %4</source>
        <translation>Überlauf: %1 an Image-Offset %2 passt nicht (Wert %3). %4</translation>
    </message>
    <message>
        <source>This configuration cannot be loaded; use another file, or upload a good configuration to the controller.</source>
        <translation>Diese Konfiguration kann nicht geladen werden; verwenden Sie eine andere Datei oder laden Sie eine gültige Konfiguration ins Steuergerät hoch.</translation>
    </message>
    <message>
        <source>The data was left unchanged; correct the value or use another file.</source>
        <translation>Die Daten blieben unverändert; korrigieren Sie den Wert oder verwenden Sie eine andere Datei.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (it is a folder, a device or a pipe). Choose a parameter data file.</source>
        <translation>%1 ist keine gewöhnliche Datei (sondern ein Ordner, ein Gerät oder eine Pipe). Wählen Sie eine Parameter-Datendatei.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2. The existing file was not changed.</source>
        <translation>%1 kann nicht geschrieben werden: %2. Die vorhandene Datei wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Internal error: a data file holds %1 bytes, not %2.</source>
        <translation>Interner Fehler: Eine Datendatei enthält %1 Bytes, nicht %2.</translation>
    </message>
    <message>
        <source>Cannot write %1: it is not a regular file (a folder, a device or a pipe). It was not changed; choose another file name.</source>
        <translation>%1 kann nicht geschrieben werden: Es ist keine gewöhnliche Datei (sondern ein Ordner, ein Gerät oder eine Pipe). Sie wurde nicht verändert; wählen Sie einen anderen Dateinamen.</translation>
    </message>
</context>
<context>
    <name>fieldrules</name>
    <message>
        <source>RPM</source>
        <translation>U/min</translation>
    </message>
    <message>
        <source>zero</source>
        <translation>null</translation>
    </message>
    <message>
        <source>Shift RPM</source>
        <translation>Schaltdrehzahl</translation>
    </message>
    <message>
        <source>Minimum VSS</source>
        <translation>Mindestgeschwindigkeit</translation>
    </message>
    <message>
        <source>Short Shift RPM</source>
        <translation>Short-Shift-Drehzahl</translation>
    </message>
    <message>
        <source>Shift Drop RPM</source>
        <translation>Drehzahlabfall beim Schalten</translation>
    </message>
    <message>
        <source>Launch RPM</source>
        <translation>Launch-Drehzahl</translation>
    </message>
    <message>
        <source>RPM Pulses Per Revolution</source>
        <translation>Drehzahlimpulse je Umdrehung</translation>
    </message>
    <message>
        <source>pulses/rev</source>
        <translation>Impulse/U</translation>
    </message>
    <message>
        <source>VSS Frequency</source>
        <translation>VSS-Frequenz</translation>
    </message>
    <message>
        <source>TPS Zero</source>
        <translation>TPS 0 %</translation>
    </message>
    <message>
        <source>TPS Fullscale</source>
        <translation>TPS 100 %</translation>
    </message>
    <message>
        <source>Data Logging Interval</source>
        <translation>Aufzeichnungsintervall</translation>
    </message>
    <message>
        <source>RPM Debounce Time</source>
        <translation>Drehzahl-Entprellzeit</translation>
    </message>
    <message>
        <source>LED PWM</source>
        <translation>LED-Helligkeit (PWM)</translation>
    </message>
    <message>
        <source>Alarm Delay</source>
        <translation>Alarmverzögerung</translation>
    </message>
    <message>
        <source>Alarm Minimum RPM</source>
        <translation>Alarm-Mindestdrehzahl</translation>
    </message>
    <message>
        <source>Alarm Minimum TPS</source>
        <translation>Alarm-Mindest-Drosselklappe</translation>
    </message>
    <message>
        <source>Alarm Minimum VSS</source>
        <translation>Alarm-Mindestgeschwindigkeit</translation>
    </message>
    <message>
        <source>Minimum RPM</source>
        <translation>Mindestdrehzahl</translation>
    </message>
    <message>
        <source>Maximum RPM</source>
        <translation>Höchstdrehzahl</translation>
    </message>
    <message>
        <source>Off TPS</source>
        <translation>Drosselklappe aus</translation>
    </message>
    <message>
        <source>On TPS</source>
        <translation>Drosselklappe ein</translation>
    </message>
    <message>
        <source>Maximum VSS</source>
        <translation>Höchstgeschwindigkeit</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message>
        <source>TPS Off</source>
        <translation>Drosselklappe aus</translation>
    </message>
    <message>
        <source>TPS On</source>
        <translation>Drosselklappe ein</translation>
    </message>
    <message>
        <source>Overflow: at this TPS calibration the GPO&apos;s %1 point (%2 %) gives no usable TPS count. Nothing was changed; correct %1 in Edit &gt; GPO Parameters first.</source>
        <translation>Überlauf: Bei dieser TPS-Kalibrierung ergibt der GPO-Punkt „%1“ (%2 %) keinen brauchbaren TPS-Wert. Es wurde nichts geändert; korrigieren Sie zuerst „%1“ unter Bearbeiten &gt; GPO-Parameter bearbeiten.</translation>
    </message>
    <message>
        <source>At this TPS calibration the GPO&apos;s %1 point is TPS count %2, which the controller cannot store. Correct %1 in Edit &gt; GPO Parameters.</source>
        <translation>Bei dieser TPS-Kalibrierung liegt der GPO-Punkt „%1“ beim TPS-Wert %2, den das Steuergerät nicht speichern kann. Korrigieren Sie „%1“ unter Bearbeiten &gt; GPO-Parameter bearbeiten.</translation>
    </message>
    <message>
        <source>GPO Parameters</source>
        <translation>GPO-Parameter</translation>
    </message>
    <message>
        <source>Overflow: this TPS calibration gives no usable TPS count.</source>
        <translation>Überlauf: Diese TPS-Kalibrierung ergibt keinen brauchbaren TPS-Wert.</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>A field&apos;s tooltip, its range: &quot;1000 to 20000&quot;.</extracomment>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not taken: type a decimal point, not a comma (1.5), and no thousands separator (6500). The field keeps its value.</source>
        <translation>„%1“ wurde nicht übernommen: Geben Sie einen Dezimalpunkt ein, kein Komma (1.5), und kein Tausendertrennzeichen (6500). Das Feld behält seinen Wert.</translation>
    </message>
    <message>
        <source>Value must be greater than or equal to %1</source>
        <translation>Der Wert muss größer oder gleich %1 sein</translation>
    </message>
    <message>
        <source>Value must be less than or equal to %1</source>
        <translation>Der Wert muss kleiner oder gleich %1 sein</translation>
    </message>
</context>
<context>
    <name>frmAlarmVSS</name>
    <message>
        <source>VSS (Speed) Alarm</source>
        <translation>VSS-Alarm (Geschwindigkeit)</translation>
    </message>
    <message>
        <source>Enable VSS Alarm</source>
        <translation>VSS-Alarm aktivieren</translation>
    </message>
    <message>
        <source>VSS Alarm Color</source>
        <translation>Farbe VSS-Alarm</translation>
    </message>
    <message>
        <source>Pick Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Minimum VSS (MPH)</source>
        <translation>Mindestgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>Maximum VSS (MPH)</source>
        <translation>Höchstgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>This action will reset all VSS alarm parameters to default values.</source>
        <translation>Diese Aktion setzt alle Parameter des VSS-Alarms auf die Standardwerte zurück.</translation>
    </message>
</context>
<context>
    <name>frmAlarms</name>
    <message>
        <source>User Defined Alarms</source>
        <translation>Benutzerdefinierte Alarme</translation>
    </message>
    <message>
        <source>Alarm %1</source>
        <translation>Alarm %1</translation>
    </message>
    <message>
        <source>Enable Alarm %1</source>
        <translation>Alarm %1 aktivieren</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Alarm %1 Color</source>
        <translation>Farbe Alarm %1</translation>
    </message>
    <message>
        <source>Pick Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Analog Input %1</source>
        <translation>Analogeingang %1</translation>
    </message>
    <message>
        <source>Analog (0-5V)</source>
        <translation>Analog (0-5 V)</translation>
    </message>
    <message>
        <source>Wide-band AFR</source>
        <translation>Breitband-Lambda (AFR)</translation>
    </message>
    <message>
        <source>MAP 1 bar</source>
        <translation>MAP 1 bar</translation>
    </message>
    <message>
        <source>MAP 2 bar</source>
        <translation>MAP 2 bar</translation>
    </message>
    <message>
        <source>MAP 3 bar</source>
        <translation>MAP 3 bar</translation>
    </message>
    <message>
        <source>MAP Pressure</source>
        <translation>MAP-Druck</translation>
    </message>
    <message>
        <source>In-Hg</source>
        <translation>In-Hg</translation>
    </message>
    <message>
        <source>psi</source>
        <translation>psi</translation>
    </message>
    <message>
        <source>Volts</source>
        <translation>Volt</translation>
    </message>
    <message>
        <source>Alarm Above</source>
        <translation>Alarm über</translation>
    </message>
    <message>
        <source>Alarm Below</source>
        <translation>Alarm unter</translation>
    </message>
    <message>
        <source>Above</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Below</source>
        <translation>Unter</translation>
    </message>
    <message>
        <source>Minimum TPS (%)</source>
        <translation>Mindest-Drosselklappe (%)</translation>
    </message>
    <message>
        <source>Minimum RPM</source>
        <translation>Mindestdrehzahl</translation>
    </message>
    <message>
        <source>Minimum VSS</source>
        <translation>Mindestgeschwindigkeit</translation>
    </message>
    <message>
        <source>Delay (sec)</source>
        <translation>Verzögerung (s)</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>A box of the threshold table by its row and column, for a screen reader: &quot;Alarm Above, Volts&quot;.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>A threshold&apos;s voltage and its unit: &quot;2.51 Volts&quot;.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1, %2 %3</source>
        <extracomment>The voltage, then the value of the sensor and its unit: &quot;2.51 Volts, 15.0 AFR&quot;.</extracomment>
        <translation>%1, %2 %3</translation>
    </message>
    <message>
        <source>%1, %2: %3</source>
        <extracomment>A threshold slider as a screen reader says it: &quot;Alarm 1, Above: 2.51 Volts, 15.0 AFR&quot;.</extracomment>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>This action will reset all alarm parameters to default values.</source>
        <translation>Diese Aktion setzt alle Alarmparameter auf die Standardwerte zurück.</translation>
    </message>
</context>
<context>
    <name>frmGPO</name>
    <message>
        <source>GPO disabled. GPI required for selected multi-stage gear detection mode.</source>
        <translation>GPO deaktiviert. Die gewählte Gangerkennung des mehrstufigen Schaltblitzes benötigt den GPI-Eingang.</translation>
    </message>
    <message>
        <source>Edit GPO Parameters</source>
        <translation>GPO-Parameter bearbeiten</translation>
    </message>
    <message>
        <source>GPO Parameters</source>
        <translation>GPO-Parameter</translation>
    </message>
    <message>
        <source>Enable GPO</source>
        <translation>GPO aktivieren</translation>
    </message>
    <message>
        <source>One-Shot Delay</source>
        <translation>Verzögerung nur einmal (One-Shot)</translation>
    </message>
    <message>
        <source>Minimum RPM (100 RPM steps)</source>
        <translation>Mindestdrehzahl (100er-Schritte)</translation>
    </message>
    <message>
        <source>Maximum RPM (100 RPM steps)</source>
        <translation>Höchstdrehzahl (100er-Schritte)</translation>
    </message>
    <message>
        <source>TPS Off (%)</source>
        <translation>Drosselklappe aus (%)</translation>
    </message>
    <message>
        <source>TPS On (%)</source>
        <translation>Drosselklappe ein (%)</translation>
    </message>
    <message>
        <source>Minimum VSS (MPH)</source>
        <translation>Mindestgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>Maximum VSS (MPH)</source>
        <translation>Höchstgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>Delay (sec)</source>
        <translation>Verzögerung (s)</translation>
    </message>
    <message>
        <source>This action will reset all GPO parameters to default values.</source>
        <translation>Diese Aktion setzt alle GPO-Parameter auf die Standardwerte zurück.</translation>
    </message>
</context>
<context>
    <name>frmRevora_Main</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <translation>Datei ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open &amp;Backup...</source>
        <translation>Si&amp;cherung öffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save File &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print Parameters</source>
        <translation>Parameter &amp;drucken</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>Druck&amp;vorschau...</translation>
    </message>
    <message>
        <source>Print Set&amp;up...</source>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Edit GPO Parameters</source>
        <translation>GPO-Parameter bearbeiten</translation>
    </message>
    <message>
        <source>Edit VSS (Speed) Alarm</source>
        <translation>VSS-Alarm (Geschwindigkeit) bearbeiten</translation>
    </message>
    <message>
        <source>Edit User Defined Alarms</source>
        <translation>Benutzerdefinierte Alarme bearbeiten</translation>
    </message>
    <message>
        <source>Display Default Parameters</source>
        <translation>Standardparameter anzeigen</translation>
    </message>
    <message>
        <source>&amp;Communications</source>
        <translation>&amp;Kommunikation</translation>
    </message>
    <message>
        <source>&amp;Download From EEPROM</source>
        <translation>&amp;Download vom EEPROM</translation>
    </message>
    <message>
        <source>&amp;Upload To EEPROM</source>
        <translation>&amp;Upload ins EEPROM</translation>
    </message>
    <message>
        <source>&amp;Compare With Controller...</source>
        <translation>Mit Steuergerät &amp;vergleichen...</translation>
    </message>
    <message>
        <source>&amp;Port Setup</source>
        <translation>&amp;Port einrichten</translation>
    </message>
    <message>
        <source>&amp;Back Up Before Upload</source>
        <translation>&amp;Sicherung vor dem Upload</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>About &amp;Qt...</source>
        <translation>Über &amp;Qt...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Revora Shift Version %1</source>
        <translation>Revora Shift Version %1</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>link</name>
    <message>
        <source>under Communications &gt; Port Setup</source>
        <translation>unter Kommunikation &gt; Port einrichten</translation>
    </message>
    <message>
        <source>The stored port &quot;%1&quot; (CommPort in %2) is not a port number from %3 to %4.<byte value="xd"/>
<byte value="xd"/>
Ignore uses Com%3; then choose the controller&apos;s port in Communications &gt; Port Setup.</source>
        <translation>Der gespeicherte Port „%1“ (CommPort in %2) ist keine Portnummer von %3 bis %4.<byte value="xd"/>
<byte value="xd"/>
„Ignorieren“ verwendet Com%3; wählen Sie danach den Port des Steuergeräts unter Kommunikation &gt; Port einrichten.</translation>
    </message>
    <message>
        <source>Cannot write Com%1 to the settings in %2. Check that the folder is writable.</source>
        <translation>Com%1 kann nicht in die Einstellungen in %2 geschrieben werden. Prüfen Sie, ob der Ordner beschreibbar ist.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a port: use Com1 to Com255 or a device path such as /dev/ttyUSB0.</source>
        <translation>„%1“ ist kein Port: Verwenden Sie Com1 bis Com255 oder einen Gerätepfad wie /dev/ttyUSB0.</translation>
    </message>
    <message>
        <source>No port given: use Com1 to Com255 or a device path such as /dev/ttyUSB0.</source>
        <translation>Kein Port angegeben: Verwenden Sie Com1 bis Com255 oder einen Gerätepfad wie /dev/ttyUSB0.</translation>
    </message>
    <message>
        <source>%1 (not found)</source>
        <translation>%1 (nicht gefunden)</translation>
    </message>
    <message>
        <source>, latency timer %1 ms</source>
        <translation>, Latenz-Timer %1 ms</translation>
    </message>
    <message>
        <source>The USB adapter %1 holds every reply up to its latency timer, which makes a transfer much slower; the program asks for low-latency mode when it opens the port, and where the driver keeps the timer this lowers it to 1 ms until the adapter is replugged:
    %2</source>
        <translation>Der USB-Adapter %1 hält jede Antwort bis zum Ablauf seines Latenz-Timers zurück, was eine Übertragung stark verlangsamt; das Programm fordert beim Öffnen des Ports den Low-Latency-Modus an, und wo der Treiber den Timer behält, senkt dieser Befehl ihn auf 1 ms, bis der Adapter neu eingesteckt wird:
    %2</translation>
    </message>
    <message>
        <source>RS-232 timeout. Check cable and click Abort.</source>
        <translation>RS-232-Zeitüberschreitung. Prüfen Sie das Kabel und klicken Sie auf „Abbrechen“.</translation>
    </message>
    <message>
        <source>COM port timeout. Check cable and click Abort.</source>
        <translation>Zeitüberschreitung am COM-Port. Prüfen Sie das Kabel und klicken Sie auf „Abbrechen“.</translation>
    </message>
    <message>
        <source>Communications Error</source>
        <translation>Kommunikationsfehler</translation>
    </message>
    <message>
        <source>Reading EEPROM</source>
        <translation>EEPROM wird gelesen</translation>
    </message>
    <message>
        <source>Programming EEPROM</source>
        <translation>EEPROM wird programmiert</translation>
    </message>
    <message>
        <source>Verifying EEPROM</source>
        <translation>EEPROM wird geprüft</translation>
    </message>
    <message>
        <source>Reading EEPROM again</source>
        <translation>EEPROM wird erneut gelesen</translation>
    </message>
    <message>
        <source>Framing error.</source>
        <translation>Rahmenfehler (Framing).</translation>
    </message>
    <message>
        <source>Port hardware overrun.</source>
        <translation>Hardware-Überlauf am Port.</translation>
    </message>
    <message>
        <source>Receive buffer overflow.</source>
        <translation>Überlauf des Empfangspuffers.</translation>
    </message>
    <message>
        <source>Parity error.</source>
        <translation>Paritätsfehler.</translation>
    </message>
    <message>
        <source>Transmit buffer full.</source>
        <translation>Sendepuffer voll.</translation>
    </message>
    <message>
        <source>Device control block error.</source>
        <translation>Fehler im Gerätesteuerblock.</translation>
    </message>
    <message>
        <source>The serial port %1 was lost: the adapter was unplugged or the port went away. Plug it in again and check the port chosen.</source>
        <translation>Die Verbindung zum seriellen Port %1 ist verloren: Der Adapter wurde abgezogen oder der Port ist verschwunden. Stecken Sie ihn wieder ein und prüfen Sie den gewählten Port.</translation>
    </message>
    <message>
        <source>No controller answered on the serial port %1. If it is connected to another port, choose that one %2.</source>
        <translation>Am seriellen Port %1 hat kein Steuergerät geantwortet. Ist es an einem anderen Port angeschlossen, wählen Sie diesen %2.</translation>
    </message>
    <message>
        <source>The serial port %1 could not be opened. Choose the controller&apos;s port %2.</source>
        <translation>Der serielle Port %1 konnte nicht geöffnet werden. Wählen Sie den Port des Steuergeräts %2.</translation>
    </message>
    <message>
        <source>The serial port could not be opened.</source>
        <translation>Der serielle Port konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Download From EEPROM</source>
        <translation>Download vom EEPROM</translation>
    </message>
    <message>
        <source>Upload To EEPROM</source>
        <translation>Upload ins EEPROM</translation>
    </message>
    <message>
        <source>Compare With Controller</source>
        <translation>Mit Steuergerät vergleichen</translation>
    </message>
    <message>
        <source>The controller holds this configuration.</source>
        <translation>Das Steuergerät enthält diese Konfiguration.</translation>
    </message>
    <message>
        <source>download</source>
        <extracomment>The verb of &quot;cannot download&quot;: a translation may give the noun its sentences need.</extracomment>
        <translation>Download</translation>
    </message>
    <message>
        <source>upload</source>
        <extracomment>The verb of &quot;cannot upload&quot;.</extracomment>
        <translation>Upload</translation>
    </message>
    <message>
        <source>compare</source>
        <extracomment>The verb of &quot;cannot compare&quot;.</extracomment>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>Cannot establish RS-232 link. Check cable and controller power.</source>
        <translation>RS-232-Verbindung kann nicht hergestellt werden. Prüfen Sie das Kabel und die Stromversorgung des Steuergeräts.</translation>
    </message>
    <message>
        <source>Cannot %1 while controller is armed.</source>
        <translation>%1 nicht möglich, solange das Steuergerät scharf geschaltet ist.</translation>
    </message>
    <message>
        <source>Firmware ID read failed - cannot %1.</source>
        <translation>Lesen der Firmware-ID fehlgeschlagen – %1 nicht möglich.</translation>
    </message>
    <message>
        <source>Invalid firmware ID - cannot %1.</source>
        <translation>Ungültige Firmware-ID – %1 nicht möglich.</translation>
    </message>
    <message>
        <source>Unknown product firmware ID - cannot %1.</source>
        <translation>Firmware-ID eines unbekannten Produkts – %1 nicht möglich.</translation>
    </message>
    <message>
        <source>The line to the controller is unreliable: %1 reads of the configuration gave %1 different results. Check the cable, its plugs and the adapter, then try again.</source>
        <translation>Die Leitung zum Steuergerät ist unzuverlässig: %1 Lesevorgänge der Konfiguration ergaben %1 verschiedene Ergebnisse. Prüfen Sie das Kabel, seine Stecker und den Adapter und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The controller&apos;s configuration was saved as %1.

</source>
        <translation>Die Konfiguration des Steuergeräts wurde als %1 gesichert.

</translation>
    </message>
    <message>
        <source>The controller already holds this configuration.</source>
        <translation>Das Steuergerät enthält diese Konfiguration bereits.</translation>
    </message>
    <message>
        <source>The upload will change (controller -&gt; this configuration):
</source>
        <translation>Der Upload ändert (Steuergerät -&gt; diese Konfiguration):
</translation>
    </message>
    <message>
        <source>
Go on with the upload?</source>
        <translation>
Mit dem Upload fortfahren?</translation>
    </message>
    <message>
        <source>No backup was made, and nothing was written to the controller.</source>
        <translation>Es wurde keine Sicherung angelegt und nichts ins Steuergerät geschrieben.</translation>
    </message>
    <message>
        <source>The controller&apos;s configuration could not be read for the backup.</source>
        <translation>Die Konfiguration des Steuergeräts konnte für die Sicherung nicht gelesen werden.</translation>
    </message>
    <message>
        <source>No backup was made: %1 Nothing was written to the controller.</source>
        <translation>Es wurde keine Sicherung angelegt: %1 Es wurde nichts ins Steuergerät geschrieben.</translation>
    </message>
    <message>
        <source>

Upload without a backup?</source>
        <translation>

Ohne Sicherung hochladen?</translation>
    </message>
    <message>
        <source>Data buffer not empty. OK to overwrite?</source>
        <translation>Der Datenpuffer ist nicht leer. Überschreiben?</translation>
    </message>
    <message>
        <source>Firmware ID: </source>
        <translation>Firmware-ID: </translation>
    </message>
    <message>
        <source>Download failed.</source>
        <translation>Download fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Download failed.
</source>
        <translation>Download fehlgeschlagen.
</translation>
    </message>
    <message>
        <source>No data available for uploading.</source>
        <translation>Keine Daten zum Hochladen vorhanden.</translation>
    </message>
    <message>
        <source>Upload aborted - EEPROM programming failed.</source>
        <translation>Upload abgebrochen – Programmieren des EEPROM fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Upload aborted - EEPROM verification failed.</source>
        <translation>Upload abgebrochen – Prüfen des EEPROM fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Upload aborted - Reset Shift Light Controller failed</source>
        <translation>Upload abgebrochen – Zurücksetzen des Schaltblitz-Steuergeräts fehlgeschlagen</translation>
    </message>
    <message>
        <source>The controller holds part of the new configuration and part of the old: upload again once the port is back.</source>
        <translation>Das Steuergerät enthält einen Teil der neuen und einen Teil der alten Konfiguration: Laden Sie erneut hoch, sobald der Port wieder da ist.</translation>
    </message>
    <message>
        <source>The controller holds the whole new configuration, not verified, and was not reset: upload again once the port is back.</source>
        <translation>Das Steuergerät enthält die ganze neue Konfiguration, ungeprüft, und wurde nicht zurückgesetzt: Laden Sie erneut hoch, sobald der Port wieder da ist.</translation>
    </message>
    <message>
        <source>Upload stopped: the controller holds the whole new configuration, but it was not verified and the controller was not reset. Upload again to verify it and restart the controller.</source>
        <translation>Upload angehalten: Das Steuergerät enthält die ganze neue Konfiguration, aber sie wurde nicht geprüft und das Steuergerät nicht zurückgesetzt. Laden Sie erneut hoch, um sie zu prüfen und das Steuergerät neu zu starten.</translation>
    </message>
    <message>
        <source>The controller holds the new configuration, verified, but was not reset.</source>
        <translation>Das Steuergerät enthält die neue Konfiguration, geprüft, wurde aber nicht zurückgesetzt.</translation>
    </message>
    <message>
        <source>Upload completed.</source>
        <translation>Upload abgeschlossen.</translation>
    </message>
    <message>
        <source>Compare failed.</source>
        <translation>Vergleich fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Compare failed.
</source>
        <translation>Vergleich fehlgeschlagen.
</translation>
    </message>
    <message>
        <source>No data available for comparing.</source>
        <translation>Keine Daten zum Vergleichen vorhanden.</translation>
    </message>
    <message>
        <source>it is a file, not a folder</source>
        <translation>es ist eine Datei, kein Ordner</translation>
    </message>
    <message>
        <source>it was not made</source>
        <translation>er wurde nicht angelegt</translation>
    </message>
    <message>
        <source>The controller&apos;s block holds %1 bytes, not %2.</source>
        <translation>Der Block des Steuergeräts enthält %1 Bytes, nicht %2.</translation>
    </message>
    <message>
        <source>The backup folder %1 cannot be made: %2.</source>
        <translation>Der Sicherungsordner %1 kann nicht angelegt werden: %2.</translation>
    </message>
    <message>
        <source>Cannot write in %1: %2.</source>
        <translation>In %1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>%1 backups taken at %2 are there already; move some elsewhere.</source>
        <translation>Es gibt bereits %1 Sicherungen vom %2; verschieben Sie einige an einen anderen Ort.</translation>
    </message>
    <message>
        <source>Your user account may not use the serial port %1. Serial ports are for the members of the group &quot;%2&quot;; add your account to it with
    sudo usermod -aG %2 %3
then log out and in again.</source>
        <translation>Ihr Benutzerkonto darf den seriellen Port %1 nicht verwenden. Serielle Ports sind den Mitgliedern der Gruppe „%2“ vorbehalten; nehmen Sie Ihr Konto mit
    sudo usermod -aG %2 %3
in die Gruppe auf und melden Sie sich danach ab und wieder an.</translation>
    </message>
    <message>
        <source>The serial port %1 does not exist. Check that the adapter is plugged in and choose the right port %2.</source>
        <translation>Der serielle Port %1 existiert nicht. Prüfen Sie, ob der Adapter eingesteckt ist, und wählen Sie den richtigen Port %2.</translation>
    </message>
    <message>
        <source>The serial port %1 cannot be opened: it may be in use by another program (close that program and try again), or your user account may not be allowed to use serial ports (on Linux, ask for your account to be added to the &quot;dialout&quot; group, then log out and in again).</source>
        <translation>Der serielle Port %1 kann nicht geöffnet werden: Vielleicht verwendet ihn ein anderes Programm (schließen Sie es und versuchen Sie es erneut), oder Ihr Benutzerkonto darf keine seriellen Ports verwenden (unter Linux lassen Sie Ihr Konto in die Gruppe „dialout“ aufnehmen und melden sich danach ab und wieder an).</translation>
    </message>
    <message>
        <source>The serial port %1 cannot be opened (%2). Check the adapter and the port chosen %3.</source>
        <translation>Der serielle Port %1 kann nicht geöffnet werden (%2). Prüfen Sie den Adapter und den gewählten Port %3.</translation>
    </message>
    <message>
        <source>No serial port chosen. Choose one %1.</source>
        <translation>Kein serieller Port gewählt. Wählen Sie einen %1.</translation>
    </message>
    <message>
        <source>The serial adapter on %1 did not accept 56000 baud (it runs at %2 baud), and the controller only talks at 56000 baud. Use an adapter that supports this rate.</source>
        <translation>Der serielle Adapter an %1 hat 56000 Baud nicht angenommen (er läuft mit %2 Baud), und das Steuergerät spricht nur mit 56000 Baud. Verwenden Sie einen Adapter, der diese Rate unterstützt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a port: use Com1 to Com255 or a device name such as \\.\COM3.</source>
        <translation>„%1“ ist kein Port: Verwenden Sie Com1 bis Com255 oder einen Gerätenamen wie \\.\COM3.</translation>
    </message>
    <message>
        <source>No port given: use Com1 to Com255 or a device name such as \\.\COM3.</source>
        <translation>Kein Port angegeben: Verwenden Sie Com1 bis Com255 oder einen Gerätenamen wie \\.\COM3.</translation>
    </message>
    <message>
        <source>Cannot write %1: the file could not be flushed to the disk.</source>
        <translation>%1 kann nicht geschrieben werden: Die Datei konnte nicht auf den Datenträger geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <source>Print Parameters</source>
        <translation>Parameter drucken</translation>
    </message>
    <message>
        <source>Printer Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Data buffer empty.</source>
        <translation>Der Datenpuffer ist leer.</translation>
    </message>
    <message>
        <source>Serial number or comment?</source>
        <translation>Seriennummer oder Kommentar?</translation>
    </message>
    <message>
        <source>Optional Information Entry</source>
        <translation>Optionale Angaben</translation>
    </message>
    <message>
        <source>No printer is installed on this computer.

Print the report to a PDF file instead?</source>
        <translation>Auf diesem Computer ist kein Drucker eingerichtet.

Den Bericht stattdessen in eine PDF-Datei drucken?</translation>
    </message>
    <message>
        <source>Print To PDF File</source>
        <translation>In PDF-Datei drucken</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)|*.pdf</source>
        <translation>PDF-Dateien (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>The PDF file &quot;%1&quot;</source>
        <translation>Die PDF-Datei „%1“</translation>
    </message>
    <message>
        <source>the PDF file &quot;%1&quot;</source>
        <translation>die PDF-Datei „%1“</translation>
    </message>
    <message>
        <source>The printer</source>
        <translation>Der Drucker</translation>
    </message>
    <message>
        <source>the printer</source>
        <translation>der Drucker</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot;</source>
        <translation>Der Drucker „%1“</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot;</source>
        <translation>der Drucker „%1“</translation>
    </message>
    <message>
        <source>The report could not be written to the PDF file &quot;%1&quot;: %2. Any earlier file of that name is left as it was. Free some space on the disk or check that you may write there and try again, or choose another file.</source>
        <translation>Der Bericht konnte nicht in die PDF-Datei „%1“ geschrieben werden: %2. Eine frühere Datei dieses Namens bleibt, wie sie war. Schaffen Sie Platz auf dem Datenträger oder prüfen Sie, ob Sie dort schreiben dürfen, und versuchen Sie es erneut, oder wählen Sie eine andere Datei.</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is a device or a pipe, not a file</source>
        <translation>es ist ein Gerät oder eine Pipe, keine Datei</translation>
    </message>
    <message>
        <source>The report could not be written to %1 (%2). Check that the folder exists and that you may write there, or choose another file.</source>
        <translation>Der Bericht konnte nicht geschrieben werden, Ziel: %1 (%2). Prüfen Sie, ob der Ordner existiert und Sie dort schreiben dürfen, oder wählen Sie eine andere Datei.</translation>
    </message>
    <message>
        <source>The report could not be drawn for %1.</source>
        <translation>Der Bericht konnte nicht gezeichnet werden, Ziel: %1.</translation>
    </message>
    <message>
        <source>%1 could not start printing. Check that it is connected and ready, or choose another printer in Print Setup.</source>
        <translation>%1 konnte den Druck nicht beginnen. Prüfen Sie, ob er angeschlossen und bereit ist, oder wählen Sie unter Druckereinrichtung einen anderen Drucker.</translation>
    </message>
    <message>
        <source>The print job was not started, so page %1 cannot be printed.</source>
        <translation>Der Druckauftrag wurde nicht gestartet, daher kann Seite %1 nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>%1 could not start a new sheet for page %2.</source>
        <translation>%1 konnte kein neues Blatt für Seite %2 beginnen.</translation>
    </message>
    <message>
        <source>%1 reported an error while printing page %2.</source>
        <translation>%1 meldete beim Drucken von Seite %2 einen Fehler.</translation>
    </message>
    <message>
        <source>The report could not be completed on %1.</source>
        <translation>Der Bericht konnte nicht fertiggestellt werden, Ziel: %1.</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>aktiviert</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>deaktiviert</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>Benutzerdaten</translation>
    </message>
    <message>
        <source>Scale Factors and General Setup</source>
        <translation>Skalierung und allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>RPM Pulses/Rev</source>
        <translation>Drehzahlimpulse je Umdrehung</translation>
    </message>
    <message>
        <source>pulses/rev</source>
        <translation>Impulse/U</translation>
    </message>
    <message>
        <source>RPM Debounce Time</source>
        <translation>Drehzahl-Entprellzeit</translation>
    </message>
    <message>
        <source>VSS Frequency (Hz) at 60 MPH</source>
        <translation>VSS-Frequenz (Hz) bei 60 MPH</translation>
    </message>
    <message>
        <source>Zero TPS (volts)</source>
        <translation>TPS 0 % (Volt)</translation>
    </message>
    <message>
        <source>100% TPS (volts)</source>
        <translation>TPS 100 % (Volt)</translation>
    </message>
    <message>
        <source>Data Logging Interval (sec)</source>
        <translation>Aufzeichnungsintervall (s)</translation>
    </message>
    <message>
        <source>Data Logging Only When Armed</source>
        <translation>Datenaufzeichnung nur wenn scharf geschaltet</translation>
    </message>
    <message>
        <source>Continuous Data Logging Enabled</source>
        <translation>Dauernde Datenaufzeichnung aktiviert</translation>
    </message>
    <message>
        <source>Minimum LED Brightness</source>
        <translation>Minimale LED-Helligkeit</translation>
    </message>
    <message>
        <source>Maximum LED Brightness</source>
        <translation>Maximale LED-Helligkeit</translation>
    </message>
    <message>
        <source>Shift Light Setup</source>
        <translation>Schaltblitz-Einstellungen</translation>
    </message>
    <message>
        <source>Multi-Stage Shift Light</source>
        <translation>Mehrstufiger Schaltblitz</translation>
    </message>
    <message>
        <source>Multi-Stage Shift Light Enabled</source>
        <translation>Mehrstufiger Schaltblitz aktiviert</translation>
    </message>
    <message>
        <source>Multi-Stage Shift Light Disabled</source>
        <translation>Mehrstufiger Schaltblitz deaktiviert</translation>
    </message>
    <message>
        <source>VSS Based Gear Detection</source>
        <translation>Gangerkennung über Geschwindigkeit (VSS)</translation>
    </message>
    <message>
        <source>VSS Based Gear Detection Enabled</source>
        <translation>Gangerkennung über VSS aktiviert</translation>
    </message>
    <message>
        <source>VSS Based Gear Detection Disabled</source>
        <translation>Gangerkennung über VSS deaktiviert</translation>
    </message>
    <message>
        <source>Launch Light Color (RGB)</source>
        <translation>Farbe Launch-Licht (RGB)</translation>
    </message>
    <message>
        <source>Shift Light Color (RGB)</source>
        <translation>Farbe Schaltblitz (RGB)</translation>
    </message>
    <message>
        <source>Launch RPM</source>
        <translation>Launch-Drehzahl</translation>
    </message>
    <message>
        <source>Gear %1 Shift RPM</source>
        <translation>Schaltdrehzahl %1. Gang</translation>
    </message>
    <message>
        <source>Short Shift Window (RPM)</source>
        <translation>Short-Shift-Fenster (U/min)</translation>
    </message>
    <message>
        <source>Minimum Shift Drop (RPM)</source>
        <translation>Mindest-Drehzahlabfall (U/min)</translation>
    </message>
    <message>
        <source>Gear %1 Minimum VSS (MPH)</source>
        <translation>Mindestgeschw. %1. Gang (MPH)</translation>
    </message>
    <message>
        <source>GPO Parameters</source>
        <translation>GPO-Parameter</translation>
    </message>
    <message>
        <source>GPO Enable</source>
        <translation>GPO aktivieren</translation>
    </message>
    <message>
        <source>GPO Enabled</source>
        <translation>GPO aktiviert</translation>
    </message>
    <message>
        <source>GPO Disabled</source>
        <translation>GPO deaktiviert</translation>
    </message>
    <message>
        <source>GPO Minimum RPM</source>
        <translation>GPO-Mindestdrehzahl</translation>
    </message>
    <message>
        <source>GPO Maximum RPM</source>
        <translation>GPO-Höchstdrehzahl</translation>
    </message>
    <message>
        <source>GPO TPS Off (%)</source>
        <translation>GPO Drosselklappe aus (%)</translation>
    </message>
    <message>
        <source>GPO TPS On (%)</source>
        <translation>GPO Drosselklappe ein (%)</translation>
    </message>
    <message>
        <source>GPO Minimum VSS (MPH)</source>
        <translation>GPO-Mindestgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>GPO Maximum VSS (MPH)</source>
        <translation>GPO-Höchstgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>GPO Delay (sec)</source>
        <translation>GPO-Verzögerung (s)</translation>
    </message>
    <message>
        <source>GPO One-Shot Delay</source>
        <translation>GPO-Verzögerung nur einmal (One-Shot)</translation>
    </message>
    <message>
        <source>GPO One-Shot Delay Enabled</source>
        <translation>GPO-Verzögerung nur einmal aktiviert</translation>
    </message>
    <message>
        <source>GPO One-Shot Delay Disabled</source>
        <translation>GPO-Verzögerung nur einmal deaktiviert</translation>
    </message>
    <message>
        <source>VSS (Speed) Alarm Parameters</source>
        <translation>Parameter VSS-Alarm (Geschwindigkeit)</translation>
    </message>
    <message>
        <source>VSS Alarm Enable</source>
        <translation>VSS-Alarm aktivieren</translation>
    </message>
    <message>
        <source>VSS Alarm Enabled</source>
        <translation>VSS-Alarm aktiviert</translation>
    </message>
    <message>
        <source>VSS Alarm Disabled</source>
        <translation>VSS-Alarm deaktiviert</translation>
    </message>
    <message>
        <source>VSS Alarm Color (RGB)</source>
        <translation>Farbe VSS-Alarm (RGB)</translation>
    </message>
    <message>
        <source>Alarm Minimum VSS (MPH)</source>
        <translation>Alarm-Mindestgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>Alarm Maximum VSS (MPH)</source>
        <translation>Alarm-Höchstgeschwindigkeit (MPH)</translation>
    </message>
    <message>
        <source>Analog 0-5V</source>
        <translation>Analog 0-5 V</translation>
    </message>
    <message>
        <source>Alarm 1 MAP Units</source>
        <translation>Alarm 1 MAP-Einheit</translation>
    </message>
    <message>
        <source>Alarm 1 psi MAP units</source>
        <translation>Alarm 1 MAP-Einheit psi</translation>
    </message>
    <message>
        <source>Alarm 1 In-HG MAP units</source>
        <translation>Alarm 1 MAP-Einheit In-HG</translation>
    </message>
    <message>
        <source>%1 Controller Data Printed: %2</source>
        <translation>%1 Steuergerätedaten, gedruckt: %2</translation>
    </message>
    <message>
        <source>Comment: %1</source>
        <translation>Kommentar: %1</translation>
    </message>
    <message>
        <source>Firmware ID:</source>
        <translation>Firmware-ID:</translation>
    </message>
    <message>
        <source>Alarm %1 Parameters</source>
        <translation>Parameter Alarm %1</translation>
    </message>
    <message>
        <source>Alarm %1 Enable</source>
        <translation>Alarm %1 aktivieren</translation>
    </message>
    <message>
        <source>Alarm %1 Enabled</source>
        <translation>Alarm %1 aktiviert</translation>
    </message>
    <message>
        <source>Alarm %1 Disabled</source>
        <translation>Alarm %1 deaktiviert</translation>
    </message>
    <message>
        <source>Alarm %1 Color (RGB)</source>
        <translation>Farbe Alarm %1 (RGB)</translation>
    </message>
    <message>
        <source>Alarm %1 Input</source>
        <translation>Alarm %1 Eingang</translation>
    </message>
    <message>
        <source>Alarm %1 %2 Input</source>
        <translation>Alarm %1 Eingang %2</translation>
    </message>
    <message>
        <source>Alarm %1 Above Value (volts)</source>
        <translation>Alarm %1 Schwelle über (Volt)</translation>
    </message>
    <message>
        <source>Alarm %1 Below Value (volts)</source>
        <translation>Alarm %1 Schwelle unter (Volt)</translation>
    </message>
    <message>
        <source>Alarm %1 Minimum TPS (%)</source>
        <translation>Alarm %1 Mindest-Drosselklappe (%)</translation>
    </message>
    <message>
        <source>Alarm %1 Minimum RPM</source>
        <translation>Alarm %1 Mindestdrehzahl</translation>
    </message>
    <message>
        <source>Alarm %1 Minimum VSS (MPH)</source>
        <translation>Alarm %1 Mindestgeschw. (MPH)</translation>
    </message>
    <message>
        <source>Alarm %1 Delay (sec)</source>
        <translation>Alarm %1 Verzögerung (s)</translation>
    </message>
</context>
</TS>
