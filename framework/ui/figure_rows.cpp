#include "ui/figure_rows.h"

#include <QLabel>

#include <utility>

namespace zorva {

TFigureRows::TFigureRows(std::string namePrefix) : namePrefix_(std::move(namePrefix)) {}

void TFigureRows::Show(const std::string& name, const std::string& value) {
    auto found = labels_.find(name);
    if (found == labels_.end()) {
        auto* label = new QLabel;
        if (!namePrefix_.empty()) label->setObjectName(QString::fromStdString(namePrefix_ + name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        addRow(QString::fromStdString(name + ":"), label);
        found = labels_.emplace(name, label).first;
    }
    found->second->setText(QString::fromStdString(value));
}

std::string TFigureRows::Text(const std::string& name) const {
    const auto found = labels_.find(name);
    return found == labels_.end() ? std::string() : found->second->text().toStdString();
}

}  // namespace zorva
