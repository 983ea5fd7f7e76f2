// Reloading of the pages: at once while showing, once when shown again.
#include "document/account_file.h"
#include "window/sorvan_base_view.h"

#include <gtest/gtest.h>

namespace {

class CountingPage : public CSorvanBaseView {
public:
  explicit CountingPage(unsigned bits) : CSorvanBaseView(nullptr), bits_(bits) {}
  void Refresh() override {
    CSorvanBaseView::Refresh();
    ++refreshes;
  }
  int refreshes = 0;

protected:
  unsigned PageHintBits() const override { return bits_; }

private:
  unsigned bits_;
};

TEST(BaseView, HiddenPageReloadsOnceWhenShownAndOnlyForItsBits) {
  AccountFile file;
  CountingPage page(HINT_BAR_SERIES);
  EXPECT_EQ(page.GetPageKind(), 0);
  QString text;
  EXPECT_FALSE(page.GetSummaryText(text));

  page.OnChangeNotify(file, HINT_RECORDS); // not its bit
  EXPECT_FALSE(page.IsReloadPending());
  page.OnChangeNotify(file, 6);
  page.OnChangeNotify(file, HINT_ALL);
  EXPECT_TRUE(page.IsReloadPending());
  EXPECT_EQ(page.refreshes, 0);

  page.SetActivePage(true);
  EXPECT_EQ(page.refreshes, 1);
  EXPECT_FALSE(page.IsReloadPending());
  page.SetActivePage(true); // nothing pending any more
  EXPECT_EQ(page.refreshes, 1);

  page.OnChangeNotify(file, 7); // showing: at once
  EXPECT_EQ(page.refreshes, 2);
  page.SetActivePage(false);
  page.OnChangeNotify(file, HINT_BAR_SERIES);
  EXPECT_EQ(page.refreshes, 2);
  EXPECT_TRUE(page.IsReloadPending());
}

} // namespace
