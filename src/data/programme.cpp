#include "data/programme.h"

#include <memory>

namespace vinorium {

namespace {
std::unique_ptr<Programme>& instance() {
    static std::unique_ptr<Programme> p = std::make_unique<Programme>();
    return p;
}
}  // namespace

Programme& programme() {
    return *instance();
}

void reinitialiseProgramme() {
    instance() = std::make_unique<Programme>();
}

}  // namespace vinorium
