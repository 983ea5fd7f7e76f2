// The main of every widget test: a QApplication (offscreen under CTest) and
// then GoogleTest, so that tests can make real widgets and drive them with
// Qt Test's key and mouse events.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
