#include <QCoreApplication>

#include <gtest/gtest.h>

#include "end_to_end_model.h"

// Sockets want an application object. Started with --east-model PORT the
// program is the second model of the end-to-end test instead.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--east-model") return zorva::testing::RunEastModel(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
