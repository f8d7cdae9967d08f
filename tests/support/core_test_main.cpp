#include <gtest/gtest.h>

#include <QCoreApplication>

// The SQL drivers load through the application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
