// The converter panel forwards typed keys and list picks to its model; driven offscreen through
// the main window as a user would.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "atomic_file.h"
#include "calculator_view.h"
#include "converter_view.h"
#include "keypads.h"
#include "temp_folder.h"

namespace {

QString text(const CalculatorView& view, const char* name)
{
    const auto* label = view.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

QPushButton* button(const CalculatorView& view, const QString& label)
{
    for (QPushButton* candidate : view.findChildren<QPushButton*>())
        if (candidate->text() == label && candidate->isVisibleTo(&view))
            return candidate;
    ADD_FAILURE() << "no button " << label.toStdString();
    return nullptr;
}

// With CORVAN_SCREENSHOTS set to a folder, the window is saved there at each size, to look at.
void saveScreenshots(CalculatorView& view, const QString& name)
{
    const QByteArray folder = qgetenv("CORVAN_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    const QSize before = view.size();
    for (const QSize size : {QSize(240, 320), QSize(320, 240), QSize(480, 640)}) {
        view.resize(size);
        QCoreApplication::processEvents();
        view.grab().save(QDir(QString::fromLocal8Bit(folder))
                             .filePath(QStringLiteral("%1_%2x%3.png").arg(name).arg(size.width()).arg(size.height())));
    }
    view.resize(before);
    QCoreApplication::processEvents();
}

// The shipped data, read only: no state folder, so nothing is written into it.
struct ShownConverter {
    std::filesystem::path data{CORVAN_SOURCE_DATA_DIR};
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, ProgramFolder(data, data)};
    explicit ShownConverter(int category = CategoryCode::kUnitConverter)
    {
        calculator.start();
        view.resize(240, 320);
        view.showCategory(category);
        // Shown, so that the keypad is laid out and a click lands on a key.
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QListWidget* list() const { return view.findChild<QListWidget*>(QStringLiteral("converterList")); }
    void type(const QString& keys)
    {
        for (QChar key : keys)
            QTest::keyClicks(&view, QString(key));
    }
    // Opens a list by its button (or the top field) and picks a line by typing part of it.
    void pickBySearch(QWidget* opener, const QString& search)
    {
        if (auto* pushButton = qobject_cast<QPushButton*>(opener))
            QTest::mouseClick(pushButton, Qt::LeftButton);
        else
            QTest::mouseClick(opener, Qt::LeftButton);
        ASSERT_FALSE(list()->isHidden());
        type(search);
        QTest::keyClick(&view, Qt::Key_Return);
        ASSERT_TRUE(list()->isHidden());
    }
    QPushButton* unitButton(const char* name) const { return view.findChild<QPushButton*>(QString::fromLatin1(name)); }
};

// A damaged data file is named in a message once, not left as an empty or garbled panel.
TEST(ConverterView, ADamagedDataFileIsToldOnceWithItsLine)
{
    const struct {
        int category;
        const char* file;
        const char* bytes;
        int line;
    } cases[] = {
        {CategoryCode::kUnitConverter, "units.dat", "#Begin:Length:0\n\tmetre\tm\t!\n\tfoot\tft\n#End\n", 3},
        {CategoryCode::kCurrencyConverter, "currency.dat", "garbage\n", 1},
        {CategoryCode::kConstants, "const.dat", "#Begin:Physics:0\n\tSpeed_of_light\n#End\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder folder;
        const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
        ASSERT_TRUE(ProgramFolder(folder.path(), data).prepare());
        ASSERT_TRUE(writeFileAtomically(folder.path() / c.file, c.bytes));
        Calculator calculator{std::filesystem::path()};
        CalculatorView view{calculator, ProgramFolder(folder.path(), data)};
        calculator.start();
        view.showCategory(c.category);
        const QList<QMessageBox*> boxes = view.findChildren<QMessageBox*>();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0]->text(), QStringLiteral("Error on line %1 in data file %2.")
                                        .arg(c.line)
                                        .arg(QString::fromStdString((folder.path() / c.file).string())));
        boxes[0]->close();
        QTest::qWait(10);
        view.showCategory(CategoryCode::kArithmetic);
        view.showCategory(c.category);
        EXPECT_TRUE(view.findChildren<QMessageBox*>().isEmpty());
    }
}

TEST(ConverterView, ConvertsWhileTypingAndFollowsTheCategory)
{
    const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
    // No state folder: nothing is written into the shipped data.
    Calculator calculator{std::filesystem::path()};
    CalculatorView view(calculator, ProgramFolder(data, data));
    calculator.start();
    view.resize(240, 320);
    view.showCategory(CategoryCode::kUnitConverter);

    auto* panel = view.findChild<ConverterView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(view.findChild<QLabel*>(QStringLiteral("placeholder"))->isHidden());
    EXPECT_EQ(text(view, "top"), QStringLiteral("Length"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("upperUnit"))->text(), QStringLiteral("m"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("lowerUnit"))->text(), QStringLiteral("km"));

    for (char c : {'1', '5', '0', '0'})
        QTest::keyClick(&view, c);
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1,500"));
    EXPECT_EQ(text(view, "lowerValue"), QStringLiteral("1.5"));
    // "W" on the keyboard is the digit 1; Tab moves to the lower field.
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_W);
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1,000"));

    // The lower unit list preselects the current unit; a pick converts again.
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("lowerUnit")), Qt::LeftButton);
    auto* list = view.findChild<QListWidget*>(QStringLiteral("converterList"));
    ASSERT_FALSE(list->isHidden());
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("meter m"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("lowerUnit"))->text(), QStringLiteral("m"));
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1"));

    view.showCategory(CategoryCode::kCurrencyConverter);
    EXPECT_TRUE(text(view, "top").startsWith(QStringLiteral("Rates of ")));
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("upperUnit"))->text(), QStringLiteral("USD"));

    view.showCategory(CategoryCode::kConstants);
    EXPECT_FALSE(text(view, "constantName").isEmpty());
    EXPECT_FALSE(text(view, "constantValue").isEmpty());

    view.showCategory(CategoryCode::kArithmetic);
    EXPECT_TRUE(panel->isHidden());
}

TEST(ConverterView, TypesSwapsTheUnitsAndCopiesTheConvertedValue)
{
    ShownConverter w;
    QApplication::clipboard()->clear();
    w.type(QStringLiteral("1500"));
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("1,500"));
    EXPECT_EQ(text(w.view, "lowerValue"), QStringLiteral("1.5"));

    QTest::mouseClick(button(w.view, QStringLiteral("\u21C5")), Qt::LeftButton);
    EXPECT_EQ(w.unitButton("upperUnit")->text(), QStringLiteral("km"));
    EXPECT_EQ(w.unitButton("lowerUnit")->text(), QStringLiteral("m"));
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("1,500"));
    EXPECT_EQ(text(w.view, "lowerValue"), QStringLiteral("1,500,000"));

    // The panel's Copy key, then the window's "Copy result" (Ctrl+C), each fill the clipboard.
    QTest::mouseClick(button(w.view, QStringLiteral("Copy")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1500000"));
    saveScreenshots(w.view, QStringLiteral("converter_units"));
    QApplication::clipboard()->clear();
    QTest::mouseClick(button(w.view, QStringLiteral("\u00B1")), Qt::LeftButton);
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("-1,500"));
    QAction* copy = nullptr;
    for (QAction* action : w.view.actions())
        if (action->text() == QStringLiteral("Copy result"))
            copy = action;
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("-1500000"));
    QApplication::clipboard()->clear();
    QTest::keyClick(&w.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("-1500000"));
    // Nothing of it reached the calculator's line.
    EXPECT_TRUE(w.calculator.display().currentLine().input().empty());
}

TEST(ConverterView, SignKeyAndLeadingMinusNegateAtOnce)
{
    ShownConverter w;
    w.pickBySearch(w.view.findChild<QLabel*>(QStringLiteral("top")), QStringLiteral("temp"));
    EXPECT_EQ(text(w.view, "top"), QStringLiteral("Temperature"));
    w.pickBySearch(w.unitButton("upperUnit"), QStringLiteral("fahr"));
    w.pickBySearch(w.unitButton("lowerUnit"), QStringLiteral("celsius"));
    w.type(QStringLiteral("-40"));
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("-40"));
    EXPECT_EQ(text(w.view, "lowerValue"), QStringLiteral("-40"));
    w.type(QStringLiteral("=32"));
    EXPECT_EQ(text(w.view, "lowerValue"), QStringLiteral("0"));
    QTest::keyClick(&w.view, Qt::Key_F9);
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("-32"));
    EXPECT_EQ(text(w.view, "lowerValue"), QStringLiteral("-35.55555556"));
}

TEST(ConverterView, ShowsExactAnswers)
{
    struct Case {
        const char* category;
        const char* upper;
        const char* lower;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"Temperature", "Fahrenheit", "Celsius", "212", "100"},
        {"Length", "mile", "kilometer", "1", "1.609344"},
        {"Length", "inch", "centimeter", "1", "2.54"},
        {"Fuel", "100 kilometers", "US gallon mpg", "10", "23.52145833"},
        {"Magnetic", "tesla", "gauss", "1", "10,000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        ShownConverter w;
        w.pickBySearch(w.view.findChild<QLabel*>(QStringLiteral("top")), QString::fromUtf8(c.category));
        w.pickBySearch(w.unitButton("upperUnit"), QString::fromUtf8(c.upper));
        w.pickBySearch(w.unitButton("lowerUnit"), QString::fromUtf8(c.lower));
        w.type(QString::fromUtf8(c.typed));
        EXPECT_EQ(text(w.view, "lowerValue"), QString::fromUtf8(c.shown));
    }
}

// Currencies convert at the rates as the shipped table states them, to their own digits.
TEST(ConverterView, CurrenciesConvertAtTheirStatedRates)
{
    struct Case {
        const char* upper;
        const char* lower;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"USD", "VND", "1", "25,450"},
        {"VND", "USD", "25450", "1"},
        {"USD", "EUR", "1", "0.9653"},
        {"USD", "JPY", "10", "1,572"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.upper) + " " + c.lower);
        ShownConverter w(CategoryCode::kCurrencyConverter);
        w.pickBySearch(w.unitButton("upperUnit"), QString::fromUtf8(c.upper));
        w.pickBySearch(w.unitButton("lowerUnit"), QString::fromUtf8(c.lower));
        w.type(QString::fromUtf8(c.typed));
        EXPECT_EQ(text(w.view, "lowerValue"), QString::fromUtf8(c.shown));
    }
}

TEST(ConverterView, ListsAreSearchedByTypingAndMovedByArrows)
{
    ShownConverter w;
    QTest::mouseClick(w.unitButton("lowerUnit"), Qt::LeftButton);
    QListWidget* list = w.list();
    ASSERT_FALSE(list->isHidden());
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(&w.view, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(&w.view, Qt::Key_Up);
    QTest::keyClick(&w.view, Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);

    // Typing keeps the lines that hold the text; the arrows move among them.
    w.type(QStringLiteral("MIL"));
    EXPECT_EQ(text(w.view, "listSearch"), QStringLiteral("Search: MIL"));
    saveScreenshots(w.view, QStringLiteral("converter_unit_search"));
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        if (!list->item(row)->isHidden())
            shown << list->item(row)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("millimeter mm"), QStringLiteral("mile mi"),
                                  QStringLiteral("nautical mile nmi"), QStringLiteral("mil mil")}));
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("millimeter mm"));
    QTest::keyClick(&w.view, Qt::Key_Down);
    QTest::keyClick(&w.view, Qt::Key_Down);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("nautical mile nmi"));
    w.type(QStringLiteral("x"));
    EXPECT_EQ(text(w.view, "listSearch"), QStringLiteral("No match for \u201CMILx\u201D"));
    QTest::keyClick(&w.view, Qt::Key_Backspace);
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(w.unitButton("lowerUnit")->text(), QStringLiteral("nmi"));
    // The keys typed into the list went nowhere else.
    EXPECT_EQ(text(w.view, "upperValue"), QStringLiteral("0"));
    EXPECT_TRUE(w.calculator.display().currentLine().input().empty());

    // Escape closes a list without a choice.
    QTest::mouseClick(w.unitButton("upperUnit"), Qt::LeftButton);
    QTest::keyClick(&w.view, Qt::Key_Escape);
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(w.unitButton("upperUnit")->text(), QStringLiteral("m"));
}

TEST(ConverterView, LongConstantNamesWrapInThePickList)
{
    ShownConverter w(CategoryCode::kConstants);
    w.pickBySearch(w.view.findChild<QLabel*>(QStringLiteral("top")), QStringLiteral("physico"));
    QTest::mouseClick(w.view.findChild<QLabel*>(QStringLiteral("constantName")), Qt::LeftButton);
    QListWidget* list = w.list();
    ASSERT_FALSE(list->isHidden());
    EXPECT_TRUE(list->wordWrap());
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
    w.type(QStringLiteral("molar volume"));
    ASSERT_NE(list->currentItem(), nullptr);
    const QString name = list->currentItem()->text();
    EXPECT_TRUE(name.startsWith(QStringLiteral("Molar volume of ideal gas"))) << name.toStdString();
    // The line is as tall as its wrapped text needs: every word shows.
    const QRect line = list->visualItemRect(list->currentItem());
    const int needed = list->fontMetrics()
                           .boundingRect(QRect(0, 0, list->viewport()->width(), 10000), Qt::TextWordWrap, name)
                           .height();
    EXPECT_GE(line.height(), needed);
    EXPECT_LE(line.width(), list->viewport()->width());
    saveScreenshots(w.view, QStringLiteral("converter_constants_list"));
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_EQ(text(w.view, "constantName"), name);
}

}  // namespace
