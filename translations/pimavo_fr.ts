<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Failure</name>
    <message>
        <source>CAPITAL_AFTER_COLON</source>
        <extracomment>Translate as &quot;yes&quot; where a whole sentence after a colon begins with a capital letter (as in German), and as &quot;no&quot; where it does not (as in English and French).</extracomment>
        <translation>no</translation>
    </message>
    <message>
        <source>the picture could not be made</source>
        <translation>l’image n’a pas pu être produite</translation>
    </message>
    <message>
        <source>unknown treatment</source>
        <translation>traitement inconnu</translation>
    </message>
    <message>
        <source>unknown look</source>
        <translation>style inconnu</translation>
    </message>
    <message>
        <source>the painting could not be rendered</source>
        <translation>la peinture n’a pas pu être calculée</translation>
    </message>
    <message>
        <source>the thumbnail could not be rendered</source>
        <translation>la vignette n’a pas pu être calculée</translation>
    </message>
    <message>
        <source>the picture ends early</source>
        <translation>l’image s’arrête trop tôt</translation>
    </message>
    <message>
        <source>unexpected layout</source>
        <translation>disposition inattendue</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>la mémoire est épuisée</translation>
    </message>
    <message>
        <source>it is not a 16-bit picture of the working size</source>
        <translation>ce n’est pas une image 16 bits à la taille de travail</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>la mémoire disponible ne suffit pas</translation>
    </message>
    <message>
        <source>there is no picture</source>
        <translation>il n’y a pas d’image</translation>
    </message>
    <message>
        <source>the picture has no working size</source>
        <translation>l’image n’a pas de taille de travail</translation>
    </message>
    <message>
        <source>no temporary file could be made</source>
        <translation>aucun fichier temporaire n’a pu être créé</translation>
    </message>
    <message>
        <source>the picture could not be read back</source>
        <translation>l’image n’a pas pu être relue</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>c’est un dossier</translation>
    </message>
    <message>
        <source>it is too large to be a Pimavo project</source>
        <translation>il est trop volumineux pour être un projet Pimavo</translation>
    </message>
    <message>
        <source>it is not a Pimavo project</source>
        <translation>ce n’est pas un projet Pimavo</translation>
    </message>
    <message>
        <source>its description is damaged</source>
        <translation>sa description est endommagée</translation>
    </message>
    <message>
        <source>its description is damaged (no format version)</source>
        <translation>sa description est endommagée (pas de version de format)</translation>
    </message>
    <message>
        <source>its description is damaged (working size)</source>
        <translation>sa description est endommagée (taille de travail)</translation>
    </message>
    <message>
        <source>its picture is damaged</source>
        <translation>son image est endommagée</translation>
    </message>
    <message>
        <source>it holds no photo</source>
        <translation>il ne contient aucune photo</translation>
    </message>
    <message>
        <source>its photo is damaged</source>
        <translation>sa photo est endommagée</translation>
    </message>
    <message>
        <source>the project would be larger than 4 GB</source>
        <translation>le projet dépasserait 4 Go</translation>
    </message>
    <message>
        <source>it is not a project file (too short)</source>
        <translation>ce n’est pas un fichier de projet (trop court)</translation>
    </message>
    <message>
        <source>it is not a project file (no archive directory)</source>
        <translation>ce n’est pas un fichier de projet (pas de répertoire d’archive)</translation>
    </message>
    <message>
        <source>its archive directory is damaged</source>
        <translation>son répertoire d’archive est endommagé</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>le dossier n’existe pas</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>un dossier du même nom est déjà là</translation>
    </message>
    <message>
        <source>the file could not be written to disk</source>
        <translation>le fichier n’a pas pu être écrit sur le disque</translation>
    </message>
    <message>
        <source>a metadata segment is too large</source>
        <translation>un segment de métadonnées est trop volumineux</translation>
    </message>
    <message>
        <source>the file is not a JPEG</source>
        <translation>le fichier n’est pas un JPEG</translation>
    </message>
    <message>
        <source>the file cannot be written</source>
        <translation>le fichier ne peut pas être écrit</translation>
    </message>
    <message>
        <source>the file is not a PNG</source>
        <translation>le fichier n’est pas un PNG</translation>
    </message>
    <message>
        <source>the PNG is damaged</source>
        <translation>le PNG est endommagé</translation>
    </message>
    <message>
        <source>the file or the EXIF block is not TIFF-structured</source>
        <translation>le fichier ou le bloc EXIF n’a pas la structure TIFF</translation>
    </message>
    <message>
        <source>the byte orders differ</source>
        <translation>les ordres des octets diffèrent</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>le fichier est trop volumineux</translation>
    </message>
    <message>
        <source>a directory does not lie in its file</source>
        <translation>un répertoire se trouve hors de son fichier</translation>
    </message>
    <message>
        <source>the file has sub-directories</source>
        <translation>le fichier a des sous-répertoires</translation>
    </message>
    <message>
        <source>an entry of an unknown type</source>
        <translation>une entrée est d’un type inconnu</translation>
    </message>
    <message>
        <source>an entry&apos;s value does not lie in its file</source>
        <translation>la valeur d’une entrée se trouve hors de son fichier</translation>
    </message>
    <message>
        <source>pixel offsets in shorts</source>
        <translation>les positions des pixels sont sur 16 bits</translation>
    </message>
    <message>
        <source>“%1” could not be opened: %2.</source>
        <translation>« %1 » n’a pas pu être ouvert : %2.</translation>
    </message>
    <message>
        <source>“%1” could not be saved: %2.</source>
        <translation>« %1 » n’a pas pu être enregistré : %2.</translation>
    </message>
    <message>
        <source>“%1” cannot be opened: %2.</source>
        <translation>« %1 » ne peut pas être ouvert : %2.</translation>
    </message>
    <message>
        <source>“%1” is incomplete: the part of the picture that could not be read is shown grey.</source>
        <translation>« %1 » est incomplet : la partie de l’image qui n’a pas pu être lue est affichée en gris.</translation>
    </message>
    <message>
        <source>“%1” is damaged: the part of the picture that could not be read is shown grey.</source>
        <translation>« %1 » est endommagé : la partie de l’image qui n’a pas pu être lue est affichée en gris.</translation>
    </message>
    <message>
        <source>“%1” is incomplete: the picture is shown with the detail that could be read.</source>
        <translation>« %1 » est incomplet : l’image est affichée avec les détails qui ont pu être lus.</translation>
    </message>
    <message>
        <source>“%1” is damaged: the picture is shown with the detail that could be read.</source>
        <translation>« %1 » est endommagé : l’image est affichée avec les détails qui ont pu être lus.</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>le fichier est endommagé (%1)</translation>
    </message>
    <message>
        <source>it is not a photo in a format Pimavo reads without its codec module (%1)</source>
        <translation>ce n’est pas une photo dans un format que Pimavo lit sans son module de codecs (%1)</translation>
    </message>
    <message>
        <source>it has %1 channels</source>
        <translation>l’image a %1 canaux</translation>
    </message>
    <message>
        <source>it is %1 × %2 pixels, more than the %3 megapixels Pimavo opens</source>
        <translation>l’image fait %1 × %2 pixels, plus que les %3 mégapixels que Pimavo ouvre</translation>
    </message>
    <message>
        <source>the decoder failed (%1)</source>
        <translation>le décodeur a échoué (%1)</translation>
    </message>
    <message>
        <source>the folder cannot be written to (%1)</source>
        <translation>le dossier n’est pas accessible en écriture (%1)</translation>
    </message>
    <message>
        <source>the file could not be replaced (%1)</source>
        <translation>le fichier n’a pas pu être remplacé (%1)</translation>
    </message>
    <message>
        <source>the metadata could not be written (%1)</source>
        <translation>les métadonnées n’ont pas pu être écrites (%1)</translation>
    </message>
    <message>
        <source>Pimavo cannot write the type %1</source>
        <translation>Pimavo ne sait pas écrire le type %1</translation>
    </message>
    <message>
        <source>the codec module %1 is missing</source>
        <translation>le module de codecs %1 est absent</translation>
    </message>
    <message>
        <source>the painting could not be compressed (%1)</source>
        <translation>la peinture n’a pas pu être compressée (%1)</translation>
    </message>
    <message>
        <source>the thumbnail could not be compressed (%1)</source>
        <translation>la vignette n’a pas pu être compressée (%1)</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>il ne peut pas être lu (%1)</translation>
    </message>
    <message>
        <source>it was saved by a newer version of Pimavo (project format %1; this version reads format %2). Open it with a newer Pimavo</source>
        <translation>il a été enregistré par une version plus récente de Pimavo (format de projet %1 ; cette version lit le format %2). Ouvrez-le avec un Pimavo plus récent</translation>
    </message>
    <message>
        <source>its description is damaged (%1)</source>
        <translation>sa description est endommagée (%1)</translation>
    </message>
    <message>
        <source>its “%1” is damaged (%2)</source>
        <translation>son élément « %1 » est endommagé (%2)</translation>
    </message>
    <message>
        <source>it has no “%1”</source>
        <translation>il n’a pas d’élément « %1 »</translation>
    </message>
    <message>
        <source>its “%1” is damaged</source>
        <translation>son élément « %1 » est endommagé</translation>
    </message>
    <message>
        <source>its “%1” is too large</source>
        <translation>son élément « %1 » est trop volumineux</translation>
    </message>
    <message>
        <source>its “%1” is packed in a way Pimavo cannot read</source>
        <translation>son élément « %1 » est compressé d’une manière que Pimavo ne sait pas lire</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>le fichier ne peut pas être lu</translation>
    </message>
    <message>
        <source>the HEIF file is malformed</source>
        <translation>le fichier HEIF est mal formé</translation>
    </message>
    <message>
        <source>the file is no HEIF file</source>
        <translation>le fichier n’est pas un fichier HEIF</translation>
    </message>
    <message>
        <source>the HEIF file has no metadata box</source>
        <translation>le fichier HEIF n’a pas de boîte de métadonnées</translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation>le fichier ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>the HEIF file has bytes after its last box</source>
        <translation>le fichier HEIF a des octets après sa dernière boîte</translation>
    </message>
    <message>
        <source>the HEIF file has no place for EXIF</source>
        <translation>le fichier HEIF n’a pas de place pour l’EXIF</translation>
    </message>
    <message>
        <source>the HEIF file keeps its EXIF in a way Pimavo cannot change</source>
        <translation>le fichier HEIF conserve son EXIF d’une manière que Pimavo ne peut pas modifier</translation>
    </message>
    <message>
        <source>the HEIF file has no room to say where its EXIF is</source>
        <translation>le fichier HEIF n’a pas la place d’indiquer où se trouve son EXIF</translation>
    </message>
    <message>
        <source>the file is damaged</source>
        <translation>le fichier est endommagé</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n’existe pas</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
    <message>
        <source>it is not a photo in a format Pimavo reads</source>
        <translation>ce n’est pas une photo dans un format que Pimavo sait lire</translation>
    </message>
    <message>
        <source>its size is not that of a picture</source>
        <translation>sa taille n’est pas celle d’une image</translation>
    </message>
    <message>
        <source>there is not enough memory to open it</source>
        <translation>la mémoire disponible ne suffit pas pour l’ouvrir</translation>
    </message>
    <message>
        <source>it cannot be decoded at a reduced size</source>
        <translation>l’image ne peut pas être décodée en taille réduite</translation>
    </message>
    <message>
        <source>the file is incomplete, and none of its picture can be read</source>
        <translation>le fichier est incomplet et aucune partie de son image ne peut être lue</translation>
    </message>
    <message>
        <source>the picture could not be read whole</source>
        <translation>l’image n’a pas pu être lue en entier</translation>
    </message>
    <message>
        <source>there is not enough memory to prepare the picture</source>
        <translation>la mémoire disponible ne suffit pas pour préparer l’image</translation>
    </message>
    <message>
        <source>the save was cancelled</source>
        <translation>l’enregistrement a été annulé</translation>
    </message>
    <message>
        <source>the metadata could not be written (simulated failure)</source>
        <translation>les métadonnées n’ont pas pu être écrites (échec simulé)</translation>
    </message>
    <message>
        <source>rows asked for out of order</source>
        <translation>des lignes ont été demandées dans le désordre</translation>
    </message>
    <message>
        <source>the picture data ends early</source>
        <translation>les données de l’image s’arrêtent trop tôt</translation>
    </message>
    <message>
        <source>none of its picture data could be read</source>
        <translation>aucune de ses données d’image n’a pu être lue</translation>
    </message>
    <message>
        <source>this type cannot be written</source>
        <translation>ce type ne peut pas être écrit</translation>
    </message>
    <message>
        <source>the codec module has no entry point</source>
        <translation>le module de codecs n’a pas de point d’entrée</translation>
    </message>
    <message>
        <source>the picture is too wide for PNG</source>
        <translation>l’image est trop large pour le PNG</translation>
    </message>
    <message>
        <source>the picture could not be compressed</source>
        <translation>l’image n’a pas pu être compressée</translation>
    </message>
    <message>
        <source>the file could not be created</source>
        <translation>le fichier n’a pas pu être créé</translation>
    </message>
    <message>
        <source>the pixels could not be written</source>
        <translation>les pixels n’ont pas pu être écrits</translation>
    </message>
    <message>
        <source>the file could not be completed</source>
        <translation>le fichier n’a pas pu être terminé</translation>
    </message>
    <message>
        <source>the pixels could not be compressed</source>
        <translation>les pixels n’ont pas pu être compressés</translation>
    </message>
</context>
<context>
    <name>pimavo::AboutWindow</name>
    <message>
        <source>&amp;About Pimavo</source>
        <translation>À &amp;propos de Pimavo</translation>
    </message>
    <message>
        <source>Selective-colour photographs: paint a photo’s colour back over a treated background.</source>
        <translation>Photographies en couleur sélective : rendez sa couleur à une photo en la peignant par-dessus un arrière-plan traité.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Logiciel libre distribué sous la licence publique générale GNU (GPL), version 3 ou ultérieure.</translation>
    </message>
</context>
<context>
    <name>pimavo::AcknowledgementsWindow</name>
    <message>
        <source>The list of libraries was not installed with this copy of Pimavo.</source>
        <translation>La liste des bibliothèques n’a pas été installée avec cet exemplaire de Pimavo.</translation>
    </message>
    <message>
        <source>Pimavo is built on these libraries, with thanks to their authors:</source>
        <translation>Pimavo repose sur les bibliothèques suivantes, avec nos remerciements à leurs auteurs :</translation>
    </message>
    <message>
        <source>Pictures that come with Pimavo:</source>
        <translation>Images fournies avec Pimavo :</translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation>Re&amp;merciements</translation>
    </message>
</context>
<context>
    <name>pimavo::CameraDevice</name>
    <message>
        <source>No driver for the camera “%1”.</source>
        <translation>Aucun pilote pour l’appareil photo « %1 ».</translation>
    </message>
    <message>
        <source>The camera&apos;s port “%1” is not there.</source>
        <translation>Le port « %1 » de l’appareil photo est introuvable.</translation>
    </message>
    <message>
        <source>The camera “%1” did not answer (%2).</source>
        <translation>L’appareil photo « %1 » n’a pas répondu (%2).</translation>
    </message>
    <message>
        <source>The camera&apos;s folder “%1” could not be read (%2).</source>
        <translation>Le dossier « %1 » de l’appareil photo n’a pas pu être lu (%2).</translation>
    </message>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation>Le dossier « %1 » n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera is no longer there (%2). The photos already imported are kept.</source>
        <translation>Le transfert s’est interrompu à « %1 » : l’appareil photo n’est plus connecté (%2). Les photos déjà importées sont conservées.</translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera did not answer (%2). The photos already imported are kept.</source>
        <translation>Le transfert s’est interrompu à « %1 » : l’appareil photo n’a pas répondu (%2). Les photos déjà importées sont conservées.</translation>
    </message>
    <message>
        <source>“%1” could not be written in “%2”: %3.</source>
        <translation>« %1 » n’a pas pu être écrit dans « %2 » : %3.</translation>
    </message>
</context>
<context>
    <name>pimavo::CanvasView</name>
    <message>
        <source>ReColor undefined</source>
        <translation>Couleur non définie</translation>
    </message>
    <message>
        <source>You must select color for drawing.</source>
        <translation>Choisissez d’abord une couleur pour peindre.</translation>
    </message>
    <message>
        <source>Picture</source>
        <extracomment>The picture being edited, as a screen reader names it</extracomment>
        <translation>Image</translation>
    </message>
</context>
<context>
    <name>pimavo::ColorPanel</name>
    <message>
        <source>Colours</source>
        <translation>Couleurs</translation>
    </message>
</context>
<context>
    <name>pimavo::EditorWindow</name>
    <message>
        <source>Open a photo</source>
        <translation>Ouvrir une photo</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom: type a percentage and press Return</source>
        <translation>Zoom : saisissez un pourcentage et appuyez sur Entrée</translation>
    </message>
    <message>
        <source>Zoom to Fit</source>
        <translation>Ajuster à la fenêtre</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Taille réelle</translation>
    </message>
    <message>
        <source>Compare Before and After</source>
        <translation>Comparer avant et après</translation>
    </message>
    <message>
        <source>Hold to see the original photo</source>
        <translation>Maintenez enfoncé pour voir la photo d’origine</translation>
    </message>
    <message>
        <source>Apply the painting to the photo</source>
        <translation>Appliquer la peinture à la photo</translation>
    </message>
    <message>
        <source>Share the picture</source>
        <translation>Partager l’image</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>E&amp;xport To</source>
        <translation>E&amp;xporter vers</translation>
    </message>
    <message>
        <source>Open With…</source>
        <translation>Ouvrir avec…</translation>
    </message>
    <message>
        <source>another application</source>
        <translation>une autre application</translation>
    </message>
    <message>
        <source>%1 is not installed.</source>
        <translation>%1 n’est pas installé.</translation>
    </message>
    <message>
        <source>Install it from your distribution’s software centre, or choose Export To ▸ Open With… to use another application.</source>
        <translation>Installez-le depuis la logithèque de votre distribution, ou choisissez Exporter vers ▸ Ouvrir avec… pour utiliser une autre application.</translation>
    </message>
    <message>
        <source>%1 needs to save the picture before it can open it in %2.</source>
        <translation>%1 doit enregistrer l’image avant de pouvoir l’ouvrir dans %2.</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <extracomment>%1 is the step it takes back, such as &quot;Invert Mask&quot;</extracomment>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler « %1 »</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <extracomment>%1 is the step it makes again, such as &quot;Invert Mask&quot;</extracomment>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir « %1 »</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Photos &amp;récentes</translation>
    </message>
    <message>
        <source>No recent photos</source>
        <translation>Aucune photo récente</translation>
    </message>
    <message>
        <source>Browse Photos…</source>
        <translation>Parcourir les photos…</translation>
    </message>
    <message>
        <source>Import from Camera or Scanner…</source>
        <translation>Importer depuis un appareil photo ou un scanner…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Enregistrer &amp;sous…</translation>
    </message>
    <message>
        <source>Save as &amp;Project…</source>
        <translation>Enregistrer comme pro&amp;jet…</translation>
    </message>
    <message>
        <source>&amp;Revert to Original…</source>
        <translation>Re&amp;venir à l’original…</translation>
    </message>
    <message>
        <source>Page Set&amp;up…</source>
        <translation>Mise en pa&amp;ge…</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Imprimer…</translation>
    </message>
    <message>
        <source>Print on &amp;Canvas…</source>
        <translation>Imprimer sur &amp;toile…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <extracomment>A menu of the menu bar</extracomment>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Co&amp;ller</translation>
    </message>
    <message>
        <source>Invert Mask</source>
        <translation>Inverser le masque</translation>
    </message>
    <message>
        <source>Clear Mask</source>
        <translation>Effacer le masque</translation>
    </message>
    <message>
        <source>Show &amp;Mask</source>
        <translation>Afficher le &amp;masque</translation>
    </message>
    <message>
        <source>Mask C&amp;olour</source>
        <translation>Co&amp;uleur du masque</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The colours the mask can be shown in</extracomment>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanc</translation>
    </message>
    <message>
        <source>&amp;Apply Drawing</source>
        <translation>Appliquer la &amp;peinture</translation>
    </message>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation>Pré&amp;férences…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Background</source>
        <extracomment>The View menu&apos;s list of greys around the picture</extracomment>
        <translation>&amp;Fond de la fenêtre</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Plein écran</translation>
    </message>
    <message>
        <source>This step can no longer be undone: the picture it kept in the cache folder is gone.</source>
        <translation>Cette étape ne peut plus être annulée : l’image qu’elle conservait dans le dossier de cache a disparu.</translation>
    </message>
    <message>
        <source>Revert to the original photo?</source>
        <translation>Revenir à la photo d’origine ?</translation>
    </message>
    <message>
        <source>Your painting and adjustments are set aside; Undo brings them back.</source>
        <translation>Votre peinture et vos réglages sont mis de côté ; Annuler les rétablit.</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Revenir à l’original</translation>
    </message>
    <message>
        <source>Part of this photo could not be read.</source>
        <translation>Une partie de cette photo n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation>Le fichier est peut-être endommagé, ou il ne s’agit pas d’une photo dans un format que Pimavo sait lire.</translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation>Le fichier « %1 » n’a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>The project cannot be saved.</source>
        <translation>Le projet ne peut pas être enregistré.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>The picture could not be printed.</source>
        <translation>L’image n’a pas pu être imprimée.</translation>
    </message>
    <message>
        <source>Zoom level</source>
        <extracomment>The zoom field&apos;s name to screen readers</extracomment>
        <translation>Niveau de zoom</translation>
    </message>
</context>
<context>
    <name>pimavo::ExportController</name>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>%1 (Pimavo)</source>
        <extracomment>The name of a copy handed to another application; %1 is the photo&apos;s name</extracomment>
        <translation>%1 (Pimavo)</translation>
    </message>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation>Le dossier « %1 » n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to.</source>
        <translation>Impossible d’écrire dans le dossier « %1 ».</translation>
    </message>
    <message>
        <source>The copy could not be kept in “%1”: %2.</source>
        <translation>La copie n’a pas pu être enregistrée dans « %1 » : %2.</translation>
    </message>
    <message>
        <source>The folder “%1” has no free name left for the copy.</source>
        <translation>Le dossier « %1 » n’a plus de nom libre pour la copie.</translation>
    </message>
    <message>
        <source>“%1” cannot be started.</source>
        <translation>« %1 » ne peut pas être lancé.</translation>
    </message>
    <message>
        <source>“%1” could not be started.</source>
        <translation>« %1 » n’a pas pu être lancé.</translation>
    </message>
    <message>
        <source>No application could be asked to open the picture.</source>
        <translation>Aucune application n’a pu être sollicitée pour ouvrir l’image.</translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoLibrary</name>
    <message>
        <source>the help server answered HTTP %1</source>
        <translation>le serveur d’aide a répondu HTTP %1</translation>
    </message>
    <message>
        <source>%1 — check your internet connection and try again</source>
        <translation>%1 — vérifiez votre connexion à Internet et réessayez</translation>
    </message>
    <message>
        <source>the file is not there</source>
        <translation>le fichier est introuvable</translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoWindow</name>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation>&amp;Tutoriels vidéo</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Loading the list of videos…</source>
        <translation>Chargement de la liste des vidéos…</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>The list of help videos cannot be loaded: %1.</source>
        <translation>La liste des vidéos d’aide ne peut pas être chargée : %1.</translation>
    </message>
    <message>
        <source>Loading “%1”…</source>
        <translation>Chargement de « %1 »…</translation>
    </message>
    <message>
        <source>“%1” cannot be loaded: %2.</source>
        <translation>Impossible de charger « %1 » : %2.</translation>
    </message>
    <message>
        <source>“%1” cannot be played: %2.</source>
        <translation>Impossible de lire « %1 » : %2.</translation>
    </message>
    <message>
        <source>The help videos cannot be reached: %1. This is the list from your last visit; the videos you watched before still play.</source>
        <translation>Les vidéos d’aide sont inaccessibles : %1. Voici la liste de votre dernière visite ; les vidéos déjà regardées restent lisibles.</translation>
    </message>
    <message>
        <source>There are no help videos yet.</source>
        <translation>Il n’y a pas encore de vidéos d’aide.</translation>
    </message>
    <message>
        <source>Choose a video on the left.</source>
        <translation>Choisissez une vidéo à gauche.</translation>
    </message>
    <message>
        <source>There is no help video called “%1”.</source>
        <translation>Aucune vidéo d’aide ne s’appelle « %1 ».</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Help videos</source>
        <extracomment>The list of help videos, as a screen reader names it</extracomment>
        <translation>Vidéos d’aide</translation>
    </message>
    <message>
        <source>Playback position</source>
        <extracomment>The slider of where the video is, as a screen reader names it</extracomment>
        <translation>Position de lecture</translation>
    </message>
</context>
<context>
    <name>pimavo::ImportDialog</name>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation>Le dossier « %1 » n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>Scan %1</source>
        <extracomment>A scanned picture&apos;s file name; %1 is when it was scanned</extracomment>
        <translation>Numérisation %1</translation>
    </message>
    <message>
        <source>The scan could not be written to “%1”.</source>
        <translation>La numérisation n’a pas pu être écrite dans « %1 ».</translation>
    </message>
    <message>
        <source>Import from Camera or Scanner</source>
        <translation>Importer depuis un appareil photo ou un scanner</translation>
    </message>
    <message>
        <source>Import All</source>
        <translation>Tout importer</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Appareil photo</translation>
    </message>
    <message>
        <source>Overview</source>
        <extracomment>A button: scan the whole glass quickly, to see what lies on it</extracomment>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Scan</source>
        <extracomment>A button: scan the picture</extracomment>
        <translation>Numériser</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>Résolution :</translation>
    </message>
    <message>
        <source>Mode:</source>
        <extracomment>The scanner&apos;s colour mode: colour, grey, black and white</extracomment>
        <translation>Mode :</translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Looking for cameras…</source>
        <translation>Recherche d’appareils photo…</translation>
    </message>
    <message>
        <source>Choose a camera or a scanner on the left.</source>
        <translation>Choisissez un appareil photo ou un scanner à gauche.</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Appareils photo</translation>
    </message>
    <message>
        <source>none attached</source>
        <translation>aucun branché</translation>
    </message>
    <message>
        <source>Scanners</source>
        <translation>Scanners</translation>
    </message>
    <message>
        <source>Reading the camera…</source>
        <translation>Lecture de l’appareil photo…</translation>
    </message>
    <message numerus="yes">
        <source>%n photos on the camera. They are imported into the Pictures folder.</source>
        <translation>
            <numerusform>%n photo sur l’appareil photo. Elle sera importée dans le dossier Images.</numerusform>
            <numerusform>%n photos sur l’appareil photo. Elles seront importées dans le dossier Images.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Importing %n photos…</source>
        <translation>
            <numerusform>Importation de %n photo…</numerusform>
            <numerusform>Importation de %n photos…</numerusform>
        </translation>
    </message>
    <message>
        <source>The import stopped.</source>
        <translation>L’importation s’est interrompue.</translation>
    </message>
    <message numerus="yes">
        <source>%n photos imported.</source>
        <translation>
            <numerusform>%n photo importée.</numerusform>
            <numerusform>%n photos importées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Asking the scanner what it can do…</source>
        <translation>Interrogation du scanner sur ses capacités…</translation>
    </message>
    <message>
        <source>%1 dpi</source>
        <extracomment>A scanning resolution, in dots per inch</extracomment>
        <translation>%1 ppp</translation>
    </message>
    <message>
        <source>Scan an overview to see what lies on the glass.</source>
        <translation>Numérisez un aperçu pour voir ce qui est posé sur la vitre.</translation>
    </message>
    <message>
        <source>Place the original on the glass, then choose Overview or Scan.</source>
        <translation>Posez l’original sur la vitre, puis choisissez Aperçu ou Numériser.</translation>
    </message>
    <message>
        <source>Scanning an overview…</source>
        <translation>Numérisation d’un aperçu…</translation>
    </message>
    <message>
        <source>Scanning…</source>
        <translation>Numérisation…</translation>
    </message>
    <message>
        <source>The scan was cancelled.</source>
        <translation>La numérisation a été annulée.</translation>
    </message>
    <message>
        <source>Devices</source>
        <extracomment>The list of cameras and scanners, as a screen reader names it</extracomment>
        <translation>Appareils</translation>
    </message>
    <message>
        <source>Photos on the camera</source>
        <extracomment>The photos on the chosen camera, as a screen reader names their list</extracomment>
        <translation>Photos de l’appareil photo</translation>
    </message>
</context>
<context>
    <name>pimavo::MediaBrowserPanel</name>
    <message>
        <source>Photos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>Looking for photos…</source>
        <translation>Recherche de photos…</translation>
    </message>
    <message>
        <source>No photos in the Pictures folder or the photo libraries.</source>
        <translation>Aucune photo dans le dossier Images ni dans les photothèques.</translation>
    </message>
    <message numerus="yes">
        <source>%n photos, newest first. Double-click one to open it.</source>
        <translation>
            <numerusform>%n photo, la plus récente en premier. Double-cliquez dessus pour l’ouvrir.</numerusform>
            <numerusform>%n photos, les plus récentes en premier. Double-cliquez sur l’une d’elles pour l’ouvrir.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::OverlayDialog</name>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>pimavo::PreferencesWindow</name>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation>Pré&amp;férences…</translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation>Afficher cette fenêtre au démarrage de Pimavo</translation>
    </message>
    <message>
        <source>Window background:</source>
        <translation>Fond de la fenêtre :</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Niveaux de gris</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sépia</translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation>Vieilli</translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation>Bleu argenté</translation>
    </message>
    <message>
        <source>New photos start in:</source>
        <translation>Les nouvelles photos s’ouvrent en :</translation>
    </message>
    <message>
        <source>Save pictures without a file as:</source>
        <translation>Enregistrer les images sans fichier au format :</translation>
    </message>
    <message>
        <source>JPEG and WebP quality:</source>
        <translation>Qualité JPEG et WebP :</translation>
    </message>
    <message>
        <source>Help videos list:</source>
        <translation>Liste des vidéos d’aide :</translation>
    </message>
    <message numerus="yes">
        <source>Undo keeps the last %n steps (up to %1).</source>
        <translation>
            <numerusform>L’historique d’annulation conserve %n étape (%1 au maximum).</numerusform>
            <numerusform>L’historique d’annulation conserve les %n dernières étapes (%1 au maximum).</numerusform>
        </translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Flickr key:</source>
        <translation>Clé Flickr :</translation>
    </message>
    <message>
        <source>Flickr secret:</source>
        <translation>Secret Flickr :</translation>
    </message>
    <message>
        <source>Tumblr key:</source>
        <translation>Clé Tumblr :</translation>
    </message>
    <message>
        <source>Tumblr secret:</source>
        <translation>Secret Tumblr :</translation>
    </message>
</context>
<context>
    <name>pimavo::RegionPicker</name>
    <message>
        <source>Pick a Colour Region</source>
        <translation>Sélectionner une zone de couleur</translation>
    </message>
    <message>
        <source>Click the photo to select a region of its colour. Shift-click adds a colour, Ctrl-click takes one away; Ctrl+Z undoes a step. The mouse wheel zooms, Space-drag moves the photo.</source>
        <translation>Cliquez sur la photo pour sélectionner une zone de sa couleur. Maj-clic ajoute une couleur, Ctrl-clic en retire une ; Ctrl+Z annule une étape. La molette zoome, Espace et glisser déplacent la photo.</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <extracomment>How far a colour may differ from the picked one and still belong to the region</extracomment>
        <translation>Tolérance</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Leave without picking</source>
        <translation>Quitter sans sélectionner</translation>
    </message>
    <message>
        <source>Apply the picked regions to the painting</source>
        <translation>Appliquer les zones sélectionnées à la peinture</translation>
    </message>
    <message>
        <source>The arrow keys move a cross (Shift for fine steps); Return selects the region of its colour, Shift+Return adds a colour, Ctrl+Return takes one away; Ctrl+Z undoes a step.</source>
        <translation>Les flèches déplacent une croix (Maj pour des pas fins) ; Entrée sélectionne la zone de sa couleur, Maj+Entrée ajoute une couleur, Ctrl+Entrée en retire une ; Ctrl+Z annule une étape.</translation>
    </message>
</context>
<context>
    <name>pimavo::SaveFlow</name>
    <message>
        <source>Another picture is still being saved.</source>
        <translation>Une autre image est encore en cours d’enregistrement.</translation>
    </message>
    <message>
        <source>Saving “%1”…</source>
        <translation>Enregistrement de « %1 »…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>pimavo::SavePanel</name>
    <message>
        <source>and</source>
        <extracomment>Joins the last two items of a list: &quot;camera details, XMP metadata and colour profile&quot;</extracomment>
        <translation>et</translation>
    </message>
    <message>
        <source>camera details (EXIF)</source>
        <translation>données de l’appareil photo (EXIF)</translation>
    </message>
    <message>
        <source>captions and keywords (IPTC)</source>
        <translation>légendes et mots-clés (IPTC)</translation>
    </message>
    <message>
        <source>XMP metadata</source>
        <translation>métadonnées XMP</translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation>profil de couleur</translation>
    </message>
    <message>
        <source>%1 cannot hold this photo’s %2: the saved picture goes without.</source>
        <translation>Le format %1 ne peut pas contenir ces éléments de la photo : %2. L’image enregistrée en sera dépourvue.</translation>
    </message>
    <message>
        <source>%1 holds %2 bits per channel: this photo’s %3 are reduced to them.</source>
        <translation>Le format %1 enregistre %2 bits par canal : les %3 bits par canal de cette photo y sont ramenés.</translation>
    </message>
    <message>
        <source>This type has no transparency: the picture&apos;s transparent parts are saved white. PNG, TIFF and WebP keep them.</source>
        <translation>Ce format ne gère pas la transparence : les parties transparentes de l’image sont enregistrées en blanc. PNG, TIFF et WebP les conservent.</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Enregistrer &amp;sous…</translation>
    </message>
    <message>
        <source>Pimavo Project</source>
        <translation>Projet Pimavo</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualité :</translation>
    </message>
    <message>
        <source>Compression:</source>
        <translation>Compression :</translation>
    </message>
    <message>
        <source>ZIP (smaller)</source>
        <translation>ZIP (plus compact)</translation>
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
        <translation>Aucune (plus volumineux)</translation>
    </message>
</context>
<context>
    <name>pimavo::ScannerDevice</name>
    <message>
        <source>The scanner “%1” could not be opened (%2).</source>
        <translation>Le scanner « %1 » n’a pas pu être ouvert (%2).</translation>
    </message>
    <message>
        <source>SANE could not be started.</source>
        <translation>SANE n’a pas pu être démarré.</translation>
    </message>
    <message>
        <source>The scan stopped: %1.</source>
        <translation>La numérisation s’est interrompue : %1.</translation>
    </message>
    <message>
        <source>The scanner sent no picture.</source>
        <translation>Le scanner n’a envoyé aucune image.</translation>
    </message>
</context>
<context>
    <name>pimavo::StartScreen</name>
    <message>
        <source>Open a photo to begin</source>
        <translation>Ouvrez une photo pour commencer</translation>
    </message>
    <message>
        <source>Choose a photo, or drop one on this window. Its background turns grey, and you paint its colour back where you want it.</source>
        <translation>Choisissez une photo ou déposez-en une dans cette fenêtre. Son arrière-plan passe en gris, et vous lui rendez sa couleur au pinceau là où vous le souhaitez.</translation>
    </message>
    <message>
        <source>Open Photo…</source>
        <translation>Ouvrir une photo…</translation>
    </message>
    <message>
        <source>Drop a photo here</source>
        <translation>Déposez une photo ici</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Photos récentes</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importer…</translation>
    </message>
</context>
<context>
    <name>pimavo::SwatchCell</name>
    <message>
        <source>Colour %1</source>
        <extracomment>A colour swatch read by a screen reader; %1 is the colour as #RRGGBB.</extracomment>
        <translation>Couleur %1</translation>
    </message>
</context>
<context>
    <name>pimavo::ToolPanel</name>
    <message>
        <source>Size</source>
        <extracomment>The brush&apos;s size</extracomment>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Softness</source>
        <extracomment>How soft the brush&apos;s edge is</extracomment>
        <translation>Douceur</translation>
    </message>
    <message>
        <source>Opacity</source>
        <extracomment>How opaque the brush paints</extracomment>
        <translation>Opacité</translation>
    </message>
    <message>
        <source>Exposure</source>
        <extracomment>A photo adjustment, as in photography</extracomment>
        <translation>Exposition</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Teinte</translation>
    </message>
    <message>
        <source>Blur</source>
        <extracomment>A photo adjustment: how blurred the picture is</extracomment>
        <translation>Flou</translation>
    </message>
    <message>
        <source>Vignette</source>
        <extracomment>A photo adjustment: darkened corners</extracomment>
        <translation>Vignettage</translation>
    </message>
    <message>
        <source>Paint the photo’s colour back (X switches with Erase)</source>
        <translation>Repeindre la couleur de la photo (X alterne avec la gomme)</translation>
    </message>
    <message>
        <source>Erase colour back to the background (X switches with Paint)</source>
        <translation>Gommer la couleur pour revenir à l’arrière-plan (X alterne avec le pinceau)</translation>
    </message>
    <message>
        <source>Paint with a solid colour</source>
        <translation>Peindre avec une couleur unie</translation>
    </message>
    <message>
        <source>Move the picture (or hold Space)</source>
        <translation>Déplacer l’image (ou maintenir Espace)</translation>
    </message>
    <message>
        <source>Select a region of similar colour</source>
        <translation>Sélectionner une zone de couleur semblable</translation>
    </message>
    <message>
        <source>Brush preset</source>
        <translation>Pinceau prédéfini</translation>
    </message>
    <message>
        <source>Erasing brings the background back.</source>
        <translation>La gomme fait réapparaître l’arrière-plan.</translation>
    </message>
    <message>
        <source>Choose a colour</source>
        <translation>Choisir une couleur</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensité</translation>
    </message>
    <message>
        <source>Recent colours</source>
        <translation>Couleurs récentes</translation>
    </message>
    <message>
        <source>Invert the mask</source>
        <translation>Inverser le masque</translation>
    </message>
    <message>
        <source>Clear the mask</source>
        <translation>Effacer le masque</translation>
    </message>
    <message>
        <source>Show the mask (\)</source>
        <translation>Afficher le masque (\)</translation>
    </message>
    <message>
        <source>The brush as it paints</source>
        <translation>Aperçu du trait du pinceau</translation>
    </message>
    <message>
        <source>Colour</source>
        <extracomment>A tab of the tool panel: the adjustments of the photo&apos;s coloured part</extracomment>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>A tab of the tool panel: the treatment, look and adjustments of the photo&apos;s background</extracomment>
        <translation>Arrière-plan</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Set exposure, brightness, saturation, contrast, hue, blur and vignette back to where they started</source>
        <translation>Rétablir l’exposition, la luminosité, la saturation, le contraste, la teinte, le flou et le vignettage à leurs valeurs initiales</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Niveaux de gris</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sépia</translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation>Vieilli</translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation>Bleu argenté</translation>
    </message>
    <message>
        <source>Look</source>
        <extracomment>The heading over the background&apos;s looks (None, Soft, Dreamy, Hard Light)</extracomment>
        <translation>Style</translation>
    </message>
    <message>
        <source>None</source>
        <extracomment>No look on the background</extracomment>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>Soft</source>
        <extracomment>A look: a softened, glowing background</extracomment>
        <translation>Doux</translation>
    </message>
    <message>
        <source>Dreamy</source>
        <extracomment>A look: a hazy, dream-like background</extracomment>
        <translation>Rêveur</translation>
    </message>
    <message>
        <source>Hard Light</source>
        <extracomment>A look: a hard, contrasty light, as the blend mode of that name</extracomment>
        <translation>Lumière crue</translation>
    </message>
    <message>
        <source>Set the background&apos;s brightness, contrast, saturation and blur back to where they started; the tone and the look stay</source>
        <translation>Rétablir la luminosité, le contraste, la saturation et le flou de l’arrière-plan à leurs valeurs initiales ; le traitement et le style sont conservés</translation>
    </message>
    <message>
        <source>Paint</source>
        <extracomment>A tool: painting the photo&apos;s own colour back</extracomment>
        <translation>Peindre</translation>
    </message>
    <message>
        <source>Erase</source>
        <extracomment>A tool: erasing painted colour</extracomment>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Solid colour</source>
        <extracomment>A tool: painting with one chosen colour</extracomment>
        <translation>Couleur unie</translation>
    </message>
    <message>
        <source>Move</source>
        <extracomment>A tool: moving the picture around</extracomment>
        <translation>Déplacer</translation>
    </message>
    <message>
        <source>Colour region picker</source>
        <extracomment>A tool: picking regions of similar colour</extracomment>
        <translation>Sélecteur de zones de couleur</translation>
    </message>
    <message>
        <source>Brush preset %1</source>
        <extracomment>%1 is the preset&apos;s number, 1 to 12</extracomment>
        <translation>Pinceau prédéfini %1</translation>
    </message>
    <message>
        <source>Size %1, softness %2 %, opacity %3 %</source>
        <extracomment>A brush preset as a screen reader describes it: %1 its size, %2 and %3 per cent</extracomment>
        <translation>Taille %1, douceur %2 %, opacité %3 %</translation>
    </message>
</context>
<context>
    <name>pimavo::UndoStep</name>
    <message>
        <source>Apply Drawing</source>
        <translation>Application de la peinture</translation>
    </message>
    <message>
        <source>Revert to Original</source>
        <translation>Retour à l’original</translation>
    </message>
    <message>
        <source>Clear Mask</source>
        <translation>Effacement du masque</translation>
    </message>
    <message>
        <source>Invert Mask</source>
        <translation>Inversion du masque</translation>
    </message>
    <message>
        <source>Pick Colours</source>
        <translation>Sélection de couleurs</translation>
    </message>
    <message>
        <source>Erase</source>
        <translation>Gommage</translation>
    </message>
    <message>
        <source>Colour</source>
        <extracomment>A stroke painted with a solid colour</extracomment>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Paint</source>
        <translation>Peinture</translation>
    </message>
    <message>
        <source>Pick Colour</source>
        <translation>Sélection d’une couleur</translation>
    </message>
    <message>
        <source>Add Colour</source>
        <translation>Ajout d’une couleur</translation>
    </message>
    <message>
        <source>Take Away Colour</source>
        <translation>Retrait d’une couleur</translation>
    </message>
    <message>
        <source>Tolerance Change</source>
        <translation>Modification de la tolérance</translation>
    </message>
    <message>
        <source>Adjustments</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation>Traitement</translation>
    </message>
    <message>
        <source>Look</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Exposition</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Teinte</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Flou</translation>
    </message>
    <message>
        <source>Vignette</source>
        <translation>Vignettage</translation>
    </message>
    <message>
        <source>Background Brightness</source>
        <translation>Luminosité de l’arrière-plan</translation>
    </message>
    <message>
        <source>Background Contrast</source>
        <translation>Contraste de l’arrière-plan</translation>
    </message>
    <message>
        <source>Background Saturation</source>
        <translation>Saturation de l’arrière-plan</translation>
    </message>
    <message>
        <source>Background Blur</source>
        <translation>Flou de l’arrière-plan</translation>
    </message>
</context>
<context>
    <name>pimavo::WelcomeWindow</name>
    <message>
        <source>Welcome to Pimavo</source>
        <translation>Bienvenue dans Pimavo</translation>
    </message>
    <message>
        <source>&lt;p&gt;Open a photo: it appears with a grey background.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Paint&lt;/b&gt; over what should keep its colour. &lt;b&gt;Erase&lt;/b&gt; (X) takes colour away again; &lt;b&gt;[&lt;/b&gt; and &lt;b&gt;]&lt;/b&gt; change the brush size; hold &lt;b&gt;Space&lt;/b&gt; to move the picture.&lt;/p&gt;&lt;p&gt;Choose a background treatment — grayscale, sepia, aged or silver blue — and adjust the colour and the background separately. &lt;b&gt;Compare&lt;/b&gt; (Ctrl B) shows before and after side by side.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Ouvrez une photo : elle s’affiche avec un arrière-plan gris.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Peignez&lt;/b&gt; ce qui doit garder sa couleur. La &lt;b&gt;gomme&lt;/b&gt; (X) retire à nouveau la couleur ; &lt;b&gt;[&lt;/b&gt; et &lt;b&gt;]&lt;/b&gt; changent la taille du pinceau ; maintenez &lt;b&gt;Espace&lt;/b&gt; enfoncé pour déplacer l’image.&lt;/p&gt;&lt;p&gt;Choisissez un traitement d’arrière-plan — niveaux de gris, sépia, vieilli ou bleu argenté — et réglez séparément la couleur et l’arrière-plan. &lt;b&gt;Comparer&lt;/b&gt; (Ctrl B) affiche l’avant et l’après côte à côte.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation>Afficher cette fenêtre au démarrage de Pimavo</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Commencer</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowAutosave</name>
    <message>
        <source>Recover Unsaved Work</source>
        <translation>Récupérer le travail non enregistré</translation>
    </message>
    <message>
        <source>Pimavo closed before these pictures were saved. Restore one to go on where you left off; the others wait until the next start.</source>
        <translation>Pimavo s’est fermé avant l’enregistrement de ces images. Restaurez-en une pour reprendre là où vous en étiez ; les autres attendront le prochain démarrage.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Last changed %1</source>
        <translation>Dernière modification : %1</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Pas maintenant</translation>
    </message>
    <message>
        <source>Delete the unsaved work on “%1”? It cannot be brought back.</source>
        <translation>Supprimer le travail non enregistré sur « %1 » ? Il ne pourra pas être récupéré.</translation>
    </message>
    <message>
        <source>The unsaved work could not be restored.</source>
        <translation>Le travail non enregistré n’a pas pu être restauré.</translation>
    </message>
    <message>
        <source>%1 (recovered)</source>
        <translation>%1 (récupéré)</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowBackdrop</name>
    <message>
        <source>Dark Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Gris foncé</translation>
    </message>
    <message>
        <source>Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Gris</translation>
    </message>
    <message>
        <source>Medium Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Gris moyen</translation>
    </message>
    <message>
        <source>Light Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation>Gris clair</translation>
    </message>
    <message>
        <source>Window background</source>
        <extracomment>The name of the menu of window backgrounds, as a screen reader says it</extracomment>
        <translation>Fond de la fenêtre</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowHelp</name>
    <message>
        <source>&amp;Help</source>
        <extracomment>A menu of the menu bar</extracomment>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>Pimavo &amp;Help</source>
        <translation>&amp;Aide de Pimavo</translation>
    </message>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation>&amp;Tutoriels vidéo</translation>
    </message>
    <message>
        <source>Show &amp;Welcome Screen</source>
        <translation>Afficher l’écran de &amp;bienvenue</translation>
    </message>
    <message>
        <source>&amp;Support</source>
        <translation>As&amp;sistance</translation>
    </message>
    <message>
        <source>&amp;Leave a Review</source>
        <translation>&amp;Donner un avis</translation>
    </message>
    <message>
        <source>Pimavo &amp;Website</source>
        <translation>Site &amp;web de Pimavo</translation>
    </message>
    <message>
        <source>&amp;More from Pimavo</source>
        <translation>Autres prod&amp;uits Pimavo</translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation>Re&amp;merciements</translation>
    </message>
    <message>
        <source>&amp;About Pimavo</source>
        <translation>À &amp;propos de Pimavo</translation>
    </message>
    <message>
        <source>The page could not be opened.</source>
        <translation>La page n’a pas pu être ouverte.</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowImport</name>
    <message>
        <source>Photos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>Cannot open this image.</source>
        <translation>Impossible d’ouvrir cette image.</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowOpening</name>
    <message>
        <source>Photos (%1)</source>
        <extracomment>The Open panel&apos;s filter: %1 are the file name patterns</extracomment>
        <translation>Photos (%1)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation>Le fichier est peut-être endommagé, ou il ne s’agit pas d’une photo dans un format que Pimavo sait lire.</translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation>Le fichier « %1 » n’a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>This photo is larger than %1 megapixels. Pimavo is making a smaller copy of it to paint on; what you save keeps the photo&apos;s full size. This takes a moment.</source>
        <translation>Cette photo dépasse %1 mégapixels. Pimavo en prépare une copie plus petite sur laquelle peindre ; ce que vous enregistrez conserve la pleine taille de la photo. Cela prend un instant.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>the pasted picture</source>
        <translation>l’image collée</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowReview</name>
    <message>
        <source>Enjoying Pimavo?</source>
        <translation>Pimavo vous plaît ?</translation>
    </message>
    <message>
        <source>If Pimavo helps you make pictures you like, a short review helps other photographers find it.</source>
        <translation>Si Pimavo vous aide à créer des images qui vous plaisent, un court avis aidera d’autres photographes à le découvrir.</translation>
    </message>
    <message>
        <source>No, Thanks</source>
        <translation>Non merci</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Write a Review</source>
        <translation>Rédiger un avis</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowSaving</name>
    <message>
        <source>The picture cannot be saved.</source>
        <translation>L’image ne peut pas être enregistrée.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1”?</source>
        <translation>Voulez-vous enregistrer les modifications apportées à « %1 » ?</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1” before opening “%2”?</source>
        <translation>Voulez-vous enregistrer les modifications apportées à « %1 » avant d’ouvrir « %2 » ?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>Vos modifications seront perdues si vous ne les enregistrez pas.</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>Ne pas enregistrer</translation>
    </message>
    <message>
        <source>Replace the original photo “%1”?</source>
        <translation>Remplacer la photo d’origine « %1 » ?</translation>
    </message>
    <message>
        <source>This photo’s file is incomplete: replacing it writes the grey part it could not read into the file for good, and whatever another program might still recover from it is lost.</source>
        <translation>Le fichier de cette photo est incomplet : le remplacer y inscrit définitivement la partie grise qui n’a pas pu être lue, et tout ce qu’un autre programme aurait encore pu en récupérer sera perdu.</translation>
    </message>
    <message>
        <source>Saving writes the edited picture over the original file. The original colours cannot be brought back from the saved file. To keep the original, save the picture under another name with Save As, or save a project, which keeps the photo, the painting and every setting.</source>
        <translation>L’enregistrement écrit l’image modifiée par-dessus le fichier d’origine. Les couleurs d’origine ne pourront pas être récupérées à partir du fichier enregistré. Pour conserver l’original, enregistrez l’image sous un autre nom avec Enregistrer sous, ou enregistrez un projet, qui conserve la photo, la peinture et tous les réglages.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Enregistrer sous…</translation>
    </message>
    <message>
        <source>Save as Project…</source>
        <translation>Enregistrer comme projet…</translation>
    </message>
    <message>
        <source>There is not enough memory to make the picture at the photo&apos;s full size, %1 × %2 pixels (about %3 needed, %4 free).</source>
        <translation>La mémoire est insuffisante pour produire l’image à la pleine taille de la photo, %1 × %2 pixels (environ %3 nécessaires, %4 disponibles).</translation>
    </message>
    <message>
        <source>Pimavo can make it at %1 × %2 pixels, the size it is painted at, instead. Closing other programs may free enough memory for the full size.</source>
        <translation>Pimavo peut plutôt la produire en %1 × %2 pixels, la taille à laquelle elle est peinte. Fermer d’autres programmes peut libérer assez de mémoire pour la pleine taille.</translation>
    </message>
    <message>
        <source>Use %1 × %2</source>
        <translation>Utiliser %1 × %2</translation>
    </message>
</context>
<context>
    <name>pimavo::WindowSharing</name>
    <message>
        <source>S&amp;hare</source>
        <extracomment>A menu of the menu bar: to share the picture</extracomment>
        <translation>&amp;Partager</translation>
    </message>
    <message>
        <source>Mail…</source>
        <translation>Courriel…</translation>
    </message>
    <message>
        <source>%1…</source>
        <extracomment>A command of the Share menu; %1 is a service, such as Flickr</extracomment>
        <translation>%1…</translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Vous n’êtes pas connecté à Internet. Vérifiez votre connexion et réessayez.</translation>
    </message>
    <message>
        <source>Sharing</source>
        <translation>Partage</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ApplicationKeys</name>
    <message>
        <source>This copy of Pimavo has no keys for %1. Register the program with the service and set %2 and %3 in the environment or in the Preferences.</source>
        <translation>Cet exemplaire de Pimavo ne dispose pas de clés pour %1. Enregistrez le programme auprès du service et définissez %2 et %3 dans l’environnement ou dans les Préférences.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ExportedImage</name>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation>Le dossier « %1 » n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>Pimavo for %1</source>
        <translation>Pimavo pour %1</translation>
    </message>
    <message>
        <source>The picture could not be copied to “%1”: %2.</source>
        <translation>L’image n’a pas pu être copiée dans « %1 » : %2.</translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation>Il n’y a aucune image à partager.</translation>
    </message>
    <message>
        <source>The picture could not be scaled to %1.</source>
        <translation>L’image n’a pas pu être redimensionnée à %1.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FacebookPage</name>
    <message>
        <source>Caption</source>
        <translation>Légende</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Réalisé avec Pimavo</translation>
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
        <translation>Facebook n’accepte pas les images venant d’autres programmes : Pimavo enregistre l’image et ouvre Facebook dans votre navigateur, où vous l’ajoutez à une publication.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrPage</name>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Réalisé avec Pimavo</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrService</name>
    <message>
        <source>Only Me</source>
        <extracomment>Who can see the photo</extracomment>
        <translation>Moi uniquement</translation>
    </message>
    <message>
        <source>Me &amp; Friends</source>
        <translation>Moi et mes amis</translation>
    </message>
    <message>
        <source>Me &amp; Family</source>
        <translation>Moi et ma famille</translation>
    </message>
    <message>
        <source>Anyone</source>
        <translation>Tout le monde</translation>
    </message>
    <message>
        <source>Signing in to Flickr failed. Please try again.</source>
        <translation>La connexion à Flickr a échoué. Veuillez réessayer.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailHandOff</name>
    <message>
        <source>The picture “%1” to attach cannot be read.</source>
        <translation>L’image à joindre « %1 » ne peut pas être lue.</translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation>Aucune application de messagerie n’a été trouvée. Installez un logiciel de messagerie, ou joignez l’image vous-même.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailPage</name>
    <message>
        <source>A picture made with Pimavo</source>
        <translation>Une image réalisée avec Pimavo</translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation>Aucune application de messagerie n’a été trouvée. Installez un logiciel de messagerie, ou joignez l’image vous-même.</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>Courriel</translation>
    </message>
    <message>
        <source>The picture is kept at %1 for you to attach.</source>
        <translation>L’image est conservée dans %1 pour que vous puissiez la joindre.</translation>
    </message>
    <message>
        <source>The picture is attached to a new message in your mail application, at the size chosen below.</source>
        <translation>L’image est jointe à un nouveau message dans votre application de messagerie, à la taille choisie ci-dessous.</translation>
    </message>
    <message>
        <source>New Message with Picture</source>
        <translation>Nouveau message avec l’image</translation>
    </message>
    <message>
        <source>Share with Mail</source>
        <translation>Partager par courriel</translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation>L’image n’a pas pu être préparée pour le partage.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonPage</name>
    <message>
        <source>Post</source>
        <extracomment>The text of the post (the noun)</extracomment>
        <translation>Publication</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Réalisé avec Pimavo</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonService</name>
    <message>
        <source>Public</source>
        <extracomment>Who can see the post</extracomment>
        <translation>Public</translation>
    </message>
    <message>
        <source>Unlisted</source>
        <translation>Non répertorié</translation>
    </message>
    <message>
        <source>Followers only</source>
        <translation>Abonnés uniquement</translation>
    </message>
    <message>
        <source>Mentioned people only</source>
        <translation>Personnes mentionnées uniquement</translation>
    </message>
    <message>
        <source>Enter the address of your server first, such as https://mastodon.social. Only secure (https) addresses are accepted.</source>
        <translation>Saisissez d’abord l’adresse de votre serveur, par exemple https://mastodon.social. Seules les adresses sécurisées (https) sont acceptées.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost, and the post is not on your account. Trying again will not post it twice.</source>
        <translation>La connexion à %1 a été perdue et la publication ne figure pas sur votre compte. Réessayer ne la publiera pas deux fois.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ServicePage</name>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Vous n’êtes pas connecté à Internet. Vérifiez votre connexion et réessayez.</translation>
    </message>
    <message>
        <source>Your server, e.g. mastodon.social</source>
        <translation>Votre serveur, par ex. mastodon.social</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>The picture, for people who cannot see it</source>
        <translation>Description de l’image pour les personnes qui ne peuvent pas la voir</translation>
    </message>
    <message>
        <source>Alt text</source>
        <translation>Texte alternatif</translation>
    </message>
    <message>
        <source>Separated by commas</source>
        <translation>Séparées par des virgules</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Étiquettes</translation>
    </message>
    <message>
        <source>Visible to</source>
        <translation>Visible par</translation>
    </message>
    <message>
        <source>Share to %1</source>
        <translation>Partager sur %1</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>%1 is not available in this build of Pimavo.</source>
        <translation>%1 n’est pas disponible dans cette version de Pimavo.</translation>
    </message>
    <message>
        <source>Checking the sign-in…</source>
        <translation>Vérification de la connexion…</translation>
    </message>
    <message>
        <source>Post the picture on %1 from its own page.</source>
        <translation>Publiez l’image sur %1 depuis sa propre page.</translation>
    </message>
    <message>
        <source>You are not signed in to %1.</source>
        <translation>Vous n’êtes pas connecté à %1.</translation>
    </message>
    <message>
        <source>Sign in on the page your web browser shows, then come back here.</source>
        <translation>Connectez-vous sur la page affichée par votre navigateur web, puis revenez ici.</translation>
    </message>
    <message>
        <source>You are signed in</source>
        <translation>Vous êtes connecté</translation>
    </message>
    <message>
        <source>You are signed in as %1</source>
        <translation>Vous êtes connecté en tant que %1</translation>
    </message>
    <message>
        <source>The sign-in could not be kept in a keyring: you stay signed in until Pimavo quits.</source>
        <translation>La connexion n’a pas pu être conservée dans un trousseau de clés : vous restez connecté jusqu’à la fermeture de Pimavo.</translation>
    </message>
    <message>
        <source>Waiting…</source>
        <translation>En attente…</translation>
    </message>
    <message>
        <source>Sign In…</source>
        <translation>Se connecter…</translation>
    </message>
    <message>
        <source>Enter the address of the server your account is on.</source>
        <translation>Saisissez l’adresse du serveur qui héberge votre compte.</translation>
    </message>
    <message>
        <source>That is not the address of a server.</source>
        <translation>Ce n’est pas l’adresse d’un serveur.</translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation>L’image n’a pas pu être préparée pour le partage.</translation>
    </message>
    <message>
        <source>It is kept at %1 for you to post from the service’s page.</source>
        <translation>Elle est conservée dans %1 pour que vous puissiez la publier depuis la page du service.</translation>
    </message>
    <message>
        <source>No web browser could be opened: open %1 yourself and post the picture from there.</source>
        <translation>Aucun navigateur web n’a pu être ouvert : ouvrez %1 vous-même et publiez l’image depuis cette page.</translation>
    </message>
    <message>
        <source>The picture is ready for %1.</source>
        <translation>L’image est prête pour %1.</translation>
    </message>
    <message>
        <source>The picture was posted.</source>
        <translation>L’image a été publiée.</translation>
    </message>
    <message>
        <source>The picture was not posted to %1.</source>
        <translation>L’image n’a pas été publiée sur %1.</translation>
    </message>
    <message>
        <source>Server address</source>
        <extracomment>The field of the user&apos;s server, as a screen reader names it</extracomment>
        <translation>Adresse du serveur</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareDialog</name>
    <message>
        <source>Mail</source>
        <translation>Courriel</translation>
    </message>
    <message>
        <source>Choose where the picture goes.</source>
        <translation>Choisissez où envoyer l’image.</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>The size, in pixels, of the picture to share</extracomment>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Include where the photo was taken</source>
        <translation>Inclure le lieu de la prise de vue</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation>Se déconnecter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation>Vous n’êtes pas connecté à Internet. Vérifiez votre connexion et réessayez.</translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation>Il n’y a aucune image à partager.</translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation>Envoi en cours…</translation>
    </message>
    <message>
        <source>Uploading to %1…</source>
        <translation>Envoi vers %1…</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer…</source>
        <translation>En attente de la réponse de %1…</translation>
    </message>
    <message>
        <source>Stop posting to %1?</source>
        <translation>Arrêter la publication sur %1 ?</translation>
    </message>
    <message>
        <source>The picture is still on its way. If you stop now, it may not be posted.</source>
        <translation>L’image est encore en cours d’envoi. Si vous arrêtez maintenant, elle risque de ne pas être publiée.</translation>
    </message>
    <message>
        <source>Stop Posting</source>
        <translation>Arrêter la publication</translation>
    </message>
    <message>
        <source>Keep Posting</source>
        <translation>Continuer la publication</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareError</name>
    <message>
        <source>%1 cannot be used from this copy of Pimavo.</source>
        <translation>%1 ne peut pas être utilisé depuis cet exemplaire de Pimavo.</translation>
    </message>
    <message>
        <source>Sign in to %1 first.</source>
        <translation>Connectez-vous d’abord à %1.</translation>
    </message>
    <message>
        <source>Signing in to %1 did not complete. Please try again.</source>
        <translation>La connexion à %1 n’a pas abouti. Veuillez réessayer.</translation>
    </message>
    <message>
        <source>%1 no longer accepts your sign-in. Please sign in again.</source>
        <translation>%1 n’accepte plus votre connexion. Veuillez vous reconnecter.</translation>
    </message>
    <message>
        <source>%1 refused the request. Your account may not be allowed to post this.</source>
        <translation>%1 a refusé la demande. Votre compte n’est peut-être pas autorisé à publier ce contenu.</translation>
    </message>
    <message>
        <source>The picture is too large for %1. Choose a smaller size and try again.</source>
        <translation>L’image est trop grande pour %1. Choisissez une taille plus petite et réessayez.</translation>
    </message>
    <message>
        <source>%1 is receiving too many requests from you. Please wait a while and try again.</source>
        <translation>%1 reçoit trop de demandes de votre part. Veuillez patienter un moment, puis réessayer.</translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n seconds.</source>
        <translation>
            <numerusform>%1 reçoit trop de demandes de votre part. Veuillez réessayer dans %n seconde.</numerusform>
            <numerusform>%1 reçoit trop de demandes de votre part. Veuillez réessayer dans %n secondes.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has a problem of its own right now. Please try again later.</source>
        <translation>%1 rencontre actuellement un problème de son côté. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost before the picture was posted. Please try again.</source>
        <translation>La connexion à %1 a été perdue avant la publication de l’image. Veuillez réessayer.</translation>
    </message>
    <message>
        <source>%1 gave an answer Pimavo does not understand. The picture may not have been posted.</source>
        <translation>%1 a donné une réponse que Pimavo ne comprend pas. Il se peut que l’image n’ait pas été publiée.</translation>
    </message>
    <message>
        <source>%1 did not accept the request.</source>
        <translation>%1 n’a pas accepté la demande.</translation>
    </message>
    <message>
        <source>It said: “%1”.</source>
        <translation>Réponse reçue : « %1 ».</translation>
    </message>
    <message>
        <source>%1 did not answer in time, and the picture may have been posted. Look at your account before posting it again.</source>
        <translation>%1 n’a pas répondu à temps, et l’image a peut-être été publiée. Vérifiez votre compte avant de la publier à nouveau.</translation>
    </message>
    <message>
        <source>Posting to %1 was cancelled.</source>
        <translation>La publication sur %1 a été annulée.</translation>
    </message>
    <message>
        <source>%1 cannot be reached. Check your internet connection and try again.</source>
        <translation>%1 est inaccessible. Vérifiez votre connexion à Internet et réessayez.</translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n minutes.</source>
        <translation>
            <numerusform>%1 reçoit trop de demandes de votre part. Veuillez réessayer dans %n minute.</numerusform>
            <numerusform>%1 reçoit trop de demandes de votre part. Veuillez réessayer dans %n minutes.</numerusform>
        </translation>
    </message>
    <message>
        <source>(The server answered %1.)</source>
        <translation>(Le serveur a répondu %1.)</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharePage</name>
    <message>
        <source>Upload</source>
        <translation>Envoyer</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharedPicture</name>
    <message>
        <source>The picture could not be reduced to %1 pixels.</source>
        <translation>L’image n’a pas pu être réduite à %1 pixels.</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharingPane</name>
    <message>
        <source>Mail</source>
        <extracomment>Sharing by e-mail</extracomment>
        <translation>Courriel</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Imprimer…</translation>
    </message>
    <message>
        <source>Share</source>
        <extracomment>The name of the list of ways to share the picture, as a screen reader says it</extracomment>
        <translation>Partager</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::TumblrPage</name>
    <message>
        <source>Caption</source>
        <translation>Légende</translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation>Réalisé avec Pimavo</translation>
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
        <translation>Tout le monde</translation>
    </message>
    <message>
        <source>Only Me (private post)</source>
        <translation>Moi uniquement (publication privée)</translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::UploadProgressPanel</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
</TS>
