#include "camera/CaptureControl.h"

void RequestCaptureStopAndWait() {}
