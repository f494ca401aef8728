#pragma once

#include <QDialog>

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "http_download.h"

class QElapsedTimer;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The rate update as the user starts and watches it: the source address (a preference, edited
// here), an Update button, then progress and a Cancel while a worker thread downloads, checks
// and writes "currency.dat" through RateUpdate. The window thread only starts the work, polls
// its progress and takes its end, so the windows keep painting and answering.
class RateUpdateView : public QDialog {
    Q_OBJECT
public:
    // How the worker downloads; tests pass short timeouts, a direct connection and their own
    // trusted certificate.
    struct DownloadSettings {
        DownloadLimits limits;
        std::optional<std::string> proxy;  // unset: the environment's
        std::filesystem::path caFile;      // empty: the system's certificates
    };

    RateUpdateView(std::filesystem::path currencyFile, const QString& url, QWidget* parent = nullptr);
    ~RateUpdateView() override;

    void setDownloadSettings(DownloadSettings settings) { settings_ = std::move(settings); }
    QString url() const;
    bool isRunning() const { return worker_.joinable(); }

    // Starts the update from the address in the field (the Update button).
    void startUpdate();
    // Asks the running update to stop (the Cancel button while it runs).
    void cancelUpdate();

Q_SIGNALS:
    // The update began from this address; the converter says that it is updating.
    void updateStarted(const QString& url);
    // The update ended: the file was replaced (succeeded), or kept with the error message
    // ("Error: class, code, text"); cancelled when the user stopped it.
    void updateFinished(bool succeeded, bool cancelled, const QString& message, const QString& detail);

protected:
    void reject() override;

private:
    struct Outcome {
        bool succeeded = false;
        int errorClass = 0;
        QString message;
        QString detail;  // the technical side of message
        QString date;
    };
    void showProgress();
    void finish(const Outcome& outcome);

    std::filesystem::path file_;
    DownloadSettings settings_;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<std::atomic<std::size_t>> received_;
    std::shared_ptr<std::atomic<std::size_t>> expected_;

    QLineEdit* urlField_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* updateButton_;
    QPushButton* cancelButton_;
    QTimer* poll_;
    std::unique_ptr<QElapsedTimer> clock_;
};
