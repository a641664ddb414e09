#include "platform/sim/sim_runtime.h"

namespace lumatone {

int SimRuntime::PopupMenu(const std::vector<std::string>& captions) {
    popups.push_back(captions);
    if (popupChoices.empty())
        return -1;
    int choice = popupChoices.front();
    popupChoices.pop_front();
    return choice;
}

} // namespace lumatone
