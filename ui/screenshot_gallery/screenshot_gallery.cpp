// corvan-gallery OUTPUT_FOLDER SHIPPED_DATA_FOLDER
// Renders every category, tool panel and dialog at the sizes people run Corvan at into
// OUTPUT_FOLDER, with an index.html that shows them side by side and lists the layout faults
// found in each picture. Runs off-screen; a fresh program folder is seeded for each window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QWidget>

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

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: corvan-gallery OUTPUT_FOLDER SHIPPED_DATA_FOLDER\n";
        return 2;
    }
    if (!QDir().mkpath(arguments[1])) {
        QTextStream(stderr) << "cannot make " << arguments[1] << "\n";
        return 1;
    }
    Gallery gallery(arguments[1], std::filesystem::path(arguments[2].toStdString()));
    gallery.renderAll();
    if (!gallery.writeIndex())
        return 1;
    QTextStream(stdout) << "wrote " << arguments[1] << "/index.html, " << gallery.faultCount() << " layout faults\n";
    return 0;
}
