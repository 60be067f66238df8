#include "ui/window_caption.h"

#include <QWidget>

#include "connection/messaging.h"

namespace zorva {
namespace {

QString NameSuffix() {
    return QString::fromUtf8(" — ") + QString::fromStdString(ModelName());
}

}  // namespace

QString ProgramCaption(const QString& what) {
    return what + NameSuffix();
}

void AddProgramName(QWidget& window) {
    const QString title = window.windowTitle();
    if (!title.endsWith(NameSuffix())) window.setWindowTitle(title + NameSuffix());
}

}  // namespace zorva
