#pragma once
// Opening the element and the queue window from the main window's status
// bar. Each window is made on first use, kept, and filled anew each time;
// opening one interrupts a running or stepping run first, so the table
// shows one consistent moment.

namespace zorva {

class TElementForm;
class TQueueForm;

void ShowElements();
void ShowQueues();

// One row per user queue, in creation order (the run's summary shows the
// same table).
void FillQueueForm(TQueueForm& form);

// The windows as they are now; null before their first showing.
TElementForm* ElementForm();
TQueueForm* QueueForm();

}  // namespace zorva
