#pragma once
// The start and end of a program's units in one place: initialisations in order, finalisations
// of the units that started in reverse order. A program's exit that ends the process directly
// runs UnitsDone first.

#include <functional>
#include <initializer_list>

struct TUnit {
    std::function<void()> Init;
    std::function<void()> Done; // may be empty
};

// Runs each initialisation in order. When one throws, the units started before it are finished
// (in reverse) and the exception goes on to the caller.
void UnitsInit(std::initializer_list<TUnit> units);

// Finishes every started unit, newest first; a second call does nothing. A finalisation that
// throws does not keep the others from running.
void UnitsDone() noexcept;
