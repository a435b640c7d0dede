#include <gtest/gtest.h>

#include <QFile>

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>

#include "notify/MessageLineRenderer.h"

namespace {

const QColor kIconColour(255, 0, 255);

// A program folder whose only icon is a solid magenta 12 x 16 "rechts", so its place and width show.
class RendererTest : public ::testing::Test {
protected:
    RendererTest() {
        QDir(m_dir.path()).mkpath("symbols");
        QImage icon(12, 16, QImage::Format_ARGB32);
        icon.fill(kIconColour);
        icon.save(symbols() + "/rechts.ico", "ico");
        QDir(m_dir.path()).mkpath("outside");
        icon.save(m_dir.path() + "/outside/secret.ico", "ico");
        m_font.setFamily("DejaVu Sans");
        m_font.setPointSizeF(8.25);
        m_font.setBold(true);
    }
    QString symbols() const { return m_dir.path() + "/symbols"; }
    QImage blank() const {
        QImage image(280, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    QImage render(const QString& line, int index) const {
        QImage image = blank();
        QPainter painter(&image);
        painter.setFont(m_font);
        notify::drawMessageLine(painter, symbols(), line, static_cast<int>(index));
        return image;
    }
    // The same picture built by hand from the documented layout.
    void text(QImage& image, int x, int y, const QString& text, const QColor& colour) const {
        QPainter painter(&image);
        painter.setFont(m_font);
        painter.setPen(colour);
        painter.drawText(x, y + QFontMetrics(m_font).ascent(), text);
    }
    int width(const QString& text) const { return QFontMetrics(m_font).horizontalAdvance(text); }

    QTemporaryDir m_dir;
    QFont m_font;
};

TEST_F(RendererTest, WorkedExampleLandsWhereTheLayoutSays) {
    const QImage drawn = render("^bDM: ^rGreywater Beacon^Irechts^gHibernia", 0);
    const int w1 = width("DM: "), w2 = width("Greywater Beacon"), wi = 12;
    QImage expected = blank();
    text(expected, 14, 17, "DM: ", Qt::black);
    text(expected, 14 + w1, 17, "Greywater Beacon", QColor(255, 0, 0));
    QPainter(&expected).fillRect(16 + w1 + w2, 17, wi, 16, kIconColour);
    text(expected, 20 + w1 + w2 + wi, 17, "Hibernia", QColor(0, 128, 0));
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn.pixelColor(16 + w1 + w2, 17), kIconColour);
    EXPECT_NE(drawn.pixelColor(15 + w1 + w2, 17), kIconColour);
}

TEST_F(RendererTest, RowsStepFifteenPixels) {
    const QImage drawn = render("^I^Irechts", 2);  // "^I" alone asks for ".ico": nothing there, p moves 6
    EXPECT_EQ(drawn.pixelColor(16 + 6, 47), kIconColour);
    EXPECT_NE(drawn.pixelColor(16 + 6, 46), kIconColour);
    EXPECT_EQ(drawn.pixelColor(16 + 6 + 11, 62), kIconColour);
    EXPECT_EQ(notify::rowTop(0), 17);
    EXPECT_EQ(notify::rowTop(1), 32);
}

TEST_F(RendererTest, UnknownCodesAreTextInBlackAndCodesAreExact) {
    QImage expected = blank();
    text(expected, 14, 17, "Bold", Qt::black);
    EXPECT_EQ(render("^Bold", 0), expected);
    EXPECT_EQ(render("^^^Bold^", 0), expected);  // empty segments change nothing

    expected = blank();
    text(expected, 14, 17, "ed alert", QColor(255, 0, 0));
    EXPECT_EQ(render("red alert", 0), expected);  // no caret: the first letter is still a code

    expected = blank();
    text(expected, 14, 17, "x", Qt::black);
    EXPECT_EQ(render("x^r", 0), expected);  // a trailing colour code draws nothing
}

TEST_F(RendererTest, MissingOrForbiddenIconsAreSkipped) {
    QImage expected = blank();
    text(expected, 14, 17, "A", Qt::black);
    text(expected, 14 + width("A") + 6, 17, "B", Qt::black);
    EXPECT_EQ(render("^bA^Inothere^bB", 0), expected);
    EXPECT_EQ(render("^bA^I../outside/secret^bB", 0), expected);
    EXPECT_EQ(render("^bA^Irechts and more^bB", 0), expected);  // the name includes the words
    EXPECT_EQ(render("^bA^I..^bB", 0), expected);
    EXPECT_EQ(render("^bA^I.^bB", 0), expected);
}

// Dots inside a name cannot leave the folder; such names are ordinary icons.
TEST_F(RendererTest, DotsInsideANameAreFine) {
    for (const char* name : {"a..b", "x..", "..x"}) {
        QFile::copy(symbols() + "/rechts.ico", symbols() + "/" + name + ".ico");
        QImage image = blank();
        QPainter painter(&image);
        EXPECT_EQ(notify::drawSymbol(painter, symbols(), name, QPoint(5, 7)), 12) << name;
    }
}

TEST_F(RendererTest, DrawSymbolReturnsTheIconWidth) {
    QImage image = blank();
    QPainter painter(&image);
    EXPECT_EQ(notify::drawSymbol(painter, symbols(), "rechts", QPoint(5, 7)), 12);
    EXPECT_EQ(notify::drawSymbol(painter, symbols(), "missing", QPoint(5, 7)), 0);
    painter.end();
    EXPECT_EQ(image.pixelColor(5, 7), kIconColour);
    EXPECT_EQ(image.pixelColor(16, 22), kIconColour);
    EXPECT_NE(image.pixelColor(17, 22), kIconColour);
}

// Read out as drawn: the arrow icon as an arrow, other icons left out, unknown codes as their text.
TEST(MessageLineText, ReadsTheLineAsItIsDrawn) {
    const std::pair<const char*, const char*> cases[] = {
        {"^bDM: ^rAshcombe Beacon^Irechts^gHibernia", "DM: Ashcombe Beacon \u2192 Hibernia"},
        {"^bLOG: ^dA^Iother^dB", "LOG: AB"},
        {"plain ^xcode^^", "plain xcode"},
        {"", ""},
    };
    for (const auto& [line, text] : cases)
        EXPECT_EQ(notify::messageLineText(QString::fromUtf8(line)), QString::fromUtf8(text)) << line;
}

}  // namespace
