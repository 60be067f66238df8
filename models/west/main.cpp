#include "ui/program_startup.h"
#include "west/brim_west.h"

int main(int argc, char** argv) {
    return zorva::RunZorvaProgram(argc, argv, zorva::InitBrimWest);
}
