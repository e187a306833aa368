// Peak memory of an editing session on one photo: open it, paint 50 strokes, switch to drama preset
// 2, and ask for the full-resolution result, as a user would before saving.
//   canvas_session PHOTO
#include "canvas/CanvasModel.h"
#include "imageio/ImageDecoder.h"
#include "session/EditSession.h"

#include <QCoreApplication>
#include <cstdio>
#include <sys/resource.h>

using namespace pimavo;

namespace {

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: canvas_session PHOTO\n");
        return 1;
    }
    DecodeResult decoded = decodeImageFile(argv[1], false);
    if (!decoded.image) {
        std::fprintf(stderr, "%s\n", decoded.error.c_str());
        return 1;
    }
    std::printf("opened      %8.0f MiB peak\n", peakMiB());
    EditSession session;
    {
        CanvasModel canvas(decoded.image->bitmap, &session);
        canvas.createMaskBuffer();
        canvas.setScale(0.5);
        canvas.painting().brush().size = 120;
        const RectF e = canvas.imageA_orig().extent();
        for (int s = 0; s < 50; ++s) {
            const double y = e.height() * (s + 1) / 52;
            canvas.painting().beginStroke({e.width() * 0.1, y});
            for (int k = 1; k <= 20; ++k)
                canvas.painting().continueStroke({e.width() * (0.1 + 0.04 * k), y + 3 * k});
            canvas.painting().endStroke();
        }
        std::printf("50 strokes  %8.0f MiB peak\n", peakMiB());
        canvas.processPreset(2);
        canvas.applyPreset(2);
        std::printf("preset 2    %8.0f MiB peak\n", peakMiB());
        auto result = canvas.resultImage();
        if (!result) return 1;
        canvas.lookCache().waitUntilIdle();
        std::printf("result      %8.0f MiB peak\n", peakMiB());
        canvas.forgetLooks();
    }
    return 0;
}
