#pragma once
// What the shared main of the widget benchmarks offers them.
#include <functional>
#include <memory>

// Run after the benchmarks, while the application object still lives: fixtures holding
// windows let go of them here.
std::function<void()>& beforeApplicationExit();

// A fixture made on first use and let go of before the application object.
template <class T>
T& fixtureUntilExit()
{
    static std::unique_ptr<T> fixture;
    if (!fixture) {
        fixture = std::make_unique<T>();
        beforeApplicationExit() = [] { fixture.reset(); };
    }
    return *fixture;
}
