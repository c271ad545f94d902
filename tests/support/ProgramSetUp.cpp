#include "support/ProgramSetUp.h"

#include "app/AppPaths.h"
#include "dialogs/MessageBoxes.h"

#include <QDir>

TestFolders::TestFolders() {
    if (!root_.isValid())
        return;
    QDir(root_.path()).mkpath(documents());
    SetDocumentsFolderForTesting(documents());
    SetSettingsFolderForTesting(root_.path());
}

TestFolders::~TestFolders() {
    SetDocumentsFolderForTesting(QString());
    SetSettingsFolderForTesting(QString());
}

QString TestFolders::documents() const {
    return root_.filePath(QStringLiteral("docs"));
}

QString TestFolders::settingsFile() const {
    return root_.filePath(QStringLiteral("ZenithWand.ini"));
}

RecordedMessages::RecordedMessages(Record record) {
    SetMessageBoxHandlerForTesting([this, record](const QString& kind, const QString& text) {
        shown << (record == KindAndText ? kind + QStringLiteral(": ") + text : text);
        return answerYes;
    });
}

RecordedMessages::~RecordedMessages() {
    SetMessageBoxHandlerForTesting(nullptr);
}

ProgramWindows::ProgramWindows() {
    main.show();
}

ProgramWindows::~ProgramWindows() {
    main.close();
}
