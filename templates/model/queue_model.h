#pragma once
// A post office counter: customers arrive at random, wait in one queue and
// are served one at a time.

// Builds the model; its first customer comes when the run starts.
void InitQueueModel();
