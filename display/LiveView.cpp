#include "display/LiveView.h"

void RenderLiveView() {}
void ShowLiveView() {}
void ShowPoleView() {}
void CopyImageToBitmap(const cv::Mat&, QImage&) {}
