#include "kernel/kernel_setup.h"

#include "engine/engine.h"
#include "kernel/element.h"
#include "kernel/element_registry.h"
#include "kernel/queue.h"
#include "kernel/queue_registry.h"
#include "kernel/run_figures.h"
#include "kernel/trace.h"
#include "kernel/trace_sink.h"

namespace zorva {
namespace {

struct KernelQueues {
    ZorvaQueue* Elements = nullptr;
    ZorvaQueue* Claimers = nullptr;
    StatusBarHook StatusBar;
};

KernelQueues& TheKernel() {
    static auto* kernel = new KernelQueues;
    return *kernel;
}

ZorvaQueue* NewKernelQueue(const char* name) {
    const bool allowed = TraceAllowed();
    SetTraceAllowed(false);
    auto* queue = new ZorvaQueue(name, KernelQueueTag());
    SetTraceAllowed(allowed);
    return queue;
}

}  // namespace

ZorvaQueue& Elements() {
    KernelQueues& k = TheKernel();
    if (!k.Elements) k.Elements = NewKernelQueue("Elements");
    return *k.Elements;
}

ZorvaQueue& Claimers() {
    KernelQueues& k = TheKernel();
    if (!k.Claimers) k.Claimers = NewKernelQueue("Claimers");
    return *k.Claimers;
}

bool IsClaimers(const ZorvaQueue* queue) {
    return queue && queue == TheKernel().Claimers;
}

void InitKernel() {
    Elements();
    Claimers();
}

void ResetKernel() {
    KernelQueues& k = TheKernel();
    k.StatusBar = nullptr;
    ResetTraceSwitches();
    ResetTraceSinks();
    ResetRunFigures();
    // No element may be current or scheduled while the elements go.
    ResetEngine();
    if (k.Elements) {
        while (ZorvaElement* element = k.Elements->FirstElement()) delete element;
    }
    delete k.Elements;
    delete k.Claimers;
    k.Elements = k.Claimers = nullptr;
    ResetQueueRegistry();
    ResetElementRegistry();
}

void SetStatusBarHook(StatusBarHook hook) {
    TheKernel().StatusBar = std::move(hook);
}

void ShowStatusBarText(int panel, const std::string& text) {
    KernelQueues& k = TheKernel();
    if (k.StatusBar) k.StatusBar(panel, text);
}

}  // namespace zorva
