<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Failure</name>
    <message>
        <source>CAPITAL_AFTER_COLON</source>
        <extracomment>Translate as &quot;yes&quot; where a whole sentence after a colon begins with a capital letter (as in German), and as &quot;no&quot; where it does not (as in English and French).</extracomment>
        <translation>yes</translation>
    </message>
    <message>
        <source>the picture could not be made</source>
        <translation>das Bild konnte nicht erzeugt werden</translation>
    </message>
    <message>
        <source>unknown treatment</source>
        <translation>unbekannte Tönung</translation>
    </message>
    <message>
        <source>unknown look</source>
        <translation>unbekannter Stil</translation>
    </message>
    <message>
        <source>the painting could not be rendered</source>
        <translation>die Bemalung konnte nicht berechnet werden</translation>
    </message>
    <message>
        <source>the thumbnail could not be rendered</source>
        <translation>die Miniatur konnte nicht berechnet werden</translation>
    </message>
    <message>
        <source>the picture ends early</source>
        <translation>das Bild endet zu früh</translation>
    </message>
    <message>
        <source>unexpected layout</source>
        <translation>unerwarteter Aufbau</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>der Speicher ist erschöpft</translation>
    </message>
    <message>
        <source>it is not a 16-bit picture of the working size</source>
        <translation>es ist kein 16-Bit-Bild in der Arbeitsgröße</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>dafür ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>there is no picture</source>
        <translation>es gibt kein Bild</translation>
    </message>
    <message>
        <source>the picture has no working size</source>
        <translation>das Bild hat keine Arbeitsgröße</translation>
    </message>
    <message>
        <source>no temporary file could be made</source>
        <translation>es konnte keine temporäre Datei angelegt werden</translation>
    </message>
    <message>
        <source>the picture could not be read back</source>
        <translation>das Bild konnte nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is too large to be a Pimavo project</source>
        <translation>es ist zu groß für ein Pimavo-Projekt</translation>
    </message>
    <message>
        <source>it is not a Pimavo project</source>
        <translation>es ist kein Pimavo-Projekt</translation>
    </message>
    <message>
        <source>its description is damaged</source>
        <translation>seine Beschreibung ist beschädigt</translation>
    </message>
    <message>
        <source>its description is damaged (no format version)</source>
        <translation>seine Beschreibung ist beschädigt (keine Formatversion)</translation>
    </message>
    <message>
        <source>its description is damaged (working size)</source>
        <translation>seine Beschreibung ist beschädigt (Arbeitsgröße)</translation>
    </message>
    <message>
        <source>its picture is damaged</source>
        <translation>sein Bild ist beschädigt</translation>
    </message>
    <message>
        <source>it holds no photo</source>
        <translation>es enthält kein Foto</translation>
    </message>
    <message>
        <source>its photo is damaged</source>
        <translation>sein Foto ist beschädigt</translation>
    </message>
    <message>
        <source>the project would be larger than 4 GB</source>
        <translation>das Projekt wäre größer als 4 GB</translation>
    </message>
    <message>
        <source>it is not a project file (too short)</source>
        <translation>es ist keine Projektdatei (zu kurz)</translation>
    </message>
    <message>
        <source>it is not a project file (no archive directory)</source>
        <translation>es ist keine Projektdatei (kein Archivverzeichnis)</translation>
    </message>
    <message>
        <source>its archive directory is damaged</source>
        <translation>sein Archivverzeichnis ist beschädigt</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>ein Ordner dieses Namens ist im Weg</translation>
    </message>
    <message>
        <source>the file could not be written to disk</source>
        <translation>die Datei konnte nicht auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <source>a metadata segment is too large</source>
        <translation>ein Metadatensegment ist zu groß</translation>
    </message>
    <message>
        <source>the file is not a JPEG</source>
        <translation>die Datei ist kein JPEG</translation>
    </message>
    <message>
        <source>the file cannot be written</source>
        <translation>die Datei kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the file is not a PNG</source>
        <translation>die Datei ist kein PNG</translation>
    </message>
    <message>
        <source>the PNG is damaged</source>
        <translation>das PNG ist beschädigt</translation>
    </message>
    <message>
        <source>the file or the EXIF block is not TIFF-structured</source>
        <translation>die Datei oder der EXIF-Block ist nicht wie TIFF aufgebaut</translation>
    </message>
    <message>
        <source>the byte orders differ</source>
        <translation>die Bytereihenfolgen unterscheiden sich</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <source>a directory does not lie in its file</source>
        <translation>ein Verzeichnis liegt außerhalb seiner Datei</translation>
    </message>
    <message>
        <source>the file has sub-directories</source>
        <translation>die Datei hat Unterverzeichnisse</translation>
    </message>
    <message>
        <source>an entry of an unknown type</source>
        <translation>ein Eintrag hat einen unbekannten Typ</translation>
    </message>
    <message>
        <source>an entry&apos;s value does not lie in its file</source>
        <translation>der Wert eines Eintrags liegt außerhalb seiner Datei</translation>
    </message>
    <message>
        <source>pixel offsets in shorts</source>
        <translation>die Pixelpositionen sind als 16-Bit-Zahlen gespeichert</translation>
    </message>
    <message>
        <source>“%1” could not be opened: %2.</source>
        <translation>„%1“ konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>“%1” could not be saved: %2.</source>
        <translation>„%1“ konnte nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>“%1” cannot be opened: %2.</source>
        <translation>„%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>“%1” is incomplete: the part of the picture that could not be read is shown grey.</source>
        <translation>„%1“ ist unvollständig: Der Teil des Bildes, der nicht gelesen werden konnte, wird grau angezeigt.</translation>
    </message>
    <message>
        <source>“%1” is damaged: the part of the picture that could not be read is shown grey.</source>
        <translation>„%1“ ist beschädigt: Der Teil des Bildes, der nicht gelesen werden konnte, wird grau angezeigt.</translation>
    </message>
    <message>
        <source>“%1” is incomplete: the picture is shown with the detail that could be read.</source>
        <translation>„%1“ ist unvollständig: Das Bild wird mit den Details angezeigt, die gelesen werden konnten.</translation>
    </message>
    <message>
        <source>“%1” is damaged: the picture is shown with the detail that could be read.</source>
        <translation>„%1“ ist beschädigt: Das Bild wird mit den Details angezeigt, die gelesen werden konnten.</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>die Datei ist beschädigt (%1)</translation>
    </message>
    <message>
        <source>it is not a photo in a format Pimavo reads without its codec module (%1)</source>
        <translation>es ist kein Foto in einem Format, das Pimavo ohne sein Codec-Modul lesen kann (%1)</translation>
    </message>
    <message>
        <source>it has %1 channels</source>
        <translation>das Bild hat %1 Kanäle</translation>
    </message>
    <message>
        <source>it is %1 × %2 pixels, more than the %3 megapixels Pimavo opens</source>
        <translation>das Bild hat %1 × %2 Pixel, mehr als die %3 Megapixel, die Pimavo öffnet</translation>
    </message>
    <message>
        <source>the decoder failed (%1)</source>
        <translation>der Decoder ist gescheitert (%1)</translation>
    </message>
    <message>
        <source>the folder cannot be written to (%1)</source>
        <translation>in den Ordner kann nicht geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>the file could not be replaced (%1)</source>
        <translation>die Datei konnte nicht ersetzt werden (%1)</translation>
    </message>
    <message>
        <source>the metadata could not be written (%1)</source>
        <translation>die Metadaten konnten nicht geschrieben werden (%1)</translation>
    </message>
    <message>
        <source>Pimavo cannot write the type %1</source>
        <translation>Pimavo kann den Typ %1 nicht schreiben</translation>
    </message>
    <message>
        <source>the codec module %1 is missing</source>
        <translation>das Codec-Modul %1 fehlt</translation>
    </message>
    <message>
        <source>the painting could not be compressed (%1)</source>
        <translation>die Bemalung konnte nicht komprimiert werden (%1)</translation>
    </message>
    <message>
        <source>the thumbnail could not be compressed (%1)</source>
        <translation>die Miniatur konnte nicht komprimiert werden (%1)</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>es kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>it was saved by a newer version of Pimavo (project format %1; this version reads format %2). Open it with a newer Pimavo</source>
        <translation>es wurde mit einer neueren Version von Pimavo gespeichert (Projektformat %1; diese Version liest Format %2). Öffnen Sie es mit einem neueren Pimavo</translation>
    </message>
    <message>
        <source>its description is damaged (%1)</source>
        <translation>seine Beschreibung ist beschädigt (%1)</translation>
    </message>
    <message>
        <source>its “%1” is damaged (%2)</source>
        <translation>sein Teil „%1“ ist beschädigt (%2)</translation>
    </message>
    <message>
        <source>it has no “%1”</source>
        <translation>ihm fehlt der Teil „%1“</translation>
    </message>
    <message>
        <source>its “%1” is damaged</source>
        <translation>sein Teil „%1“ ist beschädigt</translation>
    </message>
    <message>
        <source>its “%1” is too large</source>
        <translation>sein Teil „%1“ ist zu groß</translation>
    </message>
    <message>
        <source>its “%1” is packed in a way Pimavo cannot read</source>
        <translation>sein Teil „%1“ ist auf eine Weise gepackt, die Pimavo nicht lesen kann</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the HEIF file is malformed</source>
        <translation>die HEIF-Datei ist fehlerhaft aufgebaut</translation>
    </message>
    <message>
        <source>the file is no HEIF file</source>
        <translation>die Datei ist keine HEIF-Datei</translation>
    </message>
    <message>
        <source>the HEIF file has no metadata box</source>
        <translation>die HEIF-Datei hat keinen Metadatenblock</translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation>die Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>the HEIF file has bytes after its last box</source>
        <translation>die HEIF-Datei hat Bytes nach ihrem letzten Block</translation>
    </message>
    <message>
        <source>the HEIF file has no place for EXIF</source>
        <translation>die HEIF-Datei hat keinen Platz für EXIF</translation>
    </message>
    <message>
        <source>the HEIF file keeps its EXIF in a way Pimavo cannot change</source>
        <translation>die HEIF-Datei speichert ihre EXIF-Daten auf eine Weise, die Pimavo nicht ändern kann</translation>
    </message>
    <message>
        <source>the HEIF file has no room to say where its EXIF is</source>
        <translation>die HEIF-Datei hat keinen Platz, um anzugeben, wo ihre EXIF-Daten liegen</translation>
    </message>
    <message>
        <source>the file is damaged</source>
        <translation>die Datei ist beschädigt</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>it is not a photo in a format Pimavo reads</source>
        <translation>es ist kein Foto in einem Format, das Pimavo lesen kann</translation>
    </message>
    <message>
        <source>its size is not that of a picture</source>
        <translation>seine Größe ist nicht die eines Bildes</translation>
    </message>
    <message>
        <source>there is not enough memory to open it</source>
        <translation>zum Öffnen ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>it cannot be decoded at a reduced size</source>
        <translation>das Bild kann nicht in verkleinerter Größe dekodiert werden</translation>
    </message>
    <message>
        <source>the file is incomplete, and none of its picture can be read</source>
        <translation>die Datei ist unvollständig, und nichts von ihrem Bild kann gelesen werden</translation>
    </message>
    <message>
        <source>the picture could not be read whole</source>
        <translation>das Bild konnte nicht vollständig gelesen werden</translation>
    </message>
    <message>
        <source>there is not enough memory to prepare the picture</source>
        <translation>zum Vorbereiten des Bildes ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>the save was cancelled</source>
        <translation>das Speichern wurde abgebrochen</translation>
    </message>
    <message>
        <source>the metadata could not be written (simulated failure)</source>
        <translation>die Metadaten konnten nicht geschrieben werden (simulierter Fehler)</translation>
    </message>
    <message>
        <source>rows asked for out of order</source>
        <translation>Zeilen wurden außer der Reihe angefordert</translation>
    </message>
    <message>
        <source>the picture data ends early</source>
        <translation>die Bilddaten enden zu früh</translation>
    </message>
    <message>
        <source>none of its picture data could be read</source>
        <translation>keine seiner Bilddaten konnten gelesen werden</translation>
    </message>
    <message>
        <source>this type cannot be written</source>
        <translation>dieser Typ kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the codec module has no entry point</source>
        <translation>das Codec-Modul hat keinen Einstiegspunkt</translation>
    </message>
    <message>
        <source>the picture is too wide for PNG</source>
        <translation>das Bild ist zu breit für PNG</translation>
    </message>
    <message>
        <source>the picture could not be compressed</source>
        <translation>das Bild konnte nicht komprimiert werden</translation>
    </message>
    <message>
        <source>the file could not be created</source>
        <translation>die Datei konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>the pixels could not be written</source>
        <translation>die Pixel konnten nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the file could not be completed</source>
        <translation>die Datei konnte nicht fertiggestellt werden</translation>
    </message>
    <message>
        <source>the pixels could not be compressed</source>
        <translation>die Pixel konnten nicht komprimiert werden</translation>
    </message>
</context>
<context>
    <name>pimavo::AboutWindow</name>
    <message>
        <source>&amp;About Pimavo</source>
        <translation>&amp;Über Pimavo</translation>
    </message>
    <message>
        <source>Selective-colour photographs: paint a photo’s colour back over a treated background.</source>
        <translation>Fotos mit Farbakzent: Malen Sie die Farbe eines Fotos über einen getönten Hintergrund zurück.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder neuer.</translation>
    </message>
</context>
<context>
    <name>pimavo::AcknowledgementsWindow</name>
    <message>
        <source>The list of libraries was not installed with this copy of Pimavo.</source>
        <translation>Die Liste der Bibliotheken wurde mit dieser Pimavo-Kopie nicht installiert.</translation>
    </message>
    <message>
        <source>Pimavo is built on these libraries, with thanks to their authors:</source>
        <translation>Pimavo baut auf diesen Bibliotheken auf – mit Dank an ihre Autorinnen und Autoren:</translation>
    </message>
    <message>
        <source>Pictures that come with Pimavo:</source>
        <translation>Bilder, die Pimavo beiliegen:</translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation>&amp;Danksagungen</translation>
    </message>
</context>
<context>
    <name>pimavo::CameraDevice</name>
    <message>
        <source>No driver for the camera “%1”.</source>
        <translation>Kein Treiber für die Kamera „%1“.</translation>
    </message>
    <message>
        <source>The camera&apos;s port “%1” is not there.</source>
        <translation>Der Anschluss „%1“ der Kamera ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>The camera “%1” did not answer (%2).</source>
        <translation>Die Kamera „%1“ hat nicht geantwortet (%2).</translation>
    </message>
    <message>
        <source>The camera&apos;s folder “%1” could not be read (%2).</source>
        <translation>Der Kameraordner „%1“ konnte nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera is no longer there (%2). The photos already imported are kept.</source>
        <translation>Die Übertragung wurde bei „%1“ abgebrochen: Die Kamera ist nicht mehr verbunden (%2). Die bereits importierten Fotos bleiben erhalten.</translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera did not answer (%2). The photos already imported are kept.</source>
        <translation>Die Übertragung wurde bei „%1“ abgebrochen: Die Kamera hat nicht geantwortet (%2). Die bereits importierten Fotos bleiben erhalten.</translation>
    </message>
    <message>
        <source>“%1” could not be written in “%2”: %3.</source>
        <translation>„%1“ konnte nicht in „%2“ geschrieben werden: %3.</translation>
    </message>
</context>
<context>
    <name>pimavo::CanvasView</name>
    <message>
        <source>ReColor undefined</source>
        <translation>Keine Farbe zum Umfärben festgelegt</translation>
    </message>
    <message>
        <source>You must select color for drawing.</source>
        <translation>Wählen Sie eine Farbe aus, mit der gemalt werden soll.</translation>
    </message>
    <message>
        <source>Picture</source>
        <extracomment>The picture being edited, as a screen reader names it</extracomment>
        <translation>Bild</translation>
    </message>
</context>
<context>
    <name>pimavo::ColorPanel</name>
    <message>
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
</context>
<context>
    <name>pimavo::EditorWindow</name>
    <message>
        <source>Open a photo</source>
        <translation>Ein Foto öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom: type a percentage and press Return</source>
        <translation>Zoom: Prozentwert eingeben und Eingabetaste drücken</translation>
    </message>
    <message>
        <source>Zoom to Fit</source>
        <translation>In Fenster einpassen</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Compare Before and After</source>
        <translation>Vorher und nachher vergleichen</translation>
    </message>
    <message>
        <source>Hold to see the original photo</source>
        <translation>Gedrückt halten, um das Originalfoto zu sehen</translation>
    </message>
    <message>
        <source>Apply the painting to the photo</source>
        <translation>Die Bemalung auf das Foto anwenden</translation>
    </message>
    <message>
        <source>Share the picture</source>
        <translation>Das Bild teilen</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>E&amp;xport To</source>
        <translation>E&amp;xportieren nach</translation>
    </message>
    <message>
        <source>Open With…</source>
        <translation>Öffnen mit …</translation>
    </message>
    <message>
        <source>another application</source>
        <translation>einem anderen Programm</translation>
    </message>
    <message>
        <source>%1 is not installed.</source>
        <translation>%1 ist nicht installiert.</translation>
    </message>
    <message>
        <source>Install it from your distribution’s software centre, or choose Export To ▸ Open With… to use another application.</source>
        <translation>Installieren Sie es über die Softwareverwaltung Ihrer Distribution, oder wählen Sie „Exportieren nach ▸ Öffnen mit …“, um ein anderes Programm zu verwenden.</translation>
    </message>
    <message>
        <source>%1 needs to save the picture before it can open it in %2.</source>
        <translation>%1 muss das Bild speichern, bevor es in %2 geöffnet werden kann.</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <extracomment>%1 is the step it takes back, such as &quot;Invert Mask&quot;</extracomment>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <extracomment>%1 is the step it makes again, such as &quot;Invert Mask&quot;</extracomment>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation>&amp;Öffnen …</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>No recent photos</source>
        <translation>Keine zuletzt geöffneten Fotos</translation>
    </message>
    <message>
        <source>Browse Photos…</source>
        <translation>Fotos durchsuchen …</translation>
    </message>
    <message>
        <source>Import from Camera or Scanner…</source>
        <translation>Von Kamera oder Scanner importieren …</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <source>Save as &amp;Project…</source>
        <translation>Als &amp;Projekt speichern …</translation>
    </message>
    <message>
        <source>&amp;Revert to Original…</source>
        <translation>Auf Original zu&amp;rücksetzen …</translation>
    </message>
    <message>
        <source>Page Set&amp;up…</source>
        <translation>Seite &amp;einrichten …</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message>
        <source>Print on &amp;Canvas…</source>
        <translation>Auf &amp;Leinwand drucken …</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <extracomment>A menu of the menu bar</extracomment>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Invert Mask</source>
        <translation>Maske umkehren</translation>
    </message>
    <message>
        <source>Clear Mask</source>
        <translation>Maske leeren</translation>
    </message>
    <message>
        <source>Show &amp;Mask</source>
        <translation>&amp;Maske anzeigen</translation>
    </message>
    <message>
        <source>Mask C&amp;olour</source>
        <translation>Masken&amp;farbe</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The colours the mask can be shown in</extracomment>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>&amp;Apply Drawing</source>
        <translation>Bemalung &amp;anwenden</translation>
    </message>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation>Ein&amp;stellungen …</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Background</source>
        <extracomment>The View menu&apos;s list of greys around the picture</extracomment>
        <translation>&amp;Fensterhintergrund</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
    <message>
        <source>This step can no longer be undone: the picture it kept in the cache folder is gone.</source>
        <translation>Dieser Schritt kann nicht mehr rückgängig gemacht werden: Das dafür im Zwischenspeicher-Ordner abgelegte Bild ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>Revert to the original photo?</source>
        <translation>Auf das Originalfoto zurücksetzen?</translation>
    </message>
    <message>
        <source>Your painting and adjustments are set aside; Undo brings them back.</source>
        <translation>Ihre Bemalung und Ihre Anpassungen werden beiseitegelegt; mit „Rückgängig“ holen Sie sie zurück.</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Part of this photo could not be read.</source>
        <translation>Ein Teil dieses Fotos konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation>Die Datei ist möglicherweise beschädigt, oder sie ist kein Foto in einem Format, das Pimavo lesen kann.</translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation>Die Datei „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The project cannot be saved.</source>
        <translation>Das Projekt kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>The picture could not be printed.</source>
        <translation>Das Bild konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Zoom level</source>
        <extracomment>The zoom field&apos;s name to screen readers</extracomment>
        <translation>Zoomstufe</translation>
    </message>
</context>
<context>
    <name>pimavo::ExportController</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>%1 (Pimavo)</source>
        <extracomment>The name of a copy handed to another application; %1 is the photo&apos;s name</extracomment>
        <translation>%1 (Pimavo)</translation>
    </message>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to.</source>
        <translation>In den Ordner „%1“ kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The copy could not be kept in “%1”: %2.</source>
        <translation>Die Kopie konnte nicht in „%1“ abgelegt werden: %2.</translation>
    </message>
    <message>
        <source>The folder “%1” has no free name left for the copy.</source>
        <translation>Im Ordner „%1“ ist kein freier Name für die Kopie mehr übrig.</translation>
    </message>
    <message>
        <source>“%1” cannot be started.</source>
        <translation>„%1“ kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>“%1” could not be started.</source>
        <translation>„%1“ konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>No application could be asked to open the picture.</source>
        <translation>Es konnte kein Programm zum Öffnen des Bildes aufgerufen werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoLibrary</name>
    <message>
        <source>the help server answered HTTP %1</source>
        <translation>der Hilfe-Server antwortete mit HTTP %1</translation>
    </message>
    <message>
        <source>%1 — check your internet connection and try again</source>
        <translation>%1 – prüfen Sie Ihre Internetverbindung und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>the file is not there</source>
        <translation>die Datei ist nicht vorhanden</translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoWindow</name>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation>&amp;Videoanleitungen</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Loading the list of videos…</source>
        <translation>Liste der Videos wird geladen …</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>The list of help videos cannot be loaded: %1.</source>
        <translation>Die Liste der Hilfevideos kann nicht geladen werden: %1.</translation>
    </message>
    <message>
        <source>Loading “%1”…</source>
        <translation>„%1“ wird geladen …</translation>
    </message>
    <message>
        <source>“%1” cannot be loaded: %2.</source>
        <translation>„%1“ kann nicht geladen werden: %2.</translation>
    </message>
    <message>
        <source>“%1” cannot be played: %2.</source>
        <translation>„%1“ kann nicht abgespielt werden: %2.</translation>
    </message>
    <message>
        <source>The help videos cannot be reached: %1. This is the list from your last visit; the videos you watched before still play.</source>
        <translation>Die Hilfevideos sind nicht erreichbar: %1. Dies ist die Liste von Ihrem letzten Besuch; die Videos, die Sie bereits angesehen haben, lassen sich weiterhin abspielen.</translation>
    </message>
    <message>
        <source>There are no help videos yet.</source>
        <translation>Es gibt noch keine Hilfevideos.</translation>
    </message>
    <message>
        <source>Choose a video on the left.</source>
        <translation>Wählen Sie links ein Video aus.</translation>
    </message>
    <message>
        <source>There is no help video called “%1”.</source>
        <translation>Es gibt kein Hilfevideo namens „%1“.</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Help videos</source>
        <extracomment>The list of help videos, as a screen reader names it</extracomment>
        <translation>Hilfevideos</translation>
    </message>
    <message>
        <source>Playback position</source>
        <extracomment>The slider of where the video is, as a screen reader names it</extracomment>
        <translation>Wiedergabeposition</translation>
    </message>
</context>
<context>
    <name>pimavo::ImportDialog</name>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Scan %1</source>
        <extracomment>A scanned picture&apos;s file name; %1 is when it was scanned</extracomment>
        <translation>Scan %1</translation>
    </message>
    <message>
        <source>The scan could not be written to “%1”.</source>
        <translation>Der Scan konnte nicht in „%1“ geschrieben werden.</translation>
    </message>
    <message>
        <source>Import from Camera or Scanner</source>
        <translation>Von Kamera oder Scanner importieren</translation>
    </message>
    <message>
        <source>Import All</source>
        <translation>Alle importieren</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Overview</source>
        <extracomment>A button: scan the whole glass quickly, to see what lies on it</extracomment>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Scan</source>
        <extracomment>A button: scan the picture</extracomment>
        <translation>Scannen</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>Auflösung:</translation>
    </message>
    <message>
        <source>Mode:</source>
        <extracomment>The scanner&apos;s colour mode: colour, grey, black and white</extracomment>
        <translation>Modus:</translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Looking for cameras…</source>
        <translation>Kameras werden gesucht …</translation>
    </message>
    <message>
        <source>Choose a camera or a scanner on the left.</source>
        <translation>Wählen Sie links eine Kamera oder einen Scanner aus.</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Kameras</translation>
    </message>
    <message>
        <source>none attached</source>
        <translation>keine angeschlossen</translation>
    </message>
    <message>
        <source>Scanners</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>Reading the camera…</source>
        <translation>Kamera wird gelesen …</translation>
    </message>
    <message numerus="yes">
        <source>%n photos on the camera. They are imported into the Pictures folder.</source>
        <translation>
            <numerusform>%n Foto auf der Kamera. Es wird in den Ordner „Bilder“ importiert.</numerusform>
            <numerusform>%n Fotos auf der Kamera. Sie werden in den Ordner „Bilder“ importiert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Importing %n photos…</source>
        <translation>
            <numerusform>%n Foto wird importiert …</numerusform>
            <numerusform>%n Fotos werden importiert …</numerusform>
        </translation>
    </message>
    <message>
        <source>The import stopped.</source>
        <translation>Der Import wurde abgebrochen.</translation>
    </message>
    <message numerus="yes">
        <source>%n photos imported.</source>
        <translation>
            <numerusform>%n Foto importiert.</numerusform>
            <numerusform>%n Fotos importiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Asking the scanner what it can do…</source>
        <translation>Fähigkeiten des Scanners werden abgefragt …</translation>
    </message>
    <message>
        <source>%1 dpi</source>
        <extracomment>A scanning resolution, in dots per inch</extracomment>
        <translation>%1 dpi</translation>
    </message>
    <message>
        <source>Scan an overview to see what lies on the glass.</source>
        <translation>Scannen Sie eine Vorschau, um zu sehen, was auf dem Glas liegt.</translation>
    </message>
    <message>
        <source>Place the original on the glass, then choose Overview or Scan.</source>
        <translation>Legen Sie die Vorlage auf das Glas und wählen Sie dann „Vorschau“ oder „Scannen“.</translation>
    </message>
    <message>
        <source>Scanning an overview…</source>
        <translation>Vorschau wird gescannt …</translation>
    </message>
    <message>
        <source>Scanning…</source>
        <translation>Wird gescannt …</translation>
    </message>
    <message>
        <source>The scan was cancelled.</source>
        <translation>Der Scan wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Devices</source>
        <extracomment>The list of cameras and scanners, as a screen reader names it</extracomment>
        <translation>Geräte</translation>
    </message>
    <message>
        <source>Photos on the camera</source>
        <extracomment>The photos on the chosen camera, as a screen reader names their list</extracomment>
        <translation>Fotos auf der Kamera</translation>
    </message>
</context>
<context>
    <name>pimavo::MediaBrowserPanel</name>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>Looking for photos…</source>
        <translation>Fotos werden gesucht …</translation>
    </message>
    <message>
        <source>No photos in the Pictures folder or the photo libraries.</source>
        <translation>Keine Fotos im Ordner „Bilder“ oder in den Fotobibliotheken.</translation>
    </message>
    <message numerus="yes">
        <source>%n photos, newest first. Double-click one to open it.</source>
        <translation>
            <numerusform>%n Foto. Doppelklicken Sie darauf, um es zu öffnen.</numerusform>
            <numerusform>%n Fotos, die neuesten zuerst. Doppelklicken Sie auf ein Foto, um es zu öffnen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::OverlayDialog</name>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>pimavo::PreferencesWindow</name>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation>Ein&amp;stellungen …</translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation>Dieses Fenster beim Start von Pimavo anzeigen</translation>
    </message>
    <message>
        <source>Window background:</source>
        <translation>Fensterhintergrund:</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation>Gealtert</translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation>Silberblau</translation>
    </message>
    <message>
        <source>New photos start in:</source>
        <translation>Tönung für neue Fotos:</translation>
    </message>
    <message>
        <source>Save pictures without a file as:</source>
        <translation>Bilder ohne Datei speichern als:</translation>
    </message>
    <message>
        <source>JPEG and WebP quality:</source>
        <translation>Qualität für JPEG und WebP:</translation>
    </message>
    <message>
        <source>Help videos list:</source>
        <translation>Liste der Hilfevideos:</translation>
    </message>
    <message numerus="yes">
        <source>Undo keeps the last %n steps (up to %1).</source>
        <translation>
            <numerusform>%n Schritt kann rückgängig gemacht werden (höchstens %1).</numerusform>
            <numerusform>Die letzten %n Schritte können rückgängig gemacht werden (höchstens %1).</numerusform>
        </translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Flickr key:</source>
        <translation>Flickr-Schlüssel:</translation>
    </message>
    <message>
        <source>Flickr secret:</source>
        <translation>Flickr-Geheimnis:</translation>
    </message>
    <message>
        <source>Tumblr key:</source>
        <translation>Tumblr-Schlüssel:</translation>
    </message>
    <message>
        <source>Tumblr secret:</source>
        <translation>Tumblr-Geheimnis:</translation>
    </message>
</context>
<context>
    <name>pimavo::RegionPicker</name>
    <message>
        <source>Pick a Colour Region</source>
        <translation>Farbbereich auswählen</translation>
    </message>
    <message>
        <source>Click the photo to select a region of its colour. Shift-click adds a colour, Ctrl-click takes one away; Ctrl+Z undoes a step. The mouse wheel zooms, Space-drag moves the photo.</source>
        <translation>Klicken Sie ins Foto, um einen Bereich seiner Farbe auszuwählen. Umschalt-Klick fügt eine Farbe hinzu, Strg-Klick nimmt eine weg, Strg+Z macht einen Schritt rückgängig. Das Mausrad zoomt, Leertaste-Ziehen verschiebt das Foto.</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <extracomment>How far a colour may differ from the picked one and still belong to the region</extracomment>
        <translation>Toleranz</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Leave without picking</source>
        <translation>Ohne Auswahl verlassen</translation>
    </message>
    <message>
        <source>Apply the picked regions to the painting</source>
        <translation>Die ausgewählten Bereiche auf die Bemalung anwenden</translation>
    </message>
    <message>
        <source>The arrow keys move a cross (Shift for fine steps); Return selects the region of its colour, Shift+Return adds a colour, Ctrl+Return takes one away; Ctrl+Z undoes a step.</source>
        <translation>Die Pfeiltasten bewegen ein Kreuz (mit Umschalt feiner), die Eingabetaste wählt den Bereich seiner Farbe; mit Umschalt fügt sie eine Farbe hinzu, mit Strg nimmt sie eine weg. Strg+Z macht einen Schritt rückgängig.</translation>
    </message>
</context>
<context>
    <name>pimavo::SaveFlow</name>
    <message>
        <source>Another picture is still being saved.</source>
        <translation>Ein anderes Bild wird noch gespeichert.</translation>
    </message>
    <message>
        <source>Saving “%1”…</source>
        <translation>„%1“ wird gespeichert …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>pimavo::SavePanel</name>
    <message>
        <source>and</source>
        <extracomment>Joins the last two items of a list: &quot;camera details, XMP metadata and colour profile&quot;</extracomment>
        <translation>und</translation>
    </message>
    <message>
        <source>camera details (EXIF)</source>
        <translation>Kameradaten (EXIF)</translation>
    </message>
    <message>
        <source>captions and keywords (IPTC)</source>
        <translation>Bildunterschriften und Stichwörter (IPTC)</translation>
    </message>
    <message>
        <source>XMP metadata</source>
        <translation>XMP-Metadaten</translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation>Farbprofil</translation>
    </message>
    <message>
        <source>%1 cannot hold this photo’s %2: the saved picture goes without.</source>
        <translation>%1 kann diese Angaben des Fotos nicht aufnehmen: %2. Sie fehlen im gespeicherten Bild.</translation>
    </message>
    <message>
        <source>%1 holds %2 bits per channel: this photo’s %3 are reduced to them.</source>
        <translation>%1 speichert %2 Bit pro Kanal: Die %3 Bit dieses Fotos werden darauf reduziert.</translation>
    </message>
    <message>
        <source>This type has no transparency: the picture&apos;s transparent parts are saved white. PNG, TIFF and WebP keep them.</source>
        <translation>Dieser Dateityp kennt keine Transparenz: Die transparenten Teile des Bildes werden weiß gespeichert. PNG, TIFF und WebP erhalten sie.</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <source>Pimavo Project</source>
        <translation>Pimavo-Projekt</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <source>Compression:</source>
        <translation>Komprimierung:</translation>
    </message>
    <message>
        <source>ZIP (smaller)</source>
        <translation>ZIP (kleiner)</translation>
    </message>
    <message>
        <source>LZW</source>
        <translation>LZW</translation>
    </message>
    <message>
        <source>PackBits</source>
        <translation>PackBits</translation>
    </message>
    <message>
        <source>None (largest)</source>
        <translation>Keine (am größten)</translation>
    </message>
</context>
<context>
    <name>pimavo::ScannerDevice</name>
    <message>
        <source>The scanner “%1” could not be opened (%2).</source>
        <translation>Der Scanner „%1“ konnte nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>SANE could not be started.</source>
        <translation>SANE konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The scan stopped: %1.</source>
        <translation>Der Scan wurde abgebrochen: %1.</translation>
    </message>
    <message>
        <source>The scanner sent no picture.</source>
        <translation>Der Scanner hat kein Bild gesendet.</translation>
    </message>
</context>
<context>
    <name>pimavo::StartScreen</name>
    <message>
        <source>Open a photo to begin</source>
        <translation>Öffnen Sie ein Foto, um zu beginnen</translation>
    </message>
    <message>
        <source>Choose a photo, or drop one on this window. Its background turns grey, and you paint its colour back where you want it.</source>
        <translation>Wählen Sie ein Foto aus oder ziehen Sie es in dieses Fenster. Sein Hintergrund wird grau, und Sie malen die Farbe dort zurück, wo Sie sie haben möchten.</translation>
    </message>
    <message>
        <source>Open Photo…</source>
        <translation>Foto öffnen …</translation>
    </message>
    <message>
        <source>Drop a photo here</source>
        <translation>Foto hierher ziehen</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importieren …</translation>
    </message>
</context>
<context>
    <name>pimavo::SwatchCell</name>
    <message>
        <source>Colour %1</source>
        <extracomment>A colour swatch read by a screen reader; %1 is the colour as #RRGGBB.</extracomment>
        <translation>Farbe %1</translation>
    </message>
</context>
<context>
    <name>pimavo::ToolPanel</name>
    <message>
        <source>Size</source>
        <extracomment>The brush&apos;s size</extracomment>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Softness</source>
        <extracomment>How soft the brush&apos;s edge is</extracomment>
        <translation>Weichheit</translation>
    </message>
    <message>
        <source>Opacity</source>
        <extracomment>How opaque the brush paints</extracomment>
        <translation>Deckkraft</translation>
    </message>
    <message>
        <source>Exposure</source>
        <extracomment>A photo adjustment, as in photography</extracomment>
        <translation>Belichtung</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Blur</source>
        <extracomment>A photo adjustment: how blurred the picture is</extracomment>
        <translation>Unschärfe</translation>
    </message>
    <message>
        <source>Vignette</source>
        <extracomment>A photo adjustment: darkened corners</extracomment>
        <translation>Vignette</translation>
    </message>
    <message>
        <source>Paint the photo’s colour back (X switches with Erase)</source>
        <translation>Die Farbe des Fotos zurückmalen (X wechselt zum Radieren)</translation>
    </message>
    <message>
        <source>Erase colour back to the background (X switches with Paint)</source>
        <translation>Farbe wegradieren, bis der Hintergrund wieder erscheint (X wechselt zum Malen)</translation>
    </message>
    <message>
        <source>Paint with a solid colour</source>
        <translation>Mit einer Volltonfarbe malen</translation>
    </message>
    <message>
        <source>Move the picture (or hold Space)</source>
        <translation>Das Bild verschieben (oder Leertaste gedrückt halten)</translation>
    </message>
    <message>
        <source>Select a region of similar colour</source>
        <translation>Einen Bereich ähnlicher Farbe auswählen</translation>
    </message>
    <message>
        <source>Brush preset</source>
        <translation>Pinselvorgabe</translation>
    </message>
    <message>
        <source>Erasing brings the background back.</source>
        <translation>Radieren bringt den Hintergrund zurück.</translation>
    </message>
    <message>
        <source>Choose a colour</source>
        <translation>Eine Farbe auswählen</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Recent colours</source>
        <translation>Letzte Farben</translation>
    </message>
    <message>
        <source>Invert the mask</source>
        <translation>Maske umkehren</translation>
    </message>
    <message>
        <source>Clear the mask</source>
        <translation>Maske leeren</translation>
    </message>
    <message>
        <source>Show the mask (\)</source>
        <translation>Maske anzeigen (\)</translation>
    </message>
    <message>
        <source>The brush as it paints</source>
        <translation>So malt der Pinsel</translation>
    </message>
    <message>
        <source>Colour</source>
        <extracomment>A tab of the tool panel: the adjustments of the photo&apos;s coloured part</extracomment>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>A tab of the tool panel: the treatment, look and adjustments of the photo&apos;s background</extracomment>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Set exposure, brightness, saturation, contrast, hue, blur and vignette back to where they started</source>
        <translation>Belichtung, Helligkeit, Sättigung, Kontrast, Farbton, Unschärfe und Vignette auf die Ausgangswerte zurücksetzen</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation>Gealtert</translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation>Silberblau</translation>
    </message>
    <message>
        <source>Look</source>
        <extracomment>The heading over the background&apos;s looks (None, Soft, Dreamy, Hard Light)</extracomment>
        <translation>Stil</translation>
    </message>
    <message>
        <source>None</source>
        <extracomment>No look on the background</extracomment>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Soft</source>
        <extracomment>A look: a softened, glowing background</extracomment>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Dreamy</source>
        <extracomment>A look: a hazy, dream-like background</extracomment>
        <translation>Verträumt</translation>
    </message>
    <message>
        <source>Hard Light</source>
        <extracomment>A look: a hard, contrasty light, as the blend mode of that name</extracomment>
        <translation>Hartes Licht</translation>
    </message>
    <message>
        <source>Set the background&apos;s brightness, contrast, saturation and blur back to where they started; the tone and the look stay</source>
        <translation>Helligkeit, Kontrast, Sättigung und Unschärfe des Hintergrunds auf die Ausgangswerte zurücksetzen; Tönung und Stil bleiben erhalten</translation>
    </message>
    <message>
        <source>Paint</source>
        <extracomment>A tool: painting the photo&apos;s own colour back</extracomment>
        <translation>Malen</translation>
    </message>
    <message>
        <source>Erase</source>
        <extracomment>A tool: erasing painted colour</extracomment>
        <translation>Radieren</translation>
    </message>
    <message>
        <source>Solid colour</source>
        <extracomment>A tool: painting with one chosen colour</extracomment>
        <translation>Volltonfarbe</translation>
    </message>
    <message>
        <source>Move</source>
        <extracomment>A tool: moving the picture around</extracomment>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Colour region picker</source>
        <extracomment>A tool: picking regions of similar colour</extracomment>
        <translation>Farbbereichsauswahl</translation>
    </message>
    <message>
        <source>Brush preset %1</source>
        <extracomment>%1 is the preset&apos;s number, 1 to 12</extracomment>
        <translation>Pinselvorgabe %1</translation>
    </message>
    <message>
        <source>Size %1, softness %2 %, opacity %3 %</source>
        <extracomment>A brush preset as a screen reader describes it: %1 its size, %2 and %3 per cent</extracomment>
        <translation>Größe %1, Weichheit %2 %, Deckkraft %3 %</translation>
    </message>
</context>
<context>
    <name>pimavo::UndoStep</name>
    <message>
        <source>Apply Drawing</source>
        <translation>Bemalung anwenden</translation>
    </message>
    <message>
        <source>Revert to Original</source>
        <translation>Auf Original zurücksetzen</translation>
    </message>
    <message>
        <source>Clear Mask</source>
        <translation>Maske leeren</translation>
    </message>
    <message>
        <source>Invert Mask</source>
        <translation>Maske umkehren</translation>
    </message>
    <message>
        <source>Pick Colours</source>
        <translation>Farben auswählen</translation>
    </message>
    <message>
        <source>Erase</source>
        <translation>Radieren</translation>
    </message>
    <message>
        <source>Colour</source>
        <extracomment>A stroke painted with a solid colour</extracomment>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Paint</source>
        <translation>Malen</translation>
    </message>
    <message>
        <source>Pick Colour</source>
        <translation>Farbe auswählen</translation>
    </message>
    <message>
        <source>Add Colour</source>
        <translation>Farbe hinzufügen</translation>
    </message>
    <message>
        <source>Take Away Colour</source>
        <translation>Farbe wegnehmen</translation>
    </message>
    <message>
        <source>Tolerance Change</source>
        <translation>Toleranz ändern</translation>
    </message>
    <message>
        <source>Adjustments</source>
        <translation>Anpassungen</translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation>Tönung</translation>
    </message>
    <message>
        <source>Look</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Belichtung</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Unschärfe</translation>
    </message>
    <message>
        <source>Vignette</source>
        <translation>Vignette</translation>
    </message>
    <message>
        <source>Background Brightness</source>
        <translation>Hintergrundhelligkeit</translation>
    </message>
    <message>
        <source>Background Contrast</source>
        <translation>Hintergrundkontrast</translation>
    </message>
    <message>
        <source>Background Saturation</source>
        <translation>Hintergrundsättigung</translation>
    </message>
    <message>
        <source>Background Blur</source>
        <translation>Hintergrundunschärfe</translation>
    </message>
</context>
<context>
    <name>pimavo::WelcomeWindow</name>
    <message>
        <source>Welcome to Pimavo</source>
        <translation>Willkommen bei Pimavo</translation>
    </message>
    <message>
        <source>&lt;p&gt;Open a photo: it appears with a grey background.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Paint&lt;/b&gt; over what should keep its colour. &lt;b&gt;Erase&lt;/b&gt; (X) takes colour away again; &lt;b&gt;[&lt;/b&gt; and &lt;b&gt;]&lt;/b&gt; change the brush size; hold &lt;b&gt;Space&lt;/b&gt; to move the picture.&lt;/p&gt;&lt;p&gt;Choose a background treatment — grayscale, sepia, aged or silver blue — and adjust the colour and the background separately. &lt;b&gt;Compare&lt;/b&gt; (Ctrl B) shows before and after side by side.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Öffnen Sie ein Foto: Es erscheint mit grauem Hintergrund.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Malen&lt;/b&gt; Sie über alles, was seine Farbe behalten soll. &lt;b&gt;Radieren&lt;/b&gt; (X) nimmt die Farbe wieder weg; &lt;b&gt;[&lt;/b&gt; und &lt;b&gt;]&lt;/b&gt; ändern die Pinselgröße; halten Sie die &lt;b&gt;Leertaste&lt;/b&gt; gedrückt, um das Bild zu verschieben.&lt;/p&gt;&lt;p&gt;Wählen Sie eine Tönung für den Hintergrund – Graustufen, Sepia, Gealtert oder Silberblau – und passen Sie Farbe und Hintergrund getrennt an. &lt;b&gt;Vergleichen&lt;/b&gt; (Strg B) zeigt Vorher und Nachher nebeneinander.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation>Dieses Fenster beim Start von Pimavo anzeigen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Loslegen</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowAutosave</name>
    <message>
        <source>Recover Unsaved Work</source>
        <translation>Ungesicherte Arbeit wiederherstellen</translation>
    </message>
    <message>
        <source>Pimavo closed before these pictures were saved. Restore one to go on where you left off; the others wait until the next start.</source>
        <translation>Pimavo wurde beendet, bevor diese Bilder gespeichert waren. Stellen Sie eines wieder her, um dort weiterzumachen, wo Sie aufgehört haben; die anderen warten bis zum nächsten Start.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Last changed %1</source>
        <translation>Zuletzt geändert: %1</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
    <message>
        <source>Delete the unsaved work on “%1”? It cannot be brought back.</source>
        <translation>Die ungesicherte Arbeit an „%1“ löschen? Sie kann nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>The unsaved work could not be restored.</source>
        <translation>Die ungesicherte Arbeit konnte nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>%1 (recovered)</source>
        <translation>%1 (wiederhergestellt)</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowBackdrop</name>
    <message>
        <source>Dark Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Dunkelgrau</translation>
    </message>
    <message>
        <source>Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Medium Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Mittelgrau</translation>
    </message>
    <message>
        <source>Light Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Hellgrau</translation>
    </message>
    <message>
        <source>Window background</source>
        <extracomment>The name of the menu of window backgrounds, as a screen reader says it</extracomment>
        <translation>Fensterhintergrund</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowHelp</name>
    <message>
        <source>&amp;Help</source>
        <extracomment>A menu of the menu bar</extracomment>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Pimavo &amp;Help</source>
        <translation>Pimavo-&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation>&amp;Videoanleitungen</translation>
    </message>
    <message>
        <source>Show &amp;Welcome Screen</source>
        <translation>&amp;Willkommensbildschirm anzeigen</translation>
    </message>
    <message>
        <source>&amp;Support</source>
        <translation>&amp;Support</translation>
    </message>
    <message>
        <source>&amp;Leave a Review</source>
        <translation>&amp;Bewertung schreiben</translation>
    </message>
    <message>
        <source>Pimavo &amp;Website</source>
        <translation>&amp;Pimavo-Website</translation>
    </message>
    <message>
        <source>&amp;More from Pimavo</source>
        <translation>&amp;Mehr von Pimavo</translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation>&amp;Danksagungen</translation>
    </message>
    <message>
        <source>&amp;About Pimavo</source>
        <translation>&amp;Über Pimavo</translation>
    </message>
    <message>
        <source>The page could not be opened.</source>
        <translation>Die Seite konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowImport</name>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>Cannot open this image.</source>
        <translation>Dieses Bild kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowOpening</name>
    <message>
        <source>Photos (%1)</source>
        <extracomment>The Open panel&apos;s filter: %1 are the file name patterns</extracomment>
        <translation>Fotos (%1)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation>&amp;Öffnen …</translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation>Die Datei ist möglicherweise beschädigt, oder sie ist kein Foto in einem Format, das Pimavo lesen kann.</translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation>Die Datei „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>This photo is larger than %1 megapixels. Pimavo is making a smaller copy of it to paint on; what you save keeps the photo&apos;s full size. This takes a moment.</source>
        <translation>Dieses Foto ist größer als %1 Megapixel. Pimavo erstellt eine kleinere Kopie, auf der Sie malen; beim Speichern behält das Foto seine volle Größe. Das dauert einen Moment.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>the pasted picture</source>
        <translation>das eingefügte Bild</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowReview</name>
    <message>
        <source>Enjoying Pimavo?</source>
        <translation>Gefällt Ihnen Pimavo?</translation>
    </message>
    <message>
        <source>If Pimavo helps you make pictures you like, a short review helps other photographers find it.</source>
        <translation>Wenn Pimavo Ihnen hilft, Bilder zu machen, die Ihnen gefallen, hilft eine kurze Bewertung anderen Fotografinnen und Fotografen, es zu finden.</translation>
    </message>
    <message>
        <source>No, Thanks</source>
        <translation>Nein, danke</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Write a Review</source>
        <translation>Bewertung schreiben</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowSaving</name>
    <message>
        <source>The picture cannot be saved.</source>
        <translation>Das Bild kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1”?</source>
        <translation>Möchten Sie die Änderungen an „%1“ speichern?</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1” before opening “%2”?</source>
        <translation>Möchten Sie die Änderungen an „%1“ speichern, bevor „%2“ geöffnet wird?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Replace the original photo “%1”?</source>
        <translation>Das Originalfoto „%1“ ersetzen?</translation>
    </message>
    <message>
        <source>This photo’s file is incomplete: replacing it writes the grey part it could not read into the file for good, and whatever another program might still recover from it is lost.</source>
        <translation>Die Datei dieses Fotos ist unvollständig: Beim Ersetzen wird der graue Teil, der nicht gelesen werden konnte, endgültig in die Datei geschrieben, und was ein anderes Programm vielleicht noch daraus retten könnte, geht verloren.</translation>
    </message>
    <message>
        <source>Saving writes the edited picture over the original file. The original colours cannot be brought back from the saved file. To keep the original, save the picture under another name with Save As, or save a project, which keeps the photo, the painting and every setting.</source>
        <translation>Beim Speichern wird das bearbeitete Bild über die Originaldatei geschrieben. Die ursprünglichen Farben lassen sich aus der gespeicherten Datei nicht zurückholen. Um das Original zu behalten, speichern Sie das Bild mit „Speichern unter“ unter einem anderen Namen, oder speichern Sie ein Projekt, das das Foto, die Bemalung und alle Einstellungen enthält.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Speichern unter …</translation>
    </message>
    <message>
        <source>Save as Project…</source>
        <translation>Als Projekt speichern …</translation>
    </message>
    <message>
        <source>There is not enough memory to make the picture at the photo&apos;s full size, %1 × %2 pixels (about %3 needed, %4 free).</source>
        <translation>Es ist nicht genug Arbeitsspeicher vorhanden, um das Bild in der vollen Größe des Fotos zu erstellen, %1 × %2 Pixel (etwa %3 benötigt, %4 frei).</translation>
    </message>
    <message>
        <source>Pimavo can make it at %1 × %2 pixels, the size it is painted at, instead. Closing other programs may free enough memory for the full size.</source>
        <translation>Pimavo kann es stattdessen in %1 × %2 Pixeln erstellen, der Größe, in der es bemalt wird. Wenn Sie andere Programme schließen, wird vielleicht genug Speicher für die volle Größe frei.</translation>
    </message>
    <message>
        <source>Use %1 × %2</source>
        <translation>%1 × %2 verwenden</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowSharing</name>
    <message>
        <source>S&amp;hare</source>
        <extracomment>A menu of the menu bar: to share the picture</extracomment>
        <translation>&amp;Teilen</translation>
    </message>
    <message>
        <source>Mail…</source>
        <translation>E-Mail …</translation>
    </message>
    <message>
        <source>%1…</source>
        <extracomment>A command of the Share menu; %1 is a service, such as Flickr</extracomment>
        <translation>%1 …</translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Sie sind nicht mit dem Internet verbunden. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Sharing</source>
        <translation>Teilen</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ApplicationKeys</name>
    <message>
        <source>This copy of Pimavo has no keys for %1. Register the program with the service and set %2 and %3 in the environment or in the Preferences.</source>
        <translation>Diese Pimavo-Kopie hat keine Schlüssel für %1. Registrieren Sie das Programm bei dem Dienst und legen Sie %2 und %3 in der Umgebung oder in den Einstellungen fest.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ExportedImage</name>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Pimavo for %1</source>
        <translation>Pimavo für %1</translation>
    </message>
    <message>
        <source>The picture could not be copied to “%1”: %2.</source>
        <translation>Das Bild konnte nicht nach „%1“ kopiert werden: %2.</translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation>Es gibt kein Bild zum Teilen.</translation>
    </message>
    <message>
        <source>The picture could not be scaled to %1.</source>
        <translation>Das Bild konnte nicht auf %1 skaliert werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FacebookPage</name>
    <message>
        <source>Caption</source>
        <translation>Bildunterschrift</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Mit Pimavo gemacht</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FacebookService</name>
    <message>
        <source>Facebook does not take pictures from other programs: Pimavo saves the picture and opens Facebook in your browser, where you add it to a post.</source>
        <translation>Facebook nimmt keine Bilder von anderen Programmen an: Pimavo speichert das Bild und öffnet Facebook in Ihrem Browser, wo Sie es einem Beitrag hinzufügen.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrPage</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Mit Pimavo gemacht</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrService</name>
    <message>
        <source>Only Me</source>
        <extracomment>Who can see the photo</extracomment>
        <translation>Nur ich</translation>
    </message>
    <message>
        <source>Me &amp; Friends</source>
        <translation>Ich und Freunde</translation>
    </message>
    <message>
        <source>Me &amp; Family</source>
        <translation>Ich und Familie</translation>
    </message>
    <message>
        <source>Anyone</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Signing in to Flickr failed. Please try again.</source>
        <translation>Die Anmeldung bei Flickr ist fehlgeschlagen. Bitte versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailHandOff</name>
    <message>
        <source>The picture “%1” to attach cannot be read.</source>
        <translation>Das anzuhängende Bild „%1“ kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation>Kein E-Mail-Programm gefunden. Installieren Sie ein E-Mail-Programm, oder hängen Sie das Bild selbst an.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailPage</name>
    <message>
        <source>A picture made with Pimavo</source>
        <translation>Ein mit Pimavo gemachtes Bild</translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation>Kein E-Mail-Programm gefunden. Installieren Sie ein E-Mail-Programm, oder hängen Sie das Bild selbst an.</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>The picture is kept at %1 for you to attach.</source>
        <translation>Das Bild liegt unter %1 für Sie zum Anhängen bereit.</translation>
    </message>
    <message>
        <source>The picture is attached to a new message in your mail application, at the size chosen below.</source>
        <translation>Das Bild wird in der unten gewählten Größe an eine neue Nachricht in Ihrem E-Mail-Programm angehängt.</translation>
    </message>
    <message>
        <source>New Message with Picture</source>
        <translation>Neue Nachricht mit Bild</translation>
    </message>
    <message>
        <source>Share with Mail</source>
        <translation>Per E-Mail teilen</translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation>Das Bild konnte nicht zum Teilen vorbereitet werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonPage</name>
    <message>
        <source>Post</source>
        <extracomment>The text of the post (the noun)</extracomment>
        <translation>Beitrag</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Mit Pimavo gemacht</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonService</name>
    <message>
        <source>Public</source>
        <extracomment>Who can see the post</extracomment>
        <translation>Öffentlich</translation>
    </message>
    <message>
        <source>Unlisted</source>
        <translation>Nicht gelistet</translation>
    </message>
    <message>
        <source>Followers only</source>
        <translation>Nur Follower</translation>
    </message>
    <message>
        <source>Mentioned people only</source>
        <translation>Nur erwähnte Personen</translation>
    </message>
    <message>
        <source>Enter the address of your server first, such as https://mastodon.social. Only secure (https) addresses are accepted.</source>
        <translation>Geben Sie zuerst die Adresse Ihres Servers ein, zum Beispiel https://mastodon.social. Nur sichere Adressen (https) werden akzeptiert.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost, and the post is not on your account. Trying again will not post it twice.</source>
        <translation>Die Verbindung zu %1 wurde unterbrochen, und der Beitrag ist nicht in Ihrem Konto. Ein erneuter Versuch veröffentlicht ihn nicht doppelt.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ServicePage</name>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Sie sind nicht mit dem Internet verbunden. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Your server, e.g. mastodon.social</source>
        <translation>Ihr Server, z. B. mastodon.social</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>The picture, for people who cannot see it</source>
        <translation>Das Bild, beschrieben für Menschen, die es nicht sehen können</translation>
    </message>
    <message>
        <source>Alt text</source>
        <translation>Alternativtext</translation>
    </message>
    <message>
        <source>Separated by commas</source>
        <translation>Durch Kommas getrennt</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>Visible to</source>
        <translation>Sichtbar für</translation>
    </message>
    <message>
        <source>Share to %1</source>
        <translation>Auf %1 teilen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>%1 is not available in this build of Pimavo.</source>
        <translation>%1 ist in dieser Pimavo-Version nicht verfügbar.</translation>
    </message>
    <message>
        <source>Checking the sign-in…</source>
        <translation>Anmeldung wird geprüft …</translation>
    </message>
    <message>
        <source>Post the picture on %1 from its own page.</source>
        <translation>Veröffentlichen Sie das Bild über die Seite von %1.</translation>
    </message>
    <message>
        <source>You are not signed in to %1.</source>
        <translation>Sie sind nicht bei %1 angemeldet.</translation>
    </message>
    <message>
        <source>Sign in on the page your web browser shows, then come back here.</source>
        <translation>Melden Sie sich auf der Seite an, die Ihr Webbrowser anzeigt, und kehren Sie dann hierher zurück.</translation>
    </message>
    <message>
        <source>You are signed in</source>
        <translation>Sie sind angemeldet</translation>
    </message>
    <message>
        <source>You are signed in as %1</source>
        <translation>Sie sind als %1 angemeldet</translation>
    </message>
    <message>
        <source>The sign-in could not be kept in a keyring: you stay signed in until Pimavo quits.</source>
        <translation>Die Anmeldung konnte nicht in einem Schlüsselbund gespeichert werden: Sie bleiben angemeldet, bis Pimavo beendet wird.</translation>
    </message>
    <message>
        <source>Waiting…</source>
        <translation>Warten …</translation>
    </message>
    <message>
        <source>Sign In…</source>
        <translation>Anmelden …</translation>
    </message>
    <message>
        <source>Enter the address of the server your account is on.</source>
        <translation>Geben Sie die Adresse des Servers ein, auf dem Ihr Konto liegt.</translation>
    </message>
    <message>
        <source>That is not the address of a server.</source>
        <translation>Das ist nicht die Adresse eines Servers.</translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation>Das Bild konnte nicht zum Teilen vorbereitet werden.</translation>
    </message>
    <message>
        <source>It is kept at %1 for you to post from the service’s page.</source>
        <translation>Es liegt unter %1 bereit, damit Sie es über die Seite des Dienstes veröffentlichen können.</translation>
    </message>
    <message>
        <source>No web browser could be opened: open %1 yourself and post the picture from there.</source>
        <translation>Es konnte kein Webbrowser geöffnet werden: Öffnen Sie %1 selbst und veröffentlichen Sie das Bild von dort.</translation>
    </message>
    <message>
        <source>The picture is ready for %1.</source>
        <translation>Das Bild ist bereit für %1.</translation>
    </message>
    <message>
        <source>The picture was posted.</source>
        <translation>Das Bild wurde veröffentlicht.</translation>
    </message>
    <message>
        <source>The picture was not posted to %1.</source>
        <translation>Das Bild wurde nicht auf %1 veröffentlicht.</translation>
    </message>
    <message>
        <source>Server address</source>
        <extracomment>The field of the user&apos;s server, as a screen reader names it</extracomment>
        <translation>Serveradresse</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareDialog</name>
    <message>
        <source>Mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Choose where the picture goes.</source>
        <translation>Wählen Sie aus, wohin das Bild gehen soll.</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>The size, in pixels, of the picture to share</extracomment>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Include where the photo was taken</source>
        <translation>Aufnahmeort mitsenden</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Sie sind nicht mit dem Internet verbunden. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation>Es gibt kein Bild zum Teilen.</translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation>Wird hochgeladen …</translation>
    </message>
    <message>
        <source>Uploading to %1…</source>
        <translation>Wird auf %1 hochgeladen …</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer…</source>
        <translation>Warten auf Antwort von %1 …</translation>
    </message>
    <message>
        <source>Stop posting to %1?</source>
        <translation>Veröffentlichen auf %1 abbrechen?</translation>
    </message>
    <message>
        <source>The picture is still on its way. If you stop now, it may not be posted.</source>
        <translation>Das Bild ist noch unterwegs. Wenn Sie jetzt abbrechen, wird es möglicherweise nicht veröffentlicht.</translation>
    </message>
    <message>
        <source>Stop Posting</source>
        <translation>Veröffentlichen abbrechen</translation>
    </message>
    <message>
        <source>Keep Posting</source>
        <translation>Weiter veröffentlichen</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareError</name>
    <message>
        <source>%1 cannot be used from this copy of Pimavo.</source>
        <translation>%1 kann mit dieser Pimavo-Kopie nicht verwendet werden.</translation>
    </message>
    <message>
        <source>Sign in to %1 first.</source>
        <translation>Melden Sie sich zuerst bei %1 an.</translation>
    </message>
    <message>
        <source>Signing in to %1 did not complete. Please try again.</source>
        <translation>Die Anmeldung bei %1 wurde nicht abgeschlossen. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 no longer accepts your sign-in. Please sign in again.</source>
        <translation>%1 akzeptiert Ihre Anmeldung nicht mehr. Bitte melden Sie sich erneut an.</translation>
    </message>
    <message>
        <source>%1 refused the request. Your account may not be allowed to post this.</source>
        <translation>%1 hat die Anfrage abgelehnt. Ihr Konto darf dies möglicherweise nicht veröffentlichen.</translation>
    </message>
    <message>
        <source>The picture is too large for %1. Choose a smaller size and try again.</source>
        <translation>Das Bild ist zu groß für %1. Wählen Sie eine kleinere Größe und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 is receiving too many requests from you. Please wait a while and try again.</source>
        <translation>%1 erhält zu viele Anfragen von Ihnen. Bitte warten Sie eine Weile und versuchen Sie es dann erneut.</translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n seconds.</source>
        <translation>
            <numerusform>%1 erhält zu viele Anfragen von Ihnen. Bitte versuchen Sie es in %n Sekunde erneut.</numerusform>
            <numerusform>%1 erhält zu viele Anfragen von Ihnen. Bitte versuchen Sie es in %n Sekunden erneut.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has a problem of its own right now. Please try again later.</source>
        <translation>%1 hat gerade selbst ein Problem. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost before the picture was posted. Please try again.</source>
        <translation>Die Verbindung zu %1 wurde unterbrochen, bevor das Bild veröffentlicht war. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 gave an answer Pimavo does not understand. The picture may not have been posted.</source>
        <translation>%1 hat eine Antwort gegeben, die Pimavo nicht versteht. Das Bild wurde möglicherweise nicht veröffentlicht.</translation>
    </message>
    <message>
        <source>%1 did not accept the request.</source>
        <translation>%1 hat die Anfrage nicht angenommen.</translation>
    </message>
    <message>
        <source>It said: “%1”.</source>
        <translation>Die Antwort lautete: „%1“.</translation>
    </message>
    <message>
        <source>%1 did not answer in time, and the picture may have been posted. Look at your account before posting it again.</source>
        <translation>%1 hat nicht rechtzeitig geantwortet, und das Bild wurde möglicherweise veröffentlicht. Sehen Sie in Ihrem Konto nach, bevor Sie es erneut veröffentlichen.</translation>
    </message>
    <message>
        <source>Posting to %1 was cancelled.</source>
        <translation>Das Veröffentlichen auf %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1 cannot be reached. Check your internet connection and try again.</source>
        <translation>%1 ist nicht erreichbar. Prüfen Sie Ihre Internetverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n minutes.</source>
        <translation>
            <numerusform>%1 erhält zu viele Anfragen von Ihnen. Bitte versuchen Sie es in %n Minute erneut.</numerusform>
            <numerusform>%1 erhält zu viele Anfragen von Ihnen. Bitte versuchen Sie es in %n Minuten erneut.</numerusform>
        </translation>
    </message>
    <message>
        <source>(The server answered %1.)</source>
        <translation>(Der Server antwortete mit %1.)</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharePage</name>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharedPicture</name>
    <message>
        <source>The picture could not be reduced to %1 pixels.</source>
        <translation>Das Bild konnte nicht auf %1 Pixel verkleinert werden.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharingPane</name>
    <message>
        <source>Mail</source>
        <extracomment>Sharing by e-mail</extracomment>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message>
        <source>Share</source>
        <extracomment>The name of the list of ways to share the picture, as a screen reader says it</extracomment>
        <translation>Teilen</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::TumblrPage</name>
    <message>
        <source>Caption</source>
        <translation>Bildunterschrift</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Mit Pimavo gemacht</translation>
    </message>
    <message>
        <source>Blog</source>
        <translation>Blog</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::TumblrService</name>
    <message>
        <source>Everyone</source>
        <extracomment>Who can see the post</extracomment>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Only Me (private post)</source>
        <translation>Nur ich (privater Beitrag)</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::UploadProgressPanel</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
