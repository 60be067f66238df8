#pragma once
// The strip across the top of the main window: five fixed sections showing
// the run settings (server address, break, output, animation, message log).
// A click on any of them opens the settings panel.

#include <QHeaderView>
#include <QStandardItemModel>

#include <string>

namespace zorva {

enum HeaderSection { hsServerAddress = 0, hsBreak = 1, hsOutput = 2, hsAnimation = 3, hsMessageLog = 4 };

class THeaderStrip : public QHeaderView {
    Q_OBJECT
public:
    explicit THeaderStrip(QWidget* parent);

    void SetSectionText(int section, const std::string& text);
    std::string SectionText(int section) const;

private:
    QStandardItemModel sections_;
};

}  // namespace zorva
