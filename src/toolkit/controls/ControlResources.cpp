#include "toolkit/controls/ControlResources.h"

#include <windows.h>

namespace ui {

std::string ControlResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

}  // namespace ui
