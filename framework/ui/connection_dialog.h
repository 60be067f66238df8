#pragma once
// What the window says when the link to the message server fails: before the
// run, a dialog that offers a way forward; during the run, a note that the
// run has ended with the connection. Both appear only when message boxes are
// shown on screen: a headless program keeps its one line on standard error.

#include <QMessageBox>

#include "connection/connection_failure.h"

namespace zorva {

enum class TFailedConnectionAnswer { Retry, RunUnconnected, Quit };

// "Could not connect to ADDRESS: REASON" with Retry, Run unconnected and Quit.
class TConnectionFailedDialog : public QMessageBox {
    Q_OBJECT
public:
    TConnectionFailedDialog(const TConnectionFailure& failure, QWidget* parent);

    QPushButton* RetryButton() const { return retry_; }
    QPushButton* RunUnconnectedButton() const { return unconnected_; }
    QPushButton* QuitButton() const { return quit_; }
    // The button chosen; Quit when the dialog was closed without one.
    TFailedConnectionAnswer Answer() const;

private:
    QPushButton* retry_;
    QPushButton* unconnected_;
    QPushButton* quit_;
};

std::string ConnectionFailedText(const TConnectionFailure& failure);
std::string ConnectionLostText(const TConnectionFailure& failure);

// Asks, modally, and returns the answer.
TFailedConnectionAnswer AskAfterFailedConnection(const TConnectionFailure& failure, QWidget* parent);
// Shows, without waiting for an answer, that the run ended with the
// connection lost.
void ShowConnectionLost(const TConnectionFailure& failure, QWidget* parent);

}  // namespace zorva
