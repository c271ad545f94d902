// The program's modal message boxes, built alike: the text passes through the
// active label dictionary first (only a text that is a dictionary key changes).
//
//   ShowMessage("Get the Star Position failed, please try again.");
//   if (AskYesNo(tips.ChoiseRecordTip)) ...      // information kind, No the default
//
// Tests replace the boxes with SetMessageBoxHandlerForTesting so nothing modal
// blocks an offscreen run; the handler receives the translated text.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;

void ShowMessage(const QString& text);
bool AskYesNo(const QString& text);

// The box that ShowMessage (kind "message") or AskYesNo ("question") shows for a
// text already translated, made but not shown; in the night style in red shades.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& kind, const QString& shown);

// Translation applied to every message text (installed by the language switch).
void SetMessageTranslator(std::function<QString(const QString&)> translate);
QString TranslateMessage(const QString& text);

// kind: "message" or "question"; the handler's result answers a question (true = Yes).
using MessageBoxHandler = std::function<bool(const QString& kind, const QString& text)>;
void SetMessageBoxHandlerForTesting(MessageBoxHandler handler);
