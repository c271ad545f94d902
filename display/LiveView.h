// The per-frame display routines that the capture thread hands to the
// user-interface thread (each runs there while the capture thread waits).
#pragma once

#include <QImage>
#include <opencv2/core.hpp>

// Converts the current frame to colour, draws the marks whose flags are set and
// copies the result into the view bitmap; sets g_viewUpdatePending.
void RenderLiveView();
// Puts the view bitmap into the live image at the current zoom.
void ShowLiveView();
// Shows the pole close-up and the position read-outs.
void ShowPoleView();
// Copies a blue-green-red image into a bitmap of the same size.
void CopyImageToBitmap(const cv::Mat& image, QImage& bitmap);
