// Every row of the shipped catalogue, in every parameter view of every drive
// family and at every font size the window gives its list, fits its columns
// in the list's own font: no text reaches the next column.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "editing/tests/editing_fixture.h"
#include "listbox/tivolen_interface.h"
#include "sim/drive_family.h"

namespace {

using talvero::sim::Family;

class ColumnFitTest : public editing_test::EditingTest {};

QVariant Short(int v) { return QVariant::fromValue<short>(short(v)); }

// The control keeps its columns in whole pixels; it reports them in twips.
int Pixels(double twips) {
  const QScreen* s = QGuiApplication::primaryScreen();
  const double dpi = s ? std::round(s->logicalDotsPerInchX()) : 96.0;
  return int(std::lround(twips * dpi / 1440.0));
}

TEST_F(ColumnFitTest, EveryCatalogueRowFitsItsColumnsInEveryViewAndFontSize) {
  libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
  const std::pair<int, Family> drives[] = {{1, Family::RHO}, {2, Family::TAU}, {3, Family::PSI}, {4, Family::PHI}};
  for (const auto& [node, family] : drives)
    AddDrive(node, family, talvero::sim::DefaultModelText(family), "Axis" + std::to_string(node));
  ASSERT_TRUE(StartOnLine());
  tivolen::ITivolen* list = List().Control();
  ASSERT_NE(list, nullptr) << "the control's library did not load";
  // The window's sizes: 8.25 points as placed, then even sizes from its smallest to its largest.
  const double sizes[] = {8.25, 6, 8, 10, 12, 14};
  std::vector<std::string> overruns;
  int measured = 0;
  for (double points : sizes) {
    // Rows take the list's font as they are added, so each size fills the views anew.
    List().SetFontSize(points);
    for (const auto& [node, family] : drives) {
      for (const char* view : {"SU", "SM", "SF", "SC", "TU"}) {
        Click(view + std::to_string(node));
        ASSERT_TRUE(win->ParameterViewShown);
        EXPECT_GT(List().ListCount(), 0) << talvero::sim::FamilyCode(family) << " " << view;
        const int columns = list->GetProperty(tivolen::kDispNumTabs).value.toInt();
        std::vector<int> start(size_t(columns), 2);
        for (int c = 1, edge = 0; c < columns; ++c)
          start[size_t(c)] = edge += Pixels(list->GetProperty(tivolen::kDispTabWidth, {Short(c - 1)}).value.toDouble());
        for (int row = 0; row < List().ListCount(); ++row) {
          const QVariant own = list->GetProperty(tivolen::kDispListFont, {Short(row)}).value;
          const QFont font = own.isValid() ? own.value<QFont>() : list->GetProperty(tivolen::kDispFont).value.value<QFont>();
          const QFontMetrics fm(font);
          std::vector<QString> text;
          for (int c = 0; c < columns; ++c)
            text.push_back(list->GetProperty(tivolen::kDispListTabText, {Short(row), Short(c)}).value.toString());
          for (int c = 1; c < columns; ++c) {
            if (text[size_t(c)].isEmpty()) continue;
            int next = c + 1;
            while (next < columns && text[size_t(next)].isEmpty()) ++next;
            if (next == columns) break;  // the last column runs on
            ++measured;
            const int end = start[size_t(c)] + fm.horizontalAdvance(text[size_t(c)]) + tivolen::kColumnGap;
            if (end > start[size_t(next)])
              overruns.push_back(talvero::sim::FamilyCode(family) + " " + view + " " + std::to_string(points) +
                                 " pt: \"" + text[size_t(c)].toStdString() + "\" ends at " + std::to_string(end) +
                                 ", column " + std::to_string(next) + " starts at " +
                                 std::to_string(start[size_t(next)]));
          }
        }
      }
    }
  }
  EXPECT_GT(measured, 400);
  EXPECT_EQ(overruns, std::vector<std::string>{});
}

}  // namespace
