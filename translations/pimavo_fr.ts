<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>pimavo::AboutWindow</name>
    <message>
        <source>&amp;About Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selective-colour photographs: paint a photo’s colour back over a treated background.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::AcknowledgementsWindow</name>
    <message>
        <source>The list of libraries was not installed with this copy of Pimavo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo is built on these libraries, with thanks to their authors:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures that come with Pimavo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::CameraDevice</name>
    <message>
        <source>No driver for the camera “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera&apos;s port “%1” is not there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera “%1” did not answer (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera&apos;s folder “%1” could not be read (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera is no longer there (%2). The photos already imported are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer stopped at “%1”: the camera did not answer (%2). The photos already imported are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be written in “%2”: %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::CanvasView</name>
    <message>
        <source>ReColor undefined</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select color for drawing.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::ColorPanel</name>
    <message>
        <source>Colours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::EditorWindow</name>
    <message>
        <source>Open a photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom: type a percentage and press Return</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom to Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare Before and After</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hold to see the original photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply the painting to the photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install it from your distribution’s software centre, or choose Export To ▸ Open With… to use another application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs to save the picture before it can open it in %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <extracomment>%1 is the step it takes back, such as &quot;Invert Mask&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <extracomment>%1 is the step it makes again, such as &quot;Invert Mask&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recent photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse Photos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import from Camera or Scanner…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Project…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Revert to Original…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Set&amp;up…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print on &amp;Canvas…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <extracomment>A menu of the menu bar</extracomment>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert the mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask C&amp;olour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The colours the mask can be shown in</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Apply Drawing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <extracomment>A menu of the menu bar (the noun)</extracomment>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Background</source>
        <extracomment>The View menu&apos;s list of greys around the picture</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This step can no longer be undone: the picture it kept in the cache folder is gone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert to the original photo?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your painting and adjustments are set aside; Undo brings them back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Part of this photo could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The project cannot be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be printed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::ExportController</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Pimavo)</source>
        <extracomment>The name of a copy handed to another application; %1 is the photo&apos;s name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The copy could not be kept in “%1”: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” has no free name left for the copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” cannot be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No application could be asked to open the picture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoLibrary</name>
    <message>
        <source>the help server answered HTTP %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — check your internet connection and try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not there</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::HelpVideoWindow</name>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading the list of videos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of help videos cannot be loaded: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” cannot be loaded: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” cannot be played: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help videos cannot be reached: %1. This is the list from your last visit; the videos you watched before still play.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no help videos yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a video on the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no help video called “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::ImportDialog</name>
    <message>
        <source>The folder “%1” could not be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan %1</source>
        <extracomment>A scanned picture&apos;s file name; %1 is when it was scanned</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scan could not be written to “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import from Camera or Scanner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overview</source>
        <extracomment>A button: scan the whole glass quickly, to see what lies on it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan</source>
        <extracomment>A button: scan the picture</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode:</source>
        <extracomment>The scanner&apos;s colour mode: colour, grey, black and white</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking for cameras…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a camera or a scanner on the left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none attached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanners</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the camera…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photos on the camera. They are imported into the Pictures folder.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Importing %n photos…</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The import stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photos imported.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Asking the scanner what it can do…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dpi</source>
        <extracomment>A scanning resolution, in dots per inch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan an overview to see what lies on the glass.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place the original on the glass, then choose Overview or Scan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning an overview…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scan was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::MediaBrowserPanel</name>
    <message>
        <source>Photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking for photos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No photos in the Pictures folder or the photo libraries.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photos, newest first. Double-click one to open it.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::OverlayDialog</name>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::PreferencesWindow</name>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window background:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New photos start in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save pictures without a file as:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG and WebP quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help videos list:</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Undo keeps the last %n steps (up to %1).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flickr key:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flickr secret:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tumblr key:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tumblr secret:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::RegionPicker</name>
    <message>
        <source>Pick a Colour Region</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click the photo to select a region of its colour. Shift-click adds a colour, Ctrl-click takes one away; Ctrl+Z undoes a step. The mouse wheel zooms, Space-drag moves the photo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tolerance</source>
        <extracomment>How far a colour may differ from the picked one and still belong to the region</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave without picking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply the picked regions to the painting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::SaveFlow</name>
    <message>
        <source>Another picture is still being saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving “%1”…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::SavePanel</name>
    <message>
        <source>and</source>
        <extracomment>Joins the last two items of a list: &quot;camera details, XMP metadata and colour profile&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>camera details (EXIF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>captions and keywords (IPTC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XMP metadata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot hold this photo’s %2: the saved picture goes without.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds %2 bits per channel: this photo’s %3 are reduced to them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This type has no transparency: the picture&apos;s transparent parts are saved white. PNG, TIFF and WebP keep them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compression:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZIP (smaller)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LZW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PackBits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None (largest)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::ScannerDevice</name>
    <message>
        <source>The scanner “%1” could not be opened (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SANE could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scan stopped: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanner sent no picture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::StartScreen</name>
    <message>
        <source>Open a photo to begin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a photo, or drop one on this window. Its background turns grey, and you paint its colour back where you want it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Photo…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop a photo here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::ToolPanel</name>
    <message>
        <source>Size</source>
        <extracomment>The brush&apos;s size</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Softness</source>
        <extracomment>How soft the brush&apos;s edge is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opacity</source>
        <extracomment>How opaque the brush paints</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exposure</source>
        <extracomment>A photo adjustment, as in photography</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blur</source>
        <extracomment>A photo adjustment: how blurred the picture is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vignette</source>
        <extracomment>A photo adjustment: darkened corners</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paint the photo’s colour back (X switches with Erase)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase colour back to the background (X switches with Paint)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paint with a solid colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the picture (or hold Space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a region of similar colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brush preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erasing brings the background back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert the mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the mask (\)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The brush as it paints</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set exposure, brightness, saturation, contrast, hue, blur and vignette back to where they started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aged</source>
        <extracomment>The look of an old, faded photograph</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Silver Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look</source>
        <extracomment>The heading over the background&apos;s looks (None, Soft, Dreamy, Hard Light)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <extracomment>No look on the background</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soft</source>
        <extracomment>A look: a softened, glowing background</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dreamy</source>
        <extracomment>A look: a hazy, dream-like background</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hard Light</source>
        <extracomment>A look: a hard, contrasty light, as the blend mode of that name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the background&apos;s brightness, contrast, saturation and blur back to where they started; the tone and the look stay</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::UndoStep</name>
    <message>
        <source>Apply Drawing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert to Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick Colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour</source>
        <extracomment>A stroke painted with a solid colour</extracomment>
        <translation type="unfinished">Couleur</translation>
    </message>
    <message>
        <source>Paint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take Away Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tolerance Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adjustments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vignette</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Blur</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WelcomeWindow</name>
    <message>
        <source>Welcome to Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Open a photo: it appears with a grey background.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Paint&lt;/b&gt; over what should keep its colour. &lt;b&gt;Erase&lt;/b&gt; (X) takes colour away again; &lt;b&gt;[&lt;/b&gt; and &lt;b&gt;]&lt;/b&gt; change the brush size; hold &lt;b&gt;Space&lt;/b&gt; to move the picture.&lt;/p&gt;&lt;p&gt;Choose a background treatment — grayscale, sepia, aged or silver blue — and adjust the colour and the background separately. &lt;b&gt;Compare&lt;/b&gt; (Ctrl B) shows before and after side by side.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show this window when Pimavo starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowAutosave</name>
    <message>
        <source>Recover Unsaved Work</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo closed before these pictures were saved. Restore one to go on where you left off; the others wait until the next start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last changed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the unsaved work on “%1”? It cannot be brought back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The unsaved work could not be restored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (recovered)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowBackdrop</name>
    <message>
        <source>Dark Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Grey</source>
        <extracomment>A window background colour</extracomment>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Video Tutorials</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;Welcome Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Leave a Review</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo &amp;Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;More from Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;cknowledgements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowImport</name>
    <message>
        <source>Photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open this image.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowOpening</name>
    <message>
        <source>Photos (%1)</source>
        <extracomment>The Open panel&apos;s filter: %1 are the file name patterns</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <extracomment>A command: open a photo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file may be damaged, or it is not a photo in a format Pimavo can read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file “%1” could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This photo is larger than %1 megapixels. Pimavo is making a smaller copy of it to paint on; what you save keeps the photo&apos;s full size. This takes a moment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the pasted picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowReview</name>
    <message>
        <source>Enjoying Pimavo?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If Pimavo helps you make pictures you like, a short review helps other photographers find it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No, Thanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write a Review</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::WindowSaving</name>
    <message>
        <source>The picture cannot be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1” before opening “%2”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>A button: save the picture</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace the original photo “%1”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This photo’s file is incomplete: replacing it writes the grey part it could not read into the file for good, and whatever another program might still recover from it is lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving writes the edited picture over the original file. The original colours cannot be brought back from the saved file. To keep the original, save the picture under another name with Save As, or save a project, which keeps the photo, the painting and every setting.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Project…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough memory to make the picture at the photo&apos;s full size, %1 × %2 pixels (about %3 needed, %4 free).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo can make it at %1 × %2 pixels, the size it is painted at, instead. Closing other programs may free enough memory for the full size.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use %1 × %2</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1…</source>
        <extracomment>A command of the Share menu; %1 is a service, such as Flickr</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ApplicationKeys</name>
    <message>
        <source>This copy of Pimavo has no keys for %1. Register the program with the service and set %2 and %3 in the environment or in the Preferences.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ExportedImage</name>
    <message>
        <source>The folder “%1” could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pimavo for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be copied to “%1”: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be scaled to %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FacebookPage</name>
    <message>
        <source>Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Album</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FacebookService</name>
    <message>
        <source>Facebook does not take pictures from other programs: Pimavo saves the picture and opens Facebook in your browser, where you add it to a post.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrPage</name>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::FlickrService</name>
    <message>
        <source>Only Me</source>
        <extracomment>Who can see the photo</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Me &amp; Friends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Me &amp; Family</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signing in to Flickr failed. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailHandOff</name>
    <message>
        <source>The picture “%1” to attach cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MailPage</name>
    <message>
        <source>A picture made with Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail application not found. Install a mail program, or attach the picture yourself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is kept at %1 for you to attach.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is attached to a new message in your mail application, at the size chosen below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Message with Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share with Mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonPage</name>
    <message>
        <source>Post</source>
        <extracomment>The text of the post (the noun)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::MastodonService</name>
    <message>
        <source>Public</source>
        <extracomment>Who can see the post</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlisted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Followers only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentioned people only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the address of your server first, such as https://mastodon.social. Only secure (https) addresses are accepted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to %1 was lost, and the post is not on your account. Trying again will not post it twice.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ServicePage</name>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your server, e.g. mastodon.social</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture, for people who cannot see it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separated by commas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not available in this build of Pimavo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking the sign-in…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Post the picture on %1 from its own page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not signed in to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in on the page your web browser shows, then come back here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are signed in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are signed in as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign-in could not be kept in a keyring: you stay signed in until Pimavo quits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the address of the server your account is on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>That is not the address of a server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be prepared for sharing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is kept at %1 for you to post from the service’s page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No web browser could be opened: open %1 yourself and post the picture from there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is ready for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture was posted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture was not posted to %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareDialog</name>
    <message>
        <source>Mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose where the picture goes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>The size, in pixels, of the picture to share</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include where the photo was taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not connected to the internet. Check your connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no picture to share.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading to %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for %1 to answer…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop posting to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is still on its way. If you stop now, it may not be posted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Posting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Posting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareError</name>
    <message>
        <source>%1 cannot be used from this copy of Pimavo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to %1 first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signing in to %1 did not complete. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 no longer accepts your sign-in. Please sign in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 refused the request. Your account may not be allowed to post this.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is too large for %1. Choose a smaller size and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is receiving too many requests from you. Please wait a while and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n seconds.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has a problem of its own right now. Please try again later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to %1 was lost before the picture was posted. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 gave an answer Pimavo does not understand. The picture may not have been posted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 did not accept the request.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It said: “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 did not answer in time, and the picture may have been posted. Look at your account before posting it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Posting to %1 was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached. Check your internet connection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n minutes.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>(The server answered %1.)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharePage</name>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharedPicture</name>
    <message>
        <source>The picture could not be reduced to %1 pixels.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::SharingPane</name>
    <message>
        <source>Mail</source>
        <extracomment>Sharing by e-mail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::TumblrPage</name>
    <message>
        <source>Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made with Pimavo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::TumblrService</name>
    <message>
        <source>Everyone</source>
        <extracomment>Who can see the post</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only Me (private post)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::UploadProgressPanel</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
