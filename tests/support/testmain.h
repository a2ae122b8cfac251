#pragma once
// Entry point for every test executable: offscreen platform, Turkish number formats.
#include <QApplication>
#include <QLocale>
#include <QtTest>

namespace testsupport {
inline void prepareTestEnvironment()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}
} // namespace testsupport

#define KORVEL_TEST_MAIN(TestObject)                                      \
    int main(int argc, char *argv[])                                      \
    {                                                                     \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))               \
            qputenv("QT_QPA_PLATFORM", "offscreen");                      \
        QApplication app(argc, argv);                                     \
        app.setAttribute(Qt::AA_Use96Dpi, true);                          \
        testsupport::prepareTestEnvironment();                            \
        TestObject tc;                                                    \
        QTEST_SET_MAIN_SOURCE_PATH                                        \
        return QTest::qExec(&tc, argc, argv);                             \
    }
