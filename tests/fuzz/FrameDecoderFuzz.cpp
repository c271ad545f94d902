// The camera library's frame decoder and converter on any bytes: whatever it
// decodes is a whole image of the size it says, and converts into a frame.
#include "tests/fuzz/FuzzCheck.h"
#include "zorcam-indi/FrameConverter.h"
#include "zorcam-indi/ImageDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using zorcamindi::DecodedImage;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Pictures that claim a huge size are refused by the picture reader before it
    // allocates (a camera frame is far smaller).
    setenv("OPENCV_IO_MAX_IMAGE_PIXELS", "40000000", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the format the driver named; the rest is the image.
    static const char* const kFormats[] = {".fits", ".fits.fz", ".jpeg", ".png", ".fit"};
    if (size < 1)
        return 0;
    const std::string format = kFormats[data[0] % 5];
    DecodedImage image;
    std::string why;
    if (!zorcamindi::DecodeImage(data + 1, size - 1, format, image, why)) {
        FUZZ_CHECK(!why.empty());
        return 0;
    }
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    const std::size_t n = static_cast<std::size_t>(image.width) * image.height;
    FUZZ_CHECK(image.bitsPerPixel == 8 || image.bitsPerPixel == 16);
    FUZZ_CHECK((image.bitsPerPixel == 8 ? image.pixels8.size() : image.pixels16.size()) == n);
    FUZZ_CHECK(image.bayer.empty() || image.bayer.size() == 4);

    zorcamindi::ConversionSettings settings;
    settings.pixelSizeUm = 3.76;
    settings.focalLengthMm = 5 + data[0] % 50;
    zorcamindi::FrameConverter converter(settings);
    std::vector<unsigned char> out(zorcamindi::FrameConverter::kOutputBytes);
    const bool converted = converter.Convert(image.Raw(), out.data());
    // Only a frame below 2 x 2 or of an unknown mosaic is refused.
    FUZZ_CHECK(converted || image.width < 2 || image.height < 2 ||
               zorcamindi::BayerToGreyCode(image.bayer) < 0);
    return 0;
}
