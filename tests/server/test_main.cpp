#include <QCoreApplication>

#include <gtest/gtest.h>

// The end-to-end tests drive sockets and a child process, which want an
// application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
