// Hooks of the view controls for tests: the file chosen in the "Save As BMP"
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
