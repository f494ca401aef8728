#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, `kill`, Ctrl+C) into a Qt
// signal, so that the window can save its state as a close does. The handler itself only
// writes the signal's number into a pipe; the window's event loop reads it (the self-pipe).
// Catches the signals for the life of the object; the handlers it replaced come back when it is
// destroyed. One object at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe could not be made: the signals then keep their default action.
    bool active() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3];
};
