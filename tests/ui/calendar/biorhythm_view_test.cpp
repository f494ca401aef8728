// The biorhythm panel as a user drives it: pick dates in the pickers, read the report.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include "temp_folder.h"

#include "biorhythm_view.h"
#include "keypads.h"
#include "calculator_view.h"
#include "ui_text.h"

#include "saved_picture.h"

namespace {

// Answers the next date picker with the given date.
void answerPicker(QDate date)
{
    QTimer::singleShot(0, [date] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QDateEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setDate(date);
        dialog->accept();
    });
}

// Types text into the next date picker from its first section and presses Enter.
void typeIntoPicker(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QDateEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->accept();
    });
}

QString sizeName(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The biorhythm window of a calculator window of the given size, with the shipped advice.
struct BiorhythmWindow {
    TempFolder user;
    TempFolder state;
    Calculator calculator;
    CalculatorView view;

    explicit BiorhythmWindow(QSize size)
        : calculator(prepare(user, state)), view(calculator, ProgramFolder(user.path(), CORVAN_SOURCE_DATA_DIR))
    {
        calculator.start();
        view.resize(size);
        view.showCategory(CategoryCode::kBiorhythm);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    static std::filesystem::path prepare(const TempFolder& user, const TempFolder& state)
    {
        std::filesystem::copy_file(std::filesystem::path(CORVAN_SOURCE_DATA_DIR) / "biorythm.dat",
                                   user.path() / "biorythm.dat");
        return state.path();
    }
    template <typename T = QWidget>
    T* child(const char* name) const
    {
        return view.findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(child(name), Qt::LeftButton); }
};

}  // namespace

TEST(BiorhythmWindow, BirthDateFiveDaysBeforeTheViewShowsThePhysicalMaximum)
{
    const std::filesystem::path data = std::filesystem::path(CORVAN_SOURCE_DATA_DIR);
    TempFolder user;
    TempFolder state;
    std::filesystem::copy_file(data / "biorythm.dat", user.path() / "biorythm.dat");
    Calculator calculator(state.path());
    CalculatorView view(calculator, ProgramFolder(user.path(), data));
    calculator.start();
    view.resize(240, 320);
    view.showCategory(CategoryCode::kBiorhythm);

    auto* panel = view.findChild<BiorhythmView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisibleTo(&view));
    answerPicker(QDate(1980, 1, 1));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("bioBirth")), Qt::LeftButton);
    answerPicker(QDate(1980, 1, 6));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("bioView")), Qt::LeftButton);

    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("bioBirth"))->text(),
              QStringLiteral("Date of birth: 1/1/1980"));
    const QString report = view.findChild<QTextBrowser*>(QStringLiteral("bioReport"))->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("Maximum."))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("100.0%"))) << report.toStdString();

    // Leaving the category saves the persons and keeps the birth date for next time.
    view.showCategory(0);
    EXPECT_FALSE(panel->isVisibleTo(&view));
    EXPECT_TRUE(std::filesystem::exists(user.path() / "biorythm-users.dat"));
    EXPECT_EQ(calculator.preferences().rememberedDate, (StoredDate{1980, 1, 1}));
}

TEST(BiorhythmWindow, TypedBirthDatesAreReadAsShownAndTheFutureIsRefused)
{
    struct Case {
        QString typed;
        QString shown;
        bool refused;
    };
    const QDate tomorrow = QDate::currentDate().addDays(1);
    const Case cases[] = {
        {"12/25/1985", "Date of birth: 12/25/1985", false},
        {"12251985", "Date of birth: 12/25/1985", false},
        {"3/4/1990", "Date of birth: 3/4/1990", false},
        {"03/04/1990", "Date of birth: 3/4/1990", false},
        {tomorrow.toString(QStringLiteral("MM/dd/yyyy")), "Date of birth: 1/1/1980", true},
    };
    for (const Case& c : cases) {
        BiorhythmWindow w(QSize(240, 320));
        answerPicker(QDate(1980, 1, 1));
        w.click("bioBirth");
        typeIntoPicker(c.typed);
        w.click("bioBirth");
        EXPECT_EQ(w.child<QPushButton>("bioBirth")->text(), c.shown) << c.typed.toStdString();
        QMessageBox* box = nullptr;
        for (QMessageBox* open : w.view.findChildren<QMessageBox*>())
            if (open->isVisible())
                box = open;
        ASSERT_EQ(box != nullptr, c.refused) << c.typed.toStdString();
        if (box) {
            EXPECT_EQ(box->text(), QStringLiteral("A date of birth cannot lie in the future."));
        }
    }
}

class BiorhythmWindowAtSize : public ::testing::TestWithParam<QSize> {};

// A person whose name looks like markup, birth and view date five days apart: the name reads as
// typed, the captions stand apart in landscape, and the values are those of the logical chart.
TEST_P(BiorhythmWindowAtSize, NamesCaptionsAndValuesAtEverySize)
{
    const QSize size = GetParam();
    BiorhythmWindow w(size);
    const bool landscape = size.width() > size.height();
    w.click("bioNew");
    auto* persons = w.child<QComboBox>("bioPersons");
    ASSERT_NE(persons, nullptr);
    const QString name = QStringLiteral("<b>Ann</b> & \"Bob\"");
    persons->lineEdit()->selectAll();
    QTest::keyClicks(persons->lineEdit(), name);
    QTest::keyClick(persons->lineEdit(), Qt::Key_Return);
    auto* panel = w.view.findChild<BiorhythmView*>();
    ASSERT_EQ(panel->model()->persons().size(), 1u);
    EXPECT_EQ(panel->model()->persons()[0].name, fromQString(name));
    EXPECT_EQ(persons->itemText(0), name);
    EXPECT_EQ(persons->lineEdit()->text(), name);
    EXPECT_EQ(persons->itemData(0, Qt::DisplayRole).toString(), name);

    answerPicker(QDate(1980, 1, 1));
    w.click("bioBirth");
    answerPicker(QDate(1980, 1, 6));
    w.click("bioView");
    auto* birth = w.child<QPushButton>("bioBirth");
    auto* viewDate = w.child<QPushButton>("bioView");
    auto* birthCaption = w.child<QLabel>("bioBirthCaption");
    auto* viewCaption = w.child<QLabel>("bioViewCaption");
    if (landscape) {
        EXPECT_TRUE(birthCaption->isVisibleTo(&w.view));
        EXPECT_TRUE(viewCaption->isVisibleTo(&w.view));
        EXPECT_EQ(birthCaption->text(), QStringLiteral("Date of birth"));
        EXPECT_EQ(viewCaption->text(), QStringLiteral("Date to view"));
        EXPECT_EQ(birth->text(), QStringLiteral("1/1/1980"));
        EXPECT_EQ(viewDate->text(), QStringLiteral("1/6/1980"));
    } else {
        EXPECT_FALSE(birthCaption->isVisibleTo(&w.view));
        EXPECT_EQ(birth->text(), QStringLiteral("Date of birth: 1/1/1980"));
        EXPECT_EQ(viewDate->text(), QStringLiteral("Date to view: 1/6/1980"));
    }
    QCoreApplication::processEvents();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             birth, viewDate, birthCaption, viewCaption, w.child("bioDays"), w.child("bioNew"), w.child("bioRemove")}) {
        if (!widget->isVisibleTo(&w.view))
            continue;
        EXPECT_GE(widget->width(), widget->sizeHint().width()) << widget->objectName().toStdString();
        EXPECT_GE(QFontInfo(widget->font()).pixelSize(), 11) << widget->objectName().toStdString();
    }
    const QString report = w.child<QTextBrowser>("bioReport")->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("Physical 100.0%"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Emotional 98.0%"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Intellectual 94.8%"))) << report.toStdString();
    savePicture(w.view.grab().toImage(), QStringLiteral("biorhythm-%1").arg(sizeName(size)));

    // The open list shows the name as typed too.
    persons->showPopup();
    QCoreApplication::processEvents();
    QAbstractItemView* list = persons->view();
    EXPECT_EQ(list->model()->data(list->model()->index(0, 0)).toString(), name);
    savePicture(list->grab().toImage(), QStringLiteral("biorhythm-persons-%1").arg(sizeName(size)));
    persons->hidePopup();
}

// The remarkable days dialog covers the window, its lines readable: light text on the dark
// dialog, both check boxes and "for the next ... year(s)" whole.
TEST_P(BiorhythmWindowAtSize, RemarkableDaysFitTheWindow)
{
    const QSize size = GetParam();
    BiorhythmWindow w(size);
    w.click("bioNew");
    answerPicker(QDate(1980, 1, 1));
    w.click("bioBirth");
    answerPicker(QDate(2024, 3, 1));
    w.click("bioView");
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<GoodBadDaysView*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        checked = true;
        EXPECT_LE(dialog->width(), size.width());
        EXPECT_LE(dialog->minimumSizeHint().width(), size.width());
        EXPECT_LE(dialog->minimumSizeHint().height(), size.height());
        for (const char* name : {"showGood", "showBad", "yearsBefore", "yearsAfter", "years"}) {
            auto* widget = dialog->findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(widget, nullptr) << name;
            EXPECT_TRUE(widget->isVisible()) << name;
            EXPECT_GE(widget->width(), widget->sizeHint().width()) << name;
            EXPECT_LE(widget->mapTo(dialog, QPoint(widget->width(), 0)).x(), dialog->width()) << name;
        }
        auto* before = dialog->findChild<QLabel*>(QStringLiteral("yearsBefore"));
        EXPECT_EQ(before->text(), QStringLiteral("for the next"));
        EXPECT_GT(before->palette().color(QPalette::WindowText).lightness(), 180);
        const QImage picture = dialog->grab().toImage();
        EXPECT_LT(picture.pixelColor(2, 2).lightness(), 80);
        EXPECT_GT(dialog->findChild<QTreeWidget*>(QStringLiteral("days"))->topLevelItemCount(), 0);
        savePicture(picture, QStringLiteral("biorhythm-remarkable-days-%1").arg(sizeName(size)));
        dialog->reject();
    });
    w.click("bioDays");
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BiorhythmWindowAtSize,
                         ::testing::Values(QSize(240, 320), QSize(320, 240), QSize(480, 640)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return "W" + std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });
