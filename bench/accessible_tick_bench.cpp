// Ticking a second group in the group pane's several-groups mode with a
// screen reader's accessibility bus on, against the same tick with it off.
// The file is a copy of the household template with two groups of 50,000
// records each, the first ticked; each run ticks or clears the second one,
// so that the records page, shown, reloads 100,000 or 50,000 records.
// With accessibility on, every cell of the records grid has been asked for
// before each tick (untimed), as by a screen reader or a tool that lists
// the table's children: the tick then shows what the reload costs the
// interfaces handed out.
//
// Accessibility is switched on only as a process starts, so each side runs
// in a process of its own, on an X display (Xvfb when there is none) in a
// D-Bus session (a new one when there is none) with the accessibility bus
// started, where Qt's AT-SPI bridge starts when
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set. This program starts
// both and prints their times and the ratio; target: at most 2.
#include "db/db_visiter_factory.h"
#include "groups/ui/group_tree.h"
#include "widgets/cell_grid_view.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include "group_file.h"
#include "group_pane_window.h"
#include "template_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kFolders = 25;
constexpr int kSecondGroup = kFolders + 2;
const char *const kChildFlag = "--tick-child";
const char *const kAlwaysOn = "QT_LINUX_ACCESSIBILITY_ALWAYS_ON";
const char *const kBusLauncher = "/usr/libexec/at-spi-bus-launcher";
// Runs its arguments with the accessibility bus started beside them.
const char *const kWithBus =
    "\"$0\" --launch-immediately & bus=$!; \"$@\"; status=$?; "
    "kill $bus; exit $status";

QString gPath;

GroupFileShape TwoGroups() {
  GroupFileShape shape;
  shape.nodes = kFolders + 2;
  shape.folders = kFolders;
  shape.records = 100000;
  shape.ticked = [](int id) { return id == kFolders + 1; };
  return shape;
}

// The bridge starts once the session bus has answered.
bool AccessibilityAsAsked() {
  const bool wanted = qEnvironmentVariableIsSet(kAlwaysOn);
  QDeadlineTimer deadline(10000);
  while (wanted && !QAccessible::isActive() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return QAccessible::isActive() == wanted;
}

void TickSecondGroup(benchmark::State &state) {
  if (!AccessibilityAsAsked()) {
    state.SkipWithError("accessibility is not as asked");
    return;
  }
  AccountFile file;
  if (!file.OpenAccountFile(gPath)) {
    state.SkipWithError("the file does not open");
    return;
  }
  GroupPaneWindow window(file, true);
  window.pane->ToggleMode();
  window.page->show();
  window.page->GridView()->setFocus();
  QTreeWidgetItem *item = window.pane->Tree()->ItemOf(kSecondGroup);
  if (!item) {
    state.SkipWithError("the tree is not as built");
    return;
  }
  item->setCheckState(0, Qt::Unchecked);
  QCoreApplication::processEvents();
  QAccessibleInterface *table =
      QAccessible::queryAccessibleInterface(window.page->GridView());
  bool tick = true;
  for (auto _ : state) {
    if (QAccessible::isActive()) {
      // A screen reader that has read the whole table, as a tool listing
      // the table's children does.
      state.PauseTiming();
      for (int i = 0, count = table->childCount(); i < count; ++i)
        benchmark::DoNotOptimize(table->child(i));
      state.ResumeTiming();
    }
    // What the tree's delegate does on a click into the box; the events
    // the reload posted are handled before the next tick.
    item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    QCoreApplication::processEvents();
    tick = !tick;
  }
  state.counters["accessible"] = QAccessible::isActive();

}

struct ChildTimes {
  double real = -1; // milliseconds
  double cpu = -1;
  QString error;
};

// Runs this program as a child that measures the tick alone, with
// accessibility on or off.
ChildTimes RunChild(const QString &self, bool accessible) {
  // Its figures go to a file: the bus's daemons write to the output too.
  QTemporaryDir out;
  const QString json = out.filePath(QStringLiteral("tick.json"));
  QStringList command;
  if (qEnvironmentVariableIsEmpty("DISPLAY"))
    command << QStringLiteral("xvfb-run") << QStringLiteral("-a");
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
    command << QStringLiteral("dbus-run-session") << QStringLiteral("--");
  command << QStringLiteral("sh") << QStringLiteral("-c")
          << QString::fromLatin1(kWithBus) << QString::fromLatin1(kBusLauncher)
          << self << QString::fromLatin1(kChildFlag)
          << QStringLiteral("--benchmark_out=") + json
          << QStringLiteral("--benchmark_out_format=json");
  ChildTimes times;
  if (!QFileInfo(QString::fromLatin1(kBusLauncher)).isExecutable()) {
    times.error = QString::fromLatin1(kBusLauncher) + QStringLiteral(" is missing");
    return times;
  }
  const QString program = command.takeFirst();
  if (QStandardPaths::findExecutable(program).isEmpty() &&
      !QFileInfo(program).isExecutable()) {
    times.error = program + QStringLiteral(" is missing");
    return times;
  }
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.remove(QString::fromLatin1(kAlwaysOn));
  if (accessible)
    env.insert(QString::fromLatin1(kAlwaysOn), QStringLiteral("1"));
  QProcess child;
  child.setProcessEnvironment(env);
  child.setStandardOutputFile(QProcess::nullDevice());
  child.start(program, command);
  if (!child.waitForFinished(600000)) {
    times.error = QStringLiteral("the child did not finish");
    child.kill();
    child.waitForFinished();
    return times;
  }
  QFile file(json);
  file.open(QIODevice::ReadOnly);
  const QJsonArray runs = QJsonDocument::fromJson(file.readAll())
                              .object()
                              .value(QStringLiteral("benchmarks"))
                              .toArray();
  if (runs.isEmpty()) {
    times.error = QString::fromLocal8Bit(child.readAllStandardError()).trimmed();
    return times;
  }
  const QJsonObject run = runs.first().toObject();
  if (run.value(QStringLiteral("error_occurred")).toBool()) {
    times.error = run.value(QStringLiteral("error_message")).toString();
    return times;
  }
  times.real = run.value(QStringLiteral("real_time")).toDouble();
  times.cpu = run.value(QStringLiteral("cpu_time")).toDouble();
  return times;
}

int RunAsChild(int argc, char **argv) {
  benchmark::RegisterBenchmark("TickSecondGroup", TickSecondGroup)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(4);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir(qEnvironmentVariable("BENCH_DIR", QDir::tempPath()) +
                    QStringLiteral("/accessible-tick-bench-XXXXXX"));
  gPath = dir.filePath(QStringLiteral("bench.fz"));
  if (!CopyHouseholdTemplate(gPath) ||
      !FillGroupFile(gPath.toStdString(), TwoGroups())) {
    std::fprintf(stderr, "cannot build the file from %s\n",
                 qPrintable(HouseholdTemplate()));
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  const bool child = argc > 1 && std::strcmp(argv[1], kChildFlag) == 0;
  if (!child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (child) {
    argv[1] = argv[0]; // the benchmark library reads its own flags only
    return RunAsChild(argc - 1, argv + 1);
  }
  const QString self = QCoreApplication::applicationFilePath();
  const ChildTimes off = RunChild(self, false);
  const ChildTimes on = RunChild(self, true);
  for (const ChildTimes *side : {&off, &on})
    if (!side->error.isEmpty()) {
      std::printf("TickSecondGroup %s accessibility: not measured (%s)\n",
                  side == &on ? "with" : "without", qPrintable(side->error));
      return 0;
    }
  std::printf("TickSecondGroup (100,000 records shown): %.0f ms real, %.0f ms "
              "CPU without accessibility; %.0f ms real, %.0f ms CPU with it\n",
              off.real, off.cpu, on.real, on.cpu);
  std::printf("TickSecondGroup with accessibility / without: %.2f (wall time "
              "%.2f) (target: at most 2)\n",
              on.cpu / off.cpu, on.real / off.real);
  return 0;
}
