#include "kernel/element_registry.h"

namespace zorva {
namespace {

std::vector<TElementClass>& Records() {
    static auto* records = new std::vector<TElementClass>;
    return *records;
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string TrimName(std::string_view name) {
    while (!name.empty() && IsBlankOrControl(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsBlankOrControl(name.back())) name.remove_suffix(1);
    return std::string(name);
}

std::string NextElementName(std::type_index processKey, std::string_view name) {
    std::string base = TrimName(name);
    auto& records = Records();
    TElementClass* record = nullptr;
    for (TElementClass& r : records) {
        if (r.ProcessKey == processKey && r.Name == base) {
            record = &r;
            break;
        }
    }
    if (!record) record = &records.emplace_back(TElementClass{0, base, processKey});
    ++record->ElementCount;
    return record->ElementCount == 1 ? base : base + std::to_string(record->ElementCount);
}

const std::vector<TElementClass>& ElementClasses() {
    return Records();
}

void ResetElementRegistry() {
    Records().clear();
}

}  // namespace zorva
