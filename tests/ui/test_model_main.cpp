// The test model as a program, for the batch options' end-to-end tests. Two
// variables of the test environment reach into it: ZORVA_TEST_PORT points
// it at a test server, ZORVA_TEST_FATAL makes its initialisation misuse the
// kernel.
#include <cstdlib>

#include "connection/server_connection.h"
#include "kernel/kernel.h"
#include "test_model.h"
#include "ui/program_startup.h"

namespace {

void InitForTest() {
    if (const char* port = std::getenv("ZORVA_TEST_PORT"))
        zorva::SetServerPort(static_cast<std::uint16_t>(std::atoi(port)));
    zorva::uitest::InitTestModel();
    if (std::getenv("ZORVA_TEST_FATAL")) zorva::Hold(1.0);
}

}  // namespace

int main(int argc, char** argv) {
    return zorva::RunZorvaProgram(argc, argv, InitForTest);
}
