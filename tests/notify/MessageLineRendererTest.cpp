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
        icon.save(Symbols() + "/rechts.ico", "ico");
        QDir(m_dir.path()).mkpath("outside");
        icon.save(m_dir.path() + "/outside/secret.ico", "ico");
        m_font.setFamily("DejaVu Sans");
        m_font.setPointSizeF(8.25);
        m_font.setBold(true);
    }
    QString Symbols() const { return m_dir.path() + "/symbols"; }
    QImage Blank() const {
        QImage image(280, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    QImage Render(const QString& line, int index) const {
        QImage image = Blank();
        QPainter painter(&image);
        painter.setFont(m_font);
        notify::DrawMessageLine(painter, Symbols(), line, static_cast<int>(index));
        return image;
    }
    // The same picture built by hand from the documented layout.
    void Text(QImage& image, int x, int y, const QString& text, const QColor& colour) const {
        QPainter painter(&image);
        painter.setFont(m_font);
        painter.setPen(colour);
        painter.drawText(x, y + QFontMetrics(m_font).ascent(), text);
    }
    int Width(const QString& text) const { return QFontMetrics(m_font).horizontalAdvance(text); }

    QTemporaryDir m_dir;
    QFont m_font;
};

TEST_F(RendererTest, WorkedExampleLandsWhereTheLayoutSays) {
    const QImage drawn = Render("^bDM: ^rGreywater Beacon^Irechts^gHibernia", 0);
    const int w1 = Width("DM: "), w2 = Width("Greywater Beacon"), wi = 12;
    QImage expected = Blank();
    Text(expected, 14, 17, "DM: ", Qt::black);
    Text(expected, 14 + w1, 17, "Greywater Beacon", QColor(255, 0, 0));
    QPainter(&expected).fillRect(16 + w1 + w2, 17, wi, 16, kIconColour);
    Text(expected, 20 + w1 + w2 + wi, 17, "Hibernia", QColor(0, 128, 0));
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn.pixelColor(16 + w1 + w2, 17), kIconColour);
    EXPECT_NE(drawn.pixelColor(15 + w1 + w2, 17), kIconColour);
}

TEST_F(RendererTest, RowsStepFifteenPixels) {
    const QImage drawn = Render("^I^Irechts", 2);  // "^I" alone asks for ".ico": nothing there, p moves 6
    EXPECT_EQ(drawn.pixelColor(16 + 6, 47), kIconColour);
    EXPECT_NE(drawn.pixelColor(16 + 6, 46), kIconColour);
    EXPECT_EQ(drawn.pixelColor(16 + 6 + 11, 62), kIconColour);
    EXPECT_EQ(notify::RowTop(0), 17);
    EXPECT_EQ(notify::RowTop(1), 32);
}

TEST_F(RendererTest, UnknownCodesAreTextInBlackAndCodesAreExact) {
    QImage expected = Blank();
    Text(expected, 14, 17, "Bold", Qt::black);
    EXPECT_EQ(Render("^Bold", 0), expected);
    EXPECT_EQ(Render("^^^Bold^", 0), expected);  // empty segments change nothing

    expected = Blank();
    Text(expected, 14, 17, "ed alert", QColor(255, 0, 0));
    EXPECT_EQ(Render("red alert", 0), expected);  // no caret: the first letter is still a code

    expected = Blank();
    Text(expected, 14, 17, "x", Qt::black);
    EXPECT_EQ(Render("x^r", 0), expected);  // a trailing colour code draws nothing
}

TEST_F(RendererTest, MissingOrForbiddenIconsAreSkipped) {
    QImage expected = Blank();
    Text(expected, 14, 17, "A", Qt::black);
    Text(expected, 14 + Width("A") + 6, 17, "B", Qt::black);
    EXPECT_EQ(Render("^bA^Inothere^bB", 0), expected);
    EXPECT_EQ(Render("^bA^I../outside/secret^bB", 0), expected);
    EXPECT_EQ(Render("^bA^Irechts and more^bB", 0), expected);  // the name includes the words
    EXPECT_EQ(Render("^bA^I..^bB", 0), expected);
    EXPECT_EQ(Render("^bA^I.^bB", 0), expected);
}

// Dots inside a name cannot leave the folder; such names are ordinary icons.
TEST_F(RendererTest, DotsInsideANameAreFine) {
    for (const char* name : {"a..b", "x..", "..x"}) {
        QFile::copy(Symbols() + "/rechts.ico", Symbols() + "/" + name + ".ico");
        QImage image = Blank();
        QPainter painter(&image);
        EXPECT_EQ(notify::DrawSymbol(painter, Symbols(), name, QPoint(5, 7)), 12) << name;
    }
}

TEST_F(RendererTest, DrawSymbolReturnsTheIconWidth) {
    QImage image = Blank();
    QPainter painter(&image);
    EXPECT_EQ(notify::DrawSymbol(painter, Symbols(), "rechts", QPoint(5, 7)), 12);
    EXPECT_EQ(notify::DrawSymbol(painter, Symbols(), "missing", QPoint(5, 7)), 0);
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
        EXPECT_EQ(notify::MessageLineText(QString::fromUtf8(line)), QString::fromUtf8(text)) << line;
}

}  // namespace
