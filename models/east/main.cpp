#include "east/brim_east.h"
#include "ui/program_startup.h"

int main(int argc, char** argv) {
    return zorva::RunZorvaProgram(argc, argv, zorva::InitBrimEast);
}
