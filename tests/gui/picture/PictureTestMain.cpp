#include <QGuiApplication>

#include <cstdlib>
#include <gtest/gtest.h>

// The picture tests need a GUI application object for painting; without a
// display they run on the offscreen platform.
int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
