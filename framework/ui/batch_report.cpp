#include "ui/batch_report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "connection/messaging.h"
#include "kernel/kernel.h"
#include "zorva/version.h"

namespace zorva {
namespace {

QJsonObject QueueReport(const ZorvaQueue& queue) {
    return QJsonObject{
        {"name", QString::fromStdString(queue.Name)},
        {"length", queue.Length},
        {"avgLength", queue.AvgLength},
        {"maxLength", queue.MaxLength},
        {"totalPassed", static_cast<qint64>(queue.TotalPassed)},
        {"direct", static_cast<qint64>(queue.Direct)},
        {"avgWaitingTime", queue.AvgWaitingTime},
        {"maxWaitingTime", queue.MaxWaitingTime},
    };
}

QJsonObject FiguresReport() {
    QJsonObject figures;
    for (const auto& [name, count] : RunFigures())
        figures.insert(QString::fromStdString(name), static_cast<qint64>(count));
    return figures;
}

}  // namespace

std::string RunReportJson() {
    QJsonArray queues;
    for (const ZorvaQueue* queue : RegisteredQueues()) queues.append(QueueReport(*queue));
    const QJsonObject report{
        {"model", QString::fromStdString(ModelName())},
        {"version", kZorvaVersion},
        {"clock", SimTime()},
        {"queues", queues},
        {"figures", FiguresReport()},
    };
    return QJsonDocument(report).toJson(QJsonDocument::Indented).toStdString();
}

bool WriteRunReport(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const std::string json = RunReportJson();
    const bool written = file.write(json.data(), static_cast<qint64>(json.size())) == static_cast<qint64>(json.size());
    return file.flush() && written;
}

}  // namespace zorva
