// Runs the end-to-end alignment scenarios and prints one line per scenario: the
// residual misalignment of the RA axis (arcseconds) and the distance between the
// pole the window shows and the true pole (pixels).
//
//   zw_alignment_scenarios                 every scenario, each in a process of its own
//   zw_alignment_scenarios --list          the scenario names
//   zw_alignment_scenarios NAME...         only these
//   zw_alignment_scenarios -v ...          also what happened along the way
//   zw_alignment_scenarios --screenshots DIR NAME [LANG]
//                                          one scenario in this process, with a
//                                          picture of the screen at each key step
//                                          (ImageMagick's import; run under a display),
//                                          the window in language LANG (EN, CN, ...)
//
// Run it from the build's bin folder (or anywhere: it finds the simulated camera
// beside itself). The exit status is 0 when every scenario completed.
#include "e2e/alignment/AlignmentScenario.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

namespace {

constexpr char kChildFlag[] = "--in-process";
constexpr char kLinePrefix[] = "@@ ";

// The child: one scenario in this process, its summary and notes on stdout.
int RunHere(const QString& name, int argc, char** argv,
            const QString& language = QStringLiteral("EN")) {
    QApplication app(argc, argv);
    const Scenario* found = FindScenario(name);
    if (!found) {
        std::fprintf(stderr, "unknown scenario %s\n", qPrintable(name));
        return 2;
    }
    Scenario scenario = *found;
    scenario.language = language;
    const Scenario* s = &scenario;
    const ScenarioResult r = RunScenario(*s);
    std::printf("%s%s\n", kLinePrefix, qPrintable(SummaryLine(*s, r)));
    for (const QString& note : r.notes)
        std::printf("    %s\n", qPrintable(note));
    std::fflush(stdout);
    return r.completed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 2 && args[0] == QLatin1String(kChildFlag))
        return RunHere(args[1], argc, argv);
    if ((args.size() == 3 || args.size() == 4) && args[0] == QLatin1String("--screenshots")) {
        const QString dir = args[1];
        SetStepObserver([dir](const QString& moment) {
            QProcess::execute(QStringLiteral("import"),
                              {QStringLiteral("-window"), QStringLiteral("root"),
                               dir + QLatin1Char('/') + moment + QStringLiteral(".png")});
        });
        return RunHere(args[2], argc, argv,
                       args.size() == 4 ? args[3].toUpper() : QStringLiteral("EN"));
    }

    QCoreApplication app(argc, argv);
    bool verbose = args.removeAll(QStringLiteral("-v")) > 0;
    if (args.contains(QStringLiteral("--list"))) {
        for (const Scenario& s : AllScenarios())
            std::printf("%s\n", qPrintable(s.name));
        return 0;
    }
    QStringList names = args;
    if (names.isEmpty())
        for (const Scenario& s : AllScenarios())
            names << s.name;

    int failed = 0;
    for (const QString& name : names) {
        // Each scenario in a fresh process, as each session of the program starts.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(kChildFlag), name});
        child.waitForFinished(-1);
        const QStringList out = QString::fromLocal8Bit(child.readAllStandardOutput())
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        bool printed = false;
        for (const QString& line : out) {
            if (line.startsWith(QLatin1String(kLinePrefix))) {
                std::printf("%s\n", qPrintable(line.mid(3)));
                printed = true;
            } else if (verbose && line.startsWith(QLatin1String("    "))) {
                std::printf("%s\n", qPrintable(line));
            }
        }
        if (!printed)
            std::printf("%-22s  FAILED: the scenario process ended (status %d)\n", qPrintable(name),
                        child.exitCode());
        std::fflush(stdout);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            ++failed;
    }
    return failed == 0 ? 0 : 1;
}
