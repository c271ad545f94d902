// The plain whole-frame centroiding the fast routines must agree with: each call
// median-filters the entire frame, copies the window out of it, subtracts the
// threshold with OpenCV's saturating scalar addition and takes OpenCV's moments.
// Logs nothing.
#pragma once

#include <opencv2/core/mat.hpp>

int OracleGravityCenter(const cv::Mat& image, double x, double y, double& outX, double& outY);
int OraclePreciseStarPos(const cv::Mat& image, double x, double y, double& outX, double& outY);
