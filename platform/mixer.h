#pragma once

#include "platform/handles.h"
#include "platform/records.h"

#include <cstddef>
#include <cstdint>

namespace lumatone {

// The seven winmm mixer operations.
class Mixer {
  public:
    virtual ~Mixer() = default;
    virtual std::uint32_t GetNumDevs() = 0;
    virtual std::uint32_t Open(MixerHandle& handle, std::uint32_t device, std::uint32_t flags) = 0;
    virtual std::uint32_t GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) = 0;
    virtual std::uint32_t GetLineControls(MixerHandle handle, MixerLineControls& request,
                                          std::uint32_t flags) = 0;
    virtual std::uint32_t GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                            std::uint32_t flags) = 0;
    virtual std::uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                            std::uint32_t flags) = 0;
    virtual std::uint32_t Close(MixerHandle handle) = 0;
};

// Zero-filled transfer buffers (GlobalAlloc/GlobalFree on Windows).
class Memory {
  public:
    virtual ~Memory() = default;
    virtual std::uint8_t* Allocate(std::size_t bytes) = 0;
    virtual void Free(std::uint8_t* buffer) = 0;
};

// Frees a transfer buffer on every path out of a scope.
class TransferBuffer {
  public:
    TransferBuffer(Memory& memory, std::size_t bytes)
        : memory_(memory), data_(memory.Allocate(bytes)) {}
    ~TransferBuffer() {
        if (data_ != nullptr)
            memory_.Free(data_);
    }
    TransferBuffer(const TransferBuffer&) = delete;
    TransferBuffer& operator=(const TransferBuffer&) = delete;
    std::uint8_t* data() const { return data_; }

  private:
    Memory& memory_;
    std::uint8_t* data_;
};

} // namespace lumatone
