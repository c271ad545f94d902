// The program's command line: --help, --version and --camera-library.
//
// Usage (in main, before the application object exists, so that --help and
// --version work without a display):
//   const CommandLine cl = ParseCommandLine(ArgumentsOf(argc, argv), g_appVersion);
//   if (cl.exitNow) {
//       (cl.exitCode == 0 ? stdout : stderr) << cl.text;
//       return cl.exitCode;
//   }
//   if (!cl.cameraLibrary.isEmpty()) SetCameraLibraryOverride(cl.cameraLibrary);
//
// Exit codes: 0 after --help or --version, 2 for an unknown option, a missing
// value or a stray argument (the text is then a short usage note). The toolkit's
// own options (-platform, -style, ...) are accepted and left to the toolkit.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    bool exitNow = false;  // print text and end with exitCode
    int exitCode = 0;      // 0 help or version, 2 a wrong command line
    QString text;          // help, version or usage text, ending in a new line
    QString cameraLibrary; // base name ("zorcam-indi") or path; empty: the default
};

inline constexpr int kCommandLineUsageError = 2;

// arguments[0] is the program's name as started.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& appVersion);

// argv as text in the locale's encoding.
QStringList ArgumentsOf(int argc, char** argv);
