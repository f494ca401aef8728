#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "calculator.h"
#include "calculator_view.h"
#include "data_tools.h"
#include "program_folder.h"
#include "single_instance.h"
#include "termination_signals.h"
#include "window_placement.h"

namespace {

struct StartOptions {
    QCommandLineOption size{QStringLiteral("size"), QStringLiteral("Window size, as WIDTHxHEIGHT."),
                            QStringLiteral("size"), QStringLiteral("480x640")};
    QCommandLineOption quitAfterStart{QStringLiteral("quit-after-start"),
                                      QStringLiteral("Start (seeding the program folder), show the window and quit.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Corvan, a scientific calculator."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({size, quitAfterStart});
    }
};

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvan"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVAN_VERSION));
}

}  // namespace

int main(int argc, char** argv)
{
    const StartOptions options;
    {
        // --help and --version are answered before the window's application starts, so that
        // they work without a display. The rest, Qt's own options included, is read below.
        QCoreApplication plain(argc, argv);
        nameApplication();
        QCommandLineParser early;
        options.addTo(early);
        early.parse(QCoreApplication::arguments());
        if (early.isSet(QStringLiteral("help")))
            early.showHelp();
        if (early.isSet(QStringLiteral("version")))
            early.showVersion();
    }
    QApplication application(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    options.addTo(parser);
    parser.process(application);
    const QCommandLineOption& size = options.size;
    const QCommandLineOption& quitAfterStart = options.quitAfterStart;

    const ProgramFolder folder = ProgramFolder::fromEnvironment();
    std::vector<std::string> seedNotices;
    folder.prepare(&seedNotices);
    for (const std::string& notice : seedNotices)
        std::fprintf(stderr, "corvan: %s\n", notice.c_str());
    // One window per program folder: a second start brings the first one forward and ends.
    SingleInstance instance(QString::fromStdString(folder.path().string()));
    if (!instance.claim())
        return 0;
    if (!instance.takeoverNotice().isEmpty()) {
        const std::string notice = instance.takeoverNotice().toStdString();
        std::fprintf(stderr, "corvan: %s\n", notice.c_str());
        seedNotices.insert(seedNotices.begin(), notice);
    }
    // Only now, holding the folder, is no save of another window under way.
    folder.removeStaleTemporaries();
    const std::string writeProblem = folder.writeProblem();
    Calculator calculator(folder.path());
    DataTools tools(calculator.engine(), folder.path());
    calculator.setTools(&tools);
    calculator.start();
    CalculatorView window(calculator, folder);
    window.setToolMessages([&tools] { return tools.takeMessage(); });
    window.setDataTools(&tools);
    if (!window.skinLoaded()) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Corvan"),
            QStringLiteral("The skin could not be loaded: neither %1 nor %2 holds Interfaces/Default.inf.")
                .arg(QString::fromStdString(folder.path().string()),
                     QString::fromStdString(folder.shippedPath().string())));
        return 1;
    }
    // A logout, a closed terminal or `kill` saves what a close saves, then ends the program,
    // whatever dialog is open, the start-up messages below included.
    TerminationSignals termination;
    bool terminated = false;
    QObject::connect(&termination, &TerminationSignals::received, &window, [&window, &terminated] {
        terminated = true;
        window.closeQuietly();
        QCoreApplication::exit(0);
    });
    if (!writeProblem.empty())
        QMessageBox::warning(&window, QStringLiteral("Corvan"),
                             QString::fromStdString(ProgramFolder::writeProblemMessage(folder.path(), writeProblem)));
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    if (const std::u16string message = calculator.startMessage(); !terminated && !message.empty())
        QMessageBox::warning(&window, QStringLiteral("Corvan"), QString::fromStdU16String(message));
    if (terminated)
        return 0;
    const QStringList dimensions = parser.value(size).split(QLatin1Char('x'));
    const QSize wanted = dimensions.size() == 2 ? QSize(dimensions[0].toInt(), dimensions[1].toInt()) : QSize();
    placeOnScreen(window, wanted.isEmpty() ? window.size() : wanted);
    window.show();
    if (parser.isSet(quitAfterStart))
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    else if (!seedNotices.empty())
        QMessageBox::information(
            &window, QStringLiteral("Corvan"),
            QString::fromStdString(seedNotices.front()) +
                (seedNotices.size() > 1 ? QStringLiteral(" (and %1 more)").arg(seedNotices.size() - 1) : QString()));
    return terminated ? 0 : application.exec();
}
