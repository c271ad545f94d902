#include "zorcam-indi/ImageDecoder.h"

#include <fitsio.h>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorcamindi {

namespace {

constexpr long kMostPixels = 200'000'000L;
constexpr std::size_t kFitsRecord = 2880;
constexpr long kMostCompressedPixels = 120'000'000L;
// Noise keeps a sky frame from packing into fewer bytes than this many pixels each.
constexpr double kMostPixelsPerCodeByte = 300;

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

long IntKey(fitsfile* f, const char* name, long fallback) {
    long value = 0;
    int status = 0;
    return fits_read_key(f, TLONG, name, &value, nullptr, &status) ? fallback : value;
}

// Walks a Rice-coded tile of `pixels` values without decoding it: true when the
// code stays within its `size` bytes. cfitsio's own decoder trusts the code and
// reads past the tile's end on a damaged one.
bool RiceTileFits(const unsigned char* code, long size, long pixels, int block, int bytesPerPixel) {
    const int fsBits = bytesPerPixel == 1 ? 3 : bytesPerPixel == 2 ? 4 : 5;
    const int fsMost = bytesPerPixel == 1 ? 6 : bytesPerPixel == 2 ? 14 : 25;
    const long long bitsThere = static_cast<long long>(size) * 8;
    long long bit = static_cast<long long>(bytesPerPixel) * 8; // the first value, as it is
    const auto take = [&](long long n) {
        bit += n;
        return bit <= bitsThere;
    };
    for (long i = 0; i < pixels; i += block) {
        const long n = std::min<long>(block, pixels - i);
        // The block's code length.
        if (bit + fsBits > bitsThere)
            return false;
        long long fs = 0;
        for (int k = 0; k < fsBits; ++k, ++bit)
            fs = (fs << 1) | ((code[bit / 8] >> (7 - bit % 8)) & 1);
        fs -= 1;
        if (fs < 0)
            continue; // all differences zero
        if (fs == fsMost) {
            if (!take(static_cast<long long>(n) * bytesPerPixel * 8))
                return false;
            continue;
        }
        if (fs > fsMost)
            return false;
        for (long j = 0; j < n; ++j) {
            // A run of zeros ended by a one, then fs plain bits.
            while (bit < bitsThere && ((code[bit / 8] >> (7 - bit % 8)) & 1) == 0)
                ++bit;
            if (bit >= bitsThere || !take(1 + fs))
                return false;
        }
    }
    return true;
}

// A tile-compressed image whose tiles can be unpacked safely: Rice-coded tiles
// are walked first; the other methods of cfitsio's own coding are refused.
bool CompressionSound(fitsfile* f, std::size_t fileSize, std::string& error) {
    const std::string method = Key(f, "ZCMPTYPE");
    if (method == "GZIP_1" || method == "GZIP_2" || method == "NOCOMPRESS")
        return true; // zlib checks its own input
    if (method != "RICE_1" && method != "RICE_ONE") {
        error = "FITS compression " + method + " not supported";
        return false;
    }
    int status = 0, column = 0;
    long rows = 0;
    char columnName[] = "COMPRESSED_DATA";
    if (fits_get_colnum(f, CASEINSEN, columnName, &column, &status) ||
        fits_get_num_rows(f, &rows, &status))
        return false;
    int block = 32, bytesPerPixel = 4;
    const long bitpix = IntKey(f, "ZBITPIX", 16);
    bytesPerPixel = bitpix == 8 ? 1 : bitpix == 16 ? 2 : 4;
    for (int k = 1; k <= 4; ++k) {
        const std::string name = Key(f, ("ZNAME" + std::to_string(k)).c_str());
        const long value = IntKey(f, ("ZVAL" + std::to_string(k)).c_str(), 0);
        if (name == "BLOCKSIZE" && value > 0)
            block = static_cast<int>(value);
        else if (name == "BYTEPIX" && (value == 1 || value == 2 || value == 4 || value == 8))
            bytesPerPixel = static_cast<int>(std::min(value, 4L));
    }
    // The tiles in order: along the first axis, then the second, then the third.
    long axis[3], tile[3], tiles[3];
    const long naxis = std::clamp(IntKey(f, "ZNAXIS", 2), 1L, 3L);
    for (int k = 0; k < 3; ++k) {
        axis[k] = k < naxis ? IntKey(f, ("ZNAXIS" + std::to_string(k + 1)).c_str(), 1) : 1;
        tile[k] = IntKey(f, ("ZTILE" + std::to_string(k + 1)).c_str(), k == 0 ? axis[0] : 1);
        if (axis[k] < 1 || tile[k] < 1)
            return false;
        tiles[k] = (axis[k] + tile[k] - 1) / tile[k];
    }
    if (rows != tiles[0] * tiles[1] * tiles[2])
        return false;
    std::vector<unsigned char> code;
    for (long row = 1; row <= rows; ++row) {
        long length = 0, offset = 0;
        if (fits_read_descript(f, column, row, &length, &offset, &status))
            return false;
        long pixels = 1, index = row - 1;
        for (int k = 0; k < 3; ++k) {
            const long at = index % tiles[k];
            index /= tiles[k];
            pixels *= std::min(tile[k], axis[k] - at * tile[k]);
        }
        if (length == 0)
            continue; // a tile kept uncompressed or as floating point, elsewhere
        if (length < 0 || offset < 0 || static_cast<std::size_t>(length) > fileSize)
            return false;
        code.resize(static_cast<std::size_t>(length));
        int anyNull = 0;
        if (fits_read_col(f, TBYTE, column, row, 1, length, nullptr, code.data(), &anyNull,
                          &status) ||
            !RiceTileFits(code.data(), length, pixels, block, bytesPerPixel))
            return false;
    }
    return true;
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
    // In double: the span of float data near the type's limits overflows a float.
    double offset = 0, scale = 1;
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    if (floating && lo >= 0 && hi <= 1.0f) {
        scale = 65535.0;
    } else if (lo < 0 || hi > 65535.0f) {
        offset = lo;
        scale = span > 65535.0 ? 65535.0 / span : 1.0;
    }
    out.resize(n);
    for (long i = 0; i < n; ++i) {
        const double v = std::isfinite(grey[i]) ? (grey[i] - offset) * scale + 0.5 : 0.0;
        out[i] = static_cast<std::uint16_t>(v >= 0 ? std::min(v, 65535.0) : 0.0); // NaN: 0
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
    // cfitsio reads the memory in place (the buffer is not changed), in whole
    // records of 2880 bytes: a file cut short is read from a copy padded to a
    // whole record, never past the end of the caller's buffer.
    std::vector<char> padded;
    void* mem = const_cast<void*>(data);
    std::size_t memSize = size;
    if (size % kFitsRecord != 0) {
        padded.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
        padded.resize((size / kFitsRecord + 1) * kFitsRecord, 0);
        mem = padded.data();
        memSize = padded.size();
    }
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
    // A header may promise more than the file holds: plain data must be there in
    // full, and a compressed image may not unpack to more than a large sensor's frame
    // nor to more than any real frame's code could hold.
    int bitpix = 0, compressed = fits_is_compressed_image(f, &status);
    fits_get_img_type(f, &bitpix, &status);
    LONGLONG headerStart = 0, dataStart = 0, dataEnd = 0;
    fits_get_hduaddrll(f, &headerStart, &dataStart, &dataEnd, &status);
    const double bytes = static_cast<double>(n) * planes * (std::abs(bitpix) / 8);
    if (status || dataEnd > static_cast<LONGLONG>(memSize) ||
        (compressed
             ? n * planes > std::min<double>(kMostCompressedPixels, kMostPixelsPerCodeByte * size)
             : static_cast<double>(dataStart) + bytes > static_cast<double>(memSize))) {
        int closeStatus = 0;
        fits_close_file(f, &closeStatus);
        error = "FITS image larger than its data";
        return false;
    }
    if (compressed && !CompressionSound(f, memSize, error)) {
        int closeStatus = 0;
        fits_close_file(f, &closeStatus);
        if (error.empty())
            error = "compressed FITS image damaged";
        return false;
    }
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
