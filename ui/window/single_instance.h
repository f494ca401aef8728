#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

// One running calculator per program folder, so that two windows never write the same files
// ("macro.mcr", "preferences.dat", "led.dat") over each other. The first start holds a lock
// file in the folder and listens on a local socket named after the folder; a later start finds
// the lock taken, asks the first one to come forward and then exits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now holds the folder, or when no lock can be made there at all
    // (a folder that cannot be written: nothing will be saved anyway). False when another
    // process holds it; that one has been asked to raise its window. A lock whose owner cannot
    // be reached (a dead process, or one of another computer: a restored backup, a home folder
    // shared over the network) is stale and taken over.
    bool claim();
    // After claim took over the lock of another computer: what the user should know, since
    // that computer may still run Corvan on the folder. Empty otherwise.
    const QString& takeoverNotice() const { return takeoverNotice_; }

    static constexpr const char* kLockFileName = "corvan.lock";

Q_SIGNALS:
    // A later start asked this window to come forward.
    void raiseRequested();

private:
    void acceptConnection();
    // Asks the lock's owner to raise its window; false when no owner answers.
    bool askOwnerToRaise();

    QString folder_;
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    QString takeoverNotice_;
};
