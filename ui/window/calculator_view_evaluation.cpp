// The calculator window while "=" computes on its worker thread, and the display state it saves.
#include "calculator_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "atomic_file.h"
#include "biorhythm_view.h"
#include "evaluation_worker.h"

namespace {

// An "=" that ends within this time shows its result at once; a longer one makes the window busy.
constexpr std::chrono::milliseconds kQuickEvaluation{150};
// The display state is written at least this often while it changes, so a crash loses little.
constexpr std::chrono::milliseconds kDisplaySaveInterval{60'000};

}  // namespace

void CalculatorView::connectEvaluation()
{
    evaluation_ = new EvaluationWorker(this);
    connect(evaluation_, &EvaluationWorker::finished, this, &CalculatorView::completeEvaluation);
    pasteTimer_ = new QTimer(this);
    pasteTimer_->setSingleShot(true);
    connect(pasteTimer_, &QTimer::timeout, this, &CalculatorView::evaluatePastedLine);
    calculator_.setEvaluationRunner([this] { startEvaluation(); });
    auto* saveTimer = new QTimer(this);
    saveTimer->setInterval(kDisplaySaveInterval);
    connect(saveTimer, &QTimer::timeout, this, [this] {
        if (!busy_)
            saveDisplayState();
    });
    saveTimer->start();
}

void CalculatorView::startEvaluation()
{
    if (evaluation_->run([this] { calculator_.runEvaluation(); }, kQuickEvaluation))
        completeEvaluation();
    else
        setBusy(true);
}

void CalculatorView::completeEvaluation()
{
    evaluation_->wait();
    calculator_.finishEvaluation();
    // The lines of a paste keep the window busy until the last one has its result.
    if (pastedLines_.empty())
        setBusy(false);
    else
        pasteTimer_->start();
    saveDisplayState();
    refresh();
}

void CalculatorView::cancelEvaluation()
{
    stopCalculating();
    waitForEvaluation();
}

void CalculatorView::stopCalculating()
{
    pastedLines_.clear();
    if (calculator_.evaluating())
        calculator_.cancelEvaluation();
}

void CalculatorView::waitForEvaluation()
{
    if (calculator_.evaluating())
        completeEvaluation();
}

void CalculatorView::setBusy(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    // Keys, clicks and shortcuts of the whole window pass this filter while busy.
    if (busy)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    for (QAction* action : actions())
        action->setEnabled(!busy);
    menuButton_->setEnabled(!busy);
    cancelButton_->setVisible(busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    display_->update();
}

bool CalculatorView::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!busy_ || widget == nullptr || widget->window() != this)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            stopCalculating();
        } else if (key->matches(QKeySequence::Quit)) {
            // Quit stays the way out of a calculation that takes too long; the close waits for
            // the cancelled one to end.
            stopCalculating();
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel: return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return widget != cancelButton_;
    default: return false;
    }
}

void CalculatorView::saveDisplayState()
{
    const WriteFailureWatch watch;
    calculator_.saveDisplayState();
    reportWriteFailure(watch, !quietClose_);
}

void CalculatorView::reportWriteFailure(const WriteFailureWatch& watch, bool interactive)
{
    if (!watch.first() || writeFailureReported_)
        return;
    // Once: a folder that cannot be written fails every save the same way.
    writeFailureReported_ = true;
    const std::string message = watch.first()->message();
    std::fprintf(stderr, "corvan: %s\n", message.c_str());
    if (interactive)
        QMessageBox::warning(this, QStringLiteral("Corvan"), QString::fromStdString(message));
}

void CalculatorView::closeQuietly()
{
    quietClose_ = true;
    close();
}

void CalculatorView::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        // A close while "=" computes cancels it; the line then shows "Calculation cancelled".
        cancelEvaluation();
        const WriteFailureWatch watch;
        biorhythmWindow_->closeWindow();  // before the preferences are written
        calculator_.close();
        closed_ = true;
        reportWriteFailure(watch, !quietClose_);
    }
    event->accept();
}
