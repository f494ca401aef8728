// corvan-gallery OUTPUT_FOLDER SHIPPED_DATA_FOLDER
// Renders every category, tool panel and dialog at the sizes people run Corvan at into
// OUTPUT_FOLDER, with an index.html that shows them side by side and lists the layout faults
// found in each picture. Runs off-screen; a fresh program folder is seeded for each window.
//
// corvan-gallery --window FILE [--size WxH] [--category CODE] [--mode string|basic|rpn]
//                [--keys "CODE ..."] [--panel] SHIPPED_DATA_FOLDER
// Renders the calculator window in one state to FILE: for looking at a layout that the gallery
// does not stage.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QWidget>

#include "calculator.h"
#include "calculator_view.h"
#include "gallery_scenes.h"
#include "layout_check.h"

namespace {

struct Picture {
    QString title;
    QString file;
    QStringList faults;
};

class Gallery {
public:
    Gallery(QString output, std::filesystem::path shipped) : output_(std::move(output)), shipped_(std::move(shipped)) {}

    void renderAll()
    {
        const std::vector<GalleryScene> scenes = galleryScenes();
        for (const QSize size : kGallerySizes)
            for (const GalleryScene& scene : scenes) {
                const std::unique_ptr<StagedScene> staged = scene.stage(shipped_, size);
                save(staged->window(), scene.name + QLatin1Char('-') + sizeName(size),
                     QStringLiteral("%1, %2").arg(scene.title, sizeName(size)), size);
            }
    }

    bool writeIndex() const
    {
        QFile file(output_ + QStringLiteral("/index.html"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        QTextStream out(&file);
        out << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Corvan screenshots</title>"
               "<style>body{font-family:sans-serif;background:#ddd}figure{display:inline-block;"
               "vertical-align:top;margin:8px;padding:6px;background:#fff}figcaption{max-width:320px;"
               "font-size:12px}.fault{color:#a00}</style></head><body><h1>Corvan screenshots</h1>\n";
        out << "<p>" << pictures_.size() << " pictures, " << faultCount() << " layout faults.</p>\n";
        for (const Picture& picture : pictures_) {
            out << "<figure><a href=\"" << picture.file << "\"><img src=\"" << picture.file
                << "\" style=\"max-width:320px\"></a><figcaption>" << picture.title.toHtmlEscaped();
            for (const QString& fault : picture.faults)
                out << "<div class=\"fault\">" << fault.toHtmlEscaped() << "</div>";
            out << "</figcaption></figure>\n";
        }
        out << "</body></html>\n";
        return true;
    }

    int faultCount() const
    {
        int count = 0;
        for (const Picture& picture : pictures_)
            count += static_cast<int>(picture.faults.size());
        return count;
    }

private:
    void save(QWidget& window, const QString& name, const QString& title, QSize screen)
    {
        const QString file = name + QStringLiteral(".png");
        window.grab().save(output_ + QLatin1Char('/') + file);
        pictures_.push_back({title, file, layoutFaults(window, screen)});
    }

    QString output_;
    std::filesystem::path shipped_;
    std::vector<Picture> pictures_;
};

// The calculator window after the options' category, input mode and keys, saved as a picture.
int renderWindow(const QCommandLineParser& options, const std::filesystem::path& shipped)
{
    const QStringList dimensions = options.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const QSize size = dimensions.size() == 2 ? QSize(dimensions[0].toInt(), dimensions[1].toInt()) : QSize();
    if (size.isEmpty()) {
        QTextStream(stderr) << "--size takes WIDTHxHEIGHT\n";
        return 2;
    }
    const auto prepare = [&options](Calculator& calculator, CalculatorView& view) {
        if (options.isSet(QStringLiteral("category")))
            view.showCategory(options.value(QStringLiteral("category")).toInt());
        if (options.isSet(QStringLiteral("mode"))) {
            const QString name = options.value(QStringLiteral("mode"));
            calculator.setPreferredInputMode(name == QLatin1String("basic") ? InputMode::BasicStandard
                                             : name == QLatin1String("rpn") ? InputMode::BasicRpn
                                                                            : InputMode::StringStandard);
        }
        for (const QString& code : options.value(QStringLiteral("keys")).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            calculator.pressKey(code.toInt());
            view.waitForEvaluation();
        }
        view.showCategory(calculator.category());
        if (options.isSet(QStringLiteral("panel")))
            view.openDataPanel();
    };
    const std::unique_ptr<StagedScene> scene = stageCalculator(shipped, size, prepare);
    return scene->window().grab().save(options.value(QStringLiteral("window"))) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QCommandLineParser options;
    options.addOptions({
        {QStringLiteral("window"), QStringLiteral("Render the calculator window in one state to FILE."),
         QStringLiteral("file")},
        {QStringLiteral("size"), QStringLiteral("Window size, as WIDTHxHEIGHT."), QStringLiteral("size"),
         QStringLiteral("480x640")},
        {QStringLiteral("category"), QStringLiteral("Category to show."), QStringLiteral("code")},
        {QStringLiteral("mode"), QStringLiteral("Input mode: string, basic or rpn."), QStringLiteral("mode")},
        {QStringLiteral("keys"), QStringLiteral("Key codes to press, separated by spaces."), QStringLiteral("codes")},
        {QStringLiteral("panel"), QStringLiteral("Open the category's data panel (matrices, statistics).")},
    });
    options.process(application);
    const QStringList arguments = options.positionalArguments();
    if (options.isSet(QStringLiteral("window")) && arguments.size() == 1)
        return renderWindow(options, std::filesystem::path(arguments[0].toStdString()));
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: corvan-gallery OUTPUT_FOLDER SHIPPED_DATA_FOLDER\n"
                               "       corvan-gallery --window FILE [--size WxH] [--category CODE] [--mode MODE]"
                               " [--keys CODES] [--panel] SHIPPED_DATA_FOLDER\n";
        return 2;
    }
    if (!QDir().mkpath(arguments[0])) {
        QTextStream(stderr) << "cannot make " << arguments[0] << "\n";
        return 1;
    }
    Gallery gallery(arguments[0], std::filesystem::path(arguments[1].toStdString()));
    gallery.renderAll();
    if (!gallery.writeIndex())
        return 1;
    QTextStream(stdout) << "wrote " << arguments[0] << "/index.html, " << gallery.faultCount() << " layout faults\n";
    return 0;
}
