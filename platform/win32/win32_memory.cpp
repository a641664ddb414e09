#include "platform/win32/win32_memory.h"

#include "platform/win32/win32_windows.h"

namespace lumatone {

std::uint8_t* Win32Memory::Allocate(std::size_t bytes) {
    // GMEM_FIXED makes the handle the address itself, so no lock is needed.
    return static_cast<std::uint8_t*>(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
}

void Win32Memory::Free(std::uint8_t* buffer) {
    if (buffer != nullptr)
        ::GlobalFree(buffer);
}

} // namespace lumatone
