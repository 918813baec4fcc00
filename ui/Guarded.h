#pragma once
// Runs a body on behalf of the OS or the toolkit (a window procedure, a slot, an event
// handler), handing any exception to the application's exception display, so that none
// unwinds through code that is not ours.

#include "Application.h"

namespace ui {

template <class Body> void Guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        Application->HandleException();
    }
}

} // namespace ui
