// The colours of the night style's marks, in the image's byte order (blue, green,
// red), for the live view, the pole close-up and the template overlay.
//
// Usage:
//   cv::line(image, a, b, kNightPole, 1);        // the pole mark and the axis circle
//   if (g <= kNightMaxGreenBlue && b <= kNightMaxGreenBlue) ...  // the night limit
//
// Every colour keeps green and blue at or below kNightMaxGreenBlue, so nothing the
// night style draws lifts the eye out of its dark adaptation; the marks differ by
// their red level and by a little green or blue, each pair by more than
// kNightMinMarkDistance (Euclidean, 0-255 per channel).
#pragma once

#include <opencv2/core.hpp>

// (GreyToRedRamp below: an 8-bit grey image onto the red ramp, into an image of the
// same size, which may be a region of a larger one.)

// No pixel of the night style is brighter than this in green or in blue.
inline constexpr int kNightMaxGreenBlue = 40;
// Two marks of the night style differ by more than this (RGB distance).
inline constexpr double kNightMinMarkDistance = 40.0;

inline const cv::Scalar kNightPole(0, 40, 255);        // pole mark and axis circle: orange-red
inline const cv::Scalar kNightAxis(40, 0, 255);        // RA-axis mark: crimson
inline const cv::Scalar kNightRefStar(40, 40, 200);    // reference-star crosses: pale red
inline const cv::Scalar kNightRefStarBox(40, 40, 100); // reference-star boxes: dark red
inline const cv::Scalar kNightRing(0, 0, 150);         // expected pole-star ring: deep red
inline const cv::Scalar kNightTemplate(0, 0, 210);     // template overlay: plain red

// The scale guides of the monitor mode: 30", 1', 5' rings and the zenith arrow.
inline const cv::Scalar kNightGuide30(30, 30, 230);
inline const cv::Scalar kNightGuide60(0, 0, 180);
inline const cv::Scalar kNightGuide300(0, 0, 120);
inline const cv::Scalar kNightGuideArrow(20, 40, 255);

// An 8-bit single-channel image as blue-green-red (0, 0, grey) in out, which is made
// CV_8UC3 of the same size unless it already is (a region of a larger image stays one).
inline void GreyToRedRamp(const cv::Mat& grey, cv::Mat& out) {
    CV_Assert(grey.type() == CV_8UC1 && grey.data != out.data);
    out.create(grey.size(), CV_8UC3);
    out.setTo(cv::Scalar::all(0));
    const int fromTo[] = {0, 2};
    cv::mixChannels(&grey, 1, &out, 1, fromTo, 1);
}
