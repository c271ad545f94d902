#include "camera/DisplayThread.h"

void DisplayThread::TrackRefStars() {}
void DisplayThread::SetRefStarA(double, double) {}
void DisplayThread::SetRefStarB(double, double) {}
void DisplayThread::SetCirCenter(int, double, double) {}
void DisplayThread::SetEptNStar(double, double) {}
