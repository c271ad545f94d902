#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

const QString kCameraLibrary = QStringLiteral("camera-library");

// Options the toolkit reads itself; they pass through without a word in the help.
// The ones with a value take the next argument.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"style", true},           {"stylesheet", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true},
    {"qwindowicon", true},     {"display", true},
    {"session", true},         {"reverse", false},
};

QString ProgramName(const QStringList& arguments) {
    const QString name =
        arguments.isEmpty() ? QString() : QFileInfo(arguments.constFirst()).fileName();
    return name.isEmpty() ? QStringLiteral("zenithwand") : name;
}

// QCommandLineParser's own help begins with the program path as started; ours
// names the program as a user types it.
QString HelpText(const QCommandLineParser& parser, const QString& program) {
    QString text = parser.helpText();
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    return QStringLiteral("Usage: %1 [options]").arg(program) + text.mid(lineEnd);
}

CommandLine Exit(int code, const QString& text) {
    CommandLine result;
    result.exitNow = true;
    result.exitCode = code;
    result.text = text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n');
    return result;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& appVersion) {
    const QString program = ProgramName(arguments);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Polar alignment of an equatorial mount with a camera on its polar axis."));
    // "-platform offscreen" is one word with a single dash, as the toolkit writes it.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version and exit."));
    const QCommandLineOption cameraLibrary(
        kCameraLibrary,
        QStringLiteral("Load the camera library <library> instead of zorcam: a base name "
                       "(zorcam-indi) looked up beside the program, in its library "
                       "folder and on the system's search path, or the path of a file."),
        QStringLiteral("library"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(cameraLibrary);
    for (const ToolkitOption& o : kToolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(o.name));
        if (o.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QString usage = QStringLiteral("Usage: %1 [--help] [--version] [--camera-library "
                                         "<library>]\nTry '%1 --help' for more information.\n")
                              .arg(program);
    QStringList withProgram = arguments;
    if (withProgram.isEmpty())
        withProgram << program;
    if (!parser.parse(withProgram))
        return Exit(kCommandLineUsageError, program + QStringLiteral(": ") + parser.errorText() +
                                                QLatin1Char('\n') + usage);
    if (parser.isSet(help))
        return Exit(0, HelpText(parser, program));
    if (parser.isSet(version))
        return Exit(0, QStringLiteral("ZenithWand ") + appVersion);
    if (!parser.positionalArguments().isEmpty())
        return Exit(kCommandLineUsageError, program + QStringLiteral(": unexpected argument '") +
                                                parser.positionalArguments().constFirst() +
                                                QStringLiteral("'\n") + usage);

    CommandLine result;
    if (parser.isSet(cameraLibrary)) {
        result.cameraLibrary = parser.value(cameraLibrary).trimmed();
        if (result.cameraLibrary.isEmpty())
            return Exit(kCommandLineUsageError,
                        program +
                            QStringLiteral(": --camera-library needs a library name or "
                                           "path\n") +
                            usage);
    }
    return result;
}

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
