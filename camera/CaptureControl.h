// Stopping the capture loop from the user-interface thread.
#pragma once

// Asks the running capture loop to end and waits until it has, serving the
// loop's pending hand-overs meanwhile so neither thread waits for the other.
// Returns at once when no loop runs.
void RequestCaptureStopAndWait();
