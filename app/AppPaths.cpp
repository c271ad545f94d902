#include "app/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString& documentsOverride() {
    static QString s;
    return s;
}
QString& settingsOverride() {
    static QString s;
    return s;
}
} // namespace

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

bool IsInstalledProgram(const QString& programFolder) {
    return QFileInfo(QDir(programFolder).filePath(QStringLiteral("../share/zenithwand"))).isDir();
}

QString DocumentsFolder() {
    if (!documentsOverride().isEmpty())
        return documentsOverride();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString SettingsFilePath() {
    const QString name = QStringLiteral("ZenithWand.ini");
    if (!settingsOverride().isEmpty())
        return QDir(settingsOverride()).filePath(name);
    const QString program = ProgramFolder();
    const QFileInfo folder(program);
    if (folder.isDir() && folder.isWritable() && !IsInstalledProgram(program))
        return QDir(program).filePath(name);
    QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config/ZenithWand");
    QDir().mkpath(config);
    return QDir(config).filePath(name);
}

QString LogFolderFor(const QString& documents, const QDateTime& start) {
    return documents + QStringLiteral("/ZenithWand/logs ") +
           start.date().toString(QStringLiteral("yyyy-MM-dd"));
}

QString LogFileFor(const QString& folder, const QDateTime& start) {
    return folder + QStringLiteral("/ZenithWand.") +
           start.time().toString(QStringLiteral("hh.mm.ss.zzz")) + QStringLiteral(".log");
}

void SetDocumentsFolderForTesting(const QString& folder) { documentsOverride() = folder; }
void SetSettingsFolderForTesting(const QString& folder) { settingsOverride() = folder; }
