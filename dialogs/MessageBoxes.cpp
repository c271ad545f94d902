#include "dialogs/MessageBoxes.h"

#include "display/NightWindows.h"

#include <QMessageBox>

namespace {
std::function<QString(const QString&)>& translator() {
    static std::function<QString(const QString&)> t;
    return t;
}
MessageBoxHandler& testHandler() {
    static MessageBoxHandler h;
    return h;
}
} // namespace

void SetMessageTranslator(std::function<QString(const QString&)> translate) {
    translator() = std::move(translate);
}

QString TranslateMessage(const QString& text) {
    return translator() ? translator()(text) : text;
}

void SetMessageBoxHandlerForTesting(MessageBoxHandler handler) {
    testHandler() = std::move(handler);
}

void ShowMessage(const QString& text) {
    const QString shown = TranslateMessage(text);
    if (testHandler()) {
        testHandler()(QStringLiteral("message"), shown);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ZenithWand"), shown, QMessageBox::Ok);
    DressForNight(box);
    box.exec();
}

bool AskYesNo(const QString& text) {
    const QString shown = TranslateMessage(text);
    if (testHandler())
        return testHandler()(QStringLiteral("question"), shown);
    QMessageBox box(QMessageBox::Information, QStringLiteral("ZenithWand"), shown,
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    DressForNight(box);
    return box.exec() == QMessageBox::Yes;
}
