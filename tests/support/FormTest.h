#pragma once
// A program's main window made, shown and freed for each test, in the
// decimal comma its default texts are written in, with its boxes recorded,
// and the checks its tests share: a chart left as it was, one error box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

namespace testsupport {

// What a chart shows: its title, its axes' titles and every series' points.
struct ChartState {
  std::vector<std::string> title;
  std::string left, bottom;
  std::vector<std::vector<tk::TChartPoint>> points;

  explicit ChartState(const tk::TChart* ch)
      : title(ch->Title.Text), left(ch->LeftAxis.Title), bottom(ch->BottomAxis.Title) {
    for (int k = 0; k < ch->SeriesCount(); ++k) {
      const tk::TChartSeries* s = ch->Series(k);
      points.emplace_back();
      for (int i = 0; i < s->Count(); ++i) points.back().push_back(s->Point(i));
    }
  }
};

inline void ExpectSameChart(const ChartState& a, const ChartState& b) {
  EXPECT_EQ(a.title, b.title);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.bottom, b.bottom);
  ASSERT_EQ(a.points.size(), b.points.size());
  for (size_t k = 0; k < a.points.size(); ++k) {
    ASSERT_EQ(a.points[k].size(), b.points[k].size());
    for (size_t i = 0; i < a.points[k].size(); ++i) {
      EXPECT_EQ(a.points[k][i].x, b.points[k][i].x);
      EXPECT_EQ(a.points[k][i].y, b.points[k][i].y);
    }
  }
}

template <class Form>
class FormTest : public ::testing::Test {
 protected:
  // `title` is the program's, in its boxes; `pictures` starts the names of its window pictures.
  FormTest(std::string title, std::string pictures) : title_(std::move(title)), pictures_(std::move(pictures)) {}

  void SetUp() override {
    tk::EnsureWindowing();
    tk::SetApplicationTitle(title_);
    tk::SetDecimalSeparator(',');  // the default texts are written with ","
    f = new Form();
    f->AfterConstruction();
    f->Show();
    tk::testing::ProcessEvents();
  }
  void TearDown() override {
    delete f;
    tk::SetDecimalSeparator('\0');
  }

  void Png(const std::string& name) {
    tk::testing::ProcessEvents();
    EXPECT_TRUE(tk::testing::SaveWindowPng(f, PicturePath(pictures_ + "_" + name + ".png")));
  }
  // The chart as it is, and the check that it is still so.
  ChartState Zapisz() const { return ChartState(f->Chart1); }
  void TakiSam(const ChartState& przed) const { ExpectSameChart(przed, Zapisz()); }
  // One recorded error box with this text, in the program's caption; the record emptied.
  void Blad(const std::string& text, const std::string& caption = "") {
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, caption.empty() ? title_ : caption);
    EXPECT_EQ(dialogs.messages[0].text, text);
    EXPECT_EQ(dialogs.messages[0].icon, tk::MsgIcon::Error);
    dialogs.Clear();
  }
  // The same, and the chart left as it was.
  void Blad(const std::string& text, const ChartState& przed) {
    Blad(text);
    TakiSam(przed);
  }

  Form* f = nullptr;
  tk::testing::RecordingDialogs dialogs;

 private:
  std::string title_, pictures_;
};

}  // namespace testsupport
