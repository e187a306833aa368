// The picture behind the painting canvas, without any widget: the photo's working images, the
// foreground and background chains with their settings, the mask and the solid-colour layer
// (recorded in the edit session), and the composition of the picture for the screen and for saving.
//
// The canvas view (CanvasView) owns one and draws what it composes; the command-line front
// end uses the same class, so a picture saved headless is the picture the editor saves.
//
// Images are at two sizes: the full-resolution photo (originA/originB) and a working copy of about
// two megapixels (imageA_orig/imageB_orig) that the screen and the masks use; scaleFactorFromOriginal
// is the full width over the working width. The mask is black where the treated background shows,
// white where the photo's colour comes back; the solid-colour layer is white where nothing is
// recoloured. Everything here runs on the main thread.
#pragma once

#include "CanvasPhoto.h"
#include "LookCache.h"
#include "LookMaker.h"
#include "Painting.h"
#include "RecentImages.h"
#include "document/PictureSettings.h"
#include "engine/Image.h"
#include "engine/PaintBuffer.h"
#include "filters/Effects.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace pimavo {

class EditSession;

class CanvasModel : public QObject {
    Q_OBJECT
    friend class Painting; // recomposes the picture after each change

public:
    // `photo` is the photo as opened (upright, at its own depth). The canvas renders `session`'s
    // picture settings and records its painting there; without a session it keeps no history.
    // How the opened photo goes into the preset cache: at once; once the picture is first on screen
    // (writing a full-size file meanwhile would take a core from the first frame); or not at all,
    // for a one-shot render that never switches back to it.
    enum class OpenedPhotoCache { Now, AfterFirstFrame, Never };
    CanvasModel(CanvasPhoto photo, EditSession* session, OpenedPhotoCache cache = OpenedPhotoCache::Now);
    ~CanvasModel();

    // Where the painting's steps are recorded; none keeps no history.
    EditSession* session() const;

    // Images.
    const Image& originA() const { return originA_; }
    const Image& originB() const { return originB_; }
    const Image& imageA_orig() const { return imageA_orig_; }
    const Image& imageB_orig() const { return imageB_orig_; }
    const Image& imageA() const { return imageA_; }
    const Image& imageB() const { return imageB_; }
    double scaleFactorFromOriginal() const { return scaleFactor_; }
    // The photo's own width over the working width: what the zoom counts, so that 100 % is one
    // view point per pixel of the photo as decoded even when the canvas works on a reduced copy of
    // it (scaleFactorFromOriginal counts that copy's pixels).
    double scaleFactorFromPhoto() const;
    // The canvas works on a copy of the photo reduced below its pixel limit: its full-resolution
    // pictures are that copy, stretched where the view shows more than one of its pixels per point.
    bool worksOnReducedCopy() const { return fullSize_ != nullptr; }
    int bitsPerComponent() const { return bits_; }
    // The working size for a photo of that size, and the factor from the photo to it.
    static SizeF workingSize(SizeF photo, double* factor = nullptr);

    // How the picture looks: the treatment, the look, the adjustments and the vignette. Setting
    // them redoes only the chains whose values changed; a new look is made as setPreset makes it.
    PictureSettings pictureSettings() const;
    void setPictureSettings(const PictureSettings& settings);
    bool hasVignettePicture() const { return bool(vignetteImage_); }

    // The chains.
    Image colorizeImage(const Image& image);
    Image colorizeBackgroundImage(const Image& image);
    Image colorizeResultImage(const Image& image);
    // The image rendered into a 16-bit buffer: its pixels no longer depend on how it was made.
    static Image accumulatedImageFromImage(const Image& image);

    // The mask and the solid-colour layer, and the strokes that paint them.
    Painting& painting() { return painting_; }
    const Painting& painting() const { return painting_; }
    // The first display makes the mask buffer, black; before that there is no mask.
    void createMaskBuffer();

    // Display state used by the composition.
    bool isShowMask() const { return showMask_; }
    void setShowMask(bool on);
    // The colour of the show-mask checks (the other checks are dark); its alpha is the checks'.
    const Rgba& showMaskColor() const { return showMaskColor_; }
    void setShowMaskColor(const Rgba& colour);
    double scale() const { return scale_; }
    void setScale(double viewPointsPerWorkingPixel) { scale_ = viewPointsPerWorkingPixel; }
    // Screen pixels per view point: the photo's own pixels are shown from one screen pixel each on.
    void setDevicePixelRatio(double ratio) { devicePixelRatio_ = ratio > 0 ? ratio : 1; }

    // Composition.
    // The picture for the screen at the current scale: working size below one view point per photo
    // pixel, the full-resolution composition from there on, whose magnified pixels the view shows
    // as sharp squares.
    Image currentImage();
    bool isNowFullSize() const { return nowFullSize_; }
    // Whether the comparison is shown pixel for pixel (it switches a little before the picture does).
    bool isCompareFullSize() const;
    // The untouched photo, for the before/after comparison.
    const Image& originalImage();
    Image zoomedImageForDisplay(bool forScreen);
    Image fullSizeImageForDisplay(bool forScreen);
    Image showMaskImage() const;
    // The picture saved, copied, printed and shared, as a bitmap at the photo's depth, rendered once
    // per change. It has the size of the photo as decoded; a canvas working on a reduced copy of a
    // very large photo makes it at that copy's size only when asked to (for lack of memory, with
    // the user's agreement).
    enum class ResultSize { Full, Reduced };
    std::optional<BitmapRef> resultImage(ResultSize size = ResultSize::Full);
    // The result as an image value, not yet rendered.
    Image resultValue(ResultSize size = ResultSize::Full);
    // Its size in pixels; the same for both sizes when the canvas works on the photo as decoded.
    SizeF resultSize(ResultSize size = ResultSize::Full) const;
    // The memory, in bytes, that rendering the result takes beyond what the canvas holds already:
    // the bitmap, and the whole-image buffers its looks and blurs need at that size.
    double resultMemoryNeeded(ResultSize size = ResultSize::Full) const;
    // What resultImage() answers without rendering it here: the result already rendered, or the
    // value to render at `bits` per component, on any thread (a save does it away from the window).
    struct ResultSource {
        BitmapRef ready;
        Image value;
        int bits = 8;
        bool alpha = false;
    };
    std::optional<ResultSource> resultSource(ResultSize size = ResultSize::Full);
    // The working-size picture as a bitmap.
    std::optional<Bitmap> getCurrentImage();
    // The result as it would be with a colour region merged into the mask (kept for applyColorMask).
    std::optional<BitmapRef> resultMaskWithColorMask(const Image& region);

    // Presets: 0 is the photo as opened, 1 to 3 the drama look in three strengths. Each is computed
    // once per photo and kept on disk (LookCache).
    int preset() const { return preset_; }
    int delayedPreset() const { return delayedPreset_; }
    // Selects a preset, as the tool panel does: the look shows at once, computed at working size,
    // while the full-resolution look is made in the background and then takes its place. Saving
    // and showing full-resolution pixels wait for it; painting goes on meanwhile.
    void setPreset(int preset);
    // Waits for the full-resolution look being made, and puts it in place.
    void finishPendingLook();
    // Puts the photo in place of its reduced copy, waiting for its decoding, when it is still the
    // look being made.
    void finishOpeningLook();
    bool isLookPending() const { return looks_.isPending(); }
    // The number of full-resolution looks made to the end (tests and diagnostics).
    int looksMade() const { return looks_.made(); }
    void applyPreset(int preset);
    void processPreset(int preset);
    // The looks kept on disk. Writing the opened photo's waits until the picture is first on screen.
    LookCache& lookCache() { return lookCache_; }
    // Forgets every look kept on disk and deletes its files (before another photo is opened).
    void forgetLooks();
    // The drama values of presets 1 to 3, as the effect's inputs.
    // `scale` shrinks its radii for a picture reduced by that factor.
    // `alpha`: the photo has transparency, which the look keeps.
    static Image applyDrama(const Image& photo, int preset, double scale = 1, bool alpha = false);
    // The colour divided by alpha, made opaque (transparent pixels black): what looks and chains
    // work on for a photo with transparency.
    static Image opaqueColour(const Image& image);
    // The photo has an alpha channel: the picture keeps its transparency on screen and in the result.
    bool hasAlpha() const { return alpha_; }

    // Called when the picture changed on its own rather than in answer to a call (a preset applied
    // once it is computed), so that whoever shows it redraws.
    void setPictureChangedHandler(std::function<void()> handler) { pictureChanged_ = std::move(handler); }

    // Counts every request to recompose the picture; a view redraws when it changes.
    int changeCount() const { return changeCount_; }

signals:
    // A look is on the picture: its quick version at once, its full-resolution one when computed.
    void drawingCompleted();
    // A stroke began with the solid colour: a colour the user has just used.
    void colorUsed(const QColor& color);

private:
    void initializeImages(int preset, bool cache = true);
    // The working images from the reduced copy of a photo still being decoded; the photo itself
    // follows as the full-resolution look of preset 0.
    void initializeFromPreview(const BitmapRef& preview);
    // Computes a look at full resolution away from the window (from its cached files when there are
    // some), to take the working-size look's place when ready.
    void computeLook(int preset, const std::optional<LookCache::Files>& cached);
    // Keeps a look's pictures on disk, and applies it once written when it is the one waited for.
    void cacheInBackground(int preset, const Image& normal, const Image& origin);
    void cacheNow(int preset, const Image& normal, const Image& origin);
    // The photo as opened, waiting for its decoding to end; null when that failed.
    BitmapRef photo() const { return photo_.valid() ? photo_.get() : nullptr; }
    // The blur of an unadjusted image, kept for the foreground and the background at working and
    // full size.
    Image blurredBase(const Image& image, double radius);
    RecentImages<double, 4> blurs_; // keyed by radius
    // The treated background, flattened, for the working and the full-size picture: kept while its
    // chain's settings stay the same, so that a redraw renders only the pixels it shows instead of
    // flattening the whole background again.
    struct BackgroundSettings {
        Treatment treatment = Treatment::Grayscale;
        double saturation = 0, brightness = 0, contrast = 0, blur = 0;
        bool adjusted = false;
        friend bool operator==(const BackgroundSettings&, const BackgroundSettings&) = default;
    };
    RecentImages<BackgroundSettings, 2> backgrounds_;
    Image treatedBackground(const Image& image);
    Image workingImageOf(const Image& full) const { return workingImageOfScale(full, scaleFactor_); }
    // The photo as decoded with the current look, for a result at full size (lazy; kept per look so
    // that the chains' caches recognise it).
    Image fullSizeSource();
    // Blur radii are given in pixels of originA; this scales them for an image of another size.
    double blurScaleOf(const Image& image) const;
    static Image workingImageOfScale(const Image& full, double scaleFactor);
    void setImageA(const Image& image);
    void setImageB(const Image& image);
    // The picture is to be composed again.
    void validateMask();
    Image composeWith(const Image& background, const Image& foreground, const Image& maskImage,
                      const Image& colorLayer, bool forScreen, const RectF& extent);
    Image composeOpaque(const Image& background, const Image& foreground, const Image& maskImage,
                        const Image& colorLayer, bool forScreen, const RectF& extent);
    // The chains work on opaque colour: a photo with transparency enters them with its colour
    // divided by alpha, and the picture takes the photo's alpha back at the end. Kept per image, so
    // that the chains' caches recognise it.
    Image opaqueOf(const Image& image);
    // The image an opaque copy was made of (the image itself when it is none).
    Image opaqueSourceOf(const Image& image) const;
    RecentImages<NoKey, 3> opaques_;

    QPointer<EditSession> session_;
    std::shared_future<BitmapRef> photo_;
    SizeF photoSize_;
    int bits_ = 8;
    bool alpha_ = false;
    double scaleFactor_ = 1;
    Image originA_, originB_, imageA_orig_, imageB_orig_, imageA_, imageB_;

    PictureSettings picture_; // its look is preset_
    bool exposureChanged_ = false, brightnessSaturationContrastChanged_ = false, hueChanged_ = false;
    bool brightnessContrastBackgroundChanged_ = true, needUpdateMasksWhenDrawing_ = false;
    BitmapRef vignetteImage_;

    Painting painting_{*this};
    bool showMask_ = false;
    Rgba showMaskColor_{1, 0, 0, 0.6};
    double scale_ = 1;
    double devicePixelRatio_ = 1;

    int preset_ = 0, delayedPreset_ = -1;
    Image workingPhoto_; // the photo as opened, at working size
    LookMaker looks_;
    int openingGeneration_ = -1; // of the look that brings the photo in place of its reduced copy
    // originA/originB are the quick look stretched, standing in for the look being made.
    bool quickOrigin_ = false;
    static Image stretchedTo(const Image& working, SizeF full);
    static LookMaker::Look makeFullLook(const std::shared_future<BitmapRef>& photo, int preset, int bits,
                                        bool alpha, double factor,
                                        const std::optional<LookCache::Files>& cached);
    void installLook(int preset, const Image& origin, const Image& normal);
    // The working-size source of both chains, recomposed and shown.
    void showWorkingImages(const Image& working);
    LookCache lookCache_;
    std::shared_ptr<bool> alive_;

    int changeCount_ = 0;
    std::function<void()> pictureChanged_;
    bool haveChanges_ = false, nowFullSize_ = false;
    Image originalImage_;
    BitmapRef lastModifiedImage_;
    ResultSize lastResultSize_ = ResultSize::Full;
    BitmapRef fullSize_;
    struct {
        int preset = -1;
        Image image;
    } fullSource_;
};

} // namespace pimavo
