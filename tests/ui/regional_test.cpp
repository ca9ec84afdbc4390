// The goods list sorted by the system's regional settings: the Russian order whatever language
// the machine is set up for.

#include "goods/goods_list.h"
#include "qt/qt_services.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

struct SystemLocale : NamedRow {
    QLocale locale;
};

class GoodsOrder : public testing::TestWithParam<SystemLocale> {};

// Ё sorts with Е (not after Я), Cyrillic before Latin, letter case ignored.
TEST_P(GoodsOrder, IsRussianOnEverySystem) {
    const SystemRegional regional(GetParam().locale);
    GoodsList list(regional);
    list.addAll({"Яйца", "ёлка", "Milk", "Ель", "арбуз", "Ёжик", "Жир", "1 кг"});
    QList<QString> sorted;
    for (qsizetype i = 0; i < list.count(); ++i)
        sorted << list.at(i);
    EXPECT_EQ(sorted,
              QList<QString>({"1 кг", "арбуз", "Ёжик", "ёлка", "Ель", "Жир", "Яйца", "Milk"}));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, GoodsOrder,
    testing::Values(SystemLocale{"C", QLocale::c()},
                    SystemLocale{"English", QLocale(QLocale::English, QLocale::UnitedStates)},
                    SystemLocale{"German", QLocale(QLocale::German, QLocale::Germany)},
                    SystemLocale{"Russian", QLocale(QLocale::Russian, QLocale::Russia)}),
    rowName);

} // namespace
} // namespace tarvel::test
