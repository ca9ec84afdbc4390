// The panel as drawn: every control at its place, in its colours and fonts.

#include "panel_fixture.h"
#include "platform/panel_layout.h"
#include "platform/panel_widgets.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tarvel::test {
namespace {

using layout::Kind;

class PanelLayout : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        ASSERT_EQ(window->logicalDpiX(), 96) << "the pixel figures below are for 96 DPI";
        ASSERT_EQ(window->logicalDpiY(), 96);
    }
    // The colour a key or lamp shows just inside its edge, as painted.
    QString paintedFace(const char* name) {
        QWidget* w = control(name);
        w->show();
        return w->grab().toImage().pixelColor(3, 3).name();
    }
};

TEST_F(PanelLayout, WindowHasItsCaptionSizeAndFace) {
    EXPECT_EQ(window->objectName(), QStringLiteral("tarvel"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarvel (тренажер)"));
    // 8505 x 5100 twips at 15 twips a pixel, and not resizable.
    EXPECT_EQ(window->size(), QSize(567, 340));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->grab().toImage().pixelColor(2, 300).name(), QColor(255, 224, 192).name());
}

TEST_F(PanelLayout, EveryControlOfTheTableStandsAtItsTwipRectangle) {
    int keys = 0, lamps = 0;
    for (const layout::Control& c : layout::panelControls()) {
        SCOPED_TRACE(c.name);
        QWidget* w = control(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), window.get());
        EXPECT_EQ(w->geometry(), layout::toPixels(c.rect, 96, 96));
        keys += c.kind == Kind::Key;
        lamps += c.kind == Kind::LampBox;
    }
    EXPECT_EQ(keys, 34);
    EXPECT_EQ(lamps, kLampCount);
    EXPECT_EQ(window->findChildren<QAbstractButton*>().size(), 34);
}

// Figures worked out by hand from the panel's design, independently of the table.
TEST_F(PanelLayout, SpotChecksInPixels) {
    const struct {
        const char* name;
        QRect px;
    } cases[] = {
        {"CommandVV", {392, 256, 41, 57}},    {"CommandEnter", {456, 288, 89, 25}},
        {"CammandMinus", {456, 224, 41, 25}}, {"CHL", {184, 144, 41, 25}},
        {"Command0", {248, 288, 41, 25}},     {"VKL", {544, 24, 25, 41}},
        {"TxtIND", {264, 56, 257, 41}},       {"TxtSEC", {208, 56, 57, 41}},
        {"TxtCHL", {16, 8, 161, 209}},        {"TxtCHLK", {16, 8, 137, 209}},
        {"LblInd", {200, 32, 329, 81}},       {"Shap1", {184, 64, 9, 73}},
        {"Picker", {40, 248, 81, 17}},        {"Label1", {40, 280, 81, 17}},
        {"LabH", {8, 216, 169, 9}},           {"Lbd1", {264, 128, 9, 9}},
        {"Lbd6", {520, 128, 9, 9}},           {"LblVV", {432, 256, 9, 9}},
        {"LblClish", {224, 272, 9, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* w = control(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.px);
    }
}

TEST_F(PanelLayout, PixelsScaleWithTheScreenDpi) {
    EXPECT_EQ(layout::toPixels({5880, 3840, 615, 855}, 96, 96), QRect(392, 256, 41, 57));
    EXPECT_EQ(layout::toPixels({5880, 3840, 615, 855}, 192, 192), QRect(784, 512, 82, 114));
    // Edges, not sizes, are rounded: at 120 DPI the keys 3720 and 4440 still meet their gap.
    const QRect a = layout::toPixels({3720, 2880, 615, 375}, 120, 120);
    const QRect b = layout::toPixels({4440, 2880, 615, 375}, 120, 120);
    EXPECT_EQ(b.left() - (a.left() + a.width()), 9); // 105 twips
}

TEST_F(PanelLayout, KeysCarryTheirCaptionsFacesAndNeverTakeTheFocus) {
    const struct {
        const char* name;
        QString caption;
        QColor face;
    } cases[] = {
        {"CommandC", QStringLiteral("СБ"), {255, 128, 128}},
        {"VT", QStringLiteral("ВТ"), {255, 128, 128}},
        {"KZ", QStringLiteral("КЗ"), {255, 128, 128}},
        {"FC", QStringLiteral("ФЦ"), {128, 128, 255}},
        {"NL", QStringLiteral("НЛ"), {128, 128, 255}},
        {"KCH", QStringLiteral("КЧ"), {128, 128, 255}},
        {"Command7", QStringLiteral("7"), {224, 224, 224}},
        {"UMN", QStringLiteral("Х"), {224, 224, 224}},
        {"CommandVV", QStringLiteral("ВВ"), {224, 224, 224}},
        {"CammandMinus", QStringLiteral("-"), {224, 224, 224}},
        {"CHL", QStringLiteral("\u2353"), {224, 224, 224}},
        {"VKL", QStringLiteral("  1  0"), window->palette().color(QPalette::WindowText)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* key = dynamic_cast<QAbstractButton*>(control(c.name));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->text(), c.caption);
        EXPECT_EQ(paintedFace(c.name), c.face.name());
    }
    for (QAbstractButton* key : window->findChildren<QAbstractButton*>())
        EXPECT_EQ(key->focusPolicy(), Qt::NoFocus) << key->objectName().toStdString();
}

TEST_F(PanelLayout, FontsStandInForTheDesignFonts) {
    const struct {
        const char* name;
        QString family;
        qreal points;
        bool bold, italic;
    } cases[] = {
        {"Command5", QStringLiteral("DejaVu Sans"), 8.25, true, false},
        {"CommandEnter", QStringLiteral("DejaVu Sans"), 13.5, true, false},
        {"CammandMinus", QStringLiteral("DejaVu Sans"), 12, true, false},
        {"CHL", QStringLiteral("DejaVu Sans Mono"), 9.75, true, false},
        {"TxtIND", QStringLiteral("DejaVu Sans"), 18, true, false},
        {"TxtSEC", QStringLiteral("DejaVu Sans"), 18, true, false},
        {"TxtCHL", QStringLiteral("DejaVu Sans Mono"), 8.25, false, false},
        {"Label1", QStringLiteral("DejaVu Sans"), 9.75, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QFont f = control(c.name)->font();
        EXPECT_EQ(f.family(), c.family);
        EXPECT_DOUBLE_EQ(f.pointSizeF(), c.points);
        EXPECT_EQ(f.bold(), c.bold);
        EXPECT_EQ(f.italic(), c.italic);
    }
    EXPECT_TRUE(QFontInfo(control("TxtCHL")->font()).fixedPitch());
    EXPECT_TRUE(QFontMetrics(control("CHL")->font()).inFont(QChar(0x2353)));
    EXPECT_EQ(dynamic_cast<QLabel*>(control("Label1"))->text(), QStringLiteral("AMC-100Y"));
}

TEST_F(PanelLayout, EveryKeyCaptionFitsItsKey) {
    for (QAbstractButton* key : window->findChildren<QAbstractButton*>()) {
        SCOPED_TRACE(key->objectName().toStdString());
        const QRect inner = key->rect().adjusted(2, 1, -2, -1);
        const QRect needed =
            QFontMetrics(key->font())
                .boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, key->text().trimmed());
        EXPECT_TRUE(inner.contains(needed))
            << "caption needs " << needed.width() << "x" << needed.height();
    }
}

TEST_F(PanelLayout, IndicatorAndLampsShowTheirColours) {
    for (const char* name : {"TxtIND", "TxtSEC"}) {
        const QPalette pal = control(name)->palette();
        EXPECT_EQ(pal.color(QPalette::Base).name(), QStringLiteral("#c0ffc0")) << name;
        EXPECT_EQ(pal.color(QPalette::Text).name(), QStringLiteral("#ff8000")) << name;
    }
    EXPECT_TRUE(dynamic_cast<QLineEdit*>(control("TxtSEC"))->isReadOnly());
    EXPECT_FALSE(indicator()->isReadOnly());
    EXPECT_EQ(paintedFace("LblInd"), QColor(192, 255, 192).name());
    EXPECT_EQ(paintedFace("Lbd3"), QColor(255, 128, 128).name());
    EXPECT_EQ(paintedFace("LblPrint"), QColor(255, 192, 128).name());
    EXPECT_EQ(paintedFace("LabH"), window->palette().color(QPalette::Dark).name());
    EXPECT_EQ(control("Shap1")->grab().toImage().pixelColor(4, 36).name(),
              QColor(128, 128, 255).name());
}

} // namespace
} // namespace tarvel::test
