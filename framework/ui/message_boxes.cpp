#include "ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <utility>

namespace zorva {
namespace {

BoxPresenter& Presenter() {
    static BoxPresenter presenter;
    return presenter;
}

void ShowModalBox(BoxKind kind, const std::string& text) {
    QWidget* parent = QApplication::activeWindow();
    const QString message = QString::fromStdString(text);
    if (kind == BoxKind::Error)
        QMessageBox::critical(parent, QApplication::applicationName(), message);
    else
        QMessageBox::warning(parent, QApplication::applicationName(), message);
}

void PrintBox(BoxKind kind, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", kind == BoxKind::Error ? "Error" : "Warning", text.c_str());
    std::fflush(stderr);
}

}  // namespace

void ShowBox(BoxKind kind, const std::string& text) {
    if (Presenter())
        Presenter()(kind, text);
    else
        ShowModalBox(kind, text);
}

void SetBoxPresenter(BoxPresenter presenter) {
    Presenter() = std::move(presenter);
}

bool BoxesOnScreen() {
    return !Presenter();
}

void SendBoxesToStandardError() {
    SetBoxPresenter(&PrintBox);
}

}  // namespace zorva
