// A widget that shows an image value: the picture's working pixels laid out in realFrame (widget
// coordinates) at `scale` view points per pixel, rendered through the engine for just the part of
// the widget that needs it, at the screen's own pixel density. The picture's values are in the photo's
// colour profile (setColourProfile); what is drawn is converted to the screen's (imageio/ColourProfile.h).
//
// Image coordinates are y up with the origin at the picture's bottom-left; the widget's are Qt's,
// y down. imagePointFromView and viewRectFromImage convert between them.
#pragma once

#include "engine/Image.h"
#include "imageio/ColourProfile.h"

#include <QBrush>
#include <QRectF>
#include <QWidget>
#include <optional>

class QPainter;

namespace pimavo {

class RenderedImageView : public QWidget {
    Q_OBJECT
public:
    explicit RenderedImageView(QWidget* parent = nullptr);

    const Image& image() const { return image_; }
    // Shows a new image, redrawing the whole view, or only `dirty` (widget coordinates).
    void setImage(const Image& image);
    // What shows around the picture (the window's background); the palette's colour by default.
    void setBackdrop(const QBrush& brush);
    void setImage(const Image& image, const QRectF& dirty);
    // A picture with transparency shows a light checkerboard where it is transparent.
    void setShowsTransparency(bool on);
    // The ICC profile of the values shown (empty: sRGB).
    void setColourProfile(std::vector<uint8_t> profile);

    // Magnified pixels as squares, each screen pixel showing the one image pixel under its centre,
    // rather than blended between neighbours. For a picture shown at the photo's own resolution.
    bool isSharpMagnification() const { return sharp_; }
    void setSharpMagnification(bool on);

    double scale() const { return scale_; }
    const QRectF& realFrame() const { return realFrame_; }
    // Where the whole picture lies in the widget; the scale follows from its width.
    void setRealFrame(const QRectF& frame, double imageWidth);

    PointF imagePointFromView(const QPointF& p) const;
    QRectF viewRectFromImage(const RectF& r) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Draws the device pixels [x0, x1) × [top, bottom) (y down) of a magnified picture, k device pixels
    // per image pixel, as the image pixels under their centres.
    void paintSharp(QPainter& painter, int x0, int x1, int top, int bottom, double k, double dpr,
                    const ColourTransform* toScreen);
    // The conversion to the screen, made again only when either profile changed.
    const ColourTransform* toScreen();

    Image image_;
    bool sharp_ = false;
    double scale_ = 1;
    QRectF realFrame_;
    std::optional<QBrush> backdrop_;
    bool showsTransparency_ = false;
    std::vector<uint8_t> profile_;
    std::shared_ptr<const ColourTransform> toScreen_;
    uint64_t toScreenGeneration_ = UINT64_MAX;
};

} // namespace pimavo
