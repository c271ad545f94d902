#include "zorcam-indi/ImageDecoder.h"

#include <fitsio.h>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorcamindi {

namespace {

bool DecodeFits(const void* data, std::size_t size, DecodedImage& out, std::string& error) {
    int status = 0;
    fitsfile* f = nullptr;
    // cfitsio reads the memory in place; the buffer is not changed.
    void* mem = const_cast<void*>(data);
    std::size_t memSize = size;
    if (fits_open_memfile(&f, "frame", READONLY, &mem, &memSize, 0, nullptr, &status)) {
        error = "not a FITS file";
        return false;
    }
    int bitpix = 0, naxis = 0;
    long axes[3] = {0, 0, 1};
    fits_get_img_param(f, 3, &bitpix, &naxis, axes, &status);
    if (status || naxis < 2 || axes[0] < 1 || axes[1] < 1 || axes[2] < 1 ||
        axes[0] * axes[1] > 200'000'000L) {
        fits_close_file(f, &status);
        error = "FITS without a usable image";
        return false;
    }
    const long w = axes[0], h = axes[1], planes = naxis >= 3 ? axes[2] : 1;
    const long n = w * h;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.bayer.clear();

    char pattern[FLEN_VALUE] = {};
    int keyStatus = 0;
    if (planes == 1 && fits_read_key(f, TSTRING, "BAYERPAT", pattern, nullptr, &keyStatus) == 0) {
        int dx = 0, dy = 0;
        keyStatus = 0;
        fits_read_key(f, TINT, "XBAYROFF", &dx, nullptr, &keyStatus);
        keyStatus = 0;
        fits_read_key(f, TINT, "YBAYROFF", &dy, nullptr, &keyStatus);
        std::string p(pattern);
        p.erase(std::remove(p.begin(), p.end(), ' '), p.end());
        out.bayer = ShiftBayer(p, dx, dy);
    }

    long first[3] = {1, 1, 1};
    int anyNull = 0;
    if (bitpix == BYTE_IMG && planes == 1) {
        out.bitsPerPixel = 8;
        out.pixels8.resize(n);
        fits_read_pix(f, TBYTE, first, n, nullptr, out.pixels8.data(), &anyNull, &status);
    } else if (bitpix == SHORT_IMG && planes == 1) {
        out.bitsPerPixel = 16;
        out.pixels16.resize(n);
        fits_read_pix(f, TUSHORT, first, n, nullptr, out.pixels16.data(), &anyNull, &status);
    } else {
        // Deeper data or colour planes: read as floating point, average the planes
        // and scale the range found to 16 bits.
        std::vector<float> all(static_cast<std::size_t>(n) * planes);
        fits_read_pix(f, TFLOAT, first, n * planes, nullptr, all.data(), &anyNull, &status);
        std::vector<float> grey(n, 0.0f);
        for (long p = 0; p < planes; ++p)
            for (long i = 0; i < n; ++i)
                grey[i] += all[p * n + i] / planes;
        float lo = std::numeric_limits<float>::max(), hi = std::numeric_limits<float>::lowest();
        for (float v : grey)
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        const float scale = hi > lo ? 65535.0f / (hi - lo) : 0.0f;
        out.bitsPerPixel = 16;
        out.bayer.clear();
        out.pixels16.resize(n);
        for (long i = 0; i < n; ++i)
            out.pixels16[i] = std::isfinite(grey[i])
                                  ? static_cast<std::uint16_t>((grey[i] - lo) * scale + 0.5f)
                                  : 0;
    }
    int closeStatus = 0;
    fits_close_file(f, &closeStatus);
    if (status) {
        error = "FITS image data unreadable";
        return false;
    }
    return true;
}

} // namespace

RawFrame DecodedImage::Raw() const {
    RawFrame r;
    r.width = width;
    r.height = height;
    r.bitsPerPixel = bitsPerPixel;
    r.data = bitsPerPixel == 8 ? static_cast<const void*>(pixels8.data())
                               : static_cast<const void*>(pixels16.data());
    r.bayer = bayer;
    return r;
}

std::string ShiftBayer(const std::string& pattern, int dx, int dy) {
    if (pattern.size() != 4)
        return pattern;
    std::string p = pattern;
    if (dx & 1)
        p = {p[1], p[0], p[3], p[2]};
    if (dy & 1)
        p = {p[2], p[3], p[0], p[1]};
    return p;
}

bool DecodeImage(const void* data, std::size_t size, const std::string& format, DecodedImage& out,
                 std::string& error) {
    if (!data || size == 0) {
        error = "empty image";
        return false;
    }
    if (format.find("fits") != std::string::npos || format.find("fit") != std::string::npos)
        return DecodeFits(data, size, out, error);
    const cv::Mat bytes(1, static_cast<int>(size), CV_8UC1, const_cast<void*>(data));
    cv::Mat img = cv::imdecode(bytes, cv::IMREAD_GRAYSCALE);
    if (img.empty() || !img.isContinuous()) {
        error = "image format " + format + " not readable";
        return false;
    }
    out.width = img.cols;
    out.height = img.rows;
    out.bitsPerPixel = 8;
    out.bayer.clear();
    out.pixels8.assign(img.data, img.data + img.total());
    return true;
}

} // namespace zorcamindi
