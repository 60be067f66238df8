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
    ZorvaQueue* elements = nullptr;
    ZorvaQueue* claimers = nullptr;
    StatusBarHook statusBar;
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
    if (!k.elements) k.elements = NewKernelQueue("Elements");
    return *k.elements;
}

ZorvaQueue& Claimers() {
    KernelQueues& k = TheKernel();
    if (!k.claimers) k.claimers = NewKernelQueue("Claimers");
    return *k.claimers;
}

bool IsClaimers(const ZorvaQueue* queue) {
    return queue && queue == TheKernel().claimers;
}

void InitKernel() {
    Elements();
    Claimers();
}

void ResetKernel() {
    KernelQueues& k = TheKernel();
    k.statusBar = nullptr;
    ResetTraceSwitches();
    ResetTraceSinks();
    ResetRunFigures();
    // No element may be current or scheduled while the elements go.
    ResetEngine();
    if (k.elements) {
        while (ZorvaElement* element = k.elements->FirstElement()) delete element;
    }
    delete k.elements;
    delete k.claimers;
    k.elements = k.claimers = nullptr;
    ResetQueueRegistry();
    ResetElementRegistry();
}

void SetStatusBarHook(StatusBarHook hook) {
    TheKernel().statusBar = std::move(hook);
}

void ShowStatusBarText(int panel, const std::string& text) {
    KernelQueues& k = TheKernel();
    if (k.statusBar) k.statusBar(panel, text);
}

}  // namespace zorva
