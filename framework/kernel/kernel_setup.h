#pragma once
/// \file
/// The kernel's own state: its two queues, the status-bar hook, and the reset
/// that gives a fresh start-up (used between tests and before a new model).

#include <functional>
#include <string>

namespace zorva {

class ZorvaQueue;

/// Every existing element, in creation order; the first membership of each.
ZorvaQueue& Elements();
/// The elements that claim; entering sets ClaimFlag, leaving clears it.
ZorvaQueue& Claimers();

/// Whether queue is Claimers, without creating it.
bool IsClaimers(const ZorvaQueue* queue);

/// Creates Elements and Claimers (without trace lines, outside the queue
/// registry). They are also created on first use.
void InitKernel();

/// Destroys every element and the kernel queues, resets the engine, the
/// element-class and queue registries, the trace switches and sinks and the
/// run's figures, and removes the hooks. Queues still alive afterwards are unregistered.
void ResetKernel();

/// Status-bar panel texts ("Elements: 3" in panel 1, "Queues: 2" in panel 2);
/// the main window installs this while it is visible.
using StatusBarHook = std::function<void(int panel, const std::string& text)>;
void SetStatusBarHook(StatusBarHook hook);
void ShowStatusBarText(int panel, const std::string& text);

}  // namespace zorva
