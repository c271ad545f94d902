// The alignment read-out below the pole close-up of the monitor mode.
//
// Usage (ShowPoleView, on the user-interface thread, inside the hand-over):
//   ShowAlignmentReadout(*form, *g_displayThread);
//
// Adds the tracker's error of the frame to the window's smoother, keeps the
// smoothed values in form.alignmentReadout (what guidance reads) and shows them in
// the label "Label_alignReadout" of the "Precise Pole" panel (made on first use),
// in the language in force. Logs the plate scale once per monitor start.
#pragma once

class TFormMain;
class DisplayThread;
class QLabel;

void ShowAlignmentReadout(TFormMain& form, const DisplayThread& thread);

// A new monitor run, or none: the smoothed figures, the shown text and the plate
// scale's log line start afresh.
void ClearAlignmentReadout(TFormMain& form);

// The label, made and placed below the close-up when it is not there yet.
QLabel* AlignmentReadoutLabel(TFormMain& form);
