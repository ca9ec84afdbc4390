// The receipt header typed into the real receipt tape offscreen: only what the trainee touches
// changes, down to the byte, and the editor's undo never takes back the register's lines.

#include "storage/codepage.h"
#include "support/named_rows.h"
#include "support/panel_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <functional>

namespace tarvel::test {
namespace {

// The caret at `position` of the editor, with the text up to `anchor` selected when given.
void caretAt(ReceiptTapeView& tape, int position, int anchor = -1) {
    QTextCursor cursor = tape.textCursor();
    cursor.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
    tape.setTextCursor(cursor);
}

void key(ReceiptTapeView& tape, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&tape, key, modifiers);
}

struct HeaderEdit : NamedRow {
    std::function<void(ReceiptTapeView&)> edit;
    const char* tape; // the tape's text afterwards; clishe.txt gets it and CR LF
};

// clishe.txt holds "A", a lone LF, "B", CR LF: the editor shows A, B and an empty last line,
// at positions A 0, break 1, B 2, break 3, end 4.
const HeaderEdit kEdits[] = {
    {"TypedAtTheEnd", [](ReceiptTapeView& t) { caretAt(t, 4), type(&t, "C"); }, "A\nB\r\nC"},
    {"TypedAtTheStart", [](ReceiptTapeView& t) { caretAt(t, 0), type(&t, "Z"); }, "ZA\nB\r\n"},
    {"TypedBeforeTheLoneLf", [](ReceiptTapeView& t) { caretAt(t, 1), type(&t, "x"); }, "Ax\nB\r\n"},
    {"TypedAfterTheLoneLf", [](ReceiptTapeView& t) { caretAt(t, 2), type(&t, "x"); }, "A\nxB\r\n"},
    {"EnterBeforeTheLoneLf", [](ReceiptTapeView& t) { caretAt(t, 1), type(&t, "\r"); },
     "A\r\n\nB\r\n"},
    {"DeleteTakesTheLoneLf", [](ReceiptTapeView& t) { caretAt(t, 1), key(t, Qt::Key_Delete); },
     "AB\r\n"},
    {"BackspaceTakesTheWholeCrLf",
     [](ReceiptTapeView& t) { caretAt(t, 4), key(t, Qt::Key_Backspace); }, "A\nB"},
    {"SelectionToTheEndDeleted",
     [](ReceiptTapeView& t) { caretAt(t, 4, 1), key(t, Qt::Key_Delete); }, "A"},
    {"AllSelectedAndTypedOver",
     [](ReceiptTapeView& t) { key(t, Qt::Key_A, Qt::ControlModifier), type(&t, "Q"); }, "Q"},
    {"MultiLineTextPasted",
     [](ReceiptTapeView& t) {
         QGuiApplication::clipboard()->setText("x\ny\r\nz");
         caretAt(t, 2), key(t, Qt::Key_V, Qt::ControlModifier);
     },
     "A\nx\r\ny\r\nzB\r\n"},
    {"TypingUndone",
     [](ReceiptTapeView& t) {
         caretAt(t, 2), type(&t, "xy"), key(t, Qt::Key_Z, Qt::ControlModifier);
     },
     "A\nB\r\n"},
    {"EnterUndoneAndRedone",
     [](ReceiptTapeView& t) {
         caretAt(t, 1), type(&t, "\r"), key(t, Qt::Key_Z, Qt::ControlModifier);
         key(t, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
     },
     "A\r\n\nB\r\n"},
    // Deleted text brought back, by undo or by pasting it where it was, keeps its lone LF.
    {"DeletionUndone",
     [](ReceiptTapeView& t) {
         key(t, Qt::Key_A, Qt::ControlModifier), key(t, Qt::Key_Delete);
         key(t, Qt::Key_Z, Qt::ControlModifier);
     },
     "A\nB\r\n"},
    {"AllCutPastedBackAndAgain",
     [](ReceiptTapeView& t) {
         key(t, Qt::Key_A, Qt::ControlModifier), key(t, Qt::Key_X, Qt::ControlModifier);
         key(t, Qt::Key_V, Qt::ControlModifier), key(t, Qt::Key_V, Qt::ControlModifier);
     },
     "A\nB\r\nA\r\nB\r\n"},
};

class HeaderEditing : public PanelFixture, public testing::WithParamInterface<HeaderEdit> {
  protected:
    void SetUp() override {
        rig.files.writeBytes(kHeaderFileName, "A\nB\r\n");
        rig.restart();
        PanelFixture::SetUp();
        expectedMessages << "Впишите новое клише";
    }
};

TEST_P(HeaderEditing, ChangesOnlyWhatTheTraineeTouched) {
    click("КР 3Т");
    GetParam().edit(*receiptTape());
    const QString tape = QString::fromLatin1(GetParam().tape);
    EXPECT_EQ(s().TxtCHL.text(), tape);
    EXPECT_EQ(receiptTape()->toPlainText(), viewTextOf(tape));
    click("КР");
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), (tape + "\r\n").toLatin1());
}

INSTANTIATE_TEST_SUITE_P(Edits, HeaderEditing, testing::ValuesIn(kEdits), rowName);

using HeaderUndo = PanelFixture;

// A sale line drawn before the header was opened and a line НЛ writes while it is open belong
// to the register: Ctrl+Z takes back the trainee's "X", then nothing, and the saved header
// keeps both lines.
TEST_F(HeaderUndo, TakesBackTheTraineesTypingOnly) {
    expectedMessages << "Впишите новое клише";
    click("1 5 0 ВВ КР 3Т");
    ReceiptTapeView& tape = *receiptTape();
    const QString sale = kDefaultHeader + "\r\n 01  150 руб";
    caretAt(tape, tape.document()->characterCount() - 1);
    type(&tape, "X");
    for (int i = 0; i < 3; ++i)
        key(tape, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s().TxtCHL.text(), sale);
    type(&tape, "Y");
    click("НЛ");
    for (int i = 0; i < 3; ++i)
        key(tape, Qt::Key_Z, Qt::ControlModifier);
    const QString typed = sale + "Y\r\n ВНЕСЕНИЕ НАЛИЧНЫХ";
    EXPECT_EQ(s().TxtCHL.text(), typed);
    EXPECT_EQ(tape.toPlainText(), viewTextOf(typed));
    click("КР");
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), encodeWindows1251(typed + "\r\n").bytes);
    EXPECT_EQ(s().receiptTotal, 150);
}

} // namespace
} // namespace tarvel::test
