#pragma once
// A small model for the window's tests and for the batch program: a
// generator makes a customer every 2 time units from time 0; each customer
// passes the queue "Desk" without waiting, then waits 1 time unit in "Line"
// and is destroyed. Up to time 10 (customers at 0, 2, 4, 6 and 8):
//   Line: 5 passed, none direct, waiting 1.00 on average and at most,
//         length 1 for 5 of the 9 time units up to its last change;
//   Desk: 5 passed, all direct, waiting 0.00.
// The model counts its customers as the figure "customers".

#include <string>
#include <vector>

namespace zorva::uitest {

// Builds the model as a model unit does: its queues and generator, the
// trace on, the server address "LocalHost", a message handler that records.
void InitTestModel();

// Texts that reached the model's message handler.
const std::vector<std::string>& ReceivedMessages();

// Frees the model's queues after the kernel was reset.
void ResetTestModel();

}  // namespace zorva::uitest
