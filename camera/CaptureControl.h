// Starting and stopping the capture loop from the user-interface thread.
//
// Usage (user-interface thread only):
//   StartCaptureLoop(clock);       // connect: after a loop that is ending has ended
//   RequestCaptureStop();          // disconnect: returns at once
//   RequestCaptureStopAndWait();   // close: returns when the loop has ended
//
// At most one loop runs at a time: a start first waits for a loop that was asked
// to stop. The waits serve the loop's pending hand-overs, so neither thread waits
// for the other.
#pragma once

#include "core/Clock.h"

#include <memory>

// Creates and starts a new DisplayThread in g_displayThread, reading `clock` (the
// window's; the real time when null), unless a loop that was not asked to stop is
// still running. Returns true when it started one.
bool StartCaptureLoop(std::shared_ptr<const Clock> clock = nullptr);

// Asks the running capture loop to end. Returns at once when no loop runs.
void RequestCaptureStop();

// Asks the running capture loop to end and waits until it has; the thread object
// is then freed (g_displayThread becomes null). Returns at once when no loop runs.
void RequestCaptureStopAndWait();
