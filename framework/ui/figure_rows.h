#pragma once

#include <QFormLayout>

#include <map>
#include <string>

class QLabel;

namespace zorva {

// Named figures as "name: value" rows, a row added the first time a name is
// shown: the dashboard and the run summary list the same kind of figures.
class TFigureRows : public QFormLayout {
public:
    // Each value label is named namePrefix + name, so that it can be found.
    explicit TFigureRows(std::string namePrefix = {});

    void Show(const std::string& name, const std::string& value);
    // The value as shown; empty for a name never shown.
    std::string Text(const std::string& name) const;

private:
    std::string namePrefix_;
    std::map<std::string, QLabel*> labels_;
};

}  // namespace zorva
