// The rate update and rate list windows, driven from the converter's currency page with real
// mouse and key events against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "atomic_file.h"
#include "calculator.h"
#include "converter_view.h"
#include "keypads.h"
#include "message_box.h"
#include "program_folder.h"
#include "rate_list_view.h"
#include "rate_update_view.h"
#include "temp_folder.h"
#include "test_http_server.h"
#include "ui_text.h"

namespace {

using namespace std::chrono_literals;

const std::string kEcbDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\">\n"
    "<Cube><Cube time='2026-02-17'>\n"
    "<Cube currency='USD' rate='1.25'/>\n<Cube currency='JPY' rate='160'/>\n<Cube currency='GBP' rate='0.8'/>\n"
    "</Cube></Cube>\n</gesmes:Envelope>\n";

// Saves a picture of a widget when CORVAN_SCREENSHOT_DIR names a folder.
void screenshot(QWidget* widget, const char* name)
{
    const QByteArray folder = qgetenv("CORVAN_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name) + ".png");
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// A seeded program folder and the converter panel on its currency page.
struct CurrencyPage {
    TempFolder folder;
    Calculator calculator{std::filesystem::path()};
    std::unique_ptr<ConverterView> panel;
    std::string before;

    CurrencyPage()
    {
        const std::filesystem::path shipped(CORVAN_SOURCE_DATA_DIR);
        EXPECT_TRUE(ProgramFolder(folder.path(), shipped).prepare());
        calculator.start();
        panel = std::make_unique<ConverterView>(calculator.preferences(), folder.path(), std::filesystem::path());
        RateUpdateView::DownloadSettings settings;
        settings.limits.connectTimeout = 2s;
        settings.limits.totalTimeout = 30s;  // longer than any test: only Cancel ends a silent server
        settings.proxy = std::string();
        panel->setRateDownloadSettings(settings);
        panel->resize(480, 640);
        panel->show();
        panel->showCategory(CategoryCode::kCurrencyConverter);
        before = contents();
    }
    std::string contents() const
    {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(folder.path() / "currency.dat", bytes));
        return bytes;
    }
    QString text(const char* name) const { return panel->findChild<QLabel*>(QLatin1String(name))->text(); }
    QString button(const char* name) const { return panel->findChild<QPushButton*>(QLatin1String(name))->text(); }

    // Taps the date field, types the address and presses Update.
    RateUpdateView* startUpdate(const std::string& url)
    {
        QTest::mouseClick(panel->findChild<QLabel*>(QStringLiteral("top")), Qt::LeftButton);
        auto* window = panel->findChild<RateUpdateView*>();
        if (window == nullptr)
            return nullptr;
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("rateSourceUrl"));
        field->selectAll();
        QTest::keyClicks(field, QString::fromStdString(url));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("startUpdate")), Qt::LeftButton);
        return window;
    }
};

// Waits, handling events, until the spy has a signal; the milliseconds it took.
qint64 waitFor(QSignalSpy& spy, qint64 limit = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (spy.isEmpty() && clock.elapsed() < limit)
        QTest::qWait(5);
    return clock.elapsed();
}

// Runs an update from url to its end, which must be a success.
void updateSucceeds(CurrencyPage& page, const std::string& url)
{
    RateUpdateView* window = page.startUpdate(url);
    ASSERT_NE(window, nullptr);
    QSignalSpy finished(window, &RateUpdateView::updateFinished);
    waitFor(finished);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished[0][0].toBool()) << finished[0][2].toString().toStdString();
    QTest::qWait(20);
}

// What a widget shows, its parent's ground included (a label paints no ground of its own).
QImage shownImage(QWidget* widget)
{
    return widget->parentWidget()->grab(widget->geometry()).toImage();
}

// The contrast ratio of the darkest and lightest pixels of a picture (1 to 21).
double contrastOf(const QImage& image)
{
    double darkest = 1.0;
    double lightest = 0.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            // Relative luminance of sRGB, as contrast ratios are defined.
            const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
            const double luminance =
                0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
            darkest = std::min(darkest, luminance);
            lightest = std::max(lightest, luminance);
        }
    return (lightest + 0.05) / (darkest + 0.05);
}

TEST(RateUpdateWindow, SilentServerLeavesTheWindowPaintingAndCancelEndsItWithinASecond)
{
    CurrencyPage page;
    TestHttpServer server(TestHttpServer::holding(""));
    const QString shownBefore = page.text("top");
    EXPECT_EQ(shownBefore, QStringLiteral("Rates of 2025-01-02"));

    RateUpdateView* window = page.startUpdate(server.url());
    ASSERT_NE(window, nullptr);
    QSignalSpy finished(window, &RateUpdateView::updateFinished);
    EXPECT_EQ(page.text("top"), QStringLiteral("Updating the rates ..."));
    EXPECT_TRUE(window->isRunning());
    auto* status = window->findChild<QLabel*>(QStringLiteral("updateStatus"));
    auto* progress = window->findChild<QProgressBar*>(QStringLiteral("updateProgress"));
    EXPECT_TRUE(progress->isVisible());
    auto* cancel = window->findChild<QPushButton*>(QStringLiteral("cancelUpdate"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));

    // The window thread is free: the status counts the seconds and the widgets repaint.
    PaintCounter paints;
    status->installEventFilter(&paints);
    QTest::qWait(700);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Waiting for 127.0.0.1 ..."))) << status->text().toStdString();
    EXPECT_GE(paints.count, 3);
    EXPECT_TRUE(finished.isEmpty());
    screenshot(window, "rate_update_running");

    QTest::mouseClick(cancel, Qt::LeftButton);
    const qint64 took = waitFor(finished);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_LT(took, 1000);
    EXPECT_FALSE(finished[0][0].toBool());  // not succeeded
    EXPECT_TRUE(finished[0][1].toBool());   // cancelled
    QTest::qWait(20);
    EXPECT_EQ(page.panel->findChild<RateUpdateView*>(), nullptr);
    EXPECT_EQ(page.panel->findChild<QMessageBox*>(), nullptr);  // the user's own choice: no error
    EXPECT_EQ(page.text("top"), shownBefore);
    EXPECT_EQ(page.contents(), page.before);
}

TEST(RateUpdateWindow, NewRatesKeepTheChosenPairAndTheSourceIsRemembered)
{
    CurrencyPage page;
    // 100 of the first currency (USD) in JPY, the third of the shipped list.
    QTest::mouseClick(page.panel->findChild<QPushButton*>(QStringLiteral("lowerUnit")), Qt::LeftButton);
    auto* list = page.panel->findChild<QListWidget*>(QStringLiteral("converterList"));
    ASSERT_TRUE(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
    ASSERT_EQ(page.button("lowerUnit"), QStringLiteral("JPY"));
    for (const char key : {'1', '0', '0'})
        page.panel->pressKey(static_cast<char16_t>(key));
    ASSERT_EQ(page.text("upperValue"), QStringLiteral("100"));

    TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(kEcbDocument, "text/xml")));
    updateSucceeds(page, server.url("/eurofxref-daily.xml"));

    EXPECT_EQ(page.text("top"), QStringLiteral("Rates of 2026-02-17"));
    EXPECT_EQ(page.button("upperUnit"), QStringLiteral("USD"));
    EXPECT_EQ(page.button("lowerUnit"), QStringLiteral("JPY"));
    EXPECT_EQ(page.text("upperValue"), QStringLiteral("100"));
    EXPECT_EQ(page.text("lowerValue"), QStringLiteral("12,800"));
    EXPECT_EQ(page.calculator.preferences().rateSourceUrl,
              fromQString(QString::fromStdString(server.url("/eurofxref-daily.xml"))));
    EXPECT_EQ(page.panel->findChild<RateUpdateView*>(), nullptr);

    // The next update starts from the remembered address.
    QTest::mouseClick(page.panel->findChild<QLabel*>(QStringLiteral("top")), Qt::LeftButton);
    auto* again = page.panel->findChild<RateUpdateView*>();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->url(), QString::fromStdString(server.url("/eurofxref-daily.xml")));
    QTest::mouseClick(again->findChild<QPushButton*>(QStringLiteral("cancelUpdate")), Qt::LeftButton);
    EXPECT_TRUE(again->isHidden());
}

TEST(RateUpdateWindow, CurrenciesTheSourceLacksStayWithTheDateOfTheirRate)
{
    CurrencyPage page;
    // 1 USD in VND, a currency the euro reference rates do not publish.
    QTest::mouseClick(page.panel->findChild<QPushButton*>(QStringLiteral("lowerUnit")), Qt::LeftButton);
    auto* list = page.panel->findChild<QListWidget*>(QStringLiteral("converterList"));
    const QList<QListWidgetItem*> dong = list->findItems(QStringLiteral("VND"), Qt::MatchStartsWith);
    ASSERT_EQ(dong.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(dong[0]).center());
    ASSERT_EQ(page.button("lowerUnit"), QStringLiteral("VND"));
    page.panel->pressKey(u'1');
    const QString dongsPerDollar = page.text("lowerValue");

    TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(kEcbDocument, "text/xml")));
    updateSucceeds(page, server.url("/eurofxref-daily.xml"));

    // The pair stays, and VND's last rate still converts the dollar as before.
    EXPECT_EQ(page.text("top"), QStringLiteral("Rates of 2026-02-17"));
    EXPECT_EQ(page.button("upperUnit"), QStringLiteral("USD"));
    EXPECT_EQ(page.button("lowerUnit"), QStringLiteral("VND"));
    EXPECT_EQ(page.text("lowerValue"), dongsPerDollar);

    // The converter's list and the rate list say how old VND's rate is.
    QTest::mouseClick(page.panel->findChild<QPushButton*>(QStringLiteral("lowerUnit")), Qt::LeftButton);
    const QList<QListWidgetItem*> listed = list->findItems(QStringLiteral("VND"), Qt::MatchStartsWith);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed[0]->text().endsWith(QStringLiteral("(rate of 2025-01-02)"))) << listed[0]->text().toStdString();
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::mouseClick(page.panel->findChild<QPushButton*>(QStringLiteral("editRates")), Qt::LeftButton);
    auto* grid = page.panel->findChild<RateListView*>()->findChild<QTableWidget*>(QStringLiteral("rateTable"));
    const QList<QTableWidgetItem*> rows = grid->findItems(QStringLiteral("VND"), Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(grid->item(rows[0]->row(), 2)->text(), QStringLiteral("Vietnamese Dong (rate of 2025-01-02)"));
}

TEST(RateUpdateWindow, FailureKeepsTheFileAndShowsAReadableError)
{
    CurrencyPage page;
    TestHttpServer server(TestHttpServer::sending(TestHttpServer::answer("404 Not Found", "", "gone")));
    RateUpdateView* window = page.startUpdate(server.url());
    ASSERT_NE(window, nullptr);
    QSignalSpy finished(window, &RateUpdateView::updateFinished);
    waitFor(finished);
    ASSERT_EQ(finished.count(), 1);
    QTest::qWait(20);

    EXPECT_EQ(page.contents(), page.before);
    EXPECT_EQ(page.text("top"), QStringLiteral("Rates of 2025-01-02"));
    auto* box = page.panel->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(box->text(), QStringLiteral("The server answered 404."));
    EXPECT_EQ(box->detailedText(), QStringLiteral("Error: 10, 0, Error, server answered 404."));
    // The dark panel's style sheet does not reach the box: its text stands out from its ground.
    QLabel* label = nullptr;
    for (QLabel* candidate : box->findChildren<QLabel*>())
        if (candidate->text() == box->text())
            label = candidate;
    ASSERT_NE(label, nullptr);
    EXPECT_GE(contrastOf(shownImage(label)), 7.0);
    screenshot(box, "rate_update_error");
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}

TEST(MessageBox, KeepsItsOwnColoursUnderADarkPanel)
{
    QWidget panel;
    panel.setStyleSheet(
        QStringLiteral("QLabel { color: #AEB9C4; font-size: 30px; } QPushButton { color: #E8EEF2; "
                       "background: #2A3440; }"));
    panel.resize(300, 200);
    panel.show();
    std::unique_ptr<QMessageBox> box(
        makeMessageBox(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("Something went wrong"), &panel));
    box->show();
    QTest::qWait(10);
    for (QLabel* label : box->findChildren<QLabel*>()) {
        if (label->text() != box->text())
            continue;
        EXPECT_GE(contrastOf(shownImage(label)), 7.0);
        EXPECT_LT(label->font().pixelSize(), 30);
    }
    const QImage button = shownImage(box->button(QMessageBox::Ok));
    EXPECT_GE(contrastOf(button), 7.0);
}

TEST(RateListWindow, ShowsEveryRateAndSavesAnEditedOne)
{
    CurrencyPage page;
    auto* ratesButton = page.panel->findChild<QPushButton*>(QStringLiteral("editRates"));
    ASSERT_NE(ratesButton, nullptr);
    EXPECT_TRUE(ratesButton->isVisible());
    QTest::mouseClick(ratesButton, Qt::LeftButton);
    auto* window = page.panel->findChild<RateListView*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("rateTable"));
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Symbol"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Exchange Rate"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Name"));
    ASSERT_GE(grid->rowCount(), 30);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("USD"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("EUR"));
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("Euro"));
    EXPECT_FALSE(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
    screenshot(window, "rate_list");

    // Type a new rate for the euro: 0.5 euro for a dollar.
    grid->setCurrentCell(1, 1);
    QApplication::setActiveWindow(window);
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("0.5"));
    EXPECT_EQ(editor->text(), QStringLiteral("0.5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(10);  // the view takes the edit back on its next turn
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("0.5"));

    // Show rates drops the edit; type it again and save.
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("showRates")), Qt::LeftButton);
    EXPECT_NE(grid->item(1, 1)->text(), QStringLiteral("0.5"));
    grid->item(1, 1)->setText(QStringLiteral("0.5"));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("saveRates")), Qt::LeftButton);
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("0.5"));
    EXPECT_NE(page.contents().find("\tEuro\tEUR\t2\t0\tUSD\n"), std::string::npos);
    EXPECT_TRUE(page.contents().starts_with("#Date: 2025-01-02\n"));
    EXPECT_EQ(window->findChild<QMessageBox*>(), nullptr);
    // The converter reads the saved rates: one dollar in euros.
    EXPECT_EQ(page.text("lowerValue"), QStringLiteral("0.5"));

    // A rate that is no number is not taken, and the user is told.
    grid->item(2, 1)->setText(QStringLiteral("abc"));
    const std::string saved = page.contents();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("saveRates")), Qt::LeftButton);
    auto* box = window->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().endsWith(grid->item(2, 0)->text())) << box->text().toStdString();
    EXPECT_EQ(page.contents(), saved);
    box->close();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("closeRates")), Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_EQ(page.panel->findChild<RateListView*>(), nullptr);
}

// corvan-cli --update-rates while the list is open: a save never puts the new date over the
// list's older rates, and the user picks which rates stay.
TEST(RateListWindow, RatesSavedByAnotherProgramMeanwhileAreNeitherMixedNorLostUnasked)
{
    const std::string downloaded =
        "#Date: 2030-01-02\n\n#Begin:Currency:0\n\tEuro\tEUR\t!\n"
        "\tUS_Dollar\tUSD\t0.9\t0\tEUR\n\tBritish_Pound\tGBP\t1.25\t0\tEUR\n#End";
    for (const char* answer : {"showChangedRates", "saveOverChangedRates"}) {
        SCOPED_TRACE(answer);
        CurrencyPage page;
        QTest::mouseClick(page.panel->findChild<QPushButton*>(QStringLiteral("editRates")), Qt::LeftButton);
        auto* window = page.panel->findChild<RateListView*>();
        ASSERT_NE(window, nullptr);
        auto* grid = window->findChild<QTableWidget*>(QStringLiteral("rateTable"));
        const int shippedRows = grid->rowCount();
        ASSERT_GT(shippedRows, 3);

        ASSERT_TRUE(writeFileAtomically(page.folder.path() / "currency.dat", downloaded));
        grid->item(1, 1)->setText(QStringLiteral("0.5"));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("saveRates")), Qt::LeftButton);
        auto* question = window->findChild<QMessageBox*>(QStringLiteral("ratesChangedQuestion"));
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(question->text().contains(QStringLiteral("2030-01-02"))) << question->text().toStdString();
        EXPECT_EQ(page.contents(), downloaded);

        QTest::mouseClick(question->findChild<QPushButton*>(QLatin1String(answer)), Qt::LeftButton);
        QTest::qWait(10);
        if (std::string_view(answer) == "showChangedRates") {
            EXPECT_EQ(page.contents(), downloaded);
            ASSERT_EQ(grid->rowCount(), 3);
            EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("GBP"));
            EXPECT_TRUE(page.text("top").contains(QStringLiteral("2030-01-02"))) << page.text("top").toStdString();
            // The list now stands on the file: an edit saves at once, under that file's date.
            grid->item(2, 1)->setText(QStringLiteral("0.5"));
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("saveRates")), Qt::LeftButton);
            EXPECT_EQ(window->findChild<QMessageBox*>(QStringLiteral("ratesChangedQuestion")), nullptr);
            EXPECT_EQ(page.contents(),
                      "#Date: 2030-01-02\n\n#Begin:Currency:0\n\tEuro\tEUR\t!\n"
                      "\tUS_Dollar\tUSD\t0.9\t0\tEUR\n\tBritish_Pound\tGBP\t2\t0\tEUR\n#End");
        } else {
            // The user's list whole, under the date of its own rates.
            EXPECT_TRUE(page.contents().starts_with("#Date: 2025-01-02\n")) << page.contents();
            EXPECT_NE(page.contents().find("\tEuro\tEUR\t2\t0\tUSD\n"), std::string::npos);
            EXPECT_EQ(grid->rowCount(), shippedRows);
        }
    }
}

TEST(RateWindows, FitAtEveryWindowSize)
{
    CurrencyPage page;
    auto* top = page.panel->findChild<QLabel*>(QStringLiteral("top"));
    auto* ratesButton = page.panel->findChild<QPushButton*>(QStringLiteral("editRates"));
    QTest::mouseClick(ratesButton, Qt::LeftButton);
    auto* list = page.panel->findChild<RateListView*>();
    ASSERT_NE(list, nullptr);
    auto* update = new RateUpdateView(page.folder.path() / "currency.dat",
                                      QStringLiteral("https://example.org/rates.xml"), page.panel.get());
    update->show();
    for (const QSize size : {QSize(240, 320), QSize(320, 240), QSize(480, 640)}) {
        SCOPED_TRACE(size.width());
        for (QWidget* widget : std::initializer_list<QWidget*>{page.panel.get(), list, update})
            widget->resize(size);
        QTest::qWait(10);
        // The date and the rates button share the top row without overlapping.
        EXPECT_TRUE(page.panel->rect().contains(ratesButton->geometry()));
        EXPECT_FALSE(top->geometry().intersects(ratesButton->geometry()));
        EXPECT_GE(ratesButton->width(), ratesButton->fontMetrics().horizontalAdvance(ratesButton->text()));
        // The panel's dark style stays on the panel: the windows over it read dark on light.
        EXPECT_GE(contrastOf(shownImage(list->findChild<QLabel*>(QStringLiteral("rateListHeading")))), 7.0);
        EXPECT_GE(contrastOf(shownImage(update->findChild<QLabel*>(QStringLiteral("updateStatus")))), 7.0);
        const QByteArray suffix = "_" + QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
        screenshot(page.panel.get(), ("converter_currency" + suffix).constData());
        screenshot(list, ("rate_list" + suffix).constData());
        screenshot(update, ("rate_update" + suffix).constData());
    }
    delete update;
}

}  // namespace
