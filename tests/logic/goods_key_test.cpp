// The ФЦ key: Lbd1 and the goods directory window through its life cycle.

#include "support/fakes.h"

#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

enum class Step { PressFC, CloseBox };

struct Expect {
    Step step;
    bool lamp;
    bool loaded;
    bool shown;
    const char* call; // the window call the step made, "" for none
};

TEST(GoodsKey, LifeCycleOfTheDirectoryWindow) {
    const Expect table[] = {
        // Start-up: not loaded, lamp dark. The first press loads and shows.
        {Step::PressFC, true, true, true, "show"},
        {Step::PressFC, false, true, false, "hide"},
        {Step::PressFC, true, true, true, "show"},
        // The close box unloads the window and leaves the lamp lit ...
        {Step::CloseBox, true, false, false, "unload"},
        // ... so the next press puts the lamp out and loads the window hidden,
        {Step::PressFC, false, true, false, "hide"},
        // and the press after that shows it.
        {Step::PressFC, true, true, true, "show"},
    };
    RegisterRig rig;
    EXPECT_FALSE(rig.s().lit(Lamp::Lbd1));
    int row = 0;
    for (const Expect& e : table) {
        rig.goods.calls.clear();
        if (e.step == Step::PressFC)
            rig.press("ФЦ");
        else
            rig.goods.unload();
        EXPECT_EQ(rig.s().lit(Lamp::Lbd1), e.lamp) << "row " << row;
        EXPECT_EQ(rig.goods.loaded, e.loaded) << "row " << row;
        EXPECT_EQ(rig.goods.shown, e.shown) << "row " << row;
        EXPECT_EQ(rig.goods.calls, QStringList{QString::fromUtf8(e.call)}) << "row " << row;
        ++row;
    }
}

TEST(GoodsKey, TouchesNothingButTheLamp) {
    RegisterRig rig;
    rig.press("1 5 0 ВВ 2");
    const QString tape = rig.s().TxtCHL.text();
    const QString indicator = rig.s().TxtIND.text();
    const float total = rig.s().receiptTotal;
    const auto lamps = rig.s().lamps;
    rig.press("ФЦ");
    EXPECT_EQ(rig.s().TxtCHL.text(), tape);
    EXPECT_EQ(rig.s().TxtIND.text(), indicator);
    EXPECT_EQ(rig.s().receiptTotal, total);
    auto expected = lamps;
    expected[std::size_t(Lamp::Lbd1)] = true;
    EXPECT_EQ(rig.s().lamps, expected);
}

TEST(GoodsKey, CloseSequenceUnloadsOnlyALoadedWindow) {
    {
        RegisterRig rig;
        rig.reg->Form_Unload();
        EXPECT_FALSE(rig.goods.calls.contains("unload"));
    }
    {
        RegisterRig rig;
        rig.press("ФЦ ФЦ");
        rig.reg->Form_Unload();
        EXPECT_EQ(rig.goods.calls.last(), "unload");
        EXPECT_FALSE(rig.goods.loaded);
    }
}

TEST(GoodsKey, DoubleClickCopyAppendsWithoutMovingTheCaret) {
    RegisterRig rig;
    rig.press("КР 3Т"); // the header open for editing: the copy works in every mode
    ASSERT_TRUE(rig.s().lit(Lamp::LblClish));
    const QString before = rig.s().TxtCHL.text();
    rig.s().TxtCHL.takeChange();
    rig.s().TxtCHL.caretToEnd = false;
    rig.reg->appendGoodsEntry(QStringLiteral("Хлеб белый 25.00"));
    EXPECT_EQ(rig.s().TxtCHL.text(), before + "\r\nХлеб белый 25.00");
    EXPECT_FALSE(rig.s().TxtCHL.caretToEnd);
    const TextField::Change change = rig.s().TxtCHL.takeChange();
    EXPECT_FALSE(change.replaced);
    EXPECT_EQ(change.from, before.size());
}

} // namespace
} // namespace tarvel::test
