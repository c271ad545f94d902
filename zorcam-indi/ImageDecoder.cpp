#include "zorcam-indi/ImageDecoder.h"

#include <fitsio.h>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorcamindi {

namespace {

constexpr long kMostPixels = 200'000'000L;

// The first HDU holding an image of two or three axes: the primary one of a plain
// file, the first extension of a tile-compressed (.fits.fz) one.
bool FindImage(fitsfile* f, int& naxis, long axes[3], int& status) {
    int hdus = 0;
    if (fits_get_num_hdus(f, &hdus, &status))
        return false;
    for (int hdu = 1; hdu <= hdus && hdu <= 16; ++hdu) {
        int type = 0;
        if (fits_movabs_hdu(f, hdu, &type, &status))
            return false;
        if (type != IMAGE_HDU)
            continue;
        axes[0] = axes[1] = 0;
        axes[2] = 1;
        int bitpix = 0;
        if (fits_get_img_param(f, 3, &bitpix, &naxis, axes, &status))
            return false;
        if (naxis >= 2)
            return true;
    }
    return false;
}

std::string Key(fitsfile* f, const char* name) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (fits_read_key(f, TSTRING, name, value, nullptr, &status))
        return {};
    std::string v(value);
    v.erase(std::remove(v.begin(), v.end(), ' '), v.end());
    return v;
}

// Any data as floating point: the planes to grey (colour planes weighted as
// luminance), then into 16 bits. Values that fit 0..65535 stay as they are,
// data of 0..1 spans the 16 bits, anything else is moved (and, wider than 16
// bits, scaled) linearly into the range.
bool ReadDeep(fitsfile* f, long n, long planes, bool floating, std::vector<std::uint16_t>& out,
              int& status) {
    std::vector<float> all(static_cast<std::size_t>(n) * planes);
    long first[3] = {1, 1, 1};
    int anyNull = 0;
    float nullValue = std::numeric_limits<float>::quiet_NaN();
    if (fits_read_pix(f, TFLOAT, first, n * planes, &nullValue, all.data(), &anyNull, &status))
        return false;
    std::vector<float> grey(all.begin(), all.begin() + n);
    if (planes == 3) {
        for (long i = 0; i < n; ++i)
            grey[i] = 0.299f * all[i] + 0.587f * all[n + i] + 0.114f * all[2 * n + i];
    } else if (planes > 1) {
        for (long p = 1; p < planes; ++p)
            for (long i = 0; i < n; ++i)
                grey[i] += all[p * n + i];
        for (float& v : grey)
            v /= static_cast<float>(planes);
    }
    float lo = std::numeric_limits<float>::max(), hi = std::numeric_limits<float>::lowest();
    for (float v : grey)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (lo > hi)
        lo = hi = 0;
    float offset = 0, scale = 1;
    if (floating && lo >= 0 && hi <= 1.0f) {
        scale = 65535.0f;
    } else if (lo < 0 || hi > 65535.0f) {
        offset = lo;
        scale = hi - lo > 65535.0f ? 65535.0f / (hi - lo) : 1.0f;
    }
    out.resize(n);
    for (long i = 0; i < n; ++i) {
        const float v = std::isfinite(grey[i]) ? (grey[i] - offset) * scale + 0.5f : 0.0f;
        out[i] = static_cast<std::uint16_t>(std::clamp(v, 0.0f, 65535.0f));
    }
    return true;
}

template <typename T> void FlipRows(std::vector<T>& pixels, long w, long h) {
    for (long top = 0, bottom = h - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + top * w, pixels.begin() + (top + 1) * w,
                         pixels.begin() + bottom * w);
}

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
    int naxis = 0;
    long axes[3] = {0, 0, 1};
    const bool found = FindImage(f, naxis, axes, status);
    if (!found || status || axes[0] < 1 || axes[1] < 1 || axes[2] < 1 ||
        axes[0] > kMostPixels / axes[1] || axes[0] * axes[1] > kMostPixels / axes[2]) {
        int closeStatus = 0;
        fits_close_file(f, &closeStatus);
        error = "FITS without a usable image";
        return false;
    }
    const long w = axes[0], h = axes[1], planes = naxis >= 3 ? axes[2] : 1;
    const long n = w * h;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.bayer.clear();
    out.pixels8.clear();
    out.pixels16.clear();
    // The data's type once BZERO and BSCALE are applied.
    int type = 0;
    fits_get_img_equivtype(f, &type, &status);
    const bool bottomUp = Key(f, "ROWORDER") == "BOTTOM-UP";

    if (planes == 1) {
        const std::string pattern = Key(f, "BAYERPAT");
        if (!pattern.empty()) {
            int dx = 0, dy = 0, keyStatus = 0;
            fits_read_key(f, TINT, "XBAYROFF", &dx, nullptr, &keyStatus);
            keyStatus = 0;
            fits_read_key(f, TINT, "YBAYROFF", &dy, nullptr, &keyStatus);
            // The mosaic is named from the first row stored; turned the right way
            // up, the last row stored comes first.
            out.bayer = ShiftBayer(pattern, dx, dy + (bottomUp ? static_cast<int>(h - 1) : 0));
        }
    }

    long first[3] = {1, 1, 1};
    int anyNull = 0;
    if (!status && planes == 1 && type == BYTE_IMG) {
        out.bitsPerPixel = 8;
        out.pixels8.resize(n);
        fits_read_pix(f, TBYTE, first, n, nullptr, out.pixels8.data(), &anyNull, &status);
        if (bottomUp)
            FlipRows(out.pixels8, w, h);
    } else if (!status && planes == 1 && type == USHORT_IMG) {
        out.bitsPerPixel = 16;
        out.pixels16.resize(n);
        fits_read_pix(f, TUSHORT, first, n, nullptr, out.pixels16.data(), &anyNull, &status);
        if (bottomUp)
            FlipRows(out.pixels16, w, h);
    } else if (!status && planes == 1 && type == SHORT_IMG) {
        // Signed 16-bit data without the usual offset: moved up by 32768, so that
        // nothing is clipped and the levels stay linear.
        std::vector<short> signedPixels(n);
        fits_read_pix(f, TSHORT, first, n, nullptr, signedPixels.data(), &anyNull, &status);
        out.bitsPerPixel = 16;
        out.pixels16.resize(n);
        for (long i = 0; i < n; ++i)
            out.pixels16[i] = static_cast<std::uint16_t>(signedPixels[i] + 32768);
        if (bottomUp)
            FlipRows(out.pixels16, w, h);
    } else if (!status) {
        out.bitsPerPixel = 16;
        if (planes != 1)
            out.bayer.clear();
        const bool floating = type == FLOAT_IMG || type == DOUBLE_IMG;
        if (ReadDeep(f, n, planes, floating, out.pixels16, status) && bottomUp)
            FlipRows(out.pixels16, w, h);
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
