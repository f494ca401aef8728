// The biorhythm panel as a user drives it: pick dates in the pickers, read the report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "../app/temp_folder.h"

#include "biorhythm_view.h"
#include "keypads.h"
#include "calculator_view.h"

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

}  // namespace

TEST(BiorhythmWindow, BirthDateFiveDaysBeforeTheViewShowsThePhysicalMaximum)
{
    const std::filesystem::path data = std::filesystem::path(CORVAN_SOURCE_DATA_DIR);
    TempFolder user;
    TempFolder state;
    std::filesystem::copy_file(data / "biorythm.dat", user.path() / "biorythm.dat");
    Calculator frame(state.path());
    CalculatorView view(frame, ProgramFolder(user.path(), data));
    frame.start();
    view.resize(240, 320);
    view.showCategory(CategoryCode::kBiorhythm);

    auto* panel = view.findChild<BiorhythmView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisibleTo(&view));
    answerPicker(QDate(1980, 1, 1));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("bioBirth")), Qt::LeftButton);
    answerPicker(QDate(1980, 1, 6));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("bioView")), Qt::LeftButton);

    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("bioBirth"))->text(), QStringLiteral("Date of birth: 1/1/1980"));
    const QString report = view.findChild<QTextBrowser*>(QStringLiteral("bioReport"))->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("Maximum."))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("100.0%"))) << report.toStdString();

    // Leaving the category saves the persons and keeps the birth date for next time.
    view.showCategory(0);
    EXPECT_FALSE(panel->isVisibleTo(&view));
    EXPECT_TRUE(std::filesystem::exists(user.path() / "biorythm-users.dat"));
    EXPECT_EQ(frame.preferences().rememberedDate, (StoredDate{1980, 1, 1}));
}
