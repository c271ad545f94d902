// The view controls' helpers: the next of the three zooms for "Zoom In" and "Zoom Out",
//
//   NextZoom(0.75f, +1) == 1.0f;   NextZoom(0.5f, -1) == 0.5f
//
// and hooks of the view controls for tests: the file chosen in the "Save As BMP"
// dialog can come from a function instead of the modal dialog.
//
//   SetSaveFileChooserForTesting([](QWidget*) { return dir.filePath("frame"); });
//   FormMain->MenuItem_saveClick();        // writes frame.bmp
//   SetSaveFileChooserForTesting({});      // the real dialog again
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Returns the chosen file name, or an empty text when the user cancelled.
using SaveFileChooser = std::function<QString(QWidget* parent)>;
void SetSaveFileChooserForTesting(SaveFileChooser chooser);

// The path "Save As BMP" writes for a chosen name: ".bmp" is always appended.
QString BmpPathFor(const QString& chosenName);

// The next zoom of the three (50 %, 75 %, 100 %) in a direction: +1 larger, -1
// smaller; the ends stay where they are. Any other current value counts as 100 %.
float NextZoom(float current, int direction);
