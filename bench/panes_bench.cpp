// Building the filter pane for an account file of 40 columns (8 dates, 4
// times, 10 numbers, 8 texts, 10 option lists of 6 values, with three saved
// filter templates), against its peer: a plain QTreeWidget filled with the
// same number of check-box items and expanded, in a window of the same
// size. Prints the build time as a ratio of the peer's.
#include "window/document_window.h"
#include "db/db_visiter_factory.h"
#include "groups/filter_set.h"
#include "groups/filter_set_store.h"
#include "groups/ui/pane_filter_grid.h"
#include "groups/ui/show_filter_pane.h"
#include "document/account_file.h"
#include "widgets/property_item.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "bench_sql.h"
#include "ratio_reporter.h"
#include "template_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

AccountFile *gFile = nullptr;
int gItems = 0; // items of the built filter tree, for the peer

class BenchWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return gFile; }
  QList<int> ActiveGroupIds() const override { return {}; }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }
};


// Replaces the template's columns by 40 of the kinds above.
bool MakeColumns(const QString &path) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
    return false;
  bool ok = Exec(db, "BEGIN") && Exec(db, "DELETE FROM TableStyle");
  struct Kind {
    int type;
    int count;
    const char *sql;
  };
  const Kind kinds[] = {{6, 8, "TEXT"}, {7, 4, "TEXT"}, {2, 10, "REAL"},
                        {3, 8, "TEXT"}, {4, 10, "TEXT"}};
  int id = 1;
  for (const Kind &kind : kinds) {
    for (int i = 0; ok && i < kind.count; ++i, ++id) {
      // Appended rather than "F" + ...: GCC 12 warns wrongly on that form.
      std::string field = "F";
      field += std::to_string(id);
      const std::string options =
          kind.type == 4 ? "甲|乙|丙|丁|戊|己" : "";
      ok = Exec(db, "ALTER TABLE Users ADD COLUMN " + field + " " + kind.sql) &&
           Exec(db, "INSERT INTO TableStyle (ID, 编号, 字段名, 标题, 启用, "
                    "数据类型, 只读, 宽度, 选项, 默认值) VALUES (" +
                        std::to_string(id) + ", " + std::to_string(id) + ", '" +
                        field + "', '列" + std::to_string(id) + "', 1, " +
                        std::to_string(kind.type) + ", 0, 60, '" + options +
                        "', '')");
    }
  }
  ok = ok && Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}

// Three templates, each with a condition on every filterable column.
bool SaveTemplates(CShowFilterPane &pane) {
  for (int i = 0; i < 3; ++i) {
    FilterSet set;
    set.classId = FSC_FILTER_PANE;
    set.title = QStringLiteral("模板%1").arg(i + 1);
    set.conditions = pane.FilterGrid()->GridToConditions();
    if (!SaveFilterSet(*gFile->Session(), set))
      return false;
  }
  return true;
}

int CountItems(const PropertyItem &item) {
  int count = item.ChildCount();
  for (int i = 0; i < item.ChildCount(); ++i)
    count += CountItems(*item.Child(i));
  return count;
}

void BuildFilterPane(benchmark::State &state) {
  BenchWindow window;
  CShowFilterPane pane(&window);
  pane.resize(270, 800);
  pane.show();
  for (auto _ : state) {
    pane.OnChangeNotify(HINT_FILTERS);
    QApplication::processEvents(); // lay out and paint as the program does
  }
  gItems = CountItems(pane.FilterGrid()->Root());
  if (pane.Templates().Size() != 3)
    state.SkipWithError("the templates were not read");
  state.counters["items"] = gItems;
}

void TreeWidgetPeer(benchmark::State &state) {
  QTreeWidget tree;
  tree.setColumnCount(2);
  tree.resize(270, 800);
  tree.show();
  for (auto _ : state) {
    tree.clear();
    QTreeWidgetItem *parent = nullptr;
    for (int i = 0; i < gItems; ++i) {
      QTreeWidgetItem *item = i % 8 == 0
                                  ? new QTreeWidgetItem(&tree)
                                  : new QTreeWidgetItem(parent);
      if (i % 8 == 0)
        parent = item;
      item->setText(0, QStringLiteral("项目%1").arg(i));
      item->setCheckState(0, Qt::Checked);
    }
    tree.expandAll();
    QApplication::processEvents();
  }
}

BENCHMARK(BuildFilterPane)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeWidgetPeer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString source = HouseholdTemplate();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path()); // nothing lands in the caller's folder
  const QString path = dir.filePath(QStringLiteral("panes.fz"));
  AccountFile file;
  gFile = &file;
  const bool made = CopyHouseholdTemplate(path) && MakeColumns(path) &&
                    file.OpenAccountFile(path);
  if (!made || file.Columns().Size() != 40) {
    std::fprintf(stderr, "cannot build the file from %s\n", qPrintable(source));
    return 1;
  }
  {
    BenchWindow window;
    CShowFilterPane pane(&window);
    pane.BuildFilterGrid();
    if (!SaveTemplates(pane)) {
      std::fprintf(stderr, "cannot save the templates\n");
      return 1;
    }
  }

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const RunTimes *pane = reporter.Find("BuildFilterPane");
  const RunTimes *peer = reporter.Find("TreeWidgetPeer");
  if (pane && peer)
    std::printf("BuildFilterPane / TreeWidgetPeer: %.2f (%.2f ms for 40 columns)\n",
                pane->real / peer->real, pane->real);
  file.Close();
  CDBVisiterFactory::Instance().DestroyAll();
  return 0;
}
