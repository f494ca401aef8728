#pragma once

// The calculator window as the ui tests drive it: on the source tree's data, started as the
// program starts it, and clicked and typed at as a user would.

#include <gtest/gtest.h>

#include <QString>
#include <QTest>

#include <filesystem>
#include <utility>

#include "calculator.h"
#include "calculator_view.h"
#include "keypad_view.h"
#include "program_folder.h"

// The source tree's data folder, as the folder of the program and of its shipped files.
inline ProgramFolder shippedFolder()
{
    const std::filesystem::path data = std::filesystem::path(CORVAN_SOURCE_DATA_DIR);
    return ProgramFolder(data, data);
}

// A mouse click in the middle of one key of a keypad; a negative position is a key the pad lacks.
inline void clickKey(KeypadView* pad, int position)
{
    ASSERT_GE(position, 0);
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, pad->keyRect(position).center());
}

// A started calculator in a portrait window (240x320) that shows one category.
struct ShippedWindow {
    Calculator calculator;
    CalculatorView view;

    explicit ShippedWindow(int category = 0, std::filesystem::path stateFolder = {},
                           ProgramFolder folder = shippedFolder())
        : calculator(std::move(stateFolder)), view(calculator, std::move(folder))
    {
        calculator.start();
        view.resize(240, 320);
        view.showCategory(category);
    }
    KeypadView* keypad(const char* name) const { return view.findChild<KeypadView*>(QString::fromLatin1(name)); }
    void click(const char* name, int position) { clickKey(keypad(name), position); }
    // Each character as a key press on the window.
    void type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(&view, c.toLatin1());
    }
};
