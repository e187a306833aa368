// The project document (".pimavo"): everything needed to reopen a picture exactly as it was left.
//
// A project holds the photo's file as it was opened (its bytes, metadata and all), the mask and the
// solid-colour layer at the working size as 16-bit lossless pictures, and every setting that shapes
// the picture. The file is a ZIP archive that any unzip tool opens; docs/project-format.md
// describes it for other programs.
//
// Nothing here needs a display or the main thread: the window takes a ProjectDocument as a
// snapshot of its state (image values are copy-on-write, nothing is encoded then) and the writing,
// with all its encoding, may run on any thread.
#pragma once

#include "PictureSettings.h"
#include "engine/Bitmap.h"
#include "engine/Image.h"
#include "imageio/ImageDecoder.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace pimavo {

struct ProjectDocument {
    // Files of a higher version are refused; a lower one is read as far as it goes.
    static constexpr int kFormatVersion = 1;
    static constexpr const char* kExtension = "pimavo";
    static constexpr const char* kMimeType = "application/x-pimavo-project";

    int formatVersion = kFormatVersion;

    // The photo's file as it was opened, and its name. Empty for a picture that had no file (pasted).
    std::string originalName;
    std::shared_ptr<const std::string> originalBytes;
    // The picture the canvas works on when it is no longer the photo as opened (after Apply, or
    // a photo that had no file); null otherwise.
    BitmapRef photo;

    // Working size, y up, extent (0, 0, workingWidth, workingHeight). Null: nothing painted.
    Image mask, colorLayer;
    // The picture as it looks, at any size (null: none); the file's thumbnail is made from it.
    Image picture;
    static constexpr int kThumbnailSide = 256;
    int workingWidth = 0, workingHeight = 0;

    // How the picture looks: treatment, look, adjustments.
    PictureSettings settings;
    // The tool panel's brush: size, softness, opacity, colour intensity (empty: as the panel has it).
    std::vector<double> brush;

    // Where the work was last saved (a project or a picture, and its type), for a session kept
    // by autosave: restored, it saves there again. Empty for the projects users save.
    std::string savedPath, savedType;
};

// Writes the project atomically (AtomicFile.h). False with a message naming the file.
bool writeProjectFile(const ProjectDocument& project, const std::string& path, std::string* error);

struct ProjectReadResult {
    std::optional<ProjectDocument> project;
    std::string error;  // names the file and says why: damaged, not a project, or from a newer version
    std::string reason; // the why alone, a clause without the file's name
};
ProjectReadResult readProjectFile(const std::string& path);

// The small picture a project carries (8-bit RGB, at most kThumbnailSide on a side), without
// reading the rest; nullopt when there is none or the file is no project.
std::optional<Bitmap> readProjectThumbnail(const std::string& path);

// Whether the file is a project, by its content.
bool isProjectFile(const std::string& path);

// The project's picture as the editor opens a photo: the kept picture, or the original file
// decoded (with its metadata). `name` in messages is the project's.
DecodeResult decodeProjectPhoto(const ProjectDocument& project, const std::string& projectPath);

} // namespace pimavo
