#include "rate_update_view.h"

#include <QBoxLayout>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>

#include "message_box.h"
#include "rate_update.h"

namespace {

constexpr int kPollMilliseconds = 100;

QString hostOf(const QString& url)
{
    const QUrl parsed = QUrl::fromUserInput(url);
    return parsed.host().isEmpty() ? url : parsed.host();
}

}  // namespace

RateUpdateView::RateUpdateView(std::filesystem::path currencyFile, const QString& url, QWidget* parent)
    : QDialog(parent),
      file_(std::move(currencyFile)),
      cancel_(std::make_shared<std::atomic<bool>>(false)),
      received_(std::make_shared<std::atomic<std::size_t>>(0)),
      expected_(std::make_shared<std::atomic<std::size_t>>(0)),
      clock_(std::make_unique<QElapsedTimer>())
{
    setObjectName(QStringLiteral("rateUpdateWindow"));
    setWindowTitle(tr("Update the currency rates"));
    setModal(true);
    applyDialogStyle(this);

    auto* source = new QLabel(tr("Download the rates from:"), this);
    urlField_ = new QLineEdit(url, this);
    urlField_->setObjectName(QStringLiteral("rateSourceUrl"));
    source->setBuddy(urlField_);
    const std::string date = currency::dateOf(file_);
    status_ = new QLabel(
        date.empty() ? tr("No rates yet.") : tr("The rates now are of %1.").arg(QString::fromStdString(date)), this);
    status_->setObjectName(QStringLiteral("updateStatus"));
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("updateProgress"));
    progress_->setTextVisible(false);
    progress_->hide();

    updateButton_ = new QPushButton(tr("Update"), this);
    updateButton_->setObjectName(QStringLiteral("startUpdate"));
    updateButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Close"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelUpdate"));
    connect(updateButton_, &QPushButton::clicked, this, &RateUpdateView::startUpdate);
    connect(cancelButton_, &QPushButton::clicked, this, &RateUpdateView::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(updateButton_);
    buttons->addWidget(cancelButton_);
    auto* rows = new QVBoxLayout(this);
    rows->addWidget(source);
    rows->addWidget(urlField_);
    rows->addWidget(status_);
    rows->addWidget(progress_);
    rows->addStretch(1);
    rows->addLayout(buttons);
    // Wide enough to read an address, and no wider than the window it stands over.
    const QMargins margins = rows->contentsMargins();
    urlField_->setMinimumWidth(std::min(320, ownerWindowSize(parent).width() - margins.left() - margins.right()));

    poll_ = new QTimer(this);
    poll_->setInterval(kPollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &RateUpdateView::showProgress);
}

RateUpdateView::~RateUpdateView()
{
    if (worker_.joinable()) {
        cancel_->store(true);
        worker_.join();
    }
}

QString RateUpdateView::url() const
{
    return urlField_->text().trimmed();
}

void RateUpdateView::startUpdate()
{
    if (worker_.joinable())
        return;
    const QString address = url();
    cancel_->store(false);
    received_->store(0);
    expected_->store(0);
    Q_EMIT updateStarted(address);

    urlField_->setReadOnly(true);
    updateButton_->setEnabled(false);
    cancelButton_->setText(tr("Cancel"));
    cancelButton_->setEnabled(true);
    progress_->setRange(0, 0);  // busy until the size is known
    progress_->show();
    status_->setText(tr("Connecting to %1 ...").arg(hostOf(address)));
    clock_->start();
    poll_->start();

    RateUpdate update(file_, settings_.limits);
    update.setUrl(address.toStdString());
    if (settings_.proxy)
        update.setProxy(settings_.proxy);
    if (!settings_.caFile.empty())
        update.setCaFile(settings_.caFile);
    worker_ = std::thread(
        [this, update = std::move(update), cancel = cancel_, received = received_, expected = expected_]() mutable {
            const bool succeeded = update.run(cancel.get(), [received, expected](std::size_t got, std::size_t total) {
                received->store(got);
                expected->store(total);
            });
            const Outcome outcome{succeeded, update.errorClass(), QString::fromStdString(update.errorMessage()),
                                  QString::fromStdString(update.errorDetail()), QString::fromStdString(update.date())};
            // Runs on the window thread; the destructor joins this thread first, so the view is alive.
            QMetaObject::invokeMethod(
                this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
        });
}

void RateUpdateView::cancelUpdate()
{
    if (!worker_.joinable())
        return;
    cancel_->store(true);
    cancelButton_->setEnabled(false);
    status_->setText(tr("Cancelling ..."));
}

void RateUpdateView::reject()
{
    if (worker_.joinable()) {
        cancelUpdate();
        return;  // the dialog closes when the worker has stopped
    }
    QDialog::reject();
}

void RateUpdateView::showProgress()
{
    if (cancel_->load())
        return;
    const std::size_t got = received_->load();
    const std::size_t total = expected_->load();
    const double seconds = static_cast<double>(clock_->elapsed()) / 1000.0;
    if (total > 0) {
        progress_->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
        progress_->setValue(static_cast<int>(std::min(got, total)));
        status_->setText(tr("Received %1 of %2 bytes").arg(got).arg(total));
    } else if (got > 0) {
        status_->setText(tr("Received %1 bytes").arg(got));
    } else {
        status_->setText(tr("Waiting for %1 ... %2 s").arg(hostOf(url())).arg(seconds, 0, 'f', 1));
    }
}

void RateUpdateView::finish(const Outcome& outcome)
{
    if (worker_.joinable())
        worker_.join();
    poll_->stop();
    progress_->hide();
    urlField_->setReadOnly(false);
    updateButton_->setEnabled(true);
    cancelButton_->setText(tr("Close"));
    cancelButton_->setEnabled(true);
    const bool cancelled = outcome.errorClass == HttpDownload::kErrorCancelled;
    if (outcome.succeeded)
        status_->setText(tr("The rates of %1 are in place.").arg(outcome.date));
    else if (cancelled)
        status_->setText(tr("Update cancelled; the rates were kept."));
    else
        status_->setText(tr("The rates were kept. %1").arg(outcome.message));
    status_->setToolTip(outcome.succeeded ? QString() : outcome.detail);
    Q_EMIT updateFinished(outcome.succeeded, cancelled, outcome.message, outcome.detail);
    if (outcome.succeeded)
        accept();
    else
        QDialog::reject();
}
