#include "ui/connection_dialog.h"

#include <QPushButton>

#include "ui/locale_numbers.h"
#include "ui/window_caption.h"

namespace zorva {
std::string ConnectionFailedText(const TConnectionFailure& failure) {
    return "Could not connect to " + failure.Address + ": " + failure.Reason;
}

std::string ConnectionLostText(const TConnectionFailure& failure) {
    return "Lost the connection to the message server at " + failure.Address + " at time " +
           FormatLocal(failure.LostAt) + ": " + failure.Reason + "\nThe run has ended.";
}

TConnectionFailedDialog::TConnectionFailedDialog(const TConnectionFailure& failure, QWidget* parent)
    : QMessageBox(parent) {
    setObjectName("ConnectionFailedDialog");
    setIcon(QMessageBox::Warning);
    setWindowTitle(ProgramCaption("Connection failed"));
    setText(QString::fromStdString(ConnectionFailedText(failure)));
    setInformativeText("Start the message server and retry, or run this model alone.");
    retry_ = addButton("Retry", QMessageBox::AcceptRole);
    unconnected_ = addButton("Run unconnected", QMessageBox::ActionRole);
    quit_ = addButton("Quit", QMessageBox::RejectRole);
    retry_->setObjectName("RetryButton");
    unconnected_->setObjectName("RunUnconnectedButton");
    quit_->setObjectName("QuitButton");
    setDefaultButton(retry_);
    setEscapeButton(quit_);
}

TFailedConnectionAnswer TConnectionFailedDialog::Answer() const {
    if (clickedButton() == retry_) return TFailedConnectionAnswer::Retry;
    if (clickedButton() == unconnected_) return TFailedConnectionAnswer::RunUnconnected;
    return TFailedConnectionAnswer::Quit;
}

TFailedConnectionAnswer AskAfterFailedConnection(const TConnectionFailure& failure, QWidget* parent) {
    TConnectionFailedDialog dialog(failure, parent);
    dialog.exec();
    return dialog.Answer();
}

void ShowConnectionLost(const TConnectionFailure& failure, QWidget* parent) {
    auto* box = new QMessageBox(QMessageBox::Warning, ProgramCaption("Connection lost"),
                                QString::fromStdString(ConnectionLostText(failure)), QMessageBox::Ok, parent);
    box->setObjectName("ConnectionLostBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace zorva
