#include "gallery_scenes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include "calculator.h"
#include "calculator_view.h"
#include "category_names.h"
#include "converter_view.h"
#include "data_tools.h"
#include "finance_view.h"
#include "keypads.h"
#include "message_box.h"
#include "preferences_editor.h"
#include "preferences_editor_view.h"
#include "program_folder.h"
#include "rate_list_view.h"
#include "rate_update_view.h"
#include "ui_text.h"

namespace {

// Posted layout requests and the fonts that follow a panel's size need a turn of the event loop.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The calculator window on a fresh program folder, shown at the given size.
class CalculatorStage : public StagedScene {
public:
    CalculatorStage(const std::filesystem::path& shipped, QSize size)
        : folder_(std::filesystem::path(home_.path().toStdString()) / "corvan", shipped)
    {
        folder_.prepare();
        calculator_.setTools(&tools_);
        calculator_.start();
        view_ = std::make_unique<CalculatorView>(calculator_, folder_);
        view_->setDataTools(&tools_);
        view_->resize(size);
        view_->show();
        settle();
    }

    QWidget& window() override { return opened_ != nullptr ? *opened_ : *view_; }
    CalculatorView& view() { return *view_; }
    // A dialog opened over the window (owned by it), which the scene is then about.
    void setOpened(QWidget* dialog) { opened_ = dialog; }
    Calculator& calculator() { return calculator_; }
    const ProgramFolder& folder() const { return folder_; }

private:
    QTemporaryDir home_;
    ProgramFolder folder_;
    Calculator calculator_{std::filesystem::path()};
    DataTools tools_{calculator_.engine(), std::filesystem::path()};
    std::unique_ptr<CalculatorView> view_;
    QWidget* opened_ = nullptr;
};

// One page of the preferences dialog over the calculator window, sized like it.
class PreferencesStage : public CalculatorStage {
public:
    PreferencesStage(const std::filesystem::path& shipped, QSize size, int page)
        : CalculatorStage(shipped, size), model_(calculator(), folder()), dialog_(model_, size, &view())
    {
        dialog_.showPage(page);
        dialog_.show();
        settle();
    }

    QWidget& window() override { return dialog_; }

private:
    PreferencesEditor model_;
    PreferencesEditorView dialog_;
};

}  // namespace

std::unique_ptr<StagedScene> stageCalculator(const std::filesystem::path& shippedData, QSize size,
                                             const std::function<void(Calculator&, CalculatorView&)>& prepare)
{
    auto stage = std::make_unique<CalculatorStage>(shippedData, size);
    prepare(stage->calculator(), stage->view());
    settle();
    return stage;
}

namespace {

using Stager = std::function<std::unique_ptr<StagedScene>(const std::filesystem::path&, QSize)>;

// A calculator window with something done to it after it is shown.
Stager calculatorWith(std::function<void(CalculatorView&)> open)
{
    return [open = std::move(open)](const std::filesystem::path& shipped, QSize size) {
        return stageCalculator(shipped, size, [&open](Calculator&, CalculatorView& view) { open(view); });
    };
}

// A dialog that `open` opens over the calculator window.
Stager dialogOver(std::function<QWidget*(CalculatorView&)> open)
{
    return [open = std::move(open)](const std::filesystem::path& shipped, QSize size) {
        auto stage = std::make_unique<CalculatorStage>(shipped, size);
        stage->setOpened(open(stage->view()));
        settle();
        return std::unique_ptr<StagedScene>(std::move(stage));
    };
}

// One of the currency converter's rate dialogs.
template <typename Dialog>
Stager rateDialog(void (ConverterView::*open)())
{
    return dialogOver([open](CalculatorView& view) -> QWidget* {
        view.showCategory(CategoryCode::kCurrencyConverter);
        auto* converter = view.findChild<ConverterView*>();
        (converter->*open)();
        return converter->findChild<Dialog*>();
    });
}

template <typename Panel>
Stager financePanel()
{
    return calculatorWith([](CalculatorView& view) {
        view.showCategory(CategoryCode::kFinance);
        view.openFinancePanel(view.findChild<Panel*>());
    });
}

}  // namespace

std::vector<GalleryScene> galleryScenes()
{
    std::vector<GalleryScene> scenes;
    for (int category = 0; category <= CategoryCode::kDateTime; ++category)
        scenes.push_back({QStringLiteral("category%1").arg(category, 2, 10, QLatin1Char('0')),
                          toQString(categoryName(category)),
                          calculatorWith([category](CalculatorView& view) { view.showCategory(category); })});
    for (const int category : {CategoryCode::kStatistics, CategoryCode::kMatrices})
        scenes.push_back({QStringLiteral("panel%1").arg(category),
                          QStringLiteral("%1 data panel").arg(toQString(categoryName(category))),
                          calculatorWith([category](CalculatorView& view) {
                              view.showCategory(category);
                              view.openDataPanel();
                          })});
    scenes.push_back({QStringLiteral("finance-tvm"), QStringLiteral("Finance: TVM"),
                      financePanel<TimeValueOfMoneyCalculatorView>()});
    scenes.push_back(
        {QStringLiteral("finance-loan"), QStringLiteral("Finance: loan"), financePanel<LoanCalculatorView>()});
    scenes.push_back({QStringLiteral("finance-mortgage"), QStringLiteral("Finance: mortgage"),
                      financePanel<MortgageCalculatorView>()});
    for (int page = 0; page < static_cast<int>(PreferencesEditor::kPageNames.size()); ++page)
        scenes.push_back({QStringLiteral("preferences%1").arg(page),
                          QStringLiteral("Preferences: %1")
                              .arg(toQString(PreferencesEditor::kPageNames[static_cast<std::size_t>(page)])),
                          [page](const std::filesystem::path& shipped, QSize size) {
                              return std::unique_ptr<StagedScene>(
                                  std::make_unique<PreferencesStage>(shipped, size, page));
                          }});
    scenes.push_back({QStringLiteral("history"), QStringLiteral("History"),
                      calculatorWith([](CalculatorView& view) { view.openHistory(); })});
    scenes.push_back({QStringLiteral("macro-list"), QStringLiteral("Macro list"),
                      calculatorWith([](CalculatorView& view) { view.openMacroList(); })});
    scenes.push_back({QStringLiteral("rate-update"), QStringLiteral("Currency: rate update"),
                      rateDialog<RateUpdateView>(&ConverterView::openRateUpdate)});
    scenes.push_back({QStringLiteral("rate-list"), QStringLiteral("Currency: rate list"),
                      rateDialog<RateListView>(&ConverterView::openRateList)});
    // The message box the rate update shows when the host cannot be reached.
    scenes.push_back({QStringLiteral("message"), QStringLiteral("Message box"), dialogOver([](CalculatorView& view) {
                          QMessageBox* box = makeMessageBox(QMessageBox::Warning, QStringLiteral("Error!"),
                                                            QStringLiteral("Error when resolve host."), &view);
                          box->show();
                          return box;
                      })});
    return scenes;
}

QString sizeName(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}
