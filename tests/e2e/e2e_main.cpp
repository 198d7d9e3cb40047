#include <gtest/gtest.h>

#include <QApplication>

// The real window and browser, without a display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The user's own keyring is never reached: only the test keyring's bus, when one is given.
    if (qgetenv("QUILLORA_TEST_KEYRING").isEmpty()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quillora-test-bus");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
