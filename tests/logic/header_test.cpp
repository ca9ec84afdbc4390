#include "support/fakes.h"

#include "storage/codepage.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QString kOpenForEditing = QStringLiteral("Впишите новое клише");

// A closed receipt still standing on the tape, as ВВ and % leave it before their reload.
void ringUpReceipt(RegisterRig& rig) {
    rig.s().TxtCHL.append(u"\r\n01        150\r\nИТОГО\r\n150руб");
}

// The header is open for editing: КР mode, 3Т has lit LblClish and clisheED has unlocked the
// tape.
void openForEditing(RegisterRig& rig) {
    rig.s().light(Lamp::Lbd3);
    rig.s().light(Lamp::LblClish);
    rig.reg->clisheED();
    rig.messages.clear();
}

TEST(HeaderReload, ResetPutsTheHeaderFromTheFileOnTheTape) {
    RegisterRig rig;
    ringUpReceipt(rig);
    // The file may be edited by hand between reloads; the next reload takes it as it is now.
    rig.files.writeBytes(kHeaderFileName, "\xcc\xe0\xe3\xe0\xe7\xe8\xed\r\nline\n2\rend");
    rig.press(QStringLiteral("СБ"));
    EXPECT_EQ(rig.s().TxtCHL.text(), QStringLiteral("Магазин\r\nline\n2\r\nend\r\n"));
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

// The reload leaves the entry flag set, whatever it held and whether or not the file is there.
TEST(HeaderReload, AlwaysLeavesTheEntryFlagSet) {
    for (const bool fileThere : {true, false}) {
        for (const std::int16_t before : {0, 1, 7}) {
            RegisterRig rig;
            if (!fileThere) rig.files.remove(kHeaderFileName);
            rig.s().entryFlag = before;
            rig.reg->clishe();
            EXPECT_EQ(rig.s().entryFlag, 1) << fileThere << " " << before;
        }
    }
}

TEST(HeaderReload, MissingFilePutsTheLastGoodHeaderNotTheClosedReceipt) {
    RegisterRig rig;
    const QString newHeader = QStringLiteral("  ООО РОМАШКА\r\n");
    rig.files.writeText(kHeaderFileName, QStringLiteral("  ООО РОМАШКА"));
    rig.reg->clishe();
    ASSERT_EQ(rig.s().TxtCHL.text(), newHeader);

    rig.files.remove(kHeaderFileName);
    for (int press = 0; press < 2; ++press) {
        ringUpReceipt(rig);
        rig.press(QStringLiteral("СБ"));
        EXPECT_EQ(rig.s().TxtCHL.text(), newHeader);
    }
    ASSERT_EQ(rig.messages.shown.size(), 2); // the message comes at every reload
    for (const auto& m : rig.messages.shown) {
        EXPECT_EQ(m.text, QStringLiteral("Не могу найти File"));
        EXPECT_EQ(m.caption, QStringLiteral("Tarvel"));
    }
}

TEST(HeaderReload, MissingFileEverSinceStartUpPutsTheBuiltInHeader) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.remove(kHeaderFileName);
    rig.reg->Form_Load();
    ringUpReceipt(rig);
    rig.reg->clishe();
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
}

TEST(HeaderReload, UnreadableFileIsReportedLikeAMissingOne) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    ASSERT_TRUE(QDir(rig.files.path(QString())).mkdir(kHeaderFileName));
    ringUpReceipt(rig);
    rig.reg->clishe();
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
}

TEST(HeaderEditing, OpensOnlyInKrModeWithTheHeaderLampLit) {
    const struct {
        bool kr;
        bool clishLamp;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        RegisterRig rig;
        if (c.kr) rig.s().light(Lamp::Lbd3);
        if (c.clishLamp) rig.s().light(Lamp::LblClish);
        const bool opens = c.kr && c.clishLamp;
        for (int press = 1; press <= 2; ++press) {
            rig.reg->clisheED();
            EXPECT_EQ(rig.s().TxtCHL.locked, !opens) << c.kr << c.clishLamp;
            EXPECT_EQ(rig.messages.texts(),
                      opens ? QStringList(press, kOpenForEditing) : QStringList())
                << c.kr << c.clishLamp;
        }
        EXPECT_EQ(rig.s().lit(Lamp::LblClish), c.clishLamp);
        if (opens) {
            EXPECT_EQ(rig.messages.shown[0].caption, kProgramTitle);
        }
    }
}

TEST(HeaderEditing, ResetReloadsTheHeaderButLeavesItOpen) {
    RegisterRig rig;
    openForEditing(rig);
    rig.s().TxtCHL.adoptViewText(QStringLiteral("черновик"));
    rig.press(QStringLiteral("СБ"));
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    EXPECT_FALSE(rig.s().TxtCHL.locked);
    EXPECT_TRUE(rig.s().lit(Lamp::LblClish));
}

// What the tape holds when saved, what clishe.txt then holds, and what the next reload shows.
struct SaveCase {
    const char* name;
    QString tape;
    QString file;
    QString reloaded;
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class HeaderSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(HeaderSave, RoundTripsThroughTheFile) {
    const SaveCase& c = GetParam();
    RegisterRig rig;
    openForEditing(rig);
    rig.s().TxtCHL.adoptViewText(c.tape);
    ASSERT_TRUE(rig.reg->saveHeaderFromTape());
    EXPECT_TRUE(rig.messages.shown.isEmpty());
    EXPECT_FALSE(rig.s().lit(Lamp::LblClish));
    EXPECT_TRUE(rig.s().TxtCHL.locked);
    EXPECT_EQ(rig.s().TxtCHL.text(), c.tape); // untouched until the next reload
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), encodeWindows1251(c.file).bytes);
    rig.reg->clishe();
    EXPECT_EQ(rig.s().TxtCHL.text(), c.reloaded);
}

INSTANTIATE_TEST_SUITE_P(
    Tapes, HeaderSave,
    ::testing::Values(
        SaveCase{"TwoLinesGiveThree", "МАГАЗИН\r\nИНН 1\r\n", "МАГАЗИН\r\nИНН 1\r\n\r\n",
                 "МАГАЗИН\r\nИНН 1\r\n\r\n"},
        SaveCase{"MissingFinalLineBreak", "МАГАЗИН\r\nИНН 1", "МАГАЗИН\r\nИНН 1\r\n",
                 "МАГАЗИН\r\nИНН 1\r\n"},
        SaveCase{"DefaultHeaderGainsAnEmptyLine", kDefaultHeader, kDefaultHeader + "\r\n",
                 kDefaultHeader + "\r\n"},
        SaveCase{"EmptyTape", "", "\r\n", "\r\n"},
        SaveCase{"LoneLineFeedsStayInTheirLine", "a\nb\r\n", "a\nb\r\n\r\n", "a\nb\r\n\r\n"},
        SaveCase{"EuroAndNumeroSignAreInTheCodePage", "№ 5 €", "№ 5 €\r\n", "№ 5 €\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A save that fails keeps the typed header on the open tape so the trainee can retry.
void expectStillOpen(RegisterRig& rig, const QString& typed) {
    EXPECT_EQ(rig.s().TxtCHL.text(), typed);
    EXPECT_FALSE(rig.s().TxtCHL.locked);
    EXPECT_TRUE(rig.s().lit(Lamp::LblClish));
    ASSERT_EQ(rig.messages.shown.size(), 1);
    EXPECT_TRUE(rig.messages.shown[0].text.contains(kHeaderFileName));
}

TEST(HeaderSave, DirectoryInTheWayKeepsEditingOpenUntilItIsGone) {
    RegisterRig rig;
    rig.files.remove(kHeaderFileName);
    QDir dir(rig.files.path(QString()));
    ASSERT_TRUE(dir.mkdir(kHeaderFileName));
    openForEditing(rig);
    const QString typed = QStringLiteral("НОВОЕ КЛИШЕ\r\n");
    rig.s().TxtCHL.adoptViewText(typed);
    EXPECT_FALSE(rig.reg->saveHeaderFromTape());
    expectStillOpen(rig, typed);

    ASSERT_TRUE(dir.rmdir(kHeaderFileName));
    EXPECT_TRUE(rig.reg->saveHeaderFromTape());
    EXPECT_EQ(rig.files.readText(kHeaderFileName), typed + "\r\n");
}

TEST(HeaderSave, DataDirectoryUnderAPlainFileFails) {
    RegisterRig rig;
    rig.files.writeBytes(QStringLiteral("plain"), "x");
    CashRegister reg(Services{rig.clock, rig.regional, rig.messages, rig.printer, rig.programEnd,
                              DataDir(rig.files.path(QStringLiteral("plain/sub")))});
    reg.state().light(Lamp::Lbd3);
    reg.state().light(Lamp::LblClish);
    reg.state().TxtCHL.locked = false;
    const QString typed = QStringLiteral("ККМ\r\n");
    reg.state().TxtCHL.adoptViewText(typed);
    EXPECT_FALSE(reg.saveHeaderFromTape());
    EXPECT_EQ(reg.state().TxtCHL.text(), typed);
    EXPECT_FALSE(reg.state().TxtCHL.locked);
    EXPECT_TRUE(reg.state().lit(Lamp::LblClish));
    EXPECT_EQ(rig.messages.shown.size(), 1);
}

TEST(HeaderSave, CharactersOutsideTheCodePageAreNamedAndNothingIsWritten) {
    RegisterRig rig;
    const QByteArray before = rig.files.readBytes(kHeaderFileName);
    openForEditing(rig);
    const QString typed = QStringLiteral("Кафе ☺ 中\r\n");
    rig.s().TxtCHL.adoptViewText(typed);
    EXPECT_FALSE(rig.reg->saveHeaderFromTape());
    expectStillOpen(rig, typed);
    EXPECT_TRUE(rig.messages.shown[0].text.contains(QStringLiteral("☺")));
    EXPECT_TRUE(rig.messages.shown[0].text.contains(QStringLiteral("中")));
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), before);
}

// Once saved, the new header is the one a failed reload falls back to.
TEST(HeaderSave, SavedHeaderStandsInWhenTheFileGoesMissing) {
    RegisterRig rig;
    openForEditing(rig);
    rig.s().TxtCHL.adoptViewText(QStringLiteral("КИОСК"));
    ASSERT_TRUE(rig.reg->saveHeaderFromTape());
    rig.files.remove(kHeaderFileName);
    ringUpReceipt(rig);
    rig.reg->clishe();
    EXPECT_EQ(rig.s().TxtCHL.text(), QStringLiteral("КИОСК\r\n"));
    EXPECT_EQ(rig.messages.texts(), QStringList{kCannotFindFile});
}

} // namespace
