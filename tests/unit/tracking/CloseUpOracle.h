// The pole close-up made the plain way, for comparison with the fast one: the
// whole frame magnified 5x (bilinear) and converted to colour, the marks drawn at
// their magnified positions, the 200x200 square cut out around the axis centre.
#pragma once

#include "astro/CloseUp.h"

#include <opencv2/core.hpp>

// Draws both marks on an image holding the magnified frame from magnified pixel
// -shift on (shift: the padding added on the left and top).
void OracleDrawMarks(cv::Mat& image, cv::Point shift, double axisX, double axisY, double poleX,
                     double poleY, const CloseUpColours& colours);

// The whole frame magnified into zoomGray (6400x4800) and zoomColor; the marks
// drawn on zoomColor; the square at (trunc(5 axisX - 100), trunc(5 axisY - 100))
// copied to crop. The square must lie inside the magnified frame.
void OracleCloseUp(const cv::Mat& frame, double axisX, double axisY, double poleX, double poleY,
                   const CloseUpColours& colours, cv::Mat& zoomGray, cv::Mat& zoomColor,
                   cv::Mat& crop);
