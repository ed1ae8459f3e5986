#include "core/Units.h"

#include <vector>

namespace {

std::vector<std::function<void()>> started;

} // namespace

void UnitsInit(std::initializer_list<TUnit> units) {
    try {
        for (const TUnit& unit : units) {
            unit.Init();
            if (unit.Done) {
                started.push_back(unit.Done);
            }
        }
    } catch (...) {
        UnitsDone();
        throw;
    }
}

void UnitsDone() noexcept {
    while (!started.empty()) {
        const std::function<void()> done = std::move(started.back());
        started.pop_back();
        try {
            done();
        } catch (...) {
            // The process is ending; the other units still get to finish.
        }
    }
}
