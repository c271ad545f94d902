// The style book of a window: loads a style file ("Blend.Style", "Dark.Style",
// "Night.Style", Qt style sheets) beside the program, else in the current folder, and applies
// it to the window. The same file name again loads nothing; a missing file
// leaves the window's look as it is.
//
//   ApplyStyleWord(this, "Mono");  // Blend.Style; "Color": Dark.Style; "Night": Night.Style;
//                                  // other words: nothing
#pragma once

#include <QString>

class QWidget;

// The style file of a style word: "Blend.Style" for "Mono", "Dark.Style" for
// "Color", "Night.Style" for "Night", empty for every other word.
QString StyleFileFor(const QString& style);

// Where a style file is found: beside the program, then in the current folder;
// empty when it is in neither.
QString FindStyleFile(const QString& fileName);

// Loads fileName into window's style book unless it is the one loaded last.
// Returns true when the window's style sheet was set.
bool LoadStyleFile(QWidget* window, const QString& fileName);

// StyleFileFor(style) loaded into the window; false for other words.
bool ApplyStyleWord(QWidget* window, const QString& style);
