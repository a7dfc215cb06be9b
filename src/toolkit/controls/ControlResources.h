#pragma once
// Pictures the controls carry in the exe.
#include <string>

namespace ui {

// The bytes of an RCDATA resource of the running exe; empty when it is not there.
std::string ControlResource(int id);

}  // namespace ui
