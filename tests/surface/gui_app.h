#pragma once
// Fonts and painting need a QGuiApplication; tests create one on first use
// (the test runner sets QT_QPA_PLATFORM=offscreen) and delete it when the
// test program finishes, before static objects go away, as the program does.

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace mirel::test {

class GuiAppEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete QGuiApplication::instance();
    }
};

inline void ensureGuiApp()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "surface_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);
}

}  // namespace mirel::test
