#include "platform/sim/sim_registry.h"

#include <cctype>

namespace lumatone {

std::string SimRegistry::Key(const std::string& valuePath) {
    std::string k = valuePath;
    for (char& c : k)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return k;
}

bool SimRegistry::WriteString(const std::string& valuePath, const std::string& value) {
    writes.emplace_back(valuePath, value);
    if (failWrites)
        return false;
    values[Key(valuePath)] = value;
    return true;
}

bool SimRegistry::DeleteValue(const std::string& valuePath) {
    deletes.push_back(valuePath);
    if (failWrites)
        return false;
    return values.erase(Key(valuePath)) > 0;
}

bool SimRegistry::ValueExists(const std::string& valuePath) {
    return values.count(Key(valuePath)) > 0;
}

std::string SimRegistry::Get(const std::string& valuePath) const {
    auto it = values.find(Key(valuePath));
    return it == values.end() ? std::string() : it->second;
}

} // namespace lumatone
