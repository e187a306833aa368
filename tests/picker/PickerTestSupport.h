// The colour region picker as the tests drive it: small photos, an owner that counts what it is
// asked, and a shown picker with helpers to point at photo pixels and read the selection.
#pragma once

#include "Wait.h"
#include "engine/Renderer.h"
#include "picker/RegionPicker.h"

#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <random>

namespace pimavo::test {

// Left half red, right half blue, a 200 × 100 photo.
inline BitmapRef twoColours() {
    auto b = std::make_shared<Bitmap>(200, 100, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    for (int y = 0; y < 100; ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < 200; ++x) {
            const bool red = x < 100;
            row[4 * x] = 255, row[4 * x + 1] = red ? 210 : 20, row[4 * x + 2] = 30,
                    row[4 * x + 3] = red ? 30 : 220;
        }
    }
    return b;
}

// Two megapixels of one colour with ±8 levels of grain: a click takes all of it.
inline BitmapRef grainy() {
    auto b = std::make_shared<Bitmap>(1732, 1155, PixelLayout{8, AlphaInfo::NoneSkipFirst});
    std::mt19937 rng(9);
    for (int y = 0; y < b->height(); ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b->row(y));
        for (int x = 0; x < b->width(); ++x) {
            row[4 * x] = 255, row[4 * x + 1] = uint8_t(110 + rng() % 17),
                    row[4 * x + 2] = uint8_t(150 + rng() % 17), row[4 * x + 3] = uint8_t(200 + rng() % 17);
        }
    }
    return b;
}

// The picker's owner: counts the previews it draws with a mask, and the applies and cancels it hears.
struct Owner {
    int previews = 0, applied = 0, cancelled = 0;
    Image lastMask;
    RegionPicker::Previews previewsFor() {
        return {[] { return QImage(20, 10, QImage::Format_RGB32); },
                [this](const Image& mask) {
                    ++previews;
                    lastMask = mask;
                    return QImage(20, 10, QImage::Format_RGB32);
                }};
    }
    void listen(RegionPicker* view) {
        QObject::connect(view, &RegionPicker::applyRequested, [this] { ++applied; });
        QObject::connect(view, &RegionPicker::cancelled, [this] { ++cancelled; });
    }
};

struct Shown {
    Owner owner;
    RegionPicker view;
    explicit Shown(BitmapRef photo = twoColours())
        : view(QRect(0, 0, 900, 600), std::move(photo), owner.previewsFor()) {
        owner.listen(&view);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    // A view point over photo pixel (x, y).
    QPointF over(double x, double y) const {
        const QRectF r = view.getFirstImageRect();
        const double s = view.calculateImageScale();
        return r.topLeft() + QPointF((x + 0.5) * s, (y + 0.5) * s);
    }
    bool waitForPick() {
        return QTest::qWaitFor([&] { return !view.isInteractionsDisabled(); }, scaledWait(10000));
    }
    // Until the work away from the window has ended and whatever it handed back has been seen.
    static void settle() {
        QThreadPool::globalInstance()->waitForDone(30000);
        processPendingEvents();
    }
    // Whether photo pixel (x, y) is in the picker's mask.
    bool picked(int x, int y) {
        const Image& m = view.colorMask();
        if (!m) return false;
        auto bitmap = Renderer().createBitmap(m, 8);
        if (!bitmap) return false;
        return bitmap->component(x, y, 1) > 0.5f;
    }
};

} // namespace pimavo::test
