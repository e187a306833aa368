#pragma once
// Why a file could not be opened or saved, told in English by the layers below the interface, which
// have no Qt, and put into the user's language by the window (core/FailureTranslation.h).
//
// Every such text is marked with QT_TRANSLATE_NOOP under the context "Failure", so that lupdate
// collects it; the mark costs nothing here. A text that names something (a file, a number, a
// library's own message) is one of the templates below, with %1, %2… in its place: the window finds
// the template a text was made from, translates it, and translates what was put in its places, which
// may be a failure text in turn.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace pimavo::failure {

// The whole message, with the file's name.
inline constexpr const char* kCouldNotBeOpened =
    QT_TRANSLATE_NOOP("Failure", "“%1” could not be opened: %2.");
inline constexpr const char* kCouldNotBeSaved = QT_TRANSLATE_NOOP("Failure", "“%1” could not be saved: %2.");
inline constexpr const char* kProjectCannotBeOpened =
    QT_TRANSLATE_NOOP("Failure", "“%1” cannot be opened: %2.");
inline constexpr const char* kIncompleteGrey = QT_TRANSLATE_NOOP(
    "Failure", "“%1” is incomplete: the part of the picture that could not be read is shown grey.");
inline constexpr const char* kDamagedGrey = QT_TRANSLATE_NOOP(
    "Failure", "“%1” is damaged: the part of the picture that could not be read is shown grey.");
inline constexpr const char* kIncompleteCoarse = QT_TRANSLATE_NOOP(
    "Failure", "“%1” is incomplete: the picture is shown with the detail that could be read.");
inline constexpr const char* kDamagedCoarse =
    QT_TRANSLATE_NOOP("Failure", "“%1” is damaged: the picture is shown with the detail that could be read.");

// Reasons that carry a detail: a system's or a library's message, a name, a number.
inline constexpr const char* kFileDamagedBecause = QT_TRANSLATE_NOOP("Failure", "the file is damaged (%1)");
inline constexpr const char* kNotReadableWithoutModule =
    QT_TRANSLATE_NOOP("Failure", "it is not a photo in a format Pimavo reads without its codec module (%1)");
inline constexpr const char* kChannels = QT_TRANSLATE_NOOP("Failure", "it has %1 channels");
inline constexpr const char* kTooManyPixels =
    QT_TRANSLATE_NOOP("Failure", "it is %1 × %2 pixels, more than the %3 megapixels Pimavo opens");
inline constexpr const char* kDecoderFailed = QT_TRANSLATE_NOOP("Failure", "the decoder failed (%1)");
inline constexpr const char* kFolderNotWritable =
    QT_TRANSLATE_NOOP("Failure", "the folder cannot be written to (%1)");
inline constexpr const char* kNotReplaced =
    QT_TRANSLATE_NOOP("Failure", "the file could not be replaced (%1)");
inline constexpr const char* kMetadataNotWritten =
    QT_TRANSLATE_NOOP("Failure", "the metadata could not be written (%1)");
inline constexpr const char* kTypeNotWritable =
    QT_TRANSLATE_NOOP("Failure", "Pimavo cannot write the type %1");
inline constexpr const char* kModuleMissing = QT_TRANSLATE_NOOP("Failure", "the codec module %1 is missing");
inline constexpr const char* kPaintingNotCompressed =
    QT_TRANSLATE_NOOP("Failure", "the painting could not be compressed (%1)");
inline constexpr const char* kThumbnailNotCompressed =
    QT_TRANSLATE_NOOP("Failure", "the thumbnail could not be compressed (%1)");
inline constexpr const char* kProjectUnreadable = QT_TRANSLATE_NOOP("Failure", "it cannot be read (%1)");
inline constexpr const char* kNewerProject = QT_TRANSLATE_NOOP(
    "Failure",
    "it was saved by a newer version of Pimavo (project format %1; this version reads format %2). Open it "
    "with a newer Pimavo");
inline constexpr const char* kDescriptionDamaged =
    QT_TRANSLATE_NOOP("Failure", "its description is damaged (%1)");
inline constexpr const char* kEntryDamagedBecause = QT_TRANSLATE_NOOP("Failure", "its “%1” is damaged (%2)");
inline constexpr const char* kEntryMissing = QT_TRANSLATE_NOOP("Failure", "it has no “%1”");
inline constexpr const char* kEntryDamaged = QT_TRANSLATE_NOOP("Failure", "its “%1” is damaged");
inline constexpr const char* kEntryTooLarge = QT_TRANSLATE_NOOP("Failure", "its “%1” is too large");
inline constexpr const char* kEntryPacking =
    QT_TRANSLATE_NOOP("Failure", "its “%1” is packed in a way Pimavo cannot read");

// Every text above, for the window to recognise.
inline constexpr std::array kTemplates{
    kCouldNotBeOpened,
    kCouldNotBeSaved,
    kProjectCannotBeOpened,
    kIncompleteGrey,
    kDamagedGrey,
    kIncompleteCoarse,
    kDamagedCoarse,
    kFileDamagedBecause,
    kNotReadableWithoutModule,
    kChannels,
    kTooManyPixels,
    kDecoderFailed,
    kFolderNotWritable,
    kNotReplaced,
    kMetadataNotWritten,
    kTypeNotWritable,
    kModuleMissing,
    kPaintingNotCompressed,
    kThumbnailNotCompressed,
    kProjectUnreadable,
    kNewerProject,
    kDescriptionDamaged,
    kEntryDamagedBecause,
    kEntryMissing,
    kEntryDamaged,
    kEntryTooLarge,
    kEntryPacking,
};

// The template with %1… %9 replaced by the arguments, in one pass: an argument's own "%1" is kept.
inline std::string compose(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? std::size_t(text[i + 1] - '1') : arguments.size();
        if (text[i] == '%' && n < arguments.size()) {
            out += arguments.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace pimavo::failure
