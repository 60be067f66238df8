#pragma once
// The machine-level half of process switching: the routines in
// stack_switch_<arch>_<abi>.S and the record they share with C++.

#include <cstddef>
#include <cstdint>

namespace zorva {

// Registers of the caller of RunSimulation, restored when the run ends.
struct RunContext {
    std::uint64_t Rbx;
    std::uint64_t Rbp;
    std::uint64_t R12;
    std::uint64_t R13;
    std::uint64_t R14;
    std::uint64_t R15;
    std::uint32_t Mxcsr;
    std::uint16_t FpuControl;
    std::uint16_t Padding;
    void* StackBase;  // the slot holding the return address of zorva_run_enter
};

// The assembly addresses these fields by offset; keep both sides in step.
static_assert(offsetof(RunContext, Rbx) == 0);
static_assert(offsetof(RunContext, Rbp) == 8);
static_assert(offsetof(RunContext, R12) == 16);
static_assert(offsetof(RunContext, R13) == 24);
static_assert(offsetof(RunContext, R14) == 32);
static_assert(offsetof(RunContext, R15) == 40);
static_assert(offsetof(RunContext, Mxcsr) == 48);
static_assert(offsetof(RunContext, FpuControl) == 52);
static_assert(offsetof(RunContext, StackBase) == 56);
static_assert(sizeof(RunContext) == 64);

// What zorva_suspend pushes below its return address, lowest address first,
// and the return address itself: the start of every saved segment. The
// assembly builds and reads it by offset; nothing in C++ touches it, but
// the layout is written down here once, next to its checks.
struct SuspendFrame {
    std::uint32_t Mxcsr;
    std::uint16_t FpuControl;
    std::uint16_t Padding;
    std::uint64_t R15;
    std::uint64_t R14;
    std::uint64_t R13;
    std::uint64_t R12;
    std::uint64_t Rbx;
    std::uint64_t Rbp;
    std::uint64_t ReturnAddress;
};
static_assert(offsetof(SuspendFrame, Mxcsr) == 0);
static_assert(offsetof(SuspendFrame, FpuControl) == 4);
static_assert(offsetof(SuspendFrame, R15) == 8);
static_assert(offsetof(SuspendFrame, R14) == 16);
static_assert(offsetof(SuspendFrame, R13) == 24);
static_assert(offsetof(SuspendFrame, R12) == 32);
static_assert(offsetof(SuspendFrame, Rbx) == 40);
static_assert(offsetof(SuspendFrame, Rbp) == 48);
static_assert(offsetof(SuspendFrame, ReturnAddress) == 56);

// The smallest segment a suspension can produce.
inline constexpr std::size_t kSuspendFrameBytes = sizeof(SuspendFrame);
static_assert(kSuspendFrameBytes == 64);

}  // namespace zorva

// The assembly's own names.
// NOLINTBEGIN(readability-identifier-naming)
extern "C" {
void zorva_run_enter(zorva::RunContext* context, void (*entry)(void*), void* arg);
[[noreturn]] void zorva_run_leave(const zorva::RunContext* context);
[[noreturn]] void zorva_call_on_region(void* top, void* frame, void (*fn)(void*), void* arg);
void zorva_suspend(void* request, void (*handler)(void* request, void* block), void* stackBase);
[[noreturn]] void zorva_restore(void* block, void* stackBase);

// Called from the assembly.
void* zorva_allocate_segment(std::size_t length);
void zorva_segment_restored(void* block, void* destination);
}
// NOLINTEND(readability-identifier-naming)

// CMake chooses the assembly file by platform and stops on any other; this
// catches a build that bypasses it.
#if !(defined(__x86_64__) && defined(__linux__))
#error "Zorva's process switch exists for x86-64 System V (Linux) only"
#endif
