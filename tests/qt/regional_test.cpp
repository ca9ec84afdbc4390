// The goods list sorted in Russian order whatever language the system is set up for.

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

// Ё with Е (not after Я), case ignored; Latin after Cyrillic, but first in Windows' own order.
TEST_P(GoodsOrder, IsRussianOnEverySystem) {
    const SystemRegional regional(GetParam().locale);
    GoodsList list(regional);
    list.addAll({"Яйца", "ёлка", "Milk", "Ель", "арбуз", "Ёжик", "Жир", "1 кг"});
    QList<QString> sorted;
    for (qsizetype i = 0; i < list.count(); ++i)
        sorted << list.at(i);
    QList<QString> expected{"1 кг", "арбуз", "Ёжик", "ёлка", "Ель", "Жир", "Яйца"};
#ifdef Q_OS_WIN
    expected.insert(1, "Milk");
#else
    expected.append("Milk");
#endif
    EXPECT_EQ(sorted, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, GoodsOrder,
    testing::Values(SystemLocale{"C", QLocale::c()},
                    SystemLocale{"English", QLocale(QLocale::English, QLocale::UnitedStates)},
                    SystemLocale{"Russian", QLocale(QLocale::Russian, QLocale::Russia)}),
    rowName);

} // namespace
} // namespace tarvel::test
