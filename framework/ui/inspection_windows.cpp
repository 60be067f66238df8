#include "ui/inspection_windows.h"

#include "kernel/kernel.h"
#include "ui/element_form.h"
#include "ui/queue_form.h"
#include "ui/window_caption.h"
#include "ui/zorva_form.h"

namespace zorva {
namespace {

// The windows are children of the main window and go with it.
template <class Form>
Form* ExistingForm(const char* name) {
    TZorvaForm* main = TheZorvaForm();
    return main ? main->findChild<Form*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

template <class Form>
Form* ResetOrCreate(const char* name) {
    if (Form* form = ExistingForm<Form>(name)) {
        form->ResetGrid();
        return form;
    }
    return new Form(TheZorvaForm());
}

void BringToFront(QWidget* window) {
    AddProgramName(*window);
    window->showNormal();
    window->raise();
    window->activateWindow();
    window->setFocus();
}

void FillElements(TElementForm& form) {
    const TNode& head = Elements().Head;
    for (const TNode* node = head.QueueNext; node != &head; node = node->QueueNext) {
        const ZorvaElement& element = *node->QueueElement;
        form.AddElementRow(element.Name, element.StatusToString(), element.ArrivalTime, element.EventTime);
        // The first membership is the element's entry in Elements itself.
        const TNode* ring = &element.Memberships;
        if (ring->MemberNext == ring) continue;
        for (const TNode* m = ring->MemberNext->MemberNext; m != ring; m = m->MemberNext)
            form.AddQueueCell(m->OwnerQueue->Name, m->EntryTime);
    }
}

}  // namespace

void FillQueueForm(TQueueForm& form) {
    for (const ZorvaQueue* queue : RegisteredQueues())
        form.AddQueueRow(queue->Name, queue->Length, queue->AvgLength, queue->MaxLength, queue->TotalPassed,
                         queue->Direct, queue->AvgWaitingTime, queue->MaxWaitingTime);
}

TElementForm* ElementForm() {
    return ExistingForm<TElementForm>("ElementForm");
}
TQueueForm* QueueForm() {
    return ExistingForm<TQueueForm>("QueueForm");
}

void ShowElements() {
    if (!TheZorvaForm()) return;
    TheZorvaForm()->GoInterruptSimulation();
    TElementForm* form = ResetOrCreate<TElementForm>("ElementForm");
    FillElements(*form);
    BringToFront(form);
}

void ShowQueues() {
    if (!TheZorvaForm()) return;
    TheZorvaForm()->GoInterruptSimulation();
    TQueueForm* form = ResetOrCreate<TQueueForm>("QueueForm");
    FillQueueForm(*form);
    BringToFront(form);
}

}  // namespace zorva
