#pragma once
// The machine-level half of process switching: the routines in
// stack_switch_<arch>_<abi>.S and the record they share with C++.

#include <cstddef>
#include <cstdint>

namespace zorva {

// Registers of the caller of RunSimulation, restored when the run ends.
struct RunContext {
    std::uint64_t rbx;
    std::uint64_t rbp;
    std::uint64_t r12;
    std::uint64_t r13;
    std::uint64_t r14;
    std::uint64_t r15;
    std::uint32_t mxcsr;
    std::uint16_t fpuControl;
    std::uint16_t padding;
    void* stackBase;  // the slot holding the return address of zorva_run_enter
};

// The assembly addresses these fields by offset; keep both sides in step.
static_assert(offsetof(RunContext, rbx) == 0);
static_assert(offsetof(RunContext, rbp) == 8);
static_assert(offsetof(RunContext, r12) == 16);
static_assert(offsetof(RunContext, r13) == 24);
static_assert(offsetof(RunContext, r14) == 32);
static_assert(offsetof(RunContext, r15) == 40);
static_assert(offsetof(RunContext, mxcsr) == 48);
static_assert(offsetof(RunContext, fpuControl) == 52);
static_assert(offsetof(RunContext, stackBase) == 56);
static_assert(sizeof(RunContext) == 64);

// What zorva_suspend pushes below its return address, lowest address first,
// and the return address itself: the start of every saved segment. The
// assembly builds and reads it by offset; nothing in C++ touches it, but
// the layout is written down here once, next to its checks.
struct SuspendFrame {
    std::uint32_t mxcsr;
    std::uint16_t fpuControl;
    std::uint16_t padding;
    std::uint64_t r15;
    std::uint64_t r14;
    std::uint64_t r13;
    std::uint64_t r12;
    std::uint64_t rbx;
    std::uint64_t rbp;
    std::uint64_t returnAddress;
};
static_assert(offsetof(SuspendFrame, mxcsr) == 0);
static_assert(offsetof(SuspendFrame, fpuControl) == 4);
static_assert(offsetof(SuspendFrame, r15) == 8);
static_assert(offsetof(SuspendFrame, r14) == 16);
static_assert(offsetof(SuspendFrame, r13) == 24);
static_assert(offsetof(SuspendFrame, r12) == 32);
static_assert(offsetof(SuspendFrame, rbx) == 40);
static_assert(offsetof(SuspendFrame, rbp) == 48);
static_assert(offsetof(SuspendFrame, returnAddress) == 56);

// The smallest segment a suspension can produce.
inline constexpr std::size_t kSuspendFrameBytes = sizeof(SuspendFrame);
static_assert(kSuspendFrameBytes == 64);

}  // namespace zorva

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

// CMake chooses the assembly file by platform and stops on any other; this
// catches a build that bypasses it.
#if !(defined(__x86_64__) && defined(__linux__))
#error "Zorva's process switch exists for x86-64 System V (Linux) only"
#endif
