#include "camera/DisplayThread.h"

DisplayThread::DisplayThread() = default;
DisplayThread::~DisplayThread() = default;

void DisplayThread::run() { Execute(); }

void DisplayThread::Execute() {}
