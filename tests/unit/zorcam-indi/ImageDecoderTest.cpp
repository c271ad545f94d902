// Reading the images camera drivers send.
#include "zorcam-indi/ImageDecoder.h"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

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

} // namespace
