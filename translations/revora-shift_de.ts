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
        <translation>Launch-Drehzahl</translation>
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
</TS>
