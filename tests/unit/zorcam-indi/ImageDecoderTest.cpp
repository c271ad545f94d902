// Reading the images camera drivers send.
#include "zorcam-indi/ImageDecoder.h"

#include <limits>

#include <gtest/gtest.h>

#include <fitsio.h>
#include <opencv2/imgcodecs.hpp>

#include <cstdlib>

#include <cstring>
#include <string>
#include <vector>

using zorcamindi::DecodedImage;
using zorcamindi::DecodeImage;
using zorcamindi::ShiftBayer;

namespace {

// A FITS file in memory: header cards, then big-endian data in 2880-byte blocks.
std::vector<char> Fits(int bitpix, int w, int h, const std::vector<std::string>& extraCards,
                       const std::vector<long>& values, long bzero = 0) {
    std::vector<std::string> cards = {
        "SIMPLE  =                    T",
        "BITPIX  = " + std::string(20 - std::to_string(bitpix).size(), ' ') +
            std::to_string(bitpix),
        "NAXIS   =                    2",
        "NAXIS1  = " + std::string(20 - std::to_string(w).size(), ' ') + std::to_string(w),
        "NAXIS2  = " + std::string(20 - std::to_string(h).size(), ' ') + std::to_string(h)};
    if (bzero)
        cards.push_back("BZERO   = " + std::string(20 - std::to_string(bzero).size(), ' ') +
                        std::to_string(bzero));
    cards.insert(cards.end(), extraCards.begin(), extraCards.end());
    cards.push_back("END");
    std::string header;
    for (auto c : cards) {
        c.resize(80, ' ');
        header += c;
    }
    header.resize((header.size() + 2879) / 2880 * 2880, ' ');
    std::vector<char> out(header.begin(), header.end());
    const int bytes = bitpix / 8;
    for (long v : values) {
        const long stored = v - bzero;
        for (int b = bytes - 1; b >= 0; --b)
            out.push_back(static_cast<char>((stored >> (8 * b)) & 0xff));
    }
    out.resize((out.size() + 2879) / 2880 * 2880, 0);
    return out;
}

TEST(ImageDecoder, ReadsFitsOf8And16BitsWithTheirMosaic) {
    struct Case {
        int bitpix;
        long bzero;
        std::vector<std::string> cards;
        std::vector<long> values;
        int bits;
        std::string bayer;
    };
    const Case cases[] = {
        {16, 32768, {"BAYERPAT= 'RGGB    '"}, {0, 1000, 65535, 40000, 7, 8}, 16, "RGGB"},
        {16,
         32768,
         {"BAYERPAT= 'RGGB    '", "XBAYROFF=                    1"},
         {1, 2, 3, 4, 5, 6},
         16,
         "GRBG"},
        {8, 0, {}, {0, 10, 255, 128, 1, 2}, 8, ""},
    };
    for (const Case& c : cases) {
        const std::vector<char> file = Fits(c.bitpix, 3, 2, c.cards, c.values, c.bzero);
        DecodedImage img;
        std::string why;
        ASSERT_TRUE(DecodeImage(file.data(), file.size(), ".fits", img, why)) << why;
        EXPECT_EQ(img.width, 3);
        EXPECT_EQ(img.height, 2);
        EXPECT_EQ(img.bitsPerPixel, c.bits);
        EXPECT_EQ(img.bayer, c.bayer);
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            const long got = c.bits == 8 ? img.pixels8[i] : img.pixels16[i];
            EXPECT_EQ(got, c.values[i]) << i;
        }
    }
}

TEST(ImageDecoder, ReadsPicturesAsGreyAndRefusesGarbage) {
    cv::Mat grey(4, 6, CV_8UC1, cv::Scalar(90));
    std::vector<unsigned char> png;
    ASSERT_TRUE(cv::imencode(".png", grey, png));
    DecodedImage img;
    std::string why;
    ASSERT_TRUE(DecodeImage(png.data(), png.size(), ".png", img, why)) << why;
    EXPECT_EQ(img.width, 6);
    EXPECT_EQ(img.bitsPerPixel, 8);
    EXPECT_EQ(img.pixels8[5], 90);

    const char junk[] = "SIMPLE nonsense that is no image at all";
    EXPECT_FALSE(DecodeImage(junk, sizeof junk, ".fits", img, why));
    EXPECT_FALSE(DecodeImage(junk, sizeof junk, ".jpg", img, why));
    EXPECT_FALSE(DecodeImage(nullptr, 0, ".fits", img, why));
}

TEST(ImageDecoder, ShiftsTheMosaicOrigin) {
    EXPECT_EQ(ShiftBayer("RGGB", 0, 0), "RGGB");
    EXPECT_EQ(ShiftBayer("RGGB", 1, 0), "GRBG");
    EXPECT_EQ(ShiftBayer("RGGB", 0, 1), "GBRG");
    EXPECT_EQ(ShiftBayer("RGGB", 1, 1), "BGGR");
}

// A FITS file written by cfitsio into memory: one image of `bitpix` (cfitsio's
// USHORT_IMG is BITPIX 16 with BZERO 32768), the values given per plane, a ROWORDER
// card when given, tile-compressed when asked.
struct FitsImage {
    int bitpix = USHORT_IMG;
    int planes = 1;
    const char* rowOrder = nullptr;
    bool compressed = false;
};

std::vector<char> WriteFits(const FitsImage& form, int w, int h,
                            const std::vector<double>& stored) {
    std::size_t size = 2880;
    void* mem = std::malloc(size);
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_memfile(&f, &mem, &size, 2880, std::realloc, &status);
    if (form.compressed)
        fits_set_compression_type(f, RICE_1, &status);
    long axes[3] = {w, h, form.planes};
    fits_create_img(f, form.bitpix, form.planes > 1 ? 3 : 2, axes, &status);
    if (form.rowOrder)
        fits_write_key(f, TSTRING, "ROWORDER", const_cast<char*>(form.rowOrder), nullptr, &status);
    std::vector<double> data = stored;
    std::vector<unsigned short> words(stored.begin(), stored.end());
    if (form.compressed) // cfitsio compresses integer images from integers only
        fits_write_img(f, TUSHORT, 1, static_cast<LONGLONG>(words.size()), words.data(), &status);
    else
        fits_write_img(f, TDOUBLE, 1, static_cast<LONGLONG>(data.size()), data.data(), &status);
    fits_close_file(f, &status);
    if (status)
        ADD_FAILURE() << "cfitsio status " << status;
    std::vector<char> out;
    if (status == 0)
        out.assign(static_cast<char*>(mem), static_cast<char*>(mem) + size);
    std::free(mem);
    return out;
}

// One small star field stored every way a driver may store it: each decodes to
// the same 16-bit picture, the right way up.
TEST(ImageDecoder, EveryStorageOfOnePictureDecodesToTheSamePixels) {
    const int w = 7, h = 5;
    std::vector<double> picture(w * h);
    for (int i = 0; i < w * h; ++i)
        picture[i] = 900 + 37 * i; // distinct rows, so a mirrored frame shows
    picture[2 * w + 3] = 60000;    // a star
    const auto map = [&](double scale, double offset, bool flip, int planes) {
        std::vector<double> v;
        for (int p = 0; p < planes; ++p)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    v.push_back(picture[(flip ? h - 1 - y : y) * w + x] * scale + offset);
        return v;
    };
    struct Case {
        const char* name;
        FitsImage form;
        std::vector<double> stored;
    };
    const Case cases[] = {
        {"unsigned 16 bit", {}, map(1, 0, false, 1)},
        {"bottom-up", {USHORT_IMG, 1, "BOTTOM-UP"}, map(1, 0, true, 1)},
        {"top-down said", {USHORT_IMG, 1, "TOP-DOWN"}, map(1, 0, false, 1)},
        {"compressed", {USHORT_IMG, 1, nullptr, true}, map(1, 0, false, 1)},
        {"compressed bottom-up", {USHORT_IMG, 1, "BOTTOM-UP", true}, map(1, 0, true, 1)},
        // Signed data is moved up as a whole: the same levels 32768 higher.
        {"signed 16 bit without BZERO", {SHORT_IMG}, map(1, -32768, false, 1)},
        {"32-bit integers", {LONG_IMG}, map(1, 0, false, 1)},
        {"32-bit float", {FLOAT_IMG}, map(1, 0, false, 1)},
        {"64-bit float of 0..1", {DOUBLE_IMG}, map(1 / 65535.0, 0, false, 1)},
        {"RGB planes", {USHORT_IMG, 3}, map(1, 0, false, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<char> file = WriteFits(c.form, w, h, c.stored);
        ASSERT_FALSE(file.empty());
        DecodedImage img;
        std::string why;
        ASSERT_TRUE(DecodeImage(file.data(), file.size(), c.form.compressed ? ".fits.fz" : ".fits",
                                img, why))
            << why;
        ASSERT_EQ(img.width, w);
        ASSERT_EQ(img.height, h);
        ASSERT_EQ(img.bitsPerPixel, 16);
        ASSERT_EQ(img.pixels16.size(), picture.size());
        for (int i = 0; i < w * h; ++i)
            EXPECT_NEAR(img.pixels16[i], picture[i], 1.0) << "pixel " << i;
    }
}

// Float data that spans the whole float range (a damaged or hostile frame) still maps
// into 16 bits: the lowest value black, the highest white, nothing undefined.
TEST(ImageDecoder, FloatDataOverTheWholeFloatRangeMapsInto16Bits) {
    const float big = std::numeric_limits<float>::max();
    const std::vector<double> stored = {-big, 0, big, -big, big, 0};
    const std::vector<char> file = WriteFits({FLOAT_IMG}, 3, 2, stored);
    ASSERT_FALSE(file.empty());
    DecodedImage img;
    std::string why;
    ASSERT_TRUE(DecodeImage(file.data(), file.size(), ".fits", img, why)) << why;
    ASSERT_EQ(img.pixels16.size(), 6u);
    EXPECT_EQ(img.pixels16[0], 0);
    EXPECT_NEAR(img.pixels16[1], 32768, 1);
    EXPECT_EQ(img.pixels16[2], 65535);
}

// Damaged frames are refused with a reason, never read past their end: a file cut
// short, and a compressed one whose code was overwritten.
TEST(ImageDecoder, RefusesFramesCutShortOrWithDamagedCode) {
    std::vector<double> picture(64 * 48);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = 1000 + (i * 7919) % 3000;
    std::vector<char> plain = WriteFits({}, 64, 48, picture);
    std::vector<char> packed = WriteFits({USHORT_IMG, 1, nullptr, true}, 64, 48, picture);
    ASSERT_FALSE(plain.empty());
    ASSERT_FALSE(packed.empty());
    plain.resize(plain.size() / 2);
    // The tiles' code lies in the last record of the file: zeros make every run of
    // the code unending.
    std::fill(packed.end() - 2880, packed.end(), 0);
    const struct {
        const std::vector<char>* file;
        const char* why;
    } cases[] = {{&plain, "larger than its data"}, {&packed, "damaged"}};
    for (const auto& c : cases) {
        DecodedImage img;
        std::string why;
        EXPECT_FALSE(DecodeImage(c.file->data(), c.file->size(), ".fits", img, why));
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
}

} // namespace
