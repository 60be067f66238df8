// The program: Zorva's main window around the model, with the batch options
// (run `queue_model --help`).
#include <zorva/ui/program_startup.h>

#include "queue_model.h"

int main(int argc, char** argv) {
    return zorva::RunZorvaProgram(argc, argv, InitQueueModel);
}
