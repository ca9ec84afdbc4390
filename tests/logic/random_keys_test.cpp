// Long random key sequences over the whole register, with a printer that fails now and then and
// a receipt header file that disappears and comes back. After every press the register must
// still hold together: the journal only grows, and only by the whole closed receipt or the shift
// report line worked out here from what the panel showed before the press; the receipt tape is
// either appended to or refilled with the header; lamps, variables and texts stay within what
// the register can show; bazasmen.txt keeps up with the journal.
//
// Each seed is printed. A failure names the seed, the press and the last actions, and
// TARVEL_RANDOM_KEYS_SEED=<seed> runs that one sequence again (RandomKeys.SeedFromEnvironment).

#include "panel/numbers.h"
#include "storage/codepage.h"
#include "storage/text_files.h"
#include "support/fakes.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace tarvel::test {
namespace {

// What a random trainee does, and how often. Keys are pressed by caption; the lower-case names
// are the other ways into the register: a clock tick, a character typed on the keyboard, a
// double-click in the goods directory, the directory's close box, typing into the open header.
struct Action {
    const char* name;
    double weight;
};
const Action kActions[] = {
    {"0", 3},     {"1", 3},    {"2", 3},          {"3", 3},   {"4", 3},   {"5", 3},    {"6", 3},
    {"7", 3},     {"8", 3},    {"9", 3},          {"00", 2},  {".", 2},   {"СБ", 1.5}, {"+", 2},
    {"-", 2},     {"Х", 2},    {"/", 1},          {"=", 6},   {"ВВ", 14}, {"НЛ", 3},   {"ВТ", 1},
    {"%", 3},     {"1Д", 2},   {"2В", 2},         {"3Т", 2},  {"4С", 1},  {"КН", 0},   {"КР", 0},
    {"КЛ", 0},    {"КЧ", 0},   {"КЗ", 0},         {"CHL", 0}, {"ФЦ", 0},  {"tick", 2}, {"type", 3},
    {"goods", 1}, {"edit", 0}, {"closebox", 0.3},
};

// A mode key is pressed rarely while its mode is off and soon after it went on, as a trainee
// leaves a mode: with even odds every mode would be on half of the time and ВВ rarely reached.
constexpr double kEnterMode = 0.6;
constexpr double kLeaveMode = 5;

const QString kNotEnoughMoney = QStringLiteral(" МАЛО ДЕНЕГ!  ");
const QString kCrLfText = kCrLf.toString();

// Headers an instructor might put back into clishe.txt, line rules of every kind included.
const QString kHeaderFiles[] = {
    kDefaultHeader,
    QStringLiteral("  ООО \"РОМАШКА\"\r\n ИНН 7700000001\r\n"),
    QStringLiteral("МАГАЗИН №5\nКАССА 2"), // a lone LF stays in its line; no final CR LF
    QStringLiteral("ЧЕК\r\rКАССА\r\n\r\n"),
    QString(),
};

const QString kGoods[] = {
    QStringLiteral("ХЛЕБ БЕЛЫЙ 25"),
    QStringLiteral("МОЛОКО 3,2% 1 Л   89.90"),
    QStringLiteral("САХАР ПЕСОК, 1 КГ"),
    QString(),
};

// Characters typed into the header: mostly Cyrillic, digits and signs, now and then one that
// windows-1251 cannot store (its save is refused with a message).
const QString kTyped =
    QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюяЁё"
                   "0123456789 *-.,№\"/");
const QString kUnstorable[] = {QStringLiteral("ä"), QStringLiteral("😀"), QStringLiteral("ẞ")};

// The text as the receipt tape's editor hands it back: every line break a CR LF, no half of a
// surrogate pair.
QString asTyped(QStringView text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            out += kCrLf;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text.sliced(i, 2);
            ++i;
        } else if (!c.isSurrogate()) {
            out += c;
        }
    }
    return out;
}

bool hasNonNumber(const QString& text) {
    return text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

// What one press may add to the journal, worked out from the panel before the press.
struct JournalExpectation {
    enum Kind { Nothing, Exact, CashOrNothing } kind = Nothing;
    QString piece;    // Exact: the whole piece; CashOrNothing: the piece before the payment lines
    QString tendered; // CashOrNothing: the indicator's text, the money handed over
    const char* road = "";
};

// Every journal append is synced to disk, a few milliseconds each on a real disk: the data
// files of this test go to the memory file system where there is one (/dev/shm), so thousands of
// closed receipts take no longer than the keys. TMPDIR points there only while the rig's
// temporary folder is made.
class TempInMemory {
  public:
    TempInMemory() : old_(qgetenv("TMPDIR")) {
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) qputenv("TMPDIR", "/dev/shm");
    }
    void restore() const {
        if (old_.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", old_);
    }

  private:
    QByteArray old_;
};

class RandomTrainee {
  public:
    explicit RandomTrainee(unsigned seed) : seed_(seed), random_(seed) { inMemory_.restore(); }

    void run(int presses);
    const std::map<std::string, int>& counts() const { return counts_; }

  private:
    const char* chooseAction();
    double weightOf(const Action& action) const;
    void disturbPlatform();
    void perform(const QString& action);
    void typeCharacter();
    void editHeader();
    JournalExpectation expectJournal(const QString& action) const;

    void checkJournal(const JournalExpectation& expect, qsizetype sizeBefore);
    void checkTape(const QString& action, const QString& tapeBefore, bool wasUnlocked);
    void checkMessages();
    void checkRanges();
    void checkJournalFile();
    std::string where() const;

    PanelState& s() { return rig_.s(); }
    const PanelState& s() const { return rig_.reg->state(); }
    bool headerFileExists() const { return QFile::exists(rig_.files.path(kHeaderFileName)); }
    int below(int n) { return int(random_() % unsigned(n)); }
    bool chance(int oneIn) { return below(oneIn) == 0; }

    unsigned seed_;
    std::mt19937 random_;
    TempInMemory inMemory_;
    RegisterRig rig_;
    int press_ = 0;
    std::deque<QString> recent_;
    std::map<std::string, int> counts_;
    // The test's own account of what the register must show.
    QString lastGoodHeader_ = kDefaultHeader;
    std::array<bool, kLampCount> modeLamps_{};
    bool marker_ = false;
    bool headerMissing_ = false; // a reload in this press found no header file
};

double RandomTrainee::weightOf(const Action& a) const {
    const QString name = QString::fromUtf8(a.name);
    const auto mode = [&](bool on) { return on ? kLeaveMode : kEnterMode; };
    if (name == u"КН") return mode(s().lit(Lamp::Lbd2));
    if (name == u"КР") return mode(s().lit(Lamp::Lbd3));
    if (name == u"КЛ") return mode(s().lit(Lamp::Lbd4));
    if (name == u"КЧ") return mode(s().lit(Lamp::Lbd5));
    if (name == u"КЗ") return mode(s().lit(Lamp::Lbd6));
    if (name == u"CHL") return mode(s().Shap1);
    if (name == u"ФЦ") return mode(s().lit(Lamp::Lbd1));
    if (name == u"edit") return s().TxtCHL.locked ? 0 : 20;
    return a.weight;
}

const char* RandomTrainee::chooseAction() {
    double total = 0;
    for (const Action& a : kActions)
        total += weightOf(a);
    double pick = std::uniform_real_distribution<double>(0, total)(random_);
    for (const Action& a : kActions) {
        pick -= weightOf(a);
        if (pick < 0) return a.name;
    }
    return "tick";
}

// Between presses: the printer goes away or comes back, the header file is deleted or put back.
void RandomTrainee::disturbPlatform() {
    if (chance(150)) rig_.printer.failing = !rig_.printer.failing;
    if (chance(250)) {
        if (headerFileExists())
            rig_.files.remove(kHeaderFileName);
        else
            rig_.files.writeText(kHeaderFileName, kHeaderFiles[below(std::size(kHeaderFiles))]);
    }
    // Printouts are recorded character by character: keep the record small.
    if (rig_.printer.calls.size() > 20000) rig_.printer.calls.clear();
    if (rig_.goods.calls.size() > 1000) rig_.goods.calls.clear();
}

void RandomTrainee::typeCharacter() {
    static const int kCodes[] = {'0', '5', '9', ':', '.', ',', 'a', 'Z', 8, 13, 27, 0, 47, 59};
    const int code = chance(4) ? below(256) : kCodes[below(std::size(kCodes))];
    const int passed = rig_.reg->TxtIND_KeyPress(code);
    const int expected = s().Shap1 && code >= 48 && code <= 58 ? code : 0;
    EXPECT_EQ(passed, expected) << "typed code " << code << where();
    // The indicator inserts a character that passed at its caret, here its end.
    if (passed != 0) s().TxtIND.adoptViewText(s().TxtIND.text() + QChar(passed));
}

// The trainee edits the open header in the receipt tape's editor: deletes a few characters or
// types a few, somewhere in it.
void RandomTrainee::editHeader() {
    QString text = s().TxtCHL.text();
    const qsizetype at = text.isEmpty() ? 0 : below(int(text.size()) + 1);
    if (chance(3) && !text.isEmpty()) {
        text.remove(at, 1 + below(4));
    } else {
        QString typed;
        for (int n = 1 + below(6); n > 0; --n) {
            if (chance(8))
                typed += kCrLf;
            else if (chance(300))
                typed += kUnstorable[below(std::size(kUnstorable))];
            else
                typed += kTyped[below(int(kTyped.size()))];
        }
        text.insert(at, typed);
    }
    s().TxtCHL.adoptViewText(asTyped(text));
}

void RandomTrainee::perform(const QString& action) {
    if (action == u"tick") {
        if (chance(5)) rig_.clock.time = QTime(below(24), below(60), below(60));
        if (chance(50)) rig_.clock.date = QDate(2026, 1 + below(12), 1 + below(28));
        rig_.reg->Timer1_Timer();
        EXPECT_EQ(s().Picker, rig_.regional.longTime(rig_.clock.time)) << where();
    } else if (action == u"type") {
        typeCharacter();
    } else if (action == u"goods") {
        // A double-click needs the directory on screen.
        if (rig_.goods.shown) rig_.reg->appendGoodsEntry(kGoods[below(std::size(kGoods))]);
    } else if (action == u"closebox") {
        if (rig_.goods.loaded) rig_.goods.unload();
    } else if (action == u"edit") {
        editHeader();
    } else if (action == u"ВВ" && !s().commandVVVisible) {
        // КЛ took the key off the panel: there is nothing to click.
    } else {
        rig_.press(action);
    }
}

JournalExpectation RandomTrainee::expectJournal(const QString& action) const {
    const PanelState& p = s();
    const bool totalled = p.lit(Lamp::LblPrint);
    const QString receipt = kCrLfText + p.TxtCHL.text();
    if (action == u"ВВ" && p.commandVVVisible && p.TxtCHL.locked && !p.lit(Lamp::Lbd3) &&
        totalled) {
        if (p.lit(Lamp::LblNL))
            return {JournalExpectation::CashOrNothing, receipt, p.TxtIND.text(), "cash"};
        return {JournalExpectation::Exact, receipt, {}, "receipts closed without change"};
    }
    if (action == u"%" && totalled)
        return {JournalExpectation::Exact, receipt, {}, "receipts paid by card"};
    if ((action == u"1Д" || action == u"2В") && p.lit(Lamp::Lbd6)) {
        const QString label = action == u"1Д" ? QStringLiteral(" ИС  ") : QStringLiteral("ИС  ");
        return {JournalExpectation::Exact,
                kCrLfText + label + displayText(p.shiftTotal, rig_.regional.separator) +
                    QStringLiteral(" руб"),
                {},
                "shift reports"};
    }
    return {};
}

void RandomTrainee::checkJournal(const JournalExpectation& expect, qsizetype sizeBefore) {
    // Appends only: the journal's earlier text is never replaced.
    ASSERT_FALSE(s().TxtCHLK.takeChange().replaced) << "journal rewritten" << where();
    const QString& journal = s().TxtCHLK.text();
    ASSERT_GE(journal.size(), sizeBefore) << "journal shrank" << where();
    const QString added = journal.sliced(sizeBefore);
    EXPECT_FALSE(hasNonNumber(added)) << where();
    switch (expect.kind) {
    case JournalExpectation::Nothing:
        EXPECT_EQ(added, QString()) << where();
        break;
    case JournalExpectation::Exact:
        EXPECT_EQ(added, expect.piece) << where();
        ++counts_[expect.road];
        break;
    case JournalExpectation::CashOrNothing:
        if (added.isEmpty()) {
            EXPECT_EQ(s().TxtIND.text(), kNotEnoughMoney) << where();
            ++counts_["cash short"];
            break;
        }
        // The whole tape, then the money handed over and a change that is not negative.
        EXPECT_TRUE(added.startsWith(expect.piece)) << where();
        static const QRegularExpression payment(QStringLiteral("^\r\n (.*) руб\r\n СДАЧА  "
                                                               "([0-9][0-9.,E+-]*) руб$"),
                                                QRegularExpression::DotMatchesEverythingOption);
        const auto m = payment.match(added.sliced(std::min(added.size(), expect.piece.size())));
        EXPECT_TRUE(m.hasMatch()) << "payment lines" << where();
        EXPECT_EQ(m.captured(1), expect.tendered) << where();
        ++counts_["receipts closed in cash"];
        break;
    }
    if (!added.isEmpty() && rig_.printer.failing) ++counts_["journal pieces without printer"];
}

// The receipt tape is either appended to, or refilled with the header as clishe.txt holds it
// now (the last header read or saved when the file is missing).
void RandomTrainee::checkTape(const QString& action, const QString& tapeBefore, bool wasUnlocked) {
    const QString& tape = s().TxtCHL.text();
    if (action == u"edit") {
        s().TxtCHL.takeChange(); // the trainee's own typing
        return;
    }
    if (action == u"КР" && wasUnlocked && s().TxtCHL.locked) {
        // The typed header was saved: the file holds it and CR LF, and it is the header now.
        EXPECT_EQ(rig_.files.readBytes(kHeaderFileName),
                  encodeWindows1251(tapeBefore).bytes + QByteArrayLiteral("\r\n"))
            << where();
        lastGoodHeader_ = rebuildTapeText(tapeBefore + kCrLfText);
        ++counts_["headers saved"];
    }
    if (s().TxtCHL.takeChange().replaced) {
        if (headerFileExists()) {
            const std::optional<QString> header = readHeader(rig_.files.dataDir());
            ASSERT_TRUE(header.has_value()) << where();
            lastGoodHeader_ = *header;
        } else {
            headerMissing_ = true;
            ++counts_["reloads without header file"];
        }
        EXPECT_EQ(tape, lastGoodHeader_) << "tape refilled" << where();
    } else {
        EXPECT_TRUE(tape.startsWith(tapeBefore)) << "tape changed" << where();
    }
    EXPECT_FALSE(hasNonNumber(tape)) << where();
}

// Every message box is one the register has a reason for; a word about the journal file
// would mean a closed receipt missed bazasmen.txt.
void RandomTrainee::checkMessages() {
    static const QStringList known = {
        QStringLiteral("Впишите новое клише"),
        faultMessage(ArithmeticFault::DivisionByZero),
        faultMessage(ArithmeticFault::Invalid),
        faultMessage(ArithmeticFault::Overflow),
        QStringLiteral("Сумма чека вышла бы за пределы кассы. Продажа не пробита."),
        QStringLiteral("Сменный итог вышел бы за пределы кассы и не изменён."),
    };
    for (const QString& text : rig_.messages.texts()) {
        if (text == kCannotFindFile) {
            EXPECT_TRUE(headerMissing_) << "header reported missing" << where();
        } else if (text.startsWith(u"Клише не сохранено")) {
            ++counts_["header saves refused"];
        } else {
            EXPECT_TRUE(known.contains(text)) << "message " << text.toStdString() << where();
        }
    }
    rig_.messages.clear();
}

void RandomTrainee::checkRanges() {
    const PanelState& p = s();
    EXPECT_TRUE(p.pendingOper >= 0 && p.pendingOper <= 4) << p.pendingOper << where();
    EXPECT_TRUE(p.entryFlag == 0 || p.entryFlag == 1) << p.entryFlag << where();
    EXPECT_TRUE(std::isfinite(p.receiptTotal) && std::isfinite(p.shiftTotal)) << where();
    EXPECT_TRUE(std::isfinite(p.printStepX) && std::isfinite(p.printStepY)) << where();
    EXPECT_GE(p.printRow, 0) << where();
    static const QRegularExpression department(QStringLiteral("^0[1-8](  -)*$"));
    EXPECT_TRUE(department.match(p.TxtSEC.text()).hasMatch())
        << p.TxtSEC.text().toStdString() << where();
    EXPECT_FALSE(hasNonNumber(p.TxtIND.text())) << p.TxtIND.text().toStdString() << where();
    // Each mode lamp follows its own key and nothing else.
    for (Lamp l : {Lamp::Lbd1, Lamp::Lbd2, Lamp::Lbd3, Lamp::Lbd4, Lamp::Lbd5, Lamp::Lbd6})
        EXPECT_EQ(p.lit(l), modeLamps_[std::size_t(l)]) << lampName(l) << where();
    EXPECT_EQ(p.Shap1, marker_) << where();
    EXPECT_EQ(p.lit(Lamp::LblClish), !p.TxtCHL.locked) << where();
    EXPECT_EQ(p.lit(Lamp::Lbd4), !p.commandVVVisible) << where();
    EXPECT_EQ(p.lit(Lamp::Lbd5), p.pickerBold) << where();
    EXPECT_TRUE(p.front == TapeId::Receipt || p.lit(Lamp::Lbd6)) << where();
    EXPECT_TRUE(!rig_.goods.shown || p.lit(Lamp::Lbd1)) << where();
}

// bazasmen.txt holds the journal and CR LF, as the close would write it.
void RandomTrainee::checkJournalFile() {
    const QByteArray file = rig_.files.readBytes(kJournalFileName);
    const QByteArray expected =
        encodeWindows1251(s().TxtCHLK.text()).bytes + QByteArrayLiteral("\r\n");
    EXPECT_TRUE(file == expected) << "bazasmen.txt holds " << file.size()
                                  << " bytes, the journal and CR LF " << expected.size() << where();
}

std::string RandomTrainee::where() const {
    QStringList last(recent_.begin(), recent_.end());
    return QStringLiteral("\n  seed %1, press %2, last actions: %3")
        .arg(seed_)
        .arg(press_)
        .arg(last.join(QLatin1Char(' ')))
        .toStdString();
}

void RandomTrainee::run(int presses) {
    std::printf("[ random keys ] seed %u, %d presses\n", seed_, presses);
    std::fflush(stdout);
    s().TxtCHL.takeChange();
    s().TxtCHLK.takeChange();
    for (press_ = 1; press_ <= presses && !testing::Test::HasFailure(); ++press_) {
        disturbPlatform();
        const QString action = QString::fromUtf8(chooseAction());
        recent_.push_back(action);
        if (recent_.size() > 24) recent_.pop_front();

        const JournalExpectation expect = expectJournal(action);
        const qsizetype journalBefore = s().TxtCHLK.text().size();
        const QString tapeBefore = s().TxtCHL.text();
        const bool wasUnlocked = !s().TxtCHL.locked;
        headerMissing_ = false;
        perform(action);
        ++counts_["actions"];

        static const std::map<QString, Lamp> modeKeys = {
            {QStringLiteral("ФЦ"), Lamp::Lbd1}, {QStringLiteral("КН"), Lamp::Lbd2},
            {QStringLiteral("КР"), Lamp::Lbd3}, {QStringLiteral("КЛ"), Lamp::Lbd4},
            {QStringLiteral("КЧ"), Lamp::Lbd5}, {QStringLiteral("КЗ"), Lamp::Lbd6}};
        if (const auto it = modeKeys.find(action); it != modeKeys.end())
            modeLamps_[std::size_t(it->second)] = !modeLamps_[std::size_t(it->second)];
        if (action == u"CHL") marker_ = !marker_;
        if (action == u"edit") ++counts_["header edits"];
        if (action == u"goods" && rig_.goods.shown) ++counts_["goods entries"];

        checkJournal(expect, journalBefore);
        checkTape(action, tapeBefore, wasUnlocked);
        checkMessages();
        checkRanges();
        if (press_ % 1000 == 0) checkJournalFile();
    }
    if (testing::Test::HasFailure()) return;

    // The end of the run: the close writes the same journal, and the next run reads it back.
    checkJournalFile();
    const QString journal = s().TxtCHLK.text();
    rig_.reg->Form_Unload();
    checkJournalFile();
    rig_.restart();
    EXPECT_EQ(s().TxtCHLK.text(),
              rebuildTapeText(decodeWindows1251(encodeWindows1251(journal).bytes) + kCrLfText));
    EXPECT_FALSE(rig_.messages.texts().contains(kCannotFindFile) && headerFileExists());
}

class RandomKeys : public testing::TestWithParam<unsigned> {};

void runSeed(unsigned seed, int presses) {
    RandomTrainee trainee(seed);
    trainee.run(presses);
    const auto& counts = trainee.counts();
    QStringList summary;
    for (const auto& [name, n] : counts)
        summary << QStringLiteral("%1 %2").arg(QString::fromStdString(name)).arg(n);
    std::printf("[ random keys ] seed %u: %s\n", seed, qPrintable(summary.join(u", ")));
    if (testing::Test::HasFailure()) return;
    // The sequence reached every road a closed receipt can take, and the disturbances.
    for (const char* road :
         {"receipts closed without change", "receipts closed in cash", "receipts paid by card",
          "cash short", "shift reports", "headers saved", "header edits",
          "reloads without header file", "journal pieces without printer", "goods entries"}) {
        const auto it = counts.find(road);
        EXPECT_TRUE(it != counts.end() && it->second > 0) << road << " never happened";
    }
}

// Five seeds of 20 000 actions: 100 000 in all.
TEST_P(RandomKeys, JournalGrowsOnlyByWholeReceiptsAndReports) {
    runSeed(GetParam(), 20000);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomKeys, testing::Values(1u, 7u, 2026u, 31337u, 4051981u));

TEST(RandomKeysExtra, SeedFromEnvironment) {
    const QByteArray seed = qgetenv("TARVEL_RANDOM_KEYS_SEED");
    if (seed.isEmpty()) GTEST_SKIP() << "set TARVEL_RANDOM_KEYS_SEED to run one more seed";
    runSeed(seed.toUInt(), 20000);
}

} // namespace
} // namespace tarvel::test
