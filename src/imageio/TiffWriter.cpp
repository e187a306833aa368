#include "TiffWriter.h"

#include "FailureText.h"
#include "ImageProperties.h"

#include <cstring>
#include <libdeflate.h>
#include <memory>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tiffio.h>

namespace pimavo {

namespace {

// Samples per pixel: RGB, or RGBA for a bitmap with (straight) alpha.
int samplesOf(const Bitmap& b) {
    return b.layout().hasAlpha() ? 4 : 3;
}

// Row `y` of the bitmap as packed RGB(A) samples.
void packRow(const Bitmap& b, int y, std::byte* dst) {
    const int bpc = b.bitsPerComponent() / 8, n = samplesOf(b);
    const std::byte* src = b.row(y) + (b.layout().alphaFirst() ? bpc : 0);
    if (n == 4) {
        std::memcpy(dst, src, std::size_t(b.width()) * 4 * bpc);
        return;
    }
    for (int x = 0; x < b.width(); ++x, src += 4 * bpc, dst += 3 * bpc)
        std::memcpy(dst, src, std::size_t(3 * bpc));
}

// The TIFF horizontal predictor: each sample becomes its difference from the same sample of the
// pixel to its left.
template <typename T> void horizontalDifference(std::byte* rowBytes, int width, int n) {
    T* p = reinterpret_cast<T*>(rowBytes);
    for (int i = width * n - 1; i >= n; --i) p[i] = T(p[i] - p[i - n]);
}

} // namespace

bool writeTiff(const Bitmap& bitmap, const std::string& path, const std::string& compression,
               const std::vector<uint8_t>& iccProfile, std::string& why, bool bigEndian) {
    const int bits = bitmap.bitsPerComponent(), bpc = bits / 8;
    const int samples = samplesOf(bitmap);
    const std::size_t rowBytes = std::size_t(bitmap.width()) * samples * bpc;
    const double fileBytes = double(rowBytes) * bitmap.height();
    // Classic TIFF addresses 4 GB; larger pictures need BigTIFF.
    TIFFSetWarningHandler(nullptr);
    const std::string mode = std::string(fileBytes > 3.5e9 ? "w8" : "w") + (bigEndian ? "b" : "l");
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), mode.c_str()), TIFFClose);
    if (!tif) {
        why = QT_TRANSLATE_NOOP("Failure", "the file could not be created");
        return false;
    }
    const uint16_t scheme = compression == "zip"        ? COMPRESSION_ADOBE_DEFLATE
                            : compression == "lzw"      ? COMPRESSION_LZW
                            : compression == "packbits" ? COMPRESSION_PACKBITS
                                                        : COMPRESSION_NONE;
    const bool predict = bits != 32 && (scheme == COMPRESSION_ADOBE_DEFLATE || scheme == COMPRESSION_LZW);
    // Strips of about 256 KB: enough of them to keep every core busy.
    const int rowsPerStrip = std::max(1, int((256u << 10) / rowBytes));
    TIFF* t = tif.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(bitmap.width()));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(bitmap.height()));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t(bits));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    if (samples == 4) {
        const uint16_t unassociated = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, uint16_t(1), &unassociated);
    }
    TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, uint16_t(bits == 32 ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT));
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(t, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
    TIFFSetField(t, TIFFTAG_COMPRESSION, scheme);
    if (predict) TIFFSetField(t, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL));
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, uint32_t(rowsPerStrip));
    TIFFSetField(t, TIFFTAG_SOFTWARE, softwareName().c_str());
    if (!iccProfile.empty())
        TIFFSetField(t, TIFFTAG_ICCPROFILE, uint32_t(iccProfile.size()), iccProfile.data());

    const int strips = (bitmap.height() + rowsPerStrip - 1) / rowsPerStrip;
    if (scheme != COMPRESSION_ADOBE_DEFLATE) {
        // The other schemes are fast enough through libtiff itself.
        std::vector<std::byte> strip(rowBytes * rowsPerStrip);
        for (int s = 0; s < strips; ++s) {
            const int y0 = s * rowsPerStrip, y1 = std::min(bitmap.height(), y0 + rowsPerStrip);
            for (int y = y0; y < y1; ++y) packRow(bitmap, y, strip.data() + std::size_t(y - y0) * rowBytes);
            if (TIFFWriteEncodedStrip(t, uint32_t(s), strip.data(), tmsize_t(rowBytes * (y1 - y0))) < 0) {
                why = QT_TRANSLATE_NOOP("Failure", "the pixels could not be written");
                return false;
            }
        }
        return TIFFFlush(t) == 1 ||
               (why = QT_TRANSLATE_NOOP("Failure", "the file could not be completed"), false);
    }

    std::vector<std::vector<std::byte>> compressed(strips);
    std::atomic<bool> failed{false};
    tbb::parallel_for(tbb::blocked_range<int>(0, strips, 1), [&](const tbb::blocked_range<int>& r) {
        std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> z(
            libdeflate_alloc_compressor(6), libdeflate_free_compressor);
        std::vector<std::byte> raw(rowBytes * rowsPerStrip);
        for (int s = r.begin(); s != r.end(); ++s) {
            const int y0 = s * rowsPerStrip, y1 = std::min(bitmap.height(), y0 + rowsPerStrip);
            for (int y = y0; y < y1; ++y) {
                std::byte* row = raw.data() + std::size_t(y - y0) * rowBytes;
                packRow(bitmap, y, row);
                if (predict) {
                    if (bits == 8)
                        horizontalDifference<uint8_t>(row, bitmap.width(), samples);
                    else
                        horizontalDifference<uint16_t>(row, bitmap.width(), samples);
                }
            }
            const std::size_t in = rowBytes * (y1 - y0);
            auto& out = compressed[s];
            out.resize(libdeflate_zlib_compress_bound(z.get(), in));
            const std::size_t n =
                z ? libdeflate_zlib_compress(z.get(), raw.data(), in, out.data(), out.size()) : 0;
            if (n == 0) failed = true;
            out.resize(n);
        }
    });
    if (failed) {
        why = QT_TRANSLATE_NOOP("Failure", "the pixels could not be compressed");
        return false;
    }
    for (int s = 0; s < strips; ++s) {
        if (TIFFWriteRawStrip(t, uint32_t(s), compressed[s].data(), tmsize_t(compressed[s].size())) < 0) {
            why = QT_TRANSLATE_NOOP("Failure", "the pixels could not be written");
            return false;
        }
    }
    if (TIFFFlush(t) != 1) {
        why = QT_TRANSLATE_NOOP("Failure", "the file could not be completed");
        return false;
    }
    return true;
}

} // namespace pimavo
