// The main of every widget test: a QApplication (offscreen under CTest) and
// then GoogleTest, so that tests can make real widgets and drive them with
// Qt Test's key and mouse events. What the widgets remember for the user
// goes to settings of the run's own, never to the user's.
#include "widgets/combo_box_accessible.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The combo boxes are named as the program names them.
  UseLabelledComboBoxes();
  const QTemporaryDir settings;
  for (const QSettings::Format format :
       {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, settings.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
