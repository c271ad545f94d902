// What a window test sets up around the program, each piece undone when it goes:
//
//   TestFolders folders;        // documents and settings in a temporary folder
//   RecordedMessages boxes;     // message boxes recorded and answered, never shown
//   auto windows = std::make_unique<ProgramWindows>();   // the four windows, main shown
//   windows->main.findChild<...>(...);
//   windows.reset();            // main window closed, then all four destroyed
//
// Declare the folders and the boxes before the windows, so the windows go first.
#pragma once

#include "app/MainFormUnit.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "workflow/TraceFormUnit.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The program's documents and settings folders redirected into one temporary
// folder while it lives: the settings folder is the temporary folder itself (test
// files may go beside the settings file), the documents folder "docs" inside it.
class TestFolders {
public:
    TestFolders();
    ~TestFolders();
    TestFolders(const TestFolders&) = delete;
    TestFolders& operator=(const TestFolders&) = delete;

    bool isValid() const { return root_.isValid(); }
    // The settings folder.
    QString path() const { return root_.path(); }
    QString filePath(const QString& name) const { return root_.filePath(name); }
    QString documents() const;
    // Where the program keeps its settings here: "ZenithWand.ini" in path().
    QString settingsFile() const;

private:
    QTemporaryDir root_;
};

// Message boxes answered by the test: each one's text is recorded in `shown`
// ("kind: text" with KindAndText), and a question is answered `answerYes`.
class RecordedMessages {
public:
    enum Record { TextOnly, KindAndText };
    explicit RecordedMessages(Record record = TextOnly);
    ~RecordedMessages();
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    QStringList shown;
    bool answerYes = false;
};

// The four windows in the order the program makes them, the main window shown.
// Going away, the main window is closed first, as when the user ends the program.
struct ProgramWindows {
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TFormMain main;
    TFormAbout about;
    TFormAtmRef atmRef;
    TFormTrace trace;
};
