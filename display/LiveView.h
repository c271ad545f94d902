// The per-frame display routines that the capture thread hands to the
// user-interface thread (each runs there while the capture thread waits).
//
// Per frame: RenderLiveView(); if g_viewUpdatePending: ShowLiveView() and clear
// the flag; after the tracker, when g_zoomReady: ShowPoleView().
#pragma once

#include <QImage>
#include <opencv2/core.hpp>

// Converts the current frame to colour, draws the marks whose flags are set and
// copies the result into the view bitmap; sets g_viewUpdatePending. Also keeps
// a copy of the frame as the camera delivered it, for "Save As BMP".
void RenderLiveView();
// Puts the view bitmap into the live image at the current zoom.
void ShowLiveView();
// Shows the pole close-up and the position read-outs.
void ShowPoleView();
// Copies a blue-green-red image into a bitmap of the same size (resized when it
// differs), alpha 255. Nothing happens for an empty image or one that is not
// 8-bit with three channels.
void CopyImageToBitmap(const cv::Mat& image, QImage& bitmap);

// The last frame exactly as the camera delivered it (1280 x 960, 8-bit grey):
// the copy taken inside the last hand-over while a capture loop has run, else
// the receive buffer itself. User-interface thread only.
void CopyLastReceivedFrame(cv::Mat& out);

// The last frame as the live view showed it: the stretched frame of the last
// hand-over when the stretch was on, else CopyLastReceivedFrame. User-interface
// thread only.
void CopyLastShownFrame(cv::Mat& out);
// The window clock's moment (UTC seconds) when that frame was received
// (DisplayThread::LastFrameUtcSeconds at the hand-over); 0 before the first.
// User-interface thread only.
double LastShownFrameUtcSeconds();
