// corvan-gallery OUTPUT_FOLDER SHIPPED_DATA_FOLDER
// Renders every category, tool panel and dialog at the sizes people run Corvan at into
// OUTPUT_FOLDER, with an index.html that shows them side by side and lists the layout faults
// found in each picture. Runs off-screen; a fresh program folder is seeded for each window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <memory>

#include "calculator.h"
#include "calculator_view.h"
#include "category_names.h"
#include "data_tools.h"
#include "finance_view.h"
#include "keypads.h"
#include "layout_check.h"
#include "preferences_editor.h"
#include "preferences_editor_view.h"
#include "program_folder.h"
#include "ui_text.h"

namespace {

const QSize kSizes[] = {{240, 320}, {320, 240}, {480, 640}, {640, 480}, {1000, 1000}};

// One calculator window on a fresh program folder, as a first start would show it.
struct Window {
    QTemporaryDir home;
    ProgramFolder folder;
    Calculator frame{std::filesystem::path()};
    DataTools tools{frame.engine(), std::filesystem::path()};
    std::unique_ptr<CalculatorView> view;

    Window(const std::filesystem::path& shipped, QSize size)
        : folder(std::filesystem::path(home.path().toStdString()) / "corvan", shipped)
    {
        folder.prepare();
        frame.setTools(&tools);
        frame.start();
        view = std::make_unique<CalculatorView>(frame, folder);
        view->setDataTools(&tools);
        view->resize(size);
    }
};

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
        for (const QSize size : kSizes) {
            for (int category = 0; category <= CategoryCode::kDateTime; ++category)
                renderCategory(category, size);
            renderDataPanel(CategoryCode::kStatistics, size);
            renderDataPanel(CategoryCode::kMatrices, size);
            renderFinancePanels(size);
            renderPreferences(size);
            renderMessageBox(size);
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
        int faultCount = 0;
        for (const Picture& picture : pictures_)
            faultCount += static_cast<int>(picture.faults.size());
        out << "<p>" << pictures_.size() << " pictures, " << faultCount << " layout faults.</p>\n";
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
    static QString sizeName(QSize size) { return QStringLiteral("%1x%2").arg(size.width()).arg(size.height()); }

    void save(QWidget& widget, const QString& name, const QString& title)
    {
        QCoreApplication::processEvents();
        const QString file = name + QStringLiteral(".png");
        widget.grab().save(output_ + QLatin1Char('/') + file);
        pictures_.push_back({title, file, layoutFaults(widget)});
    }

    void renderCategory(int category, QSize size)
    {
        Window window(shipped_, size);
        window.view->showCategory(category);
        const QString name = toQString(categoryName(category));
        save(*window.view, QStringLiteral("category%1-%2").arg(category, 2, 10, QLatin1Char('0')).arg(sizeName(size)),
             QStringLiteral("%1, %2").arg(name, sizeName(size)));
    }

    void renderDataPanel(int category, QSize size)
    {
        Window window(shipped_, size);
        window.view->showCategory(category);
        window.view->openDataPanel();
        save(*window.view, QStringLiteral("panel%1-%2").arg(category).arg(sizeName(size)),
             QStringLiteral("%1 data panel, %2").arg(toQString(categoryName(category)), sizeName(size)));
    }

    void renderFinancePanels(QSize size)
    {
        const std::pair<const char*, std::function<QWidget*(CalculatorView&)>> panels[] = {
            {"tvm", [](CalculatorView& v) { return v.findChild<TimeValueOfMoneyCalculatorView*>(); }},
            {"loan", [](CalculatorView& v) { return v.findChild<LoanCalculatorView*>(); }},
            {"mortgage", [](CalculatorView& v) { return v.findChild<MortgageCalculatorView*>(); }},
        };
        for (const auto& [name, find] : panels) {
            Window window(shipped_, size);
            window.view->showCategory(CategoryCode::kFinance);
            if (QWidget* panel = find(*window.view)) {
                window.view->openFinancePanel(panel);
                save(*window.view, QStringLiteral("finance-%1-%2").arg(QLatin1String(name), sizeName(size)),
                     QStringLiteral("Finance: %1, %2").arg(QLatin1String(name), sizeName(size)));
            }
        }
    }

    void renderPreferences(QSize size)
    {
        Window window(shipped_, size);
        PreferencesEditor model(window.frame, window.folder);
        PreferencesEditorView dialog(model, size, window.view.get());
        for (int page = 0; page < static_cast<int>(PreferencesEditor::kPageNames.size()); ++page) {
            dialog.showPage(page);
            const QString pageName = toQString(PreferencesEditor::kPageNames[static_cast<std::size_t>(page)]);
            save(dialog, QStringLiteral("preferences%1-%2").arg(page).arg(sizeName(size)),
                 QStringLiteral("Preferences: %1, %2").arg(pageName, sizeName(size)));
        }
    }

    void renderMessageBox(QSize size)
    {
        Window window(shipped_, size);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Error!"),
                        QStringLiteral("Error when resolve host."), QMessageBox::Ok, window.view.get());
        box.adjustSize();
        save(box, QStringLiteral("message-%1").arg(sizeName(size)), QStringLiteral("Message box, %1").arg(sizeName(size)));
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
