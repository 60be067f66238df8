#pragma once
// Tells AddressSanitizer about the stack region that the switch rewrites
// behind its back. The shadow memory of that region still describes the
// frames of whichever process ran there last; after a segment is copied back
// it must describe the restored frames instead, or every access to a restored
// local could be reported as a stack overflow.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define ZORVA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVA_ASAN 1
#endif
#endif

#ifdef ZORVA_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace zorva {

// The restored frames get clean shadow: their redzones are no longer checked
// until their functions are entered again, which costs coverage but never
// reports a false positive.
inline void SanitizerRegionRestored([[maybe_unused]] void* low, [[maybe_unused]] std::size_t length) {
#ifdef ZORVA_ASAN
    __asan_unpoison_memory_region(low, length);
#endif
}

// Before the stack pointer jumps: forget the poisoning of the frames that are
// abandoned (the same call the compiler emits before a noreturn call).
inline void SanitizerBeforeJump() {
#ifdef ZORVA_ASAN
    __asan_handle_no_return();
#endif
}

}  // namespace zorva
