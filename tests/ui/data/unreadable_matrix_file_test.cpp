// A matrix file the window cannot read in full, as a user meets it: one message naming both
// files when the Matrices category opens, and the original still in the folder after the close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include "data_tools.h"
#include "file_content.h"
#include "shipped_window.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(UnreadableMatrixFile, IsMovedAsideWithOneMessageAndItsMatricesStayInUse)
{
    TempFolder state;
    const std::string damaged = "2147483647\r\n2 1 2\r\n1 2 \r\n3 1 1\r\n7 \r\n";
    ASSERT_TRUE(writeFileAtomically(state.path() / "matrix.dat", damaged));
    ShippedWindow w(0, state.path());
    DataTools tools(w.calculator.engine(), state.path());
    w.calculator.setTools(&tools);
    w.view.setDataTools(&tools);
    w.view.setToolMessages([&tools] { return tools.takeMessage(); });
    w.view.show();

    QStringList shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.append(box->text());
            box->accept();
        }
    });
    answer.start(20);
    w.view.showCategory(DataTools::kMatricesCategory);
    w.view.showCategory(0);
    w.view.showCategory(DataTools::kMatricesCategory);
    w.view.close();
    w.calculator.setTools(nullptr);

    std::vector<fs::path> aside;
    for (const fs::directory_entry& entry : fs::directory_iterator(state.path())) {
        if (entry.path().filename().string().starts_with("matrix.dat.unreadable-"))
            aside.push_back(entry.path());
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(contentOf(aside[0]), damaged);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Matrix data error\n"))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QString::fromStdString((state.path() / "matrix.dat").string())));
    EXPECT_TRUE(shown[0].contains(QString::fromStdString(aside[0].filename().string())));
    EXPECT_EQ(contentOf(state.path() / "matrix.dat"), "2\r\n2 1 2\r\n1 2 \r\n3 1 1\r\n7 \r\n");
}

}  // namespace
