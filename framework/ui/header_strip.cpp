#include "ui/header_strip.h"

#include <array>

namespace zorva {
namespace {

constexpr std::array<int, 5> kSectionWidths = {160, 120, 120, 120, 120};
constexpr int kStripHeight = 17;

}  // namespace

THeaderStrip::THeaderStrip(QWidget* parent) : QHeaderView(Qt::Horizontal, parent), sections_(0, 5) {
    setObjectName("HeaderControl1");
    setModel(&sections_);
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < static_cast<int>(kSectionWidths.size()); ++i) resizeSection(i, kSectionWidths[i]);
    setFixedHeight(kStripHeight);
}

void THeaderStrip::SetSectionText(int section, const std::string& text) {
    sections_.setHeaderData(section, Qt::Horizontal, QString::fromStdString(text));
}

std::string THeaderStrip::SectionText(int section) const {
    return sections_.headerData(section, Qt::Horizontal).toString().toStdString();
}

}  // namespace zorva
