#include "platform/portable/portable_memory.h"

#include <cstdlib>

namespace lumatone {

std::uint8_t* PortableMemory::Allocate(std::size_t bytes) {
    // calloc(0) may give null, which would read as a failure.
    return static_cast<std::uint8_t*>(std::calloc(bytes == 0 ? 1 : bytes, 1));
}

void PortableMemory::Free(std::uint8_t* buffer) {
    std::free(buffer);
}

} // namespace lumatone
