#pragma once
// Every window's caption names the program, so that the windows of two
// model programs on one screen can be told apart: "Queues — obrimwest".

#include <QString>

class QWidget;

namespace zorva {

QString ProgramCaption(const QString& what);
// Adds the program's name to the window's caption, once.
void AddProgramName(QWidget& window);

}  // namespace zorva
