<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en_US">
<context>
    <name>AlignTracing</name>
    <message>
        <source>Cannot refine. Drawing not valid.</source>
        <translation>Verfeinern nicht möglich. Zeichnung ungültig.</translation>
    </message>
    <message>
        <source>Cannot refine. Drawing has less than two points.</source>
        <translation>Verfeinern nicht möglich. Die Zeichnung hat weniger als zwei Punkte.</translation>
    </message>
    <message>
        <source>Cannot adjust points. No valid points found.</source>
        <translation>Punkte können nicht angepasst werden. Keine gültigen Punkte gefunden.</translation>
    </message>
</context>
<context>
    <name>CommandReasons</name>
    <message>
        <source>All %1 places hold an object: close one to make room.</source>
        <translation>Alle %1 Plätze sind belegt: Schließen Sie ein Objekt, um Platz zu schaffen.</translation>
    </message>
    <message>
        <source>Nothing is open.</source>
        <translation>Es ist nichts geöffnet.</translation>
    </message>
    <message>
        <source>Open a type for editing first (File &gt; Open Type...).</source>
        <translation>Öffnen Sie zuerst einen Typ zum Bearbeiten (Datei &gt; Typ öffnen...).</translation>
    </message>
    <message>
        <source>Open a radiograph first.</source>
        <translation>Öffnen Sie zuerst ein Röntgenbild.</translation>
    </message>
    <message>
        <source>The current object is a type: choose a radiograph.</source>
        <translation>Das aktuelle Objekt ist ein Typ: Wählen Sie ein Röntgenbild.</translation>
    </message>
    <message>
        <source>Start digitizing first (File &gt; New... or Tracing &gt; Digitize...).</source>
        <translation>Beginnen Sie zuerst das Digitalisieren (Datei &gt; Neu... oder Durchzeichnung &gt; Digitalisieren...).</translation>
    </message>
    <message>
        <source>Finish digitizing first.</source>
        <translation>Beenden Sie zuerst das Digitalisieren.</translation>
    </message>
    <message>
        <source>The tracing is hidden: show it first.</source>
        <translation>Die Durchzeichnung ist ausgeblendet: Blenden Sie sie zuerst ein.</translation>
    </message>
    <message>
        <source>Nothing to undo.</source>
        <translation>Es gibt nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>Nothing to redo.</source>
        <translation>Es gibt nichts wiederherzustellen.</translation>
    </message>
    <message>
        <source>Select points first (Tools &gt; Select / Move or Tracing &gt; Select All).</source>
        <translation>Wählen Sie zuerst Punkte aus (Werkzeuge &gt; Auswählen / Verschieben oder Durchzeichnung &gt; Alles auswählen).</translation>
    </message>
    <message>
        <source>The radiograph&apos;s type defines no superimposition.</source>
        <translation>Der Typ des Röntgenbilds definiert keine Überlagerung.</translation>
    </message>
    <message>
        <source>The radiograph has no image: open one first (Image &gt; Open...).</source>
        <translation>Das Röntgenbild hat kein Bild: Öffnen Sie zuerst eines (Bild &gt; Öffnen...).</translation>
    </message>
    <message>
        <source>The image keeps no original to go back to.</source>
        <translation>Vom Bild ist kein Original vorhanden, zu dem zurückgekehrt werden könnte.</translation>
    </message>
    <message>
        <source>The image is hidden: show it first (Image &gt; Visible).</source>
        <translation>Das Bild ist ausgeblendet: Blenden Sie es zuerst ein (Bild &gt; Sichtbar).</translation>
    </message>
    <message>
        <source>Make an enhancement first: this button repeats the last one.</source>
        <translation>Wenden Sie zuerst eine Bildverbesserung an: Diese Schaltfläche wiederholt die letzte.</translation>
    </message>
    <message>
        <source>Not part of this version of Lumacet yet.</source>
        <translation>In dieser Version von Lumacet noch nicht enthalten.</translation>
    </message>
</context>
<context>
    <name>DataFile</name>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
Commas and double quotes cannot be used in names, dates and comments.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Kommas und doppelte Anführungszeichen sind in Namen, Datumsangaben und Kommentaren nicht erlaubt.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
The text holds a character that a radiograph file cannot store.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Text enthält ein Zeichen, das eine Röntgenbilddatei nicht speichern kann.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
A radiograph type name is required.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Ein Name für den Röntgenbildtyp ist erforderlich.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
A radiograph type name cannot begin or end with a blank.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Name eines Röntgenbildtyps darf nicht mit einem Leerzeichen beginnen oder enden.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
A radiograph type name can have at most 20 characters.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Name eines Röntgenbildtyps darf höchstens 20 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>The radiograph has no type.</source>
        <translation>Das Röntgenbild hat keinen Typ.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
Magnification value is not a valid number.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Vergrößerungswert ist keine gültige Zahl.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
Dates must lie between the years 1 and 9999.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Datumsangaben müssen zwischen den Jahren 1 und 9999 liegen.</translation>
    </message>
    <message>
        <source>The image file name cannot be stored in a radiograph file: %1</source>
        <translation>Der Name der Bilddatei kann nicht in einer Röntgenbilddatei gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The image placement is not a valid number.</source>
        <translation>Die Bildplatzierung ist keine gültige Zahl.</translation>
    </message>
    <message>
        <source>the record cannot be read from the file</source>
        <translation>der Datensatz kann nicht aus der Datei gelesen werden</translation>
    </message>
    <message>
        <source>the magnification is not a number above -100</source>
        <translation>die Vergrößerung ist keine Zahl über -100</translation>
    </message>
    <message>
        <source>its radiograph type is not among the type files</source>
        <translation>sein Röntgenbildtyp ist nicht unter den Typdateien</translation>
    </message>
    <message>
        <source>the image part (file name, placement) is damaged</source>
        <translation>der Bildteil (Dateiname, Platzierung) ist beschädigt</translation>
    </message>
    <message>
        <source>the coordinates are not numbers, or not as many as its type has points</source>
        <translation>die Koordinaten sind keine Zahlen oder nicht so viele, wie sein Typ Punkte hat</translation>
    </message>
    <message>
        <source>No file name.</source>
        <translation>Kein Dateiname.</translation>
    </message>
    <message>
        <source>Error saving radiograph.</source>
        <translation>Fehler beim Speichern des Röntgenbilds.</translation>
    </message>
    <message>
        <source>Error deleting radiograph.</source>
        <translation>Fehler beim Löschen des Röntgenbilds.</translation>
    </message>
    <message>
        <source>File error reading %1</source>
        <translation>Dateifehler beim Lesen von %1</translation>
    </message>
</context>
<context>
    <name>Digitize</name>
    <message>
        <source>The radiograph has no type to digitize.</source>
        <translation>Das Röntgenbild hat keinen Typ zum Digitalisieren.</translation>
    </message>
    <message>
        <source>The radiograph type &apos;%1&apos; has no digitizing protocol with points or snakes.</source>
        <translation>Der Röntgenbildtyp „%1“ hat kein Digitalisierprotokoll mit Punkten oder Snakes.</translation>
    </message>
    <message>
        <source>The protocol has no points or snakes to digitize.</source>
        <translation>Das Protokoll hat keine Punkte oder Snakes zum Digitalisieren.</translation>
    </message>
    <message>
        <source>Could not get coordinates. No reference radiograph.</source>
        <translation>Koordinaten konnten nicht übernommen werden. Kein Referenzröntgenbild.</translation>
    </message>
    <message>
        <source>Could not get coordinates. No points selected.</source>
        <translation>Koordinaten konnten nicht übernommen werden. Keine Punkte ausgewählt.</translation>
    </message>
    <message>
        <source>Could not get coordinates.<byte value="xd"/>
Point &apos;%1&apos; could not be found in reference radiograph.</source>
        <translation>Koordinaten konnten nicht übernommen werden.<byte value="xd"/>
Der Punkt „%1“ wurde im Referenzröntgenbild nicht gefunden.</translation>
    </message>
    <message>
        <source>The snakes cannot be fitted: the radiograph has no image with a pixel size.</source>
        <translation>Die Snakes können nicht angepasst werden: Das Röntgenbild hat kein Bild mit einer Pixelgröße.</translation>
    </message>
    <message>
        <source>The type has no snake named &apos;%1&apos;.</source>
        <translation>Der Typ hat keine Snake namens „%1“.</translation>
    </message>
</context>
<context>
    <name>Digitizer</name>
    <message>
        <source>Digitizer Initialization Error<byte value="xd"/>
<byte value="xd"/>
Parameters missing from Lumacet.ini file. Default values used.</source>
        <translation>Fehler beim Initialisieren des Digitalisiertabletts<byte value="xd"/>
<byte value="xd"/>
In der Datei Lumacet.ini fehlen Parameter. Es werden Standardwerte verwendet.</translation>
    </message>
    <message>
        <source>Digitizer already open.</source>
        <translation>Das Digitalisiertablett ist bereits geöffnet.</translation>
    </message>
    <message>
        <source>Unable to Connect with Digitizer.<byte value="xd"/>
<byte value="xd"/>
Error: %1</source>
        <translation>Keine Verbindung zum Digitalisiertablett.<byte value="xd"/>
<byte value="xd"/>
Fehler: %1</translation>
    </message>
    <message>
        <source>Unable to Get Comm State.<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>Der Zustand der Schnittstelle kann nicht gelesen werden.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Unable to Set Comm State.<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>Der Zustand der Schnittstelle kann nicht gesetzt werden.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Write Error: %1</source>
        <translation>Schreibfehler: %1</translation>
    </message>
    <message>
        <source>the command &quot;%1&quot; is longer than 64 bytes</source>
        <translation>der Befehl „%1“ ist länger als 64 Byte</translation>
    </message>
    <message>
        <source>Digitizer not open.</source>
        <translation>Das Digitalisiertablett ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>Read Error: %1</source>
        <translation>Lesefehler: %1</translation>
    </message>
    <message>
        <source>Digitizer Error.<byte value="xd"/>
<byte value="xd"/>
Null character received.</source>
        <translation>Fehler des Digitalisiertabletts.<byte value="xd"/>
<byte value="xd"/>
Nullzeichen empfangen.</translation>
    </message>
    <message>
        <source>Digitizer Error.<byte value="xd"/>
<byte value="xd"/>
Invalid binary.</source>
        <translation>Fehler des Digitalisiertabletts.<byte value="xd"/>
<byte value="xd"/>
Ungültige Binärdaten.</translation>
    </message>
    <message>
        <source>Digitizer Error.<byte value="xd"/>
<byte value="xd"/>
Control character received.</source>
        <translation>Fehler des Digitalisiertabletts.<byte value="xd"/>
<byte value="xd"/>
Steuerzeichen empfangen.</translation>
    </message>
    <message>
        <source>Digitizer Error.<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
Cannot convert to number.</source>
        <translation>Fehler des Digitalisiertabletts.<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
Umwandlung in eine Zahl nicht möglich.</translation>
    </message>
    <message>
        <source>The resolution must be a number of tablet counts per millimetre above 0.</source>
        <translation>Die Auflösung muss eine Anzahl von Tablettschritten pro Millimeter über 0 sein.</translation>
    </message>
    <message>
        <source>The control string must have from 1 to 64 characters.</source>
        <translation>Die Steuerzeichenfolge muss 1 bis 64 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>No WinTAB driver detected</source>
        <translation>Kein WinTAB-Treiber gefunden</translation>
    </message>
    <message>
        <source>Could not open Context.</source>
        <translation>Der Kontext konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The tablet %1 does not report the resolution of its X and Y axes.</source>
        <translation>Das Tablett %1 meldet die Auflösung seiner X- und Y-Achse nicht.</translation>
    </message>
    <message>
        <source>A digitizer name must not be empty, hold &quot;=&quot; or a line break, or begin with &quot;[&quot; or &quot;;&quot;.</source>
        <translation>Der Name eines Digitalisiertabletts darf nicht leer sein, kein „=“ und keinen Zeilenumbruch enthalten und nicht mit „[“ oder „;“ beginnen.</translation>
    </message>
    <message>
        <source>Digitizer already installed<byte value="xd"/>
<byte value="xd"/>
Please use another name.</source>
        <translation>Das Digitalisiertablett ist bereits eingerichtet<byte value="xd"/>
<byte value="xd"/>
Bitte verwenden Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Cannot Delete the Default Digitizer.</source>
        <translation>Das Standard-Digitalisiertablett kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Could not initialize Digitizer data from .INI file.<byte value="xd"/>
<byte value="xd"/>
Digitizer cannot be used.</source>
        <translation>Die Daten des Digitalisiertabletts konnten nicht aus der .INI-Datei gelesen werden.<byte value="xd"/>
<byte value="xd"/>
Das Digitalisiertablett kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>Error opening Digitizer.<byte value="xd"/>
<byte value="xd"/>
Digitizer cannot be used.</source>
        <translation>Fehler beim Öffnen des Digitalisiertabletts.<byte value="xd"/>
<byte value="xd"/>
Das Digitalisiertablett kann nicht verwendet werden.</translation>
    </message>
</context>
<context>
    <name>Extended Report</name>
    <message>
        <source>The report needs one to four radiographs.</source>
        <translation>Der Bericht braucht ein bis vier Röntgenbilder.</translation>
    </message>
</context>
<context>
    <name>FileMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>New &amp;Type...</source>
        <translation>Neuer &amp;Typ...</translation>
    </message>
    <message>
        <source>Open T&amp;ype...</source>
        <translation>T&amp;yp öffnen...</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;Into...</source>
        <translation>Speichern &amp;in...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>&amp;Alle speichern</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>C&amp;lose All</source>
        <translation>A&amp;lle schließen</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>&amp;Duplizieren...</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>Save Settings</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Reset Reminders</source>
        <translation>Erinnerungen zurücksetzen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Spreadsheet</source>
        <translation>Tabellen&amp;dokument</translation>
    </message>
    <message>
        <source>&amp;Text Document</source>
        <translation>&amp;Textdokument</translation>
    </message>
    <message>
        <source>&amp;Presentation</source>
        <translation>&amp;Präsentation</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was saved, but it now belongs to your own group: you may not give it the group it had, so its group may have lost access to it.</source>
        <translation>%1 wurde gespeichert, gehört jetzt aber Ihrer eigenen Gruppe: Sie dürfen ihr die frühere Gruppe nicht zurückgeben, daher hat diese Gruppe möglicherweise keinen Zugriff mehr darauf.</translation>
    </message>
    <message>
        <source>%1 was saved, but without the access control list it had: you may not set it, so the people it named may have lost access to it.</source>
        <translation>%1 wurde gespeichert, aber ohne die frühere Zugriffssteuerungsliste: Sie dürfen sie nicht setzen, daher haben die darin genannten Personen möglicherweise keinen Zugriff mehr darauf.</translation>
    </message>
    <message>
        <source>%1 was saved, but it now belongs to your own group and without the access control list it had: you may not set them, so others may have lost access to it.</source>
        <translation>%1 wurde gespeichert, gehört jetzt aber Ihrer eigenen Gruppe und hat die frühere Zugriffssteuerungsliste nicht mehr: Sie dürfen beides nicht setzen, daher haben andere möglicherweise keinen Zugriff mehr darauf.</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>No browser could be started for %1.</source>
        <translation>Für %1 konnte kein Browser gestartet werden.</translation>
    </message>
    <message>
        <source>The help pages are not installed. They were looked for in:%1</source>
        <translation>Die Hilfeseiten sind nicht installiert. Gesucht wurde in:%1</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
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
        <translation>Ü&amp;ber Lumacet...</translation>
    </message>
</context>
<context>
    <name>Image</name>
    <message>
        <source>There is no image to save.</source>
        <translation>Es gibt kein Bild zum Speichern.</translation>
    </message>
    <message>
        <source>Could not save image file:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation>Die Bilddatei konnte nicht gespeichert werden:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The image cannot be encoded.</source>
        <translation>Das Bild kann nicht kodiert werden.</translation>
    </message>
    <message>
        <source>Error loading image file:<byte value="xd"/>
   %1</source>
        <translation>Fehler beim Laden der Bilddatei:<byte value="xd"/>
   %1</translation>
    </message>
    <message>
        <source>Tried to load image file:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
but could not find it in the specified folder:<byte value="xd"/>
   %2<byte value="xd"/>
<byte value="xd"/>
or in the default image folder:<byte value="xd"/>
   %3<byte value="xd"/>
<byte value="xd"/>
Do you want to search for the file yourself?</source>
        <translation>Die Bilddatei<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
sollte geladen werden, wurde aber weder im angegebenen Ordner<byte value="xd"/>
   %2<byte value="xd"/>
<byte value="xd"/>
noch im Standardbildordner gefunden:<byte value="xd"/>
   %3<byte value="xd"/>
<byte value="xd"/>
Möchten Sie selbst nach der Datei suchen?</translation>
    </message>
    <message>
        <source>Tried to load image file:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
but could not find it in the default image folder:<byte value="xd"/>
   %2<byte value="xd"/>
<byte value="xd"/>
Do you want to search for the file yourself?</source>
        <translation>Die Bilddatei<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
sollte geladen werden, wurde aber im Standardbildordner nicht gefunden:<byte value="xd"/>
   %2<byte value="xd"/>
<byte value="xd"/>
Möchten Sie selbst nach der Datei suchen?</translation>
    </message>
    <message>
        <source>Could not find image file:<byte value="xd"/>
   %1</source>
        <translation>Die Bilddatei wurde nicht gefunden:<byte value="xd"/>
   %1</translation>
    </message>
    <message>
        <source>Do you want this folder:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
to be the default image folder?</source>
        <translation>Soll dieser Ordner:<byte value="xd"/>
   %1<byte value="xd"/>
<byte value="xd"/>
der Standardbildordner werden?</translation>
    </message>
    <message>
        <source>Image is too large to load. Memory insufficient.<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>Das Bild ist zu groß zum Laden. Nicht genügend Speicher.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Error loading TIFF file.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Fehler beim Laden der TIFF-Datei.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Error loading VIFF file.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Fehler beim Laden der VIFF-Datei.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Error loading DICOM file.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Fehler beim Laden der DICOM-Datei.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Error loading PNG file.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Fehler beim Laden der PNG-Datei.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Error loading image.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Fehler beim Laden des Bildes.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The scanner delivered no image.</source>
        <translation>Der Scanner hat kein Bild geliefert.</translation>
    </message>
    <message>
        <source>The scans differ in size or format and cannot be combined.</source>
        <translation>Die Scans unterscheiden sich in Größe oder Format und können nicht kombiniert werden.</translation>
    </message>
</context>
<context>
    <name>ImageGeometry</name>
    <message>
        <source>Invalid Values.</source>
        <translation>Ungültige Werte.</translation>
    </message>
    <message>
        <source>There is no image.</source>
        <translation>Es gibt kein Bild.</translation>
    </message>
    <message>
        <source>Only downsampling to a lower resolution is supported.</source>
        <translation>Nur das Verkleinern auf eine niedrigere Auflösung wird unterstützt.</translation>
    </message>
    <message>
        <source>Cannot align. Points not valid.</source>
        <translation>Ausrichten nicht möglich. Die Punkte sind ungültig.</translation>
    </message>
    <message>
        <source>Cannot align. Invalid point distance.</source>
        <translation>Ausrichten nicht möglich. Ungültiger Punktabstand.</translation>
    </message>
    <message>
        <source>Cannot align. You selected to mark the same point twice.<byte value="xd"/>
<byte value="xd"/>
Select different points in the drop-down list boxes and try again.</source>
        <translation>Ausrichten nicht möglich. Sie haben denselben Punkt zweimal gewählt.<byte value="xd"/>
<byte value="xd"/>
Wählen Sie in den Auswahllisten verschiedene Punkte und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>ImageMenu</name>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>U&amp;ndo / Redo Image</source>
        <translation>&amp;Rückgängig / Wiederherstellen</translation>
    </message>
    <message>
        <source>Rese&amp;t Image</source>
        <translation>Bild &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Visible</source>
        <translation>Sic&amp;htbar</translation>
    </message>
    <message>
        <source>Copy to Clip&amp;board</source>
        <translation>In die Zwischen&amp;ablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Position / Rotation...</source>
        <translation>&amp;Position / Drehung...</translation>
    </message>
    <message>
        <source>Rotate &amp;Arbitrary...</source>
        <translation>&amp;Beliebig drehen...</translation>
    </message>
    <message>
        <source>&amp;Left 90 degrees</source>
        <translation>90 Grad nach &amp;links</translation>
    </message>
    <message>
        <source>&amp;Right 90 degrees</source>
        <translation>90 Grad nach &amp;rechts</translation>
    </message>
    <message>
        <source>180 &amp;degrees</source>
        <translation>180 &amp;Grad</translation>
    </message>
    <message>
        <source>Flip &amp;Horizontal</source>
        <translation>&amp;Horizontal spiegeln</translation>
    </message>
    <message>
        <source>Flip &amp;Vertical</source>
        <translation>&amp;Vertikal spiegeln</translation>
    </message>
    <message>
        <source>Resi&amp;ze...</source>
        <translation>Ska&amp;lieren...</translation>
    </message>
    <message>
        <source>A&amp;lign Tracing...</source>
        <translation>Durchzeichnung a&amp;usrichten...</translation>
    </message>
    <message>
        <source>Tracing &amp;Locked</source>
        <translation>Durchzeichnung &amp;gesperrt</translation>
    </message>
    <message>
        <source>&amp;Acquire...</source>
        <translation>&amp;Einlesen...</translation>
    </message>
    <message>
        <source>&amp;Select Source...</source>
        <translation>&amp;Quelle wählen...</translation>
    </message>
    <message>
        <source>&amp;Equalize</source>
        <translation>&amp;Ausgleichen</translation>
    </message>
    <message>
        <source>&amp;Adaptive Equalize</source>
        <translation>A&amp;daptiv ausgleichen</translation>
    </message>
    <message>
        <source>Auto &amp;Levels</source>
        <translation>Automatische &amp;Tonwerte</translation>
    </message>
    <message>
        <source>A&amp;daptive Auto Levels</source>
        <translation>Adaptive automatische Ton&amp;werte</translation>
    </message>
    <message>
        <source>&amp;Negative Image</source>
        <translation>&amp;Negativ</translation>
    </message>
    <message>
        <source>Le&amp;vels...</source>
        <translation>Tonwert&amp;korrektur...</translation>
    </message>
    <message>
        <source>&amp;Brightness / Contrast / Gamma...</source>
        <translation>&amp;Helligkeit / Kontrast / Gamma...</translation>
    </message>
    <message>
        <source>Colori&amp;ze...</source>
        <translation>&amp;Einfärben...</translation>
    </message>
    <message>
        <source>Image Adjust</source>
        <translation>Bildanpassung</translation>
    </message>
    <message>
        <source>Blend Normal/Difference</source>
        <translation>Überblenden: normal/Differenz</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>English US (default)</source>
        <translation>Englisch US (Standard)</translation>
    </message>
    <message>
        <source>Selected Language: %1<byte value="xd"/>
<byte value="xd"/>
Change of language will be affected after you restart Lumacet.</source>
        <translation>Gewählte Sprache: %1<byte value="xd"/>
<byte value="xd"/>
Die neue Sprache gilt nach dem nächsten Start von Lumacet.</translation>
    </message>
    <message>
        <source>The language pack %1 cannot be used. Lumacet shows its texts in English.</source>
        <translation>Das Sprachpaket %1 kann nicht verwendet werden. Lumacet zeigt seine Texte auf Englisch.</translation>
    </message>
    <message>
        <source>No language pack for &quot;%1&quot; was found, so Lumacet shows its texts in English; choose the language again in Options. It was looked for in:%2</source>
        <translation>Für „%1“ wurde kein Sprachpaket gefunden, daher zeigt Lumacet seine Texte auf Englisch; wählen Sie die Sprache in den Optionen erneut. Gesucht wurde in:%2</translation>
    </message>
</context>
<context>
    <name>Mean</name>
    <message>
        <source>The superimposition %1 is not valid on radiograph %2.</source>
        <translation>Die Überlagerung %1 ist auf dem Röntgenbild %2 ungültig.</translation>
    </message>
    <message>
        <source>The type %1 has no superimposition named %2.</source>
        <translation>Der Typ %1 hat keine Überlagerung namens %2.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
<byte value="xd"/>
%2 pairs were written before it.</source>
        <translation>%1<byte value="xd"/>
<byte value="xd"/>
Davor wurden %2 Paare geschrieben.</translation>
    </message>
</context>
<context>
    <name>Morph</name>
    <message>
        <source>Cannot perform morphing:<byte value="xd"/>
%1</source>
        <translation>Morphing nicht möglich:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>S-curve</source>
        <translation>S-Kurve</translation>
    </message>
    <message>
        <source>Exponential</source>
        <translation>Exponentiell</translation>
    </message>
    <message>
        <source>Triangle interpolation</source>
        <translation>Dreiecksinterpolation</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Warping function: %1</source>
        <translation>Verzerrungsfunktion: %1</translation>
    </message>
    <message>
        <source>Quality: %1</source>
        <translation>Qualität: %1</translation>
    </message>
    <message>
        <source>No radiographs.</source>
        <translation>Keine Röntgenbilder.</translation>
    </message>
    <message>
        <source>Current is Morph Source.</source>
        <translation>Das aktuelle Röntgenbild ist die Morphing-Quelle.</translation>
    </message>
    <message>
        <source>Cannot morph Types.</source>
        <translation>Typen können nicht gemorpht werden.</translation>
    </message>
    <message>
        <source>Not the same Type.</source>
        <translation>Nicht derselbe Typ.</translation>
    </message>
    <message>
        <source>No image.</source>
        <translation>Kein Bild.</translation>
    </message>
    <message>
        <source>Some points not valid.</source>
        <translation>Einige Punkte sind ungültig.</translation>
    </message>
</context>
<context>
    <name>Movements</name>
    <message>
        <source>Can&apos;t Undo</source>
        <translation>Rückgängig nicht möglich</translation>
    </message>
    <message>
        <source>&amp;Undo: %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>Can&apos;t Repeat</source>
        <translation>Wiederholen nicht möglich</translation>
    </message>
    <message>
        <source>&amp;Redo: %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
%1 is not a valid number.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
%1 ist keine gültige Zahl.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
%1 moves the points beyond the display (at most 300 mm).</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
%1 bewegt die Punkte über den Anzeigebereich hinaus (höchstens 300 mm).</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
The rotation centre lies too far away.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Das Drehzentrum liegt zu weit entfernt.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
The factor must be greater than 0.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Faktor muss größer als 0 sein.</translation>
    </message>
    <message>
        <source>The movement cannot be performed: nothing was moved.</source>
        <translation>Die Bewegung kann nicht ausgeführt werden: Es wurde nichts bewegt.</translation>
    </message>
    <message>
        <source>No points selected.</source>
        <translation>Keine Punkte ausgewählt.</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation>Der Ordner „%1“ existiert nicht.</translation>
    </message>
</context>
<context>
    <name>Prediction</name>
    <message>
        <source>Reading the radiographs was cancelled.</source>
        <translation>Das Lesen der Röntgenbilder wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The radiograph has no type.</source>
        <translation>Das Röntgenbild hat keinen Typ.</translation>
    </message>
    <message>
        <source>The shape model has no landmark named %1.</source>
        <translation>Das Formmodell hat keine Landmarke namens %1.</translation>
    </message>
    <message>
        <source>At least two radiographs are needed for a shape model.</source>
        <translation>Für ein Formmodell werden mindestens zwei Röntgenbilder benötigt.</translation>
    </message>
    <message>
        <source>A shape model needs at least two points.</source>
        <translation>Ein Formmodell braucht mindestens zwei Punkte.</translation>
    </message>
    <message>
        <source>Cannot build the shape model: all points of radiograph %1 coincide.</source>
        <translation>Das Formmodell kann nicht erstellt werden: Alle Punkte des Röntgenbilds %1 fallen zusammen.</translation>
    </message>
    <message>
        <source>Cannot build the shape model: the mean shape has no size.</source>
        <translation>Das Formmodell kann nicht erstellt werden: Die mittlere Form hat keine Größe.</translation>
    </message>
    <message>
        <source>The PCA %1 holds no data: import a Procrustes report into it first.</source>
        <translation>Die PCA %1 enthält keine Daten: Importieren Sie zuerst einen Procrustes-Bericht.</translation>
    </message>
    <message>
        <source>At least two landmarks must be placed to predict the others.</source>
        <translation>Mindestens zwei Landmarken müssen gesetzt sein, um die übrigen vorherzusagen.</translation>
    </message>
    <message>
        <source>The placed landmarks do not fit the shape model.</source>
        <translation>Die gesetzten Landmarken passen nicht zum Formmodell.</translation>
    </message>
    <message>
        <source>The placed landmarks coincide: they give the shape model no position.</source>
        <translation>Die gesetzten Landmarken fallen zusammen: Sie geben dem Formmodell keine Lage.</translation>
    </message>
    <message>
        <source>The placed landmarks give the shape model no solution.</source>
        <translation>Die gesetzten Landmarken ergeben für das Formmodell keine Lösung.</translation>
    </message>
    <message>
        <source>Cross-validation needs at least two folds and no more folds than radiographs.</source>
        <translation>Die Kreuzvalidierung braucht mindestens zwei Teilmengen und nicht mehr Teilmengen als Röntgenbilder.</translation>
    </message>
    <message>
        <source>Far from the expected position: check this point.</source>
        <translation>Weit von der erwarteten Position entfernt: Prüfen Sie diesen Punkt.</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>The header or footer &quot;%1&quot; holds the unknown code &quot;%2&quot;. The codes are @n (name), @c (comments), @d (date taken), @b (date of birth), @a (age) and @p (page number).</source>
        <translation>Die Kopf- oder Fußzeile „%1“ enthält den unbekannten Code „%2“. Die Codes sind @n (Name), @c (Kommentare), @d (Aufnahmedatum), @b (Geburtsdatum), @a (Alter) und @p (Seitenzahl).</translation>
    </message>
    <message>
        <source>The page margins leave less than 1 cm of the page to print on.</source>
        <translation>Die Seitenränder lassen weniger als 1 cm der Seite zum Drucken frei.</translation>
    </message>
    <message>
        <source>The zoom must be greater than 0.</source>
        <translation>Der Zoom muss größer als 0 sein.</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; is not available. Choose another printer or print to a PDF file.</source>
        <translation>Der Drucker &quot;%1&quot; ist nicht verfügbar. Wählen Sie einen anderen Drucker oder drucken Sie in eine PDF-Datei.</translation>
    </message>
    <message>
        <source>No printer is set up. Choose a printer or print to a PDF file.</source>
        <translation>Es ist kein Drucker eingerichtet. Wählen Sie einen Drucker oder drucken Sie in eine PDF-Datei.</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; went away while &quot;%2&quot; was being printed; the print job was cancelled.</source>
        <translation>Der Drucker &quot;%1&quot; ist während des Druckens von &quot;%2&quot; verschwunden; der Druckauftrag wurde abgebrochen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be sent to the printer &quot;%2&quot;.</source>
        <translation>&quot;%1&quot; konnte nicht an den Drucker &quot;%2&quot; gesendet werden.</translation>
    </message>
    <message>
        <source>The print-out could not be written to %1.</source>
        <translation>Der Ausdruck konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Enter:
First Orientation Point</source>
        <translation>Eingabe:
Erster Orientierungspunkt</translation>
    </message>
    <message>
        <source>Enter:
Second Orientation Point</source>
        <translation>Eingabe:
Zweiter Orientierungspunkt</translation>
    </message>
    <message>
        <source>Proceed with Digitization?</source>
        <translation>Mit dem Digitalisieren fortfahren?</translation>
    </message>
    <message>
        <source>All (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.viff *.dcm);;JPEG Image files (*.jpg *.jpeg);;Bitmap files (*.bmp);;TIFF files (*.tif *.tiff);;PNG files (*.png);;Khoros VIFF files (*.viff);;DICOM files (*.dcm);;All files (*)</source>
        <translation>Alle (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.viff *.dcm);;JPEG-Bilddateien (*.jpg *.jpeg);;Bitmap-Dateien (*.bmp);;TIFF-Dateien (*.tif *.tiff);;PNG-Dateien (*.png);;Khoros-VIFF-Dateien (*.viff);;DICOM-Dateien (*.dcm);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Image saved to %1</source>
        <translation>Bild in %1 gespeichert</translation>
    </message>
    <message>
        <source>Image saved to %1; the tracing now links to it: save the tracing to keep the link.</source>
        <translation>Bild in %1 gespeichert; die Durchzeichnung verweist jetzt darauf: Speichern Sie die Durchzeichnung, um den Verweis zu behalten.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save &amp;Image</source>
        <translation>&amp;Bild speichern</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t Save</source>
        <translation>&amp;Nicht speichern</translation>
    </message>
    <message>
        <source>Creating windows...</source>
        <translation>Fenster werden erstellt...</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again.</source>
        <translation>Diese Meldung nicht mehr anzeigen.</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>This radiograph has changed:</source>
        <translation>Dieses Röntgenbild wurde geändert:</translation>
    </message>
    <message>
        <source>&amp;Save Tracing</source>
        <translation>&amp;Durchzeichnung speichern</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Type a new &amp;name:</source>
        <translation>Geben Sie einen neuen &amp;Namen ein:</translation>
    </message>
    <message>
        <source>Create a &amp;Copy</source>
        <translation>&amp;Kopie erstellen</translation>
    </message>
    <message>
        <source>All (*.jpg *.jpeg *.bmp)</source>
        <translation>Alle (*.jpg *.jpeg *.bmp)</translation>
    </message>
    <message>
        <source>JPEG Image File (*.jpg)</source>
        <translation>JPEG-Bilddatei (*.jpg)</translation>
    </message>
    <message>
        <source>JPEG Image File (*.jpeg)</source>
        <translation>JPEG-Bilddatei (*.jpeg)</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp)</source>
        <translation>Bitmaps (*.bmp)</translation>
    </message>
</context>
<context>
    <name>RadiographEntry</name>
    <message>
        <source>Incorrect date format.<byte value="xd"/>
<byte value="xd"/>
Date format should be, for example: %1</source>
        <translation>Falsches Datumsformat.<byte value="xd"/>
<byte value="xd"/>
Das Datum sollte zum Beispiel so aussehen: %1</translation>
    </message>
    <message>
        <source>Incompatible dates.<byte value="xd"/>
<byte value="xd"/>
Date Taken must be later than Date of Birth.</source>
        <translation>Unvereinbare Daten.<byte value="xd"/>
<byte value="xd"/>
Das Aufnahmedatum muss nach dem Geburtsdatum liegen.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
Magnification value is not a valid number.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Der Vergrößerungswert ist keine gültige Zahl.</translation>
    </message>
    <message>
        <source>Bad input.<byte value="xd"/>
<byte value="xd"/>
A patient name is required.</source>
        <translation>Ungültige Eingabe.<byte value="xd"/>
<byte value="xd"/>
Ein Patientenname ist erforderlich.</translation>
    </message>
</context>
<context>
    <name>RecordBrowser</name>
    <message>
        <source>Selected: %1</source>
        <translation>Ausgewählt: %1</translation>
    </message>
    <message>
        <source>Total Count: %1</source>
        <translation>Gesamtzahl: %1</translation>
    </message>
    <message>
        <source>No matching cases found.</source>
        <translation>Keine passenden Fälle gefunden.</translation>
    </message>
    <message>
        <source>This will permanently delete all selected radiographs.<byte value="xd"/>
<byte value="xd"/>
Are you sure ?</source>
        <translation>Damit werden alle ausgewählten Röntgenbilder endgültig gelöscht.<byte value="xd"/>
<byte value="xd"/>
Sind Sie sicher?</translation>
    </message>
    <message>
        <source>%1: Radiograph is already present in the destination file.<byte value="xd"/>
<byte value="xd"/>
Do you want to replace it?</source>
        <translation>%1: Das Röntgenbild ist in der Zieldatei bereits vorhanden.<byte value="xd"/>
<byte value="xd"/>
Möchten Sie es ersetzen?</translation>
    </message>
    <message>
        <source>Cannot copy: Source and destination files are the same.</source>
        <translation>Kopieren nicht möglich: Quell- und Zieldatei sind dieselbe.</translation>
    </message>
    <message>
        <source>File error writing to %1</source>
        <translation>Dateifehler beim Schreiben in %1</translation>
    </message>
    <message>
        <source>Error copying. Destination file may be Read-only.</source>
        <translation>Fehler beim Kopieren. Die Zieldatei ist möglicherweise schreibgeschützt.</translation>
    </message>
    <message>
        <source>Error during copying. Original files have not been changed.</source>
        <translation>Fehler während des Kopierens. Die ursprünglichen Dateien wurden nicht verändert.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>These settings in %1 held characters a settings file cannot store and keep their defaults: %2</source>
        <translation>Diese Einstellungen in %1 enthielten Zeichen, die eine Einstellungsdatei nicht speichern kann, und behalten ihre Standardwerte: %2</translation>
    </message>
    <message>
        <source>File Error.<byte value="xd"/>
Lumacet settings could not be saved.</source>
        <translation>Dateifehler.<byte value="xd"/>
Die Lumacet-Einstellungen konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>All reminders now set to ON.</source>
        <translation>Alle Erinnerungen sind jetzt eingeschaltet.</translation>
    </message>
</context>
<context>
    <name>Superimposition</name>
    <message>
        <source>Cannot superimpose. Points not valid.</source>
        <translation>Überlagern nicht möglich. Die Punkte sind ungültig.</translation>
    </message>
    <message>
        <source>Cannot orientate. Points not valid.</source>
        <translation>Orientieren nicht möglich. Die Punkte sind ungültig.</translation>
    </message>
    <message>
        <source>The type %1 has no orientation named %2.</source>
        <translation>Der Typ %1 hat keine Orientierung namens %2.</translation>
    </message>
    <message>
        <source>The type %1 has no superimposition named %2.</source>
        <translation>Der Typ %1 hat keine Überlagerung namens %2.</translation>
    </message>
</context>
<context>
    <name>ToolsMenu</name>
    <message>
        <source>T&amp;ools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>Select / Move</source>
        <translation>Auswählen / Verschieben</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Translate</source>
        <translation>Versetzen</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Rotation Center</source>
        <translation>Drehzentrum</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>Protractor</source>
        <translation>Winkelmesser</translation>
    </message>
    <message>
        <source>Digitizer</source>
        <translation>Digitalisiertablett</translation>
    </message>
    <message>
        <source>Image Translate</source>
        <translation>Bild versetzen</translation>
    </message>
    <message>
        <source>Magnification</source>
        <translation>Vergrößerung</translation>
    </message>
    <message>
        <source>Page Translate</source>
        <translation>Seite versetzen</translation>
    </message>
    <message>
        <source>&amp;No constraint</source>
        <translation>&amp;Keine Einschränkung</translation>
    </message>
    <message>
        <source>Constrain along &amp;X-axis</source>
        <translation>Nur entlang der &amp;X-Achse</translation>
    </message>
    <message>
        <source>Constrain along &amp;Y-axis</source>
        <translation>Nur entlang der &amp;Y-Achse</translation>
    </message>
    <message>
        <source>&amp;Auto Edge Lock</source>
        <translation>&amp;Automatische Kantenbindung</translation>
    </message>
    <message>
        <source>&amp;Orientation Cursor</source>
        <translation>&amp;Orientierungscursor</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;Digitized Dots</source>
        <translation>&amp;Digitalisierte Punkte</translation>
    </message>
    <message>
        <source>&amp;Snake Icons</source>
        <translation>&amp;Snake-Symbole</translation>
    </message>
    <message>
        <source>&amp;Procrustes and PCA...</source>
        <translation>&amp;Procrustes und PCA...</translation>
    </message>
    <message>
        <source>Principal &amp;Component Anal. (PCAs)</source>
        <translation>Haupt&amp;komponentenanalysen (PCAs)</translation>
    </message>
    <message>
        <source>PCA &amp;Viewer...</source>
        <translation>PCA-&amp;Betrachter...</translation>
    </message>
    <message>
        <source>&amp;Mean...</source>
        <translation>&amp;Mittelwert...</translation>
    </message>
    <message>
        <source>Sort by &amp;Shape...</source>
        <translation>Nach &amp;Form sortieren...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>&amp;Convert Type...</source>
        <translation>Typ &amp;umwandeln...</translation>
    </message>
</context>
<context>
    <name>TracingMenu</name>
    <message>
        <source>T&amp;racing</source>
        <translation>Du&amp;rchzeichnung</translation>
    </message>
    <message>
        <source>&amp;Get Coordinates from...</source>
        <translation>&amp;Koordinaten übernehmen von...</translation>
    </message>
    <message>
        <source>Digiti&amp;ze...</source>
        <translation>Digitali&amp;sieren...</translation>
    </message>
    <message>
        <source>Set as Re&amp;ference</source>
        <translation>Als Re&amp;ferenz setzen</translation>
    </message>
    <message>
        <source>Set as Morph So&amp;urce</source>
        <translation>Als Morph-&amp;Quelle setzen</translation>
    </message>
    <message>
        <source>S&amp;ort</source>
        <translation>S&amp;ortieren</translation>
    </message>
    <message>
        <source>&amp;Undo...</source>
        <translation>&amp;Rückgängig...</translation>
    </message>
    <message>
        <source>&amp;Redo...</source>
        <translation>&amp;Wiederherstellen...</translation>
    </message>
    <message>
        <source>&amp;Move...</source>
        <translation>&amp;Bewegen...</translation>
    </message>
    <message>
        <source>Flip &amp;Vertical</source>
        <translation>&amp;Vertikal spiegeln</translation>
    </message>
    <message>
        <source>Flip &amp;Horizontal</source>
        <translation>&amp;Horizontal spiegeln</translation>
    </message>
    <message>
        <source>S&amp;cale...</source>
        <translation>S&amp;kalieren...</translation>
    </message>
    <message>
        <source>Select A&amp;ll</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Superimpose on Current</source>
        <translation>Auf die aktuelle ü&amp;berlagern</translation>
    </message>
    <message>
        <source>&amp;Orientate</source>
        <translation>&amp;Orientieren</translation>
    </message>
    <message>
        <source>&amp;Orientate...</source>
        <translation>&amp;Orientieren...</translation>
    </message>
    <message>
        <source>A&amp;uto Orientate on Loading</source>
        <translation>Beim &amp;Laden automatisch orientieren</translation>
    </message>
    <message>
        <source>&amp;Snap Movements</source>
        <translation>Bewegungen &amp;einrasten</translation>
    </message>
    <message>
        <source>&amp;Auto VTO</source>
        <translation>Automatische V&amp;TO</translation>
    </message>
    <message>
        <source>Movement: Co&amp;nnected</source>
        <translation>Bewegung: &amp;verbunden</translation>
    </message>
    <message>
        <source>Movement: &amp;Compile</source>
        <translation>Bewegung: &amp;zusammenfassen</translation>
    </message>
    <message>
        <source>&amp;Original Area</source>
        <translation>&amp;Ursprüngliche Fläche</translation>
    </message>
    <message>
        <source>&amp;Current Area</source>
        <translation>A&amp;ktuelle Fläche</translation>
    </message>
    <message>
        <source>&amp;Morph</source>
        <translation>&amp;Morphing</translation>
    </message>
    <message>
        <source>&amp;Interactive Morph</source>
        <translation>&amp;Interaktives Morphing</translation>
    </message>
    <message>
        <source>Morph &amp;Options...</source>
        <translation>Morphing-&amp;Optionen...</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>S-curve</source>
        <translation>S-Kurve</translation>
    </message>
    <message>
        <source>Exponential</source>
        <translation>Exponentiell</translation>
    </message>
    <message>
        <source>Triangle interpolation</source>
        <translation>Dreiecksinterpolation</translation>
    </message>
    <message>
        <source>&amp;Low but Fast</source>
        <translation>&amp;Niedrig, aber schnell</translation>
    </message>
    <message>
        <source>&amp;Medium</source>
        <translation>&amp;Mittel</translation>
    </message>
    <message>
        <source>&amp;High but Slow</source>
        <translation>&amp;Hoch, aber langsam</translation>
    </message>
</context>
<context>
    <name>TypeBrowser</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Age: %1  to: %2</source>
        <translation>Alter: %1  bis: %2</translation>
    </message>
    <message>
        <source>Mean: %1  St. Dev.: %2</source>
        <translation>Mittelwert: %1  Std.-Abw.: %2</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Edge Extent</source>
        <translation>Kantenreichweite</translation>
    </message>
    <message>
        <source>Edge Angle</source>
        <translation>Kantenwinkel</translation>
    </message>
    <message>
        <source>Edge Transition</source>
        <translation>Kantenübergang</translation>
    </message>
    <message>
        <source>Direction 1</source>
        <translation>Richtung 1</translation>
    </message>
    <message>
        <source>Direction 2</source>
        <translation>Richtung 2</translation>
    </message>
    <message>
        <source>Auto Edge Lock</source>
        <translation>Automatische Kantenbindung</translation>
    </message>
    <message>
        <source>Orientation Cursor only</source>
        <translation>Nur Orientierungscursor</translation>
    </message>
    <message>
        <source>Orientation Cursor and Edge Lock</source>
        <translation>Orientierungscursor und Kantenbindung</translation>
    </message>
    <message>
        <source>Hint Graphic</source>
        <translation>Hinweisgrafik</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Zeichnen</translation>
    </message>
    <message>
        <source>Use Color of</source>
        <translation>Farbe verwenden von</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>Fill Style</source>
        <translation>Füllstil</translation>
    </message>
    <message>
        <source>Pen Width</source>
        <translation>Stiftbreite</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientierung</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Use for Morphing</source>
        <translation>Für das Morphen verwenden</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Anchor</source>
        <translation>Anker</translation>
    </message>
    <message>
        <source>Anchor Offset (x, y)</source>
        <translation>Ankerversatz (x, y)</translation>
    </message>
    <message>
        <source>Alignment</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Display Mode</source>
        <translation>Anzeigemodus</translation>
    </message>
    <message>
        <source>Show Name</source>
        <translation>Name anzeigen</translation>
    </message>
    <message>
        <source>Text Before</source>
        <translation>Text davor</translation>
    </message>
    <message>
        <source>Number Format</source>
        <translation>Zahlenformat</translation>
    </message>
    <message>
        <source>Text After</source>
        <translation>Text danach</translation>
    </message>
    <message>
        <source>Female Normals</source>
        <translation>Normwerte weiblich</translation>
    </message>
    <message>
        <source>Male Normals</source>
        <translation>Normwerte männlich</translation>
    </message>
    <message>
        <source>Digitized Points</source>
        <translation>Digitalisierte Punkte</translation>
    </message>
    <message>
        <source>Derived Points</source>
        <translation>Abgeleitete Punkte</translation>
    </message>
    <message>
        <source>Areas</source>
        <translation>Flächen</translation>
    </message>
    <message>
        <source>Drawings</source>
        <translation>Zeichnungen</translation>
    </message>
    <message>
        <source>Variables</source>
        <translation>Variablen</translation>
    </message>
    <message>
        <source>Analyses</source>
        <translation>Analysen</translation>
    </message>
    <message>
        <source>Protocols</source>
        <translation>Protokolle</translation>
    </message>
    <message>
        <source>Superimpositions</source>
        <translation>Überlagerungen</translation>
    </message>
    <message>
        <source>Orientations</source>
        <translation>Orientierungen</translation>
    </message>
    <message>
        <source>Relationships</source>
        <translation>Beziehungen</translation>
    </message>
    <message>
        <source>Views</source>
        <translation>Ansichten</translation>
    </message>
    <message>
        <source>Snakes</source>
        <translation>Snakes</translation>
    </message>
    <message>
        <source>PCAs</source>
        <translation>PCAs</translation>
    </message>
    <message>
        <source>White to Black</source>
        <translation>Weiß nach Schwarz</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Beliebig</translation>
    </message>
    <message>
        <source>Black to White</source>
        <translation>Schwarz nach Weiß</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Durchgezogen</translation>
    </message>
    <message>
        <source>Dash</source>
        <translation>Gestrichelt</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>Gepunktet</translation>
    </message>
    <message>
        <source>Dash Dot</source>
        <translation>Strich-Punkt</translation>
    </message>
    <message>
        <source>Dash Dot Dot</source>
        <translation>Strich-Punkt-Punkt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>No Fill</source>
        <translation>Keine Füllung</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>Vertikal</translation>
    </message>
    <message>
        <source>Forward Diagonal</source>
        <translation>Diagonal vorwärts</translation>
    </message>
    <message>
        <source>Backward Diagonal</source>
        <translation>Diagonal rückwärts</translation>
    </message>
    <message>
        <source>Cross</source>
        <translation>Kreuz</translation>
    </message>
    <message>
        <source>Diagonal Cross</source>
        <translation>Diagonalkreuz</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Quadrat</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Text Window</source>
        <translation>Textfenster</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beide</translation>
    </message>
    <message>
        <source>Hot Zone</source>
        <translation>Suchzone</translation>
    </message>
    <message>
        <source>Auto Advance</source>
        <translation>Automatisch weiter</translation>
    </message>
    <message>
        <source>Beep On Error</source>
        <translation>Signalton bei Fehler</translation>
    </message>
    <message>
        <source>Error Margin</source>
        <translation>Fehlertoleranz</translation>
    </message>
    <message>
        <source>Affect</source>
        <translation>Wirkung</translation>
    </message>
    <message>
        <source>Affect Area</source>
        <translation>Betroffene Fläche</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Leitpunkt</translation>
    </message>
    <message>
        <source>X+ direction</source>
        <translation>Richtung X+</translation>
    </message>
    <message>
        <source>X- direction</source>
        <translation>Richtung X-</translation>
    </message>
    <message>
        <source>Y+ direction</source>
        <translation>Richtung Y+</translation>
    </message>
    <message>
        <source>Y- direction</source>
        <translation>Richtung Y-</translation>
    </message>
    <message>
        <source>Rotation as Translation</source>
        <translation>Drehung als Verschiebung</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Drehung</translation>
    </message>
</context>
<context>
    <name>TypeCache</name>
    <message>
        <source>Could not find file for &apos;%1&apos;<byte value="xd"/>
in Directory: %2<byte value="xd"/>
<byte value="xd"/>
Make sure the Default Directory for LCR files is correct.</source>
        <translation>Die Datei für „%1“ wurde nicht gefunden<byte value="xd"/>
im Ordner: %2<byte value="xd"/>
<byte value="xd"/>
Prüfen Sie, ob der Standardordner für LCR-Dateien stimmt.</translation>
    </message>
</context>
<context>
    <name>TypeConversion</name>
    <message>
        <source>Only %1 of the %2 points of &apos;%3&apos; take a point of &apos;%4&apos; (at least %5% must): nothing was converted.</source>
        <translation>Nur %1 der %2 Punkte von „%3“ erhalten einen Punkt von „%4“ (mindestens %5% müssen es sein): Es wurde nichts umgewandelt.</translation>
    </message>
</context>
<context>
    <name>TypeEdits</name>
    <message>
        <source>&apos;%1&apos; cannot lose its points: &apos;%2&apos; refers to them.</source>
        <translation>„%1“ kann seine Punkte nicht verlieren: „%2“ verweist auf sie.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; refers to an element that is not part of the type.</source>
        <translation>„%1“ verweist auf ein Element, das nicht zum Typ gehört.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be used here in &apos;%2&apos;: it is not a %3.</source>
        <translation>„%1“ kann hier in „%2“ nicht verwendet werden: Es ist kein %3.</translation>
    </message>
    <message>
        <source>The list has changed since: its order cannot be restored.</source>
        <translation>Die Liste hat sich seitdem geändert: Ihre Reihenfolge kann nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not part of the type.</source>
        <translation>„%1“ gehört nicht zum Typ.</translation>
    </message>
    <message>
        <source>No such element kind.</source>
        <translation>Diese Elementart gibt es nicht.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no kind number %2.</source>
        <translation>„%1“ hat keine Art mit der Nummer %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has no operand %2.</source>
        <translation>„%1“ hat keinen Operanden %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be operand %2 of &apos;%3&apos; as it is now.</source>
        <translation>„%1“ kann in seinem jetzigen Zustand nicht Operand %2 von „%3“ sein.</translation>
    </message>
    <message>
        <source>The position is not on the tracing.</source>
        <translation>Die Position liegt nicht auf der Durchzeichnung.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is computed from its operands: only a Fixed point takes a position.</source>
        <translation>„%1“ wird aus seinen Operanden berechnet: Nur ein fester Punkt nimmt eine Position an.</translation>
    </message>
    <message>
        <source>The anchor of &apos;%1&apos; has no position on the tracing.</source>
        <translation>Der Anker von „%1“ hat keine Position auf der Durchzeichnung.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes no position from a click.</source>
        <translation>„%1“ nimmt keine Position per Klick an.</translation>
    </message>
    <message>
        <source>The new order must hold every element of the list once.</source>
        <translation>Die neue Reihenfolge muss jedes Element der Liste genau einmal enthalten.</translation>
    </message>
    <message>
        <source>Nothing to undo.</source>
        <translation>Es gibt nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>Nothing to redo.</source>
        <translation>Es gibt nichts wiederherzustellen.</translation>
    </message>
</context>
<context>
    <name>TypeFile</name>
    <message>
        <source>Could not load radiograph type.<byte value="xd"/>
<byte value="xd"/>
Error reading %1.</source>
        <translation>Der Röntgenbildtyp konnte nicht geladen werden.<byte value="xd"/>
<byte value="xd"/>
Fehler beim Lesen von %1.</translation>
    </message>
    <message>
        <source>image data</source>
        <translation>Bilddaten</translation>
    </message>
    <message>
        <source>Could not save radiograph type.<byte value="xd"/>
<byte value="xd"/>
%1.</source>
        <translation>Der Röntgenbildtyp konnte nicht gespeichert werden.<byte value="xd"/>
<byte value="xd"/>
%1.</translation>
    </message>
    <message>
        <source>Saved with changes: double quotes, control characters and characters outside Windows-1252 were replaced in %1.</source>
        <translation>Mit Änderungen gespeichert: Doppelte Anführungszeichen, Steuerzeichen und Zeichen außerhalb von Windows-1252 wurden in %1 ersetzt.</translation>
    </message>
</context>
<context>
    <name>TypeMenu</name>
    <message>
        <source>&amp;Type</source>
        <translation>&amp;Typ</translation>
    </message>
    <message>
        <source>&amp;Type Browser...</source>
        <translation>&amp;Typbrowser...</translation>
    </message>
    <message>
        <source>Digitized Points...</source>
        <translation>Digitalisierte Punkte...</translation>
    </message>
    <message>
        <source>Snakes...</source>
        <translation>Snakes...</translation>
    </message>
    <message>
        <source>Derived Points...</source>
        <translation>Abgeleitete Punkte...</translation>
    </message>
    <message>
        <source>Areas...</source>
        <translation>Flächen...</translation>
    </message>
    <message>
        <source>Drawings...</source>
        <translation>Zeichnungen...</translation>
    </message>
    <message>
        <source>Variables...</source>
        <translation>Variablen...</translation>
    </message>
    <message>
        <source>Analyses...</source>
        <translation>Analysen...</translation>
    </message>
    <message>
        <source>Superimpositions...</source>
        <translation>Überlagerungen...</translation>
    </message>
    <message>
        <source>Orientations...</source>
        <translation>Orientierungen...</translation>
    </message>
    <message>
        <source>Protocols...</source>
        <translation>Protokolle...</translation>
    </message>
    <message>
        <source>VTO &amp;Relationships</source>
        <translation>VTO-&amp;Beziehungen</translation>
    </message>
    <message>
        <source>Views...</source>
        <translation>Ansichten...</translation>
    </message>
    <message>
        <source>Shape Analyses...</source>
        <translation>Formanalysen...</translation>
    </message>
</context>
<context>
    <name>UserLevels</name>
    <message>
        <source>Sorry, you don&apos;t have permission for this action.<byte value="xd"/>
<byte value="xd"/>
User Level: %1</source>
        <translation>Sie haben leider keine Berechtigung für diese Aktion.<byte value="xd"/>
<byte value="xd"/>
Benutzerstufe: %1</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
    <message>
        <source>The passwords in %1 could not be replaced by their hashes.</source>
        <translation>Die Kennwörter in %1 konnten nicht durch ihre Hashwerte ersetzt werden.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Kennwort</translation>
    </message>
    <message>
        <source>Enter your password:</source>
        <translation>Geben Sie Ihr Kennwort ein:</translation>
    </message>
</context>
<context>
    <name>ViewMenu</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Zoom In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Best Fit</source>
        <translation>&amp;Einpassen</translation>
    </message>
    <message>
        <source>&amp;Fit All</source>
        <translation>Alles ein&amp;passen</translation>
    </message>
    <message>
        <source>&amp;Grid</source>
        <translation>&amp;Raster</translation>
    </message>
    <message>
        <source>&amp;Analysis</source>
        <translation>Ana&amp;lyse</translation>
    </message>
    <message>
        <source>Current Only</source>
        <translation>Nur die aktuelle</translation>
    </message>
    <message>
        <source>Comparative</source>
        <translation>Vergleichend</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>&amp;Detailed Analysis...</source>
        <translation>Ausf&amp;ührliche Analyse...</translation>
    </message>
    <message>
        <source>Copy Resul&amp;ts</source>
        <translation>Ergebnisse k&amp;opieren</translation>
    </message>
    <message>
        <source>Save Res&amp;ults...</source>
        <translation>Ergebnisse &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Movement</source>
        <translation>&amp;Bewegung</translation>
    </message>
</context>
<context>
    <name>VtoRelationships</name>
    <message>
        <source>Cannot include this point.<byte value="xd"/>
<byte value="xd"/>
It is used as the Master Point.</source>
        <translation>Dieser Punkt kann nicht aufgenommen werden.<byte value="xd"/>
<byte value="xd"/>
Er wird als Leitpunkt verwendet.</translation>
    </message>
    <message>
        <source>Cannot use this point as Master Point.<byte value="xd"/>
<byte value="xd"/>
It is included in the Affected Points.</source>
        <translation>Dieser Punkt kann nicht als Leitpunkt verwendet werden.<byte value="xd"/>
<byte value="xd"/>
Er gehört zu den betroffenen Punkten.</translation>
    </message>
</context>
<context>
    <name>Workspace</name>
    <message>
        <source>Saved %1 to %2</source>
        <translation>%1 in %2 gespeichert</translation>
    </message>
    <message>
        <source>%1 of the %2 chosen records were not opened: all %3 places hold an object. Close some and open the rest again.</source>
        <translation>%1 der %2 gewählten Datensätze wurden nicht geöffnet: Alle %3 Plätze sind belegt. Schließen Sie einige Objekte und öffnen Sie den Rest erneut.</translation>
    </message>
</context>
<context>
    <name>lumacet::TAcquireDialog</name>
    <message>
        <source>Acquire</source>
        <translation>Einlesen</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> dpi</translation>
    </message>
    <message>
        <source>Grey</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>8 bits</source>
        <translation>8 Bit</translation>
    </message>
    <message>
        <source>16 bits</source>
        <translation>16 Bit</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>Median</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Central Average</source>
        <translation>Zentraler Mittelwert</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation>&amp;Scannen</translation>
    </message>
    <message>
        <source>Scanner:</source>
        <translation>Scanner:</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>Auflösung:</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Modus:</translation>
    </message>
    <message>
        <source>Depth:</source>
        <translation>Farbtiefe:</translation>
    </message>
    <message>
        <source>Scans:</source>
        <translation>Scans:</translation>
    </message>
    <message>
        <source>Noise reduction:</source>
        <translation>Rauschminderung:</translation>
    </message>
    <message>
        <source>No scanner was found.</source>
        <translation>Es wurde kein Scanner gefunden.</translation>
    </message>
    <message>
        <source>Choose the settings, then Preview or Scan.</source>
        <translation>Wählen Sie die Einstellungen, dann Vorschau oder Scannen.</translation>
    </message>
    <message>
        <source>Acquiring Image...</source>
        <translation>Bild wird eingelesen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Acquiring Image... (scan %1 of %2)</source>
        <translation>Bild wird eingelesen... (Scan %1 von %2)</translation>
    </message>
    <message>
        <source>Drag over the preview to choose the area to scan.</source>
        <translation>Ziehen Sie über die Vorschau, um den zu scannenden Bereich zu wählen.</translation>
    </message>
</context>
<context>
    <name>lumacet::TAlignTracingDlg</name>
    <message>
        <source>Align Tracing</source>
        <translation>Durchzeichnung ausrichten</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Tracing</source>
        <translation>Durchzeichnung</translation>
    </message>
    <message>
        <source>Re&amp;size:</source>
        <translation>&amp;Skalieren:</translation>
    </message>
    <message>
        <source>&amp;Translate:</source>
        <translation>&amp;Versetzen:</translation>
    </message>
    <message>
        <source>&amp;Rotate:</source>
        <translation>&amp;Drehen:</translation>
    </message>
    <message>
        <source>&amp;Auto Refine</source>
        <translation>&amp;Automatisch verfeinern</translation>
    </message>
    <message>
        <source>Adjust &amp;Points</source>
        <translation>&amp;Punkte anpassen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Use the Digitize tool to mark two points on the image:</source>
        <translation>Markieren Sie mit dem Digitalisierwerkzeug zwei Punkte auf dem Bild:</translation>
    </message>
    <message>
        <source>Aligning &amp;Orientation:</source>
        <translation>&amp;Orientierung zum Ausrichten:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Adjust points to Photo.</source>
        <translation>Punkte an das Bild anpassen.</translation>
    </message>
    <message>
        <source>Refine drawing:</source>
        <translation>Zeichnung zum Verfeinern:</translation>
    </message>
    <message>
        <source>Adjust drawing:</source>
        <translation>Zeichnung zum Anpassen:</translation>
    </message>
    <message>
        <source>&amp;Hot zone (mm):</source>
        <translation>&amp;Suchzone (mm):</translation>
    </message>
    <message>
        <source>&amp;Interpolate points:</source>
        <translation>Punkte &amp;interpolieren:</translation>
    </message>
    <message>
        <source>R&amp;epeat:</source>
        <translation>&amp;Wiederholen:</translation>
    </message>
</context>
<context>
    <name>lumacet::TAnalysesForm</name>
    <message>
        <source>Analyses</source>
        <translation>Analysen</translation>
    </message>
    <message>
        <source>Avai&amp;lable Variables:</source>
        <translation>&amp;Verfügbare Variablen:</translation>
    </message>
    <message>
        <source>Variable&amp;s In Analysis:</source>
        <translation>Variablen in der &amp;Analyse:</translation>
    </message>
    <message>
        <source>Avai&amp;lable Graphics:</source>
        <translation>&amp;Verfügbare Grafiken:</translation>
    </message>
    <message>
        <source>Graphic&amp;s In Analysis:</source>
        <translation>Grafiken in der &amp;Analyse:</translation>
    </message>
    <message>
        <source>Varia&amp;bles</source>
        <translation>Varia&amp;blen</translation>
    </message>
    <message>
        <source>&amp;Graphics</source>
        <translation>&amp;Grafiken</translation>
    </message>
</context>
<context>
    <name>lumacet::TAnalysisWindow</name>
    <message>
        <source>Detailed Analysis</source>
        <translation>Ausführliche Analyse</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Messung</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>St. Dev.</source>
        <translation>Std.-Abw.</translation>
    </message>
    <message>
        <source>Show &amp;Normal Values</source>
        <translation>&amp;Normwerte anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;Graph</source>
        <translation>&amp;Grafik anzeigen</translation>
    </message>
    <message>
        <source>&amp;Word Wrap</source>
        <translation>&amp;Zeilenumbruch</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Save Layout</source>
        <translation>&amp;Layout speichern</translation>
    </message>
    <message>
        <source>Save Analysis</source>
        <translation>Analyse speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt);;HTML files (*.html);;OpenDocument text (*.odt);;All files (*)</source>
        <translation>Textdateien (*.txt);;HTML-Dateien (*.html);;OpenDocument-Text (*.odt);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>lumacet::TAreasForm</name>
    <message>
        <source>Areas</source>
        <translation>Flächen</translation>
    </message>
    <message>
        <source>&amp;Points:</source>
        <translation>&amp;Punkte:</translation>
    </message>
</context>
<context>
    <name>lumacet::TArrangeForm</name>
    <message>
        <source>Rearrange</source>
        <translation>Neu anordnen</translation>
    </message>
    <message>
        <source>Rearrange the items by dragging them up or down:</source>
        <translation>Ordnen Sie die Einträge neu, indem Sie sie nach oben oder unten ziehen:</translation>
    </message>
</context>
<context>
    <name>lumacet::TColorizeDlg</name>
    <message>
        <source>Colorize</source>
        <translation>Einfärben</translation>
    </message>
    <message>
        <source>Select color scheme:</source>
        <translation>Farbschema wählen:</translation>
    </message>
</context>
<context>
    <name>lumacet::TConBrightAdjDlg</name>
    <message>
        <source>Brightness - Contrast - Gamma</source>
        <translation>Helligkeit - Kontrast - Gamma</translation>
    </message>
    <message>
        <source>&amp;Brightness: %1</source>
        <translation>&amp;Helligkeit: %1</translation>
    </message>
    <message>
        <source>&amp;Contrast: %1</source>
        <translation>&amp;Kontrast: %1</translation>
    </message>
    <message>
        <source>&amp;Gamma: %1</source>
        <translation>&amp;Gamma: %1</translation>
    </message>
</context>
<context>
    <name>lumacet::TConvertTypeForm</name>
    <message>
        <source>Convert Type</source>
        <translation>Typ umwandeln</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Umwandeln</translation>
    </message>
    <message>
        <source>1. Select radiographs to convert:</source>
        <translation>1. Umzuwandelnde Röntgenbilder wählen:</translation>
    </message>
    <message>
        <source>2. Select original radiograph &amp;Type:</source>
        <translation>2. Ursprünglichen Röntgenbild&amp;typ wählen:</translation>
    </message>
    <message>
        <source>3. Select radiograph Type to &amp;convert to:</source>
        <translation>3. &amp;Zieltyp der Umwandlung wählen:</translation>
    </message>
    <message>
        <source>4. Set point correspondences:</source>
        <translation>4. Punktzuordnungen festlegen:</translation>
    </message>
    <message>
        <source>5. Select file to save results:</source>
        <translation>5. Datei für die Ergebnisse wählen:</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>&amp;Datei...</translation>
    </message>
</context>
<context>
    <name>lumacet::TDerPointsForm</name>
    <message>
        <source>Derived Points</source>
        <translation>Abgeleitete Punkte</translation>
    </message>
</context>
<context>
    <name>lumacet::TDicomFrameDlg</name>
    <message>
        <source>DICOM Frame</source>
        <translation>DICOM-Einzelbild</translation>
    </message>
    <message>
        <source>The image file holds %1 frames.</source>
        <translation>Die Bilddatei enthält %1 Einzelbilder.</translation>
    </message>
    <message>
        <source>&amp;Frame:</source>
        <translation>&amp;Einzelbild:</translation>
    </message>
</context>
<context>
    <name>lumacet::TDigPointsForm</name>
    <message>
        <source>Digitized Points</source>
        <translation>Digitalisierte Punkte</translation>
    </message>
    <message>
        <source>Recalculate position.</source>
        <translation>Position neu berechnen.</translation>
    </message>
    <message>
        <source>De&amp;scription:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>Search &amp;Range:</source>
        <translation>Such&amp;bereich:</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Search &amp;Angle:</source>
        <translation>Such&amp;winkel:</translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation>Richtung:</translation>
    </message>
    <message>
        <source>Point &amp;1:</source>
        <translation>Punkt &amp;1:</translation>
    </message>
    <message>
        <source>(set Point 1 to &lt;none&gt; for Absolute):</source>
        <translation>(Punkt 1 auf &lt;keine&gt; setzen für absolut):</translation>
    </message>
    <message>
        <source>Point &amp;2:</source>
        <translation>Punkt &amp;2:</translation>
    </message>
    <message>
        <source>(set Point 2 to &lt;Digitizer&gt; for Dynamic):</source>
        <translation>(Punkt 2 auf &lt;Digitalisierer&gt; setzen für dynamisch):</translation>
    </message>
    <message>
        <source>Orientation Cursor only</source>
        <translation>Nur Orientierungscursor</translation>
    </message>
    <message>
        <source>White to Black</source>
        <translation>Weiß nach Schwarz</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Beliebig</translation>
    </message>
    <message>
        <source>Black to White</source>
        <translation>Schwarz nach Weiß</translation>
    </message>
    <message>
        <source>&amp;Transition:</source>
        <translation>Über&amp;gang:</translation>
    </message>
    <message>
        <source>Lock &amp;Bias:</source>
        <translation>Bindungs&amp;tendenz:</translation>
    </message>
    <message>
        <source>&amp;Hint Drawing:</source>
        <translation>&amp;Hinweiszeichnung:</translation>
    </message>
    <message>
        <source>&lt;Digitizer&gt;</source>
        <translation>&lt;Digitalisierer&gt;</translation>
    </message>
    <message>
        <source>De&amp;finition</source>
        <translation>De&amp;finition</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>&amp;Edge Lock</source>
        <translation>&amp;Kantenbindung</translation>
    </message>
</context>
<context>
    <name>lumacet::TDigitizeWindow</name>
    <message>
        <source>Digitize</source>
        <translation>Digitalisieren</translation>
    </message>
    <message>
        <source>Pro&amp;tocol:</source>
        <translation>Pro&amp;tokoll:</translation>
    </message>
    <message>
        <source>&amp;Element:</source>
        <translation>&amp;Element:</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Vorheriges</translation>
    </message>
    <message>
        <source>Select the previous element. (Page Up)</source>
        <translation>Das vorherige Element wählen. (Bild auf)</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächstes</translation>
    </message>
    <message>
        <source>Select the next element. (Page Down)</source>
        <translation>Das nächste Element wählen. (Bild ab)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete selected point. (Backspace)</source>
        <translation>Den ausgewählten Punkt löschen. (Rücktaste)</translation>
    </message>
    <message>
        <source>Ne&amp;xt Placement</source>
        <translation>Nächste &amp;Platzierung</translation>
    </message>
    <message>
        <source>Select next point.</source>
        <translation>Den nächsten Punkt wählen.</translation>
    </message>
    <message>
        <source>Go to prediction</source>
        <translation>Zur Vorhersage</translation>
    </message>
    <message>
        <source>Move the pointer to the predicted position. (G)</source>
        <translation>Den Zeiger an die vorhergesagte Position bewegen. (G)</translation>
    </message>
    <message>
        <source>&amp;Get [R]</source>
        <translation>Über&amp;nehmen [R]</translation>
    </message>
    <message>
        <source>Get Coordinates from Reference.</source>
        <translation>Koordinaten von der Referenz übernehmen.</translation>
    </message>
    <message>
        <source>Show &amp;brightness (smooth)</source>
        <translation>&amp;Helligkeit anzeigen (geglättet)</translation>
    </message>
    <message>
        <source>Show brightness graph.</source>
        <translation>Helligkeitskurve anzeigen.</translation>
    </message>
    <message>
        <source>Show &amp;first derivative</source>
        <translation>&amp;Erste Ableitung anzeigen</translation>
    </message>
    <message>
        <source>Show first derivative of brightness graph.</source>
        <translation>Erste Ableitung der Helligkeitskurve anzeigen.</translation>
    </message>
    <message>
        <source>Show &amp;second derivative</source>
        <translation>&amp;Zweite Ableitung anzeigen</translation>
    </message>
    <message>
        <source>Show second derivative of brightness graph.</source>
        <translation>Zweite Ableitung der Helligkeitskurve anzeigen.</translation>
    </message>
    <message>
        <source>Show &amp;pixels values</source>
        <translation>&amp;Pixelwerte anzeigen</translation>
    </message>
    <message>
        <source>Show pixels values (raw).</source>
        <translation>Pixelwerte anzeigen (unbearbeitet).</translation>
    </message>
    <message>
        <source>Most prominent.</source>
        <translation>Am deutlichsten.</translation>
    </message>
    <message>
        <source>Closest.</source>
        <translation>Am nächsten.</translation>
    </message>
    <message>
        <source>Between most prominent.</source>
        <translation>Zwischen den deutlichsten.</translation>
    </message>
    <message>
        <source>Between closest.</source>
        <translation>Zwischen den nächsten.</translation>
    </message>
    <message>
        <source>Hot &amp;zone (mm):</source>
        <translation>Such&amp;zone (mm):</translation>
    </message>
    <message>
        <source>Nu&amp;mber of points:</source>
        <translation>An&amp;zahl der Punkte:</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Anpassen</translation>
    </message>
    <message>
        <source>Fit the snake to the edges of the image.</source>
        <translation>Die Snake an die Kanten des Bildes anpassen.</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Back to the type&apos;s template snake.</source>
        <translation>Zurück zur Vorlage-Snake des Typs.</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Take back the last orientation point.</source>
        <translation>Den letzten Orientierungspunkt zurücknehmen.</translation>
    </message>
    <message>
        <source>Proc&amp;eed</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>Digitize the points.</source>
        <translation>Die Punkte digitalisieren.</translation>
    </message>
    <message>
        <source>A&amp;uto...</source>
        <translation>A&amp;utomatisch...</translation>
    </message>
    <message>
        <source>Auto-locate points.</source>
        <translation>Punkte automatisch finden.</translation>
    </message>
    <message>
        <source>&amp;Auto All</source>
        <translation>&amp;Alle automatisch</translation>
    </message>
    <message>
        <source>Auto-locate all points. Right-click for options.</source>
        <translation>Alle Punkte automatisch finden. Rechtsklick für Optionen.</translation>
    </message>
    <message>
        <source>&amp;Reset Points linked to Snakes</source>
        <translation>An Snakes gebundene Punkte &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;End Digitization</source>
        <translation>Digitalisieren &amp;beenden</translation>
    </message>
    <message>
        <source>End digitizing this radiograph.</source>
        <translation>Das Digitalisieren dieses Röntgenbilds beenden.</translation>
    </message>
    <message>
        <source>Select Points to Update</source>
        <translation>Zu aktualisierende Punkte wählen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>Select &amp;Inverse</source>
        <translation>Auswahl &amp;umkehren</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>&lt;b&gt;End Digitization?&lt;/b&gt;&lt;br&gt;&lt;br&gt;Total points: %1&lt;br&gt;Points digitized: %2&lt;br&gt;Points auto-located: %3&lt;br&gt;Points missing: %4&lt;br&gt;Pairs of coincident points: %5%6</source>
        <translation>&lt;b&gt;Digitalisieren beenden?&lt;/b&gt;&lt;br&gt;&lt;br&gt;Punkte insgesamt: %1&lt;br&gt;Digitalisierte Punkte: %2&lt;br&gt;Automatisch gefundene Punkte: %3&lt;br&gt;Fehlende Punkte: %4&lt;br&gt;Paare zusammenfallender Punkte: %5%6</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>lumacet::TDigitizerProperties</name>
    <message>
        <source>Properties of %1</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>&amp;Use WinTAB Driver</source>
        <translation>WinTAB-Treiber &amp;verwenden</translation>
    </message>
    <message>
        <source>Read the tablet as an input event device, which reports millimetres itself.</source>
        <translation>Das Tablett als Eingabegerät lesen, das selbst Millimeter meldet.</translation>
    </message>
    <message>
        <source>&amp;Baud Rate:</source>
        <translation>&amp;Baudrate:</translation>
    </message>
    <message>
        <source>&amp;Data Bits:</source>
        <translation>&amp;Datenbits:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Ungerade</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>P&amp;arity:</source>
        <translation>P&amp;arität:</translation>
    </message>
    <message>
        <source>&amp;Stop Bits:</source>
        <translation>&amp;Stoppbits:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Anschluss:</translation>
    </message>
    <message>
        <source>&amp;Control String:</source>
        <translation>&amp;Steuerzeichenfolge:</translation>
    </message>
    <message>
        <source>&amp;Initialization
Commands:</source>
        <translation>&amp;Initialisierungs-
befehle:</translation>
    </message>
    <message>
        <source>&amp;Resolution:</source>
        <translation>&amp;Auflösung:</translation>
    </message>
    <message>
        <source>&amp;Y Origin:</source>
        <translation>&amp;Y-Ursprung:</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>Serielle Schnittstelle</translation>
    </message>
    <message>
        <source>WinTAB Driver Information:</source>
        <translation>Informationen zum WinTAB-Treiber:</translation>
    </message>
    <message>
        <source>Input event device</source>
        <translation>Eingabegerät</translation>
    </message>
    <message>
        <source>Start &amp;Test</source>
        <translation>&amp;Test starten</translation>
    </message>
    <message>
        <source>Stop &amp;Test</source>
        <translation>&amp;Test beenden</translation>
    </message>
    <message>
        <source>X: %1</source>
        <translation>X: %1</translation>
    </message>
    <message>
        <source>Y: %1</source>
        <translation>Y: %1</translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation>Empfangen: %1</translation>
    </message>
</context>
<context>
    <name>lumacet::TDigitizingInputDlg</name>
    <message>
        <source>Select Digitizing Input</source>
        <translation>Eingabe zum Digitalisieren wählen</translation>
    </message>
    <message>
        <source>Select the input source for the radiograph:</source>
        <translation>Wählen Sie die Eingabequelle für das Röntgenbild:</translation>
    </message>
    <message>
        <source>&amp;Scanner</source>
        <translation>&amp;Scanner</translation>
    </message>
    <message>
        <source>&amp;Digitizer</source>
        <translation>&amp;Digitalisiertablett</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Use the same selection in the future without asking.</source>
        <translation>Diese Auswahl künftig ohne Nachfrage &amp;verwenden.</translation>
    </message>
    <message>
        <source>Digitize a film on the default digitizer tablet.</source>
        <translation>Einen Film auf dem Standard-Digitalisiertablett digitalisieren.</translation>
    </message>
</context>
<context>
    <name>lumacet::TDrawingArea</name>
    <message>
        <source>Movement cancelled</source>
        <translation>Bewegung abgebrochen</translation>
    </message>
</context>
<context>
    <name>lumacet::TDrawingsForm</name>
    <message>
        <source>Drawings</source>
        <translation>Zeichnungen</translation>
    </message>
    <message>
        <source>Dr&amp;aw:</source>
        <translation>&amp;Zeichnen:</translation>
    </message>
    <message>
        <source>&amp;Colour:</source>
        <translation>&amp;Farbe:</translation>
    </message>
    <message>
        <source>&amp;Line Style:</source>
        <translation>&amp;Linienstil:</translation>
    </message>
    <message>
        <source>&amp;Fill Style:</source>
        <translation>F&amp;üllstil:</translation>
    </message>
    <message>
        <source>&amp;Transparent</source>
        <translation>&amp;Transparent</translation>
    </message>
    <message>
        <source>Line &amp;Width:</source>
        <translation>Linien&amp;breite:</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>L</source>
        <translation>L</translation>
    </message>
    <message>
        <source>Right side</source>
        <translation>Rechte Seite</translation>
    </message>
    <message>
        <source>Left side</source>
        <translation>Linke Seite</translation>
    </message>
    <message>
        <source>&amp;Size (mm):</source>
        <translation>&amp;Größe (mm):</translation>
    </message>
    <message>
        <source>Marker S&amp;hape:</source>
        <translation>Marker&amp;form:</translation>
    </message>
    <message>
        <source>Use Color of &amp;Variable:</source>
        <translation>Farbe der &amp;Variablen verwenden:</translation>
    </message>
    <message>
        <source>Use for &amp;Morphing</source>
        <translation>Für das &amp;Morphen verwenden</translation>
    </message>
    <message>
        <source>Avai&amp;lable Points: %1</source>
        <translation>Verfügbare &amp;Punkte: %1</translation>
    </message>
    <message>
        <source>Poi&amp;nts In Drawing: %1</source>
        <translation>Punkte in der Zeich&amp;nung: %1</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move D&amp;own</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation>&lt;keine&gt;</translation>
    </message>
</context>
<context>
    <name>lumacet::TExportForm</name>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>1. Select file where radiographs are stored:</source>
        <translation>1. Datei wählen, in der die Röntgenbilder gespeichert sind:</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>&amp;Datei...</translation>
    </message>
    <message>
        <source>2. Select radiograph &amp;Type:</source>
        <translation>2. Röntgenbild&amp;typ wählen:</translation>
    </message>
    <message>
        <source>3. Select data to Export:</source>
        <translation>3. Zu exportierende Daten wählen:</translation>
    </message>
    <message>
        <source>Select &amp;Analysis:</source>
        <translation>&amp;Analyse wählen:</translation>
    </message>
    <message>
        <source>Full Precision</source>
        <translation>Volle Genauigkeit</translation>
    </message>
    <message>
        <source>Skip Labels</source>
        <translation>Beschriftungen auslassen</translation>
    </message>
    <message>
        <source>Export Variables:</source>
        <translation>Variablen exportieren:</translation>
    </message>
    <message>
        <source>In Text Analysis</source>
        <translation>In der Textanalyse</translation>
    </message>
    <message>
        <source>All Variables</source>
        <translation>Alle Variablen</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Select &amp;Drawing:</source>
        <translation>&amp;Zeichnung wählen:</translation>
    </message>
    <message>
        <source>Reflect Y-axis (Flip Vertical).</source>
        <translation>Y-Achse spiegeln (vertikal spiegeln).</translation>
    </message>
    <message>
        <source>Skip radiographs with missing points.</source>
        <translation>Röntgenbilder mit fehlenden Punkten auslassen.</translation>
    </message>
    <message>
        <source>Each point on a new line.</source>
        <translation>Jeder Punkt in einer neuen Zeile.</translation>
    </message>
    <message>
        <source>Point Coordinates</source>
        <translation>Punktkoordinaten</translation>
    </message>
    <message>
        <source>Export measurements at:</source>
        <translation>Messwerte exportieren in:</translation>
    </message>
    <message>
        <source>First line contains Headers:</source>
        <translation>Erste Zeile enthält Überschriften:</translation>
    </message>
    <message>
        <source>&amp;Variable or Point names</source>
        <translation>Namen der &amp;Variablen oder Punkte</translation>
    </message>
    <message>
        <source>Abb&amp;reviated (8 chars)</source>
        <translation>Abge&amp;kürzt (8 Zeichen)</translation>
    </message>
    <message>
        <source>Include:</source>
        <translation>Aufnehmen:</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>A&amp;ge</source>
        <translation>A&amp;lter</translation>
    </message>
    <message>
        <source>Date of &amp;Birth</source>
        <translation>&amp;Geburtsdatum</translation>
    </message>
    <message>
        <source>&amp;Sex (F - M)</source>
        <translation>Ge&amp;schlecht (F - M)</translation>
    </message>
    <message>
        <source>Se&amp;x (1 - 0)</source>
        <translation>Geschlec&amp;ht (1 - 0)</translation>
    </message>
    <message>
        <source>&amp;Comments</source>
        <translation>&amp;Kommentare</translation>
    </message>
    <message>
        <source>&amp;Magnification</source>
        <translation>&amp;Vergrößerung</translation>
    </message>
    <message>
        <source>Date Ta&amp;ken</source>
        <translation>Auf&amp;nahmedatum</translation>
    </message>
    <message>
        <source>An&amp;onymize</source>
        <translation>An&amp;onymisieren</translation>
    </message>
    <message>
        <source>No name, date of birth or comment: radiographs are called by their record numbers</source>
        <translation>Kein Name, kein Geburtsdatum, kein Kommentar: Röntgenbilder werden nach ihrer Datensatznummer benannt</translation>
    </message>
    <message>
        <source>Age as Years (in decimal fractions)</source>
        <translation>Alter in Jahren (mit Dezimalstellen)</translation>
    </message>
    <message>
        <source>Sex as F(emale) or M(ale)</source>
        <translation>Geschlecht als F (weiblich) oder M (männlich)</translation>
    </message>
    <message>
        <source>Sex as 1(=Female) or 0(=Male)</source>
        <translation>Geschlecht als 1 (=weiblich) oder 0 (=männlich)</translation>
    </message>
    <message>
        <source>4. Send data to:</source>
        <translation>4. Daten senden an:</translation>
    </message>
    <message>
        <source>New spreadsheet</source>
        <translation>Neue Tabelle</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>F&amp;ile...</source>
        <translation>Da&amp;tei...</translation>
    </message>
    <message>
        <source> &amp;Delimiter </source>
        <translation> T&amp;rennzeichen </translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>Other:</source>
        <translation>Anderes:</translation>
    </message>
    <message>
        <source>E&amp;ncoding:</source>
        <translation>Kod&amp;ierung:</translation>
    </message>
    <message>
        <source>Windows-1252</source>
        <translation>Windows-1252</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>Byte-order &amp;mark</source>
        <translation>Byte-Order-&amp;Markierung</translation>
    </message>
    <message>
        <source>Missing va&amp;lues:</source>
        <translation>Fehlende &amp;Werte:</translation>
    </message>
    <message>
        <source>N/A, nil</source>
        <translation>N/A, nil</translation>
    </message>
    <message>
        <source>What a value that cannot be measured reads as; NA or nothing for R and pandas</source>
        <translation>Was für einen nicht messbaren Wert steht; NA oder nichts für R und pandas</translation>
    </message>
    <message>
        <source>Radiographs</source>
        <translation>Röntgenbilder</translation>
    </message>
    <message>
        <source>Radiographs (*.csv);;All files (*)</source>
        <translation>Röntgenbilder (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Points: %1</source>
        <translation>Punkte: %1</translation>
    </message>
    <message>
        <source>Comma-separated values</source>
        <translation>Kommagetrennte Werte</translation>
    </message>
    <message>
        <source>Tab-separated values</source>
        <translation>Tabulatorgetrennte Werte</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>Textdateien</translation>
    </message>
    <message>
        <source>A new workbook in the results folder, opened when the export is done</source>
        <translation>Eine neue Arbeitsmappe im Ergebnisordner, die nach dem Export geöffnet wird</translation>
    </message>
    <message>
        <source>%1 was written, but no application could be started to open it.</source>
        <translation>%1 wurde geschrieben, aber kein Programm zum Öffnen konnte gestartet werden.</translation>
    </message>
</context>
<context>
    <name>lumacet::THardSoftForm</name>
    <message>
        <source>VTO Relationships</source>
        <translation>VTO-Beziehungen</translation>
    </message>
    <message>
        <source>&amp;Include</source>
        <translation>&amp;Aufnehmen</translation>
    </message>
    <message>
        <source>Remo&amp;ve</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>M&amp;aster Point:</source>
        <translation>&amp;Leitpunkt:</translation>
    </message>
    <message>
        <source>A&amp;ll Points:</source>
        <translation>A&amp;lle Punkte:</translation>
    </message>
    <message>
        <source>Points A&amp;ffected:</source>
        <translation>&amp;Betroffene Punkte:</translation>
    </message>
    <message>
        <source>&amp;Points</source>
        <translation>&amp;Punkte</translation>
    </message>
    <message>
        <source>-Y</source>
        <translation>-Y</translation>
    </message>
    <message>
        <source>-X</source>
        <translation>-X</translation>
    </message>
    <message>
        <source>+X</source>
        <translation>+X</translation>
    </message>
    <message>
        <source>+Y</source>
        <translation>+Y</translation>
    </message>
    <message>
        <source>% R&amp;otation:</source>
        <translation>% &amp;Drehung:</translation>
    </message>
    <message>
        <source>Treat Rotation as &amp;Translation</source>
        <translation>Drehung als &amp;Verschiebung behandeln</translation>
    </message>
    <message>
        <source>Percent Translation:</source>
        <translation>Prozent Verschiebung:</translation>
    </message>
    <message>
        <source>&amp;Movement</source>
        <translation>Be&amp;wegung</translation>
    </message>
</context>
<context>
    <name>lumacet::THistoAdjDlg</name>
    <message>
        <source>Adjust Levels</source>
        <translation>Tonwertkorrektur</translation>
    </message>
    <message>
        <source>&amp;Image:</source>
        <translation>&amp;Bild:</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Current (8-bit)</source>
        <translation>Aktuell (8 Bit)</translation>
    </message>
    <message>
        <source>&amp;gamma:</source>
        <translation>&amp;Gamma:</translation>
    </message>
    <message>
        <source>%1 - %2 (%3)</source>
        <translation>%1 - %2 (%3)</translation>
    </message>
</context>
<context>
    <name>lumacet::TImageCommands</name>
    <message>
        <source>Image Adjust</source>
        <translation>Bildanpassung</translation>
    </message>
    <message>
        <source>Image &amp;Geometry</source>
        <translation>Bild&amp;geometrie</translation>
    </message>
    <message>
        <source>Flip the image horizontally.</source>
        <translation>Das Bild horizontal spiegeln.</translation>
    </message>
    <message>
        <source>Flip the image vertically.</source>
        <translation>Das Bild vertikal spiegeln.</translation>
    </message>
    <message>
        <source>Align the tracing to an image.</source>
        <translation>Die Durchzeichnung an einem Bild ausrichten.</translation>
    </message>
    <message>
        <source>Lock tracing to the image so that they move together.</source>
        <translation>Die Durchzeichnung an das Bild binden, damit sie sich gemeinsam bewegen.</translation>
    </message>
    <message>
        <source>Image Blending</source>
        <translation>Bildüberblendung</translation>
    </message>
    <message>
        <source>Transparency: %1%</source>
        <translation>Transparenz: %1%</translation>
    </message>
    <message>
        <source>Black Transparency: %1%</source>
        <translation>Schwarztransparenz: %1%</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
</context>
<context>
    <name>lumacet::TImagePositionDlg</name>
    <message>
        <source>Image Position / Rotation</source>
        <translation>Bildposition / Drehung</translation>
    </message>
    <message>
        <source>&amp;Set Position -&gt;</source>
        <translation>Position &amp;setzen -&gt;</translation>
    </message>
    <message>
        <source>Reset at &amp;Origin (0, 0)</source>
        <translation>Auf den &amp;Ursprung (0, 0) zurücksetzen</translation>
    </message>
    <message>
        <source>S&amp;et Rotation -&gt;</source>
        <translation>Dr&amp;ehung setzen -&gt;</translation>
    </message>
    <message>
        <source>Reset &amp;Rotation (0 degrees)</source>
        <translation>D&amp;rehung zurücksetzen (0 Grad)</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;A:</source>
        <translation>&amp;A:</translation>
    </message>
</context>
<context>
    <name>lumacet::TImageRotationDlg</name>
    <message>
        <source>Image Rotation (Resample)</source>
        <translation>Bilddrehung (neu berechnen)</translation>
    </message>
    <message>
        <source>&amp;Set at -&gt;</source>
        <translation>&amp;Setzen auf -&gt;</translation>
    </message>
    <message>
        <source>&amp;Convert Image to Current Rotation</source>
        <translation>Bild in die aktuelle Drehung &amp;umrechnen</translation>
    </message>
    <message>
        <source>&amp;Angle:</source>
        <translation>&amp;Winkel:</translation>
    </message>
    <message>
        <source>Image will be rotated around the Rotation Point.</source>
        <translation>Das Bild wird um den Drehpunkt gedreht.</translation>
    </message>
</context>
<context>
    <name>lumacet::TImageScaleDlg</name>
    <message>
        <source>Scale Image</source>
        <translation>Bild skalieren</translation>
    </message>
    <message>
        <source>D&amp;ownsample</source>
        <translation>&amp;Verkleinern</translation>
    </message>
    <message>
        <source>&amp;Keep Aspect Ratio</source>
        <translation>&amp;Seitenverhältnis beibehalten</translation>
    </message>
    <message>
        <source>&amp;Apply -&gt;</source>
        <translation>&amp;Anwenden -&gt;</translation>
    </message>
    <message>
        <source>A&amp;pply -&gt;</source>
        <translation>An&amp;wenden -&gt;</translation>
    </message>
    <message>
        <source>App&amp;ly -&gt;</source>
        <translation>Anwe&amp;nden -&gt;</translation>
    </message>
    <message>
        <source>&amp;Default</source>
        <translation>S&amp;tandard</translation>
    </message>
    <message>
        <source>Image Size: %1 x %2 pixels.</source>
        <translation>Bildgröße: %1 x %2 Pixel.</translation>
    </message>
    <message>
        <source>&amp;Width in mm (X):</source>
        <translation>&amp;Breite in mm (X):</translation>
    </message>
    <message>
        <source>&amp;Height in mm (Y):</source>
        <translation>&amp;Höhe in mm (Y):</translation>
    </message>
    <message>
        <source>Pixel size, 10ths mm (&amp;X):</source>
        <translation>Pixelgröße, Zehntel-mm (&amp;X):</translation>
    </message>
    <message>
        <source>(&amp;Y):</source>
        <translation>(&amp;Y):</translation>
    </message>
    <message>
        <source>&amp;Resolution (dpi):</source>
        <translation>&amp;Auflösung (dpi):</translation>
    </message>
</context>
<context>
    <name>lumacet::TJpegOptionsDlg</name>
    <message>
        <source>JPEG Options</source>
        <translation>JPEG-Optionen</translation>
    </message>
    <message>
        <source>Highest Compression</source>
        <translation>Höchste Kompression</translation>
    </message>
    <message>
        <source>Best Quality</source>
        <translation>Beste Qualität</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Compression Quality: %1</source>
        <translation>Kompressionsqualität: %1</translation>
    </message>
</context>
<context>
    <name>lumacet::TLCOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Radiograph</source>
        <translation>&amp;Röntgenbild</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>A&amp;llgemein</translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>&amp;Printing &amp;&amp; Results</source>
        <translation>&amp;Drucken &amp;&amp; Ergebnisse</translation>
    </message>
    <message>
        <source>&amp;Styles</source>
        <translation>&amp;Formatvorlagen</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Show &amp;Grid</source>
        <translation>&amp;Raster anzeigen</translation>
    </message>
    <message>
        <source>Grid &amp;density (mm):</source>
        <translation>Raster&amp;abstand (mm):</translation>
    </message>
    <message>
        <source>Grid colour:</source>
        <translation>Rasterfarbe:</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>Ruler colour:</source>
        <translation>Linealfarbe:</translation>
    </message>
    <message>
        <source>Tick &amp;marks</source>
        <translation>&amp;Teilstriche</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>Line colour:</source>
        <translation>Linienfarbe:</translation>
    </message>
    <message>
        <source>Fill colour:</source>
        <translation>Füllfarbe:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Shape:</source>
        <translation>Form:</translation>
    </message>
    <message>
        <source>Selection markers</source>
        <translation>Auswahlmarkierungen</translation>
    </message>
    <message>
        <source>&amp;Font:</source>
        <translation>&amp;Schrift:</translation>
    </message>
    <message>
        <source>Size (pt):</source>
        <translation>Größe (pt):</translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation>&amp;Fett</translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation>&amp;Kursiv</translation>
    </message>
    <message>
        <source>&amp;Transparent</source>
        <translation>&amp;Transparent</translation>
    </message>
    <message>
        <source>&amp;Outline</source>
        <translation>&amp;Umriss</translation>
    </message>
    <message>
        <source>Outline colour:</source>
        <translation>Umrissfarbe:</translation>
    </message>
    <message>
        <source>Show measurement &amp;hints</source>
        <translation>Mess&amp;hinweise anzeigen</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Beschriftungen</translation>
    </message>
    <message>
        <source>Deviation from Mea&amp;n:</source>
        <translation>Abweichung vom &amp;Mittelwert:</translation>
    </message>
    <message>
        <source>In Color</source>
        <translation>Farbig</translation>
    </message>
    <message>
        <source>With Asterisks</source>
        <translation>Mit Sternchen</translation>
    </message>
    <message>
        <source>Don&apos;t Show</source>
        <translation>Nicht anzeigen</translation>
    </message>
    <message>
        <source>No norm</source>
        <translation>Keine Norm</translation>
    </message>
    <message>
        <source>Deviation colours</source>
        <translation>Abweichungsfarben</translation>
    </message>
    <message>
        <source>Radiograph &amp;title:</source>
        <translation>&amp;Titel des Röntgenbilds:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Initials</source>
        <translation>Initialen</translation>
    </message>
    <message>
        <source>Initials and Age</source>
        <translation>Initialen und Alter</translation>
    </message>
    <message>
        <source>Date of Birth</source>
        <translation>Geburtsdatum</translation>
    </message>
    <message>
        <source>Date Taken</source>
        <translation>Aufnahmedatum</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>Age</source>
        <translation>Alter</translation>
    </message>
    <message>
        <source>Initials and Comments</source>
        <translation>Initialen und Kommentare</translation>
    </message>
    <message>
        <source>&amp;Age format:</source>
        <translation>&amp;Altersformat:</translation>
    </message>
    <message>
        <source>Years:Months</source>
        <translation>Jahre:Monate</translation>
    </message>
    <message>
        <source>Years (Fractional)</source>
        <translation>Jahre (dezimal)</translation>
    </message>
    <message>
        <source>Months:Days</source>
        <translation>Monate:Tage</translation>
    </message>
    <message>
        <source>Months (Fractional)</source>
        <translation>Monate (dezimal)</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Zoom to Best &amp;Fit on Loading</source>
        <translation>Beim Laden &amp;einpassen</translation>
    </message>
    <message>
        <source>Zoom to &amp;Best Fit on Selecting</source>
        <translation>Beim Auswählen ein&amp;passen</translation>
    </message>
    <message>
        <source>S&amp;ort on Loading</source>
        <translation>Beim Laden s&amp;ortieren</translation>
    </message>
    <message>
        <source>Auto Scale to Life Si&amp;ze</source>
        <translation>Automatisch auf natürliche &amp;Größe skalieren</translation>
    </message>
    <message>
        <source>Radiographs</source>
        <translation>Röntgenbilder</translation>
    </message>
    <message>
        <source>Drawing st&amp;yle:</source>
        <translation>&amp;Zeichenstil:</translation>
    </message>
    <message>
        <source>As Defined</source>
        <translation>Wie definiert</translation>
    </message>
    <message>
        <source>By Position</source>
        <translation>Nach Position</translation>
    </message>
    <message>
        <source>Current: as Defined, Others: by Position</source>
        <translation>Aktuelle: wie definiert, andere: nach Position</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Durchgezogen</translation>
    </message>
    <message>
        <source>Dash</source>
        <translation>Gestrichelt</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>Gepunktet</translation>
    </message>
    <message>
        <source>Dash Dot</source>
        <translation>Strich-Punkt</translation>
    </message>
    <message>
        <source>Dash Dot Dot</source>
        <translation>Strich-Punkt-Punkt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>Position %1</source>
        <translation>Position %1</translation>
    </message>
    <message>
        <source>Tracing pens</source>
        <translation>Zeichenstifte</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Date of Birth:</source>
        <translation>Geburtsdatum:</translation>
    </message>
    <message>
        <source>Date Taken:</source>
        <translation>Aufnahmedatum:</translation>
    </message>
    <message>
        <source>Magnification (%):</source>
        <translation>Vergrößerung (%):</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Kommentare:</translation>
    </message>
    <message>
        <source>Male</source>
        <translation>männlich</translation>
    </message>
    <message>
        <source>Female</source>
        <translation>weiblich</translation>
    </message>
    <message>
        <source>Sex:</source>
        <translation>Geschlecht:</translation>
    </message>
    <message>
        <source>Data file:</source>
        <translation>Datendatei:</translation>
    </message>
    <message>
        <source>&amp;Remember the latest entries</source>
        <translation>Letzte Eingaben &amp;merken</translation>
    </message>
    <message>
        <source>New radiographs</source>
        <translation>Neue Röntgenbilder</translation>
    </message>
    <message>
        <source>Show &amp;normal values</source>
        <translation>&amp;Normwerte anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;graph</source>
        <translation>&amp;Grafik anzeigen</translation>
    </message>
    <message>
        <source>&amp;Word wrap</source>
        <translation>&amp;Zeilenumbruch</translation>
    </message>
    <message>
        <source>Analysis text</source>
        <translation>Analysetext</translation>
    </message>
    <message>
        <source>Radiograph &amp;types:</source>
        <translation>Röntgenbild&amp;typen:</translation>
    </message>
    <message>
        <source>Radiograph &amp;data:</source>
        <translation>Röntgenbild&amp;daten:</translation>
    </message>
    <message>
        <source>&amp;Images:</source>
        <translation>&amp;Bilder:</translation>
    </message>
    <message>
        <source>Default folders</source>
        <translation>Standardordner</translation>
    </message>
    <message>
        <source>Show the &amp;analysis</source>
        <translation>&amp;Analyse anzeigen</translation>
    </message>
    <message>
        <source>Analysis &amp;mode:</source>
        <translation>Analyse&amp;modus:</translation>
    </message>
    <message>
        <source>Current Only</source>
        <translation>Nur die aktuelle</translation>
    </message>
    <message>
        <source>Comparative</source>
        <translation>Vergleichend</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>&amp;Not available:</source>
        <translation>&amp;Nicht verfügbar:</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Dates &amp;compatible with version 1 files</source>
        <translation>Datumsangaben &amp;kompatibel mit Dateien der Version 1</translation>
    </message>
    <message>
        <source>Data files</source>
        <translation>Datendateien</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>&amp;Delimiter:</source>
        <translation>&amp;Trennzeichen:</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>CR - LF</source>
        <translation>CR - LF</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>Pixel width (0.1 mm):</source>
        <translation>Pixelbreite (0,1 mm):</translation>
    </message>
    <message>
        <source>Pixel height (0.1 mm):</source>
        <translation>Pixelhöhe (0,1 mm):</translation>
    </message>
    <message>
        <source>Default image scale</source>
        <translation>Standard-Bildmaßstab</translation>
    </message>
    <message>
        <source>Set brightness and contrast from the file</source>
        <translation>Helligkeit und Kontrast aus der Datei übernehmen</translation>
    </message>
    <message>
        <source>Update patient data:</source>
        <translation>Patientendaten aktualisieren:</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Ask First</source>
        <translation>Vorher fragen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>DICOM</source>
        <translation>DICOM</translation>
    </message>
    <message>
        <source>Adaptive equalization tile (%):</source>
        <translation>Kachel des adaptiven Ausgleichs (%):</translation>
    </message>
    <message>
        <source>Auto levels cut-off (%):</source>
        <translation>Beschnitt der automatischen Tonwerte (%):</translation>
    </message>
    <message>
        <source>Enhancement</source>
        <translation>Bildverbesserung</translation>
    </message>
    <message>
        <source>Si&amp;ze:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Proportional</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Fest</translation>
    </message>
    <message>
        <source>&amp;Pitch:</source>
        <translation>&amp;Zeichenbreite:</translation>
    </message>
    <message>
        <source>&amp;Underline</source>
        <translation>&amp;Unterstrichen</translation>
    </message>
    <message>
        <source>Stri&amp;keout</source>
        <translation>Durch&amp;gestrichen</translation>
    </message>
    <message>
        <source>&amp;Colour:</source>
        <translation>&amp;Farbe:</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>&amp;Alignment:</source>
        <translation>&amp;Ausrichtung:</translation>
    </message>
    <message>
        <source>First line indent:</source>
        <translation>Einzug erste Zeile:</translation>
    </message>
    <message>
        <source>Left indent:</source>
        <translation>Einzug links:</translation>
    </message>
    <message>
        <source>Right indent:</source>
        <translation>Einzug rechts:</translation>
    </message>
    <message>
        <source>Show &amp;Asterisks</source>
        <translation>&amp;Sternchen anzeigen</translation>
    </message>
    <message>
        <source>Use &amp;Variable Color</source>
        <translation>Farbe der &amp;Variablen verwenden</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>&amp;Sprache:</translation>
    </message>
    <message>
        <source>A new language takes effect at the next start of Lumacet.</source>
        <translation>Eine neue Sprache gilt ab dem nächsten Start von Lumacet.</translation>
    </message>
    <message>
        <source>&amp;Morph</source>
        <translation>&amp;Morphing</translation>
    </message>
    <message>
        <source>I&amp;nput</source>
        <translation>Ei&amp;ngabe</translation>
    </message>
    <message>
        <source>&amp;Input Device:</source>
        <translation>&amp;Eingabegerät:</translation>
    </message>
    <message>
        <source>Digitizer</source>
        <translation>Digitalisiertablett</translation>
    </message>
    <message>
        <source>Image File</source>
        <translation>Bilddatei</translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Fragen</translation>
    </message>
    <message>
        <source>Default Digitizer:</source>
        <translation>Standard-Digitalisiertablett:</translation>
    </message>
    <message>
        <source>D&amp;igitizers:</source>
        <translation>D&amp;igitalisiertabletts:</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Set As De&amp;fault</source>
        <translation>Als Stan&amp;dard festlegen</translation>
    </message>
    <message>
        <source>Digitizer tablets</source>
        <translation>Digitalisiertabletts</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>New Digitizer</source>
        <translation>Neues Digitalisiertablett</translation>
    </message>
    <message>
        <source>Enter Digitizer Name:</source>
        <translation>Name des Digitalisiertabletts:</translation>
    </message>
    <message>
        <source>Generic</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>S-curve</source>
        <translation>S-Kurve</translation>
    </message>
    <message>
        <source>Exponential</source>
        <translation>Exponentiell</translation>
    </message>
    <message>
        <source>Triangle interpolation</source>
        <translation>Dreiecksinterpolation</translation>
    </message>
    <message>
        <source>&amp;Warping function:</source>
        <translation>&amp;Verzerrungsfunktion:</translation>
    </message>
    <message>
        <source>Distance &amp;limit:</source>
        <translation>Distanz&amp;grenze:</translation>
    </message>
    <message>
        <source>Distance fa&amp;ll off:</source>
        <translation>Distanz&amp;abfall:</translation>
    </message>
    <message>
        <source>Smooth&amp;ness:</source>
        <translation>&amp;Glättung:</translation>
    </message>
    <message>
        <source>&amp;Block Size (for low quality):</source>
        <translation>&amp;Blockgröße (für niedrige Qualität):</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
</context>
<context>
    <name>lumacet::TMagnificationDlg</name>
    <message>
        <source>Magnification</source>
        <translation>Vergrößerung</translation>
    </message>
    <message>
        <source>M&amp;easured:</source>
        <translation>&amp;Gemessen:</translation>
    </message>
    <message>
        <source>&amp;Life Size:</source>
        <translation>&amp;Natürliche Größe:</translation>
    </message>
    <message>
        <source>&amp;Magnification:</source>
        <translation>&amp;Vergrößerung:</translation>
    </message>
    <message>
        <source>&lt;&lt; &amp;Set this Magnification</source>
        <translation>&lt;&lt; Diese Vergrößerung &amp;setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>lumacet::TMainWindow</name>
    <message>
        <source>Superimposition for &quot;Superimpose on Current&quot;</source>
        <translation>Überlagerung für „Auf die aktuelle überlagern“</translation>
    </message>
    <message>
        <source>Superimposition</source>
        <translation>Überlagerung</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Measured at life size: corrected for the radiograph&apos;s magnification.</source>
        <translation>In natürlicher Größe gemessen: um die Vergrößerung des Röntgenbilds korrigiert.</translation>
    </message>
    <message>
        <source>Measured at radiograph size: not corrected for magnification.</source>
        <translation>In Röntgenbildgröße gemessen: nicht um die Vergrößerung korrigiert.</translation>
    </message>
    <message>
        <source>Position &amp;%1</source>
        <translation>Position &amp;%1</translation>
    </message>
    <message>
        <source>&amp;Edge Lock</source>
        <translation>&amp;Kantenbindung</translation>
    </message>
    <message>
        <source>Can&apos;t Undo</source>
        <translation>Rückgängig nicht möglich</translation>
    </message>
    <message>
        <source>&amp;Undo Snake Change</source>
        <translation>Snake-Änderung &amp;rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo Placement</source>
        <translation>Platzierung &amp;rückgängig</translation>
    </message>
    <message>
        <source>New Type</source>
        <translation>Neuer Typ</translation>
    </message>
    <message>
        <source>Radiograph Types (*.lcr)</source>
        <translation>Röntgenbildtypen (*.lcr)</translation>
    </message>
    <message>
        <source>Open Type</source>
        <translation>Typ öffnen</translation>
    </message>
    <message>
        <source>Radiograph Types (*.lcr);;All files (*)</source>
        <translation>Röntgenbildtypen (*.lcr);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 is no longer there.</source>
        <translation>%1 ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Save Into</source>
        <translation>Speichern in</translation>
    </message>
    <message>
        <source>Radiographs (*.csv);;All files (*)</source>
        <translation>Röntgenbilder (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Select all points.</source>
        <translation>Alle Punkte auswählen.</translation>
    </message>
    <message>
        <source>Soft tissue follows the hard tissue by the type&apos;s VTO relationships.</source>
        <translation>Das Weichgewebe folgt dem Hartgewebe nach den VTO-Beziehungen des Typs.</translation>
    </message>
    <message>
        <source>This will result in a tracing exceeding the extents of the Display.<byte value="xd"/>
<byte value="xd"/>
Are you sure?</source>
        <translation>Die Durchzeichnung wird dadurch über den Anzeigebereich hinausragen.<byte value="xd"/>
<byte value="xd"/>
Sind Sie sicher?</translation>
    </message>
    <message>
        <source>No Orientations are available.</source>
        <translation>Es sind keine Orientierungen verfügbar.</translation>
    </message>
    <message>
        <source>Orientate</source>
        <translation>Orientieren</translation>
    </message>
    <message>
        <source>Select Orientation:</source>
        <translation>Orientierung wählen:</translation>
    </message>
    <message>
        <source>Translate Constraint</source>
        <translation>Einschränkung beim Versetzen</translation>
    </message>
    <message>
        <source>Average the tracings of many radiographs superimposed on the first.</source>
        <translation>Die Durchzeichnungen vieler Röntgenbilder, auf das erste überlagert, mitteln.</translation>
    </message>
    <message>
        <source>Find the radiographs whose shape is most like the current one.</source>
        <translation>Die Röntgenbilder finden, deren Form der aktuellen am ähnlichsten ist.</translation>
    </message>
    <message>
        <source>Analyze radiographs from a file and export the results.</source>
        <translation>Röntgenbilder aus einer Datei analysieren und die Ergebnisse exportieren.</translation>
    </message>
    <message>
        <source>Convert from one radiograph type to another.</source>
        <translation>Von einem Röntgenbildtyp in einen anderen umwandeln.</translation>
    </message>
    <message>
        <source>About Lumacet</source>
        <translation>Über Lumacet</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Lumacet %1&lt;/h3&gt;&lt;p&gt;Cephalometric analysis: landmarks and outlines, measurements against norms, superimposition, treatment simulation and shape statistics.&lt;/p&gt;&lt;p&gt;Built with Qt %2, running on Qt %3.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Lumacet %1&lt;/h3&gt;&lt;p&gt;Kephalometrische Analyse: Landmarken und Konturen, Messungen gegen Normwerte, Überlagerung, Behandlungssimulation und Formstatistik.&lt;/p&gt;&lt;p&gt;Erstellt mit Qt %2, läuft unter Qt %3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Save Results</source>
        <translation>Ergebnisse speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Morph &amp;Quality</source>
        <translation>Morphing-&amp;Qualität</translation>
    </message>
    <message>
        <source>Warping &amp;Function</source>
        <translation>Verzerrungs&amp;funktion</translation>
    </message>
    <message>
        <source>Put the analysis into a new spreadsheet.</source>
        <translation>Die Analyse in ein neues Tabellendokument übernehmen.</translation>
    </message>
    <message>
        <source>Put the analysis into a new text document.</source>
        <translation>Die Analyse in ein neues Textdokument übernehmen.</translation>
    </message>
    <message>
        <source>Put the tracing picture into a new presentation.</source>
        <translation>Das Bild der Durchzeichnung in eine neue Präsentation übernehmen.</translation>
    </message>
    <message>
        <source>%1 was written, but no application could be started to open it.</source>
        <translation>%1 wurde geschrieben, aber kein Programm zum Öffnen konnte gestartet werden.</translation>
    </message>
    <message>
        <source>The spreadsheet could not be written: %1</source>
        <translation>Das Tabellendokument konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The text document could not be written: %1</source>
        <translation>Das Textdokument konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The presentation could not be written: %1</source>
        <translation>Die Präsentation konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>S&amp;end To</source>
        <translation>&amp;Weitergeben an</translation>
    </message>
</context>
<context>
    <name>lumacet::TMeanForm</name>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>&amp;Calculate Mean</source>
        <translation>Mittelwert &amp;berechnen</translation>
    </message>
    <message>
        <source>1. Select radiographs to use for calculating mean:</source>
        <translation>1. Röntgenbilder für die Mittelwertberechnung wählen:</translation>
    </message>
    <message>
        <source>2. Select radiograph &amp;Type:</source>
        <translation>2. Röntgenbild&amp;typ wählen:</translation>
    </message>
    <message>
        <source>3. Select S&amp;uperimposition:</source>
        <translation>3. Ü&amp;berlagerung wählen:</translation>
    </message>
    <message>
        <source>4. Options:</source>
        <translation>4. Optionen:</translation>
    </message>
    <message>
        <source>Average &amp;pairs of radiographs and save in file:</source>
        <translation>&amp;Paare von Röntgenbildern mitteln und in Datei speichern:</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>&amp;Datei...</translation>
    </message>
</context>
<context>
    <name>lumacet::TMorphInteractive</name>
    <message>
        <source>Morph</source>
        <translation>Morphing</translation>
    </message>
    <message>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <source>Morphing on or off</source>
        <translation>Morphing ein oder aus</translation>
    </message>
    <message>
        <source>Move image</source>
        <translation>Bild verschieben</translation>
    </message>
    <message>
        <source>Zoom image</source>
        <translation>Bild zoomen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>No OpenGL: the preview is drawn without the graphics card.</source>
        <translation>Kein OpenGL: Die Vorschau wird ohne Grafikkarte gezeichnet.</translation>
    </message>
    <message>
        <source>Cannot morph: %1</source>
        <translation>Morphing nicht möglich: %1</translation>
    </message>
    <message>
        <source>Morphing is Off.</source>
        <translation>Morphing ist aus.</translation>
    </message>
    <message>
        <source>Preparing for Interactive Warp...</source>
        <translation>Interaktive Verzerrung wird vorbereitet...</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
</context>
<context>
    <name>lumacet::TMorphingDlg</name>
    <message>
        <source>Morphing</source>
        <translation>Morphing</translation>
    </message>
    <message>
        <source>Morphing...</source>
        <translation>Morphing läuft...</translation>
    </message>
    <message>
        <source>Please Wait.</source>
        <translation>Bitte warten.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>lumacet::TMoveDetailedForm</name>
    <message>
        <source>Move</source>
        <translation>Bewegen</translation>
    </message>
    <message>
        <source>&amp;Translate</source>
        <translation>&amp;Versetzen</translation>
    </message>
    <message>
        <source>&amp;Rotate</source>
        <translation>&amp;Drehen</translation>
    </message>
    <message>
        <source>&amp;Set To -&gt;</source>
        <translation>&amp;Setzen auf -&gt;</translation>
    </message>
    <message>
        <source>S&amp;et To -&gt;</source>
        <translation>S&amp;etzen auf -&gt;</translation>
    </message>
    <message>
        <source>dX (mm):</source>
        <translation>dX (mm):</translation>
    </message>
    <message>
        <source>dY (mm):</source>
        <translation>dY (mm):</translation>
    </message>
    <message>
        <source>Angle (degrees):</source>
        <translation>Winkel (Grad):</translation>
    </message>
    <message>
        <source>Rotation centre</source>
        <translation>Drehzentrum</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>No points selected.</source>
        <translation>Keine Punkte ausgewählt.</translation>
    </message>
    <message>
        <source>The point %1 is not valid.</source>
        <translation>Der Punkt %1 ist ungültig.</translation>
    </message>
</context>
<context>
    <name>lumacet::TMovementForm</name>
    <message>
        <source>Movements</source>
        <translation>Bewegungen</translation>
    </message>
    <message>
        <source>Re&amp;verse Selected</source>
        <translation>Ausgewählte &amp;umkehren</translation>
    </message>
    <message>
        <source>R&amp;epeat Selected</source>
        <translation>Ausgewählte &amp;wiederholen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Clear Undo List</source>
        <translation>&amp;Rückgängig-Liste leeren</translation>
    </message>
    <message>
        <source>C&amp;lear Redo List</source>
        <translation>Wie&amp;derholen-Liste leeren</translation>
    </message>
    <message>
        <source>Select &amp;Area</source>
        <translation>&amp;Fläche wählen</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Undo:</source>
        <translation>Rückgängig:</translation>
    </message>
    <message>
        <source>Redo:</source>
        <translation>Wiederherstellen:</translation>
    </message>
    <message>
        <source> Connected</source>
        <translation> Verbunden</translation>
    </message>
    <message>
        <source> Disconnected</source>
        <translation> Getrennt</translation>
    </message>
    <message>
        <source> Compile On</source>
        <translation> Zusammenfassen ein</translation>
    </message>
    <message>
        <source> Compile Off</source>
        <translation> Zusammenfassen aus</translation>
    </message>
    <message>
        <source> Move Original</source>
        <translation> Original bewegen</translation>
    </message>
    <message>
        <source> Move Current</source>
        <translation> Aktuelle bewegen</translation>
    </message>
    <message>
        <source>Save Movement Log</source>
        <translation>Bewegungsprotokoll speichern</translation>
    </message>
    <message>
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The movement log holds characters a text file cannot keep.</source>
        <translation>Das Bewegungsprotokoll enthält Zeichen, die eine Textdatei nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>lumacet::TNewXRayDlg</name>
    <message>
        <source>New Radiograph</source>
        <translation>Neues Röntgenbild</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>T&amp;ype:</source>
        <translation>T&amp;yp:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Date of &amp;Birth:</source>
        <translation>&amp;Geburtsdatum:</translation>
    </message>
    <message>
        <source>Date &amp;Taken:</source>
        <translation>&amp;Aufnahmedatum:</translation>
    </message>
    <message>
        <source>&amp;Female</source>
        <translation>&amp;weiblich</translation>
    </message>
    <message>
        <source>&amp;Male</source>
        <translation>&amp;männlich</translation>
    </message>
    <message>
        <source>Sex:</source>
        <translation>Geschlecht:</translation>
    </message>
    <message>
        <source>Ma&amp;gnification (%):</source>
        <translation>&amp;Vergrößerung (%):</translation>
    </message>
    <message>
        <source>&amp;Comments:</source>
        <translation>&amp;Kommentare:</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>&amp;Datei...</translation>
    </message>
    <message>
        <source>&amp;Data file:</source>
        <translation>Daten&amp;datei:</translation>
    </message>
    <message>
        <source>Image file:</source>
        <translation>Bilddatei:</translation>
    </message>
    <message>
        <source>Radiograph has changed.</source>
        <translation>Das Röntgenbild wurde geändert.</translation>
    </message>
    <message>
        <source>&amp;Details &gt;&gt;</source>
        <translation>&amp;Details &gt;&gt;</translation>
    </message>
    <message>
        <source>&lt;&lt; &amp;Details</source>
        <translation>&lt;&lt; &amp;Details</translation>
    </message>
    <message>
        <source>Def&amp;aults</source>
        <translation>&amp;Standardwerte</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>Datendatei</translation>
    </message>
    <message>
        <source>Radiographs (*.csv *.CSV);;All files (*)</source>
        <translation>Röntgenbilder (*.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>lumacet::TOpenXRayDlg</name>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Show only those containing:</source>
        <translation>Nur diese anzeigen, die enthalten:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>&amp;Match case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Sort by &amp;Name</source>
        <translation>Nach &amp;Namen sortieren</translation>
    </message>
    <message>
        <source>#</source>
        <translation>#</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>&amp;Load Image with tracing</source>
        <translation>Bild mit der Durchzeichnung &amp;laden</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>Select &amp;None</source>
        <translation>&amp;Keine auswählen</translation>
    </message>
    <message>
        <source>Select &amp;Inverse</source>
        <translation>Auswahl &amp;umkehren</translation>
    </message>
    <message>
        <source>&amp;Expand Selection</source>
        <translation>Auswahl &amp;erweitern</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>Lö&amp;schen...</translation>
    </message>
    <message>
        <source>&amp;Copy to...</source>
        <translation>&amp;Kopieren nach...</translation>
    </message>
    <message>
        <source>&amp;Load and Exit</source>
        <translation>Laden und &amp;beenden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Sch&amp;ließen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Radiographs (*.csv);;All files (*)</source>
        <translation>Röntgenbilder (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select the destination file</source>
        <translation>Zieldatei wählen</translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation>K&amp;opieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Lumacet</source>
        <translation>Lumacet</translation>
    </message>
</context>
<context>
    <name>lumacet::TOrientsForm</name>
    <message>
        <source>Orientations</source>
        <translation>Orientierungen</translation>
    </message>
    <message>
        <source>A&amp;ffect:</source>
        <translation>&amp;Wirkung:</translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation>&lt;keine&gt;</translation>
    </message>
</context>
<context>
    <name>lumacet::TPCAViewForm</name>
    <message>
        <source>PCA Viewer</source>
        <translation>PCA-Betrachter</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Current</source>
        <translation>&amp;Aktuelle</translation>
    </message>
    <message>
        <source>C&amp;onsensus</source>
        <translation>&amp;Konsens</translation>
    </message>
    <message>
        <source>&amp;Lines</source>
        <translation>&amp;Linien</translation>
    </message>
    <message>
        <source>&amp;Extremes</source>
        <translation>&amp;Extreme</translation>
    </message>
    <message>
        <source>La&amp;bels</source>
        <translation>&amp;Beschriftungen</translation>
    </message>
    <message>
        <source>&amp;Axes</source>
        <translation>A&amp;chsen</translation>
    </message>
    <message>
        <source>&amp;Drawing...</source>
        <translation>&amp;Zeichnung...</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Save as SVG...</source>
        <translation>Als SVG &amp;speichern...</translation>
    </message>
    <message>
        <source>Save Picture</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>SVG pictures (*.svg)</source>
        <translation>SVG-Bilder (*.svg)</translation>
    </message>
    <message>
        <source>PC&amp;A:</source>
        <translation>PC&amp;A:</translation>
    </message>
    <message>
        <source>&amp;PC:</source>
        <translation>&amp;PC:</translation>
    </message>
    <message>
        <source>Standard deviations along the component</source>
        <translation>Standardabweichungen entlang der Komponente</translation>
    </message>
    <message>
        <source>&amp;Hold</source>
        <translation>&amp;Halten</translation>
    </message>
    <message>
        <source>&amp;Reset All</source>
        <translation>Alle &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Graph</source>
        <translation>&amp;Grafik</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>PC %1</source>
        <translation>PC %1</translation>
    </message>
    <message>
        <source>%1 SD</source>
        <translation>%1 SD</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Zeichnung</translation>
    </message>
    <message>
        <source>&amp;Drawing:</source>
        <translation>&amp;Zeichnung:</translation>
    </message>
</context>
<context>
    <name>lumacet::TPCAsForm</name>
    <message>
        <source>PCAs</source>
        <translation>PCAs</translation>
    </message>
    <message>
        <source>Point&amp;s:</source>
        <translation>Punk&amp;te:</translation>
    </message>
    <message>
        <source>Import &amp;Data...</source>
        <translation>&amp;Daten importieren...</translation>
    </message>
    <message>
        <source>Data Not Valid!</source>
        <translation>Daten ungültig!</translation>
    </message>
    <message>
        <source>Import Data</source>
        <translation>Daten importieren</translation>
    </message>
    <message>
        <source>Text files (*.txt);;Data files (*.dat);;All files (*)</source>
        <translation>Textdateien (*.txt);;Datendateien (*.dat);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>lumacet::TPopulationDialog</name>
    <message>
        <source>&amp;Select...</source>
        <translation>&amp;Wählen...</translation>
    </message>
    <message>
        <source>Life size (LIFE)</source>
        <translation>Natürliche Größe (LIFE)</translation>
    </message>
    <message>
        <source>Radiograph size (XRAY)</source>
        <translation>Röntgenbildgröße (XRAY)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>;;All files (*)</source>
        <translation>;;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Radiographs (*.csv);;All files (*)</source>
        <translation>Röntgenbilder (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 radiographs from file:</source>
        <translation>%1 Röntgenbilder aus der Datei:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>lumacet::TProcForm</name>
    <message>
        <source>Procrustes &amp; PCA</source>
        <translation>Procrustes &amp; PCA</translation>
    </message>
    <message>
        <source>&amp;Calculate</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>1. Select radiographs to use for calculating:</source>
        <translation>1. Röntgenbilder für die Berechnung wählen:</translation>
    </message>
    <message>
        <source>2. Select radiograph &amp;Type:</source>
        <translation>2. Röntgenbild&amp;typ wählen:</translation>
    </message>
    <message>
        <source>3. Select &amp;PCA:</source>
        <translation>3. &amp;PCA wählen:</translation>
    </message>
    <message>
        <source>4. Select file for results (data will be appended to the file): </source>
        <translation>4. Datei für die Ergebnisse wählen (die Daten werden angehängt): </translation>
    </message>
    <message>
        <source>F&amp;ile...</source>
        <translation>Da&amp;tei...</translation>
    </message>
    <message>
        <source>Flip &amp;Y-axis (do not use for radiograph type).</source>
        <translation>&amp;Y-Achse spiegeln (nicht für den Röntgenbildtyp verwenden).</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>&amp;Consensus (mean)*</source>
        <translation>&amp;Konsens (Mittel)*</translation>
    </message>
    <message>
        <source>&amp;Residuals</source>
        <translation>&amp;Residuen</translation>
    </message>
    <message>
        <source>Sc&amp;ores</source>
        <translation>&amp;Scores</translation>
    </message>
    <message>
        <source>Si&amp;zes</source>
        <translation>&amp;Größen</translation>
    </message>
    <message>
        <source>PC &amp;Variances*</source>
        <translation>PC-&amp;Varianzen*</translation>
    </message>
    <message>
        <source>PC &amp;Loadings*</source>
        <translation>PC-&amp;Ladungen*</translation>
    </message>
    <message>
        <source>&amp;Distances</source>
        <translation>&amp;Distanzen</translation>
    </message>
    <message>
        <source>(* required for Type)</source>
        <translation>(* für den Typ erforderlich)</translation>
    </message>
    <message>
        <source>Include Radiograph &amp;Names</source>
        <translation>&amp;Namen der Röntgenbilder aufnehmen</translation>
    </message>
    <message>
        <source>An&amp;onymize</source>
        <translation>An&amp;onymisieren</translation>
    </message>
    <message>
        <source>Radiographs are named by their record numbers</source>
        <translation>Röntgenbilder werden nach ihrer Datensatznummer benannt</translation>
    </message>
    <message>
        <source>Calculate at:</source>
        <translation>Berechnen in:</translation>
    </message>
    <message>
        <source>Results File</source>
        <translation>Ergebnisdatei</translation>
    </message>
</context>
<context>
    <name>lumacet::TProtocolsForm</name>
    <message>
        <source>Protocols</source>
        <translation>Protokolle</translation>
    </message>
    <message>
        <source>Points and &amp;Snakes: %1</source>
        <translation>Punkte und &amp;Snakes: %1</translation>
    </message>
    <message>
        <source>P&amp;oints In Protocol: %1</source>
        <translation>Punkte im &amp;Protokoll: %1</translation>
    </message>
    <message>
        <source>&amp;Auto Advance</source>
        <translation>&amp;Automatisch weiter</translation>
    </message>
    <message>
        <source>&amp;Beep on Advance</source>
        <translation>Signalton beim &amp;Weiterschalten</translation>
    </message>
    <message>
        <source>Error &amp;Margin (mm):</source>
        <translation>&amp;Fehlertoleranz (mm):</translation>
    </message>
</context>
<context>
    <name>lumacet::TRollUpForm</name>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>&amp;Rename...</source>
        <translation>&amp;Umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation>&lt;keine&gt;</translation>
    </message>
    <message>
        <source>&amp;Type:</source>
        <translation>&amp;Typ:</translation>
    </message>
    <message>
        <source>Rearrange</source>
        <translation>Neu anordnen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>&amp;Deselect All</source>
        <translation>Auswahl auf&amp;heben</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>Auswahl u&amp;mkehren</translation>
    </message>
    <message>
        <source>&amp;Include</source>
        <translation>&amp;Aufnehmen</translation>
    </message>
    <message>
        <source>Remo&amp;ve</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>Sho&amp;w Remaining</source>
        <translation>&amp;Übrige anzeigen</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Light Green</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Limette</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Türkis</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Always</source>
        <translation>Immer</translation>
    </message>
    <message>
        <source>On Demand</source>
        <translation>Bei Bedarf</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Durchgezogen</translation>
    </message>
    <message>
        <source>Dash</source>
        <translation>Gestrichelt</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>Gepunktet</translation>
    </message>
    <message>
        <source>Dash-Dot</source>
        <translation>Strich-Punkt</translation>
    </message>
    <message>
        <source>Dash-Dot-Dot</source>
        <translation>Strich-Punkt-Punkt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>No Fill</source>
        <translation>Keine Füllung</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>Vertikal</translation>
    </message>
    <message>
        <source>FDiagonal</source>
        <translation>Diagonal vorwärts</translation>
    </message>
    <message>
        <source>BDiagonal</source>
        <translation>Diagonal rückwärts</translation>
    </message>
    <message>
        <source>Cross</source>
        <translation>Kreuz</translation>
    </message>
    <message>
        <source>Diag. Cross</source>
        <translation>Diagonalkreuz</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Quadrat</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>White to Black</source>
        <translation>Weiß nach Schwarz</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Beliebig</translation>
    </message>
    <message>
        <source>Black to White</source>
        <translation>Schwarz nach Weiß</translation>
    </message>
    <message>
        <source>All (except Preset)</source>
        <translation>Alle (außer Voreinstellung)</translation>
    </message>
    <message>
        <source>Selected only</source>
        <translation>Nur ausgewählte</translation>
    </message>
    <message>
        <source>Area:</source>
        <translation>Fläche:</translation>
    </message>
</context>
<context>
    <name>lumacet::TScaleDlg</name>
    <message>
        <source>Scale by...</source>
        <translation>Skalieren um...</translation>
    </message>
    <message>
        <source>&amp;Reduce to Life Size</source>
        <translation>Auf natürliche Größe &amp;verkleinern</translation>
    </message>
    <message>
        <source>&amp;Enlarge to Radiograph Size</source>
        <translation>Auf Röntgenbildgröße ver&amp;größern</translation>
    </message>
    <message>
        <source>&amp;Other:</source>
        <translation>&amp;Anderer Faktor:</translation>
    </message>
</context>
<context>
    <name>lumacet::TShapeForm</name>
    <message>
        <source>Sort by Shape</source>
        <translation>Nach Form sortieren</translation>
    </message>
    <message>
        <source>S&amp;can</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>1. Select radiographs:</source>
        <translation>1. Röntgenbilder wählen:</translation>
    </message>
    <message>
        <source>2. Select &amp;Procrustes from PCA:</source>
        <translation>2. &amp;Procrustes aus der PCA wählen:</translation>
    </message>
    <message>
        <source>&amp;Procrustes</source>
        <translation>&amp;Procrustes</translation>
    </message>
    <message>
        <source>&amp;Superimposition</source>
        <translation>Ü&amp;berlagerung</translation>
    </message>
    <message>
        <source>2. Select S&amp;uperimposition:</source>
        <translation>2. Ü&amp;berlagerung wählen:</translation>
    </message>
    <message>
        <source>and &amp;Graphic (Shape similarity will be based on this):</source>
        <translation>und &amp;Grafik (die Formähnlichkeit beruht darauf):</translation>
    </message>
    <message>
        <source>2. Select &amp;Analysis:</source>
        <translation>2. &amp;Analyse wählen:</translation>
    </message>
    <message>
        <source>&amp;Analysis</source>
        <translation>&amp;Analyse</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Load the best matches.</source>
        <translation>Die besten Treffer laden.</translation>
    </message>
    <message>
        <source>Load the worst matches.</source>
        <translation>Die schlechtesten Treffer laden.</translation>
    </message>
    <message>
        <source>Write all to file (sorted).</source>
        <translation>Alle in die Datei schreiben (sortiert).</translation>
    </message>
    <message>
        <source>Write best matches to file.</source>
        <translation>Die besten Treffer in die Datei schreiben.</translation>
    </message>
    <message>
        <source>Write worst matches to file.</source>
        <translation>Die schlechtesten Treffer in die Datei schreiben.</translation>
    </message>
    <message>
        <source>&amp;Number to load, or write to file:</source>
        <translation>&amp;Anzahl zum Laden oder Schreiben:</translation>
    </message>
    <message>
        <source>&amp;Exclude same patient.</source>
        <translation>Denselben Patienten &amp;ausschließen.</translation>
    </message>
    <message>
        <source>3. Select file to write results (data will be appended to the file): </source>
        <translation>3. Datei für die Ergebnisse wählen (die Daten werden angehängt): </translation>
    </message>
    <message>
        <source>F&amp;ile...</source>
        <translation>Da&amp;tei...</translation>
    </message>
    <message>
        <source>Stop Scanning</source>
        <translation>Durchsuchen anhalten</translation>
    </message>
    <message>
        <source>Stop writing</source>
        <translation>Schreiben anhalten</translation>
    </message>
</context>
<context>
    <name>lumacet::TSlotList</name>
    <message>
        <source>Reference</source>
        <translation>Referenz</translation>
    </message>
    <message>
        <source>Morph Source</source>
        <translation>Morph-Quelle</translation>
    </message>
</context>
<context>
    <name>lumacet::TSnakesForm</name>
    <message>
        <source>Snakes</source>
        <translation>Snakes</translation>
    </message>
    <message>
        <source>After defining digitized snakes, don&apos;t forget to add them to a Protocol.</source>
        <translation>Vergessen Sie nicht, digitalisierte Snakes nach dem Definieren einem Protokoll hinzuzufügen.</translation>
    </message>
    <message>
        <source>Use the Digitize tool to add points to the snake.</source>
        <translation>Fügen Sie der Snake mit dem Digitalisierwerkzeug Punkte hinzu.</translation>
    </message>
    <message>
        <source>&amp;Clear All</source>
        <translation>Alle &amp;löschen</translation>
    </message>
    <message>
        <source>Delete &amp;Last</source>
        <translation>&amp;Letzten löschen</translation>
    </message>
    <message>
        <source>Nu&amp;mber of Points:</source>
        <translation>An&amp;zahl der Punkte:</translation>
    </message>
    <message>
        <source>&amp;Hot zone (mm):</source>
        <translation>&amp;Suchzone (mm):</translation>
    </message>
    <message>
        <source>&amp;Transition:</source>
        <translation>Über&amp;gang:</translation>
    </message>
    <message>
        <source>Lock &amp;Bias:</source>
        <translation>Bindungs&amp;tendenz:</translation>
    </message>
    <message>
        <source>D&amp;escription:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Anpassen</translation>
    </message>
</context>
<context>
    <name>lumacet::TSupimpsForm</name>
    <message>
        <source>Superimpositions</source>
        <translation>Überlagerungen</translation>
    </message>
</context>
<context>
    <name>lumacet::TTypeBrowserForm</name>
    <message>
        <source>Type Browser</source>
        <translation>Typbrowser</translation>
    </message>
    <message>
        <source>&amp;Referenced by</source>
        <translation>&amp;Verwendet von</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation>Nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>lumacet::TTypePropertiesDlg</name>
    <message>
        <source>Radiograph Type Properties</source>
        <translation>Eigenschaften des Röntgenbildtyps</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Picture...</source>
        <translation>&amp;Bild...</translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation>Bild:</translation>
    </message>
    <message>
        <source>New radiographs get current image &amp;scaling factors</source>
        <translation>Neue Röntgenbilder erhalten die aktuellen &amp;Skalierungsfaktoren des Bildes</translation>
    </message>
    <message>
        <source>New radiographs get current image &amp;position</source>
        <translation>Neue Röntgenbilder erhalten die aktuelle Bild&amp;position</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Use Default</source>
        <translation>Standard verwenden</translation>
    </message>
    <message>
        <source>&amp;Auto-detect image resolution from Scanner</source>
        <translation>Bildauflösung &amp;automatisch vom Scanner übernehmen</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Graphic files (*.bmp *.ico *.BMP *.ICO);;All files (*)</source>
        <translation>Grafikdateien (*.bmp *.ico *.BMP *.ICO);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>lumacet::TUpdataDICMDlg</name>
    <message>
        <source>Updata from DICOM data</source>
        <translation>Aus DICOM-Daten aktualisieren</translation>
    </message>
    <message>
        <source>Update:</source>
        <translation>Aktualisieren:</translation>
    </message>
    <message>
        <source>Female</source>
        <translation>weiblich</translation>
    </message>
    <message>
        <source>Male</source>
        <translation>männlich</translation>
    </message>
    <message>
        <source>Name: %1</source>
        <translation>Name: %1</translation>
    </message>
    <message>
        <source>Sex: </source>
        <translation>Geschlecht: </translation>
    </message>
    <message>
        <source>Date of Birth: %1</source>
        <translation>Geburtsdatum: %1</translation>
    </message>
    <message>
        <source>Date Taken: %1</source>
        <translation>Aufnahmedatum: %1</translation>
    </message>
    <message>
        <source>Update to: %1</source>
        <translation>Aktualisieren auf: %1</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Update &amp;All</source>
        <translation>A&amp;lle aktualisieren</translation>
    </message>
</context>
<context>
    <name>lumacet::TVariablesForm</name>
    <message>
        <source>Variables</source>
        <translation>Variablen</translation>
    </message>
    <message>
        <source>Text &amp;Before:</source>
        <translation>Text &amp;davor:</translation>
    </message>
    <message>
        <source>&amp;Number Format:</source>
        <translation>&amp;Zahlenformat:</translation>
    </message>
    <message>
        <source>Text &amp;After:</source>
        <translation>Text d&amp;anach:</translation>
    </message>
    <message>
        <source>&amp;Female Normals:</source>
        <translation>Normwerte &amp;weiblich:</translation>
    </message>
    <message>
        <source>&amp;Male Normals:</source>
        <translation>Normwerte &amp;männlich:</translation>
    </message>
    <message>
        <source>Age from</source>
        <translation>Alter von</translation>
    </message>
    <message>
        <source>Age to</source>
        <translation>Alter bis</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>St. Dev.</source>
        <translation>Std.-Abw.</translation>
    </message>
    <message>
        <source>Add Female Norm</source>
        <translation>Norm weiblich hinzufügen</translation>
    </message>
    <message>
        <source>Add Male Norm</source>
        <translation>Norm männlich hinzufügen</translation>
    </message>
</context>
<context>
    <name>lumacet::TViewsForm</name>
    <message>
        <source>Views</source>
        <translation>Ansichten</translation>
    </message>
    <message>
        <source>&amp;Graphics:</source>
        <translation>&amp;Grafiken:</translation>
    </message>
    <message>
        <source>V&amp;ariables:</source>
        <translation>V&amp;ariablen:</translation>
    </message>
</context>
</TS>
