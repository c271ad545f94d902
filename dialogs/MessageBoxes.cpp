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

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& kind, const QString& shown) {
    std::unique_ptr<QMessageBox> box;
    if (kind == QLatin1String("question")) {
        box = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("ZenithWand"),
                                            shown, QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
    } else {
        box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("ZenithWand"),
                                            shown, QMessageBox::Ok);
    }
    DressForNight(*box);
    return box;
}

void ShowMessage(const QString& text) {
    const QString shown = TranslateMessage(text);
    if (testHandler()) {
        testHandler()(QStringLiteral("message"), shown);
        return;
    }
    MakeMessageBox(QStringLiteral("message"), shown)->exec();
}

bool AskYesNo(const QString& text) {
    const QString shown = TranslateMessage(text);
    if (testHandler())
        return testHandler()(QStringLiteral("question"), shown);
    return MakeMessageBox(QStringLiteral("question"), shown)->exec() == QMessageBox::Yes;
}
