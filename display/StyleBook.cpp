#include "display/StyleBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <QWidget>

namespace {
// The name of the file a window's style book holds, kept on the window itself.
constexpr const char* kLoadedStyleProperty = "zwStyleFile";
} // namespace

QString StyleFileFor(const QString& style) {
    if (style == QLatin1String("Mono"))
        return QStringLiteral("Blend.Style");
    if (style == QLatin1String("Color"))
        return QStringLiteral("Dark.Style");
    if (style == QLatin1String("Night"))
        return QStringLiteral("Night.Style");
    return {};
}

QString FindStyleFile(const QString& fileName) {
    // Beside the program, where an installed program keeps them, then the current folder.
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {program, QDir(program).filePath(QStringLiteral("../share/zenithwand")),
          QDir::currentPath()}) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool LoadStyleFile(QWidget* window, const QString& fileName) {
    if (!window || fileName.isEmpty())
        return false;
    if (window->property(kLoadedStyleProperty).toString() == fileName)
        return false;
    QFile file(FindStyleFile(fileName));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    window->setStyleSheet(QString::fromUtf8(file.readAll()));
    window->setProperty(kLoadedStyleProperty, fileName);
    return true;
}

bool ApplyStyleWord(QWidget* window, const QString& style) {
    const QString file = StyleFileFor(style);
    if (file.isEmpty())
        return false;
    LoadStyleFile(window, file);
    return true;
}
