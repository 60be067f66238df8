#include "ui/locale_numbers.h"

#include <QLocale>

#include <cmath>

#include "wire/number_text.h"

namespace zorva {

std::string FormatLocal(double value, int decimals) {
    std::string text = FormatFixed(value, decimals);
    const std::string point = QLocale().decimalPoint().toStdString();
    if (const auto at = text.find('.'); at != std::string::npos) text.replace(at, 1, point);
    return text;
}

std::optional<double> ParseLocal(const std::string& text) {
    bool ok = false;
    const double value = QLocale().toDouble(QString::fromStdString(text), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace zorva
