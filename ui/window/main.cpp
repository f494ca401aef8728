#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "data_tools.h"
#include "calculator.h"
#include "calculator_view.h"
#include "program_folder.h"
#include "single_instance.h"
#include "termination_signals.h"
#include "window_placement.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvan"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvan, a scientific calculator."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window to a PNG file and quit."),
                                        QStringLiteral("file"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Window size, as WIDTHxHEIGHT."),
                                  QStringLiteral("size"), QStringLiteral("480x640"));
    const QCommandLineOption keys(QStringLiteral("keys"),
                                  QStringLiteral("Key codes to press before the screenshot."), QStringLiteral("codes"));
    const QCommandLineOption category(QStringLiteral("category"),
                                      QStringLiteral("Category to show before the screenshot."), QStringLiteral("code"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("Input mode before the screenshot: string, basic or rpn."),
                                  QStringLiteral("mode"));
    const QCommandLineOption panel(QStringLiteral("panel"),
                                    QStringLiteral("Open the category's data panel (matrices, statistics) before the screenshot."));
    const QCommandLineOption quitAfterStart(QStringLiteral("quit-after-start"),
                                            QStringLiteral("Start (seeding the program folder), show the window and quit."));
    parser.addOptions({screenshot, size, keys, category, mode, panel, quitAfterStart});
    parser.process(application);

    const ProgramFolder folder = ProgramFolder::fromEnvironment();
    std::vector<std::string> seedNotices;
    folder.prepare(&seedNotices);
    for (const std::string& notice : seedNotices)
        std::fprintf(stderr, "corvan: %s\n", notice.c_str());
    // One window per program folder: a second start brings the first one forward and ends.
    SingleInstance instance(QString::fromStdString(folder.path().string()));
    if (!parser.isSet(screenshot) && !instance.claim())
        return 0;
    const std::string writeProblem = parser.isSet(screenshot) ? std::string() : folder.writeProblem();
    const std::filesystem::path stateFolder = parser.isSet(screenshot) ? std::filesystem::path() : folder.path();
    Calculator frame(stateFolder);
    DataTools tools(frame.engine(), stateFolder);
    frame.setTools(&tools);
    frame.start();
    CalculatorView window(frame, folder);
    window.setToolMessages([&tools] { return tools.takeMessage(); });
    window.setDataTools(&tools);
    if (!window.skinLoaded()) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvan"),
                              QStringLiteral("The skin could not be loaded: neither %1 nor %2 holds Interfaces/Default.inf.")
                                  .arg(QString::fromStdString(folder.path().string()),
                                       QString::fromStdString(folder.shippedPath().string())));
        return 1;
    }
    if (!writeProblem.empty())
        QMessageBox::warning(&window, QStringLiteral("Corvan"),
                             QString::fromStdString(ProgramFolder::writeProblemMessage(folder.path(), writeProblem)));
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    if (frame.macroDataError())
        QMessageBox::warning(&window, QStringLiteral("Corvan"), QStringLiteral("Macro data error!"));
    const QStringList dimensions = parser.value(size).split(QLatin1Char('x'));
    const QSize wanted = dimensions.size() == 2 ? QSize(dimensions[0].toInt(), dimensions[1].toInt()) : QSize();

    if (parser.isSet(screenshot)) {
        // A picture of the window in a given state, for checking layouts at every scale.
        if (!wanted.isEmpty())
            window.resize(wanted);
        if (parser.isSet(category))
            window.showCategory(parser.value(category).toInt());
        if (parser.isSet(mode)) {
            const QString name = parser.value(mode);
            frame.setPreferredInputMode(name == QLatin1String("basic") ? InputMode::BasicStandard
                                        : name == QLatin1String("rpn") ? InputMode::BasicRpn
                                                                       : InputMode::StringStandard);
        }
        for (const QString& code : parser.value(keys).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            frame.pressKey(code.toInt());
            window.waitForEvaluation();
        }
        window.showCategory(frame.category());
        if (parser.isSet(panel)) {
            window.openDataPanel();
            // The panel's fonts follow its size once it is shown: let the layout catch up.
            QCoreApplication::processEvents();
        }
        return window.grab().save(parser.value(screenshot)) ? 0 : 1;
    }
    // A logout, a closed terminal or `kill` saves what a close saves, then ends the program,
    // whatever dialog is open.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window, [&window] {
        window.closeQuietly();
        QCoreApplication::exit(0);
    });
    placeOnScreen(window, wanted.isEmpty() ? window.size() : wanted);
    window.show();
    if (parser.isSet(quitAfterStart))
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    else if (!seedNotices.empty())
        QMessageBox::information(&window, QStringLiteral("Corvan"),
                                 QString::fromStdString(seedNotices.front())
                                     + (seedNotices.size() > 1 ? QStringLiteral(" (and %1 more)").arg(seedNotices.size() - 1) : QString()));
    return application.exec();
}
