#include "platform/table.h"

#include <array>
#include <stdexcept>

namespace {
template <typename Item>
const Item& item_at(const std::vector<Item>& items, int index, const char* what) {
    if (index < 0 || index >= static_cast<int>(items.size()))
        throw EListError(std::string(what) + " index out of bounds (" + std::to_string(index) + ")");
    return items[static_cast<std::size_t>(index)];
}
}  // namespace

std::string to_string(TIndexOptions options) {
    static constexpr std::array<const char*, 6> kNames = {"ixPrimary",    "ixUnique",     "ixDescending",
                                                          "ixCaseInsensitive", "ixExpression", "ixNonMaintained"};
    std::string text = "[";
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (!options.contains(static_cast<TIndexOption>(i))) continue;
        if (text.size() > 1) text += ',';
        text += kNames[i];
    }
    return text + "]";
}

const char* to_string(TTableType type) {
    switch (type) {
        case TTableType::ttDefault: return "ttDefault";
        case TTableType::ttParadox: return "ttParadox";
        case TTableType::ttDBase: return "ttDBase";
        case TTableType::ttASCII: return "ttASCII";
    }
    return "?";
}

void TFieldDefs::Add(const std::string& name, std::int32_t data_type, std::int32_t size, bool required) {
    items_.push_back(TFieldDef{name, data_type, size, required});
}

const TFieldDef& TFieldDefs::operator[](int index) const { return item_at(items_, index, "Field definition"); }

void TIndexDefs::Add(const std::string& name, const std::string& fields, TIndexOptions options) {
    items_.push_back(TIndexDef{name, fields, options});
}

const TIndexDef& TIndexDefs::operator[](int index) const { return item_at(items_, index, "Index definition"); }
